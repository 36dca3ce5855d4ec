// throwLastError reads the code of the call that failed before it builds the text that names it,
// and the window layer's failing calls report their own code (see core/ErrorText.h).
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "../ResettingAllocation.h"
#include "core/win32/Controls.h"
#include "core/win32/Win32Error.h"
#include "text/Ansi.h"

using namespace zav;
using zavtest::ResettingAllocation;

TEST(LastError, IsReadBeforeTheTextThatNamesTheCallIsBuilt) {
    const std::wstring path = L"C:\\a folder that is not there\\settings.ini";
    ASSERT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    try {
        ResettingAllocation resetting;
        throwLastError(L"GetFileAttributes ", path);
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), static_cast<long>(ERROR_PATH_NOT_FOUND));
        EXPECT_EQ(e.operation(), L"GetFileAttributes " + path) << toAnsi(e.operation());
        EXPECT_EQ(e.detail(), systemMessage(ERROR_PATH_NOT_FOUND));
        return;
    }
    ADD_FAILURE() << "nothing raised";
}

TEST(LastError, AControlOfAClassThatIsNotThereReportsTheSystemsCode) {
    const wchar_t* className = L"ZAVExport.NoSuchControlClass";
    const std::unique_ptr<HWND__, decltype(&DestroyWindow)> window(
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), DestroyWindow);
    HWND parent = window.get();
    ASSERT_NE(parent, nullptr);
    // The code the system gives such a call (Windows and Wine differ on which one it is).
    SetLastError(0);
    ASSERT_EQ(CreateWindowExW(0, className, L"", WS_CHILD, 0, 0, 1, 1, parent, nullptr, nullptr, nullptr), nullptr);
    const DWORD expected = GetLastError();
    ASSERT_NE(expected, 0u);
    try {
        ResettingAllocation resetting;
        win::createControl(parent, className, L"", 0, 0, 1, 0, 0, 100, 100);
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), static_cast<long>(expected));
        EXPECT_EQ(e.operation(), std::wstring(L"CreateWindowEx ") + className) << toAnsi(e.operation());
        return;
    }
    ADD_FAILURE() << "nothing raised";
}
