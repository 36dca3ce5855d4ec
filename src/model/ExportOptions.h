// The export options dialog (frmExportOptions) without its window: the captured list view, the
// export type being edited, the lists the dialog shows, and every operation behind its controls.
// The Win32 dialog binds its controls to this model; tests drive it directly.
//
// Everything it works with is handed to it: the storage (the profile functions and the file
// services every file goes through), the settings, the capture (IGridSourceFactory, IGridSource),
// the captions of parent windows (IWindowInfo) and the user's side of its messages (IReporter).
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "capture/GridSource.h"
#include "core/Platform.h"
#include "core/Types.h"
#include "exporttype/ExportType.h"
#include "format/Columns.h"
#include "ini/Storage.h"
#include "job/ExportPlan.h"
#include "job/OpenedGrid.h"
#include "model/AddReplaceModel.h"
#include "settings/Settings.h"

namespace zav {

class CatalogRebuild;
class FileExportJob;

class frmExportOptionsModel {
public:
    static constexpr const wchar_t* kCancelQuestion = L"Cancel?";
    static constexpr const wchar_t* kHelpMessage = L"See the readme.txt in the program directory for help.";
    static constexpr const wchar_t* kSlashMessage = L"Export Type cannot contain a slash!";
    // The file extension each format's derived output file gets.
    static const wchar_t* extensionOf(ExportFormat format);
    static constexpr const wchar_t* kStoppedMessage =
        L"The export was stopped. The output file was left as it was before.";

    // Everything handed in must outlive the model.
    frmExportOptionsModel(const Storage& storage, const Settings& settings, IGridSourceFactory& captures,
                          IWindowInfo& windows, IReporter& reporter);
    ~frmExportOptionsModel();  // unload: lets go of the grid (its jobs may still hold it)
    frmExportOptionsModel(const frmExportOptionsModel&) = delete;
    frmExportOptionsModel& operator=(const frmExportOptionsModel&) = delete;

    // Dialog state.
    std::wstring szColumns;
    cColumnList columns;
    VBool bOK = vbFalse;

    // The text fields of the export type. The name is set through setExportTypeText, which
    // derives the output file as the dialog's change handler does.
    const std::wstring& txtExportType() const { return txtExportType_; }
    void setExportTypeText(const std::wstring& name);
    std::wstring txtOutput;
    std::wstring txtHTMLHeader;
    std::wstring txtTableFormat;
    std::wstring txtHeaderFormat;
    std::wstring txtDataFormat;
    std::wstring txtHTMLFooter;

    // The format and its settings. setFormat also gives an output file that was derived from the
    // name the new format's extension.
    ExportFormat format() const { return format_; }
    void setFormat(ExportFormat format);
    std::wstring txtDelimiter;  // CSV only
    bool ansiEncoding = false;  // CSV and TSV: the ANSI code page instead of UTF-8 with a mark
    bool formulaSafety = true;  // CSV and TSV
    // The columns as the list shows them, without those of zero width; else all in index order.
    bool displayOrder = true;
    // After a finished export the written file is opened with its program (off by default).
    bool openAfterExport = false;
    // Only the rows selected in the list (off: every row).
    bool selectedRowsOnly = false;
    // A first column "Checked", Yes or No, where the list shows check boxes.
    bool checkedColumn = false;
    // What to open once the export finished: the output file when asked for, else empty.
    std::wstring fileToOpen() const { return openAfterExport ? txtOutput : std::wstring(); }
    // The columns an export writes, in that order (1-based indices; kCheckedColumn first for the
    // check boxes when asked for and the list has them).
    std::vector<std::int32_t> exportedColumns() const;
    // The grid read when the dialog opened, shared with the jobs started from it.
    const std::shared_ptr<OpenedGrid>& grid() const { return grid_; }

    // The compatible type list (cmbExportTypes): its entries, the selected one (-1: none) and its text.
    const std::vector<std::wstring>& exportTypeItems() const { return cmbItems_; }
    int selectedExportType() const { return cmbSelected_; }
    const std::wstring& exportTypeListText() const { return cmbText_; }
    // Selecting an entry loads that type.
    void selectExportType(int index);
    // "New": clears the selection and prepares a new type from defaults.
    void newExportType();

