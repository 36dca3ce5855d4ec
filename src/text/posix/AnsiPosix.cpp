// Native build: the ANSI code page is 1252.
#include "text/Ansi.h"

namespace zav {

std::string toAnsi(const std::wstring& text) { return toCp1252(text); }
std::wstring fromAnsi(const std::string& bytes) { return fromCp1252(bytes); }

bool ansiHolds(char32_t codePoint) {
    if (codePoint > 0xFFFF) return false;
    const std::wstring one(1, static_cast<wchar_t>(codePoint));
    return fromCp1252(toCp1252(one)) == one;
}

}  // namespace zav
