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

HostProcess::HostProcess(const std::string& description, DWORD startTimeoutMs) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    static LONG counter = 0;
    folder_ = std::string(temp) + "zav-lvhost-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(InterlockedIncrement(&counter)) + "\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
    const std::string descPath = folder_ + "host.txt";
    const std::string infoPath = folder_ + "host.info";
    writeFile(descPath, description);

    std::string command = "\"" + programFolder() + "zav_lvhost.exe\" \"" + descPath + "\" \"" + infoPath + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                        &pi_)) {
        cleanUp();
        throw std::runtime_error("cannot start " + command);
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
