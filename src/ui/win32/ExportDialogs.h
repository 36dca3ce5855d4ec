// What the export dialogs need from the program that opens them: the storage, the settings, the
// capture and the window captions (each dialog shows its own messages, owned by it). The
// application owns it and every piece of it for as long as its message loop runs; the dialogs only
// refer to it.
#pragma once

#include <windows.h>

#include "capture/GridSource.h"
#include "core/Platform.h"
#include "core/Types.h"
#include "ini/Storage.h"
#include "settings/Settings.h"

#include <vector>

namespace zav {

class frmCopyGrid;
class frmExportOptions;
class frmExportOptionsAddReplace;

class ExportDialogs {
public:
    ExportDialogs(const Storage& storage, Settings settings, IGridSourceFactory& captures, IWindowInfo& windows)
        : storage(storage), settings(std::move(settings)), captures(captures), windows(windows) {}
    ExportDialogs(const ExportDialogs&) = delete;
    ExportDialogs& operator=(const ExportDialogs&) = delete;

    // "Print Grid": a new export options dialog for that control, shown modeless.
    void openExportOptions(const GridTarget& target);
    // "Copy Grid": the whole grid of that list view onto the clipboard, without a dialog (one
    // copy at a time: ignored while gridCopy runs).
    void copyGrid(const GridTarget& target);
    // "Copy Selected Rows": the same, of the rows selected in that list view.
    void copySelectedRows(const GridTarget& target);

    // Whether one of the open dialogs is exporting.
    bool exportRunning() const;
    // The program or the session ends: every running export stops as Stop does (the previous
    // file stays, no partial file is left), its catalog rebuild completed first. Windows stay.
    void stopExports();
    // The program ends: stopExports(), then every export dialog closes at once, unsaved edits
    // dropped. Not while a modal box of ours is up (its dialog is still on the stack).
    void closeAll();

    const Storage storage;
    Settings settings;  // replaced by the Settings dialog's OK; each export dialog keeps a copy
    IGridSourceFactory& captures;
    IWindowInfo& windows;
    // The one add-rule dialog while it is open (it clears this when it goes).
    frmExportOptionsAddReplace* addReplace = nullptr;
    // The copy to the clipboard while it runs (it clears this when it goes).
    frmCopyGrid* gridCopy = nullptr;
    // The export options dialogs now open (each adds itself and goes when its window goes).
    std::vector<frmExportOptions*> open;
};

}  // namespace zav
