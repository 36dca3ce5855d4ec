// The "LV Export Options Add Replace" dialog: one at a time, modeless, over AddReplaceModel.
#pragma once

#include <windows.h>

#include "core/win32/OwnedReporter.h"
#include "core/win32/Window.h"
#include "format/Columns.h"
#include "model/AddReplaceModel.h"
#include "model/ExportOptions.h"
#include "ui/win32/ExportDialogs.h"

namespace zav {

class frmExportOptionsAddReplace final : public win::Window {
public:
    enum Control : int { kTxtReplace = 2001, kTxtWith, kCmdOK, kCmdCancel };

    // "Add" of an options dialog: hands it the selected column (nothing without one) and shows the
    // add dialog, creating it when none is open; an open one is re-targeted and brought forward,
    // keeping what was typed. `opener` gets the focus back when the add dialog closes.
    static void openFor(ExportDialogs& dialogs, frmExportOptionsModel& options, HWND opener);

    bool takesDialogKeys() const override { return true; }

private:
    frmExportOptionsAddReplace(ExportDialogs& dialogs, HWND opener);
    LRESULT onMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void onDestroyed() override;
    void close();

    ExportDialogs& dialogs_;
    win::OwnedReporter reporter_{*this};  // before the model, which keeps a reference to it
    AddReplaceModel model_;
    HWND opener_ = nullptr;
};

}  // namespace zav
