// Native build: the portable profile layer, with WIN.INI in the program's folder.
#include "core/Platform.h"
#include "core/posix/PosixPath.h"
#include "ini/Profile.h"

namespace zav {

std::unique_ptr<IProfile> makeSystemProfile() {
    auto host = makeSystemHost();
    return makePortableProfile(posixPath(host->windowsDirectory() + L"\\WIN.INI"));
}

}  // namespace zav
