#include <gtest/gtest.h>

#include "core/Error.h"
#include "format/Columns.h"

using namespace zav;

// A column's rules: a keyed list that keeps its order, finds and removes by key in any letter case,
// and refuses a second rule for a key it holds.
TEST(KeyedList, KeepsOrderFindsAndRemovesWithoutCaseAndRefusesDuplicates) {
    cColumn column;
    column.addReplace(L"b", L"1");
    column.addReplace(L"A", L"");
    column.addReplace(L"\xC9t\xE9", L"3");  // Été
    const auto& list = column.replaces;
    EXPECT_EQ(list.keyAt(0), L"b");
    EXPECT_EQ(list.at(1)->szWith, L"");
    EXPECT_EQ(list.item(L"a")->szReplace, L"A");
    EXPECT_EQ(list.find(L"\xC9T\xC9")->szWith, L"3");
    EXPECT_EQ(list.find(L"c"), nullptr);
    try {
        column.addReplace(L"B", L"4");
        FAIL() << "duplicate accepted";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), kErrDuplicateKey);
    }
    column.removeReplace(L"B");
    ASSERT_EQ(list.count(), 2u);
    EXPECT_EQ(list.keyAt(0), L"A");
    EXPECT_THROW(column.removeReplace(L"b"), Error);
    EXPECT_THROW(list.item(L"zz"), Error);
    EXPECT_THROW(list.at(5), Error);
    column.removeReplace(L"a");
    column.removeReplace(L"\xE9T\xE9");
    EXPECT_TRUE(list.empty());
}
