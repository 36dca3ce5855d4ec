// The portable profile layer over real files: what it reads from awkward files, how it cuts results
// to the caller's buffer, and the exact bytes it leaves after changes. The expectations are those of
// Windows. Where Wine's kernel32 differs (the differential test of the Windows build lists those
// cases as known Wine differences), the source is named beside the test: Wine's own conformance
// tests (dlls/kernel32/tests/profile.c), which mark such cases todo_wine, or Microsoft's reference
// pages of the profile functions.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "ini/Profile.h"
#include "text/Ansi.h"

using namespace zav;
using zavtest::TempDir;

namespace {

// "|" stands for a NUL in expected lists.
std::string nul(std::string s) {
    for (auto& c : s)
        if (c == '|') c = '\0';
    return s;
}

class PortableProfileTest : public ::testing::Test {
protected:
    TempDir dir;
    std::unique_ptr<IProfile> profile = makePortableProfile(dir.file(L"WIN.INI"));
    std::wstring path = dir.file(L"test.ini");
    std::wstring file = path;

    void given(const std::string& bytes) { zavtest::writeBytes(path, bytes); }
    std::string bytes() const { return zavtest::readBytes(path); }

    struct Result {
        std::uint32_t count;
        std::string buffer;  // all `size` bytes; unwritten ones stay '#'
    };
    Result get(const char* section, const char* key, const char* def = "dflt", std::uint32_t size = 256) {
        std::string b(size, '#');
        auto n = profile->getString(section, key, def, b.data(), size, file.c_str());
        return {n, b};
    }
    // The text a successful read returns (the count's worth of the buffer).
    std::string value(const char* section, const char* key, const char* def = "dflt", std::uint32_t size = 256) {
        auto r = get(section, key, def, size);
        return r.buffer.substr(0, r.count);
    }
    Result section(const char* name, std::uint32_t size = 256) {
        std::string b(size, '#');
        auto n = profile->getSection(name, b.data(), size, file.c_str());
        return {n, b};
    }
    Result names(std::uint32_t size = 256) {
        std::string b(size, '#');
        auto n = profile->getSectionNames(b.data(), size, file.c_str());
        return {n, b};
    }
    std::int32_t put(const char* section, const char* key, const char* value) {
        return profile->writeString(section, key, value, file.c_str());
    }
};

}  // namespace

// --- reading values ---------------------------------------------------------------------------

TEST_F(PortableProfileTest, BlanksAroundNamesAndValuesAreIgnoredAndAsciiLettersMatchInAnyCase) {
    given("  [ Main ]  \r\n\t Key One \t=\t value  with  inner  blanks \t\r\nCAF\xC9=1\r\n");
    EXPECT_EQ(value("main", "key one"), "value  with  inner  blanks");
    EXPECT_EQ(value("  MAIN ", " KEY ONE  "), "value  with  inner  blanks");
    EXPECT_EQ(value("Main", "caf\xC9"), "1");
    EXPECT_EQ(value("Main", "caf\xE9"), "dflt");  // accented letters are compared as they are
    EXPECT_EQ(value("Main", "Key"), "dflt");
}

TEST_F(PortableProfileTest, EmptyValueIsNotAbsentAndALineWithoutEqualsHasNoValue) {
    given("[s]\r\nempty=\r\nblank=   \r\nbare\r\n");
    auto r = get("s", "empty");
    EXPECT_EQ(r.count, 0u);
    EXPECT_EQ(r.buffer[0], '\0');
    EXPECT_EQ(value("s", "blank"), "");
    EXPECT_EQ(value("s", "bare"), "dflt");
}

TEST_F(PortableProfileTest, OnePairOfMatchingQuotesIsRemoved) {
    given("[q]\r\nd=\"two words\"\r\ns='single'\r\nmixed=\"x'\r\ninner=a\"b\"\r\nlone=\"\r\nempty=\"\"\r\n"
          "twice=\"\"x\"\"\r\n");
    EXPECT_EQ(value("q", "d"), "two words");
    EXPECT_EQ(value("q", "s"), "single");
    EXPECT_EQ(value("q", "mixed"), "\"x'");
    EXPECT_EQ(value("q", "inner"), "a\"b\"");
    EXPECT_EQ(value("q", "lone"), "\"");
    EXPECT_EQ(value("q", "empty"), "");
    EXPECT_EQ(value("q", "twice"), "\"x\"");
    // The default loses its quotes too.
    EXPECT_EQ(value("q", "missing", "'def'"), "def");
}

