#include "TestSupport.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <ftw.h>
#endif

#include "text/Ansi.h"

namespace zavtest {

std::string shown(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (c >= 0x20 && c < 0x7F) out += static_cast<char>(c);
        else out += "\\x" + std::to_string(static_cast<unsigned>(c));
    }
    return "'" + out + "'";
}

std::string osPath(const std::wstring& path) {
    std::string p = zav::toAnsi(path);
#ifndef _WIN32
    for (auto& c : p)
        if (c == '\\') c = '/';
#endif
    return p;
}

#ifdef _WIN32
namespace {
void removeTree(const std::string& dir) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            std::string full = dir + "\\" + name;
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(full);
            else
                DeleteFileA(full.c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
}
}  // namespace

TempDir::TempDir() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        std::string candidate = std::string(base) + "zav-" + std::to_string(GetCurrentProcessId()) + "-" +
                                std::to_string(++counter);
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            path_ = zav::fromAnsi(candidate);
            break;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("TempDir: cannot create");
    }
}

TempDir::~TempDir() { removeTree(osPath(path_)); }

bool pathExists(const std::wstring& path) {
    return GetFileAttributesA(osPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void setReadOnly(const std::wstring& path, bool readOnly) {
    DWORD a = GetFileAttributesA(osPath(path).c_str());
    if (a == INVALID_FILE_ATTRIBUTES) throw std::runtime_error("setReadOnly: no such file");
    a = readOnly ? (a | FILE_ATTRIBUTE_READONLY) : (a & ~FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA(osPath(path).c_str(), a == 0 ? FILE_ATTRIBUTE_NORMAL : a);
}
#else
TempDir::TempDir() {
    char templ[] = "/tmp/zav-XXXXXX";
    if (!mkdtemp(templ)) throw std::runtime_error("TempDir: mkdtemp failed");
    path_ = zav::fromAnsi(templ);
}

TempDir::~TempDir() {
    nftw(
        osPath(path_).c_str(),
        [](const char* p, const struct stat*, int, struct FTW*) { return ::remove(p); }, 16,
        FTW_DEPTH | FTW_PHYS);
}

bool pathExists(const std::wstring& path) {
    struct stat st;
    return ::stat(osPath(path).c_str(), &st) == 0;
}

void setReadOnly(const std::wstring& path, bool readOnly) {
    if (::chmod(osPath(path).c_str(), readOnly ? 0444 : 0644) != 0)
        throw std::runtime_error("setReadOnly: chmod failed");
}
#endif

void writeBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(osPath(path), std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("writeBytes: cannot open " + osPath(path));
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readBytes(const std::wstring& path) {
    std::ifstream in(osPath(path), std::ios::binary);
    if (!in) return {};
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace zavtest
