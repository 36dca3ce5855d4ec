#include "app/win32/WindowUnderPress.h"

#include <vector>

#include "app/FrameHitTest.h"

namespace zav {
namespace {

// A dialog has a few hundred controls at most; a window with more is searched no further than this.
constexpr std::size_t kMostWindows = 1024;

ScreenRect screenRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

WindowFacts factsOf(HWND w, int parent) {
    WindowFacts facts;
    facts.parent = parent;
    wchar_t cls[64] = {};
    GetClassNameW(w, cls, 64);
    facts.className = cls;
    facts.style = static_cast<std::uint32_t>(GetWindowLongW(w, GWL_STYLE));
    facts.exStyle = static_cast<std::uint32_t>(GetWindowLongW(w, GWL_EXSTYLE));
    RECT r = {};
    GetWindowRect(w, &r);
    facts.window = screenRect(r);
    RECT c = {};
    GetClientRect(w, &c);
    MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&c), 2);
    facts.client = screenRect(c);
    return facts;
}

// The children of `parent` in window order, and below each one whose rectangle holds the point its
// own: the search never goes into another. Windows that go meanwhile end the list where they were.
void readChildren(HWND parent, int parentIndex, POINT pt, std::vector<HWND>& handles,
                  std::vector<WindowFacts>& facts) {
    for (HWND w = GetWindow(parent, GW_CHILD); w && handles.size() < kMostWindows; w = GetWindow(w, GW_HWNDNEXT)) {
        handles.push_back(w);
        facts.push_back(factsOf(w, parentIndex));
        const ScreenRect& r = facts.back().window;
        if (pt.x >= r.left && pt.x < r.right && pt.y >= r.top && pt.y < r.bottom)
            readChildren(w, static_cast<int>(handles.size()) - 1, pt, handles, facts);
    }
}

}  // namespace

HWND windowUnderPress(POINT pt) {
    HWND w = WindowFromPoint(pt);
    if (!w) return w;
    wchar_t cls[64] = {};
    GetClassNameW(w, cls, 64);
    if (!isGroupBox(cls, static_cast<std::uint32_t>(GetWindowLongW(w, GWL_STYLE)))) return w;
    // The system's search came down to the frame's parent through windows that hold the point;
    // from there on it goes again, past the frames.
    HWND parent = GetAncestor(w, GA_PARENT);
    if (!parent || parent == GetDesktopWindow()) return w;
    std::vector<HWND> handles;
    std::vector<WindowFacts> facts;
    readChildren(parent, -1, pt, handles, facts);
    const int found = windowPastFrames(facts, pt.x, pt.y);
    return found < 0 ? parent : handles[static_cast<std::size_t>(found)];
}

}  // namespace zav
