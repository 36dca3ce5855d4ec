// The clipboard forms of the grid: the text's quoting, the HTML header's byte offsets (read back
// by parsing the header and slicing the data, as a pasting program does), escaping, texts beyond
// Latin and the basic plane, rules and the column choice taken from the first compatible type.
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ExportFixture.h"
#include "job/ClipboardCopy.h"
#include "model/ExportOptions.h"
#include "text/Utf8.h"

using namespace zav;
using namespace exporttest;

namespace {

using Table = std::vector<std::vector<std::wstring>>;

// The header's offsets by name, and the data sliced by them.
struct ParsedHtml {
    std::map<std::string, std::size_t> offsets;
    std::string document, fragment;
};

ParsedHtml parseClipboardHtml(const std::string& data) {
    ParsedHtml parsed;
    std::size_t pos = 0;
    while (pos < data.size() && data[pos] != '<') {
        const std::size_t end = data.find("\r\n", pos);
        const std::size_t colon = data.find(':', pos);
        if (end == std::string::npos || colon == std::string::npos || colon > end) break;
        const std::string key = data.substr(pos, colon - pos);
        if (key != "Version") parsed.offsets[key] = std::stoul(data.substr(colon + 1, end - colon - 1));
        pos = end + 2;
    }
    auto slice = [&](const char* from, const char* to) {
        const std::size_t a = parsed.offsets.at(from), b = parsed.offsets.at(to);
        return a <= b && b <= data.size() ? data.substr(a, b - a) : std::string("<bad offsets>");
    };
    parsed.document = slice("StartHTML", "EndHTML");
    parsed.fragment = slice("StartFragment", "EndFragment");
    return parsed;
}

std::wstring unescape(const std::wstring& html) {
    std::wstring out;
    for (std::size_t i = 0; i < html.size(); ++i) {
        bool matched = false;
        for (const auto& [ref, c] : std::vector<std::pair<std::wstring, wchar_t>>{
                 {L"&amp;", L'&'}, {L"&lt;", L'<'}, {L"&gt;", L'>'}, {L"&quot;", L'"'}}) {
            if (html.compare(i, ref.size(), ref) == 0) {
                out += c;
                i += ref.size() - 1;
                matched = true;
                break;
            }
        }
        if (!matched) out += html[i];
    }
    return out;
}

// The cells of the fragment's table, row by row, unescaped.
Table cellsOf(const std::string& fragment) {
    const std::wstring html = fromUtf8(fragment);
    Table rows;
    for (std::size_t tr = html.find(L"<tr>"); tr != std::wstring::npos; tr = html.find(L"<tr>", tr + 1)) {
        const std::size_t rowEnd = html.find(L"</tr>", tr);
        rows.emplace_back();
        for (std::size_t td = html.find(L"<td>", tr); td < rowEnd; td = html.find(L"<td>", td + 1)) {
            const std::size_t cellEnd = html.find(L"</td>", td);
            rows.back().push_back(unescape(html.substr(td + 4, cellEnd - td - 4)));
        }
    }
    return rows;
}

// A copy of `grid` with those rules and columns (every column in index order when none are given).
std::unique_ptr<ClipboardCopyJob> copyOf(std::shared_ptr<Grid> grid, std::vector<cReplaceList> rules = {},
                                         std::vector<std::int32_t> columns = {}) {
    auto opened = std::make_shared<OpenedGrid>();
    opened->source = std::make_unique<FakeCapture>(std::move(grid));
    opened->source->readListViewInfo(opened->info);
    ExportPlan plan;
    plan.columns = columns.empty() ? indexOrder(opened->info.lColumnCount) : std::move(columns);
    plan.rules = std::move(rules);
    return startClipboardCopy(std::move(opened), std::move(plan));
}

}  // namespace

