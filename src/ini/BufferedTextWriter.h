// Text writer that converts to the ANSI code page and hands the bytes on in large blocks, so that
// writing a big table costs a few system calls rather than one per cell.
#pragma once

#include <string>

#include "ini/FileSystem.h"

namespace zav {

class BufferedTextWriter : public ITextWriter {
public:
    static constexpr std::size_t kBlock = 64 * 1024;

    void write(const std::wstring& text) override;
    void writeLine(const std::wstring& text) override;
    void writeRaw(const std::string& bytes) override;
    void close() override;

protected:
    // Writes the bytes out; raises zav::Error on failure.
    virtual void writeBytes(const char* data, std::size_t length) = 0;
    // Closes the file; raises zav::Error on failure. Called once.
    virtual void closeFile() = 0;
    bool closed() const { return closed_; }

private:
    void flushIfFull();
    std::string buffer_;
    bool closed_ = false;
};

// The buffered writer over one platform file. `Platform` names the file owner and three calls:
//     using File = ...;                                      // owner of an open file
//     static File openForWriting(const std::wstring& path);  // creates or empties; raises
//     static void writeFully(File&, const char*, std::size_t, const std::wstring& what);
//     static void closeNow(File&, const std::wstring& what); // raises when the close fails
template <class Platform>
class FileTextWriter final : public BufferedTextWriter {
public:
    explicit FileTextWriter(const std::wstring& path) : path_(path), file_(Platform::openForWriting(path)) {}

protected:
    void writeBytes(const char* data, std::size_t length) override {
        Platform::writeFully(file_, data, length, L"Write " + path_);
    }
    void closeFile() override { Platform::closeNow(file_, L"Close " + path_); }

private:
    std::wstring path_;
    typename Platform::File file_;
};

// True for a name the platform describes as an INI file: extension ".ini" in any letter case.
bool isConfigSettingsName(const std::wstring& name);

}  // namespace zav
