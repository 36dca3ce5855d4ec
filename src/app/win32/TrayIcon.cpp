#include "app/win32/TrayIcon.h"

#include <cwchar>

namespace zav {
namespace {

constexpr UINT kIconId = 1;
// While the shell is not ready (at logon, or restarting), how often the icon is offered again.
constexpr UINT kRetryMs = 5000;

}  // namespace

TrayIcon::TrayIcon(HWND owner, UINT callback, HICON icon, const wchar_t* tip)
    : owner_(owner), callback_(callback), icon_(icon), tip_(tip) {
    readd();
}

TrayIcon::~TrayIcon() {
    KillTimer(owner_, kRetryTimer);
    if (!shown_) return;
    NOTIFYICONDATAW d = data();
    Shell_NotifyIconW(NIM_DELETE, &d);
}

UINT TrayIcon::taskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

NOTIFYICONDATAW TrayIcon::data() const {
    NOTIFYICONDATAW d = {};
    d.cbSize = sizeof d;
    d.hWnd = owner_;
    d.uID = kIconId;
    return d;
}

void TrayIcon::readd() {
    NOTIFYICONDATAW d = data();
    d.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    d.uCallbackMessage = callback_;
    d.hIcon = icon_;
    wcsncpy(d.szTip, tip_, sizeof d.szTip / sizeof d.szTip[0] - 1);
    // After a shell restart the old icon is gone, but one that is still there (a broadcast sent
    // for another reason) refuses NIM_ADD: then it is updated instead.
    shown_ = Shell_NotifyIconW(NIM_ADD, &d) || Shell_NotifyIconW(NIM_MODIFY, &d);
    if (shown_)
        KillTimer(owner_, kRetryTimer);
    else
        SetTimer(owner_, kRetryTimer, kRetryMs, nullptr);
}

void TrayIcon::balloon(const wchar_t* title, const wchar_t* text) {
    if (!shown_) return;
    NOTIFYICONDATAW d = data();
    d.uFlags = NIF_INFO;
    d.dwInfoFlags = NIIF_INFO;
    wcsncpy(d.szInfoTitle, title, sizeof d.szInfoTitle / sizeof d.szInfoTitle[0] - 1);
    wcsncpy(d.szInfo, text, sizeof d.szInfo / sizeof d.szInfo[0] - 1);
    Shell_NotifyIconW(NIM_MODIFY, &d);
}

}  // namespace zav
