// The list-view reader against list views of a real second process (the list-view host).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "HostProcess.h"
#include "capture/win32/ListViewLayouts.h"
#include "capture/win32/SystemGridSources.h"
#include "capture/win32/ListViewSource.h"
#include "capture/win32/WindowText.h"

namespace {

using zav::CaptureFailure;
using zav::ListViewSource;
using zav::ListViewInfo;
using zav::WindowHandle;
using zavtest::HostProcess;

WindowHandle wh(HWND h) { return reinterpret_cast<WindowHandle>(h); }

// Reads the host's list view the way an export dialog does.
struct Capture {
    explicit Capture(HWND list, const zav::CaptureOptions& options = {}) : lv(ListViewSource::openListViewBuffers(zav::gridTargetOf(wh(list)), options)) {
        info.hWnd = wh(list);
    }
    zav::VBool read() { return lv->readListViewInfo(info); }
    std::unique_ptr<ListViewSource> lv;
    ListViewInfo info;
};

DWORD elapsedSince(DWORD start) { return GetTickCount() - start; }

std::string generatedCell(long row, int column) {
    return "R" + std::to_string(row) + "C" + std::to_string(column);
}

TEST(ListViewReader, ReportViewHeaderInIndexOrderAndCells) {
    HostProcess host(
        "title\tReport host\n"
        "column\t100\tName\ncolumn\t150\tSize\ncolumn\t80\tDate\n"
        "order\t2\t0\t1\n"
        "row\ta1\tb1\tc1\n"
        "row\ta2\t\tc2\n");
    // The on-screen order really is changed: ask the host's list view through a buffer of ours.
    {
        auto process = zav::RemoteProcess::open(host.processId());
        ASSERT_TRUE(process);
        zav::RemoteBuffer orderBuffer = zav::RemoteBuffer::allocate(process, 3 * sizeof(int));
        DWORD_PTR ok = 0;
        SendMessageTimeoutA(host.list(), LVM_GETCOLUMNORDERARRAY, 3, static_cast<LPARAM>(orderBuffer.address()),
                            SMTO_NORMAL, 5000, &ok);
        int order[3] = {};
        ASSERT_TRUE(orderBuffer.read(0, order, sizeof order));
        EXPECT_EQ(2, order[0]);
        EXPECT_EQ(0, order[1]);
        EXPECT_EQ(1, order[2]);
    }

    Capture c(host.list());
    ASSERT_EQ(zav::vbTrue, c.read());
    EXPECT_EQ(CaptureFailure::None, c.lv->failure());
    EXPECT_EQ(host.processId(), c.lv->processId());
    EXPECT_EQ(L"SysListView32", c.info.szClassName);
    EXPECT_EQ(wh(host.list()), c.info.hWnd);
    EXPECT_EQ(1, c.info.lView);
    EXPECT_EQ(2, c.info.lItemCount);
    ASSERT_EQ(3, c.info.lColumnCount);
    ASSERT_EQ(4u, c.info.lColumnWidth.size());
    ASSERT_EQ(4u, c.info.szColumnText.size());
    EXPECT_EQ(0, c.info.lColumnWidth[0]);
    EXPECT_EQ(L"", c.info.szColumnText[0]);
    EXPECT_EQ(100, c.info.lColumnWidth[1]);
    EXPECT_EQ(150, c.info.lColumnWidth[2]);
    EXPECT_EQ(80, c.info.lColumnWidth[3]);
    EXPECT_EQ(L"Name", c.info.szColumnText[1]);
    EXPECT_EQ(L"Size", c.info.szColumnText[2]);
    EXPECT_EQ(L"Date", c.info.szColumnText[3]);
    // The order on screen, 1-based, beside the header in index order.
    EXPECT_EQ((std::vector<std::int32_t>{3, 1, 2}), c.info.lColumnOrder);
    EXPECT_EQ(host.listRect().left, c.info.rcWindow.left);
    EXPECT_EQ(host.listRect().top, c.info.rcWindow.top);
    EXPECT_EQ(host.listRect().right, c.info.rcWindow.right);
    EXPECT_EQ(host.listRect().bottom, c.info.rcWindow.bottom);

    // 1-based at this interface: row 1, column 1 is item 0, subitem 0.
    EXPECT_EQ(L"a1", c.lv->getCellText(1, 1));
    EXPECT_EQ(L"c1", c.lv->getCellText(1, 3));
    EXPECT_EQ(L"c2", c.lv->getCellText(2, 3));
    EXPECT_EQ(L"Size", c.lv->getColumnText(2));
    // An empty cell is the empty text, answered with the count 0.
    EXPECT_EQ(L"", c.lv->getCellText(2, 2));
    EXPECT_EQ(0, c.lv->lastTextLength());
    // Cells that do not exist are empty; none of this is a failure of the capture.
    EXPECT_EQ(L"", c.lv->getCellText(3, 1));
    EXPECT_EQ(L"", c.lv->getColumnText(4));
    EXPECT_EQ(CaptureFailure::None, c.lv->failure());
    EXPECT_EQ(ListViewSource::kStartTextLength, c.lv->textBufferLength());

    // Closing the buffers ends the reading, not the record.
    c.lv->closeListViewBuffers();
    EXPECT_EQ(L"", c.lv->getCellText(1, 1));
    EXPECT_EQ(3, c.info.lColumnCount);

    // The host ends when told.
    EXPECT_TRUE(host.close());
    EXPECT_FALSE(host.running());
}

class OneColumnViews : public ::testing::TestWithParam<const char*> {};

TEST_P(OneColumnViews, ReadAsOneColumn) {
    HostProcess host(std::string("title\tViews\nview\t") + GetParam() + "\nrow\tfirst\nrow\tsecond\nrow\t\n");
    Capture c(host.list());
    ASSERT_EQ(zav::vbTrue, c.read());
    const std::string view = GetParam();
    EXPECT_EQ(view == "icon" ? 0 : view == "smallicon" ? 2 : 3, c.info.lView);
    EXPECT_EQ(3, c.info.lItemCount);
    ASSERT_EQ(1, c.info.lColumnCount);
    EXPECT_EQ(static_cast<int>(SendMessageA(host.list(), LVM_GETCOLUMNWIDTH, 0, 0)), c.info.lColumnWidth[1]);
    EXPECT_EQ(L"", c.info.szColumnText[1]);
    EXPECT_EQ(L"first", c.lv->getCellText(1, 1));
    EXPECT_EQ(L"second", c.lv->getCellText(2, 1));
    EXPECT_EQ(L"", c.lv->getCellText(3, 1));
    EXPECT_EQ(CaptureFailure::None, c.lv->failure());
}

INSTANTIATE_TEST_SUITE_P(Views, OneColumnViews, ::testing::Values("icon", "smallicon", "list"));

TEST(ListViewReader, AListNeverReorderedIsInIndexOrderAndAHiddenColumnHasWidthZero) {
    HostProcess host(
        "title\tPlain host\n"
        "column\t100\tName\ncolumn\t0\tHidden\ncolumn\t80\tDate\n"
        "row\ta1\tb1\tc1\n");
    Capture c(host.list());
    ASSERT_EQ(zav::vbTrue, c.read());
    EXPECT_EQ((std::vector<std::int32_t>{1, 2, 3}), c.info.lColumnOrder);
    ASSERT_EQ(4u, c.info.lColumnWidth.size());
    EXPECT_EQ(0, c.info.lColumnWidth[2]);
}

TEST(ListViewReader, ReportViewWithoutHeaderStillHasItsColumns) {
    HostProcess host("noheader\ncolumn\t60\tHidden one\ncolumn\t70\tHidden two\nrow\tx\ty\n");
    Capture c(host.list());
    ASSERT_EQ(zav::vbTrue, c.read());
    ASSERT_EQ(2, c.info.lColumnCount);
    EXPECT_EQ(L"Hidden two", c.info.szColumnText[2]);
    EXPECT_EQ(70, c.info.lColumnWidth[2]);
    EXPECT_EQ(L"y", c.lv->getCellText(1, 2));
}

TEST(ListViewReader, LongTextsComeBackWhole) {
    const std::string header300(300, 'H');
    const std::string cell254(254, 'a');
    const std::string cell255(255, 'b');
    std::string cell5000;
    for (int i = 0; i < 5000; ++i) cell5000.push_back(static_cast<char>('0' + i % 10));
    HostProcess host("column\t50\t" + header300 + "\ncolumn\t50\tShort\nrow\t" + cell254 + "\t" + cell255 +
                     "\nrow\t" + cell5000 + "\tafter\n");
    Capture c(host.list());
    ASSERT_EQ(zav::vbTrue, c.read());
    EXPECT_EQ(std::wstring(300, L'H'), c.info.szColumnText[1]);
    EXPECT_EQ(L"Short", c.info.szColumnText[2]);
    EXPECT_EQ(std::wstring(254, L'a'), c.lv->getCellText(1, 1));
    EXPECT_EQ(std::wstring(255, L'b'), c.lv->getCellText(1, 2));
    std::wstring got = c.lv->getCellText(2, 1);
    ASSERT_EQ(5000u, got.size());
    EXPECT_EQ(std::wstring(cell5000.begin(), cell5000.end()), got);
    EXPECT_GT(c.lv->textBufferLength(), 5000);
    // Short texts after a long one read as before.
    EXPECT_EQ(L"after", c.lv->getCellText(2, 2));
    EXPECT_EQ(L"Short", c.lv->getColumnText(2));
    EXPECT_EQ(CaptureFailure::None, c.lv->failure());
}

TEST(ListViewReader, AnsiCodePageCharactersComeBackRight) {
    ASSERT_EQ(1252u, GetACP()) << "the Wine session runs with code page 1252";
    // Gr\xF6\xDF" "e, A-umlaut, euro, oe ligature, ellipsis, e-acute, y-diaeresis
    HostProcess host("title\tCaf\xE9\ncolumn\t90\tGr\xF6\xDF" "e\nrow\t\xC4\x80\x9C\x85\xE9\xFF\n");
    Capture c(host.list());
    ASSERT_EQ(zav::vbTrue, c.read());
    EXPECT_EQ(L"Gr\u00F6\u00DFe", c.info.szColumnText[1]);
    EXPECT_EQ(L"\u00C4\u20AC\u0153\u2026\u00E9\u00FF", c.lv->getCellText(1, 1));
    EXPECT_EQ(L"Caf\u00E9", zav::getWindowCaption(wh(host.topLevel())));
}

TEST(ListViewReader, ClassNamesContainingListViewCountTheHeaderDoesNot) {
    {
        HostProcess host("column\t50\tA\nrow\tx\n");
        HWND header = reinterpret_cast<HWND>(SendMessageA(host.list(), LVM_GETHEADER, 0, 0));
        ASSERT_TRUE(header);
        auto factory = zav::makeSystemGridSourceFactory();
        for (HWND w : {header, host.topLevel()}) {
            const zav::GridTarget target = zav::gridTargetOf(wh(w));
            EXPECT_EQ(zav::ControlKind::None, target.kind) ;
            auto source = factory->openGridSource(target);
            ListViewInfo info;
            info.lItemCount = 9;
            info.lColumnCount = 9;
            EXPECT_EQ(zav::vbFalse, source->readListViewInfo(info));
            EXPECT_EQ(0, info.lItemCount);
            EXPECT_EQ(0, info.lColumnCount);
            EXPECT_EQ(CaptureFailure::NotAGrid, source->failure());
            EXPECT_EQ(L"", source->getCellText(1, 1));
        }
        EXPECT_EQ(L"SysHeader32", zav::gridTargetOf(wh(header)).className);
        EXPECT_EQ(L"ZavHostPanel", zav::gridTargetOf(wh(host.topLevel())).className);
    }
    for (const char* cls : {"MyListViewThing", "zzLISTVIEW", "listview"}) {
        HostProcess host(std::string("fake\t") + cls + "\tabsurd\n");
        Capture c(host.list());
        ASSERT_EQ(zav::vbTrue, c.read()) << cls;
        EXPECT_EQ(std::wstring(cls, cls + std::strlen(cls)), c.info.szClassName);
        EXPECT_EQ(3, c.info.lItemCount);
        ASSERT_EQ(1, c.info.lColumnCount);
        EXPECT_EQ(77, c.info.lColumnWidth[1]);
        EXPECT_EQ(L"fake header", c.info.szColumnText[1]);
    }
    EXPECT_EQ(zav::ControlKind::ListView, zav::gridTargetOf(wh(HostProcess("column\t50\tA\n").list())).kind);
}

TEST(ListViewReader, NoWindowLeavesTheRecordUnchanged) {
    HWND gone = nullptr;
    {
        HostProcess host("column\t50\tA\nrow\tx\n");
        gone = host.list();
    }
    ASSERT_FALSE(IsWindow(gone));
    Capture c(gone);
    EXPECT_EQ(CaptureFailure::NoWindow, c.lv->failure());
    c.info.szClassName = L"kept";
    c.info.lItemCount = 5;
    c.info.lColumnCount = 2;
    c.info.szColumnText = {L"", L"one", L"two"};
    EXPECT_EQ(zav::vbFalse, c.read());
    EXPECT_EQ(wh(gone), c.info.hWnd);
    EXPECT_EQ(L"kept", c.info.szClassName);
    EXPECT_EQ(5, c.info.lItemCount);
    EXPECT_EQ(2, c.info.lColumnCount);
    EXPECT_EQ(L"two", c.info.szColumnText[2]);
    EXPECT_EQ(L"", c.lv->getCellText(1, 1));
}

// Windows that merely call themselves list views answer whatever they like; every read stays
// within its buffer.
TEST(ListViewReader, ForeignAnswersAreReadWithinBounds) {
    {
        HostProcess host("fake\tMyListViewThing\tabsurd\n");
        Capture c(host.list());
        ASSERT_EQ(zav::vbTrue, c.read());
        EXPECT_EQ(L"fake cell 1/0", c.lv->getCellText(2, 1));
        EXPECT_EQ(0x7FFFFFFF, c.lv->lastTextLength());
    }
    {
        zav::CaptureOptions options;
        options.maxTextLength = 4096;
        HostProcess host("fake\tMyListViewThing\tflood\n");
        Capture c(host.list(), options);
        ASSERT_EQ(zav::vbTrue, c.read());
        const std::wstring text = c.lv->getCellText(1, 1);
        EXPECT_EQ(4096u, text.size());
        EXPECT_EQ(std::wstring::npos, text.find_first_not_of(L'x'));
        EXPECT_EQ(4096, c.lv->textBufferLength());
        EXPECT_EQ(4096u, c.info.szColumnText[1].size());
    }
    {
        HostProcess host("fake\tMyListViewThing\tnegative\n");
        Capture c(host.list());
        ASSERT_EQ(zav::vbTrue, c.read());
        EXPECT_EQ(L"", c.lv->getCellText(1, 1));
    }
    {
        HostProcess host("fake\tMyListViewThing\tbadpointer\n");
        Capture c(host.list());
        ASSERT_EQ(zav::vbTrue, c.read());
        EXPECT_EQ(L"", c.lv->getCellText(1, 1));
        EXPECT_EQ(L"", c.info.szColumnText[1]);
        EXPECT_EQ(CaptureFailure::None, c.lv->failure());
    }
}

TEST(ListViewReader, TextAnsweredFromTheControlsOwnMemoryIsFollowed) {
    HostProcess host("fake\tMyListViewThing\telsewhere\n");
    Capture c(host.list());
    ASSERT_EQ(zav::vbTrue, c.read());
    EXPECT_EQ(L"fake header", c.info.szColumnText[1]);
    const std::wstring text = c.lv->getCellText(3, 2);
    EXPECT_EQ(std::wstring(L"fake cell 2/1") + std::wstring(5000, L'e'), text);
    // The answer pointed elsewhere; the capture's own buffer was not grown for it.
    EXPECT_EQ(ListViewSource::kStartTextLength, c.lv->textBufferLength());
}

TEST(ListViewReader, HostKilledBetweenReadsGivesEmptyTextsAndAFailedCapture) {
    HostProcess host("ownerdata\ncolumn\t50\tA\ncolumn\t50\tB\ngenerate\t1000\t2\n");
    Capture c(host.list());
    ASSERT_EQ(zav::vbTrue, c.read());
    EXPECT_EQ(L"R1C2", c.lv->getCellText(1, 2));
    host.kill();
    const DWORD start = GetTickCount();
    EXPECT_EQ(L"", c.lv->getCellText(2, 1));
    EXPECT_EQ(L"", c.lv->getColumnText(1));
    EXPECT_EQ(CaptureFailure::TargetGone, c.lv->failure());
    EXPECT_LT(elapsedSince(start), 2000u);
    // Reading the header again finds no window; the record keeps what it had.
    EXPECT_EQ(zav::vbFalse, c.read());
    EXPECT_EQ(1000, c.info.lItemCount);
}

TEST(ListViewReader, HostKilledDuringAReadLoopEndsTheLoopQuickly) {
    constexpr long kRows = 50000;
    HostProcess host("ownerdata\ncolumn\t50\tA\ncolumn\t50\tB\ngenerate\t" + std::to_string(kRows) + "\t2\n");
    Capture c(host.list());
    ASSERT_EQ(zav::vbTrue, c.read());

    std::atomic<long> rowsRead{0};
    std::thread killer([&] {
        while (rowsRead.load() < 200) Sleep(1);
        host.kill();
    });
    long firstEmpty = 0;
    long wrong = 0;
    const DWORD start = GetTickCount();
    for (long r = 1; r <= kRows; ++r) {
        for (int col = 1; col <= 2; ++col) {
            const std::wstring text = c.lv->getCellText(r, col);
            const std::string expected = generatedCell(r, col);
            if (text.empty()) {
                if (!firstEmpty) firstEmpty = r;
            } else if (firstEmpty || text != std::wstring(expected.begin(), expected.end())) {
                ++wrong;  // a text after the first empty one, or a wrong text
            }
        }
        rowsRead = r;
    }
    killer.join();
    EXPECT_EQ(0, wrong);
    EXPECT_GE(firstEmpty, 200);
    EXPECT_LT(firstEmpty, kRows);
    EXPECT_EQ(CaptureFailure::TargetGone, c.lv->failure());
    EXPECT_LT(elapsedSince(start), 60000u);
}

TEST(ListViewReader, HungHostReturnsWithinTheTimeOut) {
    HostProcess host("column\t50\tA\nrow\tx\nhang\n");
    zav::CaptureOptions options;  // the program's own time-out
    Capture c(host.list(), options);
    const DWORD start = GetTickCount();
    EXPECT_EQ(zav::vbFalse, c.read());
    EXPECT_LT(elapsedSince(start), options.timeoutMs + 1500);
    EXPECT_EQ(CaptureFailure::TargetHung, c.lv->failure());
    EXPECT_EQ(0, c.info.lItemCount);
    EXPECT_EQ(0, c.info.lColumnCount);
    // Nothing more is sent to a hung window.
    const DWORD again = GetTickCount();
    EXPECT_EQ(L"", c.lv->getCellText(1, 1));
    EXPECT_LT(elapsedSince(again), 500u);
    host.kill();
}

TEST(ListViewReader, HostThatHangsAfterTheHeaderFailsTheCapture) {
    HostProcess host("column\t50\tA\nrow\tx\nrow\ty\n");
    zav::CaptureOptions options;
    options.timeoutMs = 1000;
    Capture c(host.list(), options);
    ASSERT_EQ(zav::vbTrue, c.read());
    EXPECT_EQ(L"x", c.lv->getCellText(1, 1));
    host.hang();
    const DWORD start = GetTickCount();
    EXPECT_EQ(L"", c.lv->getCellText(2, 1));
    EXPECT_EQ(L"", c.lv->getCellText(1, 1));
    EXPECT_LT(elapsedSince(start), options.timeoutMs + 1500);
    EXPECT_EQ(CaptureFailure::TargetHung, c.lv->failure());
    host.kill();
}

TEST(ListViewReader, TwoCapturesOfTwoHostsReadTheirOwnLists) {
    HostProcess one("title\tOne\ncolumn\t50\tFirst\nrow\tone-1\nrow\tone-2\n");
    HostProcess two("title\tTwo\ncolumn\t50\tSecond\ncolumn\t50\tOther\nrow\ttwo-1\ttwo-1b\n");
    auto factory = zav::makeSystemGridSourceFactory();
    std::unique_ptr<zav::IGridSource> a = factory->openGridSource(zav::gridTargetOf(wh(one.list())));
    std::unique_ptr<zav::IGridSource> b = factory->openGridSource(zav::gridTargetOf(wh(two.list())));
    ListViewInfo ia, ib;
    ia.hWnd = wh(one.list());
    ib.hWnd = wh(two.list());
    ASSERT_EQ(zav::vbTrue, a->readListViewInfo(ia));
    ASSERT_EQ(zav::vbTrue, b->readListViewInfo(ib));
    EXPECT_EQ(L"First", ia.szColumnText[1]);
    EXPECT_EQ(2, ib.lColumnCount);
    EXPECT_EQ(L"Second", ib.szColumnText[1]);
    EXPECT_EQ(L"one-1", a->getCellText(1, 1));
    EXPECT_EQ(L"two-1b", b->getCellText(1, 2));
    EXPECT_EQ(L"one-2", a->getCellText(2, 1));
    // Closing one capture leaves the other one's buffers alone.
    a.reset();
    EXPECT_EQ(L"two-1", b->getCellText(1, 1));
    EXPECT_EQ(CaptureFailure::None, b->failure());
}

TEST(ListViewReader, OwnerDataListWithManyRows) {
    HostProcess host(
        "ownerdata\ncolumn\t50\tA\ncolumn\t50\tB\ncolumn\t50\tC\ncolumn\t50\tD\n"
        "row\tgiven\t\tthird\ngenerate\t200000\t4\n");
    Capture c(host.list());
    ASSERT_EQ(zav::vbTrue, c.read());
    EXPECT_EQ(200001, c.info.lItemCount);
    EXPECT_EQ(4, c.info.lColumnCount);
    EXPECT_EQ(L"given", c.lv->getCellText(1, 1));
    EXPECT_EQ(L"", c.lv->getCellText(1, 2));
    EXPECT_EQ(L"third", c.lv->getCellText(1, 3));
    EXPECT_EQ(L"R1C1", c.lv->getCellText(2, 1));
    EXPECT_EQ(L"R200000C4", c.lv->getCellText(200001, 4));
    EXPECT_EQ(CaptureFailure::None, c.lv->failure());
}

// A header that claims far more columns than the list view has, and an absurd item count: the
// header read ends with the columns that answer, at once.
TEST(ListViewReader, HeaderCountIsBelievedOnlyAsFarAsColumnsAnswer) {
    HostProcess host(
        "column\t50\tA\ncolumn\t60\tB\ncolumn\t70\tC\nrow\ta\tb\tc\n"
        "headercount\t100000\nitemcount\t0x7FFFFFFF\n");
    HWND header = reinterpret_cast<HWND>(SendMessageA(host.list(), LVM_GETHEADER, 0, 0));
    ASSERT_TRUE(header);
    ASSERT_EQ(100000, SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) << "the host does not lie as asked";
    Capture c(host.list());
    const DWORD start = GetTickCount();
    ASSERT_EQ(zav::vbTrue, c.read());
    EXPECT_LT(elapsedSince(start), 2000u);
    EXPECT_EQ(CaptureFailure::None, c.lv->failure());
    EXPECT_EQ(0x7FFFFFFF, c.info.lItemCount);
    ASSERT_EQ(3, c.info.lColumnCount);
    ASSERT_EQ(4u, c.info.szColumnText.size());
    ASSERT_EQ(4u, c.info.lColumnWidth.size());
    EXPECT_EQ(L"C", c.info.szColumnText[3]);
    EXPECT_EQ(70, c.info.lColumnWidth[3]);
    // Rows the list view does not have read as empty cells, at the very end of the range too.
    std::vector<std::wstring> cells;
    EXPECT_TRUE(c.lv->readCells(0x7FFFFFFE, 2, 3, cells));
    EXPECT_EQ(std::vector<std::wstring>(6), cells);
    EXPECT_TRUE(c.lv->readCells(1, 1, 3, cells));
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"b", L"c"}), cells);
}

