// Start-up steps that need no window.
#pragma once

#include "settings/Settings.h"
#include "settings/SettingsEdit.h"

namespace zav {

// In order: the settings (settings.ini beside the program, created on the first run, its folders
// made) and the catalog rebuilt from the type files. Raises zav::Error on failure.
Settings Main(const Storage& storage);

// OK of the Settings dialog, once settingsProblem() found nothing: writes the settings
// (saveSettings), then rebuilds the catalog from the option folder they name, so that the next
// "Print Grid" works with them. Raises zav::Error on failure.
Settings ChangeSettings(const Storage& storage, const Settings& wanted);

}  // namespace zav
