#include "model/ExportOptions.h"

#include <algorithm>

#include "catalog/Catalog.h"
#include "core/Error.h"
#include "exporttype/ExportTypeFile.h"
#include "exporttype/ExportTypeName.h"
#include "format/DelimitedWriter.h"
#include "ini/FileSystem.h"
#include "job/FileExport.h"

namespace zav {

frmExportOptionsModel::frmExportOptionsModel(const Storage& storage, const Settings& settings,
                                             IGridSourceFactory& captures, IWindowInfo& windows, IReporter& reporter)
    : storage_(storage),
      settings_(settings),
      captures_(captures),
      windows_(windows),
      reporter_(reporter),
      grid_(std::make_shared<OpenedGrid>()) {}

frmExportOptionsModel::~frmExportOptionsModel() = default;

const wchar_t* frmExportOptionsModel::extensionOf(ExportFormat format) {
    switch (format) {
        case ExportFormat::Csv: return L".csv";
        case ExportFormat::Tsv: return L".txt";
        case ExportFormat::Json: return L".json";
        case ExportFormat::Xml: return L".xml";
        default: return L".html";
    }
}

void frmExportOptionsModel::setExportTypeText(const std::wstring& name) {
    txtExportType_ = name;
    txtOutput = settings_.outputFolder + name + extensionOf(format_);
}

void frmExportOptionsModel::setFormat(ExportFormat format) {
    // An output file the user typed stays as typed.
    if (txtOutput == settings_.outputFolder + txtExportType_ + extensionOf(format_))
        txtOutput = settings_.outputFolder + txtExportType_ + extensionOf(format);
    format_ = format;
}

std::vector<std::int32_t> frmExportOptionsModel::exportedColumns() const {
    return zav::exportedColumns(info(), displayOrder, checkedColumn);
}

void frmExportOptionsModel::selectExportType(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= cmbItems_.size())
        throw Error(kErrSubscript, L"selectExportType", L"Subscript out of range");
    cmbSelected_ = index;
    cmbText_ = cmbItems_[static_cast<std::size_t>(index)];
    loadExportOptions();
}

void frmExportOptionsModel::newExportType() {
    cmbSelected_ = -1;
    cmbText_.clear();
    loadExportOptions();
}

void frmExportOptionsModel::selectColumn(int index) {
    columnSelected_ = index >= 0 && static_cast<std::size_t>(index) < columnItems_.size() ? index : -1;
    populateReplaces();
}

void frmExportOptionsModel::selectReplace(int index) {
    replaceSelected_ = index >= 0 && static_cast<std::size_t>(index) < replaceItems_.size() ? index : -1;
}

std::shared_ptr<cColumn> frmExportOptionsModel::selectedColumnObject() const {
    if (columnSelected_ < 0) return nullptr;
    return columns.find(columnItems_[static_cast<std::size_t>(columnSelected_)]);
}

bool frmExportOptionsModel::addReplaceClicked(AddReplaceModel& addDialog) const {
    auto column = selectedColumnObject();
    if (!column) return false;
    addDialog.addReplace(column);
    return true;
}

void frmExportOptionsModel::removeReplaceClicked() {
    if (replaceSelected_ < 0) return;
    auto column = selectedColumnObject();
    if (!column) return;
    column->removeReplace(replaceItems_[static_cast<std::size_t>(replaceSelected_)].first);
    populateReplaces();
}

void frmExportOptionsModel::populateExportOptions(const GridTarget& target) {
    cmbItems_.clear();
    cmbSelected_ = -1;
    cmbText_.clear();

    grid_ = openGrid(captures_, target);

    szColumns = buildColumnSignature();
    cmbItems_ = compatibleExportTypes(storage_, settings_, szColumns);
    if (!cmbItems_.empty()) selectExportType(0);
    loadExportOptions();
}

std::wstring frmExportOptionsModel::controlName() const { return grid_->controlName(); }

std::wstring frmExportOptionsModel::captureProblem() const { return grid_->problem(); }

