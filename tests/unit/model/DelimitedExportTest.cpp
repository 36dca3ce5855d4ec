// The CSV and tab-separated files as the export dialog writes them: delimiters, the two encodings,
// formula safety, the replace rules, the columns as the list shows them, and the type file's new
// keys (a type file of the previous version stays an HTML type in index order, byte for byte).
#include <gtest/gtest.h>

#include "ExportFixture.h"
#include "FakeHost.h"
#include "catalog/Catalog.h"
#include "core/Error.h"
#include "format/DelimitedWriter.h"
#include "job/FileExport.h"
#include "model/ExportOptions.h"
#include "text/Utf8.h"

using namespace zav;
using namespace exporttest;

namespace {

const std::string kBom = "\xEF\xBB\xBF";

struct Dialog {
    Environment env;
    Scene scene;
    zavtest::FakeHost host;
    std::unique_ptr<frmExportOptionsModel> model;

    explicit Dialog(std::vector<std::wstring> headers, std::vector<std::vector<std::wstring>> rows,
                    const std::wstring& separator = L",") {
        scene.grid->headers = std::move(headers);
        scene.grid->rows = std::move(rows);
        host.separator = separator;
    }
    Storage storage() { return zavtest::withHost(host); }
    frmExportOptionsModel& open() {
        model = std::make_unique<frmExportOptionsModel>(storage(), env.settings, scene.captures, scene.windows,
                                                        zavtest::reporter());
        model->populateExportOptions(scene.target);
        return *model;
    }
    std::string exported() {
        model->writeExport();
        return zavtest::readBytes(model->txtOutput);
    }    std::string csv() {
        model->setFormat(ExportFormat::Csv);
        return exported();
    }
};

std::string utf8(const std::wstring& text) { return toUtf8(text); }

// The records of a delimited file, without its header row.
std::string records(const std::string& file) {
    const std::size_t header = file.find("\r\n");
    return header == std::string::npos ? std::string() : file.substr(header + 2);
}

}  // namespace

TEST(CsvExport, WritesTheHeaderThenOneRecordPerRowInUtf8WithAMark) {
    Dialog d({L"Name", L"Note, long", L"Size"},
             {{L"plain", L"with \"quotes\"", L"12"},
              {L"two\r\nlines", L"lf\nonly", L"=2+3"},
              {L"\u0416\u03A9\u4E2D", L"\U0001F600", L"@cmd"}});
    auto& m = d.open();
    m.setFormat(ExportFormat::Csv);
    EXPECT_EQ(m.txtOutput, d.env.outputFolder() + L"Files.csv");
    ASSERT_TRUE(m.okClicked());
    EXPECT_EQ(d.exported(), kBom + "Name,\"Note, long\",Size\r\n"
                                   "plain,\"with \"\"quotes\"\"\",12\r\n"
                                   "\"two\r\nlines\",\"lf\nonly\",'=2+3\r\n" +
                                   utf8(L"\u0416\u03A9\u4E2D,\U0001F600,'@cmd") + "\r\n");
}

TEST(CsvExport, TheDelimiterIsTheUsersListSeparatorUnlessTheTypeNamesAnother) {
    Dialog d({L"A", L"B"}, {{L"1;2", L"x,y"}}, L";");
    auto& m = d.open();
    EXPECT_EQ(m.txtDelimiter, L";");
    m.setFormat(ExportFormat::Csv);
    ASSERT_TRUE(m.okClicked());
    EXPECT_EQ(zavtest::readBytes(m.txtOutput), kBom + "A;B\r\n\"1;2\";x,y\r\n");

    m.txtDelimiter = L"|";
    ASSERT_TRUE(m.okClicked());
    EXPECT_EQ(zavtest::readBytes(m.txtOutput), kBom + "A|B\r\n1;2|x,y\r\n");
    // Saved with the type: it comes back on the next opening whatever the locale says.
    d.host.separator = L",";
    EXPECT_EQ(d.open().txtDelimiter, L"|");

    // A list separator that cannot separate fields gives the comma.
    Dialog odd({L"A"}, {{L"1"}}, L";;");
    EXPECT_EQ(odd.open().txtDelimiter, L",");
}

