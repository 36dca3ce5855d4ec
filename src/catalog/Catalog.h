// The catalog: which saved export types were made for which column layout. A derived index,
// rebuilt whole from the export type files; plus the file-info stamp of every configuration file.
#pragma once

#include <string>
#include <vector>

#include "settings/Settings.h"

namespace zav {

inline constexpr const wchar_t* kCatalogType = L"Catalog";

// The header texts (1..n, given here 0-based) joined with "_", the separator only after a
// non-empty text so far.
std::wstring buildColumnSignature(const std::vector<std::wstring>& headerTexts);

// Recreates the catalog file (setting "CatalogFile") from the type files in the setting
// "OptionFolder": the new catalog is written beside the old one and then takes its place, so a
// lookup never meets a half-written catalog. Raises zav::Error when the catalog or the folder
// cannot be worked on (the previous catalog then stays).
void rebuildCatalog(const Settings& settings);

// The type names listed for the signature, in catalog order; empty when there is no section
// (and for the empty signature).
std::vector<std::wstring> compatibleExportTypes(const Settings& settings, const std::wstring& szSignature);

}  // namespace zav
