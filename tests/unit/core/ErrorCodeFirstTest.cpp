// A failed system call is reported with its own error code, even where building the text that
// names it resets the code (core/ErrorText.h): the build's own file services on real files, with
// every allocation of the failing call resetting the code.
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include "ResettingAllocation.h"
#include "TestSupport.h"
#include "core/Error.h"
#include "ini/FileSystem.h"

#ifdef _WIN32
#include <windows.h>
#endif

using namespace zav;

namespace {

#ifdef _WIN32
constexpr long kNoSuchFile = ERROR_FILE_NOT_FOUND, kNoSuchFolder = ERROR_PATH_NOT_FOUND;
#else
constexpr long kNoSuchFile = ENOENT, kNoSuchFolder = ENOENT;
#endif

// The number of the error `call` raises while allocations reset the code; 0 for none raised.
long numberRaised(const std::function<void()>& call) {
    zavtest::ResettingAllocation resetting;
    try {
        call();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

}  // namespace

TEST(ErrorCodeFirst, FileServicesReportTheCodeOfTheCallThatFailed) {
    zavtest::TempDir dir;
    const std::unique_ptr<IFileSystem> fs = makeSystemFileSystem();
    const std::wstring missingFile = dir.file(L"no such file.ini"), inMissingFolder = dir.file(L"no such folder\\x.ini");
    EXPECT_EQ(numberRaised([&] { fs->createFolder(inMissingFolder); }), kNoSuchFolder);
    EXPECT_EQ(numberRaised([&] { fs->createTextFile(inMissingFolder); }), kNoSuchFolder);
    EXPECT_EQ(numberRaised([&] { fs->openTextWriter(inMissingFolder); }), kNoSuchFolder);
    EXPECT_EQ(numberRaised([&] { fs->writeAll(inMissingFolder, "x"); }), kNoSuchFolder);
    EXPECT_EQ(numberRaised([&] { fs->readAll(missingFile); }), kNoSuchFile);
    EXPECT_EQ(numberRaised([&] { fs->deleteFile(missingFile, false); }), kNoSuchFile);
    EXPECT_EQ(numberRaised([&] { fs->moveFile(missingFile, dir.file(L"moved.ini")); }), kNoSuchFile);
    EXPECT_EQ(numberRaised([&] { fs->replaceFile(missingFile, dir.file(L"replaced.ini")); }), kNoSuchFile);
}
