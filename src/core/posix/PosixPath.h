// Native build: the program's paths use "\" between folders; the system wants "/".
#pragma once

#include <cerrno>
#include <cstring>
#include <string>

#include "core/Error.h"
#include "text/Ansi.h"

namespace zav {

inline std::string posixPath(const std::wstring& path) {
    std::string p = toAnsi(path);
    for (auto& c : p)
        if (c == '\\') c = '/';
    return p;
}

[[noreturn]] inline void throwErrno(int code, const std::wstring& what) {
    throw Error(code, what, fromAnsi(std::strerror(code)));
}

}  // namespace zav
