#include <gtest/gtest.h>

#include "TestSupport.h"
#include "model/AddReplaceModel.h"

using namespace zav;

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
