// The one place that converts between 8-bit text of the ANSI code page and the program's wide
// strings. Windows build: the system's ANSI code page. Native build: code page 1252, so that both
// builds give the same results in the tests.
#pragma once

#include <string>

namespace zav {

std::string toAnsi(const std::wstring& text);
std::wstring fromAnsi(const std::string& bytes);
// bytes up to the first zero byte, or `length` bytes when there is none
std::wstring fromAnsi(const char* bytes, std::size_t length);

// Whether the ANSI code page holds this code point as itself (not by a "best fit" look-alike).
bool ansiHolds(char32_t codePoint);

// Text for a file of the ANSI code page that must lose nothing: appends `text` to `out` with
// every code point the code page cannot hold written as an HTML numeric character reference
// "&#N;" (decimal). A surrogate pair is one code point; a lone surrogate is written as the
// reference of U+FFFD, the replacement character. Text the code page holds comes out unchanged.
void appendWithReferences(std::wstring& out, const std::wstring& text);
std::wstring withReferences(const std::wstring& text);

// Code page 1252 itself, whatever the build: the native build's conversion and a reference for tests.
std::string toCp1252(const std::wstring& text);
std::wstring fromCp1252(const std::string& bytes);

// Upper case of one character as the ANSI profile and listing functions compare names (ASCII and
// the Latin-1 letters of code page 1252).
wchar_t upperChar(wchar_t c);
wchar_t lowerChar(wchar_t c);
std::wstring upperCase(const std::wstring& s);
bool equalsNoCase(const std::wstring& a, const std::wstring& b);

}  // namespace zav
