// Which window a press lands on when a frame (a group box) lies over a control. A dialog's first
// control is the top of its window order, so a frame declared before the controls it surrounds
// covers them, and the system's hit test gives the frame for a press on a list inside it. The
// search here is that hit test with every group box passed over as if it were not there, over a
// description of the windows below the frame's parent read off the windows themselves (classes,
// styles, rectangles): nothing is asked of the windows' program.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "capture/GridSource.h"

namespace zav {

// One window below the window the search starts in.
struct WindowFacts {
    int parent = -1;        // the index of its parent in the list; -1: a child of the start window
    std::wstring className;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    ScreenRect window;      // screen pixels, right and bottom outside
    ScreenRect client;      // its client area, in screen pixels
};

// A frame: a button of the group-box style ("Button" in any letter case, BS_GROUPBOX).
bool isGroupBox(const std::wstring& className, std::uint32_t style);

// The hit test at (x, y) below the start window, group boxes passed over. Among the children of a
// window (listed after it, in window order: the top one first) the first that is visible, not a
// disabled child, not transparent to the mouse and holds the point, and no group box, is hit; the
// search goes on into its children unless the point lies outside its client area (its border or
// scroll bars) or it is disabled. Gives the index of the last window hit; -1 when none is (the
// press lands on the start window itself).
int windowPastFrames(const std::vector<WindowFacts>& windows, std::int32_t x, std::int32_t y);

}  // namespace zav
