// The list-view reader, and the buffers it uses, against list views of a real second process (the
// list-view host).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cctype>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "HostProcess.h"
#include "capture/win32/ListViewSource.h"
#include "capture/win32/RemoteMemory.h"
#include "capture/win32/SystemGridSources.h"
#include "capture/win32/WindowText.h"
#include "text/Utf8.h"

namespace {

using zav::CaptureFailure;
using zav::ListViewInfo;
using zav::ListViewSource;
using zav::WindowHandle;
using zav::toUtf8;
using zavtest::HostProcess;
using Texts = std::vector<std::wstring>;

WindowHandle wh(HWND h) { return reinterpret_cast<WindowHandle>(h); }

DWORD elapsedSince(DWORD start) { return GetTickCount() - start; }

// The host of `description` and its list view read the way an export dialog does.
struct Hosted {
    explicit Hosted(const std::string& description, const zav::CaptureOptions& options = {}, bool readNow = true)
        : host(description), lv(ListViewSource::openListViewBuffers(zav::gridTargetOf(wh(host.list())), options)) {
        info.hWnd = wh(host.list());
        if (readNow) read();
    }
    bool read() { return ok = lv->readListViewInfo(info) == zav::vbTrue; }
    HostProcess host;
    std::unique_ptr<ListViewSource> lv;
    ListViewInfo info;
    bool ok = false;
};

const std::string kDigits = [] {
    std::string s;
    for (int i = 0; i < 5000; ++i) s.push_back(static_cast<char>('0' + i % 10));
    return s;
}();

const std::wstring kUnicodeTitle = L"\u041F\u0440\u0438\u0432\u0435\u0442 \u4E16\u754C \U0001F600";
const std::wstring kLongUnicode = std::wstring(299, L'\u042F') + L"\U0001F600";  // the pair beyond the first room
const std::wstring k1252 = L"\u00C4\u20AC\u0153\u2026\u00E9\u00FF";

// A list view of the host, read whole: the header, the order on screen, the widths, and every
// cell (one row past the end too) through readCells and through getCellText alike.
struct ListCase {
    const char* name;
    std::string description;
    Texts headers;                    // in index order
    std::vector<std::int32_t> order;  // 1-based, as shown; nothing checked when empty
    Texts cells;                      // row after row, before the generated rows
    int view = 1;
    long generated = 0;               // rows "R<n>C1", "R<n>C2", then empty cells
    bool wideTexts = true;
    std::wstring caption = {};        // of the top-level window; nothing checked when empty
};

const ListCase kLists[] = {
    {"reordered", "title\tReport\ncolumn\t100\tName\ncolumn\t150\tSize\ncolumn\t80\tDate\norder\t2\t0\t1\n"
                  "row\ta1\tb1\tc1\nrow\ta2\t\tc2\n",
     {L"Name", L"Size", L"Date"}, {3, 1, 2}, {L"a1", L"b1", L"c1", L"a2", L"", L"c2"}},
    {"hidden column", "column\t100\tName\ncolumn\t0\tHidden\ncolumn\t80\tDate\nrow\ta1\tb1\tc1\n",
     {L"Name", L"Hidden", L"Date"}, {1, 2, 3}, {L"a1", L"b1", L"c1"}},
    {"no header", "noheader\ncolumn\t60\tHidden one\ncolumn\t70\tHidden two\nrow\tx\ty\n",
     {L"Hidden one", L"Hidden two"}, {}, {L"x", L"y"}},
    {"icon view", "view\ticon\nrow\tfirst\nrow\tsecond\nrow\t\n", {L""}, {}, {L"first", L"second", L""}, 0},
    {"small icon view", "view\tsmallicon\nrow\tfirst\nrow\t\n", {L""}, {}, {L"first", L""}, 2},
    {"list view", "view\tlist\nrow\tfirst\nrow\t\n", {L""}, {}, {L"first", L""}, 3},
    // Texts past the first room of the buffers, and short ones after them; blocks across their bounds.
    {"long texts", "column\t50\t" + std::string(300, 'H') + "\ncolumn\t50\tShort\ncolumn\t50\tC\nrow\t" +
                       std::string(254, 'a') + "\t" + std::string(255, 'b') + "\t\xE9t\xE9\nrow\t" + kDigits +
                       "\tafter\t\ngenerate\t400\t2\n",
     {std::wstring(300, L'H'), L"Short", L"C"}, {1, 2, 3},
     {std::wstring(254, L'a'), std::wstring(255, L'b'), L"\u00E9t\u00E9", std::wstring(kDigits.begin(), kDigits.end()), L"after", L""},
     1, 400},
    {"code page 1252", "title\tCaf\xE9\ncolumn\t90\tGr\xF6\xDF" "e\nrow\t\xC4\x80\x9C\x85\xE9\xFF\n",
     {L"Gr\u00F6\u00DFe"}, {1}, {k1252}, 1, 0, true, L"Caf\u00E9"},
    // The 9x family's way, asked for on this system: the A messages, texts of the ANSI code page.
    {"ANSI messages", "column\t90\tGr\xF6\xDF" "e\ncolumn\t50\tB\nrow\t\xC4\x80\x9C\x85\xE9\xFF\t" + std::string(300, '\xE9') + "\n",
     {L"Gr\u00F6\u00DFe", L"B"}, {1, 2}, {k1252, std::wstring(300, L'\u00E9')}, 1, 0, false},
    // Cyrillic, CJK and a character outside the basic plane (a surrogate pair in UTF-16).
    {"Unicode program", "unicode\ntitle\t" + toUtf8(kUnicodeTitle) + "\ncolumn\t80\t" + toUtf8(L"\u0418\u043C\u044F") + "\ncolumn\t90\t" +
                            toUtf8(L"\u540D\u524D") + "\nrow\t" + toUtf8(L"\U0001F600x") + "\t" + toUtf8(L"\u540D\u524D") +
                            "\nrow\t" + toUtf8(kLongUnicode) + "\t\n",
     {L"\u0418\u043C\u044F", L"\u540D\u524D"}, {1, 2}, {L"\U0001F600x", L"\u540D\u524D", kLongUnicode, L""}, 1, 0, true,
     kUnicodeTitle},
};

class ListViews : public ::testing::TestWithParam<ListCase> {};

TEST_P(ListViews, ReadWholeAsTheHostShowsThem) {
    const ListCase& t = GetParam();
    zav::CaptureOptions options;
    options.wideTexts = t.wideTexts;
    Hosted h(t.description, options);
    ASSERT_TRUE(h.ok);
    const auto columns = static_cast<std::int32_t>(t.headers.size());
    Texts cells = t.cells;
    for (long n = 1; n <= t.generated; ++n)
        for (std::int32_t c = 1; c <= columns; ++c)
            cells.push_back(c <= 2 ? L"R" + std::to_wstring(n) + L"C" + std::to_wstring(c) : L"");
    const auto rows = static_cast<std::int32_t>(cells.size()) / columns;

    EXPECT_EQ(L"SysListView32", h.info.szClassName);
    EXPECT_EQ(t.view, h.info.lView);
    EXPECT_EQ(rows, h.info.lItemCount);
    ASSERT_EQ(columns, h.info.lColumnCount);
    Texts headers = {L""};
    headers.insert(headers.end(), t.headers.begin(), t.headers.end());
    EXPECT_EQ(headers, h.info.szColumnText);
    std::vector<std::int32_t> widths = {0};
    for (std::int32_t c = 1; c <= columns; ++c)
        widths.push_back(static_cast<std::int32_t>(SendMessageW(h.host.list(), LVM_GETCOLUMNWIDTH, c - 1, 0)));
    EXPECT_EQ(widths, h.info.lColumnWidth);
    if (!t.order.empty()) { EXPECT_EQ(t.order, h.info.lColumnOrder); }
    const RECT& rc = h.host.listRect();
    const zav::ScreenRect& got = h.info.rcWindow;
    EXPECT_EQ((std::vector<LONG>{rc.left, rc.top, rc.right, rc.bottom}), (std::vector<LONG>{got.left, got.top, got.right, got.bottom}));
    EXPECT_EQ(zavtest::hostWordSize(), h.lv->targetWordSize());
    if (!t.caption.empty()) { EXPECT_EQ(t.caption, zav::getWindowCaption(wh(h.host.topLevel()))); }

    Texts read;
    ASSERT_TRUE(h.lv->readCells(1, rows + 1, columns, read));  // one row past the end: empty
    cells.resize(cells.size() + static_cast<std::size_t>(columns));
    EXPECT_EQ(cells, read);
    long mismatches = 0;
    for (std::int32_t r = 1; r <= rows + 1; ++r)
        for (std::int32_t c = 1; c <= columns; ++c)
            mismatches += h.lv->getCellText(r, c) != cells[static_cast<std::size_t>((r - 1) * columns + c - 1)];
    EXPECT_EQ(0, mismatches);
    EXPECT_EQ(t.headers.back(), h.lv->getColumnText(columns));
    EXPECT_EQ(L"", h.lv->getColumnText(columns + 1));
    EXPECT_EQ(CaptureFailure::None, h.lv->failure());
    // Closing the buffers ends the reading, not the record.
    h.lv->closeListViewBuffers();
    EXPECT_EQ(L"", h.lv->getCellText(1, 1));
    EXPECT_EQ(columns, h.info.lColumnCount);
}

INSTANTIATE_TEST_SUITE_P(Hosts, ListViews, ::testing::ValuesIn(kLists), [](const ::testing::TestParamInfo<ListCase>& info) {
    std::string name;
    for (char c : std::string(info.param.name))
        if (isalnum(static_cast<unsigned char>(c))) name += c;
    return name;
});

// Windows that merely call themselves list views (the class rule and its letter cases are the unit
// tests') answer whatever they like: every read stays within its buffer.
struct ForeignCase {
    const char* cls;
    const char* mode;
    const wchar_t* header;  // nothing checked when null
    std::int32_t row;
    Texts cells;            // of that row
};

TEST(ListViewReader, ForeignAnswersAreReadWithinBounds) {
    const std::wstring e5000(5000, L'e'), x4096(4096, L'x');
    const ForeignCase cases[] = {
        {"MyListViewThing", "absurd", L"fake header", 2, {L"fake cell 1/0"}},
        {"MyListViewThing", "flood", x4096.c_str(), 1, {x4096}},
        {"MyListViewThing", "negative", nullptr, 1, {L""}},
        {"MyListViewThing", "badpointer", L"", 1, {L""}},
        // Text answered from the control's own memory is followed.
        {"MyListViewThing", "elsewhere", L"fake header", 3, {L"fake cell 2/0" + e5000, L"fake cell 2/1" + e5000}},
    };
    for (const ForeignCase& t : cases) {
        SCOPED_TRACE(std::string(t.cls) + " " + t.mode);
        zav::CaptureOptions options;
        if (std::string(t.mode) == "flood") options.maxTextLength = 4096;
        Hosted h(std::string("fake\t") + t.cls + "\t" + t.mode + "\n", options);
        ASSERT_TRUE(h.ok);
        EXPECT_EQ(std::wstring(t.cls, t.cls + strlen(t.cls)), h.info.szClassName);
        if (t.header) { EXPECT_EQ(t.header, h.info.szColumnText.at(1)); }
        if (std::string(t.mode) == "absurd") {
            EXPECT_EQ(3, h.info.lItemCount);
            EXPECT_EQ(1, h.info.lColumnCount);
            EXPECT_EQ(77, h.info.lColumnWidth.at(1));
        }
        const auto columns = static_cast<std::int32_t>(t.cells.size());
        for (std::int32_t c = 1; c <= columns; ++c) EXPECT_EQ(t.cells[c - 1], h.lv->getCellText(t.row, c));
        Texts read{L"stale"};
        ASSERT_TRUE(h.lv->readCells(t.row, 1, columns, read));
        EXPECT_EQ(t.cells, read);
        EXPECT_EQ(CaptureFailure::None, h.lv->failure());
    }
}

// The header, the top-level window and a window gone are no grids; parents and captions are walked.
TEST(ListViewReader, OnlyListViewsAreGridsWindowsAreWalkedAndAGoneWindowLeavesTheRecordUnchanged) {
    HostProcess host("title\t" + std::string(300, 'T') + "\nnest\tOuter panel\nnest\t\ncolumn\t50\tA\n");
    auto windows = zav::makeSystemWindowInfo();
    const WindowHandle list = wh(host.list());
    const WindowHandle inner = windows->getParent(list), outer = windows->getParent(inner), top = windows->getParent(outer);
    EXPECT_EQ(L"", windows->getWindowCaption(list) + windows->getWindowCaption(inner));
    EXPECT_EQ(L"Outer panel", windows->getWindowCaption(outer));
    EXPECT_EQ(wh(host.topLevel()), top);
    EXPECT_EQ(std::wstring(254, L'T'), windows->getWindowCaption(top));
    EXPECT_EQ(0u, windows->getParent(top));
    EXPECT_EQ(L"", zav::gridTargetOf(0).className + windows->getWindowCaption(0));

    EXPECT_EQ(zav::ControlKind::ListView, zav::gridTargetOf(wh(host.list())).kind);
    HWND header = reinterpret_cast<HWND>(SendMessageA(host.list(), LVM_GETHEADER, 0, 0));
    ASSERT_TRUE(header);
    EXPECT_EQ(L"SysHeader32", zav::gridTargetOf(wh(header)).className);
    auto factory = zav::makeSystemGridSourceFactory();
    for (HWND w : {header, host.topLevel()}) {
        EXPECT_EQ(zav::ControlKind::None, zav::gridTargetOf(wh(w)).kind);
        auto source = factory->openGridSource(zav::gridTargetOf(wh(w)));
        ListViewInfo info;
        info.lItemCount = info.lColumnCount = 9;
        EXPECT_EQ(zav::vbFalse, source->readListViewInfo(info));
        EXPECT_EQ(0, info.lItemCount + info.lColumnCount);
        EXPECT_EQ(CaptureFailure::NotAGrid, source->failure());
        EXPECT_EQ(L"", source->getCellText(1, 1));
    }

    const HWND gone = host.list();
    host.kill();
    ASSERT_FALSE(IsWindow(gone));
    auto lv = ListViewSource::openListViewBuffers(zav::gridTargetOf(wh(gone)), {});
    EXPECT_EQ(CaptureFailure::NoWindow, lv->failure());
    ListViewInfo kept;
    kept.hWnd = wh(gone);
    kept.szClassName = L"kept";
    kept.lItemCount = 5;
    kept.szColumnText = {L"", L"one"};
    EXPECT_EQ(zav::vbFalse, lv->readListViewInfo(kept));
    EXPECT_EQ(L"kept", kept.szClassName);
    EXPECT_EQ(5, kept.lItemCount);
    EXPECT_EQ(L"one", kept.szColumnText.at(1));
    EXPECT_EQ(L"", lv->getCellText(1, 1));
}

TEST(ListViewReader, HostKilledDuringBlocksFailsTheReadNotAnEmptyCell) {
    constexpr long kRows = 50000;
    Hosted h("ownerdata\ncolumn\t50\tA\ncolumn\t50\tB\ngenerate\t" + std::to_string(kRows) + "\t2\n");
    ASSERT_TRUE(h.ok);
    std::atomic<bool> started{false};
    std::thread killer([&] {
        while (!started.load()) Sleep(1);
        Sleep(50);
        h.host.kill();
    });
    Texts cells;
    bool read = true;
    const DWORD start = GetTickCount();
    for (long first = 1; first <= kRows && read; first += 128) {
        started = true;
        read = h.lv->readCells(first, 128, 2, cells);
        if (read) {
            ASSERT_EQ(L"R" + std::to_wstring(first + 127) + L"C2", cells.back());
        }
    }
    killer.join();
    EXPECT_FALSE(read);
    EXPECT_EQ(CaptureFailure::TargetGone, h.lv->failure());
    EXPECT_LT(elapsedSince(start), 60000u);
    // A capture that failed reads nothing more.
    EXPECT_FALSE(h.lv->readCells(1, 1, 2, cells));
    EXPECT_EQ(Texts(2), cells);
}

TEST(ListViewReader, TwoCapturesOfTwoHostsReadTheirOwnLists) {
    HostProcess one("title\tOne\ncolumn\t50\tFirst\nrow\tone-1\nrow\tone-2\n");
    HostProcess two("title\tTwo\ncolumn\t50\tSecond\ncolumn\t50\tOther\nrow\ttwo-1\ttwo-1b\n");
    zavtest::ControlRead ra = zavtest::readControl(one.list(), 4000, false), rb = zavtest::readControl(two.list(), 4000, false);
    ASSERT_TRUE(ra.ok && rb.ok);
    auto& a = ra.capture;
    auto& b = rb.capture;
    EXPECT_EQ(L"First", ra.info.szColumnText.at(1));
    EXPECT_EQ(L"Second", rb.info.szColumnText.at(1));
    EXPECT_EQ(L"one-1", a->getCellText(1, 1));
    EXPECT_EQ(L"two-1b", b->getCellText(1, 2));
    EXPECT_EQ(L"one-2", a->getCellText(2, 1));
    // Closing one capture leaves the other one's buffers alone.
    a.reset();
    EXPECT_EQ(L"two-1", b->getCellText(1, 1));
    EXPECT_EQ(CaptureFailure::None, b->failure());
}

TEST(ListViewReader, OwnerDataListWithManyRows) {
    Hosted h("ownerdata\ncolumn\t50\tA\ncolumn\t50\tB\ncolumn\t50\tC\ncolumn\t50\tD\n"
             "row\tgiven\t\tthird\ngenerate\t200000\t4\n");
    ASSERT_TRUE(h.ok);
    EXPECT_EQ(200001, h.info.lItemCount);
    EXPECT_EQ(4, h.info.lColumnCount);
    Texts cells;
    ASSERT_TRUE(h.lv->readCells(1, 2, 4, cells));
    EXPECT_EQ((Texts{L"given", L"", L"third", L"", L"R1C1", L"R1C2", L"R1C3", L"R1C4"}), cells);
    EXPECT_EQ(L"R200000C4", h.lv->getCellText(200001, 4));
    EXPECT_EQ(CaptureFailure::None, h.lv->failure());
}

// A header that claims far more columns than the list view has, and an absurd item count: the
// header read ends with the columns that answer, at once.
TEST(ListViewReader, HeaderCountIsBelievedOnlyAsFarAsColumnsAnswer) {
    Hosted h("column\t50\tA\ncolumn\t60\tB\ncolumn\t70\tC\nrow\ta\tb\tc\nheadercount\t100000\nitemcount\t0x7FFFFFFF\n",
             {}, false);
    const DWORD start = GetTickCount();
    ASSERT_TRUE(h.read());
    EXPECT_LT(elapsedSince(start), 2000u);
    EXPECT_EQ(0x7FFFFFFF, h.info.lItemCount);
    EXPECT_EQ((Texts{L"", L"A", L"B", L"C"}), h.info.szColumnText);
    EXPECT_EQ((std::vector<std::int32_t>{0, 50, 60, 70}), h.info.lColumnWidth);
    // Rows the list view does not have read as empty cells, at the very end of the range too.
    Texts cells;
    EXPECT_TRUE(h.lv->readCells(0x7FFFFFFE, 2, 3, cells));
    EXPECT_EQ(Texts(6), cells);
    EXPECT_TRUE(h.lv->readCells(1, 1, 3, cells));
    EXPECT_EQ((Texts{L"a", L"b", L"c"}), cells);
}

// A list that loses rows within the first rows of a read fails that read as a later loss does; one
// that stops answering fails a read even when only the count was left to ask; and what is told is
// the first failure met, whatever fails after it.
TEST(ListViewReader, ARowFallEarlyInAReadOrAHangFailsItAndTheFirstFailureIsTheOneTold) {
    zav::CaptureOptions options;
    options.timeoutMs = 1000;
    // 20 rows; at the third text the list keeps its first row alone, before rows 2 to 5 are read.
    Hosted h("column\t50\tA\ngenerate\t20\t1\nshrink\t3\t1\n", options);
    ASSERT_TRUE(h.ok);
    auto other = ListViewSource::openListViewBuffers(zav::gridTargetOf(wh(h.host.list())), options);
    ListViewInfo info;
    ASSERT_EQ(zav::vbTrue, other->readListViewInfo(info));
    const auto told = [&](const ListViewSource& lv) {
        return zav::describeCaptureFailure(lv.failure(), zav::ControlKind::ListView, lv.failureDetail());
    };
    const std::wstring fell =
        L"The list view changed while it was being read: it held 20 rows when the export began and holds 1 now.";
    Texts cells;
    EXPECT_FALSE(h.lv->readCells(1, 5, 1, cells));
    EXPECT_EQ(fell, told(*h.lv));

    h.host.hang();
    EXPECT_FALSE(other->readCells(1, 0, 1, cells));
    EXPECT_EQ(CaptureFailure::TargetHung, other->failure());
    h.lv->getCellText(1, 1);  // a text asked of the hung list after the fall fails as well
    EXPECT_EQ(fell, told(*h.lv));
}



// Buffers in another process, and the 9x family's mechanism (a paging-file mapping, here in this
// process): made, copied to and from, released with their own process handle or mapping; nothing
// outside a buffer is touched, and nothing at all in a process that cannot be opened or has ended.
DWORD regionState(HANDLE process, std::uintptr_t address) {
    MEMORY_BASIC_INFORMATION mbi = {};
    return VirtualQueryEx(process, reinterpret_cast<LPCVOID>(address), &mbi, sizeof mbi) ? mbi.State : 0;
}

TEST(RemoteMemory, BuffersRoundTripAreReleasedByTheirLastOwnerAndFailQuietlyOnceTheProcessHasEnded) {
    HostProcess host("column\t80\tA\nrow\tx\n");
    auto process = zav::RemoteProcess::open(host.processId());
    ASSERT_TRUE(process);
    for (const bool shared : {true, false}) {
        SCOPED_TRACE(shared ? "a shared mapping" : "memory of another process");
        const HANDLE owner = shared ? GetCurrentProcess() : host.process();
        const auto make = [&](std::size_t n) {
            return shared ? zav::RemoteBuffer::allocateShared(n) : zav::RemoteBuffer::allocate(process, n);
        };
        zav::RemoteBuffer a = make(40), b = make(255);
        ASSERT_TRUE(a && b);
        EXPECT_EQ(shared ? zav::RemoteMechanism::SharedMapping : zav::RemoteMechanism::ProcessMemory, b.mechanism());
        EXPECT_NE(a.address(), b.address());
        EXPECT_EQ(MEM_COMMIT, regionState(owner, a.address()));

        const char text[] = "written into the host";
        char back[sizeof text] = {};
        ASSERT_TRUE(zav::remoteWrite(b, 10, text, sizeof text));
        ASSERT_TRUE(zav::remoteRead(b, 10, back, sizeof back));
        EXPECT_STREQ(text, back);
        if (shared) {
            EXPECT_STREQ(text, reinterpret_cast<const char*>(b.address()) + 10);  // the view is the buffer
        } else {
            EXPECT_EQ("written into the host", process->readText(b.address() + 10, 1000));
            EXPECT_EQ("written", process->readText(b.address() + 10, 7));
            // UTF-16 text ends at its first zero unit, not at a zero byte inside a unit (U+0100 is 00 01).
            const char16_t wide[] = u"\u0100wide";
            ASSERT_TRUE(zav::remoteWrite(b, 100, wide, sizeof wide));
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(wide), 10), process->readText(b.address() + 100, 1000, 2));
            EXPECT_EQ(6u, process->readText(b.address() + 100, 3, 2).size());
            process.reset();  // each buffer holds the process handle it needs
        }
        char big[300] = {};
        EXPECT_FALSE(zav::remoteRead(b, 0, big, 256));
        EXPECT_FALSE(zav::remoteWrite(b, 250, big, 6));
        EXPECT_FALSE(zav::remoteWrite(b, 255, big, 1));
        EXPECT_FALSE(zav::remoteRead(b, static_cast<std::size_t>(-1), big, 2));

