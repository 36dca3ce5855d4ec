#include "capture/win32/TreeViewSource.h"

#include <algorithm>
#include <type_traits>
#include <unordered_set>

#include <commctrl.h>

namespace zav {
namespace {

constexpr unsigned kTvmGetNextItem = 0x110A;  // TVM_GETNEXTITEM
constexpr unsigned kTvmGetCount = 0x1105;     // TVM_GETCOUNT
constexpr unsigned kTvmGetItemState = 0x1127; // TVM_GETITEMSTATE: the state as the answer
constexpr LONG kTvsCheckBoxes = 0x0100;       // TVS_CHECKBOXES
constexpr WPARAM kTvgnRoot = 0x0000;          // TVGN_ROOT
constexpr WPARAM kTvgnNext = 0x0001;          // TVGN_NEXT
constexpr WPARAM kTvgnChild = 0x0004;         // TVGN_CHILD
constexpr std::uint32_t kTvifText = 0x0001;   // TVIF_TEXT
constexpr std::uint32_t kTvifHandle = 0x0010; // TVIF_HANDLE

// How texts travel in TVM_GETITEM: 8-bit text of the ANSI code page or UTF-16.
struct AnsiTexts {
    using Unit = char;
    static constexpr unsigned kGetItem = 0x110C;  // TVM_GETITEMA
};
struct WideTexts {
    using Unit = char16_t;
    static constexpr unsigned kGetItem = 0x113E;  // TVM_GETITEMW
};

// TVITEM of a process whose pointers are `PointerType`, every pointer field aligned to its own
// size as that process's compiler lays it out: it is written into that process's memory.
template <class PointerType>
struct TreeLayout {
    struct Item {
        std::uint32_t mask;
        alignas(sizeof(PointerType)) PointerType hItem;
        std::uint32_t state;
        std::uint32_t stateMask;
        alignas(sizeof(PointerType)) PointerType pszText;
        std::int32_t cchTextMax;
        std::int32_t iImage;
        std::int32_t iSelectedImage;
        std::int32_t cChildren;
        alignas(sizeof(PointerType)) PointerType lParam;
    };
};
using TreeLayout32 = TreeLayout<std::uint32_t>;
using TreeLayout64 = TreeLayout<std::uint64_t>;

static_assert(sizeof(TreeLayout32::Item) == 40, "TVITEM of a 32-bit process: ten 32-bit fields");
static_assert(offsetof(TreeLayout32::Item, pszText) == 16, "TVITEM.pszText of a 32-bit process");
static_assert(sizeof(TreeLayout64::Item) == 56, "TVITEM of a 64-bit process");
static_assert(offsetof(TreeLayout64::Item, hItem) == 8, "TVITEM.hItem of a 64-bit process");
static_assert(offsetof(TreeLayout64::Item, pszText) == 24, "TVITEM.pszText of a 64-bit process");
static_assert(offsetof(TreeLayout64::Item, cchTextMax) == 32, "TVITEM.cchTextMax of a 64-bit process");
static_assert(offsetof(TreeLayout64::Item, lParam) == 48, "TVITEM.lParam of a 64-bit process");

// The layout of this program's own word size must be the system's own descriptor.
using OwnItem = std::conditional_t<kProgramWordSize == 64, TreeLayout64::Item, TreeLayout32::Item>;
static_assert(sizeof(TVITEMW) == sizeof(OwnItem), "TVITEMW layout");
static_assert(offsetof(TVITEMW, hItem) == offsetof(OwnItem, hItem), "TVITEMW layout");
static_assert(offsetof(TVITEMW, pszText) == offsetof(OwnItem, pszText), "TVITEMW layout");
static_assert(offsetof(TVITEMW, cchTextMax) == offsetof(OwnItem, cchTextMax), "TVITEMW layout");
static_assert(offsetof(TVITEMW, lParam) == offsetof(OwnItem, lParam), "TVITEMW layout");

// The tree's descriptors and texts, as the source picks them for its target (forTarget).
struct TreeView {
    using Layout32 = TreeLayout32;
    using Layout64 = TreeLayout64;
    using AnsiTexts = zav::AnsiTexts;
    using WideTexts = zav::WideTexts;
};

// The texts of items (TVM_GETITEM): the tree answers whether it knows the item.
template <class Texts, class Step>
struct ItemRequests {
    static constexpr TextAnswer kAnswer = TextAnswer::Known;
    const Step* steps;
    TextMessage message(std::size_t) const { return {Texts::kGetItem, 0}; }
    template <class Item>
    void fill(std::size_t i, Item& descriptor) const {
        descriptor.mask = kTvifText | kTvifHandle;
        descriptor.hItem = static_cast<decltype(descriptor.hItem)>(steps[i].item);
    }
};

}  // namespace

std::unique_ptr<TreeViewSource> TreeViewSource::open(const GridTarget& target, const CaptureOptions& options) {
    return std::unique_ptr<TreeViewSource>(new TreeViewSource(target, options));
}

TreeViewSource::TreeViewSource(const GridTarget& target, const CaptureOptions& options)
    : RemoteControl(target, options, kBlockTextLength, false) {
    // The single buffer starts one unit larger than a block's room: a text that filled its room
    // there fits it.
    if (openInTarget(kBlockTextLength + 1)) makeBlock(sizeof(TreeLayout64::Item));
}

VBool TreeViewSource::readListViewInfo(ListViewInfo& info) {
    taken_ = false;
    itemCount_ = 0;
    walk_ = Walk{};
    forgetEnd();
    info.lItemCount = 0;
    info.lColumnCount = 0;
    startRecord(info, ControlKind::TreeView);
    if (!IsWindow(window())) {
        note(CaptureFailure::NoWindow);
        return vbFalse;
    }
    if (failure() != CaptureFailure::None) return vbFalse;

    LRESULT count = 0;
    if (!send(kTvmGetCount, 0, 0, count)) return vbFalse;
    taken_ = true;
    // The count is an unsigned number of items; more than a row number holds is not believed.
    const auto items = static_cast<std::uint32_t>(count);
    itemCount_ = static_cast<std::int32_t>(std::min<std::uint32_t>(items, 0x7FFFFFFF));

    const ScreenRect rc = windowRect();
    info.rcWindow = rc;
    info.lView = 1;  // read as a report: one row an item
    info.lItemCount = itemCount_;
    info.lColumnCount = 3;
    const std::int32_t width = rc.right - rc.left;
    info.lColumnWidth = {0, width, 48, width};
    info.szColumnText = {std::wstring(), kItemColumn, kLevelColumn, kPathColumn};
    info.checkBoxes = (GetWindowLongW(window(), GWL_STYLE) & kTvsCheckBoxes) != 0;
    return vbTrue;
}

std::wstring TreeViewSource::getColumnText(std::int32_t lColumn) {
    if (!taken_) return {};
    switch (lColumn) {
        case 1: return kItemColumn;
        case 2: return kLevelColumn;
        case 3: return kPathColumn;
        default: return {};
    }
}

std::wstring TreeViewSource::getCellText(std::int32_t lRow, std::int32_t lColumn) {
    if (lColumn < 1 || lColumn > 3) return {};
    std::vector<std::wstring> cells;
    if (!readCells(lRow, 1, 3, cells)) return {};
    return cells[static_cast<std::size_t>(lColumn - 1)];
}

std::uint64_t TreeViewSource::nextItem(WPARAM flag, std::uint64_t item) {
    LRESULT r = 0;
    if (!send(kTvmGetNextItem, flag, static_cast<LPARAM>(item), r)) return 0;
    // A 32-bit tree's handle is a 32-bit pointer, whatever the system made of it on its way here.
    const std::uint64_t handle = static_cast<std::uint64_t>(static_cast<std::uintptr_t>(r));
    return targetWordSize() == 32 ? (handle & 0xFFFFFFFFu) : handle;
}

void TreeViewSource::restartWalk() {
    walk_ = Walk{};
    walk_.started = true;
    seen_.clear();
    walk_.next = nextItem(kTvgnRoot, 0);
}

bool TreeViewSource::walk(std::size_t count) {
    steps_.clear();
    while (steps_.size() < count && walk_.next != 0 &&
           walk_.rowsGiven + static_cast<std::int32_t>(steps_.size()) < itemCount_) {
        const std::uint64_t item = walk_.next;
        // An item that comes again would start the walk over a part it has given: the tree's
        // answers contradict each other, and nothing read from it is believed.
        if (!seen_.insert(item).second) {
            CaptureDetail detail;
            detail.row = walk_.rowsGiven + static_cast<std::int32_t>(steps_.size()) + 1;
            note(CaptureFailure::TreeLoop, detail);
            return false;
        }
        steps_.push_back(Step{item, walk_.level});
        // Depth first: the first child, else the next sibling of the item or of the nearest item
        // above it that has one.
        const std::uint64_t child = nextItem(kTvgnChild, item);
        if (stopped()) return false;
        if (child != 0) {
            walk_.parents.push_back(item);
            walk_.next = child;
            ++walk_.level;
            continue;
        }
        std::uint64_t at = item;
        for (;;) {
            const std::uint64_t sibling = nextItem(kTvgnNext, at);
            if (stopped()) return false;
            if (sibling != 0) {
                walk_.next = sibling;
                break;
            }
            if (walk_.parents.empty()) {
                walk_.next = 0;
                break;
            }
            at = walk_.parents.back();
            walk_.parents.pop_back();
            --walk_.level;
        }
    }
    return true;
}

bool TreeViewSource::readTexts() {
    texts_.assign(steps_.size(), std::wstring());
    for (std::size_t first = 0; first < steps_.size(); first += kBlockItems) {
        const std::size_t count = std::min(kBlockItems, steps_.size() - first);
        const bool read = forTarget<TreeView>([&](auto layout, auto texts) {
            const ItemRequests<decltype(texts), Step> requests{&steps_[first]};
            return readTextBlock<typename decltype(layout)::Item, decltype(texts)>(requests, count, &texts_[first]);
        });
        if (!read) return false;
    }
    return true;
}

bool TreeViewSource::readCells(std::int32_t firstRow, std::int32_t rowCount, std::int32_t columnCount,
                               std::vector<std::wstring>& cells) {
    const std::size_t rows = rowCount > 0 ? static_cast<std::size_t>(rowCount) : 0;
    const std::size_t columns = columnCount > 0 ? static_cast<std::size_t>(columnCount) : 0;
    cells.assign(rows * columns, std::wstring());
    if (!canRequestTexts() || failure() != CaptureFailure::None || firstRow < 1) return false;
    if (rows == 0) return true;

    // A row behind the walk: from the first root again (the rows before it give the path).
    if (!walk_.started || firstRow <= walk_.rowsGiven) restartWalk();
    if (stopped()) return false;
    readItems_.clear();
    readFirst_ = firstRow;
    std::wstring joined;
    std::size_t row = 0;  // of the cells asked for
    while (row < rows) {
        const std::int32_t skip = std::max<std::int32_t>(0, firstRow - 1 - walk_.rowsGiven);
        const std::size_t want = skip > 0 ? std::min<std::size_t>(kBlockItems, static_cast<std::size_t>(skip))
                                          : std::min(kBlockItems, rows - row);
        if (!walk(want) || !readTexts()) return false;
        if (steps_.empty()) {
            // The walk found the tree's end before its count: the rows end here.
            noteEnded(walk_.rowsGiven);
            return true;
        }
        for (std::size_t i = 0; i < steps_.size(); ++i) {
            const std::int32_t level = steps_[i].level;
            walk_.path.resize(static_cast<std::size_t>(level - 1));
            walk_.path.push_back(texts_[i]);
            ++walk_.rowsGiven;
            if (skip > 0) continue;
            readItems_.push_back(steps_[i].item);
            std::wstring* out = cells.data() + row * columns;
            if (columns >= 1) out[0] = texts_[i];
            if (columns >= 2) out[1] = std::to_wstring(level);
            if (columns >= 3) {
                joined.clear();
                for (std::size_t p = 0; p < walk_.path.size(); ++p) {
                    if (p > 0) joined += kPathSeparator;
                    joined += walk_.path[p];
                }
                out[2] = joined;
            }
            ++row;
        }
    }
    return true;
}

bool TreeViewSource::readCheckMarks(std::int32_t firstRow, std::int32_t rowCount, std::vector<char>& checked) {
    const std::size_t rows = rowCount > 0 ? static_cast<std::size_t>(rowCount) : 0;
    checked.assign(rows, 0);
    if (!canRequestTexts() || failure() != CaptureFailure::None || firstRow < 1) return false;
    if (rows == 0) return true;
    // The items of those rows: the last read's, or a walk to them.
    if (readFirst_ != firstRow || readItems_.size() < rows) {
        std::vector<std::wstring> cells;
        if (!readCells(firstRow, rowCount, 1, cells)) return false;
    }
    // The state comes back as the answer: nothing is copied between the processes.
    for (std::size_t r = 0; r < rows && r < readItems_.size(); ++r) {
        LRESULT state = 0;
        if (!send(kTvmGetItemState, static_cast<WPARAM>(readItems_[r]), TVIS_STATEIMAGEMASK, state)) return false;
        checked[r] = ((static_cast<std::uint32_t>(state) & TVIS_STATEIMAGEMASK) >> 12) == 2;
    }
    return true;
}

}  // namespace zav