// readCells gives what getCellText gives, cell for cell, across blocks and for every kind of text.
TEST(CellBlocks, ReadWhatSingleCellsReadAcrossBlockBoundaries) {
    std::string cell5000;
    for (int i = 0; i < 5000; ++i) cell5000.push_back(static_cast<char>('a' + i % 26));
    std::string description = "column\t50\tA\ncolumn\t50\tB\ncolumn\t50\tC\n";
    description += "row\tfirst\t\t" + std::string(254, 'x') + "\n";
    description += "row\t" + std::string(255, 'y') + "\t" + cell5000 + "\t\xE9t\xE9\n";
    description += "generate\t400\t2\n";  // third column empty from here on
    HostProcess host(description);
    Capture c(host.list());
    ASSERT_EQ(zav::vbTrue, c.read());
    ASSERT_EQ(402, c.info.lItemCount);
    const std::int32_t columns = c.info.lColumnCount;
    ASSERT_EQ(3, columns);

    // 403 rows (one past the end) x 3 columns: several blocks, the last one partly beyond the list.
    std::vector<std::wstring> cells;
    ASSERT_TRUE(c.lv->readCells(1, 403, columns, cells));
    ASSERT_EQ(403u * 3u, cells.size());
    EXPECT_EQ(L"first", cells[0]);
    EXPECT_EQ(L"", cells[1]);
    EXPECT_EQ(std::wstring(254, L'x'), cells[2]);
    EXPECT_EQ(std::wstring(255, L'y'), cells[3]);
    EXPECT_EQ(std::wstring(cell5000.begin(), cell5000.end()), cells[4]);
    EXPECT_EQ(L"\u00E9t\u00E9", cells[5]);
    EXPECT_EQ(L"R1C1", cells[6]);
    EXPECT_EQ(L"R400C2", cells[401 * 3 + 1]);
    EXPECT_EQ(L"", cells[402 * 3]);
    long mismatches = 0;
    for (std::int32_t r = 1; r <= 403; ++r)
        for (std::int32_t col = 1; col <= columns; ++col)
            if (cells[static_cast<std::size_t>((r - 1) * columns + col - 1)] != c.lv->getCellText(r, col)) ++mismatches;
    EXPECT_EQ(0, mismatches);

    // A block that starts in the middle of the list, and one row.
    ASSERT_TRUE(c.lv->readCells(300, 2, 2, cells));
    EXPECT_EQ((std::vector<std::wstring>{L"R298C1", L"R298C2", L"R299C1", L"R299C2"}), cells);
    EXPECT_EQ(CaptureFailure::None, c.lv->failure());
}

