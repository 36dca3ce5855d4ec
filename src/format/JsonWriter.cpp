#include "format/JsonWriter.h"

#include <cstdio>

#include "text/Ansi.h"
#include "text/Utf16.h"
#include "text/Utf8.h"

namespace zav {

void appendJsonString(std::wstring& out, const std::wstring& text) {
    out += L'"';
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        switch (c) {
            case L'"': out += L"\\\""; continue;
            case L'\\': out += L"\\\\"; continue;
            case L'\n': out += L"\\n"; continue;
            case L'\r': out += L"\\r"; continue;
            case L'\t': out += L"\\t"; continue;
            case L'\b': out += L"\\b"; continue;
            case L'\f': out += L"\\f"; continue;
            default: break;
        }
        const std::size_t at = i;
        const char32_t cp = codePointAt(text, i);
        if (cp < 0x20 || isHighSurrogate(cp) || isLowSurrogate(cp)) {
            wchar_t escape[8];
            std::swprintf(escape, 8, L"\\u%04X", static_cast<unsigned>(cp));
            out += escape;
        } else {
            out.append(text, at, i - at + 1);
        }
    }
    out += L'"';
}

JsonTableWriter::JsonTableWriter(ITextWriter& out, const ListViewInfo& lvInfo, IGridSource& capture,
                                 const std::vector<const cReplaceList*>& rules, const NumberFormat& format)
    : TableWriter(lvInfo, capture, rules, format), out_(out) {
    names_ = uniqueColumnNames(lvInfo);
    names_.insert(names_.begin(), std::wstring());
}

void JsonTableWriter::begin() {
    // The check boxes' column takes "Checked" unless a column of the list is named so already.
    std::wstring checked = L"Checked";
    const auto taken = [&](const std::wstring& name) {
        for (const auto& n : names_)
            if (n.size() == name.size() && equalsNoCase(n, name)) return true;
        return false;
    };
    for (std::int32_t n = 1; taken(checked); ++n) checked = L"Checked" + std::to_wstring(n);
    keys_.clear();
    for (std::int32_t c : shown()) {
        std::wstring key;
        const auto index = static_cast<std::size_t>(c);
        appendJsonString(key, c == kCheckedColumn ? checked : index < names_.size() ? names_[index] : std::wstring());
        keys_.push_back(std::move(key));
    }
    out_.writeRaw("[");
}

void JsonTableWriter::writeRow(std::int32_t, const std::wstring* cells) {
    line_.assign(firstRow_ ? L"\r\n{" : L",\r\n{");
    firstRow_ = false;
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        if (i > 0) line_ += L',';
        line_ += keys_[i];
        line_ += L':';
        const std::int32_t c = shown()[i];
        const std::wstring* text = cellOf(c, cells);
        appendJsonString(line_, text ? formatter_.plainCell(*text, rulesOf(c)) : std::wstring());
    }
    line_ += L'}';
    out_.writeRaw(toUtf8(line_));
}

void JsonTableWriter::end() { out_.writeRaw("\r\n]\r\n"); }

}  // namespace zav
