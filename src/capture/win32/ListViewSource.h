// Reading a list view of another process through window messages: its header into a
// ListViewInfo record, then cell texts on demand. One ListViewSource per owner (an export
// dialog): the window and the buffers in its process belong to that source alone, and go with it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "capture/GridSource.h"
#include "capture/win32/RemoteControl.h"

namespace zav {

class ListViewSource final : public RemoteControl {
public:
    // The start text buffer: 255 characters, terminating zero included.
    static constexpr std::int32_t kStartTextLength = 255;

    // Finds the list view's process and makes the buffers there. Always gives a source; failure()
    // says when the process could not be opened or the buffers not made.
    static std::unique_ptr<ListViewSource> openListViewBuffers(const GridTarget& target,
                                                               const CaptureOptions& options = {});
    ~ListViewSource() override;

    VBool readListViewInfo(ListViewInfo& info) override;
    std::wstring getColumnText(std::int32_t lColumn) override;
    std::wstring getCellText(std::int32_t lRow, std::int32_t lColumn) override;
    // Up to kBlockItems cells at a time: their descriptors in one copy into the other process, one
    // message per cell, their texts back in one copy. A text that fills its room is asked again
    // alone with more room, as getCellText does.
    bool readCells(std::int32_t firstRow, std::int32_t rowCount, std::int32_t columnCount,
                   std::vector<std::wstring>& cells) override;
    // The selected rows (LVM_GETNEXTITEM; answers beyond the item count, or that do not move
    // forward, end the list) and the check marks (state image 2 of LVM_GETITEMSTATE). Both answer
    // in the message's result, so no buffer is needed: owner-data lists keep their selection in
    // the list view as well. A message that fails stops the source as any other one's does.
    bool readSelectedRows(std::vector<std::int32_t>& rows) override;
    bool readCheckMarks(std::int32_t firstRow, std::int32_t rowCount, std::vector<char>& checked) override;

    // Frees the buffers now (the destructor does it otherwise); text reads give empty texts after.
    void closeListViewBuffers();

    // What the last text request answered (LVM_GETITEMTEXT: the count; LVM_GETCOLUMN: 0 or 1).
    std::int32_t lastTextLength() const { return lastTextAnswer(); }

private:
    ListViewSource(const GridTarget& target, const CaptureOptions& options);
    // The columns' display order (LVM_GETCOLUMNORDERARRAY) into info.lColumnOrder, 1-based; left
    // empty when the list view does not answer it.
    void readColumnOrder(ListViewInfo& info);
    // The text of a header's column (none when the list view does not know the column, or did not
    // answer) and of a cell (none when it did not answer).
    std::optional<std::wstring> requestColumnText(std::int32_t lColumn);
    std::optional<std::wstring> requestCellText(std::int32_t lRow, std::int32_t lColumn);
    // readListViewInfo's steps: the window taken if it is there (else none and the failure
    // noted), its view, item count and place, the header's column count, and the columns that
    // answer of those.
    bool takeListView(ListViewInfo& info);
    void readViewAndItems(ListViewInfo& info);
    std::int32_t headerColumnCount();
    void readColumns(ListViewInfo& info, std::int32_t columns);
    // Whether the list shows check boxes (LVS_EX_CHECKBOXES).
    bool readCheckBoxStyle();

    // Whether the rows of the `count` requests from cell `first` of readCells' grid from
    // `firstRow` (their item data in params_) came each once: movedRow_ is set to the first row
    // whose item data an earlier row had.
    void trackRows(std::int32_t firstRow, std::size_t first, std::size_t count, std::size_t columns);
    // After the first block read (its cells in `cells`): whether its rows are watched from now on
    // (tracking_), and if so, they are the first tracked. False when the source failed.
    bool startTracking(std::int32_t firstRow, std::size_t first, std::size_t count, std::size_t columns,
                       const std::vector<std::wstring>& cells);

    std::int32_t itemCount_ = 0; // rows of the last successful readListViewInfo
    // Whether rows read twice are watched for: told after the first block (startTracking).
    enum class Tracking { Unknown, On, Off };
    Tracking tracking_ = Tracking::Unknown;
    std::vector<std::uint64_t> params_;                        // of the block's requests
    std::unordered_map<std::uint64_t, std::int32_t> paramRows_;  // item data -> the row it came at
    std::int32_t movedRow_ = 0;  // the first row that came twice, 0 while none
};

}  // namespace zav
