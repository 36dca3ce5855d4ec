#include "ini/BufferedTextWriter.h"

#include "core/Error.h"
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
        try {
            writeBytes(pending.data(), pending.size());
        } catch (...) {
            try { closeFile(); } catch (...) {}
            throw;
        }
    }
    closeFile();
}

bool isConfigSettingsName(const std::wstring& name) {
    auto slash = name.find_last_of(L"\\/");
    std::wstring base = slash == std::wstring::npos ? name : name.substr(slash + 1);
    return base.size() >= 4 && equalsNoCase(base.substr(base.size() - 4), L".ini");
}

}  // namespace zav
