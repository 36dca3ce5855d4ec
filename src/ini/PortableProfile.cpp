// The profile functions over plain text files, for a platform without them and as the reference
// the Windows build's own functions are compared with.
//
// The behaviour is that of the system's ANSI profile functions, quirks included, because the INI
// files are shared with them:
// - The file is read afresh on every call and parsed into sections and entries: a line ends at a
//   CR or LF (any run of them), blanks (tab to CR, ^Z, space) around a line, around a header's
//   name, around the "=" and before a value are dropped, blank lines disappear; a line starting
//   with "[" and holding a "]" is a header (the name runs to the last "]"); any other line is an
//   entry, with or without "="; comment lines are entries whose name starts with ";".
// - Lines before the first header form a section with an empty name, present whenever the file
//   is not empty.
// - A change rewrites the whole file from the parsed form: "[name]" and "name=value" lines (or
//   "name" for a line without "="), each ended by CR LF, no blank lines. A write that changes
//   nothing leaves the file untouched.
// - Names are compared without regard to the case of ASCII letters; lookups by value ignore blanks
//   around the names given, deletions do not.
// The text is handled as wide characters decoded from the ANSI code page, as the system does, so
// that letter case is folded per character and every count is in characters.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "ini/Profile.h"
#include "text/Ansi.h"

