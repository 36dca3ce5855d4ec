// Helpers of the export and catalog tests: an in-memory list view behind the capture interfaces,
// a window tree with captions, a settings file with its folders in a temporary folder, and file
// system and profile decorators that fail on demand.
#pragma once

#include <algorithm>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "capture/GridSource.h"
#include "core/Error.h"
#include "core/Platform.h"
#include "ini/FileSystem.h"
#include "ini/Profile.h"
#include "ini/cINIFile.h"
#include "settings/Settings.h"

namespace exporttest {

// A grid: header texts and cell texts, or `rowCount` rows of `cell(row, column)` for big grids.
struct Grid {
    std::vector<std::wstring> headers;
    std::vector<std::vector<std::wstring>> rows;
    std::int32_t rowCount = -1;
    std::function<std::wstring(std::int32_t, std::int32_t)> cell;
    long failAtRead = 0;  // the capture fails (TargetGone) at this cell read (1-based); 0: never
    // The display order (1-based; empty: none) and the widths (empty: 100 each).
    std::vector<std::int32_t> order, widths;
    zav::ControlKind kind = zav::ControlKind::ListView;
    // The selected and the checked rows (1-based); asking for the selection may hang the capture.
    std::vector<std::int32_t> selected, checked;
    bool checkBoxes = false, selectionHangs = false;
    // Not None: the capture cannot read the list at all (as a program of higher rights keeps it).
    zav::CaptureFailure refused = zav::CaptureFailure::None;
};

class FakeCapture : public zav::IGridSource {
public:
    explicit FakeCapture(std::shared_ptr<Grid> grid) : grid_(std::move(grid)) {}
    zav::VBool readListViewInfo(zav::ListViewInfo& info) override {
        if (!grid_ || grid_->refused != zav::CaptureFailure::None) {
            failure_ = grid_ ? grid_->refused : zav::CaptureFailure::NoWindow;
            return zav::vbFalse;
        }
        info.hWnd = 1;
        info.szClassName = L"SysListView32";
        info.kind = grid_->kind;
        info.lView = 1;
        info.lColumnCount = static_cast<std::int32_t>(grid_->headers.size());
        info.lItemCount = grid_->cell ? grid_->rowCount : static_cast<std::int32_t>(grid_->rows.size());
        info.szColumnText.assign(1, L"");
        info.szColumnText.insert(info.szColumnText.end(), grid_->headers.begin(), grid_->headers.end());
        info.lColumnWidth.assign(1, 0);
        for (std::size_t i = 0; i < grid_->headers.size(); ++i)
            info.lColumnWidth.push_back(i < grid_->widths.size() ? grid_->widths[i] : 100);
        info.lColumnOrder = grid_->order;
        info.checkBoxes = grid_->checkBoxes;
        return zav::vbTrue;
    }
    bool readSelectedRows(std::vector<std::int32_t>& rows) override {
        rows.clear();
        if (!grid_ || failure_ != zav::CaptureFailure::None) return false;
        if (grid_->selectionHangs) failure_ = zav::CaptureFailure::TargetHung;
        else rows = grid_->selected;
        return !grid_->selectionHangs;
    }
    bool readCheckMarks(std::int32_t firstRow, std::int32_t rowCount, std::vector<char>& checked) override {
        checked.clear();
        if (!grid_ || failure_ != zav::CaptureFailure::None) return false;
        for (std::int32_t r = firstRow; r < firstRow + rowCount; ++r)
            checked.push_back(std::find(grid_->checked.begin(), grid_->checked.end(), r) != grid_->checked.end());
        return true;
    }
    std::wstring getColumnText(std::int32_t c) override { return grid_ ? at(grid_->headers, c) : L""; }
    std::wstring getCellText(std::int32_t r, std::int32_t c) override {
        if (!grid_ || failure_ != zav::CaptureFailure::None) return L"";
        if (grid_->failAtRead != 0 && ++reads_ >= grid_->failAtRead) {
            failure_ = zav::CaptureFailure::TargetGone;
            return L"";
        }
        if (grid_->cell) return grid_->cell(r, c);
        return r >= 1 && static_cast<std::size_t>(r) <= grid_->rows.size() ? at(grid_->rows[r - 1], c) : L"";
    }
    zav::CaptureFailure failure() const override { return failure_; }

private:
    static std::wstring at(const std::vector<std::wstring>& texts, std::int32_t i) {
        return i >= 1 && static_cast<std::size_t>(i) <= texts.size() ? texts[i - 1] : L"";
    }
    std::shared_ptr<Grid> grid_;
    zav::CaptureFailure failure_ = zav::CaptureFailure::None;
    long reads_ = 0;
};

// Handles 1.. stand for list views with a grid; any other handle is no window.
class FakeCaptureFactory : public zav::IGridSourceFactory {
public:
    std::unique_ptr<zav::IGridSource> openGridSource(const zav::GridTarget& target) override {
        auto it = grids.find(target.window);
        return std::make_unique<FakeCapture>(it == grids.end() ? nullptr : it->second);
    }
    std::map<zav::WindowHandle, std::shared_ptr<Grid>> grids;
};

class FakeWindows : public zav::IWindowInfo {
public:
    zav::WindowHandle getParent(zav::WindowHandle h) override { return parent.count(h) ? parent[h] : 0; }
    std::wstring getWindowCaption(zav::WindowHandle h) override { return caption.count(h) ? caption[h] : L""; }
    std::map<zav::WindowHandle, zav::WindowHandle> parent;
    std::map<zav::WindowHandle, std::wstring> caption;
};

// A settings file in a temporary folder, with the option and output folders, and the settings
// read from it.
class Environment {
public:
    Environment() {
        auto& fs = zavtest::storage().fs;
        fs.createFolder(dir.file(L"ExportOptions"));
        fs.createFolder(dir.file(L"Exports"));
        zav::cINIFile s(zavtest::storage());
        s.FullPath(dir.file(L"settings.ini"));
        s.SectionName(zav::kSettingsSection);
        s.PutString(zav::kOutputFolderKey, outputFolder());
        s.PutString(zav::kCatalogFileKey, catalogPath());
        s.PutString(zav::kReplacesFileKey, replacesPath());
        s.PutString(zav::kOptionFolderKey, optionFolder());
        settings = zav::readSettings(zavtest::storage(), dir.file(L"settings.ini"));
    }
    std::wstring optionFolder() const { return dir.path() + L"\\ExportOptions\\"; }
    std::wstring outputFolder() const { return dir.path() + L"\\Exports\\"; }
    std::wstring catalogPath() const { return dir.file(L"catalog.ini"); }
    std::wstring replacesPath() const { return dir.file(L"replaces.ini"); }
    std::wstring typePath(const std::wstring& name) const { return optionFolder() + name + L".ini"; }

