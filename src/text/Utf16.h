// Wide text as the program holds it: UTF-16 where wide characters are two bytes (Windows), one
// code point a character where they are four (the native build).
#pragma once

#include <cstddef>
#include <string>

namespace zav {

// What stands for a code unit that is no character.
inline constexpr char32_t kReplacementCharacter = 0xFFFD;

inline bool isHighSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
inline bool isLowSurrogate(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// The code point that starts at text[i]: where wide characters are two bytes, a surrogate pair is
// one (and i moves onto its second half); anything else is the unit as it is, a lone surrogate too.
inline char32_t codePointAt(const std::wstring& text, std::size_t& i) {
    const char32_t unit = static_cast<char32_t>(text[i]);
    if (sizeof(wchar_t) == 2 && isHighSurrogate(unit) && i + 1 < text.size() &&
        isLowSurrogate(static_cast<char32_t>(text[i + 1]))) {
        ++i;
        return 0x10000 + ((unit - 0xD800) << 10) + (static_cast<char32_t>(text[i]) - 0xDC00);
    }
    return unit;
}

// The code point, or U+FFFD where it is none (a lone surrogate, a value beyond U+10FFFF).
inline char32_t wellFormed(char32_t c) {
    return isHighSurrogate(c) || isLowSurrogate(c) || c > 0x10FFFF ? kReplacementCharacter : c;
}

}  // namespace zav
