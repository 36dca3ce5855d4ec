// The rebuild reads each type file once and answers from its text where every profile
// implementation reads the file alike, and through the profile functions where they might not:
// either way its answers are those of the entry-by-entry reader, and the catalog it writes is the
// one that reader's answers give, byte for byte.
#include <gtest/gtest.h>

#include "ExportFixture.h"
#include "catalog/Catalog.h"
#include "exporttype/ExportTypeFile.h"
#include "text/Ansi.h"

using namespace zav;
using exporttest::Environment;

namespace {

struct CorpusFile {
    std::wstring name;   // file name in the option folder
    std::string bytes;   // empty: made by the program itself (see below)
    bool plain;          // answered from the file's text, without the profile functions
};

const std::string kStamp = "[FileInfo]\r\nType=ExportOption\r\nVersion=0.1.3\r\n";

// Hand-made files and files of earlier versions, the awkward ones among them.
std::vector<CorpusFile> handMadeFiles() {
    const std::string longValue(40000, 'x');
    return {
        {L"hand.ini",
         "[FileInfo]\r\nType = ExportOption\r\n\r\n; made by hand\r\n[general]\r\nNAME = Hand Made \r\n"
         "Columns=\"Name_Size\"\r\nFile=c:\\x.html\r\n",
         true},
        {L"quotes.ini", kStamp + "[General]\r\nName='Single'\r\nColumns=\"A\"_\"B\"\r\n", true},
        {L"lone quote.ini", kStamp + "[General]\r\nName=\"\r\nColumns=\"\"\r\n", true},
        {L"pieces.ini", kStamp + "[General]\r\nName=Pieces\r\nColumns=A_\r\nColumns%+2=B_\r\nColumns%+3=C\r\n", true},
        {L"gap.ini", kStamp + "[General]\r\nName=Gap\r\nColumns=A\r\nColumns%+3=C\r\n", true},
        {L"escaped.ini", kStamp + "Encoding=Escaped\r\n[General]\r\nName=%20Lead\r\nColumns=a%3Db_%u0416\r\n", true},
        {L"not escaped.ini", kStamp + "[General]\r\nName=%20Lead\r\nColumns=a%3Db_%u0416\r\n", true},
        {L"no crlf at end.ini", kStamp + "[General]\r\nColumns=End\r\nName=Last", true},
        {L"same name.ini", kStamp + "[General]\r\nName=Hand Made\r\nColumns=name_size\r\n", true},
        {L"comment inside.ini", kStamp + "[General]\r\n;Columns=Hidden\r\nColumns=Shown\r\nName=C\r\n", true},
        {L"no fileinfo.ini", "[General]\r\nName=Orphan\r\nColumns=A\r\n", true},
        {L"wrong case.ini", "[FileInfo]\r\nType=exportoption\r\n[General]\r\nName=W\r\nColumns=A\r\n", true},
        {L"empty columns.ini", kStamp + "[General]\r\nName=E\r\nColumns=\r\n", true},
        {L"no columns.ini", kStamp + "[General]\r\nName=N\r\n", true},
        {L"empty.ini", "", true},
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
        // Not type files at all.
        {L"backup.old", kStamp + "[General]\r\nName=Old\r\nColumns=A\r\n", true},
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

// The type files the program writes itself: escaped texts, characters outside the code page,
// rules, and a signature too long for one INI value (kept in continuation entries).
void saveProgramFiles(const Environment& env) {
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

void makeCorpus(const Environment& env) {
    for (const auto& f : handMadeFiles()) zavtest::writeBytes(env.optionFolder() + f.name, f.bytes);
    saveProgramFiles(env);
}

}  // namespace

TEST(CatalogListing, ReadsEachFileOnceAndAnswersAsTheEntryReader) {
    Environment env;
    makeCorpus(env);
    std::vector<CorpusFile> corpus = handMadeFiles();
    corpus.push_back({L"Program \x0416 made.ini", "", true});
    corpus.push_back({L"Program long.ini", "", true});

    for (const auto& f : corpus) {
        const std::wstring path = env.optionFolder() + f.name;
        exporttest::FailingFileSystem fs(zavtest::storage().fs);
        exporttest::FailingProfile profile(zavtest::storage().profile, 1 << 30);
        const Storage counted{zavtest::storage().host, profile, fs};
        const ExportTypeListing listing = listExportType(counted, path);
        SCOPED_TRACE(zavtest::shown(f.name));
        EXPECT_EQ(fs.reads, 1) << "the file is read whole once";
        if (f.plain)
            EXPECT_EQ(profile.reads, 0) << "answered from the file's text";
        else
            EXPECT_GT(profile.reads, 0) << "left to the profile functions";
        const ExportTypeListing expected = throughReader(path);
        EXPECT_EQ(describe(listing), describe(expected));
    }
}

TEST(CatalogListing, AnswersOfTheAgreedGrammar) {
    // What the files above say, as a person reading them would: the comparison with the entry
    // reader alone would not notice both reading a file wrong in the same way.
    Environment env;
    makeCorpus(env);
    auto listed = [&](const wchar_t* name) { return describe(listExportType(zavtest::storage(), env.optionFolder() + name)); };
    EXPECT_EQ(listed(L"hand.ini"), describe({true, L"Name_Size", L"Hand Made"}));
    EXPECT_EQ(listed(L"quotes.ini"), describe({true, L"A\"_\"B", L"Single"}));
    EXPECT_EQ(listed(L"lone quote.ini"), describe({true, L"", L"\""}));
    EXPECT_EQ(listed(L"pieces.ini"), describe({true, L"A_B_C", L"Pieces"}));
    EXPECT_EQ(listed(L"gap.ini"), describe({true, L"A", L"Gap"}));
    EXPECT_EQ(listed(L"escaped.ini"), describe({true, L"a=b_\x0416", L" Lead"}));
    EXPECT_EQ(listed(L"not escaped.ini"), describe({true, L"a%3Db_%u0416", L"%20Lead"}));
    EXPECT_EQ(listed(L"no crlf at end.ini"), describe({true, L"End", L"Last"}));
    EXPECT_EQ(listed(L"comment inside.ini"), describe({true, L"Shown", L"C"}));
    EXPECT_EQ(listed(L"no fileinfo.ini"), describe({}));
    EXPECT_EQ(listed(L"wrong case.ini"), describe({}));
    EXPECT_EQ(listed(L"empty.ini"), describe({}));
    EXPECT_EQ(listed(L"Program \x0416 made.ini"),
              describe({true, L"Name_Gr\xF6\xDF" L"e_%_;x_=y_ lead_\x4E2D", L"Program \x0416 made"}));
    EXPECT_EQ(listed(L"Program long.ini"), describe({true, std::wstring(40000, L'c') + L"_end", L"Program long"}));
}

TEST(CatalogListing, RebuildWritesTheCatalogTheEntryReaderGives) {
    Environment env;
    makeCorpus(env);
    // The catalog as the entry-by-entry reading of every file gives it.
    CatalogBuilder expected;
    for (const FolderEntry& entry : zavtest::storage().fs.listFiles(env.optionFolder()))
        if (entry.configSettings) expected.add(throughReader(entry.path));

    zavtest::writeBytes(env.catalogPath(), "[Stale]\r\nCount=1\r\n1=Gone\r\n");
    rebuildCatalog(zavtest::storage(), env.settings);
    const std::string written = zavtest::readBytes(env.catalogPath());
    EXPECT_EQ(written, toAnsi(catalogText(expected.sections())));
    // Hand Made twice under one signature (its two spellings are one section), and the ones that
    // name no section left out.
    EXPECT_NE(written.find("[Name_Size]\r\nCount=2\r\n"), std::string::npos) << written.substr(0, 400);
    EXPECT_EQ(written.find("Orphan"), std::string::npos);
    EXPECT_EQ(written.find("[Stale]"), std::string::npos);
    EXPECT_EQ(written.find("Old"), std::string::npos);
}

TEST(CatalogRebuild, ReadsAFewFilesAStepAndWritesOnlyAtTheEnd) {
    Environment env;
    const std::size_t count = 2 * CatalogRebuild::kFilesPerStep + 22;
    for (std::size_t i = 0; i < count; ++i)
        zavtest::writeBytes(env.typePath(L"t" + std::to_wstring(i)),
                            kStamp + "[General]\r\nName=t" + std::to_string(i) + "\r\nColumns=A_" +
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
    int steps = 0;
    while (rebuild.step()) {
        ++steps;
        EXPECT_EQ(zavtest::readBytes(env.catalogPath()), before);
    }
    EXPECT_EQ(steps + 1, 3);
    EXPECT_EQ(rebuild.filesRead(), count);
    rebuild.finish();
    const std::string stepped = zavtest::readBytes(env.catalogPath());

    rebuildCatalog(zavtest::storage(), env.settings);
    EXPECT_EQ(zavtest::readBytes(env.catalogPath()), stepped);
    EXPECT_EQ(compatibleExportTypes(zavtest::storage(), env.settings, L"A_0").size(), (count + 2) / 3);
}
