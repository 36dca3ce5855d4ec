// The host of single controls for the capture tests and the end-to-end tests: one top-level
// window, of the class of its title with "Window" after it.
//
//   zav_ctlhost.exe [MODE [N [MS]]]
//
// "listbox": "ZavListBoxHost" with a list box of Unicode lines and a long one (control 1), a combo
// box (control 2) and an owner-drawn list box that keeps no strings (control 3). Controls 4 to 8
// hold five short lines each and lie to other processes: 4 answers LB_GETCOUNT with 2^31-1, 5 and 8
// answer LB_GETTEXTLEN with 2^31-1 and -5, 6 with two less than its text, and 7 answers LB_GETTEXT
// with 100,000 once its text is copied.
//
// Otherwise "ZavTreeHost" with a tree (control 1). Without a MODE the tree is nested three levels
// deep, with a collapsed branch, Unicode items (an emoji among them), an empty item and one of
// 10,000 characters. "big N [MS]" fills it with N items instead (roots of 999 children each), each
// item that another program reads answered MS milliseconds late (a small tree read as slowly as a
// large one); "deep N" with a chain of N items each the child of the one before; "checks 1" with
// the nested items behind check boxes (TVS_CHECKBOXES), "beta", "epsilon" and "omega" checked.
// "count 1" and "loop 1" hold nine items (roots a, b, c of two children each: a1, a2, ...) and lie
// to other processes: "count" answers TVM_GETCOUNT with 2^31-1, "loop" answers TVGN_CHILD of the
// leaf a2 with the root a.
//
// A posted WM_APP makes it stop answering (it sleeps), for the hung-target tests.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <string>

#include "HostWindow.h"

namespace {

using zavhost::addItem;

WNDPROC g_controlProc = nullptr;  // the procedure of the lying controls' class
bool g_listBoxes = false;
DWORD g_pace = 0;
bool g_lieCount = false;
HTREEITEM g_loopFrom = nullptr, g_loopTo = nullptr;

// Paced answers and lies, told only to other threads and processes (the tree's painting asks too).
LRESULT CALLBACK treeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (InSendMessage()) {
        if (g_pace && (msg == TVM_GETITEMW || msg == TVM_GETITEMA)) Sleep(g_pace);
        if (msg == TVM_GETCOUNT && g_lieCount) return 0x7FFFFFFF;
        if (msg == TVM_GETNEXTITEM && wParam == TVGN_CHILD && g_loopFrom && reinterpret_cast<HTREEITEM>(lParam) == g_loopFrom)
            return reinterpret_cast<LRESULT>(g_loopTo);
    }
    return CallWindowProcW(g_controlProc, hwnd, msg, wParam, lParam);
}

// The lies of list boxes 4 to 8, told only to messages sent from elsewhere (the list box's own
// painting asks too).
LRESULT CALLBACK lyingListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT truth = CallWindowProcW(g_controlProc, hwnd, msg, wParam, lParam);
    if (!InSendMessage()) return truth;
    const int id = GetDlgCtrlID(hwnd);
    if (msg == LB_GETCOUNT && id == 4) return 0x7FFFFFFF;
    if (msg == LB_GETTEXTLEN && truth >= 0 && id != 4 && id != 7) return id == 5 ? 0x7FFFFFFF : id == 6 ? std::max<LRESULT>(truth - 2, 0) : -5;
    if (msg == LB_GETTEXT && id == 7 && truth >= 0) return 100000;
    return truth;
}

