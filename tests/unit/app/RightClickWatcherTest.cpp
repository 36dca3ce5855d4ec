// The hook's decision per event: a right press over a list view is taken with its release and
// opens the menu; everything else goes on; a press outside the open menu or Escape closes it.
// Each script runs on a fresh watcher: the events in order, each with the decision it must get.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// "D<flags>" a press: right unless X (another button), L over a list view, M the menu open, O over
// our menu, W over our window, S Shift held, B a modal box open, P paused, F the requests full.
// "UR"/"UX" the right or another button's release; "E<down><menu open>" Escape, e.g. "E11".
struct Step {
    const char* event;
    Decision want;
    int holding = -1;  // 0/1: whether the watcher holds a taken press afterwards
};

Decision apply(RightClickWatcher& w, const std::string& e) {
    if (e[0] == 'U') return w.buttonUp(e[1] == 'R' ? Button::Right : Button::Other);
    if (e[0] == 'E') return w.escapeKey(e[1] == '1', e[2] == '1');
    RightClickWatcher::Press p;
    for (char c : e.substr(1)) {
        if (c == 'X') p.button = Button::Other;
        bool* flag = c == 'L' ? &p.isListView : c == 'M' ? &p.menuOpen : c == 'O' ? &p.overOwnMenu
                   : c == 'W' ? &p.overOwnWindow : c == 'S' ? &p.modifierHeld : c == 'B' ? &p.modalBoxOpen
                   : c == 'P' ? &p.paused : c == 'F' ? &p.requestsFull : nullptr;
        if (flag) *flag = true;
    }
    return w.buttonDown(p);
}

TEST(RightClickWatcher, EventScripts) {
    const struct {
        const char* what;
        std::vector<Step> steps;
    } scripts[] = {
        {"a press on a list is taken with its release and opens one menu; other releases are not the taken one",
         {{"DL", kTakeAndOpen, 1}, {"UX", kPass}, {"UR", kTakeRelease, 0}, {"UR", kPass}, {"DL", kTakeAndOpen},
          {"UR", kTakeRelease}}},
        {"presses not for the menu go on with their release",
         {{"D", kPass}, {"UR", kPass}, {"DLS", kPass}, {"UR", kPass}, {"DLB", kPass}, {"UR", kPass}, {"DLW", kPass},
          {"UR", kPass}, {"DLO", kPass}, {"UR", kPass}, {"DLF", kPass}, {"UR", kPass}, {"DX", kPass}, {"UX", kPass}}},
        {"a lost release does not swallow the release of a later passed press",
         {{"DL", kTakeAndOpen}, {"D", kPass}, {"UR", kPass}}},
        {"while the menu is open a press outside it closes it and goes on; on a list it opens the list's menu",
         {{"DXM", kPassAndCancel}, {"UX", kPass}, {"DXMO", kPass}, {"DM", kPassAndCancel}, {"UR", kPass},
          {"DLMS", kPassAndCancel}, {"UR", kPass}, {"DLM", kTakeAndOpen}, {"UR", kTakeRelease}, {"DLMO", kPass}}},
        {"Escape closes the open menu and is taken with its repeats and release, then belongs to others again",
         {{"E10", kPass}, {"E00", kPass}, {"E11", kTakeAndCancel}, {"E10", kTake}, {"E00", kTake}, {"E10", kPass},
          {"E00", kPass}}},
        {"while paused every right press goes on with its release; our open menu still closes",
         {{"DLP", kPass, 0}, {"UR", kPass}, {"DLPM", kPassAndCancel}, {"UR", kPass}, {"DL", kTakeAndOpen},
          {"UR", kTakeRelease}}},
    };
    for (const auto& script : scripts) {
        RightClickWatcher w;
        for (std::size_t i = 0; i < script.steps.size(); ++i) {
            const Step& s = script.steps[i];
            EXPECT_EQ(s.want, apply(w, s.event)) << script.what << ", step " << i << " " << s.event;
            if (s.holding >= 0) {
                EXPECT_EQ(s.holding == 1, w.holdingTakenPress()) << script.what << ", step " << i;
            }
        }
    }
}

TEST(RightClickWatcher, OnlyRightPressesAskAboutTheWindowUnlessTheMenuIsOpenOrThePauseIsOn) {
    using R = RightClickWatcher;
    EXPECT_TRUE(R::pressNeedsWindow(Button::Right, false) && R::pressNeedsWindow(Button::Other, true) &&
                R::pressNeedsWindow(Button::Right, true, true));
    EXPECT_FALSE(R::pressNeedsWindow(Button::Other, false) || R::pressNeedsWindow(Button::Right, false, true));
}

}  // namespace
