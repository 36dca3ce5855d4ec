#include "settings/Settings.h"

#include "core/Error.h"
#include "ini/FileInfo.h"
#include "ini/FileSystem.h"
#include "ini/cINIFile.h"

namespace zav {

Settings readSettings(const Storage& storage, const std::wstring& settingsFile) {
    cINIFile ini(storage);
    ini.FullPath(settingsFile);
    ini.SectionName(kSettingsSection);
    Settings s;
    s.settingsFile = settingsFile;
    // Output files of new types go to "c:" when no output folder is set at all.
    s.outputFolder = ini.GetString(kOutputFolderKey, L"c:");
    s.catalogFile = ini.GetString(kCatalogFileKey, L"");
    s.replacesFile = ini.GetString(kReplacesFileKey, L"");
    s.optionFolder = ini.GetString(kOptionFolderKey, L"");
    return s;
}

Settings loadSettings(const Storage& storage, const std::wstring& programFolder) {
    IFileSystem& fs = storage.fs;
    const std::wstring path = programFolder + L"\\" + kSettingsFileName;
    auto cannotWrite = [&] {
        return Error(kErrFileAccess, L"WritePrivateProfileString " + path, L"the settings file cannot be written");
    };
    cINIFile ini(storage);
    ini.FullPath(path);
    ini.SectionName(kSettingsSection);
    if (!fs.fileExists(path)) {
        fs.createTextFile(path);
        for (const auto& d : kSettingDefaults)
            if (ini.PutString(d.key, programFolder + d.suffix) == 0) throw cannotWrite();
    }
    // A settings file the user made read-only still starts the program: only the stamp is lost.
    writeFileInfo(ini, L"Settings");

    for (const wchar_t* key : {kOutputFolderKey, kOptionFolderKey}) {
        const std::wstring wanted = ini.GetString(key, L"");
        if (fs.folderExists(wanted)) continue;
        try {
            fs.createFolder(wanted);
        } catch (const Error& e) {
            // Say which setting named the folder, so the user knows what to fix in settings.ini.
            throw Error(e.number(), e.operation() + L" (setting " + key + L" in " + path + L")", e.detail());
        }
    }
    return readSettings(storage, path);
}

}  // namespace zav
