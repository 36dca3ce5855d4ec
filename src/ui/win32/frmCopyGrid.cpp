#include "ui/win32/frmCopyGrid.h"

#include <commctrl.h>

#include <cstring>

#include "core/Error.h"
#include "core/ScopeExit.h"
#include "core/win32/Controls.h"
#include "core/win32/Dpi.h"
#include "core/win32/Placement.h"
#include "core/win32/Win32Error.h"

namespace zav {
namespace {

constexpr const wchar_t* kCopyGridClass = L"ZAVCopyGrid";

// Global memory holding `size` bytes copied from `data`, owned until handed to the clipboard.
struct GlobalBlock {
    HGLOBAL handle = nullptr;
    GlobalBlock(const void* data, std::size_t size) {
        handle = GlobalAlloc(GMEM_MOVEABLE, size);
        if (!handle) throwLastError(L"GlobalAlloc");
        void* target = GlobalLock(handle);
        if (!target) {
            GlobalFree(handle);
            throwLastError(L"GlobalLock");
        }
        std::memcpy(target, data, size);
        GlobalUnlock(handle);
    }
    ~GlobalBlock() {
        if (handle) GlobalFree(handle);
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;
    // The clipboard owns it from now on.
    void handOver() { handle = nullptr; }
};

}  // namespace

void ExportDialogs::copyGrid(const GridTarget& target) { frmCopyGrid::start(*this, target, false); }
void ExportDialogs::copySelectedRows(const GridTarget& target) { frmCopyGrid::start(*this, target, true); }

void frmCopyGrid::start(ExportDialogs& dialogs, const GridTarget& target, bool selectedRows) {
    if (dialogs.gridCopy) return;  // one copy at a time: the menu offers no second
    auto* copy = new frmCopyGrid(dialogs);  // deletes itself when its window is gone
    copy->target_ = target.window;
    std::shared_ptr<OpenedGrid> grid;
    try {
        grid = openGrid(dialogs.captures, target);
        ExportPlan plan = clipboardPlan(dialogs.storage, dialogs.settings, grid->info, selectedRows);
        copy->job_ = startClipboardCopy(grid, std::move(plan));
        SlicedRun::Progress progress;
        progress.bar = GetDlgItem(copy->hwnd(), kPrgProgress);
        progress.text = GetDlgItem(copy->hwnd(), kLblProgress);
        progress.reveal = [copy] { copy->reveal(); };
        copy->run_ = std::make_unique<SlicedRun>(copy->hwnd(), nullptr, *copy->job_, std::move(progress));
    } catch (const std::exception& e) {
        const std::wstring control = grid ? grid->controlName() : controlNameOf(target.kind);
        copy->reporter_.show(L"This " + control + L" cannot be copied. " + errorReport(e), kProgramTitle,
                             MessageIcon::Stop);
        DestroyWindow(copy->hwnd());
    }
}

frmCopyGrid::frmCopyGrid(ExportDialogs& dialogs)
    : dialogs_(dialogs) {
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST;
    RECT rc = {0, 0, win::twipsX(4200), win::twipsY(1260)};
    AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    create(kCopyGridClass, kCaption, style, exStyle, CW_USEDEFAULT, CW_USEDEFAULT, rc.right - rc.left, rc.bottom - rc.top);
    win::createControl(hwnd(), L"STATIC", L"", SS_LEFT, 0, kLblProgress, 120, 120, 3960, 255);
    win::createControl(hwnd(), PROGRESS_CLASSW, L"", 0, 0, kPrgProgress, 120, 420, 3960, 255);
    win::createControl(hwnd(), L"BUTTON", L"Stop", BS_PUSHBUTTON | WS_TABSTOP, 0, kCmdStop, 2880, 780, 1200, 375);
    dialogs_.gridCopy = this;
}

void frmCopyGrid::onDestroyed() {
    dialogs_.gridCopy = nullptr;
    delete this;
}

LRESULT frmCopyGrid::onMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (run_ && SlicedRun::isSlice(msg, wParam)) {
        onTick();
        return 0;
    }
    switch (msg) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kCmdStop) {
                // Dropping the job drops every row read; the clipboard was never touched.
                DestroyWindow(hwnd());
                return 0;
            }
            break;
        case WM_CLOSE:
            DestroyWindow(hwnd());
            return 0;
        case WM_DESTROY:
            run_.reset();
            job_.reset();
            return 0;
        default: break;
    }
    return defaultProc(msg, wParam, lParam);
}

void frmCopyGrid::onTick() {
    // However the copy ends, the window goes; a failure is said first, over it.
    try {
        if (run_->onTimer() == SlicedRun::State::Running) return;
        putOnClipboard();
    } catch (const std::exception& e) {
        run_.reset();  // no slice comes while the message is up
        job_.reset();
        reporter_.show(L"The grid was not copied; the clipboard was left as it was. " + errorReport(e), kProgramTitle,
                       MessageIcon::Stop);
    }
    DestroyWindow(hwnd());
}

void frmCopyGrid::reveal() {
    RECT rc;
    GetWindowRect(hwnd(), &rc);
    const POINT at = win::centredPlace(reinterpret_cast<HWND>(target_), rc.right - rc.left, rc.bottom - rc.top,
                                       kCopyGridClass);
    SetWindowPos(hwnd(), HWND_TOPMOST, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(hwnd());
}

void frmCopyGrid::putOnClipboard() {
    // Everything is made before the clipboard is opened: a failure here leaves it untouched.
    const std::wstring& text = job_->text();
    GlobalBlock unicode(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    const std::string& html = job_->html();
    GlobalBlock htmlBlock(html.c_str(), html.size() + 1);
    const UINT htmlFormat = RegisterClipboardFormatW(L"HTML Format");
    if (!htmlFormat) throwLastError(L"RegisterClipboardFormat");

    // Another program may hold the clipboard for a moment.
    bool opened = false;
    for (int attempt = 0; attempt < 20 && !(opened = OpenClipboard(hwnd())); ++attempt) Sleep(25);
    if (!opened) throwLastError(L"OpenClipboard");
    auto close = scopeExit([] { CloseClipboard(); });
    if (!EmptyClipboard()) throwLastError(L"EmptyClipboard");
    if (!SetClipboardData(CF_UNICODETEXT, unicode.handle)) throwLastError(L"SetClipboardData");
    unicode.handOver();
    if (!SetClipboardData(htmlFormat, htmlBlock.handle)) throwLastError(L"SetClipboardData");
    htmlBlock.handOver();
}

}  // namespace zav
