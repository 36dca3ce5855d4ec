// The console program's system side: the top-level windows and their readable controls as the
// system lists them, and the standard streams with Ctrl+C and Ctrl+Break.
#pragma once

#include <memory>

#include "console/ConsoleRun.h"
#include "console/ConsoleWindows.h"

namespace zav {

std::unique_ptr<IWindowList> makeSystemWindowList();

// The standard streams of this process. From the first call on, Ctrl+C, Ctrl+Break and the
// console's closing ask the program to stop (stopRequested) instead of ending it; the closing,
// a log-off and a shut-down wait until consoleFinished() (or 5 s) before the system ends it.
std::unique_ptr<IConsoleStreams> makeSystemConsoleStreams();
void consoleFinished();

}  // namespace zav
