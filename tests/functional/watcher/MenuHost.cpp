// A list-view host that, like most real programs, opens its own context menu on a right click in
// its list view: on the release, through NM_RCLICK or through WM_CONTEXTMENU. It records what it
// saw and did, so a test can tell whether its click, its menu or its command ever happened.
//
//   zav_menuhost.exe rclick|contextmenu INFO-FILE LOG-FILE
//
// INFO-FILE (written whole once the window is up): "HWND PID LEFT TOP RIGHT BOTTOM TOPLEVEL" of
// the list view, in decimal. LOG-FILE gets one line per event, written at once:
//   press / release        the list view received the right button down / up
//   menu                   the host's own menu is about to open
//   command Open|Delete    a command of that menu ran
//   closed                 the host's menu is closed
// The window stands in the lower right of the screen, clear of the dialogs. The host ends when its
// window is closed.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "../capture/HostWindow.h"

namespace {

bool g_rclick = true;  // else "contextmenu"
const char* g_log = nullptr;
WNDPROC g_listProc = nullptr;
HWND g_top = nullptr;

void showOwnMenu(POINT pt) {
    zavhost::record(g_log, "menu");
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 1, "Open");
    AppendMenuA(menu, MF_STRING, 2, "Delete");
    SetForegroundWindow(g_top);
    const int chosen = static_cast<int>(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x, pt.y, g_top, nullptr));
    PostMessageA(g_top, WM_NULL, 0, 0);
    DestroyMenu(menu);
    zavhost::record(g_log, "closed");
    if (chosen == 1 || chosen == 2) zavhost::record(g_log, chosen == 1 ? "command Open" : "command Delete");
}

LRESULT CALLBACK listProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP) zavhost::record(g_log, msg == WM_RBUTTONDOWN ? "press" : "release");
    return CallWindowProcA(g_listProc, hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK topProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_NOTIFYFORMAT: return NFR_ANSI;
        case WM_NOTIFY:
            if (g_rclick && reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(NM_RCLICK)) {
                POINT pt;
                GetCursorPos(&pt);
                showOwnMenu(pt);
                return TRUE;  // handled: no WM_CONTEXTMENU after it
            }
            break;
        case WM_CONTEXTMENU:
            if (g_rclick) break;
            showOwnMenu(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            return 0;
        case WM_SIZE: MoveWindow(GetWindow(hWnd, GW_CHILD), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE); return 0;
        case WM_CLOSE: DestroyWindow(hWnd); return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || (std::strcmp(argv[1], "rclick") != 0 && std::strcmp(argv[1], "contextmenu") != 0)) {
        std::fprintf(stderr, "usage: zav_menuhost rclick|contextmenu INFO-FILE LOG-FILE\n");
        return 2;
    }
    g_rclick = std::strcmp(argv[1], "rclick") == 0;
    g_log = argv[3];
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    zavhost::registerClass(L"ZavMenuHost", topProc, false);
    g_top = CreateWindowExA(0, "ZavMenuHost", "Menu host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 680, 540, 520, 360, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!g_top) return 3;
    RECT rc;
    GetClientRect(g_top, &rc);
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT, 0, 0, rc.right,
                                rc.bottom, g_top, reinterpret_cast<HMENU>(1), GetModuleHandleA(nullptr), nullptr);
    if (!list) return 4;
    zavhost::addColumn(list, 0, 120, L"File");
    zavhost::addColumn(list, 1, 120, L"Kind");
    zavhost::addRow(list, 0, {L"notes.txt", L"text"});
    zavhost::addRow(list, 1, {L"photo.png", L"image"});
    zavhost::addRow(list, 2, {L"data.csv", L"table"});
    g_listProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc)));
    ShowWindow(g_top, SW_SHOWNORMAL);
    UpdateWindow(g_top);
    if (!zavhost::writeInfo(argv[2], list, g_top)) return 5;
    return zavhost::messageLoop(false);
}
