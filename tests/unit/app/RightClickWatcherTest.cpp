// The hook's decision per event: a right press over a list view is taken with its release and
// opens the menu; everything else goes on; a press outside the open menu or Escape closes it.
#include <gtest/gtest.h>

#include "app/RightClickWatcher.h"

namespace {

using zav::RightClickWatcher;
using Button = RightClickWatcher::Button;
using Post = RightClickWatcher::Post;
using Decision = RightClickWatcher::Decision;

const Decision kPass{false, Post::Nothing};
const Decision kTakeAndOpen{true, Post::OpenMenu};
const Decision kTake{true, Post::Nothing};
const Decision kTakeRelease{true, Post::PressEnded};
const Decision kPassAndCancel{false, Post::CancelMenu};
const Decision kTakeAndCancel{true, Post::CancelMenu};

RightClickWatcher::Press rightOnList() {
    RightClickWatcher::Press p;
    p.isListView = true;
    return p;
}
RightClickWatcher::Press rightElsewhere() { return RightClickWatcher::Press{}; }
RightClickWatcher::Press with(RightClickWatcher::Press p, bool RightClickWatcher::Press::*field) {
    p.*field = true;
    return p;
}
RightClickWatcher::Press otherButton(bool menuOpen, bool overMenu = false) {
    RightClickWatcher::Press p;
    p.button = Button::Other;
    p.menuOpen = menuOpen;
    p.overOwnMenu = overMenu;
    return p;
}

TEST(RightClickWatcher, APressOnAListIsTakenWithItsReleaseAndOpensOneMenu) {
    RightClickWatcher w;
    EXPECT_EQ(kTakeAndOpen, w.buttonDown(rightOnList()));
    EXPECT_TRUE(w.holdingTakenPress());
    // Other buttons' releases in between are not the taken one.
    EXPECT_EQ(kPass, w.buttonUp(Button::Other));
    EXPECT_EQ(kTakeRelease, w.buttonUp(Button::Right));
    EXPECT_FALSE(w.holdingTakenPress());
    // A second release (none was pressed) goes on; the next press opens the menu again.
    EXPECT_EQ(kPass, w.buttonUp(Button::Right));
    EXPECT_EQ(kTakeAndOpen, w.buttonDown(rightOnList()));
    EXPECT_EQ(kTakeRelease, w.buttonUp(Button::Right));
}

TEST(RightClickWatcher, PressesThatAreNotForTheMenuGoOnWithTheirRelease) {
    using P = RightClickWatcher::Press;
    for (const P& p : {rightElsewhere(), with(rightOnList(), &P::modifierHeld), with(rightOnList(), &P::modalBoxOpen),
                       with(rightOnList(), &P::overOwnWindow), with(rightOnList(), &P::overOwnMenu),
                       with(rightOnList(), &P::requestsFull)}) {
        RightClickWatcher w;
        EXPECT_EQ(kPass, w.buttonDown(p));
        EXPECT_EQ(kPass, w.buttonUp(Button::Right));
    }
    RightClickWatcher w;
    EXPECT_EQ(kPass, w.buttonDown(otherButton(false)));
    EXPECT_EQ(kPass, w.buttonUp(Button::Other));
}

TEST(RightClickWatcher, APressThatBeganElsewhereIsNotTakenWhenItsReleaseComesOverAList) {
    // Sliding onto a list view with the button held: no press event there, and the release is
    // the other window's.
    RightClickWatcher w;
    EXPECT_EQ(kPass, w.buttonDown(rightElsewhere()));
    EXPECT_EQ(kPass, w.buttonUp(Button::Right));
}

TEST(RightClickWatcher, ALostReleaseDoesNotSwallowTheReleaseOfALaterPassedPress) {
    RightClickWatcher w;
    EXPECT_EQ(kTakeAndOpen, w.buttonDown(rightOnList()));
    // Its release never came (the system dropped it); the next press is over another window.
    EXPECT_EQ(kPass, w.buttonDown(rightElsewhere()));
    EXPECT_EQ(kPass, w.buttonUp(Button::Right));
}

TEST(RightClickWatcher, WhileTheMenuIsOpenAPressOutsideItClosesIt) {
    using P = RightClickWatcher::Press;
    RightClickWatcher w;
    // Left, middle or extra button outside the menu: closed, and the click goes on.
    EXPECT_EQ(kPassAndCancel, w.buttonDown(otherButton(true)));
    EXPECT_EQ(kPass, w.buttonUp(Button::Other));
    // On the menu itself the menu handles it.
    EXPECT_EQ(kPass, w.buttonDown(otherButton(true, true)));
    // A right press on a window that is no list view, or with Shift: closed, and it goes on.
    EXPECT_EQ(kPassAndCancel, w.buttonDown(with(rightElsewhere(), &P::menuOpen)));
    EXPECT_EQ(kPass, w.buttonUp(Button::Right));
    EXPECT_EQ(kPassAndCancel, w.buttonDown(with(with(rightOnList(), &P::menuOpen), &P::modifierHeld)));
    EXPECT_EQ(kPass, w.buttonUp(Button::Right));
    // A right press on a list view opens its menu in place of the open one.
    EXPECT_EQ(kTakeAndOpen, w.buttonDown(with(rightOnList(), &P::menuOpen)));
    EXPECT_EQ(kTakeRelease, w.buttonUp(Button::Right));
    // A right press on our own menu is the menu's.
    EXPECT_EQ(kPass, w.buttonDown(with(with(rightOnList(), &P::menuOpen), &P::overOwnMenu)));
}

TEST(RightClickWatcher, OnlyRightPressesAskAboutTheWindowUnlessTheMenuIsOpen) {
    EXPECT_TRUE(RightClickWatcher::pressNeedsWindow(Button::Right, false));
    EXPECT_FALSE(RightClickWatcher::pressNeedsWindow(Button::Other, false));
    EXPECT_TRUE(RightClickWatcher::pressNeedsWindow(Button::Other, true));
}

TEST(RightClickWatcher, EscapeClosesTheOpenMenuAndIsTakenWithItsRepeatsAndRelease) {
    RightClickWatcher w;
    EXPECT_EQ(kPass, w.escapeKey(true, false));
    EXPECT_EQ(kPass, w.escapeKey(false, false));

    EXPECT_EQ(kTakeAndCancel, w.escapeKey(true, true));
    // The menu has gone; the key still repeats and is released: all of it was the menu's.
    EXPECT_EQ(kTake, w.escapeKey(true, false));
    EXPECT_EQ(kTake, w.escapeKey(false, false));
    // Afterwards Escape belongs to whichever window has the keyboard again.
    EXPECT_EQ(kPass, w.escapeKey(true, false));
    EXPECT_EQ(kPass, w.escapeKey(false, false));
}

// Paused from the notification-area menu: the host gets every right press and its release, and
// opens its own menu; our open menu still closes on a press elsewhere; resuming restores ours.
TEST(RightClickWatcher, WhilePausedEveryRightPressGoesOnWithItsRelease) {
    RightClickWatcher w;
    const auto paused = with(rightOnList(), &RightClickWatcher::Press::paused);
    EXPECT_EQ(kPass, w.buttonDown(paused));
    EXPECT_FALSE(w.holdingTakenPress());
    EXPECT_EQ(kPass, w.buttonUp(Button::Right));
    EXPECT_EQ(kPassAndCancel, w.buttonDown(with(paused, &RightClickWatcher::Press::menuOpen)));
    EXPECT_EQ(kPass, w.buttonUp(Button::Right));

    EXPECT_EQ(kTakeAndOpen, w.buttonDown(rightOnList()));
    EXPECT_EQ(kTakeRelease, w.buttonUp(Button::Right));
}

TEST(RightClickWatcher, WhilePausedARightPressAsksAboutTheWindowOnlyWhenTheMenuIsOpen) {
    EXPECT_FALSE(RightClickWatcher::pressNeedsWindow(Button::Right, false, true));
    EXPECT_TRUE(RightClickWatcher::pressNeedsWindow(Button::Right, true, true));
    EXPECT_TRUE(RightClickWatcher::pressNeedsWindow(Button::Right, false, false));
}

}  // namespace
