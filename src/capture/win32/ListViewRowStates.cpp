#include "capture/win32/ListViewRowStates.h"

#include <commctrl.h>

#include "capture/win32/SystemGridSources.h"

namespace zav {
namespace {

// One message within the time-out; false (and why) when it failed.
bool ask(HWND list, UINT msg, WPARAM wParam, LPARAM lParam, DWORD timeoutMs, LRESULT& result,
         CaptureFailure& failure) {
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(list, msg, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK, timeoutMs, &answer)) {
        result = static_cast<LRESULT>(answer);
        return true;
    }
    failure = IsWindow(list) ? CaptureFailure::TargetHung : CaptureFailure::TargetGone;
    return false;
}

// A result as the list view's int: a 32-bit program's -1 arrives as 0xFFFFFFFF.
std::int32_t asInt(LRESULT r) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(r)); }

}  // namespace

std::vector<std::int32_t> readSelectedRows(HWND list, std::int32_t itemCount, DWORD timeoutMs,
                                           CaptureFailure& failure) {
    failure = CaptureFailure::None;
    std::vector<std::int32_t> rows;
    LRESULT r = 0;
    if (!ask(list, LVM_GETSELECTEDCOUNT, 0, 0, timeoutMs, r, failure)) return {};
    const std::int32_t count = asInt(r);
    std::int32_t previous = -1;
    while (static_cast<std::int32_t>(rows.size()) < count) {
        if (!ask(list, LVM_GETNEXTITEM, static_cast<WPARAM>(previous), MAKELPARAM(LVNI_SELECTED, 0), timeoutMs, r,
                 failure))
            return {};
        const std::int32_t next = asInt(r);
        if (next <= previous || next >= itemCount) break;
        rows.push_back(next + 1);
        previous = next;
    }
    return rows;
}

int selectedRowCount(const GridTarget& target) {
    if (target.kind != ControlKind::ListView) return 0;
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(reinterpret_cast<HWND>(target.window), LVM_GETSELECTEDCOUNT, 0, 0, SMTO_ABORTIFHUNG, 250,
                             &count))
        return 0;
    return static_cast<int>(static_cast<std::int32_t>(count));
}

bool listHasCheckBoxes(HWND list, DWORD timeoutMs, CaptureFailure& failure) {
    LRESULT r = 0;
    return ask(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0, timeoutMs, r, failure) && (r & LVS_EX_CHECKBOXES) != 0;
}

bool readCheckMarks(HWND list, std::int32_t firstRow, std::int32_t rowCount, DWORD timeoutMs,
                    std::vector<char>& checked, CaptureFailure& failure) {
    checked.clear();
    for (std::int32_t i = 0; i < rowCount; ++i) {
        LRESULT r = 0;
        if (!ask(list, LVM_GETITEMSTATE, static_cast<WPARAM>(firstRow - 1 + i), LVIS_STATEIMAGEMASK, timeoutMs, r,
                 failure))
            return false;
        // State image 1 is the empty box, 2 the checked one.
        checked.push_back(((static_cast<UINT>(r) & LVIS_STATEIMAGEMASK) >> 12) == 2 ? 1 : 0);
    }
    return true;
}

}  // namespace zav
