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

// True for a name the platform describes as an INI file: extension ".ini" in any letter case.
bool isConfigSettingsName(const std::wstring& name);

}  // namespace zav
