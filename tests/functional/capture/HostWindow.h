// What the test hosts share: window classes, filling list views and trees, the info and log files
// their tests read, and the message loop.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <cstdio>
#include <string>
#include <vector>

namespace zavhost {

inline void registerClass(const wchar_t* name, WNDPROC proc, bool unicode = true) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = name;
    if (unicode) {
        RegisterClassW(&wc);
        return;
    }
    const std::string ansi(name, name + wcslen(name));  // class names are ASCII
    WNDCLASSA wa = {wc.style, proc, 0, 0, GetModuleHandleA(nullptr), nullptr, wc.hCursor, wc.hbrBackground, nullptr, ansi.c_str()};
    RegisterClassA(&wa);
}

inline HWND makeChild(HWND parent, const wchar_t* cls, DWORD style, int x, int y, int w, int h, int id) {
    return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

inline void addColumn(HWND lv, int index, int width, const std::wstring& text) {
    LVCOLUMNW col = {};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    col.cx = width;
    col.pszText = const_cast<wchar_t*>(text.c_str());
    col.iSubItem = index;
    SendMessageW(lv, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&col));
}

// Row `row` at the end of a report view: its cells (empty ones left unset) and its item data.
inline void addRow(HWND lv, int row, const std::vector<std::wstring>& cells, LPARAM param = 0) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT | (param ? LVIF_PARAM : 0);
    item.iItem = row;
    item.lParam = param;
    item.pszText = const_cast<wchar_t*>(cells.empty() ? L"" : cells[0].c_str());
    SendMessageW(lv, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    for (std::size_t c = 1; c < cells.size(); ++c) {
        if (cells[c].empty()) continue;
        item.iSubItem = static_cast<int>(c);
        item.pszText = const_cast<wchar_t*>(cells[c].c_str());
        SendMessageW(lv, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
}

inline HTREEITEM addItem(HWND tree, HTREEITEM parent, const std::wstring& text) {
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<wchar_t*>(text.c_str());
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

// "HWND PID LEFT TOP RIGHT BOTTOM TOPLEVEL" of `list` in decimal, written through a temporary name
// so that a reader sees it whole.
inline bool writeInfo(const char* path, HWND list, HWND top) {
    RECT rc = {};
    GetWindowRect(list, &rc);
    const std::string tmp = std::string(path) + ".tmp";
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return false;
    std::fprintf(f, "%lu %lu %ld %ld %ld %ld %lu\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(list)),
                 static_cast<unsigned long>(GetCurrentProcessId()), rc.left, rc.top, rc.right, rc.bottom,
                 static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(top)));
    std::fclose(f);
    return MoveFileExA(tmp.c_str(), path, MOVEFILE_REPLACE_EXISTING) != 0;
}

inline void record(const char* log, const std::string& line) {  // one line, written at once
    if (FILE* f = std::fopen(log, "ab")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

// Until WM_QUIT. A posted `hangOn` (when not 0) makes the host stop answering: it sleeps. `sheet`:
// a modeless property sheet whose dialog messages go to it.
inline int messageLoop(bool wide, UINT hangOn = 0, HWND sheet = nullptr) {
    MSG m;
    while ((wide ? GetMessageW(&m, nullptr, 0, 0) : GetMessageA(&m, nullptr, 0, 0)) > 0) {
        if (hangOn && m.message == hangOn) Sleep(INFINITE);
        if (sheet && PropSheet_IsDialogMessage(sheet, &m)) continue;
        TranslateMessage(&m);
        if (wide) DispatchMessageW(&m);
        else DispatchMessageA(&m);
    }
    return 0;
}

}  // namespace zavhost
