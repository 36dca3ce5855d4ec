#include "settings/SettingsEdit.h"

#include <cwctype>
#include <vector>

#include "core/Error.h"
#include "ini/FileSystem.h"
#include "ini/cINIFile.h"

namespace zav {
namespace {

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

std::wstring trimmed(const std::wstring& text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && std::iswspace(text[begin])) ++begin;
    while (end > begin && std::iswspace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

// A drive ("C:\"), a share ("\\server\share") or, in the POSIX build's own paths, "/".
bool isFullPath(const std::wstring& path) {
    if (path.size() >= 3 && std::iswalpha(path[0]) && path[1] == L':' && isSeparator(path[2])) return true;
    if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) return true;
    return !path.empty() && path[0] == L'/';
}

// The path without its trailing separators; a root keeps its one ("C:\", "/").
std::wstring withoutTrailing(std::wstring path) {
    while (path.size() > 1 && isSeparator(path.back())) {
        if (path.size() == 3 && path[1] == L':') break;
        path.pop_back();
    }
    return path;
}

// The folder that holds `path` ("" for a root, which has none).
std::wstring parentOf(const std::wstring& path) {
    const std::wstring p = withoutTrailing(path);
    const std::size_t cut = p.find_last_of(L"\\/");
    if (cut == std::wstring::npos || cut + 1 == p.size()) return L"";
    if (cut == 0) return p.substr(0, 1);                      // "/x"
    if (cut == 2 && p[1] == L':') return p.substr(0, 3);      // "C:\x"
    if (p.size() >= 2 && isSeparator(p[0]) && isSeparator(p[1]) && p.find_first_of(L"\\/", 2) >= cut)
        return L"";                                           // "\\server" has no folder above
    return p.substr(0, cut);
}

struct Existing {
    std::wstring folder;         // the nearest folder that exists ("" when none)
    bool blockedByFile = false;  // a file stands where a folder of the path would be
};

// The folder itself or its nearest existing parent: where new folders would be made.
Existing nearestExisting(IFileSystem& fs, const std::wstring& folder) {
    Existing found;
    for (std::wstring p = withoutTrailing(folder); !p.empty(); p = parentOf(p)) {
        if (fs.folderExists(p)) {
            found.folder = p;
            return found;
        }
        if (fs.fileExists(p)) found.blockedByFile = true;
    }
    return found;
}

// Whether a new file can be made in the folder: one is made and removed at once.
bool takesNewFiles(IFileSystem& fs, const std::wstring& folder) {
    std::wstring probe = withoutTrailing(folder);
    if (!isSeparator(probe.back())) probe += L'\\';
    probe += L"zavexport-write-check.tmp";
    try {
        fs.createTextFile(probe);
    } catch (const Error&) {
        return false;
    }
    discardFile(fs, probe);
    return true;
}

std::wstring named(const wchar_t* key) { return std::wstring(L"The setting ") + key; }

std::wstring pathProblem(const wchar_t* key, const std::wstring& value, const wchar_t* example) {
    if (value.empty()) return named(key) + L" is empty. Give it a full path, such as " + example + L".";
    if (!isFullPath(value))
        return named(key) + L" (" + value + L") is not a full path. Give it one, such as " + example + L".";
    return L"";
}

// A folder that exists or can be made, and takes new files.
std::wstring folderProblem(IFileSystem& fs, const wchar_t* key, const std::wstring& folder, const std::wstring& what) {
    const Existing at = nearestExisting(fs, folder);
    if (at.blockedByFile) return named(key) + L" cannot be used: a file stands where a folder of " + what + L" would be.";
    if (at.folder.empty()) return named(key) + L" cannot be used: the folder " + folder + L" cannot be made.";
    if (!takesNewFiles(fs, at.folder))
        return named(key) + L" cannot be used: new files cannot be written in " + at.folder + L".";
    return L"";
}

void makeFolders(IFileSystem& fs, const wchar_t* key, const std::wstring& folder, const std::wstring& settingsFile) {
    std::vector<std::wstring> missing;
    for (std::wstring p = withoutTrailing(folder); !p.empty() && !fs.folderExists(p); p = parentOf(p))
        missing.push_back(p);
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        try {
            fs.createFolder(*it);
        } catch (const Error& e) {
            throw Error(e.number(), e.operation() + L" (setting " + key + L" in " + settingsFile + L")", e.detail());
        }
    }
}

}  // namespace

