#include "ui/win32/frmExportOptionsAddReplace.h"

#include "core/win32/Controls.h"
#include "core/win32/Dpi.h"
#include "core/win32/FocusKeeper.h"
#include "core/win32/Placement.h"
#include "ui/win32/DialogControls.h"

namespace zav {

void frmExportOptionsAddReplace::openFor(ExportDialogs& dialogs, frmExportOptionsModel& options, HWND opener) {
    if (!options.selectedColumnObject()) return;  // no column selected: nothing happens
    frmExportOptionsAddReplace*& current = dialogs.addReplace;
    if (!current) {
        current = new frmExportOptionsAddReplace(dialogs, opener);  // deletes itself when its window is gone
        ShowWindow(current->hwnd(), SW_SHOW);
    }
    options.addReplaceClicked(current->model_);
    current->opener_ = opener;
    // Above the options dialog whose button was just clicked, with the typing in the Replace box.
    win::bringForward(current->hwnd());
    SetFocus(GetDlgItem(current->hwnd(), kTxtReplace));
}

frmExportOptionsAddReplace::frmExportOptionsAddReplace(ExportDialogs& dialogs, HWND opener)
    : dialogs_(dialogs), model_(reporter_) {
    const DWORD style = WS_OVERLAPPEDWINDOW & ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    const DWORD exStyle = WS_EX_CONTROLPARENT;
    RECT rc = {0, 0, win::twipsX(5505), win::twipsY(1890)};
    AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    create(L"ZAVExportAddReplace", L"LV Export Options Add Replace", style, exStyle, CW_USEDEFAULT, CW_USEDEFAULT,
           rc.right - rc.left, rc.bottom - rc.top);
    // Beside the options dialog that opened it, leaving that one in sight.
    const POINT at = win::placeBeside(opener, rc.right - rc.left, rc.bottom - rc.top);
    SetWindowPos(hwnd(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const HWND dlg = hwnd();
    // The frame holds the labels and boxes; positions inside it are relative to the frame.
    const int fx = 60, fy = 60;
    HWND frame = win::createControl(dlg, L"BUTTON", L"", BS_GROUPBOX | WS_CLIPSIBLINGS, 0, -1, fx, fy, 5385, 1365);
    win::createControl(dlg, L"STATIC", L"Replace", 0, 0, -1, fx + 60, fy + 180, 2000, 225);
    win::createControl(dlg, L"EDIT", L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0, kTxtReplace, fx + 60, fy + 420,
                       5235, 315);
    win::createControl(dlg, L"STATIC", L"With", 0, 0, -1, fx + 60, fy + 750, 2000, 225);
    win::createControl(dlg, L"EDIT", L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0, kTxtWith, fx + 60, fy + 990,
                       5235, 315);
    win::createControl(dlg, L"BUTTON", L"OK", BS_PUSHBUTTON | WS_TABSTOP, 0, kCmdOK, 2910, 1470, 1245, 375);
    win::createControl(dlg, L"BUTTON", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 0, kCmdCancel, 4200, 1470, 1245, 375);
    for (int id : {kCmdOK, kCmdCancel}) keepPlainButton(GetDlgItem(dlg, id));
    // The frame lies under the controls it holds and leaves them out of its painting.
    SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT frmExportOptionsAddReplace::onMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == kCmdOK) {
            model_.txtReplace = win::windowText(GetDlgItem(hwnd(), kTxtReplace));
            model_.txtWith = win::windowText(GetDlgItem(hwnd(), kTxtWith));
            if (model_.okClicked()) close();  // invalid: stays open with its texts
            return 0;
        }
        if (LOWORD(wParam) == kCmdCancel) {
            close();
            return 0;
        }
    }
    if (msg == WM_CLOSE) {
        close();
        return 0;
    }
    return defaultProc(msg, wParam, lParam);
}

void frmExportOptionsAddReplace::close() {
    const HWND opener = opener_;
    DestroyWindow(hwnd());
    // The options dialog that opened it shows the new rule when it is active again.
    if (opener && IsWindow(opener)) SetForegroundWindow(opener);
}

void frmExportOptionsAddReplace::onDestroyed() {
    if (dialogs_.addReplace == this) dialogs_.addReplace = nullptr;
    delete this;
}

}  // namespace zav
