// The notification-area icon's menu without a window: its items in the order the user sees them
// (the default command first, the options, then Exit), and what Exit asks before it ends the
// program.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace zav {

struct TrayMenuItem {
    enum Command : int {
        kOpenExportsFolder = 3101,
        kSettings,
        kPause,
        kStartWithWindows,
        kAbout,
        kExit,
        kSeparator = 0,
    };
    Command command;
    const wchar_t* caption;  // nullptr for the separator
};

// The menu, top to bottom.
const std::vector<TrayMenuItem>& trayMenuItems();

// What Exit asks first; empty when nothing would be lost (no export runs, no export dialog is
// open), and Exit then ends the program at once.
std::wstring exitQuestion(bool exportRunning, std::size_t openDialogs);

// Told to the user when a second copy of the program is started.
inline const wchar_t* const kAlreadyRunning =
    L"ZAVExport is already running. Its icon is in the notification area of the taskbar.";

}  // namespace zav
