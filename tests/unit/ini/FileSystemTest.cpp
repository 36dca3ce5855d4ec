// The build's own file services (Win32 under Wine, POSIX natively) on real files.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"
#include "core/Error.h"
#include "ini/FileSystem.h"
#include "text/Ansi.h"

using namespace zav;

namespace {

IFileSystem& fs() { return zavtest::storage().fs; }

// Runs `call`, expecting a zav::Error whose operation names `needle`.
template <class F>
void expectErrorNaming(F call, const std::wstring& needle) {
    try {
        call();
        ADD_FAILURE() << "no error raised; expected one naming " << toAnsi(needle);
    } catch (const Error& e) {
        EXPECT_NE(e.operation().find(needle), std::wstring::npos) << toAnsi(e.operation());
        EXPECT_FALSE(e.detail().empty());
        EXPECT_NE(e.number(), 0);
    }
}

class FileSystem : public ::testing::Test {
protected:
    zavtest::TempDir dir;
    std::wstring at(const std::wstring& name, const std::string& bytes) {
        zavtest::writeBytes(dir.file(name), bytes);
        return dir.file(name);
    }
};

}  // namespace

TEST_F(FileSystem, FoldersAreCreatedOneLevelAtATimeAndTextFilesReplaceAnyOfTheirName) {
    const std::wstring one = dir.file(L"one");
    EXPECT_FALSE(fs().folderExists(one));
    fs().createFolder(one);
    EXPECT_TRUE(fs().folderExists(one));
    EXPECT_FALSE(fs().fileExists(one));
    fs().createFolder(dir.file(L"two\\"));  // a trailing separator, as the settings write folders
    EXPECT_TRUE(fs().folderExists(dir.file(L"two")));
    expectErrorNaming([&] { fs().createFolder(dir.file(L"a\\b")); }, L"CreateFolder");
    EXPECT_FALSE(fs().folderExists(dir.file(L"a")));
    expectErrorNaming([&] { fs().createFolder(L""); }, L"CreateFolder");
    expectErrorNaming([&] { fs().createFolder(one); }, one);  // already there

    const std::wstring f = at(L"x.ini", "old content");
    fs().createTextFile(f);
    EXPECT_TRUE(fs().fileExists(f));
    EXPECT_EQ(zavtest::readBytes(f), "");
    expectErrorNaming([&] { fs().createTextFile(dir.file(L"missing\\x.ini")); }, L"CreateTextFile");
}

TEST_F(FileSystem, ReadOnlyFilesAreDeletedOnlyWithForceAndCannotBeOpenedOrReplaced) {
    const std::wstring f = at(L"locked.old", "keep me"), tmp = at(L"new.tmp", "new");
    zavtest::setReadOnly(f, true);
    expectErrorNaming([&] { fs().deleteFile(f, false); }, L"DeleteFile");
    expectErrorNaming([&] { fs().openTextWriter(f); }, L"OpenTextFile");
    expectErrorNaming([&] { fs().replaceFile(tmp, f); }, L"MoveFile");
    EXPECT_EQ(zavtest::readBytes(f), "keep me");
    EXPECT_EQ(fs().readAll(tmp), "new");
    fs().deleteFile(f, true);
    EXPECT_FALSE(zavtest::pathExists(f));
    expectErrorNaming([&] { fs().deleteFile(f, false); }, f);  // gone now
    expectErrorNaming([&] { fs().readAll(dir.file(L"none.txt")); }, L"none.txt");
}

TEST_F(FileSystem, MoveRefusesAnExistingDestinationWhileReplaceTakesItsPlace) {
    const std::wstring a = at(L"a.ini", "A"), b = at(L"b.ini", "B");
    expectErrorNaming([&] { fs().moveFile(a, b); }, L"MoveFile");
    EXPECT_EQ(zavtest::readBytes(a) + zavtest::readBytes(b), "AB");
    fs().replaceFile(a, b);
    EXPECT_FALSE(zavtest::pathExists(a));
    EXPECT_EQ(zavtest::readBytes(b), "A");
    fs().moveFile(b, dir.file(L"c.old"));
    EXPECT_EQ(zavtest::readBytes(dir.file(L"c.old")), "A");
    EXPECT_FALSE(zavtest::pathExists(b));
}

