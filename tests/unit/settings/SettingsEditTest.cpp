// The Settings dialog's checks and its saving, on real folders.
#include <gtest/gtest.h>

#include "ExportFixture.h"
#include "TestSupport.h"
#include "core/Error.h"
#include "settings/Settings.h"
#include "settings/SettingsEdit.h"
#include "text/Ansi.h"

using namespace zav;

namespace {

bool mentions(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

class SettingsEditTest : public ::testing::Test {
protected:
    Settings usable() const {  // settings that pass: every folder and file in `dir`, which exists
        return {dir.file(L"settings.ini"), dir.file(L"Exports\\"), dir.file(L"catalog.ini"),
                dir.file(L"replaces.ini"), dir.file(L"ExportOptions\\")};
    }
    std::wstring problem(const Settings& s) { return settingsProblem(fs_, s); }
    // Whether `s` is refused with a text that names `key` and says `says`.
    void expectRefused(const Settings& s, const std::wstring& key, const std::wstring& says, const char* what = "") {
        const std::wstring said = problem(s);
        EXPECT_TRUE(mentions(said, key) && mentions(said, says)) << what << ": " << zavtest::shown(said);
    }
    zavtest::TempDir dir;
    exporttest::FailingFileSystem fs_{zavtest::storage().fs};
};

}  // namespace

TEST_F(SettingsEditTest, TidyingTrimsAndEndsFoldersWithTheSeparatorButLeavesFileNames) {
    const Settings t = tidySettings({L"s.ini", L"  C:\\Out ", L" C:\\c.ini\t", L"C:\\r.ini", L"C:\\Types\\"});
    EXPECT_EQ(t.settingsFile + L"|" + t.outputFolder + L"|" + t.catalogFile + L"|" + t.replacesFile + L"|" +
                  t.optionFolder,
              L"s.ini|C:\\Out\\|C:\\c.ini|C:\\r.ini|C:\\Types\\");  // the last not doubled
    EXPECT_EQ(tidySettings(Settings{}).outputFolder, L"");  // nothing to end
}

TEST_F(SettingsEditTest, FoldersThatExistOrCanBeMadeAtAnyDepthPassAndNothingIsLeftBehind) {
    EXPECT_EQ(problem(usable()), L"");
    Settings deep = usable();
    deep.outputFolder = dir.file(L"a\\b\\c\\");
    deep.catalogFile = dir.file(L"x\\y\\catalog.ini");
    EXPECT_EQ(problem(deep), L"");
    EXPECT_FALSE(zavtest::pathExists(dir.file(L"a")));  // the checks made no folder
    EXPECT_FALSE(zavtest::pathExists(dir.file(L"x")));
    EXPECT_TRUE(zavtest::storage().fs.listFiles(dir.path()).empty());  // and left no file of their own
}

TEST_F(SettingsEditTest, EachRefusalNamesTheSettingAndTheFirstBadOneIsTold) {
    zavtest::writeBytes(dir.file(L"plain"), "not a folder");
    const struct {
        const char* what;
        std::wstring Settings::*field;
        std::wstring value;
        const wchar_t *key, *says;
    } cases[] = {
        {"empty", &Settings::outputFolder, L"", kOutputFolderKey, L"is empty"},
        {"relative folder", &Settings::optionFolder, L"Types\\", kOptionFolderKey, L"not a full path"},
        {"relative file", &Settings::catalogFile, L"catalog.ini", kCatalogFileKey, L"not a full path"},
        {"a file where the folder goes", &Settings::outputFolder, dir.file(L"plain\\"), kOutputFolderKey, L"a file stands"},
        {"a file above the folder", &Settings::optionFolder, dir.file(L"plain\\sub\\"), kOptionFolderKey, L"a file stands"},
        {"a file setting that is a folder", &Settings::replacesFile, dir.path(), kReplacesFileKey, L"names a folder"},
        {"a file setting ending in a separator", &Settings::catalogFile, dir.file(L"new\\"), kCatalogFileKey,
         L"names a folder"},
        {"a file below a file", &Settings::catalogFile, dir.file(L"plain\\catalog.ini"), kCatalogFileKey, L"a file stands"},
    };
    for (const auto& c : cases) {
        Settings s = usable();
        s.*(c.field) = c.value;
        expectRefused(s, std::wstring(L"The setting ") + c.key, c.says, c.what);
    }
    Settings two = usable();  // two bad settings: the first in the dialog's order is told
    two.outputFolder = two.replacesFile = L"";
    EXPECT_TRUE(mentions(problem(two), kOutputFolderKey));
}

TEST_F(SettingsEditTest, AFolderThatTakesNoNewFilesAndAReadOnlyFileAreRefused) {
    const std::wstring locked = dir.file(L"Locked");
    zavtest::storage().fs.createFolder(locked);
    fs_.failCreateFile = [&](const std::wstring& p) { return p.rfind(locked + L"\\", 0) == 0; };
    Settings s = usable();
    for (const wchar_t* folder : {L"\\", L"\\Sub\\"}) {  // one still to be made: judged by its parent
        s.outputFolder = locked + folder;
        expectRefused(s, kOutputFolderKey, L"new files cannot be written in " + locked);
    }
    fs_.failCreateFile = nullptr;
    zavtest::writeBytes(dir.file(L"catalog.ini"), "[x]\r\n");
    EXPECT_EQ(problem(usable()), L"");  // an existing file that may be written passes
    zavtest::setReadOnly(dir.file(L"catalog.ini"), true);
    expectRefused(usable(), kCatalogFileKey, L"read-only");
    zavtest::setReadOnly(dir.file(L"catalog.ini"), false);
}

TEST_F(SettingsEditTest, SavingWritesTheFourValuesKeepsEverythingElseAndMakesTheFolders) {
    const std::string kept = "; kept by hand\r\n[General]\r\nOutputFolder=C:\\old\\\r\nExtra=mine\r\n";
    zavtest::writeBytes(dir.file(L"settings.ini"), kept + "[FileInfo]\r\nType=Settings\r\nVersion=0.1.3\r\n");
    Settings wanted = usable();
    wanted.outputFolder = dir.file(L"New\\Out");  // the "\" is added
    wanted.catalogFile = dir.file(L"Lists\\Deep\\catalog.ini");
    const Settings saved = saveSettings(zavtest::storage(), wanted);
    EXPECT_EQ(saved.outputFolder, dir.file(L"New\\Out\\"));
    EXPECT_EQ(saved.catalogFile + saved.replacesFile + saved.optionFolder,
              wanted.catalogFile + wanted.replacesFile + wanted.optionFolder);
    EXPECT_TRUE(zavtest::pathExists(dir.file(L"New\\Out")));
    EXPECT_TRUE(zavtest::pathExists(dir.file(L"Lists\\Deep")));
    EXPECT_TRUE(zavtest::pathExists(dir.file(L"ExportOptions")));
    EXPECT_FALSE(zavtest::pathExists(wanted.catalogFile));  // the catalog is the rebuild's to write
    const std::string f = toAnsi(dir.path());
    std::string expected = kept + "CatalogFile=" + f + "\\Lists\\Deep\\catalog.ini\r\nReplacesFile=" + f +
                           "\\replaces.ini\r\nOptionFolder=" + f +
                           "\\ExportOptions\\\r\n[FileInfo]\r\nType=Settings\r\nVersion=0.1.3\r\n";
    expected.replace(expected.find("C:\\old"), 6, f + "\\New\\Out");
    EXPECT_EQ(zavtest::readBytes(dir.file(L"settings.ini")), expected);
}

TEST_F(SettingsEditTest, AReadOnlySettingsFileIsRefusedBeforeAnythingChanges) {
    zavtest::writeBytes(dir.file(L"settings.ini"), "[General]\r\nOutputFolder=C:\\old\\\r\n");
    zavtest::setReadOnly(dir.file(L"settings.ini"), true);
    expectRefused(usable(), L"settings file " + dir.file(L"settings.ini") + L" is read-only", L"");
    bool refused = false;
    try {
        saveSettings(zavtest::storage(), usable());
    } catch (const Error& e) {
        refused = mentions(e.detail(), L"read-only");
    }
    zavtest::setReadOnly(dir.file(L"settings.ini"), false);
    EXPECT_TRUE(refused);
    EXPECT_EQ(zavtest::readBytes(dir.file(L"settings.ini")), "[General]\r\nOutputFolder=C:\\old\\\r\n");
    EXPECT_FALSE(zavtest::pathExists(dir.file(L"Exports")));  // nothing made for settings not saved
}
