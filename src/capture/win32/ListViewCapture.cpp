#include "capture/win32/ListViewCapture.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include <commctrl.h>

#include "capture/win32/ListBoxCapture.h"
#include "capture/win32/ListViewLayouts.h"
#include "capture/win32/ListViewRowStates.h"
#include "capture/win32/RemoteText.h"
#include "capture/win32/SystemGridSources.h"
#include "capture/win32/TreeViewCapture.h"
#include "capture/win32/WindowText.h"
#include "text/Ansi.h"

namespace zav {
namespace {

using lvlayout::kDescriptorArea;

// Column counts beyond this are not believed (a header answers its item count; a foreign window
// could answer anything, and the record's arrays are sized by it).
constexpr std::int32_t kMaxColumns = 32767;

// The layouts of this program's own word size must be the system's own descriptors.
using OwnLayout = std::conditional_t<kProgramWordSize == 64, lvlayout::Layout64, lvlayout::Layout32>;
static_assert(offsetof(LVITEMA, pszText) == offsetof(OwnLayout::Item, pszText), "LVITEMA layout");
static_assert(offsetof(LVITEMA, cchTextMax) == offsetof(OwnLayout::Item, cchTextMax), "LVITEMA layout");
static_assert(offsetof(LVITEMA, iIndent) == offsetof(OwnLayout::Item, iIndent), "LVITEMA layout");
static_assert(offsetof(LVCOLUMNA, pszText) == offsetof(OwnLayout::Column, pszText), "LVCOLUMNA layout");
static_assert(offsetof(LVCOLUMNA, iSubItem) == offsetof(OwnLayout::Column, iSubItem), "LVCOLUMNA layout");
static_assert(offsetof(LVCOLUMNA, iOrder) == offsetof(OwnLayout::Column, iOrder), "LVCOLUMNA layout");

HWND toHwnd(WindowHandle h) { return reinterpret_cast<HWND>(h); }

using lvlayout::AnsiTexts;
using lvlayout::WideTexts;

using remote_text::decode;
using remote_text::textLength;

// The cell block's layout for one descriptor layout and text unit: kBlockCells descriptors, then
// a room of kBlockTextLength units for each cell's text.
template <class Item, class Texts>
struct CellRooms {
    static constexpr std::size_t textsAt = ListViewCapture::kBlockCells * sizeof(Item);
    static constexpr std::size_t room = static_cast<std::size_t>(ListViewCapture::kBlockTextLength);  // units
    static constexpr std::size_t roomBytes = room * sizeof(typename Texts::Unit);
    // Where cell i's text goes.
    static constexpr std::size_t textAt(std::size_t i) { return textsAt + i * roomBytes; }
};

}  // namespace

std::unique_ptr<ListViewCapture> ListViewCapture::openListViewBuffers(const GridTarget& target,
                                                                     const CaptureOptions& options) {
    return std::unique_ptr<ListViewCapture>(new ListViewCapture(target, options));
}

void settleCaptureOptions(CaptureOptions& options, std::size_t minTextLength) {
    options.maxTextLength = std::clamp<std::size_t>(options.maxTextLength, minTextLength, 64u << 20);
    if (!options.wideTexts) options.wideTexts = isWinNT() != vbFalse;
    if (!options.mechanism)
        options.mechanism = isWinNT() ? RemoteMechanism::ProcessMemory : RemoteMechanism::SharedMapping;
}

CaptureFailure openRemoteTarget(HWND hWnd, RemoteMechanism mechanism, RemoteTarget& target) {
    DWORD pid = 0;
    if (hWnd == nullptr || GetWindowThreadProcessId(hWnd, &pid) == 0 || pid == 0) return CaptureFailure::NoWindow;
    target.processId = pid;
    const int bits = processWordSize(pid);
    if (bits != 0) target.bits = bits;
    if (target.bits > kProgramWordSize) return CaptureFailure::TargetTooWide;
    target.process = RemoteProcess::open(pid);
    if (!target.process && mechanism == RemoteMechanism::ProcessMemory) return CaptureFailure::ProcessNotOpened;
    return CaptureFailure::None;
}

ListViewCapture::ListViewCapture(const GridTarget& target, const CaptureOptions& options)
    : options_(options), target_(target) {
    const HWND hWnd = toHwnd(target.window);
    settleCaptureOptions(options_, kStartTextLength);
    unitSize_ = *options_.wideTexts ? sizeof(WideTexts::Unit) : sizeof(AnsiTexts::Unit);
    RemoteTarget remote;
    const CaptureFailure opening = openRemoteTarget(hWnd, *options_.mechanism, remote);
    lProcessId_ = remote.processId;
    targetBits_ = remote.bits;
    process_ = remote.process;
    if (opening != CaptureFailure::None) {
        note(opening);
        return;
    }
    // 9x: the shared view needs no process handle; one is kept only to follow a text that the
    // control answers from its own memory.
    if (!makeBlock(kStartTextLength)) note(CaptureFailure::NoBuffers);
}

ListViewCapture::~ListViewCapture() { closeListViewBuffers(); }

void ListViewCapture::closeListViewBuffers() {
    remoteFree(block_);
    remoteFree(cellBlock_);
    cchText_ = 0;
    process_.reset();
}

RemoteBuffer ListViewCapture::allocateInTarget(std::size_t length) {
    RemoteBuffer block = *options_.mechanism == RemoteMechanism::SharedMapping
                             ? RemoteBuffer::allocateShared(length)
                             : RemoteBuffer::allocate(process_, length);
    // A 32-bit target sees only the low 4 GiB: a block above would be out of its reach.
    if (block && targetBits_ == 32 && block.address() + length - 1 > 0xFFFFFFFFu) block.free();
    return block;
}

bool ListViewCapture::makeBlock(std::int32_t cchText) {
    RemoteBuffer block = allocateInTarget(kDescriptorArea + static_cast<std::size_t>(cchText) * unitSize_);
    if (!block) return false;
    block_ = std::move(block);  // frees the previous block with its own handle
    cchText_ = cchText;
    return true;
}

bool ListViewCapture::growText() {
    const std::size_t limit = options_.maxTextLength;
    if (static_cast<std::size_t>(cchText_) >= limit) return false;
    std::size_t next = std::min(limit, static_cast<std::size_t>(cchText_) * 4 + 1);
    return makeBlock(static_cast<std::int32_t>(next));
}

void ListViewCapture::note(CaptureFailure f) {
    if (failure_ == CaptureFailure::None) failure_ = f;
}

bool ListViewCapture::send(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    if (stopped_) return false;
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutA(hWnd, msg, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK, options_.timeoutMs, &answer)) {
        result = static_cast<LRESULT>(answer);
        return true;
    }
    // Gone, or timed out (or refused at once because the window counts as hung): every further
    // message would fail or wait as long again, so the capture stops here.
    note(IsWindow(hWnd) ? CaptureFailure::TargetHung : CaptureFailure::TargetGone);
    stopped_ = true;
    return false;
}

