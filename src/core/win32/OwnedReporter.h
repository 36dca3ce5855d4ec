// Message boxes owned by one window of the program: shown over it, keeping it modal while open;
// the control of that window that had the focus has it again when the box closes. A box without
// an owner would stand behind the dialog that raised it, or let the user go on in that dialog.
#pragma once

#include <windows.h>

#include <string>

#include "core/Platform.h"
#include "core/win32/Window.h"

namespace zav {
namespace win {

class OwnedReporter final : public IReporter {
public:
    explicit OwnedReporter(const Window& owner) : window_(&owner) {}
    // Over a window that is no Window object of the program's (null: owned by none).
    explicit OwnedReporter(HWND owner) : handle_(owner) {}
    void show(const std::wstring& text, const std::wstring& title, MessageIcon icon) override;
    bool ask(const std::wstring& text, const std::wstring& title) override;

private:
    int box(const std::wstring& text, const std::wstring& title, UINT style);
    HWND owner() const { return window_ ? window_->hwnd() : handle_; }
    const Window* window_ = nullptr;
    HWND handle_ = nullptr;
};

}  // namespace win
}  // namespace zav
