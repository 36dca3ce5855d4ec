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
inline void deleteFont(HFONT h) noexcept { DeleteObject(h); }
inline void destroyIcon(HICON h) noexcept { DestroyIcon(h); }
inline void unhookWindowsHook(HHOOK h) noexcept { UnhookWindowsHookEx(h); }

using UniqueMenu = UniqueResource<NullHandleTraits<HMENU, destroyMenu>>;
using UniqueFont = UniqueResource<NullHandleTraits<HFONT, deleteFont>>;
using UniqueIcon = UniqueResource<NullHandleTraits<HICON, destroyIcon>>;
using UniqueHook = UniqueResource<NullHandleTraits<HHOOK, unhookWindowsHook>>;

}  // namespace zav
