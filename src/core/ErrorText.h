// The text of an error raised for a failed system call, given in parts. The call's error code
// (GetLastError, errno) must be read before anything else runs: building a text allocates, and an
// allocation may reset the code (an allocator that keeps per-thread caches reads thread-local
// storage, and TlsGetValue clears the last error when it succeeds). A text passed whole,
// `throwLastError(L"X " + path)`, is built before the function that takes it can read the code.
// So the raisers take the parts as they are and join them only after the code is read, and a part
// built on the spot (a temporary) does not compile.
#pragma once

#include <string>
#include <type_traits>

namespace zav {

// Whether every part already exists (names a literal, a pointer or a string of the caller's).
template <class... Parts>
inline constexpr bool kErrorTextPartsExist = (std::is_lvalue_reference_v<Parts> && ...);

// The parts one after another (wide literals, wide C strings, wide strings).
template <class... Parts>
std::wstring joinErrorText(const Parts&... parts) {
    std::wstring text;
    (text.append(parts), ...);
    return text;
}

}  // namespace zav
