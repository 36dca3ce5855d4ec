// The popup menu that opens over a grid control of any program ("Print Grid", "Copy Grid",
// "Copy Selected Rows", "Cancel"), with the hook thread that asks for it (RightButtonHook): each
// request brings the control as the hook told it at the press, and the chosen command goes to the
// export dialogs with that same control. A press on another control while a menu is open closes
// it, and that control's menu comes next. Other menus of the watcher (the icon's) are shown
// through here too, so that the hook knows when a menu is open and a grid's press can take over.
#pragma once

#include <windows.h>

#include <memory>

#include "app/win32/RightButtonHook.h"
#include "core/win32/Handles.h"
#include "ui/win32/ExportDialogs.h"

namespace zav {

class GridMenu {
public:
    enum Command : int { kPrintGrid = 3001, kCancel = 3002, kCopyGrid = 3003, kCopySelected = 3004 };

    // Builds the menu and puts the hooks in place; `owner` is the watcher window, which passes
    // the hook's messages on here. `dialogs` must outlive this.
    GridMenu(HWND owner, ExportDialogs& dialogs);

    // The hook's messages.
    void onOpenMenu(WPARAM ticket);
    void onPressEnded();
    void onCancelMenu();

    // Shows another menu of the owner at `pt` the way the grid's is shown (flags besides
    // TPM_RETURNCMD and TPM_NONOTIFY in `flags`). Returns the command chosen; 0 when none, or when
    // a press on a grid closed it, whose menu has then been shown already.
    int trackOther(HMENU menu, POINT pt, UINT flags);

    // Whether one of the owner's menus is open now.
    bool menuOpen() const { return inMenu_; }
    // Pause: every right press goes on to its program.
    void setPaused(bool paused);
    // The session ends: the hooks go at once.
    void stopWatching() { hook_.reset(); }

private:
    // Shows the requested menus, one after another, until no press asks for another.
    void runPendingMenus();
    // Shows the grid's menu for one request, modally; returns the chosen command (0: none).
    int trackGridMenu(const MenuRequest& request);
    // Any menu of the owner, modally, with the hook told.
    int track(HMENU menu, POINT pt, UINT flags);

    HWND owner_;
    ExportDialogs& dialogs_;
    UniqueMenu menu_;
    std::unique_ptr<RightButtonHook> hook_;
    const bool reopenOnRelease_;
    bool inMenu_ = false;
    // A press on another control while a menu was open: its menu comes next.
    bool pending_ = false;
    MenuRequest next_;
    MenuRequest shown_;
};

}  // namespace zav
