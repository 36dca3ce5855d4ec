#include "ui/win32/DialogControls.h"

#include <commctrl.h>

namespace zav {
namespace {

LRESULT CALLBACK plainButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) noexcept {
    if (msg == BM_SETSTYLE && (wParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
        wParam = (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_PUSHBUTTON;
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK ignoreEscapeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) noexcept {
    if ((msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_CHAR) && wParam == VK_ESCAPE) return 0;
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

}  // namespace

void keepPlainButton(HWND button) { SetWindowSubclass(button, plainButtonProc, 1, 0); }
void ignoreEscape(HWND edit) { SetWindowSubclass(edit, ignoreEscapeProc, 1, 0); }

}  // namespace zav
