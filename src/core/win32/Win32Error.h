// Turning a failed Win32 call into zav::Error at once, with GetLastError read immediately and the
// name of the call kept.
#pragma once

#include <windows.h>

#include <string>

#include "core/Error.h"

namespace zav {

// The system's description of an error code, without the trailing line break.
std::wstring systemMessage(DWORD code);

[[noreturn]] void throwLastError(const std::wstring& what);
[[noreturn]] void throwWin32Error(DWORD code, const std::wstring& what);

}  // namespace zav
