// Window texts of any window, in this or another process.
#pragma once

#include <string>

#include "core/Types.h"

namespace zav {

// The window's class name (GetClassNameA with a buffer of `bufferLength` characters, the
// terminating zero included): at most 254 characters by default; empty when the call fails.
std::wstring getWindowClass(WindowHandle hWnd, int bufferLength = 255);
// The window's text with the limit 255, at most 254 characters (UTF-16 units); empty for none.
// GetWindowTextW on the NT family, GetWindowTextA on the 9x family.
std::wstring getWindowCaption(WindowHandle hWnd);


}  // namespace zav
