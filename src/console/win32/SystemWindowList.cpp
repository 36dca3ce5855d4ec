// EnumWindows and EnumChildWindows ask no window anything (no message goes to a program that may
// hang); class names and titles of other programs' windows come from the system itself.
#include <windows.h>
#include <tlhelp32.h>

#include <map>

#include "capture/win32/RemoteMemory.h"
#include "capture/win32/WindowText.h"
#include "console/win32/SystemConsole.h"
#include "core/win32/Handles.h"
#include "text/Ansi.h"

namespace zav {
namespace {

BOOL CALLBACK collect(HWND hwnd, LPARAM into) {
    reinterpret_cast<std::vector<HWND>*>(into)->push_back(hwnd);
    return TRUE;
}

// The drop-down list of a combo box: read through its combo box, not on its own.
bool isComboList(const std::wstring& className) { return equalsNoCase(className, L"ComboLBox"); }

// The program file's name of every running process.
std::map<DWORD, std::wstring> processNames() {
    std::map<DWORD, std::wstring> names;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return names;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        std::wstring name = entry.szExeFile;
        const std::size_t slash = name.find_last_of(L"\\/");
        names[entry.th32ProcessID] = slash == std::wstring::npos ? name : name.substr(slash + 1);
    }
    return names;
}

class SystemWindowList final : public IWindowList {
public:
    std::vector<WindowEntry> topLevelWindows() override {
        std::vector<HWND> tops;
        EnumWindows(collect, reinterpret_cast<LPARAM>(&tops));
        const std::map<DWORD, std::wstring> names = processNames();
        std::vector<WindowEntry> windows;
        for (HWND top : tops) {
            WindowEntry w;
            w.handle = reinterpret_cast<WindowHandle>(top);
            w.className = getWindowClass(w.handle);
            DWORD pid = 0;
            GetWindowThreadProcessId(top, &pid);
            if (isComboList(w.className) || pid == GetCurrentProcessId()) continue;
            w.processId = pid;
            w.title = getWindowCaption(w.handle);
            const auto name = names.find(pid);
            if (name != names.end()) w.processName = name->second;
            std::vector<HWND> children;
            EnumChildWindows(top, collect, reinterpret_cast<LPARAM>(&children));
            for (HWND child : children) {
                ControlEntry e;
                e.handle = reinterpret_cast<WindowHandle>(child);
                e.className = getWindowClass(e.handle, 64);
                e.kind = controlKindOfClass(e.className);
                if (e.kind == ControlKind::None || isComboList(e.className)) continue;
                e.id = GetDlgCtrlID(child);
                w.controls.push_back(std::move(e));
            }
            numberControls(w);
            if (!w.controls.empty()) w.wordSize = processWordSize(pid);
            windows.push_back(std::move(w));
        }
        return windows;
    }
};

}  // namespace

std::unique_ptr<IWindowList> makeSystemWindowList() { return std::make_unique<SystemWindowList>(); }

}  // namespace zav
