#include "core/win32/Controls.h"

#include <algorithm>

#include "core/win32/Dpi.h"
#include "core/win32/Handles.h"
#include "core/win32/Win32Error.h"

namespace zav {
namespace win {

HFONT dialogFont() {
    static UniqueFont font = [] {
        NONCLIENTMETRICSW metrics = {};
        metrics.cbSize = sizeof metrics;
        HFONT f = nullptr;
        if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
            f = CreateFontIndirectW(&metrics.lfMessageFont);
        return UniqueFont(f);
    }();
    return font ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HWND createControl(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style, DWORD exStyle,
                   int id, int leftTwips, int topTwips, int widthTwips, int heightTwips) {
    HWND h = CreateWindowExW(exStyle, className, text.c_str(), style | WS_CHILD | WS_VISIBLE,
                             twipsX(leftTwips), twipsY(topTwips), twipsX(widthTwips), twipsY(heightTwips), parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!h) throwLastError(L"CreateWindowEx ", className);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont()), FALSE);
    return h;
}

std::wstring windowText(HWND hwnd) {
    const int n = GetWindowTextLengthW(hwnd);
    if (n <= 0) return {};
    std::wstring buffer(static_cast<std::size_t>(n) + 1, L'\0');
    const int got = GetWindowTextW(hwnd, &buffer[0], n + 1);
    return buffer.substr(0, static_cast<std::size_t>(std::max(got, 0)));
}

void setWindowText(HWND hwnd, const std::wstring& text) { SetWindowTextW(hwnd, text.c_str()); }

}  // namespace win
}  // namespace zav
