// Small shared vocabulary of the program: 16-bit booleans and the version stamp.
#pragma once

#include <cstdint>

namespace zav {

// Booleans that cross module and class interfaces are 16-bit: true = -1, false = 0.
using VBool = std::int16_t;
constexpr VBool vbTrue = -1;
constexpr VBool vbFalse = 0;

inline VBool toVBool(bool b) { return b ? vbTrue : vbFalse; }

// Program version, written into every configuration file as "major.minor.revision".
constexpr int kVersionMajor = 0;
constexpr int kVersionMinor = 1;
constexpr int kVersionRevision = 3;

}  // namespace zav

namespace zav {
// A window handle as the core sees it, without a Win32 type: an unsigned integer as wide as a
// pointer (64 bits in the 64-bit program), so an HWND converts to it and back unchanged.
using WindowHandle = std::uintptr_t;
}  // namespace zav
