// The "LV Export Options" dialog: the window over frmExportOptionsModel. Every handler calls the
// model and shows what it holds; nothing here decides anything about an export.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "core/win32/Handles.h"
#include "core/win32/OwnedReporter.h"
#include "core/win32/Window.h"
#include "job/FileExport.h"
#include "model/ExportOptions.h"
#include "ui/win32/ExportDialogs.h"
#include "ui/win32/SlicedRun.h"

namespace zav {

class frmExportOptions final : public win::Window {
public:
    // Control identifiers (none is IDOK or IDCANCEL: no button reacts to Enter or Escape).
    enum Control : int {
        kTabOptions = 1001,
        kCmbExportTypes,
        kCmdNewExportType,
        kTxtExportType,
        kTxtOutput,
        kCmdBrowseFile,
        kLvColumns,
        kLvReplaces,
        kCmdAddReplace,
        kCmdRemoveReplace,
        kTxtHTMLHeader,
        kTxtTableFormat,
        kTxtHeaderFormat,
        kTxtDataFormat,
        kTxtHTMLFooter,
        kCmdHelp,
        kCmdOK,
        kCmdCancel,
        kPrgExport,
        kLblExport,
        kCmbFileFormat,
        kTxtDelimiter,
        kChkAnsi,
        kChkFormulaSafety,
        kChkDisplayOrder,
        kChkOpenAfterExport,
        kLblCompatibleTypes,
        kChkSelectedRows,
        kChkCheckedColumn,
    };

    // "Print Grid": a new dialog for the list view `target`, populated, then shown modeless. The
    // dialog deletes itself when it closes.
    static void open(ExportDialogs& dialogs, const GridTarget& target);

    bool takesDialogKeys() const override { return true; }

    bool exporting() const { return run_ != nullptr; }
    // The program or the session ends: the export stops as Stop does, without asking.
    void abandonExport();

private:
    explicit frmExportOptions(ExportDialogs& dialogs);
    ~frmExportOptions() override;
    LRESULT onMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void onDestroyed() override { delete this; }

    void createControls();
    HWND createTabs();
    void createOptionsPage();
    void createFormatPage();
    void createFilePage();
    void fileSettingClicked(int id);
    void createButtonsAndProgress();
    void showPage(int page);
    void onCommand(int id, int code, HWND control);
    void exportTypeChosen();        // a type picked in the list
    void nameBoxCommand(int code);  // a change of the name box, or the focus leaving it
    void buttonClicked(int id);
    LRESULT onNotify(NMHDR& header);
    LRESULT drawListItem(NMLVCUSTOMDRAW& draw) const;
    HBRUSH pageBrushFor(HWND label, HDC dc);
    void showModel();          // every control from the model
    void showTypeList();
    void showFields();
    void showColumns();
    void showReplaces();
    void fieldChanged(int id);
    bool nameHasSlash() const;
    void browseOutput();
    void startExport();
    void exportTick();
    void stopExport();
    void endExport();  // the run goes, and the export with it

    ExportDialogs& dialogs_;
    win::OwnedReporter reporter_{*this};  // before the model, which keeps a reference to it
    frmExportOptionsModel model_;
    HWND control(int id) const { return GetDlgItem(hwnd(), id); }
    std::vector<HWND> pages_[3];
    bool updating_ = false;    // controls are being filled from the model: their change events are ours
    bool checkingName_ = false;
    // The export after OK and its run, while it runs.
    std::unique_ptr<FileExportJob> export_;
    std::unique_ptr<SlicedRun> run_;
    // The tab page as the tab control draws it, as a brush for the labels that stand on it.
    UniqueBitmap pageImage_;
    UniqueBrush pageBrush_;
};

}  // namespace zav
