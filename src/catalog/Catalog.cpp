#include "catalog/Catalog.h"

#include <algorithm>

#include "core/Error.h"
#include "core/Types.h"
#include "exporttype/ExportTypeFile.h"
#include "exporttype/IniText.h"
#include "ini/FileInfo.h"
#include "ini/FileSystem.h"
#include "ini/cINIFile.h"

namespace zav {

std::wstring buildColumnSignature(const std::vector<std::wstring>& headerTexts) {
    std::wstring signature;
    for (const auto& text : headerTexts) {
        if (!signature.empty()) signature += L"_";
        signature += text;
    }
    return signature;
}

void CatalogBuilder::add(const ExportTypeListing& type) {
    // The empty signature names no section: such a type cannot be offered.
    if (!type.exportType || type.columns.empty()) return;
    std::wstring key = type.columns;
    for (auto& c : key)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - 32);
    const auto found = bySignature_.emplace(std::move(key), sections_.size());
    if (found.second) sections_.push_back({type.columns, {}});
    CatalogSection& section = sections_[found.first->second];
    narrow16(static_cast<long>(section.names.size()) + 1, L"Catalog count of " + type.columns);
    section.names.push_back(type.name);
}

std::wstring catalogText(const std::vector<CatalogSection>& sections) {
    std::wstring text = L"[" + std::wstring(kFileInfoSection) + L"]\r\nType=" + kCatalogType +
                        L"\r\nVersion=" + versionText() + L"\r\n";
    for (const auto& s : sections) {
        text += L"[" + encodeIniSectionName(s.signature) + L"]\r\nCount=" + std::to_wstring(s.names.size()) +
                L"\r\n";
        for (std::size_t i = 0; i < s.names.size(); ++i)
            text += std::to_wstring(i + 1) + L"=" + encodeIniValue(s.names[i]) + L"\r\n";
    }
    return text;
}

CatalogRebuild::CatalogRebuild(const Storage& storage, const Settings& settings)
    : storage_(storage), catalogPath_(settings.catalogFile) {
    for (FolderEntry& entry : storage_.fs.listFiles(settings.optionFolder))
        if (entry.configSettings) files_.push_back(std::move(entry));
}

bool CatalogRebuild::step() {
    const std::size_t end = std::min(files_.size(), next_ + kFilesPerStep);
    for (; next_ < end; ++next_) catalog_.add(listExportType(storage_, files_[next_].path));
    return next_ < files_.size();
}

void CatalogRebuild::finish() {
    while (step()) {
    }
    const std::wstring text = catalogText(catalog_.sections());
    writeReplacing(storage_.fs, catalogPath_, [&](ITextWriter& writer) { writer.write(text); });
}

void rebuildCatalog(const Storage& storage, const Settings& settings) {
    CatalogRebuild rebuild(storage, settings);
    rebuild.finish();
}

std::vector<std::wstring> compatibleExportTypes(const Storage& storage, const Settings& settings,
                                                const std::wstring& szSignature) {
    std::vector<std::wstring> names;
    if (szSignature.empty()) return names;
    cINIFile catalog(storage);
    catalog.FullPath(settings.catalogFile);
    if (!storage.fs.fileExists(catalog.FullPath())) return names;
    // The catalog is always this version's own (rebuilt at every start): its section names and
    // type names are escaped. A missing section reads "Count" as 0; names are read whole.
    catalog.SectionName(encodeIniSectionName(szSignature));
    const std::int16_t count = catalog.GetInt(L"Count", 0);
    for (int i = 1; i <= count; ++i) names.push_back(decodeIniText(catalog.GetString(std::to_wstring(i), L"")));
    return names;
}

}  // namespace zav
