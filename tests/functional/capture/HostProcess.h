// The capture tests' host programs as second processes: the list-view host (zav_lvhost.exe, told
// what to show by a description file) and the host of single controls (zav_ctlhost.exe). A host
// still running when its HostProcess goes is killed: no test leaves one.
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
    // program, hostProgram() when empty. Throws std::runtime_error when it does not come up in time.
    explicit HostProcess(const std::string& description, DWORD startTimeoutMs = 120000,
                         const std::string& program = std::string());
    // `program` with `arguments`, ready once its visible top-level window of `windowClass` is idle.
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
    void kill();  // TerminateProcess, and waits until it is gone
    void hang();  // returns once a message to the host has gone unanswered

private:
    void start(const std::string& command, DWORD flags);
    [[noreturn]] void fail(const std::string& why);
    void cleanUp();
    PROCESS_INFORMATION pi_ = {};
    std::string folder_;
    HWND list_ = nullptr;
    HWND top_ = nullptr;
    RECT rect_ = {};
};

// The list-view host: ZAV_LVHOST (a Windows path, or a Linux one under Wine), else zav_lvhost.exe
// beside the running program.
std::string hostProgram();
// A host program `name` beside the list-view host (or beside `besides`): the runs against a host
// of the other word size read controls of that word size too.
std::string siblingHostProgram(const std::string& name, const std::string& besides = std::string());
std::string windowsPath(const std::string& path);  // "/a/b" is "Z:\a\b"; others as they are
std::string environment(const char* name);          // empty when not set
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
