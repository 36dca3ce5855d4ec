#include "capture/GridSource.h"

#include "text/Ansi.h"

namespace zav {

std::wstring describeCaptureFailure(CaptureFailure failure, ControlKind kind) {
    const std::wstring control = kind == ControlKind::None ? L"list view" : describeControlKind(kind);
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
