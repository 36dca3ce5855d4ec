// Which rows of a list view are selected, and which are checked. Neither needs a buffer in the
// list view's process: LVM_GETNEXTITEM and LVM_GETITEMSTATE answer in their result, so the menu
// can ask with the window alone.
#include "capture/win32/ListViewSource.h"

#include <commctrl.h>

#include "capture/win32/SystemGridSources.h"

namespace zav {
namespace {

// A result as the list view's int: a 32-bit program's -1 arrives as 0xFFFFFFFF.
std::int32_t asInt(LRESULT r) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(r)); }

}  // namespace

int selectedRowCount(const GridTarget& target) {
    if (target.kind != ControlKind::ListView) return 0;
    // A moment only, and the menu's thread handles what is sent to it meanwhile: the menu then
    // opens without the items that need a selection rather than late.
    LRESULT count = 0;
    if (RemoteControl::sendTimed(reinterpret_cast<HWND>(target.window), LVM_GETSELECTEDCOUNT, 0, 0,
                                 SendManner{250, false, true}, count) != CaptureFailure::None)
        return 0;
    return static_cast<int>(asInt(count));
}

bool ListViewSource::readSelectedRows(std::vector<std::int32_t>& rows) {
    rows.clear();
    if (!taken_) return false;
    LRESULT r = 0;
    if (!send(LVM_GETSELECTEDCOUNT, 0, 0, r)) return false;
    const std::int32_t count = asInt(r);
    std::int32_t previous = -1;
    while (static_cast<std::int32_t>(rows.size()) < count) {
        if (!send(LVM_GETNEXTITEM, static_cast<WPARAM>(previous), MAKELPARAM(LVNI_SELECTED, 0), r)) {
            rows.clear();
            return false;
        }
        // A foreign window could answer anything: the list ends at an answer beyond it, or one
        // that does not move forward.
        const std::int32_t next = asInt(r);
        if (next <= previous || next >= itemCount_) break;
        rows.push_back(next + 1);
        previous = next;
    }
    return true;
}

bool ListViewSource::readCheckBoxStyle() {
    LRESULT r = 0;
    return send(LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0, r) && (r & LVS_EX_CHECKBOXES) != 0;
}

bool ListViewSource::readCheckMarks(std::int32_t firstRow, std::int32_t rowCount, std::vector<char>& checked) {
    checked.clear();
    if (!taken_) return false;
    for (std::int32_t i = 0; i < rowCount; ++i) {
        LRESULT r = 0;
        if (!send(LVM_GETITEMSTATE, static_cast<WPARAM>(firstRow - 1 + i), LVIS_STATEIMAGEMASK, r)) return false;
        // State image 1 is the empty box, 2 the checked one.
        checked.push_back(((static_cast<UINT>(r) & LVIS_STATEIMAGEMASK) >> 12) == 2 ? 1 : 0);
    }
    return true;
}

}  // namespace zav
