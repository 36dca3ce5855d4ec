#include "app/win32/RightButtonHook.h"

#include <cstring>
#include <stdexcept>
#include <utility>

#include "app/win32/WindowUnderPress.h"
#include "capture/GridSource.h"
#include "capture/win32/SystemGridSources.h"
#include "core/win32/Win32Error.h"

namespace zav {
namespace {

// Low-level hook procedures get no context: the one hook in place, set before the hooks are
// installed and cleared after they are removed.
std::atomic<RightButtonHook*> g_hook{nullptr};
// Signalled by the hook thread once its hooks are in place (or failed).
HANDLE g_ready = nullptr;

WindowHandle wh(HWND h) { return reinterpret_cast<WindowHandle>(h); }

bool hasClass(HWND w, const char* name) {
    char cls[64] = {};
    return GetClassNameA(w, cls, sizeof cls) > 0 && std::strcmp(cls, name) == 0;
}

BOOL CALLBACK findModalBox(HWND w, LPARAM found) {
    if (IsWindowVisible(w) && IsWindowEnabled(w) && hasClass(w, "#32770")) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

bool RightButtonHook::modalBoxOpen(DWORD threadId) {
    bool found = false;
    EnumThreadWindows(threadId, findModalBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

RightButtonHook::RightButtonHook(HWND watcher) : watcher_(watcher), uiThread_(GetCurrentThreadId()) {
    if (g_hook.load()) throw std::logic_error("the right-button hook is already in place");
    UniqueHandle ready(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!ready) throwLastError(L"CreateEvent");
    g_ready = ready.get();
    g_hook.store(this);
    thread_.reset(CreateThread(nullptr, 0, threadMain, this, 0, &threadId_));
    if (!thread_) {
        const DWORD error = GetLastError();
        g_hook.store(nullptr);
        throwWin32Error(error, L"CreateThread");
    }
    WaitForSingleObject(ready.get(), INFINITE);
    g_ready = nullptr;
    if (startCall_) {
        WaitForSingleObject(thread_.get(), INFINITE);
        g_hook.store(nullptr);
        throwWin32Error(startError_, startCall_);
    }
}

RightButtonHook::~RightButtonHook() {
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_.get(), INFINITE);
    g_hook.store(nullptr);
}

DWORD WINAPI RightButtonHook::threadMain(void* param) noexcept {
    auto* self = static_cast<RightButtonHook*>(param);
    MSG msg;
    // The thread's message queue exists before anyone posts WM_QUIT to it.
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    UniqueHook mouse(SetWindowsHookExA(WH_MOUSE_LL, mouseProc, instance, 0));
    if (!mouse) {
        self->startError_ = GetLastError();
        self->startCall_ = L"SetWindowsHookEx WH_MOUSE_LL";
    }
    UniqueHook keyboard;
    if (mouse) {
        keyboard.reset(SetWindowsHookExA(WH_KEYBOARD_LL, keyboardProc, instance, 0));
        if (!keyboard) {
            self->startError_ = GetLastError();
            self->startCall_ = L"SetWindowsHookEx WH_KEYBOARD_LL";
        }
    }
    const bool failed = self->startCall_ != nullptr;
    SetEvent(g_ready);
    if (failed) return 1;
    // The system calls the hook procedures from this loop: nothing else runs on this thread.
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}

RightClickWatcher::Decision RightButtonHook::onMouse(WPARAM message, const MSLLHOOKSTRUCT& event) {
    using Button = RightClickWatcher::Button;
    switch (message) {
        case WM_RBUTTONUP: {
            const RightClickWatcher::Decision d = decide_.buttonUp(Button::Right);
            post(d.post);
            return d;
        }
        case WM_LBUTTONUP:
        case WM_MBUTTONUP:
        case WM_XBUTTONUP: return decide_.buttonUp(Button::Other);
        case WM_RBUTTONDOWN:
        case WM_LBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN: break;
        default: return {};  // moves and wheels go on without a question
    }
    RightClickWatcher::Press p;
    p.button = message == WM_RBUTTONDOWN ? Button::Right : Button::Other;
    p.menuOpen = menuOpen_.load();
    p.paused = paused_.load();
    MenuRequest request;
    request.pt = event.pt;
    if (RightClickWatcher::pressNeedsWindow(p.button, p.menuOpen, p.paused)) {
        // None of these calls sends a message to another thread's window.
        HWND w = windowUnderPress(event.pt);
        if (w) {
            p.overOwnWindow = GetAncestor(w, GA_ROOT) == watcher_;
            p.overOwnMenu = GetWindowThreadProcessId(w, nullptr) == uiThread_ && hasClass(w, "#32768");
            if (p.button == Button::Right) {
                request.target = gridTargetOf(wh(w));
                p.isListView = controlKindIsRead(request.target.kind);
                p.modifierHeld = (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
                if (p.isListView) p.modalBoxOpen = modalBoxOpen(uiThread_);
                p.requestsFull = requests_.full();
            }
        }
    }
    const RightClickWatcher::Decision d = decide_.buttonDown(p);
    if (d.post == RightClickWatcher::Post::OpenMenu)
        requestMenu(std::move(request));
    else
        post(d.post);
    return d;
}

void RightButtonHook::requestMenu(MenuRequest request) {
    // The decision saw room, and only this thread puts: the put takes it.
    Requests::Ticket ticket = 0;
    if (requests_.put(std::move(request), ticket)) PostMessageA(watcher_, kOpenMenu, ticket, 0);
}

void RightButtonHook::post(RightClickWatcher::Post what) {
    switch (what) {
        case RightClickWatcher::Post::OpenMenu: break;  // requestMenu
        case RightClickWatcher::Post::CancelMenu: PostMessageA(watcher_, kCancelMenu, 0, 0); break;
        case RightClickWatcher::Post::PressEnded: PostMessageA(watcher_, kPressEnded, 0, 0); break;
        case RightClickWatcher::Post::Nothing: break;
    }
}

LRESULT CALLBACK RightButtonHook::mouseProc(int code, WPARAM wParam, LPARAM lParam) noexcept {
    RightButtonHook* self = g_hook.load();
    if (code == HC_ACTION && self) {
        try {
            if (self->onMouse(wParam, *reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)).swallow) return 1;
        } catch (...) {
            // Nothing is reported from inside the system's input path: the event goes on.
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK RightButtonHook::keyboardProc(int code, WPARAM wParam, LPARAM lParam) noexcept {
    RightButtonHook* self = g_hook.load();
    if (code == HC_ACTION && self) {
        const auto& key = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        if (key.vkCode == VK_ESCAPE) {
            const bool down = wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN;
            const RightClickWatcher::Decision d = self->decide_.escapeKey(down, self->menuOpen_.load());
            self->post(d.post);
            if (d.swallow) return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace zav
