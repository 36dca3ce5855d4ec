// Which rows of a list view (of this or another process) are selected, and which are checked.
// Neither needs a buffer in the list view's process: LVM_GETNEXTITEM and LVM_GETITEMSTATE answer
// in their result, so any reader (an export, a copy to the clipboard) can ask with the window
// alone. Owner-data lists keep their selection in the list view as well, so they answer alike.
// Every message waits at most `timeoutMs` (SMTO_ABORTIFHUNG too); the first one that fails ends
// the read, which then reports why (TargetHung or TargetGone) instead of a shorter answer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "capture/GridSource.h"

namespace zav {

// The selected rows, 1-based and ascending, of a list of `itemCount` rows (answers beyond it, or
// that do not move forward, end the list: a foreign window could answer anything). `failure`
// stays None when the read succeeded.
std::vector<std::int32_t> readSelectedRows(HWND list, std::int32_t itemCount, DWORD timeoutMs, CaptureFailure& failure);

// Whether the list shows check boxes (LVS_EX_CHECKBOXES).
bool listHasCheckBoxes(HWND list, DWORD timeoutMs, CaptureFailure& failure);

// For rows firstRow .. firstRow + rowCount - 1 (1-based): 1 when the row's check box is checked
// (state image 2), else 0. False when a message failed (`failure` says why; `checked` then holds
// the rows read before).
bool readCheckMarks(HWND list, std::int32_t firstRow, std::int32_t rowCount, DWORD timeoutMs,
                    std::vector<char>& checked, CaptureFailure& failure);

}  // namespace zav
