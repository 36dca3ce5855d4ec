// The INI object over the build's own profile functions (kernel32 under Wine, the portable layer
// natively) and real files.
#include <gtest/gtest.h>

#include "FakeHost.h"
#include "TestSupport.h"
#include "core/Error.h"
#include "ini/FileSystem.h"
#include "ini/cINIFile.h"
#include "text/Ansi.h"

using namespace zav;
using zavtest::TempDir;

namespace {

std::wstring nul(std::wstring s) {
    for (auto& c : s)
        if (c == L'|') c = L'\0';
    return s;
}

class IniFileTest : public ::testing::Test {
protected:
    TempDir dir;
    std::wstring path = dir.file(L"test.ini");
    cINIFile open(const std::wstring& section = L"General", const std::wstring& file = L"") {
        cINIFile ini(zavtest::storage());
        ini.FullPath(file.empty() ? path : file);
        ini.SectionName(section);
        return ini;
    }
};

}  // namespace

TEST(IniFileObject, FreshObjectPointsBesideTheProgramButRefusesUntilASectionIsSet) {
    zavtest::FakeHost host;
    TempDir dir;
    host.folder = dir.path();
    host.baseName = L"my  odd TOOL";
    cINIFile ini(zavtest::withHost(host));
    EXPECT_EQ(ini.SectionName(), L"General");
    EXPECT_EQ(ini.SectionSet(), vbFalse);
    EXPECT_EQ(ini.FileName() + L"." + ini.FileExt(), L"My  Odd Tool.ini");
    const std::wstring expected = dir.path() + L"\\My  Odd Tool.ini";  // natively no short names
    EXPECT_TRUE(equalsNoCase(ini.FullPath(), expected)) << zav::toAnsi(ini.FullPath());
    EXPECT_EQ(ini.PrivPath(), ini.FullPath());
    EXPECT_EQ(ini.GetString(L"x", L"default"), L"");
    const std::vector<IniRefusal> refused = ini.TakeRefusals();
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].operation, L"GetString");
    EXPECT_EQ(refused[0].text + L"|" + refused[0].title,
              L"[Section] and FileName Not Registered in Private.Ini!|IniFile Logic Error");
    EXPECT_TRUE(ini.TakeRefusals().empty());  // taken once
    EXPECT_TRUE(zavtest::reporter().messages.empty());  // the object itself shows nothing

    host.baseName = L"   ";  // a blank program name leaves every field empty
    cINIFile blank(zavtest::withHost(host));
    EXPECT_EQ(blank.FullPath() + blank.SectionName() + blank.FilePath(), L"");
}

TEST(IniFileObject, ExtractNameAndPathFollowTheFirstDotAndTheLastBackslash) {
    zavtest::FakeHost host;
    host.folder = L"C:\\prog";
    host.current = L"D:\\work\\";
    host.driveCurrent = L"C:\\cur\\dir";
    cINIFile ini(zavtest::withHost(host));
    const struct {
        const wchar_t *in;
        int choice;
        const wchar_t *name, *folder;
    } cases[] = {
        {L"C:\\dir\\a.b.ini", 1, L"a", L"C:\\dir"},       {L"C:\\dir\\a.b.ini", 2, L"b.ini", L"C:\\dir"},
        {L"C:\\dir\\a.b.ini", 0, L"a.b.ini", L"C:\\dir"}, {L"C:\\file.ini", 0, L"file.ini", L"C:"},
        {L"\\file.ini", 0, L"file.ini", L""},             {L"C:\\dir\\", 1, L"", L"C:\\dir"},
        {L"C:file.ini", 0, L"file.ini", L"C:\\cur\\dir"},
        {L"Q:file.ini", 0, L"file.ini", L"D:\\work"},  // no such drive: the process's directory
        {L"README", 2, L"README", L"D:\\work"},           {L"README", 7, L"README", L"D:\\work"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ini.ExtractName(c.in, c.choice), c.name) << zav::toAnsi(c.in) << " choice " << c.choice;
        EXPECT_EQ(ini.ExtractPath(c.in), c.folder) << zav::toAnsi(c.in);
    }
    ini.FullPath(L"E:\\a\\b.c.d");  // an empty argument means the object's own file
    EXPECT_EQ(ini.ExtractName(L"", 1) + L"|" + ini.ExtractName(L"", 2) + L"|" + ini.ExtractPath(L""), L"b|c.d|E:\\a");
}

