// The files as the export dialog writes them for a list and the type's choices: HTML, CSV and
// tab-separated text (fragments, delimiters, the two encodings, formula safety, the replace rules), the columns
// as the list shows them, only the selected rows, the check boxes' column; and the type file's keys for these.
#include <functional>
#include <iterator>

#include <gtest/gtest.h>

#include "DialogFixture.h"
#include "catalog/Catalog.h"
#include "core/Error.h"
#include "format/DelimitedWriter.h"
#include "job/ExportPlan.h"
#include "job/FileExport.h"
#include "text/Utf8.h"

using namespace zav;
using namespace exporttest;

namespace {

const std::string kBom = "\xEF\xBB\xBF";

std::string html(const std::string& rows) {
    return "<HTML>\r\n<table >\r\n" + rows + "</table>\r\n</HTML>\r\n";
}

// A grid of `rows` rows of one column "N", "r1" .. "rN".
Table numbered(int rows) {
    Table out;
    for (int r = 1; r <= rows; ++r) out.push_back({L"r" + std::to_wstring(r)});
    return out;
}

using Choices = std::function<void(frmExportOptionsModel&)>;

struct FileCase {
    const char* what;
    std::vector<std::wstring> headers;
    Table rows;
    ExportFormat format;
    std::function<void(Dialog&)> list;  // the list and the host, before the opening (null: as made)
    Choices choose;                     // the type's choices (null: a new type's)
    std::string file;
};

const Choices selectedOnly = [](frmExportOptionsModel& m) { m.selectedRowsOnly = true; };

void reordered(Dialog& d) {
    d.scene.grid->order = {3, 1, 2};
    d.scene.grid->widths = {100, 0, 50};
}

void decimalComma(Dialog& d) {
    d.host.separator = L";";
    d.host.numbers.decimalSeparator = L',';
    d.host.numbers.thousandsSeparator = L'.';
}

void checkBoxes(Dialog& d) {
    d.scene.grid->checkBoxes = true;
    d.scene.grid->checked = {2, 3};
    d.scene.grid->order = {2, 1};
}

std::vector<std::int32_t> longSelection() {
    // One column: 256 rows to a block. Runs longer than a block, single rows and the last row.
    std::vector<std::int32_t> selected = {1, 5};
    for (std::int32_t r = 10; r <= 400; ++r) selected.push_back(r);
    selected.push_back(699);
    selected.push_back(700);
    return selected;
}

std::string longSelectionFile() {
    std::string file = kBom + "N\r\n";
    for (std::int32_t r : longSelection()) file += "r" + std::to_string(r) + "\r\n";
    return file;
}

const FileCase kFormats[] = {
    {"CSV: the header, then a record a row, quoted and guarded as needed, UTF-8 with a mark",
     {L"Name", L"Note, long", L"Size"},
     {{L"plain", L"with \"quotes\"", L"12"}, {L"two\r\nlines", L"lf\nonly", L"=2+3"}, {L"\u0416\u03A9\u4E2D", L"\U0001F600", L"@cmd"}},
     ExportFormat::Csv, nullptr, nullptr,
     kBom + "Name,\"Note, long\",Size\r\nplain,\"with \"\"quotes\"\"\",12\r\n\"two\r\nlines\",\"lf\nonly\",'=2+3\r\n" +
         toUtf8(L"\u0416\u03A9\u4E2D,\U0001F600,'@cmd") + "\r\n"},
    {"CSV: the user's list separator", {L"A", L"B"}, {{L"1;2", L"x,y"}}, ExportFormat::Csv,
     [](Dialog& d) { d.host.separator = L";"; }, nullptr, kBom + "A;B\r\n\"1;2\";x,y\r\n"},
    {"CSV: the type's own delimiter", {L"A", L"B"}, {{L"1;2", L"x,y"}}, ExportFormat::Csv,
     [](Dialog& d) { d.host.separator = L";"; }, [](frmExportOptionsModel& m) { m.txtDelimiter = L"|"; },
     kBom + "A|B\r\n1;2|x,y\r\n"},
    // "-1,5" is a plain number where the comma is the decimal separator, a formula elsewhere; "1,5"
    // is a number in both, which a rule then replaces only as a whole.
    {"CSV: numbers as the host writes them", {L"N", L"M"}, {{L"-1,5", L"1,5"}}, ExportFormat::Csv, decimalComma,
     [](frmExportOptionsModel& m) { m.columns.item(L"M")->addReplace(L"5", L"five"); }, kBom + "N;M\r\n-1,5;1,5\r\n"},
    {"CSV: numbers of the comma's other meaning", {L"N", L"M"}, {{L"-1,5", L"1,5"}}, ExportFormat::Csv,
     [](Dialog& d) { d.host.separator = L";"; },
     [](frmExportOptionsModel& m) { m.columns.item(L"M")->addReplace(L"5", L"five"); }, kBom + "N;M\r\n'-1,5;1,5\r\n"},
    {"CSV: what rules put in is quoted and guarded like any text", {L"State", L"Formula"}, {{L"on", L"x"}, {L"off", L"y"}},
     ExportFormat::Csv, nullptr,
     [](frmExportOptionsModel& m) {
         m.columns.find(L"State")->addReplace(L"on", L"\"yes\", really");
         m.columns.find(L"Formula")->addReplace(L"y", L"=1");
     },
     kBom + "State,Formula\r\n\"\"\"yes\"\", really\",x\r\noff,'=1\r\n"},
    {"CSV: without formula safety", {L"F"}, {{L"=1"}, {L"@x"}}, ExportFormat::Csv, nullptr,
     [](frmExportOptionsModel& m) { m.formulaSafety = false; }, kBom + "F\r\n=1\r\n@x\r\n"},
    {"CSV: ANSI, without a mark", {L"Name", L"City"}, {{L"caf\u00E9", L"K\u00F6ln"}, {L"ok", L"\u041C\u043E\u0441\u043A\u0432\u0430"}},
     ExportFormat::Csv, nullptr,
     [](frmExportOptionsModel& m) {
         m.ansiEncoding = true;
         m.columns.find(L"City")->addReplace(L"\u041C\u043E\u0441\u043A\u0432\u0430", L"Moskva");
     },
     "Name,City\r\ncaf\xE9,K\xF6ln\r\nok,Moskva\r\n"},
    {"TSV: tabs, quotes and line breaks quoted; the CSV delimiter unused", {L"A", L"B", L"C"},
     {{L"a,b", L"tab\there", L"q\"q"}, {L"line\nbreak", L"-5", L"-x"}}, ExportFormat::Tsv, nullptr,
     [](frmExportOptionsModel& m) { m.txtDelimiter = L";"; },
     kBom + "A\tB\tC\r\na,b\t\"tab\there\"\t\"q\"\"q\"\r\n\"line\nbreak\"\t-5\t'-x\r\n"},
    {"HTML: the six-line example", {L"Name", L"Size"}, {{L"a.txt", L"12"}}, ExportFormat::Html, nullptr, nullptr,
     html("<tr><td >Name</td><td >Size</td></tr>\r\n<tr><td >a.txt</td><td >12</td></tr>\r\n")},
    {"HTML: fragments, formats, escaped headers and the rules of repeated headers", {L"A<B", L"A<B"}, {{L"x", L"x"}},
     ExportFormat::Html, nullptr,
     [](frmExportOptionsModel& m) {
         m.txtHTMLHeader = L"<HTML>\r\n<body>\r\n";
         m.txtTableFormat = L"border=\"1\"";
         m.txtHeaderFormat = L"class=h";
         m.txtDataFormat = L"class=d";
         m.columns.item(L"A<B")->addReplace(L"x", L"first");
         m.columns.item(L"A<B1")->addReplace(L"x", L"second");
     },
     "<HTML>\r\n<body>\r\n\r\n<table border=\"1\">\r\n<tr><td class=h>A&lt;B</td><td class=h>A&lt;B</td></tr>\r\n"
     "<tr><td class=d>first</td><td class=d>second</td></tr>\r\n</table>\r\n</HTML>\r\n"},
};

const FileCase kColumns[] = {
    {"display order without hidden columns, CSV", {L"Name", L"Hidden", L"Size"}, {{L"a", L"h", L"1"}}, ExportFormat::Csv,
     reordered, nullptr, kBom + "Size,Name\r\n1,a\r\n"},
    {"index order", {L"Name", L"Hidden", L"Size"}, {{L"a", L"h", L"1"}}, ExportFormat::Csv, reordered,
     [](frmExportOptionsModel& m) { m.displayOrder = false; }, kBom + "Name,Hidden,Size\r\na,h,1\r\n"},
    {"every column hidden: all of them, as shown", {L"A", L"B"}, {{L"1", L"2"}}, ExportFormat::Csv,
     [](Dialog& d) {
         d.scene.grid->order = {2, 1};
         d.scene.grid->widths = {0, 0};
     },
     nullptr, kBom + "B,A\r\n2,1\r\n"},
};

const FileCase kRows[] = {
    {"every row while the type does not ask for the selected ones", {L"N"}, numbered(3), ExportFormat::Csv,
     [](Dialog& d) { d.scene.grid->selected = {2}; }, nullptr, kBom + "N\r\nr1\r\nr2\r\nr3\r\n"},
    {"selected rows, CSV", {L"N"}, numbered(4), ExportFormat::Csv, [](Dialog& d) { d.scene.grid->selected = {2, 4}; },
     selectedOnly, kBom + "N\r\nr2\r\nr4\r\n"},
    {"selected rows the list does not have, or that repeat, left out", {L"N"}, numbered(3), ExportFormat::Csv,
     [](Dialog& d) { d.scene.grid->selected = {0, 2, 2, 3, 9}; }, selectedOnly,
     kBom + "N\r\nr2\r\nr3\r\n"},
    {"selected runs longer than a block, single rows and the last row", {L"N"}, numbered(700), ExportFormat::Csv,
     [](Dialog& d) { d.scene.grid->selected = longSelection(); }, selectedOnly,
     longSelectionFile()},
    {"the check boxes' column, CSV", {L"Name", L"Size"}, {{L"a", L"1"}, {L"b", L"2"}, {L"c", L"3"}}, ExportFormat::Csv,
     checkBoxes, [](frmExportOptionsModel& m) { m.checkedColumn = true; },
     kBom + "Checked,Size,Name\r\nNo,1,a\r\nYes,2,b\r\nYes,3,c\r\n"},
    {"display order without hidden columns, the check boxes' column and selected rows, HTML", {L"Name", L"Hidden", L"Size"},
     {{L"a", L"h", L"1"}, {L"b", L"h", L"2"}, {L"c", L"h", L"3"}}, ExportFormat::Html,
     [](Dialog& d) {
         reordered(d);
         checkBoxes(d);
         d.scene.grid->order = {3, 1, 2};
         d.scene.grid->selected = {1, 3};
     },
     [](frmExportOptionsModel& m) { m.checkedColumn = m.selectedRowsOnly = true; },
     html("<tr><td >Checked</td><td >Size</td><td >Name</td></tr>\r\n<tr><td >No</td><td >1</td><td >a</td></tr>\r\n"
          "<tr><td >Yes</td><td >3</td><td >c</td></tr>\r\n")},
    {"no check boxes' column for a list without them", {L"Name"}, {{L"a"}}, ExportFormat::Csv,
     [](Dialog& d) { d.scene.grid->checked = {1}; }, [](frmExportOptionsModel& m) { m.checkedColumn = true; },
     kBom + "Name\r\na\r\n"},
    // A rule of column 1 that would change "No" is not applied to the check boxes' column.
    {"the marks of the selected rows, untouched by rules", {L"Name"}, numbered(5), ExportFormat::Csv,
     [](Dialog& d) {
         d.scene.grid->checkBoxes = true;
         d.scene.grid->checked = {4};
         d.scene.grid->selected = {2, 4};
     },
     [](frmExportOptionsModel& m) {
         m.checkedColumn = true;
         m.selectedRowsOnly = true;
         m.columns.item(L"Name")->addReplace(L"No", L"changed");
         m.columns.item(L"Name")->addReplace(L"r", L"row ");
     },
     kBom + "Checked,Name\r\nNo,row 2\r\nYes,row 4\r\n"},
};

}  // namespace

