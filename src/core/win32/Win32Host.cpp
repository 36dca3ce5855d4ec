#include <windows.h>

#include "core/Platform.h"
#include "core/win32/Win32Error.h"
#include "text/Ansi.h"

namespace zav {
namespace {

// The locale text of `type`, or empty when the system gives none.
std::wstring localeText(LCTYPE type) {
    char buffer[16] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer) == 0) return {};
    return fromAnsi(buffer);
}

// The first character of a locale text replaces the default when there is one.
void takeFirst(wchar_t& target, LCTYPE type) {
    std::wstring text = localeText(type);
    if (!text.empty()) target = text[0];
}

std::wstring moduleFile() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) throwLastError(L"GetModuleFileName");
        if (n < buffer.size()) return buffer.substr(0, n);
        buffer.resize(buffer.size() * 2);
    }
}

class Win32Host final : public IHost {
public:
    std::wstring programFolder() override {
        std::wstring file = moduleFile();
        auto slash = file.find_last_of(L'\\');
        if (slash == std::wstring::npos) return currentDirectory();
        std::wstring folder = file.substr(0, slash);
        if (folder.size() == 2 && folder[1] == L':') folder += L'\\';  // drive root keeps its "\"
        return folder;
    }

    std::wstring programBaseName() override {
        std::wstring file = moduleFile();
        auto slash = file.find_last_of(L'\\');
        std::wstring name = slash == std::wstring::npos ? file : file.substr(slash + 1);
        auto dot = name.find_last_of(L'.');
        return dot == std::wstring::npos ? name : name.substr(0, dot);
    }

    std::wstring currentDirectory() override {
        wchar_t buffer[MAX_PATH + 1] = {};
        DWORD n = GetCurrentDirectoryW(MAX_PATH + 1, buffer);
        return n > 0 && n < MAX_PATH + 1 ? std::wstring(buffer, n) : std::wstring();
    }

    std::wstring driveCurrentDirectory(wchar_t drive) override {
        wchar_t root[] = {drive, L':', L'\\', L'\0'};
        if (GetDriveTypeW(root) == DRIVE_NO_ROOT_DIR) return {};
        wchar_t relative[] = {drive, L':', L'\0'};
        wchar_t buffer[MAX_PATH + 1] = {};
        DWORD n = GetFullPathNameW(relative, MAX_PATH + 1, buffer, nullptr);
        return n > 0 && n < MAX_PATH + 1 ? std::wstring(buffer, n) : std::wstring();
    }

    std::wstring findFirst(const std::wstring& pattern, bool foldersHiddenSystem) override {
        WIN32_FIND_DATAW data;
        HANDLE h = FindFirstFileW(pattern.c_str(), &data);
        if (h == INVALID_HANDLE_VALUE) {
            DWORD code = GetLastError();
            if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND || code == ERROR_NO_MORE_FILES)
                return {};
            throwWin32Error(code, L"Dir " + pattern);
        }
        std::wstring found;
        const DWORD excluded = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        do {
            if (foldersHiddenSystem || (data.dwFileAttributes & excluded) == 0) {
                found = data.cFileName;
                break;
            }
        } while (FindNextFileW(h, &data));
        FindClose(h);
        return found;
    }

    std::wstring windowsDirectory() override {
        wchar_t buffer[255] = {};
        UINT n = GetWindowsDirectoryW(buffer, 255);
        auto count = static_cast<std::int16_t>(n);  // the result taken as a 16-bit number
        if (count <= 0 || count > 255) return {};
        return std::wstring(buffer, static_cast<std::size_t>(count));
    }
    std::wstring listSeparator() override {
        wchar_t buffer[8] = {};  // the locale allows at most three characters and the NUL
        if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SLIST, buffer, 8) == 0) return L",";
        return buffer;
    }
    NumberFormat numberFormat() override {
        NumberFormat format = usEnglishNumberFormat();
        takeFirst(format.negativeSign, LOCALE_SNEGATIVESIGN);
        takeFirst(format.positiveSign, LOCALE_SPOSITIVESIGN);
        takeFirst(format.decimalSeparator, LOCALE_SDECIMAL);
        takeFirst(format.thousandsSeparator, LOCALE_STHOUSAND);
        takeFirst(format.currencyDecimalSeparator, LOCALE_SMONDECIMALSEP);
        takeFirst(format.currencyThousandsSeparator, LOCALE_SMONTHOUSANDSEP);
        // The conversion looks at no more than seven characters of the symbol; a longer or
        // missing one stands as "$".
        std::wstring currency = localeText(LOCALE_SCURRENCY);
        format.currency = currency.empty() || currency.size() > 7 ? std::wstring(L"$") : currency;
        return format;
    }
};

// The program's own boxes that no window of it owns (the icon's commands, a second copy, a failed
// start): the resident program has no window to put them over, since its watcher stands off every
// screen. Each comes to the foreground, as the program that shows it is in the background, and
// keeps no other window of the program waiting. What it asks is whether to give something up
// (Exit): No is the default button.
class Win32Reporter final : public IReporter {
public:
    void show(const std::wstring& text, const std::wstring& title, MessageIcon icon) override {
        UINT style = MB_OK | MB_SETFOREGROUND;
        if (icon == MessageIcon::Stop) style |= MB_ICONSTOP;
        if (icon == MessageIcon::Information) style |= MB_ICONINFORMATION;
        MessageBoxW(nullptr, text.c_str(), title.c_str(), style);
    }
    bool ask(const std::wstring& text, const std::wstring& title) override {
        const UINT style = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_SETFOREGROUND;
        return MessageBoxW(nullptr, text.c_str(), title.c_str(), style) == IDYES;
    }
};

}  // namespace

std::unique_ptr<IHost> makeSystemHost() { return std::make_unique<Win32Host>(); }
std::unique_ptr<IReporter> makeSystemReporter() { return std::make_unique<Win32Reporter>(); }

}  // namespace zav