namespace zav {
namespace {

struct Entry {
    std::wstring name;
    bool hasValue = false;  // false for a line without "="
    std::wstring value;
};

struct Section {
    std::wstring name;
    std::vector<Entry> entries;
};

using Sections = std::vector<Section>;

bool isBlank(wchar_t c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; }

// Text up to the first NUL: what the system's string functions see of a parsed name or value.
std::wstring upToNul(const std::wstring& s) { return s.substr(0, s.find(L'\0')); }

std::wstring stripLeading(const std::wstring& s) {
    std::size_t i = 0;
    while (i < s.size() && isBlank(s[i])) ++i;
    return s.substr(i);
}

std::wstring stripBoth(const std::wstring& s) {
    std::wstring t = stripLeading(s);
    std::size_t n = t.size();
    while (n > 1 && isBlank(t[n - 1])) --n;
    return t.substr(0, n);
}

// Names are matched with only the ASCII letters folded: "\xE9" and "\xC9" are different names to the
// system's profile functions (measured with Wine 8.0's kernel32 in code page 1252), unlike the
// Latin-1 folding of upperChar.
wchar_t foldAscii(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c; }

bool sameName(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldAscii(a[i]) != foldAscii(b[i])) return false;
    return true;
}

Sections parse(const std::wstring& text) {
    Sections sections(1);  // the lines before the first header
    const std::size_t end = text.size();
    std::size_t next = 0;
    const Entry* previous = nullptr;
    while (next < end) {
        std::size_t start = next;
        while (next < end && text[next] != L'\n' && text[next] != L'\r') ++next;
        while (next < end && (text[next] == L'\n' || text[next] == L'\r')) ++next;
        std::size_t stop = next;
        while (start < stop && isBlank(text[start])) ++start;
        while (stop > start && isBlank(text[stop - 1])) --stop;
        if (start >= stop) continue;

        if (text[start] == L'[') {
            std::size_t len = stop - start;
            while (len > 0 && text[start + len - 1] != L']') --len;
            if (len > 0) {
                Section s;
                s.name = upToNul(stripBoth(text.substr(start + 1, len - 2)));
                sections.push_back(std::move(s));
                previous = nullptr;
                continue;
            }
            // without "]" the line is an entry
        }

        std::size_t nameLen = stop - start;
        std::size_t valueStart = std::wstring::npos;
        std::size_t eq = text.find(L'=', start);
        if (eq < stop) {
            std::size_t nameEnd = eq;
            while (nameEnd > start && isBlank(text[nameEnd - 1])) --nameEnd;
            nameLen = nameEnd - start;
            valueStart = eq + 1;
            while (valueStart < stop && isBlank(text[valueStart])) ++valueStart;
        }
        // An entry without a name is dropped when the entry before it had none either.
        if (nameLen == 0 && previous && previous->name.empty()) continue;
        Entry e;
        e.name = upToNul(text.substr(start, nameLen));
        if (valueStart != std::wstring::npos) {
            e.hasValue = true;
            e.value = upToNul(text.substr(valueStart, stop - valueStart));
        }
        sections.back().entries.push_back(std::move(e));
        previous = &sections.back().entries.back();
    }
    return sections;
}

std::wstring serialize(const Sections& sections) {
    std::wstring out;
    for (const auto& s : sections) {
        if (!s.name.empty()) out += L"[" + s.name + L"]\r\n";
        for (const auto& e : s.entries) {
            out += e.name;
            if (e.hasValue) out += L"=" + e.value;
            out += L"\r\n";
        }
    }
    return out;
}

// lstrcpyn: at most n-1 characters and a NUL (nothing when n is 0); returns the characters copied.
std::size_t copyLimited(wchar_t* dst, const std::wstring& src, std::size_t n) {
    if (n == 0) return 0;
    std::size_t count = src.size() < n - 1 ? src.size() : n - 1;
    for (std::size_t i = 0; i < count; ++i) dst[i] = src[i];
    dst[count] = L'\0';
    return count;
}

std::size_t wideLength(const wchar_t* s) {
    std::size_t n = 0;
    while (s[n]) ++n;
    return n;
}

// A value as it is handed out: one pair of matching single or double quotes around it removed.
// When the buffer holds exactly the text after the opening quote, the cut is taken one character
// further, as the system does.
void copyValue(wchar_t* buffer, const std::wstring& value, std::size_t len) {
    std::wstring v = value;
    bool quoted = false;
    if (!v.empty() && (v[0] == L'\'' || v[0] == L'"') && v.size() > 1 && v.back() == v[0]) {
        quoted = true;
        v.erase(0, 1);
    }
    copyLimited(buffer, v, len);
    std::size_t copied = wideLength(buffer);
    if (quoted && len >= v.size() && copied > 0) buffer[copied - 1] = L'\0';
}

// The ANSI bytes of a path argument in the platform's own form.
std::string platformPath(std::string path) {
#ifndef _WIN32
    for (auto& c : path)
        if (c == '\\') c = '/';
#endif
    return path;
}

bool isFolder(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool parentFolderExists(const std::string& path) {
    auto slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return true;
    std::string parent = path.substr(0, slash);
    if (parent.empty() || parent.back() == ':') parent += path[slash];
    return isFolder(parent);
}

enum class Opened { Existing, Missing, Failed };

// Opens the file as the system does before every call: missing is fine (it is created on the first
// change), a missing folder, a folder or, for a change, a read-only file is a failure.
Opened readFile(const std::string& path, bool forChange, std::string& bytes) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT && parentFolderExists(path)) return Opened::Missing;
        return Opened::Failed;
    }
    if (S_ISDIR(st.st_mode)) return Opened::Failed;
    // The write permission is tested directly: an administrator's open would ignore it.
    if (forChange && !(st.st_mode & S_IWUSR)) return Opened::Failed;
    std::FILE* f = std::fopen(path.c_str(), forChange ? "r+b" : "rb");
    if (!f) return Opened::Failed;
    bytes.clear();
    char chunk[8192];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok ? Opened::Existing : Opened::Failed;
}

bool writeFile(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    return ok;
}

// One file as loaded for a call.
struct Profile {
    std::string path;
    Sections sections;
    bool changed = false;

    // The first section of that name (blanks around the name ignored) and in it the first entry of
    // that name; with `create` a missing entry is appended to the section, and a missing section to
    // the file; with `always` a new entry is appended even when one exists.
    Entry* find(const std::wstring& section, const std::wstring& key, bool create, bool always) {
        const std::wstring sectionTrimmed = stripBoth(section);
        const std::wstring keyTrimmed = stripBoth(key);
        for (auto& s : sections) {
            if (!sameName(s.name, sectionTrimmed)) continue;
            if (!always)
                for (auto& e : s.entries)
                    if (sameName(e.name, keyTrimmed)) return &e;
            if (!create) return nullptr;
            s.entries.push_back(Entry{stripLeading(key), false, {}});
            return &s.entries.back();
        }
        if (!create) return nullptr;
        sections.push_back(Section{stripLeading(section), {Entry{stripLeading(key), false, {}}}});
        return &sections.back().entries.back();
    }

