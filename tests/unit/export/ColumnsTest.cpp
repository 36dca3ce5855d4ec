#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/Error.h"
#include "export/cColumn.h"

using namespace zav;

TEST(KeyedList, KeepsOrderFindsWithoutCaseAndRefusesDuplicates) {
    cKeyedList<int> list;
    list.add(L"b", std::make_shared<int>(1));
    list.add(L"A", std::make_shared<int>(2));
    list.add(L"\xC9t\xE9", std::make_shared<int>(3));  // Été
    EXPECT_EQ(list.keyAt(0), L"b");
    EXPECT_EQ(*list.at(1), 2);
    EXPECT_EQ(*list.item(L"a"), 2);
    EXPECT_EQ(*list.find(L"\xC9T\xC9"), 3);
    EXPECT_EQ(list.find(L"c"), nullptr);
    try {
        list.add(L"B", std::make_shared<int>(4));
        FAIL() << "duplicate accepted";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), kErrDuplicateKey);
    }
    list.remove(L"B");
    EXPECT_EQ(list.count(), 2u);
    EXPECT_EQ(list.keyAt(0), L"A");
    EXPECT_THROW(list.remove(L"b"), Error);
    EXPECT_THROW(list.item(L"zz"), Error);
    EXPECT_THROW(list.at(5), Error);
}

TEST(Column, AddsAndRemovesRulesByKey) {
    cColumn column;
    column.addReplace(L"a", L"1");
    column.addReplace(L"b", L"");
    EXPECT_THROW(column.addReplace(L"A", L"x"), Error);
    ASSERT_EQ(column.replaces.count(), 2u);
    EXPECT_EQ(column.replaces.at(1)->szWith, L"");
    column.removeReplace(L"A");
    ASSERT_EQ(column.replaces.count(), 1u);
    EXPECT_EQ(column.replaces.at(0)->szReplace, L"b");
    column.removeReplace(L"b");
    EXPECT_TRUE(column.replaces.empty());
}

TEST(AddReplaceDialog, RefusesEmptyAndRepeatedTextsWithTheirMessages) {
    auto column = std::make_shared<cColumn>();
    column->addReplace(L"abc", L"x");
    AddReplaceModel dialog(zavtest::reporter());
    dialog.addReplace(column);

    dialog.txtReplace = L"";
    dialog.txtWith = L"y";
    EXPECT_FALSE(dialog.okClicked());
    ASSERT_EQ(zavtest::reporter().messages.size(), 1u);
    EXPECT_EQ(zavtest::reporter().messages[0].text, L"You must enter what you want to replace!");
    EXPECT_EQ(zavtest::reporter().messages[0].title, L"ZAVExport");
    EXPECT_EQ(zavtest::reporter().messages[0].icon, MessageIcon::Stop);

    dialog.txtReplace = L"abc";
    EXPECT_EQ(dialog.validateReplace(), vbFalse);
    EXPECT_EQ(zavtest::reporter().messages.back().text, L"abc is already being replaced!");
    // A text that differs only in letter case would share the rule's key: refused the same way.
    dialog.txtReplace = L"ABC";
    EXPECT_FALSE(dialog.okClicked());
    EXPECT_EQ(zavtest::reporter().messages.back().text, L"ABC is already being replaced!");
    EXPECT_EQ(column->replaces.count(), 1u);
    EXPECT_EQ(dialog.txtReplace, L"ABC");  // the dialog keeps what was typed

    // Taken as typed: blanks, "=", line breaks and an empty replacement are all fine.
    dialog.txtReplace = L" a=b\r\n";
    dialog.txtWith = L"";
    zavtest::reporter().messages.clear();
    EXPECT_TRUE(dialog.okClicked());
    EXPECT_TRUE(zavtest::reporter().messages.empty());
    ASSERT_EQ(column->replaces.count(), 2u);
    EXPECT_EQ(column->replaces.at(1)->szReplace, L" a=b\r\n");
}
