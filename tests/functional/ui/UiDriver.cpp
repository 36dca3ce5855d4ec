// Looks at the program's windows for the end-to-end test: where a control is on the screen (so
// that xdotool can move the real mouse there), what a control or message box says, and the items
// of a list view. It never clicks or types itself.
//
//   zav_uidriver.exe wait TITLE [SECONDS]        waits for a visible top-level window; prints its handle
//   zav_uidriver.exe gone TITLE [SECONDS]        waits until no visible window has that title
//   zav_uidriver.exe onecopy                     1 while a copy of the program holds its one-copy mutex
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
//   zav_uidriver.exe clip read TEXT-FILE HTML-FILE
//                                                writes the clipboard's Unicode text as UTF-8 (without
//                                                its ending zero) and its "HTML Format" data as its
//                                                bytes up to the zero; a format that is not on the
//                                                clipboard leaves its file absent
//   zav_uidriver.exe clip set TEXT               empties the clipboard and puts TEXT on it as Unicode
//                                                text only
//
// Exit code 0 on success, 1 when the window or control is not there (after waiting, for wait) or
// the clipboard could not be opened or written, 2 for a command it does not know or too few
// arguments.
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

std::string titleOf(HWND h) {
    char text[2048] = {};
    GetWindowTextA(h, text, sizeof text);
    return text;
}

std::string classOf(HWND h) {
    char cls[256] = {};
    GetClassNameA(h, cls, sizeof cls);
    return cls;
}

// What a window search asks for: a visible window of that title and/or class (nullptr: any), or,
// among a window's descendants, the first visible one of that class or caption; `all` finds more.
struct Search {
    const char* title;
    const char* className;
    bool all = true;
    std::vector<HWND> found;
};

// A named function, not a lambda: the 32-bit callbacks' calling convention is not a lambda's.
BOOL CALLBACK match(HWND h, LPARAM p) {
    auto* s = reinterpret_cast<Search*>(p);
    if (!IsWindowVisible(h) || (s->title && titleOf(h) != s->title) || (s->className && classOf(h) != s->className))
        return TRUE;
    s->found.push_back(h);
    return s->all;
}

