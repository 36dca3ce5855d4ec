// "Start with Windows": a shortcut to this program in the user's Startup folder, which the shell
// starts at logon. No registry. Any shortcut there that points to this program counts, whatever
// its name; the one this program makes is named after it.
#pragma once

#include <string>

namespace zav {

// The user's Startup folder (empty when the shell names none).
std::wstring userStartupFolder();

// Whether a shortcut in `folder` points to `program` (full path, any letter case).
bool hasShortcutTo(const std::wstring& folder, const std::wstring& program);

// Adds "<folder>\<name>.lnk" to `program` (working folder: the program's own), or removes every
// shortcut in `folder` that points to `program`; shortcuts to anything else stay. Raises
// zav::Error naming the file when it cannot be written or removed.
void setShortcutTo(const std::wstring& folder, const std::wstring& program, const std::wstring& name, bool present);

// The icon menu's "Start with Windows", for this program's own file: whether it is on (looked at
// each time: the user may add or remove a shortcut by hand), and the switch. Raises zav::Error when
// the Startup folder is not known or the shortcut cannot be written or removed.
bool startsWithWindows();
void toggleStartWithWindows();

}  // namespace zav
