// Looks at the program's windows for the end-to-end test: where a control is on the screen (so
// that xdotool can move the real mouse there), what a control or message box says, and the items
// of a list view. It never clicks or types itself.
//
//   zav_uidriver.exe wait TITLE [SECONDS]        waits for a visible top-level window; prints its handle
//   zav_uidriver.exe gone TITLE [SECONDS]        waits until no visible window has that title
//   zav_uidriver.exe count TITLE                 visible top-level windows with that title
//   zav_uidriver.exe menus                       visible popup menus
//   zav_uidriver.exe center TITLE ID             screen centre of the control with that ID
//   zav_uidriver.exe button TITLE CAPTION        screen centre of the button with that caption
//   zav_uidriver.exe rect TITLE ID               left top right bottom of the control, screen pixels
//   zav_uidriver.exe text TITLE ID               the control's text (ID 0: the window's own)
//   zav_uidriver.exe message TITLE               the text of a message box with that title
//   zav_uidriver.exe items TITLE ID              the list view's rows, cells separated by " | "
//   zav_uidriver.exe close TITLE                 posts WM_CLOSE to the window
//
// Exit code 0 on success, 1 when the window or control is not there (after waiting, for wait).
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "capture/win32/ListViewCapture.h"
#include "text/Ansi.h"

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
    if (cmd == "count") {
        std::printf("%u\n", static_cast<unsigned>(topLevel(title).size()));
        return 0;
    }
    if (cmd == "menus") {
        std::printf("%u\n", static_cast<unsigned>(topLevel(nullptr, "#32768").size()));
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
        // WM_GETTEXT, not GetWindowText: the control belongs to another process.
        DWORD_PTR length = 0;
        SendMessageTimeoutA(c, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
        std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
        DWORD_PTR got = 0;
        SendMessageTimeoutA(c, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(&buffer[0]), SMTO_ABORTIFHUNG,
                            5000, &got);
        std::printf("%s\n", buffer.c_str());
        return 0;
    }
    if (cmd == "items") {
        // The list view belongs to another process: read it as the program reads any list view.
        auto capture = zav::ListViewCapture::open(reinterpret_cast<zav::WindowHandle>(c));
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
