// Our numeric test against the system's own text-to-double conversion (oleaut32's VarR8FromStr)
// under the user's locale: plain and awkward texts, and a seeded mass of random ones.
#include <windows.h>
#include <oleauto.h>

#include <random>

#include <gtest/gtest.h>

#include "TestSupport.h"

#include "core/Platform.h"
#include "format/NumericText.h"

using namespace zav;

namespace {

bool systemSaysNumeric(const std::wstring& text) {
    BSTR b = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
    double value = 0;
    HRESULT hr = VarR8FromStr(b, LOCALE_USER_DEFAULT, 0, &value);
    SysFreeString(b);
    return hr == S_OK;
}

}  // namespace

TEST(NumericTextOnWindows, AwkwardTextsAgreeWithTheSystem) {
    const NumberFormat format = makeSystemHost()->numberFormat();
    const wchar_t* texts[] = {
        L"12", L" 12 ", L"-3.5", L"1,000", L"(7)", L"1E3", L"$5", L"&H1F", L"&O17", L"12 kB", L"abc", L"", L" ", L".", L"-", L"+", L"$", L"()", L"(7", L"7)", L"(-7", L"(7-", L"(7))", L"--7", L"7--", L"+7+", L"7+",
        L"7++", L"-7-", L"+-7", L"-+7", L"1e", L"1e+", L"1e-3", L"1e++3", L"1e+-3", L"1E3E4", L".5", L"5.", L"0",
        L"000", L".0", L".", L"..5", L",5", L"5,", L"1,2,3", L"1.2.3", L"1.5e3", L"1e3.5", L"1e,3", L"1e3,5",
        L"$1e3", L"1e3$", L"5$", L"$5$", L"5$$", L"$$5", L"$-5", L"-$5", L"$(5)", L"($5)", L"&h", L"&H0", L"&HG",
        L"&O8", L"&O7", L"&o78", L"&H1.5", L"-&H10", L"&H-10", L"$&H10", L"&H10$", L"&H10 ", L" &H10", L"&H1,0",
        L"&H80000000", L"&H80000001", L"&HFFFFFFFF", L"&H8000000000000000", L"&H8000000000000001",
        L"&HFFFFFFFFFFFFFFF", L"&HFFFFFFFFFFFFFFFF", L"&H10000000000000000", L"&O1777777777777777777777",
        L"&B101", L"1E308", L"1.7976931348623157E308", L"1.8E308", L"1E309", L"1E-400", L"1E-4000",
        L"1E99999999999", L"1E-99999999999", L"\t12\n", L"\r12\r", L"\v12\f", L"12\xA0", L"\xA0" L"12",
        L"1 000", L"1\xA0" L"000", L"\x1C" L"12", L"12\x1F", L"\x85" L"12", L"0x1F", L"1/2", L"12%", L"\x20AC" L"5",
        L"\xFF11\xFF12", L"1d3", L"1D3", L"Infinity", L"NaN", L"TRUE", L"1:30", L"12/31/2020", L"0.", L"-0",
        L"-.0", L"- 5", L"5 -", L"( 5 )", L"(5 )", L"( 5)", L"1 e3", L"1e 3", L"00001", L"1,,000", L",", L",,1",
        L"1,.5", L"1.,5", L"\x2212" L"5", L"+5", L"\xB1" L"5",
    };
    for (const wchar_t* t : texts) EXPECT_EQ(isNumericText(t, format), systemSaysNumeric(t)) << zavtest::shown(t);

    // Long digit runs: past the conversion's 1024 digits, and a value that overflows only by scaling.
    const std::wstring nines(400, L'9'), ones = L"1" + std::wstring(400, L'0'), longRun(1100, L'1');
    for (const std::wstring& t : {nines, ones, longRun, longRun + L"E-800", L"0." + longRun, nines + L".5"})
        EXPECT_EQ(isNumericText(t, format), systemSaysNumeric(t)) << t.size() << " characters";
}

TEST(NumericTextOnWindows, RandomTextsAgreeWithTheSystem) {
    const NumberFormat format = makeSystemHost()->numberFormat();
    const std::wstring alphabet = L"0123456789017.,+-()$&HhOoEe \t\xA0" + format.currency +
                                  std::wstring(1, format.decimalSeparator) + std::wstring(1, format.thousandsSeparator);
    std::mt19937 rng(7331u);
    int disagreements = 0;
    for (int i = 0; i < 30000 && disagreements < 20; ++i) {
        std::wstring t;
        const std::size_t n = std::uniform_int_distribution<std::size_t>(0, 9)(rng);
        for (std::size_t k = 0; k < n; ++k)
            t += alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(rng)];
        if (isNumericText(t, format) != systemSaysNumeric(t)) {
            ++disagreements;
            ADD_FAILURE() << zavtest::shown(t) << " ours " << isNumericText(t, format) << " system " << systemSaysNumeric(t);
        }
    }
}
