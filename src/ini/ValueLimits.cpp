#include "ini/ValueLimits.h"

#include "text/Ansi.h"

namespace zav {
namespace {

bool isValueBlank(wchar_t c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; }

}  // namespace

std::wstring longValueProblem(const std::wstring& field, const std::wstring& text) {
    if (text.find_first_of(L"\r\n") != std::wstring::npos)
        return field + L": a line break ends an INI value, so the text would be cut there.";
    if (text.find(L'\0') != std::wstring::npos)
        return field + L": a NUL character ends an INI value, so the text would be cut there.";
    if (fromAnsi(toAnsi(text)) != text)
        return field + L": it holds characters that the system's code page cannot store in an INI file.";
    return {};
}

std::wstring valueLimitProblem(const std::wstring& field, const std::wstring& text) {
    if (text.size() > kLongestIniValue)
        return field + L": " + std::to_wstring(text.size()) + L" characters, but an INI value is read back only up to " +
               std::to_wstring(kLongestIniValue) + L" characters.";
    std::wstring problem = longValueProblem(field, text);
    if (!problem.empty()) return problem;
    if (!text.empty() && (isValueBlank(text.front()) || isValueBlank(text.back())))
        return field + L": blanks at either end of an INI value are dropped when it is read.";
    if (text.size() >= 2 && (text.front() == L'"' || text.front() == L'\'') && text.back() == text.front())
        return field + L": quotes around an INI value are removed when it is read.";
    return {};
}

}  // namespace zav
