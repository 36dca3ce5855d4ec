#include "console/ConsoleWindows.h"

#include <cstdio>

#include "job/OpenedGrid.h"
#include "text/Ansi.h"

namespace zav {
namespace {

bool contains(const std::wstring& text, const std::wstring& part) {
    return upperCase(text).find(upperCase(part)) != std::wstring::npos;
}

bool sameProgram(const std::wstring& file, const std::wstring& name) {
    return equalsNoCase(file, name) || equalsNoCase(file, name + L".exe");
}

}  // namespace

void numberControls(WindowEntry& window) {
    for (std::size_t i = 0; i < window.controls.size(); ++i) {
        std::int32_t n = 1;
        for (std::size_t j = 0; j < i; ++j) n += window.controls[j].kind == window.controls[i].kind;
        window.controls[i].index = n;
    }
}

bool windowMatches(const WindowEntry& w, const WindowCriteria& c) {
    if (!c.title.empty() && !contains(w.title, c.title)) return false;
    if (!c.processName.empty() && !sameProgram(w.processName, c.processName)) return false;
    if (c.processId != 0 && w.processId != c.processId) return false;
    if (!c.className.empty() && !equalsNoCase(w.className, c.className)) return false;
    if (c.handle != 0 && w.handle != c.handle) {
        bool inside = false;
        for (const auto& control : w.controls) inside = inside || control.handle == c.handle;
        if (!inside) return false;
    }
    return true;
}

std::vector<ControlChoice> matchingControls(const std::vector<WindowEntry>& windows, const WindowCriteria& window,
                                            const ControlCriteria& control) {
    std::vector<ControlChoice> choices;
    for (const WindowEntry& w : windows) {
        if (!windowMatches(w, window)) continue;
        std::int32_t n = 0;
        for (const ControlEntry& e : w.controls) {
            if (window.handle != 0 && window.handle != w.handle && e.handle != window.handle) continue;
            if (control.kind != ControlKind::None && e.kind != control.kind) continue;
            if (control.id && e.id != *control.id) continue;
            if (control.index != 0 && ++n != control.index) continue;
            choices.push_back({&w, &e});
        }
    }
    return choices;
}

std::wstring handleText(WindowHandle handle) {
    wchar_t text[24];
    std::swprintf(text, 24, L"0x%08llX", static_cast<unsigned long long>(handle));
    return text;
}

std::wstring oneLine(const std::wstring& text) {
    std::wstring line = text;
    for (wchar_t& c : line)
        if (c == L'\r' || c == L'\n' || c == L'\t') c = L' ';
    return line;
}

std::wstring nameControl(const WindowEntry& window, const ControlEntry& control) {
    std::wstring process = window.processName.empty() ? L"process" : window.processName;
    return L"the " + controlNameOf(control.kind) + L" " + handleText(control.handle) + L" (id " +
           std::to_wstring(control.id) + L") of \"" + oneLine(window.title) + L"\" (" + process + L" " +
           std::to_wstring(window.processId) + L")";
}

std::wstring controlFields(const WindowEntry& window, const ControlEntry& control) {
    const std::wstring tab = L"\t";
    return oneLine(window.processName) + tab + std::to_wstring(window.processId) + tab +
           (window.wordSize ? std::to_wstring(window.wordSize) : L"?") + tab + handleText(window.handle) + tab +
           oneLine(window.title) + tab + handleText(control.handle) + tab + oneLine(control.className) + tab +
           kindArgument(control.kind) + tab + std::to_wstring(control.index) + tab + std::to_wstring(control.id);
}

}  // namespace zav
