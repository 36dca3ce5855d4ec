// The crash message's texts, and the report of an error nobody handled.
#include <gtest/gtest.h>

#include "core/Error.h"
#include "app/CrashMessage.h"

namespace {

TEST(CrashMessage, TextsByExceptionCode) {
    EXPECT_EQ(L"FATAL error => General Protection Fault (Access Violation)\n\nProgram will terminate",
              zav::crashMessage(0xC0000005u));
    EXPECT_EQ(L"General Protection Fault (Stack Overflow", zav::crashDescription(0xC00000FDu));
    EXPECT_EQ(L"General Protection Fault, Error code hC0000094", zav::crashDescription(0xC0000094u));
    // No leading zeros, upper-case digits.
    EXPECT_EQ(L"General Protection Fault, Error code h80000003", zav::crashDescription(0x80000003u));
    EXPECT_EQ(L"General Protection Fault, Error code hABC", zav::crashDescription(0xABCu));
    EXPECT_EQ(L"General Protection Fault, Error code h0", zav::crashDescription(0u));
    EXPECT_EQ(L"Orvek", std::wstring(zav::kCrashTitle));
}

TEST(ErrorReport, NumberAndDescriptionOfOwnAndForeignErrors) {
    const zav::Error own(75, L"Save export type x", L"The export type file cannot be written");
    EXPECT_EQ(L"Error 75: Save export type x: The export type file cannot be written", zav::errorReport(own));
    const std::exception& asBase = own;
    EXPECT_EQ(zav::errorReport(own), zav::errorReport(asBase));
    EXPECT_EQ(L"Error: bad thing", zav::errorReport(std::runtime_error("bad thing")));
}

}  // namespace
