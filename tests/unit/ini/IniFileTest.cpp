// The INI object over the build's own profile functions (kernel32 under Wine, the portable layer
// natively) and real files.
#include <gtest/gtest.h>

#include <string>

#include "FakeHost.h"
#include "TestSupport.h"
#include "core/Error.h"
#include "core/Platform.h"
#include "ini/FileSystem.h"
#include "ini/cINIFile.h"
#include "text/Ansi.h"

using namespace zav;
using zavtest::TempDir;

namespace {

std::wstring nul(const std::wstring& s) {
    std::wstring out = s;
    for (auto& c : out)
        if (c == L'|') c = L'\0';
    return out;
}

class IniFileTest : public ::testing::Test {
protected:
    TempDir dir;
    std::wstring path = dir.file(L"test.ini");

    cINIFile open(const std::wstring& section = L"General") {
        cINIFile ini(zavtest::storage());
        ini.FullPath(path);
        ini.SectionName(section);
        return ini;
    }
};

}  // namespace

// --- construction, paths and the gate -------------------------------------------------------

TEST(IniFileObject, FreshObjectPointsBesideTheProgramButRefusesUntilASectionIsSet) {
    zavtest::FakeHost host;
    TempDir dir;
    host.folder = dir.path();
    host.baseName = L"my  odd TOOL";
    const Storage storage = zavtest::withHost(host);

    cINIFile ini(storage);
    EXPECT_EQ(ini.SectionName(), L"General");
    EXPECT_EQ(ini.SectionSet(), vbFalse);
    EXPECT_EQ(ini.FileName(), L"My  Odd Tool");
    EXPECT_EQ(ini.FileExt(), L"ini");
    // Natively there are no short folder names: the folder comes back as given.
    const std::wstring expected = dir.path() + L"\\My  Odd Tool.ini";
#ifdef _WIN32
    EXPECT_TRUE(equalsNoCase(ini.FullPath(), expected)) << zav::toAnsi(ini.FullPath());
#else
    EXPECT_EQ(ini.FullPath(), expected);
#endif
    EXPECT_EQ(ini.PrivPath(), ini.FullPath());

    EXPECT_EQ(ini.GetString(L"x", L"default"), L"");
    const std::vector<IniRefusal> refused = ini.TakeRefusals();
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].operation, L"GetString");
    EXPECT_EQ(refused[0].text, L"[Section] and FileName Not Registered in Private.Ini!");
    EXPECT_EQ(refused[0].title, L"IniFile Logic Error");
    EXPECT_TRUE(ini.TakeRefusals().empty());  // taken once
    EXPECT_EQ(ini.Refusals(), 1);
    EXPECT_TRUE(zavtest::reporter().messages.empty());  // the object itself shows nothing
}

TEST(IniFileObject, BlankProgramNameLeavesEveryFieldEmpty) {
    zavtest::FakeHost host;
    host.folder = L"C:\\x";
    host.baseName = L"   ";
    const Storage storage = zavtest::withHost(host);
    cINIFile ini(storage);
    EXPECT_EQ(ini.FullPath(), L"");
    EXPECT_EQ(ini.SectionName(), L"");
    EXPECT_EQ(ini.FilePath(), L"");
}

TEST(IniFileObject, SettingFullPathAloneOpensTheGateAndBlankSectionClosesIt) {
    cINIFile ini(zavtest::storage());
    ASSERT_EQ(ini.SectionSet(), vbFalse);
    ini.FullPath(L"C:\\cfg\\settings.ini");
    EXPECT_EQ(ini.SectionSet(), vbTrue);
    EXPECT_EQ(ini.FilePath(), L"C:\\cfg");
    EXPECT_EQ(ini.FileName(), L"settings");
    EXPECT_EQ(ini.FileExt(), L"ini");

    ini.SectionName(L"   ");
    EXPECT_EQ(ini.SectionSet(), vbFalse);
    EXPECT_EQ(ini.SectionName(), L"   ");  // stored unchanged
    ini.SectionName(L" x ");
    EXPECT_EQ(ini.SectionSet(), vbTrue);
    EXPECT_EQ(ini.SectionName(), L" x ");
}

struct PathCase {
    const wchar_t* in;
    int choice;
    const wchar_t* name;
    const wchar_t* folder;
};

