#include "format/DelimitedWriter.h"

#include <algorithm>
#include <cstdio>

#include "core/Error.h"
#include "text/Ansi.h"
#include "text/Utf16.h"
#include "text/Utf8.h"

namespace zav {
namespace {

bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// The first code point of `text` that the ANSI code page lacks, at `index` (npos when none).
std::size_t firstUnheld(const std::wstring& text, char32_t& codePoint) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t at = i;
        const char32_t cp = codePointAt(text, i);
        if (!ansiHolds(cp)) {
            codePoint = cp;
            return at;
        }
    }
    return std::wstring::npos;
}

}  // namespace

std::wstring delimiterProblem(const std::wstring& delimiter) {
    if (delimiter.empty()) return L"The delimiter is empty: type the character that separates the fields.";
    if (delimiter.size() != 1) return L"The delimiter \"" + delimiter + L"\" is more than one character.";
    const wchar_t c = delimiter[0];
    if (c == L'"' || c == L'\r' || c == L'\n')
        return L"The delimiter cannot be a double quote, CR or LF: these mark the fields' own text.";
    return {};
}

bool looksLikeFormula(const std::wstring& text, const NumberFormat& format) {
    if (text.empty()) return false;
    const wchar_t first = text[0];
    if (first != L'=' && first != L'+' && first != L'-' && first != L'@' && first != L'\t' && first != L'\r')
        return false;
    // A plain number such as -12 or +3.5 is data, and spreadsheets read it as a number.
    std::size_t i = (first == L'+' || first == L'-') ? 1 : 0;
    bool digits = false, separator = false;
    for (; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (isDigit(c)) {
            digits = true;
        } else if ((c == L'.' || c == format.decimalSeparator) && !separator) {
            separator = true;
        } else {
            return true;
        }
    }
    return !digits;
}

void appendDelimitedField(std::wstring& out, const std::wstring& text, wchar_t delimiter, bool formulaSafety,
                          const NumberFormat& format) {
    const bool guard = formulaSafety && looksLikeFormula(text, format);
    const bool quote = text.find_first_of(std::wstring{delimiter, L'"', L'\r', L'\n'}) != std::wstring::npos;
    if (quote) out += L'"';
    if (guard) out += L'\'';
    for (wchar_t c : text) {
        if (c == L'"') out += L'"';
        out += c;
    }
    if (quote) out += L'"';
}

DelimitedTableWriter::DelimitedTableWriter(ITextWriter& out, const DelimitedOptions& options,
                                           const ListViewInfo& lvInfo, IGridSource& capture,
                                           const std::vector<const cReplaceList*>& rules,
                                           const NumberFormat& format)
    : TableWriter(lvInfo, capture, rules, format), out_(out), options_(options), format_(format) {}

void DelimitedTableWriter::writeRecord(std::int32_t row) {
    line_.clear();
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (i > 0) line_ += options_.delimiter;
        appendDelimitedField(line_, fields_[i], options_.delimiter, options_.formulaSafety, format_);
    }
    if (options_.utf8) {
        out_.writeRaw(toUtf8(line_) + "\r\n");
        return;
    }
    // A character the code page lacks would become '?' or a look-alike: the file would not say
    // what the list says. The export is refused instead, naming the first such cell.
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        char32_t cp = 0;
        if (firstUnheld(fields_[i], cp) == std::wstring::npos) continue;
        const std::wstring header = headerText(shown()[i]);
        wchar_t code[16];
        std::swprintf(code, 16, L"U+%04X", static_cast<unsigned>(cp));
        const std::wstring where = row == 0 ? std::wstring(L"The header") : L"Row " + std::to_wstring(row);
        throw Error(kErrFileAccess, L"Export",
                    where + L", column \"" + header + L"\", holds the character " + code +
                        L", which the ANSI code page lacks. Choose the UTF-8 encoding, or add a rule "
                        L"that replaces it.");
    }
    out_.writeLine(line_);
}

void DelimitedTableWriter::begin() {
    if (options_.utf8 && options_.byteOrderMark) out_.writeRaw("\xEF\xBB\xBF");
    fields_.clear();
    for (std::int32_t c : shown()) fields_.push_back(headerText(c));
    writeRecord(0);
}

void DelimitedTableWriter::writeRow(std::int32_t row, const std::wstring* cells) {
    fields_.clear();
    for (std::int32_t c : shown()) {
        const std::wstring* text = cellOf(c, cells);
        fields_.push_back(text ? formatter_.plainCell(*text, rulesOf(c)) : std::wstring());
    }
    writeRecord(row);
}

void DelimitedTableWriter::end() {}

}  // namespace zav
