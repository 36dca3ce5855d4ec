// Reading a tree view of another process as a grid: one row an item, every item the tree holds
// (expanded or not) in display order, depth first, with the columns "Item" (its text), "Level"
// (1 for a root) and "Path" (the texts from its root down to it, joined with "\").
//
// The tree's items have no row numbers, only handles, so the rows are the steps of one walk over
// the tree: the export asks for its rows in order, and the walk goes on from where the last block
// ended. Its stack is a vector of ours, so a deep tree costs memory, never our call stack. The row
// count is the tree's own item count (TVM_GETCOUNT): the walk never goes beyond it, and a walk
// that ends before it ends the rows (rowsEnded). A tree that answers an item twice in one walk
// (its handles in a cycle) is refused (TreeLoop).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "capture/GridSource.h"
#include "capture/win32/RemoteControl.h"

namespace zav {

class TreeViewSource final : public RemoteControl {
public:
    static constexpr const wchar_t* kItemColumn = L"Item";
    static constexpr const wchar_t* kLevelColumn = L"Level";
    static constexpr const wchar_t* kPathColumn = L"Path";
    static constexpr const wchar_t* kPathSeparator = L"\\";

    // Finds the window's process and makes the buffers there. Always gives a source; failure()
    // says when the process could not be opened, the buffers not made or the target is 64-bit
    // while this program is 32-bit.
    static std::unique_ptr<TreeViewSource> open(const GridTarget& target, const CaptureOptions& options = {});

    // Refuses (vbFalse, failure noted) a tree that is gone, or hung or went away while its count
    // was asked for.
    VBool readListViewInfo(ListViewInfo& info) override;
    std::wstring getColumnText(std::int32_t lColumn) override;
    // Rows are read by walking: a row behind the walk starts it again from the first root.
    std::wstring getCellText(std::int32_t lRow, std::int32_t lColumn) override;
    // Rows from firstRow on, columns 1 to columnCount of the three. Rows beyond the last item the
    // tree holds are empty, and rowsEnded() tells where it ended.
    bool readCells(std::int32_t firstRow, std::int32_t rowCount, std::int32_t columnCount,
                   std::vector<std::wstring>& cells) override;
    // Whether each row's item shows a checked box (its state image 2), for a tree with check
    // boxes (TVS_CHECKBOXES; ListViewInfo::checkBoxes). Rows just read by readCells are not
    // walked again.
    bool readCheckMarks(std::int32_t firstRow, std::int32_t rowCount, std::vector<char>& checked) override;

private:
    TreeViewSource(const GridTarget& target, const CaptureOptions& options);

    // One row of the walk before its text is read: the item's handle in the target and its level.
    struct Step {
        std::uint64_t item;
        std::int32_t level;
    };
    // Where the walk stands: the item of the next row (0: the walk has ended), its level, the
    // items above it (whose next siblings come after its subtree), the texts from the root to the
    // last row read, and how many rows it has given.
    struct Walk {
        std::uint64_t next = 0;
        std::int32_t level = 1;
        std::vector<std::uint64_t> parents;
        std::vector<std::wstring> path;
        std::int32_t rowsGiven = 0;
        bool started = false;
    };

    // TVM_GETNEXTITEM: the item in relation `flag` to `item`, as the target's word size holds it;
    // 0 for none or when the message failed (failure noted).
    std::uint64_t nextItem(WPARAM flag, std::uint64_t item);
    void restartWalk();
    // Up to `count` further steps of the walk into steps_; false when a message failed.
    bool walk(std::size_t count);
    // The texts of steps_ into texts_, in blocks; false when the source failed.
    bool readTexts();

    std::int32_t itemCount_ = 0;
    Walk walk_;
    std::vector<Step> steps_;
    // The items of the rows the last readCells gave, from row readFirst_ on.
    std::vector<std::uint64_t> readItems_;
    std::int32_t readFirst_ = 0;
    std::vector<std::wstring> texts_;
    std::unordered_set<std::uint64_t> seen_;  // the items of the walk so far
};

}  // namespace zav
