// Looks at the program's windows for the end-to-end test: where a control is on the screen (so
// that xdotool can move the real mouse there), what a control or message box says, and the items
// of a list view. It never clicks or types itself.
//
//   zav_uidriver.exe wait TITLE [SECONDS]        waits for a visible top-level window; prints its handle
//   zav_uidriver.exe gone TITLE [SECONDS]        waits until no visible window has that title
//   zav_uidriver.exe count TITLE                 visible top-level windows with that title
//   zav_uidriver.exe menus                       visible popup menus
//   zav_uidriver.exe menurect                    left top right bottom of the one visible popup menu
//   zav_uidriver.exe center TITLE ID             screen centre of the control with that ID
//   zav_uidriver.exe button TITLE CAPTION        screen centre of the button with that caption
//   zav_uidriver.exe rect TITLE ID               left top right bottom of the control, screen pixels
//   zav_uidriver.exe text TITLE ID               the control's text (ID 0: the window's own)
//   zav_uidriver.exe utext TITLE ID              the same, read as wide text and printed in UTF-8
//   zav_uidriver.exe watch TITLE ID UNTIL [SECONDS]
//                                                the control's text at the start and at each change,
//                                                one line each, until a window titled UNTIL shows,
//                                                the control goes or the time is up (30 s)
//   zav_uidriver.exe message TITLE               the text of a message box with that title
//   zav_uidriver.exe items TITLE ID              the list view's rows, cells separated by " | "
//   zav_uidriver.exe classrect TITLE CLASS       rect of its first visible control of that class, at any depth
//   zav_uidriver.exe close TITLE                 posts WM_CLOSE to the window
//   zav_uidriver.exe hang TITLE                  posts WM_APP, which makes the test hosts stop answering
//   zav_uidriver.exe endsession TITLE            sends WM_QUERYENDSESSION, then WM_ENDSESSION (ending),
//                                                as a logoff does; prints the answer to the query
//   zav_uidriver.exe focus TITLE                 ID of the control of that window with the focus
//                                                (the control itself for the parts of a combo box;
//                                                0: the window itself; "-": the focus is elsewhere)
//   zav_uidriver.exe toprect CLASS               rect of the first visible top-level window of that class
//   zav_uidriver.exe foreground                  the title of the foreground window
//   zav_uidriver.exe above TITLE1 TITLE2         exit 0 when the first window is above the second
//   zav_uidriver.exe owner TITLE                 the title of the owner of the message box TITLE
//   zav_uidriver.exe enabled TITLE               1 when the window takes input, 0 when disabled
//   zav_uidriver.exe redraw TITLE ID             repaints that one control (its siblings are not told)
//   zav_uidriver.exe visible TITLE ID            1 when the control is shown, 0 when hidden
//   zav_uidriver.exe checked TITLE ID            1 when the check box is checked, 0 when not
//   zav_uidriver.exe fileinfo FILE               the program file's version resource, whether it has
//                                                an icon and what its manifest says of DPI awareness
//
// Exit code 0 on success, 1 when the window or control is not there (after waiting, for wait).
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "capture/win32/ListViewSource.h"
#include "capture/win32/SystemGridSources.h"
#include "text/Ansi.h"
#include "text/Utf8.h"

namespace {

struct Found {
    const char* title;
    const char* className;
    std::vector<HWND> windows;
};

BOOL CALLBACK collect(HWND h, LPARAM p) {
    auto* f = reinterpret_cast<Found*>(p);
    if (!IsWindowVisible(h)) return TRUE;
    char text[512] = {}, cls[256] = {};
    GetWindowTextA(h, text, sizeof text);
    GetClassNameA(h, cls, sizeof cls);
    if (f->title && std::strcmp(text, f->title) != 0) return TRUE;
    if (f->className && std::strcmp(cls, f->className) != 0) return TRUE;
    f->windows.push_back(h);
    return TRUE;
}

std::vector<HWND> topLevel(const char* title, const char* className = nullptr) {
    Found f{title, className, {}};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&f));
    return f.windows;
}

HWND one(const char* title) {
    auto w = topLevel(title);
    return w.empty() ? nullptr : w.front();
}

