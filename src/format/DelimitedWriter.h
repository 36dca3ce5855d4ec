// The CSV and tab-separated writers: a header row from the captured header texts, then one record
// per row, every cell read afresh from the capture a block of rows at a time and passed through its
// column's replace rules, as the HTML writer does. Records follow RFC 4180: a field that holds the
// delimiter, a double quote, CR or LF is put in double quotes with its quotes doubled, and every
// record ends with CR LF.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "capture/GridSource.h"
#include "format/TableWriter.h"
#include "ini/FileSystem.h"

namespace zav {

struct DelimitedOptions {
    wchar_t delimiter = L',';
    // UTF-8 with a byte-order mark (spreadsheets then read non-Latin text whole); else the ANSI
    // code page, which refuses the export at the first cell holding a character it lacks.
    bool utf8 = true;
    // UTF-8 starts with the byte-order mark (a file); a stream for other programs goes without.
    bool byteOrderMark = true;
    // A cell a spreadsheet would run as a formula is written with a leading apostrophe.
    bool formulaSafety = true;
};

// Why `delimiter` cannot separate fields (empty when it can): it must be one character, and not
// a double quote, CR or LF, which the quoting itself uses.
std::wstring delimiterProblem(const std::wstring& delimiter);

// Whether a spreadsheet would take the text as a formula: it starts with = + - @, a tab or CR, and
// is not a plain number (an optional sign, digits, at most one decimal separator, "." or the
// locale's).
bool looksLikeFormula(const std::wstring& text, const NumberFormat& format);

// Appends one field: with the apostrophe when `formulaSafety` and it looks like a formula, then
// quoted when it holds the delimiter, a double quote, CR or LF.
void appendDelimitedField(std::wstring& out, const std::wstring& text, wchar_t delimiter, bool formulaSafety,
                          const NumberFormat& format);

// The CSV or tab-separated file, a block of rows at a time.
class DelimitedTableWriter : public TableWriter {
public:
    DelimitedTableWriter(ITextWriter& out, const DelimitedOptions& options, const ListViewInfo& lvInfo,
                         IGridSource& capture, const std::vector<const cReplaceList*>& rules,
                         const NumberFormat& format);

    // The byte-order mark (UTF-8) and the header row.
    void begin() override;
    void end() override;

private:
    void writeRow(std::int32_t row, const std::wstring* cells) override;
    // Writes the record in fields_; `row` 0 is the header. Raises zav::Error for a character the
    // ANSI code page lacks, naming its cell.
    void writeRecord(std::int32_t row);

    ITextWriter& out_;
    DelimitedOptions options_;
    NumberFormat format_;
    std::vector<std::wstring> fields_;  // of the record being written, after rules
    std::wstring line_;
};

}  // namespace zav
