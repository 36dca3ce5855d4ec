// The last stop of an error inside an event handler: nothing may leave a window procedure, so the
// thunk shows the error here and the window goes on as it was.
#pragma once

#include <windows.h>

#include <exception>

namespace zav {
namespace win {

// Shows the error of an event handler ("Error <number>: <description>", stop icon) over `owner`.
void reportHandlerError(HWND owner, const std::exception& e) noexcept;

}  // namespace win
}  // namespace zav
