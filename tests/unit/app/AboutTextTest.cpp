// The About box: the version the files record, every kind of control the build reads, and the
// help file beside the program wherever the program lies.
#include <gtest/gtest.h>

#include "app/AboutText.h"
#include "capture/GridSource.h"
#include "ini/FileInfo.h"

namespace {

bool has(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

TEST(AboutText, BeginsWithTheVersionTheFilesRecord) {
    EXPECT_EQ(0u, zav::aboutText(L"C:\\Tools").find(L"ZAVExport " + zav::versionText() + L"\n"));
}

TEST(AboutText, NamesEveryKindOfControlTheBuildReads) {
    using zav::ControlKind;
    const std::wstring text = zav::aboutText(L"C:\\Tools");
    for (ControlKind kind : {ControlKind::ListView, ControlKind::TreeView, ControlKind::ListBox, ControlKind::ComboBox})
        EXPECT_EQ(zav::controlKindIsRead(kind), has(text, zav::describeControlKind(kind))) << static_cast<int>(kind);
    EXPECT_TRUE(has(text, L"list view, tree view, list box or combo box of any program"));
}

TEST(AboutText, TheHelpFileLiesBesideTheProgram) {
    const struct {
        const wchar_t* folder;
        const wchar_t* help;
    } cases[] = {
        {L"C:\\Program Files\\ZAV", L"\nHelp: C:\\Program Files\\ZAV\\readme.txt"},
        {L"C:\\", L"\nHelp: C:\\readme.txt"},  // a drive root keeps its one separator
        {L"\\\\server\\share\\tools", L"\nHelp: \\\\server\\share\\tools\\readme.txt"},
    };
    for (const auto& c : cases) {
        const std::wstring text = zav::aboutText(c.folder);
        const std::wstring help = c.help;
        ASSERT_GE(text.size(), help.size());
        EXPECT_EQ(help, text.substr(text.size() - help.size())) << c.folder;
    }
}

}  // namespace
