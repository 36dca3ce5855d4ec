#include "core/win32/MessageLoop.h"

#include <windows.h>

#include "core/win32/Window.h"

namespace zav {
namespace win {

int runMessageLoop() {
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return 1;
        // Dialog keys go to the top-level window of the control that has them, if it wants them.
        HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        Window* window = Window::fromHwnd(root);
        const bool handled = window && window->takesDialogKeys() && IsDialogMessageW(root, &msg);
        if (!handled) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

}  // namespace win
}  // namespace zav