TEST(GridCopy, TextCellsAreQuotedOnlyWhenTheyHoldATabALineBreakOrAQuote) {
    auto quoted = [](const std::wstring& text) {
        std::wstring out;
        appendClipboardCell(out, text);
        return out;
    };
    EXPECT_EQ(quoted(L"plain, with; commas"), L"plain, with; commas");
    EXPECT_EQ(quoted(L""), L"");
    EXPECT_EQ(quoted(L"a\tb"), L"\"a\tb\"");
    EXPECT_EQ(quoted(L"line\r\nnext"), L"\"line\r\nnext\"");
    EXPECT_EQ(quoted(L"lf\nonly"), L"\"lf\nonly\"");
    EXPECT_EQ(quoted(L"cr\ronly"), L"\"cr\ronly\"");
    EXPECT_EQ(quoted(L"say \"hi\""), L"\"say \"\"hi\"\"\"");
    EXPECT_EQ(quoted(L"\""), L"\"\"\"\"");
    EXPECT_EQ(quoted(L"=1+1"), L"=1+1");  // the clipboard is no file a spreadsheet runs unasked
}

TEST(GridCopy, HtmlHeaderOffsetsAreBytesThatSliceTheDocumentAndTheFragment) {
    for (const std::string& fragment : {std::string("<table><tr><td>x</td></tr></table>"), std::string(),
                                       toUtf8(L"<table><tr><td>\u0416\u4e2d\u00e9</td></tr></table>") +
                                           "\xF0\x9F\x98\x80"}) {
        const std::string data = clipboardHtml(fragment);
        EXPECT_EQ(data.compare(0, 13, "Version:0.9\r\n"), 0);
        const ParsedHtml parsed = parseClipboardHtml(data);
        ASSERT_EQ(parsed.offsets.size(), 4u) << data;
        EXPECT_EQ(parsed.fragment, fragment);
        EXPECT_EQ(parsed.offsets.at("EndHTML"), data.size());
        EXPECT_EQ(parsed.document.compare(0, 6, "<html>"), 0);
        EXPECT_EQ(parsed.document.substr(parsed.document.size() - 7), "</html>");
        // The markers stand right beside the fragment.
        const std::string before = data.substr(0, parsed.offsets.at("StartFragment"));
        EXPECT_EQ(before.substr(before.size() - 20), "<!--StartFragment-->");
        EXPECT_EQ(data.compare(parsed.offsets.at("EndFragment"), 18, "<!--EndFragment-->"), 0);
    }
}

TEST(GridCopy, BothFormsHoldTheHeaderThenEveryRowExactly) {
    auto grid = std::make_shared<Grid>();
    grid->headers = {L"Name \"N\"", L"Tab\there", L"<Markup> & co"};
    grid->rows = {{L"plain", L"a\tb", L"<b>bold</b> & \"q\""},
                  {L"two\r\nlines", L"lf\nonly", L"=SUM(A1)"},
                  {L"\u0416\u0443\u043a \u4e2d\u6587 \u03b1\u03b2", L"emoji \U0001F600\U0001F3F3", L""}};
    auto job = copyOf(grid);
    runToEnd(*job);

    EXPECT_EQ(job->text(),
              L"\"Name \"\"N\"\"\"\t\"Tab\there\"\t<Markup> & co\r\n"
              L"plain\t\"a\tb\"\t\"<b>bold</b> & \"\"q\"\"\"\r\n"
              L"\"two\r\nlines\"\t\"lf\nonly\"\t=SUM(A1)\r\n"
              L"\u0416\u0443\u043a \u4e2d\u6587 \u03b1\u03b2\temoji \U0001F600\U0001F3F3\t\r\n");

    const ParsedHtml parsed = parseClipboardHtml(job->html());
    Table expected = {grid->headers};
    for (const auto& row : grid->rows) expected.push_back(row);
    EXPECT_EQ(cellsOf(parsed.fragment), expected);
    // Nothing of a cell is taken as markup, and the emoji is one four-byte sequence.
    EXPECT_EQ(parsed.fragment.find("<b>"), std::string::npos);
    EXPECT_NE(parsed.fragment.find("&lt;b&gt;bold&lt;/b&gt; &amp; &quot;q&quot;"), std::string::npos);
    EXPECT_NE(parsed.fragment.find("\xF0\x9F\x98\x80"), std::string::npos);
}

