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

namespace {

WNDPROC g_treeProc = nullptr;
DWORD g_pace = 0;

LRESULT CALLBACK pacedTreeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if ((msg == TVM_GETITEMW || msg == TVM_GETITEMA) && InSendMessage()) Sleep(g_pace);
    return CallWindowProcW(g_treeProc, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK hostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) PostQuitMessage(0);
    if (msg == WM_SIZE) MoveWindow(GetDlgItem(hwnd, 1), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HTREEITEM add(HWND tree, HTREEITEM parent, const std::wstring& text) {
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<wchar_t*>(text.c_str());
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void fillNested(HWND tree) {
    HTREEITEM alpha = add(tree, nullptr, L"alpha");
    HTREEITEM beta = add(tree, alpha, L"beta");
    add(tree, beta, L"gamma");
    HTREEITEM delta = add(tree, alpha, L"delta \u0416\u03a9");  // stays collapsed
    add(tree, delta, L"epsilon");
    add(tree, delta, L"");
    HTREEITEM unicode = add(tree, nullptr, L"gr\u00fc\u00dfe \u4e2d\u6587 \U0001F600");
    add(tree, unicode, L"<" + std::wstring(9998, L'\u00e9') + L">");  // 10,000 characters
    add(tree, nullptr, L"omega");
    SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(alpha));
    SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(beta));
}

void check(HWND tree, HTREEITEM item) {
    TVITEMW state = {};
    state.mask = TVIF_STATE;
    state.hItem = item;
    state.stateMask = TVIS_STATEIMAGEMASK;
    state.state = INDEXTOSTATEIMAGEMASK(2);
    SendMessageW(tree, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&state));
}

// The nested tree behind check boxes; the box style is set once the tree is made, as it must be.
void fillChecked(HWND tree) {
    SetWindowLongW(tree, GWL_STYLE, GetWindowLongW(tree, GWL_STYLE) | TVS_CHECKBOXES);
    fillNested(tree);
    for (const wchar_t* text : {L"beta", L"epsilon", L"omega"}) {
        // Found by walking the whole tree: every item, depth first.
        HTREEITEM item = TreeView_GetRoot(tree);
        while (item) {
            wchar_t buffer[32] = L"";
            TVITEMW read = {};
            read.mask = TVIF_TEXT;
            read.hItem = item;
            read.pszText = buffer;
            read.cchTextMax = 32;
            SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&read));
            if (std::wcscmp(buffer, text) == 0) check(tree, item);
            HTREEITEM next = TreeView_GetChild(tree, item);
            while (!next && item) {
                next = TreeView_GetNextSibling(tree, item);
                if (!next) item = TreeView_GetParent(tree, item);
            }
            item = next;
        }
    }
}

void fillBig(HWND tree, long items) {
    HTREEITEM root = nullptr;
    wchar_t text[64];
    for (long i = 0, r = 0, c = 0; i < items; ++i) {
        if (root == nullptr || c == 999) {
            std::swprintf(text, 64, L"r%ld", ++r);
            root = add(tree, nullptr, text);
            c = 0;
        } else {
            std::swprintf(text, 64, L"r%ld.c%ld", r, ++c);
            add(tree, root, text);
        }
    }
}

void fillDeep(HWND tree, long items) {
    HTREEITEM parent = nullptr;
    for (long i = 1; i <= items; ++i) parent = add(tree, parent, L"d" + std::to_wstring(i));
}

bool g_lieCount = false;
HTREEITEM g_loopFrom = nullptr, g_loopTo = nullptr;

LRESULT CALLBACK lyingTreeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (InSendMessage()) {
        if (msg == TVM_GETCOUNT && g_lieCount) return 0x7FFFFFFF;
        if (msg == TVM_GETNEXTITEM && wParam == TVGN_CHILD && g_loopFrom &&
            reinterpret_cast<HTREEITEM>(lParam) == g_loopFrom)
            return reinterpret_cast<LRESULT>(g_loopTo);
    }
    return CallWindowProcW(g_treeProc, hwnd, msg, wParam, lParam);
}

void fillLying(HWND tree, bool loop) {
    HTREEITEM a = nullptr, a2 = nullptr;
    for (const wchar_t* root : {L"a", L"b", L"c"}) {
        HTREEITEM r = add(tree, nullptr, root);
        add(tree, r, std::wstring(root) + L"1");
        HTREEITEM second = add(tree, r, std::wstring(root) + L"2");
        if (!a) a = r, a2 = second;
    }
    g_lieCount = !loop;
    if (loop) g_loopFrom = a2, g_loopTo = a;
    g_treeProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(lyingTreeProc)));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = hostProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"ZavTreeHostWindow";
    RegisterClassW(&wc);
    HWND top = CreateWindowExW(0, wc.lpszClassName, L"ZavTreeHost", WS_OVERLAPPEDWINDOW, 40, 40, 420, 360, nullptr,
                               nullptr, instance, nullptr);
    RECT client = {};
    GetClientRect(top, &client);
    HWND tree = CreateWindowExW(0, WC_TREEVIEWW, L"",
                                WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT, 0,
                                0, client.right, client.bottom, top, reinterpret_cast<HMENU>(1), instance, nullptr);

    wchar_t mode[16] = {};
    long count = 0;
    unsigned long pace = 0;
    if (std::swscanf(commandLine, L"%15ls %ld %lu", mode, &count, &pace) >= 2 && count > 0) {
        if (pace) {
            g_pace = pace;
            g_treeProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pacedTreeProc)));
        }
        SendMessageW(tree, WM_SETREDRAW, FALSE, 0);
        if (std::wcscmp(mode, L"big") == 0) fillBig(tree, count);
        if (std::wcscmp(mode, L"deep") == 0) fillDeep(tree, count);
        if (std::wcscmp(mode, L"checks") == 0) fillChecked(tree);
        if (std::wcscmp(mode, L"count") == 0 || std::wcscmp(mode, L"loop") == 0)
            fillLying(tree, std::wcscmp(mode, L"loop") == 0);
        SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
    } else {
        fillNested(tree);
    }
    // Shown only once it is filled: a visible window means a whole tree.
    ShowWindow(top, SW_SHOW);

    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        if (m.message == WM_APP) Sleep(INFINITE);  // hung from now on
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return 0;
}
