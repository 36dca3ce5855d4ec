#include "export/ExportOptions.h"

#include "catalog/Catalog.h"
#include "catalog/IniText.h"
#include "core/Error.h"
#include "core/Platform.h"
#include "export/ExportTypeName.h"
#include "export/HtmlWriter.h"
#include "ini/FileSystem.h"
#include "ini/cINIFile.h"
#include "startup/Settings.h"
#include "startup/mMain.h"
#include "text/Ansi.h"

namespace zav {
namespace {

// The keys of a type's "General" section, in the order they are saved.
const wchar_t* const kGeneralKeys[] = {L"Name", L"File", L"Columns", L"HTMLHeader", L"HTMLTableFormat",
                                       L"HTMLHeaderFormat", L"HTMLDataFormat", L"HTMLFooter"};
const wchar_t* const kFileInfoKeys[] = {L"Type", L"Version", kEncodingKey};

bool isBlank(const std::wstring& s) { return s.find_first_not_of(L' ') == std::wstring::npos; }

bool isOwnKey(const std::wstring& section, const std::wstring& key) {
    if (equalsNoCase(section, kGeneralSection)) {
        for (const wchar_t* k : kGeneralKeys)
            if (equalsNoCase(key, k)) return true;
    } else if (equalsNoCase(section, kFileInfoSection)) {
        for (const wchar_t* k : kFileInfoKeys)
            if (equalsNoCase(key, k)) return true;
    }
    return false;
}

std::wstring optionFolder() { return iniSettings().GetString(kOptionFolderKey, L""); }

// One value, raising when the profile layer could not write it.
void putChecked(cINIFile& ini, const std::wstring& key, const std::wstring& value) {
    if (ini.PutString(key, value) == 0)
        throw Error(kErrFileAccess, L"WritePrivateProfileString " + ini.FullPath(),
                    L"The export type file cannot be written");
}

}  // namespace

// Where rules come from: the type file or the replaces file. A missing file has no sections.
struct frmExportOptionsModel::RuleSource {
    cINIFile ini;
    bool typeFile = false;
    bool escaped = false;
    std::vector<std::wstring> sections;

    void open(const std::wstring& path, bool isTypeFile) {
        typeFile = isTypeFile;
        ini.FullPath(path);
        sections.clear();
        escaped = false;
        if (path.empty() || !services().fs->fileExists(path)) return;
        ini.SectionName(kFileInfoSection);
        escaped = isTypeFile && ini.GetString(kEncodingKey, L"") == kEncodingEscaped;
        ini.GetSectionsEx(sections);
    }

    bool hasSection(const std::wstring& name) const {
        for (const auto& s : sections)
            if (equalsNoCase(s, name)) return true;
        return false;
    }

