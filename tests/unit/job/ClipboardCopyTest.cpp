// The clipboard forms of the grid: the text's quoting, the HTML header's byte offsets (read back
// by parsing the header and slicing the data, as a pasting program does), escaping, texts beyond
// Latin and the basic plane, rules and the column choice taken from the first compatible type.
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DialogFixture.h"
#include "job/ClipboardCopy.h"
#include "text/Utf8.h"

using namespace zav;
using namespace exporttest;

namespace {

// The header's offsets by name, and the data sliced by them.
struct ParsedHtml {
    std::map<std::string, std::size_t> offsets;
    std::string document, fragment;
};

ParsedHtml parseClipboardHtml(const std::string& data) {
    ParsedHtml parsed;
    std::size_t pos = 0;
    while (pos < data.size() && data[pos] != '<') {
        const std::size_t end = data.find("\r\n", pos), colon = data.find(':', pos);
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

std::string fragmentOf(const ClipboardCopyJob& job) { return parseClipboardHtml(job.html()).fragment; }

// Both forms of a finished copy are these rows (the header first), whose cells need no quotes and
// hold no markup but the "<" and ">" the HTML escapes.
void expectRows(const ClipboardCopyJob& job, const Table& rows) {
    std::wstring text;
    std::string html = "<table>\r\n";
    for (const auto& row : rows) {
        html += "<tr>";
        for (std::size_t c = 0; c < row.size(); ++c) {
            text += (c > 0 ? L"\t" : L"") + row[c];
            html += "<td>";
            for (char ch : toUtf8(row[c])) html += ch == '<' ? "&lt;" : ch == '>' ? "&gt;" : std::string(1, ch);
            html += "</td>";
        }
        text += L"\r\n";
        html += "</tr>\r\n";
    }
    EXPECT_EQ(job.text(), text);
    EXPECT_EQ(fragmentOf(job), html + "</table>");
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

// "Copy Grid" as the watcher starts it: the grid opened, the plan of its first compatible type.
std::unique_ptr<ClipboardCopyJob> startCopy(Dialog& d, bool selectedRows = false) {
    auto grid = openGrid(d.scene.captures, d.scene.target);
    return startClipboardCopy(grid, clipboardPlan(d.storage(), d.env.settings, grid->info, selectedRows));
}

std::unique_ptr<ClipboardCopyJob> copied(Dialog& d, bool selectedRows = false) {
    auto job = startCopy(d, selectedRows);
    runToEnd(*job);
    return job;
}

}  // namespace

TEST(GridCopy, HtmlHeaderOffsetsAreBytesThatSliceTheDocumentAndTheFragment) {
    for (const std::string& fragment : {std::string("<table><tr><td>x</td></tr></table>"), std::string(),
                                       toUtf8(L"<table><tr><td>\u0416\u4e2d\u00e9</td></tr></table>\U0001F600")}) {
        const std::string data = clipboardHtml(fragment);
        EXPECT_EQ(data.compare(0, 13, "Version:0.9\r\n"), 0);
        const ParsedHtml parsed = parseClipboardHtml(data);
        ASSERT_EQ(parsed.offsets.size(), 4u) << data;
        EXPECT_EQ(parsed.fragment, fragment);
        EXPECT_EQ(parsed.offsets.at("EndHTML"), data.size());
        EXPECT_EQ(parsed.document.compare(0, 6, "<html>"), 0);
        EXPECT_EQ(parsed.document.substr(parsed.document.size() - 7), "</html>");
        // The markers stand right beside the fragment.
        EXPECT_EQ(data.compare(parsed.offsets.at("StartFragment") - 20, 20, "<!--StartFragment-->"), 0);
        EXPECT_EQ(data.compare(parsed.offsets.at("EndFragment"), 18, "<!--EndFragment-->"), 0);
    }
}

// The text quotes a cell only when it holds a tab, a line break or a quote (and guards no formula:
// the clipboard is no file a spreadsheet runs unasked); the HTML escapes every cell.
TEST(GridCopy, BothFormsHoldTheHeaderThenEveryRowExactly) {
    auto grid = std::make_shared<Grid>();
    grid->headers = {L"Name \"N\"", L"Tab\there", L"<Markup> & co"};
    grid->rows = {{L"plain", L"a\tb", L"<b>bold</b> & \"q\""},
                  {L"two\r\nlines", L"lf\nonly", L"=SUM(A1)"},
                  {L"\u0416\u0443\u043a \u4e2d\u6587", L"emoji \U0001F600", L""},
                  {L"cr\ronly", L"\"", L"plain, with; commas"}};
    auto job = copyOf(grid);
    runToEnd(*job);
    EXPECT_EQ(job->text(),
              L"\"Name \"\"N\"\"\"\t\"Tab\there\"\t<Markup> & co\r\n"
              L"plain\t\"a\tb\"\t\"<b>bold</b> & \"\"q\"\"\"\r\n"
              L"\"two\r\nlines\"\t\"lf\nonly\"\t=SUM(A1)\r\n"
              L"\u0416\u0443\u043a \u4e2d\u6587\temoji \U0001F600\t\r\n"
              L"\"cr\ronly\"\t\"\"\"\"\tplain, with; commas\r\n");
    // Nothing of a cell is taken as markup, and the emoji is one four-byte sequence.
    EXPECT_EQ(fragmentOf(*job),
              "<table>\r\n<tr><td>Name &quot;N&quot;</td><td>Tab\there</td><td>&lt;Markup&gt; &amp; co</td></tr>\r\n"
              "<tr><td>plain</td><td>a\tb</td><td>&lt;b&gt;bold&lt;/b&gt; &amp; &quot;q&quot;</td></tr>\r\n"
              "<tr><td>two\r\nlines</td><td>lf\nonly</td><td>=SUM(A1)</td></tr>\r\n<tr><td>" +
                  toUtf8(L"\u0416\u0443\u043a \u4e2d\u6587") + "</td><td>emoji \xF0\x9F\x98\x80</td><td></td></tr>\r\n"
              "<tr><td>cr\ronly</td><td>&quot;</td><td>plain, with; commas</td></tr>\r\n</table>");
    // An empty grid is its header, a grid without columns an empty line.
    grid->headers = {L"A", L"B"};
    grid->rows.clear();
    job = copyOf(grid);
    EXPECT_FALSE(job->step());
    job->finish();
    expectRows(*job, {{L"A", L"B"}});
    auto empty = copyOf(std::make_shared<Grid>());
    runToEnd(*empty);
    expectRows(*empty, {{}});
}

TEST(GridCopy, RulesAndTheColumnChoiceApplyAndLongGridsComeWhole) {
    auto grid = std::make_shared<Grid>();
    grid->headers = {L"A", L"B", L"C"};
    grid->rowCount = 1000;  // several blocks
    grid->cell = [](std::int32_t r, std::int32_t c) { return L"r" + std::to_wstring(r) + L"c" + std::to_wstring(c); };
    std::vector<cReplaceList> rules(4);
    cColumn b;
    b.addReplace(L"c2", L"<two>");
    rules[2] = b.replaces;
    auto job = copyOf(grid, rules, {3, 2});
    int steps = 0;
    while (job->step()) ++steps;
    job->finish();
    EXPECT_GT(steps, 1);
    EXPECT_EQ(job->rowsDone(), 1000);
    Table rows = {{L"C", L"B"}};
    for (int r = 1; r <= 1000; ++r) rows.push_back({L"r" + std::to_wstring(r) + L"c3", L"r" + std::to_wstring(r) + L"<two>"});
    expectRows(*job, rows);
}

TEST(GridCopy, WithoutATypeTheListAsShownWithoutSeedRulesElseTheFirstCompatibleTypeWithItsChoices) {
    Dialog d({L"Name", L"Size", L"Hidden"}, {{L"a", L"1 kB", L"h"}});
    d.scene.grid->order = {2, 3, 1};
    d.scene.grid->widths = {100, 100, 0};
    zavtest::writeBytes(d.env.replacesPath(), "[Size]\r\nkB=KB\r\n");
    EXPECT_EQ(copied(d)->text(), L"Size\tName\r\n1 kB\ta\r\n");
    auto& m = d.open();
    m.setExportTypeText(L"Sizes");
    m.displayOrder = false;
    ASSERT_TRUE(m.okClicked());  // with the seed rule of the replaces file
    EXPECT_EQ(copied(d)->text(), L"Name\tSize\tHidden\r\na\t1 KB\th\r\n");
    // The same type in display order leaves the zero-width column out.
    d.open().displayOrder = true;
    ASSERT_TRUE(d.model->okClicked());
    EXPECT_EQ(copied(d)->text(), L"Size\tName\r\n1 KB\ta\r\n");

    // The check boxes' column of the type holds each row's mark.
    Dialog c({L"Name"}, {{L"a"}, {L"b"}});
    c.scene.grid->checkBoxes = true;
    c.scene.grid->checked = {2};
    c.open().checkedColumn = true;
    ASSERT_TRUE(c.model->okClicked());
    expectRows(*copied(c), {{L"Checked", L"Name"}, {L"No", L"a"}, {L"Yes", L"b"}});
}

TEST(GridCopy, SelectedRowsAreTheHeaderAndOnlyThoseRowsReadInRuns) {
    Dialog d;
    d.scene.grid->headers = {L"N", L"Sq"};
    d.scene.grid->rowCount = 600;
    auto cellReads = std::make_shared<long>(0);
    d.scene.grid->cell = [cellReads](std::int32_t r, std::int32_t c) { return ++*cellReads, std::to_wstring(c == 1 ? r : r * r); };
    // Two runs, one of them longer than a block, a lone row, and rows the list does not have.
    for (std::int32_t r = 3; r <= 300; ++r) d.scene.grid->selected.push_back(r);
    for (std::int32_t r : {450, 599, 600, 601, 5000}) d.scene.grid->selected.push_back(r);
    auto job = copied(d, true);
    EXPECT_EQ(job->rowCount(), 301);
    Table rows = {{L"N", L"Sq"}};
    for (std::int32_t r = 3; r <= 600; r = r == 300 ? 450 : r == 450 ? 599 : r + 1)
        rows.push_back({std::to_wstring(r), std::to_wstring(r * r)});
    expectRows(*job, rows);
    EXPECT_EQ(*cellReads, 301 * 2);  // no cell outside the selection was asked for
}

TEST(GridCopy, NoSelectionIsTheHeaderAloneAndWhatCannotBeReadIsRefused) {
    Dialog d({L"A"}, {{L"x"}, {L"y"}});
    EXPECT_EQ(copied(d, true)->text(), L"A\r\n");
    d.scene.grid->selected = {2};
    EXPECT_EQ(copied(d, true)->text(), L"A\r\ny\r\n");
    EXPECT_EQ(copied(d, false)->text(), L"A\r\nx\r\ny\r\n");
    d.scene.grid->selectionHangs = true;
    EXPECT_THROW(startCopy(d, true), Error);
    // A grid that stops answering is a failure, not a short copy; no window, no copy.
    d.scene.grid->rowCount = 2000;
    d.scene.grid->cell = [](std::int32_t r, std::int32_t) { return std::to_wstring(r); };
    d.scene.grid->failAtRead = 700;
    EXPECT_THROW(copied(d), Error);
    d.scene.target.window = 99;
    EXPECT_THROW(startCopy(d), Error);
}
