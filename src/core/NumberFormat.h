// The characters of a locale that take part in a number, as the platform's text-to-number
// conversion reads them. The host gives the user's (IHost::numberFormat); everything that asks
// whether a text is a number is handed one.
#pragma once

#include <string>

namespace zav {

struct NumberFormat {
    wchar_t negativeSign = L'-';
    wchar_t positiveSign = L'+';
    wchar_t decimalSeparator = L'.';
    wchar_t thousandsSeparator = L',';
    wchar_t currencyDecimalSeparator = L'.';
    wchar_t currencyThousandsSeparator = L',';
    std::wstring currency = L"$";
};

// English (United States): the characters above.
inline NumberFormat usEnglishNumberFormat() { return NumberFormat{}; }

}  // namespace zav
