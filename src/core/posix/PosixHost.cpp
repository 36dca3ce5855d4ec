#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <iostream>

#include "core/Platform.h"
#include "core/posix/PosixPath.h"

namespace zav {
namespace {

std::string exePath() {
    char buffer[PATH_MAX] = {};
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

bool matches(const std::string& pattern, const std::string& name) {
    if (fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) == 0) return true;
    // As on Windows, "name.*" also matches "name" itself.
    if (pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0)
        return fnmatch(pattern.substr(0, pattern.size() - 2).c_str(), name.c_str(), FNM_CASEFOLD) == 0;
    return false;
}

class PosixHost final : public IHost {
public:
    std::wstring programFolder() override {
        std::string exe = exePath();
        auto slash = exe.find_last_of('/');
        if (slash == std::string::npos) return currentDirectory();
        return fromUtf8(slash == 0 ? std::string("/") : exe.substr(0, slash));
    }

    std::wstring programBaseName() override {
        std::string exe = exePath();
        std::string name = exe.substr(exe.find_last_of('/') + 1);
        auto dot = name.find_last_of('.');
        return fromUtf8(dot == std::string::npos ? name : name.substr(0, dot));
    }

    std::wstring currentDirectory() override {
        char buffer[PATH_MAX] = {};
        return getcwd(buffer, sizeof buffer) ? fromUtf8(buffer) : std::wstring();
    }

    // No drive letters here.
    std::wstring driveCurrentDirectory(wchar_t) override { return {}; }

    std::wstring findFirst(const std::wstring& pattern, bool foldersHiddenSystem) override {
        std::string p = posixPath(pattern);
        auto slash = p.find_last_of('/');
        std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : p.substr(0, slash));
        std::string namePattern = slash == std::string::npos ? p : p.substr(slash + 1);
        if (namePattern.empty()) return {};
        DIR* d = opendir(dir.c_str());
        if (!d) {
            if (errno == ENOENT || errno == ENOTDIR) return {};
            throwLastErrno(L"Dir ", pattern);
        }
        std::wstring found;
        while (dirent* e = readdir(d)) {
            std::string name = e->d_name;
            if (!matches(namePattern, name)) continue;
            struct stat st;
            if (stat((dir + "/" + name).c_str(), &st) != 0) continue;
            bool ordinary = S_ISREG(st.st_mode) && name[0] != '.';
            if (foldersHiddenSystem || ordinary) {
                found = fromUtf8(name);
                break;
            }
        }
        closedir(d);
        return found;
    }

    // The portable profile layer keeps its WIN.INI in the program's folder.
    std::wstring windowsDirectory() override { return programFolder(); }
};

class StreamReporter final : public IReporter {
public:
    void show(const std::wstring& text, const std::wstring& title, MessageIcon) override {
        std::cerr << toAnsi(title) << ": " << toAnsi(text) << std::endl;
    }
    bool ask(const std::wstring& text, const std::wstring& title) override {
        show(text, title, MessageIcon::None);
        return false;
    }
};

}  // namespace

std::unique_ptr<IHost> makeSystemHost() { return std::make_unique<PosixHost>(); }
std::unique_ptr<IReporter> makeSystemReporter() { return std::make_unique<StreamReporter>(); }

}  // namespace zav
