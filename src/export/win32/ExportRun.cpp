#include "export/win32/ExportRun.h"

#include <commctrl.h>

#include "core/win32/Win32Error.h"
#include "core/win32/Controls.h"

namespace zav {
namespace {

constexpr DWORD kQuietMs = 500;   // an export this short shows nothing new
constexpr DWORD kSliceMs = 100;   // the longest stretch between two looks at the queue

}  // namespace

ExportRun::ExportRun(HWND dialog, std::unique_ptr<CatalogRebuild> rebuild, std::unique_ptr<FileExportJob> job,
                     Controls controls)
    : dialog_(dialog),
      rebuild_(std::move(rebuild)),
      job_(std::move(job)),
      controls_(std::move(controls)),
      started_(GetTickCount()) {
    // A timer's message comes only when no input and no painting waits: the dialog stays alive.
    if (!SetTimer(dialog_, kTimerId, 1, nullptr)) throwLastError(L"SetTimer");
}

ExportRun::~ExportRun() {
    KillTimer(dialog_, kTimerId);
    if (!progressShown_) return;
    for (HWND h : disabled_) EnableWindow(h, TRUE);
    ShowWindow(controls_.progressBar, SW_HIDE);
    ShowWindow(controls_.progressText, SW_HIDE);
    win::setWindowText(controls_.stopButton, L"Cancel");
}

bool ExportRun::stepOnce() {
    if (rebuild_) {
        if (!rebuild_->step()) {
            rebuild_->finish();
            rebuild_.reset();
        }
        return true;
    }
    return job_->step();
}

ExportRun::State ExportRun::onTimer() {
    const DWORD sliceStart = GetTickCount();
    bool more = true;
    do {
        more = stepOnce();
        if (stopAsked_ && !rebuild_) {
            KillTimer(dialog_, kTimerId);
            return State::Stopped;
        }
    } while (more && GetTickCount() - sliceStart < kSliceMs &&
             !GetQueueStatus(QS_INPUT | QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE));
    if (!more) {
        job_->finish();
        KillTimer(dialog_, kTimerId);
        return State::Finished;
    }
    if (!progressShown_ && GetTickCount() - started_ >= kQuietMs) showProgress();
    if (progressShown_) updateProgress();
    return State::Running;
}

bool ExportRun::stop() {
    stopAsked_ = true;
    return !rebuild_;
}

void ExportRun::abandon() {
    stopAsked_ = true;
    if (rebuild_) {
        rebuild_->finish();
        rebuild_.reset();
    }
    job_.reset();
}

void ExportRun::updateProgress() {
    // The bar counts in thousandths, whatever the number of type files or rows.
    auto show = [&](const wchar_t* what, long long done, long long total) {
        win::setWindowText(controls_.progressText,
                           what + std::to_wstring(done) + L" of " + std::to_wstring(total));
        const auto permille = total > 0 ? static_cast<WPARAM>((done * 1000) / total) : 0;
        SendMessageW(controls_.progressBar, PBM_SETPOS, permille, 0);
    };
    if (rebuild_)
        show(L"export type ", static_cast<long long>(rebuild_->filesRead()), static_cast<long long>(rebuild_->fileCount()));
    else
        show(L"row ", job_->rowsDone(), job_->rowCount());
}

void ExportRun::showProgress() {
    progressShown_ = true;
    for (HWND h : controls_.frozen) {
        if (IsWindowEnabled(h)) {
            EnableWindow(h, FALSE);
            disabled_.push_back(h);
        }
    }
    SendMessageW(controls_.progressBar, PBM_SETRANGE32, 0, 1000);
    ShowWindow(controls_.progressBar, SW_SHOW);
    ShowWindow(controls_.progressText, SW_SHOW);
    win::setWindowText(controls_.stopButton, L"Stop");
}

}  // namespace zav
