// Escaped texts through the build's own profile functions (kernel32 under Wine in the Windows
// build): every text comes back unchanged, as a value, as a rule's key and value, and as a
// section name; and a text that needs no escape survives unescaped.
#include <gtest/gtest.h>

#include "TestSupport.h"

#include "ExportFixture.h"
#include "exporttype/IniText.h"
#include "ini/cINIFile.h"
#include "text/Ansi.h"

using namespace zav;

namespace {

// Texts over every character the ANSI code page has, plus awkward runs.
std::vector<std::wstring> sampleTexts() {
    std::wstring alphabet;
    for (int b = 1; b < 256; ++b) alphabet += fromAnsi(std::string(1, static_cast<char>(b)));
    std::vector<std::wstring> texts = {L"",         L" ",       L"  a  ",  L"\"q\"",    L"'q'",   L"\"",
                                       L"[x]",      L";c",      L"a;b",    L"=",        L"a=b=c", L"%",
                                       L"%41",      L"%u0041",  L"\r\n",   L"a\r\nb\n", L"\t",    L"\xA0",
                                       L"General",  L"fileinfo", L"x]y",   L"\x1A",     L"#c",    L"[",
                                       L"\x20AC",   L"a\x85",   L"\x81\x8D\x8F\x90\x9D"};
    // The whole code page cut into pieces of 1 to 10 characters: every character once, beside others.
    for (std::size_t at = 0, n = 1; at < alphabet.size(); at += n, n = n % 10 + 1) {
        const std::wstring t = alphabet.substr(at, n);
        bool seen = false;  // section names and keys ignore letter case: keep the texts apart
        for (const auto& other : texts) seen = seen || equalsNoCase(other, t);
        if (!seen) texts.push_back(t);
    }
    return texts;
}

}  // namespace

TEST(IniText, EscapedTextsComeBackUnchanged) {
    exporttest::Environment env;
    const auto texts = sampleTexts();
    cINIFile ini(zavtest::storage());
    ini.FullPath(env.dir.file(L"roundtrip.ini"));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::wstring& t = texts[i];
        const std::wstring n = std::to_wstring(i);
        // As a value of the type's own section.
        ini.SectionName(L"General");
        ini.PutString(L"v" + n, encodeIniValue(t));
        // As a rule: key and value, in a section of its own.
        ini.SectionName(L"rule" + n);
        ini.PutString(encodeIniRuleKey(t), encodeIniRuleValue(t + L"=" + t));
        // As a section name.
        ini.SectionName(encodeIniSectionName(t));
        ini.PutString(L"k", n);
    }
    std::vector<std::wstring> sections;
    ini.GetSectionsEx(sections);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::wstring& t = texts[i];
        const std::wstring n = std::to_wstring(i);
        ini.SectionName(L"General");
        EXPECT_EQ(decodeIniText(ini.GetString(L"v" + n, L"<missing>")), t) << "value " << zavtest::shown(t);

        ini.SectionName(L"rule" + n);
        std::wstring entry = ini.GetSectEntries();
        entry = entry.substr(0, entry.find(L'\0'));
        const std::size_t eq = entry.rfind(L'=');
        ASSERT_NE(eq, std::wstring::npos) << "rule " << zavtest::shown(t);
        EXPECT_EQ(decodeIniText(entry.substr(0, eq)), t) << "rule key " << zavtest::shown(t);
        EXPECT_EQ(decodeIniText(entry.substr(eq + 1)), t + L"=" + t) << "rule value " << zavtest::shown(t);

        const std::wstring section = encodeIniSectionName(t);
        ini.SectionName(section);
        EXPECT_EQ(ini.GetString(L"k", L"<missing>"), n) << "section " << zavtest::shown(t);
        bool listed = false;
        for (const auto& s : sections) listed = listed || s == section;
        EXPECT_TRUE(listed) << "section " << zavtest::shown(t);
        EXPECT_EQ(decodeIniText(section), t);
    }
}

TEST(IniText, PlainTextsStayReadableAndOldTextsDecodeAsThemselves) {
    EXPECT_EQ(encodeIniValue(L"<table border=\"1\" width=100>"), L"<table border=\"1\" width=100>");
    EXPECT_EQ(encodeIniValue(L"C:\\Exports\\a b.html"), L"C:\\Exports\\a b.html");
    EXPECT_EQ(encodeIniValue(L"<HTML>\r\n<body>"), L"<HTML>%0D%0A<body>");
    EXPECT_EQ(encodeIniRuleValue(L"b=c"), L"b%3Dc");
    // The type's own sections, in any letter case, are never a text's section.
    EXPECT_EQ(encodeIniSectionName(L"General"), L"%47eneral");
    EXPECT_EQ(encodeIniSectionName(L"fileINFO"), L"%66ileINFO");
    EXPECT_EQ(encodeIniSectionName(L"Name_Size"), L"Name_Size");
    EXPECT_EQ(decodeIniText(L"100%"), L"100%");
    EXPECT_EQ(decodeIniText(L"%zz%4"), L"%zz%4");
}

// A character beyond the basic plane is written as its surrogate pair whatever the width of
// wchar_t, so both builds write and read the same file.
TEST(IniText, CharactersBeyondTheBasicPlaneAreOnePairInTheFile) {
    const std::wstring grin = L"\U0001F600";
    EXPECT_EQ(encodeIniValue(L"a" + grin + L"\u0416"), L"a%uD83D%uDE00%u0416");
    EXPECT_EQ(decodeIniText(L"a%uD83D%uDE00%u0416"), L"a" + grin + L"\u0416");
    EXPECT_EQ(decodeIniText(encodeIniSectionName(grin + grin)), grin + grin);
    // A high surrogate without its partner stays one unit.
    EXPECT_EQ(decodeIniText(L"%uD83Dx").size(), 2u);
    EXPECT_EQ(decodeIniText(L"%uD83D%u0041"), std::wstring(1, static_cast<wchar_t>(0xD83D)) + L"A");
}
