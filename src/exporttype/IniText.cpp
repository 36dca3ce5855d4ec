#include "exporttype/IniText.h"

#include "text/Ansi.h"

namespace zav {
namespace {

const wchar_t kHex[] = L"0123456789ABCDEF";

void appendEscape(std::wstring& out, wchar_t c) {
    auto code = static_cast<unsigned long>(c);
    if (code > 0xFFFF) {
        // A code point beyond the basic plane in a four-byte wide character: written as the
        // surrogate pair that two-byte wide characters hold, so that both builds write one file.
        code -= 0x10000;
        appendEscape(out, static_cast<wchar_t>(0xD800 + (code >> 10)));
        appendEscape(out, static_cast<wchar_t>(0xDC00 + (code & 0x3FF)));
        return;
    }
    if (code < 0x100) {
        out += L'%';
        out += kHex[(code >> 4) & 0xF];
        out += kHex[code & 0xF];
    } else {
        out += L"%u";
        for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(code >> shift) & 0xF];
    }
}

// Blanks that the profile functions trim at either end of a key or value.
bool isEdgeBlank(wchar_t c) { return c == L' ' || c == 0xA0; }

// True when the ANSI code page holds the character, so that it reaches the file unchanged.
bool survivesAnsi(wchar_t c) {
    if (static_cast<unsigned long>(c) < 0x80) return true;
    const std::wstring one(1, c);
    return fromAnsi(toAnsi(one)) == one;
}

enum class Kind { Value, Rule, Section };

std::wstring encode(const std::wstring& text, Kind kind) {
    std::wstring out;
    out.reserve(text.size() + 8);
    const std::size_t last = text.size() - 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        bool escape = c == L'%' || static_cast<unsigned long>(c) < 0x20 || c == 0x7F || !survivesAnsi(c);
        if ((i == 0 || i == last) && isEdgeBlank(c)) escape = true;
        if (i == 0 && (c == L'"' || c == L'\'' || c == L'[' || c == L';')) escape = true;
        if (kind == Kind::Rule && c == L'=') escape = true;
        if (kind == Kind::Section && (c == L'[' || c == L']' || c == L';')) escape = true;
        if (escape)
            appendEscape(out, c);
        else
            out += c;
    }
    return out;
}

int hexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return -1;
}

// Value of `count` hexadecimal digits at text[pos], or -1.
long hexRun(const std::wstring& text, std::size_t pos, std::size_t count) {
    if (pos + count > text.size()) return -1;
    long value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        int digit = hexValue(text[pos + i]);
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    return value;
}

}  // namespace

std::wstring encodeIniValue(const std::wstring& text) { return encode(text, Kind::Value); }

std::wstring encodeIniRuleKey(const std::wstring& text) {
    return text.empty() ? std::wstring(L"%") : encode(text, Kind::Rule);
}

std::wstring encodeIniRuleValue(const std::wstring& text) { return encode(text, Kind::Rule); }

std::wstring encodeIniSectionName(const std::wstring& text) {
    if (text.empty()) return L"%";
    std::wstring out = encode(text, Kind::Section);
    if (equalsNoCase(out, L"General") || equalsNoCase(out, L"FileInfo")) {
        std::wstring first;
        appendEscape(first, out[0]);
        out = first + out.substr(1);
    }
    return out;
}

std::wstring decodeIniText(const std::wstring& text) {
    if (text == L"%") return {};
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'%') {
            long code = -1;
            if (i + 1 < text.size() && text[i + 1] == L'u') {
                code = hexRun(text, i + 2, 4);
                if (code >= 0) {
                    i += 5;
                    // Four-byte wide characters hold a surrogate pair's code point whole.
                    const bool pairFollows = code >= 0xD800 && code <= 0xDBFF && i + 2 < text.size() &&
                                             text[i + 1] == L'%' && text[i + 2] == L'u';
                    const long low = pairFollows ? hexRun(text, i + 3, 4) : -1;
                    if (sizeof(wchar_t) > 2 && low >= 0xDC00 && low <= 0xDFFF) {
                        out += static_cast<wchar_t>(0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00));
                        i += 6;
                        continue;
                    }
                    out += static_cast<wchar_t>(code);
                    continue;
                }
            }
            code = hexRun(text, i + 1, 2);
            if (code >= 0) {
                out += static_cast<wchar_t>(code);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

}  // namespace zav
