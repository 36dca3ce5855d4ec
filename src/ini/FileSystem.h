// Whole-file services: existence tests, folders, empty files, deleting, renaming, listing a folder
// and writing a text file. One interface; Win32 calls in the Windows build, POSIX in the native one.
// Every failure raises zav::Error naming the operation and the path.
//
// Paths are the program's own: folders separated by "\". The POSIX implementation reads "\" as "/".
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zav {

struct FolderEntry {
    std::wstring path;         // full path: the folder as given, "\" and the file name
    bool configSettings;       // the file type that stands for an INI file (".ini" in any letter case)
};

// A text file being written: 8-bit text of the ANSI code page, buffered.
class ITextWriter {
public:
    virtual ~ITextWriter() = default;
    virtual void write(const std::wstring& text) = 0;
    virtual void writeLine(const std::wstring& text) = 0;  // text followed by CR LF
    virtual void close() = 0;                               // flushes; raises on failure
    // Bytes as they are, for files of another encoding than the ANSI code page (UTF-8). The
    // system writers provide it; another writer that does not raises zav::Error.
    virtual void writeRaw(const std::string& bytes);
};

class IFileSystem {
public:
    virtual ~IFileSystem() = default;

    virtual bool fileExists(const std::wstring& path) = 0;
    virtual bool folderExists(const std::wstring& path) = 0;
    // Creates that one folder; fails when its parent is missing or the path is empty.
    virtual void createFolder(const std::wstring& path) = 0;
    // An empty 8-bit text file at the path, replacing any file of that name.
    virtual void createTextFile(const std::wstring& path) = 0;
    // Removes the file; without force a read-only file is not removed and the call fails.
    virtual void deleteFile(const std::wstring& path, bool force) = 0;
    // Renames; fails when the destination exists.
    virtual void moveFile(const std::wstring& from, const std::wstring& to) = 0;
    // Renames, replacing the destination in one step when it exists.
    virtual void replaceFile(const std::wstring& from, const std::wstring& to) = 0;
    // Every file directly inside the folder, in the platform's order.
    virtual std::vector<FolderEntry> listFiles(const std::wstring& folder) = 0;
    // Opens for writing, creating or emptying the file.
    virtual std::unique_ptr<ITextWriter> openTextWriter(const std::wstring& path) = 0;
    // Whole file as bytes (tests and the profile layer); raises when it cannot be read.
    virtual std::string readAll(const std::wstring& path) = 0;
    // Creates or empties the file and writes the bytes; a read-only file is refused. The two
    // system file systems provide it; another implementation that does not raises zav::Error.
    virtual void writeAll(const std::wstring& path, const std::string& bytes);
    // True for an existing file that may not be written (no write permission natively). The two
    // system file systems provide it; another implementation that does not raises zav::Error.
    virtual bool isReadOnly(const std::wstring& path);
};

// Deletes a leftover file (of a failed step), ignoring a failure to do so.
void discardFile(IFileSystem& fs, const std::wstring& path);

// Writes a file without ever leaving a partial one in its place: `write` fills `path` + ".tmp",
// which then replaces `path`. When anything fails (also an error raised by `write` itself) the
// temporary file is removed, `path` is left as it was, and the error travels on.
void writeReplacing(IFileSystem& fs, const std::wstring& path, const std::function<void(ITextWriter&)>& write);

// The build's own implementation (Win32 or POSIX).
std::unique_ptr<IFileSystem> makeSystemFileSystem();

}  // namespace zav
