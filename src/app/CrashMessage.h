// The text of the last-chance message for a processor exception nobody handled.
#pragma once

#include <cstdint>
#include <string>

namespace zav {

constexpr std::uint32_t kExceptionAccessViolation = 0xC0000005u;
constexpr std::uint32_t kExceptionStackOverflow = 0xC00000FDu;

// Title of the crash message box.
inline const wchar_t* const kCrashTitle = L"Orvek";

// "General Protection Fault (Access Violation)", "General Protection Fault (Stack Overflow" (sic,
// the text has no closing parenthesis), or "General Protection Fault, Error code h" and the code
// in upper-case hexadecimal without leading zeros.
std::wstring crashDescription(std::uint32_t exceptionCode);
// "FATAL error => " + description + two line feeds + "Program will terminate".
std::wstring crashMessage(std::uint32_t exceptionCode);

}  // namespace zav
