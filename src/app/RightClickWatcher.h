// The watcher's decision for every mouse button and key event that the system's low-level hooks
// report, without a window: whether the event goes on to the window under the cursor or is taken
// (swallowed), and what the watcher window is asked to do (open the popup menu for a control
// whose grid can be read, or close the open one).
//
// The menu opens on the press of the right button, once per press, and only for a list view, tree
// view, list box or combo box directly under the cursor. Such a press and its release are taken, so
// the program that owns the control never sees that click and opens no menu of its own. A press with the modifier (Shift)
// held, a press anywhere else, and every other event go on untouched. While the menu is open, a
// press outside it or Escape closes it; while a modal box of ours is open no menu opens. While the
// user has paused the program (the notification-area menu), every right press goes on untouched,
// and so does one that the watcher window could not be asked about (its requests are all waiting).
#pragma once

#include "core/Types.h"

namespace zav {

class RightClickWatcher {
public:
    enum class Button { Right, Other };

    // What the hook knows at the moment a button goes down.
    struct Press {
        Button button = Button::Right;
        bool overOwnWindow = false;   // the watcher window or a child of it
        bool overOwnMenu = false;     // our open popup menu
        bool isListView = false;      // the window under the cursor is a grid control: a list view,
                                      // tree view, list box or combo box (controlKindOfClass)
        bool modifierHeld = false;    // the key that passes a right press through (Shift)
        bool modalBoxOpen = false;    // a modal box of ours is up
        bool menuOpen = false;        // our popup menu is open
        bool paused = false;          // the user paused the program: no press is taken
        bool requestsFull = false;    // the watcher has not taken the menus asked for before: no
                                      // room for another request
    };

    // What the watcher window is asked to do. PressEnded: the press that opened the menu is
    // released (the menu stays).
    enum class Post { Nothing, OpenMenu, CancelMenu, PressEnded };

    struct Decision {
        bool swallow = false;  // the event goes no further
        Post post = Post::Nothing;
        bool operator==(const Decision& o) const { return swallow == o.swallow && post == o.post; }
    };

    // Only a right press needs to know about the window under the cursor, and any other press
    // only while the menu is open: every other event can be passed on without a question.
    // While paused, a right press is passed on without a question too.
    static bool pressNeedsWindow(Button button, bool menuOpen, bool paused = false) {
        return (button == Button::Right && !paused) || menuOpen;
    }

    Decision buttonDown(const Press& p);
    // A release is taken exactly when its press was, and then reported.
    Decision buttonUp(Button button);
    // Escape closes the open menu (taken with its release); every other key goes on.
    Decision escapeKey(bool down, bool menuOpen);

    bool holdingTakenPress() const { return rightTaken_; }

private:
    bool rightTaken_ = false;
    bool escapeTaken_ = false;
};

}  // namespace zav