TEST(IniFileObject, WinIniModeSwitchesTheFileAndBackWithoutTouchingTheSection) {
    zavtest::FakeHost host;
    host.folder = L"C:\\prog";
    host.windows = L"X:\\WINNT";
    const Storage storage = zavtest::withHost(host);
    cINIFile ini(storage);
    auto parts = [&] { return ini.FullPath() + L"|" + ini.FilePath() + L"|" + ini.FileName() + L"|" + ini.FileExt(); };
    ini.FullPath(L"C:\\cfg\\app.settings.ini");
    EXPECT_EQ(ini.SectionSet(), vbTrue);  // a path alone opens the gate
    ini.SectionName(L"   ");
    EXPECT_EQ(ini.SectionName(), L"   ");  // stored as given; blank, it closes the gate (below)
    ini.UseWinINI(vbTrue);
    EXPECT_EQ(ini.UseWinINI(), vbTrue);
    EXPECT_EQ(parts(), L"X:\\WINNT\\WIN.INI|X:\\WINNT|WIN|INI");
    EXPECT_EQ(ini.PrivPath(), L"C:\\cfg\\app.settings.ini");
    EXPECT_EQ(ini.SectionSet(), vbFalse);  // unchanged by the switch
    host.windows = L"Y:\\OTHER";
    ini.UseWinINI(vbTrue);  // already on: nothing changes
    EXPECT_EQ(ini.FullPath(), L"X:\\WINNT\\WIN.INI");
    ini.SectionName(L"Mine");
    ini.UseWinINI(vbFalse);
    EXPECT_EQ(ini.UseWinINI(), vbFalse);
    EXPECT_EQ(parts(), L"C:\\cfg\\app.settings.ini|C:\\cfg|app|settings.ini");
    EXPECT_EQ(ini.SectionSet(), vbTrue);
    ini.UseWinINI(vbTrue);
    ini.FullPath(L"C:\\z.ini");  // setting a path always lands in private-file mode
    EXPECT_EQ(ini.UseWinINI(), vbFalse);
    host.windows = L"";
    cINIFile failing(storage);
    failing.UseWinINI(vbTrue);
    EXPECT_EQ(failing.FullPath(), L"\\WIN.INI");
}

TEST(IniFileObject, WinIniModeReadsAndWritesTheSystemWinIni) {
    cINIFile ini(zavtest::storage());
    ini.FullPath(L"C:\\never\\used.ini");
    ini.UseWinINI(vbTrue);
    ini.SectionName(L"ZAVExport test section");
    ASSERT_NE(ini.PutString(L"probe", L"value 1"), 0);
    EXPECT_EQ(ini.GetString(L"probe", L""), L"value 1");
    EXPECT_EQ(ini.SectExist(L"zavexport TEST section"), vbTrue);
    ini.DeleteNumEntry(L"probe");  // numbers are removed differently there: the entry stays as 0
    EXPECT_EQ(ini.GetString(L"probe", L"gone"), L"0");
    ini.DeleteSection();  // (what that does to WIN.INI is the system's business)
    EXPECT_EQ(ini.SectionSet(), vbFalse);
    ini.UseWinINI(vbFalse);
    EXPECT_EQ(ini.FullPath(), L"C:\\never\\used.ini");
}

TEST(IniFileObject, ExistsAddsAWildcardExtensionOnlyWhenTheNameHasNoDot) {
    TempDir dir;
    zavtest::writeBytes(dir.file(L"plain.txt"), "x");
    zavtest::writeBytes(dir.file(L"noext"), "x");
    cINIFile ini(zavtest::storage());
    const std::pair<std::wstring, VBool> cases[] = {
        {dir.file(L"plain"), vbTrue}, {dir.file(L"plain.txt"), vbTrue}, {dir.file(L"plain.ini"), vbFalse},
        {dir.file(L"noext"), vbTrue}, {dir.file(L"missing"), vbFalse},
        {dir.path(), vbFalse},  // folders do not count
        {dir.file(L"nofolder\\x.txt"), vbFalse}};
    for (const auto& [name, there] : cases) EXPECT_EQ(ini.Exists(name), there) << zavtest::shown(name);
}

