// A host whose list view, tree view, list box and combo box each lie under a frame (a group box)
// declared before them, so that the frame is on top in the window order, as in most dialogs: once
// in a dialog ("Frames dialog"), once on a property page ("Frames sheet"). Their lines begin with
// "d-" in the dialog and "s-" on the page.
//
//   zav_frameshost.exe LOG-FILE
//
// LOG-FILE gets "ready" once both windows are up with every frame above its control, then
// "context ID" for each context-menu request that reaches a window of the host (ID 0: the dialog
// or page itself). The host ends when the dialog is closed.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <cstdio>
#include <string>

namespace {

const char* g_log = nullptr;
bool g_ordered = true;

void record(const std::string& line) {
    if (FILE* f = std::fopen(g_log, "ab")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

HWND child(HWND parent, const wchar_t* cls, DWORD style, int x, int w, int h, int id) {
    return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, x, 30, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

// The four frames (IDs 100 to 103), each made before its control (IDs 200 to 203).
void fill(HWND page, const std::wstring& p) {
    HWND controls[4];
    HWND frames[4];
    for (int i = 0; i < 4; ++i) {
        frames[i] = CreateWindowExW(0, L"Button", (L"Frame " + std::to_wstring(i + 1)).c_str(),
                                    WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 10 + 150 * i, 5, 140, 150, page,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i)), nullptr, nullptr);
        const int x = 25 + 150 * i;
        if (i == 0) {
            controls[i] = child(page, WC_LISTVIEWW, LVS_REPORT | WS_BORDER, x, 110, 110, 200);
            LVCOLUMNW col = {};
            col.mask = LVCF_TEXT | LVCF_WIDTH;
            col.cx = 60;
            col.pszText = const_cast<wchar_t*>(L"Name");
            SendMessageW(controls[i], LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&col));
            col.pszText = const_cast<wchar_t*>(L"Size");
            SendMessageW(controls[i], LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&col));
            const std::wstring rows[2][2] = {{p + L"alpha", L"1"}, {p + L"beta", L"2"}};
            for (int r = 0; r < 2; ++r) {
                LVITEMW item = {};
                item.mask = LVIF_TEXT;
                item.iItem = r;
                item.pszText = const_cast<wchar_t*>(rows[r][0].c_str());
                SendMessageW(controls[i], LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
                item.iSubItem = 1;
                item.pszText = const_cast<wchar_t*>(rows[r][1].c_str());
                SendMessageW(controls[i], LVM_SETITEMTEXTW, r, reinterpret_cast<LPARAM>(&item));
            }
        } else if (i == 1) {
            controls[i] = child(page, WC_TREEVIEWW, TVS_HASLINES | WS_BORDER, x, 110, 110, 201);
            const std::wstring root = p + L"root", leaf = p + L"leaf";
            TVINSERTSTRUCTW ins = {};
            ins.hInsertAfter = TVI_LAST;
            ins.item.mask = TVIF_TEXT;
            ins.item.pszText = const_cast<wchar_t*>(root.c_str());
            ins.hParent = reinterpret_cast<HTREEITEM>(SendMessageW(controls[i], TVM_INSERTITEMW, 0,
                                                                   reinterpret_cast<LPARAM>(&ins)));
            ins.item.pszText = const_cast<wchar_t*>(leaf.c_str());
            SendMessageW(controls[i], TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins));
        } else {
            const bool list = i == 2;
            controls[i] = child(page, list ? L"ListBox" : L"ComboBox",
                                list ? WS_BORDER | LBS_NOTIFY : CBS_DROPDOWNLIST, x, 110, 110, 200 + i);
            for (const wchar_t* line : {L"one", L"two"})
                SendMessageW(controls[i], list ? LB_ADDSTRING : CB_ADDSTRING, 0,
                             reinterpret_cast<LPARAM>((p + line).c_str()));
        }
    }
    for (int i = 0; i < 4; ++i)
        for (HWND w = GetWindow(controls[i], GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
            if (w == frames[i]) g_ordered = false;
}

INT_PTR CALLBACK pageProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG: {
            // The dialog gets its own prefix; a page's lParam is its PROPSHEETPAGE.
            fill(hWnd, lParam ? L"s-" : L"d-");
            return TRUE;
        }
        case WM_CONTEXTMENU: {
            const HWND at = reinterpret_cast<HWND>(wParam);
            record("context " + std::to_string(at == hWnd ? 0 : GetDlgCtrlID(at)));
            return TRUE;
        }
        case WM_CLOSE: PostQuitMessage(0); return TRUE;
        default: return FALSE;
    }
}

// An empty dialog template: no controls (they are made on WM_INITDIALOG), no font.
struct alignas(4) Template {
    DLGTEMPLATE head;
    WORD menu = 0, cls = 0;
    wchar_t title[16];
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    g_log = argv[1];
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);

    Template dialog = {{WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 0, 0, 40, 20, 420, 90}, 0, 0, L"Frames dialog"};
    HWND dlg = CreateDialogIndirectParamW(nullptr, &dialog.head, nullptr, pageProc, 0);

    Template page = {{WS_CHILD | DS_CONTROL, 0, 0, 0, 0, 420, 90}, 0, 0, L""};
    PROPSHEETPAGEW psp = {};
    psp.dwSize = sizeof psp;
    psp.dwFlags = PSP_DLGINDIRECT;
    psp.pResource = &page.head;
    psp.pfnDlgProc = pageProc;
    psp.lParam = 1;
    PROPSHEETHEADERW psh = {};
    psh.dwSize = sizeof psh;
    psh.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_NOAPPLYNOW;
    psh.pszCaption = L"Frames sheet";
    psh.nPages = 1;
    psh.ppsp = &psp;
    HWND sheet = reinterpret_cast<HWND>(PropertySheetW(&psh));
    if (!dlg || !sheet) return 1;
    SetWindowPos(dlg, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(sheet, nullptr, 20, 330, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    record(g_ordered ? "ready" : "a frame lies below its control");
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (PropSheet_IsDialogMessage(sheet, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
