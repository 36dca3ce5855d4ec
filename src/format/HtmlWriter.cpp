#include "format/HtmlWriter.h"

#include "text/Ansi.h"

namespace zav {

HtmlTableWriter::HtmlTableWriter(ITextWriter& out, const HtmlFragments& fragments, const ListViewInfo& lvInfo,
                                 IGridSource& capture, const std::vector<const cReplaceList*>& rules,
                                 const NumberFormat& format)
    : TableWriter(lvInfo, capture, rules, format),
      out_(out),
      fragments_(fragments),
      cellStart_(L"<td " + fragments.dataFormat + L">") {}

void HtmlTableWriter::writeLine(const std::wstring& text) {
    encoded_.clear();
    appendWithReferences(encoded_, text);
    out_.writeLine(encoded_);
}

void HtmlTableWriter::begin() {
    writeLine(fragments_.header);
    writeLine(L"<table " + fragments_.tableFormat + L">");
    line_.assign(L"<tr>");
    for (std::int32_t c : shown()) {
        line_ += L"<td " + fragments_.headerFormat + L">";
        appendHtmlEscaped(line_, headerText(c));
        line_ += L"</td>";
    }
    line_ += L"</tr>";
    writeLine(line_);
}

void HtmlTableWriter::writeRow(std::int32_t, const std::wstring* cells) {
    line_.assign(L"<tr>");
    for (std::int32_t c : shown()) {
        line_ += cellStart_;
        if (const std::wstring* text = cellOf(c, cells)) formatter_.appendCell(line_, *text, rulesOf(c));
        line_ += L"</td>";
    }
    line_ += L"</tr>";
    writeLine(line_);
}

void HtmlTableWriter::end() {
    writeLine(L"</table>");
    writeLine(fragments_.footer);
}

void writeHtmlTable(ITextWriter& out, const HtmlFragments& fragments, const ListViewInfo& lvInfo,
                    IGridSource& capture, const std::vector<const cReplaceList*>& rules,
                    const NumberFormat& format) {
    HtmlTableWriter writer(out, fragments, lvInfo, capture, rules, format);
    writer.begin();
    while (writer.nextBlock()) {
    }
    writer.end();
}

}  // namespace zav