TEST(CsvExport, WhatIsANumberIsToldByTheHostsNumberFormat) {
    // "-1,5" is a plain number where the comma is the decimal separator, a formula elsewhere; "1,5"
    // is a number in both, which a rule then replaces only as a whole.
    Dialog d({L"N", L"M"}, {{L"-1,5", L"1,5"}}, L";");
    auto& m = d.open();
    m.setFormat(ExportFormat::Csv);
    m.columns.item(L"M")->addReplace(L"5", L"five");
    EXPECT_EQ(records(d.exported()), "'-1,5;1,5\r\n");
    d.host.numbers.decimalSeparator = L',';
    d.host.numbers.thousandsSeparator = L'.';
    EXPECT_EQ(records(d.exported()), "-1,5;1,5\r\n");
}

TEST(CsvExport, ADelimiterThatCannotSeparateFieldsIsRefusedOnOkAndNothingIsSaved) {
    for (const wchar_t* bad : {L"", L"\"", L"\r", L"\n"}) {
        Dialog d({L"A"}, {{L"1"}});
        auto& m = d.open();
        m.setFormat(ExportFormat::Csv);
        m.txtDelimiter = bad;
        zavtest::reporter().messages.clear();
        EXPECT_FALSE(m.okClicked());
        ASSERT_EQ(zavtest::reporter().messages.size(), 1u);
        EXPECT_EQ(zavtest::reporter().messages[0].text, delimiterProblem(bad));
        EXPECT_FALSE(zavtest::pathExists(d.env.typePath(L"Files")));
        EXPECT_FALSE(zavtest::pathExists(m.txtOutput));
    }
    // The same delimiter is no matter for HTML, which does not use it.
    Dialog html({L"A"}, {{L"1"}});
    auto& m = html.open();
    m.txtDelimiter = L"";
    EXPECT_TRUE(m.okClicked());
}

TEST(CsvExport, AnsiWritesTheCodePageAndRefusesACharacterItLacksNamingTheCell) {
    Dialog d({L"Name", L"City"}, {{L"caf\u00E9", L"K\u00F6ln"}, {L"ok", L"\u041C\u043E\u0441\u043A\u0432\u0430"}});
    auto& m = d.open();
    m.setFormat(ExportFormat::Csv);
    m.ansiEncoding = true;
    zavtest::writeBytes(m.txtOutput, "the previous export\r\n");
    try {
        m.okClicked();
        FAIL() << "a character outside the code page was written";
    } catch (const Error& e) {
        EXPECT_NE(e.detail().find(L"Row 2, column \"City\""), std::wstring::npos) << toUtf8(e.detail());
        EXPECT_NE(e.detail().find(L"U+041C"), std::wstring::npos) << toUtf8(e.detail());
    }
    EXPECT_EQ(zavtest::readBytes(m.txtOutput), "the previous export\r\n");
    EXPECT_FALSE(zavtest::pathExists(m.txtOutput + L".tmp"));

    // A rule that replaces the character lets the export through, in the code page, without a mark.
    m.columns.find(L"City")->addReplace(L"\u041C\u043E\u0441\u043A\u0432\u0430", L"Moskva");
    ASSERT_TRUE(m.okClicked());
    EXPECT_EQ(zavtest::readBytes(m.txtOutput), "Name,City\r\ncaf\xE9,K\xF6ln\r\nok,Moskva\r\n");
}

TEST(CsvExport, AnEmojiInAnAnsiFileIsNamedAsOneCodePoint) {
    Dialog d({L"Mood"}, {{L"\U0001F600"}});
    auto& m = d.open();
    m.setFormat(ExportFormat::Tsv);
    m.ansiEncoding = true;
    try {
        m.okClicked();
        FAIL() << "an emoji was written to an ANSI file";
    } catch (const Error& e) {
        EXPECT_NE(e.detail().find(L"Row 1, column \"Mood\""), std::wstring::npos) << toUtf8(e.detail());
        EXPECT_NE(e.detail().find(L"U+1F600"), std::wstring::npos) << toUtf8(e.detail());
    }
}

