// The XML writer: a UTF-8 document (declared, no byte-order mark) whose root "grid" holds a "row"
// element per row and in it a "cell" element per column, the column's header text in its "name"
// attribute and the cell's text, after its column's rules, as the element's text. Line breaks and
// tabs are written as character references where a reader would otherwise change them (CR in
// text, CR, LF and tab in an attribute). A character XML 1.0 cannot hold at all (a control
// character other than tab, CR and LF, a surrogate without its pair, U+FFFE, U+FFFF) is written
// as \uXXXX, and the cell then carries escaped="true": in its name and text a backslash is
// written doubled and \uXXXX stands for that character.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "capture/GridSource.h"
#include "format/TableWriter.h"
#include "ini/FileSystem.h"

namespace zav {

// Whether XML 1.0 can hold the code point in a document at all (as itself or as a reference).
bool xmlHolds(char32_t codePoint);
// Whether the text holds a character XML cannot hold, and so needs the escaped form.
bool needsXmlEscape(const std::wstring& text);
// Appends the text for XML content (`attribute` false) or for a double-quoted attribute value. In
// the escaped form a backslash is doubled and a character XML cannot hold written as \uXXXX;
// without it, such a character is written as it is (the caller asks needsXmlEscape first).
void appendXmlText(std::wstring& out, const std::wstring& text, bool attribute, bool escaped);

class XmlTableWriter : public TableWriter {
public:
    XmlTableWriter(ITextWriter& out, const ListViewInfo& lvInfo, IGridSource& capture,
                   const std::vector<const cReplaceList*>& rules, const NumberFormat& format);

    void begin() override;
    void end() override;

private:
    void writeRow(std::int32_t row, const std::wstring* cells) override;

    ITextWriter& out_;
    std::vector<std::wstring> headers_;  // of the columns shown
    std::wstring line_;
};

}  // namespace zav
