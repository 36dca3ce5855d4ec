// A control of another program read as a grid, as the portable core sees it: the control's window
// and kind (GridTarget), the record of its header (ListViewInfo), and a grid source that reads the
// header and the cells on demand. List views, tree views, list boxes and combo boxes are all read
// through the one interface. The Windows build reads another process through window messages;
// tests feed in-memory grids through the same interfaces.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Types.h"

namespace zav {

struct ScreenRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// The kinds of control whose contents are read as a grid, told by the window's class name in any
// letter case: a class containing "listview" is a list view (SysListView32), one containing
// "treeview" a tree view (SysTreeView32 and the tree classes of common toolkits), "ComboLBox" (the
// drop-down list of a combo box) and "ListBox" a list box, "ComboBox" a combo box. The list-view
// test comes first, so every class read as a list view before is read as one still.
enum class ControlKind { None, ListView, TreeView, ListBox, ComboBox };

ControlKind controlKindOfClass(const std::wstring& className);
// Whether this build reads the kind's contents: a right press opens the menu only over those, so
// that over any other window its program's own menu still opens.
bool controlKindIsRead(ControlKind kind);
// The kind as the dialog names it ("tree view"); empty for None.
std::wstring describeControlKind(ControlKind kind);

// The control a grid is read from: its window, its kind and its class name, as they were told
// once (by the watcher at the press, or by whoever picked the window). A source is opened for
// that kind without asking the window's class again.
struct GridTarget {
    WindowHandle window = 0;
    ControlKind kind = ControlKind::None;
    std::wstring className;              // at most 63 characters
};

// The header of a grid as its source read it.
struct ListViewInfo {
    WindowHandle hWnd = 0;               // the control read
    std::wstring szClassName;            // at most 62 characters
    ControlKind kind = ControlKind::ListView;  // what the grid was read from
    std::int32_t lView = 0;              // style & 3: 0 icon, 1 report, 2 small icon, 3 list
    std::int32_t lItemCount = 0;         // rows
    std::int32_t lColumnCount = 0;       // header columns; at least 1 after a successful read
    ScreenRect rcWindow;                 // screen pixels
    std::vector<std::int32_t> lColumnWidth;   // index 0..lColumnCount, entry 0 unused
    std::vector<std::wstring> szColumnText;   // index 0..lColumnCount, entry 0 unused
    // The columns as the list shows them, left to right (1-based indices); empty when not known.
    std::vector<std::int32_t> lColumnOrder;
    bool checkBoxes = false;             // the list shows a check box on each row
};

// Why a source could not read (None while all is well).
enum class CaptureFailure {
    None,
    NoWindow,          // the handle is no window (or it went away during the read)
    NotAGrid,          // the window is no control whose contents are read as a grid
    ProcessNotOpened,  // the owning process could not be opened (for instance an elevated program)
    NoBuffers,         // the buffers in the other process could not be made
    TargetGone,        // the window or its process ended while being read
    TargetHung,        // the window stopped answering
    TargetTooWide,     // the window belongs to a 64-bit program and this program is 32-bit
    NoTexts,           // a list box or combo box that draws its lines itself and keeps no texts
    RowsFell,          // the item count fell below the rows counted when the read began (counts)
    RowsMoved,         // a row came twice while the list was read: it re-sorted (row)
    TextUnreadable,    // a text whose told length cannot be honoured, not read whole (row, column, length)
    Inconsistent,      // the control's answers contradict each other (row, column)
    TreeLoop,          // a tree answered an item twice in one walk (row)
};

// What goes with a failure, where it has one: the row and column (1-based) it was met at, for
// RowsFell the rows counted when the read began and the rows there now, for TextUnreadable the
// length told.
struct CaptureDetail {
    std::int32_t row = 0;
    std::int32_t column = 0;
    std::int32_t rowsBefore = 0;
    std::int32_t rowsNow = 0;
    std::int64_t length = 0;
};

// What went wrong, for the user, naming the kind of control that was read (a list view for None).
std::wstring describeCaptureFailure(CaptureFailure failure, ControlKind kind = ControlKind::ListView,
                                    const CaptureDetail& detail = {});

// A grid source: the control it was opened for, and whatever it holds in the control's process
// (for a list view, the two buffers there). Owned by whoever opened it; destroying it frees what it
// holds (closeListViewBuffers).
class IGridSource {
public:
    virtual ~IGridSource() = default;
    // Fills the record from the control the source was opened for (its window, kind and class
    // included). vbTrue when read; vbFalse (failure() says why) when it cannot be.
    virtual VBool readListViewInfo(ListViewInfo& info) = 0;
    // 1-based column; empty text when it cannot be read.
    virtual std::wstring getColumnText(std::int32_t lColumn) = 0;
    // 1-based row and column; empty text when it cannot be read.
    virtual std::wstring getCellText(std::int32_t lRow, std::int32_t lColumn) = 0;
    // The cells of `rowCount` rows from `firstRow` (1-based), columns 1 to `columnCount`, row after
    // row: `cells` is resized to rowCount * columnCount, cell (r, c) at
    // (r - firstRow) * columnCount + (c - 1). True when every cell was read; false as soon as the
    // source fails (failure() says why; the cells not read are left empty). This one asks
    // getCellText cell by cell; a source in another process reads a block in fewer round trips.
    virtual bool readCells(std::int32_t firstRow, std::int32_t rowCount, std::int32_t columnCount,
                           std::vector<std::wstring>& cells);
    // The selected rows, 1-based and ascending. False when the list could not be asked (failure()
    // says why). A source that knows no selection has none.
    virtual bool readSelectedRows(std::vector<std::int32_t>& rows);
    // For rows firstRow .. firstRow + rowCount - 1 (1-based): 1 where the row's check box is
    // checked, else 0. False when the source failed. A source without check boxes answers 0.
    virtual bool readCheckMarks(std::int32_t firstRow, std::int32_t rowCount, std::vector<char>& checked);
    // The first failure met since the source was opened (None when every call could read).
    virtual CaptureFailure failure() const = 0;
    // What goes with that failure (all 0 when nothing does).
    virtual CaptureDetail failureDetail() const { return {}; }
    // The rows the control turned out to hold, when its data ended before the count it told (a
    // tree walk that found no next item, a list box line that is not there); -1 while none ended.
    // No row past it is read, and a read of rows past it gives them empty.
    virtual std::int32_t rowsEnded() const { return -1; }
};

// Opens the source of a control's kind (for a list view, openListViewBuffers). Always gives a
// source; its failure() says when the control cannot be read (NotAGrid for a kind that is none).
class IGridSourceFactory {
public:
    virtual ~IGridSourceFactory() = default;
    virtual std::unique_ptr<IGridSource> openGridSource(const GridTarget& target) = 0;
};

class IWindowInfo {
public:
    virtual ~IWindowInfo() = default;
    virtual WindowHandle getParent(WindowHandle hWnd) = 0;          // 0 at the top
    virtual std::wstring getWindowCaption(WindowHandle hWnd) = 0;   // empty for none
};

}  // namespace zav
