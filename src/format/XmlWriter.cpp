#include "format/XmlWriter.h"

#include <cstdio>

#include "text/Utf16.h"
#include "text/Utf8.h"

namespace zav {

bool xmlHolds(char32_t cp) {
    if (cp < 0x20) return cp == 0x9 || cp == 0xA || cp == 0xD;
    return (cp <= 0xD7FF) || (cp >= 0xE000 && cp <= 0xFFFD) || (cp >= 0x10000 && cp <= 0x10FFFF);
}

bool needsXmlEscape(const std::wstring& text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!xmlHolds(codePointAt(text, i))) return true;
    return false;
}

void appendXmlText(std::wstring& out, const std::wstring& text, bool attribute, bool escaped) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t at = i;
        const char32_t cp = codePointAt(text, i);
        switch (cp) {
            case U'&': out += L"&amp;"; continue;
            case U'<': out += L"&lt;"; continue;
            case U'>': out += L"&gt;"; continue;
            case U'"': out += attribute ? L"&quot;" : L"\""; continue;
            // A reader turns a CR (with the LF after it) into LF, and an attribute's tab, CR and LF
            // into blanks; as references they come back as they were.
            case U'\r': out += L"&#13;"; continue;
            case U'\n': out += attribute ? L"&#10;" : L"\n"; continue;
            case U'\t': out += attribute ? L"&#9;" : L"\t"; continue;
            case U'\\':
                out += escaped ? L"\\\\" : L"\\";
                continue;
            default: break;
        }
        if (escaped && !xmlHolds(cp)) {
            wchar_t escape[8];
            std::swprintf(escape, 8, L"\\u%04X", static_cast<unsigned>(cp));
            out += escape;
        } else {
            out.append(text, at, i - at + 1);
        }
    }
}

XmlTableWriter::XmlTableWriter(ITextWriter& out, const ListViewInfo& lvInfo, IGridSource& capture,
                               const std::vector<const cReplaceList*>& rules, const NumberFormat& format)
    : TableWriter(lvInfo, capture, rules, format), out_(out) {}

void XmlTableWriter::begin() {
    headers_.clear();
    for (std::int32_t c : shown()) headers_.push_back(headerText(c));
    out_.writeRaw("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<grid>\r\n");
}

void XmlTableWriter::writeRow(std::int32_t, const std::wstring* cells) {
    line_.assign(L"<row>");
    for (std::size_t i = 0; i < headers_.size(); ++i) {
        const std::int32_t c = shown()[i];
        const std::wstring* read = cellOf(c, cells);
        const std::wstring& text = read ? formatter_.plainCell(*read, rulesOf(c)) : std::wstring();
        const bool escaped = needsXmlEscape(headers_[i]) || needsXmlEscape(text);
        line_ += L"<cell name=\"";
        appendXmlText(line_, headers_[i], true, escaped);
        line_ += escaped ? L"\" escaped=\"true\">" : L"\">";
        appendXmlText(line_, text, false, escaped);
        line_ += L"</cell>";
    }
    line_ += L"</row>\r\n";
    out_.writeRaw(toUtf8(line_));
}

void XmlTableWriter::end() { out_.writeRaw("</grid>\r\n"); }

}  // namespace zav
