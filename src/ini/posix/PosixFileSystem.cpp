#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/UniqueResource.h"
#include "core/posix/PosixPath.h"
#include "ini/BufferedTextWriter.h"

namespace zav {
namespace {

// Owns a file descriptor.
struct FdTraits {
    using type = int;
    static type invalid() noexcept { return -1; }
    static bool isValid(type fd) noexcept { return fd >= 0; }
    static void close(type fd) noexcept { ::close(fd); }
};
using Fd = UniqueResource<FdTraits>;

// Owns an open directory listing.
inline void closeDir(DIR* d) noexcept { ::closedir(d); }
using UniqueDir = UniqueResource<NullHandleTraits<DIR*, closeDir>>;

bool statPath(const std::wstring& path, struct stat& st) { return ::stat(posixPath(path).c_str(), &st) == 0; }

// Read-only means: no write permission for anyone (root ignores the bits, so they are tested
// here rather than left to the system).
bool readOnlyFile(const std::wstring& path) {
    struct stat st;
    return statPath(path, st) && S_ISREG(st.st_mode) && (st.st_mode & 0222) == 0;
}

// The calls FileTextWriter and writeAll make on a descriptor.
struct PosixFile {
    using File = Fd;

    static Fd openForWriting(const std::wstring& path) {
        if (readOnlyFile(path)) throwErrno(EACCES, L"OpenTextFile " + path + L" (read-only)");
        Fd fd(::open(posixPath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
        if (!fd) throwLastErrno(L"OpenTextFile ", path);
        return fd;
    }

    static void writeFully(Fd& fd, const char* data, std::size_t length, const std::wstring& what) {
        while (length > 0) {
            ssize_t n = ::write(fd.get(), data, length);
            if (n < 0) {
                if (errno == EINTR) continue;
                throwLastErrno(what);
            }
            data += n;
            length -= static_cast<std::size_t>(n);
        }
    }

    // Closes now, raising when the system reports a failure (a delayed write error).
    static void closeNow(Fd& fd, const std::wstring& what) {
        if (fd && ::close(fd.release()) != 0) throwLastErrno(what);
    }
};


class PosixFileSystem final : public IFileSystem {
public:
    bool fileExists(const std::wstring& path) override {
        struct stat st;
        return !path.empty() && statPath(path, st) && S_ISREG(st.st_mode);
    }

    bool folderExists(const std::wstring& path) override {
        struct stat st;
        return !path.empty() && statPath(path, st) && S_ISDIR(st.st_mode);
    }

    void createFolder(const std::wstring& path) override {
        if (path.empty()) throwErrno(ENOENT, L"CreateFolder (empty folder name)");
        if (::mkdir(posixPath(path).c_str(), 0755) != 0) throwLastErrno(L"CreateFolder ", path);
    }

    void createTextFile(const std::wstring& path) override {
        if (isReadOnly(path)) throwErrno(EACCES, L"CreateTextFile " + path + L" (read-only)");
        Fd fd(::open(posixPath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
        if (!fd) throwLastErrno(L"CreateTextFile ", path);
        PosixFile::closeNow(fd, L"CreateTextFile " + path);
    }

    void deleteFile(const std::wstring& path, bool force) override {
        struct stat st;
        if (!statPath(path, st)) throwLastErrno(L"DeleteFile ", path);
        // Read-only means: no write permission for anyone (root ignores the bits, so test them here).
        if (!force && isReadOnly(path)) throwErrno(EACCES, L"DeleteFile " + path + L" (read-only)");
        if (::unlink(posixPath(path).c_str()) != 0) throwLastErrno(L"DeleteFile ", path);
    }

    void moveFile(const std::wstring& from, const std::wstring& to) override {
        struct stat st;
        if (statPath(to, st)) throwErrno(EEXIST, L"MoveFile " + from + L" to " + to);
        if (::rename(posixPath(from).c_str(), posixPath(to).c_str()) != 0)
            throwLastErrno(L"MoveFile ", from, L" to ", to);
    }

    void replaceFile(const std::wstring& from, const std::wstring& to) override {
        if (isReadOnly(to)) throwErrno(EACCES, L"MoveFile " + from + L" to " + to + L" (read-only)");
        if (::rename(posixPath(from).c_str(), posixPath(to).c_str()) != 0)
            throwLastErrno(L"MoveFile ", from, L" to ", to);
    }

    std::vector<FolderEntry> listFiles(const std::wstring& folder) override {
        std::string dir = posixPath(folder);
        UniqueDir d(::opendir(dir.empty() ? "." : dir.c_str()));
        if (!d) throwLastErrno(L"GetFolder ", folder);
        std::wstring prefix = folder;
        if (prefix.empty() || (prefix.back() != L'\\' && prefix.back() != L'/')) prefix += L'\\';
        std::vector<FolderEntry> entries;
        while (dirent* e = ::readdir(d.get())) {
            std::string name = e->d_name;
            struct stat st;
            if (::stat((dir + "/" + name).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
            std::wstring wname = fromUtf8(name);
            entries.push_back({prefix + wname, isConfigSettingsName(wname)});
        }
        return entries;
    }

    std::unique_ptr<ITextWriter> openTextWriter(const std::wstring& path) override {
        return std::make_unique<FileTextWriter<PosixFile>>(path);
    }

    std::string readAll(const std::wstring& path) override {
        Fd fd(::open(posixPath(path).c_str(), O_RDONLY));
        if (!fd) throwLastErrno(L"Open ", path);
        std::string bytes;
        char block[65536];
        for (;;) {
            ssize_t n = ::read(fd.get(), block, sizeof block);
            if (n < 0) {
                if (errno == EINTR) continue;
                throwLastErrno(L"Read ", path);
            }
            if (n == 0) break;
            bytes.append(block, static_cast<std::size_t>(n));
        }
        return bytes;
    }

    void writeAll(const std::wstring& path, const std::string& bytes) override {
        Fd fd = PosixFile::openForWriting(path);
        PosixFile::writeFully(fd, bytes.data(), bytes.size(), L"Write " + path);
        PosixFile::closeNow(fd, L"Close " + path);
    }

    bool isReadOnly(const std::wstring& path) override { return readOnlyFile(path); }
};

}  // namespace

std::unique_ptr<IFileSystem> makeSystemFileSystem() { return std::make_unique<PosixFileSystem>(); }

}  // namespace zav