void ListViewCapture::noteCopyFailure() {
    // A buffer of ours that cannot be reached: its process has ended, or its window went away.
    if (hListView_ && !IsWindow(hListView_)) {
        note(CaptureFailure::TargetGone);
        stopped_ = true;
    } else {
        note(CaptureFailure::NoBuffers);
    }
}

bool ListViewCapture::canRequestText() {
    return hListView_ != nullptr && block_ && textsUsable_ && !stopped_;
}

template <class Texts>
std::wstring ListViewCapture::readElsewhere(std::uintptr_t address, std::size_t maxLength) {
    if (!process_ || address == 0) return {};
    using Unit = typename Texts::Unit;
    const std::string text = process_->readText(address, std::min(maxLength, options_.maxTextLength), sizeof(Unit));
    return decode(Texts{}, text.data(), text.size() / sizeof(Unit));
}

template <class Request>
auto ListViewCapture::forTarget(Request&& request) {
    // Descriptors of the target's word size; texts in the messages the system family has.
    if (targetBits_ == 64) {
        if (*options_.wideTexts) return request(lvlayout::Layout64{}, WideTexts{});
        return request(lvlayout::Layout64{}, AnsiTexts{});
    }
    if (*options_.wideTexts) return request(lvlayout::Layout32{}, WideTexts{});
    return request(lvlayout::Layout32{}, AnsiTexts{});
}

