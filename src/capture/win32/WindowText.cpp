#include "capture/win32/WindowText.h"

#include <windows.h>

#include <algorithm>

#include "capture/win32/RemoteMemory.h"
#include "capture/win32/SystemGridSources.h"
#include "text/Ansi.h"

namespace zav {
namespace {

HWND toHwnd(WindowHandle h) { return reinterpret_cast<HWND>(h); }

class SystemWindowInfo final : public IWindowInfo {
public:
    WindowHandle getParent(WindowHandle hWnd) override {
        return reinterpret_cast<WindowHandle>(GetParent(toHwnd(hWnd)));
    }
    std::wstring getWindowCaption(WindowHandle hWnd) override { return zav::getWindowCaption(hWnd); }
};

}  // namespace

std::wstring getWindowClass(WindowHandle hWnd, int bufferLength) {
    if (!IsWindow(toHwnd(hWnd))) return {};
    char buffer[256] = {};
    if (bufferLength < 1 || bufferLength > static_cast<int>(sizeof buffer)) bufferLength = sizeof buffer;
    int n = GetClassNameA(toHwnd(hWnd), buffer, bufferLength);
    if (n <= 0) return {};
    return fromAnsi(buffer, static_cast<std::size_t>(std::min(n, bufferLength - 1)));  // up to its zero byte
}

std::wstring getWindowCaption(WindowHandle hWnd) {
    if (!IsWindow(toHwnd(hWnd))) return {};
    if (isWinNT()) {
        // UTF-16 as the window holds it, whatever the code page: a Unicode program's caption
        // keeps its characters.
        wchar_t wide[256] = {};
        const int n = GetWindowTextW(toHwnd(hWnd), wide, 255);
        if (n <= 0) return {};
        return std::wstring(wide, static_cast<std::size_t>(std::min(n, 254)));
    }
    char buffer[256] = {};
    int n = GetWindowTextA(toHwnd(hWnd), buffer, 255);
    if (n <= 0) return {};
    return fromAnsi(buffer, static_cast<std::size_t>(std::min(n, 254)));  // up to its zero byte
}

std::unique_ptr<IWindowInfo> makeSystemWindowInfo() { return std::make_unique<SystemWindowInfo>(); }

}  // namespace zav