TEST(GridCopy, AnEmptyGridIsItsHeaderAndAGridWithoutColumnsIsNothing) {
    auto grid = std::make_shared<Grid>();
    grid->headers = {L"A", L"B"};
    auto job = copyOf(grid);
    EXPECT_FALSE(job->step());
    job->finish();
    EXPECT_EQ(job->text(), L"A\tB\r\n");
    EXPECT_EQ(cellsOf(parseClipboardHtml(job->html()).fragment), (Table{{L"A", L"B"}}));

    auto empty = copyOf(std::make_shared<Grid>());
    runToEnd(*empty);
    EXPECT_EQ(empty->text(), L"\r\n");
    EXPECT_EQ(parseClipboardHtml(empty->html()).fragment, "<table>\r\n<tr></tr>\r\n</table>");
}

TEST(GridCopy, RulesAndTheColumnChoiceApplyAndLongGridsComeWhole) {
    auto grid = std::make_shared<Grid>();
    grid->headers = {L"A", L"B", L"C"};
    grid->checkBoxes = true;
    grid->checked = {2};
    grid->rowCount = 1000;  // several blocks
    grid->cell = [](std::int32_t r, std::int32_t c) { return L"r" + std::to_wstring(r) + L"c" + std::to_wstring(c); };
    std::vector<cReplaceList> rules(4);
    cColumn b;
    b.addReplace(L"c2", L"<two>");
    rules[2] = b.replaces;
    auto job = copyOf(grid, rules, {kCheckedColumn, 3, 2});
    int steps = 0;
    while (job->step()) ++steps;
    job->finish();
    EXPECT_GT(steps, 1);
    EXPECT_EQ(job->rowsDone(), 1000);
    const Table cells = cellsOf(parseClipboardHtml(job->html()).fragment);
    ASSERT_EQ(cells.size(), 1001u);
    EXPECT_EQ(cells[0], (std::vector<std::wstring>{L"Checked", L"C", L"B"}));
    EXPECT_EQ(cells[1], (std::vector<std::wstring>{L"No", L"r1c3", L"r1<two>"}));
    EXPECT_EQ(cells[1000], (std::vector<std::wstring>{L"No", L"r1000c3", L"r1000<two>"}));
    EXPECT_EQ(job->text().substr(0, 48), L"Checked\tC\tB\r\nNo\tr1c3\tr1<two>\r\nYes\tr2c3\tr2<two>\r\n");
}

TEST(GridCopy, AGridThatStopsAnsweringIsAFailureNotAShortCopy) {
    auto grid = std::make_shared<Grid>();
    grid->headers = {L"A"};
    grid->rowCount = 2000;
    grid->cell = [](std::int32_t r, std::int32_t) { return std::to_wstring(r); };
    grid->failAtRead = 700;
    auto job = copyOf(grid);
    EXPECT_THROW(runToEnd(*job), Error);
}

namespace {

// "Copy Grid" as the watcher starts it: the grid opened, the plan of its first compatible type,
// no dialog. The dialog's model only saves the types a copy finds.
struct CopyScene {
    Environment env;
    Scene scene;
    std::unique_ptr<frmExportOptionsModel> model;
    frmExportOptionsModel& open() {
        model = std::make_unique<frmExportOptionsModel>(zavtest::storage(), env.settings, scene.captures,
                                                        scene.windows, zavtest::reporter());
        model->populateExportOptions(scene.target);
        return *model;
    }
    std::unique_ptr<ClipboardCopyJob> startCopy(bool selectedRows = false) {
        auto grid = openGrid(scene.captures, scene.target);
        ExportPlan plan = clipboardPlan(zavtest::storage(), env.settings, grid->info, selectedRows);
        return startClipboardCopy(std::move(grid), std::move(plan));
    }
    std::wstring copyText(bool selectedRows = false) {
        auto job = startCopy(selectedRows);
        runToEnd(*job);
        return job->text();
    }
};

}  // namespace

TEST(GridCopy, WithoutATypeTheCopyIsTheListAsShownWithoutSeedRules) {
    CopyScene s;
    s.scene.grid->headers = {L"Name", L"Size", L"Hidden"};
    s.scene.grid->rows = {{L"a", L"1 kB", L"h"}};
    s.scene.grid->order = {2, 3, 1};
    s.scene.grid->widths = {100, 100, 0};
    zavtest::writeBytes(s.env.replacesPath(), "[Size]\r\nkB=KB\r\n");
    EXPECT_EQ(s.copyText(), L"Size\tName\r\n1 kB\ta\r\n");
}

