#include "export/HtmlExport.h"

#include "core/Error.h"
#include "core/ScopeExit.h"

namespace zav {

HtmlExportJob::HtmlExportJob(IFileSystem& fs, std::wstring output, HtmlFragments fragments,
                             const ListViewInfo& lvInfo, IListViewCapture& capture, std::vector<cReplaceList> rules,
                             const NumberFormat& format)
    : fs_(fs),
      output_(std::move(output)),
      partial_(output_ + L".tmp"),
      fragments_(std::move(fragments)),
      capture_(capture),
      ruleLists_(std::move(rules)) {
    for (const auto& list : ruleLists_) rules_.push_back(&list);
    auto dropPartial = scopeExit([&] {
        writer_.reset();
        discardFile(fs_, partial_);
    });
    writer_ = fs_.openTextWriter(partial_);
    table_ = std::make_unique<HtmlTableWriter>(*writer_, fragments_, lvInfo, capture_, rules_, format);
    table_->begin();
    rowCount_ = table_->rowCount();
    dropPartial.dismiss();
}

HtmlExportJob::~HtmlExportJob() {
    if (finished_) return;
    rowsWritten_ = 0;
    table_.reset();
    writer_.reset();
    discardFile(fs_, partial_);
}

void HtmlExportJob::checkCapture() const {
    // A list view that could not be read to the end is a failed export, not a short table.
    const CaptureFailure failure = capture_.failure();
    if (failure != CaptureFailure::None)
        throw Error(kErrCaptureFailed, L"Export " + output_, describeCaptureFailure(failure));
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
