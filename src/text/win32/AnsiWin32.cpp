// Windows build: the system's ANSI code page. Nothing else in the program calls
// MultiByteToWideChar or WideCharToMultiByte.
#include <windows.h>

#include "text/Ansi.h"

namespace zav {

std::string toAnsi(const std::wstring& text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                            nullptr, nullptr);
    return out;
}

bool ansiHolds(char32_t codePoint) {
    if (codePoint < 0x80) return true;
    if (codePoint > 0xFFFF) return false;  // a pair of surrogates is never one ANSI character
    const wchar_t unit = static_cast<wchar_t>(codePoint);
    if (GetACP() == CP_UTF8) return codePoint < 0xD800 || codePoint > 0xDFFF;
    // Without best fit, a character the code page lacks becomes the default character, and the
    // call says so.
    char bytes[8];
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &unit, 1, bytes, sizeof bytes, nullptr,
                                      &usedDefault);
    return n > 0 && !usedDefault;
}

std::wstring fromAnsi(const std::string& bytes) {
    if (bytes.empty()) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

}  // namespace zav
