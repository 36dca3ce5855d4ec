#include "catalog/Catalog.h"

#include "core/Error.h"
#include "core/Platform.h"
#include "core/Types.h"
#include "ini/FileSystem.h"
#include "startup/mMain.h"
#include "startup/Settings.h"

namespace zav {
namespace {

bool isBlank(const std::wstring& s) { return s.find_first_not_of(L' ') == std::wstring::npos; }

}  // namespace

std::wstring versionText() {
    return std::to_wstring(kVersionMajor) + L"." + std::to_wstring(kVersionMinor) + L"." +
           std::to_wstring(kVersionRevision);
}

void writeFileInfo(cINIFile& ini, const std::wstring& szType) {
    const std::wstring remembered = ini.SectionName();
    ini.SectionName(kFileInfoSection);
    ini.PutString(L"Type", szType);
    ini.PutString(L"Version", versionText());
    ini.SectionName(remembered);
}

std::wstring buildColumnSignature(const std::vector<std::wstring>& headerTexts) {
    std::wstring signature;
    for (const auto& text : headerTexts) {
        if (!signature.empty()) signature += L"_";
        signature += text;
    }
    return signature;
}

void rebuildCatalog() {
    IFileSystem& fs = *services().fs;
    const std::wstring catalogPath = iniSettings().GetString(kCatalogFileKey, L"");
    if (fs.fileExists(catalogPath)) fs.deleteFile(catalogPath, false);
    fs.createTextFile(catalogPath);

    cINIFile catalog;
    catalog.FullPath(catalogPath);
    writeFileInfo(catalog, L"Catalog");

    cINIFile reader;
    const std::wstring optionFolder = iniSettings().GetString(kOptionFolderKey, L"");
    for (const FolderEntry& entry : fs.listFiles(optionFolder)) {
        if (!entry.configSettings) continue;
        reader.FullPath(entry.path);
        reader.SectionName(kFileInfoSection);
        if (reader.GetString(L"Type", L"") != kExportOptionType) continue;
        reader.SectionName(L"General");
        const std::wstring columns = reader.GetString(L"Columns", L"");
        const std::wstring name = reader.GetString(L"Name", L"");
        // A blank signature cannot name a section: the INI object refuses each access (and says
        // so), and the rebuild goes on with the next file.
        catalog.SectionName(columns);
        std::int16_t count = catalog.GetInt(L"Count", 0);
        count = narrow16(static_cast<long>(count) + 1, L"Catalog count of " + columns);
        catalog.PutInt(L"Count", count);
        catalog.PutString(std::to_wstring(count), name);
    }
}

std::vector<std::wstring> compatibleExportTypes(const std::wstring& szSignature) {
    std::vector<std::wstring> names;
    if (isBlank(szSignature)) return names;  // no usable section name: nothing is listed
    cINIFile catalog;
    catalog.FullPath(iniSettings().GetString(kCatalogFileKey, L""));
    if (!services().fs->fileExists(catalog.FullPath())) return names;
    if (catalog.SectExist(szSignature) == vbFalse) return names;
    catalog.SectionName(szSignature);
    const std::int16_t count = catalog.GetInt(L"Count", 0);
    for (int i = 1; i <= count; ++i) names.push_back(catalog.GetString(std::to_wstring(i), L""));
    return names;
}

}  // namespace zav
