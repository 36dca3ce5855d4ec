#include "job/ClipboardCopy.h"

#include "catalog/Catalog.h"
#include "core/Error.h"

namespace zav {

ClipboardCopyJob::ClipboardCopyJob(std::shared_ptr<OpenedGrid> grid, ExportPlan plan)
    : GridJob(std::move(grid), std::move(plan)) {
    const wchar_t* what = this->plan().selectedRowsOnly ? L"Copy Selected Rows" : L"Copy Grid";
    const OpenedGrid& read = this->grid();
    const std::wstring problem = read.problem();
    if (!problem.empty()) throw Error(kErrCaptureFailed, what, problem);
    auto rows = rowsToWrite(what, false);
    auto writer = std::make_unique<ClipboardTableWriter>(read.info, *read.source, rules(), this->plan().numberFormat);
    writer_ = writer.get();
    begin(std::move(writer), std::move(rows));
}

ExportPlan clipboardPlan(const Storage& storage, const Settings& settings, const ListViewInfo& info,
                         bool selectedRows) {
    const std::vector<std::wstring> types = compatibleExportTypes(storage, settings, buildColumnSignature(info));
    ExportPlan plan;
    if (types.empty()) {
        ExportType asShown;
        asShown.columnOrder = kColumnOrderDisplay;
        plan = exportPlanOf(asShown, {}, info, storage.host.numberFormat());
    } else {
        const SavedExportType saved = readSavedExportType(storage, settings, types.front(), info);
        plan = exportPlanOf(saved.type, saved.rules, info, storage.host.numberFormat());
    }
    plan.selectedRowsOnly = selectedRows;
    return plan;
}

std::unique_ptr<ClipboardCopyJob> startClipboardCopy(std::shared_ptr<OpenedGrid> grid, ExportPlan plan) {
    return std::make_unique<ClipboardCopyJob>(std::move(grid), std::move(plan));
}

}  // namespace zav
