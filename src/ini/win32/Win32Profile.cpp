// The system's profile functions. The file is named by wide text, so that a file of any name can
// be reached; sections, keys and values stay 8-bit text of the ANSI code page, passed to the wide
// functions converted and their answers converted back as the ANSI functions do it (the wide
// answer of `size` characters, converted and cut to `size` - 1 bytes behind which one NUL is set;
// an empty or cut list of a section's lines gets a second NUL). A null file means WIN.INI.
#include <windows.h>

#include <cstring>
#include <optional>

#include "ini/Profile.h"
#include "text/Ansi.h"

namespace zav {
namespace {

// A text argument: absent stays absent.
class WideArg {
public:
    explicit WideArg(const char* text) {
        if (text) text_ = fromAnsi(std::string(text));
    }
    const wchar_t* get() const { return text_ ? text_->c_str() : nullptr; }

private:
    std::optional<std::wstring> text_;
};

// A NUL-separated, double-NUL-terminated list.
std::wstring wideList(const char* entries) {
    std::size_t length = 0;
    while (entries[length] != '\0' || entries[length + 1] != '\0') ++length;
    std::wstring list = fromAnsi(std::string(entries, length + 1));
    list += L'\0';
    return list;
}

// Copies the first `count` characters of a wide answer into the caller's 8-bit buffer.
std::uint32_t copyBack(const std::wstring& wide, std::uint32_t count, char* buffer, std::uint32_t size) {
    if (!buffer || size == 0) return 0;
    std::string bytes = toAnsi(wide.substr(0, count));
    if (bytes.size() > size - 1) bytes.resize(size - 1);
    std::memcpy(buffer, bytes.data(), bytes.size());
    buffer[bytes.size()] = '\0';
    return static_cast<std::uint32_t>(bytes.size());
}

class Win32Profile final : public IProfile {
public:
    std::uint32_t getString(const char* section, const char* key, const char* def, char* buffer,
                            std::uint32_t size, const wchar_t* file) override {
        WideArg s(section), k(key), d(def);
        std::wstring wide(buffer ? size : 0, L'\0');
        wchar_t* out = buffer && size ? wide.data() : nullptr;
        DWORD n = file ? GetPrivateProfileStringW(s.get(), k.get(), d.get(), out, size, file)
                       : GetProfileStringW(s.get(), k.get(), d.get(), out, size);
        return copyBack(wide, n, buffer, size);
    }
    std::uint32_t getInt(const char* section, const char* key, std::int32_t def, const wchar_t* file) override {
        WideArg s(section), k(key);
        return file ? GetPrivateProfileIntW(s.get(), k.get(), def, file) : GetProfileIntW(s.get(), k.get(), def);
    }
    std::int32_t writeString(const char* section, const char* key, const char* value,
                             const wchar_t* file) override {
        WideArg s(section), k(key), v(value);
        return file ? WritePrivateProfileStringW(s.get(), k.get(), v.get(), file)
                    : WriteProfileStringW(s.get(), k.get(), v.get());
    }
    std::uint32_t getSection(const char* section, char* buffer, std::uint32_t size, const wchar_t* file) override {
        WideArg s(section);
        auto lines = [&](std::wstring& wide, std::uint32_t length) -> DWORD {
            wide.assign(length, L'\0');
            return file ? GetPrivateProfileSectionW(s.get(), wide.data(), length, file)
                        : GetProfileSectionW(s.get(), wide.data(), length);
        };
        if (!buffer || size == 0) return 0;
        std::wstring wide;
        const DWORD n = lines(wide, size);
        const std::uint32_t count = copyBack(wide, n, buffer, size);
        // The ANSI function ends an empty list, and one cut to the buffer, with two NULs. A list
        // that fills the buffer may be whole or cut: a larger buffer tells.
        bool cut = false;
        if (n > 0 && n + 2 >= size) {
            std::wstring larger;
            cut = lines(larger, size + 2) != n;
        }
        if ((count == 0 || cut) && count + 1 < size) buffer[count + 1] = '\0';
        return count;
    }
    std::int32_t writeSection(const char* section, const char* entries, const wchar_t* file) override {
        WideArg s(section);
        std::wstring list = entries ? wideList(entries) : std::wstring();
        const wchar_t* e = entries ? list.c_str() : nullptr;
        return file ? WritePrivateProfileSectionW(s.get(), e, file) : WriteProfileSectionW(s.get(), e);
    }
    std::uint32_t getSectionNames(char* buffer, std::uint32_t size, const wchar_t* file) override {
        std::wstring wide(buffer ? size : 0, L'\0');
        wchar_t* out = buffer && size ? wide.data() : nullptr;
        DWORD n = GetPrivateProfileSectionNamesW(out, size, file ? file : L"win.ini");
        return copyBack(wide, n, buffer, size);
    }
};

}  // namespace

std::unique_ptr<IProfile> makeSystemProfile() { return std::make_unique<Win32Profile>(); }

}  // namespace zav
