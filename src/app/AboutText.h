// The text of the "About ZAVExport" box of the notification-area menu: the version, what a right
// press is for (naming every kind of control this build reads) and where the help file is.
#pragma once

#include <string>

namespace zav {

// `programFolder` as IHost::programFolder() gives it (no final "\" except at a drive root): the
// help file, readme.txt, lies beside the program.
std::wstring aboutText(const std::wstring& programFolder);

// Title of the About box.
inline const wchar_t* const kAboutTitle = L"About ZAVExport";

}  // namespace zav
