#include "capture/win32/TreeViewCapture.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include <commctrl.h>

#include "capture/win32/ListViewLayouts.h"
#include "capture/win32/RemoteText.h"
#include "capture/win32/WindowText.h"

namespace zav {
namespace {

using lvlayout::AnsiTexts;
using lvlayout::kDescriptorArea;
using lvlayout::WideTexts;
using remote_text::decode;
using remote_text::textLength;

constexpr unsigned kTvmGetNextItem = 0x110A;  // TVM_GETNEXTITEM
constexpr unsigned kTvmGetCount = 0x1105;     // TVM_GETCOUNT
constexpr unsigned kTvmGetItemState = 0x1127; // TVM_GETITEMSTATE: the state as the answer
constexpr LONG kTvsCheckBoxes = 0x0100;       // TVS_CHECKBOXES
constexpr unsigned kTvmGetItemA = 0x110C;     // TVM_GETITEMA
constexpr unsigned kTvmGetItemW = 0x113E;     // TVM_GETITEMW
constexpr WPARAM kTvgnRoot = 0x0000;          // TVGN_ROOT
constexpr WPARAM kTvgnNext = 0x0001;          // TVGN_NEXT
constexpr WPARAM kTvgnChild = 0x0004;         // TVGN_CHILD
constexpr std::uint32_t kTvifText = 0x0001;   // TVIF_TEXT
constexpr std::uint32_t kTvifHandle = 0x0010; // TVIF_HANDLE

constexpr unsigned getItemMessage(AnsiTexts) { return kTvmGetItemA; }
constexpr unsigned getItemMessage(WideTexts) { return kTvmGetItemW; }

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
static_assert(sizeof(TreeLayout64::Item) <= kDescriptorArea, "a descriptor fits before the single text");

// The layout of this program's own word size must be the system's own descriptor.
using OwnItem = std::conditional_t<kProgramWordSize == 64, TreeLayout64::Item, TreeLayout32::Item>;
static_assert(sizeof(TVITEMW) == sizeof(OwnItem), "TVITEMW layout");
static_assert(offsetof(TVITEMW, hItem) == offsetof(OwnItem, hItem), "TVITEMW layout");
static_assert(offsetof(TVITEMW, pszText) == offsetof(OwnItem, pszText), "TVITEMW layout");
static_assert(offsetof(TVITEMW, cchTextMax) == offsetof(OwnItem, cchTextMax), "TVITEMW layout");
static_assert(offsetof(TVITEMW, lParam) == offsetof(OwnItem, lParam), "TVITEMW layout");

// The block's layout: kBlockItems descriptors, then a room of kBlockTextLength units an item.
template <class Item, class Texts>
struct TextRooms {
    static constexpr std::size_t room = static_cast<std::size_t>(TreeViewCapture::kBlockTextLength);  // units
    static constexpr std::size_t textsAt = TreeViewCapture::kBlockItems * sizeof(Item);
    static constexpr std::size_t textAt(std::size_t i) { return textsAt + i * room * sizeof(typename Texts::Unit); }
    static constexpr std::size_t size = textAt(TreeViewCapture::kBlockItems);
};

constexpr std::size_t kLargestBlock = TextRooms<TreeLayout64::Item, WideTexts>::size;

}  // namespace

std::unique_ptr<TreeViewCapture> TreeViewCapture::open(const GridTarget& target, const CaptureOptions& options) {
    return std::unique_ptr<TreeViewCapture>(new TreeViewCapture(target, options));
}

TreeViewCapture::TreeViewCapture(const GridTarget& target, const CaptureOptions& options)
    : options_(options), className_(target.className) {
    const HWND hWnd = reinterpret_cast<HWND>(target.window);
    settleCaptureOptions(options_, kBlockTextLength);
    unitSize_ = *options_.wideTexts ? sizeof(WideTexts::Unit) : sizeof(AnsiTexts::Unit);
    RemoteTarget remote;
    const CaptureFailure opening = openRemoteTarget(hWnd, *options_.mechanism, remote);
    opened_ = hWnd;
    processId_ = remote.processId;
    targetBits_ = remote.bits;
    process_ = remote.process;
    if (opening != CaptureFailure::None) {
        note(opening);
        return;
    }
    block_ = allocateInTarget(kLargestBlock);
    if (!block_ || !makeTextBlock(kBlockTextLength + 1)) note(CaptureFailure::NoBuffers);
}

TreeViewCapture::~TreeViewCapture() {
    remoteFree(block_);
    remoteFree(single_);
}

RemoteBuffer TreeViewCapture::allocateInTarget(std::size_t length) {
    RemoteBuffer block = *options_.mechanism == RemoteMechanism::SharedMapping
                             ? RemoteBuffer::allocateShared(length)
                             : RemoteBuffer::allocate(process_, length);
    // A 32-bit target sees only the low 4 GiB: a block above would be out of its reach.
    if (block && targetBits_ == 32 && block.address() + length - 1 > 0xFFFFFFFFu) block.free();
    return block;
}

bool TreeViewCapture::makeTextBlock(std::int32_t cchText) {
    RemoteBuffer block = allocateInTarget(kDescriptorArea + static_cast<std::size_t>(cchText) * unitSize_);
    if (!block) return false;
    single_ = std::move(block);
    cchText_ = cchText;
    return true;
}

void TreeViewCapture::note(CaptureFailure f) {
    if (failure_ == CaptureFailure::None) failure_ = f;
}

void TreeViewCapture::noteCopyFailure() {
    if (hTree_ && !IsWindow(hTree_)) {
        note(CaptureFailure::TargetGone);
        stopped_ = true;
    } else {
        note(CaptureFailure::NoBuffers);
    }
}

bool TreeViewCapture::send(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    if (stopped_ || hTree_ == nullptr) return false;
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutA(hTree_, msg, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK, options_.timeoutMs, &answer)) {
        result = static_cast<LRESULT>(answer);
        return true;
    }
    // Hung or gone: every further message would wait as long again or fail, so reading stops.
    note(IsWindow(hTree_) ? CaptureFailure::TargetHung : CaptureFailure::TargetGone);
    stopped_ = true;
    return false;
}

