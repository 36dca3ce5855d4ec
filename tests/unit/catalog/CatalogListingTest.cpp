// The rebuild reads each type file once and answers from its text where every profile
// implementation reads the file alike, and through the profile functions where they might not:
// either way its answers are those of the entry-by-entry reader, and the catalog it writes is the
// one that reader's answers give, byte for byte.
#include <gtest/gtest.h>

#include <optional>

#include "ExportFixture.h"
#include "catalog/Catalog.h"
#include "exporttype/ExportTypeFile.h"
#include "text/Ansi.h"

using namespace zav;
using exporttest::Environment;

namespace {

struct CorpusFile {
    std::wstring name;   // file name in the option folder
    std::string bytes;   // for "Program ..." files: made by the program itself (makeCorpus)
    bool plain;          // answered from the file's text, without the profile functions
    // What the file says, as a person reading it would (the comparison with the entry reader alone
    // would not notice both reading a file wrong in the same way).
    std::optional<ExportTypeListing> says{};
};

const std::string kStamp = "[FileInfo]\r\nType=ExportOption\r\nVersion=0.1.3\r\n";
const ExportTypeListing kNoType{};

// Hand-made files and files of earlier versions, the awkward ones among them; then the type files
// the program writes itself.
std::vector<CorpusFile> corpusFiles() {
    const std::string longValue(40000, 'x');
    return {
        {L"hand.ini",
         "[FileInfo]\r\nType = ExportOption\r\n\r\n; made by hand\r\n[general]\r\nNAME = Hand Made \r\n"
         "Columns=\"Name_Size\"\r\nFile=c:\\x.html\r\n",
         true, ExportTypeListing{true, L"Name_Size", L"Hand Made"}},
        {L"quotes.ini", kStamp + "[General]\r\nName='Single'\r\nColumns=\"A\"_\"B\"\r\n", true,
         ExportTypeListing{true, L"A\"_\"B", L"Single"}},
        {L"lone quote.ini", kStamp + "[General]\r\nName=\"\r\nColumns=\"\"\r\n", true, ExportTypeListing{true, L"", L"\""}},
        {L"pieces.ini", kStamp + "[General]\r\nName=Pieces\r\nColumns=A_\r\nColumns%+2=B_\r\nColumns%+3=C\r\n", true,
         ExportTypeListing{true, L"A_B_C", L"Pieces"}},
        {L"gap.ini", kStamp + "[General]\r\nName=Gap\r\nColumns=A\r\nColumns%+3=C\r\n", true,
         ExportTypeListing{true, L"A", L"Gap"}},
        {L"escaped.ini", kStamp + "Encoding=Escaped\r\n[General]\r\nName=%20Lead\r\nColumns=a%3Db_%u0416\r\n", true,
         ExportTypeListing{true, L"a=b_\x0416", L" Lead"}},
        {L"not escaped.ini", kStamp + "[General]\r\nName=%20Lead\r\nColumns=a%3Db_%u0416\r\n", true,
         ExportTypeListing{true, L"a%3Db_%u0416", L"%20Lead"}},
        {L"no crlf at end.ini", kStamp + "[General]\r\nColumns=End\r\nName=Last", true, ExportTypeListing{true, L"End", L"Last"}},
        {L"same name.ini", kStamp + "[General]\r\nName=Hand Made\r\nColumns=name_size\r\n", true},
        {L"comment inside.ini", kStamp + "[General]\r\n;Columns=Hidden\r\nColumns=Shown\r\nName=C\r\n", true,
         ExportTypeListing{true, L"Shown", L"C"}},
        {L"no fileinfo.ini", "[General]\r\nName=Orphan\r\nColumns=A\r\n", true, kNoType},
        {L"wrong case.ini", "[FileInfo]\r\nType=exportoption\r\n[General]\r\nName=W\r\nColumns=A\r\n", true, kNoType},
        {L"empty columns.ini", kStamp + "[General]\r\nName=E\r\nColumns=\r\n", true},
        {L"no columns.ini", kStamp + "[General]\r\nName=N\r\n", true},
        {L"empty.ini", "", true, kNoType},
        // Outside the agreed part of the grammar: the profile functions answer.
        {L"utf16.ini", std::string("\xFF\xFE[\0G\0]\0\r\0\n\0", 12), false},
        {L"utf8 mark.ini", "\xEF\xBB\xBF" + kStamp + "[General]\r\nName=U\r\nColumns=A\r\n", false},
        {L"lf only.ini", "[FileInfo]\nType=ExportOption\n[General]\nName=L\nColumns=A_B\n", false},
        {L"lone cr.ini", kStamp + "[General]\r\nName=R\rColumns=X\r\nColumns=A\r\n", false},
        {L"two generals.ini", kStamp + "[General]\r\nName=First\r\n[GENERAL]\r\nName=Second\r\nColumns=A\r\n", false},
        {L"no equals.ini", kStamp + "[General]\r\nColumns\r\nName=Q\r\n", false},
        {L"before header.ini", "Name=Early\r\n" + kStamp + "[General]\r\nName=B\r\nColumns=A\r\n", false},
        {L"a nul byte.ini", kStamp + std::string("[General]\r\nName=N\0ul\r\nColumns=A\r\n", 34), false},
        {L"tab.ini", kStamp + "[General]\r\nName\t=\tTabbed\r\nColumns=A\r\n", false},
        {L"nbsp.ini", kStamp + "[General]\r\nName=Space\xA0\r\nColumns=A\r\n", false},
        {L"blank header.ini", kStamp + "[ General ]\r\nName=H\r\nColumns=A\r\n", false},
        {L"header tail.ini", kStamp + "[General] tail\r\nName=T\r\nColumns=A\r\n", false},
        {L"nameless.ini", kStamp + "[General]\r\n=nothing\r\nName=M\r\nColumns=A\r\n", false},
        {L"long.ini", kStamp + "[General]\r\nName=Long\r\nColumns=" + longValue + "\r\n", false},
        {L"backup.old", kStamp + "[General]\r\nName=Old\r\nColumns=A\r\n", true},  // not a type file at all
        // Escaped texts, characters outside the code page, rules, and a signature too long for one
        // INI value (kept in continuation entries).
        {L"Program \x0416 made.ini", "", true,
         ExportTypeListing{true, L"Name_Gr\xF6\xDF" L"e_%_;x_=y_ lead_\x4E2D", L"Program \x0416 made"}},
        {L"Program long.ini", "", true, ExportTypeListing{true, std::wstring(40000, L'c') + L"_end", L"Program long"}},
    };
}

ExportTypeListing throughReader(const std::wstring& path) {
    ExportTypeReader reader = ExportTypeReader::typeFile(zavtest::storage(), path);
    if (!reader.isExportType()) return {};
    return {true, reader.value(L"Columns"), reader.value(L"Name")};
}

std::string describe(const ExportTypeListing& l) {
    return (l.exportType ? "type " : "no type ") + zavtest::shown(l.columns) + " " + zavtest::shown(l.name);
}

void makeCorpus(const Environment& env) {
    for (const auto& f : corpusFiles())
        if (f.name.rfind(L"Program ", 0) != 0) zavtest::writeBytes(env.optionFolder() + f.name, f.bytes);
    ExportType escaped;
    escaped.name = L"Program \x0416 made";
    escaped.columns = L"Name_Gr\xF6\xDF" L"e_%_;x_=y_ lead_\x4E2D";
    escaped.file = L"c:\\out \x0416.html";
    escaped.htmlHeader = L"<HTML>\r\n <b>";
    escaped.dataFormat = L"\"quoted\"";
    std::vector<ColumnRules> rules = {{L"Name", {{L"a", L"b"}, {L" x=", L"[y]"}}}, {L"General", {{L"g", L"h"}}}};
    saveExportTypeFile(zavtest::storage(), env.optionFolder(), escaped, rules);
    ExportType longType;
    longType.name = L"Program long";
    longType.columns = std::wstring(40000, L'c') + L"_end";
    longType.htmlHeader = std::wstring(70000, L'h');
    saveExportTypeFile(zavtest::storage(), env.optionFolder(), longType, {});
}

}  // namespace

