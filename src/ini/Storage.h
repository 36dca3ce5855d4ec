// Where the program keeps what it keeps: the profile functions that read and write INI files, the
// whole-file services, and the facts about the running program that INI paths start from. The
// program's entry builds one and hands it to everything that reads or writes a file; nothing
// fetches it from anywhere else. Tests build their own, with decorators where they need them.
#pragma once

#include "core/Platform.h"
#include "ini/FileSystem.h"
#include "ini/Profile.h"

namespace zav {

struct Storage {
    IHost& host;
    IProfile& profile;
    IFileSystem& fs;
};

}  // namespace zav
