#include "app/FrameHitTest.h"

#include "text/Ansi.h"

namespace zav {
namespace {

// The window styles the system's hit test looks at.
constexpr std::uint32_t kStyleChild = 0x40000000u;     // WS_CHILD
constexpr std::uint32_t kStyleVisible = 0x10000000u;   // WS_VISIBLE
constexpr std::uint32_t kStyleDisabled = 0x08000000u;  // WS_DISABLED
constexpr std::uint32_t kStyleMinimized = 0x20000000u; // WS_MINIMIZE
constexpr std::uint32_t kExLayeredTransparent = 0x00080020u;  // WS_EX_LAYERED | WS_EX_TRANSPARENT
constexpr std::uint32_t kButtonTypeMask = 0x0Fu;       // BS_TYPEMASK
constexpr std::uint32_t kButtonGroupBox = 0x07u;       // BS_GROUPBOX

bool holds(const ScreenRect& r, std::int32_t x, std::int32_t y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

bool disabledChild(const WindowFacts& w) {
    return (w.style & (kStyleChild | kStyleDisabled)) == (kStyleChild | kStyleDisabled);
}

// Whether the press would land on the window, leaving its children aside.
bool hit(const WindowFacts& w, std::int32_t x, std::int32_t y) {
    return (w.style & kStyleVisible) && !disabledChild(w) &&
           (w.exStyle & kExLayeredTransparent) != kExLayeredTransparent && holds(w.window, x, y);
}

}  // namespace

bool isGroupBox(const std::wstring& className, std::uint32_t style) {
    return upperCase(className) == L"BUTTON" && (style & kButtonTypeMask) == kButtonGroupBox;
}

int windowPastFrames(const std::vector<WindowFacts>& windows, std::int32_t x, std::int32_t y) {
    int found = -1;
    for (;;) {
        int next = -1;
        for (int i = 0; i < static_cast<int>(windows.size()) && next < 0; ++i) {
            const WindowFacts& w = windows[i];
            if (w.parent == found && hit(w, x, y) && !isGroupBox(w.className, w.style)) next = i;
        }
        if (next < 0) return found;
        found = next;
        const WindowFacts& w = windows[found];
        if ((w.style & (kStyleDisabled | kStyleMinimized)) || !holds(w.client, x, y)) return found;
    }
}

}  // namespace zav
