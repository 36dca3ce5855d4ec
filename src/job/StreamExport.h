// An export onto a stream that is not a file of ours (a program's standard output) as a job: the
// plan's format in UTF-8 without a byte-order mark, whatever encoding the plan names, written as
// the rows are read. A stream cannot be taken back: a job that is stopped or fails leaves what
// was written so far, and whoever reads it learns from the job's end that it is short.
#pragma once

#include <memory>

#include "ini/FileSystem.h"
#include "job/GridJob.h"

namespace zav {

class StreamExportJob final : public GridJob {
public:
    // As startStreamExport.
    StreamExportJob(ITextWriter& out, std::shared_ptr<OpenedGrid> grid, ExportPlan plan);

private:
    void complete() override { out_.close(); }
    std::wstring failedOperation() const override { return L"Export"; }

    ITextWriter& out_;
};

// Starts the export of `grid` that `plan` describes onto `out` (its output file is not used):
// reads the selection when the plan asks for the selected rows only and writes the table's start.
// Raises zav::Error when the grid was never opened, the selection cannot be read or is empty
// (kNoSelectionMessage), or the start cannot be written.
std::unique_ptr<StreamExportJob> startStreamExport(ITextWriter& out, std::shared_ptr<OpenedGrid> grid,
                                                   ExportPlan plan);

}  // namespace zav
