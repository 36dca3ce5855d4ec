// Turning a failed Win32 call into zav::Error at once, with GetLastError read immediately and the
// name of the call kept.
#pragma once

#include <windows.h>

#include <string>

#include "core/Error.h"
#include "core/ErrorText.h"

namespace zav {

// The system's description of an error code, without the trailing line break.
std::wstring systemMessage(DWORD code);

// Raises the code a call gave, read beforehand (for a code the caller tests first, or one of its own).
[[noreturn]] void throwWin32Error(DWORD code, const std::wstring& what);

// Raises the last error of the call that just failed, named by `parts` joined:
// `throwLastError(L"CreateFolder ", path)`. The code is read first, then the text is built
// (core/ErrorText.h says why, and refuses a text built beforehand).
template <class... Parts>
[[noreturn]] void throwLastError(Parts&&... parts) {
    static_assert(kErrorTextPartsExist<Parts...>,
                  "pass the parts of the text (L\"X \", path), not a text built before the code is read");
    const DWORD code = GetLastError();
    throwWin32Error(code, joinErrorText(parts...));
}

}  // namespace zav
