#include <gtest/gtest.h>

#include <algorithm>

#include "ExportFixture.h"
#include "format/HtmlWriter.h"

using namespace zav;
using namespace exporttest;

namespace {

cReplaceList rulesOf(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> pairs) {
    cColumn column;
    for (const auto& p : pairs) column.addReplace(p.first, p.second);
    return column.replaces;
}

std::wstring cell(const std::wstring& text, const cReplaceList& rules) {
    return formatCell(text, &rules, usEnglishNumberFormat());
}

}  // namespace

TEST(CellRules, NumbersMatchWholeOtherTextsEveryOccurrence) {
    const auto comma = rulesOf({{L",", L""}});
    EXPECT_EQ(cell(L"a,b", comma), L"ab");
    EXPECT_EQ(cell(L"1,000", comma), L"1,000");
    EXPECT_EQ(cell(L"1,000", rulesOf({{L"1,000", L"1000"}})), L"1000");
    const auto one = rulesOf({{L"1", L"x"}});
    EXPECT_EQ(cell(L"12", one), L"12");
    EXPECT_EQ(cell(L"12a", one), L"x2a");
    EXPECT_EQ(cell(L"aaa", rulesOf({{L"aa", L"b"}})), L"ba");  // no overlaps, left to right
    EXPECT_EQ(cell(L"ab", rulesOf({{L"a", L"aa"}})), L"aab");  // inserted text not scanned again
    EXPECT_EQ(cell(L"ABC", rulesOf({{L"abc", L"x"}})), L"ABC");
    EXPECT_EQ(cell(L"12", rulesOf({{L"", L"x"}})), L"12");
}

TEST(CellRules, ChainOnTheTextThePreviousRulesLeft) {
    const auto chain = rulesOf({{L"a", L"1"}, {L"1", L"one"}});
    EXPECT_EQ(cell(L"a", chain), L"one");
    EXPECT_EQ(cell(L"ab", chain), L"oneb");
}

TEST(CellRules, EscapeTheCellButNotWhatRulesPutIn) {
    const NumberFormat us = usEnglishNumberFormat();
    EXPECT_EQ(formatCell(L"a<b & \"c\" > d", nullptr, us), L"a&lt;b &amp; &quot;c&quot; &gt; d");
    EXPECT_EQ(cell(L"Yes", rulesOf({{L"Yes", L"<b>Yes</b>"}})), L"<b>Yes</b>");
    EXPECT_EQ(cell(L"Yes & no", rulesOf({{L"Yes", L"<b>Yes</b>"}})), L"<b>Yes</b> &amp; no");
    // Rules match the raw cell text, including its markup characters.
    EXPECT_EQ(cell(L"R&D", rulesOf({{L"&", L"<br>"}})), L"R<br>D");
    EXPECT_EQ(cell(L"<i>", rulesOf({{L"i", L"b"}})), L"&lt;b&gt;");
    // A whole-number match replaces the cell by the rule's text, written as typed.
    EXPECT_EQ(cell(L"7", rulesOf({{L"7", L"<7>"}})), L"<7>");
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
    // Blocks of 64 rows of 4 cells: the failed one holds rows 961 to 1024, and nothing after it
    // is asked for or written.
    ASSERT_EQ(256, kCellsPerBlock);
    EXPECT_EQ(1024, grid.lastRowAsked);
    EXPECT_NE(std::wstring::npos, out.text_.find(L"<td >r960c4</td></tr>\r\n"));
    EXPECT_EQ(std::wstring::npos, out.text_.find(L"r961c1"));
}
