// The system family cache, and the 9x buffer mechanism (an unnamed paging-file mapping). Under
// Wine a mapping cannot reach into another process the way the 9x family's shared arena does, so
// the mechanism is tested within this one process, with a list view on a thread of its own.
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
    const DWORD other = GetCurrentProcessId() + 4;
    g_wowFails = false;
    if (zav::kProgramWordSize == 64) {
        g_wowSelf = false;
        g_wowOther = true;
        EXPECT_EQ(32, zav::processWordSize(other));
        g_wowOther = false;
        EXPECT_EQ(64, zav::processWordSize(other));
    } else {
        // 32-bit Windows: every process is 32-bit, whatever the target would answer.
        g_wowSelf = false;
        g_wowOther = false;
        EXPECT_EQ(32, zav::processWordSize(other));
        // 64-bit Windows, this program under WOW64.
        g_wowSelf = true;
        EXPECT_EQ(64, zav::processWordSize(other));
        g_wowOther = true;
        EXPECT_EQ(32, zav::processWordSize(other));
    }
    g_wowFails = true;
    EXPECT_EQ(0, zav::processWordSize(other));
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

DWORD localState(std::uintptr_t address) {
    MEMORY_BASIC_INFORMATION mbi = {};
    if (!VirtualQuery(reinterpret_cast<LPCVOID>(address), &mbi, sizeof mbi)) return 0;
    return mbi.State;
}

TEST(SharedMapping, ViewIsTheBufferAndGoesWithItsOwner) {
    zav::RemoteBuffer a = zav::RemoteBuffer::allocateShared(255);
    ASSERT_TRUE(a);
    EXPECT_EQ(zav::RemoteMechanism::SharedMapping, a.mechanism());
    const char text[] = "through the mapping";
    ASSERT_TRUE(zav::remoteWrite(a, 3, text, sizeof text));
    // The buffer's address is the view itself: what was written is there.
    EXPECT_STREQ(text, reinterpret_cast<const char*>(a.address()) + 3);
    char back[sizeof text] = {};
    ASSERT_TRUE(zav::remoteRead(a, 3, back, sizeof back));
    EXPECT_STREQ(text, back);
    char big[300] = {};
    EXPECT_FALSE(zav::remoteRead(a, 0, big, 256));
    EXPECT_FALSE(zav::remoteWrite(a, 255, big, 1));

    zav::RemoteBuffer b = zav::RemoteBuffer::allocateShared(40);
    ASSERT_TRUE(b);
    const std::uintptr_t addressA = a.address();
    const std::uintptr_t addressB = b.address();
    zav::remoteFree(a);
    EXPECT_FALSE(a);
    EXPECT_EQ(static_cast<DWORD>(MEM_FREE), localState(addressA));
    EXPECT_EQ(static_cast<DWORD>(MEM_COMMIT), localState(addressB));  // the other buffer keeps its own mapping
    { zav::RemoteBuffer moved = std::move(b); }
    EXPECT_EQ(static_cast<DWORD>(MEM_FREE), localState(addressB));
}

// A list view on a thread of its own, answering this thread's messages.
class ListViewThread {
public:
    explicit ListViewThread(const std::string& longText) : longText_(longText) {
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
        std::string names[2] = {"Key", longText_};
        for (int i = 0; i < 2; ++i) {
            LVCOLUMNA col = {};
            col.mask = LVCF_TEXT | LVCF_WIDTH;
            col.cx = 60 + i;
            col.pszText = &names[i][0];
            SendMessageA(list_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&col));
        }
        std::string first = "k\xE9y";
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.pszText = &first[0];
        SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        LVITEMA sub = {};
        sub.iSubItem = 1;
        sub.pszText = &longText_[0];
        SendMessageA(list_, LVM_SETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&sub));
        SetEvent(ready_);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        DestroyWindow(top);
    }

    std::string longText_;
    HANDLE ready_ = nullptr;
    DWORD threadId_ = 0;
    HWND list_ = nullptr;
    std::thread thread_;
};

TEST(SharedMapping, ReaderWorksOverTheMapping) {
    std::string longText(700, 'L');
    longText.back() = 'Z';
    ListViewThread host(longText);
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
    const std::wstring wideLong(longText.begin(), longText.end());
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
