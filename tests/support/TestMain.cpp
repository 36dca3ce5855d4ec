// main() of every GoogleTest program: the recording reporter starts each test empty.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "ini/FileSystem.h"
#include "ini/Profile.h"

namespace zavtest {
namespace {

struct Owned {
    std::unique_ptr<zav::IHost> host = zav::makeSystemHost();
    std::unique_ptr<zav::IProfile> profile = zav::makeSystemProfile();
    std::unique_ptr<zav::IFileSystem> fs = zav::makeSystemFileSystem();
    zav::Storage storage{*host, *profile, *fs};
    RecordingReporter reporter;
};

Owned& owned() {
    static Owned o;
    return o;
}

class ClearReporter : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        owned().reporter.messages.clear();
        owned().reporter.answer = true;
    }
};

}  // namespace

const zav::Storage& storage() { return owned().storage; }
RecordingReporter& reporter() { return owned().reporter; }

}  // namespace zavtest

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new zavtest::ClearReporter);
    return RUN_ALL_TESTS();
}
