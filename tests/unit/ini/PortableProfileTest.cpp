// The profile functions as scripts over real files: each step a call and what Windows answers (the
// count, then every byte written into the buffer, "|" for NUL; after a change the file's bytes).
// Every step runs through the portable layer; in the Windows build also through kernel32 (under
// Wine), which must give the same answer except on the steps marked with a documented point where
// Wine differs from Windows (its conformance tests, dlls/kernel32/tests/profile.c, mark these
// todo_wine). After such a step the system's file is set to the portable one's again.
#include <gtest/gtest.h>

#include <optional>

#include "TestSupport.h"
#include "ini/Profile.h"

using namespace zav;

namespace {

using Text = std::optional<std::string>;
const Text N;  // an absent argument (NULL)

// Where Wine differs: Comments (a ";" line is a comment; Wine: an entry), Headers (a header ends at
// its first "]", one without "]" still starts a section), NoSection (lines before the first header
// are in no section; "[]" names ""), CutLists (a cut name list ends with two NULs, empty when its
// first name does not fit), InPlace (a change edits the file in place; Wine rewrites it), Blanks
// (names lose their edge blanks in every call; values are written as given), Root (a read-only
// file refuses changes; Wine run as root writes it), Limit (values up to 65,535 characters are
// handed out; Wine 8: 32,766).
enum Wine { Same, Comments, Headers, NoSection, CutLists, InPlace, Blanks, Root, Limit };

// op: 'f' the file's bytes become `text` (N: no file), 'R' read-only on ("1") or off, 'F' the files
// move to a folder that does not exist; 'g' getString, 'i' getInt (`text` the default), 'w'
// writeString, 's' getSection, 'S' writeSection, 'n' getSectionNames.
struct Step {
    char op;
    Text section{}, key{}, text{};
    std::string expected{};
    std::uint32_t size = 256;
    Wine wine = Same;
};

std::string swap(std::string s, char from, char to) {
    for (auto& c : s)
        if (c == from) c = to;
    return s;
}
std::string nul(const std::string& s) { return swap(s, '|', '\0'); }
std::string bars(const std::string& s) { return swap(s, '\0', '|'); }
const char* arg(const Text& t) { return t ? t->c_str() : nullptr; }

std::string run(IProfile& p, const Step& s, const std::wstring& file) {
    const std::string text = s.text ? nul(*s.text) : std::string();
    const char *t = s.text ? text.c_str() : nullptr, *sec = arg(s.section), *key = arg(s.key);
    const wchar_t* f = file.c_str();
    std::string buffer(s.size + 8, '#');  // the bytes behind the buffer must stay as they are
    std::uint32_t n = 0;
    std::int32_t done = 0;  // a change: whether it was done, then the file it left
    switch (s.op) {
        case 'i': return std::to_string(static_cast<std::int32_t>(p.getInt(sec, key, std::stoi(text), f)));
        case 'w': done = p.writeString(sec, key, t, f); break;
        case 'S': done = p.writeSection(sec, t, f); break;
        case 'g': n = p.getString(sec, key, t, buffer.data(), s.size, f); break;
        case 's': n = p.getSection(sec, buffer.data(), s.size, f); break;
        case 'n': n = p.getSectionNames(buffer.data(), s.size, f); break;
    }
    if (s.op == 'w' || s.op == 'S')
        return std::to_string(done != 0) + " " + (zavtest::pathExists(file) ? bars(zavtest::readBytes(file)) : "(no file)");
    buffer.erase(buffer.find_last_not_of('#') + 1);
    return std::to_string(n) + " " + bars(buffer);
}

void script(const std::vector<Step>& steps) {
    zavtest::TempDir dir;
    std::unique_ptr<IProfile> layers[] = {makePortableProfile(dir.file(L"WIN.INI")), makeSystemProfile()};
    std::wstring files[] = {dir.file(L"portable.ini"), dir.file(L"system.ini")};
    const int count = sizeof(wchar_t) == 2 ? 2 : 1;  // natively the system's layer is the portable one
    auto give = [&](int i, const Text& bytes, bool readOnly) {  // the file's bytes (none: no file)
        if (zavtest::pathExists(files[i])) zavtest::storage().fs.deleteFile(files[i], true);
        if (bytes) zavtest::writeBytes(files[i], *bytes);
        if (bytes && readOnly) zavtest::setReadOnly(files[i], true);
    };
    bool readOnly = false;
    for (const Step& s : steps) {
        if (s.op == 'R') readOnly = *s.text == "1";
        for (int i = 0; i < count; ++i) {
            if (s.op == 'f') give(i, s.text ? Text(nul(*s.text)) : N, false);
            if (s.op == 'R') zavtest::setReadOnly(files[i], readOnly);
            if (s.op == 'F') files[i] = dir.file(L"gone\\") + (i ? L"system.ini" : L"portable.ini");
            if (s.op == 'f' || s.op == 'R' || s.op == 'F') continue;
            const std::string got = run(*layers[i], s, files[i]);
            // kernel32 keeps parsed files: the next call must read the file afresh.
            if (i == 1) layers[1]->writeString(nullptr, nullptr, nullptr, files[1].c_str());
            if (i == 1 && s.wine != Same) {
                if (s.op == 'w' || s.op == 'S')
                    give(1, zavtest::pathExists(files[0]) ? Text(zavtest::readBytes(files[0])) : N, readOnly);
                continue;
            }
            EXPECT_EQ(got, s.expected) << (i ? "kernel32: " : "portable: ") << s.op << "("
                                       << bars(arg(s.section) ? *s.section : "NULL") << ", "
                                       << bars(arg(s.key) ? *s.key : "NULL") << ", "
                                       << bars(s.text ? s.text->substr(0, 40) : "NULL") << ", " << s.size << ")";
        }
    }
}

std::string utf16(const std::string& ascii) {
    std::string out("\xFF\xFE", 2);
    for (char c : ascii) out += std::string{c, '\0'};
    return out;
}

}  // namespace

