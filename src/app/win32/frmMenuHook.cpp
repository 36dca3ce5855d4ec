#include "app/win32/frmMenuHook.h"

#include "app/TrayMenu.h"
#include "core/win32/Dpi.h"

namespace zav {

frmMenuHook::frmMenuHook(ExportDialogs& dialogs, IReporter& reporter) : dialogs_(dialogs), reporter_(reporter) {
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = WS_EX_TOOLWINDOW;
    RECT rc = {0, 0, win::twipsX(1650), win::twipsY(150)};
    AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    // Made where it stays, far outside any screen (left and top 100000 twips): moving a shown window
    // can keep a window system busy for a while, during which no menu could open.
    create(kClassName, kTitle, style, exStyle, win::twipsX(100000), win::twipsY(100000),
           rc.right - rc.left, rc.bottom - rc.top);

    // The hooks first: once the window is there, the watcher is watching.
    grid_ = std::make_unique<GridMenu>(hwnd(), dialogs_);
    trayCommands_ = std::make_unique<TrayCommands>(hwnd(), *grid_, dialogs_, reporter_);
    trayImage_.reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                   LR_DEFAULTCOLOR)));
    tray_ = std::make_unique<TrayIcon>(hwnd(), kTrayCallback, trayImage_.get(), kProgramTitle);
    // Form_Load: shown, without taking the focus.
    ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
}

LRESULT frmMenuHook::onMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case RightButtonHook::kOpenMenu: grid_->onOpenMenu(wParam); return 0;
        case RightButtonHook::kPressEnded: grid_->onPressEnded(); return 0;
        case RightButtonHook::kCancelMenu: grid_->onCancelMenu(); return 0;
        case kTrayCallback: trayCommands_->onIconMouse(static_cast<UINT>(lParam)); return 0;
        case WM_TIMER:
            if (wParam == TrayIcon::kRetryTimer && tray_) {
                tray_->onRetryTimer();
                return 0;
            }
            break;
        case WM_QUERYENDSESSION:
            // Nothing here holds up the end of the session: a running export is stopped at its end.
            return TRUE;
        case WM_ENDSESSION:
            if (wParam) {
                // The process may be ended as soon as this returns: no partial file may be left.
                dialogs_.stopExports();
                tray_.reset();
                grid_->stopWatching();
            }
            return 0;
        case WM_CLOSE:
            DestroyWindow(hwnd());
            return 0;
        case WM_DESTROY:
            // Form_Unload: the program ends; open dialogs go with it, but a running export
            // first stops as Stop does, or its partial file would stay behind. The menus stay
            // until the form goes: Exit runs from inside the icon's menu.
            dialogs_.stopExports();
            trayCommands_->closeSettings();
            tray_.reset();
            grid_->stopWatching();
            PostQuitMessage(0);
            return 0;
        default:
            if (msg == TrayIcon::taskbarCreatedMessage() && tray_) {
                tray_->readd();
                return 0;
            }
            if (msg == secondCopyMessage()) {
                if (tray_ && tray_->shown())
                    tray_->balloon(kProgramTitle, kAlreadyRunning);
                else
                    reporter_.show(kAlreadyRunning, kProgramTitle, MessageIcon::Information);
                return 0;
            }
            break;
    }
    return defaultProc(msg, wParam, lParam);
}

UINT frmMenuHook::secondCopyMessage() {
    static const UINT message = RegisterWindowMessageW(L"ZAVExport.SecondCopy");
    return message;
}

}  // namespace zav
