// The watcher's decision per timer tick: once per press, on the press, only for a list view
// directly under the cursor, and never over its own window.
#include <gtest/gtest.h>

#include "app/RightClickWatcher.h"

namespace {

using zav::RightClickWatcher;
using Tick = RightClickWatcher::Tick;

constexpr zav::WindowHandle kOwn = 10, kList = 20, kHeader = 21, kOther = 30, kOwnChild = 11;

Tick over(zav::WindowHandle w, bool down, bool isList, zav::WindowHandle parent = 1) {
    Tick t;
    t.underCursor = w;
    t.parentOfIt = parent;
    t.rightButtonDown = down;
    t.isListView = isList;
    return t;
}

TEST(RightClickWatcher, HeldPressOpensOneMenuAndANewPressAnother) {
    RightClickWatcher w(kOwn);
    EXPECT_FALSE(w.tick(over(kList, false, true)));
    EXPECT_TRUE(w.tick(over(kList, true, true)));  // on the press, not the release
    for (int i = 0; i < 1000; ++i) EXPECT_FALSE(w.tick(over(kList, true, true)));
    EXPECT_FALSE(w.tick(over(kList, false, true)));
    EXPECT_TRUE(w.tick(over(kList, true, true)));
}

TEST(RightClickWatcher, PressElsewhereCountsAsHandledWhenSlidingOntoAList) {
    RightClickWatcher w(kOwn);
    EXPECT_FALSE(w.tick(over(kOther, true, false)));
    EXPECT_FALSE(w.tick(over(kList, true, true)));
    EXPECT_FALSE(w.tick(over(kHeader, true, false, kList)));
    EXPECT_FALSE(w.tick(over(kList, false, true)));
    EXPECT_FALSE(w.tick(over(kHeader, true, false, kList)));  // the header is no list view
    EXPECT_EQ(zav::vbTrue, w.bMenuShown());
}

TEST(RightClickWatcher, OnlyAPressOrAPendingReleaseNeedsTheWindow) {
    RightClickWatcher w(kOwn);
    EXPECT_FALSE(w.needsWindow(false));
    EXPECT_TRUE(w.needsWindow(true));
    EXPECT_TRUE(w.tick(over(kList, true, true)));
    EXPECT_TRUE(w.needsWindow(false));  // the release must be seen away from the own window
    EXPECT_FALSE(w.tick(over(kOwn, false, false)));
    EXPECT_TRUE(w.needsWindow(false));
    EXPECT_FALSE(w.tick(over(kList, false, true)));
    EXPECT_FALSE(w.needsWindow(false));
}

TEST(RightClickWatcher, TicksOverItsOwnWindowChangeNothing) {
    RightClickWatcher w(kOwn);
    EXPECT_TRUE(w.tick(over(kList, true, true)));
    // Released over the watcher's own window or a child of it: the press still counts as held.
    EXPECT_FALSE(w.tick(over(kOwn, false, false)));
    EXPECT_FALSE(w.tick(over(kOwnChild, false, false, kOwn)));
    EXPECT_EQ(zav::vbTrue, w.bMenuShown());
    EXPECT_FALSE(w.tick(over(kList, true, true)));
    EXPECT_FALSE(w.tick(over(kList, false, true)));
    EXPECT_EQ(zav::vbFalse, w.bMenuShown());
}

}  // namespace
