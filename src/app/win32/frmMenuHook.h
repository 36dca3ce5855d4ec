// The program's one long-lived window: hidden far off-screen, it watches the right mouse button
// with a 1 ms timer and pops up "Print Grid" / "Cancel" over list views of any program. The program
// ends when it goes.
#pragma once

#include <windows.h>

#include "app/RightClickWatcher.h"
#include "core/win32/Handles.h"
#include "core/win32/Window.h"
#include "export/win32/ExportDialogs.h"

namespace zav {

class frmMenuHook final : public win::Window {
public:
    enum Command : int { kMnuPrintGrid = 3001, kMnuCancel = 3002 };
    static constexpr UINT_PTR kTimerId = 1;

    // Loads the form: shows it off-screen (left and top 100000 twips) and starts its timer.
    // "Print Grid" opens its dialogs through `dialogs`, which must outlive the form.
    explicit frmMenuHook(ExportDialogs& dialogs);

private:
    LRESULT onMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void tmrPrintListView_Timer();
    void mnuPrintGrid_Click(WindowHandle target);

    ExportDialogs& dialogs_;
    RightClickWatcher watcher_;
    UniqueMenu mnuPopup_;
    bool inMenu_ = false;
};

}  // namespace zav