TEST(Profile, ValuesAreFoundByTheirNamesAndLoseOnePairOfQuotes) {
    script({
        {'f', N, N, "  [ Main ]  \r\n\t Key One \t=\t value  with  inner  blanks \t\r\nCAF\xC9=1\r\n"},
        {'g', "  MAIN ", " KEY ONE  ", "dflt", "26 value  with  inner  blanks|"},
        {'g', "Main", "caf\xC9", "dflt", "1 1|"},
        {'g', "Main", "caf\xE9", "dflt", "4 dflt|"},  // only ASCII letters match in any case
        {'g', "Main", "Key", "dflt", "4 dflt|"},
        {'f', N, N, "[q]\r\nd=\"two words\"\r\ns='single'\r\nmixed=\"x'\r\ninner=a\"b\"\r\nlone=\"\r\nempty=\"\"\r\n"
                    "twice=\"\"x\"\"\r\nblank=   \r\nbare\r\n"},
        {'g', "q", "d", "dflt", "9 two words|"}, {'g', "q", "s", "dflt", "6 single|"},
        {'g', "q", "mixed", "dflt", "3 \"x'|"}, {'g', "q", "inner", "dflt", "4 a\"b\"|"},
        {'g', "q", "lone", "dflt", "1 \"|"}, {'g', "q", "empty", "dflt", "0 |"},
        {'g', "q", "twice", "dflt", "3 \"x\"|"}, {'g', "q", "blank", "dflt", "0 |"},
        {'g', "q", "bare", "dflt", "4 dflt|"},  // no "=": no value
        {'g', "q", "missing", "'def'", "3 def|"},
        // The first of two sections or keys of one name is the one read.
        {'f', N, N, "[a]\r\nk=first\r\nk=second\r\n[A]\r\nk=third\r\nonly2=x\r\n"}, {'g', "a", "k", "dflt", "5 first|"},
        {'g', "a", "only2", "dflt", "4 dflt|"},
        // Line ends of every kind; blanks of the C library and ^Z, but not a no-break space; a NUL
        // ends a name or a value.
        {'f', N, N, "[lf]\nx=2\r[cr]\ry=3\n\n\r\n"}, {'g', "lf", "x", "dflt", "1 2|"}, {'g', "cr", "y", "dflt", "1 3|"},
        {'f', N, N, "[s]\r\n\xA0k\xA0=\xA0v\xA0\r\nz=v\x1A\r\nk=a|b\r\nn|x=1\r\n\x1A[t]\r\nf=\x0Bv\x0C\r\n"},
        {'g', "s", "\xA0k\xA0", "dflt", "3 \xA0v\xA0|"}, {'g', "s", "z", "dflt", "1 v|"},
        {'g', "s", "k", "dflt", "1 a|"}, {'g', "s", "n", "dflt", "1 1|"}, {'g', "t", "f", "dflt", "1 v|"},
        // No file, or an empty one: the default without its trailing spaces but the first.
        {'f', N, N, N}, {'g', "s", "k", "def  ", "3 def|"}, {'g', "s", "k", "   ", "1  |"}, {'g', "s", "k", N, "0 |"},
        {'f', N, N, ""}, {'g', "s", "k", " x ", "2  x|"},
    });
}

