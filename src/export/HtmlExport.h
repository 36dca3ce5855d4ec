// One export of the file (HTML, CSV or tab-separated) as a job that runs a block of rows at a time, so that the dialog can
// show its progress, keep repainting and stop it between two blocks. The file is written under a
// temporary name and takes the output file's place only when the job finishes: a job that is
// stopped, fails or is dropped leaves the previous output file as it was and no temporary file.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "capture/GridSource.h"
#include "export/DelimitedWriter.h"
#include "export/HtmlWriter.h"
#include "export/NumericText.h"
#include "export/cColumn.h"
#include "ini/FileSystem.h"

namespace zav {

class HtmlExportJob {
public:
    // `rules[c]` are the rules of column c (1-based); the job keeps its own copy of each list, so the
    // dialog's lists may change meanwhile. The capture and the record must outlive the job.
    HtmlExportJob(IFileSystem& fs, std::wstring output, HtmlFragments fragments, const ListViewInfo& lvInfo,
                  IGridSource& capture, std::vector<cReplaceList> rules, const NumberFormat& format);
    // A CSV or tab-separated file. `columns` are the columns written, in that order (1-based;
    // kCheckedColumn: the check boxes); `rows` the rows written (1-based, ascending), every row
    // when none are given.
    HtmlExportJob(IFileSystem& fs, std::wstring output, const DelimitedOptions& options, const ListViewInfo& lvInfo,
                  IGridSource& capture, std::vector<cReplaceList> rules, const NumberFormat& format,
                  std::vector<std::int32_t> columns, std::optional<std::vector<std::int32_t>> rows = std::nullopt);
    // An HTML file of those columns and rows.
    HtmlExportJob(IFileSystem& fs, std::wstring output, HtmlFragments fragments, const ListViewInfo& lvInfo,
                  IGridSource& capture, std::vector<cReplaceList> rules, const NumberFormat& format,
                  std::vector<std::int32_t> columns, std::optional<std::vector<std::int32_t>> rows = std::nullopt);
    ~HtmlExportJob();
    HtmlExportJob(const HtmlExportJob&) = delete;
    HtmlExportJob& operator=(const HtmlExportJob&) = delete;

    // Writes the next block of rows; false when every row is written (call finish() then). Raises
    // zav::Error when the file cannot be written or the list view could not be read.
    bool step();
    // Completes the file and lets it take the output file's place. Raises zav::Error on failure.
    void finish();

    std::int32_t rowsWritten() const { return table_ ? table_->rowsWritten() : rowsWritten_; }
    std::int32_t rowCount() const { return rowCount_; }
    const std::wstring& output() const { return output_; }

private:
    HtmlExportJob(IFileSystem& fs, std::wstring output, IGridSource& capture, std::vector<cReplaceList> rules);
    // Opens the temporary file and starts the table `make` builds over it.
    template <class Make>
    void open(Make make);
    void checkCapture() const;

    IFileSystem& fs_;
    std::wstring output_;
    std::wstring partial_;
    HtmlFragments fragments_;
    IGridSource& capture_;
    ControlKind kind_ = ControlKind::ListView;  // what the grid is read from, for failure messages
    std::vector<cReplaceList> ruleLists_;
    std::vector<const cReplaceList*> rules_;
    std::unique_ptr<ITextWriter> writer_;
    std::unique_ptr<TableWriter> table_;
    std::int32_t rowCount_ = 0;
    std::int32_t rowsWritten_ = 0;  // once the table writer is gone
    bool finished_ = false;
};

}  // namespace zav
