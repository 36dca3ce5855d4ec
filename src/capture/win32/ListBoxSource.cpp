#include "capture/win32/ListBoxSource.h"

#include <algorithm>
#include <vector>

#include "text/Ansi.h"

namespace zav {
namespace {

// A line's length as answered is believed up to this many characters; a control answering more
// is not given a buffer that large.
constexpr std::size_t kMaxLine = 64u << 20;

// The system's own style bits of both kinds of control, the same in every header version.
constexpr LONG kListOwnerDraw = LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE;
constexpr LONG kComboOwnerDraw = CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE;

}  // namespace

std::unique_ptr<ListBoxSource> ListBoxSource::open(const GridTarget& target, const CaptureOptions& options) {
    return std::unique_ptr<ListBoxSource>(new ListBoxSource(target, options));
}

ListBoxSource::ListBoxSource(const GridTarget& target, const CaptureOptions& options)
    // The system carries these controls' texts itself, converted by the letter of the function
    // that sends: UTF-16 on the NT family, which converts an ANSI control's lines for us; ANSI on
    // the 9x family.
    : RemoteControl(target, options, 255, true), combo_(target.kind == ControlKind::ComboBox) {
    if (!IsWindow(window())) note(CaptureFailure::NoWindow);
}

bool ListBoxSource::keepsTexts() const {
    const LONG style = GetWindowLongW(window(), GWL_STYLE);
    if (combo_) return (style & kComboOwnerDraw) == 0 || (style & CBS_HASSTRINGS) != 0;
    return (style & kListOwnerDraw) == 0 || (style & LBS_HASSTRINGS) != 0;
}

VBool ListBoxSource::readListViewInfo(ListViewInfo& info) {
    taken_ = false;
    info.lItemCount = 0;
    info.lColumnCount = 0;
    startRecord(info, combo_ ? ControlKind::ComboBox : ControlKind::ListBox);
    if (!IsWindow(window())) {
        note(CaptureFailure::NoWindow);
        return vbFalse;
    }
    if (!keepsTexts()) {
        note(CaptureFailure::NoTexts);
        return vbFalse;
    }

    LRESULT count = 0;
    if (!send(combo_ ? CB_GETCOUNT : LB_GETCOUNT, 0, 0, count)) return vbFalse;
    lineCount_ = std::max<std::int32_t>(0, static_cast<std::int32_t>(count));  // LB_ERR: none

    const ScreenRect rc = windowRect();
    info.rcWindow = rc;
    info.lView = 1;  // read as a report: one row a line
    info.lItemCount = lineCount_;
    info.lColumnCount = 1;
    info.lColumnWidth = {0, rc.right - rc.left};
    info.szColumnText = {std::wstring(), kColumn};
    taken_ = true;
    return vbTrue;
}

std::wstring ListBoxSource::getColumnText(std::int32_t lColumn) {
    return taken_ && lColumn == 1 ? std::wstring(kColumn) : std::wstring();
}

std::wstring ListBoxSource::getCellText(std::int32_t lRow, std::int32_t lColumn) {
    if (!taken_ || lColumn != 1 || lRow < 1 || lRow > lineCount_) return {};
    LRESULT length = 0;
    const WPARAM index = static_cast<WPARAM>(lRow - 1);
    if (!send(combo_ ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, index, 0, length)) return {};
    if (length <= 0 || static_cast<std::size_t>(length) > kMaxLine) return {};  // LB_ERR, or not believed
    return *options().wideTexts ? readLine<wchar_t>(lRow - 1, static_cast<std::size_t>(length))
                               : readLine<char>(lRow - 1, static_cast<std::size_t>(length));
}

template <class Unit>
std::wstring ListBoxSource::readLine(std::int32_t index, std::size_t length) {
    // The text comes back into a buffer of ours, as long as the length just answered. A line
    // changed between the two messages could be longer: the buffer keeps room to spare, and a
    // longer answer than asked for is asked again with its own length.
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::vector<Unit> buffer(length + length / 2 + 64, Unit{0});
        LRESULT copied = 0;
        if (!send(combo_ ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(index),
                  reinterpret_cast<LPARAM>(buffer.data()), copied))
            return {};
        if (copied <= 0) return {};
        const std::size_t n = static_cast<std::size_t>(copied);
        if (n > length && n < kMaxLine) {
            length = n;
            continue;
        }
        const std::size_t units = std::min({n, buffer.size() - 1, options().maxTextLength});
        const auto end = std::find(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(units), Unit{0});
        const std::size_t kept = static_cast<std::size_t>(end - buffer.begin());
        if constexpr (sizeof(Unit) == 1) return fromAnsi(buffer.data(), kept);
        else return std::wstring(buffer.data(), kept);
    }
    return {};
}

}  // namespace zav
