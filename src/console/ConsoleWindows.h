// The windows the console program picks from: each top-level window with the controls inside it
// that can be read as a grid, as the system lists them, and the choice of one control by the
// command line's criteria. Nothing is guessed: the choice is one control, or none, or several,
// and the caller says which.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "capture/GridSource.h"
#include "console/ConsoleCommand.h"

namespace zav {

struct ControlEntry {
    WindowHandle handle = 0;
    std::wstring className;
    ControlKind kind = ControlKind::None;
    std::int32_t id = 0;     // its control ID
    std::int32_t index = 0;  // 1-based, among the window's controls of its kind
};

struct WindowEntry {
    WindowHandle handle = 0;
    std::wstring title;
    std::wstring className;
    std::uint32_t processId = 0;
    std::wstring processName;  // the program file's name ("taskmgr.exe"); empty when unknown
    int wordSize = 0;          // 32 or 64; 0 when it cannot be told
    std::vector<ControlEntry> controls;  // the readable ones, in the system's order
};

// The top-level windows of the desktop, in the system's order (topmost first), each with its
// readable controls.
class IWindowList {
public:
    virtual ~IWindowList() = default;
    virtual std::vector<WindowEntry> topLevelWindows() = 0;
};

// Fills in each control's index among the window's controls of its kind.
void numberControls(WindowEntry& window);

bool windowMatches(const WindowEntry& window, const WindowCriteria& criteria);

struct ControlChoice {
    const WindowEntry* window;
    const ControlEntry* control;
};

// The controls of the matching windows that the criteria leave. --index counts within one window,
// among the controls the other control criteria leave.
std::vector<ControlChoice> matchingControls(const std::vector<WindowEntry>& windows, const WindowCriteria& window,
                                            const ControlCriteria& control);

// A handle as messages and listings show it ("0x0001002A").
std::wstring handleText(WindowHandle handle);
// A text on one line: line breaks and tabs become blanks.
std::wstring oneLine(const std::wstring& text);
// How a message names a control: 'the list view 0x00010042 (id 3) of "Title" (app.exe 1234)'.
std::wstring nameControl(const WindowEntry& window, const ControlEntry& control);
// The fields list shows of a control before its header is read: process, process ID, word size,
// window handle, title, control handle, class, kind, index, control ID (tab-separated).
std::wstring controlFields(const WindowEntry& window, const ControlEntry& control);

}  // namespace zav