std::wstring frmExportOptionsModel::compatibleTypesLabel() const {
    const std::wstring kind =
        grid_->source && info().kind != ControlKind::ListView ? describeControlKind(info().kind) : std::wstring();
    return kind.empty() ? std::wstring(L"Compatible Export Types") : L"Compatible Export Types (" + kind + L")";
}

std::wstring frmExportOptionsModel::defaultTypeName() {
    // The first non-empty caption up the chain of parent windows of this dialog's list view.
    WindowHandle h = windows_.getParent(info().hWnd);
    std::wstring text = windows_.getWindowCaption(h);
    for (int depth = 0; text.empty() && h != 0 && depth < 256; ++depth) {
        h = windows_.getParent(h);
        text = windows_.getWindowCaption(h);
    }
    std::wstring name = proposeExportTypeName(text);
    if (name.empty()) {
        // Named after the columns, without the kind's mark.
        const std::wstring mark = controlKindMark(info().kind);
        name = proposeExportTypeName(szColumns.compare(0, mark.size(), mark) == 0 ? szColumns.substr(mark.size())
                                                                                 : szColumns);
    }
    return name;
}

void frmExportOptionsModel::loadExportOptions() {
    columns.clear();
    if (!cmbText_.empty()) {
        const SavedExportType saved = readSavedExportType(storage_, settings_, cmbText_, info());
        const ExportType& type = saved.type;
        setExportTypeText(type.name);
        txtOutput = type.file;
        txtHTMLHeader = type.htmlHeader;
        txtTableFormat = type.tableFormat;
        txtHeaderFormat = type.headerFormat;
        txtDataFormat = type.dataFormat;
        txtHTMLFooter = type.htmlFooter;
        format_ = exportFormatOf(type.format);
        txtDelimiter = type.delimiter;
        ansiEncoding = type.textEncoding == kEncodingAnsi;
        formulaSafety = type.formulaSafety != L"0";
        // A type of an earlier version has no order and kept index order.
        displayOrder = type.columnOrder == kColumnOrderDisplay;
        openAfterExport = type.openAfterExport == L"1";
        selectedRowsOnly = type.selectedRowsOnly == L"1";
        checkedColumn = type.checkedColumn == L"1";
        szColumns = type.columns;
        buildColumns(saved.rules);
    } else {
        format_ = ExportFormat::Html;
        txtDelimiter = userDelimiter(storage_.host);
        ansiEncoding = false;
        formulaSafety = true;
        displayOrder = true;
        openAfterExport = false;
        selectedRowsOnly = false;
        checkedColumn = false;
        setExportTypeText(defaultTypeName());
        setDefaultFormats();
        ExportTypeReader source = ExportTypeReader::replacesFile(storage_, settings_.replacesFile);
        buildColumns(columnRulesOf(source, info()));
    }
    columnSelected_ = -1;
    populateColumns();
    populateReplaces();
}

void frmExportOptionsModel::buildColumns(const std::vector<ColumnRules>& rules) {
    std::int32_t index = 0;
    for (const ColumnRules& rulesOfColumn : rules) {
        auto column = std::make_shared<cColumn>();
        column->szName = rulesOfColumn.column;
        column->lColNum = ++index;
        for (const auto& rule : rulesOfColumn.rules) column->addReplace(rule.replace, rule.with);
        const std::wstring key = column->szName;
        columns.add(key, std::move(column));
    }
}

void frmExportOptionsModel::setDefaultFormats() {
    txtDataFormat.clear();
    txtHeaderFormat.clear();
    txtHTMLFooter = L"</HTML>";
    txtHTMLHeader = L"<HTML>";
    txtTableFormat.clear();
}

std::wstring frmExportOptionsModel::buildColumnSignature() const { return zav::buildColumnSignature(info()); }

void frmExportOptionsModel::populateColumns() {
    columnItems_.clear();
    for (const auto& column : columns) columnItems_.push_back(column->szName);
    if (columnSelected_ >= static_cast<int>(columnItems_.size())) columnSelected_ = -1;
}

