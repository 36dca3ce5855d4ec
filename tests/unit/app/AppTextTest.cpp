// The texts the program shows: the crash message, the report of an error nobody handled, what Exit
// asks before anything is lost, and the About box.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/AboutText.h"
#include "app/CrashMessage.h"
#include "app/TrayMenu.h"
#include "capture/GridSource.h"
#include "core/Error.h"
#include "ini/FileInfo.h"

namespace {

bool has(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

TEST(CrashMessage, TextsByExceptionCodeOthersInUpperCaseHex) {
    EXPECT_EQ(L"FATAL error => General Protection Fault (Access Violation)\n\nProgram will terminate",
              zav::crashMessage(0xC0000005u));
    const std::pair<std::uint32_t, const wchar_t*> cases[] = {
        {0xC00000FDu, L" (Stack Overflow"}, {0xC0000094u, L", Error code hC0000094"},
        {0x80000003u, L", Error code h80000003"}, {0xABCu, L", Error code hABC"}, {0u, L", Error code h0"}};
    for (const auto& [code, tail] : cases)
        EXPECT_EQ(L"General Protection Fault" + std::wstring(tail), zav::crashDescription(code)) << code;
}

TEST(ErrorReport, NumberAndDescriptionOfOwnAndForeignErrors) {
    const zav::Error own(75, L"Save export type x", L"The export type file cannot be written");
    EXPECT_EQ(L"Error 75: Save export type x: The export type file cannot be written", zav::errorReport(own));
    EXPECT_EQ(zav::errorReport(own), zav::errorReport(static_cast<const std::exception&>(own)));
    EXPECT_EQ(L"Error: bad thing", zav::errorReport(std::runtime_error("bad thing")));
}

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
        for (const wchar_t* part : c.has) EXPECT_TRUE(has(question, part)) << c.dialogs;
        for (const wchar_t* part : c.hasNot) EXPECT_FALSE(has(question, part)) << c.dialogs;
    }
}

// The version the files record, every kind of control the build reads, and the help file beside
// the program wherever the program lies.
TEST(AboutText, NamesTheVersionTheControlsReadAndTheHelpFileBesideTheProgram) {
    using zav::ControlKind;
    const std::wstring text = zav::aboutText(L"C:\\Tools");
    EXPECT_EQ(0u, text.find(L"ZAVExport " + zav::versionText() + L"\n"));
    for (ControlKind kind : {ControlKind::ListView, ControlKind::TreeView, ControlKind::ListBox, ControlKind::ComboBox})
        EXPECT_EQ(zav::controlKindIsRead(kind), has(text, zav::describeControlKind(kind))) << static_cast<int>(kind);
    EXPECT_TRUE(has(text, L"list view, tree view, list box or combo box of any program"));
    const std::pair<const wchar_t*, std::wstring> cases[] = {
        {L"C:\\Program Files\\ZAV", L"\nHelp: C:\\Program Files\\ZAV\\readme.txt"},
        {L"C:\\", L"\nHelp: C:\\readme.txt"},  // a drive root keeps its one separator
        {L"\\\\server\\share\\tools", L"\nHelp: \\\\server\\share\\tools\\readme.txt"}};
    for (const auto& [folder, help] : cases) {
        const std::wstring about = zav::aboutText(folder);
        EXPECT_EQ(help, about.substr(about.size() - std::min(about.size(), help.size()))) << folder;
    }
}

}  // namespace
