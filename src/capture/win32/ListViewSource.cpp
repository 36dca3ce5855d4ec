#include "capture/win32/ListViewSource.h"

#include <algorithm>
#include <type_traits>
#include <unordered_set>
#include <utility>

#include <commctrl.h>

#include "capture/win32/ListViewLayouts.h"

namespace zav {
namespace {

// Column counts beyond this are not believed (a header answers its item count; a foreign window
// could answer anything, and the record's arrays are sized by it).
constexpr std::int32_t kMaxColumns = 32767;

// The layouts of this program's own word size must be the system's own descriptors.
using OwnLayout = std::conditional_t<kProgramWordSize == 64, lvlayout::Layout64, lvlayout::Layout32>;
static_assert(offsetof(LVITEMA, pszText) == offsetof(OwnLayout::Item, pszText), "LVITEMA layout");
static_assert(offsetof(LVITEMA, cchTextMax) == offsetof(OwnLayout::Item, cchTextMax), "LVITEMA layout");
static_assert(offsetof(LVITEMA, iIndent) == offsetof(OwnLayout::Item, iIndent), "LVITEMA layout");
static_assert(offsetof(LVCOLUMNA, pszText) == offsetof(OwnLayout::Column, pszText), "LVCOLUMNA layout");
static_assert(offsetof(LVCOLUMNA, iSubItem) == offsetof(OwnLayout::Column, iSubItem), "LVCOLUMNA layout");
static_assert(offsetof(LVCOLUMNA, iOrder) == offsetof(OwnLayout::Column, iOrder), "LVCOLUMNA layout");

// A column's header text (LVM_GETCOLUMN), 0-based: the list view answers whether it knows the
// column.
template <class Texts>
struct ColumnRequest {
    static constexpr TextAnswer kAnswer = TextAnswer::Known;
    std::int32_t column;
    TextMessage message(std::size_t) const { return {Texts::kGetColumn, static_cast<WPARAM>(column)}; }
    template <class Column>
    void fill(std::size_t, Column& descriptor) const {
        descriptor.mask = lvlayout::kLvcfText;
        descriptor.iSubItem = column;
    }
};

// Cells, from cell `first` of a grid that starts at `firstRow` (1-based) with `columns` cells a
// row: LVM_GETITEMTEXT, which answers the count of units it copied; with `params`, the first
// column's through LVM_GETITEM, which brings the row's item data (LVIF_PARAM) in the same request
// and answers whether it knows the row.
template <class Texts>
struct CellRequests {
    std::int32_t firstRow;
    std::size_t columns;
    std::size_t first;
    bool params;
    std::int32_t row(std::size_t i) const { return firstRow + static_cast<std::int32_t>((first + i) / columns); }
    std::int32_t column(std::size_t i) const { return static_cast<std::int32_t>((first + i) % columns) + 1; }
    bool withParam(std::size_t i) const { return params && column(i) == 1; }
    TextAnswer answer(std::size_t i) const { return withParam(i) ? TextAnswer::Known : TextAnswer::Length; }
    TextMessage message(std::size_t i) const {
        if (withParam(i)) return {Texts::kGetItem, 0};
        return {Texts::kGetItemText, static_cast<WPARAM>(row(i) - 1)};
    }
    template <class Item>
    void fill(std::size_t i, Item& descriptor) const {
        descriptor.mask = lvlayout::kLvifText;
        descriptor.iSubItem = column(i) - 1;
        if (!withParam(i)) return;
        descriptor.mask |= lvlayout::kLvifParam;
        descriptor.iItem = row(i) - 1;
    }
};

// One cell, 1-based, as getCellText asks for it.
template <class Texts>
struct CellRequest {
    static constexpr TextAnswer kAnswer = TextAnswer::Length;
    std::int32_t row, column;
    TextMessage message(std::size_t) const { return {Texts::kGetItemText, static_cast<WPARAM>(row - 1)}; }
    template <class Item>
    void fill(std::size_t, Item& descriptor) const {
        descriptor.mask = lvlayout::kLvifText;
        descriptor.iSubItem = column - 1;
    }
};

}  // namespace

std::unique_ptr<ListViewSource> ListViewSource::openListViewBuffers(const GridTarget& target,
                                                                   const CaptureOptions& options) {
    return std::unique_ptr<ListViewSource>(new ListViewSource(target, options));
}

ListViewSource::ListViewSource(const GridTarget& target, const CaptureOptions& options)
    : RemoteControl(target, options, kStartTextLength, false) {
    openInTarget(kStartTextLength);
}

ListViewSource::~ListViewSource() { closeListViewBuffers(); }

void ListViewSource::closeListViewBuffers() { closeBuffers(); }

VBool ListViewSource::readListViewInfo(ListViewInfo& info) {
    if (!takeListView(info)) return vbFalse;

    // A list view that could not be opened for reading (of a wider program, or without buffers in
    // its process) gives no grid: its rows and columns are not told as if they could be read.
    const bool opened = failure() == CaptureFailure::None;
    if (opened) {
        readViewAndItems(info);
        readColumns(info, headerColumnCount());
        readColumnOrder(info);
    }
    if (stopped() || !opened) {
        // Nor is anything trusted from a target that hung or went away while being read.
        info.lItemCount = 0;
        info.lColumnCount = 0;
        info.lColumnWidth.clear();
        info.szColumnText.clear();
        info.lColumnOrder.clear();
        info.checkBoxes = false;
        return vbFalse;
    }
    return vbTrue;
}

void ListViewSource::readColumnOrder(ListViewInfo& info) {
    info.lColumnOrder.clear();
    if (!canRequestTexts() || info.lColumnCount < 1) return;
    const auto count = static_cast<std::size_t>(info.lColumnCount);
    // An int array in the other process: an int is 32 bits in either word size.
    RemoteBuffer order = allocateInTarget(count * sizeof(std::int32_t));
    if (!order) return;
    LRESULT r = 0;
    if (!send(lvlayout::kLvmGetColumnOrderArray, static_cast<WPARAM>(count), static_cast<LPARAM>(order.address()), r) ||
        r == 0)
        return;
    std::vector<std::int32_t> indices(count);
    if (!order.read(0, indices.data(), count * sizeof(std::int32_t))) return;
    for (std::int32_t& index : indices) ++index;  // the list view counts from 0
    info.lColumnOrder = std::move(indices);
}

bool ListViewSource::takeListView(ListViewInfo& info) {
    if (!IsWindow(window())) {
        taken_ = false;
        note(CaptureFailure::NoWindow);
        return false;
    }
    taken_ = true;
    startRecord(info, ControlKind::ListView);
    return true;
}

void ListViewSource::readViewAndItems(ListViewInfo& info) {
    info.lView = static_cast<std::int32_t>(GetWindowLongA(window(), GWL_STYLE) & 3);

    LRESULT r = 0;
    send(lvlayout::kLvmGetItemCount, 0, 0, r);
    info.lItemCount = std::max<std::int32_t>(0, static_cast<std::int32_t>(r));
    info.rcWindow = windowRect();

    if (stopped()) return;
    info.checkBoxes = readCheckBoxStyle();
    itemCount_ = info.lItemCount;
    tracking_ = Tracking::Unknown;
    paramRows_.clear();
    movedRow_ = 0;
}

std::int32_t ListViewSource::headerColumnCount() {
    LRESULT r = 0;
    std::int32_t columns = 0;
    if (send(lvlayout::kLvmGetHeader, 0, 0, r) && r != 0) {
        const HWND header = reinterpret_cast<HWND>(r);
        if (sendTo(header, lvlayout::kHdmGetItemCount, 0, 0, r)) columns = static_cast<std::int32_t>(r);
    }
    // No header, a header without items (icon and list views) or one that failed (-1): one column.
    return std::clamp<std::int32_t>(columns, 1, kMaxColumns);
}

void ListViewSource::readColumns(ListViewInfo& info, std::int32_t columns) {
    // The header's count is believed only as far as the list view answers for its columns: the
    // columns end at the first one it does not know (the first column is kept in any case).
    LRESULT r = 0;
    info.lColumnWidth.assign(1, 0);
    info.szColumnText.assign(1, std::wstring());
    for (std::int32_t i = 1; i <= columns && !stopped(); ++i) {
        std::optional<std::wstring> text = requestColumnText(i);
        if (!text && i > 1) break;
        send(lvlayout::kLvmGetColumnWidth, static_cast<WPARAM>(i - 1), 0, r);
        info.lColumnWidth.push_back(static_cast<std::int32_t>(r));
        info.szColumnText.push_back(text ? std::move(*text) : std::wstring());
    }
    info.lColumnCount = static_cast<std::int32_t>(info.szColumnText.size()) - 1;
}

std::wstring ListViewSource::getColumnText(std::int32_t lColumn) {
    return requestColumnText(lColumn).value_or(std::wstring());
}

std::wstring ListViewSource::getCellText(std::int32_t lRow, std::int32_t lColumn) {
    return requestCellText(lRow, lColumn).value_or(std::wstring());
}

bool ListViewSource::readCells(std::int32_t firstRow, std::int32_t rowCount, std::int32_t columnCount,
                               std::vector<std::wstring>& cells) {
    const std::size_t columns = columnCount > 0 ? static_cast<std::size_t>(columnCount) : 0;
    const std::size_t total = (rowCount > 0 ? static_cast<std::size_t>(rowCount) : 0) * columns;
    cells.resize(total);
    for (std::wstring& cell : cells) cell.clear();
    if (!canRequestTexts() || failure() != CaptureFailure::None) return false;
    if (!makeBlock(sizeof(lvlayout::Layout64::Item))) return false;
    for (std::size_t first = 0; first < total; first += kBlockItems) {
        const std::size_t count = std::min(kBlockItems, total - first);
        const bool params = tracking_ == Tracking::On;
        params_.assign(params ? count : 0, 0);
        const bool read = forTarget<lvlayout::ListView>([&](auto layout, auto texts) {
            using Texts = decltype(texts);
            const CellRequests<Texts> requests{firstRow, columns, first, params};
            return readTextBlock<typename decltype(layout)::Item, Texts>(requests, count, &cells[first],
                                                                         params ? params_.data() : nullptr);
        });
        if (!read) return false;
        if (tracking_ == Tracking::Unknown && !startTracking(firstRow, first, count, columns, cells)) return false;
        if (params) trackRows(firstRow, first, count, columns);
        if (movedRow_ != 0) break;
    }
    // The count asked again, one message a block: a list that lost rows since the read began gives
    // no file of rows that were no longer there. A fall is said before a row that came twice: rows
    // gone answer no item data, which would read as the same.
    LRESULT now = 0;
    if (!send(lvlayout::kLvmGetItemCount, 0, 0, now)) return false;
    CaptureDetail detail;
    if (static_cast<std::int32_t>(now) < itemCount_) {
        detail.rowsBefore = itemCount_;
        detail.rowsNow = std::max<std::int32_t>(0, static_cast<std::int32_t>(now));
        note(CaptureFailure::RowsFell, detail);
        return false;
    }
    if (movedRow_ != 0) {
        detail.row = movedRow_;
        note(CaptureFailure::RowsMoved, detail);
        return false;
    }
    return true;
}

bool ListViewSource::startTracking(std::int32_t firstRow, std::size_t first, std::size_t count, std::size_t columns,
                                   const std::vector<std::wstring>& cells) {
    // The first rows read are asked once more, their first column through LVM_GETITEM with the
    // item data: rows are watched only where that gives the same texts and item data distinct
    // from row to row. A program that gives its rows equal item data (none set; owner-data lists)
    // cannot show a row read twice, nor can a window that answers LVM_GETITEMTEXT alone.
    tracking_ = Tracking::Off;
    std::vector<std::size_t> at;  // the cells of column 1
    for (std::size_t i = (columns - first % columns) % columns; i < count; i += columns) at.push_back(first + i);
    if (at.size() < 2) return true;
    std::vector<std::wstring> texts(at.size());
    params_.assign(at.size(), 0);
    const std::int32_t from = firstRow + static_cast<std::int32_t>(at.front() / columns);
    const bool read = forTarget<lvlayout::ListView>([&](auto layout, auto kinds) {
        using Texts = decltype(kinds);
        const CellRequests<Texts> requests{from, 1, 0, true};
        return readTextBlock<typename decltype(layout)::Item, Texts>(requests, at.size(), texts.data(),
                                                                     params_.data());
    });
    if (!read) return false;
    std::unordered_set<std::uint64_t> values(params_.begin(), params_.end());
    if (values.size() < at.size()) return true;
    for (std::size_t k = 0; k < at.size(); ++k)
        if (texts[k] != cells[at[k]]) return true;
    tracking_ = Tracking::On;
    // These rows are the first watched.
    std::vector<std::uint64_t> params(at.size());
    params_.swap(params);
    params_.assign(count, 0);
    for (std::size_t k = 0; k < at.size(); ++k) params_[at[k] - first] = params[k];
    trackRows(firstRow, first, count, columns);
    return true;
}

void ListViewSource::trackRows(std::int32_t firstRow, std::size_t first, std::size_t count, std::size_t columns) {
    // The item data of the first column's requests, one a row.
    std::vector<std::pair<std::uint64_t, std::int32_t>> block;
    for (std::size_t i = (columns - first % columns) % columns; i < count; i += columns)
        block.emplace_back(params_[i], firstRow + static_cast<std::int32_t>((first + i) / columns));
    for (const auto& [param, row] : block) {
        const auto [at, added] = paramRows_.emplace(param, row);
        if (!added && at->second != row) {
            movedRow_ = row;
            return;
        }
    }
}

std::optional<std::wstring> ListViewSource::requestColumnText(std::int32_t lColumn) {
    if (!canRequestTexts()) return std::nullopt;
    return forTarget<lvlayout::ListView>([&](auto layout, auto texts) {
        using Texts = decltype(texts);
        std::optional<std::wstring> text;
        readText<typename decltype(layout)::Column, Texts>(ColumnRequest<Texts>{lColumn - 1}, 0, text);
        return text;
    });
}

std::optional<std::wstring> ListViewSource::requestCellText(std::int32_t lRow, std::int32_t lColumn) {
    if (!canRequestTexts()) return std::nullopt;
    return forTarget<lvlayout::ListView>([&](auto layout, auto texts) {
        using Texts = decltype(texts);
        std::optional<std::wstring> text;
        readText<typename decltype(layout)::Item, Texts>(CellRequest<Texts>{lRow, lColumn}, 0, text);
        return text;
    });
}

}  // namespace zav
