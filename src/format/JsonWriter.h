// The JSON writer: one array holding an object per row, keyed by the columns' unique names (as the
// column list names them: a repeated header text gets a number), every cell a string after its
// column's rules. UTF-8 without a byte-order mark, one row a line. Nothing is lost: a character
// JSON cannot carry as it is (a control character, a surrogate without its pair) is written as
// its escape.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "capture/GridSource.h"
#include "format/TableWriter.h"
#include "ini/FileSystem.h"

namespace zav {

// Appends the text as a JSON string, quotes included: '"' and '\' escaped, control characters as
// \n, \r, \t, \b, \f or \u00XX, and a lone surrogate as \uXXXX.
void appendJsonString(std::wstring& out, const std::wstring& text);

class JsonTableWriter : public TableWriter {
public:
    JsonTableWriter(ITextWriter& out, const ListViewInfo& lvInfo, IGridSource& capture,
                    const std::vector<const cReplaceList*>& rules, const NumberFormat& format);

    void begin() override;
    void end() override;

private:
    void writeRow(std::int32_t row, const std::wstring* cells) override;

    ITextWriter& out_;
    std::vector<std::wstring> names_;  // the unique names of the list's columns, 1-based (0 unused)
    std::vector<std::wstring> keys_;   // of the columns shown, each as a JSON string
    std::wstring line_;
    bool firstRow_ = true;
};

}  // namespace zav
