// The console program without its system calls: the command line carried out against the windows
// the system lists, the grid sources, the settings and export types beside the program, and the
// standard streams. It reads settings.ini and the type files and writes none of them.
#pragma once

#include <string>
#include <vector>

#include "capture/GridSource.h"
#include "console/ConsoleWindows.h"
#include "ini/FileSystem.h"
#include "ini/Storage.h"
#include "settings/Settings.h"

namespace zav {

class IConsoleStreams {
public:
    virtual ~IConsoleStreams() = default;
    // The standard output: text goes out in UTF-8.
    virtual ITextWriter& output() = 0;
    // One line on the standard error.
    virtual void error(const std::wstring& line) = 0;
    // Whether a progress line is worth writing (the standard error is a console).
    virtual bool showsProgress() = 0;
    // Puts the progress line in place of the last one; an empty text clears it.
    virtual void progress(const std::wstring& text) = 0;
    // Whether Ctrl+C or Ctrl+Break (or the console's closing) asked the program to stop.
    virtual bool stopRequested() = 0;
};

struct ConsoleServices {
    const Storage& storage;
    Settings settings;
    IWindowList& windows;
    IGridSourceFactory& grids;
    IConsoleStreams& streams;
    std::wstring program;  // the program's name in messages ("ZAVExportCmd64")
    int wordSize;          // of this program: 32 or 64
};

// The settings of settings.ini beside the program, read and never written; without that file,
// the defaults the resident program would write on its first start.
Settings consoleSettings(const Storage& storage);

// Carries out the command line (the arguments after the program's name); the exit code.
int runConsole(const std::vector<std::wstring>& args, ConsoleServices& services);

}  // namespace zav
