// A host of a tree view for the capture tests and the end-to-end tests: one top-level window
// "ZavTreeHost" with a tree (control 1). Without arguments the tree is nested three levels deep,
// with a collapsed branch, Unicode items (an emoji among them), an empty item and one of 10,000
// characters. "big N [MS]" fills it with N items instead (roots of 999 children each), each item
// that another program reads answered MS milliseconds late (a small tree read as slowly as a large
// one); "deep N" with a chain of N items each the child of the one before; "checks 1" with the
// nested items behind check boxes (TVS_CHECKBOXES), "beta", "epsilon" and "omega" checked. "count 1"
// and "loop 1" hold nine items (roots a, b, c of two children each: a1, a2, ...) and lie to other
// processes: "count" answers TVM_GETCOUNT with 2^31-1, "loop" answers TVGN_CHILD of the leaf a2 with
// the root a. A
// posted WM_APP makes it stop answering (it sleeps), for the hung-target tests.
#include <windows.h>
#include <commctrl.h>

#include <cwchar>
#include <string>

#include "HostWindow.h"

namespace {

using zavhost::addItem;

WNDPROC g_treeProc = nullptr;
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
    return CallWindowProcW(g_treeProc, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK hostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) PostQuitMessage(0);
    if (msg == WM_SIZE) MoveWindow(GetDlgItem(hwnd, 1), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
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

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    zavhost::registerClass(L"ZavTreeHostWindow", hostProc);
    HWND top = CreateWindowExW(0, L"ZavTreeHostWindow", L"ZavTreeHost", WS_OVERLAPPEDWINDOW, 40, 40, 420, 360, nullptr,
                               nullptr, instance, nullptr);
    RECT client = {};
    GetClientRect(top, &client);
    HWND tree = zavhost::makeChild(top, WC_TREEVIEWW, WS_BORDER | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT, 0, 0,
                                   client.right, client.bottom, 1);
    wchar_t mode[16] = {};
    long count = 0;
    unsigned long pace = 0;
    if (std::swscanf(commandLine, L"%15ls %ld %lu", mode, &count, &pace) >= 2 && count > 0) {
        const std::wstring m = mode;
        g_pace = pace;
        SendMessageW(tree, WM_SETREDRAW, FALSE, 0);
        if (m == L"big") fillBig(tree, count);
        HTREEITEM parent = nullptr;  // "deep": each item the child of the one before
        for (long i = 1; i <= count && m == L"deep"; ++i) parent = addItem(tree, parent, L"d" + std::to_wstring(i));
        if (m == L"checks") fillNested(tree, true);
        if (m == L"count" || m == L"loop") fillLying(tree, m == L"loop");
        SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
    } else {
        fillNested(tree, false);
    }
    if (g_pace || g_lieCount || g_loopFrom)
        g_treeProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(treeProc)));
    // Shown only once it is filled: a visible window means a whole tree.
    ShowWindow(top, SW_SHOW);
    return zavhost::messageLoop(true, WM_APP);
}
