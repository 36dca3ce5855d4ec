#include "exporttype/ExportTypeName.h"

#include "text/Ansi.h"

namespace zav {
namespace {

bool isForbidden(wchar_t c) {
    return static_cast<unsigned long>(c) < 0x20 || std::wstring(L"\\/:*?\"<>|").find(c) != std::wstring::npos;
}

bool isTrailingJunk(wchar_t c) { return c == L'.' || c == L' '; }

// True when the part before the first dot (blanks at its end ignored) is a device name.
bool isDeviceName(const std::wstring& name) {
    std::wstring base = name.substr(0, name.find(L'.'));
    while (!base.empty() && base.back() == L' ') base.pop_back();
    base = upperCase(base);
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CLOCK$", L"CONIN$", L"CONOUT$"})
        if (base == device) return true;
    if (base.size() == 4 && (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0) &&
        base[3] >= L'1' && base[3] <= L'9')
        return true;
    return false;
}

}  // namespace

std::wstring exportTypeNameProblem(const std::wstring& name) {
    if (name.empty()) return L"Export Type cannot be empty!";
    if (name.find_first_of(L"\\/") != std::wstring::npos) return L"Export Type cannot contain a slash!";
    for (wchar_t c : name)
        if (isForbidden(c))
            return L"Export Type cannot contain any of the characters \\ / : * ? \" < > | or a control character!";
    if (isTrailingJunk(name.back())) return L"Export Type cannot end with a dot or a blank!";
    if (isDeviceName(name)) return L"Export Type cannot be the device name " + name.substr(0, name.find(L'.')) + L"!";
    return {};
}

std::wstring proposeExportTypeName(const std::wstring& text) {
    std::wstring name;
    name.reserve(text.size());
    for (wchar_t c : text) name += isForbidden(c) ? L'_' : c;
    while (!name.empty() && isTrailingJunk(name.back())) name.pop_back();
    if (!name.empty() && isDeviceName(name)) {
        const std::size_t dot = name.find(L'.');
        name.insert(dot == std::wstring::npos ? name.size() : dot, L"_");
    }
    return name;
}

}  // namespace zav
