#include "exporttype/ExportTypeFile.h"

#include "core/Error.h"
#include "core/ScopeExit.h"
#include "exporttype/ExportTypeName.h"
#include "exporttype/IniText.h"
#include "ini/FileInfo.h"
#include "ini/PlainIni.h"
#include "ini/ValueLimits.h"
#include "text/Ansi.h"

namespace zav {
namespace {

const wchar_t* const kFileInfoKeys[] = {kFileInfoTypeKey, kFileInfoVersionKey, kEncodingKey};

bool isBlank(const std::wstring& s) { return s.find_first_not_of(L' ') == std::wstring::npos; }

// Whether an entry of a literal type file is one of the type's own keys rather than a rule (a
// column named "General" or "FileInfo" shares the section with them).
bool isOwnKey(const std::wstring& section, const std::wstring& key) {
    if (equalsNoCase(section, kGeneralSection)) {
        for (const auto& k : kExportTypeKeys)
            if (equalsNoCase(key, k.key)) return true;
    } else if (equalsNoCase(section, kFileInfoSection)) {
        for (const wchar_t* k : kFileInfoKeys)
            if (equalsNoCase(key, k)) return true;
    }
    return false;
}

// Raises when the profile layer refused a write to the type file (`written` false or 0).
template <class Result>
void checkWritten(const cINIFile& ini, Result written) {
    if (!written)
        throw Error(kErrFileAccess, L"WritePrivateProfileString " + ini.FullPath(),
                    L"The export type file cannot be written");
}

void writeTypeFile(const Storage& storage, const std::wstring& path, const ExportType& type,
                   const std::vector<ColumnRules>& rules) {
    storage.fs.createTextFile(path);
    cINIFile ini(storage);
    ini.FullPath(path);
    checkWritten(ini, writeFileInfo(ini, kExportOptionType));
    ini.SectionName(kFileInfoSection);
    checkWritten(ini, ini.PutString(kEncodingKey, kEncodingEscaped));
    ini.SectionName(kGeneralSection);
    // The type's own values may be of any length: a long one is kept in continuation entries.
    for (const auto& k : kExportTypeKeys) checkWritten(ini, ini.PutLongString(k.key, encodeIniValue(type.*k.field)));
    for (const auto& column : rules) {
        if (column.rules.empty()) continue;
        ini.SectionName(encodeIniSectionName(column.column));
        for (const auto& rule : column.rules)
            checkWritten(ini, ini.PutString(encodeIniRuleKey(rule.replace), encodeIniRuleValue(rule.with)));
    }
    ini.FlushCache();
}

ExportTypeListing listThroughReader(const Storage& storage, const std::wstring& path) {
    ExportTypeReader reader = ExportTypeReader::typeFile(storage, path);
    if (!reader.isExportType()) return {};
    return {true, reader.value(L"Columns"), reader.value(L"Name")};
}

// What GetLongString gives of an entry of "General": the value (empty when missing), then its
// continuation entries for as long as they follow one another.
std::wstring longValue(const IniDocument& doc, const std::wstring& key) {
    std::wstring text = iniValue(doc, kGeneralSection, key).value_or(L"");
    for (std::size_t index = 2;; ++index) {
        const auto piece = iniValue(doc, kGeneralSection, cINIFile::ContinuationName(key, index));
        if (!piece) return text;
        text += *piece;
    }
}

ExportTypeListing listFromDocument(const IniDocument& doc) {
    if (iniValue(doc, kFileInfoSection, kFileInfoTypeKey).value_or(L"") != kExportOptionType) return {};
    const bool escaped = iniValue(doc, kFileInfoSection, kEncodingKey).value_or(L"") == kEncodingEscaped;
    auto text = [&](const wchar_t* key) {
        std::wstring value = longValue(doc, key);
        return escaped ? decodeIniText(value) : value;
    };
    return {true, text(L"Columns"), text(L"Name")};
}

}  // namespace

ExportTypeListing listExportType(const Storage& storage, const std::wstring& path) {
    std::string bytes;
    try {
        bytes = storage.fs.readAll(path);
    } catch (const Error&) {
        return listThroughReader(storage, path);  // what the profile functions make of a file they cannot read
    }
    if (const auto doc = plainIniDocument(bytes)) return listFromDocument(*doc);
    return listThroughReader(storage, path);
}

ExportTypeReader::ExportTypeReader(const Storage& storage, const std::wstring& path, bool isTypeFile)
    : storage_(storage), ini_(storage), typeFile_(isTypeFile) {
    ini_.FullPath(path);
    if (path.empty()) {
        sectionsRead_ = true;  // no file: no sections
        return;
    }
    if (isTypeFile) {
        ini_.SectionName(kFileInfoSection);
        escaped_ = ini_.GetString(kEncodingKey, L"") == kEncodingEscaped;
    }
}

ExportTypeReader ExportTypeReader::typeFile(const Storage& storage, const std::wstring& path) {
    return ExportTypeReader(storage, path, true);
}

ExportTypeReader ExportTypeReader::replacesFile(const Storage& storage, const std::wstring& path) {
    return ExportTypeReader(storage, path, false);
}

bool ExportTypeReader::isExportType() {
    ini_.SectionName(kFileInfoSection);
    return ini_.GetString(kFileInfoTypeKey, L"") == kExportOptionType;
}

std::wstring ExportTypeReader::value(const wchar_t* key) {
    ini_.SectionName(kGeneralSection);
    std::wstring text = ini_.GetLongString(key, L"");
    return escaped_ ? decodeIniText(text) : text;
}

ExportType ExportTypeReader::readType() {
    ExportType type;
    for (const auto& k : kExportTypeKeys) type.*k.field = value(k.key);
    return type;
}

bool ExportTypeReader::hasSection(const std::wstring& name) {
    // The section list is read once, when the first column asks (the catalog never does).
    if (!sectionsRead_) {
        sectionsRead_ = true;
        if (storage_.fs.fileExists(ini_.FullPath())) ini_.GetSectionsEx(sections_);
    }
    for (const auto& s : sections_)
        if (equalsNoCase(s, name)) return true;
    return false;
}

std::vector<ReplaceRule> ExportTypeReader::rulesFor(const std::wstring& columnName) {
    std::vector<ReplaceRule> rules;
    std::wstring section;
    if (escaped_) {
        section = encodeIniSectionName(columnName);
    } else {
        if (isBlank(columnName)) return rules;  // a blank name selects no section
        section = columnName;
    }
    if (!hasSection(section)) return rules;
    ini_.SectionName(section);
    const std::wstring entries = ini_.GetSectEntries();
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
        if (escaped_) {
            key = decodeIniText(key);
            value = decodeIniText(value);
        } else if (typeFile_ && isOwnKey(section, piece.substr(0, piece.find(L'=')))) {
            continue;  // the type's own entry, not a rule
        }
        bool seen = false;
        for (const auto& r : rules) seen = seen || (r.replace.size() == key.size() && equalsNoCase(r.replace, key));
        if (!seen) rules.push_back({std::move(key), std::move(value)});
    }
    return rules;
}

