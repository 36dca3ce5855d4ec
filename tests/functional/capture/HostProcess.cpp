#include "HostProcess.h"

#include <cstdio>
#include <stdexcept>

namespace zavtest {
namespace {

void writeFile(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

bool readInfo(const std::string& path, HWND& list, DWORD& pid, RECT& rc, HWND& top) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    unsigned long l = 0, p = 0, t = 0;
    long left = 0, tp = 0, right = 0, bottom = 0;
    int n = std::fscanf(f, "%lu %lu %ld %ld %ld %ld %lu", &l, &p, &left, &tp, &right, &bottom, &t);
    std::fclose(f);
    if (n != 7) return false;
    list = reinterpret_cast<HWND>(static_cast<UINT_PTR>(l));
    top = reinterpret_cast<HWND>(static_cast<UINT_PTR>(t));
    pid = p;
    rc = RECT{left, tp, right, bottom};
    return true;
}

}  // namespace

std::string programFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.find_last_of("\\/") + 1);
}

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
    return chosen.empty() ? programFolder() + "zav_lvhost.exe" : windowsPath(chosen);
}

int programWordSize(const std::string& program) {
    // The machine field of the PE header: 0x014C i386, 0x8664 x86-64.
    FILE* f = std::fopen(program.c_str(), "rb");
    if (!f) return 0;
    unsigned char dos[64] = {}, pe[6] = {};
    int bits = 0;
    if (std::fread(dos, 1, sizeof dos, f) == sizeof dos) {
        const long offset = dos[60] | (dos[61] << 8) | (dos[62] << 16) | (static_cast<long>(dos[63]) << 24);
        if (std::fseek(f, offset, SEEK_SET) == 0 && std::fread(pe, 1, sizeof pe, f) == sizeof pe &&
            pe[0] == 'P' && pe[1] == 'E') {
            const unsigned machine = pe[4] | (pe[5] << 8);
            bits = machine == 0x8664 ? 64 : machine == 0x014C ? 32 : 0;
        }
    }
    std::fclose(f);
    return bits;
}

int hostWordSize() { return programWordSize(hostProgram()); }

HostProcess::HostProcess(const std::string& description, DWORD startTimeoutMs, const std::string& program) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    static LONG counter = 0;
    folder_ = std::string(temp) + "zav-lvhost-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(InterlockedIncrement(&counter)) + "\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
    const std::string descPath = folder_ + "host.txt";
    const std::string infoPath = folder_ + "host.info";
    writeFile(descPath, description);

    std::string command = "\"" + (program.empty() ? hostProgram() : windowsPath(program)) + "\" \"" + descPath + "\" \"" + infoPath + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    // Under a busy wineserver a start is at times refused for a moment: two more tries.
    bool started = false;
    DWORD error = 0;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        if (attempt > 0) Sleep(300);
        started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                                 &si, &pi_) != FALSE;
        if (!started) error = GetLastError();
    }
    if (!started) {
        cleanUp();
        throw std::runtime_error("cannot start " + command + " (error " + std::to_string(error) + ")");
    }
    const DWORD start = GetTickCount();
    for (;;) {
        if (readInfo(infoPath, list_, pid_, rect_, top_)) break;
        if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(pi_.hProcess, &code);
            cleanUp();
            throw std::runtime_error("the list-view host ended with " + std::to_string(code));
        }
        if (GetTickCount() - start > startTimeoutMs) {
            cleanUp();
            throw std::runtime_error("the list-view host did not come up");
        }
        Sleep(20);
    }
}

HostProcess::~HostProcess() { cleanUp(); }

bool HostProcess::running() const {
    return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

void HostProcess::kill() {
    if (!pi_.hProcess) return;
    TerminateProcess(pi_.hProcess, 9);
    WaitForSingleObject(pi_.hProcess, 10000);
}

bool HostProcess::close(DWORD timeoutMs) {
    if (!pi_.hProcess) return true;
    PostMessageA(top_, WM_CLOSE, 0, 0);
    return WaitForSingleObject(pi_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

void HostProcess::hang() {
    DWORD_PTR r = 0;
    SendMessageTimeoutA(top_, WM_APP + 1, 0, 0, SMTO_NORMAL, 5000, &r);
}

void HostProcess::cleanUp() {
    if (pi_.hProcess) {
        // Killed rather than closed: closing a shown window under Wine without a window manager
        // waits two seconds for the window to be withdrawn, on every test.
        if (running()) kill();
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
        pi_ = {};
    }
    if (!folder_.empty()) {
        DeleteFileA((folder_ + "host.txt").c_str());
        DeleteFileA((folder_ + "host.info").c_str());
        DeleteFileA((folder_ + "host.info.tmp").c_str());
        RemoveDirectoryA(folder_.c_str());
        folder_.clear();
    }
}

}  // namespace zavtest
