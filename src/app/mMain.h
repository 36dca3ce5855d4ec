// Start-up steps that need no window.
#pragma once

#include "ini/Storage.h"
#include "settings/Settings.h"

namespace zav {

// In order: the settings (settings.ini beside the program, created on the first run, its folders
// made) and the catalog rebuilt from the type files. Raises zav::Error on failure.
Settings Main(const Storage& storage);

}  // namespace zav
