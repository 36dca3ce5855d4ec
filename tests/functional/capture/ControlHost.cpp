#include "ControlHost.h"

#include <stdexcept>

#include "HostProcess.h"
#include "capture/win32/RemoteControl.h"
#include "capture/win32/SystemGridSources.h"

namespace zavtest {

std::string siblingHostProgram(const std::string& name, const std::string& besides) {
    const std::string next = besides.empty() ? hostProgram() : besides;
    const std::size_t slash = next.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : next.substr(0, slash + 1)) + name;
}

ControlHost::ControlHost(const std::string& program, const wchar_t* windowClass, const wchar_t* title,
                         const std::string& arguments, DWORD startTimeoutMs) {
    std::string command = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_))
        throw std::runtime_error(program + " did not start");
    // Its own window, shown: one of an earlier host may still be going away.
    const DWORD start = GetTickCount();
    while (!top_ && GetTickCount() - start < startTimeoutMs) {
        for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, windowClass, title));) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == pi_.dwProcessId && IsWindowVisible(w)) top_ = w;
        }
        if (!top_) Sleep(50);
    }
    // The window shows before the host has made and filled its controls: wait until it is idle in
    // its message loop, so that a test never reads a half-made host.
    if (top_) WaitForInputIdle(pi_.hProcess, startTimeoutMs);
    if (!top_) {
        kill();
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
        throw std::runtime_error(program + " did not come up");
    }
}

ControlHost::~ControlHost() {
    kill();
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
}

void ControlHost::kill() {
    TerminateProcess(pi_.hProcess, 1);
    WaitForSingleObject(pi_.hProcess, 10000);
}

void ControlHost::hang() {
    // The host sleeps once it takes the posted message from its queue; until then it still
    // answers sent messages (they come before posted ones), so wait until one goes unanswered.
    PostMessageW(top_, WM_APP, 0, 0);
    DWORD_PTR r = 0;
    for (int i = 0; i < 100; ++i)
        if (!SendMessageTimeoutW(top_, WM_NULL, 0, 0, SMTO_NORMAL, 100, &r)) return;
    throw std::runtime_error("the host did not stop answering");
}

ControlRead readControl(HWND control, DWORD timeoutMs) {
    zav::CaptureOptions options;
    options.timeoutMs = timeoutMs;
    ControlRead r;
    r.capture = zav::makeSystemGridSourceFactory(options)->openGridSource(zav::gridTargetOf(reinterpret_cast<zav::WindowHandle>(control)));
    r.info.hWnd = reinterpret_cast<zav::WindowHandle>(control);
    r.ok = r.capture->readListViewInfo(r.info) != zav::vbFalse;
    if (r.ok) r.ok = r.capture->readCells(1, r.info.lItemCount, r.info.lColumnCount, r.cells);
    return r;
}

}  // namespace zavtest