TEST_F(IniFileTest, StringsRoundTripWholeWithDefaultsForMissingEntries) {
    cINIFile ini = open();
    ASSERT_NE(ini.PutString(L"Name", L"Report"), 0);
    EXPECT_EQ(zavtest::readBytes(path), "[General]\r\nName=Report\r\n");
    EXPECT_EQ(ini.GetString(L"name", L"x"), L"Report");  // names ignore letter case
    EXPECT_EQ(ini.GetString(L"Missing", L"fallback"), L"fallback");
    ini.PutString(L"Empty", L"");
    EXPECT_EQ(ini.GetString(L"Empty", L"fallback"), L"");
    for (size_t n : {254u, 255u, 256u, 300u, 1023u, 5000u}) {  // not cut at any buffer size
        std::wstring value(n, L'v');
        value[n - 1] = L'!';
        ini.PutString(L"Long", value);
        EXPECT_EQ(ini.GetString(L"Long", L""), value) << n;
    }
    // Quoted values lose their quotes but none of their text, at every buffer boundary.
    for (size_t n : {253u, 254u, 255u, 256u, 1021u, 1022u, 1023u}) {
        zavtest::writeBytes(dir.file(L"q.ini"), "[General]\r\nq=\"" + std::string(n, 'q') + "\"\r\n");
        EXPECT_EQ(open(L"General", dir.file(L"q.ini")).GetString(L"q", L""), std::wstring(n, L'q')) << n;
    }
    EXPECT_EQ(ini.GetString(L"Absent", std::wstring(600, L'd')), std::wstring(600, L'd'));
    EXPECT_EQ(ini.GetString(L"Absent", L"a\r\nb\nc\r"), L"abc");  // line breaks never reach the caller
    ini.PutString(L"Accents", L"caf\u00E9 \u20AC \u0153");  // code page 1252 survives the 8-bit file
    EXPECT_EQ(ini.GetString(L"ACCENTS", L""), L"caf\u00E9 \u20AC \u0153");
}

TEST_F(IniFileTest, NumbersAreSixteenBitWithOverflowRaisedAndBooleansReadTheTrueWords) {
    cINIFile ini = open();
    EXPECT_NE(ini.PutInt(L"Count", -5), 0);
    EXPECT_EQ(ini.GetString(L"Count", L""), L"-5");
    EXPECT_EQ(ini.GetInt(L"Count", 0), -5);
    EXPECT_EQ(ini.GetInt(L"Missing", -7), -7);
    ini.PutInt(L"Max", 32767);
    EXPECT_EQ(ini.GetInt(L"Max", 0), 32767);
    for (const wchar_t* outside : {L"32768", L"-32769"}) {
        ini.PutString(L"Big", outside);
        try {
            ini.GetInt(L"Big", 0);
            ADD_FAILURE() << "no overflow raised for " << toAnsi(outside);
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), kErrOverflow);
        }
    }
    EXPECT_EQ(ini.PutTF(L"Flag", 2), vbTrue);
    ini.PutTF(L"Off", 0);
    EXPECT_EQ(ini.GetString(L"Flag", L"") + ini.GetString(L"Off", L""), L"TrueFalse");
    const std::pair<const wchar_t*, VBool> words[] = {
        {L"  yes ", vbTrue}, {L"Y", vbTrue}, {L"true", vbTrue}, {L"t", vbTrue}, {L"On", vbTrue},
        {L"1", vbTrue}, {L"-1", vbTrue}, {L"no", vbFalse}, {L"0", vbFalse}, {L"maybe", vbFalse},
        {L"", vbFalse}, {L"yess", vbFalse}, {L"2", vbFalse}};
    for (const auto& w : words) {
        ini.PutString(L"Word", w.first);
        EXPECT_EQ(ini.GetTF(L"Word", -1), w.second) << zav::toAnsi(w.first);
    }
    EXPECT_EQ(ini.GetTF(L"Absent", 5), vbTrue);
    EXPECT_EQ(ini.GetTF(L"Absent", 0), vbFalse);
}

TEST_F(IniFileTest, DeletingEntriesAndSections) {
    cINIFile ini = open(L"Doomed");
    ini.PutString(L"a", L"1");
    ini.PutString(L"b", L"2");
    ini.DeleteStrEntry(L"a");
    ini.DeleteStrEntry(L"new");  // created empty
    ini.DeleteNumEntry(L"b");  // removed in private files
    EXPECT_EQ(zavtest::readBytes(path), "[Doomed]\r\na=\r\nnew=\r\n");
    ini.SectionName(L"Kept");
    ini.PutString(L"c", L"3");
    ini.SectionName(L"Doomed");
    ini.DeleteSection();
    EXPECT_EQ(ini.SectionSet(), vbFalse);
    EXPECT_EQ(ini.SectionName(), L"");
    EXPECT_EQ(ini.Refusals(), 0);
    EXPECT_EQ(ini.GetString(L"c", L"d"), L"");
    EXPECT_EQ(ini.Refusals(), 1);
    ini.SectionName(L"Doomed");
    EXPECT_EQ(ini.GetSectEntries(), nul(L"|"));
    ini.SectionName(L"Kept");
    EXPECT_EQ(ini.GetString(L"c", L""), L"3");
}

