// The end-to-end tests' own look at the clipboard, independent of the program's code:
//
//   zav_clipboard.exe read TEXT-FILE HTML-FILE   writes the Unicode text as UTF-8 (without its
//                                                ending zero) and the "HTML Format" data as its
//                                                bytes up to the zero; a format that is not on the
//                                                clipboard leaves its file absent
//   zav_clipboard.exe set TEXT                   empties the clipboard and puts TEXT on it as
//                                                Unicode text only
//
// Exit code 0 on success, 1 when the clipboard could not be opened or the arguments are wrong.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "text/Utf8.h"

namespace {

bool openClipboard() {
    for (int attempt = 0; attempt < 40; ++attempt) {
        if (OpenClipboard(nullptr)) return true;
        Sleep(50);
    }
    std::fprintf(stderr, "zav_clipboard: OpenClipboard failed (%lu)\n", GetLastError());
    return false;
}

bool writeFile(const wchar_t* path, const void* data, std::size_t size) {
    FILE* f = _wfopen(path, L"wb");
    if (!f) return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

int read(const wchar_t* textPath, const wchar_t* htmlPath) {
    DeleteFileW(textPath);
    DeleteFileW(htmlPath);
    if (!openClipboard()) return 1;
    int status = 0;
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        const auto* text = static_cast<const wchar_t*>(GlobalLock(h));
        const std::string utf8 = zav::toUtf8(std::wstring(text, wcsnlen(text, GlobalSize(h) / sizeof(wchar_t))));
        GlobalUnlock(h);
        if (!writeFile(textPath, utf8.data(), utf8.size())) status = 1;
    }
    const UINT html = RegisterClipboardFormatW(L"HTML Format");
    if (HANDLE h = GetClipboardData(html)) {
        const auto* bytes = static_cast<const char*>(GlobalLock(h));
        const std::size_t size = strnlen(bytes, GlobalSize(h));
        if (!writeFile(htmlPath, bytes, size)) status = 1;
        GlobalUnlock(h);
    }
    CloseClipboard();
    return status;
}

int set(const std::wstring& text) {
    if (!openClipboard()) return 1;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(h), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(h);
    const bool ok = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, h);
    CloseClipboard();
    return ok ? 0 : 1;
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv) return 1;
    if (argc == 4 && std::wcscmp(argv[1], L"read") == 0) return read(argv[2], argv[3]);
    if (argc == 3 && std::wcscmp(argv[1], L"set") == 0) return set(argv[2]);
    std::fprintf(stderr, "usage: zav_clipboard.exe read TEXT-FILE HTML-FILE | set TEXT\n");
    return 1;
}
