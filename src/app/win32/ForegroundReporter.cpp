#include "app/win32/ForegroundReporter.h"

#include <windows.h>

namespace zav {

void ForegroundReporter::show(const std::wstring& text, const std::wstring& title, MessageIcon icon) {
    UINT style = MB_OK | MB_SETFOREGROUND;
    if (icon == MessageIcon::Stop) style |= MB_ICONSTOP;
    if (icon == MessageIcon::Information) style |= MB_ICONINFORMATION;
    MessageBoxW(nullptr, text.c_str(), title.c_str(), style);
}

bool ForegroundReporter::ask(const std::wstring& text, const std::wstring& title) {
    return MessageBoxW(nullptr, text.c_str(), title.c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_SETFOREGROUND) == IDYES;
}

}  // namespace zav