TEST_F(PortableProfileTest, FirstOfDuplicateSectionsAndKeysWins) {
    given("[a]\r\nk=first\r\nk=second\r\n[A]\r\nk=third\r\nonly2=x\r\n");
    EXPECT_EQ(value("a", "k"), "first");
    // The second section of the same name is never searched by a read.
    EXPECT_EQ(value("a", "only2"), "dflt");
}

// Windows: a line starting with ";" is a comment, not an entry (Wine reads it as an entry named
// ";c"). It is never found or listed, a write of that name adds an entry beside it, and it stays
// when its section goes.
TEST_F(PortableProfileTest, CommentLinesAreNoEntries) {
    given("[a]\r\n;c=comment\r\n  ; indented=1\r\nk=v\r\n");
    EXPECT_EQ(value("a", ";c"), "dflt");
    EXPECT_EQ(value("a", "; indented"), "dflt");
    EXPECT_EQ(section("a").buffer.substr(0, 5), nul("k=v||"));
    // A write of that name leaves the comment alone; the line it adds is a comment itself.
    EXPECT_NE(put("a", ";c", "new"), 0);
    EXPECT_EQ(bytes(), "[a]\r\n;c=comment\r\n  ; indented=1\r\nk=v\r\n;c=new\r\n");
    EXPECT_EQ(value("a", ";c"), "dflt");
    EXPECT_NE(put("a", ";c", nullptr), 0);
    EXPECT_NE(put("a", "k", nullptr), 0);
    EXPECT_EQ(bytes(), "[a]\r\n;c=comment\r\n  ; indented=1\r\n;c=new\r\n");
    EXPECT_NE(put("a", nullptr, nullptr), 0);
    EXPECT_EQ(bytes(), ";c=comment\r\n  ; indented=1\r\n;c=new\r\n");
}

// New entries go after the section's last entry: blank lines and comments in front of the next
// header stay there, and a section with comments only gets the entry under its header.
TEST_F(PortableProfileTest, NewEntriesFollowTheLastEntryOfTheirSection) {
    given("[a]\r\nx=1\r\n\r\n; about b\r\n[b]\r\n; b has none yet\r\n");
    EXPECT_NE(put("a", "y", "2"), 0);
    EXPECT_NE(put("b", "z", "3"), 0);
    EXPECT_EQ(bytes(), "[a]\r\nx=1\r\ny=2\r\n\r\n; about b\r\n[b]\r\nz=3\r\n; b has none yet\r\n");
}

TEST_F(PortableProfileTest, LineEndsMayBeCrLfLfOrCr) {
    given("[lf]\nx=2\r[cr]\ry=3\n\n\r\n");
    EXPECT_EQ(value("lf", "x"), "2");
    EXPECT_EQ(value("cr", "y"), "3");
}

// Windows: lines before the first header belong to no section; "[]" is the section "", and a
// write to "" goes under "[]". Wine's conformance test test_profile_string reads
// "key=val_no_section" before "[]" and expects the value under "[]" (todo_wine).
TEST_F(PortableProfileTest, LinesBeforeTheFirstHeaderAreInNoSectionAndBracketsAloneNameTheEmptyOne) {
    given("\r\nkey=val_no_section\r\n[]\r\nkey=val_e_section\r\n[s]\r\n");
    EXPECT_EQ(value("", "key"), "val_e_section");
    EXPECT_EQ(value("  ", "key"), "val_e_section");
    given("top=1\r\n[s]\r\nk=1\r\n");
    EXPECT_EQ(value("", "top"), "dflt");
    EXPECT_EQ(get("", nullptr).count, 4u);  // no keys: the default
    EXPECT_NE(put("", "top", "2"), 0);
    EXPECT_EQ(bytes(), "top=1\r\n[s]\r\nk=1\r\n[]\r\ntop=2\r\n");
    EXPECT_EQ(value("", "top"), "2");
}