TEST(CellBlocks, ForeignAnswersReadAsSingleCellsDo) {
    {
        HostProcess host("fake\tMyListViewThing\telsewhere\n");
        Capture c(host.list());
        ASSERT_EQ(zav::vbTrue, c.read());
        std::vector<std::wstring> cells;
        ASSERT_TRUE(c.lv->readCells(3, 1, 2, cells));
        EXPECT_EQ(std::wstring(L"fake cell 2/0") + std::wstring(5000, L'e'), cells[0]);
        EXPECT_EQ(std::wstring(L"fake cell 2/1") + std::wstring(5000, L'e'), cells[1]);
    }
    {
        zav::CaptureOptions options;
        options.maxTextLength = 4096;
        HostProcess host("fake\tMyListViewThing\tflood\n");
        Capture c(host.list(), options);
        ASSERT_EQ(zav::vbTrue, c.read());
        std::vector<std::wstring> cells;
        ASSERT_TRUE(c.lv->readCells(1, 2, 1, cells));
        EXPECT_EQ(std::wstring(4096, L'x'), cells[0]);
        EXPECT_EQ(std::wstring(4096, L'x'), cells[1]);
    }
    {
        HostProcess host("fake\tMyListViewThing\tnegative\n");
        Capture c(host.list());
        ASSERT_EQ(zav::vbTrue, c.read());
        std::vector<std::wstring> cells{L"stale"};
        ASSERT_TRUE(c.lv->readCells(1, 1, 1, cells));
        EXPECT_EQ(std::vector<std::wstring>{L""}, cells);
    }
}

