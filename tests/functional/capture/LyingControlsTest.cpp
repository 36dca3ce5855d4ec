// Controls of another process that lie or change while read, read through the system capture and
// the table writer as an export reads them: every row given is a row the control held, and a read
// that cannot be believed is refused with words true to what happened.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "HostProcess.h"
#include "capture/GridSource.h"
#include "capture/win32/SystemGridSources.h"
#include "format/TableWriter.h"

namespace {

using zav::CaptureFailure;

// The rows a table writer writes, the rows a block at a time as an export reads them.
class RowsWriter final : public zav::TableWriter {
public:
    RowsWriter(const zav::ListViewInfo& info, zav::IGridSource& source)
        : TableWriter(info, source, noRules(), zav::NumberFormat{}) {}
    void begin() override {}
    void end() override {}
    std::vector<std::wstring> cells;

private:
    static const std::vector<const zav::cReplaceList*>& noRules() {
        static const std::vector<const zav::cReplaceList*> none;
        return none;
    }
    void writeRow(std::int32_t, const std::wstring* row) override { cells.insert(cells.end(), row, row + columnCount()); }
};

struct Outcome {
    std::vector<std::wstring> cells;  // of the rows written
    std::int32_t rowCount = 0;        // as the writer counts them at the end
    std::int32_t columns = 0;
    CaptureFailure failure = CaptureFailure::None;
    std::wstring message;
};

Outcome exportOf(HWND control) {
    auto source = zav::makeSystemGridSourceFactory()->openGridSource(
        zav::gridTargetOf(reinterpret_cast<zav::WindowHandle>(control)));
    zav::ListViewInfo info;
    Outcome out;
    if (source->readListViewInfo(info) != zav::vbFalse) {
        RowsWriter writer(info, *source);
        while (writer.nextBlock()) {
        }
        out.cells = writer.cells;
        out.rowCount = writer.rowCount();
        out.columns = info.lColumnCount;
    }
    out.failure = source->failure();
    out.message = zav::describeCaptureFailure(out.failure, info.kind, source->failureDetail());
    return out;
}

struct Case {
    const char* name;
    int control;                      // the host's control id
    std::vector<std::wstring> cells;  // the rows written, when the read is believed
    CaptureFailure failure;
    const wchar_t* message;           // the whole message, when refused
};

void check(const Case& c, const Outcome& got) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(got.failure, c.failure);
    EXPECT_EQ(got.message, c.message);
    if (c.failure != CaptureFailure::None) return;
    EXPECT_EQ(got.cells, c.cells);
    EXPECT_EQ(static_cast<std::size_t>(got.rowCount * got.columns), c.cells.size());
}

TEST(LyingControls, AListBoxGivesTheLinesItHoldsOrIsRefusedAsInconsistent) {
    zavtest::HostProcess host(zavtest::siblingHostProgram("zav_lbhost.exe"), std::string(), L"ZavListBoxHostWindow");
    const std::vector<std::wstring> lines = {L"one", L"two \u0416", L"", L"four", L"five"};
    const wchar_t* inconsistent =
        L"The list box answered inconsistently at row 1, column 1: the length of its text and the text it gave "
        L"do not agree.";
    const Case cases[] = {
        {"a count of 2^31-1", 4, lines, CaptureFailure::None, L""},
        // The system sizes its copy of the line by the length told: no text comes, and the row is
        // named, never read as empty.
        {"a length of 2^31-1", 5, {}, CaptureFailure::TextUnreadable,
         L"The list box told a length for the text at row 1, column 1 that cannot be honoured (2,147,483,647 "
         L"characters), and the text could not be read whole."},
        {"a length of -5", 8, {}, CaptureFailure::TextUnreadable,
         L"The list box told a length for the text at row 1, column 1 that cannot be honoured (-5 characters), "
         L"and the text could not be read whole."},
        {"a length two short of the text", 6, {}, CaptureFailure::Inconsistent, inconsistent},
        {"a copy that claims 100,000 characters", 7, {}, CaptureFailure::Inconsistent, inconsistent},
    };
    for (const Case& c : cases) check(c, exportOf(host.control(c.control)));
}

TEST(LyingControls, ATreeGivesTheItemsItHoldsAndALoopIsRefused) {
    const auto tree = [](const char* mode) {
        return zavtest::HostProcess(zavtest::siblingHostProgram("zav_tvhost.exe"), std::string(mode) + " 1",
                                    L"ZavTreeHostWindow");
    };
    const Case counted = {"a count of 2^31-1", 1,
                          {L"a", L"1", L"a", L"a1", L"2", L"a\\a1", L"a2", L"2", L"a\\a2",
                           L"b", L"1", L"b", L"b1", L"2", L"b\\b1", L"b2", L"2", L"b\\b2",
                           L"c", L"1", L"c", L"c1", L"2", L"c\\c1", L"c2", L"2", L"c\\c2"},
                          CaptureFailure::None, L""};
    const Case looped = {"a leaf whose child is a root", 1, {}, CaptureFailure::TreeLoop,
                         L"The tree view answered inconsistently: an item came again at row 4 of one walk over the "
                         L"tree, as if it were its own descendant."};
    for (const auto& [mode, c] : {std::pair{"count", counted}, std::pair{"loop", looped}}) {
        auto host = tree(mode);
        check(c, exportOf(host.control(c.control)));
    }
}

TEST(LyingControls, AListViewThatChangesWhileReadIsRefused) {
    // 2,000 rows of two cells: the change comes after 600 item requests, two a row and the first
    // 128 rows' first column asked once more (which tells that the rows' item data differ).
    const std::string rows = "column\t50\tA\ncolumn\t50\tB\ngenerate\t2000\t2\n";
    std::vector<std::wstring> all;
    for (int r = 1; r <= 2000; ++r)
        for (int c = 1; c <= 2; ++c) all.push_back(L"R" + std::to_wstring(r) + L"C" + std::to_wstring(c));
    const struct {
        Case c;
        std::string description;
    } cases[] = {
        {{"refreshed down to 5 rows", 0, {}, CaptureFailure::RowsFell,
          L"The list view changed while it was being read: it held 2,000 rows when the export began and holds 5 "
          L"now."},
         rows + "shrink\t600\t5\n"},
        {{"re-sorted, item data distinct", 0, {}, CaptureFailure::RowsMoved,
          L"The list view changed while it was being read: its rows moved (it was re-sorted or refreshed), and row "
          L"237 came again as a row already read."},
         rows + "params\nresort\t600\n"},
        // Distinct item data watched over a list that does not change: every row, none refused.
        {{"item data distinct, unchanged", 0, all, CaptureFailure::None, L""}, rows + "params\n"},
    };
    for (const auto& [c, description] : cases) {
        zavtest::HostProcess host(description);
        check(c, exportOf(host.list()));
    }
}

}  // namespace