// The tables apart: each of them alone keeps within a test's time under Wine.
static void expectExportsAsTheyShould(const FileCase* begin, const FileCase* end) {
    for (const FileCase* t = begin; t != end; ++t) {
        SCOPED_TRACE(t->what);
        Dialog d(t->headers, t->rows);
        if (t->list) t->list(d);
        auto& m = d.open();
        m.setFormat(t->format);
        if (t->choose) t->choose(m);
        zavtest::writeBytes(m.txtOutput, std::string(10000, 'x'));  // an earlier, longer export
        ASSERT_TRUE(m.okClicked());
        EXPECT_EQ(d.output(), t->file);
        EXPECT_EQ(m.bOK, vbTrue);
        EXPECT_FALSE(zavtest::pathExists(m.txtOutput + L".tmp"));
        EXPECT_TRUE(m.queryClose());  // no question after OK
        EXPECT_TRUE(zavtest::reporter().messages.empty());
    }
}

TEST(ExportedFiles, HoldTheFormatTheTypeChoosesWithItsSettings) {
    expectExportsAsTheyShould(std::begin(kFormats), std::end(kFormats));
}

TEST(ExportedFiles, HoldTheColumnsTheTypeChooses) {
    expectExportsAsTheyShould(std::begin(kColumns), std::end(kColumns));
}

