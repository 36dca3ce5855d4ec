// Keyboard manners shared by the export dialogs, which have no default and no cancel button:
// Enter and Escape do nothing anywhere in them.
#pragma once

#include <windows.h>

namespace zav {

// A push button that never takes on the default button's role or look (the dialog keys would make
// the button that Tab reached the default one, which Enter then presses).
void keepPlainButton(HWND button);
// A multi-line box that ignores Escape (it would otherwise ask its dialog to close).
void ignoreEscape(HWND edit);

}  // namespace zav
