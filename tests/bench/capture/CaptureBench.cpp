// Cells read per second from a report list view of another process (the list-view host, rows x
// columns of real items), by the capture's reader and, side by side in the same run, by a bare loop
// that sends the same messages per cell with nothing around them: write the item descriptor,
// LVM_GETITEMTEXTA, read the answer text. Passes alternate so that both see the same conditions.
//
//   zav_bench_capture.exe [ROWS [COLUMNS [PASSES]]]      (defaults 100000 5 1)
//
// Under Wine: source scripts/wine-env.sh && wine_session_start BUILD &&
//             wine BUILD/tests/bench/capture/zav_bench_capture.exe; wine_session_stop
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "HostProcess.h"
#include "capture/win32/SystemCapture.h"
#include "capture/win32/ListViewCapture.h"

namespace {

double now() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

// The bare loop: two buffers in the host, and per cell exactly one write, one message and one read.
class BareLoop {
public:
    BareLoop(HWND list, DWORD pid) : list_(list) {
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        remoteItem_ = VirtualAllocEx(process_, nullptr, 40, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        remoteText_ = VirtualAllocEx(process_, nullptr, 255, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~BareLoop() {
        VirtualFreeEx(process_, remoteItem_, 0, MEM_RELEASE);
        VirtualFreeEx(process_, remoteText_, 0, MEM_RELEASE);
        CloseHandle(process_);
    }
    // Rows first..last (1-based), every column; returns the characters read.
    unsigned long long read(long first, long last, int columns) {
        unsigned long long characters = 0;
        char text[256];
        LVITEMA item = {};
        for (long row = first - 1; row < last; ++row) {
            for (int col = 0; col < columns; ++col) {
                item.mask = LVIF_TEXT;
                item.iSubItem = col;
                item.pszText = static_cast<char*>(remoteText_);
                item.cchTextMax = 255;
                WriteProcessMemory(process_, remoteItem_, &item, sizeof item, nullptr);
                LRESULT n = SendMessageA(list_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                                         reinterpret_cast<LPARAM>(remoteItem_));
                if (n > 0) {
                    ReadProcessMemory(process_, remoteText_, text, static_cast<SIZE_T>(std::min<LRESULT>(n, 255)),
                                      nullptr);
                    characters += static_cast<unsigned long long>(n);
                }
            }
        }
        return characters;
    }

private:
    HWND list_;
    HANDLE process_ = nullptr;
    void* remoteItem_ = nullptr;
    void* remoteText_ = nullptr;
};

class ReaderLoop {
public:
    explicit ReaderLoop(HWND list) : capture_(zav::ListViewCapture::open(reinterpret_cast<zav::WindowHandle>(list))) {
        zav::ListViewInfo info;
        info.hWnd = reinterpret_cast<zav::WindowHandle>(list);
        capture_->readListViewInfo(info);
    }
    unsigned long long read(long first, long last, int columns) {
        unsigned long long characters = 0;
        for (long row = first; row <= last; ++row)
            for (int col = 1; col <= columns; ++col) characters += capture_->getCellText(row, col).size();
        return characters;
    }
    bool failed() const { return capture_->failure() != zav::CaptureFailure::None; }

private:
    std::unique_ptr<zav::ListViewCapture> capture_;
};

}  // namespace

int main(int argc, char** argv) {
    const long rows = argc > 1 ? std::atol(argv[1]) : 100000;
    const int columns = argc > 2 ? std::atoi(argv[2]) : 5;
    const int passes = argc > 3 ? std::atoi(argv[3]) : 1;

    std::string description = "title\tBench host\n";
    for (int c = 1; c <= columns; ++c) description += "column\t60\tColumn " + std::to_string(c) + "\n";
    description += "generate\t" + std::to_string(rows) + "\t" + std::to_string(columns) + "\n";
    std::printf("starting the host with %ld x %d real items...\n", rows, columns);
    std::fflush(stdout);
    const double hostStart = now();
    zavtest::HostProcess host(description, 600000);
    std::printf("host ready after %.1f s\n", now() - hostStart);

    if (std::getenv("ZAV_BENCH_CALLS")) {
        // What one call of each kind costs, alone.
        HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, host.processId());
        void* remote = VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        char buf[4096] = {};
        const int n = 2000;
        double t0 = now();
        for (int i = 0; i < n; ++i) WriteProcessMemory(process, remote, buf, 40, nullptr);
        double t1 = now();
        for (int i = 0; i < n; ++i) ReadProcessMemory(process, remote, buf, 10, nullptr);
        double t2 = now();
        for (int i = 0; i < n; ++i) ReadProcessMemory(process, remote, buf, 138, nullptr);
        double t3 = now();
        for (int i = 0; i < n; ++i) SendMessageA(host.list(), LVM_GETITEMCOUNT, 0, 0);
        double t4 = now();
        DWORD_PTR r;
        for (int i = 0; i < n; ++i) SendMessageTimeoutA(host.list(), LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 4000, &r);
        double t5 = now();
        std::printf("per call (us): write %.1f, read 10 %.1f, read 138 %.1f, SendMessageA %.1f, SendMessageTimeoutA %.1f\n",
                    (t1 - t0) * 1e6 / n, (t2 - t1) * 1e6 / n, (t3 - t2) * 1e6 / n, (t4 - t3) * 1e6 / n, (t5 - t4) * 1e6 / n);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
        CloseHandle(process);
    }

    // The two loops take turns over blocks of rows, so that both meet the same load of the machine.
    const long block = 500;
    const double cells = static_cast<double>(rows) * columns;
    BareLoop bare(host.list(), host.processId());
    ReaderLoop reader(host.list());
    for (int p = 1; p <= passes; ++p) {
        double bareSeconds = 0, readerSeconds = 0;
        unsigned long long bareChars = 0, readerChars = 0;
        for (long first = 1; first <= rows; first += block) {
            const long last = std::min(rows, first + block - 1);
            // Which of the two goes first changes from block to block.
            const bool bareFirst = ((first - 1) / block) % 2 == 0;
            for (int turn = 0; turn < 2; ++turn) {
                const double t0 = now();
                if ((turn == 0) == bareFirst) {
                    bareChars += bare.read(first, last, columns);
                    bareSeconds += now() - t0;
                } else {
                    readerChars += reader.read(first, last, columns);
                    readerSeconds += now() - t0;
                }
            }
        }
        std::printf("pass %d: bare loop %.0f cells/s (%.1f s), reader %.0f cells/s (%.1f s), reader/bare %.3f; "
                    "characters %llu / %llu\n",
                    p, cells / bareSeconds, bareSeconds, cells / readerSeconds, readerSeconds,
                    bareSeconds / readerSeconds, bareChars, readerChars);
        std::fflush(stdout);
        if (bareChars != readerChars || reader.failed()) std::printf("  the two loops did not read the same texts!\n");
    }
    return 0;
}
