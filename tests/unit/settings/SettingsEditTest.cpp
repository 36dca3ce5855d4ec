// The Settings dialog's checks and its saving, on real folders.
#include <gtest/gtest.h>

#include "ExportFixture.h"
#include "TestSupport.h"
#include "core/Error.h"
#include "settings/Settings.h"
#include "settings/SettingsEdit.h"
#include "text/Ansi.h"

using namespace zav;
using zavtest::TempDir;

namespace {

class SettingsEditTest : public ::testing::Test {
protected:
    // Settings that pass: every folder and file in `dir`, which exists.
    Settings usable() const {
        Settings s;
        s.settingsFile = dir.file(L"settings.ini");
        s.outputFolder = dir.file(L"Exports\\");
        s.catalogFile = dir.file(L"catalog.ini");
        s.replacesFile = dir.file(L"replaces.ini");
        s.optionFolder = dir.file(L"ExportOptions\\");
        return s;
    }
    std::wstring problem(const Settings& s) { return settingsProblem(fs_, s); }

    TempDir dir;
    exporttest::FailingFileSystem fs_{zavtest::storage().fs};
};

bool mentions(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

}  // namespace

TEST_F(SettingsEditTest, TidyingTrimsAndEndsFoldersWithTheSeparatorButLeavesFileNames) {
    Settings s = usable();
    s.outputFolder = L"  C:\\Out ";
    s.optionFolder = L"C:\\Types\\";
    s.catalogFile = L" C:\\c.ini\t";
    s.replacesFile = L"C:\\r.ini";
    const Settings t = tidySettings(s);
    EXPECT_EQ(t.outputFolder, L"C:\\Out\\");
    EXPECT_EQ(t.optionFolder, L"C:\\Types\\");  // not doubled
    EXPECT_EQ(t.catalogFile, L"C:\\c.ini");
    EXPECT_EQ(t.replacesFile, L"C:\\r.ini");
    EXPECT_EQ(t.settingsFile, s.settingsFile);
    EXPECT_EQ(tidySettings(Settings{}).outputFolder, L"");  // nothing to end
}

TEST_F(SettingsEditTest, FoldersThatExistOrCanBeMadeAtAnyDepthPassAndNothingIsLeftBehind) {
    EXPECT_EQ(problem(usable()), L"");
    Settings deep = usable();
    deep.outputFolder = dir.file(L"a\\b\\c\\");
    deep.catalogFile = dir.file(L"x\\y\\catalog.ini");
    EXPECT_EQ(problem(deep), L"");
    // The checks made no folder and left no file of their own.
    EXPECT_FALSE(zavtest::pathExists(dir.file(L"a")));
    EXPECT_FALSE(zavtest::pathExists(dir.file(L"x")));
    EXPECT_TRUE(zavtest::storage().fs.listFiles(dir.path()).empty());
}

TEST_F(SettingsEditTest, EachRefusalNamesTheSettingAndTheFirstBadOneIsTold) {
    zavtest::writeBytes(dir.file(L"plain"), "not a folder");
    struct Case {
        const char* what;
        std::wstring Settings::*field;
        std::wstring value;
        const wchar_t* key;
        const wchar_t* says;
    } cases[] = {
        {"empty", &Settings::outputFolder, L"", kOutputFolderKey, L"is empty"},
        {"relative folder", &Settings::optionFolder, L"Types\\", kOptionFolderKey, L"not a full path"},
        {"relative file", &Settings::catalogFile, L"catalog.ini", kCatalogFileKey, L"not a full path"},
        {"a file where the folder goes", &Settings::outputFolder, dir.file(L"plain\\"), kOutputFolderKey,
         L"a file stands"},
        {"a file above the folder", &Settings::optionFolder, dir.file(L"plain\\sub\\"), kOptionFolderKey,
         L"a file stands"},
        {"a file setting that is a folder", &Settings::replacesFile, dir.path(), kReplacesFileKey,
         L"names a folder"},
        {"a file setting ending in a separator", &Settings::catalogFile, dir.file(L"new\\"), kCatalogFileKey,
         L"names a folder"},
        {"a file below a file", &Settings::catalogFile, dir.file(L"plain\\catalog.ini"), kCatalogFileKey,
         L"a file stands"},
    };
    for (const Case& c : cases) {
        Settings s = usable();
        s.*(c.field) = c.value;
        const std::wstring said = problem(s);
        EXPECT_TRUE(mentions(said, std::wstring(L"The setting ") + c.key)) << c.what << ": " << zavtest::shown(said);
        EXPECT_TRUE(mentions(said, c.says)) << c.what << ": " << zavtest::shown(said);
    }
    // Two bad settings: the first in the dialog's order is told.
    Settings two = usable();
    two.outputFolder = L"";
    two.replacesFile = L"";
    EXPECT_TRUE(mentions(problem(two), kOutputFolderKey));
}

TEST_F(SettingsEditTest, AFolderThatTakesNoNewFilesAndAReadOnlyFileAreRefused) {
    const std::wstring locked = dir.file(L"Locked");
    zavtest::storage().fs.createFolder(locked);
    fs_.failCreateFile = [&](const std::wstring& p) { return p.rfind(locked + L"\\", 0) == 0; };
    Settings s = usable();
    s.outputFolder = locked + L"\\";
    std::wstring said = problem(s);
    EXPECT_TRUE(mentions(said, kOutputFolderKey)) << zavtest::shown(said);
    EXPECT_TRUE(mentions(said, L"new files cannot be written in " + locked)) << zavtest::shown(said);
    // A folder still to be made is judged by the one it would be made in.
    s.outputFolder = locked + L"\\Sub\\";
    EXPECT_TRUE(mentions(problem(s), L"new files cannot be written in " + locked));
    fs_.failCreateFile = nullptr;

    zavtest::writeBytes(dir.file(L"catalog.ini"), "[x]\r\n");
    EXPECT_EQ(problem(usable()), L"");  // an existing file that may be written passes
    zavtest::setReadOnly(dir.file(L"catalog.ini"), true);
    said = problem(usable());
    zavtest::setReadOnly(dir.file(L"catalog.ini"), false);
    EXPECT_TRUE(mentions(said, kCatalogFileKey)) << zavtest::shown(said);
    EXPECT_TRUE(mentions(said, L"read-only")) << zavtest::shown(said);
}

TEST_F(SettingsEditTest, SavingWritesTheFourValuesKeepsEverythingElseAndMakesTheFolders) {
    zavtest::writeBytes(dir.file(L"settings.ini"),
                        "; kept by hand\r\n"
                        "[General]\r\n"
                        "OutputFolder=C:\\old\\\r\n"
                        "Extra=mine\r\n"
                        "[FileInfo]\r\n"
                        "Type=Settings\r\n"
                        "Version=0.1.3\r\n");
    Settings wanted = usable();
    wanted.outputFolder = dir.file(L"New\\Out");  // the "\" is added
    wanted.catalogFile = dir.file(L"Lists\\Deep\\catalog.ini");
    const Settings saved = saveSettings(zavtest::storage(), wanted);

    EXPECT_EQ(saved.outputFolder, dir.file(L"New\\Out\\"));
    EXPECT_EQ(saved.catalogFile, wanted.catalogFile);
    EXPECT_EQ(saved.replacesFile, wanted.replacesFile);
    EXPECT_EQ(saved.optionFolder, wanted.optionFolder);
    EXPECT_TRUE(zavtest::pathExists(dir.file(L"New\\Out")));
    EXPECT_TRUE(zavtest::pathExists(dir.file(L"Lists\\Deep")));
    EXPECT_TRUE(zavtest::pathExists(dir.file(L"ExportOptions")));
    EXPECT_FALSE(zavtest::pathExists(wanted.catalogFile));  // the catalog is the rebuild's to write

    const std::string f = toAnsi(dir.path());
    EXPECT_EQ(zavtest::readBytes(dir.file(L"settings.ini")),
              "; kept by hand\r\n"
              "[General]\r\n"
              "OutputFolder=" + f + "\\New\\Out\\\r\n"
              "Extra=mine\r\n"
              "CatalogFile=" + f + "\\Lists\\Deep\\catalog.ini\r\n"
              "ReplacesFile=" + f + "\\replaces.ini\r\n"
              "OptionFolder=" + f + "\\ExportOptions\\\r\n"
              "[FileInfo]\r\n"
              "Type=Settings\r\n"
              "Version=0.1.3\r\n");
}

TEST_F(SettingsEditTest, AReadOnlySettingsFileIsRefusedBeforeAnythingChanges) {
    zavtest::writeBytes(dir.file(L"settings.ini"), "[General]\r\nOutputFolder=C:\\old\\\r\n");
    zavtest::setReadOnly(dir.file(L"settings.ini"), true);
    const std::wstring said = problem(usable());
    bool refused = false;
    try {
        saveSettings(zavtest::storage(), usable());
    } catch (const Error& e) {
        refused = mentions(e.detail(), L"read-only");
    }
    zavtest::setReadOnly(dir.file(L"settings.ini"), false);
    EXPECT_TRUE(mentions(said, L"settings file " + dir.file(L"settings.ini") + L" is read-only")) << zavtest::shown(said);
    EXPECT_TRUE(refused);
    EXPECT_EQ(zavtest::readBytes(dir.file(L"settings.ini")), "[General]\r\nOutputFolder=C:\\old\\\r\n");
    EXPECT_FALSE(zavtest::pathExists(dir.file(L"Exports")));  // nothing made for settings not saved
}