// The object shows nothing: each refusal is kept, in order, with the operation refused and the
// file named at that moment, until the caller takes them; the count goes on. IniWrite and IniRead
// name their own file and are never refused.
TEST_F(IniFileTest, ClosedGateRefusesEveryFileOperationButIniWriteAndKeepsTheRefusals) {
    cINIFile ini = open(L"  ");
    EXPECT_EQ(ini.PutString(L"a", L"1"), 0);
    EXPECT_EQ(ini.PutInt(L"a", 1), 0);
    EXPECT_EQ(ini.PutTF(L"a", 1), vbFalse);
    EXPECT_EQ(ini.GetTF(L"a", 1), vbFalse);
    EXPECT_EQ(ini.GetInt(L"a", 9), 0);
    EXPECT_EQ(ini.GetString(L"a", L"d") + ini.GetSectEntries() + ini.GetSections(), L"");
    EXPECT_EQ(ini.SectExist(L"General"), vbFalse);
    std::vector<std::wstring> names;
    EXPECT_EQ(ini.GetSectionsEx(names), 0);
    EXPECT_EQ(ini.Refusals(), 10);
    EXPECT_EQ(ini.LastRefusal().operation, L"GetSections");  // GetSectionsEx refused through it
    EXPECT_FALSE(zavtest::pathExists(path));  // no file was touched
    auto operations = [](const std::vector<IniRefusal>& list) {
        std::wstring out;
        for (const auto& r : list) out += r.operation + L" " + r.path + L"|";
        return out;
    };
    const std::vector<IniRefusal> first = ini.TakeRefusals();
    ASSERT_EQ(first.size(), 10u);
    EXPECT_EQ(operations({first[0], first[4]}), L"PutString " + path + L"|GetInt " + path + L"|");
    ini.DeleteSection();
    ini.FullPath(dir.file(L"other.ini"));
    ini.SectionName(L"");
    ini.GetInt(L"a", 1);
    EXPECT_EQ(operations(ini.TakeRefusals()), L"DeleteSection " + path + L"|GetInt " + dir.file(L"other.ini") + L"|");
    EXPECT_TRUE(ini.TakeRefusals().empty());
    EXPECT_EQ(ini.Refusals(), 12);

    ini.IniWrite(L"Free", L"k", L"v", path);
    std::wstring got;
    ini.IniRead(L"Free", L"k", 0, L"", got, vbFalse, path);
    EXPECT_EQ(got, L"v");
    ini.IniWrite(L"Free", L"n", L"-12", path);
    ini.IniRead(L"Free", L"n", 0, L"", got, vbTrue, path);
    EXPECT_EQ(got, L"-12");
    EXPECT_EQ(ini.Refusals(), 12);
    EXPECT_TRUE(zavtest::reporter().messages.empty());

    cINIFile nowhere = open(L"General", dir.file(L"no such folder\\x.ini"));  // refused by the platform
    EXPECT_EQ(nowhere.PutString(L"a", L"1"), 0);
    EXPECT_EQ(nowhere.PutTF(L"a", 1), vbFalse);
}

TEST_F(IniFileTest, EntryListsAreWholeAndSplitAtTheFirstEquals) {
    cINIFile ini = open(L"Rules");
    EXPECT_EQ(ini.GetSectEntries(), nul(L"|"));  // missing section
    std::vector<std::wstring> data[2];
    EXPECT_EQ(ini.GetSectEntriesEx(data), 0);
    EXPECT_TRUE(data[0].empty());
    zavtest::writeBytes(path, "[Rules]\r\na=1\r\nx=y=z\r\n");
    EXPECT_EQ(ini.GetSectEntries(), nul(L"a=1|x=y=z||"));
    EXPECT_EQ(ini.GetSectEntriesEx(data), 2);
    EXPECT_EQ(data[0], (std::vector<std::wstring>{L"a", L"x"}));
    EXPECT_EQ(data[1], (std::vector<std::wstring>{L"1", L"y=z"}));
    // A section far beyond 4096 characters comes back whole.
    std::string bytes = "[Rules]\r\n";
    std::wstring expected;
    for (int i = 0; i < 400; ++i) {
        const std::string entry = "key" + std::to_string(i) + "=value number " + std::to_string(i) + " of many";
        bytes += entry + "\r\n";
        expected += fromAnsi(entry) + std::wstring(1, L'\0');
    }
    zavtest::writeBytes(path, bytes);
    EXPECT_EQ(ini.GetSectEntries(), expected + std::wstring(1, L'\0'));
    std::vector<std::wstring> many[2];
    EXPECT_EQ(ini.GetSectEntriesEx(many), 400);
    EXPECT_EQ(many[0][399] + L"=" + many[1][399], L"key399=value number 399 of many");
}