    zavtest::TempDir dir;
    zav::Settings settings;
};

// Every call goes to the real file system unless a failure is asked for.
class FailingFileSystem : public zav::IFileSystem {
public:
    explicit FailingFileSystem(zav::IFileSystem& real) : real_(real) {}
    bool fileExists(const std::wstring& p) override { return real_.fileExists(p); }
    bool folderExists(const std::wstring& p) override { return real_.folderExists(p); }
    void createFolder(const std::wstring& p) override { real_.createFolder(p); }
    void createTextFile(const std::wstring& p) override {
        if (failCreateFile && failCreateFile(p)) fail(L"CreateFile " + p);
        real_.createTextFile(p);
    }
    void deleteFile(const std::wstring& p, bool force) override { real_.deleteFile(p, force); }
    void moveFile(const std::wstring& from, const std::wstring& to) override {
        if (failMoveTo && failMoveTo(to)) fail(L"MoveFile " + to);
        real_.moveFile(from, to);
    }
    void replaceFile(const std::wstring& from, const std::wstring& to) override {
        if (failReplace) fail(L"MoveFile " + to);
        real_.replaceFile(from, to);
    }
    std::vector<zav::FolderEntry> listFiles(const std::wstring& folder) override { return real_.listFiles(folder); }
    std::unique_ptr<zav::ITextWriter> openTextWriter(const std::wstring& path) override;
    bool isReadOnly(const std::wstring& path) override { return real_.isReadOnly(path); }
    std::string readAll(const std::wstring& path) override {
        ++reads;
        return real_.readAll(path);
    }

