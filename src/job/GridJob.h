// What every export of a grid is, whatever it writes to: a job that reads the grid a block of rows
// at a time through a table writer, so that whoever runs it can show its progress and stop it
// between two blocks (dropping the job stops it, and loses nothing). A job holds the grid and its
// plan; it needs nothing of whoever started it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "format/TableWriter.h"
#include "job/ExportPlan.h"
#include "job/OpenedGrid.h"

namespace zav {

inline constexpr const wchar_t* kNoSelectionMessage =
    L"No rows are selected in the list, and this export type exports only the selected rows. Select rows, "
    L"or clear \"Only the selected rows\" on the File tab.";

class GridJob {
public:
    virtual ~GridJob();
    GridJob(const GridJob&) = delete;
    GridJob& operator=(const GridJob&) = delete;

    // Reads and writes the next block of rows; false when every row is done (call finish() then).
    // Raises zav::Error when the grid could not be read, or what was read not be written.
    bool step();
    // Completes the job and puts its result in place. Raises zav::Error when the grid could not be
    // read to the end (a short table is a failed export, never a result) or the result not be put
    // in place.
    void finish();

    std::int32_t rowsDone() const { return table_ ? table_->rowsWritten() : 0; }
    std::int32_t rowCount() const { return table_ ? table_->rowCount() : 0; }
    const ExportPlan& plan() const { return plan_; }

protected:
    // A null grid is one that could not be opened.
    GridJob(std::shared_ptr<OpenedGrid> grid, ExportPlan plan);

    // The rows the job writes: every row (nullopt), or, when the plan asks for the selected rows
    // only, those selected now. Raises zav::Error naming `what` when the selection cannot be read,
    // and when none is selected if `noneRefused`.
    std::optional<std::vector<std::int32_t>> rowsToWrite(const std::wstring& what, bool noneRefused) const;
    // Shows the plan's columns and `rows` through `table`, and begins it.
    void begin(std::unique_ptr<TableWriter> table, std::optional<std::vector<std::int32_t>> rows);
    // After the table's end: puts the result in place. Raises zav::Error when it cannot.
    virtual void complete() = 0;
    // What a failed read of the grid is reported as ("Export <file>").
    virtual std::wstring failedOperation() const = 0;

    const OpenedGrid& grid() const { return *grid_; }
    // The plan's rules, as the table writers take them.
    const std::vector<const cReplaceList*>& rules() const { return rules_; }
    bool finished() const { return finished_; }

private:
    void checkGrid() const;

    std::shared_ptr<OpenedGrid> grid_;
    ExportPlan plan_;
    std::vector<const cReplaceList*> rules_;
    std::unique_ptr<TableWriter> table_;
    bool finished_ = false;
};

// Runs the job to its end in one go.
void runToEnd(GridJob& job);

}  // namespace zav
