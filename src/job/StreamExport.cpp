#include "job/StreamExport.h"

#include "core/Error.h"
#include "job/PlanWriter.h"

namespace zav {
namespace {

ExportPlan inUtf8(ExportPlan plan) {
    plan.delimited.utf8 = true;
    plan.delimited.byteOrderMark = false;
    return plan;
}

}  // namespace

StreamExportJob::StreamExportJob(ITextWriter& out, std::shared_ptr<OpenedGrid> grid, ExportPlan plan)
    : GridJob(std::move(grid), inUtf8(std::move(plan))), out_(out) {
    const OpenedGrid& read = this->grid();
    if (!read.source)
        throw Error(kErrCaptureFailed, L"Export", describeCaptureFailure(CaptureFailure::NoWindow, read.info.kind));
    auto rows = rowsToWrite(L"Export", true);
    begin(makeTableWriter(out_, this->plan(), read, rules()), std::move(rows));
}

std::unique_ptr<StreamExportJob> startStreamExport(ITextWriter& out, std::shared_ptr<OpenedGrid> grid,
                                                   ExportPlan plan) {
    return std::make_unique<StreamExportJob>(out, std::move(grid), std::move(plan));
}

}  // namespace zav
