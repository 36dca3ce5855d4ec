// The HTML table writer: one header row from the captured header texts, then one row per item
// with every cell read afresh from the capture (a block of rows at a time) and passed through its
// column's replace rules. Text that came from the other program is written HTML-escaped; what a
// rule put in and the five fragments are written as typed, so that they can add markup. Whatever
// the file's code page cannot hold is written as a numeric character reference.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "capture/GridSource.h"
#include "format/TableWriter.h"
#include "ini/FileSystem.h"

namespace zav {

struct HtmlFragments {
    std::wstring header;        // written first, as typed
    std::wstring tableFormat;   // attributes of <table >
    std::wstring headerFormat;  // attributes of every header <td >
    std::wstring dataFormat;    // attributes of every data <td >
    std::wstring footer;        // written last, as typed
};

// The HTML table, written a block of rows at a time so that a long export can show its progress
// and be stopped between blocks.
class HtmlTableWriter : public TableWriter {
public:
    HtmlTableWriter(ITextWriter& out, const HtmlFragments& fragments, const ListViewInfo& lvInfo,
                    IGridSource& capture, const std::vector<const cReplaceList*>& rules,
                    const NumberFormat& format);

    // The header fragment, the table's start and its header row.
    void begin() override;
    // The table's end and the footer fragment.
    void end() override;

private:
    void writeRow(std::int32_t row, const std::wstring* cells) override;
    void writeLine(const std::wstring& text);

    ITextWriter& out_;
    const HtmlFragments& fragments_;
    std::wstring cellStart_;
    std::wstring line_;
    std::wstring encoded_;
};

// Writes the whole file content in one go.
void writeHtmlTable(ITextWriter& out, const HtmlFragments& fragments, const ListViewInfo& lvInfo,
                    IGridSource& capture, const std::vector<const cReplaceList*>& rules,
                    const NumberFormat& format);

}  // namespace zav