    // The column list (lvColumns) and the rule list (lvReplaces) with their selections (-1: none).
    const std::vector<std::wstring>& columnItems() const { return columnItems_; }
    int selectedColumn() const { return columnSelected_; }
    void selectColumn(int index);  // the click: shows that column's rules
    const std::vector<std::pair<std::wstring, std::wstring>>& replaceItems() const { return replaceItems_; }
    int selectedReplace() const { return replaceSelected_; }
    void selectReplace(int index);
    // The column of the selected item, or nullptr.
    std::shared_ptr<cColumn> selectedColumnObject() const;
    // "Add": hands the selected column to the add dialog; false (nothing happens) without one.
    bool addReplaceClicked(AddReplaceModel& addDialog) const;
    // "Remove...": removes the selected rule of the selected column and refreshes the rule list.
    void removeReplaceClicked();
    // Activation of the dialog: the rule list catches up with rules added meanwhile.
    void activated() { populateReplaces(); }

    // Why the list view could not be read (empty when the capture read it): what the dialog tells
    // the user when it opens, instead of offering an empty export.
    std::wstring captureProblem() const;
    // The kind of control read, as messages name it ("list view", "tree view", ...).
    std::wstring controlName() const;
    // The caption over the list of export types: it names the kind of control read where that is
    // not a list view ("Compatible Export Types (tree view)").
    std::wstring compatibleTypesLabel() const;

    // Operations.
    // Opens the grid source of `target` and reads its header, fills the type list, loads the
    // first compatible type.
    void populateExportOptions(const GridTarget& target);
    void loadExportOptions();
    void setDefaultFormats();
    std::wstring buildColumnSignature() const;
    void populateColumns();
    void populateReplaces();
    // Writes the type file (the previous one kept as ".old") and rebuilds the catalog. Raises
    // zav::Error on failure, leaving the previous type file as it was.
    void saveExportOptions();
    // What an export of the type as the dialog holds it now writes.
    ExportPlan exportPlan() const;
    // Writes the output file. Raises zav::Error on failure (also when the list view could not be
    // read to the end), leaving any earlier file at the output path as it was.
    void writeExport();
    // The same as a job the caller runs a block at a time (and may drop to stop it).
    std::unique_ptr<FileExportJob> startExport();

    // Leaving the name box: refuses a slash with its message; true when the focus may leave.
    bool validateExportTypeText();
    // Before saving: refuses a name that cannot be a file name, or a text the type file could not
    // give back whole, with a message; true when the type can be saved.
    bool checkExportTypeName();
    // OK: checks the name, saves, writes, sets bOK. False when the name was refused (nothing
    // done); raises zav::Error when saving or writing fails.
    bool okClicked();
    // OK of a dialog that runs the rest of the work a step at a time: checks the name and writes
    // the type file (false, nothing done, when the name was refused; raises when writing fails).
    // The caller then runs startCatalogRebuild() and startExport() and sets bOK when both
    // finished.
    bool okSaving();
    // The rebuild of the catalog that completes a save, as a job the caller runs a few type files
    // at a time. Raises zav::Error when the option folder cannot be listed.
    std::unique_ptr<CatalogRebuild> startCatalogRebuild() const;
    // Tells the user that the export was stopped.
    void exportStopped();
    // Close request (OK, Cancel, the close box): true when the dialog may close.
    bool queryClose();
    void helpClicked();

    // The type as the dialog holds it now, and its rules per column.
    ExportType exportType() const;
    std::vector<ColumnRules> columnRules() const;
    const Settings& settings() const { return settings_; }

private:
    // The column list from the grid's columns, with those rules.
    void buildColumns(const std::vector<ColumnRules>& rules);
    void saveTypeFile();
    std::wstring defaultTypeName();
    const ListViewInfo& info() const { return grid_->info; }

    const Storage storage_;
    Settings settings_;
    IGridSourceFactory& captures_;
    IWindowInfo& windows_;
    IReporter& reporter_;
    std::shared_ptr<OpenedGrid> grid_;

    std::wstring txtExportType_;
    ExportFormat format_ = ExportFormat::Html;
    std::vector<std::wstring> cmbItems_;
    int cmbSelected_ = -1;
    std::wstring cmbText_;
    std::vector<std::wstring> columnItems_;
    int columnSelected_ = -1;
    std::vector<std::pair<std::wstring, std::wstring>> replaceItems_;
    int replaceSelected_ = -1;
};

}  // namespace zav