TEST(CsvExport, ReplaceRulesApplyAndWhatTheyPutInIsQuotedAndGuardedLikeAnyText) {
    Dialog d({L"State", L"Formula"}, {{L"on", L"x"}, {L"off", L"y"}});
    auto& m = d.open();
    m.setFormat(ExportFormat::Csv);
    m.columns.find(L"State")->addReplace(L"on", L"\"yes\", really");
    m.columns.find(L"Formula")->addReplace(L"y", L"=1");
    ASSERT_TRUE(m.okClicked());
    EXPECT_EQ(zavtest::readBytes(m.txtOutput), kBom + "State,Formula\r\n\"\"\"yes\"\", really\",x\r\noff,'=1\r\n");

    m.formulaSafety = false;
    ASSERT_TRUE(m.okClicked());
    EXPECT_EQ(zavtest::readBytes(m.txtOutput), kBom + "State,Formula\r\n\"\"\"yes\"\", really\",x\r\noff,=1\r\n");
}

TEST(TsvExport, SeparatesByTabAndQuotesTabsQuotesAndLineBreaks) {
    Dialog d({L"A", L"B", L"C"}, {{L"a,b", L"tab\there", L"q\"q"}, {L"line\nbreak", L"-5", L"-x"}});
    auto& m = d.open();
    m.setFormat(ExportFormat::Tsv);
    m.txtDelimiter = L";";  // a CSV setting: the tab-separated file does not use it
    EXPECT_EQ(m.txtOutput, d.env.outputFolder() + L"Files.txt");
    ASSERT_TRUE(m.okClicked());
    EXPECT_EQ(zavtest::readBytes(m.txtOutput),
              kBom + "A\tB\tC\r\na,b\t\"tab\there\"\t\"q\"\"q\"\r\n\"line\nbreak\"\t-5\t'-x\r\n");
}

TEST(ExportFormats, ATypedOutputFileKeepsItsNameWhenTheFormatChanges) {
    Dialog d({L"A"}, {{L"1"}});
    auto& m = d.open();
    m.txtOutput = d.env.outputFolder() + L"mine.dat";
    m.setFormat(ExportFormat::Csv);
    EXPECT_EQ(m.txtOutput, d.env.outputFolder() + L"mine.dat");
    m.txtOutput = d.env.outputFolder() + L"Files.csv";  // the name the CSV format derives
    m.setFormat(ExportFormat::Tsv);
    EXPECT_EQ(m.txtOutput, d.env.outputFolder() + L"Files.txt");
}

TEST(ExportFormats, TheFormatAndItsSettingsRoundTripThroughTheTypeFile) {
    Dialog d({L"A", L"B"}, {{L"1", L"2"}});
    auto& m = d.open();
    m.setFormat(ExportFormat::Csv);
    m.txtDelimiter = L"|";
    m.ansiEncoding = true;
    m.formulaSafety = false;
    m.displayOrder = false;
    EXPECT_FALSE(m.openAfterExport);  // off for a new type
    EXPECT_EQ(m.fileToOpen(), L"");
    m.openAfterExport = true;
    m.saveExportOptions();
    auto& again = d.open();
    ASSERT_EQ(again.exportTypeItems().size(), 1u);
    EXPECT_EQ(again.format(), ExportFormat::Csv);
    EXPECT_EQ(again.txtDelimiter, L"|");
    EXPECT_TRUE(again.ansiEncoding);
    EXPECT_FALSE(again.formulaSafety);
    EXPECT_FALSE(again.displayOrder);
    EXPECT_TRUE(again.openAfterExport);
    EXPECT_EQ(again.fileToOpen(), again.txtOutput);
    EXPECT_EQ(again.txtOutput, d.env.outputFolder() + L"Files.csv");

    again.setFormat(ExportFormat::Tsv);
    again.ansiEncoding = false;
    again.formulaSafety = true;
    again.displayOrder = true;
    again.openAfterExport = false;
    again.saveExportOptions();
    auto& third = d.open();
    EXPECT_EQ(third.format(), ExportFormat::Tsv);
    EXPECT_FALSE(third.ansiEncoding);
    EXPECT_TRUE(third.formulaSafety);
    EXPECT_TRUE(third.displayOrder);
    EXPECT_FALSE(third.openAfterExport);
}

