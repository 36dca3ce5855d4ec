#include "text/Utf8.h"

#include "text/Utf16.h"

namespace zav {
namespace {

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void appendWide(std::wstring& out, char32_t c) {
    if (c >= 0x10000 && sizeof(wchar_t) == 2) {
        c -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (c >> 10));
        out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
    } else {
        out += static_cast<wchar_t>(c);
    }
}

}  // namespace

std::string toUtf8(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) appendUtf8(out, wellFormed(codePointAt(text, i)));
    return out;
}

std::wstring fromUtf8(const std::string& bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n;) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        std::size_t length = b < 0x80 ? 1 : b >= 0xC2 && b < 0xE0 ? 2 : b >= 0xE0 && b < 0xF0 ? 3
                                                                 : b >= 0xF0 && b < 0xF5 ? 4 : 0;
        char32_t c = length == 1 ? b : length == 2 ? (b & 0x1F) : length == 3 ? (b & 0x0F) : (b & 0x07);
        bool good = length != 0 && i + length <= n;
        for (std::size_t k = 1; good && k < length; ++k) {
            const auto t = static_cast<unsigned char>(bytes[i + k]);
            if ((t & 0xC0) != 0x80) good = false;
            c = (c << 6) | (t & 0x3F);
        }
        // Overlong forms, surrogates and values beyond U+10FFFF are not well formed.
        if (good && ((length == 3 && c < 0x800) || (length == 4 && (c < 0x10000 || c > 0x10FFFF)) ||
                     isHighSurrogate(c) || isLowSurrogate(c)))
            good = false;
        if (!good) {
            out += static_cast<wchar_t>(kReplacementCharacter);
            ++i;
            continue;
        }
        appendWide(out, c);
        i += length;
    }
    return out;
}

}  // namespace zav
