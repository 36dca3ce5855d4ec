#include <gtest/gtest.h>

#include <algorithm>

#include "ExportFixture.h"
#include "format/HtmlWriter.h"

using namespace zav;
using namespace exporttest;

// Numbers match a rule only whole, other texts at every occurrence, left to right; rules chain on
// the text the previous ones left; the cell is escaped, what rules put in is not.
TEST(CellRules, MatchReplaceAndEscapeAsTheyShould) {
    const struct {
        const wchar_t* text;
        std::vector<std::pair<const wchar_t*, const wchar_t*>> rules;
        const wchar_t* cell;
    } cases[] = {
        {L"a,b", {{L",", L""}}, L"ab"},
        {L"1,000", {{L",", L""}}, L"1,000"},
        {L"1,000", {{L"1,000", L"1000"}}, L"1000"},
        {L"12", {{L"1", L"x"}}, L"12"},
        {L"12a", {{L"1", L"x"}}, L"x2a"},
        {L"aaa", {{L"aa", L"b"}}, L"ba"},   // no overlaps
        {L"ab", {{L"a", L"aa"}}, L"aab"},   // inserted text not scanned again
        {L"ABC", {{L"abc", L"x"}}, L"ABC"},
        {L"12", {{L"", L"x"}}, L"12"},
        {L"a", {{L"a", L"1"}, {L"1", L"one"}}, L"one"},
        {L"ab", {{L"a", L"1"}, {L"1", L"one"}}, L"oneb"},
        {L"a<b & \"c\" > d", {}, L"a&lt;b &amp; &quot;c&quot; &gt; d"},
        {L"Yes", {{L"Yes", L"<b>Yes</b>"}}, L"<b>Yes</b>"},
        {L"Yes & no", {{L"Yes", L"<b>Yes</b>"}}, L"<b>Yes</b> &amp; no"},
        {L"R&D", {{L"&", L"<br>"}}, L"R<br>D"},  // rules match the raw text, markup characters too
        {L"<i>", {{L"i", L"b"}}, L"&lt;b&gt;"},
        {L"7", {{L"7", L"<7>"}}, L"<7>"},  // a whole-number match is written as typed
    };
    for (const auto& c : cases) {
        cColumn column;
        for (const auto& [from, to] : c.rules) column.addReplace(from, to);
        EXPECT_EQ(formatCell(c.text, c.rules.empty() ? nullptr : &column.replaces, usEnglishNumberFormat()), c.cell)
            << zavtest::shown(c.text);
    }
}

namespace {

// A generated grid that records how the writer reads it: block by block through readCells (the
// interface's own version over getCellText), with the largest block and where reading stopped.
class BlockCountingGrid : public IGridSource {
public:
    BlockCountingGrid(std::int32_t rows, std::int32_t columns) : rows_(rows), columns_(columns) {}
    VBool readListViewInfo(ListViewInfo&) override { return vbTrue; }
    std::wstring getColumnText(std::int32_t) override { return L""; }
    std::wstring getCellText(std::int32_t r, std::int32_t c) override {
        if (r < 1 || r > rows_ || c < 1 || c > columns_) return L"";
        return c == 2 ? L"<" + std::to_wstring(r) + L">" : L"r" + std::to_wstring(r) + L"c" + std::to_wstring(c);
    }
    bool readCells(std::int32_t firstRow, std::int32_t rowCount, std::int32_t columnCount,
                   std::vector<std::wstring>& cells) override {
        ++blocks;
        largestBlock = std::max<long>(largestBlock, static_cast<long>(rowCount) * columnCount);
        lastRowAsked = firstRow + rowCount - 1;
        if (failAtRow != 0 && failAtRow >= firstRow && failAtRow <= lastRowAsked) failure_ = CaptureFailure::TargetGone;
        return IGridSource::readCells(firstRow, rowCount, columnCount, cells);
    }
    CaptureFailure failure() const override { return failure_; }

