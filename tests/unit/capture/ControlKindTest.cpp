// Which windows the right press opens the menu for: the class rule, in any letter case, with the
// list-view rule first so that no class read as a list view before is read as anything else now.
#include <gtest/gtest.h>

#include "capture/GridSource.h"

namespace {

using zav::ControlKind;
using zav::controlKindOfClass;

TEST(ControlKind, TheSystemClassesAreToldApart) {
    EXPECT_EQ(ControlKind::ListView, controlKindOfClass(L"SysListView32"));
    EXPECT_EQ(ControlKind::TreeView, controlKindOfClass(L"SysTreeView32"));
    EXPECT_EQ(ControlKind::ListBox, controlKindOfClass(L"ListBox"));
    EXPECT_EQ(ControlKind::ListBox, controlKindOfClass(L"ComboLBox"));
    EXPECT_EQ(ControlKind::ComboBox, controlKindOfClass(L"ComboBox"));
}

TEST(ControlKind, AnyLetterCaseAndToolkitClassesThatContainTheName) {
    EXPECT_EQ(ControlKind::TreeView, controlKindOfClass(L"systreeview32"));
    EXPECT_EQ(ControlKind::TreeView, controlKindOfClass(L"WindowsForms10.SysTreeView32.app.0.1"));
    EXPECT_EQ(ControlKind::TreeView, controlKindOfClass(L"TTreeView"));
    EXPECT_EQ(ControlKind::ListBox, controlKindOfClass(L"LISTBOX"));
    EXPECT_EQ(ControlKind::ListBox, controlKindOfClass(L"combolbox"));
    EXPECT_EQ(ControlKind::ListBox, controlKindOfClass(L"WindowsForms10.LISTBOX.app.0.1"));
    EXPECT_EQ(ControlKind::ComboBox, controlKindOfClass(L"WindowsForms10.COMBOBOX.app.0.1"));
    EXPECT_EQ(ControlKind::ListView, controlKindOfClass(L"TListView"));
}

TEST(ControlKind, OtherWindowsAreNone) {
    for (const wchar_t* name : {L"", L"SysHeader32", L"Edit", L"Button", L"List View", L"Tree View", L"Combo Box",
                                L"#32768", L"SysTree", L"ComboLBo"})
        EXPECT_EQ(ControlKind::None, controlKindOfClass(name)) << name;
}

TEST(ControlKind, OnlyTheKindsThatAreReadOpenTheMenu) {
    // Any other window keeps its program's own menu.
    EXPECT_FALSE(controlKindIsRead(ControlKind::None));
    EXPECT_FALSE(controlKindIsRead(controlKindOfClass(L"SysHeader32")));
    for (const wchar_t* name : {L"SysListView32", L"ListBox", L"ComboLBox", L"ComboBox", L"TreeViewListView",
                                L"SysTreeView32", L"WindowsForms10.SysTreeView32.app.0.1"})
        EXPECT_TRUE(controlKindIsRead(controlKindOfClass(name))) << name;
}

TEST(ControlKind, AClassNamingAListViewStaysAListView) {
    // Whatever else it contains: the list-view road does not change.
    EXPECT_EQ(ControlKind::ListView, controlKindOfClass(L"TreeViewListView"));
    EXPECT_EQ(ControlKind::ListView, controlKindOfClass(L"ListBoxListView"));
    EXPECT_EQ(ControlKind::ListView, controlKindOfClass(L"ComboBoxListView32"));
}

}  // namespace