TEST(IniFileObject, ExtractNameAndPathFollowTheFirstDotAndTheLastBackslash) {
    zavtest::FakeHost host;
    host.folder = L"C:\\prog";
    host.current = L"D:\\work\\";
    host.driveCurrent = L"C:\\cur\\dir";
    const Storage storage = zavtest::withHost(host);
    cINIFile ini(storage);

    const PathCase cases[] = {
        {L"C:\\dir\\a.b.ini", 1, L"a", L"C:\\dir"},
        {L"C:\\dir\\a.b.ini", 2, L"b.ini", L"C:\\dir"},
        {L"C:\\dir\\a.b.ini", 0, L"a.b.ini", L"C:\\dir"},
        {L"C:\\cfg\\settings.ini", 1, L"settings", L"C:\\cfg"},
        {L"C:\\cfg\\settings.ini", 2, L"ini", L"C:\\cfg"},
        {L"C:\\file.ini", 0, L"file.ini", L"C:"},
        {L"\\file.ini", 0, L"file.ini", L""},
        {L"C:\\dir\\", 1, L"", L"C:\\dir"},
        {L"C:file.ini", 0, L"file.ini", L"C:\\cur\\dir"},
        {L"Q:file.ini", 0, L"file.ini", L"D:\\work"},  // no such drive: the process's directory
        {L"README", 2, L"README", L"D:\\work"},
        {L"README", 7, L"README", L"D:\\work"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ini.ExtractName(c.in, c.choice), c.name) << zav::toAnsi(c.in) << " choice " << c.choice;
        EXPECT_EQ(ini.ExtractPath(c.in), c.folder) << zav::toAnsi(c.in);
    }

    // An empty argument means the object's own file.
    ini.FullPath(L"E:\\a\\b.c.d");
    EXPECT_EQ(ini.ExtractName(L"", 1), L"b");
    EXPECT_EQ(ini.ExtractName(L"", 2), L"c.d");
    EXPECT_EQ(ini.ExtractPath(L""), L"E:\\a");
}

TEST(IniFileObject, WinIniModeSwitchesTheFileAndBackWithoutTouchingTheSection) {
    zavtest::FakeHost host;
    host.folder = L"C:\\prog";
    host.windows = L"X:\\WINNT";
    const Storage storage = zavtest::withHost(host);

    cINIFile ini(storage);
    ini.FullPath(L"C:\\cfg\\app.settings.ini");
    ini.SectionName(L"   ");
    ini.UseWinINI(vbTrue);
    EXPECT_EQ(ini.UseWinINI(), vbTrue);
    EXPECT_EQ(ini.FullPath(), L"X:\\WINNT\\WIN.INI");
    EXPECT_EQ(ini.FilePath(), L"X:\\WINNT");
    EXPECT_EQ(ini.FileName(), L"WIN");
    EXPECT_EQ(ini.FileExt(), L"INI");
    EXPECT_EQ(ini.PrivPath(), L"C:\\cfg\\app.settings.ini");
    EXPECT_EQ(ini.SectionSet(), vbFalse);  // unchanged by the switch

    host.windows = L"Y:\\OTHER";
    ini.UseWinINI(vbTrue);  // already on: nothing changes
    EXPECT_EQ(ini.FullPath(), L"X:\\WINNT\\WIN.INI");

    ini.SectionName(L"Mine");
    ini.UseWinINI(vbFalse);
    EXPECT_EQ(ini.UseWinINI(), vbFalse);
    EXPECT_EQ(ini.FullPath(), L"C:\\cfg\\app.settings.ini");
    EXPECT_EQ(ini.FilePath(), L"C:\\cfg");
    EXPECT_EQ(ini.FileName(), L"app");
    EXPECT_EQ(ini.FileExt(), L"settings.ini");
    EXPECT_EQ(ini.SectionSet(), vbTrue);

    // Setting a path always lands in private-file mode.
    ini.UseWinINI(vbTrue);
    ini.FullPath(L"C:\\z.ini");
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
    // Numbers are removed differently there: the entry stays with the value 0.
    ini.DeleteNumEntry(L"probe");
    EXPECT_EQ(ini.GetString(L"probe", L"gone"), L"0");
    // (What emptying a WIN.INI section does is the system's business: Wine keeps its entries.)
    ini.DeleteSection();
    EXPECT_EQ(ini.SectionSet(), vbFalse);

    ini.UseWinINI(vbFalse);
    EXPECT_EQ(ini.FullPath(), L"C:\\never\\used.ini");
}