VBool ListViewCapture::readListViewInfo(ListViewInfo& info) {
    if (!takeListView(info)) return vbFalse;

    // The buffers were made in the process of the window they were opened for; texts of a window
    // of another process cannot be requested with them.
    DWORD pid = 0;
    GetWindowThreadProcessId(hListView_, &pid);
    textsUsable_ = pid != 0 && pid == lProcessId_;
    if (!textsUsable_ && block_) note(CaptureFailure::NoBuffers);

    readViewAndItems(info);
    readColumns(info, headerColumnCount());
    readColumnOrder(info);

    if (stopped_) {
        // The target hung or went away while being read: nothing that came back is trusted.
        info.lItemCount = 0;
        info.lColumnCount = 0;
        info.lColumnWidth.clear();
        info.szColumnText.clear();
        info.lColumnOrder.clear();
        info.checkBoxes = false;
        return vbFalse;
    }
    return vbTrue;
}

void ListViewCapture::readColumnOrder(ListViewInfo& info) {
    info.lColumnOrder.clear();
    if (!canRequestText() || info.lColumnCount < 1) return;
    const auto count = static_cast<std::size_t>(info.lColumnCount);
    // An int array in the other process: an int is 32 bits in either word size.
    RemoteBuffer order = allocateInTarget(count * sizeof(std::int32_t));
    if (!order) return;
    LRESULT r = 0;
    if (!send(hListView_, lvlayout::kLvmGetColumnOrderArray, static_cast<WPARAM>(count),
              static_cast<LPARAM>(order.address()), r) ||
        r == 0)
        return;
    std::vector<std::int32_t> indices(count);
    if (!order.read(0, indices.data(), count * sizeof(std::int32_t))) return;
    for (std::int32_t& index : indices) ++index;  // the list view counts from 0
    info.lColumnOrder = std::move(indices);
}

bool ListViewCapture::takeListView(ListViewInfo& info) {
    hListView_ = toHwnd(target_.window);
    if (!IsWindow(hListView_)) {
        hListView_ = nullptr;
        note(CaptureFailure::NoWindow);
        return false;
    }
    info.hWnd = target_.window;
    info.kind = ControlKind::ListView;
    info.szClassName = target_.className;
    info.lColumnWidth.clear();
    info.szColumnText.clear();
    info.lColumnOrder.clear();
    return true;
}

void ListViewCapture::readViewAndItems(ListViewInfo& info) {
    info.lView = static_cast<std::int32_t>(GetWindowLongA(hListView_, GWL_STYLE) & 3);

    LRESULT r = 0;
    send(hListView_, lvlayout::kLvmGetItemCount, 0, 0, r);
    info.lItemCount = std::max<std::int32_t>(0, static_cast<std::int32_t>(r));

    RECT rc = {};
    GetWindowRect(hListView_, &rc);
    info.rcWindow = ScreenRect{rc.left, rc.top, rc.right, rc.bottom};

    if (stopped_) return;
    CaptureFailure failure = CaptureFailure::None;
    info.checkBoxes = listHasCheckBoxes(hListView_, options_.timeoutMs, failure);
    if (failure != CaptureFailure::None) {
        note(failure);
        stopped_ = true;
    }
    itemCount_ = info.lItemCount;
}

bool ListViewCapture::readSelectedRows(std::vector<std::int32_t>& rows) {
    rows.clear();
    if (!hListView_ || stopped_) return false;
    CaptureFailure failure = CaptureFailure::None;
    rows = zav::readSelectedRows(hListView_, itemCount_, options_.timeoutMs, failure);
    if (failure == CaptureFailure::None) return true;
    note(failure);
    stopped_ = true;
    rows.clear();
    return false;
}

bool ListViewCapture::readCheckMarks(std::int32_t firstRow, std::int32_t rowCount, std::vector<char>& checked) {
    checked.clear();
    if (!hListView_ || stopped_) return false;
    CaptureFailure failure = CaptureFailure::None;
    if (zav::readCheckMarks(hListView_, firstRow, rowCount, options_.timeoutMs, checked, failure)) return true;
    note(failure);
    stopped_ = true;
    return false;
}

