// Native build: the ANSI code page is 1252.
#include "text/Ansi.h"

namespace zav {

std::string toAnsi(const std::wstring& text) { return toCp1252(text); }
std::wstring fromAnsi(const std::string& bytes) { return fromCp1252(bytes); }

}  // namespace zav
