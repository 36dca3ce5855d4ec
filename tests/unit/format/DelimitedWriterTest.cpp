// The fields of the CSV and tab-separated files: quoting, formula safety and the delimiter's check.
#include <gtest/gtest.h>

#include "format/DelimitedWriter.h"
#include "text/Utf8.h"

using namespace zav;

TEST(DelimitedFields, QuoteExactlyTheFieldsThatNeedItAndDoubleTheirQuotes) {
    const struct {
        const wchar_t* text;
        wchar_t delimiter;
        const wchar_t* field;
    } cases[] = {
        {L"plain text", L',', L"plain text"}, {L"", L',', L""}, {L"a,b", L',', L"\"a,b\""},
        {L"a,b", L';', L"a,b"},  // only the delimiter in use needs quotes
        {L"a;b", L';', L"\"a;b\""}, {L"say \"hi\"", L',', L"\"say \"\"hi\"\"\""}, {L"\"", L',', L"\"\"\"\""},
        {L"one\r\ntwo", L',', L"\"one\r\ntwo\""}, {L"cr\ronly", L',', L"\"cr\ronly\""}, {L"lf\nonly", L',', L"\"lf\nonly\""},
        {L"a\tb", L'\t', L"\"a\tb\""}, {L"a\tb", L',', L"a\tb"},
    };
    for (const auto& c : cases) {
        std::wstring out;
        appendDelimitedField(out, c.text, c.delimiter, false, usEnglishNumberFormat());
        EXPECT_EQ(out, c.field) << toUtf8(c.text);
    }
}

TEST(DelimitedFields, FormulaSafetyGuardsWhatASpreadsheetWouldRunAndLeavesNumbers) {
    const NumberFormat us = usEnglishNumberFormat();
    for (const wchar_t* formula : {L"=1+1", L"+A1", L"-A1", L"@SUM(A1)", L"\tx", L"\rx", L"=", L"-", L"+", L"-.",
                                   L"-1-1", L"+1e5", L"=HYPERLINK(\"http://x\")", L"-1.2.3"})
        EXPECT_TRUE(looksLikeFormula(formula, us)) << toUtf8(formula);
    for (const wchar_t* data : {L"", L"plain", L"1+1", L"a=b", L"-12", L"+3.5", L"-.5", L"-7.", L"42", L" =x"})
        EXPECT_FALSE(looksLikeFormula(data, us)) << toUtf8(data);
    NumberFormat german = us;
    german.decimalSeparator = L',';
    EXPECT_FALSE(looksLikeFormula(L"-1,5", german));
    EXPECT_TRUE(looksLikeFormula(L"-1,5", us));

    auto field = [&](const std::wstring& text, bool safety) {
        std::wstring out;
        appendDelimitedField(out, text, L',', safety, us);
        return out;
    };
    EXPECT_EQ(field(L"=1+1", true), L"'=1+1");
    EXPECT_EQ(field(L"=1+1", false), L"=1+1");
    EXPECT_EQ(field(L"-12", true), L"-12");
    // The apostrophe goes inside the quotes, so that it is the field's first character.
    EXPECT_EQ(field(L"=A1,\"x\"", true), L"\"'=A1,\"\"x\"\"\"");
    EXPECT_EQ(field(L"\rx", true), L"\"'\rx\"");
}

TEST(DelimitedFields, ADelimiterIsOneCharacterThatTheQuotingDoesNotUse) {
    for (const wchar_t* good : {L",", L";", L"\t", L"|"}) EXPECT_EQ(delimiterProblem(good), L"") << toUtf8(good);
    for (const wchar_t* bad : {L"", L"\"", L"\r", L"\n", L";;"}) EXPECT_NE(delimiterProblem(bad), L"") << toUtf8(bad);
}