std::wstring exportTypeLimitProblem(const ExportType& type, const std::vector<ColumnRules>& rules) {
    for (const auto& k : kExportTypeKeys) {
        const std::wstring problem = longValueProblem(k.key, encodeIniValue(type.*k.field));
        if (!problem.empty()) return problem;
    }
    // A rule is one entry of its column's section: its text and its replacement must each fit
    // one value.
    for (const auto& column : rules) {
        for (const auto& rule : column.rules) {
            std::wstring problem =
                valueLimitProblem(L"A rule of the column \"" + column.column + L"\"", encodeIniRuleKey(rule.replace));
            if (problem.empty())
                problem = valueLimitProblem(L"The replacement of \"" + rule.replace.substr(0, 40) + L"\" in the column \"" +
                                                column.column + L"\"",
                                            encodeIniRuleValue(rule.with));
            if (!problem.empty()) return problem;
        }
    }
    return {};
}

void saveExportTypeFile(const Storage& storage, const std::wstring& folder, const ExportType& type,
                        const std::vector<ColumnRules>& rules) {
    IFileSystem& fs = storage.fs;
    std::wstring problem = exportTypeNameProblem(type.name);
    if (!problem.empty()) throw Error(kErrInvalidName, L"Save export type " + type.name, problem);
    problem = exportTypeLimitProblem(type, rules);
    if (!problem.empty()) throw Error(kErrFileAccess, L"Save export type " + type.name, problem);

    const std::wstring typePath = folder + type.name + L".ini";
    const std::wstring backupPath = folder + type.name + L".old";
    // Not an ".ini" name, so the catalog never lists it.
    const std::wstring newPath = folder + type.name + L".tmp";

    // Until the new version has its name, a failure leaves no temporary file behind.
    auto dropNew = scopeExit([&] { discardFile(fs, newPath); });

    // 1. The new version, complete, beside the old one.
    discardFile(fs, newPath);
    writeTypeFile(storage, newPath, type, rules);

    // 2. The old version becomes the backup, the new one takes its name.
    if (fs.fileExists(typePath)) {
        if (fs.fileExists(backupPath)) fs.deleteFile(backupPath, false);
        fs.moveFile(typePath, backupPath);
        auto restore = scopeExit([&] {
            try {
                fs.moveFile(backupPath, typePath);  // put the previous version back
            } catch (const Error&) {
            }
        });
        fs.moveFile(newPath, typePath);
        restore.dismiss();
    } else {
        fs.moveFile(newPath, typePath);
    }
    dropNew.dismiss();
}

}  // namespace zav
