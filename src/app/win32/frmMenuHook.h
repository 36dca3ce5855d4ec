// The program's one long-lived window: hidden far off-screen, it owns the popup menu ("Print Grid",
// "Copy Grid", "Cancel") that opens over list views of any program, the hook thread that tells it when
// (RightButtonHook), and the notification-area icon with its own menu (open the exports folder,
// pause, about, exit). No timer while the icon is in place: when the mouse is still, nothing runs.
// The program ends when the window goes.
#pragma once

#include <windows.h>

#include <memory>

#include "app/win32/RightButtonHook.h"
#include "app/win32/TrayIcon.h"
#include "core/win32/Handles.h"
#include "core/win32/Window.h"
#include "export/win32/ExportDialogs.h"

namespace zav {

class frmSettings;

class frmMenuHook final : public win::Window {
public:
    enum Command : int { kMnuPrintGrid = 3001, kMnuCancel = 3002, kMnuCopyGrid = 3003, kMnuCopySelected = 3004 };

    // Loads the form: shows it off-screen (left and top 100000 twips) and puts the hooks in place.
    // "Print Grid" opens its dialogs through `dialogs`, which must outlive the form.
    explicit frmMenuHook(ExportDialogs& dialogs);

    // The window class and title a second copy of the program looks for.
    static constexpr const wchar_t* kClassName = L"ZAVMenuHook";
    static constexpr const wchar_t* kTitle = L"ZAV Menu Hook";
    // Posted by a second copy of the program to the first one's window: it tells the user that
    // the program already runs.
    static UINT secondCopyMessage();

private:
    LRESULT onMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void onOpenMenu(WPARAM ticket);
    // Shows the requested menus, one after another, until no press asks for another.
    void runPendingMenus();
    // Shows the menu for one request, modally; returns the chosen command (0: none).
    int trackMenu(const MenuRequest& request);
    void mnuPrintGrid_Click(const GridTarget& target);
    void onTrayMouse(UINT mouseMessage);
    void trayCommand(int command);
    // Exit: asks first when something would be lost; true when the program goes.
    bool exitProgram();

    static constexpr UINT kTrayCallback = WM_APP + 20;

    ExportDialogs& dialogs_;
    UniqueMenu mnuPopup_;
    std::unique_ptr<RightButtonHook> hook_;
    UniqueMenu mnuTray_;
    UniqueIcon trayImage_;
    std::unique_ptr<TrayIcon> tray_;
    frmSettings* settingsDialog_ = nullptr;  // the open Settings dialog
    bool paused_ = false;
    bool inMenu_ = false;
    // A press on another list view while the menu was open: its menu comes next.
    bool pending_ = false;
    MenuRequest next_ = {};
    MenuRequest shown_ = {};
    const bool reopenOnRelease_;
};

}  // namespace zav
