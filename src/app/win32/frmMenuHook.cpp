#include "app/win32/frmMenuHook.h"

#include "capture/win32/WindowText.h"
#include "core/win32/Win32Error.h"

namespace zav {
namespace {

WindowHandle wh(HWND h) { return reinterpret_cast<WindowHandle>(h); }

}  // namespace

frmMenuHook::frmMenuHook(ExportDialogs& dialogs) : dialogs_(dialogs), watcher_(0) {
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = WS_EX_TOOLWINDOW;
    RECT rc = {0, 0, win::twipsX(1650), win::twipsY(150)};
    AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    create("ZAVMenuHook", L"ZAV Menu Hook", style, exStyle, 0, 0, rc.right - rc.left, rc.bottom - rc.top);
    watcher_ = RightClickWatcher(wh(hwnd()));

    mnuPopup_.reset(CreatePopupMenu());
    if (!mnuPopup_) throwLastError(L"CreatePopupMenu");
    AppendMenuA(mnuPopup_.get(), MF_STRING, kMnuPrintGrid, "Print Grid");
    AppendMenuA(mnuPopup_.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(mnuPopup_.get(), MF_STRING, kMnuCancel, "Cancel");

    // Form_Load: shown (without taking the focus), then moved far outside any screen.
    ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
    SetWindowPos(hwnd(), nullptr, win::twipsX(100000), win::twipsY(100000), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!SetTimer(hwnd(), kTimerId, 1, nullptr)) throwLastError(L"SetTimer");
}

LRESULT frmMenuHook::onMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_TIMER:
            if (wParam == kTimerId) tmrPrintListView_Timer();
            return 0;
        case WM_CLOSE:
            DestroyWindow(hwnd());
            return 0;
        case WM_DESTROY:
            // Form_Unload: the program ends; open dialogs go with it.
            KillTimer(hwnd(), kTimerId);
            PostQuitMessage(0);
            return 0;
        default: break;
    }
    return defaultProc(msg, wParam, lParam);
}

void frmMenuHook::tmrPrintListView_Timer() {
    // The menu's own loop dispatches this timer too: one menu at a time.
    if (inMenu_) return;
    RightClickWatcher::Tick t;
    t.rightButtonDown = (GetAsyncKeyState(VK_RBUTTON) & 0x8000) != 0;
    // Most ticks see the button up with no press pending: one system call, not four.
    if (!watcher_.needsWindow(t.rightButtonDown)) return;
    POINT pt = {};
    if (!GetCursorPos(&pt)) return;
    HWND w = WindowFromPoint(pt);
    t.underCursor = wh(w);
    t.parentOfIt = wh(w ? GetParent(w) : nullptr);
    // The class is asked only when it matters: on a new press.
    if (t.rightButtonDown && !watcher_.bMenuShown() && t.underCursor != wh(hwnd()) && t.parentOfIt != wh(hwnd()))
        t.isListView = isListViewClass(getWindowClass(t.underCursor));
    if (!watcher_.tick(t)) return;

    inMenu_ = true;
    // The menu closes when the user clicks elsewhere only if its owner is the foreground window.
    SetForegroundWindow(hwnd());
    const int chosen = static_cast<int>(TrackPopupMenuEx(mnuPopup_.get(), TPM_RETURNCMD | TPM_NONOTIFY, pt.x, pt.y,
                                                         hwnd(), nullptr));
    PostMessageA(hwnd(), WM_NULL, 0, 0);
    inMenu_ = false;
    if (chosen == kMnuPrintGrid) mnuPrintGrid_Click(t.underCursor);
}

void frmMenuHook::mnuPrintGrid_Click(WindowHandle target) { dialogs_.openExportOptions(target); }

}  // namespace zav
