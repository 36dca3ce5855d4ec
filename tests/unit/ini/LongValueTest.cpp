// Texts that a single INI value cannot give back whole, through the build's own profile functions
// (kernel32 under Wine in the Windows build, the portable layer natively): the check that says why,
// and the put/get pair that stores a text of any length in continuation entries. The pair is also
// checked on the file itself: no line may hold a value longer than every reader gives back.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "ini/ValueLimits.h"
#include "ini/cINIFile.h"

using namespace zav;

namespace {

class LongValueTest : public ::testing::Test {
protected:
    zavtest::TempDir dir;
    std::wstring path = dir.file(L"long.ini");
    cINIFile ini{zavtest::storage()};
    void SetUp() override {
        ini.FullPath(path);
        ini.SectionName(L"General");
    }

    // The longest value of any line of the file, in characters.
    std::size_t longestStoredValue() const {
        const std::string bytes = zavtest::readBytes(path);
        std::size_t longest = 0;
        for (std::size_t start = 0, end; start < bytes.size(); start = end + 2) {
            end = std::min(bytes.find("\r\n", start), bytes.size());
            const std::size_t eq = bytes.find('=', start);
            if (eq < end) longest = std::max(longest, end - eq - 1);
        }
        return longest;
    }
};

}  // namespace

TEST(ValueLimits, WhatAValueLosesOnReadingIsAProblemOnlyForASingleValue) {
    // Windows reads up to 65535 characters; Wine 8.0's kernel32 only up to 32766: the lower one.
    EXPECT_EQ(valueLimitProblem(L"HTMLHeader", std::wstring(32766, L'x')), L"");
    EXPECT_EQ(valueLimitProblem(L"HTMLHeader", std::wstring(32767, L'x')),
              L"HTMLHeader: 32767 characters, but an INI value is read back only up to 32766 characters.");
    EXPECT_EQ(longValueProblem(L"HTMLHeader", std::wstring(200000, L'x')), L"");
    for (const wchar_t* text : {L" lead", L"trail\t", L"\"quoted\"", L"'quoted'"}) {
        EXPECT_NE(valueLimitProblem(L"File", text), L"") << zavtest::shown(text);
        EXPECT_EQ(longValueProblem(L"File", text), L"") << zavtest::shown(text);
    }
    for (const wchar_t* text : {L"in \"side\"", L"\"open", L"a b", L"", L"=;[]"})
        EXPECT_EQ(valueLimitProblem(L"File", text), L"") << zavtest::shown(text);
    // What no value carries, however it is stored.
    for (const std::wstring& text : {std::wstring(L"two\r\nlines"), std::wstring(L"lf\nonly"),
                                     std::wstring(L"nul\0inside", 10), std::wstring(L"\x4E2D\x6587")}) {
        EXPECT_EQ(longValueProblem(L"Name", text).rfind(L"Name: ", 0), 0u) << zavtest::shown(text);
        EXPECT_NE(valueLimitProblem(L"Name", text), L"") << zavtest::shown(text);
    }
}

TEST_F(LongValueTest, TextsAroundTheLimitComeBackWholeAndNoStoredValueIsLongerThanWindowsReads) {
    const std::size_t piece = kLongestIniValue - 2;
    for (std::size_t length : {std::size_t{0}, std::size_t{1}, kLongestIniValue - 3, kLongestIniValue - 1,
                               kLongestIniValue, kLongestIniValue + 1, 2 * piece, 2 * piece + 1, 3 * piece + 7}) {
        std::wstring awkward;  // pieces, cut anywhere, start or end with blanks and quotes
        while (awkward.size() < length) awkward += L" \"a b\" '; [x]=%41 ";
        awkward.resize(length);
        for (const std::wstring& text : {std::wstring(length, L'x'), awkward}) {
            ASSERT_NE(ini.PutLongString(L"HTMLHeader", text), 0) << length;
            EXPECT_EQ(ini.GetLongString(L"HTMLHeader", L"default"), text) << length;
            EXPECT_LE(longestStoredValue(), kLongestIniValue) << length;
        }
    }
}

TEST_F(LongValueTest, AShortTextIsStoredAsPutStringStoresItAndAPlainEntryReadsAsItIs) {
    ASSERT_NE(ini.PutLongString(L"File", L"c:\\out.html"), 0);
    EXPECT_EQ(zavtest::readBytes(path), "[General]\r\nFile=c:\\out.html\r\n");
    ASSERT_NE(ini.PutLongString(L"File", L" padded "), 0);  // what a single value would lose: quoted
    EXPECT_EQ(zavtest::readBytes(path), "[General]\r\nFile=\" padded \"\r\n");
    EXPECT_EQ(ini.GetLongString(L"File", L""), L" padded ");
    ini.PutString(L"Old", L"plain text");
    EXPECT_EQ(ini.GetLongString(L"Old", L"d"), L"plain text");
    EXPECT_EQ(ini.GetLongString(L"Missing", L"d"), L"d");
}

TEST_F(LongValueTest, ContinuationsOfALongerEarlierTextGoAndTheSectionKeepsItsOtherEntries) {
    ini.PutString(L"Before", L"1");
    ASSERT_NE(ini.PutLongString(L"HTMLFooter", std::wstring(3 * kLongestIniValue, L'a')), 0);
    EXPECT_NE(ini.GetString(cINIFile::ContinuationName(L"HTMLFooter", 4), L"none"), L"none");
    ini.PutString(L"After", L"2");
    ASSERT_NE(ini.PutLongString(L"HTMLFooter", L"short"), 0);
    EXPECT_EQ(ini.GetLongString(L"HTMLFooter", L""), L"short");
    EXPECT_EQ(zavtest::readBytes(path), "[General]\r\nBefore=1\r\nHTMLFooter=short\r\nAfter=2\r\n");
}

TEST_F(LongValueTest, TextsNoValueCarriesAreRefusedAndNothingIsWritten) {
    EXPECT_EQ(ini.PutLongString(L"HTMLHeader", std::wstring(70000, L'x') + L"\r\n<p>"), 0);
    EXPECT_EQ(ini.PutLongString(L"HTMLHeader", L"\x4E2D"), 0);
    EXPECT_FALSE(zavtest::pathExists(path));
}
