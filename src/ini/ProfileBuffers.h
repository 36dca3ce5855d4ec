// How the profile functions hand their answers out: a value, or a list of names or lines, cut to
// the caller's buffer and NUL-terminated as the system does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zav {

// lstrcpyn: at most n-1 characters and a NUL (nothing when n is 0); returns the characters copied.
std::size_t copyLimited(wchar_t* dst, const std::wstring& src, std::size_t n);
std::size_t wideLength(const wchar_t* s);

// A value as the profile functions hand it out whole: one pair of matching single or double quotes
// around it removed.
std::wstring unquotedValue(const std::wstring& value);

// A value as it is handed out into `len` characters: one pair of matching single or double quotes
// around it removed. When the buffer holds exactly the text after the opening quote, the cut is
// taken one character further, as the system does.
void copyValue(wchar_t* buffer, const std::wstring& value, std::size_t len);

// A wide value narrowed into the caller's buffer: cut to size-1 bytes and ended by a NUL.
std::uint32_t narrowValue(const wchar_t* wide, std::uint32_t count, char* buffer, std::uint32_t size);

enum class ListKind {
    Names,  // keys or sections: a list whose first name does not fit whole gives nothing
    Lines,  // a section's lines: cut wherever the buffer ends
};

// A list of items (ANSI bytes, none empty) into the caller's buffer of `size` bytes (at least
// 2): each item followed by a NUL, one more NUL at the end. Returns the bytes written without that
// last NUL. A list that does not fit whole (the whole list with its last NUL must leave a byte of
// the buffer free) is cut to size-2 bytes and ended by two NULs; the count is then size-2. For
// names, when not even the first one fits whole, the buffer holds two NULs and the count is 0.
std::uint32_t copyList(const std::vector<std::string>& items, ListKind kind, char* buffer, std::uint32_t size);

}  // namespace zav