TEST(CatalogListing, ReadsEachFileOnceAndAnswersAsTheEntryReaderAndAsTheFileSays) {
    Environment env;
    makeCorpus(env);
    for (const auto& f : corpusFiles()) {
        const std::wstring path = env.optionFolder() + f.name;
        exporttest::FailingFileSystem fs(zavtest::storage().fs);
        exporttest::FailingProfile profile(zavtest::storage().profile, 1 << 30);
        const ExportTypeListing listing = listExportType({zavtest::storage().host, profile, fs}, path);
        SCOPED_TRACE(zavtest::shown(f.name));
        EXPECT_EQ(fs.reads, 1) << "the file is read whole once";
        if (f.plain)
            EXPECT_EQ(profile.reads, 0) << "answered from the file's text";
        else
            EXPECT_GT(profile.reads, 0) << "left to the profile functions";
        EXPECT_EQ(describe(listing), describe(throughReader(path)));
        if (f.says) {
            EXPECT_EQ(describe(listing), describe(*f.says));
        }
    }
}

TEST(CatalogListing, RebuildWritesTheCatalogTheEntryReaderGives) {
    Environment env;
    makeCorpus(env);
    CatalogBuilder expected;  // the catalog as the entry-by-entry reading of every file gives it
    for (const FolderEntry& entry : zavtest::storage().fs.listFiles(env.optionFolder()))
        if (entry.configSettings) expected.add(throughReader(entry.path));
    zavtest::writeBytes(env.catalogPath(), "[Stale]\r\nCount=1\r\n1=Gone\r\n");
    rebuildCatalog(zavtest::storage(), env.settings);
    const std::string written = zavtest::readBytes(env.catalogPath());
    EXPECT_EQ(written, toAnsi(catalogText(expected.sections())));
    // Hand Made twice under one signature (its two spellings are one section), and the ones that
    // name no section left out.
    EXPECT_NE(written.find("[Name_Size]\r\nCount=2\r\n"), std::string::npos) << written.substr(0, 400);
    for (const char* gone : {"Orphan", "[Stale]", "Old"}) EXPECT_EQ(written.find(gone), std::string::npos) << gone;
}

