// The program's windows: one thunk that forwards every message to the window object (kept in
// GWLP_USERDATA), never lets an exception out of a window procedure, and turns one into the
// program's own error report; the message loop, which gives dialog keys to the windows that want
// them; twips.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

#include "core/Platform.h"
#include "core/win32/Handles.h"

namespace zav {
namespace win {

// Twips to pixels at the system's DPI (15 twips a pixel at 96 DPI).
int twipsX(int twips);
int twipsY(int twips);

// Shows the error of an event handler ("Error <number>: <description>", stop icon) over `owner`.
void reportHandlerError(HWND owner, const std::exception& e) noexcept;

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
    // window also keeps its focused control as a dialog does: the control that had the focus when
    // the window was left (for a message box, another window) has it again when it comes back.
    virtual bool takesDialogKeys() const { return false; }
    // Puts the focus on the control that had it last (the first one in tab order if none did).
    void restoreFocus();
    // Shows the window if hidden, restores it if minimized, puts it above the program's other
    // windows and makes it the active, foreground window.
    void bringForward();

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
    HWND lastFocus_ = nullptr;  // the control that had the focus when the window was last left
};

// Message boxes owned by one window of the program: shown over it, keeping it modal while open;
// the control of that window that had the focus has it again when the box closes.
class OwnedReporter final : public IReporter {
public:
    explicit OwnedReporter(const Window& owner) : owner_(owner) {}
    void show(const std::wstring& text, const std::wstring& title, MessageIcon icon) override;
    bool ask(const std::wstring& text, const std::wstring& title) override;

private:
    int box(const std::wstring& text, const std::wstring& title, UINT style);
    const Window& owner_;
};

// Where a new window of that size goes: centred on the work area of the monitor that shows `nearby`
// (the primary one without it), moved down and right past any visible window of `className` that
// already stands there, and kept inside the work area.
POINT centredPlace(HWND nearby, int width, int height, const wchar_t* className);
// Where a window of that size goes beside `opener` without covering it: below it, else above it,
// else to its right, else to its left, inside the work area (overlapping only if nothing fits).
POINT placeBeside(HWND opener, int width, int height);

// The program's message loop, until WM_QUIT; returns its exit code.
int runMessageLoop();

// A child control of `parent` at a position and size in twips. The text is the caption.
HWND createControl(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style, DWORD exStyle,
                   int id, int leftTwips, int topTwips, int widthTwips, int heightTwips);
// The dialog font (the system's message font) for every control of a window.
HFONT dialogFont();

std::wstring windowText(HWND hwnd);
void setWindowText(HWND hwnd, const std::wstring& text);

}  // namespace win
}  // namespace zav
