#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/posix/PosixPath.h"
#include "ini/BufferedTextWriter.h"

namespace zav {
namespace {

// Owns a file descriptor.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    bool reset() {
        bool ok = true;
        if (fd_ >= 0) ok = ::close(fd_) == 0;
        fd_ = -1;
        return ok;
    }

private:
    int fd_;
};

bool statPath(const std::wstring& path, struct stat& st) { return ::stat(posixPath(path).c_str(), &st) == 0; }

class PosixTextWriter final : public BufferedTextWriter {
public:
    explicit PosixTextWriter(const std::wstring& path)
        : path_(path), fd_(::open(posixPath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644)) {
        if (!fd_.valid()) throwErrno(errno, L"OpenTextFile " + path_);
    }

protected:
    void writeBytes(const char* data, std::size_t length) override {
        while (length > 0) {
            ssize_t n = ::write(fd_.get(), data, length);
            if (n < 0) {
                if (errno == EINTR) continue;
                throwErrno(errno, L"Write " + path_);
            }
            data += n;
            length -= static_cast<std::size_t>(n);
        }
    }
    void closeFile() override {
        if (!fd_.reset()) throwErrno(errno, L"Close " + path_);
    }

private:
    std::wstring path_;
    Fd fd_;
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
        if (::mkdir(posixPath(path).c_str(), 0755) != 0) throwErrno(errno, L"CreateFolder " + path);
    }

    void createTextFile(const std::wstring& path) override {
        if (isReadOnly(path)) throwErrno(EACCES, L"CreateTextFile " + path + L" (read-only)");
        Fd fd(::open(posixPath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
        if (!fd.valid()) throwErrno(errno, L"CreateTextFile " + path);
        if (!fd.reset()) throwErrno(errno, L"CreateTextFile " + path);
    }

    void deleteFile(const std::wstring& path, bool force) override {
        struct stat st;
        if (!statPath(path, st)) throwErrno(errno, L"DeleteFile " + path);
        // Read-only means: no write permission for anyone (root ignores the bits, so test them here).
        if (!force && isReadOnly(path)) throwErrno(EACCES, L"DeleteFile " + path + L" (read-only)");
        if (::unlink(posixPath(path).c_str()) != 0) throwErrno(errno, L"DeleteFile " + path);
    }

    void moveFile(const std::wstring& from, const std::wstring& to) override {
        struct stat st;
        if (statPath(to, st)) throwErrno(EEXIST, L"MoveFile " + from + L" to " + to);
        if (::rename(posixPath(from).c_str(), posixPath(to).c_str()) != 0)
            throwErrno(errno, L"MoveFile " + from + L" to " + to);
    }

    void replaceFile(const std::wstring& from, const std::wstring& to) override {
        if (isReadOnly(to)) throwErrno(EACCES, L"MoveFile " + from + L" to " + to + L" (read-only)");
        if (::rename(posixPath(from).c_str(), posixPath(to).c_str()) != 0)
            throwErrno(errno, L"MoveFile " + from + L" to " + to);
    }

    std::vector<FolderEntry> listFiles(const std::wstring& folder) override {
        std::string dir = posixPath(folder);
        DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
        if (!d) throwErrno(errno, L"GetFolder " + folder);
        std::wstring prefix = folder;
        if (prefix.empty() || (prefix.back() != L'\\' && prefix.back() != L'/')) prefix += L'\\';
        std::vector<FolderEntry> entries;
        while (dirent* e = ::readdir(d)) {
            std::string name = e->d_name;
            struct stat st;
            if (::stat((dir + "/" + name).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
            std::wstring wname = fromAnsi(name);
            entries.push_back({prefix + wname, isConfigSettingsName(wname)});
        }
        ::closedir(d);
        return entries;
    }

    std::unique_ptr<ITextWriter> openTextWriter(const std::wstring& path) override {
        if (isReadOnly(path)) throwErrno(EACCES, L"OpenTextFile " + path + L" (read-only)");
        return std::make_unique<PosixTextWriter>(path);
    }

    std::string readAll(const std::wstring& path) override {
        Fd fd(::open(posixPath(path).c_str(), O_RDONLY));
        if (!fd.valid()) throwErrno(errno, L"Open " + path);
        std::string bytes;
        char block[65536];
        for (;;) {
            ssize_t n = ::read(fd.get(), block, sizeof block);
            if (n < 0) {
                if (errno == EINTR) continue;
                throwErrno(errno, L"Read " + path);
            }
            if (n == 0) break;
            bytes.append(block, static_cast<std::size_t>(n));
        }
        return bytes;
    }

private:
    static bool isReadOnly(const std::wstring& path) {
        struct stat st;
        return statPath(path, st) && S_ISREG(st.st_mode) && (st.st_mode & 0222) == 0;
    }
};

}  // namespace

std::unique_ptr<IFileSystem> makeSystemFileSystem() { return std::make_unique<PosixFileSystem>(); }

}  // namespace zav