HWND controlOf(const char* title, const char* id) {
    HWND w = one(title);
    if (!w) return nullptr;
    const int n = std::atoi(id);
    return n == 0 ? w : GetDlgItem(w, n);
}

void printCenter(HWND h) {
    RECT rc;
    GetWindowRect(h, &rc);
    std::printf("%ld %ld\n", (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

struct ButtonSearch {
    const char* caption;
    HWND found;
};

struct ClassSearch {
    const char* className;
    HWND found;
};

// EnumChildWindows: the first visible window of the class (a named function: a lambda does not
// take the 32-bit callback's calling convention).
BOOL CALLBACK findVisibleClass(HWND h, LPARAM p) {
    auto* s = reinterpret_cast<ClassSearch*>(p);
    char cls[256] = {};
    GetClassNameA(h, cls, sizeof cls);
    if (std::strcmp(cls, s->className) != 0 || !IsWindowVisible(h)) return TRUE;
    s->found = h;
    return FALSE;
}

BOOL CALLBACK findButton(HWND h, LPARAM p) {
    auto* s = reinterpret_cast<ButtonSearch*>(p);
    char text[256] = {};
    GetWindowTextA(h, text, sizeof text);
    if (IsWindowVisible(h) && std::strcmp(text, s->caption) == 0) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

// WM_GETTEXT, not GetWindowText: the control belongs to another process. The text may grow
// between the two messages (a progress line that gains a digit): a text that fills the room is
// asked for again with more.
std::string controlText(HWND c) {
    DWORD_PTR length = 0;
    SendMessageTimeoutA(c, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::string buffer(static_cast<std::size_t>(length) + 16, '\0');
    for (;;) {
        DWORD_PTR got = 0;
        SendMessageTimeoutA(c, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(&buffer[0]), SMTO_ABORTIFHUNG,
                            5000, &got);
        if (static_cast<std::size_t>(got) + 1 < buffer.size()) {
            buffer.resize(static_cast<std::size_t>(got));
            return buffer;
        }
        buffer.assign(buffer.size() * 2, '\0');
    }
}

// The direct child of `top` that holds `h` (h itself when it is one); nullptr when outside `top`.
HWND childOf(HWND top, HWND h) {
    while (h && GetParent(h) != top) {
        if (h == top) return nullptr;
        h = GetParent(h);
    }
    return h;
}

std::string versionString(const std::vector<char>& data, const char* name) {
    struct Translation {
        WORD language, codePage;
    }* translations = nullptr;
    UINT size = 0;
    if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &size) ||
        size < sizeof(Translation))
        return {};
    char path[128];
    std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", translations[0].language,
                  translations[0].codePage, name);
    char* value = nullptr;
    if (!VerQueryValueA(data.data(), path, reinterpret_cast<void**>(&value), &size) || !value) return {};
    return value;
}

int fileInfo(const char* file) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(file, &ignored);
    std::vector<char> data(size ? size : 1);
    if (size && GetFileVersionInfoA(file, 0, size, data.data())) {
        std::printf("product %s\n", versionString(data, "ProductName").c_str());
        std::printf("version %s\n", versionString(data, "ProductVersion").c_str());
        std::printf("file version %s\n", versionString(data, "FileVersion").c_str());
    } else {
        std::printf("no version resource\n");
    }
    HMODULE module = LoadLibraryExA(file, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return 1;
    std::printf("icon %s\n", FindResourceA(module, MAKEINTRESOURCEA(1), RT_GROUP_ICON) ? "yes" : "no");
    std::string manifest;
    if (HRSRC r = FindResourceA(module, MAKEINTRESOURCEA(1), RT_MANIFEST)) {
        if (HGLOBAL g = LoadResource(module, r))
            manifest.assign(static_cast<const char*>(LockResource(g)), SizeofResource(module, r));
    }
    const auto at = manifest.find("<dpiAware");
    const auto value = manifest.find('>', at);
    std::printf("dpiAware %s\n", at == std::string::npos || value == std::string::npos
                                     ? "none"
                                     : manifest.substr(value + 1, manifest.find('<', value) - value - 1).c_str());
    FreeLibrary(module);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string cmd = argv[1];
    const char* title = argc > 2 ? argv[2] : "";
    if (cmd == "wait" || cmd == "gone") {
        const DWORD limit = static_cast<DWORD>((argc > 3 ? std::atof(argv[3]) : 30.0) * 1000);
        const DWORD start = GetTickCount();
        for (;;) {
            HWND h = one(title);
            if (cmd == "wait" && h) {
                std::printf("%lu\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(h)));
                return 0;
            }
            if (cmd == "gone" && !h) return 0;
            if (GetTickCount() - start > limit) return 1;
            Sleep(50);
        }
    }
    // 1 while a copy of the program holds its one-copy mutex (the name main_win32.cpp makes), else 0.
    if (cmd == "onecopy") {
        HANDLE m = OpenMutexW(SYNCHRONIZE, FALSE, L"Local\\ZAVExport.OneCopy");
        std::printf("%d\n", m ? 1 : 0);
        if (m) CloseHandle(m);
        return 0;
    }
    if (cmd == "count") {
        std::printf("%u\n", static_cast<unsigned>(topLevel(title).size()));
        return 0;
    }
    if (cmd == "menus") {
        std::printf("%u\n", static_cast<unsigned>(topLevel(nullptr, "#32768").size()));
        return 0;
    }
    if (cmd == "menurect") {
        const auto menus = topLevel(nullptr, "#32768");
        if (menus.size() != 1) return 1;
        RECT rc;
        GetWindowRect(menus[0], &rc);
        std::printf("%ld %ld %ld %ld\n", rc.left, rc.top, rc.right, rc.bottom);
        return 0;
    }
    if (cmd == "toprect" && argc > 2) {
        const auto windows = topLevel(nullptr, argv[2]);
        if (windows.empty()) return 1;
        RECT rc;
        GetWindowRect(windows[0], &rc);
        std::printf("%ld %ld %ld %ld\n", rc.left, rc.top, rc.right, rc.bottom);
        return 0;
    }
    if (cmd == "foreground") {
        char text[512] = {};
        GetWindowTextA(GetForegroundWindow(), text, sizeof text);
        std::printf("%s\n", text);
        return 0;
    }
    if (cmd == "above" && argc > 3) {
        // EnumWindows lists top-level windows from the top of the z-order down.
        HWND first = one(argv[2]), second = one(argv[3]);
        if (!first || !second) return 1;
        for (HWND h : topLevel(nullptr)) {
            if (h == first) return 0;
            if (h == second) return 1;
        }
        return 1;
    }
    if (cmd == "fileinfo" && argc > 2) return fileInfo(argv[2]);
    if (cmd == "classrect" && argc > 3) {
        // A control of a program not our own, found by its class at any depth below the window.
        ClassSearch search{argv[3], nullptr};
        HWND w = one(title);
        if (w) EnumChildWindows(w, findVisibleClass, reinterpret_cast<LPARAM>(&search));
        if (!search.found) return 1;
        RECT rc;
        GetWindowRect(search.found, &rc);
        std::printf("%ld %ld %ld %ld\n", rc.left, rc.top, rc.right, rc.bottom);
        return 0;
    }
    if (cmd == "button" && argc > 3) {
        HWND w = one(title);
        if (!w) return 1;
        ButtonSearch s{argv[3], nullptr};
        EnumChildWindows(w, findButton, reinterpret_cast<LPARAM>(&s));
        if (!s.found) return 1;
        printCenter(s.found);
        return 0;
    }
    if (argc < 3) return 2;
    if (cmd == "close") {
        HWND w = one(title);
        if (!w) return 1;
        PostMessageA(w, WM_CLOSE, 0, 0);
        return 0;
    }
    if (cmd == "hang") {
        HWND w = one(title);
        if (!w) return 1;
        PostMessageA(w, WM_APP, 0, 0);
        return 0;
    }
    if (cmd == "endsession") {
        HWND w = one(title);
        if (!w) return 1;
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(w, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000, &answer);
        std::printf("%d\n", static_cast<int>(answer));
        SendMessageTimeoutA(w, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000, nullptr);
        return 0;
    }
    if (cmd == "focus") {
        HWND w = one(title);
        if (!w) return 1;
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info)) return 1;
        if (info.hwndFocus == w) {
            std::printf("0\n");
            return 0;
        }
        HWND c = childOf(w, info.hwndFocus);
        if (c)
            std::printf("%d\n", GetDlgCtrlID(c));
        else
            std::printf("-\n");
        return 0;
    }
    if (cmd == "owner" || cmd == "enabled") {
        HWND w = nullptr;
        for (HWND h : topLevel(title)) w = h;
        if (!w) return 1;
        if (cmd == "enabled") {
            std::printf("%d\n", IsWindowEnabled(w) ? 1 : 0);
        } else {
            char text[512] = {};
            GetWindowTextA(GetWindow(w, GW_OWNER), text, sizeof text);
            std::printf("%s\n", text);
        }
        return 0;
    }
    if (cmd == "message") {
        // The message box's text is its static control (the one without an ID of a button).
        HWND w = nullptr;
        for (HWND h : topLevel(title, "#32770")) w = h;
        if (!w) return 1;
        HWND text = GetDlgItem(w, 0xFFFF);
        if (!text) return 1;
        char buffer[2048] = {};
        GetWindowTextA(text, buffer, sizeof buffer);
        std::printf("%s\n", buffer);
        return 0;
    }
    if (argc < 4) return 2;
    HWND c = controlOf(title, argv[3]);
    if (!c) return 1;
    if (cmd == "redraw") {
        return RedrawWindow(c, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW) ? 0 : 1;
    }
    if (cmd == "visible") {
        std::printf("%d\n", IsWindowVisible(c) ? 1 : 0);
        return 0;
    }
    if (cmd == "checked") {
        DWORD_PTR state = 0;
        if (!SendMessageTimeoutW(c, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state)) return 1;
        std::printf("%d\n", state == BST_CHECKED ? 1 : 0);
        return 0;
    }
    if (cmd == "center") {
        printCenter(c);
        return 0;
    }
    if (cmd == "rect") {
        RECT rc;
        GetWindowRect(c, &rc);
        std::printf("%ld %ld %ld %ld\n", rc.left, rc.top, rc.right, rc.bottom);
        return 0;
    }
    if (cmd == "text") {
        std::printf("%s\n", controlText(c).c_str());
        return 0;
    }
    if (cmd == "watch" && argc > 4) {
        // One process samples as often as the control's owner answers: a fast change is not
        // missed between two starts of this program.
        const DWORD limit = static_cast<DWORD>((argc > 5 ? std::atof(argv[5]) : 30.0) * 1000);
        const DWORD start = GetTickCount();
        std::string last = controlText(c);
        std::printf("%s\n", last.c_str());
        std::fflush(stdout);
        while (IsWindow(c) && !one(argv[4]) && GetTickCount() - start < limit) {
            Sleep(10);
            const std::string now = controlText(c);
            if (now == last) continue;
            last = now;
            std::printf("%s\n", last.c_str());
            std::fflush(stdout);
        }
        return 0;
    }
    if (cmd == "utext") {
        DWORD_PTR length = 0;
        SendMessageTimeoutW(c, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
        std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
        DWORD_PTR got = 0;
        SendMessageTimeoutW(c, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(&buffer[0]), SMTO_ABORTIFHUNG,
                            5000, &got);
        buffer.resize(static_cast<std::size_t>(got));
        std::printf("%s\n", zav::toUtf8(buffer).c_str());
        return 0;
    }
    if (cmd == "items") {
        // The list view belongs to another process: read it as the program reads any list view.
        auto capture = zav::ListViewSource::openListViewBuffers(zav::gridTargetOf(reinterpret_cast<zav::WindowHandle>(c)));
        zav::ListViewInfo info;
        info.hWnd = reinterpret_cast<zav::WindowHandle>(c);
        if (!capture->readListViewInfo(info)) return 1;
        for (int row = 1; row <= info.lItemCount; ++row) {
            std::string line;
            for (int col = 1; col <= info.lColumnCount; ++col) {
                if (col > 1) line += " | ";
                line += zav::toAnsi(capture->getCellText(row, col));
            }
            std::printf("%s\n", line.c_str());
        }
        return 0;
    }
    return 2;
}
