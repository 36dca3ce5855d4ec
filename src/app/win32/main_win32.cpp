// The program's entry and the only place that knows every part: the crash handler first, then the
// program's storage (the system's profile functions, file services and host), built once here and
// handed down; start-up (settings, catalog), the export dialogs' environment, the watcher
// window and the message loop until the watcher goes. The export dialogs have no owner: each is a
// window of its own in the task bar. A start-up failure is shown with its number and description
// and ends the program. Only one copy runs in a user session (oneCopyRunsAlready).
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "app/TrayMenu.h"
#include "app/mMain.h"
#include "app/win32/frmMenuHook.h"
#include "app/win32/mUnhandledExceptionHandler.h"
#include "capture/win32/SystemGridSources.h"
#include "core/Error.h"
#include "core/Platform.h"
#include "core/win32/Handles.h"
#include "core/win32/MessageLoop.h"
#include "ini/FileSystem.h"
#include "ini/Profile.h"
#include "ini/Storage.h"
#include "ui/win32/ExportDialogs.h"

namespace {

// Two copies would both hook the right button, and which one answered a press would be down to
// the order of their hooks. One name for both programs, whatever their word size or folder: the
// 32-bit and the 64-bit program, and copies in two folders, are kept to one. The name lives in
// the session's own namespace ("Local\"), so every user of a shared machine runs a copy of their
// own. The mutex stays held until the process ends, however it ends.
bool oneCopyRunsAlready(zav::UniqueHandle& held) {
    held.reset(CreateMutexW(nullptr, FALSE, L"Local\\ZAVExport.OneCopy"));
    // Without the mutex (it cannot be made) the program runs rather than refuse to start.
    return held && GetLastError() == ERROR_ALREADY_EXISTS;
}

// The first copy tells the user, on its icon; it may still be starting, so its window is awaited
// a little. Without a window to tell, this copy says it with a box of its own.
void tellFirstCopy(zav::IReporter& reporter) {
    for (int i = 0; i < 50; ++i) {
        if (HWND first = FindWindowW(zav::frmMenuHook::kClassName, zav::frmMenuHook::kTitle)) {
            PostMessageW(first, zav::frmMenuHook::secondCopyMessage(), 0, 0);
            return;
        }
        Sleep(100);
    }
    reporter.show(zav::kAlreadyRunning, zav::kProgramTitle, zav::MessageIcon::Information);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    zav::installCrashHandler();
    const auto reporter = zav::makeSystemReporter();

    // Before anything is read or written: a second copy leaves the first one's files alone.
    zav::UniqueHandle oneCopy;
    if (oneCopyRunsAlready(oneCopy)) {
        tellFirstCopy(*reporter);
        return 0;
    }

    auto host = zav::makeSystemHost();
    auto profile = zav::makeSystemProfile();
    auto fs = zav::makeSystemFileSystem();
    const zav::Storage storage{*host, *profile, *fs};
    auto captures = zav::makeSystemGridSourceFactory();
    auto windows = zav::makeSystemWindowInfo();

    INITCOMMONCONTROLSEX controls = {sizeof controls,
                                     ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);

    std::unique_ptr<zav::ExportDialogs> dialogs;
    std::unique_ptr<zav::frmMenuHook> watcher;
    try {
        dialogs = std::make_unique<zav::ExportDialogs>(storage, zav::Main(storage), *captures, *windows);
        watcher = std::make_unique<zav::frmMenuHook>(*dialogs, *reporter);
    } catch (const std::exception& e) {
        reporter->show(zav::errorReport(e), zav::kProgramTitle, zav::MessageIcon::Stop);
        return 1;
    }
    // From here on errors are reported by the window that met them; the program stays resident.
    const int exitCode = zav::win::runMessageLoop();
    // Export dialogs still open go now, while what they refer to is still there: the system
    // destroys a thread's windows when it ends, and their last messages would reach freed objects.
    dialogs->closeAll();
    return exitCode;
}
