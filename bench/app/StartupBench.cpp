// zav_bench_startup PROGRAM FOLDER [STARTS]
// How long the resident program takes from its start to its watcher window with no export types,
// 1,000 and 10,000 of them. FOLDER must exist and be empty: the program is copied into three
// folders below it, started once in each (its first run makes settings.ini and the folders), and
// the option folders are filled with type files as the program writes them. Then it is started
// STARTS times (default 6) from each folder in turns; each start is timed until the watcher
// window is there, which is then closed and the program waited for. Prints the median of each.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/Platform.h"
#include "exporttype/ExportTypeFile.h"
#include "ini/FileSystem.h"
#include "ini/Profile.h"
#include "ini/Storage.h"
#include "text/Ansi.h"

using namespace zav;

namespace {

// Starts the program in its folder and returns the milliseconds until its watcher window is
// there (negative when it did not come within 120 s); the program is then closed.
double timedStart(const std::wstring& exe, const std::wstring& folder) {
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::wstring command = L"\"" + exe + L"\"";
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) {
        std::fprintf(stderr, "CreateProcess %ls failed: %lu\n", exe.c_str(), GetLastError());
        std::exit(1);
    }
    HWND watcher = nullptr;
    double ms = -1;
    for (;;) {
        watcher = FindWindowW(L"ZAVMenuHook", nullptr);
        QueryPerformanceCounter(&now);
        const double elapsed = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
        if (watcher) {
            ms = elapsed;
            break;
        }
        if (elapsed > 120000 || WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) break;
        Sleep(1);
    }
    if (watcher) PostMessageW(watcher, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return ms;
}

// Fills the option folder with `count` copies of one saved type, each with a name of its own.
void fillOptions(const Storage& storage, const std::wstring& options, int count) {
    IFileSystem& fs = storage.fs;
    if (count == 0) return;
    ExportType type;
    type.name = L"Type 0";
    type.file = L"c:\\Exports\\Type 0.html";
    type.columns = L"Name_Size_Type_0";
    type.htmlHeader = L"<HTML>";
    type.htmlFooter = L"</HTML>";
    saveExportTypeFile(storage, options, type, {{L"Size", {{L"kB", L"KB"}}}});
    const std::string bytes = fs.readAll(options + L"Type 0.ini");
    for (int i = 1; i < count; ++i) {
        std::string copy = bytes;
        const std::string from = "Name=Type 0\r\n";
        copy.replace(copy.find(from), from.size(), "Name=Type " + std::to_string(i) + "\r\n");
        const std::string cols = "Columns=Name_Size_Type_0\r\n";
        copy.replace(copy.find(cols), cols.size(), "Columns=Name_Size_Type_" + std::to_string(i % 50) + "\r\n");
        fs.writeAll(options + L"Type " + std::to_wstring(i) + L".ini", copy);
    }
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: zav_bench_startup PROGRAM FOLDER [STARTS]\n");
        return 2;
    }
    const std::wstring program = fromAnsi(argv[1]);
    const std::wstring root = fromAnsi(argv[2]);
    const int starts = argc > 3 ? std::atoi(argv[3]) : 6;
    const std::wstring name = program.substr(program.find_last_of(L"\\/") + 1);
    auto host = makeSystemHost();
    auto profile = makeSystemProfile();
    auto fs = makeSystemFileSystem();
    const Storage storage{*host, *profile, *fs};
    const int counts[] = {0, 1000, 10000};
    std::vector<std::wstring> folders;
    try {
        for (int count : counts) {
            const std::wstring folder = root + L"\\types" + std::to_wstring(count);
            fs->createFolder(folder);
            if (!CopyFileW(program.c_str(), (folder + L"\\" + name).c_str(), FALSE)) {
                std::fprintf(stderr, "CopyFile failed: %lu\n", GetLastError());
                return 1;
            }
            if (timedStart(folder + L"\\" + name, folder) < 0) {
                std::fprintf(stderr, "the first start in %ls did not come up\n", folder.c_str());
                return 1;
            }
            fillOptions(storage, folder + L"\\ExportOptions\\", count);
            folders.push_back(folder);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }

    std::vector<std::vector<double>> times(folders.size());
    for (int round = 0; round < starts; ++round)
        for (std::size_t k = 0; k < folders.size(); ++k) {
            const std::size_t f = (k + static_cast<std::size_t>(round)) % folders.size();
            const double ms = timedStart(folders[f] + L"\\" + name, folders[f]);
            if (ms < 0) {
                std::fprintf(stderr, "a start in %ls did not come up\n", folders[f].c_str());
                return 1;
            }
            times[f].push_back(ms);
        }
    const double none = median(times[0]);
    for (std::size_t f = 0; f < folders.size(); ++f)
        std::printf("%5d export types: start-up to the watcher window, median of %d: %7.0f ms (%.1f times none)\n",
                    counts[f], starts, median(times[f]), median(times[f]) / none);
    return 0;
}
