// Native build: the program's paths use "\" between folders; the system wants "/", and names
// files with bytes, read here as UTF-8 whatever the locale (so a name keeps every character).
#pragma once

#include <cerrno>
#include <cstring>
#include <string>

#include "core/Error.h"
#include "text/Ansi.h"
#include "text/Utf8.h"

namespace zav {

inline std::string posixPath(const std::wstring& path) {
    std::string p = toUtf8(path);
    for (auto& c : p)
        if (c == '\\') c = '/';
    return p;
}

[[noreturn]] inline void throwErrno(int code, const std::wstring& what) {
    throw Error(code, what, fromAnsi(std::strerror(code)));
}

}  // namespace zav
