#include "catalog/Catalog.h"

#include <memory>
#include <utility>

#include "capture/Capture.h"
#include "catalog/IniText.h"
#include "core/Error.h"
#include "core/Platform.h"
#include "core/Types.h"
#include "ini/FileSystem.h"
#include "startup/Settings.h"
#include "startup/mMain.h"
#include "text/Ansi.h"

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

std::wstring buildColumnSignature(const ListViewInfo& lvInfo) {
    std::wstring signature;
    for (std::int32_t i = 1; i <= lvInfo.lColumnCount; ++i) {
        if (!signature.empty()) signature += L"_";
        if (static_cast<std::size_t>(i) >= lvInfo.szColumnText.size())
            throw Error(kErrSubscript, L"buildColumnSignature", L"Subscript out of range");
        signature += lvInfo.szColumnText[static_cast<std::size_t>(i)];
    }
    return signature;
}

void rebuildCatalog() {
    IFileSystem& fs = *services().fs;
    const std::wstring catalogPath = iniSettings().GetString(kCatalogFileKey, L"");
    const std::wstring optionFolder = iniSettings().GetString(kOptionFolderKey, L"");

    // Gather first: signature -> names, sections in the order the signatures were first met.
    std::vector<SignatureEntry> sections;
    cINIFile reader;
    for (const FolderEntry& entry : fs.listFiles(optionFolder)) {
        if (!entry.configSettings) continue;
        reader.FullPath(entry.path);
        reader.SectionName(kFileInfoSection);
        if (reader.GetString(L"Type", L"") != kExportOptionType) continue;
        const bool escaped = reader.GetString(kEncodingKey, L"") == kEncodingEscaped;
        reader.SectionName(kGeneralSection);
        std::wstring columns = reader.GetString(L"Columns", L"");
        std::wstring name = reader.GetString(L"Name", L"");
        if (escaped) {
            columns = decodeIniText(columns);
            name = decodeIniText(name);
        }
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

std::vector<std::wstring> compatibleExportTypes(const std::wstring& szSignature) {
    std::vector<std::wstring> names;
    if (szSignature.empty()) return names;
    cINIFile catalog;
    catalog.FullPath(iniSettings().GetString(kCatalogFileKey, L""));
    if (!services().fs->fileExists(catalog.FullPath())) return names;
    // The catalog is always this version's own (rebuilt at every start): its section names and
    // type names are escaped. A missing section reads "Count" as 0; names are read whole.
    catalog.SectionName(encodeIniSectionName(szSignature));
    const std::int16_t count = catalog.GetInt(L"Count", 0);
    for (int i = 1; i <= count; ++i) names.push_back(decodeIniText(catalog.GetString(std::to_wstring(i), L"")));
    return names;
}

}  // namespace zav
