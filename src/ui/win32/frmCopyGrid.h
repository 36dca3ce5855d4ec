// "Copy Grid": the whole grid of a list view onto the clipboard, without a dialog. The copy runs
// on the interface thread in slices (SlicedRun), so the watcher keeps opening menus and every
// window keeps repainting. A copy that takes longer than half a second shows a small window with
// "row N of M", a bar and a Stop button. Nothing is
// put on the clipboard until the whole grid is read: Stop, a failure or a list view that stops
// answering leave the clipboard as it was (a failure is said in a message).
#pragma once

#include <windows.h>

#include <memory>

#include "core/win32/OwnedReporter.h"
#include "core/win32/Window.h"
#include "job/ClipboardCopy.h"
#include "ui/win32/ExportDialogs.h"
#include "ui/win32/SlicedRun.h"

namespace zav {

class frmCopyGrid final : public win::Window {
public:
    static constexpr const wchar_t* kCaption = L"Copy Grid";

    // Starts a copy of the list view `target` (with `selectedRows`, of its selected rows only).
    // The window deletes itself when the copy is done, stopped or failed.
    static void start(ExportDialogs& dialogs, const GridTarget& target, bool selectedRows);

private:
    enum : int { kLblProgress = 100, kPrgProgress, kCmdStop };

    explicit frmCopyGrid(ExportDialogs& dialogs);
    LRESULT onMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void onDestroyed() override;
    // One slice of the run; the window goes when the copy is done or failed.
    void onTick();
    // The window shows, centred on the list view's screen, once the copy has taken a while.
    void reveal();
    // Puts both forms on the clipboard; raises zav::Error when it cannot (left as it was then,
    // unless the system refused a form after the clipboard was emptied).
    void putOnClipboard();

    ExportDialogs& dialogs_;
    win::OwnedReporter reporter_{*this};
    std::unique_ptr<ClipboardCopyJob> job_;
    std::unique_ptr<SlicedRun> run_;  // runs job_
    WindowHandle target_ = 0;
};

}  // namespace zav
