#include <gtest/gtest.h>

#include "ExportFixture.h"
#include "export/ExportOptions.h"
#include "export/HtmlWriter.h"

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

// A model on a scene, populated; the HTML file read back after OK.
struct Export {
    Environment env;
    Scene scene;
    std::unique_ptr<frmExportOptionsModel> model;

    void populate() {
        model = std::make_unique<frmExportOptionsModel>(env.settings, scene.captures, scene.windows, zavtest::reporter());
        model->populateExportOptions(scene.target);
    }
    std::string html() const { return zavtest::readBytes(model->txtOutput); }
};

}  // namespace

TEST(HtmlExport, WritesTheSixLineExampleByteForByte) {
    Export e;
    e.scene.grid->headers = {L"Name", L"Size"};
    e.scene.grid->rows = {{L"a.txt", L"12"}};
    e.populate();
    EXPECT_EQ(e.model->txtOutput, e.env.outputFolder() + L"Files.html");
    ASSERT_TRUE(e.model->okClicked());
    EXPECT_EQ(e.model->bOK, vbTrue);
    EXPECT_EQ(e.html(),
              "<HTML>\r\n<table >\r\n<tr><td >Name</td><td >Size</td></tr>\r\n"
              "<tr><td >a.txt</td><td >12</td></tr>\r\n</table>\r\n</HTML>\r\n");
    EXPECT_FALSE(zavtest::pathExists(e.model->txtOutput + L".tmp"));
    EXPECT_TRUE(e.model->queryClose());  // no question after OK
    EXPECT_TRUE(zavtest::reporter().messages.empty());
}

TEST(HtmlExport, FragmentsFormatsAndEscapedHeaders) {
    Export e;
    e.scene.grid->headers = {L"A<B", L"C"};
    e.populate();  // no items: the header row only
    e.model->txtHTMLHeader = L"<HTML>\r\n<body>\r\n";
    e.model->txtTableFormat = L"border=\"1\"";
    e.model->txtHeaderFormat = L"class=h";
    e.model->txtDataFormat = L"class=d";
    e.model->txtHTMLFooter = L"</HTML>";
    e.model->writeHTMLExport();
    EXPECT_EQ(e.html(),
              "<HTML>\r\n<body>\r\n\r\n<table border=\"1\">\r\n"
              "<tr><td class=h>A&lt;B</td><td class=h>C</td></tr>\r\n</table>\r\n</HTML>\r\n");
}

TEST(HtmlExport, RepeatedHeadersUseTheRulesOfTheirOwnNames) {
    Export e;
    e.scene.grid->headers = {L"Name", L"Name"};
    e.scene.grid->rows = {{L"x", L"x"}};
    e.populate();
    e.model->columns.item(L"Name")->addReplace(L"x", L"first");
    e.model->columns.item(L"Name1")->addReplace(L"x", L"second");
    e.model->writeHTMLExport();
    EXPECT_NE(e.html().find("<tr><td >first</td><td >second</td></tr>"), std::string::npos);
}

TEST(HtmlExport, ReplacesAnEarlierFileWhole) {
    Export e;
    e.scene.grid->headers = {L"A"};
    e.scene.grid->rows = {{L"1"}};
    e.populate();
    zavtest::writeBytes(e.model->txtOutput, std::string(10000, 'x'));
    e.model->writeHTMLExport();
    EXPECT_EQ(e.html(), "<HTML>\r\n<table >\r\n<tr><td >A</td></tr>\r\n<tr><td >1</td></tr>\r\n</table>\r\n</HTML>\r\n");
}

TEST(HtmlExport, ACaptureThatFailsMidwayIsAFailedExportAndLosesNothing) {
    Export e;
    e.scene.grid->headers = {L"A", L"B"};
    e.scene.grid->rows.assign(50, {L"a", L"b"});
    e.scene.grid->failAtRead = 30;  // the list view's program ends during the export
    e.populate();
    zavtest::writeBytes(e.model->txtOutput, "earlier export");
    try {
        e.model->writeHTMLExport();
        FAIL() << "a failed capture was reported as success";
    } catch (const Error& err) {
        EXPECT_EQ(err.number(), kErrCaptureFailed);
    }
    EXPECT_EQ(e.html(), "earlier export");
    EXPECT_FALSE(zavtest::pathExists(e.model->txtOutput + L".tmp"));

    // A list view that was gone at the start: no header, and OK does not end in success.
    e.scene.captures.grids.clear();
    e.populate();
    EXPECT_EQ(e.model->lvInfo.lColumnCount, 0);
    EXPECT_THROW(e.model->okClicked(), Error);
    EXPECT_EQ(e.model->bOK, vbFalse);
    EXPECT_TRUE(e.model->queryClose());  // the recording reporter answers Yes
    EXPECT_EQ(zavtest::reporter().messages.back().text, L"Cancel?");
}

TEST(HtmlExport, AFileSystemThatFailsMidWriteLeavesTheEarlierFile) {
    Export e;
    e.scene.grid->headers = {L"A"};
    e.scene.grid->rows.assign(1000, {L"cell"});
    e.populate();
    zavtest::writeBytes(e.model->txtOutput, "earlier export");

    FailingFileSystem failing(*services().fs);
    failing.failWriteAfter = 5000;
    Services s = services();
    s.fs = &failing;
    {
        ScopedServices scoped(s);
        EXPECT_THROW(e.model->writeHTMLExport(), Error);
        failing.failWriteAfter = 0;
        failing.failReplace = true;
        EXPECT_THROW(e.model->writeHTMLExport(), Error);
    }
    EXPECT_EQ(e.html(), "earlier export");
    EXPECT_FALSE(zavtest::pathExists(e.model->txtOutput + L".tmp"));

    e.model->txtOutput = e.env.dir.file(L"no folder\\x.html");
    EXPECT_THROW(e.model->writeHTMLExport(), Error);
}