std::int32_t ListViewCapture::headerColumnCount() {
    LRESULT r = 0;
    std::int32_t columns = 0;
    if (send(hListView_, lvlayout::kLvmGetHeader, 0, 0, r) && r != 0) {
        if (send(reinterpret_cast<HWND>(r), lvlayout::kHdmGetItemCount, 0, 0, r))
            columns = static_cast<std::int32_t>(r);
    }
    // No header, a header without items (icon and list views) or one that failed (-1): one column.
    return std::clamp<std::int32_t>(columns, 1, kMaxColumns);
}

void ListViewCapture::readColumns(ListViewInfo& info, std::int32_t columns) {
    // The header's count is believed only as far as the list view answers for its columns: the
    // columns end at the first one it does not know (the first column is kept in any case).
    LRESULT r = 0;
    info.lColumnWidth.assign(1, 0);
    info.szColumnText.assign(1, std::wstring());
    for (std::int32_t i = 1; i <= columns && !stopped_; ++i) {
        std::optional<std::wstring> text = requestColumnText(i);
        if (!text && i > 1) break;
        send(hListView_, lvlayout::kLvmGetColumnWidth, static_cast<WPARAM>(i - 1), 0, r);
        info.lColumnWidth.push_back(static_cast<std::int32_t>(r));
        info.szColumnText.push_back(text ? std::move(*text) : std::wstring());
    }
    info.lColumnCount = static_cast<std::int32_t>(info.szColumnText.size()) - 1;
}

std::wstring ListViewCapture::getColumnText(std::int32_t lColumn) {
    return requestColumnText(lColumn).value_or(std::wstring());
}

std::wstring ListViewCapture::getCellText(std::int32_t lRow, std::int32_t lColumn) {
    return requestCellText(lRow, lColumn).value_or(std::wstring());
}

bool ListViewCapture::readCells(std::int32_t firstRow, std::int32_t rowCount, std::int32_t columnCount,
                                std::vector<std::wstring>& cells) {
    const std::size_t columns = columnCount > 0 ? static_cast<std::size_t>(columnCount) : 0;
    const std::size_t total = (rowCount > 0 ? static_cast<std::size_t>(rowCount) : 0) * columns;
    cells.resize(total);
    for (std::wstring& cell : cells) cell.clear();
    if (!canRequestText() || failure_ != CaptureFailure::None) return false;
    if (!cellBlock_) {
        cellBlock_ = allocateInTarget(kBlockCells * (sizeof(lvlayout::Layout64::Item) + kBlockTextLength * unitSize_));
        if (!cellBlock_) {
            note(CaptureFailure::NoBuffers);
            return false;
        }
    }
    for (std::size_t first = 0; first < total; first += kBlockCells) {
        const std::size_t count = std::min(kBlockCells, total - first);
        const bool read = forTarget([&](auto layout, auto texts) {
            return requestCellBlock<typename decltype(layout)::Item, decltype(texts)>(firstRow, columnCount, first, count,
                                                                                     cells);
        });
        if (!read) return false;
    }
    return true;
}

template <class Item, class Texts>
bool ListViewCapture::requestCellBlock(std::int32_t firstRow, std::int32_t columnCount, std::size_t first,
                                       std::size_t count, std::vector<std::wstring>& cells) {
    const CellRange range{firstRow, static_cast<std::size_t>(columnCount), first, count};
    if (!writeCellDescriptors<Item, Texts>(range)) return false;
    const std::optional<std::size_t> readTo = askForCells<Item, Texts>(range);
    if (!readTo) return false;
    if (*readTo == 0) return true;  // every cell of the block is empty
    return takeCellTexts<Item, Texts>(range, *readTo, cells);
}

