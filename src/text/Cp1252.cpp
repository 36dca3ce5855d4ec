#include "text/Ansi.h"

#include <cwctype>

namespace zav {
namespace {

// 0x80..0x9F of code page 1252; the five undefined bytes map to the C1 control of the same value,
// as the system's own table does.
constexpr wchar_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char encodeOne(wchar_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}

}  // namespace

std::string toCp1252(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) out.push_back(encodeOne(c));
    return out;
}

std::wstring fromCp1252(const std::string& bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        auto b = static_cast<unsigned char>(ch);
        out.push_back(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : static_cast<wchar_t>(b));
    }
    return out;
}

wchar_t upperChar(wchar_t c) {
    if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - 32);
    if (c < 0x80) return c;
    // Latin-1 lower-case letters (except the division sign and y-diaeresis) and the few 1252 extras.
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<wchar_t>(c - 32);
    switch (c) {
        case 0x00FF: return 0x0178;
        case 0x0161: return 0x0160;
        case 0x0153: return 0x0152;
        case 0x017E: return 0x017D;
        default: return c;
    }
}

wchar_t lowerChar(wchar_t c) {
    if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c + 32);
    if (c < 0x80) return c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<wchar_t>(c + 32);
    switch (c) {
        case 0x0178: return 0x00FF;
        case 0x0160: return 0x0161;
        case 0x0152: return 0x0153;
        case 0x017D: return 0x017E;
        default: return c;
    }
}

std::wstring upperCase(const std::wstring& s) {
    std::wstring out(s);
    for (auto& c : out) c = upperChar(c);
    return out;
}

bool equalsNoCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upperChar(a[i]) != upperChar(b[i])) return false;
    return true;
}

std::wstring fromAnsi(const char* bytes, std::size_t length) {
    std::size_t n = 0;
    while (n < length && bytes[n] != '\0') ++n;
    return fromAnsi(std::string(bytes, n));
}

}  // namespace zav
