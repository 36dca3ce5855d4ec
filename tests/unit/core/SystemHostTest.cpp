// The build's own host, not the fake one the other tests use: the program's folder is the folder
// of the running program file, whatever the current folder is. Start-up puts settings.ini and the
// folders there, so a host that answered with the current folder would scatter them wherever the
// program was started from.
#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TestSupport.h"
#include "core/Platform.h"
#include "core/ScopeExit.h"
#include "text/Utf8.h"

namespace {

#ifdef _WIN32
const wchar_t* const kProgramSuffix = L".exe";
const wchar_t* const kSeparator = L"\\";
bool changeCurrentFolder(const std::wstring& folder) { return SetCurrentDirectoryW(folder.c_str()) != 0; }
#else
const wchar_t* const kProgramSuffix = L"";
const wchar_t* const kSeparator = L"/";
bool changeCurrentFolder(const std::wstring& folder) { return chdir(zav::toUtf8(folder).c_str()) == 0; }
#endif

TEST(SystemHost, TheProgramFolderHoldsTheRunningProgramWhateverTheCurrentFolder) {
    auto host = zav::makeSystemHost();
    const std::wstring started = host->currentDirectory();
    ASSERT_FALSE(started.empty());
    zavtest::TempDir elsewhere;
    zavtest::writeBytes(elsewhere.file(L"marker"), "here");
    ASSERT_TRUE(changeCurrentFolder(elsewhere.path()));
    // Back before the folder goes (a folder that is current cannot be removed on Windows).
    auto back = zav::scopeExit([&] { changeCurrentFolder(started); });

    // The current folder is the temporary one (its name compared through a file in it, since the
    // two may spell the same folder differently).
    EXPECT_TRUE(zavtest::pathExists(host->currentDirectory() + kSeparator + L"marker")) << zavtest::shown(host->currentDirectory());
    const std::wstring folder = host->programFolder();
    EXPECT_TRUE(zavtest::pathExists(folder + kSeparator + host->programBaseName() + kProgramSuffix))
        << zavtest::shown(folder) << " " << zavtest::shown(host->programBaseName());
    EXPECT_FALSE(zavtest::pathExists(folder + kSeparator + L"marker")) << "the program folder is the current one";
}

}  // namespace
