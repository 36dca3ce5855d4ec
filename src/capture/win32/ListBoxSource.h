// Reading a list box or a combo box of another process: one column "Item", one row a line.
// The system carries these controls' text messages (LB_GETTEXT, CB_GETLBTEXT) across processes
// into a buffer of ours, so no memory in the target is needed and its word size does not matter.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "capture/GridSource.h"
#include "capture/win32/RemoteControl.h"

namespace zav {

class ListBoxSource final : public RemoteControl {
public:
    // The one column's header.
    static constexpr const wchar_t* kColumn = L"Item";

    // Always gives a source; failure() says when the handle is no window.
    static std::unique_ptr<ListBoxSource> open(const GridTarget& target, const CaptureOptions& options = {});

    // Refuses (vbFalse, failure noted) a window that is gone, and a control that
    // draws its lines itself without keeping their texts (NoTexts): such a control answers its
    // lines' item data, not texts.
    VBool readListViewInfo(ListViewInfo& info) override;
    std::wstring getColumnText(std::int32_t lColumn) override;
    std::wstring getCellText(std::int32_t lRow, std::int32_t lColumn) override;

private:
    ListBoxSource(const GridTarget& target, const CaptureOptions& options);
    bool keepsTexts() const;
    // Row lRow's line (1-based), whose length the control told as `told`.
    template <class Unit> std::wstring readLine(std::int32_t lRow, LRESULT told);

    bool combo_ = false;       // a combo box (CB_ messages) rather than a list box (LB_)
    std::int32_t lineCount_ = 0;
};

}  // namespace zav
