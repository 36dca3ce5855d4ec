// The window a right press lands on, for the hook: the system's (WindowFromPoint), or, when that
// is a frame (a group box) lying over the controls it surrounds, the window the press would land
// on without the frames (FrameHitTest). Only window data is read (classes, styles, rectangles):
// no message is sent to any window and nothing waits.
#pragma once

#include <windows.h>

namespace zav {

HWND windowUnderPress(POINT pt);

}  // namespace zav
