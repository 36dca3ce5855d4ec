#include "startup/mMain.h"

#include <memory>

#include "catalog/Catalog.h"
#include "core/Error.h"
#include "core/Platform.h"
#include "ini/FileSystem.h"
#include "startup/Settings.h"

namespace zav {

WindowHandle hTargetListView = 0;

namespace {
std::unique_ptr<cINIFile>& settingsSlot() {
    static std::unique_ptr<cINIFile> slot;
    return slot;
}
}  // namespace

cINIFile& iniSettings() {
    auto& slot = settingsSlot();
    if (!slot) slot = std::make_unique<cINIFile>();
    return *slot;
}

void resetSettingsForTests() { settingsSlot().reset(); }

void loadSettings() {
    IFileSystem& fs = *services().fs;
    const std::wstring folder = services().host->programFolder();
    const std::wstring path = folder + L"\\" + kSettingsFileName;
    cINIFile& ini = iniSettings();

    if (fs.fileExists(path)) {
        ini.FullPath(path);
    } else {
        fs.createTextFile(path);
        ini.FullPath(path);
        ini.SectionName(kSettingsSection);
        for (const auto& d : kSettingDefaults) {
            if (ini.PutString(d.key, folder + d.suffix) == 0)
                throw Error(kErrFileAccess, L"WritePrivateProfileString " + path,
                            L"the settings file cannot be written");
        }
    }

    writeFileInfo(ini, L"Settings");

    for (const wchar_t* key : {kOutputFolderKey, kOptionFolderKey}) {
        std::wstring wanted = ini.GetString(key, L"");
        if (fs.folderExists(wanted)) continue;
        try {
            fs.createFolder(wanted);
        } catch (const Error& e) {
            // Say which setting named the folder, so the user knows what to fix in settings.ini.
            throw Error(e.number(), e.operation() + L" (setting " + key + L" in " + path + L")", e.detail());
        }
    }
}

void Main() {
    loadSettings();
    rebuildCatalog();
}

}  // namespace zav
