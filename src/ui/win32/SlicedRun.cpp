#include "ui/win32/SlicedRun.h"

#include <commctrl.h>

#include "core/win32/Controls.h"
#include "core/win32/Win32Error.h"

namespace zav {
namespace {

constexpr DWORD kQuietMs = 500;   // a run this short shows nothing new
constexpr DWORD kSliceMs = 100;   // the longest stretch between two looks at the queue

}  // namespace

SlicedRun::SlicedRun(HWND window, std::unique_ptr<CatalogRebuild> rebuild, GridJob& job, Progress progress)
    : window_(window),
      rebuild_(std::move(rebuild)),
      job_(job),
      progress_(std::move(progress)),
      started_(GetTickCount()) {
    // A timer's message comes only when no input and no painting waits: the window stays alive.
    if (!SetTimer(window_, kTimerId, 1, nullptr)) throwLastError(L"SetTimer");
}

SlicedRun::~SlicedRun() {
    KillTimer(window_, kTimerId);
    if (!progressShown_) return;
    for (HWND h : disabled_) EnableWindow(h, TRUE);
    ShowWindow(progress_.bar, SW_HIDE);
    ShowWindow(progress_.text, SW_HIDE);
    if (progress_.stopButton) win::setWindowText(progress_.stopButton, L"Cancel");
}

bool SlicedRun::stepOnce() {
    if (rebuild_) {
        if (!rebuild_->step()) {
            rebuild_->finish();
            rebuild_.reset();
        }
        return true;
    }
    return job_.step();
}

SlicedRun::State SlicedRun::onTimer() {
    const DWORD sliceStart = GetTickCount();
    bool more = true;
    do {
        more = stepOnce();
        if (stopAsked_ && !rebuild_) {
            KillTimer(window_, kTimerId);
            return State::Stopped;
        }
    } while (more && GetTickCount() - sliceStart < kSliceMs &&
             !GetQueueStatus(QS_INPUT | QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE));
    if (!more) {
        job_.finish();
        KillTimer(window_, kTimerId);
        return State::Finished;
    }
    if (!progressShown_ && GetTickCount() - started_ >= kQuietMs) showProgress();
    if (progressShown_) updateProgress();
    return State::Running;
}

bool SlicedRun::stop() {
    stopAsked_ = true;
    return !rebuild_;
}

void SlicedRun::abandon() {
    stopAsked_ = true;
    KillTimer(window_, kTimerId);
    if (rebuild_) {
        rebuild_->finish();
        rebuild_.reset();
    }
}

void SlicedRun::updateProgress() {
    // The bar counts in thousandths, whatever the number of type files or rows.
    auto show = [&](const wchar_t* what, long long done, long long total) {
        win::setWindowText(progress_.text, what + std::to_wstring(done) + L" of " + std::to_wstring(total));
        const auto permille = total > 0 ? static_cast<WPARAM>((done * 1000) / total) : 0;
        SendMessageW(progress_.bar, PBM_SETPOS, permille, 0);
    };
    if (rebuild_)
        show(L"export type ", static_cast<long long>(rebuild_->filesRead()), static_cast<long long>(rebuild_->fileCount()));
    else
        show(L"row ", job_.rowsDone(), job_.rowCount());
}

void SlicedRun::showProgress() {
    progressShown_ = true;
    for (HWND h : progress_.frozen) {
        if (IsWindowEnabled(h)) {
            EnableWindow(h, FALSE);
            disabled_.push_back(h);
        }
    }
    SendMessageW(progress_.bar, PBM_SETRANGE32, 0, 1000);
    ShowWindow(progress_.bar, SW_SHOW);
    ShowWindow(progress_.text, SW_SHOW);
    if (progress_.stopButton) win::setWindowText(progress_.stopButton, L"Stop");
    if (progress_.reveal) progress_.reveal();
}

}  // namespace zav
