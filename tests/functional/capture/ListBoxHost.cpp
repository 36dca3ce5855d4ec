// A host of list boxes and a combo box for the capture tests: one top-level window
// "ZavListBoxHost" with a list box of Unicode lines and a long one (control 1), a combo box
// (control 2) and an owner-drawn list box that keeps no strings (control 3). Controls 4 to 8 hold
// five short lines each and lie to other processes: 4 answers LB_GETCOUNT with 2^31-1, 5 and 8
// answer LB_GETTEXTLEN with 2^31-1 and -5, 6 with two less than its text, and 7 answers LB_GETTEXT
// with 100,000 once its text is copied. A posted WM_APP makes it stop answering (it sleeps), for
// the hung-target tests.
#include <windows.h>

#include <string>

namespace {

WNDPROC g_listProc = nullptr;

LRESULT CALLBACK hostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) PostQuitMessage(0);
    if (msg == WM_MEASUREITEM) {
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 16;
        return TRUE;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// The lies of controls 4 to 8, told only to messages sent from elsewhere (the list box's own
// painting asks too).
LRESULT CALLBACK lyingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT truth = CallWindowProcW(g_listProc, hwnd, msg, wParam, lParam);
    if (!InSendMessage()) return truth;
    const int id = GetDlgCtrlID(hwnd);
    if (msg == LB_GETCOUNT && id == 4) return 0x7FFFFFFF;
    if (msg == LB_GETTEXTLEN && truth >= 0) {
        if (id == 5) return 0x7FFFFFFF;
        if (id == 6) return truth >= 2 ? truth - 2 : 0;
        if (id == 8) return -5;
    }
    if (msg == LB_GETTEXT && id == 7 && truth >= 0) return 100000;
    return truth;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = hostProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"ZavListBoxHostWindow";
    RegisterClassW(&wc);
    HWND top = CreateWindowExW(0, wc.lpszClassName, L"ZavListBoxHost", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 640,
                               520, nullptr, nullptr, instance, nullptr);
    const DWORD child = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL;
    HWND lines = CreateWindowExW(0, L"LISTBOX", L"", child, 10, 10, 180, 150, top, reinterpret_cast<HMENU>(1), instance,
                                 nullptr);
    HWND combo = CreateWindowExW(0, L"COMBOBOX", L"", child | CBS_DROPDOWNLIST, 200, 10, 180, 150, top,
                                 reinterpret_cast<HMENU>(2), instance, nullptr);
    HWND drawn = CreateWindowExW(0, L"LISTBOX", L"", child | LBS_OWNERDRAWFIXED, 10, 170, 180, 120, top,
                                 reinterpret_cast<HMENU>(3), instance, nullptr);
    const std::wstring longLine = L"<" + std::wstring(9998, L'\u00e9') + L">";  // 10,000 characters
    for (const std::wstring& line : {std::wstring(L"alpha"), std::wstring(L"gr\u00fc\u00dfe \u4e2d\u6587 \U0001F600"),
                                     std::wstring(), longLine, std::wstring(L"omega")})
        SendMessageW(lines, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    for (const wchar_t* line : {L"\u00e9t\u00e9 \u0416", L"second"})
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    SendMessageW(drawn, LB_ADDSTRING, 0, 0x1234);
    SendMessageW(drawn, LB_ADDSTRING, 0, 0x5678);
    for (int id = 4; id <= 8; ++id) {
        HWND liar = CreateWindowExW(0, L"LISTBOX", L"", child, 400, 10 + (id - 4) * 90, 200, 80, top,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        for (const wchar_t* line : {L"one", L"two \u0416", L"", L"four", L"five"})
            SendMessageW(liar, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
        g_listProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(liar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(lyingProc)));
    }

    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        if (m.message == WM_APP) Sleep(INFINITE);  // hung from now on
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return 0;
}
