// Texts as they come back from another process's memory: the units before the first zero unit,
// and their conversion to the program's string. `Texts` is a kind's tag of how its messages carry
// text: its `Unit` is char for the ANSI code page (the A messages), char16_t for UTF-16 (the W
// messages).
#pragma once

#include <cstddef>
#include <cstring>
#include <string>

#include "text/Ansi.h"

namespace zav {
namespace remote_text {

// The units of a text before its first zero unit, at most `maxUnits`.
template <class Texts>
std::size_t textLength(const char* text, std::size_t maxUnits) {
    using Unit = typename Texts::Unit;
    if constexpr (sizeof(Unit) == 1) {
        const void* zero = std::memchr(text, 0, maxUnits);
        return zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - text) : maxUnits;
    } else {
        for (std::size_t i = 0; i < maxUnits; ++i) {
            Unit unit;
            std::memcpy(&unit, text + i * sizeof(Unit), sizeof unit);
            if (unit == 0) return i;
        }
        return maxUnits;
    }
}

// The program's string of `units` units of text as they arrived.
template <class Texts>
std::wstring decode(const char* text, std::size_t units) {
    using Unit = typename Texts::Unit;
    if constexpr (sizeof(Unit) == 1) {
        return fromAnsi(text, units);
    } else {
        // UTF-16 as it is: a character outside the basic plane stays a surrogate pair.
        static_assert(sizeof(wchar_t) == sizeof(Unit), "wchar_t holds one UTF-16 unit on Windows");
        std::wstring out(units, L'\0');
        if (units > 0) std::memcpy(&out[0], text, units * sizeof(wchar_t));
        return out;
    }
}

}  // namespace remote_text
}  // namespace zav
