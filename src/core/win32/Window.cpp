#include "core/win32/Window.h"

#include <algorithm>
#include <vector>

#include "core/Error.h"
#include "core/Platform.h"
#include "core/win32/Win32Error.h"

namespace zav {
namespace win {
namespace {

int dpi(int index) {
    static int x = 0, y = 0;
    if (x == 0) {
        HDC dc = GetDC(nullptr);
        x = GetDeviceCaps(dc, LOGPIXELSX);
        y = GetDeviceCaps(dc, LOGPIXELSY);
        ReleaseDC(nullptr, dc);
        if (x <= 0) x = 96;
        if (y <= 0) y = 96;
    }
    return index == LOGPIXELSX ? x : y;
}

// Marks the program's own windows: the property holds the window object.
constexpr const wchar_t* kWindowProperty = L"ZAVExport.Window";

}  // namespace

int twipsX(int twips) { return MulDiv(twips, dpi(LOGPIXELSX), 1440); }
int twipsY(int twips) { return MulDiv(twips, dpi(LOGPIXELSY), 1440); }

void reportHandlerError(HWND owner, const std::exception& e) noexcept {
    try {
        MessageBoxW(owner, errorReport(e).c_str(), kProgramTitle, MB_OK | MB_ICONSTOP | MB_SETFOREGROUND);
    } catch (...) {
        MessageBoxW(owner, L"Error", L"ZAVExport", MB_OK | MB_ICONSTOP);
    }
}

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
    if (msg == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
    }
    const LRESULT result = onMessage(msg, wParam, lParam);
    // The window itself got the focus (its activation does that): hand it on to the control.
    if (msg == WM_SETFOCUS && hwnd_) restoreFocus();
    return result;
}

void Window::restoreFocus() {
    HWND target = lastFocus_;
    if (!target || !IsWindow(target) || !IsChild(hwnd_, target) || !IsWindowVisible(target) ||
        !IsWindowEnabled(target))
        target = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    if (target) SetFocus(target);
}

void Window::bringForward() {
    if (IsIconic(hwnd_))
        ShowWindow(hwnd_, SW_RESTORE);
    else if (!IsWindowVisible(hwnd_))
        ShowWindow(hwnd_, SW_SHOW);
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(hwnd_);
    SetActiveWindow(hwnd_);
}

int OwnedReporter::box(const std::wstring& text, const std::wstring& title, UINT style) {
    HWND owner = owner_.hwnd();
    HWND focus = GetFocus();
    // With an owner the box is modal to it (the owner is disabled while the box is open).
    style |= MB_SETFOREGROUND | (owner ? MB_APPLMODAL : MB_TASKMODAL);
    const int answer = MessageBoxW(owner, text.c_str(), title.c_str(), style);
    if (owner && IsWindow(owner) && focus && IsWindow(focus) && IsChild(owner, focus) && GetActiveWindow() == owner)
        SetFocus(focus);
    return answer;
}

void OwnedReporter::show(const std::wstring& text, const std::wstring& title, MessageIcon icon) {
    UINT style = MB_OK;
    if (icon == MessageIcon::Stop) style |= MB_ICONSTOP;
    if (icon == MessageIcon::Information) style |= MB_ICONINFORMATION;
    box(text, title, style);
}

bool OwnedReporter::ask(const std::wstring& text, const std::wstring& title) {
    return box(text, title, MB_YESNO | MB_DEFBUTTON1) == IDYES;
}

namespace {

RECT workAreaOf(HWND nearby) {
    const POINT origin = {0, 0};
    HMONITOR monitor = nearby ? MonitorFromWindow(nearby, MONITOR_DEFAULTTOPRIMARY)
                            : MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (monitor && GetMonitorInfoW(monitor, &info)) return info.rcWork;
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return screen;
}

POINT keptInside(const RECT& work, POINT p, int width, int height) {
    p.x = std::max(work.left, std::min(p.x, work.right - width));
    p.y = std::max(work.top, std::min(p.y, work.bottom - height));
    return p;
}

bool windowStandsAt(const wchar_t* className, POINT p) {
    HWND h = nullptr;
    while ((h = FindWindowExW(nullptr, h, className, nullptr)) != nullptr) {
        RECT rc;
        if (IsWindowVisible(h) && GetWindowRect(h, &rc) && rc.left == p.x && rc.top == p.y) return true;
    }
    return false;
}

}  // namespace

POINT centredPlace(HWND nearby, int width, int height, const wchar_t* className) {
    const RECT work = workAreaOf(nearby);
    POINT p = {work.left + (work.right - work.left - width) / 2, work.top + (work.bottom - work.top - height) / 2};
    p = keptInside(work, p, width, height);
    const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
    for (int i = 0; i < 16 && windowStandsAt(className, p); ++i) {
        p.x += step;
        p.y += step;
        if (p.x + width > work.right || p.y + height > work.bottom) p = {work.left, work.top};
    }
    return p;
}

POINT placeBeside(HWND opener, int width, int height) {
    RECT o;
    if (!opener || !GetWindowRect(opener, &o)) return centredPlace(nullptr, width, height, L"");
    const RECT work = workAreaOf(opener);
    const int midX = (o.left + o.right - width) / 2, midY = (o.top + o.bottom - height) / 2;
    const POINT tries[] = {{midX, o.bottom}, {midX, o.top - height}, {o.right, midY}, {o.left - width, midY}};
    for (POINT p : tries) {
        // Slide along the opener's side to stay on the screen, then take it if nothing is covered.
        const bool vertical = p.y == o.bottom || p.y == o.top - height;
        POINT q = keptInside(work, p, width, height);
        if (vertical ? q.y != p.y : q.x != p.x) continue;
        RECT placed = {q.x, q.y, q.x + width, q.y + height}, overlap;
        if (!IntersectRect(&overlap, &placed, &o)) return q;
    }
    const int step = 2 * (GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME));
    return keptInside(work, POINT{o.left + step, o.top + step}, width, height);
}

int runMessageLoop() {
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return 1;
        // Dialog keys go to the top-level window of the control that has them, if it wants them.
        HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        Window* window = Window::fromHwnd(root);
        const bool handled = window && window->takesDialogKeys() && IsDialogMessageW(root, &msg);
        if (!handled) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

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
    if (!h) throwLastError(L"CreateWindowEx " + std::wstring(className));
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
