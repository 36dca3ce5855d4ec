#include "app/RightClickWatcher.h"

namespace zav {

bool RightClickWatcher::tick(const Tick& t) {
    // Over the watcher's own window or one of its children nothing changes.
    if (t.underCursor == own_ || t.parentOfIt == own_) return false;
    if (!t.rightButtonDown) {
        bMenuShown_ = vbFalse;
        return false;
    }
    if (bMenuShown_) return false;  // this press has been handled
    bMenuShown_ = vbTrue;
    // A press that began elsewhere counts as handled too: sliding onto a list view shows nothing.
    return t.isListView;
}

}  // namespace zav
