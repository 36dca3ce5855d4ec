// Starting the list-view host (zav_lvhost.exe, beside the running program) as a second process,
// and ending it again: the destructor kills a host that is still running,
// so a failing test leaves no process behind.
#pragma once

#include <windows.h>

#include <string>

namespace zavtest {

class HostProcess {
public:
    // `description`: the host's description file, as bytes of the ANSI code page; `program`: the
    // host program, hostProgram() when empty. Throws std::runtime_error when the host cannot be
    // started or does not come up in time.
    explicit HostProcess(const std::string& description, DWORD startTimeoutMs = 120000,
                         const std::string& program = std::string());
    ~HostProcess();
    HostProcess(const HostProcess&) = delete;
    HostProcess& operator=(const HostProcess&) = delete;

    HWND list() const { return list_; }
    HWND topLevel() const { return top_; }
    DWORD processId() const { return pid_; }
    const RECT& listRect() const { return rect_; }
    HANDLE process() const { return pi_.hProcess; }

    // Ends the host at once (TerminateProcess) and waits until it is gone.
    void kill();
    // Asks the host to end (WM_CLOSE to its top-level window); true when it ended in time.
    bool close(DWORD timeoutMs = 10000);
    // Makes the host stop answering messages from now on.
    void hang();
    bool running() const;

private:
    void cleanUp();
    PROCESS_INFORMATION pi_ = {};
    std::string folder_;
    HWND list_ = nullptr;
    HWND top_ = nullptr;
    DWORD pid_ = 0;
    RECT rect_ = {};
};

// Folder of the running program, with a trailing backslash.
std::string programFolder();

// The host program that HostProcess starts: the one named by the environment variable
// ZAV_LVHOST (a Windows path, or a path of the Linux file system under Wine), else zav_lvhost.exe
// beside the running program, which has this program's word size.
std::string hostProgram();
// A Windows path for a path that may be one of the Linux file system under Wine ("/a/b" is
// "Z:\a\b"); other paths are returned as they are.
std::string windowsPath(const std::string& path);
// The value of an environment variable, empty when it is not set.
std::string environment(const char* name);
// The word size (32 or 64) of a Windows program file, read from its header; 0 when it is none.
int programWordSize(const std::string& program);
// The word size of the host program that HostProcess starts.
int hostWordSize();

}  // namespace zavtest