        // Releasing one buffer leaves the other usable.
        const std::uintptr_t addressA = a.address(), addressB = b.address();
        zav::remoteFree(a);
        EXPECT_FALSE(a);
        EXPECT_EQ(0u, a.address());
        EXPECT_EQ(static_cast<DWORD>(MEM_FREE), regionState(owner, addressA));
        zav::remoteFree(a);  // a second release of the emptied buffer does nothing
        ASSERT_TRUE(zav::remoteRead(b, 10, back, sizeof back));
        EXPECT_STREQ(text, back);
        // Moving hands the buffer over; only the new owner releases it.
        zav::RemoteBuffer moved = std::move(b);
        EXPECT_FALSE(b);
        EXPECT_EQ(addressB, moved.address());
        b.free();
        EXPECT_EQ(MEM_COMMIT, regionState(owner, addressB));
        { zav::RemoteBuffer gone = std::move(moved); }
        EXPECT_EQ(static_cast<DWORD>(MEM_FREE), regionState(owner, addressB));
    }

    // Copies fail quietly once the process has ended, or when it cannot be opened.
    zav::RemoteBuffer buffer = zav::remoteAlloc(64, host.processId());
    ASSERT_TRUE(buffer);
    EXPECT_EQ(zav::RemoteMechanism::ProcessMemory, buffer.mechanism());
    char out[8] = "1234567";
    ASSERT_TRUE(zav::remoteWrite(buffer, 0, out, sizeof out));
    const auto watched = zav::RemoteProcess::open(host.processId());
    ASSERT_TRUE(watched);
    EXPECT_FALSE(watched->ended(0));
    host.kill();
    EXPECT_TRUE(watched->ended(0));  // its handle keeps the ended process known
    EXPECT_FALSE(zav::remoteWrite(buffer, 0, out, sizeof out));
    EXPECT_FALSE(zav::remoteRead(buffer, 0, out, sizeof out));
    zav::remoteFree(buffer);  // released through the still open handle of the dead process
    EXPECT_FALSE(buffer);

    EXPECT_FALSE(zav::remoteAlloc(40, 0));
    EXPECT_FALSE(zav::RemoteProcess::open(0));
    EXPECT_FALSE(zav::remoteAlloc(40, 0x7FFFFFF1));  // ids are multiples of 4: no process has this one
    zav::RemoteBuffer none;
    char c = 'q';
    EXPECT_FALSE(zav::remoteRead(none, 0, &c, 1));
    EXPECT_FALSE(zav::remoteWrite(none, 0, &c, 1));
    EXPECT_EQ('q', c);
}

}  // namespace
