#include "export/ExportOptions.h"

#include <algorithm>

#include "catalog/Catalog.h"
#include "core/Error.h"
#include "export/DelimitedWriter.h"
#include "export/GridCopy.h"
#include "export/HtmlExport.h"
#include "exporttype/ExportTypeFile.h"
#include "exporttype/ExportTypeName.h"
#include "ini/FileSystem.h"

namespace zav {

std::wstring controlKindMark(ControlKind kind) {
    switch (kind) {
        case ControlKind::TreeView: return L"{TreeView}";
        case ControlKind::ListBox: return L"{ListBox}";
        case ControlKind::ComboBox: return L"{ComboBox}";
        case ControlKind::ListView:
        case ControlKind::None: break;
    }
    return L"";
}

std::wstring buildColumnSignature(const ListViewInfo& lvInfo) {
    std::vector<std::wstring> texts;
    for (std::int32_t i = 1; i <= lvInfo.lColumnCount; ++i) {
        if (static_cast<std::size_t>(i) >= lvInfo.szColumnText.size())
            throw Error(kErrSubscript, L"buildColumnSignature", L"Subscript out of range");
        texts.push_back(lvInfo.szColumnText[static_cast<std::size_t>(i)]);
    }
    // Every other kind is marked so that its types are never offered for a list view whose header
    // reads the same (and the other way round); a list view's signature stays as it always was,
    // and with it every saved type and catalog.
    if (texts.empty()) return buildColumnSignature(texts);
    return controlKindMark(lvInfo.kind) + buildColumnSignature(texts);
}

frmExportOptionsModel::frmExportOptionsModel(const Storage& storage, const Settings& settings,
                                             IGridSourceFactory& captures, IWindowInfo& windows, IReporter& reporter)
    : storage_(storage), settings_(settings), captures_(captures), windows_(windows), reporter_(reporter) {}

frmExportOptionsModel::~frmExportOptionsModel() = default;

const wchar_t* frmExportOptionsModel::extensionOf(ExportFormat format) {
    switch (format) {
        case ExportFormat::Csv: return L".csv";
        case ExportFormat::Tsv: return L".txt";
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

std::wstring frmExportOptionsModel::userDelimiter() const {
    // A list separator that could not separate fields (several characters, say) gives the comma.
    std::wstring separator = storage_.host.listSeparator();
    return delimiterProblem(separator).empty() ? separator : std::wstring(L",");
}

std::vector<std::int32_t> frmExportOptionsModel::exportedColumns() const {
    std::vector<std::int32_t> columns = listColumns();
    if (checkedColumn && lvInfo.checkBoxes) columns.insert(columns.begin(), kCheckedColumn);
    return columns;
}

std::vector<std::int32_t> frmExportOptionsModel::listColumns() const {
    const std::int32_t count = std::max<std::int32_t>(0, lvInfo.lColumnCount);
    if (!displayOrder) return indexOrder(count);
    // The order the capture read, when it names every column once; else index order.
    std::vector<std::int32_t> order = lvInfo.lColumnOrder;
    std::vector<bool> seen(static_cast<std::size_t>(count) + 1, false);
    bool whole = order.size() == static_cast<std::size_t>(count);
    for (std::int32_t c : order) {
        if (!whole || c < 1 || c > count || seen[static_cast<std::size_t>(c)]) {
            whole = false;
            break;
        }
        seen[static_cast<std::size_t>(c)] = true;
    }
    if (!whole) order = indexOrder(count);
    std::vector<std::int32_t> visible;
    for (std::int32_t c : order) {
        const auto index = static_cast<std::size_t>(c);
        if (index >= lvInfo.lColumnWidth.size() || lvInfo.lColumnWidth[index] > 0) visible.push_back(c);
    }
    // Every column hidden: an export of nothing would say nothing; take them all.
    return visible.empty() ? order : visible;
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

    lvInfo = ListViewInfo{};
    lvInfo.hWnd = target.window;
    // Known before any read, so that a read that fails names the right control.
    if (target.kind != ControlKind::None) lvInfo.kind = target.kind;
    capture_ = captures_.openGridSource(target);
    if (capture_) capture_->readListViewInfo(lvInfo);  // a failed read leaves the counts at 0

    szColumns = buildColumnSignature();
    cmbItems_ = compatibleExportTypes(storage_, settings_, szColumns);
    if (!cmbItems_.empty()) selectExportType(0);
    loadExportOptions();
}

std::wstring frmExportOptionsModel::controlName() const {
    return describeControlKind(lvInfo.kind == ControlKind::None ? ControlKind::ListView : lvInfo.kind);
}

std::wstring frmExportOptionsModel::captureProblem() const {
    if (!capture_) return describeCaptureFailure(CaptureFailure::NoWindow, lvInfo.kind);
    return describeCaptureFailure(capture_->failure(), lvInfo.kind);
}

std::wstring frmExportOptionsModel::compatibleTypesLabel() const {
    const std::wstring kind =
        capture_ && lvInfo.kind != ControlKind::ListView ? describeControlKind(lvInfo.kind) : std::wstring();
    return kind.empty() ? std::wstring(L"Compatible Export Types") : L"Compatible Export Types (" + kind + L")";
}

std::wstring frmExportOptionsModel::defaultTypeName() {
    // The first non-empty caption up the chain of parent windows of this dialog's list view.
    WindowHandle h = windows_.getParent(lvInfo.hWnd);
    std::wstring text = windows_.getWindowCaption(h);
    for (int depth = 0; text.empty() && h != 0 && depth < 256; ++depth) {
        h = windows_.getParent(h);
        text = windows_.getWindowCaption(h);
    }
    std::wstring name = proposeExportTypeName(text);
    if (name.empty()) {
        // Named after the columns, without the kind's mark.
        const std::wstring mark = controlKindMark(lvInfo.kind);
        name = proposeExportTypeName(szColumns.compare(0, mark.size(), mark) == 0 ? szColumns.substr(mark.size())
                                                                                 : szColumns);
    }
    return name;
}

void frmExportOptionsModel::loadExportOptions() {
    columns.clear();
    if (!cmbText_.empty()) {
        ExportTypeReader source = ExportTypeReader::typeFile(storage_, settings_.optionFolder + cmbText_ + L".ini");
        const ExportType type = source.readType();
        setExportTypeText(type.name);
        txtOutput = type.file;
        txtHTMLHeader = type.htmlHeader;
        txtTableFormat = type.tableFormat;
        txtHeaderFormat = type.headerFormat;
        txtDataFormat = type.dataFormat;
        txtHTMLFooter = type.htmlFooter;
        format_ = exportFormatOf(type.format);
        txtDelimiter = type.delimiter.empty() ? userDelimiter() : type.delimiter;
        ansiEncoding = type.textEncoding == kEncodingAnsi;
        formulaSafety = type.formulaSafety != L"0";
        // A type of an earlier version has no order and kept index order.
        displayOrder = type.columnOrder == kColumnOrderDisplay;
        openAfterExport = type.openAfterExport == L"1";
        selectedRowsOnly = type.selectedRowsOnly == L"1";
        checkedColumn = type.checkedColumn == L"1";
        szColumns = type.columns;
        buildColumns(source);
    } else {
        format_ = ExportFormat::Html;
        txtDelimiter = userDelimiter();
        ansiEncoding = false;
        formulaSafety = true;
        displayOrder = true;
        openAfterExport = false;
        selectedRowsOnly = false;
        checkedColumn = false;
        setExportTypeText(defaultTypeName());
        setDefaultFormats();
        ExportTypeReader source = ExportTypeReader::replacesFile(storage_, settings_.replacesFile);
        buildColumns(source);
    }
    columnSelected_ = -1;
    populateColumns();
    populateReplaces();
}

void frmExportOptionsModel::buildColumns(ExportTypeReader& source) {
    for (std::int32_t i = 1; i <= lvInfo.lColumnCount; ++i) {
        if (static_cast<std::size_t>(i) >= lvInfo.szColumnText.size())
            throw Error(kErrSubscript, L"loadExportOptions", L"Subscript out of range");
        const std::wstring& text = lvInfo.szColumnText[static_cast<std::size_t>(i)];
        auto column = std::make_shared<cColumn>();
        column->szName = text + uniqueColumnSuffix(text);
        column->lColNum = i;
        for (const auto& rule : source.rulesFor(column->szName)) column->addReplace(rule.replace, rule.with);
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

std::wstring frmExportOptionsModel::uniqueColumnSuffix(const std::wstring& szText) const {
    // Names are compared without regard to letter case, as the column list's keys and the rule
    // sections are: 'Name' and 'name' become 'Name' and 'name1'.
    std::wstring candidate = szText;
    std::int32_t n = 0;
    while (columns.contains(candidate)) {
        ++n;
        candidate = szText + std::to_wstring(n);
    }
    return n == 0 ? std::wstring() : std::to_wstring(n);
}

std::wstring frmExportOptionsModel::buildColumnSignature() const { return zav::buildColumnSignature(lvInfo); }

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

std::vector<cReplaceList> frmExportOptionsModel::rulesByColumn() const {
    std::vector<cReplaceList> rules(static_cast<std::size_t>(lvInfo.lColumnCount > 0 ? lvInfo.lColumnCount : 0) + 1);
    for (const auto& column : columns)
        if (column->lColNum >= 1 && static_cast<std::size_t>(column->lColNum) < rules.size())
            rules[static_cast<std::size_t>(column->lColNum)] = column->replaces;
    return rules;
}

std::unique_ptr<GridCopyJob> frmExportOptionsModel::startGridCopy(bool selectedRows) {
    const wchar_t* what = selectedRows ? L"Copy Selected Rows" : L"Copy Grid";
    const std::wstring problem = captureProblem();
    if (!problem.empty()) throw Error(kErrCaptureFailed, what, problem);
    std::vector<std::int32_t> selected;
    if (selectedRows && !capture_->readSelectedRows(selected))
        throw Error(kErrCaptureFailed, what, describeCaptureFailure(capture_->failure(), lvInfo.kind));
    // Without a saved type the seed rules of a new type do not apply: the copy is what the list shows.
    std::vector<cReplaceList> rules = cmbSelected_ >= 0 ? rulesByColumn() : std::vector<cReplaceList>();
    return std::make_unique<GridCopyJob>(lvInfo, *capture_, std::move(rules), storage_.host.numberFormat(), exportedColumns(),
                                         selectedRows ? &selected : nullptr);
}

std::unique_ptr<HtmlExportJob> frmExportOptionsModel::startHTMLExport() {
    if (!capture_) throw Error(kErrCaptureFailed, L"Export", describeCaptureFailure(CaptureFailure::NoWindow, lvInfo.kind));
    if (txtOutput.empty()) throw Error(kErrInvalidName, L"Export", L"No output file is given");

    std::vector<cReplaceList> rules = rulesByColumn();

    // The selection as it stands now; an export of none of them would be a file of nothing.
    std::optional<std::vector<std::int32_t>> rows;
    if (selectedRowsOnly) {
        rows.emplace();
        if (!capture_->readSelectedRows(*rows))
            throw Error(kErrCaptureFailed, L"Export", describeCaptureFailure(capture_->failure(), lvInfo.kind));
        if (rows->empty()) throw Error(kErrCaptureFailed, L"Export", kNoSelectionMessage);
    }

    if (format_ != ExportFormat::Html) {
        DelimitedOptions options;
        options.delimiter = format_ == ExportFormat::Tsv ? L'\t' : (txtDelimiter.empty() ? L',' : txtDelimiter[0]);
        options.utf8 = !ansiEncoding;
        options.formulaSafety = formulaSafety;
        return std::make_unique<HtmlExportJob>(storage_.fs, txtOutput, options, lvInfo, *capture_, std::move(rules),
                                               storage_.host.numberFormat(), exportedColumns(), std::move(rows));
    }
    HtmlFragments fragments{txtHTMLHeader, txtTableFormat, txtHeaderFormat, txtDataFormat, txtHTMLFooter};
    return std::make_unique<HtmlExportJob>(storage_.fs, txtOutput, std::move(fragments), lvInfo, *capture_,
                                           std::move(rules), storage_.host.numberFormat(), exportedColumns(), std::move(rows));
}

void frmExportOptionsModel::writeHTMLExport() {
    auto job = startHTMLExport();
    while (job->step()) {
    }
    job->finish();
}

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
    writeHTMLExport();
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
