#include "export/HtmlWriter.h"

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

void CellFormatter::appendCell(std::wstring& out, const std::wstring& cell, const cReplaceList* rules) {
    if (!rules || rules->empty()) {
        appendHtmlEscaped(out, cell);
        return;
    }
    text_ = cell;
    fromCell_.assign(cell.size(), '\1');
    for (const auto& rule : *rules) {
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

std::wstring formatCell(const std::wstring& cell, const cReplaceList* rules, const NumberFormat& format) {
    std::wstring out;
    CellFormatter formatter(format);
    formatter.appendCell(out, cell, rules);
    return out;
}

void writeHtmlTable(ITextWriter& out, const HtmlFragments& fragments, const ListViewInfo& lvInfo,
                    IListViewCapture& capture, const std::vector<const cReplaceList*>& rules,
                    const NumberFormat& format) {
    out.writeLine(fragments.header);
    out.writeLine(L"<table " + fragments.tableFormat + L">");

    const std::int32_t columnCount = lvInfo.lColumnCount;
    std::wstring line = L"<tr>";
    for (std::int32_t c = 1; c <= columnCount; ++c) {
        line += L"<td " + fragments.headerFormat + L">";
        if (static_cast<std::size_t>(c) < lvInfo.szColumnText.size())
            appendHtmlEscaped(line, lvInfo.szColumnText[static_cast<std::size_t>(c)]);
        line += L"</td>";
    }
    line += L"</tr>";
    out.writeLine(line);

    const std::wstring cellStart = L"<td " + fragments.dataFormat + L">";
    CellFormatter formatter(format);
    const std::int32_t rowCount = lvInfo.lItemCount;
    // The cells are read a block of rows at a time: few round trips to the list view's program,
    // and no more than one block in memory however long the list is.
    const std::int32_t blockRows = std::max<std::int32_t>(1, kCellsPerBlock / std::max<std::int32_t>(1, columnCount));
    std::vector<std::wstring> cells;
    for (std::int32_t first = 1; first <= rowCount; first += blockRows) {
        const std::int32_t rows = std::min(blockRows, rowCount - first + 1);
        // A block the capture could not read is not written: the export has failed (the caller
        // asks the capture), and nothing after it is read.
        if (!capture.readCells(first, rows, std::max<std::int32_t>(0, columnCount), cells)) break;
        std::size_t i = 0;
        for (std::int32_t r = 0; r < rows; ++r) {
            line.assign(L"<tr>");
            for (std::int32_t c = 1; c <= columnCount; ++c, ++i) {
                const auto index = static_cast<std::size_t>(c);
                const cReplaceList* columnRules = index < rules.size() ? rules[index] : nullptr;
                line += cellStart;
                formatter.appendCell(line, cells[i], columnRules);
                line += L"</td>";
            }
            line += L"</tr>";
            out.writeLine(line);
        }
        if (first > rowCount - blockRows) break;  // the last block (and no overflow of `first`)
    }

    out.writeLine(L"</table>");
    out.writeLine(fragments.footer);
}

}  // namespace zav
