// The portable profile layer against the system's profile functions (kernel32, here under Wine):
// the same scripted calls on copies of the same awkward files, every return value, every byte of
// every buffer (with guard bytes behind it) and the resulting file bytes compared.
//
// The portable layer follows Windows, and Wine's kernel32 differs from Windows in a few documented
// points (its own conformance tests, dlls/kernel32/tests/profile.c, mark them todo_wine). A
// mismatch is excused only where one of those explains it: a cut name list must be exactly the
// Windows cut of the list kernel32 gives whole, a write in another layout must leave the same
// content by a reading of the bytes done here, and a case whose file shows another point names
// the calls it concerns and, where it can, the call Wine answers as Windows does. Any other
// mismatch fails.
//
// kernel32 keeps parsed files in a cache that it trusts while a file's time stamp is older than
// about two seconds; every call on the system's side is followed by a flush of that file, so that
// the next call reads the file afresh as the portable layer always does.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <initializer_list>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "TestSupport.h"
#include "ini/Profile.h"
#include "text/Ansi.h"

using namespace std::string_literals;
using zavtest::TempDir;

namespace {

using Text = std::optional<std::string>;
const Text N = std::nullopt;  // an absent argument (NULL)

constexpr std::uint32_t kGuard = 8;  // bytes behind the buffer that must stay untouched
constexpr char kFill = '#';

std::string escape(const std::string& s) {
    std::string out;
    char hex[8];
    for (unsigned char c : s) {
        if (c == '\0') {
            out += "\\0";
        } else if (c == '\\') {
            out += "\\\\";
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

std::string show(const Text& t) { return t ? "\"" + escape(*t) + "\"" : "NULL"; }
const char* ptr(const Text& t) { return t ? t->c_str() : nullptr; }

struct Op {
    enum Kind { GetString, GetInt, WriteString, GetSection, WriteSection, GetSectionNames } kind;
    Text section, key, text;  // text: the default, the value or the entry list
    std::uint32_t size = 0;
    std::int32_t def = 0;

    std::string describe() const {
        std::ostringstream o;
        switch (kind) {
            case GetString:
                o << "GetPrivateProfileStringA(" << show(section) << ", " << show(key) << ", " << show(text)
                  << ", size " << size << ")";
                break;
            case GetInt:
                o << "GetPrivateProfileIntA(" << show(section) << ", " << show(key) << ", " << def << ")";
                break;
            case WriteString:
                o << "WritePrivateProfileStringA(" << show(section) << ", " << show(key) << ", " << show(text) << ")";
                break;
            case GetSection:
                o << "GetPrivateProfileSectionA(" << show(section) << ", size " << size << ")";
                break;
            case WriteSection:
                o << "WritePrivateProfileSectionA(" << show(section) << ", " << show(text) << ")";
                break;
            case GetSectionNames:
                o << "GetPrivateProfileSectionNamesA(size " << size << ")";
                break;
        }
        return o.str();
    }
};

Op get(Text s, Text k, Text d, std::uint32_t size) { return {Op::GetString, s, k, d, size, 0}; }
Op getInt(Text s, Text k, std::int32_t def) { return {Op::GetInt, s, k, N, 0, def}; }
Op put(Text s, Text k, Text v) { return {Op::WriteString, s, k, v, 0, 0}; }
Op section(Text s, std::uint32_t size) { return {Op::GetSection, s, N, N, size, 0}; }
Op putSection(Text s, Text list) { return {Op::WriteSection, s, N, list, 0, 0}; }
Op names(std::uint32_t size) { return {Op::GetSectionNames, N, N, N, size, 0}; }

// The profile layers name their files by wide text.
std::wstring wide(const std::string& file) { return zav::fromAnsi(file); }

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string fileState(const std::string& path) {
    if (!exists(path)) return "(no file)";
    return "\"" + escape(zavtest::readBytes(zav::fromAnsi(path))) + "\"";
}

// One call; the result as text: the return value, the whole buffer with its guard bytes, and
// after a write the file's bytes.
std::string run(zav::IProfile& p, const Op& op, const std::string& file) {
    std::ostringstream o;
    std::string buffer(op.size + kGuard, kFill);
    switch (op.kind) {
        case Op::GetString:
            o << "ret=" << p.getString(ptr(op.section), ptr(op.key), ptr(op.text), buffer.data(), op.size, wide(file).c_str());
            break;
        case Op::GetInt:
            o << "ret=" << static_cast<std::int32_t>(p.getInt(ptr(op.section), ptr(op.key), op.def, wide(file).c_str()));
            break;
        case Op::WriteString:
            o << "ret=" << (p.writeString(ptr(op.section), ptr(op.key), ptr(op.text), wide(file).c_str()) != 0);
            break;
        case Op::GetSection:
            o << "ret=" << p.getSection(ptr(op.section), buffer.data(), op.size, wide(file).c_str());
            break;
        case Op::WriteSection:
            o << "ret=" << (p.writeSection(ptr(op.section), ptr(op.text), wide(file).c_str()) != 0);
            break;
        case Op::GetSectionNames:
            o << "ret=" << p.getSectionNames(buffer.data(), op.size, wide(file).c_str());
            break;
    }
    if (op.kind == Op::WriteString || op.kind == Op::WriteSection)
        o << " file=" << fileState(file);
    else if (op.kind != Op::GetInt)
        o << " buffer=\"" << escape(buffer) << "\"";
    return o.str();
}

bool isWrite(const Op& op) { return op.kind == Op::WriteString || op.kind == Op::WriteSection; }
// A value looked up by its section and key.
bool isLookup(const Op& op) { return op.kind == Op::GetInt || (op.kind == Op::GetString && op.section && op.key); }
bool listsNames(const Op& op) {
    return op.kind == Op::GetSectionNames || (op.kind == Op::GetString && (!op.section || !op.key));
}
bool isOneOf(const Text& t, std::initializer_list<const char*> names) {
    for (const char* n : names)
        if (t && *t == n) return true;
    return false;
}
std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : s.substr(first, s.find_last_not_of(" \t") - first + 1);
}
bool hasEdgeBlanks(const Text& t) { return t && trimmed(*t) != *t; }

// A documented point where Windows, and so the portable layer, differs from Wine, and the calls of
// one case it explains. Only those calls may disagree. Where the point says what Windows answers
// in terms of another call that Wine answers as Windows does (the same names without their edge
// blanks, a key that is not there), `windows` gives that call, and the portable answer must be
// Wine's answer to it; otherwise a write must at least succeed or fail alike.
struct KnownDifference {
    std::string reason;
    std::function<bool(const Op&)> calls;
    std::function<Op(Op)> windows = {};
};

struct Case {
    std::string name;
    Text fixture;  // N: the file does not exist
    std::vector<Op> ops;
    bool readOnly = false;
    bool missingFolder = false;
    std::vector<KnownDifference> wineDiffers = {};  // empty for a file both must read alike
};

// The documented differences, with their sources.
const std::string kCommentLines =
    "comment lines are no entries (Windows: a line starting with ';' is a comment; Wine reads it as an entry)";
const std::string kHeaders =
    "a header's name ends at its first ']' and a header without ']' starts a section (Wine: the last ']', "
    "and no section)";
const std::string kNoSectionBeforeHeaders =
    "lines before the first header are in no section and '[]' is the section \"\" (test_profile_string, "
    "todo_wine)";
const std::string kCutLists =
    "cut name lists end with two NULs, and give nothing when the first name does not fit "
    "(test_GetPrivateProfileString and test_profile_sections_names, todo_wine)";
const std::string kInPlace = "writes edit the file in place (test_WritePrivateProfileString, todo_wine)";
const std::string kValueBlanks = "a value is written as given, blanks and all (Wine drops its leading blanks)";
const std::string kNameBlanks =
    "names given lose their edge blanks in every call (Wine: in value lookups only, and a written name keeps "
    "its trailing blanks)";

// Reads of every kind at generous and at tight buffer sizes.
void addReads(std::vector<Op>& ops, const std::vector<Text>& sections, const std::vector<Text>& keys) {
    for (std::uint32_t size : {0u, 1u, 2u, 3u, 4u, 5u, 7u, 10u, 256u}) ops.push_back(names(size));
    for (std::uint32_t size : {1u, 2u, 3u, 6u, 256u}) ops.push_back(get(N, "k", "d", size));
    for (const auto& s : sections) {
        for (std::uint32_t size : {2u, 3u, 4u, 5u, 6u, 8u, 11u, 16u, 256u, 20000u}) ops.push_back(section(s, size));
        // Not size 1: the system then writes in front of its own buffer when the section exists.
        for (std::uint32_t size : {2u, 3u, 4u, 5u, 8u, 256u, 20000u}) ops.push_back(get(s, N, "dflt", size));
        ops.push_back(get(s, N, " 'q'  ", 256));
        for (const auto& k : keys) {
            for (std::uint32_t size : {1u, 2u, 3u, 4u, 5u, 6u, 255u, 20000u}) ops.push_back(get(s, k, "def", size));
            ops.push_back(get(s, k, N, 256));
            ops.push_back(get(s, k, "  spaced default  ", 256));
            ops.push_back(get(s, k, "\"quoted default\"", 256));
            ops.push_back(getInt(s, k, -7));
        }
    }
}

// Changes of every kind, each followed by a look at the file (compared by run()) and a read.
void addWrites(std::vector<Op>& ops, const Text& s, const Text& k) {
    ops.push_back(put(s, k, "same"));
    ops.push_back(put(s, k, "same"));
    ops.push_back(put(s, k, "  leading and trailing  "));
    ops.push_back(get(s, k, "d", 256));
    ops.push_back(put(s, "New Key", "v"));
    ops.push_back(put(s, "  padded key  ", "  padded value  "));
    ops.push_back(get(s, "padded key", "d", 256));
    ops.push_back(put("Brand New", "k", "v"));
    ops.push_back(put("  Padded Section  ", "k", ""));
    ops.push_back(put(s, k, ""));
    ops.push_back(get(s, k, "d", 256));
    ops.push_back(put(s, k, N));
    ops.push_back(put(s, k, N));
    ops.push_back(put(s, "never there", N));
    ops.push_back(putSection(s, "a=1\0no equals\0 b = 2 \0a=dup\0=empty name\0;c=comment\0\0"s));
    ops.push_back(section(s, 256));
    ops.push_back(putSection("brand new", "\0"s));
    ops.push_back(putSection("Brand New", "\0"s));
    ops.push_back(put(s, N, N));
    ops.push_back(put(s, N, "ignored"));
    ops.push_back(put("no such section", N, N));
    ops.push_back(put(N, "k", "v"));
    ops.push_back(putSection(N, N));
    ops.push_back(names(256));
}

std::vector<Case> cases() {
    const std::string v300(300, 'x');
    const std::string v5000 = std::string(4990, 'y') + "0123456789";
    std::vector<Case> all;
    auto add = [&](std::string name, Text fixture, std::vector<Text> sections, std::vector<Text> keys,
                   Text writeSection, Text writeKey) {
        Case c{std::move(name), std::move(fixture), {}};
        addReads(c.ops, sections, keys);
        if (writeSection) {
            addWrites(c.ops, writeSection, writeKey);
            addReads(c.ops, sections, keys);
        }
        all.push_back(std::move(c));
    };
    auto tag = [&](const std::string& reason, std::function<bool(const Op&)> calls, std::function<Op(Op)> windows = {}) {
        all.back().wineDiffers.push_back({reason, std::move(calls), std::move(windows)});
    };
    // What Windows answers, as calls that Wine answers alike.
    const auto withoutEdgeBlanks = [](Op op) {
        if (op.section) op.section = trimmed(*op.section);
        if (op.key) op.key = trimmed(*op.key);
        return op;
    };
    const auto absentKey = [](Op op) {
        op.key = "(no key of that name)";
        return op;
    };
    const auto absentSection = [](Op op) {
        op.section = "(no section of that name)";
        return op;
    };
    // Wine rewrites the whole file from what it read at every write, so after a write in a file
    // whose lines it reads otherwise the bytes cannot be compared; the write must succeed or fail
    // alike, and both sides go on from the portable layer's file.
    const auto writes = [](const Op& op) { return isWrite(op); };
    add("blanks", "  [ Main ]  \r\n\t Key One \t=\t value  with  blanks \t\r\n  [Other]  \r\nx = 1\r\n",
        {"Main", "main", " MAIN ", "Other", "Main ", ""}, {"Key One", "key one", " KEY ONE  ", "x", "Key"},
        "Main", "Key One");
    // A section given with edge blanks: Wine trims it only when it looks up a value.
    tag(kNameBlanks, [](const Op& op) { return !isLookup(op) && !isWrite(op) && hasEdgeBlanks(op.section); },
        withoutEdgeBlanks);
    add("quotes",
        "[q]\r\nd=\"two words\"\r\ns='single'\r\nmixed=\"x'\r\nlone=\"\r\nempty=\"\"\r\nq5=\"abcd\"\r\n"
        "inner=a\"b\"\r\nsq=' padded '\r\n",
        {"q"}, {"d", "s", "mixed", "lone", "empty", "q5", "inner", "sq"}, "q", "q5");
    add("comments", "; top comment\r\n[s]\r\n;c=1\r\n# hash=2\r\nk=v ; not a comment\r\n  ; indented\r\n",
        {"s", ""}, {";c", "# hash", "k", "; top comment", "; indented"}, "s", ";c");
    // Wine finds the value of ";c=1"; for Windows the line is a comment and the key is not there.
    tag(kCommentLines, [](const Op& op) { return isLookup(op) && op.key && op.key->rfind(';', 0) == 0; },
        absentKey);
    add("duplicates", "[a]\r\nk=first\r\nk=second\r\n[b]\r\nk=b\r\n[A]\r\nk=third\r\nonly2=x\r\n",
        {"a", "A", "b"}, {"k", "only2"}, "A", "only2");
    add("no equals", "[s]\r\nbare\r\n  spaced bare  \r\n=novalue\r\n=again\r\n = \r\nk=v\r\n[open\r\n[x=y\r\n]\r\n",
        {"s", "open"}, {"bare", "spaced bare", "", "k", "[open", "[x", "]"}, "s", "bare");
    // Wine reads "[open", "[x=y" and "]" as entries of [s]; for Windows they start the sections
    // "open" and "x=y", so [s] has no key "[x" and lists none of them.
    tag(kHeaders, [](const Op& op) { return isLookup(op) && isOneOf(op.key, {"[x", "[open", "]"}); }, absentKey);
    tag(kHeaders, [](const Op& op) {
        return listsNames(op) && (!op.section || isOneOf(op.section, {"s", "open"}));
    });
    tag(kHeaders, [](const Op& op) { return op.kind == Op::GetSection && isOneOf(op.section, {"s", "open"}); });
    tag(kHeaders, writes);
    add("lf only", "top=1\n[lf]\nx=2\n\n[second]\ny=3\n", {"", "lf", "second"}, {"top", "x", "y"}, "lf", "x");
    // "top=1" is in no section for Windows, so there is no section "" at all; Wine puts it there.
    tag(kNoSectionBeforeHeaders, [](const Op& op) { return !isWrite(op) && isOneOf(op.section, {""}); },
        absentSection);
    add("cr only", "[cr]\rx=1\ry=2\r\r[two]\rz=3", {"cr", "two"}, {"x", "y", "z"}, "two", "z");
    add("mixed ends", "[m]\n\rx=1\r\r\ny=2\n\n\nz=3", {"m"}, {"x", "y", "z"}, "m", "y");
    add("no final line end", "[s]\r\nk=v", {"s"}, {"k"}, "s", "k");
    add("empty file", ""s, {"s", ""}, {"k"}, "s", "k");
    add("blank lines only", "\r\n  \r\n\t\r\n"s, {"s", ""}, {"k"}, "s", "k");
    add("missing file", N, {"s", ""}, {"k"}, "s", "k");
    add("keys before the first header", "top=1\r\nsecond=2\r\n[s]\r\nk=1\r\n", {"", " ", "s"}, {"top", "k"}, "",
        "top");
    // The section "" (" " without its blanks): for Windows at first none, then the "[]" that the
    // writes to "" add; for Wine the lines before the first header.
    tag(kNoSectionBeforeHeaders, [](const Op& op) { return !isWrite(op) && isOneOf(op.section, {"", " "}); });
    tag(kNoSectionBeforeHeaders, writes);
    add("long values", "[long]\r\nv300=" + v300 + "\r\nv5000=" + v5000 + "\r\nshort=1\r\n", {"long"},
        {"v300", "v5000", "short"}, "long", "short");
    add("code page 1252",
        "[\xC9t\xE9]\r\ncl\xE9=caf\xE9 \x80\r\n\x9C\x8C=\xFC\r\n[\xFC" "ber]\r\nk=1\r\n[\xC6\xD8\xC5]\r\n\xE6=1\r\n",
        {"\xC9t\xE9", "\xE9T\xC9", "\xFC" "ber", "\xDC" "BER", "\xE6\xF8\xE5", "\xC6\xD8\xC5"},
        {"cl\xE9", "CL\xC9", "\x9C\x8C", "\x8C\x9C", "\x9C\x9C", "\xE6", "\xC6", "k"}, "\xE9T\xC9", "CL\xC9");
    add("headers",
        "[a]b] tail\r\nk=1\r\n[]\r\nempty=1\r\n[ ]\r\nblank=1\r\n[ spaced name ]\r\nz=1\r\n[x;y]\r\nw=1\r\n"
        "[c] ; comment\r\nv=1\r\n",
        {"a]b", "", " ", "spaced name", "x;y", "c", "c] ; comment"}, {"k", "empty", "blank", "z", "w", "v"},
        "spaced name", "z");
    // "[a]b] tail" names the section "a" for Windows and "a]b" for Wine. Wine finds no section ""
    // under "[]" and "[ ]" (a lookup there gives the default), and a write leaves their header
    // lines out of the file, so that their entries join [a]b] (seen with a program of its own that
    // makes only these profile calls).
    tag(kHeaders, [](const Op& op) { return !isWrite(op) && isOneOf(op.section, {"a]b"}); }, absentSection);
    tag(kHeaders, [](const Op& op) { return listsNames(op) && !op.section; });
    tag(kNoSectionBeforeHeaders, [](const Op& op) { return !isWrite(op) && isOneOf(op.section, {"", " "}); });
    tag(kHeaders, writes);
    add("integers",
        "[n]\r\nplain=42\r\nneg=-17\r\nplus=+8\r\ntrail=12abc\r\nword=abc\r\nhex=0x1F\r\nHEXU=0X1F\r\n"
        "oct=0o17\r\nbin=0b101\r\nbig=4294967297\r\nneg big=-2147483649\r\nquoted=\"7\"\r\nempty=\r\n"
        "space=- 5\r\nlead=  9\r\nhexbad=0xZ\r\nlong=000000000000000000000000000000000000012\r\n",
        {"n"},
        {"plain", "neg", "plus", "trail", "word", "hex", "HEXU", "oct", "bin", "big", "neg big", "quoted", "empty",
         "space", "lead", "hexbad", "long", "missing"},
        "n", "plain");
    add("odd blanks", "[s]\r\n\xA0k\xA0=\xA0v\xA0\r\nz=v\x1A\r\n\x1A[t]\r\nf=\x0Bv\x0C\r\n", {"s", "t"},
        {"k", "\xA0k\xA0", "\xA0k", "z", "f"}, "s", "z");
    add("embedded NUL", "[s]\r\nk=a\0b\r\nn\0x=1\r\nafter=1\r\n[t\0u]\r\nq=1\r\n"s, {"s", "t"}, {"k", "n", "after", "q"},
        "s", "after");
    add("many sections", "[one]\r\n[two]\r\n[three]\r\n[four]\r\n[five]\r\n", {"three"}, {"k"}, "three", "k");

    // Reads only: Wine run as root (as the tests are here) lets kernel32 rewrite a read-only file,
    // which Windows refuses; the portable layer refuses as Windows does (see PortableProfileTest).
    Case readOnly{"read-only file", "[s]\r\nk=v\r\n"s, {}, true};
    addReads(readOnly.ops, {"s"}, {"k"});
    all.push_back(std::move(readOnly));
    Case lost{"missing folder", N, {}, false, true};
    addReads(lost.ops, {"s"}, {"k"});
    addWrites(lost.ops, "s", "k");
    all.push_back(std::move(lost));
    return all;
}

std::string fileFor(const TempDir& dir, const char* side, const Case& c, std::size_t index) {
    std::string folder = zav::toAnsi(dir.path()) + "\\" + side;
    CreateDirectoryA(folder.c_str(), nullptr);
    if (c.missingFolder) folder += "\\absent";
    return folder + "\\case" + std::to_string(index) + ".ini";
}

void flushSystem(zav::IProfile& system, const std::string& file) {
    system.writeString(nullptr, nullptr, nullptr, wide(file).c_str());
}

// What a file holds, read without the portable layer: the sections in order, each with its entries
// in order. Blank lines, comment lines (';' first), the blanks around lines, names and values, and
// the kind of line end are layout. A header's name is the text between '[' and the first ']' (the
// rest of the line when there is none); lines before the first header are kept apart from a
// section named "". Any other line is an entry, "name=value" split at its first '=', or a bare
// name. Both layers read a name or a value as a C string, so each ends at a NUL; blanks are the
// ones both read as blanks (Wine's PROFILE_isspace: the C blanks and ^Z).
std::string content(const std::string& path) {
    if (!exists(path)) return "(no file)";
    const std::string bytes = zavtest::readBytes(zav::fromAnsi(path));
    auto text = [](const std::string& s) {
        const std::string c = s.substr(0, s.find('\0'));
        const char* const blanks = " \t\x0B\x0C\x1A";
        const auto first = c.find_first_not_of(blanks);
        return first == std::string::npos ? std::string() : c.substr(first, c.find_last_not_of(blanks) - first + 1);
    };
    std::string out = "(before any header)";
    std::size_t at = 0;
    while (at < bytes.size()) {
        // CR LF, LF and CR all end a line; the empty lines between CR and LF are blank lines.
        std::size_t end = bytes.find_first_of("\r\n", at);
        if (end == std::string::npos) end = bytes.size();
        const std::string line = bytes.substr(at, end - at);
        at = end + 1;
        const std::string whole = text(line);
        if (whole.empty() || whole[0] == ';') continue;
        if (whole[0] == '[') {
            const std::string name = line.substr(line.find('[') + 1);
            out += "\n[" + text(name.substr(0, name.find(']'))) + "]";
        } else if (const auto eq = line.find('='); eq != std::string::npos) {
            out += "\n  " + text(line.substr(0, eq)) + "=" + text(line.substr(eq + 1));
        } else {
            out += "\n  bare " + whole;
        }
    }
    return escape(out);
}

std::string returned(const std::string& result) { return result.substr(0, result.find(' ')); }

// The same list call with room for any list: the names, each with its NUL, without the final one.
std::string wholeList(zav::IProfile& p, const Op& op, const std::string& file) {
    std::string buffer(65536, '\0');
    const std::uint32_t n = op.kind == Op::GetSectionNames
                                ? p.getSectionNames(buffer.data(), 65536, wide(file).c_str())
                                : p.getString(ptr(op.section), ptr(op.key), ptr(op.text), buffer.data(), 65536,
                                              wide(file).c_str());
    return buffer.substr(0, n);
}

// What Windows gives for a name list that does not fit the buffer, as run() shows it: the first
// size-2 bytes of the list and two NULs, count size-2; nothing but the two NULs when the first name
// alone does not fit. Empty when the list fits or the buffer is too small for that rule.
std::string cutAnswer(const std::string& list, std::uint32_t size) {
    if (list.empty() || list.size() + 1 < size || size < 2) return {};
    std::string buffer(size + kGuard, kFill);
    std::string head = list.substr(0, list.find('\0')).size() > size - 2 ? std::string() : list.substr(0, size - 2);
    std::uint32_t count = static_cast<std::uint32_t>(head.size());
    head += std::string(2, '\0');
    buffer.replace(0, head.size(), head);
    return "ret=" + std::to_string(count) + " buffer=\"" + escape(buffer) + "\"";
}

// Whether the portable answer to a name list call is exactly the Windows cut of the list that
// kernel32 gives whole.
bool isWindowsCut(zav::IProfile& system, const Op& op, const std::string& sysFile, const std::string& actual) {
    if (!listsNames(op)) return false;
    const std::string cut = cutAnswer(wholeList(system, op, sysFile), op.size);
    flushSystem(system, sysFile);
    return !cut.empty() && actual == cut;
}

// Whether Wine's answer to `op` is the portable answer, exactly or but for the cut of a list.
bool wineAgrees(zav::IProfile& system, const Op& op, const std::string& sysFile, const std::string& actual) {
    const bool same = run(system, op, sysFile) == actual;
    flushSystem(system, sysFile);
    return same || isWindowsCut(system, op, sysFile, actual);
}

// Why kernel32 under Wine and the portable layer may differ on this call; empty when nothing
// explains it. `resync` is set when the files differ afterwards for that reason.
std::string knownWineDifference(zav::IProfile& system, const Case& c, const Op& op, const std::string& expected,
                                const std::string& actual, const std::string& sysFile, const std::string& portFile,
                                bool& resync) {
    if (isWindowsCut(system, op, sysFile, actual)) return kCutLists;
    // A write that succeeds or fails alike and leaves the same content in another layout.
    if (isWrite(op) && returned(expected) == returned(actual) && content(sysFile) == content(portFile))
        return kInPlace;
    for (const KnownDifference& d : c.wineDiffers) {
        if (!d.calls(op)) continue;
        const bool explained = d.windows ? wineAgrees(system, d.windows(op), sysFile, actual)
                                         : !isWrite(op) || returned(expected) == returned(actual);
        if (explained) {
            resync = isWrite(op);
            return d.reason;
        }
    }
    return {};
}

}  // namespace

TEST(ProfileDifferential, AnsiCodePageUnderWineIs1252) { EXPECT_EQ(GetACP(), 1252u); }

TEST(ProfileDifferential, EveryScriptedCallGivesTheSameResultAndFileBytes) {
    auto system = zav::makeSystemProfile();
    TempDir dir;
    auto portable = zav::makePortableProfile(dir.file(L"WIN.INI"));
    const auto all = cases();
    std::size_t calls = 0;
    std::map<std::string, std::size_t> knownDifferences;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const Case& c = all[i];
        const std::string sysFile = fileFor(dir, "sys", c, i);
        const std::string portFile = fileFor(dir, "port", c, i);
        if (c.fixture) {
            zavtest::writeBytes(zav::fromAnsi(sysFile), *c.fixture);
            zavtest::writeBytes(zav::fromAnsi(portFile), *c.fixture);
        }
        if (c.readOnly) {
            zavtest::setReadOnly(zav::fromAnsi(sysFile), true);
            zavtest::setReadOnly(zav::fromAnsi(portFile), true);
        }
        int failures = 0;
        for (const Op& op : c.ops) {
            ++calls;
            const std::string expected = run(*system, op, sysFile);
            flushSystem(*system, sysFile);
            const std::string actual = run(*portable, op, portFile);
            if (expected == actual) continue;
            bool resync = false;
            const std::string known = knownWineDifference(*system, c, op, expected, actual, sysFile, portFile, resync);
            if (resync) {
                if (exists(portFile))
                    zavtest::writeBytes(zav::fromAnsi(sysFile), zavtest::readBytes(zav::fromAnsi(portFile)));
                else
                    DeleteFileA(sysFile.c_str());
                flushSystem(*system, sysFile);
            }
            if (!known.empty()) {
                ++knownDifferences[known];
                continue;
            }
            if (++failures <= 20) {
                ADD_FAILURE() << "case \"" << c.name << "\": " << op.describe() << "\n  kernel32: " << expected
                              << "\n  portable: " << actual;
            }
        }
        EXPECT_EQ(failures, 0) << "case \"" << c.name << "\"";
        if (c.readOnly) {
            zavtest::setReadOnly(zav::fromAnsi(sysFile), false);
            zavtest::setReadOnly(zav::fromAnsi(portFile), false);
        }
    }
    EXPECT_GT(calls, 2000u);
    std::cout << calls << " calls compared in " << all.size() << " cases\n";
    for (const auto& [reason, count] : knownDifferences)
        std::cout << "known Wine difference, " << count << " calls: " << reason << "\n";
}

// Which texts survive a write and a read through the profile functions: each sample written into a
// fresh file, then read back as a value, as a section line and in the section-name list. Both
// implementations must agree; the table printed is the record of what does not round-trip.
TEST(ProfileDifferential, RoundTripOfAwkwardNamesAndValuesAgrees) {
    struct Sample {
        std::string section, key, value;
        std::string wineDiffers = {};  // the documented point this sample shows; its results are recorded, not compared
    };
    const std::vector<Sample> samples = {
        {"r", "key", "plain"},
        {"r", "key", " leading blank", kValueBlanks},
        {"r", "key", "trailing blank "},
        {"r", "key", "\tleading tab", kValueBlanks},
        {"r", "key", "trailing tab\t"},
        {"r", "key", "\"double quoted\""},
        {"r", "key", "'single quoted'"},
        {"r", "key", "\"opening quote only"},
        {"r", "key", "closing quote only\""},
        {"r", "key", "\"a\" and \"b\""},
        {"r", "key", "''"},
        {"r", "key", "a=b"},
        {"r", "key", "semi;colon"},
        {"r", "key", ";starts with semicolon"},
        {"r", "key", "[bracketed]"},
        {"r", "key", "line\r\nbreak"},
        {"r", "key", "cr\ronly"},
        {"r", "key", "lf\nonly"},
        {"r", "key", ""},
        {"r", "key", "   ", kValueBlanks},
        {"r", "key", std::string(300, 'x')},
        {"r", "key", std::string(5000, 'y')},
        {"r", "key", "caf\xE9 \x80 \x9C\x8C \xFC"},
        {"r", "key", "ends with ^Z\x1A"},
        {"r", "key", "mid\x01" "control"},
        {"r", "key", "#hash"},
        {"r", " leading blank", "v"},
        {"r", "trailing blank ", "v", kNameBlanks},
        {"r", "a=b", "v"},
        {"r", "[bracket", "v", kHeaders},
        {"r", "[br]", "v"},
        {"r", ";semicolon", "v", kCommentLines},
        {"r", "#hash", "v"},
        {"r", "", "v"},
        {"r", " ", "v"},
        {"r", "line\r\nkey", "v"},
        {"r", "caf\xE9", "v"},
        {" padded ", "key", "v", kNameBlanks},
        {"a]b", "key", "v", kHeaders},
        {"[s", "key", "v"},
        {";s", "key", "v"},
        {"s=t", "key", "v"},
        {"", "key", "v", kNoSectionBeforeHeaders},
        {"line\r\nsection", "key", "v", kHeaders},
    };
    auto system = zav::makeSystemProfile();
    TempDir dir;
    auto portable = zav::makePortableProfile(dir.file(L"WIN.INI"));
    std::ostringstream table;
    auto observe = [&](zav::IProfile& p, const Sample& s, const std::string& file) {
        std::ostringstream o;
        const bool written = p.writeString(s.section.c_str(), s.key.c_str(), s.value.c_str(), wide(file).c_str()) != 0;
        if (&p != portable.get()) flushSystem(p, file);
        std::string value(8192, '\0');
        std::uint32_t n = p.getString(s.section.c_str(), s.key.c_str(), "<default>", value.data(), 8192, wide(file).c_str());
        value.resize(n);
        std::string lines(16384, '\0');
        n = p.getSection(s.section.c_str(), lines.data(), 16384, wide(file).c_str());
        lines.resize(n);
        std::string sections(256, '\0');
        n = p.getSectionNames(sections.data(), 256, wide(file).c_str());
        sections.resize(n);
        o << "written=" << written << " value=\"" << escape(value) << "\" section=\"" << escape(lines)
          << "\" names=\"" << escape(sections) << "\" file=" << fileState(file);
        return std::make_tuple(o.str(), value, lines, sections);
    };
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const Sample& s = samples[i];
        const std::string sysFile = zav::toAnsi(dir.path()) + "\\rt-sys-" + std::to_string(i) + ".ini";
        const std::string portFile = zav::toAnsi(dir.path()) + "\\rt-port-" + std::to_string(i) + ".ini";
        auto expected = observe(*system, s, sysFile);
        auto actual = observe(*portable, s, portFile);
        if (s.wineDiffers.empty()) {
            EXPECT_EQ(std::get<0>(expected), std::get<0>(actual))
                << "section " << show(s.section) << " key " << show(s.key) << " value " << show(s.value);
        } else if (std::get<0>(expected) != std::get<0>(actual)) {
            std::cout << "known Wine difference, section " << show(s.section) << " key " << show(s.key) << ": "
                      << s.wineDiffers << "\n  portable: " << std::get<0>(actual) << "\n";
        }
        // value: the value read back by name; line: the section's list is exactly key=value;
        // name: the section-name list is exactly the section's name.
        const bool valueOk = std::get<1>(expected) == s.value;
        const bool lineOk = std::get<2>(expected) == s.key + "=" + s.value + '\0';
        const bool nameOk = std::get<3>(expected) == s.section + '\0';
        table << (valueOk ? "value  " : "VALUE! ") << (lineOk ? "line  " : "LINE! ") << (nameOk ? "name  " : "NAME! ")
              << "[" << escape(s.section) << "] " << escape(s.key) << "="
              << escape(s.value.size() > 40 ? s.value.substr(0, 20) + "...(" + std::to_string(s.value.size()) + ")"
                                             : s.value)
              << "  ->  " << std::get<0>(expected).substr(0, 300) << "\n";
    }
    std::cout << "Round trip through kernel32:\n" << table.str();
}
