#include "app/win32/StartupShortcut.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "core/Error.h"
#include "core/win32/Win32Error.h"

namespace zav {
namespace {

// A COM interface pointer released when it goes.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() {
        if (p_) p_->Release();
    }
    T* operator->() const { return p_; }
    T** out() { return &p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

// Uses COM for as long as it lives; on a thread that has it already, it changes nothing.
class ComUse {
public:
    ComUse() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComUse() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    ComUse(const ComUse&) = delete;
    ComUse& operator=(const ComUse&) = delete;

private:
    HRESULT hr_;
};

[[noreturn]] void fail(HRESULT hr, const std::wstring& what) {
    throw Error(static_cast<long>(hr), what, L"the shortcut cannot be written (error " +
                                                std::to_wstring(static_cast<unsigned long>(hr)) + L")");
}

std::wstring joined(const std::wstring& folder, const std::wstring& name) {
    return folder.empty() || folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
}

// The program a shortcut file points to ("" when it cannot be read).
std::wstring shortcutTarget(const std::wstring& file) {
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.out()))))
        return L"";
    ComPtr<IPersistFile> persist;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(persist.out())))) return L"";
    if (FAILED(persist->Load(file.c_str(), STGM_READ))) return L"";
    wchar_t target[MAX_PATH] = L"";
    if (SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, 0)) && target[0]) return target;
    // A shortcut saved without its volume's details (a drive whose label cannot be read) holds the
    // target only as the shell's item list.
    PIDLIST_ABSOLUTE items = nullptr;
    if (FAILED(link->GetIDList(&items)) || !items) return L"";
    const BOOL ok = SHGetPathFromIDListW(items, target);
    CoTaskMemFree(items);
    return ok ? target : L"";
}

// The shortcut files in `folder` that point to `program`.
std::vector<std::wstring> shortcutsTo(const std::wstring& folder, const std::wstring& program) {
    std::vector<std::wstring> found;
    if (folder.empty()) return found;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(joined(folder, L"*.lnk").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return found;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::wstring file = joined(folder, data.cFileName);
        if (lstrcmpiW(shortcutTarget(file).c_str(), program.c_str()) == 0) found.push_back(file);
    } while (FindNextFileW(search, &data));
    FindClose(search);
    return found;
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
    ComPtr<IShellLinkW> link;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(link.out()));
    if (FAILED(hr)) fail(hr, L"CoCreateInstance ShellLink " + file);
    const std::wstring programFolder = program.substr(0, program.find_last_of(L'\\'));
    link->SetPath(program.c_str());
    link->SetWorkingDirectory(programFolder.c_str());
    link->SetDescription(L"Starts ZAVExport at logon");
    ComPtr<IPersistFile> persist;
    hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(persist.out()));
    if (FAILED(hr)) fail(hr, L"IPersistFile " + file);
    hr = persist->Save(file.c_str(), TRUE);
    if (FAILED(hr)) fail(hr, L"IPersistFile::Save " + file);
}

}  // namespace zav
