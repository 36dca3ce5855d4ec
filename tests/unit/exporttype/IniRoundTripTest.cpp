// Escaped texts through the build's own profile functions (kernel32 under Wine in the Windows
// build): every text comes back unchanged, as a value, as a rule's key and value, and as a
// section name; and a text that needs no escape survives unescaped.
#include <gtest/gtest.h>

#include <algorithm>

#include "ExportFixture.h"
#include "TestSupport.h"
#include "exporttype/IniText.h"
#include "ini/cINIFile.h"
#include "text/Ansi.h"

using namespace zav;

TEST(IniText, EscapedTextsComeBackUnchanged) {
    // Texts over every character the ANSI code page has, plus awkward runs.
    std::vector<std::wstring> texts = {L"", L" ", L"  a  ", L"\"q\"", L"'q'", L"\"", L"[x]", L";c", L"a;b", L"=",
                                       L"a=b=c", L"%", L"%41", L"%u0041", L"\r\n", L"a\r\nb\n", L"\t", L"\xA0",
                                       L"General", L"fileinfo", L"x]y", L"\x1A", L"#c", L"[", L"\x20AC", L"a\x85",
                                       L"\x81\x8D\x8F\x90\x9D"};
    std::wstring alphabet;
    for (int b = 1; b < 256; ++b) alphabet += fromAnsi(std::string(1, static_cast<char>(b)));
    // The whole code page cut into pieces of 1 to 10 characters: every character once, beside others
    // (section names and keys ignore letter case: the texts are kept apart).
    for (std::size_t at = 0, n = 1; at < alphabet.size(); at += n, n = n % 10 + 1) {
        const std::wstring t = alphabet.substr(at, n);
        if (std::none_of(texts.begin(), texts.end(), [&](const std::wstring& o) { return equalsNoCase(o, t); }))
            texts.push_back(t);
    }
    exporttest::Environment env;
    cINIFile ini(zavtest::storage());
    ini.FullPath(env.dir.file(L"roundtrip.ini"));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::wstring& t = texts[i];
        const std::wstring n = std::to_wstring(i);
        ini.SectionName(L"General");  // as a value of the type's own section
        ini.PutString(L"v" + n, encodeIniValue(t));
        ini.SectionName(L"rule" + n);  // as a rule: key and value, in a section of its own
        ini.PutString(encodeIniRuleKey(t), encodeIniRuleValue(t + L"=" + t));
        ini.SectionName(encodeIniSectionName(t));  // as a section name
        ini.PutString(L"k", n);
    }
    std::vector<std::wstring> sections;
    ini.GetSectionsEx(sections);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::wstring& t = texts[i];
        const std::wstring n = std::to_wstring(i);
        SCOPED_TRACE(zavtest::shown(t));
        ini.SectionName(L"General");
        EXPECT_EQ(decodeIniText(ini.GetString(L"v" + n, L"<missing>")), t) << "value";
        ini.SectionName(L"rule" + n);
        std::wstring entry = ini.GetSectEntries();
        entry = entry.substr(0, entry.find(L'\0'));
        const std::size_t eq = entry.rfind(L'=');
        ASSERT_NE(eq, std::wstring::npos) << "rule";
        EXPECT_EQ(decodeIniText(entry.substr(0, eq)), t) << "rule key";
        EXPECT_EQ(decodeIniText(entry.substr(eq + 1)), t + L"=" + t) << "rule value";
        const std::wstring section = encodeIniSectionName(t);
        ini.SectionName(section);
        EXPECT_EQ(ini.GetString(L"k", L"<missing>"), n) << "section";
        EXPECT_NE(std::find(sections.begin(), sections.end(), section), sections.end()) << "section listed";
        EXPECT_EQ(decodeIniText(section), t);
    }
}

TEST(IniText, PlainTextsStayReadableAndOldTextsDecodeAsThemselves) {
    const std::pair<std::wstring, std::wstring> encoded[] = {
        {encodeIniValue(L"<table border=\"1\" width=100>"), L"<table border=\"1\" width=100>"},
        {encodeIniValue(L"C:\\Exports\\a b.html"), L"C:\\Exports\\a b.html"},
        {encodeIniValue(L"<HTML>\r\n<body>"), L"<HTML>%0D%0A<body>"},
        {encodeIniRuleValue(L"b=c"), L"b%3Dc"},
        // The type's own sections, in any letter case, are never a text's section.
        {encodeIniSectionName(L"General"), L"%47eneral"}, {encodeIniSectionName(L"fileINFO"), L"%66ileINFO"},
        {encodeIniSectionName(L"Name_Size"), L"Name_Size"},
        {decodeIniText(L"100%"), L"100%"}, {decodeIniText(L"%zz%4"), L"%zz%4"},
        // A character beyond the basic plane is written as its surrogate pair whatever the width of
        // wchar_t, so both builds write and read the same file.
        {encodeIniValue(L"a\U0001F600\u0416"), L"a%uD83D%uDE00%u0416"},
        {decodeIniText(L"a%uD83D%uDE00%u0416"), L"a\U0001F600\u0416"},
        {decodeIniText(encodeIniSectionName(L"\U0001F600\U0001F600")), L"\U0001F600\U0001F600"},
        // A high surrogate without its partner stays one unit.
        {decodeIniText(L"%uD83D%u0041"), std::wstring(1, static_cast<wchar_t>(0xD83D)) + L"A"},
    };
    for (const auto& [got, want] : encoded) EXPECT_EQ(got, want);
    EXPECT_EQ(decodeIniText(L"%uD83Dx").size(), 2u);
}
