// The program's one message loop. Its windows are not dialog boxes, so nothing would run their
// dialog keys (Tab, arrows): the loop gives them to the windows that want them.
#pragma once

namespace zav {
namespace win {

// The program's message loop, until WM_QUIT; returns its exit code.
int runMessageLoop();

}  // namespace win
}  // namespace zav
