// The export as a job of blocks: progress between blocks, the same bytes as an export in one go,
// an end before the end (a stop, a failed read, a failing disk) that loses nothing, and characters
// the file's code page lacks written as references.
#include <gtest/gtest.h>

#include "DialogFixture.h"
#include "job/FileExport.h"
#include "text/Utf8.h"

using namespace zav;
using namespace exporttest;

namespace {

// A dialog on a list of `rows` generated rows ("r:c") of `columns` columns "C1".."Cn".
struct Job : Dialog {
    explicit Job(std::int32_t rows, std::int32_t columns = 4) {
        for (std::int32_t c = 1; c <= columns; ++c) scene.grid->headers.push_back(L"C" + std::to_wstring(c));
        scene.grid->rowCount = rows;
        scene.grid->cell = [](std::int32_t r, std::int32_t c) { return std::to_wstring(r) + L":" + std::to_wstring(c); };
        open();
    }
    // The output file is as it was before and no temporary file is left.
    void expectKept(const char* what) const {
        EXPECT_EQ(output(), "earlier export") << what;
        EXPECT_FALSE(zavtest::pathExists(model->txtOutput + L".tmp")) << what;
    }
};

}  // namespace

TEST(FileExportJob, RunsABlockAtATimeAndWritesWhatAnExportInOneGoWrites) {
    Job oneGo(1000), stepped(1000);
    const std::string expected = oneGo.exported();
    auto job = stepped.model->startExport();
    EXPECT_EQ(job->rowCount(), 1000);
    EXPECT_EQ(job->rowsDone(), 0);
    std::vector<std::int32_t> progress;
    while (job->step()) progress.push_back(job->rowsDone());
    job->finish();
    // 256 cells a block, four columns: 64 rows a step, the last step the remainder.
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front(), 64);
    EXPECT_EQ(job->rowsDone(), 1000);
    for (std::size_t i = 1; i < progress.size(); ++i) EXPECT_GT(progress[i], progress[i - 1]);
    EXPECT_EQ(stepped.output(), expected);
    EXPECT_FALSE(zavtest::pathExists(stepped.model->txtOutput + L".tmp"));
}

TEST(FileExportJob, AReadThatFailsInAStepFailsTheJobSpeakingOfTheControlAndLosesNothing) {
    for (ControlKind kind : {ControlKind::ListView, ControlKind::TreeView, ControlKind::ListBox}) {
        Job j(1000);
        j.scene.grid->kind = kind;
        j.scene.grid->failAtRead = 300;  // the list's program ends inside the second block of 256 cells
        j.model->populateExportOptions(j.scene.target);
        zavtest::writeBytes(j.model->txtOutput, "earlier export");
        auto job = j.model->startExport();
        int steps = 0;
        try {
            while (job->step()) ++steps;
            ADD_FAILURE() << "a failed capture was reported as success";
        } catch (const Error& err) {
            EXPECT_EQ(err.number(), kErrCaptureFailed);
            EXPECT_EQ(err.detail(), describeCaptureFailure(CaptureFailure::TargetGone, kind));
            EXPECT_NE(err.detail().find(describeControlKind(kind)), std::wstring::npos);
        }
        EXPECT_EQ(steps, 1);
        job.reset();
        j.expectKept("failed read");
    }
}

TEST(FileExportJob, AStopOrAFailingDiskLeavesThePreviousFileAsItWasAndNoTemporaryFile) {
    Job j(5000);
    zavtest::writeBytes(j.model->txtOutput, "earlier export");
    {
        auto job = j.model->startExport();
        ASSERT_TRUE(job->step());
        ASSERT_TRUE(job->step());
        EXPECT_TRUE(zavtest::pathExists(j.model->txtOutput + L".tmp"));  // the new file is on its way
    }  // dropped: the user stopped it
    j.expectKept("stopped");
    j.faults.fs.failWriteAfter = 5000;
    EXPECT_THROW(j.model->writeExport(), Error);
    j.expectKept("disk full");
    j.faults.fs.failWriteAfter = 0;
    j.faults.fs.failReplace = true;
    EXPECT_THROW(j.model->writeExport(), Error);
    j.expectKept("not replaced");
    j.faults.fs.failReplace = false;
    // The next export runs to its end and replaces the file; a folder that is not there fails it.
    EXPECT_NE(j.exported().find("<tr><td >5000:1</td>"), std::string::npos);
    j.model->txtOutput = j.env.dir.file(L"no folder\\x.html");
    EXPECT_THROW(j.model->writeExport(), Error);
}

