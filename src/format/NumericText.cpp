#include "format/NumericText.h"

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
    // Signs and brackets around the number.
    bool leadingPlus = false;   // a plus sign stood before it: no second one before, none after
    bool leadingMinus = false;  // a minus sign stood before it: no second one before, none after
    bool negative = false;      // a minus sign (before or after) or the closing bracket made it negative
    bool parens = false;        // "(" stood before it: without ")" after it, the text is no number
    // The kind of number.
    bool currency = false;      // the currency symbol or a currency separator was taken: no exponent
                                // may follow, and no second symbol before the number
    bool decimal = false;       // the decimal point was taken: each digit after it lowers power10
    bool exponent = false;      // an "E" was taken (one at most; none after the currency symbol)
    bool hexOct = false;        // "&H" or "&O" came first: no separators, point or exponent count
    bool hex = false;           // "&H": the letters A to F are digits too
    bool oct = false;           // "&O": an 8 or 9 ends the digits
    bool leadingZero = false;   // zeros were passed before the first significant digit, so "0",
                                // "000" and ".0" are numbers though no digit was kept
    // The exponent while it is read.
    bool inExponent = false;        // after "E" and before its digits: its sign may come; a text
                                    // that ends here is no number
    bool negativeExponent = false;  // the exponent's sign was minus
    // Digits past kMaxDigits.
    bool inexact = false;       // some were dropped (they only raised or lowered power10)
    bool inexactZeros = true;   // every dropped one was 0: nothing was lost after all
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

// One pass over the text, left to right, in the conversion's own order: the symbols and blanks
// before the number, a radix prefix, the digits with their separators, point and exponent, and the
// symbols and blanks after it. Each step leaves the position on the first character it did not take.
class Scanner {
public:
    Scanner(const std::wstring& text, const NumberFormat& f, Scan& s)
        : text_(text),
          f_(f),
          s_(s),
          thousands_(f.thousandsSeparator == f.decimalSeparator ? L'\0' : f.thousandsSeparator),
          // A non-breaking space as separator lets ordinary blanks separate thousands too.
          thousands2_(thousands_ == 0xA0 ? L' ' : L'\0'),
          curThousands_(f.currencyThousandsSeparator),
          n_(text.size()) {}

    // False when the text's form is not a number.
    bool scan() {
        if (!leadingSymbols()) return false;
        radixPrefix();
        skipLeadingZeros();
        if (!digits()) return false;
        if (!settleDigits()) return false;
        trailingSymbols();
        if (s_.parens && !s_.negative) return false;  // "(" without ")"
        if (p_ < n_) return false;                      // something is left over
        return s_.digitCount > 0;
    }

private:
    wchar_t at(std::size_t i) const { return i < n_ ? text_[i] : L'\0'; }
    bool isDecimalPoint(wchar_t c) const {
        return c != L'\0' && (c == f_.decimalSeparator || c == f_.currencyDecimalSeparator);
    }
    bool isThousands(wchar_t c) const { return c != L'\0' && (c == thousands_ || c == thousands2_); }
    bool isCurThousands(wchar_t c) const { return c != L'\0' && c == curThousands_; }

    // The decimal point at the position: a currency decimal separator marks a currency amount.
    void takeDecimalPoint(wchar_t c) {
        s_.decimal = true;
        if (c == f_.currencyDecimalSeparator && f_.decimalSeparator != f_.currencyDecimalSeparator) s_.currency = true;
    }
    // The zeros right after the decimal point at the position: they only lower the exponent. The
    // position stays on the last one (on the point when there are none).
    void skipZerosAfterPoint() {
        while (at(p_ + 1) == L'0') {
            s_.leadingZero = true;
            ++p_;
            s_.power10 = wrapAdd(s_.power10, -1);
        }
    }

    // Blanks, signs, the currency symbol and "(" before the number, up to its first digit (a
    // decimal point and its zeros end them too). False when a thousands separator comes first.
    bool leadingSymbols() {
        for (;;) {
            const wchar_t c = at(p_);
            if (c == L'\0') break;
            if (isDecimalPoint(c)) {
                takeDecimalPoint(c);
                skipZerosAfterPoint();
                ++p_;
                break;
            } else if (isSpaceChar(c)) {
                while (isSpaceChar(at(p_))) ++p_;
            } else if (isThousands(c) || isCurThousands(c)) {
                return false;  // not before the first digit
            } else if (c == f_.positiveSign && !s_.leadingPlus) {
                s_.leadingPlus = true;
                ++p_;
            } else if (c == f_.negativeSign && !s_.leadingMinus) {
                s_.leadingMinus = s_.negative = true;
                ++p_;
            } else if (!s_.currency && matchesAt(text_, p_, f_.currency)) {
                s_.currency = true;
                p_ += f_.currency.size();
            } else if (c == L'(' && !s_.parens) {
                s_.parens = true;
                ++p_;
            } else {
                break;
            }
        }
        return true;
    }

    // "&H" or "&O", unless a currency symbol or a decimal point came first.
    void radixPrefix() {
        if (s_.currency || s_.decimal || at(p_) != L'&') return;
        const wchar_t kind = at(p_ + 1);
        if (kind == L'H' || kind == L'h') s_.hex = true;
        if (kind == L'O' || kind == L'o') s_.oct = true;
        if (s_.hex || s_.oct) {
            s_.hexOct = true;
            p_ += 2;
        }
    }