// Windows: a header's name ends at its first "]", and a line starting with "[" without any "]"
// still starts a section, named by the rest of the line (Wine takes the name to the last "]" and
// reads a header without "]" as an entry).
TEST_F(PortableProfileTest, HeadersEndAtTheFirstBracketAndOneWithoutCloseStillStartsASection) {
    given("[a]b] tail\r\nk=1\r\n[ open \r\nv=2\r\n");
    EXPECT_EQ(value("a", "k"), "1");
    EXPECT_EQ(value("a]b", "k"), "dflt");
    EXPECT_EQ(value("open", "v"), "2");
    EXPECT_EQ(value("a", "v"), "dflt");
    EXPECT_EQ(names().buffer.substr(0, 8), nul("a|open||"));
}

TEST_F(PortableProfileTest, MissingAndEmptyFilesGiveTheDefaultWithoutItsTrailingSpaces) {
    EXPECT_EQ(value("s", "k", "def  "), "def");
    EXPECT_EQ(value("s", "k", "   "), " ");
    EXPECT_EQ(value("s", "k", nullptr), "");
    given("");
    EXPECT_EQ(value("s", "k", " x "), " x");
    EXPECT_FALSE(zavtest::readBytes(path).size());
}

TEST_F(PortableProfileTest, NullFileIsWinIniAndABareNameLivesBesideIt) {
    zavtest::writeBytes(dir.file(L"WIN.INI"), "[w]\r\nk=win\r\n");
    zavtest::writeBytes(dir.file(L"bare.ini"), "[b]\r\nk=bare\r\n");
    char b[16];
    EXPECT_EQ(profile->getString("w", "k", "", b, sizeof b, nullptr), 3u);
    EXPECT_STREQ(b, "win");
    EXPECT_EQ(profile->getString("b", "k", "", b, sizeof b, L"bare.ini"), 4u);
    EXPECT_STREQ(b, "bare");
}

// --- results cut to the caller's buffer --------------------------------------------------------

TEST_F(PortableProfileTest, ValuesAreCutToSizeMinusOne) {
    const std::string longValue(300, 'v');
    given("[s]\r\nk=" + longValue + "\r\nq=\"abcd\"\r\n");
    auto r = get("s", "k", "", 255);
    EXPECT_EQ(r.count, 254u);
    EXPECT_EQ(r.buffer.substr(0, 255), std::string(254, 'v') + '\0');
    r = get("s", "k", "", 1);
    EXPECT_EQ(r.count, 0u);
    EXPECT_EQ(r.buffer, std::string(1, '\0'));
    // Nothing is written into an empty buffer.
    EXPECT_EQ(get("s", "k", "", 0).buffer, "");
    // A quoted value cut just before its closing quote loses one more character.
    EXPECT_EQ(value("s", "q", "", 6), "abcd");
    EXPECT_EQ(value("s", "q", "", 5), "abc");
    EXPECT_EQ(value("s", "q", "", 4), "abc");
    EXPECT_EQ(value("s", "q", "", 3), "ab");
}

TEST_F(PortableProfileTest, KeyListsSkipCommentsAndBareLinesAndEndWithTwoNuls) {
    given("[s]\r\nalpha=1\r\n;note=x\r\nbare\r\nbeta=\r\n[empty]\r\n");
    auto r = get("s", nullptr);
    EXPECT_EQ(r.count, 11u);
    EXPECT_EQ(r.buffer.substr(0, 12), nul("alpha|beta||"));
    // A section without keys, or none at all, gives the default instead.
    EXPECT_EQ(value("empty", nullptr, "'d'"), "d");
    EXPECT_EQ(value("none", nullptr, "d  "), "d  ");
}

