#include <gtest/gtest.h>

#include "ExportFixture.h"
#include "capture/GridSource.h"
#include "catalog/Catalog.h"
#include "exporttype/IniText.h"
#include "ini/FileInfo.h"
#include "ini/cINIFile.h"
#include "job/OpenedGrid.h"

using namespace zav;
using exporttest::Environment;

namespace {

// A type file as the program writes it (escaped) or as an earlier version did (literal).
void writeTypeFile(const std::wstring& path, const std::wstring& type, const std::wstring& name,
                   const std::wstring& columns, bool escaped = true) {
    zavtest::storage().fs.createTextFile(path);
    cINIFile ini(zavtest::storage());
    ini.FullPath(path);
    ini.SectionName(L"FileInfo");
    ini.PutString(L"Type", type);
    if (escaped) ini.PutString(kEncodingKey, kEncodingEscaped);
    ini.SectionName(L"General");
    ini.PutString(L"Name", escaped ? encodeIniValue(name) : name);
    ini.PutString(L"Columns", escaped ? encodeIniValue(columns) : columns);
}

std::vector<std::wstring> names(std::initializer_list<const wchar_t*> list) {
    return std::vector<std::wstring>(list.begin(), list.end());
}

}  // namespace

TEST(ColumnSignature, JoinsHeaderTextsWithSeparatorOnlyAfterText) {
    EXPECT_EQ(buildColumnSignature(names({L"Name", L"Size", L"Type"})), L"Name_Size_Type");
    EXPECT_EQ(buildColumnSignature(names({L"", L"Size"})), L"Size");
    EXPECT_EQ(buildColumnSignature(names({L"Name", L"", L"Type"})), L"Name__Type");
    EXPECT_EQ(buildColumnSignature(names({L"Name", L""})), L"Name_");
    EXPECT_EQ(buildColumnSignature(names({L"A_B"})), buildColumnSignature(names({L"A", L"B"})));
    EXPECT_EQ(buildColumnSignature(names({})), L"");

    ListViewInfo info;
    info.lColumnCount = 3;
    info.szColumnText = {L"", L" a ", L"", L"b"};
    EXPECT_EQ(buildColumnSignature(info), L" a __b");  // texts as they are, no trimming
    info.lColumnCount = 4;  // more columns than texts
    EXPECT_THROW(buildColumnSignature(info), Error);
}

TEST(FileInfo, StampsAndKeepsTheCurrentSection) {
    Environment env;
    cINIFile ini(zavtest::storage());
    ini.FullPath(env.dir.file(L"x.ini"));
    ini.SectionName(L"Mine");
    writeFileInfo(ini, L"Catalog");
    EXPECT_EQ(ini.SectionName(), L"Mine");
    ini.SectionName(L"FileInfo");
    EXPECT_EQ(ini.GetString(L"Type", L""), L"Catalog");
    EXPECT_EQ(ini.GetString(L"Version", L""), L"0.1.3");
}

TEST(Catalog, EmptyFolderGivesOnlyTheStamp) {
    Environment env;
    zavtest::writeBytes(env.catalogPath(), "[Old]\r\nCount=1\r\n1=Gone\r\n");
    rebuildCatalog(zavtest::storage(), env.settings);
    cINIFile catalog(zavtest::storage());
    catalog.FullPath(env.catalogPath());
    catalog.SectionName(L"FileInfo");
    std::vector<std::wstring> sections;
    catalog.GetSectionsEx(sections);
    EXPECT_EQ(sections, names({L"FileInfo"}));
    EXPECT_EQ(catalog.GetString(L"Type", L""), L"Catalog");
    EXPECT_TRUE(compatibleExportTypes(zavtest::storage(), env.settings, L"Old").empty());
}

TEST(Catalog, ListsTypesBySignatureInFolderOrderWithDuplicates) {
    Environment env;
    writeTypeFile(env.typePath(L"one"), L"ExportOption", L"One", L"Name_Size");
    writeTypeFile(env.typePath(L"two"), L"ExportOption", L"Two", L"Name_Size");
    writeTypeFile(env.typePath(L"copy"), L"ExportOption", L"One", L"Name_Size");  // same Name again
    writeTypeFile(env.typePath(L"other"), L"ExportOption", L"Other", L"A_B");
    writeTypeFile(env.typePath(L"wrongcase"), L"exportoption", L"Nope", L"Name_Size");
    writeTypeFile(env.typePath(L"settingslike"), L"Settings", L"Nope", L"Name_Size");
    writeTypeFile(env.optionFolder() + L"backup.old", L"ExportOption", L"Nope", L"Name_Size");
    writeTypeFile(env.optionFolder() + L"half.tmp", L"ExportOption", L"Nope", L"Name_Size");
    writeTypeFile(env.optionFolder() + L"UPPER.INI", L"ExportOption", L"Upper", L"Name_Size");
    writeTypeFile(env.typePath(L"nocolumns"), L"ExportOption", L"Nope", L"");
    writeTypeFile(env.typePath(L"legacy"), L"ExportOption", L"Legacy", L"Name_Size", false);

    rebuildCatalog(zavtest::storage(), env.settings);
    EXPECT_TRUE(zavtest::reporter().messages.empty());

    // The expected order is the order in which the platform lists the folder.
    std::vector<std::wstring> expected;
    for (const auto& entry : zavtest::storage().fs.listFiles(env.optionFolder())) {
        const std::wstring base = entry.path.substr(entry.path.find_last_of(L'\\') + 1);
        if (base == L"one.ini" || base == L"copy.ini") expected.push_back(L"One");
        if (base == L"two.ini") expected.push_back(L"Two");
        if (base == L"UPPER.INI") expected.push_back(L"Upper");
        if (base == L"legacy.ini") expected.push_back(L"Legacy");
    }
    EXPECT_EQ(compatibleExportTypes(zavtest::storage(), env.settings, L"Name_Size"), expected);
    EXPECT_EQ(compatibleExportTypes(zavtest::storage(), env.settings, L"A_B"), names({L"Other"}));
    EXPECT_EQ(compatibleExportTypes(zavtest::storage(), env.settings, L"a_b"), names({L"Other"}));  // section names ignore case
    EXPECT_TRUE(compatibleExportTypes(zavtest::storage(), env.settings, L"Name").empty());
    EXPECT_TRUE(compatibleExportTypes(zavtest::storage(), env.settings, L"").empty());
}

