// The Windows build's capture services, for the program's start-up to install.
#pragma once

#include <memory>

#include "capture/Capture.h"

namespace zav {

struct CaptureOptions;

// Opens captures of list views of other processes (ListViewCapture) with the default options.
std::unique_ptr<ICaptureFactory> makeSystemCaptureFactory();
std::unique_ptr<ICaptureFactory> makeSystemCaptureFactory(const CaptureOptions& options);
// Parents, captions and class names of real windows.
std::unique_ptr<IWindowInfo> makeSystemWindowInfo();

}  // namespace zav