// Windows: a cut key list ends with two NULs, the count is size-2, and a list whose first name does
// not fit gives nothing. Wine's conformance test test_GetPrivateProfileString expects
// "name1\0name2\0na\0\0" from a 16-byte buffer (todo_wine: Wine leaves one NUL).
TEST_F(PortableProfileTest, KeyListCutShortEndsWithTwoNuls) {
    given("[s]\r\nalpha=1\r\nbeta=2\r\n");
    auto r = get("s", nullptr, "", 9);
    EXPECT_EQ(r.count, 7u);
    EXPECT_EQ(r.buffer, nul("alpha|b||"));
    r = get("s", nullptr, "", 7);
    EXPECT_EQ(r.count, 5u);
    EXPECT_EQ(r.buffer, nul("alpha||"));
    r = get("s", nullptr, "", 6);
    EXPECT_EQ(r.count, 0u);
    EXPECT_EQ(r.buffer, nul("||####"));
    // Whole only when the list and its last NUL leave a byte free (the section-name test of
    // test_profile_sections_names: 28 bytes for a 28-byte list give 26).
    r = get("s", nullptr, "", 13);
    EXPECT_EQ(r.count, 11u);
    EXPECT_EQ(r.buffer, nul("alpha|beta||#"));
    r = get("s", nullptr, "", 12);
    EXPECT_EQ(r.count, 10u);
    EXPECT_EQ(r.buffer, nul("alpha|beta||"));
}

TEST_F(PortableProfileTest, SectionListsNameEqualsValueAndCutsWithTwoNuls) {
    given("[s]\r\na = 1\r\n;c=2\r\nbare\r\nb=\"q\"\r\n[S]\r\nlater=x\r\n");
    auto r = section("s");
    EXPECT_EQ(r.count, 15u);
    EXPECT_EQ(r.buffer.substr(0, 16), nul("a=1|bare|b=\"q\"||"));
    r = section("s", 8);
    EXPECT_EQ(r.count, 6u);
    EXPECT_EQ(r.buffer, nul("a=1|ba||"));
    // A list that would fit exactly (16 bytes with its last NUL) is still reported as cut.
    r = section("s", 16);
    EXPECT_EQ(r.count, 14u);
    EXPECT_EQ(r.buffer, nul("a=1|bare|b=\"q\"||"));
    r = section("missing", 8);
    EXPECT_EQ(r.count, 0u);
    EXPECT_EQ(r.buffer, nul("||######"));
}

// Windows: a cut section-name list ends with two NULs (Wine's test_profile_sections_names, todo_wine:
// Wine leaves the last byte alone), and one whose first name does not fit gives nothing.
TEST_F(PortableProfileTest, SectionNamesSkipTheEmptyNameAndCutWithTwoNuls) {
    given("top=1\r\n[One]\r\n[two]\r\n[One]\r\n[]\r\n");
    auto r = names();
    EXPECT_EQ(r.count, 12u);
    EXPECT_EQ(r.buffer.substr(0, 13), nul("One|two|One||"));
    r = names(7);
    EXPECT_EQ(r.count, 5u);
    EXPECT_EQ(r.buffer, nul("One|t||"));
    r = names(5);
    EXPECT_EQ(r.count, 3u);
    EXPECT_EQ(r.buffer, nul("One||"));
    r = names(4);
    EXPECT_EQ(r.count, 0u);
    EXPECT_EQ(r.buffer, nul("||##"));
    // The section-name list through a null section, and an empty file: one NUL only.
    EXPECT_EQ(value(nullptr, "ignored", "", 256), nul("One|two|One|"));
    given("");
    r = names(4);
    EXPECT_EQ(r.count, 0u);
    EXPECT_EQ(r.buffer, nul("|###"));
}

// --- integers ------------------------------------------------------------------------------------

TEST_F(PortableProfileTest, IntegersStopAtTheFirstNonDigitAndKeepTheLow32Bits) {
    given("[n]\r\nplain=42\r\nneg=-17\r\nplus=+8\r\ntrail=12abc\r\nword=abc\r\nhex=0x1F\r\nHEX=0X1F\r\n"
          "oct=0o17\r\nbin=0b101\r\nbig=4294967297\r\nquoted=\"7\"\r\nempty=\r\nspace=- 5\r\n");
    auto i = [&](const char* key, int def = 99) {
        return static_cast<std::int32_t>(profile->getInt("n", key, def, file.c_str()));
    };
    EXPECT_EQ(i("plain"), 42);
    EXPECT_EQ(i("neg"), -17);
    EXPECT_EQ(i("plus"), 8);
    EXPECT_EQ(i("trail"), 12);
    EXPECT_EQ(i("word"), 0);
    EXPECT_EQ(i("hex"), 31);
    EXPECT_EQ(i("HEX"), 31);  // the key matches in any case; the value "0X1F" stops at the X
    EXPECT_EQ(i("oct"), 15);
    EXPECT_EQ(i("bin"), 5);
    EXPECT_EQ(i("big"), 1);
    EXPECT_EQ(i("quoted"), 7);
    EXPECT_EQ(i("empty"), 99);
    EXPECT_EQ(i("space"), 0);
    EXPECT_EQ(i("missing", -5), -5);
}

