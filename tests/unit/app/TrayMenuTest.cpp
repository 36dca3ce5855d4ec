// What Exit on the notification-area menu asks before anything is lost.
#include <gtest/gtest.h>

#include "app/TrayMenu.h"

namespace {

TEST(TrayMenu, ExitSaysWhatALongExportAndOpenDialogsLose) {
    const struct {
        bool exporting;
        int dialogs;
        std::vector<const wchar_t*> has, hasNot;
    } cases[] = {
        {false, 0, {}, {}},  // nothing would be lost: no question at all
        {true, 1, {L"export is running", L"previous file stays", L"unsaved edits are lost", L"Exit ZAVExport?"}, {}},
        {false, 1, {L"The open export dialog will be closed"}, {L"export is running"}},
        {false, 3, {L"The 3 open export dialogs will be closed"}, {}},
    };
    for (const auto& c : cases) {
        const std::wstring question = zav::exitQuestion(c.exporting, c.dialogs);
        EXPECT_EQ(c.dialogs == 0, question.empty()) << c.dialogs;
        for (const wchar_t* part : c.has) EXPECT_NE(std::wstring::npos, question.find(part)) << c.dialogs;
        for (const wchar_t* part : c.hasNot) EXPECT_EQ(std::wstring::npos, question.find(part)) << c.dialogs;
    }
}

}  // namespace
