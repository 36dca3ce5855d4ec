// Start-up on a real, empty program folder.
#include <gtest/gtest.h>

#include "FakeHost.h"
#include "TestSupport.h"
#include "app/mMain.h"
#include "catalog/Catalog.h"
#include "core/Error.h"
#include "ini/FileInfo.h"
#include "model/ChangeSettings.h"
#include "settings/Settings.h"
#include "text/Ansi.h"

using namespace zav;
using zavtest::TempDir;

namespace {

class StartupTest : public ::testing::Test {
protected:
    StartupTest() { host_.folder = dir.path(); }

    std::string settings() const { return zavtest::readBytes(dir.file(L"settings.ini")); }

    TempDir dir;

private:
    zavtest::FakeHost host_;

protected:
    // The build's storage as seen from a program installed in `dir`.
    const Storage storage_ = zavtest::withHost(host_);
};

}  // namespace

TEST_F(StartupTest, FirstRunWritesTheFourDefaultsInOrderThenTheStampAndMakesTheFolders) {
    const Settings loaded = loadSettings(storage_, dir.path());
    const std::string f = toAnsi(dir.path());
    EXPECT_EQ(settings(),
              "[General]\r\n"
              "OutputFolder=" + f + "\\Exports\\\r\n"
              "CatalogFile=" + f + "\\catalog.ini\r\n"
              "ReplacesFile=" + f + "\\replaces.ini\r\n"
              "OptionFolder=" + f + "\\ExportOptions\\\r\n"
              "[FileInfo]\r\n"
              "Type=Settings\r\n"
              "Version=0.1.3\r\n");
    EXPECT_TRUE(zavtest::pathExists(dir.file(L"Exports")));
    EXPECT_TRUE(zavtest::pathExists(dir.file(L"ExportOptions")));
    EXPECT_EQ(loaded.settingsFile, dir.file(L"settings.ini"));
    EXPECT_EQ(loaded.outputFolder, dir.path() + L"\\Exports\\");
    EXPECT_EQ(loaded.catalogFile, dir.path() + L"\\catalog.ini");
    EXPECT_EQ(loaded.replacesFile, dir.path() + L"\\replaces.ini");
    EXPECT_EQ(loaded.optionFolder, dir.path() + L"\\ExportOptions\\");
    EXPECT_TRUE(zavtest::reporter().messages.empty());
}

TEST_F(StartupTest, LaterRunsOnlyRestampTheFileInfo) {
    zavtest::writeBytes(dir.file(L"settings.ini"),
                        "[General]\r\n"
                        "OutputFolder=" + toAnsi(dir.path()) + "\\Out\\\r\n"
                        "OptionFolder=" + toAnsi(dir.path()) + "\\Types\\\r\n"
                        "; kept by hand\r\n"
                        "[FileInfo]\r\n"
                        "Type=Settings\r\n"
                        "Version=0.0.1\r\n");
    loadSettings(storage_, dir.path());
    const std::string s = settings();
    EXPECT_NE(s.find("Version=0.1.3\r\n"), std::string::npos);
    EXPECT_EQ(s.find("0.0.1"), std::string::npos);
    EXPECT_EQ(s.find("CatalogFile"), std::string::npos);  // never completed with defaults
    EXPECT_NE(s.find("; kept by hand"), std::string::npos);
    EXPECT_TRUE(zavtest::pathExists(dir.file(L"Out")));
    EXPECT_TRUE(zavtest::pathExists(dir.file(L"Types")));
    EXPECT_FALSE(zavtest::pathExists(dir.file(L"Exports")));

    // A second start changes nothing more.
    loadSettings(storage_, dir.path());
    EXPECT_EQ(settings(), s);
}

TEST_F(StartupTest, MissingOrUncreatableFoldersEndStartUpWithAnError) {
    zavtest::writeBytes(dir.file(L"settings.ini"),
                        "[General]\r\nOptionFolder=" + toAnsi(dir.path()) + "\\Types\\\r\n");
    try {
        loadSettings(storage_, dir.path());
        FAIL() << "an empty OutputFolder was accepted";
    } catch (const Error& e) {
        EXPECT_NE(e.operation().find(L"CreateFolder"), std::wstring::npos);
        EXPECT_NE(e.operation().find(L"setting OutputFolder"), std::wstring::npos);
    }

    zavtest::writeBytes(dir.file(L"settings.ini"),
                        "[General]\r\nOutputFolder=" + toAnsi(dir.path()) + "\\a\\b\\\r\nOptionFolder=" +
                            toAnsi(dir.path()) + "\\Types\\\r\n");
    EXPECT_THROW(loadSettings(storage_, dir.path()), Error);
    EXPECT_FALSE(zavtest::pathExists(dir.file(L"a")));  // no intermediate folders
}

TEST_F(StartupTest, MainLoadsSettingsThenRebuildsAnEmptyCatalog) {
    Main(storage_);
    const std::string catalog = zavtest::readBytes(dir.file(L"catalog.ini"));
    EXPECT_EQ(catalog, "[FileInfo]\r\nType=Catalog\r\nVersion=" + toAnsi(versionText()) + "\r\n");
}

TEST_F(StartupTest, ChangedSettingsTakeEffectAtOnceTheCatalogRebuiltFromTheNewTypeFolder) {
    const Settings first = Main(storage_);
    zavtest::storage().fs.createFolder(dir.file(L"Team"));
    zavtest::writeBytes(dir.file(L"Team\\Mine.ini"),
                        "[FileInfo]\r\nType=ExportOption\r\nVersion=0.1.3\r\nEncoding=Escaped\r\n"
                        "[General]\r\nName=Mine\r\nFile=c:\\o.html\r\nColumns=A_B\r\n");
    Settings wanted = first;
    wanted.optionFolder = dir.file(L"Team");
    wanted.catalogFile = dir.file(L"Lists\\team-catalog.ini");
    const Settings now = ChangeSettings(storage_, wanted);
    EXPECT_EQ(now.optionFolder, dir.file(L"Team\\"));
    EXPECT_EQ(now.catalogFile, dir.file(L"Lists\\team-catalog.ini"));
    const std::string catalog = zavtest::readBytes(now.catalogFile);
    EXPECT_NE(catalog.find("[A_B]\r\n"), std::string::npos) << catalog;
    EXPECT_NE(catalog.find("=Mine\r\n"), std::string::npos) << catalog;
    // The next start reads what was saved.
    EXPECT_EQ(loadSettings(storage_, dir.path()).optionFolder, now.optionFolder);
}
