// The program's windows: one thunk that forwards every message to the window object (kept in
// GWLP_USERDATA), never lets an exception out of a window procedure, and turns one into the
// program's own error report; the modeless windows the message loop gives dialog keys to; twips.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

namespace zav {
namespace win {

// Owners of the few GDI and USER objects the windows make.
struct MenuDestroyer {
    void operator()(HMENU h) const noexcept { DestroyMenu(h); }
};
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroyer>;
struct GdiDeleter {
    void operator()(HGDIOBJ h) const noexcept { DeleteObject(h); }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiDeleter>;

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

protected:
    // Registers the class once (the thunk as its procedure) and creates the window.
    void create(const char* className, const std::wstring& caption, DWORD style, DWORD exStyle, int x, int y,
                int width, int height, HMENU menu = nullptr);
    virtual LRESULT onMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // After WM_NCDESTROY: the window is gone; the object may delete itself here.
    virtual void onDestroyed() {}
    LRESULT defaultProc(UINT msg, WPARAM wParam, LPARAM lParam) { return DefWindowProcA(hwnd_, msg, wParam, lParam); }

private:
    static LRESULT CALLBACK thunk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    HWND hwnd_ = nullptr;
};

// Modeless windows whose keyboard navigation (Tab, arrows) the message loop runs.
void addModeless(HWND hwnd);
void removeModeless(HWND hwnd);
// The program's message loop, until WM_QUIT; returns its exit code.
int runMessageLoop();

// A child control of `parent` at a position and size in twips. The text is the caption.
HWND createControl(HWND parent, const char* className, const std::wstring& text, DWORD style, DWORD exStyle,
                   int id, int leftTwips, int topTwips, int widthTwips, int heightTwips);
// The dialog font (the system's message font) for every control of a window.
HFONT dialogFont();

std::wstring windowText(HWND hwnd);
void setWindowText(HWND hwnd, const std::wstring& text);

}  // namespace win
}  // namespace zav
