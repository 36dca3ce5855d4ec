// The build's own host, not the fake one the other tests use: the program's folder is the folder
// of the running program file, whatever the current folder is (start-up puts settings.ini and the
// folders there, not wherever the program was started from).
#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/Platform.h"
#include "core/ScopeExit.h"
#include "text/Utf8.h"

TEST(SystemHost, TheProgramFolderHoldsTheRunningProgramWhateverTheCurrentFolder) {
#ifdef _WIN32
    const std::wstring suffix = L".exe", separator = L"\\";
    auto change = [](const std::wstring& folder) { return SetCurrentDirectoryW(folder.c_str()) != 0; };
#else
    const std::wstring suffix = L"", separator = L"/";
    auto change = [](const std::wstring& folder) { return chdir(zav::toUtf8(folder).c_str()) == 0; };
#endif
    auto host = zav::makeSystemHost();
    const std::wstring started = host->currentDirectory();
    ASSERT_FALSE(started.empty());
    zavtest::TempDir elsewhere;
    zavtest::writeBytes(elsewhere.file(L"marker"), "here");
    ASSERT_TRUE(change(elsewhere.path()));
    auto back = zav::scopeExit([&] { change(started); });  // before the folder goes
    // The current folder is the temporary one (compared through a file in it: the two may spell it
    // differently).
    EXPECT_TRUE(zavtest::pathExists(host->currentDirectory() + separator + L"marker"));
    const std::wstring folder = host->programFolder();
    EXPECT_TRUE(zavtest::pathExists(folder + separator + host->programBaseName() + suffix)) << zavtest::shown(folder);
    EXPECT_FALSE(zavtest::pathExists(folder + separator + L"marker")) << "the program folder is the current one";
}
