#include "core/win32/Placement.h"

#include <algorithm>

namespace zav {
namespace win {
namespace {

RECT workAreaOf(HWND nearby) {
    const POINT origin = {0, 0};
    HMONITOR monitor = nearby ? MonitorFromWindow(nearby, MONITOR_DEFAULTTOPRIMARY)
                            : MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (monitor && GetMonitorInfoW(monitor, &info)) return info.rcWork;
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return screen;
}

POINT keptInside(const RECT& work, POINT p, int width, int height) {
    p.x = std::max(work.left, std::min(p.x, work.right - width));
    p.y = std::max(work.top, std::min(p.y, work.bottom - height));
    return p;
}

bool windowStandsAt(const wchar_t* className, POINT p) {
    HWND h = nullptr;
    while ((h = FindWindowExW(nullptr, h, className, nullptr)) != nullptr) {
        RECT rc;
        if (IsWindowVisible(h) && GetWindowRect(h, &rc) && rc.left == p.x && rc.top == p.y) return true;
    }
    return false;
}

}  // namespace

POINT centredPlace(HWND nearby, int width, int height, const wchar_t* className) {
    const RECT work = workAreaOf(nearby);
    POINT p = {work.left + (work.right - work.left - width) / 2, work.top + (work.bottom - work.top - height) / 2};
    p = keptInside(work, p, width, height);
    const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
    for (int i = 0; i < 16 && windowStandsAt(className, p); ++i) {
        p.x += step;
        p.y += step;
        if (p.x + width > work.right || p.y + height > work.bottom) p = {work.left, work.top};
    }
    return p;
}

POINT placeBeside(HWND opener, int width, int height) {
    RECT o;
    if (!opener || !GetWindowRect(opener, &o)) return centredPlace(nullptr, width, height, L"");
    const RECT work = workAreaOf(opener);
    const int midX = (o.left + o.right - width) / 2, midY = (o.top + o.bottom - height) / 2;
    const POINT tries[] = {{midX, o.bottom}, {midX, o.top - height}, {o.right, midY}, {o.left - width, midY}};
    for (POINT p : tries) {
        // Slide along the opener's side to stay on the screen, then take it if nothing is covered.
        const bool vertical = p.y == o.bottom || p.y == o.top - height;
        POINT q = keptInside(work, p, width, height);
        if (vertical ? q.y != p.y : q.x != p.x) continue;
        RECT placed = {q.x, q.y, q.x + width, q.y + height}, overlap;
        if (!IntersectRect(&overlap, &placed, &o)) return q;
    }
    const int step = 2 * (GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME));
    return keptInside(work, POINT{o.left + step, o.top + step}, width, height);
}

}  // namespace win
}  // namespace zav