    // Removes the first entry of that exact name (letter case aside) in any section of that name.
    void deleteEntry(const std::wstring& section, const std::wstring& key) {
        for (auto& s : sections) {
            if (!sameName(s.name, section)) continue;
            for (auto it = s.entries.begin(); it != s.entries.end(); ++it) {
                if (sameName(it->name, key)) {
                    s.entries.erase(it);
                    changed = true;
                    return;
                }
            }
        }
    }

    void clearSections(const std::wstring& section) {
        for (auto& s : sections) {
            if (sameName(s.name, section) && !s.entries.empty()) {
                s.entries.clear();
                changed = true;
            }
        }
    }

    void set(const std::wstring& section, const std::wstring& key, const std::wstring& value, bool always) {
        Entry* e = find(section, key, true, always);
        std::wstring v = stripLeading(value);
        if (e->hasValue && e->value == v) return;
        e->value = v;
        e->hasValue = true;
        changed = true;
    }

    bool flush() const { return !changed || writeFile(path, toAnsi(serialize(sections))); }
};

class PortableProfile final : public IProfile {
public:
    explicit PortableProfile(const std::string& winIniPath) : winIni_(platformPath(winIniPath)) {}

    std::uint32_t getString(const char* section, const char* key, const char* def, char* buffer,
                            std::uint32_t size, const char* file) override {
        if (!buffer || size == 0) return 0;
        std::vector<wchar_t> wide(size + 2, L'\0');
        std::uint32_t count = getStringWide(section, key, def, wide.data(), size, file);
        return narrow(wide.data(), count, buffer, size);
    }

    std::uint32_t getInt(const char* section, const char* key, std::int32_t def, const char* file) override {
        wchar_t text[32] = {};
        if (getStringWide(section, key, "", text, 30, file) == 0 || !text[0])
            return static_cast<std::uint32_t>(def);
        return parseInteger(text);
    }

    std::int32_t writeString(const char* section, const char* key, const char* value, const char* file) override {
        if (!section && !key && !value) return 0;  // "flush the cache": nothing is cached here
        if (!key) return deleteSection(section, file);
        Profile p;
        if (!open(file, true, p) || !section) return 0;
        if (value)
            p.set(fromAnsi(section), fromAnsi(key), fromAnsi(value), false);
        else
            p.deleteEntry(fromAnsi(section), fromAnsi(key));
        return p.flush() ? 1 : 0;
    }

    std::uint32_t getSection(const char* section, char* buffer, std::uint32_t size, const char* file) override {
        if (!section || !buffer) return 0;
        // Never written outside the caller's buffer (the system writes two NULs even into one byte).
        if (size < 2) {
            if (size == 1) buffer[0] = '\0';
            return 0;
        }
        // Listed into a wide buffer twice the size, then narrowed: a list that does not fit ends
        // with two NULs at the end of the buffer, and so does one that fits exactly.
        const std::uint32_t wideSize = size * 2;
        std::vector<wchar_t> wide(wideSize + 2, L'\0');
        std::uint32_t count = listSection(file, fromAnsi(section), wide.data(), wideSize, true);
        if (count == 0) {
            buffer[0] = buffer[1] = '\0';
            return 0;
        }
        if (count == wideSize - 2) ++count;
        std::string bytes = toAnsi(std::wstring(wide.data(), count + 1));
        if (bytes.size() >= size) {
            std::memcpy(buffer, bytes.data(), size);
            buffer[size - 2] = buffer[size - 1] = '\0';
            return size - 2;
        }
        std::memcpy(buffer, bytes.data(), bytes.size());
        return static_cast<std::uint32_t>(bytes.size() - 1);
    }

    std::int32_t writeSection(const char* section, const char* entries, const char* file) override {
        if (!entries) return section ? deleteSection(section, file) : 0;
        if (!section) return 0;
        Profile p;
        if (!open(file, true, p)) return 0;
        const std::wstring name = fromAnsi(section);
        p.clearSections(name);
        for (const char* e = entries; *e; e += std::strlen(e) + 1) {
            std::wstring line = fromAnsi(e);
            auto eq = line.find(L'=');
            if (eq != std::wstring::npos) p.set(name, line.substr(0, eq), line.substr(eq + 1), true);
        }
        return p.flush() ? 1 : 0;
    }

