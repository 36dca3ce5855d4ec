// What every format of the grid is written through: the columns shown (kCheckedColumn standing for
// the rows' check boxes), each cell passed through its column's replace rules (CellFormatter), and
// the table writer that reads the grid a block of rows at a time and hands each row to its format.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "capture/GridSource.h"
#include "format/Columns.h"
#include "format/NumericText.h"

namespace zav {

// The columns 1..count in index order.
std::vector<std::int32_t> indexOrder(std::int32_t count);

// Writes "&", "<", ">" and '"' as character references; everything else unchanged.
void appendHtmlEscaped(std::wstring& out, const std::wstring& text);

// Applies rules to cells, remembering per character whether it came from the cell (escaped on
// output) or from a rule (written as typed). Reuses its buffers from cell to cell.
class CellFormatter {
public:
    explicit CellFormatter(const NumberFormat& format) : format_(format) {}
    // Appends the cell after the rules (nullptr: none), ready for the HTML file.
    void appendCell(std::wstring& out, const std::wstring& cell, const cReplaceList* rules);
    // The cell after the rules as plain text, for the formats that do not escape (valid until the
    // next call).
    const std::wstring& plainCell(const std::wstring& cell, const cReplaceList* rules);

private:
    // The cell after the rules in text_, with fromCell_ telling where each character came from.
    void runRules(const std::wstring& cell, const cReplaceList& rules);
    void replaceAll(const std::wstring& find, const std::wstring& with);
    NumberFormat format_;
    std::wstring text_, nextText_;
    std::string fromCell_, nextFromCell_;  // 1 for a character of the cell, 0 for one of a rule
};

// The cell after its column's rules, as it goes into the file (for the dialog's tests and tools).
std::wstring formatCell(const std::wstring& cell, const cReplaceList* rules, const NumberFormat& format);

// How many cells the writer asks the capture for at once (whole rows, at least one).
constexpr std::int32_t kCellsPerBlock = 256;

// The column that stands for the rows' check boxes among the columns a writer shows: its header
// is "Checked", its cells "Yes" or "No".
constexpr std::int32_t kCheckedColumn = 0;

// What an export job drives, whatever the format: the start, a block of rows at a time, the end.
// The block loop is the same for every format: a block of rows read at once from the capture (few
// round trips to the list view's program, and no more than one block in memory however long the
// list is), then each row handed to the format with its cells in index order. `rules[c]` are the
// rules of column c (1-based; index 0 unused; nullptr or missing: none). Row and column counts are
// taken from `lvInfo`. Everything handed in must outlive the writer.
class TableWriter {
public:
    virtual ~TableWriter() = default;

    // The columns written, in this order (1-based indices), instead of every column in index
    // order. Before begin().
    void showColumns(std::vector<std::int32_t> columns);
    // Only these rows (1-based, ascending), instead of every row. Before begin().
    void showRows(std::vector<std::int32_t> rows);

    virtual void begin() = 0;
    // Reads and writes the next block of rows. False when no row was left to write, or when the
    // capture could not read the block (nothing of it is written; the caller asks the capture).
    // When the capture finds its data ended before the count (rowsEnded), the rows past the end
    // are not written and rowCount() falls to the rows written.
    bool nextBlock();
    virtual void end() = 0;
    std::int32_t rowsWritten() const { return rowsWritten_; }
    std::int32_t rowCount() const { return rowCount_; }

protected:
    TableWriter(const ListViewInfo& lvInfo, IGridSource& capture, const std::vector<const cReplaceList*>& rules,
                const NumberFormat& format);

    // Writes data row `row` (1-based); `cells[c - 1]` is the text of column c as read, for c in
    // 1..columnCount().
    virtual void writeRow(std::int32_t row, const std::wstring* cells) = 0;

    std::int32_t columnCount() const { return columnCount_; }
    const std::vector<std::int32_t>& shown() const { return shown_; }
    // Column c's rules (nullptr: none).
    const cReplaceList* rulesOf(std::int32_t c) const {
        const auto index = static_cast<std::size_t>(c);
        return c != kCheckedColumn && index < rules_.size() ? rules_[index] : nullptr;
    }
    // Column c's header text; empty for a column the header does not have.
    std::wstring headerText(std::int32_t c) const {
        if (c == kCheckedColumn) return L"Checked";
        const auto index = static_cast<std::size_t>(c);
        return c >= 1 && index < lvInfo_.szColumnText.size() ? lvInfo_.szColumnText[index] : std::wstring();
    }
    // The text of shown column c in the row being written (`cells` as writeRow has them): the cell,
    // or "Yes" or "No" for the check box; nullptr for a column the list does not have.
    const std::wstring* cellOf(std::int32_t c, const std::wstring* cells) const;

    CellFormatter formatter_;

private:
    const ListViewInfo& lvInfo_;
    IGridSource& capture_;
    const std::vector<const cReplaceList*>& rules_;
    std::int32_t columnCount_;
    std::int32_t rowCount_;
    std::int32_t blockRows_;
    std::int32_t rowsWritten_ = 0;
    std::vector<std::int32_t> shown_;
    std::vector<std::int32_t> rows_;  // the rows written, when not every row
    bool someRows_ = false;
    bool checkMarksShown_ = false;
    std::vector<std::wstring> cells_;
    std::vector<char> checked_;       // of the block's rows
    bool rowChecked_ = false;         // of the row being written
};

}  // namespace zav
