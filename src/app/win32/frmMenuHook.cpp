#include "app/win32/frmMenuHook.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <utility>

#include "app/TrayMenu.h"
#include "app/win32/StartupShortcut.h"
#include "app/win32/frmSettings.h"
#include "capture/GridSource.h"
#include "capture/win32/SystemGridSources.h"
#include "capture/win32/WindowText.h"
#include "core/Error.h"
#include "core/Platform.h"
#include "core/ScopeExit.h"
#include "core/Types.h"
#include "core/win32/Dpi.h"
#include "core/win32/Win32Error.h"

namespace zav {
namespace {

// This program's file, as the shortcut of "Start with Windows" names it.
std::wstring programPath() {
    std::wstring path(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    path.resize(n < path.size() ? n : 0);
    return path;
}

// Wine's ntdll names its version; Windows's has no such export.
bool runsUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace

frmMenuHook::frmMenuHook(ExportDialogs& dialogs) : dialogs_(dialogs), reopenOnRelease_(runsUnderWine()) {
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = WS_EX_TOOLWINDOW;
    RECT rc = {0, 0, win::twipsX(1650), win::twipsY(150)};
    AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    // Made where it stays, far outside any screen (left and top 100000 twips): moving a shown window
    // can keep a window system busy for a while, during which no menu could open.
    create(kClassName, kTitle, style, exStyle, win::twipsX(100000), win::twipsY(100000),
           rc.right - rc.left, rc.bottom - rc.top);

    mnuPopup_.reset(CreatePopupMenu());
    if (!mnuPopup_) throwLastError(L"CreatePopupMenu");
    AppendMenuW(mnuPopup_.get(), MF_STRING, kMnuPrintGrid, L"Print Grid");
    AppendMenuW(mnuPopup_.get(), MF_STRING, kMnuCopyGrid, L"Copy Grid");
    AppendMenuW(mnuPopup_.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(mnuPopup_.get(), MF_STRING, kMnuCancel, L"Cancel");

    mnuTray_.reset(CreatePopupMenu());
    if (!mnuTray_) throwLastError(L"CreatePopupMenu");
    for (const TrayMenuItem& item : trayMenuItems())
        AppendMenuW(mnuTray_.get(), item.caption ? MF_STRING : MF_SEPARATOR, item.command, item.caption);

    // The hooks first: once the window is there, the watcher is watching.
    hook_ = std::make_unique<RightButtonHook>(hwnd());
    trayImage_.reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                   LR_DEFAULTCOLOR)));
    tray_ = std::make_unique<TrayIcon>(hwnd(), kTrayCallback, trayImage_.get(), kProgramTitle);
    // Form_Load: shown, without taking the focus.
    ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
}

LRESULT frmMenuHook::onMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case RightButtonHook::kOpenMenu: onOpenMenu(wParam); return 0;
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
        case kTrayCallback:
            onTrayMouse(static_cast<UINT>(lParam));
            return 0;
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
                hook_.reset();
            }
            return 0;
        case WM_CLOSE:
            DestroyWindow(hwnd());
            return 0;
        case WM_DESTROY:
            // Form_Unload: the program ends; open dialogs go with it, but a running export
            // first stops as Stop does, or its partial file would stay behind.
            dialogs_.stopExports();
            if (settingsDialog_) DestroyWindow(settingsDialog_->hwnd());
            tray_.reset();
            hook_.reset();
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
                    MessageBoxW(nullptr, kAlreadyRunning, kProgramTitle, MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
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

void frmMenuHook::onTrayMouse(UINT mouseMessage) {
    // A left or a right click opens the same menu; the release, so that the pointer is free.
    if (mouseMessage != WM_RBUTTONUP && mouseMessage != WM_LBUTTONUP && mouseMessage != WM_CONTEXTMENU) return;
    // Not over a menu of ours, nor while a box of ours waits for an answer: Exit would take the
    // window that shows it away from under it.
    if (inMenu_ || RightButtonHook::modalBoxOpen(GetCurrentThreadId())) return;
    CheckMenuItem(mnuTray_.get(), TrayMenuItem::kPause, MF_BYCOMMAND | (paused_ ? MF_CHECKED : MF_UNCHECKED));
    // Looked at each time: the user may have added or removed the shortcut by hand.
    CheckMenuItem(mnuTray_.get(), TrayMenuItem::kStartWithWindows,
                  MF_BYCOMMAND | (hasShortcutTo(userStartupFolder(), programPath()) ? MF_CHECKED : MF_UNCHECKED));
    POINT pt;
    GetCursorPos(&pt);
    int chosen = 0;
    {
        auto inMenu = scopedValue(inMenu_, true);
        hook_->setMenuOpen(true);
        auto closed = scopeExit([this] { hook_->setMenuOpen(false); });
        // As for the other menu (trackMenu): the hook closes it on a press elsewhere and on Escape.
        SetForegroundWindow(hwnd());
        chosen = static_cast<int>(TrackPopupMenuEx(mnuTray_.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                                   pt.x, pt.y, hwnd(), nullptr));
        PostMessageW(hwnd(), WM_NULL, 0, 0);
    }
    // A right press on a list view closed this menu to open its own.
    if (pending_) {
        runPendingMenus();
        return;
    }
    if (chosen) trayCommand(chosen);
}

void frmMenuHook::trayCommand(int command) {
    switch (command) {
        case TrayMenuItem::kOpenExportsFolder: {
            const std::wstring& folder = dialogs_.settings.outputFolder;
            const auto result = reinterpret_cast<INT_PTR>(
                ShellExecuteW(nullptr, L"open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
            if (result <= 32)
                MessageBoxW(nullptr, (L"The exports folder " + folder + L" cannot be opened.").c_str(), kProgramTitle,
                            MB_OK | MB_ICONSTOP | MB_SETFOREGROUND);
            break;
        }
        case TrayMenuItem::kSettings: frmSettings::open(dialogs_, settingsDialog_); break;
        case TrayMenuItem::kStartWithWindows: {
            const std::wstring folder = userStartupFolder();
            try {
                if (folder.empty()) throw Error(kErrFileAccess, L"SHGetFolderPath", L"the Startup folder is not known");
                setShortcutTo(folder, programPath(), kProgramTitle, !hasShortcutTo(folder, programPath()));
            } catch (const std::exception& e) {
                MessageBoxW(nullptr, errorReport(e).c_str(), kProgramTitle, MB_OK | MB_ICONSTOP | MB_SETFOREGROUND);
            }
            break;
        }
        case TrayMenuItem::kPause:
            paused_ = !paused_;
            hook_->setPaused(paused_);
            break;
        case TrayMenuItem::kAbout: {
            std::wstring folder = programPath();
            folder.erase(folder.find_last_of(L'\\') + 1);
            const std::wstring text =
                L"ZAVExport " + std::to_wstring(kVersionMajor) + L"." + std::to_wstring(kVersionMinor) + L"." +
                std::to_wstring(kVersionRevision) +
                L"\n\nA right press over a list view, tree view, list box or combo box of any program opens "
                L"\"Print Grid\", which exports the grid as an HTML, CSV or tab-separated file.\n\n"
                L"ZAVExport64.exe reads the controls of 64-bit and 32-bit programs; "
                L"ZAVExport.exe (32-bit) those of 32-bit programs.\n\nHelp: " + folder + L"readme.txt";
            MessageBoxW(nullptr, text.c_str(), L"About ZAVExport", MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
            break;
        }
        case TrayMenuItem::kExit: exitProgram(); break;
        default: break;
    }
}

bool frmMenuHook::exitProgram() {
    const std::wstring question = exitQuestion(dialogs_.exportRunning(), dialogs_.open.size());
    // No owner: this window stands off every screen, and a box is placed over its owner.
    if (!question.empty() &&
        MessageBoxW(nullptr, question.c_str(), kProgramTitle,
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_SETFOREGROUND) != IDYES)
        return false;
    dialogs_.closeAll();
    DestroyWindow(hwnd());
    return true;
}

void frmMenuHook::onOpenMenu(WPARAM ticket) {
    MenuRequest request;
    // Taken whatever comes of it: a request left behind would hold its place in the hook's ring.
    if (!hook_ || !hook_->takeRequest(ticket, request)) return;
    // The hook saw no modal box of ours at the press, but one may have come up since: such a box's
    // own loop delivers this message too.
    if (RightButtonHook::modalBoxOpen(GetCurrentThreadId())) return;
    next_ = std::move(request);
    pending_ = true;
    // The open menu's loop delivers this message: the menu makes way, and the one below, which
    // opened it, shows the next.
    if (inMenu_) {
        EndMenu();
        return;
    }
    runPendingMenus();
}

void frmMenuHook::runPendingMenus() {
    while (pending_) {
        pending_ = false;
        const MenuRequest now = next_;
        const int chosen = trackMenu(now);
        if (pending_) continue;
        if (chosen == kMnuPrintGrid) mnuPrintGrid_Click(now.target);
        if (chosen == kMnuCopyGrid) dialogs_.copyGrid(now.target);
        if (chosen == kMnuCopySelected) dialogs_.copySelectedRows(now.target);
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

void frmMenuHook::mnuPrintGrid_Click(const GridTarget& target) { dialogs_.openExportOptions(target); }

}  // namespace zav