std::vector<HWND> topLevel(const char* title, const char* className = nullptr) {
    Search s{title, className, true, {}};
    EnumWindows(match, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND one(const char* title) {
    const auto w = topLevel(title);
    return w.empty() ? nullptr : w.front();
}

HWND descendant(HWND top, const char* caption, const char* className) {
    Search s{caption, className, false, {}};
    EnumChildWindows(top, match, reinterpret_cast<LPARAM>(&s));
    return s.found.empty() ? nullptr : s.found.front();
}

int print(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);  // a watching script reads each line as it comes
    return 0;
}

// Left top right bottom of the window on the screen, or its centre.
int printRect(HWND h, bool centre = false) {
    RECT rc;
    GetWindowRect(h, &rc);
    if (centre) std::printf("%ld %ld\n", (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    else std::printf("%ld %ld %ld %ld\n", rc.left, rc.top, rc.right, rc.bottom);
    return 0;
}

// WM_GETTEXT, not GetWindowText: the control belongs to another process. The text may grow
// between the two messages (a progress line that gains a digit): a text that fills the room is
// asked for again with more.
template <class Char>
std::basic_string<Char> controlText(HWND c) {
    const auto send = sizeof(Char) == 1 ? SendMessageTimeoutA : SendMessageTimeoutW;
    DWORD_PTR length = 0;
    send(c, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::basic_string<Char> buffer(static_cast<std::size_t>(length) + 16, Char());
    for (;;) {
        DWORD_PTR got = 0;
        send(c, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(&buffer[0]), SMTO_ABORTIFHUNG, 5000, &got);
        if (static_cast<std::size_t>(got) + 1 < buffer.size()) return buffer.substr(0, static_cast<std::size_t>(got));
        buffer.assign(buffer.size() * 2, Char());
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
        print("product " + versionString(data, "ProductName"));
        print("version " + versionString(data, "ProductVersion"));
        print("file version " + versionString(data, "FileVersion"));
    } else {
        print("no version resource");
    }
    HMODULE module = LoadLibraryExA(file, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return 1;
    print(std::string("icon ") + (FindResourceA(module, MAKEINTRESOURCEA(1), RT_GROUP_ICON) ? "yes" : "no"));
    std::string manifest;
    if (HRSRC r = FindResourceA(module, MAKEINTRESOURCEA(1), RT_MANIFEST)) {
        if (HGLOBAL g = LoadResource(module, r))
            manifest.assign(static_cast<const char*>(LockResource(g)), SizeofResource(module, r));
    }
    const auto at = manifest.find("<dpiAware");
    const auto value = manifest.find('>', at);
    print("dpiAware " + (at == std::string::npos || value == std::string::npos
                             ? std::string("none")
                             : manifest.substr(value + 1, manifest.find('<', value) - value - 1)));
    FreeLibrary(module);
    return 0;
}

// Waits until a window titled `title` is there (`present`) or is not; prints the handle it waited for.
int waitFor(const char* title, const char* seconds, bool present) {
    const DWORD limit = static_cast<DWORD>((seconds ? std::atof(seconds) : 30.0) * 1000);
    for (const DWORD start = GetTickCount();; Sleep(50)) {
        HWND h = one(title);
        if (present && h) return print(std::to_string(static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(h))));
        if (!present && !h) return 0;
        if (GetTickCount() - start > limit) return 1;
    }
}

int focus(HWND w) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info)) return 1;
    if (info.hwndFocus == w) return print("0");
    HWND c = childOf(w, info.hwndFocus);
    return print(c ? std::to_string(GetDlgCtrlID(c)) : "-");
}

int watch(HWND c, const char* until, const char* seconds) {
    // One process samples as often as the control's owner answers: a fast change is not missed
    // between two starts of this program.
    const DWORD limit = static_cast<DWORD>((seconds ? std::atof(seconds) : 30.0) * 1000);
    const DWORD start = GetTickCount();
    std::string last = controlText<char>(c);
    print(last);
    while (IsWindow(c) && !one(until) && GetTickCount() - start < limit) {
        Sleep(10);
        const std::string now = controlText<char>(c);
        if (now != last) print(last = now);
    }
    return 0;
}

int items(HWND c) {
    // The list view belongs to another process: read it as the program reads any list view.
    const auto window = reinterpret_cast<zav::WindowHandle>(c);
    auto capture = zav::ListViewSource::openListViewBuffers(zav::gridTargetOf(window));
    zav::ListViewInfo info;
    info.hWnd = window;
    if (!capture->readListViewInfo(info)) return 1;
    for (int row = 1; row <= info.lItemCount; ++row) {
        std::string line;
        for (int col = 1; col <= info.lColumnCount; ++col)
            line += (col > 1 ? " | " : "") + zav::toAnsi(capture->getCellText(row, col));
        print(line);
    }
    return 0;
}

// The clipboard, read and set by the tests' own code, independent of the program's.
bool openClipboard() {
    for (int attempt = 0; attempt < 40; ++attempt, Sleep(50))
        if (OpenClipboard(nullptr)) return true;
    std::fprintf(stderr, "zav_uidriver: OpenClipboard failed (%lu)\n", GetLastError());
    return false;
}

bool writeFile(const char* path, const void* data, std::size_t size) {
    FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

int readClipboard(const char* textPath, const char* htmlPath) {
    DeleteFileA(textPath);
    DeleteFileA(htmlPath);
    if (!openClipboard()) return 1;
    int status = 0;
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        const auto* text = static_cast<const wchar_t*>(GlobalLock(h));
        const std::string utf8 = zav::toUtf8(std::wstring(text, wcsnlen(text, GlobalSize(h) / sizeof(wchar_t))));
        GlobalUnlock(h);
        if (!writeFile(textPath, utf8.data(), utf8.size())) status = 1;
    }
    if (HANDLE h = GetClipboardData(RegisterClipboardFormatW(L"HTML Format"))) {
        const auto* bytes = static_cast<const char*>(GlobalLock(h));
        if (!writeFile(htmlPath, bytes, strnlen(bytes, GlobalSize(h)))) status = 1;
        GlobalUnlock(h);
    }
    CloseClipboard();
    return status;
}

int setClipboard(const std::wstring& text) {
    if (!openClipboard()) return 1;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(h), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(h);
    const bool ok = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, h);
    CloseClipboard();
    return ok ? 0 : 1;
}

