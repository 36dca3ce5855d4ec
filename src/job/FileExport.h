// An export to a file (HTML, CSV or tab-separated, as its plan says) as a job. The file is written
// under a temporary name and takes the output file's place only when the job finishes: a job that
// is stopped, fails or is dropped leaves the previous output file as it was and no temporary file.
#pragma once

#include <memory>
#include <string>

#include "ini/FileSystem.h"
#include "job/GridJob.h"

namespace zav {

class FileExportJob final : public GridJob {
public:
    // As startFileExport.
    FileExportJob(IFileSystem& fs, std::shared_ptr<OpenedGrid> grid, ExportPlan plan);
    ~FileExportJob() override;

    const std::wstring& output() const { return plan().output; }

private:
    void complete() override;
    std::wstring failedOperation() const override { return L"Export " + output(); }

    IFileSystem& fs_;
    std::wstring partial_;
    std::unique_ptr<ITextWriter> writer_;
};

// Starts the export of `grid` that `plan` describes into plan.output: reads the selection when the
// plan asks for the selected rows only, opens the temporary file and writes the table's start.
// Raises zav::Error when the grid was never opened, no output file is given, the selection cannot
// be read or is empty (kNoSelectionMessage), or the file cannot be made.
std::unique_ptr<FileExportJob> startFileExport(IFileSystem& fs, std::shared_ptr<OpenedGrid> grid, ExportPlan plan);

}  // namespace zav
