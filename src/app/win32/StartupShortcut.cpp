#include "app/win32/StartupShortcut.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "core/win32/ComUse.h"
#include "core/Error.h"
#include "core/Platform.h"
#include "core/UniqueResource.h"
#include "core/win32/Handles.h"
#include "core/win32/Win32Error.h"

namespace zav {
namespace {

void releaseInterface(IUnknown* object) noexcept { object->Release(); }

// An interface pointer, released when its owner goes.
template <class T>
using ComOwner = UniqueResource<NullHandleTraits<T*, releaseInterface>>;

// A new shell link and its file side; the first failure's code.
HRESULT newShellLink(ComOwner<IShellLinkW>& link, ComOwner<IPersistFile>& file) {
    void* raw = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, &raw);
    link.reset(static_cast<IShellLinkW*>(raw));
    if (FAILED(hr)) return hr;
    raw = nullptr;
    hr = link.get()->QueryInterface(IID_IPersistFile, &raw);
    file.reset(static_cast<IPersistFile*>(raw));
    return hr;
}

[[noreturn]] void fail(HRESULT hr, const std::wstring& what) {
    throw Error(static_cast<long>(hr), what, L"the shortcut cannot be written (error " +
                                                std::to_wstring(static_cast<unsigned long>(hr)) + L")");
}

std::wstring joined(const std::wstring& folder, const std::wstring& name) {
    return folder.empty() || folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
}

// The program a shortcut file points to ("" when it cannot be read).
std::wstring shortcutTarget(const std::wstring& file) {
    ComOwner<IShellLinkW> link;
    ComOwner<IPersistFile> persist;
    if (FAILED(newShellLink(link, persist)) || FAILED(persist.get()->Load(file.c_str(), STGM_READ))) return L"";
    wchar_t target[MAX_PATH] = L"";
    if (SUCCEEDED(link.get()->GetPath(target, MAX_PATH, nullptr, 0)) && target[0]) return target;
    // A shortcut saved without its volume's details (a drive whose label cannot be read) holds the
    // target only as the shell's item list.
    PIDLIST_ABSOLUTE items = nullptr;
    if (FAILED(link.get()->GetIDList(&items)) || !items) return L"";
    const BOOL ok = SHGetPathFromIDListW(items, target);
    CoTaskMemFree(items);
    return ok ? target : L"";
}

// The shortcut files in `folder` that point to `program`.
std::vector<std::wstring> shortcutsTo(const std::wstring& folder, const std::wstring& program) {
    std::vector<std::wstring> found;
    if (folder.empty()) return found;
    WIN32_FIND_DATAW data;
    UniqueFindHandle search(FindFirstFileW(joined(folder, L"*.lnk").c_str(), &data));
    if (!search) return found;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::wstring file = joined(folder, data.cFileName);
        if (lstrcmpiW(shortcutTarget(file).c_str(), program.c_str()) == 0) found.push_back(file);
    } while (FindNextFileW(search.get(), &data));
    return found;
}

// This program's file, as its shortcut names it.
std::wstring thisProgram() {
    std::wstring path(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    path.resize(n < path.size() ? n : 0);
    return path;
}

}  // namespace

std::wstring userStartupFolder() {
    wchar_t path[MAX_PATH] = L"";
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_STARTUP | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path)))
        return L"";
    return path;
}

bool hasShortcutTo(const std::wstring& folder, const std::wstring& program) {
    ComUse com;
    return !shortcutsTo(folder, program).empty();
}

void setShortcutTo(const std::wstring& folder, const std::wstring& program, const std::wstring& name, bool present) {
    ComUse com;
    if (!present) {
        for (const std::wstring& file : shortcutsTo(folder, program))
            if (!DeleteFileW(file.c_str())) throwLastError(L"DeleteFile ", file);
        return;
    }
    if (!shortcutsTo(folder, program).empty()) return;
    const std::wstring file = joined(folder, name + L".lnk");
    ComOwner<IShellLinkW> link;
    ComOwner<IPersistFile> persist;
    HRESULT hr = newShellLink(link, persist);
    if (FAILED(hr)) fail(hr, L"CoCreateInstance ShellLink " + file);
    const std::wstring programFolder = program.substr(0, program.find_last_of(L'\\'));
    link.get()->SetPath(program.c_str());
    link.get()->SetWorkingDirectory(programFolder.c_str());
    link.get()->SetDescription(L"Starts ZAVExport at logon");
    hr = persist.get()->Save(file.c_str(), TRUE);
    if (FAILED(hr)) fail(hr, L"IPersistFile::Save " + file);
}

bool startsWithWindows() { return hasShortcutTo(userStartupFolder(), thisProgram()); }

void toggleStartWithWindows() {
    const std::wstring folder = userStartupFolder();
    if (folder.empty()) throw Error(kErrFileAccess, L"SHGetFolderPath", L"the Startup folder is not known");
    const std::wstring program = thisProgram();
    setShortcutTo(folder, program, kProgramTitle, !hasShortcutTo(folder, program));
}

}  // namespace zav
