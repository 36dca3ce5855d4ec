#include "core/win32/FocusKeeper.h"

namespace zav {
namespace win {

void FocusKeeper::windowLeft(HWND window) {
    HWND focus = GetFocus();
    if (focus && IsChild(window, focus)) lastFocus_ = focus;
}

void FocusKeeper::restore(HWND window) const {
    HWND target = lastFocus_;
    if (!target || !IsWindow(target) || !IsChild(window, target) || !IsWindowVisible(target) ||
        !IsWindowEnabled(target))
        target = GetNextDlgTabItem(window, nullptr, FALSE);
    if (target) SetFocus(target);
}

void bringForward(HWND window) {
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    else if (!IsWindowVisible(window))
        ShowWindow(window, SW_SHOW);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(window);
    SetActiveWindow(window);
}

}  // namespace win
}  // namespace zav
