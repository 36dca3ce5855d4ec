#include "text/Ansi.h"
#include "text/Utf16.h"

namespace zav {
namespace {

void appendReference(std::wstring& out, char32_t codePoint) {
    out += L"&#";
    out += std::to_wstring(static_cast<unsigned long>(codePoint));
    out += L';';
}

}  // namespace

void appendWithReferences(std::wstring& out, const std::wstring& text) {
    out.reserve(out.size() + text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (static_cast<char32_t>(text[i]) < 0x80) {
            out.push_back(text[i]);
            continue;
        }
        // Two-byte wide characters carry a code point beyond the basic plane as a surrogate pair;
        // four-byte ones carry it whole, and a surrogate value there is always a lone one.
        const char32_t codePoint = wellFormed(codePointAt(text, i));
        if (codePoint <= 0xFFFF && ansiHolds(codePoint))
            out.push_back(static_cast<wchar_t>(codePoint));
        else
            appendReference(out, codePoint);
    }
}

std::wstring withReferences(const std::wstring& text) {
    std::wstring out;
    appendWithReferences(out, text);
    return out;
}

}  // namespace zav
