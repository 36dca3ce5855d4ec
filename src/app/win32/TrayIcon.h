// The program's icon in the notification area, on a hidden top-level window of the program (a
// message-only window never hears "TaskbarCreated", so the icon could not come back when the shell
// restarts). The icon is a convenience: when the shell will not take it, the program keeps
// working and tries again on a timer, as it does at logon before the shell is ready.
#pragma once

#include <windows.h>
#include <shellapi.h>

namespace zav {

class TrayIcon {
public:
    // The window receives `callback` with the mouse message in lParam, and WM_TIMER kRetryTimer
    // while the icon could not be added (it passes both on here).
    static constexpr UINT_PTR kRetryTimer = 0x5A10;

    TrayIcon(HWND owner, UINT callback, HICON icon, const wchar_t* tip);
    // Removes the icon.
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // The message the shell broadcasts when it starts again; the owner calls readd() on it.
    static UINT taskbarCreatedMessage();
    // Adds the icon (again); on failure the retry timer runs.
    void readd();
    void onRetryTimer() { readd(); }
    bool shown() const { return shown_; }
    // A balloon on the icon; nothing when the icon is not there.
    void balloon(const wchar_t* title, const wchar_t* text);

private:
    NOTIFYICONDATAW data() const;

    HWND owner_;
    UINT callback_;
    HICON icon_;
    const wchar_t* tip_;
    bool shown_ = false;
};

}  // namespace zav