// What a command works on, found before it runs from the words after the command: nothing; the
// first visible top-level window titled argv[2] (Top) or the last one (Last, the newest of a
// program's message boxes); or its control of ID argv[3] (Control; ID 0: the window itself). A
// target not there ends the program with 1.
enum class Target { None, Top, Last, Control };

struct Command {
    const char* name;
    Target target;
    int words;  // the least argc it takes
    int (*run)(HWND target, int argc, char** argv);
};

const Command kCommands[] = {
    {"wait", Target::None, 3, [](HWND, int argc, char** argv) { return waitFor(argv[2], argc > 3 ? argv[3] : nullptr, true); }},
    {"gone", Target::None, 3, [](HWND, int argc, char** argv) { return waitFor(argv[2], argc > 3 ? argv[3] : nullptr, false); }},
    // The mutex's name is the one main_win32.cpp makes.
    {"onecopy", Target::None, 2,
     [](HWND, int, char**) {
         HANDLE m = OpenMutexW(SYNCHRONIZE, FALSE, L"Local\\ZAVExport.OneCopy");
         if (m) CloseHandle(m);
         return print(m ? "1" : "0");
     }},
    {"count", Target::None, 3, [](HWND, int, char** argv) { return print(std::to_string(topLevel(argv[2]).size())); }},
    {"menus", Target::None, 2, [](HWND, int, char**) { return print(std::to_string(topLevel(nullptr, "#32768").size())); }},
    {"menurect", Target::None, 2,
     [](HWND, int, char**) {
         const auto menus = topLevel(nullptr, "#32768");
         return menus.size() == 1 ? printRect(menus[0]) : 1;
     }},
    {"toprect", Target::None, 3,
     [](HWND, int, char** argv) {
         const auto windows = topLevel(nullptr, argv[2]);
         return windows.empty() ? 1 : printRect(windows[0]);
     }},
    {"foreground", Target::None, 2, [](HWND, int, char**) { return print(titleOf(GetForegroundWindow())); }},
    {"above", Target::None, 4,
     [](HWND, int, char** argv) {
         // EnumWindows lists top-level windows from the top of the z-order down.
         HWND first = one(argv[2]), second = one(argv[3]);
         for (HWND h : topLevel(nullptr))
             if (first && second && (h == first || h == second)) return h == first ? 0 : 1;
         return 1;
     }},
    {"fileinfo", Target::None, 3, [](HWND, int, char** argv) { return fileInfo(argv[2]); }},
    // A control of a program not our own, found by its class at any depth below the window.
    {"classrect", Target::Top, 4,
     [](HWND w, int, char** argv) {
         HWND found = descendant(w, nullptr, argv[3]);
         return found ? printRect(found) : 1;
     }},
    {"button", Target::Top, 4,
     [](HWND w, int, char** argv) {
         HWND found = descendant(w, argv[3], nullptr);
         return found ? printRect(found, true) : 1;
     }},
    {"close", Target::Top, 3, [](HWND w, int, char**) { PostMessageA(w, WM_CLOSE, 0, 0); return 0; }},
    {"hang", Target::Top, 3, [](HWND w, int, char**) { PostMessageA(w, WM_APP, 0, 0); return 0; }},
    {"endsession", Target::Top, 3,
     [](HWND w, int, char**) {
         DWORD_PTR answer = 0;
         SendMessageTimeoutA(w, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000, &answer);
         print(std::to_string(static_cast<int>(answer)));
         SendMessageTimeoutA(w, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000, nullptr);
         return 0;
     }},
    {"focus", Target::Top, 3, [](HWND w, int, char**) { return focus(w); }},
    {"owner", Target::Last, 3, [](HWND w, int, char**) { return print(titleOf(GetWindow(w, GW_OWNER))); }},
    {"enabled", Target::Last, 3, [](HWND w, int, char**) { return print(IsWindowEnabled(w) ? "1" : "0"); }},
    {"message", Target::None, 3,
     [](HWND, int, char** argv) {
         // The message box's text is its static control (the one without an ID of a button).
         const auto boxes = topLevel(argv[2], "#32770");
         HWND text = boxes.empty() ? nullptr : GetDlgItem(boxes.back(), 0xFFFF);
         return text ? print(titleOf(text)) : 1;
     }},
    {"redraw", Target::Control, 4,
     [](HWND c, int, char**) { return RedrawWindow(c, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW) ? 0 : 1; }},
    {"visible", Target::Control, 4, [](HWND c, int, char**) { return print(IsWindowVisible(c) ? "1" : "0"); }},
    {"checked", Target::Control, 4,
     [](HWND c, int, char**) {
         DWORD_PTR state = 0;
         if (!SendMessageTimeoutW(c, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state)) {
             std::fputs("zav_uidriver: the check box did not answer within 5 s\n", stderr);
             return 1;
         }
         return print(state == BST_CHECKED ? "1" : "0");
     }},
    {"center", Target::Control, 4, [](HWND c, int, char**) { return printRect(c, true); }},
    {"rect", Target::Control, 4, [](HWND c, int, char**) { return printRect(c); }},
    {"text", Target::Control, 4, [](HWND c, int, char**) { return print(controlText<char>(c)); }},
    {"utext", Target::Control, 4, [](HWND c, int, char**) { return print(zav::toUtf8(controlText<wchar_t>(c))); }},
    {"watch", Target::Control, 5, [](HWND c, int argc, char** argv) { return watch(c, argv[4], argc > 5 ? argv[5] : nullptr); }},
    {"items", Target::Control, 4, [](HWND c, int, char**) { return items(c); }},
    {"clip", Target::None, 4,
     [](HWND, int argc, char** argv) {
         if (argc == 5 && std::strcmp(argv[2], "read") == 0) return readClipboard(argv[3], argv[4]);
         return argc == 4 && std::strcmp(argv[2], "set") == 0 ? setClipboard(zav::fromAnsi(argv[3])) : 2;
     }},
};

}  // namespace

int main(int argc, char** argv) {
    for (const Command& command : kCommands) {
        if (argc < 2 || std::strcmp(argv[1], command.name) != 0) continue;
        if (argc < command.words) return 2;
        HWND target = nullptr;
        if (command.target == Target::Top || command.target == Target::Control) target = one(argv[2]);
        if (command.target == Target::Last)
            for (HWND h : topLevel(argv[2])) target = h;
        if (target && command.target == Target::Control && std::atoi(argv[3]) != 0) {
            target = GetDlgItem(target, std::atoi(argv[3]));
            if (!target) std::fprintf(stderr, "zav_uidriver: [%s] has no control %s\n", argv[2], argv[3]);
        } else if (!target && command.target == Target::Control) {
            std::fprintf(stderr, "zav_uidriver: no window [%s]\n", argv[2]);
        }
        if (!target && command.target != Target::None) return 1;
        return command.run(target, argc, argv);
    }
    return 2;
}