TEST(IniFileObject, ExistsAddsAWildcardExtensionOnlyWhenTheNameHasNoDot) {
    TempDir dir;
    zavtest::writeBytes(dir.file(L"plain.txt"), "x");
    zavtest::writeBytes(dir.file(L"noext"), "x");
    cINIFile ini(zavtest::storage());
    EXPECT_EQ(ini.Exists(dir.file(L"plain")), vbTrue);       // plain.* finds plain.txt
    EXPECT_EQ(ini.Exists(dir.file(L"plain.txt")), vbTrue);
    EXPECT_EQ(ini.Exists(dir.file(L"plain.ini")), vbFalse);
    EXPECT_EQ(ini.Exists(dir.file(L"noext")), vbTrue);       // noext.* also matches noext
    EXPECT_EQ(ini.Exists(dir.file(L"missing")), vbFalse);
    EXPECT_EQ(ini.Exists(dir.path()), vbFalse);              // folders do not count
    EXPECT_EQ(ini.Exists(dir.file(L"nofolder\\x.txt")), vbFalse);
}

// --- entries --------------------------------------------------------------------------------

TEST_F(IniFileTest, StringsRoundTripWholeWithDefaultsForMissingEntries) {
    cINIFile ini = open();
    ASSERT_NE(ini.PutString(L"Name", L"Report"), 0);
    EXPECT_EQ(zavtest::readBytes(path), "[General]\r\nName=Report\r\n");
    EXPECT_EQ(ini.GetString(L"name", L"x"), L"Report");  // names ignore letter case
    EXPECT_EQ(ini.GetString(L"Missing", L"fallback"), L"fallback");

    // An entry with an empty value reads as empty whatever the default.
    ini.PutString(L"Empty", L"");
    EXPECT_EQ(ini.GetString(L"Empty", L"fallback"), L"");

    // Long values come back whole, not cut at 254 characters.
    for (size_t n : {254u, 255u, 256u, 300u, 1023u, 5000u}) {
        std::wstring value(n, L'v');
        value[n - 1] = L'!';
        ini.PutString(L"Long", value);
        EXPECT_EQ(ini.GetString(L"Long", L""), value) << n;
    }
    // Quoted values lose their quotes but none of their text, at every buffer boundary.
    for (size_t n : {253u, 254u, 255u, 256u, 1021u, 1022u, 1023u}) {
        const std::string inner(n, 'q');
        zavtest::writeBytes(dir.file(L"quoted.ini"), "[General]\r\nq=\"" + inner + "\"\r\n");
        cINIFile quoted(zavtest::storage());
        quoted.FullPath(dir.file(L"quoted.ini"));
        EXPECT_EQ(quoted.GetString(L"q", L""), std::wstring(n, L'q')) << n;
    }
    std::wstring longDefault(600, L'd');
    EXPECT_EQ(ini.GetString(L"Absent", longDefault), longDefault);

    // Line breaks in a default never reach the caller.
    EXPECT_EQ(ini.GetString(L"Absent", L"a\r\nb\nc\r"), L"abc");

    // Code page 1252 text survives the trip to the 8-bit file and back.
    ini.PutString(L"Accents", L"caf\u00E9 \u20AC \u0153");
    EXPECT_EQ(ini.GetString(L"ACCENTS", L""), L"caf\u00E9 \u20AC \u0153");
}

TEST_F(IniFileTest, NumbersAreSixteenBitWithOverflowRaised) {
    cINIFile ini = open();
    EXPECT_NE(ini.PutInt(L"Count", -5), 0);
    EXPECT_EQ(ini.GetString(L"Count", L""), L"-5");
    EXPECT_EQ(ini.GetInt(L"Count", 0), -5);
    EXPECT_EQ(ini.GetInt(L"Missing", -7), -7);
    ini.PutInt(L"Max", 32767);
    EXPECT_EQ(ini.GetInt(L"Max", 0), 32767);

    ini.PutString(L"Big", L"32768");
    try {
        ini.GetInt(L"Big", 0);
        FAIL() << "no overflow raised";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), kErrOverflow);
    }
    ini.PutString(L"Low", L"-32769");
    EXPECT_THROW(ini.GetInt(L"Low", 0), Error);
    EXPECT_EQ(ini.SectionName(), L"General");  // the object is unchanged by the failure
}

