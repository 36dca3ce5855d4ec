// A host whose program folder, names and directories a test chooses; the directory listing is the
// real one (so Exists and ExpandLongPath see real files).
#pragma once

#include <memory>
#include <string>

#include "TestSupport.h"
#include "core/Platform.h"

namespace zavtest {

class FakeHost : public zav::IHost {
public:
    FakeHost() : real_(zav::makeSystemHost()) {}

    std::wstring programFolder() override { return folder; }
    std::wstring programBaseName() override { return baseName; }
    std::wstring currentDirectory() override { return current; }
    std::wstring driveCurrentDirectory(wchar_t drive) override {
        return drive == driveLetter ? driveCurrent : std::wstring();
    }
    std::wstring findFirst(const std::wstring& pattern, bool foldersHiddenSystem) override {
        return real_->findFirst(pattern, foldersHiddenSystem);
    }
    std::wstring windowsDirectory() override { return windows; }
    std::wstring listSeparator() override { return separator; }
    zav::NumberFormat numberFormat() override { return numbers; }

    std::wstring folder;
    std::wstring baseName = L"ZAVExport";
    std::wstring current = L"D:\\work";
    wchar_t driveLetter = L'C';
    std::wstring driveCurrent = L"C:\\cur\\dir";
    std::wstring windows;
    std::wstring separator = L",";
    zav::NumberFormat numbers;  // English (United States) unless a test says otherwise

private:
    std::unique_ptr<zav::IHost> real_;
};

// The build's own storage with another host.
inline zav::Storage withHost(zav::IHost& host) {
    const zav::Storage& real = storage();
    return zav::Storage{host, real.profile, real.fs};
}

}  // namespace zavtest