TEST_F(FileSystem, ListingGivesFilesOnlyWithTheirIniType) {
    for (const wchar_t* name : {L"Type One.ini", L"UPPER.INI", L"backup.old", L"notes.ini.txt"}) at(name, "");
    fs().createFolder(dir.file(L"sub.ini"));
    std::vector<std::pair<std::wstring, bool>> seen;
    for (const auto& e : fs().listFiles(dir.path() + L"\\")) seen.emplace_back(e.path, e.configSettings);
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<std::pair<std::wstring, bool>>{{dir.file(L"Type One.ini"), true},
                                                                 {dir.file(L"UPPER.INI"), true},
                                                                 {dir.file(L"backup.old"), false},
                                                                 {dir.file(L"notes.ini.txt"), false}}));
    EXPECT_TRUE(fs().listFiles(dir.file(L"sub.ini")).empty());
    expectErrorNaming([&] { fs().listFiles(dir.file(L"nowhere")); }, L"GetFolder");
}

TEST_F(FileSystem, TextWriterWritesAnsiWithCrLfAndEmptiesAnOldFile) {
    const std::wstring f = at(L"out.html", std::string(100000, 'z'));
    auto w = fs().openTextWriter(f);
    w->write(L"<td>caf\u00E9 \u20AC</td>");
    w->writeLine(L"");
    w->writeLine(L"end");
    w->close();
    EXPECT_EQ(zavtest::readBytes(f), "<td>caf\xE9 \x80</td>\r\nend\r\n");
    auto big = fs().openTextWriter(f);  // large outputs arrive whole across the writer's blocks
    std::string expected;
    for (int i = 0; i < 20000; ++i) {
        const std::wstring cell = L"<td>" + std::to_wstring(i) + L"</td>";
        big->write(cell);
        expected += toAnsi(cell);
    }
    big->close();
    EXPECT_EQ(zavtest::readBytes(f), expected);
    expectErrorNaming([&] { fs().openTextWriter(dir.file(L"no\\out.html")); }, L"OpenTextFile");
}

// Names in any script: each file is found, listed, read, renamed and removed under exactly its
// own name (an 8-bit name would turn all of these into "?" and fail, or meet in one file).
TEST_F(FileSystem, NamesInAnyScriptAreKeptWhole) {
    const std::wstring folder = dir.file(L"\u041f\u0430\u043f\u043a\u0430 \u6587\u4ef6");
    fs().createFolder(folder);
    EXPECT_TRUE(fs().folderExists(folder));
    const std::wstring cyrillic = folder + L"\\\u041e\u0442\u0447\u0451\u0442.ini";
    const std::wstring cjk = folder + L"\\\u5831\u544a \U0001F600.ini";
    const std::wstring greek = folder + L"\\\u03a9\u03bc\u03ad\u03b3\u03b1.html";
    auto writer = fs().openTextWriter(cyrillic);
    writer->writeLine(L"[s]");
    writer->close();
    fs().writeAll(cjk, "cjk");
    fs().createTextFile(greek);
    EXPECT_EQ(fs().readAll(cyrillic) + fs().readAll(cjk), "[s]\r\ncjk");
    EXPECT_TRUE(fs().fileExists(greek));
    std::vector<std::wstring> listed, expected = {cyrillic, cjk, greek};
    for (const auto& e : fs().listFiles(folder)) listed.push_back(e.path);
    std::sort(listed.begin(), listed.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(listed, expected);
    const std::wstring renamed = folder + L"\\\u0639\u0631\u0628\u064a.ini";
    fs().moveFile(cjk, renamed);
    EXPECT_FALSE(fs().fileExists(cjk));
    fs().replaceFile(renamed, cyrillic);
    EXPECT_EQ(fs().readAll(cyrillic), "cjk");
    fs().deleteFile(cyrillic, false);
    fs().deleteFile(greek, false);
    EXPECT_TRUE(fs().listFiles(folder).empty());
}