TEST(CellBlocks, HostKilledDuringBlocksFailsTheReadNotAnEmptyCell) {
    constexpr long kRows = 50000;
    HostProcess host("ownerdata\ncolumn\t50\tA\ncolumn\t50\tB\ngenerate\t" + std::to_string(kRows) + "\t2\n");
    Capture c(host.list());
    ASSERT_EQ(zav::vbTrue, c.read());
    std::vector<std::wstring> cells;
    ASSERT_TRUE(c.lv->readCells(1, 200, 2, cells));
    EXPECT_EQ(L"R200C2", cells.back());

    std::atomic<bool> started{false};
    std::thread killer([&] {
        while (!started.load()) Sleep(1);
        Sleep(50);
        host.kill();
    });
    long blocks = 0;
    bool read = true;
    const DWORD start = GetTickCount();
    for (long first = 201; first <= kRows && read; first += 128, ++blocks) {
        started = true;
        read = c.lv->readCells(first, 128, 2, cells);
        if (read) {
            ASSERT_EQ(L"R" + std::to_wstring(first) + L"C1", cells.front());
        }
    }
    killer.join();
    EXPECT_FALSE(read);
    EXPECT_EQ(CaptureFailure::TargetGone, c.lv->failure());
    EXPECT_LT(elapsedSince(start), 60000u);
    // A capture that failed reads nothing more.
    EXPECT_FALSE(c.lv->readCells(1, 1, 2, cells));
    EXPECT_EQ(std::vector<std::wstring>(2), cells);
}

