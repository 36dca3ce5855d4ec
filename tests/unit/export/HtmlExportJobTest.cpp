// The export as a job of blocks: progress between blocks, a stop that loses nothing, the same bytes
// as an export in one go, and characters the file's code page lacks written as references.
#include <gtest/gtest.h>

#include "ExportFixture.h"
#include "export/ExportOptions.h"
#include "export/HtmlExport.h"

using namespace zav;
using namespace exporttest;

namespace {

struct Job {
    Environment env;
    Scene scene;
    std::unique_ptr<frmExportOptionsModel> model;

    explicit Job(std::int32_t rows, std::int32_t columns = 4) {
        for (std::int32_t c = 1; c <= columns; ++c) scene.grid->headers.push_back(L"C" + std::to_wstring(c));
        scene.grid->rowCount = rows;
        scene.grid->cell = [](std::int32_t r, std::int32_t c) { return std::to_wstring(r) + L":" + std::to_wstring(c); };
        model = std::make_unique<frmExportOptionsModel>(zavtest::storage(), env.settings, scene.captures, scene.windows, zavtest::reporter());
        model->populateExportOptions(scene.target);
    }
    std::string html() const { return zavtest::readBytes(model->txtOutput); }
};

}  // namespace

TEST(HtmlExportJob, RunsABlockAtATimeAndWritesWhatAnExportInOneGoWrites) {
    Job oneGo(1000);
    oneGo.model->writeHTMLExport();
    const std::string expected = oneGo.html();

    Job stepped(1000);
    auto job = stepped.model->startHTMLExport();
    EXPECT_EQ(job->rowCount(), 1000);
    EXPECT_EQ(job->rowsWritten(), 0);
    std::vector<std::int32_t> progress;
    while (job->step()) progress.push_back(job->rowsWritten());
    job->finish();
    // 256 cells a block, four columns: 64 rows a step, the last step the remainder.
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front(), 64);
    EXPECT_EQ(job->rowsWritten(), 1000);
    for (std::size_t i = 1; i < progress.size(); ++i) EXPECT_GT(progress[i], progress[i - 1]);
    EXPECT_EQ(stepped.html(), expected);
    EXPECT_FALSE(zavtest::pathExists(stepped.model->txtOutput + L".tmp"));
}

TEST(HtmlExportJob, AStoppedJobLeavesThePreviousFileAsItWasAndNoTemporaryFile) {
    Job j(5000);
    zavtest::writeBytes(j.model->txtOutput, "the previous export\r\n");
    {
        auto job = j.model->startHTMLExport();
        ASSERT_TRUE(job->step());
        ASSERT_TRUE(job->step());
        EXPECT_TRUE(zavtest::pathExists(j.model->txtOutput + L".tmp"));  // the new file is on its way
    }  // dropped: the user stopped it
    EXPECT_EQ(j.html(), "the previous export\r\n");
    EXPECT_FALSE(zavtest::pathExists(j.model->txtOutput + L".tmp"));

    // The next export runs to its end and replaces the file.
    j.model->writeHTMLExport();
    EXPECT_NE(j.html().find("<tr><td >5000:1</td>"), std::string::npos);
}

TEST(HtmlExportJob, ACaptureThatFailsInAStepFailsTheJobAndLosesNothing) {
    Job j(1000);
    j.scene.grid->failAtRead = 300;  // inside the second block of 256 cells
    j.model->populateExportOptions(j.scene.target);
    zavtest::writeBytes(j.model->txtOutput, "kept");
    auto job = j.model->startHTMLExport();
    int steps = 0;
    EXPECT_THROW(
        {
            while (job->step()) ++steps;
        },
        Error);
    EXPECT_EQ(steps, 1);
    job.reset();
    EXPECT_EQ(j.html(), "kept");
    EXPECT_FALSE(zavtest::pathExists(j.model->txtOutput + L".tmp"));
}

TEST(HtmlExportJob, CharactersTheCodePageLacksBecomeReferencesEverywhere) {
    Job j(0, 0);
    j.scene.grid->headers = {L"\u0418\u043C\u044F", L"Caf\u00E9"};  // Cyrillic, and Latin-1 that fits
    j.scene.grid->cell = nullptr;
    j.scene.grid->rows = {{L"\u4E2D\u6587", L"\u03A9 & \u0639"}};
    j.model->populateExportOptions(j.scene.target);
    j.model->txtHTMLHeader = L"<title>\u2603</title>";
    j.model->columns.item(L"Caf\u00E9")->addReplace(L"&", L"\u2192");
    j.model->writeHTMLExport();
    EXPECT_EQ(j.html(),
              "<title>&#9731;</title>\r\n<table >\r\n"
              "<tr><td >&#1048;&#1084;&#1103;</td><td >Caf\xE9</td></tr>\r\n"
              "<tr><td >&#20013;&#25991;</td><td >&#937; &#8594; &#1593;</td></tr>\r\n"
              "</table>\r\n</HTML>\r\n");
}
