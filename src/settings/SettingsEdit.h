// The Settings dialog without a window: the four [General] values as the user typed them, tidied,
// checked against the file system and written back into settings.ini.
#pragma once

#include <string>

#include "ini/Storage.h"
#include "settings/Settings.h"

namespace zav {

// Spaces around each value dropped; a folder gets the "\" that the program's paths are joined
// with, when the user left it out. The settings file stays as it was.
Settings tidySettings(Settings wanted);

// Why the (tidied) settings cannot be used, naming the setting, or "" when they can: the settings
// file may be written; each value
// is a full path; a folder exists or can be made, and files can be written in it; a file setting
// names no folder, its file is not read-only, and its folder exists or can be made and takes new
// files. Checks only: nothing is left behind.
std::wstring settingsProblem(IFileSystem& fs, const Settings& wanted);

// Writes the four values into the settings file through cINIFile (every other key and line stays
// as it was) and makes the missing folders, of the file settings too. Raises zav::Error naming
// the setting when a value cannot be written or a folder cannot be made (a read-only settings
// file is refused before anything changes). Returns the settings as
// the file now says them.
Settings saveSettings(const Storage& storage, const Settings& wanted);

}  // namespace zav