TEST(Profile, CommentsHeadersAndLinesBeforeTheFirstHeaderFollowWindows) {
    script({
        // Comments are never found or listed; a write of that name adds an entry beside them, and
        // they stay when their section goes.
        {'f', N, N, "[a]\r\n;c=comment\r\n  ; indented=1\r\nk=v\r\n"},
        {'g', "a", ";c", "dflt", "4 dflt|", 256, Comments}, {'g', "a", "; indented", "dflt", "4 dflt|", 256, Comments},
        {'s', "a", N, N, "4 k=v||", 256, Comments},
        {'w', "a", ";c", "new", "1 [a]\r\n;c=comment\r\n  ; indented=1\r\nk=v\r\n;c=new\r\n", 0, Comments},
        {'w', "a", "k", N, "1 [a]\r\n;c=comment\r\n  ; indented=1\r\n;c=new\r\n", 0, Comments},
        {'w', "a", N, N, "1 ;c=comment\r\n  ; indented=1\r\n;c=new\r\n", 0, Comments},
        {'f', N, N, "[a]b] tail\r\nk=1\r\n[ open \r\nv=2\r\n"}, {'g', "a", "k", "dflt", "1 1|", 256, Headers},
        {'g', "a]b", "k", "dflt", "4 dflt|", 256, Headers}, {'g', "open", "v", "dflt", "1 2|", 256, Headers},
        {'g', "a", "v", "dflt", "4 dflt|", 256, Headers}, {'n', N, N, N, "7 a|open||", 256, Headers},
        {'f', N, N, "\r\nkey=val_no_section\r\n[]\r\nkey=val_e_section\r\n[s]\r\n"},
        {'g', "  ", "key", "dflt", "13 val_e_section|", 256, NoSection}, {'f', N, N, "top=1\r\n[s]\r\nk=1\r\n"},
        {'g', "", "top", "dflt", "4 dflt|", 256, NoSection},
        {'g', "", N, "dflt", "4 dflt|", 256, NoSection},  // no keys: the default
        {'w', "", "top", "2", "1 top=1\r\n[s]\r\nk=1\r\n[]\r\ntop=2\r\n", 0, NoSection},
        {'g', "", "top", "dflt", "1 2|", 256, NoSection},
        // A second entry without a name right after another is not read.
        {'f', N, N, "[s]\r\n=novalue\r\n=again\r\nk=v\r\n"}, {'s', "s", N, N, "13 =novalue|k=v||"},
    });
}

