// The program's entry and the only place that knows every part: the crash handler first, then the
// program's storage (the system's profile functions, file services and host), built once here and
// handed down; start-up (settings, catalog), the export dialogs' environment, the watcher
// window and the message loop until the watcher goes. The export dialogs have no owner: each is a
// window of its own in the task bar. A start-up failure is shown with its number and description
// and ends the program.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "app/mMain.h"
#include "app/win32/frmMenuHook.h"
#include "app/win32/mUnhandledExceptionHandler.h"
#include "capture/win32/SystemCapture.h"
#include "core/Error.h"
#include "core/Platform.h"
#include "core/win32/MessageLoop.h"
#include "export/win32/ExportDialogs.h"
#include "ini/FileSystem.h"
#include "ini/Profile.h"
#include "ini/Storage.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    zav::installCrashHandler();

    auto host = zav::makeSystemHost();
    auto profile = zav::makeSystemProfile();
    auto fs = zav::makeSystemFileSystem();
    auto reporter = zav::makeSystemReporter();
    const zav::Storage storage{*host, *profile, *fs};
    auto captures = zav::makeSystemCaptureFactory();
    auto windows = zav::makeSystemWindowInfo();

    INITCOMMONCONTROLSEX controls = {sizeof controls,
                                     ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);

    std::unique_ptr<zav::ExportDialogs> dialogs;
    std::unique_ptr<zav::frmMenuHook> watcher;
    try {
        dialogs = std::make_unique<zav::ExportDialogs>(storage, zav::Main(storage), *captures, *windows);
        watcher = std::make_unique<zav::frmMenuHook>(*dialogs);
    } catch (const std::exception& e) {
        reporter->show(zav::errorReport(e), zav::kProgramTitle, zav::MessageIcon::Stop);
        return 1;
    }
    // From here on errors are reported by the window that met them; the program stays resident.
    return zav::win::runMessageLoop();
}
