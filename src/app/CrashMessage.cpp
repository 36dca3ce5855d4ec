#include "app/CrashMessage.h"

namespace zav {

std::wstring crashDescription(std::uint32_t exceptionCode) {
    switch (exceptionCode) {
        case kExceptionAccessViolation: return L"General Protection Fault (Access Violation)";
        case kExceptionStackOverflow: return L"General Protection Fault (Stack Overflow";
        default: break;
    }
    static const wchar_t digits[] = L"0123456789ABCDEF";
    std::wstring hex;
    do {
        hex.insert(hex.begin(), digits[exceptionCode & 0xF]);
        exceptionCode >>= 4;
    } while (exceptionCode != 0);
    return L"General Protection Fault, Error code h" + hex;
}

std::wstring crashMessage(std::uint32_t exceptionCode) {
    return L"FATAL error => " + crashDescription(exceptionCode) + L"\n\nProgram will terminate";
}

}  // namespace zav
