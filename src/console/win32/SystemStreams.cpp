#include <windows.h>

#include <atomic>

#include "console/Utf8StreamWriter.h"
#include "console/win32/SystemConsole.h"
#include "core/win32/Win32Error.h"
#include "text/Utf8.h"

namespace zav {
namespace {

std::atomic<bool> g_stopRequested{false};
std::atomic<bool> g_finished{false};

BOOL WINAPI onControl(DWORD event) {
    g_stopRequested = true;
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) return TRUE;
    // The console closes, or the session ends: the system ends the process once this returns, so
    // the export is given the time to drop its temporary file first.
    for (int i = 0; i < 100 && !g_finished; ++i) Sleep(50);
    return TRUE;
}

bool isConsole(HANDLE h) {
    DWORD mode = 0;
    return h && h != INVALID_HANDLE_VALUE && GetConsoleMode(h, &mode);
}

// Bytes of UTF-8 onto a standard handle: to a console as its own wide text (so that every script
// shows whole, whatever the console's code page), to a pipe or file as they are.
void writeTo(HANDLE h, bool console, const std::string& bytes, const wchar_t* name) {
    if (console) {
        const std::wstring text = fromUtf8(bytes);
        const wchar_t* p = text.data();
        std::size_t left = text.size();
        while (left > 0) {
            DWORD done = 0;
            const DWORD chunk = static_cast<DWORD>(left > 8192 ? 8192 : left);
            if (!WriteConsoleW(h, p, chunk, &done, nullptr) || done == 0) throwLastError(L"WriteConsole ", name);
            p += done;
            left -= done;
        }
        return;
    }
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        DWORD done = 0;
        const DWORD chunk = static_cast<DWORD>(left > 0x100000 ? 0x100000 : left);
        if (!WriteFile(h, p, chunk, &done, nullptr)) throwLastError(L"WriteFile ", name);
        if (done == 0) throwWin32Error(ERROR_WRITE_FAULT, std::wstring(L"WriteFile ") + name);
        p += done;
        left -= done;
    }
}

class SystemConsoleStreams final : public IConsoleStreams {
public:
    SystemConsoleStreams()
        : out_(GetStdHandle(STD_OUTPUT_HANDLE)),
          err_(GetStdHandle(STD_ERROR_HANDLE)),
          outConsole_(isConsole(out_)),
          errConsole_(isConsole(err_)),
          writer_([this](const std::string& bytes) { writeTo(out_, outConsole_, bytes, L"standard output"); }) {
        SetConsoleCtrlHandler(onControl, TRUE);
    }

    ITextWriter& output() override { return writer_; }

    void error(const std::wstring& line) override {
        progress(L"");
        try {
            writer_.close();  // what the output holds so far goes first
        } catch (const Error&) {
        }
        try {
            writeTo(err_, errConsole_, toUtf8(line + L"\r\n"), L"standard error");
        } catch (const Error&) {
            // Nowhere to say it: the exit code still does.
        }
    }

    bool showsProgress() override { return errConsole_; }

    void progress(const std::wstring& text) override {
        if (!errConsole_) return;
        const DWORD now = GetTickCount();
        if (!text.empty() && shown_ > 0 && now - lastShown_ < 200) return;
        lastShown_ = now;
        std::wstring line = L"\r" + text;
        if (text.size() < shown_) line += std::wstring(shown_ - text.size(), L' ') + L"\r" + text;
        shown_ = text.size();
        try {
            writeTo(err_, true, toUtf8(line), L"standard error");
        } catch (const Error&) {
        }
    }

    bool stopRequested() override { return g_stopRequested; }

private:
    HANDLE out_;
    HANDLE err_;
    bool outConsole_;
    bool errConsole_;
    Utf8StreamWriter writer_;
    std::size_t shown_ = 0;  // characters of the progress line on the console
    DWORD lastShown_ = 0;
};

}  // namespace

std::unique_ptr<IConsoleStreams> makeSystemConsoleStreams() { return std::make_unique<SystemConsoleStreams>(); }

void consoleFinished() { g_finished = true; }

}  // namespace zav
