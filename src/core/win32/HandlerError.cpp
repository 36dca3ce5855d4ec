#include "core/win32/HandlerError.h"

#include "core/Error.h"
#include "core/Platform.h"

namespace zav {
namespace win {

void reportHandlerError(HWND owner, const std::exception& e) noexcept {
    try {
        MessageBoxW(owner, errorReport(e).c_str(), kProgramTitle, MB_OK | MB_ICONSTOP | MB_SETFOREGROUND);
    } catch (...) {
        MessageBoxW(owner, L"Error", L"ZAVExport", MB_OK | MB_ICONSTOP);
    }
}

}  // namespace win
}  // namespace zav
