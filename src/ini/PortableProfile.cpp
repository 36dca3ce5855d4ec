// The profile functions over plain text files, for a platform without them and as the reference
// the Windows build's own functions are compared with. The behaviour is that of Windows, because
// the INI files are shared with it. The file is read afresh on every call through the file system
// services; the grammar and the edits are the document's (IniDocument.h), the way answers are cut
// to the caller's buffer the buffer rules' (ProfileBuffers.h). A change writes the file back
// edited in place, in the encoding it was read in (UTF-16LE after a byte-order mark, else the ANSI
// code page); a write that changes nothing leaves the file untouched.
#include <cstring>
#include <vector>

#include "core/Error.h"
#include "ini/FileSystem.h"
#include "ini/IniDocument.h"
#include "ini/Profile.h"
#include "ini/ProfileBuffers.h"
#include "text/Ansi.h"

namespace zav {
namespace {

// Windows hands out no value longer than this: the call gives nothing.
constexpr std::size_t kLongestValue = 65535;

// The text of a file: UTF-16LE after its byte-order mark, else the ANSI code page.
std::wstring decode(const std::string& bytes, bool& utf16) {
    utf16 = bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
            static_cast<unsigned char>(bytes[1]) == 0xFE;
    if (!utf16) return fromAnsi(bytes);
    std::wstring text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                            (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return text;
}

// A file is written back in the encoding it was read in.
std::string encode(const std::wstring& text, bool utf16) {
    if (!utf16) return toAnsi(text);
    std::string bytes("\xFF\xFE", 2);
    for (wchar_t c : text) {
        const auto unit = static_cast<unsigned>(c);
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>((unit >> 8) & 0xFF));
    }
    return bytes;
}

// One file as loaded for a call.
struct LoadedFile {
    std::wstring path;
    IniDocument doc;
    bool utf16 = false;
};

class PortableProfile final : public IProfile {
public:
    PortableProfile(const std::wstring& winIniPath, std::unique_ptr<IFileSystem> fs)
        : winIni_(winIniPath), fs_(std::move(fs)) {}

    std::uint32_t getString(const char* section, const char* key, const char* def, char* buffer,
                            std::uint32_t size, const wchar_t* file) override {
        if (!buffer || size == 0) return 0;
        if (!section) return sectionNames(buffer, size, file);
        if (!key) {
            if (size == 1) {
                buffer[0] = '\0';
                return 0;
            }
            std::vector<std::string> keys;
            for (const auto& e : sectionEntries(file, fromAnsi(section)))
                if (e.hasValue && !e.name.empty()) keys.push_back(toAnsi(e.name));
            if (!keys.empty()) return copyList(keys, ListKind::Names, buffer, size);
            // Without keys, the default instead.
            std::vector<wchar_t> wide(size + 2, L'\0');
            copyValue(wide.data(), def ? fromAnsi(def) : std::wstring(), size);
            return narrowValue(wide.data(), static_cast<std::uint32_t>(wideLength(wide.data())), buffer, size);
        }
        std::vector<wchar_t> wide(size + 2, L'\0');
        std::uint32_t count = getStringWide(section, key, def, wide.data(), size, file);
        return narrowValue(wide.data(), count, buffer, size);
    }

    std::uint32_t getInt(const char* section, const char* key, std::int32_t def, const wchar_t* file) override {
        if (!section || !key) return static_cast<std::uint32_t>(def);
        wchar_t text[32] = {};
        if (getStringWide(section, key, "", text, 30, file) == 0 || !text[0])
            return static_cast<std::uint32_t>(def);
        return parseInteger(text);
    }

    std::int32_t writeString(const char* section, const char* key, const char* value, const wchar_t* file) override {
        if (!section && !key && !value) return 0;  // "flush the cache": nothing is cached here
        if (!key) return deleteSection(section, file);
        LoadedFile f;
        if (!open(file, true, f) || !section) return 0;
        if (value)
            f.doc.set(fromAnsi(section), fromAnsi(key), fromAnsi(value), false);
        else
            f.doc.removeEntry(fromAnsi(section), fromAnsi(key));
        return save(f) ? 1 : 0;
    }

    std::uint32_t getSection(const char* section, char* buffer, std::uint32_t size, const wchar_t* file) override {
        if (!section || !buffer) return 0;
        // Never written outside the caller's buffer (the system writes two NULs even into one byte).
        if (size < 2) {
            if (size == 1) buffer[0] = '\0';
            return 0;
        }
        std::vector<std::string> lines;
        for (const auto& e : sectionEntries(file, fromAnsi(section)))
            lines.push_back(toAnsi(e.hasValue ? e.name + L"=" + e.value : e.name));
        if (lines.empty()) {
            buffer[0] = buffer[1] = '\0';
            return 0;
        }
        return copyList(lines, ListKind::Lines, buffer, size);
    }

