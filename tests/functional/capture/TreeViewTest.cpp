// Tree views of another process read through the system capture: every item, expanded or not, in
// display order with its level and path; texts whole (Unicode, 10,000 characters); a deep tree
// and one of 100,000 items; a hung or killed host refused with nothing read.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "HostProcess.h"
#include "capture/GridSource.h"
#include "capture/win32/RemoteControl.h"
#include "capture/win32/SystemGridSources.h"
#include "capture/win32/TreeViewSource.h"

namespace {

using zav::CaptureFailure;

std::string treeHostProgram(const std::string& besides = std::string()) {
    return zavtest::siblingHostProgram("zav_tvhost.exe", besides);
}

struct TreeHost : zavtest::HostProcess {
    explicit TreeHost(const std::string& arguments = std::string(), const std::string& program = treeHostProgram())
        : HostProcess(program, arguments, L"ZavTreeHostWindow") {}
    HWND tree() const { return control(1); }
};

// The rows of a read, each as "item|level|path".
std::vector<std::wstring> rowsOf(const std::vector<std::wstring>& cells) {
    std::vector<std::wstring> rows;
    for (std::size_t i = 0; i + 2 < cells.size(); i += 3) rows.push_back(cells[i] + L"|" + cells[i + 1] + L"|" + cells[i + 2]);
    return rows;
}

const std::wstring kLong = L"<" + std::wstring(9998, L'\u00e9') + L">";
const std::wstring kUnicode = L"gr\u00fc\u00dfe \u4e2d\u6587 \U0001F600";
const std::wstring kDelta = L"delta \u0416\u03a9";

TEST(TreeViewCapture, EveryItemExpandedOrNotInDisplayOrderWithLevelAndPath) {
    TreeHost host;
    zavtest::ControlRead tree = zavtest::readControl(host.tree());
    ASSERT_TRUE(tree.ok) << zav::describeCaptureFailure(tree.capture->failure());
    EXPECT_EQ(tree.info.kind, zav::ControlKind::TreeView);
    ASSERT_EQ(tree.info.lColumnCount, 3);
    EXPECT_EQ(tree.info.szColumnText, (std::vector<std::wstring>{L"", L"Item", L"Level", L"Path"}));
    ASSERT_EQ(tree.info.lItemCount, 9);
    EXPECT_EQ(rowsOf(tree.cells), (std::vector<std::wstring>{
                                      L"alpha|1|alpha",
                                      L"beta|2|alpha\\beta",
                                      L"gamma|3|alpha\\beta\\gamma",
                                      kDelta + L"|2|alpha\\" + kDelta,
                                      L"epsilon|3|alpha\\" + kDelta + L"\\epsilon",
                                      L"|3|alpha\\" + kDelta + L"\\",
                                      kUnicode + L"|1|" + kUnicode,
                                      kLong + L"|2|" + kUnicode + L"\\" + kLong,
                                      L"omega|1|omega",
                                  }));
    EXPECT_EQ(tree.cells.at(7 * 3).size(), 10000u);
    EXPECT_EQ(tree.capture->failure(), CaptureFailure::None);
    EXPECT_FALSE(tree.info.checkBoxes);

    // A row behind the walk starts it again; a row ahead of it is walked to; beyond the tree and
    // outside the columns: nothing, and no failure.
    EXPECT_EQ(tree.capture->getCellText(5, 3), L"alpha\\" + kDelta + L"\\epsilon");
    EXPECT_EQ(tree.capture->getCellText(2, 2), L"2");
    EXPECT_EQ(tree.capture->getCellText(9, 1), L"omega");
    EXPECT_EQ(tree.capture->getCellText(10, 1), L"");
    EXPECT_EQ(tree.capture->getCellText(1, 4), L"");
    EXPECT_EQ(tree.capture->failure(), CaptureFailure::None);
}

TEST(TreeViewCapture, ATreeWithCheckBoxesGivesEachItemsMarkWhetherItsRowsWereJustReadOrNot) {
    TreeHost host("checks 1");
    zavtest::ControlRead tree = zavtest::readControl(host.tree());
    ASSERT_TRUE(tree.ok) << zav::describeCaptureFailure(tree.capture->failure());
    EXPECT_TRUE(tree.info.checkBoxes);
    ASSERT_EQ(tree.info.lItemCount, 9);
    // beta, epsilon and omega are checked (rows 2, 5 and 9).
    const std::vector<char> expected = {0, 1, 0, 0, 1, 0, 0, 0, 1};
    std::vector<char> marks;
    ASSERT_TRUE(tree.capture->readCheckMarks(1, 9, marks));
    EXPECT_EQ(marks, expected);
    // Rows just read: the marks of those rows; rows elsewhere: walked to.
    std::vector<std::wstring> cells;
    ASSERT_TRUE(tree.capture->readCells(4, 3, 3, cells));
    EXPECT_EQ(cells.at(3), L"epsilon");
    ASSERT_TRUE(tree.capture->readCheckMarks(4, 3, marks));
    EXPECT_EQ(marks, (std::vector<char>{0, 1, 0}));
    ASSERT_TRUE(tree.capture->readCheckMarks(8, 2, marks));
    EXPECT_EQ(marks, (std::vector<char>{0, 1}));
    ASSERT_TRUE(tree.capture->readCheckMarks(1, 2, marks));
    EXPECT_EQ(marks, (std::vector<char>{0, 1}));
    EXPECT_EQ(tree.capture->failure(), CaptureFailure::None);
}

TEST(TreeViewCapture, BlocksReadInTurnGiveTheSameRowsAsOneRead) {
    TreeHost host;
    zavtest::ControlRead whole = zavtest::readControl(host.tree());
    ASSERT_TRUE(whole.ok);
    zavtest::ControlRead opened = zavtest::readControl(host.tree(), 4000, false);
    ASSERT_TRUE(opened.ok);
    std::vector<std::wstring> cells, block;
    for (std::int32_t first = 1; first <= opened.info.lItemCount; first += 2) {
        ASSERT_TRUE(opened.capture->readCells(first, std::min(2, opened.info.lItemCount - first + 1), 3, block));
        cells.insert(cells.end(), block.begin(), block.end());
    }
    EXPECT_EQ(cells, whole.cells);
}

TEST(TreeViewCapture, ADeepTreeIsWalkedWithItsWholePath) {
    const int depth = 2000;
    TreeHost host("deep " + std::to_string(depth));
    zavtest::ControlRead tree = zavtest::readControl(host.tree());
    ASSERT_TRUE(tree.ok) << zav::describeCaptureFailure(tree.capture->failure());
    ASSERT_EQ(tree.info.lItemCount, depth);
    std::wstring path;
    for (int level = 1; level <= depth; ++level) {
        path += (level > 1 ? L"\\d" : L"d") + std::to_wstring(level);
        const std::size_t row = static_cast<std::size_t>(level - 1) * 3;
        ASSERT_EQ(tree.cells.at(row + 1), std::to_wstring(level));
        ASSERT_EQ(tree.cells.at(row + 2), path) << "level " << level;
    }
}

// 2,500 items: three roots of up to 999 children, so the blocks of rows cross from one branch into
// the next twice, inside a block, and the walk ends in the middle of a branch.
TEST(TreeViewCapture, ItemsAreCountedAndReadInOrderAcrossBranches) {
    constexpr std::int32_t kItems = 2500;
    TreeHost host("big " + std::to_string(kItems));
    zav::CaptureOptions options;
    auto capture =
        zav::makeSystemGridSourceFactory(options)->openGridSource(zav::gridTargetOf(reinterpret_cast<zav::WindowHandle>(host.tree())));
    zav::ListViewInfo info;
    info.hWnd = reinterpret_cast<zav::WindowHandle>(host.tree());
    ASSERT_TRUE(capture->readListViewInfo(info) != zav::vbFalse);
    ASSERT_EQ(info.lItemCount, kItems);
    // As the export asks: blocks of rows in turn.
    const DWORD start = GetTickCount();
    std::vector<std::wstring> block;
    std::int32_t checked = 0;
    for (std::int32_t first = 1; first <= info.lItemCount; first += 85) {
        const std::int32_t rows = std::min(85, info.lItemCount - first + 1);
        ASSERT_TRUE(capture->readCells(first, rows, 3, block)) << zav::describeCaptureFailure(capture->failure());
        for (std::int32_t r = 0; r < rows; ++r) {
            // Row n: root (n - 1) / 1000 + 1; the root itself first, then its children 1..999.
            const std::int32_t n = first + r;
            const std::wstring root = L"r" + std::to_wstring((n - 1) / 1000 + 1);
            const std::int32_t child = (n - 1) % 1000;
            const std::wstring item = child == 0 ? root : root + L".c" + std::to_wstring(child);
            const std::wstring* cells = block.data() + static_cast<std::size_t>(r) * 3;
            ASSERT_EQ(cells[0], item) << "row " << n;
            ASSERT_EQ(cells[1], child == 0 ? L"1" : L"2") << "row " << n;
            ASSERT_EQ(cells[2], child == 0 ? root : root + L"\\" + item) << "row " << n;
            ++checked;
        }
    }
    EXPECT_EQ(checked, kItems);
    std::printf("%ld tree items read in %lu ms\n", static_cast<long>(kItems),
                static_cast<unsigned long>(GetTickCount() - start));
}

TEST(TreeViewCapture, AHungOrKilledHostIsRefused) {
    {
        TreeHost host;
        const HWND tree = host.tree();
        host.hang();
        const DWORD start = GetTickCount();
        zavtest::ControlRead hung = zavtest::readControl(tree, 1000);
        EXPECT_FALSE(hung.ok);
        EXPECT_EQ(hung.capture->failure(), CaptureFailure::TargetHung);
        EXPECT_EQ(hung.info.lItemCount, 0);
        EXPECT_EQ(hung.info.lColumnCount, 0);
        EXPECT_EQ(hung.info.kind, zav::ControlKind::TreeView);
        EXPECT_LT(GetTickCount() - start, 8000u) << "the time-out was not kept";
    }
    {
        TreeHost host;
        zavtest::ControlRead tree = zavtest::readControl(host.tree(), 4000, false);
        ASSERT_TRUE(tree.ok);
        std::vector<std::wstring> cells;
        ASSERT_TRUE(tree.capture->readCells(1, 2, 3, cells));
        host.kill();
        EXPECT_FALSE(tree.capture->readCells(3, tree.info.lItemCount - 2, 3, cells));
        EXPECT_EQ(tree.capture->failure(), CaptureFailure::TargetGone);
        for (const std::wstring& cell : cells) EXPECT_EQ(cell, L"");
    }
}

#ifndef _WIN64
// A 32-bit program cannot address a 64-bit tree: refused before any request.
TEST(TreeViewCapture, ThirtyTwoBitProgramRefusesASixtyFourBitTree) {
    const std::string wide = zavtest::environment("ZAV_LVHOST_WIDE");
    if (wide.empty()) GTEST_SKIP() << "no 64-bit hosts were given (ZAV_LVHOST_WIDE)";
    TreeHost host("", treeHostProgram(wide));
    zavtest::ControlRead tree = zavtest::readControl(host.tree());
    EXPECT_FALSE(tree.ok);
    EXPECT_EQ(tree.capture->failure(), CaptureFailure::TargetTooWide);
    EXPECT_EQ(tree.info.lItemCount, 0);
}
#endif

}  // namespace