    std::uint32_t getSectionNames(char* buffer, std::uint32_t size, const char* file) override {
        if (!buffer || size == 0) return 0;
        std::vector<wchar_t> wide(size + 2, L'\0');
        std::uint32_t count = sectionNamesWide(wide.data(), size, file);
        if (count == 0) {
            buffer[0] = '\0';
            return 0;
        }
        std::string bytes = toAnsi(std::wstring(wide.data(), count + 1));
        if (bytes.size() > size - 1) {
            std::memcpy(buffer, bytes.data(), size - 1);
            buffer[size - 1] = '\0';
            return size - 2;
        }
        std::memcpy(buffer, bytes.data(), bytes.size());
        return static_cast<std::uint32_t>(bytes.size() - 1);
    }

private:
    // The file a name stands for: WIN.INI for none, a bare name in the folder of WIN.INI (as the
    // system places bare names in the Windows folder), anything else as given.
    std::string resolve(const char* file) const {
        if (!file) return winIni_;
        std::string name = file;
        bool bare = name.find_first_of("\\/") == std::string::npos && !(name.size() >= 2 && name[1] == ':');
        if (!bare) return platformPath(name);
        auto slash = winIni_.find_last_of("/\\");
        return slash == std::string::npos ? name : winIni_.substr(0, slash + 1) + name;
    }

    bool open(const char* file, bool forChange, Profile& p) const {
        p.path = resolve(file);
        std::string bytes;
        switch (readFile(p.path, forChange, bytes)) {
            case Opened::Failed: return false;
            case Opened::Missing: return true;
            case Opened::Existing: break;
        }
        if (!bytes.empty()) p.sections = parse(fromAnsi(bytes));
        return true;
    }

    std::int32_t deleteSection(const char* section, const char* file) const {
        if (!section) return 0;
        Profile p;
        if (!open(file, true, p)) return 0;
        const std::wstring name = fromAnsi(section);
        for (auto it = p.sections.begin(); it != p.sections.end(); ++it) {
            if (sameName(it->name, name)) {
                p.sections.erase(it);
                p.changed = true;
                // The system reports success even when the file cannot be rewritten; this does not.
                return p.flush() ? 1 : 0;
            }
        }
        return 1;
    }

    // The wide-character GetPrivateProfileString. `buffer` holds `len` characters and two spare.
    std::uint32_t getStringWide(const char* section, const char* key, const char* def, wchar_t* buffer,
                                std::uint32_t len, const char* file) const {
        std::wstring defText = def ? fromAnsi(def) : std::wstring();
        if (!section) return sectionNamesWide(buffer, len, file);
        if (!key) {
            std::uint32_t count = listSection(file, fromAnsi(section), buffer, len, false);
            if (!buffer[0]) {
                copyValue(buffer, defText, len);
                count = static_cast<std::uint32_t>(wideLength(buffer));
            }
            return count;
        }
        // Trailing spaces of the default are dropped, all but the first character.
        std::size_t keep = defText.size();
        while (keep > 1 && defText[keep - 1] == L' ') --keep;
        defText.resize(keep);

        Profile p;
        if (!open(file, false, p)) {
            copyLimited(buffer, defText, len);
            return static_cast<std::uint32_t>(wideLength(buffer));
        }
        const Entry* e = p.find(fromAnsi(section), fromAnsi(key), false, false);
        copyValue(buffer, e && e->hasValue ? e->value : defText, len);
        return static_cast<std::uint32_t>(wideLength(buffer));
    }

