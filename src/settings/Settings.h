// The settings file beside the program: its keys and the defaults written on the first run, in
// one table that the code and the tests share, and the settings as a value that start-up hands
// to whatever needs a folder or a file name.
#pragma once

#include <string>

#include "ini/Storage.h"

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

// What settings.ini says. Folders end with "\" as the user wrote them; paths are formed by plain
// concatenation of a folder and a name. A key that is missing reads as "" (the output folder as
// "c:").
struct Settings {
    std::wstring settingsFile;   // the file these were read from
    std::wstring outputFolder;
    std::wstring catalogFile;
    std::wstring replacesFile;
    std::wstring optionFolder;
};

// Reads the four values of settings.ini (any file of that layout).
Settings readSettings(const Storage& storage, const std::wstring& settingsFile);

// Start-up: finds or creates settings.ini in the program folder (the defaults on the first run),
// stamps it, and makes sure the output and option folders exist. Raises zav::Error when the file
// cannot be written or a folder cannot be made (the error names the setting).
Settings loadSettings(const Storage& storage, const std::wstring& programFolder);

}  // namespace zav
