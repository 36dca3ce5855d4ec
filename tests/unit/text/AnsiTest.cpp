#include <gtest/gtest.h>

#include "text/Ansi.h"

using namespace zav;

// The build's conversion must agree with code page 1252 (the tests run Wine with an English
// (United States) locale), so every later test can state its bytes once for both builds.
TEST(Ansi, BuildConversionIsCodePage1252BothWays) {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(fromAnsi(all), fromCp1252(all));
    EXPECT_EQ(toAnsi(fromCp1252(all)), all);
}

TEST(Ansi, Cp1252SpecialRangeMapsToTypographicCharacters) {
    EXPECT_EQ(fromCp1252("\x80\x93\x99\xE9"), std::wstring(L"\u20AC\u201C\u2122\u00E9"));
    EXPECT_EQ(toCp1252(L"\u20AC caf\u00E9 \u0153"), std::string("\x80 caf\xE9 \x9C"));
    // A character the code page cannot hold becomes "?".
    EXPECT_EQ(toCp1252(L"\u4E2D"), "?");
}

TEST(Ansi, LengthLimitedConversionStopsAtTheFirstZeroByte) {
    const char bytes[] = {'a', 'b', '\0', 'c'};
    EXPECT_EQ(fromAnsi(bytes, sizeof bytes), L"ab");
    EXPECT_EQ(fromAnsi(bytes, 1), L"a");
}

TEST(Ansi, CaseInsensitiveComparisonCoversLatin1Letters) {
    EXPECT_TRUE(equalsNoCase(L"Caf\u00E9", L"CAF\u00C9"));
    EXPECT_TRUE(equalsNoCase(L"\u0153uvre", L"\u0152UVRE"));
    EXPECT_FALSE(equalsNoCase(L"abc", L"abd"));
    EXPECT_FALSE(equalsNoCase(L"ab", L"abc"));
    // The division and multiplication signs are not letters.
    EXPECT_EQ(upperChar(0xF7), 0xF7);
    EXPECT_EQ(upperChar(0xD7), 0xD7);
}
