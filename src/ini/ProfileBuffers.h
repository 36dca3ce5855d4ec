// How the profile functions hand their answers out: a value, a list of names or lines, cut to the
// caller's buffer and NUL-terminated as the system does. The lists are built as wide characters
// (every count in characters, as the system counts them) and then narrowed to the ANSI bytes the
// caller's buffer holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ini/IniDocument.h"

namespace zav {

// lstrcpyn: at most n-1 characters and a NUL (nothing when n is 0); returns the characters copied.
std::size_t copyLimited(wchar_t* dst, const std::wstring& src, std::size_t n);
std::size_t wideLength(const wchar_t* s);

// A value as it is handed out into `len` characters: one pair of matching single or double quotes
// around it removed. When the buffer holds exactly the text after the opening quote, the cut is
// taken one character further, as the system does.
void copyValue(wchar_t* buffer, const std::wstring& value, std::size_t len);

// The section's entry names (or "name=value" lines), NUL-separated, double-NUL-terminated; empty
// lines, comments and, for names only, lines without "=" skipped. `buffer` holds `len` characters.
std::uint32_t listEntries(const IniSection& section, wchar_t* buffer, std::uint32_t len, bool withValues);

// Names of the sections with a name; a name that does not fit is cut so that the list still ends
// with two NULs, and the count is then len-2.
std::uint32_t listSectionNames(const std::vector<IniSection>& sections, wchar_t* buffer, std::uint32_t len);

// A wide value narrowed into the caller's buffer: cut to size-1 bytes and ended by a NUL.
std::uint32_t narrowValue(const wchar_t* wide, std::uint32_t count, char* buffer, std::uint32_t size);

// A section's line list (`count` characters and the final NUL, listed into twice `size`
// characters) narrowed into the caller's buffer; a list that does not fit ends with two NULs at
// the buffer's end.
std::uint32_t narrowLineList(const wchar_t* wide, std::uint32_t count, char* buffer, std::uint32_t size);

// A section-name list (`count` characters and the final NUL) narrowed into the caller's buffer;
// a list that does not fit is cut to size-1 bytes and a NUL.
std::uint32_t narrowNameList(const wchar_t* wide, std::uint32_t count, char* buffer, std::uint32_t size);

}  // namespace zav