TEST(Catalog, AwkwardAndLongSignaturesAndNamesAreFound) {
    Environment env;
    std::wstring longSignature;
    for (int i = 0; i < 40; ++i) longSignature += L"Column number " + std::to_wstring(i) + L"_";
    ASSERT_GT(longSignature.size(), 254u);
    const std::wstring awkward = L" [x]; y=z % \"q\" ";
    writeTypeFile(env.typePath(L"long"), L"ExportOption", L"Long", longSignature);
    writeTypeFile(env.typePath(L"awkward"), L"ExportOption", L" 'quoted' ", awkward);
    writeTypeFile(env.typePath(L"general"), L"ExportOption", L"G", L"General");
    writeTypeFile(env.typePath(L"small"), L"ExportOption", L"small", L"\xE9t\xE9");  // été
    writeTypeFile(env.typePath(L"capital"), L"ExportOption", L"capital", L"\xC9T\xC9");  // ÉTÉ
    rebuildCatalog(zavtest::storage(), env.settings);
    // The profile functions fold only ASCII letters: these are two layouts.
    EXPECT_EQ(compatibleExportTypes(zavtest::storage(), env.settings, L"\xE9t\xE9"), names({L"small"}));
    EXPECT_EQ(compatibleExportTypes(zavtest::storage(), env.settings, L"\xC9T\xC9"), names({L"capital"}));
    EXPECT_EQ(compatibleExportTypes(zavtest::storage(), env.settings, longSignature), names({L"Long"}));
    EXPECT_EQ(compatibleExportTypes(zavtest::storage(), env.settings, awkward), names({L" 'quoted' "}));
    EXPECT_EQ(compatibleExportTypes(zavtest::storage(), env.settings, L"General"), names({L"G"}));
    EXPECT_EQ(compatibleExportTypes(zavtest::storage(), env.settings, L"FileInfo"), names({}));
}

TEST(Catalog, LookupOfAHandMadeCatalogReadsMissingKeysAsEmptyNames) {
    Environment env;
    zavtest::writeBytes(env.catalogPath(), "[Name_Size]\r\nCount=3\r\n1=First\r\n3=Third\r\n[Zero]\r\nCount=0\r\n1=X\r\n");
    EXPECT_EQ(compatibleExportTypes(zavtest::storage(), env.settings, L"Name_Size"), names({L"First", L"", L"Third"}));
    EXPECT_TRUE(compatibleExportTypes(zavtest::storage(), env.settings, L"Zero").empty());
    EXPECT_TRUE(compatibleExportTypes(zavtest::storage(), env.settings, L" ").empty());
    EXPECT_TRUE(compatibleExportTypes(zavtest::storage(), env.settings, L"%").empty());
    zavtest::storage().fs.deleteFile(env.catalogPath(), true);
    EXPECT_TRUE(compatibleExportTypes(zavtest::storage(), env.settings, L"Name_Size").empty());
}

TEST(Catalog, FailedRebuildKeepsThePreviousCatalog) {
    Environment env;
    writeTypeFile(env.typePath(L"one"), L"ExportOption", L"One", L"Name_Size");
    rebuildCatalog(zavtest::storage(), env.settings);
    const std::string before = zavtest::readBytes(env.catalogPath());
    writeTypeFile(env.typePath(L"two"), L"ExportOption", L"Two", L"Name_Size");

    exporttest::FailingFileSystem failing(zavtest::storage().fs);
    failing.failReplace = true;
    const Storage withFailing{zavtest::storage().host, zavtest::storage().profile, failing};
    EXPECT_THROW(rebuildCatalog(withFailing, env.settings), Error);
    EXPECT_EQ(zavtest::readBytes(env.catalogPath()), before);
    EXPECT_FALSE(zavtest::pathExists(env.catalogPath() + L".tmp"));

    // An option folder that does not exist.
    Settings missing = env.settings;
    missing.optionFolder = env.dir.file(L"missing\\");
    EXPECT_THROW(rebuildCatalog(zavtest::storage(), missing), Error);
    EXPECT_EQ(zavtest::readBytes(env.catalogPath()), before);
}
