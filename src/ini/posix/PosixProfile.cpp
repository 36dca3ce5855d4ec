// Native build: the portable profile layer, with WIN.INI in the program's folder.
#include "core/Platform.h"
#include "ini/Profile.h"

namespace zav {

std::unique_ptr<IProfile> makeSystemProfile() {
    auto host = makeSystemHost();
    return makePortableProfile(host->windowsDirectory() + L"\\WIN.INI");
}

}  // namespace zav