// --- writing -------------------------------------------------------------------------------------

TEST_F(PortableProfileTest, WritesCreateTheFileAppendKeysToTheirSectionAndSectionsAtTheEnd) {
    EXPECT_NE(put("One", "a", "1"), 0);
    EXPECT_EQ(bytes(), "[One]\r\na=1\r\n");
    EXPECT_NE(put("Two", "b", "2"), 0);
    EXPECT_NE(put("one", "c", "3"), 0);
    EXPECT_NE(put("ONE", "A", "changed"), 0);  // the line keeps the name as the file spells it
    EXPECT_EQ(bytes(), "[One]\r\na=changed\r\nc=3\r\n[Two]\r\nb=2\r\n");
}

// Windows edits the file in place: only the line that changes is written, every other byte
// (blank lines, blanks, line ends, text before the first header) stays. Wine's
// test_WritePrivateProfileString keeps the bytes before the first section (todo_wine: Wine
// rewrites the whole file from what it parsed).
TEST_F(PortableProfileTest, WritesEditTheFileInPlace) {
    given("\r\n; header comment\r\n  [ s ] \r\n\r\n  k  =  v  \r\nbare\n\n[t]\r\nlast=1");
    EXPECT_NE(put("t", "n", "new"), 0);
    EXPECT_EQ(bytes(), "\r\n; header comment\r\n  [ s ] \r\n\r\n  k  =  v  \r\nbare\n\n[t]\r\nlast=1\r\nn=new\r\n");
    EXPECT_NE(put("s", "k", "w"), 0);
    EXPECT_NE(put("s", "bare", nullptr), 0);
    EXPECT_EQ(bytes(), "\r\n; header comment\r\n  [ s ] \r\n\r\nk=w\r\n\n[t]\r\nlast=1\r\nn=new\r\n");

    const std::string before = std::string("Data \0 before \0 first \0 section", 31) + "\r\n[section1]\r\n";
    given(before);
    EXPECT_NE(put("section1", "key1", "string1"), 0);
    EXPECT_EQ(bytes(), before + "key1=string1\r\n");
}

TEST_F(PortableProfileTest, WritingAValueThatReadsBackTheSameLeavesTheFileAsItWas) {
    const std::string original = "[s]\n\n  k =  v\n";
    given(original);
    EXPECT_NE(put("s", "k", "v"), 0);
    EXPECT_NE(put(" s ", "\tK ", "v"), 0);
    EXPECT_NE(put("s", "missing", nullptr), 0);
    EXPECT_NE(put("nosuch", nullptr, nullptr), 0);
    EXPECT_EQ(bytes(), original);
}

TEST_F(PortableProfileTest, EmptyValueStaysAndAbsentValueRemovesTheEntry) {
    given("[s]\r\na=1\r\nb=2\r\na=3\r\n");
    EXPECT_NE(put("s", "b", ""), 0);
    EXPECT_EQ(bytes(), "[s]\r\na=1\r\nb=\r\na=3\r\n");
    EXPECT_NE(put("s", "a", nullptr), 0);  // the first of the duplicates
    EXPECT_EQ(bytes(), "[s]\r\nb=\r\na=3\r\n");
    // A bare line gets a value when one is written to it.
    given("[s]\r\nbare\r\n");
    EXPECT_NE(put("s", "BARE", "x"), 0);
    EXPECT_EQ(bytes(), "[s]\r\nbare=x\r\n");
}

