// The file-info stamp of every configuration file the program writes: a "FileInfo" section with
// the file's "Type" and the program's "Version".
#pragma once

#include <string>

#include "ini/cINIFile.h"

namespace zav {

inline constexpr const wchar_t* kFileInfoSection = L"FileInfo";
inline constexpr const wchar_t* kFileInfoTypeKey = L"Type";
inline constexpr const wchar_t* kFileInfoVersionKey = L"Version";

// "major.minor.revision" of this program.
std::wstring versionText();

// Writes [FileInfo] Type=szType, Version=<version> into the file behind `ini`; the object's
// current section is the same on return. False when the profile layer refused a write.
bool writeFileInfo(cINIFile& ini, const std::wstring& szType);

}  // namespace zav