    // Adds the rules of `column`'s section to it, in the order of the entries.
    void addRulesTo(cColumn& column) {
        std::wstring section;
        if (escaped) {
            section = encodeIniSectionName(column.szName);
        } else {
            if (isBlank(column.szName)) return;  // a blank name selects no section
            section = column.szName;
        }
        if (!hasSection(section)) return;
        ini.SectionName(section);
        const std::wstring entries = ini.GetSectEntries();
        std::size_t start = 0;
        while (start < entries.size()) {
            std::size_t end = entries.find(L'\0', start);
            if (end == std::wstring::npos) end = entries.size();
            const std::wstring piece = entries.substr(start, end - start);
            start = end + 1;
            const std::size_t eq = piece.rfind(L'=');
            if (eq == std::wstring::npos) continue;  // no entry
            std::wstring key = piece.substr(0, eq);
            std::wstring value = piece.substr(eq + 1);
            if (escaped) {
                key = decodeIniText(key);
                value = decodeIniText(value);
            } else if (typeFile && isOwnKey(section, piece.substr(0, piece.find(L'=')))) {
                continue;  // the type's own entry, not a rule
            }
            if (column.replaces.contains(key)) continue;  // the first of two equal texts stands
            column.addReplace(key, value);
        }
    }
};

frmExportOptionsModel::frmExportOptionsModel(ICaptureFactory& captures, IWindowInfo& windows)
    : captures_(captures), windows_(windows) {}

frmExportOptionsModel::~frmExportOptionsModel() = default;

void frmExportOptionsModel::setExportTypeText(const std::wstring& name) {
    txtExportType_ = name;
    txtOutput = iniSettings().GetString(kOutputFolderKey, L"c:") + name + L".html";
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

void frmExportOptionsModel::populateExportOptions() {
    cmbItems_.clear();
    cmbSelected_ = -1;
    cmbText_.clear();

    lvInfo = ListViewInfo{};
    lvInfo.hWnd = hTargetListView;
    capture_ = captures_.openListViewBuffers(lvInfo.hWnd);
    if (capture_) capture_->readListViewInfo(lvInfo);  // a failed capture leaves the counts at 0

    szColumns = buildColumnSignature();
    cmbItems_ = compatibleExportTypes(szColumns);
    if (!cmbItems_.empty()) selectExportType(0);
    loadExportOptions();
}

std::wstring frmExportOptionsModel::captureProblem() const {
    if (!capture_) return describeCaptureFailure(CaptureFailure::NoWindow);
    return describeCaptureFailure(capture_->failure());
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
    if (name.empty()) name = proposeExportTypeName(szColumns);
    return name;
}

void frmExportOptionsModel::loadExportOptions() {
    columns.clear();
    RuleSource source;
    if (!cmbText_.empty()) {
        const std::wstring path = optionFolder() + cmbText_ + L".ini";
        source.open(path, true);
        cINIFile& type = source.ini;
        type.SectionName(kGeneralSection);
        auto read = [&](const wchar_t* key) {
            std::wstring value = type.GetString(key, L"");
            return source.escaped ? decodeIniText(value) : value;
        };
        txtDataFormat = read(L"HTMLDataFormat");
        setExportTypeText(read(L"Name"));
        txtHeaderFormat = read(L"HTMLHeaderFormat");
        txtHTMLFooter = read(L"HTMLFooter");
        txtHTMLHeader = read(L"HTMLHeader");
        txtOutput = read(L"File");
        txtTableFormat = read(L"HTMLTableFormat");
        szColumns = read(L"Columns");
    } else {
        setExportTypeText(defaultTypeName());
        setDefaultFormats();
        source.open(iniSettings().GetString(kReplacesFileKey, L""), false);
    }
    buildColumns(source);
    columnSelected_ = -1;
    populateColumns();
    populateReplaces();
}

void frmExportOptionsModel::buildColumns(RuleSource& source) {
    for (std::int32_t i = 1; i <= lvInfo.lColumnCount; ++i) {
        if (static_cast<std::size_t>(i) >= lvInfo.szColumnText.size())
            throw Error(kErrSubscript, L"loadExportOptions", L"Subscript out of range");
        const std::wstring& text = lvInfo.szColumnText[static_cast<std::size_t>(i)];
        auto column = std::make_shared<cColumn>();
        column->szName = text + uniqueColumnSuffix(text);
        column->lColNum = i;
        source.addRulesTo(*column);
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

void frmExportOptionsModel::saveExportOptions() {
    const std::wstring name = txtExportType_;
    const std::wstring problem = exportTypeNameProblem(name);
    if (!problem.empty()) throw Error(kErrInvalidName, L"Save export type " + name, problem);

    IFileSystem& fs = *services().fs;
    const std::wstring folder = optionFolder();
    const std::wstring typePath = folder + name + L".ini";
    const std::wstring backupPath = folder + name + L".old";
    // Not an ".ini" name, so the catalog never lists it.
    const std::wstring newPath = folder + name + L".tmp";

    // 1. The new version, complete, beside the old one.
    try {
        discardFile(fs, newPath);
        fs.createTextFile(newPath);
        cINIFile ini;
        ini.FullPath(newPath);
        writeFileInfo(ini, kExportOptionType);
        ini.SectionName(kFileInfoSection);
        putChecked(ini, kEncodingKey, kEncodingEscaped);
        ini.SectionName(kGeneralSection);
        const std::wstring values[] = {txtExportType_, txtOutput,      szColumns,     txtHTMLHeader,
                                       txtTableFormat, txtHeaderFormat, txtDataFormat, txtHTMLFooter};
        for (std::size_t i = 0; i < 8; ++i) putChecked(ini, kGeneralKeys[i], encodeIniValue(values[i]));
        for (const auto& column : columns) {
            for (const auto& rule : column->replaces) {
                ini.SectionName(encodeIniSectionName(column->szName));
                putChecked(ini, encodeIniRuleKey(rule->szReplace), encodeIniRuleValue(rule->szWith));
            }
        }
        ini.FlushCache();
    } catch (...) {
        discardFile(fs, newPath);
        throw;
    }

    // 2. The old version becomes the backup, the new one takes its name.
    if (fs.fileExists(typePath)) {
        try {
            if (fs.fileExists(backupPath)) fs.deleteFile(backupPath, false);
            fs.moveFile(typePath, backupPath);
        } catch (...) {
            discardFile(fs, newPath);
            throw;
        }
        try {
            fs.moveFile(newPath, typePath);
        } catch (...) {
            try {
                fs.moveFile(backupPath, typePath);  // put the previous version back
            } catch (const Error&) {
            }
            discardFile(fs, newPath);
            throw;
        }
    } else {
        try {
            fs.moveFile(newPath, typePath);
        } catch (...) {
            discardFile(fs, newPath);
            throw;
        }
    }

    rebuildCatalog();
}

void frmExportOptionsModel::writeHTMLExport() {
    if (!capture_) throw Error(kErrCaptureFailed, L"Export", describeCaptureFailure(CaptureFailure::NoWindow));
    const std::wstring output = txtOutput;
    if (output.empty()) throw Error(kErrInvalidName, L"Export", L"No output file is given");

    std::vector<const cReplaceList*> rules(static_cast<std::size_t>(lvInfo.lColumnCount > 0 ? lvInfo.lColumnCount : 0) + 1,
                                           nullptr);
    for (const auto& column : columns)
        if (column->lColNum >= 1 && static_cast<std::size_t>(column->lColNum) < rules.size())
            rules[static_cast<std::size_t>(column->lColNum)] = &column->replaces;

    const HtmlFragments fragments{txtHTMLHeader, txtTableFormat, txtHeaderFormat, txtDataFormat, txtHTMLFooter};
    IFileSystem& fs = *services().fs;
    writeReplacing(fs, output, [&](ITextWriter& writer) {
        writeHtmlTable(writer, fragments, lvInfo, *capture_, rules, userNumberFormat());
        // A list view that could not be read to the end is a failed export, not a short table.
        const CaptureFailure failure = capture_->failure();
        if (failure != CaptureFailure::None)
            throw Error(kErrCaptureFailed, L"Export " + output, describeCaptureFailure(failure));
    });
}

bool frmExportOptionsModel::validateExportTypeText() {
    if (txtExportType_.find_first_of(L"\\/") == std::wstring::npos) return true;
    services().reporter->show(kSlashMessage, kProgramTitle, MessageIcon::Stop);
    return false;
}

bool frmExportOptionsModel::checkExportTypeName() {
    const std::wstring problem = exportTypeNameProblem(txtExportType_);
    if (problem.empty()) return true;
    services().reporter->show(problem, kProgramTitle, MessageIcon::Stop);
    return false;
}

bool frmExportOptionsModel::okClicked() {
    if (!checkExportTypeName()) return false;
    saveExportOptions();
    writeHTMLExport();
    bOK = vbTrue;
    return true;
}

bool frmExportOptionsModel::queryClose() {
    if (bOK != vbFalse) return true;
    return services().reporter->ask(kCancelQuestion, kProgramTitle);
}

void frmExportOptionsModel::helpClicked() {
    services().reporter->show(kHelpMessage, kProgramTitle, MessageIcon::Stop);
}

}  // namespace zav
