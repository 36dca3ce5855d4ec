// The HTML file as the export dialog writes it: the six-line example byte for byte, fragments,
// escaped headers, the rules of repeated headers, and failures midway that leave the earlier file.
#include <gtest/gtest.h>

#include "DialogFixture.h"

using namespace zav;
using namespace exporttest;

TEST(HtmlExport, WritesTheSixLineExampleByteForByteOverAnEarlierFile) {
    Dialog d({L"Name", L"Size"}, {{L"a.txt", L"12"}});
    auto& m = d.open();
    EXPECT_EQ(m.txtOutput, d.env.outputFolder() + L"Files.html");
    zavtest::writeBytes(m.txtOutput, std::string(10000, 'x'));
    ASSERT_TRUE(m.okClicked());
    EXPECT_EQ(m.bOK, vbTrue);
    EXPECT_EQ(d.output(),
              "<HTML>\r\n<table >\r\n<tr><td >Name</td><td >Size</td></tr>\r\n"
              "<tr><td >a.txt</td><td >12</td></tr>\r\n</table>\r\n</HTML>\r\n");
    EXPECT_FALSE(zavtest::pathExists(m.txtOutput + L".tmp"));
    EXPECT_TRUE(m.queryClose());  // no question after OK
    EXPECT_TRUE(zavtest::reporter().messages.empty());
}

TEST(HtmlExport, FragmentsFormatsEscapedHeadersAndTheRulesOfRepeatedHeaders) {
    Dialog d({L"A<B", L"A<B"}, {{L"x", L"x"}});
    auto& m = d.open();
    m.txtHTMLHeader = L"<HTML>\r\n<body>\r\n";
    m.txtTableFormat = L"border=\"1\"";
    m.txtHeaderFormat = L"class=h";
    m.txtDataFormat = L"class=d";
    m.txtHTMLFooter = L"</HTML>";
    m.columns.item(L"A<B")->addReplace(L"x", L"first");
    m.columns.item(L"A<B1")->addReplace(L"x", L"second");
    EXPECT_EQ(d.exported(),
              "<HTML>\r\n<body>\r\n\r\n<table border=\"1\">\r\n"
              "<tr><td class=h>A&lt;B</td><td class=h>A&lt;B</td></tr>\r\n"
              "<tr><td class=d>first</td><td class=d>second</td></tr>\r\n</table>\r\n</HTML>\r\n");
}

TEST(HtmlExport, AReadThatFailsMidwayIsAFailedExportSpeakingOfTheControlAndLosesNothing) {
    for (ControlKind kind : {ControlKind::ListView, ControlKind::TreeView, ControlKind::ListBox}) {
        Dialog d({L"A", L"B"}, Table(50, {L"a", L"b"}));
        d.scene.grid->kind = kind;
        d.scene.grid->failAtRead = 30;  // the list's program ends during the export
        auto& m = d.open();
        zavtest::writeBytes(m.txtOutput, "earlier export");
        try {
            m.writeExport();
            ADD_FAILURE() << "a failed capture was reported as success";
        } catch (const Error& err) {
            EXPECT_EQ(err.number(), kErrCaptureFailed);
            EXPECT_EQ(err.detail(), describeCaptureFailure(CaptureFailure::TargetGone, kind));
            EXPECT_NE(err.detail().find(describeControlKind(kind)), std::wstring::npos);
        }
        EXPECT_EQ(d.output(), "earlier export");
        EXPECT_FALSE(zavtest::pathExists(m.txtOutput + L".tmp"));
    }
    // A list view that was gone at the start: no header, and OK does not end in success.
    Dialog gone;
    gone.scene.captures.grids.clear();
    auto& m = gone.open();
    EXPECT_EQ(m.grid()->info.lColumnCount, 0);
    EXPECT_THROW(m.okClicked(), Error);
    EXPECT_EQ(m.bOK, vbFalse);
    EXPECT_TRUE(m.queryClose());  // the recording reporter answers Yes
    EXPECT_EQ(zavtest::reporter().messages.back().text, L"Cancel?");
}

TEST(HtmlExport, AFileSystemThatFailsMidWriteLeavesTheEarlierFile) {
    Dialog d({L"A"}, Table(1000, {L"cell"}));
    auto& m = d.open();
    zavtest::writeBytes(m.txtOutput, "earlier export");
    d.faults.fs.failWriteAfter = 5000;
    EXPECT_THROW(m.writeExport(), Error);
    d.faults.fs.failWriteAfter = 0;
    d.faults.fs.failReplace = true;
    EXPECT_THROW(m.writeExport(), Error);
    d.faults.fs.failReplace = false;
    EXPECT_EQ(d.output(), "earlier export");
    EXPECT_FALSE(zavtest::pathExists(m.txtOutput + L".tmp"));

    m.txtOutput = d.env.dir.file(L"no folder\\x.html");
    EXPECT_THROW(m.writeExport(), Error);
}
