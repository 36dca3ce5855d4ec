// The profile functions over plain text files, for a platform without them and as the reference
// the Windows build's own functions are compared with. The file is read afresh on every call
// through the file system services; the grammar is the document's (IniDocument.h), the way
// answers are cut to the caller's buffer the buffer rules' (ProfileBuffers.h). A change rewrites
// the whole file; a write that changes nothing leaves the file untouched.
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

// One file as loaded for a call.
struct LoadedFile {
    std::wstring path;
    IniDocument doc;
};

class PortableProfile final : public IProfile {
public:
    PortableProfile(const std::string& winIniPath, std::unique_ptr<IFileSystem> fs)
        : winIni_(winIniPath), fs_(std::move(fs)) {}

    std::uint32_t getString(const char* section, const char* key, const char* def, char* buffer,
                            std::uint32_t size, const char* file) override {
        if (!buffer || size == 0) return 0;
        std::vector<wchar_t> wide(size + 2, L'\0');
        std::uint32_t count = getStringWide(section, key, def, wide.data(), size, file);
        return narrowValue(wide.data(), count, buffer, size);
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
        LoadedFile f;
        if (!open(file, true, f) || !section) return 0;
        if (value)
            f.doc.set(fromAnsi(section), fromAnsi(key), fromAnsi(value), false);
        else
            f.doc.removeEntry(fromAnsi(section), fromAnsi(key));
        return save(f) ? 1 : 0;
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
        return narrowLineList(wide.data(), count, buffer, size);
    }

    std::int32_t writeSection(const char* section, const char* entries, const char* file) override {
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

    std::uint32_t getSectionNames(char* buffer, std::uint32_t size, const char* file) override {
        if (!buffer || size == 0) return 0;
        std::vector<wchar_t> wide(size + 2, L'\0');
        std::uint32_t count = sectionNamesWide(wide.data(), size, file);
        return narrowNameList(wide.data(), count, buffer, size);
    }

private:
    // The file a name stands for: WIN.INI for none, a bare name in the folder of WIN.INI (as the
    // system places bare names in the Windows folder), anything else as given.
    std::wstring resolve(const char* file) const {
        if (!file) return fromAnsi(winIni_);
        std::string name = file;
        bool bare = name.find_first_of("\\/") == std::string::npos && !(name.size() >= 2 && name[1] == ':');
        if (!bare) return fromAnsi(name);
        auto slash = winIni_.find_last_of("/\\");
        return fromAnsi(slash == std::string::npos ? name : winIni_.substr(0, slash + 1) + name);
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
    bool open(const char* file, bool forChange, LoadedFile& f) const {
        f.path = resolve(file);
        try {
            if (fs_->folderExists(f.path)) return false;
            if (!fs_->fileExists(f.path)) return parentFolderExists(f.path);
            // The read-only state is tested directly: an administrator's open would ignore it.
            if (forChange && fs_->isReadOnly(f.path)) return false;
            f.doc = IniDocument(fromAnsi(fs_->readAll(f.path)));
        } catch (const Error&) {
            return false;
        }
        return true;
    }

    bool save(const LoadedFile& f) const {
        if (!f.doc.changed()) return true;
        try {
            fs_->writeAll(f.path, toAnsi(f.doc.text()));
        } catch (const Error&) {
            return false;
        }
        return true;
    }

    std::int32_t deleteSection(const char* section, const char* file) const {
        if (!section) return 0;
        LoadedFile f;
        if (!open(file, true, f)) return 0;
        f.doc.removeSection(fromAnsi(section));
        // The system reports success even when the file cannot be rewritten; this does not.
        return save(f) ? 1 : 0;
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

        LoadedFile f;
        if (!open(file, false, f)) {
            copyLimited(buffer, defText, len);
            return static_cast<std::uint32_t>(wideLength(buffer));
        }
        const IniEntry* e = f.doc.find(fromAnsi(section), fromAnsi(key));
        copyValue(buffer, e && e->hasValue ? e->value : defText, len);
        return static_cast<std::uint32_t>(wideLength(buffer));
    }

    // The first section of that exact name, listed by the buffer rules.
    std::uint32_t listSection(const char* file, const std::wstring& section, wchar_t* buffer, std::uint32_t len,
                              bool withValues) const {
        LoadedFile f;
        if (open(file, false, f))
            for (const auto& s : f.doc.sections())
                if (sameIniName(s.name, section)) return listEntries(s, buffer, len, withValues);
        buffer[0] = buffer[1] = L'\0';
        return 0;
    }

    std::uint32_t sectionNamesWide(wchar_t* buffer, std::uint32_t len, const char* file) const {
        LoadedFile f;
        if (!open(file, false, f)) return 0;
        return listSectionNames(f.doc.sections(), buffer, len);
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
    std::unique_ptr<IFileSystem> fs_;
};

}  // namespace

std::unique_ptr<IProfile> makePortableProfile(const std::string& winIniPath) {
    return std::make_unique<PortableProfile>(winIniPath, makeSystemFileSystem());
}

}  // namespace zav
