// Where a new window of the program goes. The system's default place ignores the screen of the
// list view that was pressed and stacks a second dialog right over the first; these keep a dialog
// on that screen, apart from its like, and beside the dialog that opened it.
#pragma once

#include <windows.h>

namespace zav {
namespace win {

// Where a new window of that size goes: centred on the work area of the monitor that shows `nearby`
// (the primary one without it), moved down and right past any visible window of `className` that
// already stands there, and kept inside the work area.
POINT centredPlace(HWND nearby, int width, int height, const wchar_t* className);
// Where a window of that size goes beside `opener` without covering it: below it, else above it,
// else to its right, else to its left, inside the work area (overlapping only if nothing fits).
POINT placeBeside(HWND opener, int width, int height);

}  // namespace win
}  // namespace zav
