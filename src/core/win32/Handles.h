// The owners of the Windows objects the program holds, all one template (core/UniqueResource.h).
#pragma once

#include <windows.h>

#include "core/UniqueResource.h"

namespace zav {

// Kernel handles: files, processes, mappings. Null and INVALID_HANDLE_VALUE both mean none.
struct KernelHandleTraits {
    using type = HANDLE;
    static type invalid() noexcept { return nullptr; }
    static bool isValid(type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(type h) noexcept { CloseHandle(h); }
};
using UniqueHandle = UniqueResource<KernelHandleTraits>;

// FindFirstFile's handle: INVALID_HANDLE_VALUE means none.
struct FindHandleTraits {
    using type = HANDLE;
    static type invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool isValid(type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(type h) noexcept { FindClose(h); }
};
using UniqueFindHandle = UniqueResource<FindHandleTraits>;

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
