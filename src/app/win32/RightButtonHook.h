// The system's low-level mouse and keyboard hooks, on a thread of their own that does nothing but
// decide (RightClickWatcher) and post to the watcher window. The hook procedures never send a
// message and never wait on the user-interface thread, so neither a hung list view nor our own
// long work holds up the system's mouse: each event is answered within microseconds. The control
// under a press is told here, once, and travels to the watcher with the request for its menu.
#pragma once

#include <windows.h>

#include <atomic>

#include "app/RequestRing.h"
#include "app/RightClickWatcher.h"
#include "capture/GridSource.h"
#include "core/win32/Handles.h"

namespace zav {

// A press that asks for the menu: the control under it, as the hook told it, and the screen point.
struct MenuRequest {
    GridTarget target;
    POINT pt = {};
};

class RightButtonHook {
public:
    // Posted to the watcher window: open a menu; wParam is the ticket of its request (takeRequest).
    static constexpr UINT kOpenMenu = WM_APP + 1;
    // Posted to the watcher window: close the open menu.
    static constexpr UINT kCancelMenu = WM_APP + 2;
    // Posted to the watcher window: the press that opened the menu has been released.
    static constexpr UINT kPressEnded = WM_APP + 3;

    // Starts the hook thread for `watcher`, a window of the calling thread, and returns once both
    // hooks are in place. Only one may exist at a time.
    explicit RightButtonHook(HWND watcher);
    // Removes the hooks and ends the thread.
    ~RightButtonHook();
    RightButtonHook(const RightButtonHook&) = delete;
    RightButtonHook& operator=(const RightButtonHook&) = delete;

    // The user-interface thread says when its popup menu is open.
    void setMenuOpen(bool open) { menuOpen_.store(open); }
    // The user-interface thread says when the user has paused the program.
    void setPaused(bool paused) { paused_.store(paused); }

    // The watcher window, on kOpenMenu: the request with the message's ticket. False when there is
    // none (taken already); requests whose messages were lost go with it. Every kOpenMenu must be
    // passed here, or the requests fill up and further presses go on to their programs.
    bool takeRequest(WPARAM ticket, MenuRequest& request) {
        return requests_.take(static_cast<Requests::Ticket>(ticket), request);
    }

    // Whether the thread has a modal box up: a visible, enabled dialog-class window (message boxes
    // and the system's common dialogs are of that class; the program's own dialogs are not).
    static bool modalBoxOpen(DWORD threadId);

private:
    static DWORD WINAPI threadMain(void* self) noexcept;
    static LRESULT CALLBACK mouseProc(int code, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK keyboardProc(int code, WPARAM wParam, LPARAM lParam) noexcept;
    RightClickWatcher::Decision onMouse(WPARAM message, const MSLLHOOKSTRUCT& event);
    void post(RightClickWatcher::Post what);
    // Puts the request where the watcher takes it and posts its kOpenMenu.
    void requestMenu(MenuRequest request);

    using Requests = RequestRing<MenuRequest, 16>;

    HWND watcher_;
    DWORD uiThread_;
    std::atomic<bool> menuOpen_{false};
    std::atomic<bool> paused_{false};
    RightClickWatcher decide_;  // used on the hook thread only
    Requests requests_;         // put by the hook thread, taken by the user-interface thread
    UniqueHandle thread_;
    DWORD threadId_ = 0;
    DWORD startError_ = 0;
    const wchar_t* startCall_ = nullptr;
};

}  // namespace zav
