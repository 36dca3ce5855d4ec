#include "capture/win32/ListBoxSource.h"

#include <algorithm>
#include <vector>

#include "text/Ansi.h"

namespace zav {
namespace {

// What LB_ERR and CB_ERR answer: the line is not there.
constexpr LRESULT kNoLine = -1;
// A line's length as told is believed up to this many characters (a text longer than the options'
// longest is cut there); a control telling more is not given a buffer that large.
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
    if (rowsEnded() >= 0 && lRow > rowsEnded()) return {};  // past the last line there is
    LRESULT length = 0;
    const WPARAM index = static_cast<WPARAM>(lRow - 1);
    if (!send(combo_ ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, index, 0, length)) return {};
    if (length == kNoLine) {  // the lines end before the count the control told
        noteEnded(lRow - 1);
        return {};
    }
    return *options().wideTexts ? readLine<wchar_t>(lRow, length) : readLine<char>(lRow, length);
}

template <class Unit>
std::wstring ListBoxSource::readLine(std::int32_t lRow, LRESULT told) {
    // The system copies the whole line into a buffer of ours, however long it is, so the buffer
    // must hold it: as long as the length told, with room to spare for a line changed between the
    // two messages. A length that cannot be honoured (negative, or beyond what a control holds)
    // is never read as an empty text: the line goes into a buffer of the longest text read, and
    // one longer than that is refused.
    const std::size_t longest = options().maxTextLength;
    const bool believed = told >= 0 && static_cast<std::size_t>(told) <= kMaxLine;
    std::size_t length = believed ? static_cast<std::size_t>(told) : longest;
    CaptureDetail at;
    at.row = lRow;
    at.column = 1;
    at.length = static_cast<std::int64_t>(told);
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::vector<Unit> buffer(length + length / 2 + 64, Unit{0});
        LRESULT copied = 0;
        const UINT message = combo_ ? CB_GETLBTEXT : LB_GETTEXT;
        const LPARAM into = reinterpret_cast<LPARAM>(buffer.data());
        if (!believed) {
            // The system sizes the copy between the processes by the length the control tells, so
            // the text of such a length may not come at all, though the control still answers.
            const CaptureFailure failure =
                sendTimed(window(), message, static_cast<WPARAM>(lRow - 1), into,
                          SendManner{options().timeoutMs, true, *options().wideTexts}, copied);
            LRESULT alive = 0;
            if (failure != CaptureFailure::None) {
                if (send(WM_NULL, 0, 0, alive)) note(CaptureFailure::TextUnreadable, at);  // else hung or gone
                return {};
            }
        } else if (!send(message, static_cast<WPARAM>(lRow - 1), into, copied)) {
            return {};
        }
        if (copied == kNoLine) {  // gone since its length was asked
            noteEnded(lRow - 1);
            return {};
        }
        // What the control says it copied must be the text that is there. For a length that cannot
        // be honoured, nothing at all is refused too: an empty line cannot be told from a text the
        // system did not carry (a 32-bit control's copy comes back empty where a 64-bit one's fails).
        const std::size_t room = buffer.size() - 1;
        const auto end = std::find(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(room), Unit{0});
        const std::size_t kept = static_cast<std::size_t>(end - buffer.begin());
        if (copied < 0 || static_cast<std::size_t>(copied) != kept || (!believed && (kept == 0 || kept > longest))) {
            note(believed ? CaptureFailure::Inconsistent : CaptureFailure::TextUnreadable, at);
            return {};
        }
        // A line longer than its length said: its length asked again, once; a control that keeps
        // saying less than it gives contradicts itself.
        if (believed && kept > length) {
            LRESULT again = 0;
            if (!send(combo_ ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, static_cast<WPARAM>(lRow - 1), 0, again)) return {};
            if (attempt == 0 && again >= 0 && static_cast<std::size_t>(again) >= kept) {
                length = static_cast<std::size_t>(again);
                continue;
            }
            note(CaptureFailure::Inconsistent, at);
            return {};
        }
        const std::size_t cut = std::min(kept, longest);
        if constexpr (sizeof(Unit) == 1) return fromAnsi(buffer.data(), cut);
        else return std::wstring(buffer.data(), cut);
    }
    note(CaptureFailure::Inconsistent, at);
    return {};
}

}  // namespace zav
