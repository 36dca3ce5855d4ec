#include "app/win32/TrayCommands.h"

#include <shellapi.h>

#include <string>

#include "app/AboutText.h"
#include "app/TrayMenu.h"
#include "app/win32/StartupShortcut.h"
#include "ui/win32/frmSettings.h"
#include "core/Error.h"
#include "core/win32/Win32Error.h"

namespace zav {

TrayCommands::TrayCommands(HWND owner, GridMenu& grid, ExportDialogs& dialogs, IReporter& reporter)
    : owner_(owner), grid_(grid), dialogs_(dialogs), reporter_(reporter) {
    menu_.reset(CreatePopupMenu());
    if (!menu_) throwLastError(L"CreatePopupMenu");
    for (const TrayMenuItem& item : trayMenuItems())
        AppendMenuW(menu_.get(), item.caption ? MF_STRING : MF_SEPARATOR, item.command, item.caption);
}

TrayCommands::~TrayCommands() { closeSettings(); }

void TrayCommands::closeSettings() {
    // The dialog clears settingsDialog_ as it goes.
    if (settingsDialog_) DestroyWindow(settingsDialog_->hwnd());
}

void TrayCommands::onIconMouse(UINT mouseMessage) {
    // A left or a right click opens the same menu; the release, so that the pointer is free.
    if (mouseMessage != WM_RBUTTONUP && mouseMessage != WM_LBUTTONUP && mouseMessage != WM_CONTEXTMENU) return;
    // Not over a menu of ours, nor while a box of ours waits for an answer: Exit would take the
    // window that shows it away from under it.
    if (grid_.menuOpen() || RightButtonHook::modalBoxOpen(GetCurrentThreadId())) return;
    CheckMenuItem(menu_.get(), TrayMenuItem::kPause, MF_BYCOMMAND | (paused_ ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu_.get(), TrayMenuItem::kStartWithWindows,
                  MF_BYCOMMAND | (startsWithWindows() ? MF_CHECKED : MF_UNCHECKED));
    POINT pt;
    GetCursorPos(&pt);
    if (const int chosen = grid_.trackOther(menu_.get(), pt, TPM_RIGHTBUTTON)) run(chosen);
}

void TrayCommands::run(int command) {
    switch (command) {
        case TrayMenuItem::kOpenExportsFolder: openExportsFolder(); break;
        case TrayMenuItem::kSettings: frmSettings::open(dialogs_, settingsDialog_); break;
        case TrayMenuItem::kStartWithWindows: switchStartWithWindows(); break;
        case TrayMenuItem::kPause:
            paused_ = !paused_;
            grid_.setPaused(paused_);
            break;
        case TrayMenuItem::kAbout:
            reporter_.show(aboutText(dialogs_.storage.host.programFolder()), kAboutTitle, MessageIcon::Information);
            break;
        case TrayMenuItem::kExit: exitProgram(); break;
        default: break;
    }
}

void TrayCommands::openExportsFolder() {
    const std::wstring& folder = dialogs_.settings.outputFolder;
    const auto result =
        reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32)
        reporter_.show(L"The exports folder " + folder + L" cannot be opened.", kProgramTitle, MessageIcon::Stop);
}

void TrayCommands::switchStartWithWindows() {
    try {
        toggleStartWithWindows();
    } catch (const std::exception& e) {
        reporter_.show(errorReport(e), kProgramTitle, MessageIcon::Stop);
    }
}

void TrayCommands::exitProgram() {
    const std::wstring question = exitQuestion(dialogs_.exportRunning(), dialogs_.open.size());
    if (!question.empty() && !reporter_.ask(question, kProgramTitle)) return;
    dialogs_.closeAll();
    DestroyWindow(owner_);
}

}  // namespace zav
