// "Copy Grid" as a job: both clipboard forms of the grid (ClipboardTableWriter) built in memory a
// block of rows at a time; the caller puts them on the clipboard once the job finished, so a copy
// that fails or is stopped leaves the clipboard as it was.
#pragma once

#include <memory>
#include <string>

#include "format/ClipboardWriter.h"
#include "ini/Storage.h"
#include "job/GridJob.h"
#include "settings/Settings.h"

namespace zav {

class ClipboardCopyJob final : public GridJob {
public:
    // As startClipboardCopy.
    ClipboardCopyJob(std::shared_ptr<OpenedGrid> grid, ExportPlan plan);

    // Both forms; whole once the job finished.
    const std::wstring& text() const { return writer_->text(); }
    const std::string& html() const { return writer_->html(); }

private:
    void complete() override {}
    std::wstring failedOperation() const override { return L"Copy Grid"; }

    ClipboardTableWriter* writer_ = nullptr;  // the job's table writer
};

// What "Copy Grid" copies of a grid: the replace rules and the column choice (order, hidden
// columns, the "Checked" column) of the first export type saved for its signature; without one,
// every column in display order without those of zero width, and no rules (not even the seed
// rules of a new type). `selectedRows`: only the rows selected in the list ("Copy Selected Rows").
// Raises zav::Error when the type cannot be read.
ExportPlan clipboardPlan(const Storage& storage, const Settings& settings, const ListViewInfo& info,
                         bool selectedRows);

// Starts a copy of `grid` as `plan` says, the header row first. Raises zav::Error when the grid
// could not be read, or the selection asked for cannot be (a selection of no rows is the header
// alone).
std::unique_ptr<ClipboardCopyJob> startClipboardCopy(std::shared_ptr<OpenedGrid> grid, ExportPlan plan);

}  // namespace zav
