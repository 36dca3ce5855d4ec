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

#include <string>

#include "../capture/HostWindow.h"

namespace {

const char* g_log = nullptr;
bool g_ordered = true;

// The four frames (IDs 100 to 103), each made before its control (IDs 200 to 203).
void fill(HWND page, const std::wstring& p) {
    for (int i = 0; i < 4; ++i) {
        HWND frame = CreateWindowExW(0, L"Button", (L"Frame " + std::to_wstring(i + 1)).c_str(),
                                     WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 10 + 150 * i, 5, 140, 150, page,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i)), nullptr, nullptr);
        static const wchar_t* const classes[] = {WC_LISTVIEWW, WC_TREEVIEWW, L"ListBox", L"ComboBox"};
        static const DWORD styles[] = {LVS_REPORT | WS_BORDER, TVS_HASLINES | WS_BORDER, WS_BORDER | LBS_NOTIFY, CBS_DROPDOWNLIST};
        HWND control = zavhost::makeChild(page, classes[i], styles[i], 25 + 150 * i, 30, 110, 110, 200 + i);
        if (i == 0) {
            zavhost::addColumn(control, 0, 60, L"Name");
            zavhost::addColumn(control, 1, 60, L"Size");
            zavhost::addRow(control, 0, {p + L"alpha", L"1"});
            zavhost::addRow(control, 1, {p + L"beta", L"2"});
        } else if (i == 1) {
            zavhost::addItem(control, zavhost::addItem(control, nullptr, p + L"root"), p + L"leaf");
        } else {
            for (const wchar_t* line : {L"one", L"two"})
                SendMessageW(control, i == 2 ? LB_ADDSTRING : CB_ADDSTRING, 0, reinterpret_cast<LPARAM>((p + line).c_str()));
        }
        for (HWND w = GetWindow(control, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
            if (w == frame) g_ordered = false;
    }
}

INT_PTR CALLBACK pageProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            fill(hWnd, lParam ? L"s-" : L"d-");  // the dialog's lParam is 0; a page's, its PROPSHEETPAGE
            return TRUE;
        case WM_CONTEXTMENU: {
            const HWND at = reinterpret_cast<HWND>(wParam);
            zavhost::record(g_log, "context " + std::to_string(at == hWnd ? 0 : GetDlgCtrlID(at)));
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
    zavhost::record(g_log, g_ordered ? "ready" : "a frame lies below its control");
    return zavhost::messageLoop(true, 0, sheet);
}
