// The owners of device contexts, GDI objects and selections (core/win32/Handles.h) against the
// real GDI: what they hold is alive while they live and gone (released, deleted, selected back)
// when they end.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "core/win32/Handles.h"

using namespace zav;

TEST(GdiOwnership, ObjectsAndMemoryDCsAreDeletedWhenTheirOwnerEnds) {
    LOGFONTW lf = {};
    lf.lfHeight = 12;
    HGDIOBJ held[4] = {};
    HBRUSH brush = nullptr;
    {
        UniqueBitmap b(CreateBitmap(8, 8, 1, 1, nullptr));
        UniqueBrush r(CreateSolidBrush(RGB(1, 2, 3)));
        UniqueFont f(CreateFontIndirectW(&lf));
        UniqueMemoryDC m(CreateCompatibleDC(nullptr));
        const HGDIOBJ objects[4] = {b.get(), r.get(), f.get(), m.get()};
        const DWORD types[4] = {OBJ_BITMAP, OBJ_BRUSH, OBJ_FONT, OBJ_MEMDC};
        for (int i = 0; i < 4; ++i) {
            held[i] = objects[i];
            ASSERT_EQ(GetObjectType(held[i]), types[i]) << i;
        }
        brush = r.get();
        UniqueBrush taken(std::move(r));  // handed over, an object lives on with its new owner only
        EXPECT_FALSE(r);
        r.reset();
        EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
    }
    for (int i = 0; i < 4; ++i) EXPECT_EQ(GetObjectType(held[i]), 0u) << i;
}

TEST(GdiOwnership, AWindowDCGoesBackToItsWindowOnce) {
    const std::unique_ptr<HWND__, decltype(&DestroyWindow)> window(
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr), DestroyWindow);
    ASSERT_NE(window.get(), nullptr);
    HDC held = nullptr;
    {
        const UniqueWindowDC dc = windowDC(window.get());
        ASSERT_TRUE(dc);
        held = dc.get().dc;
        EXPECT_EQ(dc.get().window, window.get());
        EXPECT_EQ(WindowFromDC(held), window.get());
    }
    EXPECT_EQ(ReleaseDC(window.get(), held), 0) << "the owner released it already";

    const UniqueWindowDC screen = windowDC(nullptr);
    EXPECT_TRUE(screen);
    EXPECT_GT(GetDeviceCaps(screen.get().dc, LOGPIXELSX), 0);
}

TEST(GdiOwnership, ASelectionPutsThePreviousObjectBack) {
    UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    UniqueBitmap bitmap(CreateCompatibleBitmap(dc.get(), 4, 4));
    UniqueBrush brush(CreateSolidBrush(RGB(9, 8, 7)));
    ASSERT_TRUE(bitmap && brush);
    const HGDIOBJ firstBitmap = GetCurrentObject(dc.get(), OBJ_BITMAP);
    const HGDIOBJ firstBrush = GetCurrentObject(dc.get(), OBJ_BRUSH);
    ASSERT_NE(firstBitmap, bitmap.get());
    {
        const UniqueSelection drawing = selectInto(dc.get(), bitmap.get());
        EXPECT_TRUE(drawing);
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), bitmap.get());
        {
            const UniqueSelection painting = selectInto(dc.get(), brush.get());
            EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), brush.get());
        }
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), firstBrush);
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), bitmap.get()) << "the inner one put back only its own";
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), firstBitmap);

    // A selection that failed holds nothing and puts nothing back.
    {
        const UniqueSelection none = selectInto(dc.get(), nullptr);
        EXPECT_FALSE(none);
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), firstBitmap);
}
