// The profile functions that read and write INI files, as one interface with two implementations:
// the system's own (kernel32, Windows build) and a portable one over plain text files.
//
// Sections, keys, values and buffers follow the ANSI profile functions byte for byte (8-bit text,
// NUL-terminated, nullptr = an absent text), so that the two implementations can be compared call
// for call. The file is named by wide text, so that its name may hold any character; a null `file`
// means the system-wide WIN.INI.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace zav {

class IProfile {
public:
    virtual ~IProfile() = default;

    // GetPrivateProfileStringA: section == nullptr lists section names, key == nullptr lists keys
    // (NUL-separated, double-NUL-terminated). Returns the count copied without the final NUL.
    virtual std::uint32_t getString(const char* section, const char* key, const char* def, char* buffer,
                                    std::uint32_t size, const wchar_t* file) = 0;
    // GetPrivateProfileIntA
    virtual std::uint32_t getInt(const char* section, const char* key, std::int32_t def,
                                 const wchar_t* file) = 0;
    // WritePrivateProfileStringA: key == nullptr removes the section, value == nullptr the entry.
    // Returns nonzero on success.
    virtual std::int32_t writeString(const char* section, const char* key, const char* value,
                                     const wchar_t* file) = 0;
    // GetPrivateProfileSectionA: the section's lines as a NUL-separated, double-NUL-terminated list.
    virtual std::uint32_t getSection(const char* section, char* buffer, std::uint32_t size,
                                     const wchar_t* file) = 0;
    // WritePrivateProfileSectionA: replaces the section's lines by the double-NUL-terminated list.
    virtual std::int32_t writeSection(const char* section, const char* entries, const wchar_t* file) = 0;
    // GetPrivateProfileSectionNamesA
    virtual std::uint32_t getSectionNames(char* buffer, std::uint32_t size, const wchar_t* file) = 0;
};

// The portable implementation. `winIniPath` is the file that stands for WIN.INI (a null `file`),
// a path of the program's own form, as the file services take it.
std::unique_ptr<IProfile> makePortableProfile(const std::wstring& winIniPath);

}  // namespace zav

namespace zav {
// The build's own profile functions: kernel32 in the Windows build; in the native build the
// portable layer, with WIN.INI in the program's folder.
std::unique_ptr<IProfile> makeSystemProfile();
}  // namespace zav