TEST(Profile, AnswersAreCutToTheCallersBuffer) {
    script({
        {'f', N, N, "[s]\r\nk=" + std::string(300, 'v') + "\r\nq=\"abcd\"\r\n"},
        {'g', "s", "k", "", "254 " + std::string(254, 'v') + "|", 255}, {'g', "s", "k", "", "0 |", 1},
        {'g', "s", "k", "", "0 ", 0},
        // A quoted value cut just before its closing quote loses one more character.
        {'g', "s", "q", "", "4 abcd|", 6}, {'g', "s", "q", "", "3 abc|", 5}, {'g', "s", "q", "", "3 abc|", 4},
        {'g', "s", "q", "", "2 ab|", 3},
        // Key lists: names with a value only, two NULs at the end, cut with two NULs, and nothing
        // when the first name does not fit; whole only when a byte is left free.
        {'f', N, N, "[s]\r\nalpha=1\r\nbare\r\nbeta=2\r\n[empty]\r\n"}, {'g', "s", N, "", "11 alpha|beta||"},
        {'g', "s", N, "", "11 alpha|beta||", 13}, {'g', "s", N, "", "10 alpha|beta||", 12, CutLists},
        {'g', "s", N, "", "7 alpha|b||", 9, CutLists}, {'g', "s", N, "", "5 alpha||", 7, CutLists},
        {'g', "s", N, "", "0 ||", 6, CutLists}, {'g', "empty", N, "'d'", "1 d|"}, {'g', "none", N, "d  ", "3 d  |"},
        // Section lines: name=value, or the bare name; cut with two NULs, even when the list would
        // just fit.
        {'f', N, N, "[s]\r\na = 1\r\nbare\r\nb=\"q\"\r\n[S]\r\nlater=x\r\n"}, {'s', "s", N, N, "15 a=1|bare|b=\"q\"||"},
        {'s', "s", N, N, "14 a=1|bare|b=\"q\"||", 16}, {'s', "s", N, N, "6 a=1|ba||", 8},
        {'s', "missing", N, N, "0 ||", 8},
        // Section names: "" left out, cut as key lists are; no section at all gives one NUL.
        {'f', N, N, "[One]\r\n[two]\r\n[One]\r\n[]\r\n"}, {'n', N, N, N, "12 One|two|One||"},
        {'g', N, "ignored", "", "12 One|two|One||"}, {'n', N, N, N, "5 One|t||", 7, CutLists},
        {'n', N, N, N, "3 One||", 5, CutLists}, {'n', N, N, N, "0 ||", 4, CutLists}, {'f', N, N, ""},
        {'n', N, N, N, "0 |", 4},
        // Windows hands out no value of 65,536 characters or more, whatever the buffer.
        {'f', N, N, "[s]\r\nbelow=" + std::string(65535, 'v') + "\r\nat=" + std::string(65536, 'w') + "\r\n"},
        {'g', "s", "below", "dflt", "65535 " + std::string(65535, 'v') + "|", 70000, Limit},
        {'g', "s", "at", "dflt", "0 |", 70000, Limit}, {'g', "s", "at", "dflt", "0 |", 16, Limit},
        {'g', "s", "below", "dflt", "15 " + std::string(15, 'v') + "|", 16, Limit},
    });
}

TEST(Profile, IntegersStopAtTheFirstNonDigitAndKeepTheLow32Bits) {
    script({
        {'f', N, N, "[n]\r\nplain=42\r\nneg=-17\r\nplus=+8\r\ntrail=12abc\r\nword=abc\r\nhex=0x1F\r\noct=0o17\r\n"
                    "bin=0b101\r\nbig=4294967297\r\nquoted=\"7\"\r\nempty=\r\nspace=- 5\r\n"},
        {'i', "n", "plain", "99", "42"},   {'i', "n", "neg", "99", "-17"},    {'i', "n", "plus", "99", "8"},
        {'i', "n", "trail", "99", "12"},   {'i', "n", "word", "99", "0"},     {'i', "n", "hex", "99", "31"},
        {'i', "n", "oct", "99", "15"},     {'i', "n", "bin", "99", "5"},      {'i', "n", "big", "99", "1"},
        {'i', "n", "quoted", "99", "7"},   {'i', "n", "empty", "99", "99"},   {'i', "n", "space", "99", "0"},
        {'i', "n", "missing", "-5", "-5"},
    });
}

