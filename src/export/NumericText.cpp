#include "export/NumericText.h"

#include <cfloat>
#include <cstdint>

namespace zav {
namespace {

// Characters the conversion skips as blanks (the platform's space class, as far as it can
// come from an ANSI code page, and the wide blanks).
bool isSpaceChar(wchar_t c) {
    if (c == L' ' || (c >= 0x09 && c <= 0x0D) || c == 0xA0) return true;
    const auto u = static_cast<unsigned long>(c);
    return u == 0x85 || u == 0x1680 || (u >= 0x2000 && u <= 0x200A) || u == 0x2028 || u == 0x2029 ||
           u == 0x202F || u == 0x205F || u == 0x3000;
}

bool isDecimalDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

int hexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// At most this many digits count; further ones only move the decimal exponent.
constexpr int kMaxDigits = 1024;

// Everything the scan finds out about the text.
struct Scan {
    bool leadingPlus = false, leadingMinus = false, negative = false, parens = false;
    bool currency = false, decimal = false, exponent = false, hexOct = false;
    bool hex = false, oct = false, leadingZero = false, inExponent = false, exponentStart = false;
    bool negativeExponent = false, inexact = false, inexactZeros = true;
    int digitCount = 0;     // digits taken (may pass kMaxDigits)
    std::int32_t power10 = 0;
    unsigned char digits[kMaxDigits];  // only the first digitCount are set
};

bool matchesAt(const std::wstring& text, std::size_t pos, const std::wstring& what) {
    return !what.empty() && text.compare(pos, what.size(), what) == 0;
}

// Wrapping 32-bit arithmetic, as the conversion's own integer exponent behaves.
std::int32_t wrapAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
std::int32_t wrapMul10(std::int32_t a) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * 10u);
}

// Scans the text; false when its form is not a number.
bool scanNumber(const std::wstring& text, const NumberFormat& f, Scan& s) {
    const wchar_t thousands = f.thousandsSeparator == f.decimalSeparator ? L'\0' : f.thousandsSeparator;
    // A non-breaking space as separator lets ordinary blanks separate thousands too.
    const wchar_t thousands2 = thousands == 0xA0 ? L' ' : L'\0';
    const wchar_t curThousands = f.currencyThousandsSeparator;
    auto isDecimalPoint = [&](wchar_t c) {
        return c != L'\0' && (c == f.decimalSeparator || c == f.currencyDecimalSeparator);
    };
    auto isThousands = [&](wchar_t c) {
        return c != L'\0' && (c == thousands || c == thousands2);
    };
    auto isCurThousands = [&](wchar_t c) { return c != L'\0' && c == curThousands; };

    const std::size_t n = text.size();
    std::size_t p = 0;
    auto at = [&](std::size_t i) { return i < n ? text[i] : L'\0'; };

    auto takeDecimalPoint = [&](wchar_t c) {
        s.decimal = true;
        if (c == f.currencyDecimalSeparator && f.decimalSeparator != f.currencyDecimalSeparator) s.currency = true;
    };

    // Leading symbols and blanks.
    for (;;) {
        const wchar_t c = at(p);
        if (c == L'\0') break;
        if (isDecimalPoint(c)) {
            takeDecimalPoint(c);
            ++p;
            while (at(p) == L'0') {
                s.leadingZero = true;
                ++p;
                s.power10 = wrapAdd(s.power10, -1);
            }
            break;
        } else if (isSpaceChar(c)) {
            while (isSpaceChar(at(p))) ++p;
        } else if (isThousands(c) || isCurThousands(c)) {
            return false;  // not before the first digit
        } else if (c == f.positiveSign && !s.leadingPlus) {
            s.leadingPlus = true;
            ++p;
        } else if (c == f.negativeSign && !s.leadingMinus) {
            s.leadingMinus = s.negative = true;
            ++p;
        } else if (!s.currency && matchesAt(text, p, f.currency)) {
            s.currency = true;
            p += f.currency.size();
        } else if (c == L'(' && !s.parens) {
            s.parens = true;
            ++p;
        } else {
            break;
        }
    }

    if (!s.currency && !s.decimal && at(p) == L'&') {
        const wchar_t kind = at(p + 1);
        if (kind == L'H' || kind == L'h') s.hex = true;
        if (kind == L'O' || kind == L'o') s.oct = true;
        if (s.hex || s.oct) {
            s.hexOct = true;
            p += 2;
        }
    }

    while (at(p) == L'0') {
        s.leadingZero = true;
        ++p;
    }

    s.exponentStart = true;
    for (; p < n; ++p) {
        const wchar_t c = text[p];
        if (isDecimalDigit(c)) {
            if (s.inExponent) {
                std::int32_t value = 0;
                while (at(p) == L'0') ++p;
                while (isDecimalDigit(at(p))) {
                    value = wrapAdd(wrapMul10(value), at(p) - L'0');
                    ++p;
                }
                if (s.negativeExponent) value = static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(value));
                s.power10 = wrapAdd(s.power10, value);
                s.inExponent = false;
                s.exponentStart = false;
                --p;  // the loop steps onto the character after the exponent
                continue;
            }
            if (s.digitCount >= kMaxDigits && !s.hexOct) {
                s.inexact = true;
                if (c != L'0') s.inexactZeros = false;
                s.power10 = wrapAdd(s.power10, s.decimal ? -1 : 1);
            } else {
                if (s.oct && (c == L'8' || c == L'9')) break;
                if (s.decimal) s.power10 = wrapAdd(s.power10, -1);
                if (s.digitCount < kMaxDigits) s.digits[s.digitCount] = static_cast<unsigned char>(c - L'0');
            }
            ++s.digitCount;
        } else if (!s.hexOct && isThousands(c)) {
            // taken anywhere inside the number
        } else if (!s.hexOct && isCurThousands(c)) {
            s.currency = true;
        } else if (isDecimalPoint(c) && !s.hexOct && !s.decimal && !s.exponent) {
            takeDecimalPoint(c);
            if (s.digitCount == 0) {
                while (at(p + 1) == L'0') {
                    s.leadingZero = true;
                    ++p;
                    s.power10 = wrapAdd(s.power10, -1);
                }
            }
        } else if (s.hex && hexDigit(c) >= 10) {
            if (s.digitCount >= kMaxDigits) return false;
            s.digits[s.digitCount++] = static_cast<unsigned char>(hexDigit(c));
        } else if ((c == L'e' || c == L'E') && !s.hexOct && !s.currency && !s.exponent) {
            s.inExponent = true;
            s.exponent = true;
        } else if (s.inExponent && c == f.positiveSign) {
            // an exponent's plus sign changes nothing
        } else if (s.inExponent && c == f.negativeSign) {
            s.negativeExponent = true;
        } else {
            break;
        }
    }

    if (s.digitCount == 0 && s.leadingZero) {
        s.digitCount = 1;
        s.digits[0] = 0;
    }
    if (s.exponent && s.inExponent) return false;  // "E" without its digits

    if (s.inexact) {
        if (s.inexactZeros) s.inexact = false;
    } else if (!s.hexOct) {
        while (s.digitCount > 1 && s.digits[s.digitCount - 1] == 0) {
            s.power10 = wrapAdd(s.power10, 1);
            --s.digitCount;
        }
    }
    if (s.digitCount > kMaxDigits) s.digitCount = kMaxDigits;

    // Trailing symbols and blanks.
    for (;;) {
        const wchar_t c = at(p);
        if (c == L'\0') break;
        if (isThousands(c)) {
            if (s.hexOct) break;
            ++p;
        } else if (isCurThousands(c)) {
            if (s.hexOct) break;
            s.currency = true;
            ++p;
        } else if (isSpaceChar(c)) {
            while (isSpaceChar(at(p))) ++p;
        } else if (c == f.positiveSign && !s.leadingPlus) {
            ++p;
        } else if (c == f.negativeSign && !s.leadingMinus) {
            s.negative = true;
            ++p;
        } else if (c == L')' && s.parens) {
            s.negative = true;
            ++p;
        } else if (!s.hexOct && matchesAt(text, p, f.currency)) {
            s.currency = true;
            p += f.currency.size();
        } else {
            break;
        }
    }

    if (s.parens && !s.negative) return false;  // "(" without ")"
    if (p < n) return false;                      // something is left over
    return s.digitCount > 0;
}