// Names given are taken without the blanks around them, on reads and on writes; a value is
// written as given, blanks and all, and read without the blanks around it.
TEST_F(PortableProfileTest, NamesLoseTheirEdgeBlanksAndValuesAreWrittenAsGiven) {
    EXPECT_NE(put(" s ", " k ", " v "), 0);
    EXPECT_EQ(bytes(), "[s]\r\nk= v \r\n");
    EXPECT_EQ(value("s", "k"), "v");
    EXPECT_EQ(value("\ts ", " k\t"), "v");
    EXPECT_NE(put("s", "two", "a\r\nb=c"), 0);
    EXPECT_EQ(bytes(), "[s]\r\nk= v \r\ntwo=a\r\nb=c\r\n");
    EXPECT_EQ(value("s", "two"), "a");
    EXPECT_EQ(value("s", "b"), "c");
    // Inner blanks are part of the name.
    EXPECT_NE(put("s", "two  words", "x"), 0);
    EXPECT_EQ(value("s", "two words"), "dflt");
    EXPECT_EQ(value("s", " two  words "), "x");
}

TEST_F(PortableProfileTest, DeletingASectionRemovesTheFirstOfThatNameButItsComments) {
    given("top=1\r\n[a]\r\nx=1\r\n;c\r\n\r\n[b]\r\ny=2\r\n[A]\r\nz=3\r\n");
    EXPECT_NE(put("A", nullptr, nullptr), 0);
    EXPECT_EQ(bytes(), "top=1\r\n;c\r\n[b]\r\ny=2\r\n[A]\r\nz=3\r\n");
    // The lines before the first header are in no section, not even "".
    EXPECT_NE(put("", nullptr, "ignored"), 0);
    EXPECT_EQ(bytes(), "top=1\r\n;c\r\n[b]\r\ny=2\r\n[A]\r\nz=3\r\n");
}

TEST_F(PortableProfileTest, WriteSectionReplacesEveryEntryOfEverySectionOfThatName) {
    given("[s]\r\nold=1\r\n;c\r\n[t]\r\nkeep=1\r\n[S]\r\nold2=2\r\n");
    EXPECT_NE(profile->writeSection("s", nul("a=1|no equals| b = 2 |a=dup||").c_str(), file.c_str()), 0);
    EXPECT_EQ(bytes(), "[s]\r\na=1\r\nb= 2 \r\na=dup\r\n;c\r\n[t]\r\nkeep=1\r\n[S]\r\n");
    EXPECT_NE(profile->writeSection("t", nul("|").c_str(), file.c_str()), 0);
    EXPECT_EQ(bytes(), "[s]\r\na=1\r\nb= 2 \r\na=dup\r\n;c\r\n[t]\r\n[S]\r\n");
    // A new section goes to the end; an empty list for a missing section changes nothing.
    EXPECT_NE(profile->writeSection("u", nul("k=v||").c_str(), file.c_str()), 0);
    EXPECT_NE(profile->writeSection("none", nul("||").c_str(), file.c_str()), 0);
    EXPECT_EQ(bytes(), "[s]\r\na=1\r\nb= 2 \r\na=dup\r\n;c\r\n[t]\r\n[S]\r\n[u]\r\nk=v\r\n");
}