TEST(ExportedFiles, HoldTheRowsTheTypeChoosesAndTheirCheckBoxes) {
    expectExportsAsTheyShould(std::begin(kRows), std::end(kRows));
}

TEST(ExportedFiles, TheOutputFileEndsAsTheFormatSaysUnlessTyped) {
    Dialog d({L"A"}, {{L"1"}});
    auto& m = d.open();
    const std::pair<ExportFormat, const wchar_t*> ends[] = {
        {ExportFormat::Csv, L"Files.csv"}, {ExportFormat::Tsv, L"Files.txt"}, {ExportFormat::Html, L"Files.html"}};
    for (const auto& [format, name] : ends) {
        m.setFormat(format);
        EXPECT_EQ(m.txtOutput, d.env.outputFolder() + name);
    }
    m.txtOutput = d.env.outputFolder() + L"mine.dat";
    m.setFormat(ExportFormat::Csv);
    EXPECT_EQ(m.txtOutput, d.env.outputFolder() + L"mine.dat");
}

TEST(ExportedFiles, AnOrderThatDoesNotNameEveryColumnOnceIsIndexOrder) {
    for (const auto& order : std::vector<std::vector<std::int32_t>>{{}, {1, 2}, {1, 1, 2}, {0, 1, 2}, {1, 2, 4}}) {
        Dialog d({L"A", L"B", L"C"}, {});
        d.scene.grid->order = order;
        EXPECT_EQ(d.open().exportedColumns(), (std::vector<std::int32_t>{1, 2, 3}));
    }
}

