// Windows that are not dialogs lose their focused control when they are left: the system gives
// the focus back to the window itself. A window that keeps its focus as a dialog does remembers
// the control here when it is left (for a message box, another window) and hands the focus back
// to it when it comes back.
#pragma once

#include <windows.h>

namespace zav {
namespace win {

class FocusKeeper {
public:
    // The window is being left (WM_ACTIVATE with WA_INACTIVE): remembers its focused control.
    void windowLeft(HWND window);
    // Puts the focus on the control that had it last (the first one in tab order if none did,
    // or if that one is gone, hidden or disabled).
    void restore(HWND window) const;

private:
    HWND lastFocus_ = nullptr;
};

// Shows the window if hidden, restores it if minimized, puts it above the program's other
// windows and makes it the active, foreground window.
void bringForward(HWND window);

}  // namespace win
}  // namespace zav