template <class Item, class Texts>
bool ListViewCapture::writeCellDescriptors(const CellRange& range) {
    using Rooms = CellRooms<Item, Texts>;
    const std::uintptr_t base = cellBlock_.address();
    // Every descriptor of the block in one copy: cell i's text goes to the i-th room.
    blockScratch_.assign(range.count * sizeof(Item), '\0');
    for (std::size_t i = 0; i < range.count; ++i) {
        Item item = {};
        item.mask = lvlayout::kLvifText;
        item.iSubItem = range.column(i) - 1;
        item.pszText = static_cast<decltype(item.pszText)>(base + Rooms::textAt(i));
        item.cchTextMax = kBlockTextLength;
        std::memcpy(&blockScratch_[i * sizeof(Item)], &item, sizeof item);
    }
    if (!remoteWrite(cellBlock_, 0, blockScratch_.data(), blockScratch_.size())) {
        noteCopyFailure();
        return false;
    }
    return true;
}

template <class Item, class Texts>
std::optional<std::size_t> ListViewCapture::askForCells(const CellRange& range) {
    using Rooms = CellRooms<Item, Texts>;
    const std::uintptr_t base = cellBlock_.address();
    // One message per cell; the answers say how far the texts reach.
    answers_.assign(range.count, 0);
    std::size_t readTo = 0;
    for (std::size_t i = 0; i < range.count; ++i) {
        LRESULT r = 0;
        if (!send(hListView_, Texts::kGetItemText, static_cast<WPARAM>(range.row(i) - 1),
                  static_cast<LPARAM>(base + i * sizeof(Item)), r))
            return std::nullopt;
        answers_[i] = lTextLen_ = static_cast<std::int32_t>(r);
        if (answers_[i] > 0)
            readTo = Rooms::textAt(i) +
                     std::min<std::size_t>(static_cast<std::size_t>(answers_[i]), Rooms::room) * sizeof(typename Texts::Unit);
    }
    return readTo;
}

template <class Item, class Texts>
bool ListViewCapture::takeCellTexts(const CellRange& range, std::size_t readTo, std::vector<std::wstring>& cells) {
    using Rooms = CellRooms<Item, Texts>;
    const std::uintptr_t base = cellBlock_.address();
    // The descriptors (the control may have pointed one elsewhere) and the texts in one copy.
    blockScratch_.resize(std::max(readTo, range.count * sizeof(Item)));
    if (!remoteRead(cellBlock_, 0, &blockScratch_[0], blockScratch_.size())) {
        noteCopyFailure();
        return false;
    }
    for (std::size_t i = 0; i < range.count; ++i) {
        if (answers_[i] <= 0) continue;
        Item back;
        std::memcpy(&back, &blockScratch_[i * sizeof(Item)], sizeof back);
        std::wstring& cell = cells[range.first + i];
        const char* text = blockScratch_.data() + Rooms::textAt(i);
        const std::size_t n =
            textLength<Texts>(text, std::min<std::size_t>(static_cast<std::size_t>(answers_[i]), Rooms::room));
        if (back.pszText == static_cast<decltype(back.pszText)>(base + Rooms::textAt(i)) && n + 1 < Rooms::room) {
            cell = decode(Texts{}, text, n);
            continue;
        }
        // Asked again alone: a text that filled its room may have been cut (it gets more room), and
        // one the control answered from its own memory may have been overwritten by the messages
        // that followed (it is read at once).
        std::optional<std::wstring> whole = requestCellText(range.row(i), range.column(i));
        if (!whole) return false;
        cell = std::move(*whole);
    }
    return true;
}

std::optional<std::wstring> ListViewCapture::requestColumnText(std::int32_t lColumn) {
    if (!canRequestText()) return std::nullopt;
    const TextRequest request{true, lvlayout::kLvcfText, lColumn - 1, lColumn - 1};
    return forTarget([&](auto layout, auto texts) {
        return requestText<typename decltype(layout)::Column, decltype(texts)>(request);
    });
}

std::optional<std::wstring> ListViewCapture::requestCellText(std::int32_t lRow, std::int32_t lColumn) {
    if (!canRequestText()) return std::nullopt;
    const TextRequest request{false, lvlayout::kLvifText, lRow - 1, lColumn - 1};
    return forTarget([&](auto layout, auto texts) {
        return requestText<typename decltype(layout)::Item, decltype(texts)>(request);
    });
}

