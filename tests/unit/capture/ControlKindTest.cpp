// Which windows the right press opens the menu for: the class rule, in any letter case, with the
// list-view rule first so that no class read as a list view before is read as anything else now.
#include <gtest/gtest.h>

#include "capture/GridSource.h"

namespace {

using zav::ControlKind;

TEST(ControlKind, ClassesAreToldApartInAnyLetterCaseAndOnlyGridsOpenTheMenu) {
    const std::pair<const wchar_t*, ControlKind> cases[] = {
        {L"SysListView32", ControlKind::ListView}, {L"TListView", ControlKind::ListView},
        // Whatever else it contains: the list-view road does not change.
        {L"TreeViewListView", ControlKind::ListView}, {L"ListBoxListView", ControlKind::ListView},
        {L"ComboBoxListView32", ControlKind::ListView},
        {L"SysTreeView32", ControlKind::TreeView}, {L"systreeview32", ControlKind::TreeView},
        {L"WindowsForms10.SysTreeView32.app.0.1", ControlKind::TreeView}, {L"TTreeView", ControlKind::TreeView},
        {L"ListBox", ControlKind::ListBox}, {L"LISTBOX", ControlKind::ListBox}, {L"ComboLBox", ControlKind::ListBox},
        {L"combolbox", ControlKind::ListBox}, {L"WindowsForms10.LISTBOX.app.0.1", ControlKind::ListBox},
        {L"ComboBox", ControlKind::ComboBox}, {L"WindowsForms10.COMBOBOX.app.0.1", ControlKind::ComboBox},
        {L"", ControlKind::None}, {L"SysHeader32", ControlKind::None}, {L"Edit", ControlKind::None},
        {L"Button", ControlKind::None}, {L"List View", ControlKind::None}, {L"Tree View", ControlKind::None},
        {L"Combo Box", ControlKind::None}, {L"#32768", ControlKind::None}, {L"SysTree", ControlKind::None},
        {L"ComboLBo", ControlKind::None},
    };
    for (const auto& [name, kind] : cases) {
        EXPECT_EQ(kind, zav::controlKindOfClass(name)) << name;
        // Any other window keeps its program's own menu.
        EXPECT_EQ(kind != ControlKind::None, zav::controlKindIsRead(zav::controlKindOfClass(name))) << name;
    }
}

}  // namespace
