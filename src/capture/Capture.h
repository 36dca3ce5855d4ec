// The list-view capture as the portable core sees it: a record of a foreign list view's header,
// and a capture object (the window plus the buffers in its process) that reads header and cell
// texts on demand. The Windows build reads another process through window messages; tests feed
// in-memory grids through the same interfaces.
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

// One record per export dialog, owned by the dialog.
struct ListViewInfo {
    WindowHandle hWnd = 0;               // the list view to read; set by the caller
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

// Why a capture could not read (None while all is well).
enum class CaptureFailure {
    None,
    NoWindow,          // the handle is no window (or it went away during the read)
    NotListView,       // the window's class is not a list view
    ProcessNotOpened,  // the owning process could not be opened (for instance an elevated program)
    NoBuffers,         // the buffers in the other process could not be made
    TargetGone,        // the window or its process ended while being read
    TargetHung,        // the window stopped answering
    TargetTooWide,     // the window belongs to a 64-bit program and this program is 32-bit
    NoTexts,           // a list box or combo box that draws its lines itself and keeps no texts
};

// What went wrong, for the user, naming the kind of control that was read (a list view for None).
std::wstring describeCaptureFailure(CaptureFailure failure, ControlKind kind = ControlKind::ListView);

// A capture: the window being read and the two buffers in its process. Owned by whoever opened
// it; destroying it frees the buffers (closeListViewBuffers).
class IListViewCapture {
public:
    virtual ~IListViewCapture() = default;
    // Fills the record from the window named by info.hWnd. vbTrue when read; vbFalse (record
    // left as described for the failure) when the handle is no window or not a list view.
    virtual VBool readListViewInfo(ListViewInfo& info) = 0;
    // 1-based column; empty text when it cannot be read.
    virtual std::wstring getColumnText(std::int32_t lColumn) = 0;
    // 1-based row and column; empty text when it cannot be read.
    virtual std::wstring getCellText(std::int32_t lRow, std::int32_t lColumn) = 0;
    // The cells of `rowCount` rows from `firstRow` (1-based), columns 1 to `columnCount`, row after
    // row: `cells` is resized to rowCount * columnCount, cell (r, c) at
    // (r - firstRow) * columnCount + (c - 1). True when every cell was read; false as soon as the
    // capture fails (failure() says why; the cells not read are left empty). This one asks
    // getCellText cell by cell; a capture of another process reads a block in fewer round trips.
    virtual bool readCells(std::int32_t firstRow, std::int32_t rowCount, std::int32_t columnCount,
                           std::vector<std::wstring>& cells);
    // The selected rows, 1-based and ascending. False when the list could not be asked (failure()
    // says why). A capture that knows no selection has none.
    virtual bool readSelectedRows(std::vector<std::int32_t>& rows);
    // For rows firstRow .. firstRow + rowCount - 1 (1-based): 1 where the row's check box is
    // checked, else 0. False when the capture failed. A capture without check boxes answers 0.
    virtual bool readCheckMarks(std::int32_t firstRow, std::int32_t rowCount, std::vector<char>& checked);
    // The first failure met since the capture was opened (None when every call could read).
    virtual CaptureFailure failure() const = 0;
};

// Opens captures (openListViewBuffers) and answers questions about windows.
class ICaptureFactory {
public:
    virtual ~ICaptureFactory() = default;
    virtual std::unique_ptr<IListViewCapture> openListViewBuffers(WindowHandle hWnd) = 0;
};

class IWindowInfo {
public:
    virtual ~IWindowInfo() = default;
    virtual WindowHandle getParent(WindowHandle hWnd) = 0;          // 0 at the top
    virtual std::wstring getWindowCaption(WindowHandle hWnd) = 0;   // empty for none
    virtual std::wstring getWindowClass(WindowHandle hWnd) = 0;     // empty when it fails
};

}  // namespace zav
