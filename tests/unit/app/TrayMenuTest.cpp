// The notification-area menu: its order, and what Exit asks before anything is lost.
#include <gtest/gtest.h>

#include "app/TrayMenu.h"

namespace {

using zav::exitQuestion;
using zav::TrayMenuItem;

bool has(const std::wstring& text, const wchar_t* part) { return text.find(part) != std::wstring::npos; }

TEST(TrayMenu, TheDefaultCommandComesFirstTheOptionsThenExitAfterASeparator) {
    std::wstring captions;
    for (const TrayMenuItem& item : zav::trayMenuItems()) captions += item.caption ? item.caption : L"-";
    captions += L"|";
    EXPECT_EQ(L"Open Exports FolderSettings...PauseStart with WindowsAbout ZAVExport-Exit|", captions);
    for (const TrayMenuItem& item : zav::trayMenuItems())
        EXPECT_EQ(item.caption == nullptr, item.command == TrayMenuItem::kSeparator);
}

TEST(TrayMenu, ExitAsksNothingWhenNothingWouldBeLost) { EXPECT_EQ(L"", exitQuestion(false, 0)); }

TEST(TrayMenu, ExitSaysWhatALongExportAndOpenDialogsLose) {
    const std::wstring running = exitQuestion(true, 1);
    EXPECT_TRUE(has(running, L"export is running"));
    EXPECT_TRUE(has(running, L"previous file stays"));
    EXPECT_TRUE(has(running, L"unsaved edits are lost"));
    EXPECT_TRUE(has(running, L"Exit ZAVExport?"));

    const std::wstring editing = exitQuestion(false, 1);
    EXPECT_FALSE(has(editing, L"export is running"));
    EXPECT_TRUE(has(editing, L"The open export dialog will be closed"));

    EXPECT_TRUE(has(exitQuestion(false, 3), L"The 3 open export dialogs will be closed"));
}

}  // namespace
