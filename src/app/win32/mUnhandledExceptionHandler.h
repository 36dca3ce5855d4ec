// The last-chance handler: a processor exception nobody handled ends the program with the
// program's own message instead of the system's crash report.
#pragma once

#include <windows.h>

namespace zav {

// Registers crashFilter as the process's unhandled-exception filter (the previous one is dropped).
void installCrashHandler();
// Shows "FATAL error => ..." (title "Orvek", stop icon, OK) and returns EXCEPTION_EXECUTE_HANDLER.
LONG WINAPI crashFilter(EXCEPTION_POINTERS* pointers);

}  // namespace zav
