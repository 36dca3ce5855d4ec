// The grid as it goes onto the clipboard: Unicode text (tabs between cells, every row ended by CR
// LF, a cell holding a tab, CR, LF or a double quote put in double quotes with its quotes doubled,
// as spreadsheets copy) and "HTML Format" (a table inside the clipboard's HTML header, whose byte
// offsets let the pasting program find the fragment). Both are built whole in memory before
// anything goes onto the clipboard, so a copy that fails or is stopped leaves it as it was.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "capture/GridSource.h"
#include "export/TableWriter.h"

namespace zav {

// Appends one cell of the clipboard text: in double quotes, its quotes doubled, when it holds a
// tab, CR, LF or a double quote; else as it is.
void appendClipboardCell(std::wstring& out, const std::wstring& text);

// The clipboard's "HTML Format" data for a fragment of UTF-8 HTML: the header (Version,
// StartHTML, EndHTML, StartFragment, EndFragment, each offset counted in bytes from the start of
// the data), then a document holding the fragment between <!--StartFragment--> and
// <!--EndFragment-->. No terminating NUL: the caller adds it to the clipboard's memory.
std::string clipboardHtml(const std::string& fragment);

// Both forms of the grid, a block of rows at a time; the header row first. Texts pass through
// their column's rules and are written escaped in the HTML: the copy holds text, never markup.
class GridCopyWriter : public TableWriter {
public:
    GridCopyWriter(const ListViewInfo& lvInfo, IGridSource& capture,
                   const std::vector<const cReplaceList*>& rules, const NumberFormat& format);

    void begin() override;
    void end() override;

    const std::wstring& text() const { return text_; }
    // The clipboard's HTML data; complete after end().
    const std::string& html() const { return html_; }

private:
    void writeRow(std::int32_t row, const std::wstring* cells) override;
    void writeRecord();

    std::vector<std::wstring> fields_;
    std::wstring text_;
    std::wstring table_;
    std::string html_;
};

// One copy as a job run a block at a time, so that the caller can show its progress and stop it
// between two blocks (dropping the job drops everything read).
class GridCopyJob {
public:
    // `rules[c]` are the rules of column c (1-based), kept by the job; `columns` the columns
    // The capture and the record must outlive the job.
    // copied, in that order; `rows` (1-based, ascending) the only rows copied after the header
    // (nullptr: every row).
    GridCopyJob(const ListViewInfo& lvInfo, IGridSource& capture, std::vector<cReplaceList> rules,
                const NumberFormat& format, std::vector<std::int32_t> columns,
                const std::vector<std::int32_t>* rows = nullptr);
    GridCopyJob(const GridCopyJob&) = delete;
    GridCopyJob& operator=(const GridCopyJob&) = delete;

    // Reads the next block; false when every row is read (call finish() then). Raises zav::Error
    // when the list view could not be read.
    bool step();
    // Completes both forms. Raises zav::Error when the list view could not be read to the end.
    void finish();

    std::int32_t rowsRead() const { return writer_->rowsWritten(); }
    std::int32_t rowCount() const { return writer_->rowCount(); }
    const std::wstring& text() const { return writer_->text(); }
    const std::string& html() const { return writer_->html(); }

private:
    void checkCapture() const;

    IGridSource& capture_;
    ControlKind kind_;  // what the grid is read from, for failure messages
    std::vector<cReplaceList> ruleLists_;
    std::vector<const cReplaceList*> rules_;
    std::unique_ptr<GridCopyWriter> writer_;
};

}  // namespace zav
