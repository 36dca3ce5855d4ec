#include "core/win32/Dpi.h"

#include <windows.h>

#include "core/win32/Handles.h"

namespace zav {
namespace win {
namespace {

// The system DPI does not change while a system-aware program runs: asked once.
int dpi(int index) {
    static int x = 0, y = 0;
    if (x == 0) {
        const UniqueWindowDC screen = windowDC(nullptr);
        x = GetDeviceCaps(screen.get().dc, LOGPIXELSX);
        y = GetDeviceCaps(screen.get().dc, LOGPIXELSY);
        if (x <= 0) x = 96;
        if (y <= 0) y = 96;
    }
    return index == LOGPIXELSX ? x : y;
}

}  // namespace

int twipsX(int twips) { return MulDiv(twips, dpi(LOGPIXELSX), 1440); }
int twipsY(int twips) { return MulDiv(twips, dpi(LOGPIXELSY), 1440); }

}  // namespace win
}  // namespace zav
