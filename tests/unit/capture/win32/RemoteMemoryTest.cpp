// The system family cache, and the list-view reader over the 9x buffer mechanism (an unnamed
// paging-file mapping; its buffers are tested with the others in the capture tests). Under Wine a
// mapping cannot reach into another process the way the 9x family's shared arena does, so the
// reader is tested within this one process, with a list view on a thread of its own.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "capture/win32/RemoteMemory.h"
#include "capture/win32/ListViewSource.h"
#include "capture/win32/SystemGridSources.h"
#include "../../../functional/capture/HostWindow.h"

namespace {

int g_queries = 0;
bool g_answer = false;
std::uint32_t g_platform = 0;

bool fakeQuery(std::uint32_t& platformId) {
    ++g_queries;
    if (g_answer) platformId = g_platform;
    return g_answer;
}

// Answers of a fake IsWow64Process: this process, and any other process.
bool g_wowSelf = false, g_wowOther = false, g_wowFails = false;
bool fakeWow64(DWORD processId, bool& isWow64) {
    if (g_wowFails) return false;
    isWow64 = processId == GetCurrentProcessId() ? g_wowSelf : g_wowOther;
    return true;
}

struct RealWow64Afterwards {
    ~RealWow64Afterwards() { zav::remote_memory_testing::setWow64Query(nullptr); }
};

TEST(ProcessWordSize, FollowsWow64OfTheTargetAndOfThisProgram) {
    RealWow64Afterwards restore;
    zav::remote_memory_testing::setWow64Query(fakeWow64);
    // This program under WOW64, the target under WOW64, the query failing: the target's word size
    // as a 64-bit program sees it (WOW64 of its own cannot be) and as a 32-bit one does.
    const struct {
        bool self, other, fails;
        int from64, from32;
    } cases[] = {
        {false, false, false, 64, 32},  // a 32-bit system: every process is 32-bit
        {false, true, false, 32, 32}, {true, false, false, 64, 64}, {true, true, false, 32, 32}, {true, true, true, 0, 0},
    };
    for (const auto& c : cases) {
        g_wowSelf = c.self, g_wowOther = c.other, g_wowFails = c.fails;
        EXPECT_EQ(zav::kProgramWordSize == 64 ? c.from64 : c.from32, zav::processWordSize(GetCurrentProcessId() + 4))
            << c.self << c.other << c.fails;
    }
}

struct RealQueryAfterwards {
    ~RealQueryAfterwards() { zav::remote_memory_testing::setVersionQuery(nullptr); }
};

TEST(IsWinNT, AsksUntilTheSystemAnsweredThenKeepsTheAnswer) {
    RealQueryAfterwards restore;
    g_queries = 0;
    g_answer = false;
    zav::remote_memory_testing::setVersionQuery(fakeQuery);
    EXPECT_EQ(zav::vbFalse, zav::isWinNT());
    EXPECT_EQ(zav::vbFalse, zav::isWinNT());
    EXPECT_EQ(2, g_queries);  // a failed query is not cached

    g_answer = true;
    g_platform = VER_PLATFORM_WIN32_NT;
    EXPECT_EQ(zav::vbTrue, zav::isWinNT());
    g_platform = VER_PLATFORM_WIN32_WINDOWS;
    EXPECT_EQ(zav::vbTrue, zav::isWinNT());
    EXPECT_EQ(3, g_queries);

    zav::remote_memory_testing::setVersionQuery(fakeQuery);
    EXPECT_EQ(zav::vbFalse, zav::isWinNT());  // 9x family
    EXPECT_EQ(4, g_queries);
}

// A list view on a thread of its own, answering this thread's messages.
class ListViewThread {
public:
    explicit ListViewThread(const std::wstring& longText) : longText_(longText) {
        ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this] { run(); });
        WaitForSingleObject(ready_, 10000);
    }
    ~ListViewThread() {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        thread_.join();
        CloseHandle(ready_);
    }
    HWND list() const { return list_; }

private:
    void run() {
        threadId_ = GetCurrentThreadId();
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        HWND top = CreateWindowExA(0, "STATIC", "Local host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                   nullptr, nullptr);
        list_ = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 400, 300, top, nullptr,
                                nullptr, nullptr);
        zavhost::addColumn(list_, 0, 60, L"Key");
        zavhost::addColumn(list_, 1, 61, longText_);
        zavhost::addRow(list_, 0, {L"k\u00E9y", longText_});
        SetEvent(ready_);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        DestroyWindow(top);
    }

    std::wstring longText_;
    HANDLE ready_ = nullptr;
    DWORD threadId_ = 0;
    HWND list_ = nullptr;
    std::thread thread_;
};

TEST(SharedMapping, ReaderWorksOverTheMapping) {
    const std::wstring wideLong = std::wstring(699, L'L') + L"Z";
    ListViewThread host(wideLong);
    ASSERT_TRUE(host.list());

    zav::CaptureOptions options;
    options.mechanism = zav::RemoteMechanism::SharedMapping;
    auto capture = zav::ListViewSource::openListViewBuffers(zav::gridTargetOf(reinterpret_cast<zav::WindowHandle>(host.list())), options);
    zav::ListViewInfo info;
    info.hWnd = reinterpret_cast<zav::WindowHandle>(host.list());
    ASSERT_EQ(zav::vbTrue, capture->readListViewInfo(info));
    EXPECT_EQ(zav::CaptureFailure::None, capture->failure());
    EXPECT_EQ(1, info.lItemCount);
    ASSERT_EQ(2, info.lColumnCount);
    EXPECT_EQ(61, info.lColumnWidth[2]);
    EXPECT_EQ(L"Key", info.szColumnText[1]);
    EXPECT_EQ(wideLong, info.szColumnText[2]);
    EXPECT_EQ(L"k\u00E9y", capture->getCellText(1, 1));
    EXPECT_EQ(wideLong, capture->getCellText(1, 2));
    EXPECT_EQ(L"", capture->getCellText(2, 1));
    // Blocks of cells go through the mapping as well, a long text asked again with more room.
    std::vector<std::wstring> cells;
    ASSERT_TRUE(capture->readCells(1, 2, 2, cells));
    EXPECT_EQ((std::vector<std::wstring>{L"k\u00E9y", wideLong, L"", L""}), cells);
}

}  // namespace
