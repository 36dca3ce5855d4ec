// The crash message's texts, and the report of an error nobody handled.
#include <gtest/gtest.h>

#include "core/Error.h"
#include "app/CrashMessage.h"

namespace {

TEST(CrashMessage, TextsByExceptionCode) {
    EXPECT_EQ(L"FATAL error => General Protection Fault (Access Violation)\n\nProgram will terminate",
              zav::crashMessage(0xC0000005u));
    // Other codes in hex without leading zeros, upper-case digits.
    const std::pair<std::uint32_t, const wchar_t*> cases[] = {
        {0xC00000FDu, L" (Stack Overflow"}, {0xC0000094u, L", Error code hC0000094"},
        {0x80000003u, L", Error code h80000003"}, {0xABCu, L", Error code hABC"}, {0u, L", Error code h0"}};
    for (const auto& [code, tail] : cases)
        EXPECT_EQ(L"General Protection Fault" + std::wstring(tail), zav::crashDescription(code)) << code;
}

TEST(ErrorReport, NumberAndDescriptionOfOwnAndForeignErrors) {
    const zav::Error own(75, L"Save export type x", L"The export type file cannot be written");
    EXPECT_EQ(L"Error 75: Save export type x: The export type file cannot be written", zav::errorReport(own));
    const std::exception& asBase = own;
    EXPECT_EQ(zav::errorReport(own), zav::errorReport(asBase));
    EXPECT_EQ(L"Error: bad thing", zav::errorReport(std::runtime_error("bad thing")));
}

}  // namespace
