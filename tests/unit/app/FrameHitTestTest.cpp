// The hit test that passes over frames: a dialog whose frames are declared before (so lie over)
// the controls they surround, nested frames, a list view's header and border, hidden, disabled and
// transparent windows, and a label that is no frame and so is hit as the system hits it.
#include <gtest/gtest.h>

#include "app/FrameHitTest.h"

namespace {

using zav::WindowFacts;

constexpr std::uint32_t kChild = 0x40000000u, kVisible = 0x10000000u, kDisabled = 0x08000000u;
constexpr std::uint32_t kShown = kChild | kVisible, kGroupBox = kShown | 0x7u;

WindowFacts window(int parent, const wchar_t* cls, std::uint32_t style, zav::ScreenRect r, int border = 0,
                   std::uint32_t exStyle = 0) {
    WindowFacts w;
    w.parent = parent, w.className = cls, w.style = style, w.exStyle = exStyle, w.window = r;
    w.client = {r.left + border, r.top + border, r.right - border, r.bottom - border};
    return w;
}

// In window order, as a dialog lists its controls: each frame before what it surrounds.
const std::vector<WindowFacts> kDialog = {
    /* 0 */ window(-1, L"Static", kShown, {40, 20, 120, 36}),                 // a label over the list's top
    /* 1 */ window(-1, L"Button", kGroupBox, {10, 10, 310, 210}),             // the frame
    /* 2 */ window(-1, L"SysListView32", kShown, {30, 30, 230, 140}, 2),
    /* 3 */ window(2, L"SysHeader32", kShown, {20, 32, 228, 52}),          // scrolled left
    /* 4 */ window(-1, L"BUTTON", kGroupBox, {250, 20, 305, 200}),            // a frame in a frame
    /* 5 */ window(-1, L"button", kGroupBox, {255, 30, 300, 190}),
    /* 6 */ window(-1, L"ListBox", kShown, {260, 40, 295, 180}, 1),
    /* 7 */ window(-1, L"ComboBox", kChild, {30, 150, 100, 170}),             // hidden
    /* 8 */ window(-1, L"ComboBox", kShown, {30, 150, 100, 170}),
    /* 9 */ window(-1, L"SysTreeView32", kShown | kDisabled, {110, 150, 200, 200}),
    /* 10 */ window(-1, L"Edit", kShown, {205, 150, 240, 200}, 0, 0x00080020u),  // layered, transparent
    /* 11 */ window(-1, L"Button", kShown | 0x3u, {205, 150, 245, 170}),       // a check box under it
};

TEST(FrameHitTest, APressLandsOnWhatLiesUnderTheFramesAsTheSystemWouldHitIt) {
    const struct {
        std::int32_t x, y;
        int window;
        const char* what;
    } cases[] = {
        {100, 100, 2, "the list view under the frame"}, {100, 45, 3, "its header, a child of the list, not the list"},
        {31, 45, 2, "its border: outside its client area the search stops at the list, even where the "
                    "scrolled header's rectangle reaches"},
        {60, 25, 0, "a label on top is hit, as the system hits it: only frames are passed over"},
        {270, 100, 6, "a list box under two frames"},
        {252, 100, -1, "the outer frame's border, no control beneath: the dialog"},
        {12, 12, -1, "the frame's own corner"}, {50, 160, 8, "the shown combo box below a hidden one"},
        {150, 170, -1, "a disabled tree view is not hit"},
        {210, 160, 11, "a transparent window is not hit: the check box under it is"},
        {230, 30, -1, "a rectangle's right edge lies outside it"}, {400, 400, -1, "outside every window"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.window, zav::windowPastFrames(kDialog, c.x, c.y)) << c.what;
}

TEST(FrameHitTest, FramesArePassedOverAsIfTheyWereNotThere) {
    // The same dialog with its frames taken out: every point lands where it did, except on the
    // frames' own borders, which are the dialog either way.
    std::vector<WindowFacts> noFrames;
    std::vector<int> newIndex(kDialog.size(), -1);
    for (std::size_t i = 0; i < kDialog.size(); ++i) {
        if (zav::isGroupBox(kDialog[i].className, kDialog[i].style)) continue;
        newIndex[i] = static_cast<int>(noFrames.size());
        noFrames.push_back(kDialog[i]);
        if (noFrames.back().parent >= 0) noFrames.back().parent = newIndex[noFrames.back().parent];
    }
    for (std::int32_t y = 0; y < 220; y += 3)
        for (std::int32_t x = 0; x < 320; x += 3) {
            const int with = zav::windowPastFrames(kDialog, x, y);
            ASSERT_EQ(with < 0 ? -1 : newIndex[with], zav::windowPastFrames(noFrames, x, y)) << x << "," << y;
        }
}

TEST(FrameHitTest, AFrameIsAButtonOfTheGroupBoxStyle) {
    const struct {
        const wchar_t* cls;
        std::uint32_t style;
        bool frame;
    } cases[] = {
        {L"Button", 0x50000007u, true},  // winecfg's "Application settings"
        {L"button", 0x7u, true},
        {L"Button", 0x50010003u, false},  // a check box
        {L"Button", 0x5001000Bu, false},  // owner-drawn (its type shares the group box's bits)
        {L"Button", 0x5000000Fu, false}, {L"Static", 0x7u, false}, {L"Buttons", 0x7u, false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.frame, zav::isGroupBox(c.cls, c.style)) << c.style;
}

}  // namespace
