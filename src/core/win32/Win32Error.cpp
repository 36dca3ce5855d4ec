#include "core/win32/Win32Error.h"

#include "text/Ansi.h"

namespace zav {

std::wstring systemMessage(DWORD code) {
    char buffer[512] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                             buffer, sizeof buffer, nullptr);
    std::wstring text = fromAnsi(std::string(buffer, n));
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' ||
                             text.back() == L'.'))
        text.pop_back();
    if (text.empty()) text = L"System error " + std::to_wstring(code);
    return text;
}

void throwWin32Error(DWORD code, const std::wstring& what) {
    throw Error(static_cast<long>(code), what, systemMessage(code));
}

}  // namespace zav
