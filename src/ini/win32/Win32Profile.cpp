// The system's profile functions, passed through unchanged. A null file means WIN.INI.
#include <windows.h>

#include "ini/Profile.h"

namespace zav {
namespace {

class Win32Profile final : public IProfile {
public:
    std::uint32_t getString(const char* section, const char* key, const char* def, char* buffer,
                            std::uint32_t size, const char* file) override {
        return file ? GetPrivateProfileStringA(section, key, def, buffer, size, file)
                    : GetProfileStringA(section, key, def, buffer, size);
    }
    std::uint32_t getInt(const char* section, const char* key, std::int32_t def, const char* file) override {
        return file ? GetPrivateProfileIntA(section, key, def, file) : GetProfileIntA(section, key, def);
    }
    std::int32_t writeString(const char* section, const char* key, const char* value,
                             const char* file) override {
        return file ? WritePrivateProfileStringA(section, key, value, file)
                    : WriteProfileStringA(section, key, value);
    }
    std::uint32_t getSection(const char* section, char* buffer, std::uint32_t size, const char* file) override {
        return file ? GetPrivateProfileSectionA(section, buffer, size, file)
                    : GetProfileSectionA(section, buffer, size);
    }
    std::int32_t writeSection(const char* section, const char* entries, const char* file) override {
        return file ? WritePrivateProfileSectionA(section, entries, file)
                    : WriteProfileSectionA(section, entries);
    }
    std::uint32_t getSectionNames(char* buffer, std::uint32_t size, const char* file) override {
        return GetPrivateProfileSectionNamesA(buffer, size, file ? file : "win.ini");
    }
};

}  // namespace

std::unique_ptr<IProfile> makeSystemProfile() { return std::make_unique<Win32Profile>(); }

}  // namespace zav
