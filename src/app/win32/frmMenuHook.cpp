#include "app/win32/frmMenuHook.h"

#include <commctrl.h>

#include "capture/Capture.h"
#include "core/ScopeExit.h"
#include "core/win32/Dpi.h"
#include "core/win32/Win32Error.h"

namespace zav {
namespace {

WindowHandle wh(HWND h) { return reinterpret_cast<WindowHandle>(h); }

// Wine's ntdll names its version; Windows's has no such export.
bool runsUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// How many rows of the list view are selected (0 for any other control, or when it does not
// answer within a moment: the menu then opens without "Copy Selected Rows" rather than late).
int selectedRowCount(HWND target) {
    wchar_t className[64] = L"";
    GetClassNameW(target, className, 64);
    if (controlKindOfClass(className) != ControlKind::ListView) return 0;
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(target, LVM_GETSELECTEDCOUNT, 0, 0, SMTO_ABORTIFHUNG, 250, &count)) return 0;
    return static_cast<int>(static_cast<std::int32_t>(count));
}

}  // namespace

frmMenuHook::frmMenuHook(ExportDialogs& dialogs) : dialogs_(dialogs), reopenOnRelease_(runsUnderWine()) {
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = WS_EX_TOOLWINDOW;
    RECT rc = {0, 0, win::twipsX(1650), win::twipsY(150)};
    AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    // Made where it stays, far outside any screen (left and top 100000 twips): moving a shown window
    // can keep a window system busy for a while, during which no menu could open.
    create(L"ZAVMenuHook", L"ZAV Menu Hook", style, exStyle, win::twipsX(100000), win::twipsY(100000),
           rc.right - rc.left, rc.bottom - rc.top);

    mnuPopup_.reset(CreatePopupMenu());
    if (!mnuPopup_) throwLastError(L"CreatePopupMenu");
    AppendMenuW(mnuPopup_.get(), MF_STRING, kMnuPrintGrid, L"Print Grid");
    AppendMenuW(mnuPopup_.get(), MF_STRING, kMnuCopyGrid, L"Copy Grid");
    AppendMenuW(mnuPopup_.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(mnuPopup_.get(), MF_STRING, kMnuCancel, L"Cancel");

    // The hooks first: once the window is there, the watcher is watching.
    hook_ = std::make_unique<RightButtonHook>(hwnd());
    // Form_Load: shown, without taking the focus.
    ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
}

LRESULT frmMenuHook::onMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case RightButtonHook::kOpenMenu: {
            MenuRequest request = {reinterpret_cast<HWND>(wParam),
                                   {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}};
            onOpenMenu(request);
            return 0;
        }
        case RightButtonHook::kPressEnded:
            // Under Wine each program is a client of the X server of its own, and the press was
            // made over another program's window: until it is released, that program holds the
            // pointer, so the menu cannot take it, and a click on a part of the screen that is no
            // Wine window (which the hook never sees either) would leave the menu open. Shown
            // again now that the pointer is free, at the same place, the menu takes it. Windows
            // needs none of this: the hook sees every click there.
            if (inMenu_ && !pending_ && reopenOnRelease_) {
                next_ = shown_;
                pending_ = true;
                EndMenu();
            }
            return 0;
        case RightButtonHook::kCancelMenu:
            if (inMenu_) EndMenu();
            return 0;
        case WM_CLOSE:
            DestroyWindow(hwnd());
            return 0;
        case WM_DESTROY:
            // Form_Unload: the program ends; open dialogs go with it.
            hook_.reset();
            PostQuitMessage(0);
            return 0;
        default: break;
    }
    return defaultProc(msg, wParam, lParam);
}

void frmMenuHook::onOpenMenu(const MenuRequest& request) {
    // The hook saw no modal box of ours at the press, but one may have come up since: such a box's
    // own loop delivers this message too.
    if (RightButtonHook::modalBoxOpen(GetCurrentThreadId())) return;
    next_ = request;
    pending_ = true;
    // The open menu's loop delivers this message: the menu makes way, and the one below, which
    // opened it, shows the next.
    if (inMenu_) {
        EndMenu();
        return;
    }
    while (pending_) {
        pending_ = false;
        const MenuRequest now = next_;
        const int chosen = trackMenu(now);
        if (pending_) continue;
        if (chosen == kMnuPrintGrid) mnuPrintGrid_Click(wh(now.target));
        if (chosen == kMnuCopyGrid) dialogs_.copyGrid(wh(now.target));
        if (chosen == kMnuCopySelected) dialogs_.copySelectedRows(wh(now.target));
    }
}

int frmMenuHook::trackMenu(const MenuRequest& request) {
    shown_ = request;
    auto inMenu = scopedValue(inMenu_, true);
    hook_->setMenuOpen(true);
    auto closed = scopeExit([this] { hook_->setMenuOpen(false); });
    // How the menu closes on a click elsewhere and on Escape. A popup menu closes by itself on
    // those only when its owner is the foreground window, and Windows hands the foreground to a
    // background program only in a few cases (the last input event was its own, among others):
    // here it may well refuse, since the press the hook took was delivered to no window at all.
    // So the menu does not depend on it: while the menu is open the hook thread sees every press
    // and key, whoever has the foreground, and on a press outside the menu or on Escape it posts
    // kCancelMenu, which this menu's own loop delivers here and EndMenu closes. The request below
    // still gives the menu the keyboard (arrows, Enter) where the system grants it, as Wine does.
    // "Copy Selected Rows" only over a list view with two or more rows selected. One copy at a
    // time: while one runs, the copy items are there but cannot be chosen.
    DeleteMenu(mnuPopup_.get(), kMnuCopySelected, MF_BYCOMMAND);
    if (selectedRowCount(request.target) >= 2)
        InsertMenuW(mnuPopup_.get(), 2, MF_BYPOSITION | MF_STRING, kMnuCopySelected, L"Copy Selected Rows");
    const UINT copyState = dialogs_.gridCopy ? MF_GRAYED : MF_ENABLED;
    EnableMenuItem(mnuPopup_.get(), kMnuCopyGrid, MF_BYCOMMAND | copyState);
    EnableMenuItem(mnuPopup_.get(), kMnuCopySelected, MF_BYCOMMAND | copyState);
    SetForegroundWindow(hwnd());
    const int chosen = static_cast<int>(TrackPopupMenuEx(mnuPopup_.get(), TPM_RETURNCMD | TPM_NONOTIFY,
                                                         request.pt.x, request.pt.y, hwnd(), nullptr));
    // The menu's owner must see a message after the menu ends, or a second menu may fail to close.
    PostMessageW(hwnd(), WM_NULL, 0, 0);
    return chosen;
}

void frmMenuHook::mnuPrintGrid_Click(WindowHandle target) { dialogs_.openExportOptions(target); }

}  // namespace zav
