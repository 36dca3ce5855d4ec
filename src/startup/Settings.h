// The settings file: its keys and the defaults written on the first run, in one table that the
// code and the tests share.
#pragma once

#include <string>

namespace zav {

struct SettingDefault {
    const wchar_t* key;
    const wchar_t* suffix;  // appended to the program folder
};

inline constexpr const wchar_t* kSettingsFileName = L"settings.ini";
inline constexpr const wchar_t* kSettingsSection = L"General";
inline constexpr const wchar_t* kOutputFolderKey = L"OutputFolder";
inline constexpr const wchar_t* kCatalogFileKey = L"CatalogFile";
inline constexpr const wchar_t* kReplacesFileKey = L"ReplacesFile";
inline constexpr const wchar_t* kOptionFolderKey = L"OptionFolder";

// Written in this order on the first run.
inline constexpr SettingDefault kSettingDefaults[] = {
    {kOutputFolderKey, L"\\Exports\\"},
    {kCatalogFileKey, L"\\catalog.ini"},
    {kReplacesFileKey, L"\\replaces.ini"},
    {kOptionFolderKey, L"\\ExportOptions\\"},
};

}  // namespace zav
