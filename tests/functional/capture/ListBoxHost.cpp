// A host of list boxes and a combo box for the capture tests: one top-level window
// "ZavListBoxHost" with a list box of Unicode lines and a long one (control 1), a combo box
// (control 2) and an owner-drawn list box that keeps no strings (control 3). Controls 4 to 8 hold
// five short lines each and lie to other processes: 4 answers LB_GETCOUNT with 2^31-1, 5 and 8
// answer LB_GETTEXTLEN with 2^31-1 and -5, 6 with two less than its text, and 7 answers LB_GETTEXT
// with 100,000 once its text is copied. A posted WM_APP makes it stop answering (it sleeps), for
// the hung-target tests.
#include <windows.h>

#include <algorithm>
#include <string>

#include "HostWindow.h"

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
    if (msg == LB_GETTEXTLEN && truth >= 0 && id != 4 && id != 7) return id == 5 ? 0x7FFFFFFF : id == 6 ? std::max<LRESULT>(truth - 2, 0) : -5;
    if (msg == LB_GETTEXT && id == 7 && truth >= 0) return 100000;
    return truth;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    zavhost::registerClass(L"ZavListBoxHostWindow", hostProc);
    HWND top = CreateWindowExW(0, L"ZavListBoxHostWindow", L"ZavListBoxHost", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                               640, 520, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
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
        g_listProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(liar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(lyingProc)));
    }
    return zavhost::messageLoop(true, WM_APP);
}