TEST(CellBlocks, HungHostFailsTheBlockWithinTheTimeOut) {
    HostProcess host("column\t50\tA\nrow\tx\nrow\ty\n");
    zav::CaptureOptions options;
    options.timeoutMs = 1000;
    Capture c(host.list(), options);
    ASSERT_EQ(zav::vbTrue, c.read());
    host.hang();
    std::vector<std::wstring> cells;
    const DWORD start = GetTickCount();
    EXPECT_FALSE(c.lv->readCells(1, 2, 1, cells));
    EXPECT_LT(elapsedSince(start), options.timeoutMs + 1500);
    EXPECT_EQ(CaptureFailure::TargetHung, c.lv->failure());
    EXPECT_EQ(std::vector<std::wstring>(2), cells);
    host.kill();
}

std::string utf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

// A Unicode program's texts: Cyrillic, CJK and a character outside the basic plane (a surrogate
// pair in UTF-16), in the caption, the header and the cells, none of them in code page 1252.
TEST(WideTexts, AUnicodeProgramsTextsComeBackWhole) {
    const std::wstring title = L"\u041F\u0440\u0438\u0432\u0435\u0442 \u4E16\u754C \U0001F600";
    const std::wstring cyrillic = L"\u0418\u043C\u044F";
    const std::wstring cjk = L"\u540D\u524D";
    const std::wstring emoji = L"\U0001F600x";
    ASSERT_EQ(3u, emoji.size()) << "UTF-16: the emoji is one surrogate pair";
    const std::wstring longText = std::wstring(299, L'\u042F') + L"\U0001F600";  // the pair beyond the first room
    HostProcess host("unicode\ntitle\t" + utf8(title) + "\ncolumn\t80\t" + utf8(cyrillic) + "\ncolumn\t90\t" +
                     utf8(cjk) + "\nrow\t" + utf8(emoji) + "\t" + utf8(cjk) + "\nrow\t" + utf8(longText) + "\t\n");
    Capture c(host.list());
    ASSERT_EQ(zav::vbTrue, c.read());
    ASSERT_EQ(2, c.info.lColumnCount);
    EXPECT_EQ(cyrillic, c.info.szColumnText[1]);
    EXPECT_EQ(cjk, c.info.szColumnText[2]);
    EXPECT_EQ(90, c.info.lColumnWidth[2]);
    EXPECT_EQ(emoji, c.lv->getCellText(1, 1));
    EXPECT_EQ(cjk, c.lv->getCellText(1, 2));
    EXPECT_EQ(longText, c.lv->getCellText(2, 1));
    EXPECT_EQ(L"", c.lv->getCellText(2, 2));
    std::vector<std::wstring> cells;
    ASSERT_TRUE(c.lv->readCells(1, 2, 2, cells));
    EXPECT_EQ((std::vector<std::wstring>{emoji, cjk, longText, L""}), cells);
    EXPECT_EQ(title, zav::getWindowCaption(wh(host.topLevel())));
    EXPECT_EQ(CaptureFailure::None, c.lv->failure());
}

