// The program's entry: the crash handler first, then the Win32 services and start-up (settings,
// catalog), then the watcher window and the message loop until the watcher goes. A start-up
// failure is shown with its number and description and ends the program.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "capture/win32/frmMenuHook.h"
#include "core/Error.h"
#include "core/Platform.h"
#include "core/win32/Window.h"
#include "ini/FileSystem.h"
#include "ini/Profile.h"
#include "startup/mMain.h"
#include "startup/win32/mUnhandledExceptionHandler.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    zav::installCrashHandler();

    auto host = zav::makeSystemHost();
    auto profile = zav::makeSystemProfile();
    auto fs = zav::makeSystemFileSystem();
    auto reporter = zav::makeSystemReporter();
    zav::services() = zav::Services{host.get(), profile.get(), fs.get(), reporter.get()};

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    try {
        zav::Main();            // settings and catalog
        zav::frmMenuHook::load();
    } catch (const std::exception& e) {
        reporter->show(zav::errorReport(e), zav::kProgramTitle, zav::MessageIcon::Stop);
        return 1;
    }
    // From here on errors are reported by the window that met them; the program stays resident.
    return zav::win::runMessageLoop();
}
