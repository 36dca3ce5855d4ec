// The program's one long-lived window: hidden far off-screen, it routes the messages of the
// program's resident parts. The grid menu (GridMenu: the popup menu over grid controls of any
// program and the hook thread that asks for it), the notification-area icon (TrayIcon) and its
// menu's commands (TrayCommands), a second copy's word and the end of the session. No timer while
// the icon is in place: when the mouse is still, nothing runs. The program ends when the window goes.
#pragma once

#include <windows.h>

#include <memory>

#include "app/win32/GridMenu.h"
#include "app/win32/TrayCommands.h"
#include "app/win32/TrayIcon.h"
#include "core/Platform.h"
#include "core/win32/Handles.h"
#include "core/win32/Window.h"
#include "ui/win32/ExportDialogs.h"

namespace zav {

class frmMenuHook final : public win::Window {
public:
    // Loads the form: shows it off-screen (left and top 100000 twips) and puts the hooks in place.
    // The menus' commands open their dialogs through `dialogs` and tell the user through
    // `reporter`; both must outlive the form.
    frmMenuHook(ExportDialogs& dialogs, IReporter& reporter);

    // The window class and title a second copy of the program looks for.
    static constexpr const wchar_t* kClassName = L"ZAVMenuHook";
    static constexpr const wchar_t* kTitle = L"ZAV Menu Hook";
    // Posted by a second copy of the program to the first one's window: it tells the user that
    // the program already runs.
    static UINT secondCopyMessage();

private:
    LRESULT onMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    static constexpr UINT kTrayCallback = WM_APP + 20;

    ExportDialogs& dialogs_;
    IReporter& reporter_;
    std::unique_ptr<GridMenu> grid_;
    std::unique_ptr<TrayCommands> trayCommands_;
    UniqueIcon trayImage_;
    std::unique_ptr<TrayIcon> tray_;
};

}  // namespace zav