void frmExportOptionsModel::populateReplaces() {
    replaceItems_.clear();
    replaceSelected_ = -1;
    auto column = selectedColumnObject();
    if (!column) return;
    for (const auto& rule : column->replaces) replaceItems_.emplace_back(rule->szReplace, rule->szWith);
}

ExportType frmExportOptionsModel::exportType() const {
    ExportType type;
    type.name = txtExportType_;
    type.file = txtOutput;
    type.columns = szColumns;
    type.htmlHeader = txtHTMLHeader;
    type.tableFormat = txtTableFormat;
    type.headerFormat = txtHeaderFormat;
    type.dataFormat = txtDataFormat;
    type.htmlFooter = txtHTMLFooter;
    type.format = exportFormatText(format_);
    type.delimiter = txtDelimiter;
    type.textEncoding = ansiEncoding ? kEncodingAnsi : kEncodingUtf8;
    type.formulaSafety = formulaSafety ? L"1" : L"0";
    type.columnOrder = displayOrder ? kColumnOrderDisplay : kColumnOrderIndex;
    type.openAfterExport = openAfterExport ? L"1" : L"0";
    type.selectedRowsOnly = selectedRowsOnly ? L"1" : L"0";
    type.checkedColumn = checkedColumn ? L"1" : L"0";
    return type;
}

std::vector<ColumnRules> frmExportOptionsModel::columnRules() const {
    std::vector<ColumnRules> all;
    for (const auto& column : columns) {
        ColumnRules c{column->szName, {}};
        for (const auto& rule : column->replaces) c.rules.push_back({rule->szReplace, rule->szWith});
        all.push_back(std::move(c));
    }
    return all;
}

void frmExportOptionsModel::saveTypeFile() {
    saveExportTypeFile(storage_, settings_.optionFolder, exportType(), columnRules());
}

void frmExportOptionsModel::saveExportOptions() {
    saveTypeFile();
    rebuildCatalog(storage_, settings_);
}

std::unique_ptr<CatalogRebuild> frmExportOptionsModel::startCatalogRebuild() const {
    return std::make_unique<CatalogRebuild>(storage_, settings_);
}

ExportPlan frmExportOptionsModel::exportPlan() const {
    return exportPlanOf(exportType(), columnRules(), info(), storage_.host.numberFormat());
}

std::unique_ptr<FileExportJob> frmExportOptionsModel::startExport() {
    return startFileExport(storage_.fs, grid_, exportPlan());
}

void frmExportOptionsModel::writeExport() { runToEnd(*startExport()); }

bool frmExportOptionsModel::validateExportTypeText() {
    if (txtExportType_.find_first_of(L"\\/") == std::wstring::npos) return true;
    reporter_.show(kSlashMessage, kProgramTitle, MessageIcon::Stop);
    return false;
}

bool frmExportOptionsModel::checkExportTypeName() {
    std::wstring problem = exportTypeNameProblem(txtExportType_);
    if (problem.empty() && format_ == ExportFormat::Csv) problem = delimiterProblem(txtDelimiter);
    if (problem.empty()) problem = exportTypeLimitProblem(exportType(), columnRules());
    if (problem.empty()) return true;
    reporter_.show(problem, kProgramTitle, MessageIcon::Stop);
    return false;
}

bool frmExportOptionsModel::okClicked() {
    if (!okSaving()) return false;
    startCatalogRebuild()->finish();
    writeExport();
    bOK = vbTrue;
    return true;
}

bool frmExportOptionsModel::okSaving() {
    if (!checkExportTypeName()) return false;
    saveTypeFile();
    return true;
}

void frmExportOptionsModel::exportStopped() {
    reporter_.show(kStoppedMessage, kProgramTitle, MessageIcon::Information);
}

bool frmExportOptionsModel::queryClose() {
    if (bOK != vbFalse) return true;
    return reporter_.ask(kCancelQuestion, kProgramTitle);
}

void frmExportOptionsModel::helpClicked() {
    reporter_.show(kHelpMessage, kProgramTitle, MessageIcon::Stop);
}

}  // namespace zav
