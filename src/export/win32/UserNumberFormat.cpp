#include <windows.h>

#include "export/NumericText.h"
#include "text/Ansi.h"

namespace zav {
namespace {

// The locale text of `type`, or empty when the system gives none.
std::wstring localeText(LCTYPE type) {
    char buffer[16] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer) == 0) return {};
    return fromAnsi(buffer);
}

// The first character of a locale text replaces the default when there is one.
void takeFirst(wchar_t& target, LCTYPE type) {
    std::wstring text = localeText(type);
    if (!text.empty()) target = text[0];
}

}  // namespace

NumberFormat userNumberFormat() {
    NumberFormat format = usEnglishNumberFormat();
    takeFirst(format.negativeSign, LOCALE_SNEGATIVESIGN);
    takeFirst(format.positiveSign, LOCALE_SPOSITIVESIGN);
    takeFirst(format.decimalSeparator, LOCALE_SDECIMAL);
    takeFirst(format.thousandsSeparator, LOCALE_STHOUSAND);
    takeFirst(format.currencyDecimalSeparator, LOCALE_SMONDECIMALSEP);
    takeFirst(format.currencyThousandsSeparator, LOCALE_SMONTHOUSANDSEP);
    // The conversion looks at no more than seven characters of the symbol; a longer or missing
    // one stands as "$".
    std::wstring currency = localeText(LOCALE_SCURRENCY);
    format.currency = currency.empty() || currency.size() > 7 ? std::wstring(L"$") : currency;
    return format;
}

}  // namespace zav
