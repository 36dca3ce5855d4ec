// The grid as it goes onto the clipboard: Unicode text (tabs between cells, every row ended by CR
// LF, a cell holding a tab, CR, LF or a double quote put in double quotes with its quotes doubled,
// as spreadsheets copy) and "HTML Format" (a table inside the clipboard's HTML header, whose byte
// offsets let the pasting program find the fragment). Both are built whole in memory before
// anything goes onto the clipboard, so a copy that fails or is stopped leaves it as it was.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "capture/GridSource.h"
#include "format/TableWriter.h"

namespace zav {

// Appends one cell of the clipboard text: in double quotes, its quotes doubled, when it holds a
// tab, CR, LF or a double quote; else as it is.
void appendClipboardCell(std::wstring& out, const std::wstring& text);

// The clipboard's "HTML Format" data for a fragment of UTF-8 HTML: the header (Version,
// StartHTML, EndHTML, StartFragment, EndFragment, each offset counted in bytes from the start of
// the data), then a document holding the fragment between <!--StartFragment--> and
// <!--EndFragment-->. No terminating NUL: the caller adds it to the clipboard's memory.
std::string clipboardHtml(const std::string& fragment);

// Both forms of the grid, a block of rows at a time; the header row first. Texts pass through
// their column's rules and are written escaped in the HTML: the copy holds text, never markup.
class ClipboardTableWriter : public TableWriter {
public:
    ClipboardTableWriter(const ListViewInfo& lvInfo, IGridSource& capture,
                   const std::vector<const cReplaceList*>& rules, const NumberFormat& format);

    void begin() override;
    void end() override;

    const std::wstring& text() const { return text_; }
    // The clipboard's HTML data; complete after end().
    const std::string& html() const { return html_; }

private:
    void writeRow(std::int32_t row, const std::wstring* cells) override;
    void writeRecord();

    std::vector<std::wstring> fields_;
    std::wstring text_;
    std::wstring table_;
    std::string html_;
};

}  // namespace zav
