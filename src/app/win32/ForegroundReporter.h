// The resident program's own boxes (the icon's commands, a second copy, a failed start): no window
// of the program owns them, since the watcher window stands off every screen and a box is placed
// over its owner. Each comes to the foreground, as the program that shows it is in the background,
// and keeps no other window of the program waiting. What it asks is whether to give something up
// (Exit): No is the default button.
#pragma once

#include <string>

#include "core/Platform.h"

namespace zav {

class ForegroundReporter final : public IReporter {
public:
    void show(const std::wstring& text, const std::wstring& title, MessageIcon icon) override;
    bool ask(const std::wstring& text, const std::wstring& title) override;
};

}  // namespace zav
