// UTF-8, as the native build names its files. The expected bytes are the same whatever the width
// of wchar_t: a character beyond the basic plane is one code point, written in four bytes.
#include <gtest/gtest.h>

#include "text/Utf8.h"

using namespace zav;

TEST(Utf8, EveryScriptAndThePlanesBeyondComeBackWholeAndTheIllFormedAreReplaced) {
    const std::wstring text = L"A\u00e9\u0416\u03a9\u0639\u5831\u544a\U0001F600z";
    const std::string bytes = toUtf8(text);
    EXPECT_EQ(bytes, "A\xC3\xA9\xD0\x96\xCE\xA9\xD8\xB9\xE5\xA0\xB1\xE5\x91\x8A\xF0\x9F\x98\x80z");
    EXPECT_EQ(fromUtf8(bytes), text);
    EXPECT_EQ(fromUtf8(""), L"");
    const wchar_t lone[] = {L'a', static_cast<wchar_t>(0xD83D), L'b', 0};  // no UTF-8 form
    EXPECT_EQ(toUtf8(lone), "a\xEF\xBF\xBD" "b");
    // Bytes of another code page, a cut sequence, an overlong form, an encoded surrogate, and a
    // value beyond U+10FFFF.
    const std::pair<const char*, const wchar_t*> bad[] = {
        {"\xE9t\xE9", L"\ufffdt\ufffd"}, {"x\xE5\xA0", L"x\ufffd\ufffd"}, {"\xC0\xAF", L"\ufffd\ufffd"},
        {"\xED\xA0\x80", L"\ufffd\ufffd\ufffd"}, {"\xF4\x90\x80\x80", L"\ufffd\ufffd\ufffd\ufffd"}};
    for (const auto& [in, out] : bad) EXPECT_EQ(fromUtf8(in), out) << in;
}
