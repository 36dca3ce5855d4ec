#include "app/win32/mUnhandledExceptionHandler.h"

#include <string>

#include "app/CrashMessage.h"

namespace zav {
namespace {

// The message is built without the heap's help where possible: after a crash it may be damaged.
void toAnsiAscii(const std::wstring& text, char* out, std::size_t size) {
    std::size_t i = 0;
    for (; i + 1 < size && i < text.size(); ++i) out[i] = static_cast<char>(text[i]);  // the texts are ASCII
    out[i] = '\0';
}

}  // namespace

LONG WINAPI crashFilter(EXCEPTION_POINTERS* pointers) {
    DWORD code = 0;
    if (pointers && pointers->ExceptionRecord) code = pointers->ExceptionRecord->ExceptionCode;
    char text[256];
    char title[16];
    try {
        toAnsiAscii(crashMessage(code), text, sizeof text);
        toAnsiAscii(kCrashTitle, title, sizeof title);
    } catch (...) {
        lstrcpynA(text, "FATAL error => General Protection Fault\n\nProgram will terminate", sizeof text);
        lstrcpynA(title, "Orvek", sizeof title);
    }
    // The system's box itself, not the program's reporter: nothing of the program's state can be
    // trusted any more, the objects that would show it least of all.
    MessageBoxA(nullptr, text, title, MB_OK | MB_ICONSTOP | MB_TASKMODAL | MB_SETFOREGROUND);
    return EXCEPTION_EXECUTE_HANDLER;
}

void installCrashHandler() { SetUnhandledExceptionFilter(crashFilter); }

}  // namespace zav