TEST(FileExportJob, CharactersTheCodePageLacksBecomeReferencesEverywhere) {
    Job j(0, 0);
    j.scene.grid->headers = {L"\u0418\u043C\u044F", L"Caf\u00E9"};  // Cyrillic, and Latin-1 that fits
    j.scene.grid->cell = nullptr;
    j.scene.grid->rows = {{L"\u4E2D\u6587", L"\u03A9 & \u0639"}};
    j.model->populateExportOptions(j.scene.target);
    j.model->txtHTMLHeader = L"<title>\u2603</title>";
    j.model->columns.item(L"Caf\u00E9")->addReplace(L"&", L"\u2192");
    EXPECT_EQ(j.exported(),
              "<title>&#9731;</title>\r\n<table >\r\n"
              "<tr><td >&#1048;&#1084;&#1103;</td><td >Caf\xE9</td></tr>\r\n"
              "<tr><td >&#20013;&#25991;</td><td >&#937; &#8594; &#1593;</td></tr>\r\n"
              "</table>\r\n</HTML>\r\n");
}

TEST(FileExportJob, HoldsItsGridAndPlanAndRunsOnAfterTheDialogWent) {
    Job j(300);
    j.model->columns.item(L"C2")->addReplace(L":", L"-");
    auto job = j.model->startExport();
    const std::wstring output = j.model->txtOutput;
    ASSERT_TRUE(job->step());
    j.model->columns.item(L"C2")->addReplace(L"1", L"one");  // an edit after the start changes nothing
    j.model.reset();  // the dialog closed
    runToEnd(*job);
    const std::string html = zavtest::readBytes(output);
    EXPECT_NE(html.find("<tr><td >300:1</td><td >300-2</td><td >300:3</td><td >300:4</td></tr>"), std::string::npos);
    EXPECT_EQ(html.find("one"), std::string::npos);
}

// A saved type exported without any dialog (as a program without windows would): its plan, read
// from the type file, writes what the dialog writes for it, in each format, with its rules, its
// column choice and its rows.
TEST(FileExportJob, ASavedTypeExportsWithoutADialogByteForByteAsTheDialogDoes) {
    for (ExportFormat format : {ExportFormat::Html, ExportFormat::Csv, ExportFormat::Tsv}) {
        Dialog j({L"Name", L"Size", L"Name", L"Hidden"}, {{L"a", L"1 kB", L"x", L"h"}, {L"b", L"2 kB", L"=y", L"h"}, {L"c", L"3", L"z", L"h"}});
        j.scene.grid->order = {3, 4, 2, 1};
        j.scene.grid->widths = {100, 100, 100, 0};
        j.scene.grid->checkBoxes = true;
        j.scene.grid->checked = {3};
        j.scene.grid->selected = {2, 3};
        auto& m = j.open();
        m.setFormat(format);
        m.setExportTypeText(L"Saved");
        m.txtHTMLHeader = L"<h1>";
        m.txtDataFormat = L"class=d";
        m.txtDelimiter = L";";
        m.checkedColumn = m.selectedRowsOnly = true;
        m.columns.item(L"Size")->addReplace(L" kB", L"000");
        m.columns.item(L"Name1")->addReplace(L"y", L"why");
        ASSERT_TRUE(m.okClicked());
        const std::string byDialog = j.output();

        zavtest::writeBytes(m.txtOutput, "");
        auto grid = openGrid(j.scene.captures, j.scene.target);
        const SavedExportType saved = readSavedExportType(j.storage(), j.env.settings, L"Saved", grid->info);
        runToEnd(*startFileExport(j.faults.fs, grid, exportPlanOf(saved.type, saved.rules, grid->info, usEnglishNumberFormat())));
        EXPECT_EQ(j.output(), byDialog) << toUtf8(exportFormatText(format));
        if (format == ExportFormat::Csv) {
            EXPECT_EQ(byDialog, "\xEF\xBB\xBF" "Checked;Name;Size;Name\r\nNo;'=why;2000;b\r\nYes;z;3;c\r\n");
        }
    }
}
