// main() of every GoogleTest program: installs the build's own services with a recording reporter.
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
    RecordingReporter reporter;
    zav::Services services;
};

Owned& owned() {
    static Owned o;
    return o;
}

class ResetServices : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        owned().reporter.messages.clear();
        owned().reporter.answer = true;
        zav::services() = owned().services;
    }
};

}  // namespace

zav::Services& defaultServices() { return owned().services; }
RecordingReporter& reporter() { return owned().reporter; }

}  // namespace zavtest

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    auto& o = zavtest::owned();
    o.services = zav::Services{o.host.get(), o.profile.get(), o.fs.get(), &o.reporter};
    zav::services() = o.services;
    ::testing::UnitTest::GetInstance()->listeners().Append(new zavtest::ResetServices);
    return RUN_ALL_TESTS();
}
