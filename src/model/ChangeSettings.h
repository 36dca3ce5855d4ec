// OK of the Settings dialog, without its window.
#pragma once

#include "ini/Storage.h"
#include "settings/Settings.h"
#include "settings/SettingsEdit.h"

namespace zav {

// Once settingsProblem() found nothing: writes the settings (saveSettings), then rebuilds the
// catalog from the option folder they name, so that the next "Print Grid" works with them. Raises
// zav::Error on failure.
Settings ChangeSettings(const Storage& storage, const Settings& wanted);

}  // namespace zav
