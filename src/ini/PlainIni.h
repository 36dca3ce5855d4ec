// An INI file read in one go, where that gives exactly what the profile functions would give
// entry by entry: files that keep to the part of the grammar on which every implementation agrees
// (IniDocument::plain), as the files the program writes itself always do. A file that does not is
// left to the profile functions.
#pragma once

#include <optional>
#include <string>

#include "ini/IniDocument.h"

namespace zav {

// The document of a file's bytes, or nothing when the file does not keep to that part of the
// grammar or is no plain 8-bit text of the ANSI code page (a byte-order mark of any kind, a NUL).
std::optional<IniDocument> plainIniDocument(const std::string& bytes);

// The value of an entry as GetPrivateProfileString hands it out whole (one pair of quotes around
// it removed); nothing when the file has no such entry.
std::optional<std::wstring> iniValue(const IniDocument& doc, const std::wstring& section, const std::wstring& key);

}  // namespace zav