    void skipLeadingZeros() {
        while (at(p_) == L'0') {
            s_.leadingZero = true;
            ++p_;
        }
    }

    // The digits, with the separators, the decimal point and the exponent among them. False when
    // a hexadecimal number has more digits than are kept.
    bool digits() {
        for (; p_ < n_; ++p_) {
            const wchar_t c = text_[p_];
            if (isDecimalDigit(c)) {
                if (s_.inExponent) {
                    exponentDigits();
                    continue;
                }
                if (!takeDigit(c)) break;
            } else if (!s_.hexOct && isThousands(c)) {
                // taken anywhere inside the number
            } else if (!s_.hexOct && isCurThousands(c)) {
                s_.currency = true;
            } else if (isDecimalPoint(c) && !s_.hexOct && !s_.decimal && !s_.exponent) {
                takeDecimalPoint(c);
                if (s_.digitCount == 0) skipZerosAfterPoint();
            } else if (s_.hex && hexDigit(c) >= 10) {
                if (s_.digitCount >= kMaxDigits) return false;
                s_.digits[s_.digitCount++] = static_cast<unsigned char>(hexDigit(c));
            } else if ((c == L'e' || c == L'E') && !s_.hexOct && !s_.currency && !s_.exponent) {
                s_.inExponent = true;
                s_.exponent = true;
            } else if (s_.inExponent && c == f_.positiveSign) {
                // an exponent's plus sign changes nothing
            } else if (s_.inExponent && c == f_.negativeSign) {
                s_.negativeExponent = true;
            } else {
                break;
            }
        }
        return true;
    }

    // One decimal digit of the number (not of its exponent); false for an 8 or 9 of an octal
    // number, which ends it. Past kMaxDigits a digit only moves the exponent.
    bool takeDigit(wchar_t c) {
        if (s_.digitCount >= kMaxDigits && !s_.hexOct) {
            s_.inexact = true;
            if (c != L'0') s_.inexactZeros = false;
            s_.power10 = wrapAdd(s_.power10, s_.decimal ? -1 : 1);
        } else {
            if (s_.oct && (c == L'8' || c == L'9')) return false;
            if (s_.decimal) s_.power10 = wrapAdd(s_.power10, -1);
            if (s_.digitCount < kMaxDigits) s_.digits[s_.digitCount] = static_cast<unsigned char>(c - L'0');
        }
        ++s_.digitCount;
        return true;
    }

    // The exponent's digits, added to power10; the position stays on the last of them, where the
    // loop of digits() steps on.
    void exponentDigits() {
        std::int32_t value = 0;
        while (at(p_) == L'0') ++p_;
        while (isDecimalDigit(at(p_))) {
            value = wrapAdd(wrapMul10(value), at(p_) - L'0');
            ++p_;
        }
        if (s_.negativeExponent) value = static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(value));
        s_.power10 = wrapAdd(s_.power10, value);
        s_.inExponent = false;
        --p_;
    }

    // Zeros only still make the number 0; trailing zeros of an exact number move into power10.
    // False for an "E" without its digits.
    bool settleDigits() {
        if (s_.digitCount == 0 && s_.leadingZero) {
            s_.digitCount = 1;
            s_.digits[0] = 0;
        }
        if (s_.exponent && s_.inExponent) return false;

        if (s_.inexact) {
            if (s_.inexactZeros) s_.inexact = false;
        } else if (!s_.hexOct) {
            while (s_.digitCount > 1 && s_.digits[s_.digitCount - 1] == 0) {
                s_.power10 = wrapAdd(s_.power10, 1);
                --s_.digitCount;
            }
        }
        if (s_.digitCount > kMaxDigits) s_.digitCount = kMaxDigits;
        return true;
    }

    // Separators, blanks, signs, ")" and the currency symbol after the number.
    void trailingSymbols() {
        for (;;) {
            const wchar_t c = at(p_);
            if (c == L'\0') break;
            if (isThousands(c)) {
                if (s_.hexOct) break;
                ++p_;
            } else if (isCurThousands(c)) {
                if (s_.hexOct) break;
                s_.currency = true;
                ++p_;
            } else if (isSpaceChar(c)) {
                while (isSpaceChar(at(p_))) ++p_;
            } else if (c == f_.positiveSign && !s_.leadingPlus) {
                ++p_;
            } else if (c == f_.negativeSign && !s_.leadingMinus) {
                s_.negative = true;
                ++p_;
            } else if (c == L')' && s_.parens) {
                s_.negative = true;
                ++p_;
            } else if (!s_.hexOct && matchesAt(text_, p_, f_.currency)) {
                s_.currency = true;
                p_ += f_.currency.size();
            } else {
                break;
            }
        }
    }

    const std::wstring& text_;
    const NumberFormat& f_;
    Scan& s_;
    const wchar_t thousands_, thousands2_, curThousands_;
    const std::size_t n_;
    std::size_t p_ = 0;
};

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

bool isNumericText(const std::wstring& text, const NumberFormat& format) {
    // The common case first: a short run of plain digits.
    if (!text.empty() && text.size() < 10) {
        bool plain = true;
        for (wchar_t c : text)
            if (!isDecimalDigit(c)) plain = false;
        if (plain) return true;
    }
    Scan scan;
    if (!Scanner(text, format, scan).scan()) return false;
    return fitsDouble(scan);
}

}  // namespace zav
