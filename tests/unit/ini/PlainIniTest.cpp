// Which texts are read in one go, and that what is read so answers as the profile functions do.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/Platform.h"
#include "ini/PlainIni.h"
#include "ini/cINIFile.h"
#include "text/Ansi.h"

using namespace zav;

namespace {

struct Sample {
    const char* what;
    std::string text;
    bool plain;
};

const std::vector<Sample>& samples() {
    static const std::vector<Sample> all = {
        {"entries", "[A]\r\nk=v\r\n", true}, {"spaces around names and values", "[A]\r\n  k  =  v w  \r\n", true},
        {"quotes", "[A]\r\nk=\"v\"\r\nq='w'\r\nr=\"\r\n", true},
        {"comments and blank lines", "; top\r\n\r\n[A]\r\n;k=x\r\nk=v\r\n   \r\n", true},
        {"a last line without its end", "[A]\r\nk=v", true}, {"an empty value", "[A]\r\nk=\r\n", true},
        {"a tab inside a value", "[A]\r\nk=a\tb\r\n", true},
        {"characters of the code page", "[Gr\xF6\xDF" "e]\r\n\xE9t\xE9=\xE0 la\r\n", true},
        {"the empty text", "", true}, {"line feeds alone", "[A]\nk=v\n", false},
        {"a carriage return alone", "[A]\rk=v\r\n", false}, {"a UTF-16 mark", "\xFF\xFE[\0A\0]\0", false},
        {"a UTF-8 mark", "\xEF\xBB\xBF[A]\r\nk=v\r\n", false}, {"a NUL", std::string("[A]\r\nk=v\0w\r\n", 12), false},
        {"a tab at a value's end", "[A]\r\nk=v\t\r\n", false},
        {"a tab before the equals sign", "[A]\r\nk\t=v\r\n", false},
        {"a tab before a line", "[A]\r\n\tk=v\r\n", false},
        {"a no-break space at a value's start", "[A]\r\nk=\xA0v\r\n", false},
        {"blanks inside the brackets", "[ A ]\r\nk=v\r\n", false},
        {"text after the header", "[A] x\r\nk=v\r\n", false}, {"two closing brackets", "[A]]\r\nk=v\r\n", false},
        {"no closing bracket", "[A\r\nk=v\r\n", false}, {"the empty section name", "[]\r\nk=v\r\n", false},
        {"a section twice", "[A]\r\nk=v\r\n[a]\r\nk=w\r\n", false},
        {"an entry before any header", "k=v\r\n[A]\r\nk=v\r\n", false},
        {"an entry without an equals sign", "[A]\r\nk\r\n", false},
        {"an entry without a name", "[A]\r\n=v\r\n", false},
        {"a value too long for the profile functions", "[A]\r\nk=" + std::string(32767, 'v') + "\r\n", false},
    };
    return all;
}

}  // namespace

TEST(PlainIni, TellsWhichTextsEveryImplementationReadsAlike) {
    for (const auto& s : samples())
        EXPECT_EQ(plainIniDocument(s.text).has_value(), s.plain) << s.what;
    EXPECT_TRUE(plainIniDocument("[A]\r\nk=" + std::string(32766, 'v') + "\r\n").has_value()) << "the longest value";
}

TEST(PlainIni, AnswersWhatTheProfileFunctionsAnswer) {
    // Every entry of every plain sample, asked of the build's own profile functions (the system's
    // under Windows) and of the text read in one go; and a few entries that are not there.
    zavtest::TempDir dir;
    int compared = 0;
    for (const auto& s : samples()) {
        if (!s.plain) continue;
        const std::wstring path = dir.file(L"sample.ini");
        zavtest::writeBytes(path, s.text);
        const auto doc = plainIniDocument(s.text);
        ASSERT_TRUE(doc.has_value()) << s.what;
        cINIFile ini(zavtest::storage());
        ini.FullPath(path);
        for (const auto& section : doc->sections()) {
            ini.SectionName(section.name);
            std::vector<std::wstring> keys;
            for (const auto& e : section.entries) keys.push_back(e.name);
            keys.push_back(L"missing");
            for (const auto& key : keys) {
                const std::wstring system = ini.GetString(key, L"<default>");
                const std::wstring read = iniValue(*doc, section.name, key).value_or(L"<default>");
                EXPECT_EQ(zavtest::shown(read), zavtest::shown(system)) << s.what << ": " << zavtest::shown(key);
                ++compared;
            }
        }
        EXPECT_FALSE(iniValue(*doc, L"Missing", L"k").has_value());
    }
    EXPECT_GT(compared, 10);  // the samples were compared at all
}