template <class Descriptor, class Texts>
std::optional<std::wstring> ListViewCapture::requestText(const TextRequest& request) {
    using Unit = typename Texts::Unit;
    for (;;) {
        // The descriptor and a zero unit at the start of the text buffer go in one copy: an answer
        // that carries no length (LVM_GETCOLUMN) ends at the first zero unit.
        scratch_.assign(kDescriptorArea + sizeof(Unit), '\0');
        Descriptor descriptor = {};
        descriptor.mask = request.mask;
        descriptor.iSubItem = request.iSubItem;
        descriptor.pszText = static_cast<decltype(descriptor.pszText)>(block_.address() + kDescriptorArea);
        descriptor.cchTextMax = cchText_;
        std::memcpy(&scratch_[0], &descriptor, sizeof descriptor);
        if (!remoteWrite(block_, 0, scratch_.data(), scratch_.size())) {
            noteCopyFailure();
            return std::nullopt;
        }
        LRESULT r = 0;
        const UINT message = request.header ? Texts::kGetColumn : Texts::kGetItemText;
        if (!send(hListView_, message, static_cast<WPARAM>(request.wParam), static_cast<LPARAM>(block_.address()), r))
            return std::nullopt;
        lTextLen_ = static_cast<std::int32_t>(r);
        // LVM_GETITEMTEXT answers the count it copied (0 or less: no text); LVM_GETCOLUMN answers
        // whether it knows the column.
        if (request.header) {
            if (lTextLen_ == 0) return std::nullopt;
        } else if (lTextLen_ <= 0) {
            return std::wstring();
        }

        // The descriptor and the answer come back in one copy; never more than the buffer holds,
        // whatever count the window answered.
        const std::size_t room = static_cast<std::size_t>(cchText_);  // units
        const std::size_t want = request.header ? room : std::min<std::size_t>(static_cast<std::size_t>(lTextLen_), room);
        scratch_.resize(kDescriptorArea + want * sizeof(Unit));
        if (!remoteRead(block_, 0, &scratch_[0], scratch_.size())) {
            noteCopyFailure();
            return std::nullopt;
        }
        Descriptor back;
        std::memcpy(&back, scratch_.data(), sizeof back);
        if (back.pszText != descriptor.pszText)  // the control answered with text of its own
            return readElsewhere<Texts>(static_cast<std::uintptr_t>(back.pszText),
                                        request.header ? options_.maxTextLength : static_cast<std::size_t>(lTextLen_));

        const char* text = scratch_.data() + kDescriptorArea;
        const std::size_t n = textLength<Texts>(text, want);
        // A text that filled the buffer may have been cut: ask again with more room.
        if (n + 1 >= room && growText()) continue;
        return decode(Texts{}, text, n);
    }
}

}  // namespace zav

// ---- the factory ----

namespace zav {
namespace {

// What a window that is no grid control opens: a source that reads nothing.
class RefusedSource final : public IGridSource {
public:
    VBool readListViewInfo(ListViewInfo& info) override {
        info = ListViewInfo{};
        return vbFalse;
    }
    std::wstring getColumnText(std::int32_t) override { return {}; }
    std::wstring getCellText(std::int32_t, std::int32_t) override { return {}; }
    CaptureFailure failure() const override { return CaptureFailure::NotAGrid; }
};

class SystemCaptureFactory final : public IGridSourceFactory {
public:
    explicit SystemCaptureFactory(const CaptureOptions& options) : options_(options) {}
    std::unique_ptr<IGridSource> openGridSource(const GridTarget& target) override {
        // Each kind through its own messages, as the target's kind says.
        switch (target.kind) {
            case ControlKind::ListBox:
            case ControlKind::ComboBox: return ListBoxCapture::open(target, options_);
            case ControlKind::TreeView: return TreeViewCapture::open(target, options_);
            case ControlKind::ListView: return ListViewCapture::openListViewBuffers(target, options_);
            case ControlKind::None: break;
        }
        return std::make_unique<RefusedSource>();
    }

private:
    CaptureOptions options_;
};

}  // namespace

std::unique_ptr<IGridSourceFactory> makeSystemGridSourceFactory() { return makeSystemGridSourceFactory(CaptureOptions{}); }

std::unique_ptr<IGridSourceFactory> makeSystemGridSourceFactory(const CaptureOptions& options) {
    return std::make_unique<SystemCaptureFactory>(options);
}

}  // namespace zav
