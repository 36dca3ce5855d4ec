// The host programs of the capture tests as second processes: the list-view host (zav_lvhost.exe,
// told what to show by a description file) and the hosts of single controls (zav_lbhost.exe,
// zav_tvhost.exe). The destructor kills a host that is still running, so a failing test leaves no
// process behind.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "capture/GridSource.h"

namespace zavtest {

class HostProcess {
public:
    // The list-view host showing `description` (bytes of the ANSI code page); `program`: the host
    // program, hostProgram() when empty. Throws std::runtime_error when the host cannot be started
    // or does not come up in time.
    explicit HostProcess(const std::string& description, DWORD startTimeoutMs = 120000,
                         const std::string& program = std::string());
    // A host of single controls: `program` with `arguments`, ready once its visible top-level
    // window of `windowClass` is idle.
    HostProcess(const std::string& program, const std::string& arguments, const wchar_t* windowClass);
    ~HostProcess();
    HostProcess(const HostProcess&) = delete;
    HostProcess& operator=(const HostProcess&) = delete;

    HWND list() const { return list_; }
    HWND control(int id) const { return GetDlgItem(top_, id); }
    HWND topLevel() const { return top_; }
    DWORD processId() const { return pi_.dwProcessId; }
    const RECT& listRect() const { return rect_; }
    HANDLE process() const { return pi_.hProcess; }

    // Ends the host at once (TerminateProcess) and waits until it is gone.
    void kill();
    // Asks the host to end (WM_CLOSE to its top-level window); true when it ended in time.
    bool close(DWORD timeoutMs = 10000);
    // Makes the host stop answering; returns once a message to it has gone unanswered.
    void hang();
    bool running() const;

private:
    void start(const std::string& command, DWORD flags);
    void fail(const std::string& why);
    void cleanUp();
    PROCESS_INFORMATION pi_ = {};
    std::string folder_;
    HWND list_ = nullptr;
    HWND top_ = nullptr;
    RECT rect_ = {};
    UINT hangMessage_ = WM_APP;
};

// Folder of the running program, with a trailing backslash.
std::string programFolder();
// The list-view host: the one named by the environment variable ZAV_LVHOST (a Windows path, or a
// path of the Linux file system under Wine), else zav_lvhost.exe beside the running program.
std::string hostProgram();
// A host program `name` beside the list-view host (or beside `besides`), so that the runs against
// a host of the other word size read controls of that word size too.
std::string siblingHostProgram(const std::string& name, const std::string& besides = std::string());
// A Windows path for a path that may be one of the Linux file system under Wine ("/a/b" is
// "Z:\a\b"); other paths are returned as they are.
std::string windowsPath(const std::string& path);
// The value of an environment variable, empty when it is not set.
std::string environment(const char* name);
// The word size (32 or 64) of a Windows program file, read from its header; 0 when it is none.
int programWordSize(const std::string& program);
inline int hostWordSize() { return programWordSize(hostProgram()); }

// A control read whole through the system capture.
struct ControlRead {
    std::unique_ptr<zav::IGridSource> capture;
    zav::ListViewInfo info;
    bool ok = false;
    std::vector<std::wstring> cells;  // row after row
};
ControlRead readControl(HWND control, DWORD timeoutMs = 4000, bool readCells = true);

}  // namespace zavtest