    std::int32_t writeSection(const char* section, const char* entries, const wchar_t* file) override {
        if (!entries) return section ? deleteSection(section, file) : 0;
        if (!section) return 0;
        LoadedFile f;
        if (!open(file, true, f)) return 0;
        const std::wstring name = fromAnsi(section);
        f.doc.clearSections(name);
        for (const char* e = entries; *e; e += std::strlen(e) + 1) {
            std::wstring line = fromAnsi(e);
            auto eq = line.find(L'=');
            if (eq != std::wstring::npos) f.doc.set(name, line.substr(0, eq), line.substr(eq + 1), true);
        }
        return save(f) ? 1 : 0;
    }

    std::uint32_t getSectionNames(char* buffer, std::uint32_t size, const wchar_t* file) override {
        if (!buffer || size == 0) return 0;
        return sectionNames(buffer, size, file);
    }

private:
    // The file a name stands for: WIN.INI for none, a bare name in the folder of WIN.INI (as the
    // system places bare names in the Windows folder), anything else as given.
    std::wstring resolve(const wchar_t* file) const {
        if (!file) return winIni_;
        std::wstring name = file;
        bool bare = name.find_first_of(L"\\/") == std::wstring::npos && !(name.size() >= 2 && name[1] == L':');
        if (!bare) return name;
        auto slash = winIni_.find_last_of(L"/\\");
        return slash == std::wstring::npos ? name : winIni_.substr(0, slash + 1) + name;
    }

    bool parentFolderExists(const std::wstring& path) const {
        auto slash = path.find_last_of(L"/\\");
        if (slash == std::wstring::npos) return true;
        std::wstring parent = path.substr(0, slash);
        if (parent.empty() || parent.back() == L':') parent += path[slash];
        return fs_->folderExists(parent);
    }

    // Opens the file as the system does before every call: missing is fine (it is created on the
    // first change), a missing folder, a folder or, for a change, a read-only file is a failure.
    bool open(const wchar_t* file, bool forChange, LoadedFile& f) const {
        f.path = resolve(file);
        try {
            if (fs_->folderExists(f.path)) return false;
            if (!fs_->fileExists(f.path)) return parentFolderExists(f.path);
            // The read-only state is tested directly: an administrator's open would ignore it.
            if (forChange && fs_->isReadOnly(f.path)) return false;
            f.doc = IniDocument(decode(fs_->readAll(f.path), f.utf16));
        } catch (const Error&) {
            return false;
        }
        return true;
    }

    bool save(const LoadedFile& f) const {
        if (!f.doc.changed()) return true;
        try {
            fs_->writeAll(f.path, encode(f.doc.text(), f.utf16));
        } catch (const Error&) {
            return false;
        }
        return true;
    }

    std::int32_t deleteSection(const char* section, const wchar_t* file) const {
        if (!section) return 0;
        LoadedFile f;
        if (!open(file, true, f)) return 0;
        f.doc.removeSection(fromAnsi(section));
        // The system reports success even when the file cannot be rewritten; this does not.
        return save(f) ? 1 : 0;
    }

    // The wide-character GetPrivateProfileString of one value. `buffer` holds `len` characters
    // and two spare.
    std::uint32_t getStringWide(const char* section, const char* key, const char* def, wchar_t* buffer,
                                std::uint32_t len, const wchar_t* file) const {
        std::wstring defText = def ? fromAnsi(def) : std::wstring();
        // Trailing spaces of the default are dropped, all but the first character.
        std::size_t keep = defText.size();
        while (keep > 1 && defText[keep - 1] == L' ') --keep;
        defText.resize(keep);

        LoadedFile f;
        if (!open(file, false, f)) {
            copyLimited(buffer, defText, len);
            return static_cast<std::uint32_t>(wideLength(buffer));
        }
        IniEntry e;
        const bool found = f.doc.find(fromAnsi(section), fromAnsi(key), e) && e.hasValue;
        if (found && e.value.size() > kLongestValue) {
            buffer[0] = L'\0';
            return 0;
        }
        copyValue(buffer, found ? e.value : defText, len);
        return static_cast<std::uint32_t>(wideLength(buffer));
    }

    // The entries of the first section of that name; none for a missing file or section.
    std::vector<IniEntry> sectionEntries(const wchar_t* file, const std::wstring& section) const {
        LoadedFile f;
        if (open(file, false, f))
            for (auto& s : f.doc.sections())
                if (sameIniName(s.name, stripBlanks(section))) return std::move(s.entries);
        return {};
    }

    // GetPrivateProfileSectionNames: the names of the sections, "" left out; a missing file or a
    // file without sections gives a single NUL.
    std::uint32_t sectionNames(char* buffer, std::uint32_t size, const wchar_t* file) const {
        LoadedFile f;
        std::vector<std::string> names;
        if (open(file, false, f))
            for (const auto& s : f.doc.sections())
                if (!s.name.empty()) names.push_back(toAnsi(s.name));
        if (names.empty() || size == 1) {
            buffer[0] = '\0';
            return 0;
        }
        return copyList(names, ListKind::Names, buffer, size);
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

    std::wstring winIni_;
    std::unique_ptr<IFileSystem> fs_;
};

}  // namespace

std::unique_ptr<IProfile> makePortableProfile(const std::wstring& winIniPath) {
    return std::make_unique<PortableProfile>(winIniPath, makeSystemFileSystem());
}

}  // namespace zav
