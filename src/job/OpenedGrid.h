// A control of another program opened once as a grid: the record of its header, read when it was
// opened, and the source that reads its cells. Whoever works on the grid holds it shared: the
// export dialog's model, and every job started from it, which may outlive the dialog.
#pragma once

#include <memory>
#include <string>

#include "capture/GridSource.h"

namespace zav {

struct OpenedGrid {
    ListViewInfo info;
    std::unique_ptr<IGridSource> source;  // null only when the factory gave none

    // Why the grid cannot be read (empty while it can): what is said instead of an empty export.
    std::wstring problem() const;
    // The kind of control read, as messages name it ("list view", "tree view", ...).
    std::wstring controlName() const;
};

// A kind of control as messages name it ("list view", "tree view", ...); None is a list view.
std::wstring controlNameOf(ControlKind kind);

// Opens the source of `target` and reads its header. The kind is known before any read, so a read
// that fails still names the right control; it leaves the counts at 0 and its failure with the
// source.
std::shared_ptr<OpenedGrid> openGrid(IGridSourceFactory& factory, const GridTarget& target);

// What a grid's signature begins with for its kind of control: nothing for a list view.
std::wstring controlKindMark(ControlKind kind);
// The column signature of a grid, by which its export types are found: its header texts
// 1..lColumnCount joined, after the kind's mark.
std::wstring buildColumnSignature(const ListViewInfo& info);

}  // namespace zav