    int reads = 0;  // whole-file reads so far
    // Decide per path whether a move there, or making an empty file there, fails.
    std::function<bool(const std::wstring&)> failMoveTo, failCreateFile;
    bool failReplace = false;
    std::size_t failWriteAfter = 0;  // writers fail once this many characters were handed to them (0: never)

    [[noreturn]] static void fail(const std::wstring& what) { throw zav::Error(28, what, L"injected failure"); }

private:
    zav::IFileSystem& real_;
};

// A writer that passes text on until its budget is spent, then fails.
class FailingWriter : public zav::ITextWriter {
public:
    FailingWriter(std::unique_ptr<zav::ITextWriter> real, std::size_t budget) : real_(std::move(real)), budget_(budget) {}
    void write(const std::wstring& text) override { spend(text.size()), real_->write(text); }
    void writeLine(const std::wstring& text) override { spend(text.size() + 2), real_->writeLine(text); }
    void writeRaw(const std::string& bytes) override { spend(bytes.size()), real_->writeRaw(bytes); }
    void close() override { real_->close(); }

private:
    void spend(std::size_t n) {
        if (n >= budget_) FailingFileSystem::fail(L"Write: disk full");
        budget_ -= n;
    }
    std::unique_ptr<zav::ITextWriter> real_;
    std::size_t budget_;
};

inline std::unique_ptr<zav::ITextWriter> FailingFileSystem::openTextWriter(const std::wstring& path) {
    auto writer = real_.openTextWriter(path);
    if (failWriteAfter == 0) return writer;
    return std::make_unique<FailingWriter>(std::move(writer), failWriteAfter);
}

// Profile functions that refuse every write after the first `writesAllowed`, and count the reads.
class FailingProfile : public zav::IProfile {
public:
    FailingProfile(zav::IProfile& real, int writesAllowed) : real_(real), left_(writesAllowed) {}
    // From now on, refuse every write after the next `writesAllowed`.
    void refuseWritesAfter(int writesAllowed) { left_ = writesAllowed; }
    void allowAllWrites() { left_ = std::numeric_limits<int>::max(); }
    std::uint32_t getString(const char* s, const char* k, const char* d, char* b, std::uint32_t n, const wchar_t* f) override {
        return ++reads, real_.getString(s, k, d, b, n, f);
    }
    std::uint32_t getInt(const char* s, const char* k, std::int32_t d, const wchar_t* f) override {
        return ++reads, real_.getInt(s, k, d, f);
    }
    std::int32_t writeString(const char* s, const char* k, const char* v, const wchar_t* f) override {
        return s != nullptr && left_-- <= 0 ? 0 : real_.writeString(s, k, v, f);
    }
    std::uint32_t getSection(const char* s, char* b, std::uint32_t n, const wchar_t* f) override {
        return ++reads, real_.getSection(s, b, n, f);
    }
    std::int32_t writeSection(const char* s, const char* e, const wchar_t* f) override { return real_.writeSection(s, e, f); }
    std::uint32_t getSectionNames(char* b, std::uint32_t n, const wchar_t* f) override {
        return ++reads, real_.getSectionNames(b, n, f);
    }

    int reads = 0;  // calls that read the file so far

private:
    zav::IProfile& real_;
    int left_;
};

// The build's own storage behind the decorators above, failing nothing until a test asks: the
// fixtures hand storage() to the model, and a test sets a failure on `profile` or `fs`.
struct FaultyStorage {
    FailingProfile profile{zavtest::storage().profile, std::numeric_limits<int>::max()};
    FailingFileSystem fs{zavtest::storage().fs};
    zav::Storage storage() { return zav::Storage{zavtest::storage().host, profile, fs}; }
};

// The grid's list view is window 1, inside window 2 (no caption), inside window 3 (`caption`).
struct Scene {
    FakeCaptureFactory captures;
    FakeWindows windows;
    std::shared_ptr<Grid> grid = std::make_shared<Grid>();
    explicit Scene(const std::wstring& caption = L"Files") {
        captures.grids[1] = grid;
        windows.parent = {{1, 2}, {2, 3}};
        windows.caption[3] = caption;
    }
    zav::GridTarget target{1, zav::ControlKind::ListView, L"SysListView32"};
};

}  // namespace exporttest