bool TreeViewCapture::usable() const {
    return hTree_ != nullptr && hTree_ == opened_ && block_ && single_ && !stopped_;
}

VBool TreeViewCapture::readListViewInfo(ListViewInfo& info) {
    hTree_ = nullptr;
    itemCount_ = 0;
    walk_ = Walk{};
    info.lItemCount = 0;
    info.lColumnCount = 0;
    info.lColumnWidth.clear();
    info.szColumnText.clear();
    info.lColumnOrder.clear();
    info.hWnd = reinterpret_cast<WindowHandle>(opened_);
    info.kind = ControlKind::TreeView;
    info.szClassName = className_;
    const HWND hWnd = opened_;
    if (!IsWindow(hWnd)) {
        note(CaptureFailure::NoWindow);
        return vbFalse;
    }
    if (failure_ != CaptureFailure::None) return vbFalse;
    hTree_ = hWnd;

    LRESULT count = 0;
    if (!send(kTvmGetCount, 0, 0, count)) {
        hTree_ = nullptr;
        return vbFalse;
    }
    // The count is an unsigned number of items; more than a row number holds is not believed.
    const auto items = static_cast<std::uint32_t>(count);
    itemCount_ = static_cast<std::int32_t>(std::min<std::uint32_t>(items, 0x7FFFFFFF));

    RECT rc = {};
    GetWindowRect(hTree_, &rc);
    info.rcWindow = ScreenRect{rc.left, rc.top, rc.right, rc.bottom};
    info.lView = 1;  // read as a report: one row an item
    info.lItemCount = itemCount_;
    info.lColumnCount = 3;
    const std::int32_t width = rc.right - rc.left;
    info.lColumnWidth = {0, width, 48, width};
    info.szColumnText = {std::wstring(), kItemColumn, kLevelColumn, kPathColumn};
    info.checkBoxes = (GetWindowLongW(hTree_, GWL_STYLE) & kTvsCheckBoxes) != 0;
    return vbTrue;
}

std::wstring TreeViewCapture::getColumnText(std::int32_t lColumn) {
    if (hTree_ == nullptr) return {};
    switch (lColumn) {
        case 1: return kItemColumn;
        case 2: return kLevelColumn;
        case 3: return kPathColumn;
        default: return {};
    }
}

std::wstring TreeViewCapture::getCellText(std::int32_t lRow, std::int32_t lColumn) {
    if (lColumn < 1 || lColumn > 3) return {};
    std::vector<std::wstring> cells;
    if (!readCells(lRow, 1, 3, cells)) return {};
    return cells[static_cast<std::size_t>(lColumn - 1)];
}