TEST(Profile, ChangesEditTheFileInPlace) {
    script({
        // Keys join their section, after its last entry; new sections go to the end; a line keeps
        // the name as the file spells it.
        {'f', N, N, N}, {'w', "One", "a", "1", "1 [One]\r\na=1\r\n"},
        {'w', "Two", "b", "2", "1 [One]\r\na=1\r\n[Two]\r\nb=2\r\n"},
        {'w', "one", "c", "3", "1 [One]\r\na=1\r\nc=3\r\n[Two]\r\nb=2\r\n"},
        {'w', "ONE", "A", "changed", "1 [One]\r\na=changed\r\nc=3\r\n[Two]\r\nb=2\r\n"},
        {'f', N, N, "[a]\r\nx=1\r\n\r\n; about b\r\n[b]\r\n; b has none yet\r\n"},
        {'w', "a", "y", "2", "1 [a]\r\nx=1\r\ny=2\r\n\r\n; about b\r\n[b]\r\n; b has none yet\r\n", 0, InPlace},
        {'w', "b", "z", "3", "1 [a]\r\nx=1\r\ny=2\r\n\r\n; about b\r\n[b]\r\nz=3\r\n; b has none yet\r\n", 0, InPlace},
        // Only the changed line is written: blanks, line ends and text before the first header stay.
        {'f', N, N, "\r\n; header comment\r\n  [ s ] \r\n\r\n  k  =  v  \r\nbare\n\n[t]\r\nlast=1"},
        {'w', "t", "n", "new", "1 \r\n; header comment\r\n  [ s ] \r\n\r\n  k  =  v  \r\nbare\n\n[t]\r\nlast=1\r\nn=new\r\n", 0, InPlace},
        {'w', "s", "k", "w", "1 \r\n; header comment\r\n  [ s ] \r\n\r\nk=w\r\nbare\n\n[t]\r\nlast=1\r\nn=new\r\n", 0, InPlace},
        {'w', "s", "bare", N, "1 \r\n; header comment\r\n  [ s ] \r\n\r\nk=w\r\n\n[t]\r\nlast=1\r\nn=new\r\n", 0, InPlace},
        {'f', N, N, "Data | before | first | section\r\n[section1]\r\n"},
        {'w', "section1", "key1", "string1", "1 Data | before | first | section\r\n[section1]\r\nkey1=string1\r\n", 0, InPlace},
        // A value that reads back the same changes nothing.
        {'f', N, N, "[s]\n\n  k =  v\n"}, {'w', "s", "k", "v", "1 [s]\n\n  k =  v\n", 0, InPlace},
        {'w', " s ", "\tK ", "v", "1 [s]\n\n  k =  v\n", 0, Blanks}, {'w', "s", "missing", N, "1 [s]\n\n  k =  v\n"},
        {'w', "nosuch", N, N, "1 [s]\n\n  k =  v\n"},
        // An empty value stays; an absent one removes the first entry of that name.
        {'f', N, N, "[s]\r\na=1\r\nb=2\r\na=3\r\nbare\r\n"},
        {'w', "s", "b", "", "1 [s]\r\na=1\r\nb=\r\na=3\r\nbare\r\n"},
        {'w', "s", "a", N, "1 [s]\r\nb=\r\na=3\r\nbare\r\n"},
        {'w', "s", "BARE", "x", "1 [s]\r\nb=\r\na=3\r\nbare=x\r\n"},
        // Names lose their edge blanks; a value is written as given and read without them.
        // (The blanks last: Wine, rewriting the whole file, would drop them at the next change.)
        {'f', N, N, N}, {'w', "s", "two", "a\r\nb=c", "1 [s]\r\ntwo=a\r\nb=c\r\n"}, {'g', "s", "b", "dflt", "1 c|"},
        {'w', "s", "two  words", "x", "1 [s]\r\ntwo=a\r\nb=c\r\ntwo  words=x\r\n"},
        {'g', "s", "two words", "dflt", "4 dflt|"},
        {'w', " s ", " k ", " v ", "1 [s]\r\ntwo=a\r\nb=c\r\ntwo  words=x\r\nk= v \r\n", 0, Blanks},
        {'g', "\ts ", " k\t", "dflt", "1 v|"},
        // Code page 1252 bytes stay as they are; only ASCII letters match in another case.
        {'f', N, N, N},
        {'w', "\xC9t\xE9", "cl\xE9", "caf\xE9 \x80 \x9C\x8C", "1 [\xC9t\xE9]\r\ncl\xE9=caf\xE9 \x80 \x9C\x8C\r\n"},
        {'w', "\xC9T\xE9", "CL\xE9", "!", "1 [\xC9t\xE9]\r\ncl\xE9=!\r\n"},
        {'w', "\xC9t\xE9", "cl\xC9", "o", "1 [\xC9t\xE9]\r\ncl\xE9=!\r\ncl\xC9=o\r\n"},
    });
}

