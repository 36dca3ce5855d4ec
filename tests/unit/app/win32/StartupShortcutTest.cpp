// "Start with Windows" on a folder of the test's own standing in for the Startup folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "TestSupport.h"
#include "app/win32/StartupShortcut.h"
#include "ini/FileSystem.h"

using namespace zav;

namespace {

std::vector<std::wstring> names(const std::wstring& folder) {
    std::vector<std::wstring> found;
    for (const FolderEntry& e : zavtest::storage().fs.listFiles(folder))
        found.push_back(e.path.substr(e.path.find_last_of(L'\\') + 1));
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace

TEST(StartupShortcut, AddingMakesOneShortcutThatIsFoundByItsTargetWhateverTheLetterCase) {
    zavtest::TempDir programs, startup;
    const std::wstring ours = programs.file(L"ZAVExport64.exe"), other = programs.file(L"Other.exe");
    zavtest::writeBytes(ours, "MZ");
    zavtest::writeBytes(other, "MZ");

    EXPECT_FALSE(hasShortcutTo(startup.path(), ours));
    setShortcutTo(startup.path(), ours, L"ZAVExport", true);
    EXPECT_EQ(names(startup.path()), std::vector<std::wstring>{L"ZAVExport.lnk"});
    EXPECT_TRUE(hasShortcutTo(startup.path(), ours));
    std::wstring upper = ours;
    std::transform(upper.begin(), upper.end(), upper.begin(), ::towupper);
    EXPECT_TRUE(hasShortcutTo(startup.path(), upper));
    EXPECT_FALSE(hasShortcutTo(startup.path(), other));

    // Asked again (two menus, say), nothing more is made.
    setShortcutTo(startup.path(), ours, L"ZAVExport", true);
    EXPECT_EQ(names(startup.path()).size(), 1u);
    // A folder that is not there has no shortcut in it.
    EXPECT_FALSE(hasShortcutTo(startup.file(L"missing"), ours));
}

TEST(StartupShortcut, AProgramOnAnyDriveIsFoundAgainThisTestProgramToo) {
    // The folder of the build, wherever it is (under Wine a drive whose volume label cannot be
    // read, so that the shortcut is saved without the volume's details).
    wchar_t self[MAX_PATH] = L"";
    ASSERT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    zavtest::TempDir startup;
    setShortcutTo(startup.path(), self, L"Tests", true);
    EXPECT_TRUE(hasShortcutTo(startup.path(), self));
    setShortcutTo(startup.path(), self, L"Tests", false);
    EXPECT_TRUE(names(startup.path()).empty());
}

TEST(StartupShortcut, RemovingTakesEveryShortcutToThisProgramAndLeavesTheOthers) {
    zavtest::TempDir programs, startup;
    const std::wstring ours = programs.file(L"ZAVExport.exe"), other = programs.file(L"Other.exe");
    zavtest::writeBytes(ours, "MZ");
    zavtest::writeBytes(other, "MZ");
    setShortcutTo(startup.path(), other, L"Other", true);
    setShortcutTo(startup.path(), ours, L"ZAVExport", true);
    // One the user made by hand, under another name, to this program.
    zavtest::writeBytes(startup.file(L"By hand.lnk"), zavtest::readBytes(startup.file(L"ZAVExport.lnk")));
    EXPECT_EQ(names(startup.path()), (std::vector<std::wstring>{L"By hand.lnk", L"Other.lnk", L"ZAVExport.lnk"}));
    zavtest::writeBytes(startup.file(L"notes.lnk"), "not a shortcut at all");

    setShortcutTo(startup.path(), ours, L"ZAVExport", false);
    EXPECT_FALSE(hasShortcutTo(startup.path(), ours));
    EXPECT_TRUE(hasShortcutTo(startup.path(), other));
    EXPECT_EQ(names(startup.path()), (std::vector<std::wstring>{L"Other.lnk", L"notes.lnk"}));
}
