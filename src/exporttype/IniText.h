// Texts that the profile-file syntax cannot carry as they are (line breaks, blanks and quotes at
// either end, "=" inside a rule, a leading "[" or ";", "%", characters outside the ANSI code page)
// are written escaped into the files the program makes itself: "%" and two hexadecimal digits, or
// "%u" and four. A file that holds escaped texts says so in its "FileInfo" section; files without
// that mark (hand-made ones, and those of earlier versions) are read literally, as before. The
// catalog, which this version rebuilds at every start, is always escaped and carries no mark.
#pragma once

#include <string>

namespace zav {

inline constexpr const wchar_t* kEncodingKey = L"Encoding";
inline constexpr const wchar_t* kEncodingEscaped = L"Escaped";

// A value read with GetString: entries of "General", catalog names.
std::wstring encodeIniValue(const std::wstring& text);
// A rule's key or value: as a value, and "=" escaped too, so the entry holds a single "=".
// The empty key is written as a lone "%".
std::wstring encodeIniRuleKey(const std::wstring& text);
std::wstring encodeIniRuleValue(const std::wstring& text);
// A section name: "[", "]", ";" escaped anywhere; "" becomes "%"; the names of the program's own
// sections ("General", "FileInfo") get their first letter escaped, so a column of that name never
// shares the section with the type's own keys.
std::wstring encodeIniSectionName(const std::wstring& text);

// The inverse of every encoder above. "%" not followed by a valid escape stays as it is.
std::wstring decodeIniText(const std::wstring& text);

}  // namespace zav
