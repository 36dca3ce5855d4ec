// Reading a list view of another process through window messages: its header into a
// ListViewInfo record, then cell texts on demand. One ListViewCapture per owner (an export
// dialog): the window and the buffers in its process belong to that capture alone, and go with it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "capture/GridSource.h"
#include "capture/win32/RemoteMemory.h"

namespace zav {

struct CaptureOptions {
    // Every message to the foreign window waits at most this long (SMTO_ABORTIFHUNG as well), and
    // with SMTO_BLOCK: while a read waits, no message sent to this thread is handled. A Stop, a
    // close or the end of the session handled there would take away the export whose read is
    // under way; they wait for the next look at the queue instead.
    DWORD timeoutMs = 4000;
    // Texts are read whole up to this many characters (at most 64 Mi); a text that still fills the
    // buffer then is cut there.
    std::size_t maxTextLength = 1u << 20;
    // The buffer mechanism; by default the system family's own (isWinNT).
    std::optional<RemoteMechanism> mechanism;
    // Whether texts are asked for in UTF-16 (LVM_GETITEMTEXTW, LVM_GETCOLUMNW) or in the ANSI code
    // page (the A messages); by default UTF-16 on the NT family, which every list view there
    // answers, ANSI programs' too, and ANSI on the 9x family, which has nothing else.
    std::optional<bool> wideTexts;
};

// What a capture that reads through memory in the target settles before it reads: the options
// the caller left open (wide texts and the buffer mechanism by the system family, texts at least
// `minTextLength` long, at most 64 Mi), then the target's process. Shared by the list-view and
// tree-view captures.
void settleCaptureOptions(CaptureOptions& options, std::size_t minTextLength);
struct RemoteTarget {
    DWORD processId = 0;
    // The descriptors are laid out for this word size. One that cannot be told is taken to be this
    // program's own (the 9x family, without WOW64, answers 32).
    int bits = kProgramWordSize;
    std::shared_ptr<RemoteProcess> process;  // none on 9x when the shared view serves alone
};
// Fills `target` for the window's process as far as it gets: None when it can be read, else
// NoWindow, TargetTooWide (its pointers do not fit ours: a 32-bit program cannot address a 64-bit
// one) or ProcessNotOpened.
CaptureFailure openRemoteTarget(HWND hWnd, RemoteMechanism mechanism, RemoteTarget& target);

class ListViewCapture final : public IGridSource {
public:
    // The start text buffer: 255 characters, terminating zero included.
    static constexpr std::int32_t kStartTextLength = 255;
    // Cells read in one block by readCells, and the room of each cell's text there.
    static constexpr std::size_t kBlockCells = 256;
    static constexpr std::int32_t kBlockTextLength = kStartTextLength;

    // Finds the list view's process and makes the buffers there. Always gives a capture; failure()
    // says when the process could not be opened or the buffers not made.
    static std::unique_ptr<ListViewCapture> openListViewBuffers(const GridTarget& target,
                                                                const CaptureOptions& options = {});
    ~ListViewCapture() override;

    VBool readListViewInfo(ListViewInfo& info) override;
    std::wstring getColumnText(std::int32_t lColumn) override;
    std::wstring getCellText(std::int32_t lRow, std::int32_t lColumn) override;
    // Up to kBlockCells cells at a time: their descriptors in one copy into the other process, one
    // message per cell, their texts back in one copy. A text that fills its room is asked again
    // alone with more room, as getCellText does.
    bool readCells(std::int32_t firstRow, std::int32_t rowCount, std::int32_t columnCount,
                   std::vector<std::wstring>& cells) override;
    // Through readSelectedRows and readCheckMarks of ListViewRowStates, under this capture's
    // time-out; a failure stops the capture as any other message's does.
    bool readSelectedRows(std::vector<std::int32_t>& rows) override;
    bool readCheckMarks(std::int32_t firstRow, std::int32_t rowCount, std::vector<char>& checked) override;
    CaptureFailure failure() const override { return failure_; }

    // Frees the buffers now (the destructor does it otherwise); text reads give empty texts after.
    void closeListViewBuffers();