TEST(CatalogRebuild, ReadsAFewFilesAStepAndWritesOnlyAtTheEnd) {
    Environment env;
    const std::size_t count = 2 * CatalogRebuild::kFilesPerStep + 22;
    for (std::size_t i = 0; i < count; ++i)
        zavtest::writeBytes(env.typePath(L"t" + std::to_wstring(i)), kStamp + "[General]\r\nName=t" +
                                                                        std::to_string(i) + "\r\nColumns=A_" +
                                                                        std::to_string(i % 3) + "\r\n");
    const std::string before = "[FileInfo]\r\nType=Catalog\r\n";
    zavtest::writeBytes(env.catalogPath(), before);
    {
        CatalogRebuild dropped(zavtest::storage(), env.settings);
        EXPECT_TRUE(dropped.step());
        EXPECT_EQ(dropped.filesRead(), CatalogRebuild::kFilesPerStep);
    }
    EXPECT_EQ(zavtest::readBytes(env.catalogPath()), before) << "a dropped rebuild writes nothing";
    CatalogRebuild rebuild(zavtest::storage(), env.settings);
    EXPECT_EQ(rebuild.fileCount(), count);
    int steps = 1;
    for (; rebuild.step(); ++steps) EXPECT_EQ(zavtest::readBytes(env.catalogPath()), before);
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(rebuild.filesRead(), count);
    rebuild.finish();
    const std::string stepped = zavtest::readBytes(env.catalogPath());
    rebuildCatalog(zavtest::storage(), env.settings);
    EXPECT_EQ(zavtest::readBytes(env.catalogPath()), stepped);
    EXPECT_EQ(compatibleExportTypes(zavtest::storage(), env.settings, L"A_0").size(), (count + 2) / 3);
}
