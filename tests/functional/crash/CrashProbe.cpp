// A program that installs the crash handler as ZAVExport does and then faults, so that the test
// can see the handler's message box and the program's end.
//   zav_crash_probe.exe access|divide|code
#include <windows.h>

#include <cstdint>
#include <cstring>

#include "app/win32/mUnhandledExceptionHandler.h"

namespace {

volatile int g_zero = 0;

}  // namespace

int main(int argc, char** argv) {
    zav::installCrashHandler();
    const char* what = argc > 1 ? argv[1] : "access";
    if (std::strcmp(what, "divide") == 0) return 10 / g_zero;
    if (std::strcmp(what, "code") == 0) RaiseException(0x00ABCDEF, 0, 0, nullptr);
    *reinterpret_cast<volatile int*>(static_cast<std::uintptr_t>(g_zero)) = 1;
    return 0;
}
