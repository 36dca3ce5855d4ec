#include "ini/BufferedTextWriter.h"

#include "core/Error.h"
#include "core/ScopeExit.h"
#include "text/Ansi.h"

namespace zav {

void BufferedTextWriter::write(const std::wstring& text) {
    if (closed_) throw Error(kErrSubscript, L"Write", L"the file is already closed");
    buffer_ += toAnsi(text);
    flushIfFull();
}

void BufferedTextWriter::writeLine(const std::wstring& text) {
    write(text);
    buffer_ += "\r\n";
    flushIfFull();
}

void BufferedTextWriter::writeRaw(const std::string& bytes) {
    if (closed_) throw Error(kErrSubscript, L"Write", L"the file is already closed");
    buffer_ += bytes;
    flushIfFull();
}

void BufferedTextWriter::flushIfFull() {
    if (buffer_.size() >= kBlock) {
        writeBytes(buffer_.data(), buffer_.size());
        buffer_.clear();
    }
}

void BufferedTextWriter::close() {
    if (closed_) return;
    closed_ = true;
    if (!buffer_.empty()) {
        std::string pending;
        pending.swap(buffer_);
        // A failed write is the error to report; the file is closed all the same, and a failure
        // to close it then adds nothing.
        auto closeAfterFailure = scopeExit([this] {
            try {
                closeFile();
            } catch (const Error&) {
            }
        });
        writeBytes(pending.data(), pending.size());
        closeAfterFailure.dismiss();
    }
    closeFile();
}

bool isConfigSettingsName(const std::wstring& name) {
    auto slash = name.find_last_of(L"\\/");
    std::wstring base = slash == std::wstring::npos ? name : name.substr(slash + 1);
    return base.size() >= 4 && equalsNoCase(base.substr(base.size() - 4), L".ini");
}

}  // namespace zav
