// UTF-8, for the native build's file names: the program's paths are wide text, and the native
// system names files with bytes, which this build reads as UTF-8.
#pragma once

#include <string>

namespace zav {

// A surrogate pair (two-byte wide characters) is one code point; a lone surrogate, or a value
// beyond U+10FFFF, is written as U+FFFD.
std::string toUtf8(const std::wstring& text);
// A byte that does not start a well-formed sequence is read as U+FFFD. Code points beyond the
// basic plane become a surrogate pair where wide characters are two bytes.
std::wstring fromUtf8(const std::string& bytes);

}  // namespace zav
