#include "app/win32/GridMenu.h"

#include <utility>

#include "capture/win32/SystemGridSources.h"
#include "core/ScopeExit.h"
#include "core/win32/Win32Error.h"

namespace zav {
namespace {

// Wine's ntdll names its version; Windows's has no such export.
bool runsUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace

GridMenu::GridMenu(HWND owner, ExportDialogs& dialogs)
    : owner_(owner), dialogs_(dialogs), reopenOnRelease_(runsUnderWine()) {
    menu_.reset(CreatePopupMenu());
    if (!menu_) throwLastError(L"CreatePopupMenu");
    AppendMenuW(menu_.get(), MF_STRING, kPrintGrid, L"Print Grid");
    AppendMenuW(menu_.get(), MF_STRING, kCopyGrid, L"Copy Grid");
    AppendMenuW(menu_.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu_.get(), MF_STRING, kCancel, L"Cancel");
    hook_ = std::make_unique<RightButtonHook>(owner);
}

void GridMenu::setPaused(bool paused) {
    if (hook_) hook_->setPaused(paused);
}

void GridMenu::onOpenMenu(WPARAM ticket) {
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

void GridMenu::onPressEnded() {
    // Under Wine each program is a client of the X server of its own, and the press was made over
    // another program's window: until it is released, that program holds the pointer, so the menu
    // cannot take it, and a click on a part of the screen that is no Wine window (which the hook
    // never sees either) would leave the menu open. Shown again now that the pointer is free, at
    // the same place, the menu takes it. Windows needs none of this: the hook sees every click
    // there.
    if (inMenu_ && !pending_ && reopenOnRelease_) {
        next_ = shown_;
        pending_ = true;
        EndMenu();
    }
}

void GridMenu::onCancelMenu() {
    if (inMenu_) EndMenu();
}

int GridMenu::trackOther(HMENU menu, POINT pt, UINT flags) {
    const int chosen = track(menu, pt, flags);
    // A right press on a grid closed this menu to open its own.
    if (!pending_) return chosen;
    runPendingMenus();
    return 0;
}

void GridMenu::runPendingMenus() {
    while (pending_) {
        pending_ = false;
        const MenuRequest now = next_;
        const int chosen = trackGridMenu(now);
        if (pending_) continue;
        if (chosen == kPrintGrid) dialogs_.openExportOptions(now.target);
        if (chosen == kCopyGrid) dialogs_.copyGrid(now.target);
        if (chosen == kCopySelected) dialogs_.copySelectedRows(now.target);
    }
}

int GridMenu::trackGridMenu(const MenuRequest& request) {
    shown_ = request;
    // "Copy Selected Rows" only over a list view with two or more rows selected. One copy at a
    // time: while one runs, the copy items are there but cannot be chosen.
    DeleteMenu(menu_.get(), kCopySelected, MF_BYCOMMAND);
    if (selectedRowCount(request.target) >= 2)
        InsertMenuW(menu_.get(), 2, MF_BYPOSITION | MF_STRING, kCopySelected, L"Copy Selected Rows");
    const UINT copyState = dialogs_.gridCopy ? MF_GRAYED : MF_ENABLED;
    EnableMenuItem(menu_.get(), kCopyGrid, MF_BYCOMMAND | copyState);
    EnableMenuItem(menu_.get(), kCopySelected, MF_BYCOMMAND | copyState);
    return track(menu_.get(), request.pt, 0);
}

int GridMenu::track(HMENU menu, POINT pt, UINT flags) {
    auto inMenu = scopedValue(inMenu_, true);
    if (hook_) hook_->setMenuOpen(true);
    auto closed = scopeExit([this] {
        if (hook_) hook_->setMenuOpen(false);
    });
    // How the menu closes on a click elsewhere and on Escape. A popup menu closes by itself on
    // those only when its owner is the foreground window, and Windows hands the foreground to a
    // background program only in a few cases (the last input event was its own, among others):
    // here it may well refuse, since the press the hook took was delivered to no window at all.
    // So the menu does not depend on it: while the menu is open the hook thread sees every press
    // and key, whoever has the foreground, and on a press outside the menu or on Escape it posts
    // kCancelMenu, which this menu's own loop delivers here and EndMenu closes. The request below
    // still gives the menu the keyboard (arrows, Enter) where the system grants it, as Wine does.
    SetForegroundWindow(owner_);
    const int chosen =
        static_cast<int>(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_NONOTIFY | flags, pt.x, pt.y, owner_, nullptr));
    // The menu's owner must see a message after the menu ends, or a second menu may fail to close.
    PostMessageW(owner_, WM_NULL, 0, 0);
    return chosen;
}

}  // namespace zav
