// A text writer onto a stream of bytes (the standard output): text goes out in UTF-8, in large
// blocks that always end between two characters.
#pragma once

#include <functional>
#include <string>

#include "ini/FileSystem.h"

namespace zav {

class Utf8StreamWriter final : public ITextWriter {
public:
    static constexpr std::size_t kBlock = 64 * 1024;

    // `sink` takes each block; it raises zav::Error when the stream cannot take it.
    explicit Utf8StreamWriter(std::function<void(const std::string&)> sink) : sink_(std::move(sink)) {}

    void write(const std::wstring& text) override;
    void writeLine(const std::wstring& text) override;
    void writeRaw(const std::string& bytes) override;
    // Hands on what is left; the writer may be written to again after.
    void close() override;

private:
    std::function<void(const std::string&)> sink_;
    std::string buffer_;
};

}  // namespace zav