// The 9x family's way, asked for on this system: the A messages, texts of the ANSI code page.
TEST(WideTexts, TheAnsiMessagesStillReadWhenAskedFor) {
    ASSERT_EQ(1252u, GetACP());
    const std::string longCell(300, '\xE9');
    HostProcess host("column\t90\tGr\xF6\xDF" "e\ncolumn\t50\tB\nrow\t\xC4\x80\x9C\x85\xE9\xFF\t" + longCell + "\n");
    zav::CaptureOptions options;
    options.wideTexts = false;
    Capture c(host.list(), options);
    ASSERT_EQ(zav::vbTrue, c.read());
    ASSERT_EQ(2, c.info.lColumnCount);
    EXPECT_EQ(L"Gr\u00F6\u00DFe", c.info.szColumnText[1]);
    const std::wstring cell = L"\u00C4\u20AC\u0153\u2026\u00E9\u00FF";
    EXPECT_EQ(cell, c.lv->getCellText(1, 1));
    std::vector<std::wstring> cells;
    ASSERT_TRUE(c.lv->readCells(1, 1, 2, cells));
    EXPECT_EQ((std::vector<std::wstring>{cell, std::wstring(300, L'\u00E9')}), cells);
    EXPECT_EQ(CaptureFailure::None, c.lv->failure());
}

