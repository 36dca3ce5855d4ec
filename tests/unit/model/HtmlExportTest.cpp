// An HTML export that fails midway (the list's program ends, the disk fails) leaves the earlier file.
#include <gtest/gtest.h>

#include "DialogFixture.h"

using namespace zav;
using namespace exporttest;

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
