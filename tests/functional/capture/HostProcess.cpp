#include "HostProcess.h"

#include <cstdio>
#include <stdexcept>

#include "capture/win32/RemoteControl.h"
#include "capture/win32/SystemGridSources.h"

namespace zavtest {
namespace {

constexpr DWORD kStartTimeoutMs = 120000;

// The list-view host's info file: "LIST PID LEFT TOP RIGHT BOTTOM TOPLEVEL".
bool readInfo(const std::string& path, HWND& list, RECT& rc, HWND& top) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    unsigned long l = 0, p = 0, t = 0;
    const int n = std::fscanf(f, "%lu %lu %ld %ld %ld %ld %lu", &l, &p, &rc.left, &rc.top, &rc.right, &rc.bottom, &t);
    std::fclose(f);
    list = reinterpret_cast<HWND>(static_cast<UINT_PTR>(l));
    top = reinterpret_cast<HWND>(static_cast<UINT_PTR>(t));
    return n == 7;
}

// The visible top-level window of `windowClass` of `pid` (one of an earlier host may be going away).
HWND shownWindowOf(DWORD pid, const wchar_t* windowClass) {
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, windowClass, nullptr));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

}  // namespace

std::string environment(const char* name) {
    char value[1024] = {};
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

std::string windowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string s = "Z:" + path;
    for (char& c : s)
        if (c == '/') c = '\\';
    return s;
}

std::string hostProgram() {
    const std::string chosen = environment("ZAV_LVHOST");
    if (!chosen.empty()) return windowsPath(chosen);
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string self(path);
    return self.substr(0, self.find_last_of("\\/") + 1) + "zav_lvhost.exe";
}

std::string siblingHostProgram(const std::string& name, const std::string& besides) {
    const std::string next = besides.empty() ? hostProgram() : windowsPath(besides);
    return next.substr(0, next.find_last_of("\\/") + 1) + name;
}

int programWordSize(const std::string& program) {
    // The machine field of the PE header: 0x014C i386, 0x8664 x86-64.
    FILE* f = std::fopen(program.c_str(), "rb");
    if (!f) return 0;
    unsigned char dos[64] = {}, pe[6] = {};
    int bits = 0;
    if (std::fread(dos, 1, sizeof dos, f) == sizeof dos &&
        std::fseek(f, dos[60] | (dos[61] << 8) | (dos[62] << 16) | (static_cast<long>(dos[63]) << 24), SEEK_SET) == 0 &&
        std::fread(pe, 1, sizeof pe, f) == sizeof pe && pe[0] == 'P' && pe[1] == 'E') {
        const unsigned machine = pe[4] | (pe[5] << 8);
        bits = machine == 0x8664 ? 64 : machine == 0x014C ? 32 : 0;
    }
    std::fclose(f);
    return bits;
}

void HostProcess::start(const std::string& command, DWORD flags) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    std::string line = command;
    DWORD error = 0;
    // Under a busy wineserver a start is at times refused for a moment: two more tries.
    for (int attempt = 0; attempt < 3; ++attempt, Sleep(300)) {
        if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, flags, nullptr, nullptr, &si, &pi_)) return;
        error = GetLastError();
    }
    fail("cannot start " + command + " (error " + std::to_string(error) + ")");
}

void HostProcess::fail(const std::string& why) {
    cleanUp();
    throw std::runtime_error(why);
}

HostProcess::HostProcess(const std::string& description, DWORD startTimeoutMs, const std::string& program) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    static LONG counter = 0;
    folder_ = std::string(temp) + "zav-lvhost-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(InterlockedIncrement(&counter)) + "\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
    const std::string descPath = folder_ + "host.txt", infoPath = folder_ + "host.info";
    FILE* f = std::fopen(descPath.c_str(), "wb");
    if (!f) fail("cannot write " + descPath);
    std::fwrite(description.data(), 1, description.size(), f);
    std::fclose(f);
    start("\"" + (program.empty() ? hostProgram() : windowsPath(program)) + "\" \"" + descPath + "\" \"" + infoPath + "\"",
          CREATE_NO_WINDOW);
    for (const DWORD begun = GetTickCount(); !readInfo(infoPath, list_, rect_, top_); Sleep(20)) {
        DWORD code = STILL_ACTIVE;
        if (GetExitCodeProcess(pi_.hProcess, &code) && code != STILL_ACTIVE)
            fail("the list-view host ended with " + std::to_string(code));
        if (GetTickCount() - begun > startTimeoutMs) fail("the list-view host did not come up");
    }
}

HostProcess::HostProcess(const std::string& program, const std::string& arguments, const wchar_t* windowClass) {
    start("\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments), 0);
    for (const DWORD begun = GetTickCount(); !(top_ = shownWindowOf(pi_.dwProcessId, windowClass)); Sleep(50))
        if (GetTickCount() - begun > kStartTimeoutMs) fail(program + " did not come up");
    // The window shows before its controls are filled: idle in its message loop, the host is whole.
    WaitForInputIdle(pi_.hProcess, kStartTimeoutMs);
}

HostProcess::~HostProcess() { cleanUp(); }

void HostProcess::kill() {
    if (!pi_.hProcess) return;
    TerminateProcess(pi_.hProcess, 9);
    WaitForSingleObject(pi_.hProcess, 10000);
}

void HostProcess::hang() {
    // The host sleeps once it takes the posted message from its queue; until then it still answers
    // sent messages (they come before posted ones), so wait until one goes unanswered.
    PostMessageW(top_, WM_APP, 0, 0);
    DWORD_PTR r = 0;
    for (int i = 0; i < 100; ++i)
        if (!SendMessageTimeoutW(top_, WM_NULL, 0, 0, SMTO_NORMAL, 100, &r)) return;
    throw std::runtime_error("the host did not stop answering");
}

void HostProcess::cleanUp() {
    if (pi_.hProcess) {
        // Killed rather than closed: closing a shown window under Wine without a window manager
        // waits two seconds for the window to be withdrawn, on every test.
        kill();
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
        pi_ = {};
    }
    if (!folder_.empty()) {
        for (const char* file : {"host.txt", "host.info", "host.info.tmp"}) DeleteFileA((folder_ + file).c_str());
        RemoveDirectoryA(folder_.c_str());
        folder_.clear();
    }
}

ControlRead readControl(HWND control, DWORD timeoutMs, bool readCells) {
    zav::CaptureOptions options;
    options.timeoutMs = timeoutMs;
    ControlRead r;
    const auto window = reinterpret_cast<zav::WindowHandle>(control);
    r.capture = zav::makeSystemGridSourceFactory(options)->openGridSource(zav::gridTargetOf(window));
    r.info.hWnd = window;
    r.ok = r.capture->readListViewInfo(r.info) != zav::vbFalse;
    if (r.ok && readCells) r.ok = r.capture->readCells(1, r.info.lItemCount, r.info.lColumnCount, r.cells);
    return r;
}

}  // namespace zavtest