// Section lists read the file's lines: only a CR ends a line, a header is a line that starts with
// "[" and ends with its first "]", and the array stops at an empty name.
TEST_F(IniFileTest, SectionListsFollowTheLineRules) {
    const struct {
        std::string bytes;
        const wchar_t* list;
        int count;
    } cases[] = {
        {"[General]\r\na=1\r\n  [Blanks Around]   \r\n[With Comment] ; note\r\n; [Commented]\r\n[Semi;Colon]\r\n"
         "\t[Tabbed]\r\n[Two]]\r\n[Second]Bracket]\r\n[ inner blanks ]\r\n[general]\r\nnot a header\r\n[Last]",
         L"General|Blanks Around|With Comment| inner blanks |general|Last||", 6},
        {"[A]\r\n[]\r\n[B]\r\n", L"A||B||", 1},
        {"just text\r\n; comment\r\n", L"||", 0},
        {"[One]\n[Two]\n", L"||", 0},  // a lone LF does not end a line: the whole file is one line
        {"[One]\na=1\n[Two]", L"||", 0},
        {"[Only]", L"Only||", 1},
        {"[One]\r[Two]\r", L"One|Two||", 2},
    };
    cINIFile ini = open();
    for (const auto& c : cases) {
        zavtest::writeBytes(path, c.bytes);
        EXPECT_EQ(ini.GetSections(), nul(c.list)) << c.bytes;
        std::vector<std::wstring> names{L"kept"};
        EXPECT_EQ(ini.GetSectionsEx(names), c.count) << c.bytes;
        std::wstring joined;  // the array's names as the list's first ones ("kept" when none)
        for (const auto& name : names) joined += name + L"|";
        EXPECT_EQ(joined, c.count ? std::wstring(c.list).substr(0, joined.size()) : L"kept|") << c.bytes;
    }
    const std::pair<const wchar_t*, VBool> exist[] = {
        {L"GENERAL", vbTrue}, {L"with comment", vbTrue}, {L"B", vbFalse}, {L"With", vbFalse},  // only whole names
        {L"Tabbed", vbFalse}, {L"Two]", vbFalse},  // a "]" before the last character
        {L"Semi", vbFalse}, {L"", vbTrue},  // the list ends with two NULs: "" is always "there"
    };
    zavtest::writeBytes(path, cases[0].bytes);
    for (const auto& [name, there] : exist) EXPECT_EQ(ini.SectExist(name), there) << toAnsi(name);
    zavtest::writeBytes(path, cases[1].bytes);
    EXPECT_EQ(ini.SectExist(L"B"), vbTrue);  // past the empty name that stops the array
    // A missing file makes the section list raise; entry reads simply give the defaults.
    zavtest::storage().fs.deleteFile(path, true);
    EXPECT_THROW(ini.GetSections(), Error);
    EXPECT_THROW(ini.SectExist(L"General"), Error);
    EXPECT_EQ(ini.GetString(L"a", L"d"), L"d");
    EXPECT_EQ(ini.GetSectEntries(), nul(L"|"));
}

// A file whose name holds characters of no 8-bit code page is written and read under exactly that
// name, its content 8-bit text; two names an 8-bit name would make alike stay two files.
TEST_F(IniFileTest, FilesOfAnyNameKeepTheirNameAndTheirBytes) {
    const std::wstring names[] = {L"\u041e\u0442\u0447\u0451\u0442.ini", L"\u5831\u544a \U0001F600.ini",
                                  L"\u0391\u03b2\u03b3.ini"};
    for (const auto& name : names) {
        cINIFile ini = open(L"General", dir.file(name));
        ASSERT_NE(ini.PutString(L"Name", L"n"), 0) << zavtest::shown(name);
        ASSERT_NE(ini.PutString(L"Accents", L"caf\u00E9"), 0);
    }
    for (const auto& name : names) {
        cINIFile ini = open(L"General", dir.file(name));
        EXPECT_EQ(ini.GetString(L"Accents", L""), L"caf\u00E9");
        std::vector<std::wstring> sections;
        ini.GetSectionsEx(sections);
        EXPECT_EQ(sections, std::vector<std::wstring>{L"General"}) << zavtest::shown(name);
        ini.DeleteNumEntry(L"Name");
        EXPECT_EQ(zavtest::readBytes(dir.file(name)), "[General]\r\nAccents=caf\xE9\r\n") << zavtest::shown(name);
    }
    EXPECT_EQ(zavtest::storage().fs.listFiles(dir.path()).size(), 3u);
}
