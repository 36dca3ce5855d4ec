#include "ini/FileInfo.h"

#include "core/Types.h"

namespace zav {

std::wstring versionText() {
    return std::to_wstring(kVersionMajor) + L"." + std::to_wstring(kVersionMinor) + L"." +
           std::to_wstring(kVersionRevision);
}

bool writeFileInfo(cINIFile& ini, const std::wstring& szType) {
    const std::wstring remembered = ini.SectionName();
    ini.SectionName(kFileInfoSection);
    const bool written = ini.PutString(kFileInfoTypeKey, szType) != 0 &&
                         ini.PutString(kFileInfoVersionKey, versionText()) != 0;
    ini.SectionName(remembered);
    return written;
}

}  // namespace zav