TEST(WindowHelpers, ClassesCaptionsAndParents) {
    const std::string longTitle(300, 'T');
    HostProcess host("title\t" + longTitle + "\nnest\tOuter panel\nnest\t\ncolumn\t50\tA\n");
    auto windows = zav::makeSystemWindowInfo();
    const WindowHandle list = wh(host.list());
    EXPECT_EQ(L"SysListView32", zav::gridTargetOf(list).className);
    EXPECT_EQ(L"", windows->getWindowCaption(list));
    const WindowHandle inner = windows->getParent(list);
    const WindowHandle outer = windows->getParent(inner);
    const WindowHandle top = windows->getParent(outer);
    EXPECT_EQ(L"", windows->getWindowCaption(inner));
    EXPECT_EQ(L"Outer panel", windows->getWindowCaption(outer));
    EXPECT_EQ(wh(host.topLevel()), top);
    EXPECT_EQ(std::wstring(254, L'T'), windows->getWindowCaption(top));
    EXPECT_EQ(L"ZavHostPanel", zav::gridTargetOf(top).className);
    EXPECT_EQ(0u, windows->getParent(top));
    EXPECT_EQ(L"", zav::gridTargetOf(0).className);
    EXPECT_EQ(L"", windows->getWindowCaption(0));
}

