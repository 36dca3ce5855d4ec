// The notification-area icon's menu and its commands (TrayMenu.h lists them): open the exports
// folder, Settings, Pause, Start with Windows, About and Exit. Its messages go through the
// program's reporter; the menu is shown through the grid menu's, so that a right press on a grid
// takes over from it.
#pragma once

#include <windows.h>

#include "app/win32/GridMenu.h"
#include "core/Platform.h"
#include "core/win32/Handles.h"
#include "ui/win32/ExportDialogs.h"

namespace zav {

class frmSettings;

class TrayCommands {
public:
    // `owner` is the watcher window, which goes on Exit; the others must outlive this.
    TrayCommands(HWND owner, GridMenu& grid, ExportDialogs& dialogs, IReporter& reporter);
    ~TrayCommands();
    TrayCommands(const TrayCommands&) = delete;
    TrayCommands& operator=(const TrayCommands&) = delete;

    // The icon's mouse message (the callback's lParam): a click opens the menu and runs its command.
    void onIconMouse(UINT mouseMessage);
    // The program ends: the Settings dialog goes with it.
    void closeSettings();

private:
    void run(int command);
    void openExportsFolder();
    void switchStartWithWindows();
    // Exit: asks first when something would be lost, then takes the owner away.
    void exitProgram();

    HWND owner_;
    GridMenu& grid_;
    ExportDialogs& dialogs_;
    IReporter& reporter_;
    UniqueMenu menu_;
    frmSettings* settingsDialog_ = nullptr;  // the open Settings dialog
    bool paused_ = false;
};

}  // namespace zav
