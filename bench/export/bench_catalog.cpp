// bench_catalog FOLDER [ROUNDS]
// The catalog rebuild over 1,000 and 10,000 export type files beside the floor of reading each of
// those files once, and beside the entry-by-entry reading through the profile functions that
// earlier rebuilds did. FOLDER must exist and be empty; the program fills it with two option
// folders of type files as the program writes them (50 column layouts), then runs ROUNDS rounds
// (default 5), each timing the three readings of both folders in a rotating order, and prints
// the median of each. It also checks that the rebuild writes the catalog that the entry-by-entry
// reading gives, byte for byte.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "catalog/Catalog.h"
#include "core/Error.h"
#include "core/Platform.h"
#include "ini/Storage.h"
#include "exporttype/ExportTypeFile.h"
#include "ini/FileSystem.h"
#include "ini/Profile.h"
#include "settings/Settings.h"
#include "text/Ansi.h"

using namespace zav;

namespace {

double seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// A folder of `count` type files, each a copy of one the program saved, renamed.
Settings makeFolder(const Storage& storage, const std::wstring& root, int count) {
    IFileSystem& fs = storage.fs;
    Settings settings;
    settings.optionFolder = root + L"\\ExportOptions\\";
    settings.catalogFile = root + L"\\catalog.ini";
    fs.createFolder(root);
    fs.createFolder(root + L"\\ExportOptions");
    for (int i = 0; i < count; ++i) {
        ExportType type;
        type.name = L"Type " + std::to_wstring(i);
        type.file = L"c:\\Exports\\" + type.name + L".html";
        type.columns = L"Name_Size_Type_" + std::to_wstring(i % 50);
        type.htmlHeader = L"<HTML>";
        type.htmlFooter = L"</HTML>";
        if (i == 0) {
            saveExportTypeFile(storage, settings.optionFolder, type, {{L"Size", {{L"kB", L"KB"}}}});
            continue;
        }
        std::string bytes = fs.readAll(settings.optionFolder + L"Type 0.ini");
        const std::string from = "Name=Type 0\r\n", to = "Name=" + toAnsi(type.name) + "\r\n";
        bytes.replace(bytes.find(from), from.size(), to);
        const std::string cols = "Columns=Name_Size_Type_0\r\n";
        bytes.replace(bytes.find(cols), cols.size(), "Columns=" + toAnsi(type.columns) + "\r\n");
        fs.writeAll(settings.optionFolder + type.name + L".ini", bytes);
    }
    return settings;
}

// What rebuilds before this one did: every file through the profile functions, entry by entry.
std::string entryByEntryCatalog(const Storage& storage, const Settings& settings) {
    CatalogBuilder catalog;
    for (const FolderEntry& entry : storage.fs.listFiles(settings.optionFolder)) {
        if (!entry.configSettings) continue;
        ExportTypeReader reader = ExportTypeReader::typeFile(storage, entry.path);
        if (reader.isExportType()) catalog.add({true, reader.value(L"Columns"), reader.value(L"Name")});
    }
    return toAnsi(catalogText(catalog.sections()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_catalog FOLDER [ROUNDS]\n");
        return 2;
    }
    const std::wstring root = fromAnsi(argv[1]);
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    auto host = makeSystemHost();
    auto profile = makeSystemProfile();
    auto fs = makeSystemFileSystem();
    const Storage storage{*host, *profile, *fs};

    try {
        const int counts[] = {1000, 10000};
        std::vector<Settings> folders;
        for (int count : counts) folders.push_back(makeFolder(storage, root + L"\\t" + std::to_wstring(count), count));

        for (const Settings& s : folders) {
            rebuildCatalog(storage, s);
            const bool same = fs->readAll(s.catalogFile) == entryByEntryCatalog(storage, s);
            std::printf("%ls: catalog %s the entry-by-entry reading's\n", s.optionFolder.c_str(),
                        same ? "identical to" : "DIFFERS FROM");
            if (!same) return 1;
        }

        // Per folder: the floor (list the folder, read each ".ini" file once), the rebuild, and
        // the entry-by-entry reading; the order rotates from round to round.
        std::vector<std::function<void(const Settings&)>> work = {
            [&](const Settings& s) {
                std::size_t bytes = 0;
                for (const FolderEntry& e : fs->listFiles(s.optionFolder))
                    if (e.configSettings) bytes += fs->readAll(e.path).size();
                if (bytes == 0) std::abort();
            },
            [&](const Settings& s) { rebuildCatalog(storage, s); },
            [&](const Settings& s) { (void)entryByEntryCatalog(storage, s); },
        };
        const char* names[] = {"read-once floor", "rebuild", "entry-by-entry"};
        std::vector<std::vector<std::vector<double>>> times(folders.size(), std::vector<std::vector<double>>(work.size()));
        for (int round = 0; round < rounds; ++round)
            for (std::size_t f = 0; f < folders.size(); ++f)
                for (std::size_t k = 0; k < work.size(); ++k) {
                    const std::size_t w = (k + static_cast<std::size_t>(round)) % work.size();
                    times[f][w].push_back(seconds([&] { work[w](folders[f]); }));
                }

        for (std::size_t f = 0; f < folders.size(); ++f) {
            std::printf("%d type files, median of %d:", counts[f], rounds);
            for (std::size_t w = 0; w < work.size(); ++w)
                std::printf("  %s %.3f s", names[w], median(times[f][w]));
            std::printf("  rebuild/floor %.2f  entry-by-entry/rebuild %.1f\n",
                        median(times[f][1]) / median(times[f][0]), median(times[f][2]) / median(times[f][1]));
        }
    } catch (const Error& e) {
        std::fprintf(stderr, "%s\n", toAnsi(e.description()).c_str());
        return 1;
    }
    return 0;
}
