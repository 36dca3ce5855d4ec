// Native build: the program's paths use "\" between folders; the system wants "/", and names
// files with bytes, read here as UTF-8 whatever the locale (so a name keeps every character).
#pragma once

#include <cerrno>
#include <cstring>
#include <string>

#include "core/Error.h"
#include "core/ErrorText.h"
#include "text/Ansi.h"
#include "text/Utf8.h"

namespace zav {

inline std::string posixPath(const std::wstring& path) {
    std::string p = toUtf8(path);
    for (auto& c : p)
        if (c == '\\') c = '/';
    return p;
}

// Raises a code read beforehand (for a code the caller tests first, or one of its own).
[[noreturn]] inline void throwErrno(int code, const std::wstring& what) {
    throw Error(code, what, fromAnsi(std::strerror(code)));
}

// Raises errno of the call that just failed, named by `parts` joined: the code is read first, then
// the text is built (core/ErrorText.h says why). `throwErrno(errno, L"X " + path)` may build the
// text first: the order in which a call's arguments are worked out is not fixed.
template <class... Parts>
[[noreturn]] void throwLastErrno(Parts&&... parts) {
    static_assert(kErrorTextPartsExist<Parts...>,
                  "pass the parts of the text (L\"X \", path), not a text built before errno is read");
    const int code = errno;
    throwErrno(code, joinErrorText(parts...));
}

}  // namespace zav
