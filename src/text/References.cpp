#include "text/Ansi.h"

namespace zav {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isHighSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool isLowSurrogate(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

void appendReference(std::wstring& out, char32_t codePoint) {
    out += L"&#";
    out += std::to_wstring(static_cast<unsigned long>(codePoint));
    out += L';';
}

}  // namespace

void appendWithReferences(std::wstring& out, const std::wstring& text) {
    out.reserve(out.size() + text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t unit = static_cast<char32_t>(text[i]);
        if (unit < 0x80) {
            out.push_back(text[i]);
            continue;
        }
        char32_t codePoint = unit;
        // Two-byte wide characters carry a code point beyond the basic plane as a surrogate pair;
        // four-byte ones carry it whole, and a surrogate value there is always a lone one.
        if (isHighSurrogate(unit) && sizeof(wchar_t) == 2 && i + 1 < text.size() &&
            isLowSurrogate(static_cast<char32_t>(text[i + 1]))) {
            codePoint = 0x10000 + ((unit - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00);
            ++i;
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit) || unit > 0x10FFFF) {
            codePoint = kReplacement;
        }
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
