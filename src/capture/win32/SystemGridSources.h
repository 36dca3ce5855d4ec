// The Windows build's grid services, for the program's start-up to install.
#pragma once

#include <memory>

#include "capture/GridSource.h"

namespace zav {

struct CaptureOptions;

// The window as a grid target: its class name (read once, at most 63 characters) and the kind it
// tells (None for a window whose contents are not read as a grid).
GridTarget gridTargetOf(WindowHandle hWnd);
// How many rows of the target are selected, for the menu: 0 for any kind but a list view, and
// when the list does not answer within a moment (the menu then opens without the items that need
// a selection rather than late).
int selectedRowCount(const GridTarget& target);
// Opens the grid sources of controls of other processes with the default options.
std::unique_ptr<IGridSourceFactory> makeSystemGridSourceFactory();
std::unique_ptr<IGridSourceFactory> makeSystemGridSourceFactory(const CaptureOptions& options);
// Parents and captions of real windows.
std::unique_ptr<IWindowInfo> makeSystemWindowInfo();

}  // namespace zav
