#include "catalog/Catalog.h"

#include <memory>
#include <utility>

#include "core/Error.h"
#include "core/Platform.h"
#include "core/Types.h"
#include "exporttype/ExportTypeFile.h"
#include "exporttype/IniText.h"
#include "ini/FileInfo.h"
#include "ini/FileSystem.h"
#include "ini/cINIFile.h"

namespace zav {
namespace {

// Section names as the profile functions compare them: only ASCII letters are folded.
bool sameSectionName(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i], y = b[i];
        if (x >= L'a' && x <= L'z') x = static_cast<wchar_t>(x - 32);
        if (y >= L'a' && y <= L'z') y = static_cast<wchar_t>(y - 32);
        if (x != y) return false;
    }
    return true;
}

// One catalog section being gathered: the signature and its type names in listing order.
struct SignatureEntry {
    std::wstring signature;
    std::vector<std::wstring> names;
};

}  // namespace

std::wstring buildColumnSignature(const std::vector<std::wstring>& headerTexts) {
    std::wstring signature;
    for (const auto& text : headerTexts) {
        if (!signature.empty()) signature += L"_";
        signature += text;
    }
    return signature;
}

void rebuildCatalog(const Settings& settings) {
    IFileSystem& fs = *services().fs;
    const std::wstring& catalogPath = settings.catalogFile;
    const std::wstring& optionFolder = settings.optionFolder;

    // Gather first: signature -> names, sections in the order the signatures were first met.
    std::vector<SignatureEntry> sections;
    for (const FolderEntry& entry : fs.listFiles(optionFolder)) {
        if (!entry.configSettings) continue;
        ExportTypeReader reader = ExportTypeReader::typeFile(entry.path);
        if (!reader.isExportType()) continue;
        const std::wstring columns = reader.value(L"Columns");
        std::wstring name = reader.value(L"Name");
        // The empty signature names no section: such a type cannot be offered.
        if (columns.empty()) continue;
        SignatureEntry* section = nullptr;
        for (auto& s : sections)
            if (sameSectionName(s.signature, columns)) section = &s;
        if (!section) {
            sections.push_back({columns, {}});
            section = &sections.back();
        }
        narrow16(static_cast<long>(section->names.size()) + 1, L"Catalog count of " + columns);
        section->names.push_back(std::move(name));
    }

    // Write the whole catalog under a temporary name, then let it take the catalog's place.
    std::wstring text = L"[" + std::wstring(kFileInfoSection) + L"]\r\nType=" + kCatalogType +
                        L"\r\nVersion=" + versionText() + L"\r\n";
    for (const auto& s : sections) {
        text += L"[" + encodeIniSectionName(s.signature) + L"]\r\nCount=" + std::to_wstring(s.names.size()) +
                L"\r\n";
        for (std::size_t i = 0; i < s.names.size(); ++i)
            text += std::to_wstring(i + 1) + L"=" + encodeIniValue(s.names[i]) + L"\r\n";
    }
    writeReplacing(fs, catalogPath, [&](ITextWriter& writer) { writer.write(text); });
}

std::vector<std::wstring> compatibleExportTypes(const Settings& settings, const std::wstring& szSignature) {
    std::vector<std::wstring> names;
    if (szSignature.empty()) return names;
    cINIFile catalog;
    catalog.FullPath(settings.catalogFile);
    if (!services().fs->fileExists(catalog.FullPath())) return names;
    // The catalog is always this version's own (rebuilt at every start): its section names and
    // type names are escaped. A missing section reads "Count" as 0; names are read whole.
    catalog.SectionName(encodeIniSectionName(szSignature));
    const std::int16_t count = catalog.GetInt(L"Count", 0);
    for (int i = 1; i <= count; ++i) names.push_back(decodeIniText(catalog.GetString(std::to_wstring(i), L"")));
    return names;
}

}  // namespace zav
