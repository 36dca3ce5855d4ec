// The request descriptors of the list-view messages as the list view's process lays them out.
// They are written into that process's memory, so their layout is the one of the target's word
// size, not of this program: each layout is spelled out with fixed-width fields, and the source
// picks one per target process (a 64-bit program reads 32-bit and 64-bit targets alike).
#pragma once

#include <cstddef>
#include <cstdint>

namespace zav {
namespace lvlayout {

constexpr std::uint32_t kLvifText = 0x0001;  // LVIF_TEXT
constexpr std::uint32_t kLvifParam = 0x0004; // LVIF_PARAM
constexpr std::uint32_t kLvcfText = 0x0004;  // LVCF_TEXT

constexpr unsigned kLvmGetItemCount = 0x1004;    // LVM_GETITEMCOUNT
constexpr unsigned kLvmGetNextItem = 0x100C;     // LVM_GETNEXTITEM
constexpr unsigned kLvniSelected = 0x0002;       // LVNI_SELECTED
constexpr unsigned kLvmGetColumnA = 0x1019;      // LVM_GETCOLUMNA
constexpr unsigned kLvmGetColumnWidth = 0x101D;  // LVM_GETCOLUMNWIDTH
constexpr unsigned kLvmGetColumnOrderArray = 0x103B;  // LVM_GETCOLUMNORDERARRAY
constexpr unsigned kLvmGetHeader = 0x101F;       // LVM_GETHEADER
constexpr unsigned kLvmGetItemTextA = 0x102D;    // LVM_GETITEMTEXTA
constexpr unsigned kHdmGetItemCount = 0x1200;    // HDM_GETITEMCOUNT
constexpr unsigned kLvmGetColumnW = 0x105F;      // LVM_GETCOLUMNW
constexpr unsigned kLvmGetItemTextW = 0x1073;    // LVM_GETITEMTEXTW
constexpr unsigned kLvmGetItemA = 0x1005;        // LVM_GETITEMA
constexpr unsigned kLvmGetItemW = 0x104B;        // LVM_GETITEMW

// How texts travel in the messages: 8-bit text of the ANSI code page (the A messages, all the 9x
// family has) or UTF-16 (the W messages). Lengths and cchTextMax count units of `Unit`.
struct AnsiTexts {
    using Unit = char;
    static constexpr unsigned kGetItemText = kLvmGetItemTextA;
    static constexpr unsigned kGetItem = kLvmGetItemA;
    static constexpr unsigned kGetColumn = kLvmGetColumnA;
};
struct WideTexts {
    using Unit = char16_t;
    static constexpr unsigned kGetItemText = kLvmGetItemTextW;
    static constexpr unsigned kGetItem = kLvmGetItemW;
    static constexpr unsigned kGetColumn = kLvmGetColumnW;
};

// LVITEMA and LVCOLUMNA of a process whose pointers are `PointerType`: every pointer field is
// aligned to its own size, as that process's compiler lays it out.
template <class PointerType>
struct Layout {
    using Pointer = PointerType;

    struct Item {  // LVITEMA up to and with iIndent
        std::uint32_t mask;
        std::int32_t iItem;
        std::int32_t iSubItem;
        std::uint32_t state;
        std::uint32_t stateMask;
        alignas(sizeof(Pointer)) Pointer pszText;
        std::int32_t cchTextMax;
        std::int32_t iImage;
        alignas(sizeof(Pointer)) Pointer lParam;
        std::int32_t iIndent;
    };

    struct Column {  // LVCOLUMNA up to and with iOrder, then one word sent as 0
        std::uint32_t mask;
        std::int32_t fmt;
        std::int32_t cx;
        alignas(sizeof(Pointer)) Pointer pszText;
        std::int32_t cchTextMax;
        std::int32_t iSubItem;
        std::int32_t iImage;
        std::int32_t iOrder;
        alignas(sizeof(Pointer)) Pointer reserved;
    };
};

using Layout32 = Layout<std::uint32_t>;
using Layout64 = Layout<std::uint64_t>;

static_assert(sizeof(Layout32::Item) == 40, "LVITEMA of a 32-bit process: ten 32-bit fields");
static_assert(offsetof(Layout32::Item, pszText) == 20, "LVITEMA.pszText of a 32-bit process");
static_assert(offsetof(Layout32::Item, lParam) == 32, "LVITEMA.lParam of a 32-bit process");
static_assert(sizeof(Layout32::Column) == 36, "LVCOLUMNA as sent to a 32-bit process");
static_assert(offsetof(Layout32::Column, pszText) == 12, "LVCOLUMNA.pszText of a 32-bit process");

static_assert(sizeof(Layout64::Item) == 56, "LVITEMA of a 64-bit process");
static_assert(offsetof(Layout64::Item, pszText) == 24, "LVITEMA.pszText of a 64-bit process");
static_assert(offsetof(Layout64::Item, cchTextMax) == 32, "LVITEMA.cchTextMax of a 64-bit process");
static_assert(offsetof(Layout64::Item, lParam) == 40, "LVITEMA.lParam of a 64-bit process");
static_assert(offsetof(Layout64::Item, iIndent) == 48, "LVITEMA.iIndent of a 64-bit process");
static_assert(sizeof(Layout64::Column) == 48, "LVCOLUMNA as sent to a 64-bit process");
static_assert(offsetof(Layout64::Column, pszText) == 16, "LVCOLUMNA.pszText of a 64-bit process");
static_assert(offsetof(Layout64::Column, iSubItem) == 28, "LVCOLUMNA.iSubItem of a 64-bit process");

// The list view's descriptors and texts, as a source picks them for its target (forTarget).
struct ListView {
    using Layout32 = lvlayout::Layout32;
    using Layout64 = lvlayout::Layout64;
    using AnsiTexts = lvlayout::AnsiTexts;
    using WideTexts = lvlayout::WideTexts;
};

}  // namespace lvlayout
}  // namespace zav
