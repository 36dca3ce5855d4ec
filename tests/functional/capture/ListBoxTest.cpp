// List boxes and combo boxes of another process read through the system capture: every line
// whole (Unicode, 10,000 characters), the owner-drawn list box without strings refused, a hung or
// killed host refused with nothing read.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "HostProcess.h"
#include "capture/GridSource.h"
#include "capture/win32/SystemGridSources.h"

namespace {

std::string listBoxHostProgram() { return zavtest::siblingHostProgram("zav_lbhost.exe"); }

// The list-box host, started for one test and killed at its end.
struct ListBoxHost : zavtest::HostProcess {
    ListBoxHost() : HostProcess(listBoxHostProgram(), std::string(), L"ZavListBoxHostWindow") {}
};

using Read = zavtest::ControlRead;
using zavtest::readControl;

const std::wstring kLongLine = L"<" + std::wstring(9998, L'\u00e9') + L">";

TEST(ListBoxCapture, EveryLineOfAListBoxAndAComboBoxIsReadWhole) {
    ListBoxHost host;
    Read list = readControl(host.control(1));
    ASSERT_TRUE(list.ok) << zav::describeCaptureFailure(list.capture->failure());
    EXPECT_EQ(list.info.kind, zav::ControlKind::ListBox);
    EXPECT_EQ(list.info.lColumnCount, 1);
    EXPECT_EQ(list.info.szColumnText.at(1), L"Item");
    ASSERT_EQ(list.info.lItemCount, 5);
    EXPECT_EQ(list.cells, (std::vector<std::wstring>{L"alpha", L"gr\u00fc\u00dfe \u4e2d\u6587 \U0001F600", L"",
                                                     kLongLine, L"omega"}));
    EXPECT_EQ(list.capture->getCellText(4, 1).size(), 10000u);
    // Outside the grid: nothing, and no failure.
    EXPECT_EQ(list.capture->getCellText(6, 1), L"");
    EXPECT_EQ(list.capture->getCellText(1, 2), L"");
    EXPECT_EQ(list.capture->failure(), zav::CaptureFailure::None);

    Read combo = readControl(host.control(2));
    ASSERT_TRUE(combo.ok) << zav::describeCaptureFailure(combo.capture->failure());
    EXPECT_EQ(combo.info.kind, zav::ControlKind::ComboBox);
    EXPECT_EQ(combo.cells, (std::vector<std::wstring>{L"\u00e9t\u00e9 \u0416", L"second"}));
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
        Read list = readControl(host.control(1), 4000, false);
        ASSERT_TRUE(list.ok);
        host.kill();
        std::vector<std::wstring> lines;
        EXPECT_FALSE(list.capture->readCells(1, list.info.lItemCount, 1, lines));
        EXPECT_EQ(list.capture->failure(), zav::CaptureFailure::TargetGone);
    }
}

}  // namespace
