#include "core/win32/Window.h"

#include <stdexcept>

#include "core/win32/HandlerError.h"
#include "core/win32/Win32Error.h"

namespace zav {
namespace win {
namespace {

// Marks the program's own windows: the property holds the window object.
constexpr const wchar_t* kWindowProperty = L"ZAVExport.Window";

}  // namespace

Window::~Window() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        RemovePropW(hwnd_, kWindowProperty);
        HWND h = hwnd_;
        hwnd_ = nullptr;
        DestroyWindow(h);
    }
}

void Window::create(const wchar_t* className, const std::wstring& caption, DWORD style, DWORD exStyle, int x, int y,
                    int width, int height, HMENU menu) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc = {};
    if (!GetClassInfoExW(instance, className, &wc)) {
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = thunk;
        wc.hInstance = instance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        // The program's icon (resource 1) in the sizes of the title bar and of Alt+Tab.
        wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
        wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
        if (!wc.hIcon) wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
        wc.lpszClassName = className;
        if (!RegisterClassExW(&wc)) throwLastError(L"RegisterClassEx");
    }
    HWND h = CreateWindowExW(exStyle, className, caption.c_str(), style, x, y, width, height, nullptr, menu,
                             instance, this);
    if (!h) throwLastError(L"CreateWindowEx");
}

LRESULT Window::onMessage(UINT msg, WPARAM wParam, LPARAM lParam) { return defaultProc(msg, wParam, lParam); }

Window* Window::fromHwnd(HWND hwnd) {
    return hwnd ? static_cast<Window*>(GetPropW(hwnd, kWindowProperty)) : nullptr;
}

LRESULT CALLBACK Window::thunk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    Window* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        SetPropW(hwnd, kWindowProperty, self);
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        RemovePropW(hwnd, kWindowProperty);
        self->hwnd_ = nullptr;
        LRESULT r = DefWindowProcW(hwnd, msg, wParam, lParam);
        try {
            self->onDestroyed();
        } catch (const std::exception& e) {
            reportHandlerError(nullptr, e);
        } catch (...) {
            reportHandlerError(nullptr, std::runtime_error("unexpected failure"));
        }
        return r;
    }
    try {
        return self->dispatch(msg, wParam, lParam);
    } catch (const std::exception& e) {
        reportHandlerError(hwnd, e);
    } catch (...) {
        reportHandlerError(hwnd, std::runtime_error("unexpected failure"));
    }
    return 0;
}

LRESULT Window::dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!takesDialogKeys()) return onMessage(msg, wParam, lParam);
    if (msg == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) focus_.windowLeft(hwnd_);
    const LRESULT result = onMessage(msg, wParam, lParam);
    // The window itself got the focus (its activation does that): hand it on to the control.
    if (msg == WM_SETFOCUS && hwnd_) focus_.restore(hwnd_);
    return result;
}

}  // namespace win
}  // namespace zav
