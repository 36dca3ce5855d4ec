// Start-up and the two program-wide variables.
#pragma once

#include "core/Types.h"
#include "ini/cINIFile.h"

namespace zav {

// The list view under the cursor at the right-click that opened the popup menu; 0 until then.
extern WindowHandle hTargetListView;

// The settings object: program folder + "\settings.ini", section "General". Created on first use.
cINIFile& iniSettings();

// Finds or creates settings.ini, stamps it, and makes sure the output and option folders exist.
void loadSettings();

// Every start-up step that needs no window, in order. Raises zav::Error on failure.
void Main();

// Forgets the settings object (tests that move the program folder between runs).
void resetSettingsForTests();

}  // namespace zav
