#include "job/GridJob.h"

#include "core/Error.h"

namespace zav {

GridJob::GridJob(std::shared_ptr<OpenedGrid> grid, ExportPlan plan)
    : grid_(grid ? std::move(grid) : std::make_shared<OpenedGrid>()), plan_(std::move(plan)) {
    for (const auto& list : plan_.rules) rules_.push_back(&list);
}

GridJob::~GridJob() = default;

std::optional<std::vector<std::int32_t>> GridJob::rowsToWrite(const std::wstring& what, bool noneRefused) const {
    if (!plan_.selectedRowsOnly) return std::nullopt;
    // The selection as it stands now.
    std::vector<std::int32_t> rows;
    if (!grid_->source || !grid_->source->readSelectedRows(rows))
        throw Error(kErrCaptureFailed, what, grid_->problem());
    // An export of none of them would be a file of nothing.
    if (noneRefused && rows.empty()) throw Error(kErrCaptureFailed, what, kNoSelectionMessage);
    return rows;
}

void GridJob::begin(std::unique_ptr<TableWriter> table, std::optional<std::vector<std::int32_t>> rows) {
    table->showColumns(plan_.columns);
    if (rows) table->showRows(std::move(*rows));
    table->begin();
    table_ = std::move(table);
}

void GridJob::checkGrid() const {
    const std::wstring problem = grid_->problem();
    if (!problem.empty()) throw Error(kErrCaptureFailed, failedOperation(), problem);
}

bool GridJob::step() {
    if (finished_ || !table_) return false;
    const bool more = table_->nextBlock();
    checkGrid();
    return more && table_->rowsWritten() < table_->rowCount();
}

void GridJob::finish() {
    if (finished_) return;
    checkGrid();
    table_->end();
    complete();
    finished_ = true;
}

void runToEnd(GridJob& job) {
    while (job.step()) {
    }
    job.finish();
}

}  // namespace zav