TEST(ExportFormats, ATypeFileOfThePreviousVersionIsAnHtmlTypeInIndexOrderByteForByte) {
    Dialog d({L"Name", L"Hidden", L"Size"}, {{L"a&b", L"h", L"1"}});
    d.scene.grid->order = {3, 1, 2};
    d.scene.grid->widths = {100, 0, 50};
    // A selection and check boxes change nothing for a type that does not ask for them.
    d.scene.grid->rows.push_back({L"x", L"y", L"2"});
    d.scene.grid->selected = {2};
    d.scene.grid->checkBoxes = true;
    d.scene.grid->checked = {1};
    auto& m = d.open();
    m.txtTableFormat = L"border=1";
    m.saveExportOptions();
    // What the previous version wrote: the same file without the keys this version added.
    std::string bytes = zavtest::readBytes(d.env.typePath(L"Files"));
    std::string old;
    std::size_t start = 0, removed = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find("\r\n", start);
        end = end == std::string::npos ? bytes.size() : end + 2;
        const std::string line = bytes.substr(start, end - start);
        bool added = false;
        for (const char* key : {"Format=", "Delimiter=", "TextEncoding=", "FormulaSafety=", "ColumnOrder=",
                                "OpenAfterExport=", "SelectedRowsOnly=", "CheckedColumn="})
            added = added || line.rfind(key, 0) == 0;
        if (added) ++removed; else old += line;
        start = end;
    }
    ASSERT_EQ(removed, 8u);
    zavtest::writeBytes(d.env.typePath(L"Files"), old);

    auto& loaded = d.open();
    ASSERT_EQ(loaded.exportTypeItems().size(), 1u);
    EXPECT_EQ(loaded.format(), ExportFormat::Html);
    EXPECT_FALSE(loaded.displayOrder);
    EXPECT_FALSE(loaded.openAfterExport);
    EXPECT_FALSE(loaded.selectedRowsOnly);
    EXPECT_FALSE(loaded.checkedColumn);
    EXPECT_EQ(loaded.exportedColumns(), (std::vector<std::int32_t>{1, 2, 3}));
    EXPECT_EQ(loaded.txtOutput, d.env.outputFolder() + L"Files.html");
    EXPECT_EQ(d.exported(),
              "<HTML>\r\n<table border=1>\r\n<tr><td >Name</td><td >Hidden</td><td >Size</td></tr>\r\n"
              "<tr><td >a&amp;b</td><td >h</td><td >1</td></tr>\r\n<tr><td >x</td><td >y</td><td >2</td></tr>\r\n"
              "</table>\r\n</HTML>\r\n");
}

TEST(ColumnOrder, NewTypesTakeTheColumnsAsShownWithoutHiddenOnes) {
    Dialog d({L"Name", L"Hidden", L"Size"}, {{L"a", L"h", L"1"}});
    d.scene.grid->order = {3, 1, 2};
    d.scene.grid->widths = {100, 0, 50};
    auto& m = d.open();
    EXPECT_TRUE(m.displayOrder);
    EXPECT_EQ(m.exportedColumns(), (std::vector<std::int32_t>{3, 1}));
    // The signature stays the header texts in index order, so saved types keep matching.
    EXPECT_EQ(m.szColumns, buildColumnSignature(std::vector<std::wstring>{L"Name", L"Hidden", L"Size"}));
    m.setFormat(ExportFormat::Csv);
    ASSERT_TRUE(m.okClicked());
    EXPECT_EQ(zavtest::readBytes(m.txtOutput), kBom + "Size,Name\r\n1,a\r\n");
    m.setFormat(ExportFormat::Html);
    ASSERT_TRUE(m.okClicked());
    EXPECT_EQ(zavtest::readBytes(m.txtOutput),
              "<HTML>\r\n<table >\r\n<tr><td >Size</td><td >Name</td></tr>\r\n<tr><td >1</td><td >a</td></tr>\r\n"
              "</table>\r\n</HTML>\r\n");

    m.displayOrder = false;
    EXPECT_EQ(m.exportedColumns(), (std::vector<std::int32_t>{1, 2, 3}));
}

