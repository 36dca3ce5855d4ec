#include "format/TableWriter.h"

#include <algorithm>

namespace zav {

void appendHtmlEscaped(std::wstring& out, const std::wstring& text) {
    for (wchar_t c : text) {
        switch (c) {
            case L'&': out += L"&amp;"; break;
            case L'<': out += L"&lt;"; break;
            case L'>': out += L"&gt;"; break;
            case L'"': out += L"&quot;"; break;
            default: out += c;
        }
    }
}

void CellFormatter::replaceAll(const std::wstring& find, const std::wstring& with) {
    std::size_t pos = text_.find(find);
    if (pos == std::wstring::npos) return;
    nextText_.clear();
    nextFromCell_.clear();
    std::size_t start = 0;
    while (pos != std::wstring::npos) {
        nextText_.append(text_, start, pos - start);
        nextFromCell_.append(fromCell_, start, pos - start);
        nextText_ += with;
        nextFromCell_.append(with.size(), '\0');
        start = pos + find.size();
        pos = text_.find(find, start);
    }
    nextText_.append(text_, start, std::wstring::npos);
    nextFromCell_.append(fromCell_, start, std::string::npos);
    text_.swap(nextText_);
    fromCell_.swap(nextFromCell_);
}

std::vector<std::int32_t> indexOrder(std::int32_t count) {
    std::vector<std::int32_t> columns;
    for (std::int32_t c = 1; c <= count; ++c) columns.push_back(c);
    return columns;
}

const std::wstring& CellFormatter::plainCell(const std::wstring& cell, const cReplaceList* rules) {
    if (!rules || rules->empty()) {
        text_ = cell;
    } else {
        runRules(cell, *rules);
    }
    return text_;
}

void CellFormatter::appendCell(std::wstring& out, const std::wstring& cell, const cReplaceList* rules) {
    if (!rules || rules->empty()) {
        appendHtmlEscaped(out, cell);
        return;
    }
    runRules(cell, *rules);
    for (std::size_t i = 0; i < text_.size(); ++i) {
        const wchar_t c = text_[i];
        if (fromCell_[i] == '\1' && (c == L'&' || c == L'<' || c == L'>' || c == L'"')) {
            const std::wstring one(1, c);
            appendHtmlEscaped(out, one);
        } else {
            out += c;
        }
    }
}

void CellFormatter::runRules(const std::wstring& cell, const cReplaceList& rules) {
    text_ = cell;
    fromCell_.assign(cell.size(), '\1');
    for (const auto& rule : rules) {
        if (isNumericText(text_, format_)) {
            // A number is replaced only as a whole.
            if (text_ == rule->szReplace) {
                text_ = rule->szWith;
                fromCell_.assign(text_.size(), '\0');
            }
        } else if (!rule->szReplace.empty()) {
            replaceAll(rule->szReplace, rule->szWith);
        }
    }
}

std::wstring formatCell(const std::wstring& cell, const cReplaceList* rules, const NumberFormat& format) {
    std::wstring out;
    CellFormatter formatter(format);
    formatter.appendCell(out, cell, rules);
    return out;
}

TableWriter::TableWriter(const ListViewInfo& lvInfo, IGridSource& capture,
                         const std::vector<const cReplaceList*>& rules, const NumberFormat& format)
    : formatter_(format),
      lvInfo_(lvInfo),
      capture_(capture),
      rules_(rules),
      columnCount_(std::max<std::int32_t>(0, lvInfo.lColumnCount)),
      rowCount_(std::max<std::int32_t>(0, lvInfo.lItemCount)),
      blockRows_(std::max<std::int32_t>(1, kCellsPerBlock / std::max<std::int32_t>(1, columnCount_))),
      shown_(indexOrder(columnCount_)) {}

void TableWriter::showColumns(std::vector<std::int32_t> columns) {
    shown_ = std::move(columns);
    checkMarksShown_ = std::find(shown_.begin(), shown_.end(), kCheckedColumn) != shown_.end();
}

void TableWriter::showRows(std::vector<std::int32_t> rows) {
    // Rows the list does not have are not asked for.
    rows_.clear();
    for (std::int32_t r : rows)
        if (r >= 1 && r <= rowCount_ && (rows_.empty() || r > rows_.back())) rows_.push_back(r);
    someRows_ = true;
    rowCount_ = static_cast<std::int32_t>(rows_.size());
}

const std::wstring* TableWriter::cellOf(std::int32_t c, const std::wstring* cells) const {
    static const std::wstring yes = L"Yes", no = L"No";
    if (c == kCheckedColumn) return rowChecked_ ? &yes : &no;
    return c >= 1 && c <= columnCount_ ? &cells[c - 1] : nullptr;
}

bool TableWriter::nextBlock() {
    if (rowsWritten_ >= rowCount_) return false;
    // The i-th row written, 1-based in the list.
    auto rowAt = [&](std::int32_t i) { return someRows_ ? rows_[static_cast<std::size_t>(i)] : i + 1; };
    // A block is a run of consecutive rows: every row, or a run of the rows chosen.
    const std::int32_t first = rowAt(rowsWritten_);
    std::int32_t rows = 1;
    while (rows < blockRows_ && rowsWritten_ + rows < rowCount_ && rowAt(rowsWritten_ + rows) == first + rows) ++rows;
    // A block the capture could not read is not written: the export has failed, and nothing
    // after it is read.
    if (!capture_.readCells(first, rows, columnCount_, cells_)) return false;
    // A control whose data ended before its count gives the rows it holds and no more: the table
    // ends with them (and the progress with it).
    const std::int32_t ended = capture_.rowsEnded();
    if (ended >= 0 && first + rows - 1 > ended) {
        rows = std::max<std::int32_t>(0, ended - first + 1);
        if (someRows_) {
            rows_.erase(std::upper_bound(rows_.begin(), rows_.end(), ended), rows_.end());
            rowCount_ = static_cast<std::int32_t>(rows_.size());
        } else {
            rowCount_ = ended;
        }
    }
    if (checkMarksShown_ && rows > 0 && !capture_.readCheckMarks(first, rows, checked_)) return false;
    for (std::int32_t r = 0; r < rows; ++r) {
        rowChecked_ = checkMarksShown_ && static_cast<std::size_t>(r) < checked_.size() && checked_[r] != 0;
        writeRow(first + r, cells_.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(columnCount_));
    }
    rowsWritten_ += rows;
    return true;
}

}  // namespace zav
