// The owners of the Windows objects the program holds, all one template (core/UniqueResource.h).
#pragma once

#include <windows.h>

#include "core/UniqueResource.h"

namespace zav {

// Handles for which both null and INVALID_HANDLE_VALUE mean none; an empty owner holds `Empty`'s
// choice of the two (FindFirstFile answers INVALID_HANDLE_VALUE, most calls null).
template <BOOL(WINAPI* Close)(HANDLE), bool EmptyIsInvalidValue>
struct KernelHandleTraits {
    using type = HANDLE;
    static type invalid() noexcept { return EmptyIsInvalidValue ? INVALID_HANDLE_VALUE : nullptr; }
    static bool isValid(type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(type h) noexcept { Close(h); }
};
// Files, processes, mappings.
using UniqueHandle = UniqueResource<KernelHandleTraits<CloseHandle, false>>;
using UniqueFindHandle = UniqueResource<KernelHandleTraits<FindClose, true>>;

// A view of a file mapping.
struct MappedViewTraits {
    using type = void*;
    static type invalid() noexcept { return nullptr; }
    static bool isValid(type p) noexcept { return p != nullptr; }
    static void close(type p) noexcept { UnmapViewOfFile(p); }
};
using UniqueMappedView = UniqueResource<MappedViewTraits>;

inline void destroyMenu(HMENU h) noexcept { DestroyMenu(h); }
inline void destroyIcon(HICON h) noexcept { DestroyIcon(h); }
inline void unhookWindowsHook(HHOOK h) noexcept { UnhookWindowsHookEx(h); }
// Fonts, bitmaps and brushes are all GDI objects, deleted alike.
template <class GdiObject>
void deleteGdiObject(GdiObject h) noexcept {
    DeleteObject(h);
}
inline void deleteMemoryDC(HDC h) noexcept { DeleteDC(h); }

using UniqueMenu = UniqueResource<NullHandleTraits<HMENU, destroyMenu>>;
using UniqueIcon = UniqueResource<NullHandleTraits<HICON, destroyIcon>>;
using UniqueHook = UniqueResource<NullHandleTraits<HHOOK, unhookWindowsHook>>;
using UniqueFont = UniqueResource<NullHandleTraits<HFONT, deleteGdiObject<HFONT>>>;
using UniqueBitmap = UniqueResource<NullHandleTraits<HBITMAP, deleteGdiObject<HBITMAP>>>;
using UniqueBrush = UniqueResource<NullHandleTraits<HBRUSH, deleteGdiObject<HBRUSH>>>;
// A device context of our own (CreateCompatibleDC), deleted with DeleteDC.
using UniqueMemoryDC = UniqueResource<NullHandleTraits<HDC, deleteMemoryDC>>;

// A window's device context (GetDC) goes back to that window (ReleaseDC), so the owner keeps both.
struct WindowDC {
    HWND window = nullptr;
    HDC dc = nullptr;
};
inline bool holdsDC(WindowDC v) noexcept { return v.dc != nullptr; }
inline void releaseWindowDC(WindowDC v) noexcept { ReleaseDC(v.window, v.dc); }
using UniqueWindowDC = UniqueResource<ValueTraits<WindowDC, holdsDC, releaseWindowDC>>;
// GetDC(window) in its owner (null: the screen's); empty when the system gives none.
inline UniqueWindowDC windowDC(HWND window) { return UniqueWindowDC(WindowDC{window, GetDC(window)}); }

// An object selected into a device context, with the one it replaced: closing selects that one
// back. A DC must hold its original objects again before it is deleted or released, and an
// object must leave the DC before it can be deleted. Not for regions, for which SelectObject
// answers a region's complexity instead of an object.
struct Selection {
    HDC dc = nullptr;
    HGDIOBJ previous = nullptr;
};
inline bool madeSelection(Selection v) noexcept { return v.previous != nullptr && v.previous != HGDI_ERROR; }
inline void selectPrevious(Selection v) noexcept { SelectObject(v.dc, v.previous); }
using UniqueSelection = UniqueResource<ValueTraits<Selection, madeSelection, selectPrevious>>;
// Selects `object` into `dc` until the owner ends; empty when the selection failed.
[[nodiscard]] inline UniqueSelection selectInto(HDC dc, HGDIOBJ object) {
    return UniqueSelection(Selection{dc, SelectObject(dc, object)});
}

}  // namespace zav
