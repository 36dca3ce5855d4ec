#include "core/Error.h"

#include "text/Ansi.h"

namespace zav {

Error::Error(long number, std::wstring what, std::wstring detail)
    : std::runtime_error(toAnsi(what + L": " + detail)),
      number_(number),
      operation_(std::move(what)),
      detail_(std::move(detail)) {}

std::wstring Error::description() const {
    if (operation_.empty()) return detail_;
    if (detail_.empty()) return operation_;
    return operation_ + L": " + detail_;
}

std::wstring errorReport(const Error& e) {
    return L"Error " + std::to_wstring(e.number()) + L": " + e.description();
}

std::wstring errorReport(const std::exception& e) {
    if (const auto* own = dynamic_cast<const Error*>(&e)) return errorReport(*own);
    return L"Error: " + fromAnsi(e.what());
}

void throwOverflow(const std::wstring& what) {
    throw Error(kErrOverflow, what, L"Overflow");
}

std::int16_t narrow16(long value, const std::wstring& what) {
    if (value < -32768 || value > 32767) throwOverflow(what);
    return static_cast<std::int16_t>(value);
}

}  // namespace zav