TEST(GridCopy, TheFirstCompatibleTypeGivesItsRulesAndItsColumnOrder) {
    CopyScene s;
    s.scene.grid->headers = {L"Name", L"Size", L"Hidden"};
    s.scene.grid->rows = {{L"a", L"1 kB", L"h"}};
    s.scene.grid->order = {2, 3, 1};
    s.scene.grid->widths = {100, 100, 0};
    auto& m = s.open();
    m.setExportTypeText(L"Sizes");
    m.displayOrder = false;
    m.columns.item(L"Size")->addReplace(L"kB", L"KB");
    ASSERT_TRUE(m.okClicked());
    EXPECT_EQ(s.copyText(), L"Name\tSize\tHidden\r\na\t1 KB\th\r\n");

    // The same type in display order leaves the zero-width column out.
    auto& again = s.open();
    again.displayOrder = true;
    ASSERT_TRUE(again.okClicked());
    EXPECT_EQ(s.copyText(), L"Size\tName\r\n1 KB\ta\r\n");
}

TEST(GridCopy, AListThatCouldNotBeReadIsRefused) {
    CopyScene s;
    s.scene.target.window = 99;  // no window
    EXPECT_THROW(s.startCopy(), Error);
}

TEST(GridCopy, SelectedRowsAreTheHeaderAndOnlyThoseRowsReadInRuns) {
    CopyScene s;
    s.scene.grid->headers = {L"N", L"Sq"};
    s.scene.grid->rowCount = 600;
    auto cellReads = std::make_shared<long>(0);
    s.scene.grid->cell = [cellReads](std::int32_t r, std::int32_t c) {
        ++*cellReads;
        return std::to_wstring(c == 1 ? r : r * r);
    };
    // Two runs, one of them longer than a block, a lone row, and rows the list does not have.
    for (std::int32_t r = 3; r <= 300; ++r) s.scene.grid->selected.push_back(r);
    for (std::int32_t r : {450, 599, 600, 601, 5000}) s.scene.grid->selected.push_back(r);
    auto job = s.startCopy(true);
    runToEnd(*job);
    EXPECT_EQ(job->rowCount(), 301);
    const Table cells = cellsOf(parseClipboardHtml(job->html()).fragment);
    ASSERT_EQ(cells.size(), 302u);
    EXPECT_EQ(cells[0], (std::vector<std::wstring>{L"N", L"Sq"}));
    EXPECT_EQ(cells[1], (std::vector<std::wstring>{L"3", L"9"}));
    EXPECT_EQ(cells[298], (std::vector<std::wstring>{L"300", L"90000"}));
    EXPECT_EQ(cells[299], (std::vector<std::wstring>{L"450", L"202500"}));
    EXPECT_EQ(cells[301], (std::vector<std::wstring>{L"600", L"360000"}));
    std::wstring expected = L"N\tSq\r\n";
    for (std::int32_t r = 3; r <= 300; ++r) expected += std::to_wstring(r) + L"\t" + std::to_wstring(r * r) + L"\r\n";
    expected += L"450\t202500\r\n599\t358801\r\n600\t360000\r\n";
    EXPECT_EQ(job->text(), expected);
    // No cell outside the selection was asked for.
    EXPECT_EQ(*cellReads, 301 * 2);
}

TEST(GridCopy, NoSelectionIsTheHeaderAloneAndASelectionThatCannotBeReadIsRefused) {
    CopyScene s;
    s.scene.grid->headers = {L"A"};
    s.scene.grid->rows = {{L"x"}, {L"y"}};
    EXPECT_EQ(s.copyText(true), L"A\r\n");
    s.scene.grid->selected = {2};
    EXPECT_EQ(s.copyText(true), L"A\r\ny\r\n");
    EXPECT_EQ(s.copyText(false), L"A\r\nx\r\ny\r\n");
    s.scene.grid->selectionHangs = true;
    EXPECT_THROW(s.startCopy(true), Error);
}
