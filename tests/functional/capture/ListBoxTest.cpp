// List boxes and combo boxes of another process read through the system capture: every line
// whole (Unicode, 10,000 characters), the owner-drawn list box without strings refused, a hung or
// killed host refused with nothing read.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "HostProcess.h"
#include "capture/Capture.h"
#include "capture/win32/ListViewCapture.h"
#include "capture/win32/SystemCapture.h"

namespace {

// The list-box host beside the list-view host that HostProcess starts, so that the runs against a
// host of the other word size read a list box of that word size too.
std::string listBoxHostProgram() {
    const std::string lvHost = zavtest::hostProgram();
    const std::size_t slash = lvHost.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : lvHost.substr(0, slash + 1)) + "zav_lbhost.exe";
}

// The list-box host, started for one test and killed at its end.
class ListBoxHost {
public:
    ListBoxHost() {
        std::string command = "\"" + listBoxHostProgram() + "\"";
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_))
            throw std::runtime_error("zav_lbhost.exe did not start");
        // Its own window: one of an earlier host may still be going away.
        for (int i = 0; i < 1200 && !top_; ++i) {
            for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"ZavListBoxHostWindow", L"ZavListBoxHost"));) {
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (pid == pi_.dwProcessId) top_ = w;
            }
            if (!top_) Sleep(50);
        }
        if (!top_) throw std::runtime_error("zav_lbhost.exe did not come up");
    }
    ~ListBoxHost() {
        kill();
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
    HWND control(int id) const { return GetDlgItem(top_, id); }
    void kill() {
        TerminateProcess(pi_.hProcess, 1);
        WaitForSingleObject(pi_.hProcess, 10000);
    }
    void hang() {
        // The host sleeps once it takes the posted message from its queue; until then it still
        // answers sent messages (they come before posted ones), so wait until one goes unanswered.
        PostMessageW(top_, WM_APP, 0, 0);
        DWORD_PTR r = 0;
        for (int i = 0; i < 100; ++i)
            if (!SendMessageTimeoutW(top_, WM_NULL, 0, 0, SMTO_NORMAL, 100, &r)) return;
        throw std::runtime_error("zav_lbhost.exe did not stop answering");
    }

private:
    PROCESS_INFORMATION pi_ = {};
    HWND top_ = nullptr;
};

struct Read {
    std::unique_ptr<zav::IListViewCapture> capture;
    zav::ListViewInfo info;
    bool ok = false;
    std::vector<std::wstring> lines;
};

Read readControl(HWND control, DWORD timeoutMs = 4000) {
    zav::CaptureOptions options;
    options.timeoutMs = timeoutMs;
    Read r;
    r.capture = zav::makeSystemCaptureFactory(options)->openListViewBuffers(reinterpret_cast<zav::WindowHandle>(control));
    r.info.hWnd = reinterpret_cast<zav::WindowHandle>(control);
    r.ok = r.capture->readListViewInfo(r.info) != zav::vbFalse;
    if (r.ok) r.ok = r.capture->readCells(1, r.info.lItemCount, r.info.lColumnCount, r.lines);
    return r;
}

const std::wstring kLongLine = L"<" + std::wstring(9998, L'\u00e9') + L">";

TEST(ListBoxCapture, EveryLineOfAListBoxAndAComboBoxIsReadWhole) {
    ListBoxHost host;
    std::printf("list-box host: %s (%d-bit)\n", listBoxHostProgram().c_str(),
                zavtest::programWordSize(listBoxHostProgram()));
    Read list = readControl(host.control(1));
    ASSERT_TRUE(list.ok) << zav::describeCaptureFailure(list.capture->failure());
    EXPECT_EQ(list.info.kind, zav::ControlKind::ListBox);
    EXPECT_EQ(list.info.lColumnCount, 1);
    EXPECT_EQ(list.info.szColumnText.at(1), L"Item");
    ASSERT_EQ(list.info.lItemCount, 5);
    EXPECT_EQ(list.lines, (std::vector<std::wstring>{L"alpha", L"gr\u00fc\u00dfe \u4e2d\u6587 \U0001F600", L"",
                                                     kLongLine, L"omega"}));
    EXPECT_EQ(list.capture->getCellText(4, 1).size(), 10000u);
    // Outside the grid: nothing, and no failure.
    EXPECT_EQ(list.capture->getCellText(6, 1), L"");
    EXPECT_EQ(list.capture->getCellText(1, 2), L"");
    EXPECT_EQ(list.capture->failure(), zav::CaptureFailure::None);

    Read combo = readControl(host.control(2));
    ASSERT_TRUE(combo.ok) << zav::describeCaptureFailure(combo.capture->failure());
    EXPECT_EQ(combo.info.kind, zav::ControlKind::ComboBox);
    EXPECT_EQ(combo.lines, (std::vector<std::wstring>{L"\u00e9t\u00e9 \u0416", L"second"}));
}

TEST(ListBoxCapture, AnOwnerDrawnListWithoutStringsIsRefusedNotReadAsEmptyLines) {
    ListBoxHost host;
    Read drawn = readControl(host.control(3));
    EXPECT_FALSE(drawn.ok);
    EXPECT_EQ(drawn.capture->failure(), zav::CaptureFailure::NoTexts);
    EXPECT_EQ(drawn.info.lItemCount, 0);
    EXPECT_EQ(drawn.info.lColumnCount, 0);
    EXPECT_NE(zav::describeCaptureFailure(zav::CaptureFailure::NoTexts).find(L"owner-drawn"), std::wstring::npos);
}

TEST(ListBoxCapture, AHungOrKilledHostIsRefused) {
    {
        ListBoxHost host;
        const HWND list = host.control(1);
        host.hang();
        const DWORD start = GetTickCount();
        Read hung = readControl(list, 1000);
        EXPECT_FALSE(hung.ok);
        EXPECT_EQ(hung.capture->failure(), zav::CaptureFailure::TargetHung);
        EXPECT_LT(GetTickCount() - start, 8000u) << "the time-out was not kept";
    }
    {
        ListBoxHost host;
        const HWND list = host.control(1);
        auto capture = zav::makeSystemCaptureFactory()->openListViewBuffers(reinterpret_cast<zav::WindowHandle>(list));
        zav::ListViewInfo info;
        info.hWnd = reinterpret_cast<zav::WindowHandle>(list);
        ASSERT_TRUE(capture->readListViewInfo(info) != zav::vbFalse);
        host.kill();
        std::vector<std::wstring> lines;
        EXPECT_FALSE(capture->readCells(1, info.lItemCount, 1, lines));
        EXPECT_EQ(capture->failure(), zav::CaptureFailure::TargetGone);
    }
}

}  // namespace
