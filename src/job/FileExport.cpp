#include "job/FileExport.h"

#include "core/Error.h"
#include "core/ScopeExit.h"
#include "job/PlanWriter.h"

namespace zav {

FileExportJob::FileExportJob(IFileSystem& fs, std::shared_ptr<OpenedGrid> grid, ExportPlan plan)
    : GridJob(std::move(grid), std::move(plan)), fs_(fs) {
    const OpenedGrid& read = this->grid();
    if (!read.source)
        throw Error(kErrCaptureFailed, L"Export", describeCaptureFailure(CaptureFailure::NoWindow, read.info.kind));
    if (output().empty()) throw Error(kErrInvalidName, L"Export", L"No output file is given");
    auto rows = rowsToWrite(L"Export", true);

    partial_ = output() + L".tmp";
    auto dropPartial = scopeExit([&] {
        writer_.reset();
        discardFile(fs_, partial_);
    });
    writer_ = fs_.openTextWriter(partial_);
    begin(makeTableWriter(*writer_, this->plan(), read, rules()), std::move(rows));
    dropPartial.dismiss();
}

FileExportJob::~FileExportJob() {
    if (finished()) return;
    writer_.reset();  // closed before it goes
    discardFile(fs_, partial_);
}

void FileExportJob::complete() {
    writer_->close();
    writer_.reset();
    fs_.replaceFile(partial_, output());
}

std::unique_ptr<FileExportJob> startFileExport(IFileSystem& fs, std::shared_ptr<OpenedGrid> grid, ExportPlan plan) {
    return std::make_unique<FileExportJob>(fs, std::move(grid), std::move(plan));
}

}  // namespace zav
