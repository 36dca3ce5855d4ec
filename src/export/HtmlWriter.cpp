#include "export/HtmlWriter.h"

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
    for (std::int32_t r = 1; r <= rowCount; ++r) {
        line.assign(L"<tr>");
        for (std::int32_t c = 1; c <= columnCount; ++c) {
            const auto index = static_cast<std::size_t>(c);
            const cReplaceList* columnRules = index < rules.size() ? rules[index] : nullptr;
            line += cellStart;
            formatter.appendCell(line, capture.getCellText(r, c), columnRules);
            line += L"</td>";
        }
        line += L"</tr>";
        out.writeLine(line);
    }

    out.writeLine(L"</table>");
    out.writeLine(fragments.footer);
}

}  // namespace zav
