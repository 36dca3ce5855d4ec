// The "ZAVExport Settings" dialog of the notification-area menu: the four [General] settings, each
// with a Browse button. OK checks them (settingsProblem), writes settings.ini, makes the missing
// folders and rebuilds the catalog; the next "Print Grid" works with the new settings. One at a
// time, modeless.
#pragma once

#include <windows.h>

#include "core/win32/OwnedReporter.h"
#include "core/win32/Window.h"
#include "ui/win32/ExportDialogs.h"

namespace zav {

class frmSettings final : public win::Window {
public:
    enum Control : int {
        kTxtOutputFolder = 2101,
        kTxtCatalogFile,
        kTxtReplacesFile,
        kTxtOptionFolder,
        kCmdBrowseOutputFolder = 2111,
        kCmdBrowseCatalogFile,
        kCmdBrowseReplacesFile,
        kCmdBrowseOptionFolder,
        kCmdOK = 2121,
        kCmdCancel,
    };
    static constexpr const wchar_t* kTitle = L"ZAVExport Settings";

    // Shows the dialog (`current` is the open one, which is brought forward instead); it clears
    // `current` when it goes. `dialogs` must outlive it.
    static void open(ExportDialogs& dialogs, frmSettings*& current);

    bool takesDialogKeys() const override { return true; }

private:
    frmSettings(ExportDialogs& dialogs, frmSettings*& current);
    LRESULT onMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void onDestroyed() override;
    void browse(int row);
    void okClicked();

    ExportDialogs& dialogs_;
    frmSettings*& current_;
    win::OwnedReporter reporter_{*this};
};

}  // namespace zav
