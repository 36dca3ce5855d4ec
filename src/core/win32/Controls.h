// The controls of the program's windows: made at positions in twips, all in the dialog font (a
// control made by hand gets the system's bitmap font otherwise), and their texts read and set
// as wide strings.
#pragma once

#include <windows.h>

#include <string>

namespace zav {
namespace win {

// A child control of `parent` at a position and size in twips. The text is the caption.
HWND createControl(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style, DWORD exStyle,
                   int id, int leftTwips, int topTwips, int widthTwips, int heightTwips);
// The dialog font (the system's message font) for every control of a window.
HFONT dialogFont();

std::wstring windowText(HWND hwnd);
void setWindowText(HWND hwnd, const std::wstring& text);

}  // namespace win
}  // namespace zav