    long blocks = 0;
    long largestBlock = 0;
    std::int32_t lastRowAsked = 0;
    std::int32_t failAtRow = 0;

private:
    std::int32_t rows_, columns_;
    CaptureFailure failure_ = CaptureFailure::None;
};

class StringWriter : public ITextWriter {
public:
    void write(const std::wstring& text) override { text_ += text; }
    void writeLine(const std::wstring& text) override { text_ += text + L"\r\n"; }
    void close() override {}
    std::wstring text_;
};

ListViewInfo gridInfo(std::int32_t rows, std::int32_t columns) {
    ListViewInfo info;
    info.lItemCount = rows;
    info.lColumnCount = columns;
    info.szColumnText.assign(1, L"");
    for (std::int32_t c = 1; c <= columns; ++c) info.szColumnText.push_back(L"H" + std::to_wstring(c));
    return info;
}

}  // namespace

TEST(HtmlTable, ReadsTheCellsBlockByBlockAndWritesEveryRowOnce) {
    // Row counts around the block size: one short block, exact blocks, a last partial block.
    for (std::int32_t columns : {1, 3, 300}) {
        const std::int32_t blockRows = std::max<std::int32_t>(1, kCellsPerBlock / columns);
        for (std::int32_t rows : {0, 1, blockRows, blockRows + 1, 5 * blockRows - 1}) {
            BlockCountingGrid grid(rows, columns);
            StringWriter out;
            const std::vector<const cReplaceList*> rules;
            writeHtmlTable(out, HtmlFragments{L"<h>", L"t", L"hf", L"df", L"</h>"}, gridInfo(rows, columns), grid, rules,
                           usEnglishNumberFormat());

            std::wstring expected = L"<h>\r\n<table t>\r\n<tr>";
            for (std::int32_t c = 1; c <= columns; ++c) expected += L"<td hf>H" + std::to_wstring(c) + L"</td>";
            expected += L"</tr>\r\n";
            for (std::int32_t r = 1; r <= rows; ++r) {
                expected += L"<tr>";
                for (std::int32_t c = 1; c <= columns; ++c) {
                    expected += L"<td df>";
                    expected += c == 2 ? L"&lt;" + std::to_wstring(r) + L"&gt;"
                                       : L"r" + std::to_wstring(r) + L"c" + std::to_wstring(c);
                    expected += L"</td>";
                }
                expected += L"</tr>\r\n";
            }
            expected += L"</table>\r\n</h>\r\n";
            EXPECT_EQ(expected, out.text_) << rows << " x " << columns;
            // Memory stays flat: never more than one block of whole rows at a time.
            EXPECT_LE(grid.largestBlock, std::max<long>(kCellsPerBlock, columns)) << rows << " x " << columns;
            EXPECT_EQ((rows + blockRows - 1) / blockRows, grid.blocks) << rows << " x " << columns;
        }
    }
}

TEST(HtmlTable, StopsReadingAtTheFirstBlockTheCaptureCouldNotRead) {
    BlockCountingGrid grid(100000, 4);
    grid.failAtRow = 1000;
    StringWriter out;
    const std::vector<const cReplaceList*> rules;
    writeHtmlTable(out, HtmlFragments{}, gridInfo(100000, 4), grid, rules, usEnglishNumberFormat());
    EXPECT_EQ(CaptureFailure::TargetGone, grid.failure());
    // The block that failed is the last asked for, and nothing of it or after it is written.
    const std::int32_t rows = kCellsPerBlock / 4, failed = (1000 - 1) / rows * rows + 1;
    EXPECT_EQ(failed + rows - 1, grid.lastRowAsked);
    EXPECT_NE(std::wstring::npos, out.text_.find(L"<td >r" + std::to_wstring(failed - 1) + L"c4</td></tr>\r\n"));
    EXPECT_EQ(std::wstring::npos, out.text_.find(L"r" + std::to_wstring(failed) + L"c1"));
}
