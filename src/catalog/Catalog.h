// The catalog: which saved export types were made for which column layout. A derived index,
// rebuilt whole from the export type files at every start and after every save; between rebuilds
// it is only read, by the lookup.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "exporttype/ExportTypeFile.h"
#include "ini/FileSystem.h"
#include "ini/Storage.h"
#include "settings/Settings.h"

namespace zav {

inline constexpr const wchar_t* kCatalogType = L"Catalog";

// The header texts (1..n, given here 0-based) joined with "_", the separator only after a
// non-empty text so far.
std::wstring buildColumnSignature(const std::vector<std::wstring>& headerTexts);

// One section of the catalog: a signature and the names of its types, in the order the rebuild
// met their files.
struct CatalogSection {
    std::wstring signature;
    std::vector<std::wstring> names;
};

// The sections of a catalog being gathered.
class CatalogBuilder {
public:
    // Files an export type under its signature (signatures that differ only in the case of ASCII
    // letters are one section, as the profile functions see them); a file that is no export type,
    // or one made for the empty signature (which names no section), is left out. Raises
    // zav::Error when a section would list more types than its 16-bit count can say.
    void add(const ExportTypeListing& type);
    // In the order their signatures were first met.
    const std::vector<CatalogSection>& sections() const { return sections_; }

private:
    std::vector<CatalogSection> sections_;
    std::unordered_map<std::wstring, std::size_t> bySignature_;  // ASCII letters folded
};

// The catalog file's text: the stamp, then one section per signature with its count and names.
std::wstring catalogText(const std::vector<CatalogSection>& sections);

// A rebuild that reads the type files a few at a time, so that a dialog waiting for it can keep
// repainting between two steps. The catalog file is written only by finish(): until then, and
// when the rebuild is dropped or fails, the previous catalog stays as it was.
class CatalogRebuild {
public:
    static constexpr std::size_t kFilesPerStep = 64;

    // Lists the type files of the setting "OptionFolder". Raises zav::Error when the folder cannot
    // be listed.
    CatalogRebuild(const Storage& storage, const Settings& settings);

    // Reads the next files; false when every file has been read (call finish() then).
    bool step();
    // Writes the new catalog beside the old one, then lets it take the catalog's place. Raises
    // zav::Error when it cannot.
    void finish();

    std::size_t filesRead() const { return next_; }
    std::size_t fileCount() const { return files_.size(); }

private:
    const Storage storage_;
    std::wstring catalogPath_;
    std::vector<FolderEntry> files_;  // the folder's ".ini" files, in listing order
    std::size_t next_ = 0;
    CatalogBuilder catalog_;
};

// Recreates the catalog file (setting "CatalogFile") from the type files in the setting
// "OptionFolder" in one go: the new catalog is written beside the old one and then takes its
// place, so a lookup never meets a half-written catalog. Raises zav::Error when the catalog or the
// folder cannot be worked on (the previous catalog then stays).
void rebuildCatalog(const Storage& storage, const Settings& settings);

// The type names listed for the signature, in catalog order; empty when there is no section
// (and for the empty signature).
std::vector<std::wstring> compatibleExportTypes(const Storage& storage, const Settings& settings,
                                                const std::wstring& szSignature);

}  // namespace zav