TEST_F(PortableProfileTest, FlushAndNullSectionWritesReturnZeroAndChangeNothing) {
    given("[s]\r\nk=v\r\n");
    EXPECT_EQ(put(nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(put(nullptr, "k", "v2"), 0);
    EXPECT_EQ(profile->writeSection(nullptr, nullptr, file.c_str()), 0);
    EXPECT_EQ(bytes(), "[s]\r\nk=v\r\n");
}

TEST_F(PortableProfileTest, ReadOnlyFileAndMissingFolderRefuseChanges) {
    given("[s]\r\nk=v\r\n");
    zavtest::setReadOnly(path, true);
    EXPECT_EQ(put("s", "k", "new"), 0);
    EXPECT_EQ(put("s", "k", nullptr), 0);
    EXPECT_EQ(put("s", nullptr, nullptr), 0);
    EXPECT_EQ(profile->writeSection("s", nul("a=1||").c_str(), file.c_str()), 0);
    EXPECT_EQ(value("s", "k"), "v");  // reading is fine
    zavtest::setReadOnly(path, false);
    EXPECT_EQ(bytes(), "[s]\r\nk=v\r\n");

    const std::wstring lost = dir.file(L"no folder\\x.ini");
    EXPECT_EQ(profile->writeString("s", "k", "v", lost.c_str()), 0);
    EXPECT_EQ(profile->writeString("s", "k", nullptr, lost.c_str()), 0);
    EXPECT_FALSE(zavtest::pathExists(dir.file(L"no folder")));
    // Reading there gives the default as given, quotes and all.
    char b[16];
    EXPECT_EQ(profile->getString("s", "k", "'d'", b, sizeof b, lost.c_str()), 3u);
    EXPECT_STREQ(b, "'d'");
    // Deleting from a missing file in an existing folder succeeds without creating it.
    EXPECT_NE(put("s", nullptr, nullptr), 0);
    EXPECT_NE(profile->writeString("s", "k", nullptr, dir.file(L"absent.ini").c_str()), 0);
    EXPECT_FALSE(zavtest::pathExists(dir.file(L"absent.ini")));
}

TEST_F(PortableProfileTest, CodePage1252TextSurvivesAWriteByteForByte) {
    const std::string text = "caf\xE9 \x80 \x9C\x8C \xFC";
    EXPECT_NE(put("\xC9t\xE9", "cl\xE9", text.c_str()), 0);
    EXPECT_NE(put("\xC9T\xE9", "CL\xE9", (text + "!").c_str()), 0);  // ASCII letters in other case
    EXPECT_NE(put("\xC9t\xE9", "cl\xC9", "other"), 0);                 // an accent in other case
    EXPECT_EQ(bytes(), "[\xC9t\xE9]\r\ncl\xE9=" + text + "!\r\ncl\xC9=other\r\n");
}

// --- encodings and limits --------------------------------------------------------------------

// A file that begins with the UTF-16LE byte-order mark is read as UTF-16, and a change keeps it so
// (Microsoft's WritePrivateProfileString page: a file created with Unicode characters gets
// Unicode characters written to it).
TEST_F(PortableProfileTest, FilesWithAUtf16ByteOrderMarkAreReadAndWrittenAsUtf16) {
    auto utf16 = [](const std::string& ascii) {
        std::string out("\xFF\xFE", 2);
        for (char c : ascii) out += std::string{c, '\0'};
        return out;
    };
    given(utf16("[s]\r\nk=caf") + std::string("\xE9\0\r\0\n\0", 6));
    EXPECT_EQ(value("s", "k"), "caf\xE9");
    EXPECT_EQ(names().buffer.substr(0, 3), nul("s||"));
    EXPECT_NE(put("s", "n", "1"), 0);
    EXPECT_EQ(bytes(), utf16("[s]\r\nk=caf") + std::string("\xE9\0", 2) + std::string("\r\0\n\0", 4) +
                           utf16("n=1\r\n").substr(2));
    // Without the mark the same bytes are ANSI text, NULs and all.
    given(std::string("[\0s\0]\0", 6));
    EXPECT_EQ(value("s", "k"), "dflt");
}

// Windows hands out no value of 65,536 characters or more; one character less comes back whole.
TEST_F(PortableProfileTest, ValuesOf64KiCharactersOrMoreAreNotHandedOut) {
    const std::string below(65535, 'v');
    given("[s]\r\nbelow=" + below + "\r\nat=" + std::string(65536, 'w') + "\r\nabove=" +
          std::string(70000, 'x') + "\r\n");
    auto r = get("s", "below", "dflt", 70000);
    EXPECT_EQ(r.count, 65535u);
    EXPECT_EQ(r.buffer.substr(0, 65536), below + '\0');
    r = get("s", "at", "dflt", 70000);
    EXPECT_EQ(r.count, 0u);
    EXPECT_EQ(r.buffer[0], '\0');
    EXPECT_EQ(get("s", "above", "dflt", 80000).count, 0u);
    // Cut to a small buffer, a long value still gives nothing.
    EXPECT_EQ(get("s", "at", "dflt", 16).count, 0u);
    EXPECT_EQ(get("s", "below", "dflt", 16).count, 15u);
}
