// The HTML file as the export dialog writes it: the six-line example byte for byte, fragments,
// escaped headers, the rules of repeated headers, and failures midway that leave the earlier file.
#include <gtest/gtest.h>

#include "ExportFixture.h"
#include "model/ExportOptions.h"

using namespace zav;
using namespace exporttest;

namespace {

// A model on a scene, populated; the HTML file read back after OK.
struct Export {
    FaultyStorage faults;
    Environment env;
    Scene scene;
    std::unique_ptr<frmExportOptionsModel> model;

    void populate() {
        model = std::make_unique<frmExportOptionsModel>(faults.storage(), env.settings, scene.captures, scene.windows, zavtest::reporter());
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
    e.model->writeExport();
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
    e.model->writeExport();
    EXPECT_NE(e.html().find("<tr><td >first</td><td >second</td></tr>"), std::string::npos);
}

TEST(HtmlExport, ReplacesAnEarlierFileWhole) {
    Export e;
    e.scene.grid->headers = {L"A"};
    e.scene.grid->rows = {{L"1"}};
    e.populate();
    zavtest::writeBytes(e.model->txtOutput, std::string(10000, 'x'));
    e.model->writeExport();
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
        e.model->writeExport();
        FAIL() << "a failed capture was reported as success";
    } catch (const Error& err) {
        EXPECT_EQ(err.number(), kErrCaptureFailed);
        EXPECT_EQ(err.detail(), describeCaptureFailure(CaptureFailure::TargetGone, ControlKind::ListView));
    }
    EXPECT_EQ(e.html(), "earlier export");
    EXPECT_FALSE(zavtest::pathExists(e.model->txtOutput + L".tmp"));

    // A list view that was gone at the start: no header, and OK does not end in success.
    e.scene.captures.grids.clear();
    e.populate();
    EXPECT_EQ(e.model->grid()->info.lColumnCount, 0);
    EXPECT_THROW(e.model->okClicked(), Error);
    EXPECT_EQ(e.model->bOK, vbFalse);
    EXPECT_TRUE(e.model->queryClose());  // the recording reporter answers Yes
    EXPECT_EQ(zavtest::reporter().messages.back().text, L"Cancel?");
}

TEST(HtmlExport, AReadThatFailsMidwaySpeaksOfTheControlItWasReadFrom) {
    for (ControlKind kind : {ControlKind::TreeView, ControlKind::ListBox}) {
        Export e;
        e.scene.grid->kind = kind;
        e.scene.grid->headers = {L"Item"};
        e.scene.grid->rows.assign(50, {L"a"});
        e.scene.grid->failAtRead = 20;
        e.populate();
        try {
            e.model->writeExport();
            ADD_FAILURE() << "a failed capture was reported as success";
        } catch (const Error& err) {
            EXPECT_EQ(err.detail(), describeCaptureFailure(CaptureFailure::TargetGone, kind));
            EXPECT_NE(err.detail().find(describeControlKind(kind)), std::wstring::npos);
        }
    }
}

TEST(HtmlExport, AFileSystemThatFailsMidWriteLeavesTheEarlierFile) {
    Export e;
    e.scene.grid->headers = {L"A"};
    e.scene.grid->rows.assign(1000, {L"cell"});
    e.populate();
    zavtest::writeBytes(e.model->txtOutput, "earlier export");

    FailingFileSystem& failing = e.faults.fs;
    failing.failWriteAfter = 5000;
    EXPECT_THROW(e.model->writeExport(), Error);
    failing.failWriteAfter = 0;
    failing.failReplace = true;
    EXPECT_THROW(e.model->writeExport(), Error);
    failing.failReplace = false;
    EXPECT_EQ(e.html(), "earlier export");
    EXPECT_FALSE(zavtest::pathExists(e.model->txtOutput + L".tmp"));

    e.model->txtOutput = e.env.dir.file(L"no folder\\x.html");
    EXPECT_THROW(e.model->writeExport(), Error);
}
