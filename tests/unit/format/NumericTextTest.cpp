#include <gtest/gtest.h>

#include "format/NumericText.h"

using namespace zav;

namespace {
struct Case {
    const wchar_t* text;
    bool numeric;
};

// Cases whose answer is the same under English (United States) everywhere; the Windows build
// also checks them (and many more) against the system's own conversion.
const Case kUsCases[] = {
    {L"12", true},      {L" 12 ", true},    {L"-3.5", true},    {L"1,000", true},    {L"(7)", true},
    {L"1E3", true},     {L"$5", true},      {L"&H1F", true},    {L"&O17", true},     {L"12 kB", false},
    {L"abc", false},    {L"", false},       {L" ", false},      {L".", false},       {L"-", false},
    {L"$", false},      {L"()", false},     {L"(7", false},     {L"7)", false},      {L"(-7", true},
    {L"(7-", true},     {L"--7", false},    {L"7--", true},     {L"+7+", false},     {L"7+", true},
    {L"1e", false},     {L"1e+", false},    {L"1e-3", true},    {L"1e++3", true},    {L".5", true},
    {L"5.", true},      {L"0", true},       {L"000", true},     {L".0", true},       {L",5", false},
    {L"5,", true},      {L"1,2,3", true},   {L"1.2.3", false},  {L"1.5e3", true},    {L"1e3.5", false},
    {L"$1e3", false},   {L"1e3$", true},    {L"5$", true},      {L"$5$", true},      {L"$-5", true},
    {L"-$5", true},     {L"&h", false},     {L"&H0", true},     {L"&HG", false},     {L"&O8", false},
    {L"&O7", true},     {L"&H1.5", false},  {L"-&H10", true},   {L"&H80000000", true}, {L"&H80000001", false},
    {L"&H8000000000000001", true}, {L"&HFFFFFFFFFFFFFFFF", false},          {L"&H10000000000000000", false},        {L"1E308", true},
    {L"1E309", false},  {L"1E-400", true},  {L"\t12\n", true},  {L"12\xA0", true},  {L"1 000", false},
    {L"0x1F", false},   {L"1/2", false},    {L"12%", false},    {L"\x1C" L"12", false},    {L"\x20AC" L"5", false},
};
}  // namespace

TEST(NumericText, FollowsTheConversionRulesUnderUsEnglish) {
    const NumberFormat us = usEnglishNumberFormat();
    for (const auto& c : kUsCases) EXPECT_EQ(isNumericText(c.text, us), c.numeric) << "'" << std::wstring(c.text).c_str();
}

TEST(NumericText, UsesTheSeparatorsAndCurrencyItIsGiven) {
    NumberFormat german = usEnglishNumberFormat();
    german.decimalSeparator = german.currencyDecimalSeparator = L',';
    german.thousandsSeparator = german.currencyThousandsSeparator = L'.';
    german.currency = L"\x20AC";  // €
    EXPECT_TRUE(isNumericText(L"1.000,5", german));
    EXPECT_TRUE(isNumericText(L"3,5", german));
    EXPECT_TRUE(isNumericText(L"1,000.5", german));  // thousands separators may stand anywhere
    EXPECT_FALSE(isNumericText(L"1,0,0", german));
    EXPECT_TRUE(isNumericText(L"5 \x20AC", german));
    EXPECT_FALSE(isNumericText(L"$5", german));

    NumberFormat nordic = usEnglishNumberFormat();
    nordic.decimalSeparator = nordic.currencyDecimalSeparator = L',';
    nordic.thousandsSeparator = nordic.currencyThousandsSeparator = 0xA0;  // non-breaking space
    nordic.currency = L"kr";
    EXPECT_TRUE(isNumericText(L"1 000,5", nordic));  // ordinary blanks separate thousands too
    EXPECT_TRUE(isNumericText(L"12 kr", nordic));
    EXPECT_FALSE(isNumericText(L"12 k", nordic));
}
