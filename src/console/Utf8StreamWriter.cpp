#include "console/Utf8StreamWriter.h"

#include "text/Utf8.h"

namespace zav {

void Utf8StreamWriter::write(const std::wstring& text) { writeRaw(toUtf8(text)); }

void Utf8StreamWriter::writeLine(const std::wstring& text) { writeRaw(toUtf8(text) + "\r\n"); }

void Utf8StreamWriter::writeRaw(const std::string& bytes) {
    buffer_ += bytes;
    if (buffer_.size() >= kBlock) close();
}

void Utf8StreamWriter::close() {
    if (buffer_.empty()) return;
    std::string block;
    block.swap(buffer_);
    sink_(block);
}

}  // namespace zav
