#include "export/HtmlExport.h"

#include "core/Error.h"
#include "core/ScopeExit.h"

namespace zav {

HtmlExportJob::HtmlExportJob(IFileSystem& fs, std::wstring output, IGridSource& capture,
                             std::vector<cReplaceList> rules)
    : fs_(fs), output_(std::move(output)), partial_(output_ + L".tmp"), capture_(capture), ruleLists_(std::move(rules)) {
    for (const auto& list : ruleLists_) rules_.push_back(&list);
}

template <class Make>
void HtmlExportJob::open(Make make) {
    auto dropPartial = scopeExit([&] {
        table_.reset();
        writer_.reset();
        discardFile(fs_, partial_);
    });
    writer_ = fs_.openTextWriter(partial_);
    table_ = make(*writer_);
    table_->begin();
    rowCount_ = table_->rowCount();
    dropPartial.dismiss();
}

HtmlExportJob::HtmlExportJob(IFileSystem& fs, std::wstring output, HtmlFragments fragments,
                             const ListViewInfo& lvInfo, IGridSource& capture, std::vector<cReplaceList> rules,
                             const NumberFormat& format)
    : HtmlExportJob(fs, std::move(output), std::move(fragments), lvInfo, capture, std::move(rules), format,
                    indexOrder(lvInfo.lColumnCount)) {}

HtmlExportJob::HtmlExportJob(IFileSystem& fs, std::wstring output, HtmlFragments fragments,
                             const ListViewInfo& lvInfo, IGridSource& capture, std::vector<cReplaceList> rules,
                             const NumberFormat& format, std::vector<std::int32_t> columns,
                             std::optional<std::vector<std::int32_t>> rows)
    : HtmlExportJob(fs, std::move(output), capture, std::move(rules)) {
    kind_ = lvInfo.kind;
    fragments_ = std::move(fragments);
    open([&](ITextWriter& writer) {
        auto table = std::make_unique<HtmlTableWriter>(writer, fragments_, lvInfo, capture_, rules_, format);
        table->showColumns(std::move(columns));
        if (rows) table->showRows(std::move(*rows));
        return table;
    });
}

HtmlExportJob::HtmlExportJob(IFileSystem& fs, std::wstring output, const DelimitedOptions& options,
                             const ListViewInfo& lvInfo, IGridSource& capture, std::vector<cReplaceList> rules,
                             const NumberFormat& format, std::vector<std::int32_t> columns,
                             std::optional<std::vector<std::int32_t>> rows)
    : HtmlExportJob(fs, std::move(output), capture, std::move(rules)) {
    kind_ = lvInfo.kind;
    open([&](ITextWriter& writer) {
        auto table = std::make_unique<DelimitedTableWriter>(writer, options, lvInfo, capture_, rules_, format);
        table->showColumns(std::move(columns));
        if (rows) table->showRows(std::move(*rows));
        return table;
    });
}

HtmlExportJob::~HtmlExportJob() {
    if (finished_) return;
    rowsWritten_ = 0;
    table_.reset();
    writer_.reset();
    discardFile(fs_, partial_);
}

void HtmlExportJob::checkCapture() const {
    // A grid that could not be read to the end is a failed export, not a short table.
    const CaptureFailure failure = capture_.failure();
    if (failure != CaptureFailure::None)
        throw Error(kErrCaptureFailed, L"Export " + output_, describeCaptureFailure(failure, kind_));
}

bool HtmlExportJob::step() {
    if (finished_) return false;
    const bool more = table_->nextBlock();
    checkCapture();
    return more && table_->rowsWritten() < table_->rowCount();
}

void HtmlExportJob::finish() {
    if (finished_) return;
    checkCapture();
    table_->end();
    writer_->close();
    rowsWritten_ = table_->rowsWritten();
    table_.reset();
    writer_.reset();
    fs_.replaceFile(partial_, output_);
    finished_ = true;
}

}  // namespace zav
