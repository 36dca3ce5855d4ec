// The console program's entry: the storage beside the program (read only), the system's windows
// and grid sources, the standard streams; then the command line. It opens no window, shows no
// box, installs no hook and takes no lock, so it runs beside the resident program, and a
// failure it did not foresee is one line on the standard error and the exit code 1.
#include <windows.h>

#include <memory>
#include <vector>

#include "capture/win32/RemoteMemory.h"
#include "capture/win32/SystemGridSources.h"
#include "console/ConsoleRun.h"
#include "console/win32/SystemConsole.h"
#include "core/Error.h"
#include "ini/Profile.h"

int wmain(int argc, wchar_t** argv) {
    // No box of the system's either (a drive without a disk, a crash).
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    auto streams = zav::makeSystemConsoleStreams();
    std::vector<std::wstring> args(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
    int code = zav::kExitFailed;
    std::wstring program = L"ZAVExportCmd";
    try {
        auto host = zav::makeSystemHost();
        program = host->programBaseName();
        auto profile = zav::makeSystemProfile();
        auto fs = zav::makeSystemFileSystem();
        const zav::Storage storage{*host, *profile, *fs};
        auto windows = zav::makeSystemWindowList();
        auto grids = zav::makeSystemGridSourceFactory();
        zav::ConsoleServices services{storage, zav::consoleSettings(storage), *windows, *grids, *streams, program,
                                      zav::kProgramWordSize};
        code = zav::runConsole(args, services);
    } catch (const std::exception& e) {
        streams->error(program + L": " + zav::errorReport(e));
        code = zav::kExitFailed;
    }
    zav::consoleFinished();
    return code;
}