LRESULT CALLBACK hostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) PostQuitMessage(0);
    if (msg == WM_SIZE && !g_listBoxes) MoveWindow(GetDlgItem(hwnd, 1), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    if (msg == WM_MEASUREITEM) {
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 16;
        return TRUE;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void fillListBoxes(HWND top) {
    const auto fill = [](HWND box, UINT add, std::initializer_list<std::wstring> lines) {
        for (const std::wstring& line : lines) SendMessageW(box, add, 0, reinterpret_cast<LPARAM>(line.c_str()));
    };
    const DWORD style = WS_BORDER | WS_VSCROLL;
    fill(zavhost::makeChild(top, L"LISTBOX", style, 10, 10, 180, 150, 1), LB_ADDSTRING,
         {L"alpha", L"gr\u00fc\u00dfe \u4e2d\u6587 \U0001F600", L"", L"<" + std::wstring(9998, L'\u00e9') + L">", L"omega"});
    fill(zavhost::makeChild(top, L"COMBOBOX", style | CBS_DROPDOWNLIST, 200, 10, 180, 150, 2), CB_ADDSTRING,
         {L"\u00e9t\u00e9 \u0416", L"second"});
    HWND drawn = zavhost::makeChild(top, L"LISTBOX", style | LBS_OWNERDRAWFIXED, 10, 170, 180, 120, 3);
    SendMessageW(drawn, LB_ADDSTRING, 0, 0x1234);
    SendMessageW(drawn, LB_ADDSTRING, 0, 0x5678);
    for (int id = 4; id <= 8; ++id) {
        HWND liar = zavhost::makeChild(top, L"LISTBOX", style, 400, 10 + (id - 4) * 90, 200, 80, id);
        fill(liar, LB_ADDSTRING, {L"one", L"two \u0416", L"", L"four", L"five"});
        g_controlProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(liar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(lyingListProc)));
    }
}

void fillNested(HWND tree, bool checks) {
    const auto check = [&](HTREEITEM item) {
        if (!checks) return;
        TVITEMW state = {};
        state.mask = TVIF_STATE;
        state.hItem = item;
        state.stateMask = TVIS_STATEIMAGEMASK;
        state.state = INDEXTOSTATEIMAGEMASK(2);
        SendMessageW(tree, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&state));
    };
    // The box style is set once the tree is made, as it must be.
    if (checks) SetWindowLongW(tree, GWL_STYLE, GetWindowLongW(tree, GWL_STYLE) | TVS_CHECKBOXES);
    HTREEITEM alpha = addItem(tree, nullptr, L"alpha");
    HTREEITEM beta = addItem(tree, alpha, L"beta");
    check(beta);
    addItem(tree, beta, L"gamma");
    HTREEITEM delta = addItem(tree, alpha, L"delta \u0416\u03a9");  // stays collapsed
    check(addItem(tree, delta, L"epsilon"));
    addItem(tree, delta, L"");
    HTREEITEM unicode = addItem(tree, nullptr, L"gr\u00fc\u00dfe \u4e2d\u6587 \U0001F600");
    addItem(tree, unicode, L"<" + std::wstring(9998, L'\u00e9') + L">");  // 10,000 characters
    check(addItem(tree, nullptr, L"omega"));
    SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(alpha));
    SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(beta));
}

void fillBig(HWND tree, long items) {
    HTREEITEM root = nullptr;
    for (long i = 0, r = 0, c = 0; i < items; ++i) {
        if (root == nullptr || c == 999) {
            root = addItem(tree, nullptr, L"r" + std::to_wstring(++r));
            c = 0;
        } else {
            addItem(tree, root, L"r" + std::to_wstring(r) + L".c" + std::to_wstring(++c));
        }
    }
}

void fillLying(HWND tree, bool loop) {
    for (const wchar_t* root : {L"a", L"b", L"c"}) {
        HTREEITEM r = addItem(tree, nullptr, root);
        addItem(tree, r, std::wstring(root) + L"1");
        HTREEITEM second = addItem(tree, r, std::wstring(root) + L"2");
        if (loop && !g_loopFrom) g_loopFrom = second, g_loopTo = r;
    }
    g_lieCount = !loop;
}

// The tree of `mode` (see above); a mode without a count of 1 or more: the nested tree.
void fillTree(HWND top, const std::wstring& mode, long count, unsigned long pace) {
    RECT client = {};
    GetClientRect(top, &client);
    HWND tree = zavhost::makeChild(top, WC_TREEVIEWW, WS_BORDER | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT, 0, 0,
                                   client.right, client.bottom, 1);
    if (count > 0) {
        g_pace = pace;
        SendMessageW(tree, WM_SETREDRAW, FALSE, 0);
        if (mode == L"big") fillBig(tree, count);
        HTREEITEM parent = nullptr;  // "deep": each item the child of the one before
        for (long i = 1; i <= count && mode == L"deep"; ++i) parent = addItem(tree, parent, L"d" + std::to_wstring(i));
        if (mode == L"checks") fillNested(tree, true);
        if (mode == L"count" || mode == L"loop") fillLying(tree, mode == L"loop");
        SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
    } else {
        fillNested(tree, false);
    }
    if (g_pace || g_lieCount || g_loopFrom)
        g_controlProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(treeProc)));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    wchar_t mode[16] = {};
    long count = 0;
    unsigned long pace = 0;
    if (std::swscanf(commandLine, L"%15ls %ld %lu", mode, &count, &pace) < 2) count = 0;
    g_listBoxes = std::wstring(mode) == L"listbox";
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    const std::wstring title = g_listBoxes ? L"ZavListBoxHost" : L"ZavTreeHost";
    zavhost::registerClass((title + L"Window").c_str(), hostProc);
    HWND top = CreateWindowExW(0, (title + L"Window").c_str(), title.c_str(), WS_OVERLAPPEDWINDOW, 40, 40,
                               g_listBoxes ? 640 : 420, g_listBoxes ? 520 : 360, nullptr, nullptr, instance, nullptr);
    if (g_listBoxes) fillListBoxes(top);
    else fillTree(top, mode, count, pace);
    // Shown only once it is filled: a visible window means whole controls.
    ShowWindow(top, SW_SHOW);
    return zavhost::messageLoop(true, WM_APP);
}
