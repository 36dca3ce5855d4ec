// What the export dialogs need from the program that opens them: the settings, the capture, the
// window captions and the user's side of messages. The application owns it and every piece of it
// for as long as its message loop runs; the dialogs only refer to it.
#pragma once

#include <windows.h>

#include "capture/Capture.h"
#include "core/Platform.h"
#include "core/Types.h"
#include "settings/Settings.h"

namespace zav {

class frmExportOptionsAddReplace;

class ExportDialogs {
public:
    ExportDialogs(Settings settings, ICaptureFactory& captures, IWindowInfo& windows, IReporter& reporter)
        : settings(std::move(settings)), captures(captures), windows(windows), reporter(reporter) {}
    ExportDialogs(const ExportDialogs&) = delete;
    ExportDialogs& operator=(const ExportDialogs&) = delete;

    // "Print Grid": a new export options dialog for that list view, shown modeless.
    void openExportOptions(WindowHandle target);

    const Settings settings;
    ICaptureFactory& captures;
    IWindowInfo& windows;
    IReporter& reporter;
    // The window that owns the options dialogs (keeps them out of the task bar); none: unowned.
    HWND owner = nullptr;
    // The one add-rule dialog while it is open (it clears this when it goes).
    frmExportOptionsAddReplace* addReplace = nullptr;
};

}  // namespace zav