TEST_F(IniFileTest, BooleansReadTheTrueWordsAndWriteTrueOrFalse) {
    cINIFile ini = open();
    EXPECT_EQ(ini.PutTF(L"Flag", 2), vbTrue);
    EXPECT_EQ(ini.GetString(L"Flag", L""), L"True");
    ini.PutTF(L"Off", 0);
    EXPECT_EQ(ini.GetString(L"Off", L""), L"False");

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

TEST_F(IniFileTest, DeletingStringAndNumberEntriesDifferInPrivateFiles) {
    cINIFile ini = open();
    ini.PutString(L"a", L"1");
    ini.PutString(L"b", L"2");
    ini.DeleteStrEntry(L"a");
    ini.DeleteStrEntry(L"new");  // created empty
    ini.DeleteNumEntry(L"b");
    EXPECT_EQ(zavtest::readBytes(path), "[General]\r\na=\r\nnew=\r\n");
}

TEST_F(IniFileTest, DeleteSectionEmptiesItAndClosesTheGate) {
    cINIFile ini = open(L"Doomed");
    ini.PutString(L"a", L"1");
    ini.PutString(L"b", L"2");
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

TEST_F(IniFileTest, ClosedGateRefusesEveryFileOperationButIniWrite) {
    cINIFile ini = open();
    ini.SectionName(L"");
    EXPECT_EQ(ini.PutString(L"a", L"1"), 0);
    EXPECT_EQ(ini.PutInt(L"a", 1), 0);
    EXPECT_EQ(ini.PutTF(L"a", 1), vbFalse);
    EXPECT_EQ(ini.GetTF(L"a", 1), vbFalse);
    EXPECT_EQ(ini.GetInt(L"a", 9), 0);
    EXPECT_EQ(ini.GetSectEntries(), L"");
    EXPECT_EQ(ini.GetSections(), L"");
    EXPECT_EQ(ini.SectExist(L"General"), vbFalse);
    std::vector<std::wstring> names;
    EXPECT_EQ(ini.GetSectionsEx(names), 0);
    EXPECT_EQ(ini.Refusals(), 9);
    EXPECT_EQ(ini.LastRefusal().operation, L"GetSections");  // GetSectionsEx refused through it
    EXPECT_EQ(ini.LastRefusal().path, path);
    EXPECT_FALSE(zavtest::pathExists(path));  // no file was touched

    ini.IniWrite(L"Free", L"k", L"v", path);
    std::wstring got;
    ini.IniRead(L"Free", L"k", 0, L"", got, vbFalse, path);
    EXPECT_EQ(got, L"v");
    ini.IniWrite(L"Free", L"n", L"-12", path);
    ini.IniRead(L"Free", L"n", 0, L"", got, vbTrue, path);
    EXPECT_EQ(got, L"-12");
    EXPECT_EQ(ini.Refusals(), 9);  // IniWrite and IniRead name their own file and are never refused
}

// The object shows nothing: each refusal is kept, in order, with the operation refused and the
// file named at that moment, until the caller takes them; the count goes on.
TEST_F(IniFileTest, RefusalsAreKeptForTheCallerInOrderUntilTaken) {
    cINIFile ini = open(L"  ");
    EXPECT_EQ(ini.GetString(L"a", L"d"), L"");
    EXPECT_EQ(ini.PutString(L"a", L"1"), 0);
    EXPECT_EQ(ini.Refusals(), 2);
    EXPECT_EQ(ini.LastRefusal().operation, L"PutString");

    auto operations = [](const std::vector<IniRefusal>& list) {
        std::vector<std::wstring> out;
        for (const auto& r : list) out.push_back(r.operation + L" " + r.path);
        return out;
    };
    EXPECT_EQ(operations(ini.TakeRefusals()), (std::vector<std::wstring>{L"GetString " + path, L"PutString " + path}));

    ini.DeleteSection();
    ini.FullPath(dir.file(L"other.ini"));
    ini.SectionName(L"");
    ini.GetInt(L"a", 1);
    EXPECT_EQ(operations(ini.TakeRefusals()),
              (std::vector<std::wstring>{L"DeleteSection " + path, L"GetInt " + dir.file(L"other.ini")}));
    EXPECT_TRUE(ini.TakeRefusals().empty());
    EXPECT_EQ(ini.Refusals(), 4);
    EXPECT_TRUE(zavtest::reporter().messages.empty());
    EXPECT_FALSE(zavtest::pathExists(path));
    EXPECT_FALSE(zavtest::pathExists(dir.file(L"other.ini")));
}

TEST_F(IniFileTest, WriteRefusedByThePlatformReturnsZero) {
    cINIFile ini(zavtest::storage());
    ini.FullPath(dir.file(L"no such folder\\x.ini"));
    EXPECT_EQ(ini.PutString(L"a", L"1"), 0);
    EXPECT_EQ(ini.PutTF(L"a", 1), vbFalse);
}

// --- sections -------------------------------------------------------------------------------

TEST_F(IniFileTest, EntryListsAreWholeAndSplitAtTheFirstEquals) {
    cINIFile ini = open(L"Rules");
    EXPECT_EQ(ini.GetSectEntries(), nul(L"|"));  // missing section
    std::vector<std::wstring> data[2];
    EXPECT_EQ(ini.GetSectEntriesEx(data), 0);
    EXPECT_TRUE(data[0].empty());

    ini.PutString(L"a", L"1");
    ini.PutString(L"b", L"2");
    EXPECT_EQ(ini.GetSectEntries(), nul(L"a=1|b=2||"));
    EXPECT_EQ(ini.GetSectEntriesEx(data), 2);
    EXPECT_EQ(data[0], (std::vector<std::wstring>{L"a", L"b"}));
    EXPECT_EQ(data[1], (std::vector<std::wstring>{L"1", L"2"}));

    zavtest::writeBytes(path, "[Rules]\r\nx=y=z\r\n");
    std::vector<std::wstring> split[2];
    EXPECT_EQ(ini.GetSectEntriesEx(split), 1);
    EXPECT_EQ(split[0][0], L"x");
    EXPECT_EQ(split[1][0], L"y=z");

    // A section far beyond 4096 characters comes back whole.
    zavtest::writeBytes(path, "");
    std::wstring expected;
    for (int i = 0; i < 400; ++i) {
        std::wstring key = L"key" + std::to_wstring(i);
        std::wstring value = L"value number " + std::to_wstring(i) + L" of many";
        ini.PutString(key, value);
        expected += key + L"=" + value + std::wstring(1, L'\0');
    }
    expected += std::wstring(1, L'\0');
    EXPECT_GT(expected.size(), 9000u);
    EXPECT_EQ(ini.GetSectEntries(), expected);
    std::vector<std::wstring> many[2];
    EXPECT_EQ(ini.GetSectEntriesEx(many), 400);
    EXPECT_EQ(many[0][399], L"key399");
    EXPECT_EQ(many[1][399], L"value number 399 of many");
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
// name; its content stays 8-bit text, byte for byte what a plain name gets. Two such names that
// an 8-bit name would make alike stay two files.
TEST_F(IniFileTest, FilesOfAnyNameKeepTheirNameAndTheirBytes) {
    const std::wstring names[] = {L"\u041e\u0442\u0447\u0451\u0442.ini", L"\u5831\u544a \U0001F600.ini",
                                  L"\u0391\u03b2\u03b3.ini"};
    for (const auto& name : names) {
        cINIFile ini(zavtest::storage());
        ini.FullPath(dir.file(name));
        ini.SectionName(L"General");
        ASSERT_NE(ini.PutString(L"Name", L"n"), 0) << zavtest::shown(name);
        ASSERT_NE(ini.PutString(L"Accents", L"caf\u00E9"), 0);
    }
    for (const auto& name : names) {
        cINIFile ini(zavtest::storage());
        ini.FullPath(dir.file(name));
        ini.SectionName(L"General");
        EXPECT_EQ(ini.GetString(L"Accents", L""), L"caf\u00E9");
        std::vector<std::wstring> sections;
        ini.GetSectionsEx(sections);
        EXPECT_EQ(sections, std::vector<std::wstring>{L"General"}) << zavtest::shown(name);
        ini.DeleteNumEntry(L"Name");
        EXPECT_EQ(zavtest::readBytes(dir.file(name)), "[General]\r\nAccents=caf\xE9\r\n") << zavtest::shown(name);
    }
    EXPECT_EQ(zavtest::storage().fs.listFiles(dir.path()).size(), 3u);
}
