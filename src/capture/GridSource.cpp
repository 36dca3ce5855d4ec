#include "capture/GridSource.h"

#include "text/Ansi.h"

namespace zav {

namespace {
// A count as the messages show it: 20,000.
std::wstring grouped(std::int64_t n) {
    std::wstring digits = std::to_wstring(n < 0 ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n));
    for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, 1, L',');
    return n < 0 ? L"-" + digits : digits;
}
std::wstring rowsOf(std::int32_t n) { return grouped(n) + (n == 1 ? L" row" : L" rows"); }
}  // namespace

std::wstring describeCaptureFailure(CaptureFailure failure, ControlKind kind, const CaptureDetail& detail) {
    const std::wstring control = kind == ControlKind::None ? L"list view" : describeControlKind(kind);
    const std::wstring at = L"row " + grouped(detail.row) + L", column " + grouped(detail.column);
    switch (failure) {
        case CaptureFailure::None: return L"";
        case CaptureFailure::NoWindow: return L"The " + control + L" no longer exists.";
        case CaptureFailure::NotAGrid:
            return L"The window is not a list view, tree view, list box or combo box.";
        case CaptureFailure::ProcessNotOpened:
            return L"The program that owns the " + control + L" cannot be read (it may run with higher rights).";
        case CaptureFailure::NoBuffers: return L"No memory could be reserved in the " + control + L"'s program.";
        case CaptureFailure::TargetGone: return L"The " + control + L" or its program ended while it was being read.";
        case CaptureFailure::TargetHung: return L"The " + control + L"'s program stopped answering.";
        case CaptureFailure::TargetTooWide:
            return L"The " + control + L" belongs to a 64-bit program, which the 32-bit ZAVExport.exe cannot read. "
                   L"Use ZAVExport64.exe for it.";
        case CaptureFailure::RowsFell:
            return L"The " + control + L" changed while it was being read: it held " + rowsOf(detail.rowsBefore) +
                   L" when the export began and holds " + grouped(detail.rowsNow) + L" now.";
        case CaptureFailure::RowsMoved:
            return L"The " + control + L" changed while it was being read: its rows moved (it was re-sorted or "
                   L"refreshed), and row " + grouped(detail.row) + L" came again as a row already read.";
        case CaptureFailure::TextUnreadable:
            return L"The " + control + L" told a length for the text at " + at + L" that cannot be honoured (" +
                   grouped(detail.length) + L" characters), and the text could not be read whole.";
        case CaptureFailure::Inconsistent:
            return L"The " + control + L" answered inconsistently at " + at +
                   L": the length of its text and the text it gave do not agree.";
        case CaptureFailure::TreeLoop:
            return L"The tree view answered inconsistently: an item came again at row " + grouped(detail.row) +
                   L" of one walk over the tree, as if it were its own descendant.";
        case CaptureFailure::NoTexts:
            return L"The list draws its lines itself and keeps no texts (owner-drawn without strings), "
                   L"so there is nothing to export from it.";
    }
    return L"";
}

std::wstring describeControlKind(ControlKind kind) {
    switch (kind) {
        case ControlKind::None: return L"";
        case ControlKind::ListView: return L"list view";
        case ControlKind::TreeView: return L"tree view";
        case ControlKind::ListBox: return L"list box";
        case ControlKind::ComboBox: return L"combo box";
    }
    return L"";
}

ControlKind controlKindOfClass(const std::wstring& className) {
    const std::wstring name = upperCase(className);
    const auto has = [&](const wchar_t* part) { return name.find(part) != std::wstring::npos; };
    if (has(L"LISTVIEW")) return ControlKind::ListView;
    if (has(L"TREEVIEW")) return ControlKind::TreeView;
    if (has(L"COMBOLBOX") || has(L"LISTBOX")) return ControlKind::ListBox;
    if (has(L"COMBOBOX")) return ControlKind::ComboBox;
    return ControlKind::None;
}

bool controlKindIsRead(ControlKind kind) {
    return kind != ControlKind::None;
}

bool IGridSource::readSelectedRows(std::vector<std::int32_t>& rows) {
    rows.clear();
    return failure() == CaptureFailure::None;
}

bool IGridSource::readCheckMarks(std::int32_t, std::int32_t rowCount, std::vector<char>& checked) {
    checked.assign(rowCount > 0 ? static_cast<std::size_t>(rowCount) : 0, 0);
    return failure() == CaptureFailure::None;
}

bool IGridSource::readCells(std::int32_t firstRow, std::int32_t rowCount, std::int32_t columnCount,
                                 std::vector<std::wstring>& cells) {
    const std::size_t rows = rowCount > 0 ? static_cast<std::size_t>(rowCount) : 0;
    const std::size_t columns = columnCount > 0 ? static_cast<std::size_t>(columnCount) : 0;
    cells.resize(rows * columns);
    for (std::wstring& cell : cells) cell.clear();
    if (failure() != CaptureFailure::None) return false;
    std::size_t i = 0;
    for (std::size_t r = 0; r < rows; ++r) {
        for (std::size_t c = 1; c <= columns; ++c, ++i) {
            cells[i] = getCellText(firstRow + static_cast<std::int32_t>(r), static_cast<std::int32_t>(c));
            if (failure() != CaptureFailure::None) {
                cells[i].clear();
                return false;
            }
        }
    }
    return true;
}

}  // namespace zav
