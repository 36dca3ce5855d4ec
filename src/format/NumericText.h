// Whether a text reads as a number, by the rules of the platform's automation text-to-number
// conversion (text to double) under a locale: blanks around it, a sign before or after, or
// parentheses for a negative number, the locale's decimal and thousands separators, an exponent,
// the currency symbol, or a hexadecimal (&H) or octal (&O) number. The replace rules of the HTML
// writer match a numeric cell only as a whole.
#pragma once

#include <string>

#include "core/NumberFormat.h"

namespace zav {

// True when the whole text converts to a double under `format` (an overflow is no number).
bool isNumericText(const std::wstring& text, const NumberFormat& format);

}  // namespace zav
