// The program's one long-lived window: hidden far off-screen, it watches the right mouse button
// with a 1 ms timer and pops up "Print Grid" / "Cancel" over list views of any program. The program
// ends when it goes.
#pragma once

#include <windows.h>

#include "capture/RightClickWatcher.h"
#include "core/win32/Window.h"

namespace zav {

class frmMenuHook final : public win::Window {
public:
    enum Command : int { kMnuPrintGrid = 3001, kMnuCancel = 3002 };
    static constexpr UINT_PTR kTimerId = 1;

    // Loads the form: shows it off-screen (left and top 100000 twips) and starts its timer.
    static frmMenuHook& load();

private:
    frmMenuHook();
    LRESULT onMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void onDestroyed() override;
    void tmrPrintListView_Timer();
    void mnuPrintGrid_Click();

    RightClickWatcher watcher_;
    win::UniqueMenu mnuPopup_;
    bool inMenu_ = false;
};

}  // namespace zav