// Whether the scanned number fits a double (the conversion's own scaling, step by step).
bool fitsDouble(const Scan& s) {
    if (s.hexOct) {
        const unsigned shift = s.hex ? 4 : 3;
        std::uint64_t value = 0;
        for (int i = 0; i < s.digitCount; ++i) {
            if (value > ((UINT64_MAX >> shift) - s.digits[i])) return false;
            value = (value << shift) + s.digits[i];
        }
        const auto negated = static_cast<std::int64_t>(0u - value);
        return value <= 0x7FFFFFFFu || negated >= INT32_MIN;
    }
    if (s.power10 <= 0) return true;  // division only: an underflow becomes 0
    double whole = 0.0;
    for (int i = 0; i < s.digitCount; ++i) whole = whole * 10.0 + s.digits[i];
    // Limits as constants, so that they are rounded to double once and compared as such.
    static const double multipliers[11] = {1.0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};
    static const double maximums[11] = {DBL_MAX,       DBL_MAX / 1e1, DBL_MAX / 1e2, DBL_MAX / 1e3,
                                        DBL_MAX / 1e4, DBL_MAX / 1e5, DBL_MAX / 1e6, DBL_MAX / 1e7,
                                        DBL_MAX / 1e8, DBL_MAX / 1e9, DBL_MAX / 1e10};
    int multiplier = s.power10;
    while (multiplier > 10) {
        if (whole > maximums[10]) return false;
        whole *= multipliers[10];
        multiplier -= 10;
    }
    return !(whole > maximums[multiplier]);
}

}  // namespace

NumberFormat usEnglishNumberFormat() { return NumberFormat{}; }

bool isNumericText(const std::wstring& text, const NumberFormat& format) {
    // The common case first: a short run of plain digits.
    if (!text.empty() && text.size() < 10) {
        bool plain = true;
        for (wchar_t c : text)
            if (!isDecimalDigit(c)) plain = false;
        if (plain) return true;
    }
    Scan scan;
    if (!scanNumber(text, format, scan)) return false;
    return fitsDouble(scan);
}

}  // namespace zav