TEST(ExportedFiles, ADelimiterThatCannotSeparateFieldsIsRefusedOnOkAndNothingIsSaved) {
    for (const wchar_t* bad : {L"", L"\"", L"\r", L"\n"}) {
        Dialog d({L"A"}, {{L"1"}});
        auto& m = d.open();
        m.txtDelimiter = bad;
        ASSERT_TRUE(m.okClicked());  // no matter for HTML, which does not use it
        const std::string saved = zavtest::readBytes(d.env.typePath(L"Files"));
        m.setFormat(ExportFormat::Csv);
        zavtest::reporter().messages.clear();
        EXPECT_FALSE(m.okClicked());
        ASSERT_EQ(zavtest::reporter().messages.size(), 1u);
        EXPECT_EQ(zavtest::reporter().messages[0].text, delimiterProblem(bad));
        EXPECT_EQ(zavtest::readBytes(d.env.typePath(L"Files")), saved);
        EXPECT_FALSE(zavtest::pathExists(m.txtOutput));
    }
}

// A character the code page lacks is never written as '?' or a look-alike: the export is refused
// naming the cell and the code point, and the previous file stays.
TEST(ExportedFiles, AnAnsiFileRefusesACharacterTheCodePageLacksNamingTheCell) {
    const struct {
        ExportFormat format;
        Table rows;
        const wchar_t* cell;
        const wchar_t* codePoint;
    } cases[] = {
        {ExportFormat::Csv, {{L"caf\u00E9", L"K\u00F6ln"}, {L"ok", L"\u041C\u043E"}}, L"Row 2, column \"City\"", L"U+041C"},
        {ExportFormat::Tsv, {{L"\U0001F600", L"x"}}, L"Row 1, column \"Name\"", L"U+1F600"},
    };
    for (const auto& t : cases) {
        Dialog d({L"Name", L"City"}, t.rows);
        auto& m = d.open();
        m.setFormat(t.format);
        m.ansiEncoding = true;
        zavtest::writeBytes(m.txtOutput, "the previous export\r\n");
        try {
            m.okClicked();
            ADD_FAILURE() << "a character outside the code page was written";
        } catch (const Error& e) {
            EXPECT_NE(e.detail().find(t.cell), std::wstring::npos) << toUtf8(e.detail());
            EXPECT_NE(e.detail().find(t.codePoint), std::wstring::npos) << toUtf8(e.detail());
        }
        EXPECT_EQ(d.output(), "the previous export\r\n");
        EXPECT_FALSE(zavtest::pathExists(m.txtOutput + L".tmp"));
    }
}

