#include <gtest/gtest.h>

#include "text/Ansi.h"

using namespace zav;

TEST(Ansi, Cp1252MapsItsSpecialRangeToTypographicCharactersBothWays) {
    EXPECT_EQ(fromCp1252("\x80\x93\x99\xE9"), std::wstring(L"\u20AC\u201C\u2122\u00E9"));
    EXPECT_EQ(toCp1252(L"\u20AC caf\u00E9 \u0153"), std::string("\x80 caf\xE9 \x9C"));
    EXPECT_EQ(toCp1252(L"\u4E2D"), "?");  // a character the code page cannot hold
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(toCp1252(fromCp1252(all)), all);
    const char bytes[] = {'a', 'b', '\0', 'c'};  // a length-limited conversion stops at a zero byte
    EXPECT_EQ(fromAnsi(bytes, sizeof bytes), L"ab");
    EXPECT_EQ(fromAnsi(bytes, 1), L"a");
}

TEST(Ansi, CaseInsensitiveComparisonCoversLatin1Letters) {
    EXPECT_TRUE(equalsNoCase(L"Caf\u00E9", L"CAF\u00C9"));
    EXPECT_TRUE(equalsNoCase(L"\u0153uvre", L"\u0152UVRE"));
    EXPECT_FALSE(equalsNoCase(L"abc", L"abd"));
    EXPECT_FALSE(equalsNoCase(L"ab", L"abc"));
    EXPECT_EQ(upperChar(0xF7), 0xF7);  // the division and multiplication signs are not letters
    EXPECT_EQ(upperChar(0xD7), 0xD7);
}

// Characters the code page lacks reach a file as references, never as "?": one reference per code
// point, whatever the width of wchar_t on the build.
TEST(References, EveryCodePointClassRoundTripsThroughTheCodePageAndReferences) {
    const std::wstring held = L"plain <b>&amp; caf\u00E9 \u20AC\u201C\u2122\u0153";  // comes out unchanged
    EXPECT_EQ(withReferences(held), held);
    EXPECT_EQ(withReferences(L"\u0416\u03A9\u0639\u4E2D"), L"&#1046;&#937;&#1593;&#20013;");
    EXPECT_EQ(withReferences(L"\u0100"), L"&#256;");  // not a best-fit look-alike
    // Beyond the basic plane: a surrogate pair on Windows, one unit natively; either way one reference.
    EXPECT_EQ(withReferences(L"a\U0001F600b"), L"a&#128512;b");
    // Lone surrogates (a high one at the end, a low one alone, two highs) are the replacement
    // character's reference, never dropped.
    const std::wstring lone = {L'x', static_cast<wchar_t>(0xDC00), L'y', static_cast<wchar_t>(0xD800),
                               static_cast<wchar_t>(0xD801)};
    EXPECT_EQ(withReferences(lone), L"x&#65533;y&#65533;&#65533;");
    const std::wstring mixed = withReferences(L"R\u00E9sum\u00E9 \u0416 \U0001F600");  // all in the code page
    EXPECT_EQ(fromAnsi(toAnsi(mixed)), mixed);
    std::wstring out = L"<td>";  // appending keeps what is there
    appendWithReferences(out, L"\u4E2D");
    EXPECT_EQ(out, L"<td>&#20013;");
}
