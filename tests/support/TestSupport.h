// Shared test helpers: temporary folders, a reporter that records instead of showing boxes, and
// the build's own storage for the tests that need no other.
#pragma once

#include <string>
#include <vector>

#include "core/Platform.h"
#include "ini/Storage.h"

namespace zavtest {

// A fresh, empty folder, removed with everything in it at the end of the test.
// path() is in the program's form: native "/tmp/zav-XXXX", Windows "C:\...\zav-XXXX".
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::wstring& path() const { return path_; }
    // path() + "\" + name
    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// Writes bytes to a file, replacing it (for building awkward fixtures).
void writeBytes(const std::wstring& path, const std::string& bytes);
// Reads a whole file; empty when it does not exist.
std::string readBytes(const std::wstring& path);
bool pathExists(const std::wstring& path);
// Sets or clears the read-only attribute (native: removes or restores the write permission).
void setReadOnly(const std::wstring& path, bool readOnly);
// A text for a failure message: printable ASCII as is, anything else as \x<code>, in quotes.
std::string shown(const std::wstring& text);

struct Message {
    std::wstring text;
    std::wstring title;
    zav::MessageIcon icon;
};

class RecordingReporter : public zav::IReporter {
public:
    void show(const std::wstring& text, const std::wstring& title, zav::MessageIcon icon) override {
        messages.push_back({text, title, icon});
    }
    bool ask(const std::wstring& text, const std::wstring& title) override {
        messages.push_back({text, title, zav::MessageIcon::None});
        return answer;
    }
    std::vector<Message> messages;
    bool answer = true;
};

// The build's own host, profile functions and file system. A test that needs another piece (a
// fake host, a failing file system) builds a storage of its own around it.
const zav::Storage& storage();
// A RecordingReporter, cleared before each test.
RecordingReporter& reporter();

}  // namespace zavtest