TEST(ExportedFiles, NoSelectionOrAFailedReadOfItIsRefusedAndTheFileStays) {
    Dialog d({L"N"}, numbered(3));
    auto& m = d.open();
    m.setFormat(ExportFormat::Csv);
    const std::string before = d.exported();
    m.selectedRowsOnly = true;
    for (const std::wstring& why : {std::wstring(kNoSelectionMessage), describeCaptureFailure(CaptureFailure::TargetHung)}) {
        try {
            m.writeExport();
            ADD_FAILURE() << "an export of no rows, or of a selection that could not be read, was written";
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), kErrCaptureFailed);
            EXPECT_NE(e.description().find(why), std::wstring::npos) << toUtf8(e.description());
        }
        EXPECT_EQ(d.output(), before);
        d.scene.grid->selected = {1};
        d.scene.grid->selectionHangs = true;
    }
}

TEST(ExportTypeFile, TheFormatAndTheRowAndColumnChoicesRoundTrip) {
    Dialog d({L"A", L"B"}, {{L"1", L"2"}});
    d.host.separator = L";";
    auto& fresh = d.open();
    EXPECT_EQ(fresh.txtDelimiter, L";");  // a new type takes the user's list separator
    EXPECT_FALSE(fresh.openAfterExport || fresh.selectedRowsOnly || fresh.checkedColumn);  // off for a new type
    EXPECT_EQ(fresh.fileToOpen(), L"");
    for (bool on : {true, false}) {
        auto& m = *d.model;
        m.setFormat(on ? ExportFormat::Csv : ExportFormat::Tsv);
        m.txtDelimiter = on ? L"|" : L",";
        m.ansiEncoding = m.openAfterExport = m.selectedRowsOnly = m.checkedColumn = on;
        m.formulaSafety = m.displayOrder = !on;
        m.saveExportOptions();
        d.host.separator = L",";  // the saved delimiter comes back whatever the locale says
        auto& again = d.open();
        ASSERT_EQ(again.exportTypeItems().size(), 1u);
        EXPECT_EQ(again.format(), on ? ExportFormat::Csv : ExportFormat::Tsv);
        EXPECT_EQ(again.txtDelimiter, on ? L"|" : L",");
        EXPECT_EQ((std::vector<bool>{again.ansiEncoding, again.formulaSafety, again.displayOrder, again.openAfterExport,
                                     again.selectedRowsOnly, again.checkedColumn}),
                  (std::vector<bool>{on, !on, !on, on, on, on}));
        EXPECT_EQ(again.fileToOpen(), on ? again.txtOutput : L"");
        EXPECT_EQ(again.txtOutput, d.env.outputFolder() + (on ? L"Files.csv" : L"Files.txt"));
    }
    // A list separator that cannot separate fields gives the comma.
    Dialog odd({L"A"}, {{L"1"}});
    odd.host.separator = L";;";
    EXPECT_EQ(odd.open().txtDelimiter, L",");
}

// A saved type exported without a dialog takes its plan from the type file: formula safety is on
// unless the file says 0.
TEST(ExportTypeFile, FormulaSafetyIsOnUnlessTheTypeFileSaysZero) {
    const std::pair<const char*, bool> lines[] = {{"", true}, {"FormulaSafety=\r\n", true}, {"FormulaSafety=0\r\n", false}};
    for (const auto& [line, safe] : lines) {
        Dialog d({L"F"}, {{L"=1"}});
        auto& m = d.open();
        m.setFormat(ExportFormat::Csv);
        m.saveExportOptions();
        std::string bytes = zavtest::readBytes(d.env.typePath(L"Files"));
        const std::size_t at = bytes.find("FormulaSafety=1\r\n");
        ASSERT_NE(at, std::string::npos);
        zavtest::writeBytes(d.env.typePath(L"Files"), bytes.replace(at, 17, line));
        const ListViewInfo& info = m.grid()->info;
        const SavedExportType saved = readSavedExportType(d.storage(), d.env.settings, L"Files", info);
        EXPECT_EQ(exportPlanOf(saved.type, saved.rules, info, usEnglishNumberFormat()).delimited.formulaSafety, safe) << line;
    }
}
