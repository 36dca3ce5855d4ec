#include <windows.h>

#include "core/win32/Win32Error.h"
#include "ini/BufferedTextWriter.h"
#include "text/Ansi.h"

namespace zav {
namespace {

// Owns a file handle.
class FileHandle {
public:
    explicit FileHandle(HANDLE h) : h_(h) {}
    ~FileHandle() { reset(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    // Closes now; false when CloseHandle failed.
    bool reset() {
        bool ok = true;
        if (valid()) ok = CloseHandle(h_) != 0;
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE h_;
};

DWORD attributes(const std::wstring& path) { return GetFileAttributesA(toAnsi(path).c_str()); }

// A read-only file is never overwritten or replaced. Tested here rather than left to the system,
// because some file systems (and Wine run by root) let the write through.
void refuseReadOnly(const std::wstring& path, const std::wstring& operation) {
    DWORD a = attributes(path);
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0 && (a & FILE_ATTRIBUTE_READONLY))
        throwWin32Error(ERROR_ACCESS_DENIED, operation + L" " + path + L" (read-only)");
}

class Win32TextWriter final : public BufferedTextWriter {
public:
    explicit Win32TextWriter(const std::wstring& path)
        : path_((refuseReadOnly(path, L"OpenTextFile"), path)),
          file_(CreateFileA(toAnsi(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {
        if (!file_.valid()) throwLastError(L"OpenTextFile " + path_);
    }
    ~Win32TextWriter() override { file_.reset(); }

protected:
    void writeBytes(const char* data, std::size_t length) override {
        while (length > 0) {
            DWORD written = 0;
            DWORD chunk = static_cast<DWORD>(length > 0x100000 ? 0x100000 : length);
            if (!WriteFile(file_.get(), data, chunk, &written, nullptr) || written == 0)
                throwLastError(L"Write " + path_);
            data += written;
            length -= written;
        }
    }
    void closeFile() override {
        if (!file_.reset()) throwLastError(L"Close " + path_);
    }

private:
    std::wstring path_;
    FileHandle file_;
};

class Win32FileSystem final : public IFileSystem {
public:
    bool fileExists(const std::wstring& path) override {
        DWORD a = attributes(path);
        return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }

    bool folderExists(const std::wstring& path) override {
        DWORD a = attributes(path);
        return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }

    void createFolder(const std::wstring& path) override {
        if (path.empty()) throwWin32Error(ERROR_INVALID_NAME, L"CreateFolder (empty folder name)");
        if (!CreateDirectoryA(toAnsi(path).c_str(), nullptr)) throwLastError(L"CreateFolder " + path);
    }

    void createTextFile(const std::wstring& path) override {
        refuseReadOnly(path, L"CreateTextFile");
        FileHandle f(CreateFileA(toAnsi(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!f.valid()) throwLastError(L"CreateTextFile " + path);
        if (!f.reset()) throwLastError(L"CreateTextFile " + path);
    }

    void deleteFile(const std::wstring& path, bool force) override {
        std::string p = toAnsi(path);
        DWORD a = GetFileAttributesA(p.c_str());
        if (a == INVALID_FILE_ATTRIBUTES) throwLastError(L"DeleteFile " + path);
        if (a & FILE_ATTRIBUTE_READONLY) {
            if (!force) throwWin32Error(ERROR_ACCESS_DENIED, L"DeleteFile " + path + L" (read-only)");
            SetFileAttributesA(p.c_str(), a & ~FILE_ATTRIBUTE_READONLY);
        }
        if (!DeleteFileA(p.c_str())) throwLastError(L"DeleteFile " + path);
    }

    void moveFile(const std::wstring& from, const std::wstring& to) override {
        if (!MoveFileA(toAnsi(from).c_str(), toAnsi(to).c_str()))
            throwLastError(L"MoveFile " + from + L" to " + to);
    }

    void replaceFile(const std::wstring& from, const std::wstring& to) override {
        refuseReadOnly(to, L"MoveFile " + from + L" to");
        if (!MoveFileExA(toAnsi(from).c_str(), toAnsi(to).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            throwLastError(L"MoveFile " + from + L" to " + to);
    }

    std::vector<FolderEntry> listFiles(const std::wstring& folder) override {
        if (!folderExists(folder)) throwWin32Error(ERROR_PATH_NOT_FOUND, L"GetFolder " + folder);
        std::wstring prefix = folder;
        if (prefix.empty() || prefix.back() != L'\\') prefix += L'\\';
        std::vector<FolderEntry> entries;
        WIN32_FIND_DATAA data;
        HANDLE h = FindFirstFileA(toAnsi(prefix + L"*").c_str(), &data);
        if (h == INVALID_HANDLE_VALUE) {
            DWORD code = GetLastError();
            if (code == ERROR_FILE_NOT_FOUND || code == ERROR_NO_MORE_FILES) return entries;
            throwWin32Error(code, L"GetFolder " + folder);
        }
        do {
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            std::wstring name = fromAnsi(data.cFileName);
            entries.push_back({prefix + name, isConfigSettingsName(name)});
        } while (FindNextFileA(h, &data));
        DWORD code = GetLastError();
        FindClose(h);
        if (code != ERROR_NO_MORE_FILES) throwWin32Error(code, L"GetFolder " + folder);
        return entries;
    }

    std::unique_ptr<ITextWriter> openTextWriter(const std::wstring& path) override {
        return std::make_unique<Win32TextWriter>(path);
    }

    std::string readAll(const std::wstring& path) override {
        FileHandle f(CreateFileA(toAnsi(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!f.valid()) throwLastError(L"Open " + path);
        std::string bytes;
        char block[65536];
        for (;;) {
            DWORD got = 0;
            if (!ReadFile(f.get(), block, sizeof block, &got, nullptr)) throwLastError(L"Read " + path);
            if (got == 0) break;
            bytes.append(block, got);
        }
        return bytes;
    }
};

}  // namespace

std::unique_ptr<IFileSystem> makeSystemFileSystem() { return std::make_unique<Win32FileSystem>(); }

}  // namespace zav
