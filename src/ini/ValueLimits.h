// What a single INI value can carry so that the profile functions give it back whole, and the
// check that says why a text cannot. On Windows a value of 65,536 characters or more is not
// handed out at all; Wine 8.0's kernel32 loses a value of 32,767 characters or more (the entry
// is not found; from 65,536 on it comes back cut to the length modulo 65,536), so the program's
// files keep every value within the smaller limit, which both read back whole; a line break ends
// the entry; blanks at either end are dropped and one pair
// of matching quotes around the value is removed on reading; a NUL ends the text; a character
// outside the ANSI code page does not survive the conversion to the file's 8-bit text.
#pragma once

#include <cstddef>
#include <string>

namespace zav {

// The longest value, in characters, that the profile functions of Windows and of Wine hand out.
inline constexpr std::size_t kLongestIniValue = 32766;

// Why `text`, stored with PutString as the value of `field`, would not read back whole; empty
// when it would. The message names the field and the limit, e.g.
//   HTMLHeader: 70000 characters, but an INI value is read back only up to 32766 characters.
std::wstring valueLimitProblem(const std::wstring& field, const std::wstring& text);

// The same, for a text stored with cINIFile::PutLongString: only what no value can carry (line
// breaks, NULs, characters outside the ANSI code page); length, edge blanks and quotes are no
// problem there.
std::wstring longValueProblem(const std::wstring& field, const std::wstring& text);

}  // namespace zav
