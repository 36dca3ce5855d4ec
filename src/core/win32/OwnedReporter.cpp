#include "core/win32/OwnedReporter.h"

namespace zav {
namespace win {

int OwnedReporter::box(const std::wstring& text, const std::wstring& title, UINT style) {
    HWND owner = this->owner();
    HWND focus = GetFocus();
    // With an owner the box is modal to it (the owner is disabled while the box is open).
    style |= MB_SETFOREGROUND | (owner ? MB_APPLMODAL : MB_TASKMODAL);
    const int answer = MessageBoxW(owner, text.c_str(), title.c_str(), style);
    if (owner && IsWindow(owner) && focus && IsWindow(focus) && IsChild(owner, focus) && GetActiveWindow() == owner)
        SetFocus(focus);
    return answer;
}

void OwnedReporter::show(const std::wstring& text, const std::wstring& title, MessageIcon icon) {
    UINT style = MB_OK;
    if (icon == MessageIcon::Stop) style |= MB_ICONSTOP;
    if (icon == MessageIcon::Information) style |= MB_ICONINFORMATION;
    box(text, title, style);
}

bool OwnedReporter::ask(const std::wstring& text, const std::wstring& title) {
    return box(text, title, MB_YESNO | MB_DEFBUTTON1) == IDYES;
}

}  // namespace win
}  // namespace zav
