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
#include "text/Utf8.h"

namespace zavtest {

std::string shown(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (c >= 0x20 && c < 0x7F) out += static_cast<char>(c);
        else out += "\\x" + std::to_string(static_cast<unsigned>(c));
    }
    return "'" + out + "'";
}

#ifdef _WIN32
namespace {
void removeTree(const std::wstring& dir) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring full = dir + L"\\" + name;
            SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(full);
            else
                DeleteFileW(full.c_str());
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(dir.c_str());
}
}  // namespace

TempDir::TempDir() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        std::wstring candidate = std::wstring(base) + L"zav-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(++counter);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = candidate;
            break;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("TempDir: cannot create");
    }
}

TempDir::~TempDir() { removeTree(path_); }

bool pathExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void setReadOnly(const std::wstring& path, bool readOnly) {
    DWORD a = GetFileAttributesW(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) throw std::runtime_error("setReadOnly: no such file");
    a = readOnly ? (a | FILE_ATTRIBUTE_READONLY) : (a & ~FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW(path.c_str(), a == 0 ? FILE_ATTRIBUTE_NORMAL : a);
}

void writeBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("writeBytes: cannot open " + shown(path));
    DWORD written = 0;
    BOOL ok = bytes.empty() || WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    if (!ok || written != bytes.size()) throw std::runtime_error("writeBytes: cannot write " + shown(path));
}

std::string readBytes(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char block[65536];
    DWORD got = 0;
    while (ReadFile(h, block, sizeof block, &got, nullptr) && got > 0) bytes.append(block, got);
    CloseHandle(h);
    return bytes;
}
#else
namespace {
// The native system's form of a path: "/" between folders, UTF-8 bytes.
std::string osPath(const std::wstring& path) {
    std::string p = zav::toUtf8(path);
    for (auto& c : p)
        if (c == '\\') c = '/';
    return p;
}
}  // namespace

TempDir::TempDir() {
    char templ[] = "/tmp/zav-XXXXXX";
    if (!mkdtemp(templ)) throw std::runtime_error("TempDir: mkdtemp failed");
    path_ = zav::fromUtf8(templ);
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
#endif

}  // namespace zavtest
