// List boxes, combo boxes and tree views of another process read through the system capture, and
// through the table writer as an export reads them: every line and item whole (Unicode, 10,000
// characters), trees in display order with level and path; controls that lie, change, hang or go
// away refused with words true to what happened, never read as empty rows.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "HostProcess.h"
#include "capture/GridSource.h"
#include "capture/win32/ListViewSource.h"
#include "capture/win32/RemoteMemory.h"
#include "capture/win32/SystemGridSources.h"
#include "format/TableWriter.h"

namespace {

using zav::CaptureFailure;
using zavtest::HostProcess;
using zavtest::readControl;
using Texts = std::vector<std::wstring>;

// The host of single controls: its list boxes ("listbox"), else the tree of `mode`.
struct ControlHost : HostProcess {
    explicit ControlHost(const std::string& mode = std::string(),
                         const std::string& program = zavtest::siblingHostProgram("zav_ctlhost.exe"))
        : HostProcess(program, mode, mode == "listbox" ? L"ZavListBoxHostWindow" : L"ZavTreeHostWindow") {}
};

const std::wstring kLong = L"<" + std::wstring(9998, L'\u00e9') + L">";
const std::wstring kUnicode = L"gr\u00fc\u00dfe \u4e2d\u6587 \U0001F600";
const std::wstring kDelta = L"delta \u0416\u03a9";

// The rows a table writer writes, a block at a time, as an export reads them.
class RowsWriter final : public zav::TableWriter {
public:
    RowsWriter(const zav::ListViewInfo& info, zav::IGridSource& source)
        : TableWriter(info, source, std::vector<const zav::cReplaceList*>(), zav::NumberFormat{}) {}
    void begin() override {}
    void end() override {}
    Texts cells;

private:
    void writeRow(std::int32_t, const std::wstring* row) override { cells.insert(cells.end(), row, row + columnCount()); }
};

// An export of a control of a host of its own: the rows written (when believed), or the failure and
// its whole message.
struct ExportCase {
    const char* name;
    std::string host;  // the mode of the host of single controls; for control 0, a list-view host's instructions
    int control;       // the host's control id; 0: the list-view host's list
    Texts cells;
    CaptureFailure failure;
    const wchar_t* message;
};

void checkExport(const ExportCase& c) {
    SCOPED_TRACE(c.name);
    const auto host = c.control ? std::make_unique<ControlHost>(c.host) : std::make_unique<HostProcess>(c.host);
    const HWND control = c.control ? host->control(c.control) : host->list();
    auto source = zav::makeSystemGridSourceFactory()->openGridSource(zav::gridTargetOf(reinterpret_cast<zav::WindowHandle>(control)));
    zav::ListViewInfo info;
    Texts cells;
    std::int32_t rowCount = 0;
    if (source->readListViewInfo(info) != zav::vbFalse) {
        RowsWriter writer(info, *source);
        while (writer.nextBlock()) {
        }
        cells = writer.cells;
        rowCount = writer.rowCount();
    }
    EXPECT_EQ(source->failure(), c.failure);
    EXPECT_EQ(zav::describeCaptureFailure(source->failure(), info.kind, source->failureDetail()), c.message);
    if (c.failure != CaptureFailure::None) return;
    EXPECT_EQ(cells, c.cells);
    EXPECT_EQ(static_cast<std::size_t>(rowCount * info.lColumnCount), c.cells.size());
}

// Control 1: lines; 2: a combo box; 3: owner-drawn without strings.
TEST(ListBoxCapture, LinesAreReadWholeAndOwnerDrawnOnesRefused) {
    ControlHost host("listbox");
    zavtest::ControlRead list = readControl(host.control(1));
    ASSERT_TRUE(list.ok) << zav::describeCaptureFailure(list.capture->failure());
    EXPECT_EQ(list.info.kind, zav::ControlKind::ListBox);
    EXPECT_EQ(list.info.lColumnCount, 1);
    EXPECT_EQ(list.info.szColumnText.at(1), L"Item");
    ASSERT_EQ(list.info.lItemCount, 5);
    EXPECT_EQ(list.cells, (Texts{L"alpha", kUnicode, L"", kLong, L"omega"}));
    EXPECT_EQ(list.capture->getCellText(4, 1), kLong);
    EXPECT_EQ(list.capture->getCellText(6, 1), L"");  // outside the grid: nothing, and no failure
    EXPECT_EQ(list.capture->getCellText(1, 2), L"");
    EXPECT_EQ(list.capture->failure(), CaptureFailure::None);

    zavtest::ControlRead combo = readControl(host.control(2));
    ASSERT_TRUE(combo.ok) << zav::describeCaptureFailure(combo.capture->failure());
    EXPECT_EQ(combo.info.kind, zav::ControlKind::ComboBox);
    EXPECT_EQ(combo.cells, (Texts{L"\u00e9t\u00e9 \u0416", L"second"}));

    zavtest::ControlRead drawn = readControl(host.control(3));
    EXPECT_FALSE(drawn.ok);
    EXPECT_EQ(drawn.capture->failure(), CaptureFailure::NoTexts);
    EXPECT_EQ(drawn.info.lItemCount + drawn.info.lColumnCount, 0);
}

// The nested tree: alpha (expanded) holds beta (expanded, holding gamma) and delta (collapsed,
// holding epsilon and an empty item); a Unicode root holds a 10,000-character item; then omega.
TEST(TreeViewCapture, EveryItemExpandedOrNotInDisplayOrderWithLevelAndPathWhicheverBlocksAreAsked) {
    ControlHost host;
    zavtest::ControlRead tree = readControl(host.control(1));
    ASSERT_TRUE(tree.ok) << zav::describeCaptureFailure(tree.capture->failure());
    EXPECT_EQ(tree.info.kind, zav::ControlKind::TreeView);
    EXPECT_EQ(tree.info.szColumnText, (Texts{L"", L"Item", L"Level", L"Path"}));
    EXPECT_FALSE(tree.info.checkBoxes);
    ASSERT_EQ(tree.info.lItemCount, 9);
    EXPECT_EQ(tree.cells, (Texts{L"alpha", L"1", L"alpha", L"beta", L"2", L"alpha\\beta",
                                 L"gamma", L"3", L"alpha\\beta\\gamma", kDelta, L"2", L"alpha\\" + kDelta,
                                 L"epsilon", L"3", L"alpha\\" + kDelta + L"\\epsilon", L"", L"3", L"alpha\\" + kDelta + L"\\",
                                 kUnicode, L"1", kUnicode, kLong, L"2", kUnicode + L"\\" + kLong,
                                 L"omega", L"1", L"omega"}));
    // A row behind the walk starts it again; a row ahead of it is walked to; beyond the tree and
    // outside the columns: nothing, and no failure.
    EXPECT_EQ(tree.capture->getCellText(5, 3), L"alpha\\" + kDelta + L"\\epsilon");
    EXPECT_EQ(tree.capture->getCellText(2, 2), L"2");
    EXPECT_EQ(tree.capture->getCellText(9, 1), L"omega");
    EXPECT_EQ(tree.capture->getCellText(10, 1), L"");
    EXPECT_EQ(tree.capture->getCellText(1, 4), L"");
    EXPECT_EQ(tree.capture->failure(), CaptureFailure::None);
    // Blocks of two rows in turn, from a capture of its own, give the same rows.
    zavtest::ControlRead opened = readControl(host.control(1), 4000, false);
    ASSERT_TRUE(opened.ok);
    Texts cells, block;
    for (std::int32_t first = 1; first <= 9; first += 2) {
        ASSERT_TRUE(opened.capture->readCells(first, std::min(2, 10 - first), 3, block));
        cells.insert(cells.end(), block.begin(), block.end());
    }
    EXPECT_EQ(cells, tree.cells);
}

TEST(TreeViewCapture, ATreeWithCheckBoxesGivesEachItemsMarkWhetherItsRowsWereJustReadOrNot) {
    ControlHost host("checks 1");  // beta, epsilon and omega checked: rows 2, 5 and 9
    zavtest::ControlRead tree = readControl(host.control(1));
    ASSERT_TRUE(tree.ok) << zav::describeCaptureFailure(tree.capture->failure());
    EXPECT_TRUE(tree.info.checkBoxes);
    std::vector<char> marks;
    ASSERT_TRUE(tree.capture->readCheckMarks(1, 9, marks));
    EXPECT_EQ(marks, (std::vector<char>{0, 1, 0, 0, 1, 0, 0, 0, 1}));
    // Rows just read: the marks of those rows; rows elsewhere: walked to.
    Texts cells;
    ASSERT_TRUE(tree.capture->readCells(4, 3, 3, cells));
    EXPECT_EQ(cells.at(3), L"epsilon");
    const struct { std::int32_t first, rows; std::vector<char> marks; } reads[] = {
        {4, 3, {0, 1, 0}}, {8, 2, {0, 1}}, {1, 2, {0, 1}}};
    for (const auto& r : reads) {
        ASSERT_TRUE(tree.capture->readCheckMarks(r.first, r.rows, marks));
        EXPECT_EQ(marks, r.marks) << "from row " << r.first;
    }
    EXPECT_EQ(tree.capture->failure(), CaptureFailure::None);
}

TEST(TreeViewCapture, ADeepTreeIsWalkedWithItsWholePath) {
    const int depth = 2000;
    ControlHost host("deep " + std::to_string(depth));
    zavtest::ControlRead tree = readControl(host.control(1));
    ASSERT_TRUE(tree.ok) << zav::describeCaptureFailure(tree.capture->failure());
    ASSERT_EQ(tree.info.lItemCount, depth);
    std::wstring path;
    for (int level = 1; level <= depth; ++level) {
        path += (level > 1 ? L"\\d" : L"d") + std::to_wstring(level);
        ASSERT_EQ(tree.cells.at(level * 3 - 2), std::to_wstring(level));
        ASSERT_EQ(tree.cells.at(level * 3 - 1), path) << "level " << level;
    }
}

// 2,500 items: three roots of up to 999 children, read in blocks of 85 as the export asks, so the
// blocks cross from one branch into the next, and the walk ends in the middle of a branch.
TEST(TreeViewCapture, ItemsAreCountedAndReadInOrderAcrossBranches) {
    constexpr std::int32_t kItems = 2500;
    ControlHost host("big " + std::to_string(kItems));
    zavtest::ControlRead tree = readControl(host.control(1), 4000, false);
    ASSERT_TRUE(tree.ok);
    ASSERT_EQ(tree.info.lItemCount, kItems);
    Texts block;
    for (std::int32_t first = 1; first <= kItems; first += 85) {
        const std::int32_t rows = std::min(85, kItems - first + 1);
        ASSERT_TRUE(tree.capture->readCells(first, rows, 3, block)) << zav::describeCaptureFailure(tree.capture->failure());
        for (std::int32_t n = first; n < first + rows; ++n) {
            // Row n: root (n - 1) / 1000 + 1; the root itself first, then its children 1..999.
            const std::wstring root = L"r" + std::to_wstring((n - 1) / 1000 + 1);
            const std::int32_t child = (n - 1) % 1000;
            const std::wstring item = child == 0 ? root : root + L".c" + std::to_wstring(child);
            const Texts expected = {item, child == 0 ? L"1" : L"2", child == 0 ? root : root + L"\\" + item};
            ASSERT_EQ(Texts(block.begin() + (n - first) * 3, block.begin() + (n - first) * 3 + 3), expected) << "row " << n;
        }
    }
}

// List boxes 4 to 8 of the host of single controls, which lie about their lines. (Apart from the
// other lying controls: a length of -5 costs the whole 4 s time-out under 64-bit Wine.)
TEST(LyingControls, ListBoxesAreReadAsFarAsTheirAnswersAgreeElseRefusedWithWhatHappened) {
    const Texts lines = {L"one", L"two \u0416", L"", L"four", L"five"};
    const wchar_t* inconsistent = L"The list box answered inconsistently at row 1, column 1: the length of its text and "
                                  L"the text it gave do not agree.";
    const ExportCase cases[] = {
        {"a list box counting 2^31-1", "listbox", 4, lines, CaptureFailure::None, L""},
        // The system sizes its copy of the line by the length told: no text comes, and the row is
        // named, never read as empty.
        {"a length of 2^31-1", "listbox", 5, {}, CaptureFailure::TextUnreadable,
         L"The list box told a length for the text at row 1, column 1 that cannot be honoured (2,147,483,647 "
         L"characters), and the text could not be read whole."},
        {"a length of -5", "listbox", 8, {}, CaptureFailure::TextUnreadable,
         L"The list box told a length for the text at row 1, column 1 that cannot be honoured (-5 characters), "
         L"and the text could not be read whole."},
        {"a length two short of the text", "listbox", 6, {}, CaptureFailure::Inconsistent, inconsistent},
        {"a copy that claims 100,000 characters", "listbox", 7, {}, CaptureFailure::Inconsistent, inconsistent},
    };
    for (const ExportCase& c : cases) checkExport(c);
}

// Trees of nine items and list views of 2,000 rows that lie or change while read.
TEST(LyingControls, TreesAndListViewsAreReadAsFarAsTheirAnswersAgreeElseRefused) {
    // The list views' change comes after 600 item requests, two a row and the first 128 rows' first
    // column asked once more (which tells that the rows' item data differ).
    const std::string rows = "column\t50\tA\ncolumn\t50\tB\ngenerate\t2000\t2\n";
    Texts all;
    for (int r = 1; r <= 2000; ++r)
        for (const wchar_t* c : {L"C1", L"C2"}) all.push_back(L"R" + std::to_wstring(r) + c);
    const ExportCase cases[] = {
        {"a tree counting 2^31-1", "count 1", 1,
         {L"a", L"1", L"a", L"a1", L"2", L"a\\a1", L"a2", L"2", L"a\\a2",
          L"b", L"1", L"b", L"b1", L"2", L"b\\b1", L"b2", L"2", L"b\\b2",
          L"c", L"1", L"c", L"c1", L"2", L"c\\c1", L"c2", L"2", L"c\\c2"},
         CaptureFailure::None, L""},
        {"a leaf whose child is a root", "loop 1", 1, {}, CaptureFailure::TreeLoop,
         L"The tree view answered inconsistently: an item came again at row 4 of one walk over the tree, as if it "
         L"were its own descendant."},
        {"a list view refreshed down to 5 rows", rows + "shrink\t600\t5\n", 0, {}, CaptureFailure::RowsFell,
         L"The list view changed while it was being read: it held 2,000 rows when the export began and holds 5 now."},
        {"re-sorted, item data distinct", rows + "params\nresort\t600\n", 0, {}, CaptureFailure::RowsMoved,
         L"The list view changed while it was being read: its rows moved (it was re-sorted or refreshed), and row "
         L"237 came again as a row already read."},
        // Distinct item data watched over a list that does not change: every row, none refused.
        {"item data distinct, unchanged", rows + "params\n", 0, all, CaptureFailure::None, L""},
    };
    for (const ExportCase& c : cases) checkExport(c);
}

// Each kind of control: a host hung before the read is refused within the time-out with nothing
// read; one hung or killed between blocks fails the next block with empty cells, never as empty
// rows; and a capture that failed sends nothing more (a hung host is not waited for again).
class HungOrKilled : public ::testing::TestWithParam<const char*> {};

TEST_P(HungOrKilled, TheHostIsRefusedAndAFailedCaptureAsksNoMore) {
    const std::string kind = GetParam();
    const auto start = [&]() -> std::unique_ptr<HostProcess> {
        if (kind == "listview") return std::make_unique<HostProcess>("column\t50\tA\ncolumn\t50\tB\ngenerate\t1000\t2\n");
        return std::make_unique<ControlHost>(kind == "listbox" ? "listbox" : "");
    };
    {
        auto host = start();
        const HWND control = host->control(1);
        host->hang();
        const DWORD begun = GetTickCount();
        zavtest::ControlRead hung = readControl(control, 1000);
        EXPECT_FALSE(hung.ok);
        EXPECT_EQ(hung.capture->failure(), CaptureFailure::TargetHung);
        EXPECT_EQ(hung.info.lItemCount + hung.info.lColumnCount, 0);
        EXPECT_EQ(hung.capture->getCellText(1, 1), L"");
        EXPECT_LT(GetTickCount() - begun, 2500u) << "a time-out of 1 s was not kept";
    }
    for (const bool kill : {false, true}) {
        SCOPED_TRACE(kill ? "killed between blocks" : "hung between blocks");
        auto host = start();
        zavtest::ControlRead read = readControl(host->control(1), 1000, false);
        ASSERT_TRUE(read.ok);
        const std::int32_t columns = read.info.lColumnCount;
        Texts cells;
        ASSERT_TRUE(read.capture->readCells(1, 2, columns, cells));
        EXPECT_NE(cells.at(0), L"");
        if (kill) host->kill();
        else host->hang();
        const DWORD begun = GetTickCount();
        EXPECT_FALSE(read.capture->readCells(3, read.info.lItemCount - 2, columns, cells));
        EXPECT_EQ(read.capture->failure(), kill ? CaptureFailure::TargetGone : CaptureFailure::TargetHung);
        EXPECT_EQ(cells, Texts(cells.size()));
        EXPECT_FALSE(read.capture->readCells(1, 1, columns, cells));
        EXPECT_EQ(read.capture->getCellText(1, 1), L"");
        if (kind == "listview") { EXPECT_EQ(read.capture->getColumnText(1), L""); }
        EXPECT_LT(GetTickCount() - begun, 2500u) << "a time-out of 1 s was not kept";
    }
}

INSTANTIATE_TEST_SUITE_P(ControlCapture, HungOrKilled, ::testing::Values("listview", "listbox", "treeview"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

#ifndef _WIN64
// A 32-bit program cannot address a 64-bit list view or tree: the capture says so and reads nothing.
TEST(WordSize, ThirtyTwoBitProgramRefusesSixtyFourBitTargets) {
    const std::string wide = zavtest::environment("ZAV_LVHOST_WIDE");
    if (wide.empty()) GTEST_SKIP() << "no 64-bit hosts were given (ZAV_LVHOST_WIDE)";
    HostProcess list("title\tWide host\ncolumn\t80\tA\nrow\tx\n", 120000, wide);
    ControlHost tree("", zavtest::siblingHostProgram("zav_ctlhost.exe", wide));
    EXPECT_EQ(64, zav::processWordSize(list.processId()));
    for (const HWND control : {list.list(), tree.control(1)}) {
        zavtest::ControlRead read = readControl(control);
        EXPECT_FALSE(read.ok);
        EXPECT_EQ(read.capture->failure(), CaptureFailure::TargetTooWide);
        EXPECT_EQ(read.info.lItemCount, 0);
        EXPECT_EQ(read.capture->getCellText(1, 1), L"");
        EXPECT_NE(std::wstring::npos, zav::describeCaptureFailure(read.capture->failure()).find(L"64-bit"));
    }
    auto lv = zav::ListViewSource::openListViewBuffers(zav::gridTargetOf(reinterpret_cast<zav::WindowHandle>(list.list())), {});
    EXPECT_EQ(CaptureFailure::TargetTooWide, lv->failure());  // before any request
    EXPECT_EQ(L"", lv->getColumnText(1));
}
#endif

// A tree that stops answering before its first row is read: the walk that cannot start fails the
// read, never ends the tree at no rows.
TEST(TreeViewCapture, ATreeHungBeforeItsFirstRowFailsTheReadRatherThanEndingIt) {
    ControlHost host;
    zavtest::ControlRead tree = readControl(host.control(1), 1000, false);
    ASSERT_TRUE(tree.ok);
    host.hang();
    Texts cells;
    EXPECT_FALSE(tree.capture->readCells(1, tree.info.lItemCount, 3, cells));
    EXPECT_EQ(tree.capture->failure(), CaptureFailure::TargetHung);
    EXPECT_EQ(tree.capture->rowsEnded(), -1);
}

}  // namespace
