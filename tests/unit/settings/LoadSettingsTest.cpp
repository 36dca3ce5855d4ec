// Start-up on a real, empty program folder.
#include <gtest/gtest.h>

#include "FakeHost.h"
#include "TestSupport.h"
#include "app/mMain.h"
#include "core/Error.h"
#include "ini/FileInfo.h"
#include "model/ChangeSettings.h"
#include "settings/Settings.h"
#include "text/Ansi.h"

using namespace zav;

namespace {

class StartupTest : public ::testing::Test {
protected:
    StartupTest() { host_.folder = dir.path(); }
    std::string settings() const { return zavtest::readBytes(dir.file(L"settings.ini")); }
    void give(const std::string& general) {  // settings.ini with these [General] lines, folders in dir
        const std::string f = toAnsi(dir.path());
        std::string text = "[General]\r\n" + general;
        for (std::size_t at; (at = text.find('@')) != std::string::npos;) text.replace(at, 1, f);
        zavtest::writeBytes(dir.file(L"settings.ini"), text);
    }
    zavtest::TempDir dir;
    zavtest::FakeHost host_;
    const Storage storage_ = zavtest::withHost(host_);  // a program installed in `dir`
};

}  // namespace

TEST_F(StartupTest, FirstRunWritesTheFourDefaultsInOrderThenTheStampAndMakesTheFolders) {
    const Settings loaded = loadSettings(storage_, dir.path());
    const std::string f = toAnsi(dir.path());
    EXPECT_EQ(settings(), "[General]\r\nOutputFolder=" + f + "\\Exports\\\r\nCatalogFile=" + f +
                              "\\catalog.ini\r\nReplacesFile=" + f + "\\replaces.ini\r\nOptionFolder=" + f +
                              "\\ExportOptions\\\r\n[FileInfo]\r\nType=Settings\r\nVersion=0.1.3\r\n");
    EXPECT_TRUE(zavtest::pathExists(dir.file(L"Exports")));
    EXPECT_TRUE(zavtest::pathExists(dir.file(L"ExportOptions")));
    EXPECT_EQ(loaded.settingsFile, dir.file(L"settings.ini"));
    EXPECT_EQ(loaded.outputFolder + L"|" + loaded.catalogFile + L"|" + loaded.replacesFile + L"|" + loaded.optionFolder,
              dir.file(L"Exports\\|") + dir.file(L"catalog.ini|") + dir.file(L"replaces.ini|") +
                  dir.file(L"ExportOptions\\"));
    EXPECT_TRUE(zavtest::reporter().messages.empty());
}

TEST_F(StartupTest, LaterRunsOnlyRestampTheFileInfo) {
    give("OutputFolder=@\\Out\\\r\nOptionFolder=@\\Types\\\r\n; kept by hand\r\n[FileInfo]\r\nType=Settings\r\n"
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
    loadSettings(storage_, dir.path());  // a second start changes nothing more
    EXPECT_EQ(settings(), s);
}

TEST_F(StartupTest, MissingOrUncreatableFoldersEndStartUpWithAnError) {
    give("OptionFolder=@\\Types\\\r\n");
    try {
        loadSettings(storage_, dir.path());
        ADD_FAILURE() << "an empty OutputFolder was accepted";
    } catch (const Error& e) {
        EXPECT_NE(e.operation().find(L"CreateFolder"), std::wstring::npos);
        EXPECT_NE(e.operation().find(L"setting OutputFolder"), std::wstring::npos);
    }
    give("OutputFolder=@\\a\\b\\\r\nOptionFolder=@\\Types\\\r\n");
    EXPECT_THROW(loadSettings(storage_, dir.path()), Error);
    EXPECT_FALSE(zavtest::pathExists(dir.file(L"a")));  // no intermediate folders
}

TEST_F(StartupTest, MainRebuildsTheCatalogAndChangedSettingsTakeEffectAtOnce) {
    const Settings first = Main(storage_);
    EXPECT_EQ(zavtest::readBytes(dir.file(L"catalog.ini")),
              "[FileInfo]\r\nType=Catalog\r\nVersion=" + toAnsi(versionText()) + "\r\n");
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
    const std::string catalog = zavtest::readBytes(now.catalogFile);  // rebuilt from the new folder
    EXPECT_NE(catalog.find("[A_B]\r\n"), std::string::npos) << catalog;
    EXPECT_NE(catalog.find("=Mine\r\n"), std::string::npos) << catalog;
    EXPECT_EQ(loadSettings(storage_, dir.path()).optionFolder, now.optionFolder);  // saved for the next start
}
