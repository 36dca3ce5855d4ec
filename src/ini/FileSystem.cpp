#include "ini/FileSystem.h"

#include "core/Error.h"

namespace zav {

void discardFile(IFileSystem& fs, const std::wstring& path) {
    try {
        if (fs.fileExists(path)) fs.deleteFile(path, true);
    } catch (const Error&) {
    }
}

void writeReplacing(IFileSystem& fs, const std::wstring& path, const std::function<void(ITextWriter&)>& write) {
    const std::wstring partial = path + L".tmp";
    std::unique_ptr<ITextWriter> writer;
    try {
        writer = fs.openTextWriter(partial);
        write(*writer);
        writer->close();
        writer.reset();
        fs.replaceFile(partial, path);
    } catch (...) {
        writer.reset();
        discardFile(fs, partial);
        throw;
    }
}

}  // namespace zav
