// The hosts of single controls (zav_lbhost.exe, zav_tvhost.exe) for the capture tests: started
// for one test, killed at its end, and read through the system capture.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "capture/GridSource.h"

namespace zavtest {

// A host program beside the list-view host that HostProcess starts (or beside `besides`), so that
// the runs against a host of the other word size read controls of that word size too.
std::string siblingHostProgram(const std::string& name, const std::string& besides = std::string());

class ControlHost {
public:
    // Starts `program` with `arguments` and waits for its top-level window of that class and
    // title. Throws std::runtime_error when it does not come up.
    ControlHost(const std::string& program, const wchar_t* windowClass, const wchar_t* title,
                const std::string& arguments = std::string(), DWORD startTimeoutMs = 120000);
    ~ControlHost();
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

    HWND control(int id) const { return GetDlgItem(top_, id); }
    DWORD processId() const { return pi_.dwProcessId; }
    void kill();
    // The host stops answering; returns once a message to it has gone unanswered.
    void hang();

private:
    PROCESS_INFORMATION pi_ = {};
    HWND top_ = nullptr;
};

// A control read whole through the system capture.
struct ControlRead {
    std::unique_ptr<zav::IGridSource> capture;
    zav::ListViewInfo info;
    bool ok = false;
    std::vector<std::wstring> cells;  // row after row
};
ControlRead readControl(HWND control, DWORD timeoutMs = 4000);

}  // namespace zavtest