std::uint64_t TreeViewCapture::nextItem(WPARAM flag, std::uint64_t item) {
    LRESULT r = 0;
    if (!send(kTvmGetNextItem, flag, static_cast<LPARAM>(item), r)) return 0;
    // A 32-bit tree's handle is a 32-bit pointer, whatever the system made of it on its way here.
    const std::uint64_t handle = static_cast<std::uint64_t>(static_cast<std::uintptr_t>(r));
    return targetBits_ == 32 ? (handle & 0xFFFFFFFFu) : handle;
}

void TreeViewCapture::restartWalk() {
    walk_ = Walk{};
    walk_.started = true;
    walk_.next = nextItem(kTvgnRoot, 0);
}

bool TreeViewCapture::walk(std::size_t count) {
    steps_.clear();
    while (steps_.size() < count && walk_.next != 0 &&
           walk_.rowsGiven + static_cast<std::int32_t>(steps_.size()) < itemCount_) {
        const std::uint64_t item = walk_.next;
        steps_.push_back(Step{item, walk_.level});
        // Depth first: the first child, else the next sibling of the item or of the nearest item
        // above it that has one.
        const std::uint64_t child = nextItem(kTvgnChild, item);
        if (stopped_) return false;
        if (child != 0) {
            walk_.parents.push_back(item);
            walk_.next = child;
            ++walk_.level;
            continue;
        }
        std::uint64_t at = item;
        for (;;) {
            const std::uint64_t sibling = nextItem(kTvgnNext, at);
            if (stopped_) return false;
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

template <class Request>
auto TreeViewCapture::forTarget(Request&& request) {
    if (targetBits_ == 64) {
        if (*options_.wideTexts) return request(TreeLayout64{}, WideTexts{});
        return request(TreeLayout64{}, AnsiTexts{});
    }
    if (*options_.wideTexts) return request(TreeLayout32{}, WideTexts{});
    return request(TreeLayout32{}, AnsiTexts{});
}

bool TreeViewCapture::readTexts() {
    texts_.assign(steps_.size(), std::wstring());
    for (std::size_t first = 0; first < steps_.size(); first += kBlockItems) {
        const std::size_t count = std::min(kBlockItems, steps_.size() - first);
        const bool read = forTarget([&](auto layout, auto texts) {
            using Layout = decltype(layout);
            return readTextBlock<typename Layout::Item, decltype(texts)>(first, count);
        });
        if (!read) return false;
    }
    return true;
}

template <class Item, class Texts>
bool TreeViewCapture::readTextBlock(std::size_t first, std::size_t count) {
    using Rooms = TextRooms<Item, Texts>;
    using Pointer = decltype(Item{}.pszText);
    const std::uintptr_t base = block_.address();
    // The descriptors and empty rooms in one copy: an item that answers without writing its
    // text leaves its room empty, never the text of an earlier block.
    scratch_.assign(Rooms::textAt(count), '\0');
    for (std::size_t i = 0; i < count; ++i) {
        Item item = {};
        item.mask = kTvifText | kTvifHandle;
        item.hItem = static_cast<Pointer>(steps_[first + i].item);
        item.pszText = static_cast<Pointer>(base + Rooms::textAt(i));
        item.cchTextMax = static_cast<std::int32_t>(Rooms::room);
        std::memcpy(&scratch_[i * sizeof(Item)], &item, sizeof item);
    }
    if (!remoteWrite(block_, 0, scratch_.data(), scratch_.size())) {
        noteCopyFailure();
        return false;
    }
    std::vector<bool> answered(count, false);
    for (std::size_t i = 0; i < count; ++i) {
        LRESULT r = 0;
        if (!send(getItemMessage(Texts{}), 0, static_cast<LPARAM>(base + i * sizeof(Item)), r)) return false;
        answered[i] = r != 0;
    }
    if (!remoteRead(block_, 0, &scratch_[0], scratch_.size())) {
        noteCopyFailure();
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (!answered[i]) continue;  // an item that went away since the walk passed it
        Item back;
        std::memcpy(&back, &scratch_[i * sizeof(Item)], sizeof back);
        std::wstring& text = texts_[first + i];
        if (back.pszText != static_cast<Pointer>(base + Rooms::textAt(i))) {
            // Answered from the program's own memory, which the next items' answers may change:
            // asked again alone.
            if (!readWholeText<Item, Texts>(steps_[first + i].item, text)) return false;
            continue;
        }
        const char* units = scratch_.data() + Rooms::textAt(i);
        const std::size_t n = textLength<Texts>(units, Rooms::room);
        if (n + 1 < Rooms::room) {
            text = decode(Texts{}, units, n);
        } else if (!readWholeText<Item, Texts>(steps_[first + i].item, text)) {
            return false;  // it filled its room and may have been cut: asked again with more
        }
    }
    return true;
}

template <class Item, class Texts>
bool TreeViewCapture::readWholeText(std::uint64_t item, std::wstring& text) {
    using Unit = typename Texts::Unit;
    using Pointer = decltype(Item{}.pszText);
    text.clear();
    for (;;) {
        Item descriptor = {};
        descriptor.mask = kTvifText | kTvifHandle;
        descriptor.hItem = static_cast<Pointer>(item);
        descriptor.pszText = static_cast<Pointer>(single_.address() + kDescriptorArea);
        descriptor.cchTextMax = cchText_;
        std::string local(kDescriptorArea + sizeof(Unit), '\0');
        std::memcpy(&local[0], &descriptor, sizeof descriptor);
        if (!remoteWrite(single_, 0, local.data(), local.size())) {
            noteCopyFailure();
            return false;
        }
        LRESULT r = 0;
        if (!send(getItemMessage(Texts{}), 0, static_cast<LPARAM>(single_.address()), r)) return false;
        if (r == 0) return true;  // the item went away: no text
        const std::size_t room = static_cast<std::size_t>(cchText_);
        local.resize(kDescriptorArea + room * sizeof(Unit));
        if (!remoteRead(single_, 0, &local[0], local.size())) {
            noteCopyFailure();
            return false;
        }
        Item back;
        std::memcpy(&back, local.data(), sizeof back);
        if (back.pszText != descriptor.pszText) {
            text = readElsewhere<Texts>(static_cast<std::uint64_t>(back.pszText));
            return true;
        }
        const std::size_t n = textLength<Texts>(local.data() + kDescriptorArea, room);
        if (n + 1 >= room && room < options_.maxTextLength) {
            // It filled the buffer: a larger one, until the text fits (or reaches the longest
            // text the options let through, where it is cut).
            const std::size_t next = std::min(options_.maxTextLength, room * 4 + 1);
            if (!makeTextBlock(static_cast<std::int32_t>(next))) {
                note(CaptureFailure::NoBuffers);
                return false;
            }
            continue;
        }
        text = decode(Texts{}, local.data() + kDescriptorArea, n);
        return true;
    }
}

template <class Texts>
std::wstring TreeViewCapture::readElsewhere(std::uint64_t address) {
    // An address that is none (0, or the text-callback mark -1) reads as nothing.
    if (!process_ || address == 0) return {};
    using Unit = typename Texts::Unit;
    const std::string text =
        process_->readText(static_cast<std::uintptr_t>(address), options_.maxTextLength, sizeof(Unit));
    return decode(Texts{}, text.data(), text.size() / sizeof(Unit));
}

bool TreeViewCapture::readCells(std::int32_t firstRow, std::int32_t rowCount, std::int32_t columnCount,
                                std::vector<std::wstring>& cells) {
    const std::size_t rows = rowCount > 0 ? static_cast<std::size_t>(rowCount) : 0;
    const std::size_t columns = columnCount > 0 ? static_cast<std::size_t>(columnCount) : 0;
    cells.assign(rows * columns, std::wstring());
    if (!usable() || failure_ != CaptureFailure::None || firstRow < 1) return false;
    if (rows == 0) return true;

    // A row behind the walk: from the first root again (the rows before it give the path).
    if (!walk_.started || firstRow <= walk_.rowsGiven) restartWalk();
    if (stopped_) return false;
    readItems_.clear();
    readFirst_ = firstRow;
    std::wstring joined;
    std::size_t row = 0;  // of the cells asked for
    while (row < rows) {
        const std::int32_t skip = std::max<std::int32_t>(0, firstRow - 1 - walk_.rowsGiven);
        const std::size_t want = skip > 0 ? std::min<std::size_t>(kBlockItems, static_cast<std::size_t>(skip))
                                          : std::min(kBlockItems, rows - row);
        if (!walk(want) || !readTexts()) return false;
        if (steps_.empty()) return true;  // the tree holds fewer items now: the rest stays empty
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

bool TreeViewCapture::readCheckMarks(std::int32_t firstRow, std::int32_t rowCount, std::vector<char>& checked) {
    const std::size_t rows = rowCount > 0 ? static_cast<std::size_t>(rowCount) : 0;
    checked.assign(rows, 0);
    if (!usable() || failure_ != CaptureFailure::None || firstRow < 1) return false;
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
