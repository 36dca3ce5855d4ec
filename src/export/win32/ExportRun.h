// The work after OK, running on the interface thread in slices between the dialog's own messages,
// so the dialog keeps repainting, can be moved and answers its buttons: first the rebuild of the
// catalog that completes the save, then the export. Once the run has taken half a second it shows
// its progress ("export type N of M" while the catalog is rebuilt, then "row N of M", and a bar)
// and turns the Cancel button into Stop; shorter runs show nothing new. Stopping ends the export:
// the job then leaves the previous output file as it was. The rebuild is part of the save that
// already happened, so a stop asked for during it takes effect once the catalog is written.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "catalog/Catalog.h"
#include "export/FileExport.h"

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

    enum class State { Running, Finished, Stopped };

    // Starts the run; its slices come as WM_TIMER kTimerId to `dialog`, which passes them to
    // onTimer(). `rebuild` may be null (nothing to rebuild). Raises zav::Error when the timer
    // cannot be made.
    ExportRun(HWND dialog, std::unique_ptr<CatalogRebuild> rebuild, std::unique_ptr<FileExportJob> job,
              Controls controls);
    ~ExportRun();
    ExportRun(const ExportRun&) = delete;
    ExportRun& operator=(const ExportRun&) = delete;

    // One slice: steps until input or painting waits, or a tenth of a second has passed.
    // Finished when the export is complete and the file in place; Stopped when a stop was asked
    // for during the rebuild and the catalog is now written. Raises zav::Error when the rebuild or
    // the export failed (the run should then be dropped).
    State onTimer();
    // Asks the run to stop: true when it may be dropped now (the export then leaves the previous
    // file); false while the catalog is still being rebuilt (onTimer() says Stopped once it is).
    bool stop();
    // Stops now, for the end of the program: a catalog rebuild still under way is completed first
    // (the type is already saved), the export is dropped and leaves the previous file.
    void abandon();

private:
    bool stepOnce();  // one step of the current phase; false when the export is complete
    void showProgress();
    void updateProgress();

    HWND dialog_;
    std::unique_ptr<CatalogRebuild> rebuild_;
    std::unique_ptr<FileExportJob> job_;
    Controls controls_;
    DWORD started_;
    bool stopAsked_ = false;
    bool progressShown_ = false;
    std::vector<HWND> disabled_;
};

}  // namespace zav