Settings tidySettings(Settings wanted) {
    for (std::wstring* folder : {&wanted.outputFolder, &wanted.optionFolder}) {
        *folder = trimmed(*folder);
        if (!folder->empty() && !isSeparator(folder->back())) *folder += L'\\';
    }
    wanted.catalogFile = trimmed(wanted.catalogFile);
    wanted.replacesFile = trimmed(wanted.replacesFile);
    return wanted;
}

std::wstring settingsProblem(IFileSystem& fs, const Settings& wanted) {
    if (fs.fileExists(wanted.settingsFile) && fs.isReadOnly(wanted.settingsFile))
        return L"The settings file " + wanted.settingsFile + L" is read-only: the settings cannot be saved.";
    const struct {
        const wchar_t* key;
        const std::wstring& value;
    } folders[] = {{kOutputFolderKey, wanted.outputFolder}, {kOptionFolderKey, wanted.optionFolder}},
      files[] = {{kCatalogFileKey, wanted.catalogFile}, {kReplacesFileKey, wanted.replacesFile}};
    for (const auto& f : folders) {
        std::wstring problem = pathProblem(f.key, f.value, L"C:\\Exports\\");
        if (problem.empty()) problem = folderProblem(fs, f.key, f.value, f.value);
        if (!problem.empty()) return problem;
    }
    for (const auto& f : files) {
        std::wstring problem = pathProblem(f.key, f.value, L"C:\\ZAVExport\\catalog.ini");
        if (!problem.empty()) return problem;
        if (isSeparator(f.value.back()) || fs.folderExists(f.value))
            return named(f.key) + L" names a folder (" + f.value + L"); it needs a file.";
        if (fs.fileExists(f.value)) {
            if (fs.isReadOnly(f.value)) return named(f.key) + L" names a read-only file (" + f.value + L").";
            continue;
        }
        const std::wstring folder = parentOf(f.value);
        if (folder.empty()) return named(f.key) + L" (" + f.value + L") names no file in a folder.";
        problem = folderProblem(fs, f.key, folder, f.value);
        if (!problem.empty()) return problem;
    }
    return L"";
}

Settings saveSettings(const Storage& storage, const Settings& wanted) {
    const Settings tidy = tidySettings(wanted);
    // Not left to the profile functions: some systems write a read-only file for a privileged user.
    if (storage.fs.fileExists(tidy.settingsFile) && storage.fs.isReadOnly(tidy.settingsFile))
        throw Error(kErrFileAccess, L"WritePrivateProfileString " + tidy.settingsFile, L"the settings file is read-only");
    cINIFile ini(storage);
    ini.FullPath(tidy.settingsFile);
    ini.SectionName(kSettingsSection);
    const struct {
        const wchar_t* key;
        const std::wstring& value;
    } values[] = {{kOutputFolderKey, tidy.outputFolder},
                  {kCatalogFileKey, tidy.catalogFile},
                  {kReplacesFileKey, tidy.replacesFile},
                  {kOptionFolderKey, tidy.optionFolder}};
    for (const auto& v : values)
        if (ini.PutString(v.key, v.value) == 0)
            throw Error(kErrFileAccess, L"WritePrivateProfileString " + tidy.settingsFile,
                        std::wstring(L"the setting ") + v.key + L" cannot be written");
    makeFolders(storage.fs, kOutputFolderKey, tidy.outputFolder, tidy.settingsFile);
    makeFolders(storage.fs, kOptionFolderKey, tidy.optionFolder, tidy.settingsFile);
    makeFolders(storage.fs, kCatalogFileKey, parentOf(tidy.catalogFile), tidy.settingsFile);
    makeFolders(storage.fs, kReplacesFileKey, parentOf(tidy.replacesFile), tidy.settingsFile);
    return readSettings(storage, tidy.settingsFile);
}

}  // namespace zav