TEST(ColumnOrder, AnOrderThatDoesNotNameEveryColumnOnceIsIndexOrder) {
    for (const auto& order : std::vector<std::vector<std::int32_t>>{{}, {1, 2}, {1, 1, 2}, {0, 1, 2}, {1, 2, 4}}) {
        Dialog d({L"A", L"B", L"C"}, {{L"1", L"2", L"3"}});
        d.scene.grid->order = order;
        EXPECT_EQ(d.open().exportedColumns(), (std::vector<std::int32_t>{1, 2, 3}));
    }
    Dialog hidden({L"A", L"B"}, {{L"1", L"2"}});
    hidden.scene.grid->order = {2, 1};
    hidden.scene.grid->widths = {0, 0};
    // Every column hidden: all of them, as shown, rather than a file without columns.
    EXPECT_EQ(hidden.open().exportedColumns(), (std::vector<std::int32_t>{2, 1}));
}

// The rows and the check boxes an export takes: only the selected rows when the type says so
// (none selected, or a selection that cannot be read, is refused and leaves the file as it was),
// and a first column "Checked" for a list with check boxes; both kept in the type file.
namespace {

// A grid of `rows` rows of one column, "r1" .. "rN".
std::vector<std::vector<std::wstring>> numbered(int rows) {
    std::vector<std::vector<std::wstring>> out;
    for (int r = 1; r <= rows; ++r) out.push_back({L"r" + std::to_wstring(r)});
    return out;
}

// The data records of a one-column CSV file without its mark and header.
}  // namespace

TEST(SelectedRows, OnlyTheSelectedRowsInTheListsOrderEveryFormat) {
    Dialog d({L"Name", L"Size"}, {{L"a", L"1"}, {L"b", L"2"}, {L"c", L"3"}, {L"d", L"4"}});
    d.scene.grid->selected = {2, 4};
    auto& m = d.open();
    EXPECT_FALSE(m.selectedRowsOnly);  // off for a new type
    EXPECT_EQ(d.csv(), kBom + "Name,Size\r\na,1\r\nb,2\r\nc,3\r\nd,4\r\n");
    m.selectedRowsOnly = true;
    EXPECT_EQ(d.csv(), kBom + "Name,Size\r\nb,2\r\nd,4\r\n");
    m.setFormat(ExportFormat::Html);
    m.writeExport();
    EXPECT_EQ(zavtest::readBytes(m.txtOutput),
              "<HTML>\r\n<table >\r\n<tr><td >Name</td><td >Size</td></tr>\r\n<tr><td >b</td><td >2</td></tr>\r\n"
              "<tr><td >d</td><td >4</td></tr>\r\n</table>\r\n</HTML>\r\n");
}

TEST(SelectedRows, RunsLongerThanABlockSingleRowsAndTheLastRowComeOutWhole) {
    // One column: 256 rows to a block. Runs longer than a block, single rows and the last row.
    Dialog d({L"N"}, numbered(700));
    std::vector<std::int32_t> selected = {1, 5};
    for (std::int32_t r = 10; r <= 400; ++r) selected.push_back(r);
    selected.push_back(699);
    selected.push_back(700);
    d.scene.grid->selected = selected;
    auto& m = d.open();
    m.selectedRowsOnly = true;
    std::string expected;
    for (std::int32_t r : selected) expected += "r" + std::to_string(r) + "\r\n";
    EXPECT_EQ(records(d.csv()), expected);
}

TEST(SelectedRows, RowsTheListDoesNotHaveOrThatRepeatAreLeftOut) {
    Dialog d({L"N"}, numbered(3));
    d.scene.grid->selected = {0, 2, 2, 3, 9};
    auto& m = d.open();
    m.selectedRowsOnly = true;
    EXPECT_EQ(records(d.csv()), "r2\r\nr3\r\n");
}

