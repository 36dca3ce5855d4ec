#include "core/win32/HandlerError.h"

#include "core/Error.h"
#include "core/Platform.h"
#include "core/win32/OwnedReporter.h"

namespace zav {
namespace win {

void reportHandlerError(HWND owner, const std::exception& e) noexcept {
    OwnedReporter reporter(owner);
    try {
        reporter.show(errorReport(e), kProgramTitle, MessageIcon::Stop);
    } catch (...) {
        // Not even the report could be made (no memory left): the shortest word that says it.
        try {
            reporter.show(L"Error", kProgramTitle, MessageIcon::Stop);
        } catch (...) {
        }
    }
}

}  // namespace win
}  // namespace zav
