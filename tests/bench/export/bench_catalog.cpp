// bench_catalog COUNT FOLDER
// Fills FOLDER (which must exist and be empty) with a settings file and COUNT export type files
// over 50 column layouts, then times rebuildCatalog().
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "catalog/Catalog.h"
#include "core/Error.h"
#include "core/Platform.h"
#include "ini/FileSystem.h"
#include "ini/Profile.h"
#include "ini/cINIFile.h"
#include "settings/Settings.h"
#include "text/Ansi.h"

using namespace zav;

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_catalog COUNT FOLDER\n");
        return 2;
    }
    const int count = std::atoi(argv[1]);
    const std::wstring folder = fromAnsi(argv[2]);
    auto host = makeSystemHost();
    auto profile = makeSystemProfile();
    auto fs = makeSystemFileSystem();
    auto reporter = makeSystemReporter();
    services() = Services{host.get(), profile.get(), fs.get(), reporter.get()};

    try {
        const std::wstring options = folder + L"\\ExportOptions\\";
        fs->createFolder(folder + L"\\ExportOptions");
        Settings settings;
        settings.catalogFile = folder + L"\\catalog.ini";
        settings.optionFolder = options;
        for (int i = 0; i < count; ++i) {
            const std::wstring name = L"Type " + std::to_wstring(i);
            auto w = fs->openTextWriter(options + name + L".ini");
            w->write(L"[FileInfo]\r\nType=ExportOption\r\nVersion=0.1.3\r\nEncoding=Escaped\r\n[General]\r\nName=" +
                     name + L"\r\nFile=c:\\out.html\r\nColumns=Name_Size_Type_" + std::to_wstring(i % 50) +
                     L"\r\nHTMLHeader=<HTML>\r\nHTMLTableFormat=\r\nHTMLHeaderFormat=\r\nHTMLDataFormat=\r\n"
                     L"HTMLFooter=</HTML>\r\n[Size]\r\nkB=KB\r\n");
            w->close();
        }
        const auto start = std::chrono::steady_clock::now();
        rebuildCatalog(settings);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("type files %d, rebuildCatalog %.3f s, %zu names under layout 0\n", count, seconds,
                    compatibleExportTypes(settings, L"Name_Size_Type_0").size());
    } catch (const Error& e) {
        std::fprintf(stderr, "%s\n", toAnsi(e.description()).c_str());
        return 1;
    }
    return 0;
}
