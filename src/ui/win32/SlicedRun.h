// Work on a grid run on the interface thread in slices between a window's own messages, so that
// the window keeps repainting, can be moved and answers its buttons, and the watcher keeps opening
// menus: optionally the rebuild of the catalog that completes a save, then the job (a file export
// or a clipboard copy). A slice lasts at most a tenth of a second and ends as soon as input,
// painting, a posted or a sent message waits. Once the run has taken half a second it shows its
// progress ("export type N of M" while the catalog is rebuilt, then "row N of M", and a bar) and
// its Stop button; shorter runs show nothing new. The rebuild is part of a save that already
// happened, so a stop asked for during it takes effect once the catalog is written.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "catalog/Catalog.h"
#include "job/GridJob.h"

namespace zav {

class SlicedRun {
public:
    // Whether a message of the window is a slice of its run, which the window passes to onTimer().
    static bool isSlice(UINT msg, WPARAM wParam) { return msg == WM_TIMER && wParam == kTimerId; }

    // Where the progress shows.
    struct Progress {
        HWND bar = nullptr;         // shown when progress is
        HWND text = nullptr;        // shown when progress is
        HWND stopButton = nullptr;  // its caption is "Stop" while progress shows, "Cancel" after (null: none)
        std::vector<HWND> frozen;   // disabled while progress shows (their edits would be lost)
        std::function<void()> reveal;  // called once when progress is first shown (may be empty)
    };

    enum class State { Running, Finished, Stopped };

    // Starts the run on `window`'s timer. `rebuild` may be null (nothing to rebuild); `job` must
    // outlive the run. Raises zav::Error when the timer cannot be made.
    SlicedRun(HWND window, std::unique_ptr<CatalogRebuild> rebuild, GridJob& job, Progress progress);
    ~SlicedRun();
    SlicedRun(const SlicedRun&) = delete;
    SlicedRun& operator=(const SlicedRun&) = delete;

    // One slice. Finished when the job is complete (finished, its result in place); Stopped when a
    // stop was asked for during the rebuild and the catalog is now written. Raises zav::Error when
    // the rebuild or the job failed (the run should then be dropped).
    State onTimer();
    // Asks the run to stop: true when it may be dropped now (and the job with it, which then
    // leaves everything as it was); false while the catalog is still being rebuilt (onTimer() says
    // Stopped once it is).
    bool stop();
    // Stops now, for the end of the program: a catalog rebuild still under way is completed first
    // (the type is already saved). The job may be dropped after.
    void abandon();

private:
    static constexpr UINT_PTR kTimerId = 0x5A01;

    bool stepOnce();  // one step of the current phase; false when the job has read every row
    void showProgress();
    void updateProgress();

    HWND window_;
    std::unique_ptr<CatalogRebuild> rebuild_;
    GridJob& job_;
    Progress progress_;
    DWORD started_;
    bool stopAsked_ = false;
    bool progressShown_ = false;
    std::vector<HWND> disabled_;
};

}  // namespace zav
