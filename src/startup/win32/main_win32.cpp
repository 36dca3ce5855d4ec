// The program's entry: installs the Win32 services, runs start-up, and reports a failure with its
// number and description before ending.
#include <windows.h>

#include <memory>

#include "core/Error.h"
#include "core/Platform.h"
#include "ini/FileSystem.h"
#include "ini/Profile.h"
#include "startup/mMain.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    auto host = zav::makeSystemHost();
    auto profile = zav::makeSystemProfile();
    auto fs = zav::makeSystemFileSystem();
    auto reporter = zav::makeSystemReporter();
    zav::services() = zav::Services{host.get(), profile.get(), fs.get(), reporter.get()};

    try {
        zav::Main();
    } catch (const zav::Error& e) {
        reporter->show(L"Error " + std::to_wstring(e.number()) + L": " + e.description(), zav::kProgramTitle,
                       zav::MessageIcon::Stop);
        return 1;
    } catch (const std::exception& e) {
        reporter->show(L"Error: " + std::wstring(e.what(), e.what() + std::char_traits<char>::length(e.what())),
                       zav::kProgramTitle, zav::MessageIcon::Stop);
        return 1;
    }
    return 0;
}
