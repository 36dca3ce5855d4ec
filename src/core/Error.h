// The one error idiom of the program: every failure that is not handled on the spot becomes a
// zav::Error carrying a number and a description, which the outermost handler shows to the user.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace zav {

class Error : public std::runtime_error {
public:
    // number: the platform's error code (GetLastError, errno) or one of the ErrorNumber values below.
    // what:   the operation that failed, for instance L"CreateFolder C:\\x\\Exports".
    // detail: the platform's description of the code, or our own text.
    Error(long number, std::wstring what, std::wstring detail);

    long number() const noexcept { return number_; }
    const std::wstring& operation() const noexcept { return operation_; }
    const std::wstring& detail() const noexcept { return detail_; }
    // "operation: detail" - what a message box shows as the description.
    std::wstring description() const;

private:
    long number_;
    std::wstring operation_;
    std::wstring detail_;
};

// Numbers for failures the program detects itself (no platform code behind them).
enum ErrorNumber : long {
    kErrOverflow = 6,           // a 16-bit counter or value out of range
    kErrSubscript = 9,          // an index past the end of a list
    kErrDuplicateKey = 457,     // a keyed list already holds the key
    kErrInvalidName = 52,       // a name that cannot be a file name
    kErrFileAccess = 75,        // a file that cannot be written
    kErrCaptureFailed = 1001,   // the foreign list view could not be read
};

// What the program shows for an error nobody handled: "Error <number>: <description>".
std::wstring errorReport(const Error& e);
// The same for any other exception (its message converted from the ANSI code page).
std::wstring errorReport(const std::exception& e);

// Raised by 16-bit narrowing when a value lies outside -32768..32767.
[[noreturn]] void throwOverflow(const std::wstring& what);

// Narrows a 32-bit value to 16 bits, raising the overflow error outside the range.
std::int16_t narrow16(long value, const std::wstring& what);

}  // namespace zav
