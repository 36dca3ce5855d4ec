#include "app/TrayMenu.h"

namespace zav {

const std::vector<TrayMenuItem>& trayMenuItems() {
    static const std::vector<TrayMenuItem> items = {
        {TrayMenuItem::kOpenExportsFolder, L"Open Exports Folder"},
        {TrayMenuItem::kSettings, L"Settings..."},
        {TrayMenuItem::kPause, L"Pause"},
        {TrayMenuItem::kStartWithWindows, L"Start with Windows"},
        {TrayMenuItem::kAbout, L"About ZAVExport"},
        {TrayMenuItem::kSeparator, nullptr},
        {TrayMenuItem::kExit, L"Exit"},
    };
    return items;
}

std::wstring exitQuestion(bool exportRunning, std::size_t openDialogs) {
    if (!exportRunning && openDialogs == 0) return {};
    std::wstring text;
    if (exportRunning) text = L"An export is running. It will be stopped; the previous file stays as it was.\n";
    if (openDialogs == 1)
        text += L"The open export dialog will be closed: its unsaved edits are lost.\n";
    else if (openDialogs > 1)
        text += L"The " + std::to_wstring(openDialogs) + L" open export dialogs will be closed: their unsaved edits are lost.\n";
    return text + L"\nExit ZAVExport?";
}

}  // namespace zav
