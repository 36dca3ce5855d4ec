#include <gtest/gtest.h>

#include "ExportFixture.h"
#include "capture/GridSource.h"
#include "catalog/Catalog.h"
#include "exporttype/IniText.h"
#include "ini/cINIFile.h"
#include "job/OpenedGrid.h"

using namespace zav;

namespace {

using Names = std::vector<std::wstring>;

class Catalog : public ::testing::Test {
protected:
    // A type file as the program writes it (escaped) or as an earlier version did (literal).
    void type(const std::wstring& file, const std::wstring& name, const std::wstring& columns,
              const std::wstring& kind = L"ExportOption", bool escaped = true) {
        const std::wstring path = file.find(L'.') == std::wstring::npos ? env.typePath(file) : env.optionFolder() + file;
        zavtest::storage().fs.createTextFile(path);
        cINIFile ini(zavtest::storage());
        ini.FullPath(path);
        ini.SectionName(L"FileInfo");
        ini.PutString(L"Type", kind);
        if (escaped) ini.PutString(kEncodingKey, kEncodingEscaped);
        ini.SectionName(L"General");
        ini.PutString(L"Name", escaped ? encodeIniValue(name) : name);
        ini.PutString(L"Columns", escaped ? encodeIniValue(columns) : columns);
    }
    Names offered(const std::wstring& signature) { return compatibleExportTypes(zavtest::storage(), env.settings, signature); }
    exporttest::Environment env;
};

}  // namespace

TEST(ColumnSignature, JoinsHeaderTextsWithSeparatorOnlyAfterText) {
    const std::pair<Names, const wchar_t*> cases[] = {
        {{L"Name", L"Size", L"Type"}, L"Name_Size_Type"}, {{L"", L"Size"}, L"Size"}, {{L"Name", L"", L"Type"}, L"Name__Type"},
        {{L"Name", L""}, L"Name_"}, {{L"A_B"}, L"A_B"}, {{L"A", L"B"}, L"A_B"}, {{}, L""}};
    for (const auto& [texts, signature] : cases) EXPECT_EQ(buildColumnSignature(texts), signature);
    ListViewInfo info;
    info.lColumnCount = 3;
    info.szColumnText = {L"", L" a ", L"", L"b"};
    EXPECT_EQ(buildColumnSignature(info), L" a __b");  // texts as they are, no trimming
    info.lColumnCount = 4;  // more columns than texts
    EXPECT_THROW(buildColumnSignature(info), Error);
}

TEST_F(Catalog, EmptyFolderGivesOnlyTheStamp) {
    zavtest::writeBytes(env.catalogPath(), "[Old]\r\nCount=1\r\n1=Gone\r\n");
    rebuildCatalog(zavtest::storage(), env.settings);
    EXPECT_EQ(zavtest::readBytes(env.catalogPath()), "[FileInfo]\r\nType=Catalog\r\nVersion=0.1.3\r\n");
    EXPECT_TRUE(offered(L"Old").empty());
}

TEST_F(Catalog, ListsTypesBySignatureInFolderOrderWithDuplicates) {
    type(L"one", L"One", L"Name_Size");
    type(L"two", L"Two", L"Name_Size");
    type(L"copy", L"One", L"Name_Size");  // same Name again
    type(L"other", L"Other", L"A_B");
    type(L"wrongcase", L"Nope", L"Name_Size", L"exportoption");
    type(L"settingslike", L"Nope", L"Name_Size", L"Settings");
    type(L"backup.old", L"Nope", L"Name_Size");
    type(L"half.tmp", L"Nope", L"Name_Size");
    type(L"UPPER.INI", L"Upper", L"Name_Size");
    type(L"nocolumns", L"Nope", L"");
    type(L"legacy", L"Legacy", L"Name_Size", L"ExportOption", false);
    rebuildCatalog(zavtest::storage(), env.settings);
    EXPECT_TRUE(zavtest::reporter().messages.empty());
    Names expected;  // in the order in which the platform lists the folder
    for (const auto& entry : zavtest::storage().fs.listFiles(env.optionFolder())) {
        const std::wstring base = entry.path.substr(entry.path.find_last_of(L'\\') + 1);
        if (base == L"one.ini" || base == L"copy.ini") expected.push_back(L"One");
        if (base == L"two.ini") expected.push_back(L"Two");
        if (base == L"UPPER.INI") expected.push_back(L"Upper");
        if (base == L"legacy.ini") expected.push_back(L"Legacy");
    }
    EXPECT_EQ(offered(L"Name_Size"), expected);
    EXPECT_EQ(offered(L"A_B"), Names{L"Other"});
    EXPECT_EQ(offered(L"a_b"), Names{L"Other"});  // section names ignore case
    EXPECT_TRUE(offered(L"Name").empty());
    EXPECT_TRUE(offered(L"").empty());
}

TEST_F(Catalog, AwkwardAndLongSignaturesAndNamesAreFound) {
    std::wstring longSignature;
    for (int i = 0; i < 40; ++i) longSignature += L"Column number " + std::to_wstring(i) + L"_";
    const std::wstring awkward = L" [x]; y=z % \"q\" ";
    // The profile functions fold only ASCII letters: "\xE9t\xE9" and "\xC9T\xC9" are two layouts.
    const struct {
        const wchar_t* file;
        std::wstring name, signature;
    } cases[] = {{L"long", L"Long", longSignature}, {L"awkward", L" 'quoted' ", awkward}, {L"general", L"G", L"General"},
                 {L"small", L"small", L"\xE9t\xE9"}, {L"capital", L"capital", L"\xC9T\xC9"}};
    for (const auto& c : cases) type(c.file, c.name, c.signature);
    rebuildCatalog(zavtest::storage(), env.settings);
    for (const auto& c : cases) EXPECT_EQ(offered(c.signature), Names{c.name}) << zavtest::shown(c.signature);
    EXPECT_EQ(offered(L"FileInfo"), Names{});
}

TEST_F(Catalog, LookupOfAHandMadeCatalogReadsMissingKeysAsEmptyNames) {
    zavtest::writeBytes(env.catalogPath(), "[Name_Size]\r\nCount=3\r\n1=First\r\n3=Third\r\n[Zero]\r\nCount=0\r\n1=X\r\n");
    EXPECT_EQ(offered(L"Name_Size"), (Names{L"First", L"", L"Third"}));
    for (const wchar_t* none : {L"Zero", L" ", L"%"}) EXPECT_TRUE(offered(none).empty()) << zavtest::shown(none);
    zavtest::storage().fs.deleteFile(env.catalogPath(), true);
    EXPECT_TRUE(offered(L"Name_Size").empty());
}

TEST_F(Catalog, FailedRebuildKeepsThePreviousCatalog) {
    type(L"one", L"One", L"Name_Size");
    rebuildCatalog(zavtest::storage(), env.settings);
    const std::string before = zavtest::readBytes(env.catalogPath());
    type(L"two", L"Two", L"Name_Size");
    exporttest::FailingFileSystem failing(zavtest::storage().fs);
    failing.failReplace = true;
    EXPECT_THROW(rebuildCatalog({zavtest::storage().host, zavtest::storage().profile, failing}, env.settings), Error);
    EXPECT_EQ(zavtest::readBytes(env.catalogPath()), before);
    EXPECT_FALSE(zavtest::pathExists(env.catalogPath() + L".tmp"));
    Settings missing = env.settings;  // an option folder that does not exist
    missing.optionFolder = env.dir.file(L"missing\\");
    EXPECT_THROW(rebuildCatalog(zavtest::storage(), missing), Error);
    EXPECT_EQ(zavtest::readBytes(env.catalogPath()), before);
}
