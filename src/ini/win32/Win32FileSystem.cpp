#include <windows.h>

#include "core/win32/Handles.h"
#include "core/win32/Win32Error.h"
#include "ini/BufferedTextWriter.h"

namespace zav {
namespace {

DWORD attributes(const std::wstring& path) { return GetFileAttributesW(path.c_str()); }

// A read-only file is never overwritten or replaced. Tested here rather than left to the system,
// because some file systems (and Wine run by root) let the write through.
void refuseReadOnly(const std::wstring& path, const std::wstring& operation) {
    DWORD a = attributes(path);
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0 && (a & FILE_ATTRIBUTE_READONLY))
        throwWin32Error(ERROR_ACCESS_DENIED, operation + L" " + path + L" (read-only)");
}

// The calls FileTextWriter and writeAll make on a file handle.
struct Win32File {
    using File = UniqueHandle;

    static UniqueHandle openForWriting(const std::wstring& path) {
        refuseReadOnly(path, L"OpenTextFile");
        UniqueHandle f(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!f) throwLastError(L"OpenTextFile ", path);
        return f;
    }

    static void writeFully(UniqueHandle& f, const char* data, std::size_t length, const std::wstring& what) {
        while (length > 0) {
            DWORD written = 0;
            DWORD chunk = static_cast<DWORD>(length > 0x100000 ? 0x100000 : length);
            if (!WriteFile(f.get(), data, chunk, &written, nullptr)) throwLastError(what);
            if (written == 0) throwWin32Error(ERROR_WRITE_FAULT, what);
            data += written;
            length -= written;
        }
    }

    // Closes now, raising when the system reports a failure (a delayed write error).
    static void closeNow(UniqueHandle& f, const std::wstring& what) {
        if (f && !CloseHandle(f.release())) throwLastError(what);
    }
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
        if (!CreateDirectoryW(path.c_str(), nullptr)) throwLastError(L"CreateFolder ", path);
    }

    void createTextFile(const std::wstring& path) override {
        refuseReadOnly(path, L"CreateTextFile");
        UniqueHandle f(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!f) throwLastError(L"CreateTextFile ", path);
        Win32File::closeNow(f, L"CreateTextFile " + path);
    }

    void deleteFile(const std::wstring& path, bool force) override {
        const wchar_t* p = path.c_str();
        DWORD a = GetFileAttributesW(p);
        if (a == INVALID_FILE_ATTRIBUTES) throwLastError(L"DeleteFile ", path);
        if (a & FILE_ATTRIBUTE_READONLY) {
            if (!force) throwWin32Error(ERROR_ACCESS_DENIED, L"DeleteFile " + path + L" (read-only)");
            SetFileAttributesW(p, a & ~FILE_ATTRIBUTE_READONLY);
        }
        if (!DeleteFileW(p)) throwLastError(L"DeleteFile ", path);
    }

    void moveFile(const std::wstring& from, const std::wstring& to) override {
        if (!MoveFileW(from.c_str(), to.c_str()))
            throwLastError(L"MoveFile ", from, L" to ", to);
    }

    void replaceFile(const std::wstring& from, const std::wstring& to) override {
        refuseReadOnly(to, L"MoveFile " + from + L" to");
        if (!MoveFileExW(from.c_str(), to.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            throwLastError(L"MoveFile ", from, L" to ", to);
    }

    std::vector<FolderEntry> listFiles(const std::wstring& folder) override {
        if (!folderExists(folder)) throwWin32Error(ERROR_PATH_NOT_FOUND, L"GetFolder " + folder);
        std::wstring prefix = folder;
        if (prefix.empty() || prefix.back() != L'\\') prefix += L'\\';
        std::vector<FolderEntry> entries;
        WIN32_FIND_DATAW data;
        UniqueFindHandle find(FindFirstFileW((prefix + L"*").c_str(), &data));
        if (!find) {
            const DWORD code = GetLastError();
            if (code == ERROR_FILE_NOT_FOUND || code == ERROR_NO_MORE_FILES) return entries;
            throwWin32Error(code, L"GetFolder " + folder);
        }
        for (;;) {
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                std::wstring name = data.cFileName;
                entries.push_back({prefix + name, isConfigSettingsName(name)});
            }
            if (!FindNextFileW(find.get(), &data)) {
                const DWORD code = GetLastError();
                if (code != ERROR_NO_MORE_FILES) throwWin32Error(code, L"GetFolder " + folder);
                break;
            }
        }
        return entries;
    }

    std::unique_ptr<ITextWriter> openTextWriter(const std::wstring& path) override {
        return std::make_unique<FileTextWriter<Win32File>>(path);
    }

    std::string readAll(const std::wstring& path) override {
        UniqueHandle f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!f) throwLastError(L"Open ", path);
        std::string bytes;
        char block[65536];
        for (;;) {
            DWORD got = 0;
            if (!ReadFile(f.get(), block, sizeof block, &got, nullptr)) throwLastError(L"Read ", path);
            if (got == 0) break;
            bytes.append(block, got);
        }
        return bytes;
    }

    void writeAll(const std::wstring& path, const std::string& bytes) override {
        UniqueHandle f = Win32File::openForWriting(path);
        Win32File::writeFully(f, bytes.data(), bytes.size(), L"Write " + path);
        Win32File::closeNow(f, L"Close " + path);
    }

    bool isReadOnly(const std::wstring& path) override {
        DWORD a = attributes(path);
        return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0 && (a & FILE_ATTRIBUTE_READONLY);
    }
};

}  // namespace

std::unique_ptr<IFileSystem> makeSystemFileSystem() { return std::make_unique<Win32FileSystem>(); }

}  // namespace zav