TEST(SelectedRows, NoSelectionOrAFailedReadIsRefusedAndTheFileStays) {
    Dialog d({L"N"}, numbered(3));
    auto& m = d.open();
    const std::string before = d.csv();
    const std::wstring output = m.txtOutput;
    m.selectedRowsOnly = true;
    try {
        m.writeExport();
        ADD_FAILURE() << "an export of no rows was written";
    } catch (const Error& e) {
        EXPECT_NE(e.description().find(kNoSelectionMessage), std::wstring::npos);
    }
    EXPECT_EQ(zavtest::readBytes(output), before);

    d.scene.grid->selectionHangs = true;
    auto& hung = d.open();
    hung.selectedRowsOnly = true;
    hung.setFormat(ExportFormat::Csv);
    try {
        hung.writeExport();
        ADD_FAILURE() << "a selection that could not be read was exported";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), kErrCaptureFailed);
        EXPECT_NE(e.description().find(describeCaptureFailure(CaptureFailure::TargetHung)), std::wstring::npos);
    }
    EXPECT_EQ(zavtest::readBytes(output), before);
}

TEST(CheckedColumn, AFirstColumnOfYesAndNoForAListWithCheckBoxes) {
    Dialog d({L"Name", L"Size"}, {{L"a", L"1"}, {L"b", L"2"}, {L"c", L"3"}});
    d.scene.grid->checkBoxes = true;
    d.scene.grid->checked = {2, 3};
    d.scene.grid->order = {2, 1};
    auto& m = d.open();
    EXPECT_FALSE(m.checkedColumn);  // off for a new type
    m.checkedColumn = true;
    EXPECT_EQ(m.exportedColumns(), (std::vector<std::int32_t>{kCheckedColumn, 2, 1}));
    EXPECT_EQ(d.csv(), kBom + "Checked,Size,Name\r\nNo,1,a\r\nYes,2,b\r\nYes,3,c\r\n");
    m.setFormat(ExportFormat::Html);
    m.writeExport();
    EXPECT_EQ(zavtest::readBytes(m.txtOutput),
              "<HTML>\r\n<table >\r\n<tr><td >Checked</td><td >Size</td><td >Name</td></tr>\r\n"
              "<tr><td >No</td><td >1</td><td >a</td></tr>\r\n<tr><td >Yes</td><td >2</td><td >b</td></tr>\r\n"
              "<tr><td >Yes</td><td >3</td><td >c</td></tr>\r\n</table>\r\n</HTML>\r\n");
}

TEST(CheckedColumn, AListWithoutCheckBoxesGetsNoSuchColumn) {
    Dialog d({L"Name"}, {{L"a"}});
    d.scene.grid->checked = {1};
    auto& m = d.open();
    m.checkedColumn = true;
    EXPECT_EQ(m.exportedColumns(), (std::vector<std::int32_t>{1}));
    EXPECT_EQ(d.csv(), kBom + "Name\r\na\r\n");
}

TEST(CheckedColumn, NoRuleChangesTheMarksAndSelectedRowsHaveTheirOwnMarks) {
    Dialog d({L"Name"}, numbered(5));
    d.scene.grid->checkBoxes = true;
    d.scene.grid->checked = {4};
    d.scene.grid->selected = {2, 4};
    auto& m = d.open();
    m.checkedColumn = true;
    m.selectedRowsOnly = true;
    // A rule of column 1 that would change "No" is not applied to the check box's column.
    m.columns.item(L"Name")->addReplace(L"No", L"changed");
    m.columns.item(L"Name")->addReplace(L"r", L"row ");
    EXPECT_EQ(records(d.csv()), "No,row 2\r\nYes,row 4\r\n");
}

TEST(RowChoices, BothOptionsRoundTripThroughTheTypeFile) {
    Dialog d({L"A"}, numbered(1));
    auto& m = d.open();
    m.selectedRowsOnly = true;
    m.checkedColumn = true;
    m.saveExportOptions();
    const std::string file = zavtest::readBytes(d.env.typePath(L"Files"));
    EXPECT_NE(file.find("SelectedRowsOnly=1\r\n"), std::string::npos);
    EXPECT_NE(file.find("CheckedColumn=1\r\n"), std::string::npos);
    auto& again = d.open();
    ASSERT_EQ(again.exportTypeItems().size(), 1u);
    EXPECT_TRUE(again.selectedRowsOnly);
    EXPECT_TRUE(again.checkedColumn);
    again.selectedRowsOnly = false;
    again.checkedColumn = false;
    again.saveExportOptions();
    auto& third = d.open();
    EXPECT_FALSE(third.selectedRowsOnly);
    EXPECT_FALSE(third.checkedColumn);
}