TEST(Profile, SectionsAreRemovedAndReplacedWhole) {
    script({
        // Deleting removes the first section of that name but its comments; the lines before the
        // first header are in no section, not even "".
        {'f', N, N, "top=1\r\n[a]\r\nx=1\r\n;c\r\n\r\n[b]\r\ny=2\r\n[A]\r\nz=3\r\n"},
        {'w', "A", N, N, "1 top=1\r\n;c\r\n[b]\r\ny=2\r\n[A]\r\nz=3\r\n", 0, InPlace},
        {'w', "", N, "ignored", "1 top=1\r\n;c\r\n[b]\r\ny=2\r\n[A]\r\nz=3\r\n", 0, NoSection},
        // Writing a section replaces the entries of every section of that name.
        {'f', N, N, "[s]\r\nold=1\r\n;c\r\n[t]\r\nkeep=1\r\n[S]\r\nold2=2\r\n"},
        {'S', "s", N, "a=1|no equals| b = 2 |a=dup||", "1 [s]\r\na=1\r\nb= 2 \r\na=dup\r\n;c\r\n[t]\r\nkeep=1\r\n[S]\r\n", 0, InPlace},
        {'S', "t", N, "|", "1 [s]\r\na=1\r\nb= 2 \r\na=dup\r\n;c\r\n[t]\r\n[S]\r\n", 0, InPlace},
        {'S', "u", N, "k=v||", "1 [s]\r\na=1\r\nb= 2 \r\na=dup\r\n;c\r\n[t]\r\n[S]\r\n[u]\r\nk=v\r\n", 0, InPlace},
        {'S', "none", N, "||", "1 [s]\r\na=1\r\nb= 2 \r\na=dup\r\n;c\r\n[t]\r\n[S]\r\n[u]\r\nk=v\r\n", 0, InPlace},
        // Flushing the cache, or a change without a section, does nothing.
        {'f', N, N, "[s]\r\nk=v\r\n"}, {'w', N, N, N, "0 [s]\r\nk=v\r\n"}, {'w', N, "k", "v2", "0 [s]\r\nk=v\r\n"},
        {'S', N, N, N, "0 [s]\r\nk=v\r\n"},
    });
}

TEST(Profile, ReadOnlyFilesAndMissingFoldersRefuseChanges) {
    script({
        {'f', N, N, "[s]\r\nk=v\r\n"}, {'R', N, N, "1"}, {'w', "s", "k", "new", "0 [s]\r\nk=v\r\n", 0, Root},
        {'w', "s", "k", N, "0 [s]\r\nk=v\r\n", 0, Root}, {'w', "s", N, N, "0 [s]\r\nk=v\r\n", 0, Root},
        {'S', "s", N, "a=1||", "0 [s]\r\nk=v\r\n", 0, Root}, {'g', "s", "k", "dflt", "1 v|"}, {'R', N, N, "0"},
        // Removing from a missing file succeeds without making it.
        {'f', N, N, N}, {'w', "s", N, N, "1 (no file)"}, {'w', "s", "k", N, "1 (no file)"}, {'F'},
        {'w', "s", "k", "v", "0 (no file)"}, {'w', "s", "k", N, "0 (no file)"},
        {'g', "s", "k", "'d'", "3 'd'|"},  // the default as given, quotes and all
    });
}

// A file that begins with the UTF-16LE byte-order mark is read as UTF-16, and a change keeps it so
// (Microsoft's WritePrivateProfileString page); without the mark the same bytes are ANSI text.
TEST(Profile, FilesWithAUtf16ByteOrderMarkStayUtf16) {
    script({
        {'f', N, N, bars(utf16("[s]\r\nk=caf") + std::string("\xE9\0\r\0\n\0", 6))},
        {'g', "s", "k", "dflt", "4 caf\xE9|"}, {'n', N, N, N, "2 s||"},
        {'w', "s", "n", "1", "1 " + bars(utf16("[s]\r\nk=caf") + std::string("\xE9\0\r\0\n\0", 6) + utf16("n=1\r\n").substr(2))},
        {'f', N, N, "[|s|]|"}, {'g', "s", "k", "dflt", "4 dflt|"},
    });
}

TEST(Profile, NullFileIsWinIniAndABareNameLivesBesideIt) {
    zavtest::TempDir dir;
    auto profile = makePortableProfile(dir.file(L"WIN.INI"));
    zavtest::writeBytes(dir.file(L"WIN.INI"), "[w]\r\nk=win\r\n");
    zavtest::writeBytes(dir.file(L"bare.ini"), "[b]\r\nk=bare\r\n");
    char b[16];
    EXPECT_EQ(profile->getString("w", "k", "", b, sizeof b, nullptr), 3u);
    EXPECT_STREQ(b, "win");
    EXPECT_EQ(profile->getString("b", "k", "", b, sizeof b, L"bare.ini"), 4u);
    EXPECT_STREQ(b, "bare");
}