    // What the last text request answered (LVM_GETITEMTEXT: the count; LVM_GETCOLUMN: 0 or 1).
    std::int32_t lastTextLength() const { return lTextLen_; }
    // Size of the text buffer now in the foreign process, in characters (grows for long texts).
    std::int32_t textBufferLength() const { return cchText_; }
    DWORD processId() const { return lProcessId_; }
    // Word size of the target process (32 or 64): picks the descriptor layouts.
    int targetWordSize() const { return targetBits_; }

private:
    ListViewCapture(const GridTarget& target, const CaptureOptions& options);
    // The columns' display order (LVM_GETCOLUMNORDERARRAY) into info.lColumnOrder, 1-based; left
    // empty when the list view does not answer it.
    void readColumnOrder(ListViewInfo& info);
    RemoteBuffer allocateInTarget(std::size_t length);
    bool makeBlock(std::int32_t cchText);
    bool growText();
    bool send(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void note(CaptureFailure f);
    void noteCopyFailure();
    bool canRequestText();
    template <class Texts> std::wstring readElsewhere(std::uintptr_t address, std::size_t maxLength);
    // Calls request(layout, texts) with the target's descriptor layout and the capture's texts.
    template <class Request> auto forTarget(Request&& request);
    // One text request: a header's (LVM_GETCOLUMN, answering yes or no) or a cell's
    // (LVM_GETITEMTEXT, answering the text's length), with the descriptor's mask and subitem.
    struct TextRequest {
        bool header;
        std::uint32_t mask;
        std::int32_t wParam;      // the row (cells) or the column (headers), 0-based
        std::int32_t iSubItem;
    };
    // The text of one request, asked again with a larger buffer while it fills the buffer. None
    // when the window did not answer (or a header did not know the column).
    template <class Descriptor, class Texts> std::optional<std::wstring> requestText(const TextRequest& request);
    std::optional<std::wstring> requestColumnText(std::int32_t lColumn);
    std::optional<std::wstring> requestCellText(std::int32_t lRow, std::int32_t lColumn);
    // readListViewInfo's steps: the window taken if it is a list view (else none and the failure
    // noted), its view, item count and place, the header's column count, and the columns that
    // answer of those.
    bool takeListView(ListViewInfo& info);
    void readViewAndItems(ListViewInfo& info);
    std::int32_t headerColumnCount();
    void readColumns(ListViewInfo& info, std::int32_t columns);
    // Cells first .. first + count - 1 of the grid that starts at firstRow (row by row,
    // columnCount to a row) through the cell block; false when the capture failed.
    template <class Item, class Texts>
    bool requestCellBlock(std::int32_t firstRow, std::int32_t columnCount, std::size_t first, std::size_t count,
                          std::vector<std::wstring>& cells);
    // A block's cells, and the row and column (1-based) of the i-th of them.
    struct CellRange {
        std::int32_t firstRow;
        std::size_t columns;
        std::size_t first, count;
        std::int32_t row(std::size_t i) const { return firstRow + static_cast<std::int32_t>((first + i) / columns); }
        std::int32_t column(std::size_t i) const { return static_cast<std::int32_t>((first + i) % columns) + 1; }
    };
    // requestCellBlock's steps: every descriptor into the block in one copy; one message per cell
    // (none: a message failed; else how far into the block the texts reach); the texts back in one
    // copy, a text that filled its room or was answered from elsewhere asked again alone.
    template <class Item, class Texts> bool writeCellDescriptors(const CellRange& range);
    template <class Item, class Texts> std::optional<std::size_t> askForCells(const CellRange& range);
    template <class Item, class Texts>
    bool takeCellTexts(const CellRange& range, std::size_t readTo, std::vector<std::wstring>& cells);

    CaptureOptions options_;
    GridTarget target_;          // the list view the buffers were made for
    HWND hListView_ = nullptr;   // the window of the last successful readListViewInfo; null = none
    DWORD lProcessId_ = 0;
    int targetBits_ = kProgramWordSize;
    std::shared_ptr<RemoteProcess> process_;
    // One block in the foreign process: the request descriptor (lpRemoteItem) at offset 0, the
    // text buffer (lpRemoteText) at lvlayout::kDescriptorArea, cchText_ bytes long.
    RemoteBuffer block_;
    std::int32_t cchText_ = 0;   // characters
    std::size_t unitSize_ = 1;   // bytes of one text unit: 2 for UTF-16, 1 for ANSI
    std::int32_t lTextLen_ = 0;
    std::int32_t itemCount_ = 0; // rows of the last successful readListViewInfo
    bool textsUsable_ = false;   // the window read belongs to the buffers' process
    bool stopped_ = false;       // the target hung or went away: nothing more is sent
    CaptureFailure failure_ = CaptureFailure::None;
    std::string scratch_;        // local copy of descriptor and answer text (abText)
    // readCells: the cell block in the foreign process (kBlockCells descriptors, then their texts),
    // made on first use, and each cell's answer.
    RemoteBuffer cellBlock_;
    std::string blockScratch_;   // local copy of the cell block's descriptors and texts
    std::vector<std::int32_t> answers_;
};

}  // namespace zav
