#include "app/RightClickWatcher.h"

namespace zav {

RightClickWatcher::Decision RightClickWatcher::buttonDown(const Press& p) {
    Decision d;
    if (p.button == Button::Right) {
        // A new press: whatever the last one was, its release has gone by or will not come.
        rightTaken_ = false;
        const bool ours = p.overOwnWindow || p.overOwnMenu;
        if (!ours && p.isListView && !p.modifierHeld && !p.modalBoxOpen && !p.paused && !p.requestsFull) {
            // Taken with its release; an open menu makes way for the new one.
            rightTaken_ = true;
            d.swallow = true;
            d.post = Post::OpenMenu;
            return d;
        }
    }
    // Any other press outside the open menu closes it and goes on to where it was made.
    if (p.menuOpen && !p.overOwnMenu) d.post = Post::CancelMenu;
    return d;
}

RightClickWatcher::Decision RightClickWatcher::buttonUp(Button button) {
    Decision d;
    if (button == Button::Right && rightTaken_) {
        rightTaken_ = false;
        d.swallow = true;
        d.post = Post::PressEnded;
    }
    return d;
}

RightClickWatcher::Decision RightClickWatcher::escapeKey(bool down, bool menuOpen) {
    Decision d;
    if (down) {
        // Held down, the key repeats: every repeat is taken while it was taken at first.
        if (menuOpen || escapeTaken_) {
            d.swallow = true;
            if (menuOpen) d.post = Post::CancelMenu;
            escapeTaken_ = true;
        }
        return d;
    }
    d.swallow = escapeTaken_;
    escapeTaken_ = false;
    return d;
}

}  // namespace zav
