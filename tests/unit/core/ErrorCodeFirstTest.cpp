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
#include "text/Ansi.h"

#ifdef _WIN32
#include <windows.h>
#endif

using namespace zav;
using zavtest::ResettingAllocation;
using zavtest::TempDir;

namespace {

#ifdef _WIN32
constexpr long kNoSuchFile = ERROR_FILE_NOT_FOUND;
constexpr long kNoSuchFolder = ERROR_PATH_NOT_FOUND;
#else
constexpr long kNoSuchFile = ENOENT;
constexpr long kNoSuchFolder = ENOENT;
#endif

// The number of the error `call` raises while allocations reset the code; 0 for none raised.
long numberRaised(const std::function<void()>& call) {
    ResettingAllocation resetting;
    try {
        call();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

}  // namespace

TEST(ErrorCodeFirst, AnErrorTextBuiltBeforeTheCodeIsReadLosesIt) {
    // What the file services must not do: the stand-in resets the code as an allocation would.
    const std::wstring path = L"C:\\a folder that is not there\\x.ini";
    zavtest::setLastErrorCode(kNoSuchFolder);
    {
        ResettingAllocation resetting;
        const std::wstring text = L"CreateFolder " + path;
        EXPECT_EQ(zavtest::lastErrorCode(), 0) << toAnsi(text);
    }
    zavtest::setLastErrorCode(kNoSuchFolder);
    const std::wstring text = L"CreateFolder " + path;
    EXPECT_EQ(zavtest::lastErrorCode(), kNoSuchFolder) << "unarmed, an allocation leaves the code alone";
}

TEST(ErrorCodeFirst, FileServicesReportTheCodeOfTheCallThatFailed) {
    TempDir dir;
    const std::unique_ptr<IFileSystem> fs = makeSystemFileSystem();
    const std::wstring missingFile = dir.file(L"no such file.ini");
    const std::wstring inMissingFolder = dir.file(L"no such folder\\x.ini");

    EXPECT_EQ(numberRaised([&] { fs->createFolder(inMissingFolder); }), kNoSuchFolder);
    EXPECT_EQ(numberRaised([&] { fs->createTextFile(inMissingFolder); }), kNoSuchFolder);
    EXPECT_EQ(numberRaised([&] { fs->openTextWriter(inMissingFolder); }), kNoSuchFolder);
    EXPECT_EQ(numberRaised([&] { fs->writeAll(inMissingFolder, "x"); }), kNoSuchFolder);
    EXPECT_EQ(numberRaised([&] { fs->readAll(missingFile); }), kNoSuchFile);
    EXPECT_EQ(numberRaised([&] { fs->deleteFile(missingFile, false); }), kNoSuchFile);
    EXPECT_EQ(numberRaised([&] { fs->moveFile(missingFile, dir.file(L"moved.ini")); }), kNoSuchFile);
    EXPECT_EQ(numberRaised([&] { fs->replaceFile(missingFile, dir.file(L"replaced.ini")); }), kNoSuchFile);
}