    // Entry names (or "name=value" lines) of the first section of that exact name, NUL-separated,
    // double-NUL-terminated; empty lines, comments and, for names only, lines without "=" skipped.
    std::uint32_t listSection(const char* file, const std::wstring& section, wchar_t* buffer,
                              std::uint32_t len, bool withValues) const {
        Profile p;
        if (!open(file, false, p)) {
            buffer[0] = L'\0';
            return 0;
        }
        for (const auto& s : p.sections) {
            if (!sameName(s.name, section)) continue;
            const std::uint32_t oldLen = len;
            wchar_t* out = buffer;
            for (const auto& e : s.entries) {
                if (len <= 2) break;
                if (e.name.empty() && !e.hasValue) continue;
                if (!e.name.empty() && e.name[0] == L';') continue;
                if (!withValues && !e.hasValue) continue;
                std::size_t n = copyLimited(out, e.name, len - 1);
                len -= static_cast<std::uint32_t>(n + 1);
                out += n + 1;
                if (len < 2) break;
                if (withValues && e.hasValue) {
                    out[-1] = L'=';
                    n = copyLimited(out, e.value, len - 1);
                    len -= static_cast<std::uint32_t>(n + 1);
                    out += n + 1;
                }
            }
            *out = L'\0';
            if (len <= 1) {
                if (out > buffer) out[-1] = L'\0';
                return oldLen >= 2 ? oldLen - 2 : 0;
            }
            return oldLen - len;
        }
        buffer[0] = buffer[1] = L'\0';
        return 0;
    }

    // Names of the sections with a name; a name that does not fit is cut so that the list still
    // ends with two NULs, and the count is then len-2.
    std::uint32_t sectionNamesWide(wchar_t* buffer, std::uint32_t len, const char* file) const {
        Profile p;
        if (!open(file, false, p) || len == 0) return 0;
        if (len == 1) {
            buffer[0] = L'\0';
            return 0;
        }
        std::uint32_t room = len - 1;
        wchar_t* out = buffer;
        for (const auto& s : p.sections) {
            if (s.name.empty()) continue;
            const auto needed = static_cast<std::uint32_t>(s.name.size() + 1);
            if (needed >= room) {
                for (std::uint32_t i = 0; i + 1 < room; ++i) *out++ = s.name[i];
                *out++ = L'\0';
                *out = L'\0';
                return len - 2;
            }
            for (wchar_t c : s.name) *out++ = c;
            *out++ = L'\0';
            room -= needed;
        }
        *out = L'\0';
        return static_cast<std::uint32_t>(out - buffer);
    }

    // The wide result narrowed into the caller's buffer: cut to size-1 bytes and ended by a NUL.
    static std::uint32_t narrow(const wchar_t* wide, std::uint32_t count, char* buffer, std::uint32_t size) {
        std::string bytes = count ? toAnsi(std::wstring(wide, count)) : std::string();
        if (bytes.size() > size - 1) bytes.resize(size - 1);
        std::memcpy(buffer, bytes.data(), bytes.size());
        buffer[bytes.size()] = '\0';
        return static_cast<std::uint32_t>(bytes.size());
    }

    // The number at the start of a value: blanks and control characters skipped, a sign, then
    // decimal digits, or hexadecimal, octal or binary after "0x", "0o", "0b"; it stops at the first
    // character that is not a digit and keeps the low 32 bits of a number too large.
    static std::uint32_t parseInteger(const wchar_t* s) {
        while (*s && *s <= L' ') ++s;
        bool minus = false;
        if (*s == L'+') {
            ++s;
        } else if (*s == L'-') {
            minus = true;
            ++s;
        }
        std::uint32_t base = 10;
        if (s[0] == L'0' && s[1]) {
            if (s[1] == L'b') base = 2;
            else if (s[1] == L'o') base = 8;
            else if (s[1] == L'x') base = 16;
            if (base != 10) s += 2;
        }
        std::uint32_t total = 0;
        for (; *s; ++s) {
            int digit = -1;
            if (*s >= L'0' && *s <= L'9') digit = *s - L'0';
            else if (*s >= L'A' && *s <= L'Z') digit = *s - L'A' + 10;
            else if (*s >= L'a' && *s <= L'z') digit = *s - L'a' + 10;
            if (digit < 0 || static_cast<std::uint32_t>(digit) >= base) break;
            total = total * base + static_cast<std::uint32_t>(digit);
        }
        return minus ? 0u - total : total;
    }

    std::string winIni_;
};

}  // namespace

std::unique_ptr<IProfile> makePortableProfile(const std::string& winIniPath) {
    return std::make_unique<PortableProfile>(winIniPath);
}

}  // namespace zav