// The descriptors follow the target's word size: the same reads from a host of this program's
// word size and (in the 64-bit build, where the machine runs 32-bit programs) from a 32-bit host.
TEST(WordSize, CaptureLaysOutItsRequestsForTheTargetsWordSize) {
    HostProcess host("column\t80\tWide header\ncolumn\t60\tB\nrow\tcell one\tcell two\nrow\t\tlast\n");
    EXPECT_EQ(zavtest::hostWordSize(), zav::processWordSize(host.processId()));
    Capture c(host.list());
    ASSERT_EQ(zav::vbTrue, c.read());
    EXPECT_EQ(zavtest::hostWordSize(), c.lv->targetWordSize());
    ASSERT_EQ(2, c.info.lColumnCount);
    EXPECT_EQ(L"Wide header", c.info.szColumnText[1]);
    EXPECT_EQ(80, c.info.lColumnWidth[1]);
    EXPECT_EQ(L"cell one", c.lv->getCellText(1, 1));
    EXPECT_EQ(L"cell two", c.lv->getCellText(1, 2));
    EXPECT_EQ(L"", c.lv->getCellText(2, 1));
    EXPECT_EQ(L"last", c.lv->getCellText(2, 2));
    EXPECT_EQ(CaptureFailure::None, c.lv->failure());
}

TEST(WordSize, ThisProgramIsOfItsOwnWordSize) {
    EXPECT_EQ(zav::kProgramWordSize, zav::processWordSize(GetCurrentProcessId()));
}

#ifndef _WIN64
// A 32-bit program cannot address a 64-bit one: the capture says so and sends no request.
TEST(WordSize, ThirtyTwoBitProgramRefusesASixtyFourBitTarget) {
    const std::string wide = zavtest::environment("ZAV_LVHOST_WIDE");
    if (wide.empty()) GTEST_SKIP() << "no 64-bit list-view host was given (ZAV_LVHOST_WIDE)";
    HostProcess host("title\tWide host\ncolumn\t80\tA\nrow\tx\n", 120000, wide);
    EXPECT_EQ(64, zav::processWordSize(host.processId()));
    Capture c(host.list());
    EXPECT_EQ(CaptureFailure::TargetTooWide, c.lv->failure());
    c.read();
    EXPECT_EQ(CaptureFailure::TargetTooWide, c.lv->failure());
    EXPECT_EQ(L"", c.lv->getCellText(1, 1));
    EXPECT_EQ(L"", c.lv->getColumnText(1));
    EXPECT_NE(std::wstring::npos, zav::describeCaptureFailure(c.lv->failure()).find(L"64-bit"));
}
#endif

}  // namespace
