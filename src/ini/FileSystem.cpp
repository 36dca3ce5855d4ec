#include "ini/FileSystem.h"

#include "core/Error.h"
#include "core/ScopeExit.h"

namespace zav {

void ITextWriter::writeRaw(const std::string&) {
    throw Error(kErrFileAccess, L"Write", L"this writer takes no bytes as they are");
}

void IFileSystem::writeAll(const std::wstring& path, const std::string&) {
    throw Error(kErrFileAccess, L"WriteAll " + path, L"not provided by this file system");
}

bool IFileSystem::isReadOnly(const std::wstring& path) {
    throw Error(kErrFileAccess, L"IsReadOnly " + path, L"not provided by this file system");
}

void discardFile(IFileSystem& fs, const std::wstring& path) {
    // Called while an error is already on its way (from scope guards too): it must not raise.
    try {
        if (fs.fileExists(path)) fs.deleteFile(path, true);
    } catch (...) {
    }
}

void writeReplacing(IFileSystem& fs, const std::wstring& path, const std::function<void(ITextWriter&)>& write) {
    const std::wstring partial = path + L".tmp";
    std::unique_ptr<ITextWriter> writer;
    // Whatever fails (also an error raised by `write` itself), the partial file goes.
    auto discardPartial = scopeExit([&] {
        writer.reset();
        discardFile(fs, partial);
    });
    writer = fs.openTextWriter(partial);
    write(*writer);
    writer->close();
    writer.reset();
    fs.replaceFile(partial, path);
    discardPartial.dismiss();
}

}  // namespace zav
