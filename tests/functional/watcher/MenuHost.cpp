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
#include <string>

namespace {

enum class Mode { RClick, ContextMenu };

Mode g_mode = Mode::RClick;
const char* g_log = nullptr;
WNDPROC g_listProc = nullptr;
HWND g_top = nullptr;

void record(const char* line) {
    FILE* f = std::fopen(g_log, "ab");
    if (!f) return;
    std::fprintf(f, "%s\n", line);
    std::fclose(f);
}

void showOwnMenu(POINT pt) {
    record("menu");
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 1, "Open");
    AppendMenuA(menu, MF_STRING, 2, "Delete");
    SetForegroundWindow(g_top);
    const int chosen = static_cast<int>(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x, pt.y, g_top,
                                                         nullptr));
    PostMessageA(g_top, WM_NULL, 0, 0);
    DestroyMenu(menu);
    record("closed");
    if (chosen == 1) record("command Open");
    if (chosen == 2) record("command Delete");
}

LRESULT CALLBACK listProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_RBUTTONDOWN) record("press");
    if (msg == WM_RBUTTONUP) record("release");
    return CallWindowProcA(g_listProc, hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK topProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_NOTIFYFORMAT:
            return NFR_ANSI;
        case WM_NOTIFY:
            if (g_mode == Mode::RClick && reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(NM_RCLICK)) {
                POINT pt;
                GetCursorPos(&pt);
                showOwnMenu(pt);
                return TRUE;  // handled: no WM_CONTEXTMENU after it
            }
            break;
        case WM_CONTEXTMENU:
            if (g_mode == Mode::ContextMenu) {
                POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
                showOwnMenu(pt);
                return 0;
            }
            break;
        case WM_SIZE: {
            HWND child = GetWindow(hWnd, GW_CHILD);
            if (child) MoveWindow(child, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        }
        case WM_CLOSE:
            DestroyWindow(hWnd);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

HWND createList(HWND parent) {
    RECT rc;
    GetClientRect(parent, &rc);
    HWND lv = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT, 0, 0, rc.right,
                              rc.bottom, parent, reinterpret_cast<HMENU>(1), GetModuleHandleA(nullptr), nullptr);
    if (!lv) return nullptr;
    const char* headers[] = {"File", "Kind"};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        col.cx = 120;
        col.pszText = const_cast<char*>(headers[i]);
        col.iSubItem = i;
        SendMessageA(lv, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&col));
    }
    const char* rows[][2] = {{"notes.txt", "text"}, {"photo.png", "image"}, {"data.csv", "table"}};
    for (int r = 0; r < 3; ++r) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = r;
        item.pszText = const_cast<char*>(rows[r][0]);
        SendMessageA(lv, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        LVITEMA sub = {};
        sub.iSubItem = 1;
        sub.pszText = const_cast<char*>(rows[r][1]);
        SendMessageA(lv, LVM_SETITEMTEXTA, r, reinterpret_cast<LPARAM>(&sub));
    }
    return lv;
}

bool writeInfo(const char* path, HWND list) {
    RECT rc = {};
    GetWindowRect(list, &rc);
    const std::string tmp = std::string(path) + ".tmp";
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return false;
    std::fprintf(f, "%lu %lu %ld %ld %ld %ld %lu\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(list)),
                 static_cast<unsigned long>(GetCurrentProcessId()), rc.left, rc.top, rc.right, rc.bottom,
                 static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(g_top)));
    std::fclose(f);
    return MoveFileExA(tmp.c_str(), path, MOVEFILE_REPLACE_EXISTING) != 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || (std::strcmp(argv[1], "rclick") != 0 && std::strcmp(argv[1], "contextmenu") != 0)) {
        std::fprintf(stderr, "usage: zav_menuhost rclick|contextmenu INFO-FILE LOG-FILE\n");
        return 2;
    }
    g_mode = std::strcmp(argv[1], "rclick") == 0 ? Mode::RClick : Mode::ContextMenu;
    g_log = argv[3];
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    HINSTANCE inst = GetModuleHandleA(nullptr);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = topProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "ZavMenuHost";
    RegisterClassA(&wc);
    g_top = CreateWindowExA(0, "ZavMenuHost", "Menu host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 680, 540, 520, 360,
                            nullptr, nullptr, inst, nullptr);
    if (!g_top) return 3;
    HWND list = createList(g_top);
    if (!list) return 4;
    g_listProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc)));
    ShowWindow(g_top, SW_SHOWNORMAL);
    UpdateWindow(g_top);
    if (!writeInfo(argv[2], list)) return 5;

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
