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

// Characters the code page lacks reach a file as references, never as "?": one reference per code
// point, whatever the width of wchar_t on the build.
TEST(References, EveryCodePointClassRoundTripsThroughTheCodePageAndReferences) {
    // Text the code page holds comes out unchanged, including its typographic range.
    const std::wstring held = L"plain <b>&amp; caf\u00E9 \u20AC\u201C\u2122\u0153";
    EXPECT_EQ(withReferences(held), held);

    // Cyrillic, Greek, Arabic, CJK: one decimal reference each.
    EXPECT_EQ(withReferences(L"\u0416\u03A9\u0639\u4E2D"), L"&#1046;&#937;&#1593;&#20013;");
    // A letter that a best-fit conversion would turn into its look-alike stays itself.
    EXPECT_EQ(withReferences(L"\u0100"), L"&#256;");

    // A code point beyond the basic plane: a surrogate pair on Windows, one unit natively; either
    // way one reference.
    std::wstring emoji;
    if (sizeof(wchar_t) == 2) {
        emoji = {static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)};
    } else {
        emoji = {static_cast<wchar_t>(0x1F600)};
    }
    EXPECT_EQ(withReferences(L"a" + emoji + L"b"), L"a&#128512;b");

    // Lone surrogates (a high one at the end, a low one alone, two highs) are the replacement
    // character's reference, never dropped.
    const std::wstring lone = {L'x', static_cast<wchar_t>(0xDC00), L'y', static_cast<wchar_t>(0xD800),
                               static_cast<wchar_t>(0xD801)};
    EXPECT_EQ(withReferences(lone), L"x&#65533;y&#65533;&#65533;");

    // The result holds only characters of the code page, so the conversion loses nothing.
    const std::wstring mixed = withReferences(L"R\u00E9sum\u00E9 \u0416 " + emoji);
    EXPECT_EQ(fromAnsi(toAnsi(mixed)), mixed);
}

TEST(References, AppendKeepsWhatIsThere) {
    std::wstring out = L"<td>";
    appendWithReferences(out, L"\u4E2D");
    EXPECT_EQ(out, L"<td>&#20013;");
}
