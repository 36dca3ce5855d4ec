// An export running on the interface thread in slices between the dialog's own messages, so the
// dialog keeps repainting, can be moved and answers its buttons. Once the export has taken half a
// second it shows its progress ("row N of M" and a bar) and turns the Cancel button into Stop;
// shorter exports show nothing new. Dropping the run stops the export: the job then leaves the
// previous output file as it was.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "export/HtmlExport.h"

namespace zav {

class ExportRun {
public:
    static constexpr UINT_PTR kTimerId = 0x5A01;

    struct Controls {
        HWND progressBar = nullptr;   // hidden until progress is shown
        HWND progressText = nullptr;  // hidden until progress is shown
        HWND stopButton = nullptr;    // its caption becomes "Stop" while progress shows
        std::vector<HWND> frozen;     // disabled while progress shows (the edits would be lost)
    };

    // Starts the run; its slices come as WM_TIMER kTimerId to `dialog`, which passes them to
    // onTimer(). Raises zav::Error when the timer cannot be made.
    ExportRun(HWND dialog, std::unique_ptr<HtmlExportJob> job, Controls controls);
    ~ExportRun();
    ExportRun(const ExportRun&) = delete;
    ExportRun& operator=(const ExportRun&) = delete;

    // One slice: steps until input or painting waits, or a tenth of a second has passed. True
    // when the export is complete and the file in place. Raises zav::Error when the export
    // failed (the run should then be dropped).
    bool onTimer();

private:
    void showProgress();

    HWND dialog_;
    std::unique_ptr<HtmlExportJob> job_;
    Controls controls_;
    DWORD started_;
    bool progressShown_ = false;
    std::vector<HWND> disabled_;
};

}  // namespace zav
