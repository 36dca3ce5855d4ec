// The console program's command line: what it is asked to do (list the readable controls, or
// export one), which window and control, and how the grid is written. Parsed here, checked whole
// before anything is read: a command line that cannot be carried out as written is refused with
// its reason, and nothing is guessed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "capture/GridSource.h"
#include "core/Types.h"
#include "exporttype/ExportType.h"

namespace zav {

// The exit codes scripts test.
enum ConsoleExit : int {
    kExitExported = 0,
    kExitFailed = 1,      // an unforeseen failure (the message says what)
    kExitArguments = 2,   // the command line is wrong
    kExitNoMatch = 3,     // no window or control matched, or more than one
    kExitUnreadable = 4,  // the control cannot be read
    kExitTargetLost = 5,  // its program stopped answering or ended during the read
    kExitFile = 6,        // the file (or the standard output) could not be written
    kExitStopped = 7,     // stopped by Ctrl+C or Ctrl+Break
};

enum class ConsoleVerb { Help, Version, List, Export };

// Which top-level windows: every criterion given must hold.
struct WindowCriteria {
    std::wstring title;          // --window: part of the title, in any letter case
    std::wstring processName;    // --process NAME: the program file's name, ".exe" optional
    std::uint32_t processId = 0; // --process PID
    std::wstring className;      // --class: the window's class, in any letter case
    WindowHandle handle = 0;     // --handle: the window, or a control inside it
    bool any() const { return !title.empty() || !processName.empty() || processId || !className.empty() || handle; }
};

// Which control of a window.
struct ControlCriteria {
    ControlKind kind = ControlKind::None;  // --kind; None: any kind
    std::optional<std::int32_t> id;        // --id
    std::int32_t index = 0;                // --index: the Nth (1-based) of the controls the others leave
};

struct ConsoleCommand {
    ConsoleVerb verb = ConsoleVerb::Help;
    WindowCriteria window;
    ControlCriteria control;
    bool json = false;   // list: one JSON array
    bool quiet = false;  // export: no progress line
    // export: a saved export type, or the settings below.
    std::wstring typeName;
    ExportFormat format = ExportFormat::Csv;
    bool indexOrder = false;
    bool selectedRows = false;
    bool checkedColumn = false;
    wchar_t delimiter = L',';
    bool ansi = false;
    bool formulaSafety = true;
    std::wstring output;  // --out; empty: the standard output
};

// Reads the arguments that follow the program's name into `command`. Empty when they make a
// command; else why not, in one line naming the argument.
std::wstring parseConsoleCommand(const std::vector<std::wstring>& args, ConsoleCommand& command);

// The --help text (the program's name in its examples).
std::wstring consoleHelp(const std::wstring& program);

// The kind's name on the command line ("listview"); empty for None.
std::wstring kindArgument(ControlKind kind);

}  // namespace zav
