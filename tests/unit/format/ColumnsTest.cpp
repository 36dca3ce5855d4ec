#include <gtest/gtest.h>

#include "core/Error.h"
#include "format/Columns.h"

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
