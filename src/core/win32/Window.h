// The base of the program's windows: one thunk that forwards every message to the window object
// (kept in GWLP_USERDATA), never lets an exception out of a window procedure, and turns one into
// the program's own error report (HandlerError.h).
#pragma once

#include <windows.h>

#include <string>

#include "core/win32/FocusKeeper.h"

namespace zav {
namespace win {

// A top-level window of the program. Subclasses handle messages in onMessage, which may throw:
// the thunk reports the error and the window stays as it is.
class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return hwnd_; }

    // The window object behind a window of this program; nullptr for any other window.
    static Window* fromHwnd(HWND hwnd);
    // Whether the message loop runs dialog keys (Tab, arrows) for this window's controls. Such a
    // window also keeps its focused control as a dialog does (FocusKeeper).
    virtual bool takesDialogKeys() const { return false; }

protected:
    // Registers the class once (the thunk as its procedure) and creates the window.
    void create(const wchar_t* className, const std::wstring& caption, DWORD style, DWORD exStyle, int x, int y,
                int width, int height, HMENU menu = nullptr);
    virtual LRESULT onMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // After WM_NCDESTROY: the window is gone; the object may delete itself here.
    virtual void onDestroyed() {}

    LRESULT defaultProc(UINT msg, WPARAM wParam, LPARAM lParam) { return DefWindowProcW(hwnd_, msg, wParam, lParam); }

private:
    static LRESULT CALLBACK thunk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
    FocusKeeper focus_;  // used only by windows that take dialog keys
};

}  // namespace win
}  // namespace zav
