#include "format/ClipboardWriter.h"

#include <cstdio>

#include "text/Utf8.h"

namespace zav {
namespace {

constexpr const char* kStartMarker = "<!--StartFragment-->";
constexpr const char* kEndMarker = "<!--EndFragment-->";

std::string offsetText(std::size_t offset) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%010lu", static_cast<unsigned long>(offset));
    return digits;
}

}  // namespace

void appendClipboardCell(std::wstring& out, const std::wstring& text) {
    if (text.find_first_of(L"\t\r\n\"") == std::wstring::npos) {
        out += text;
        return;
    }
    out += L'"';
    for (wchar_t c : text) {
        if (c == L'"') out += L'"';
        out += c;
    }
    out += L'"';
}

std::string clipboardHtml(const std::string& fragment) {
    const std::string before = std::string("<html><head><meta charset=\"utf-8\"></head><body>\r\n") + kStartMarker;
    const std::string after = std::string(kEndMarker) + "\r\n</body></html>";
    // The offsets are written with ten digits each, so the header's length does not depend on them.
    auto header = [](std::size_t startHtml, std::size_t endHtml, std::size_t startFragment, std::size_t endFragment) {
        return "Version:0.9\r\nStartHTML:" + offsetText(startHtml) + "\r\nEndHTML:" + offsetText(endHtml) +
               "\r\nStartFragment:" + offsetText(startFragment) + "\r\nEndFragment:" + offsetText(endFragment) +
               "\r\n";
    };
    const std::size_t startHtml = header(0, 0, 0, 0).size();
    const std::size_t startFragment = startHtml + before.size();
    const std::size_t endFragment = startFragment + fragment.size();
    const std::size_t endHtml = endFragment + after.size();
    std::string data = header(startHtml, endHtml, startFragment, endFragment);
    data.reserve(endHtml);
    data += before;
    data += fragment;
    data += after;
    return data;
}

ClipboardTableWriter::ClipboardTableWriter(const ListViewInfo& lvInfo, IGridSource& capture,
                               const std::vector<const cReplaceList*>& rules, const NumberFormat& format)
    : TableWriter(lvInfo, capture, rules, format) {}

void ClipboardTableWriter::writeRecord() {
    table_ += L"<tr>";
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (i > 0) text_ += L'\t';
        appendClipboardCell(text_, fields_[i]);
        table_ += L"<td>";
        appendHtmlEscaped(table_, fields_[i]);
        table_ += L"</td>";
    }
    text_ += L"\r\n";
    table_ += L"</tr>\r\n";
}

void ClipboardTableWriter::begin() {
    text_.clear();
    html_.clear();
    table_.assign(L"<table>\r\n");
    fields_.clear();
    for (std::int32_t c : shown()) fields_.push_back(headerText(c));
    writeRecord();
}

void ClipboardTableWriter::writeRow(std::int32_t, const std::wstring* cells) {
    fields_.clear();
    for (std::int32_t c : shown()) {
        // The check box's "Yes" or "No" too, as the files have it.
        const std::wstring* text = cellOf(c, cells);
        fields_.push_back(text ? formatter_.plainCell(*text, rulesOf(c)) : std::wstring());
    }
    writeRecord();
}

void ClipboardTableWriter::end() {
    table_ += L"</table>";
    html_ = clipboardHtml(toUtf8(table_));
    table_.clear();
    table_.shrink_to_fit();
}

}  // namespace zav
