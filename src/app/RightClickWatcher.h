// The watcher's decision on every timer tick, without a window: given the window under the cursor
// and the state of the right button, whether to show the popup menu now. The menu opens on the
// press (not the release), once per press, and only for a list view directly under the cursor.
#pragma once

#include "core/Types.h"

namespace zav {

class RightClickWatcher {
public:
    struct Tick {
        WindowHandle underCursor = 0;        // WindowFromPoint at the cursor
        WindowHandle parentOfIt = 0;         // its parent
        bool rightButtonDown = false;        // GetAsyncKeyState(VK_RBUTTON) & 0x8000
        bool isListView = false;             // its class name contains "listview"
    };

    explicit RightClickWatcher(WindowHandle ownWindow) : own_(ownWindow) {}

    // True when this tick shows the menu for t.underCursor (the caller records it as the target).
    bool tick(const Tick& t);

    // Whether a tick with the button in this state depends on the window under the cursor at all:
    // with the button up and no press pending, every window gives the same (nothing), so the
    // caller can skip asking for it.
    bool needsWindow(bool rightButtonDown) const { return rightButtonDown || bMenuShown_ != vbFalse; }

    VBool bMenuShown() const { return bMenuShown_; }

private:
    WindowHandle own_;
    VBool bMenuShown_ = vbFalse;
};

}  // namespace zav
