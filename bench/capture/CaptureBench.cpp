// Cells read per second from a report list view of another process (the list-view host, rows x
// columns of real items), by three loops over the same rows in the same run:
//
//   floor    the least the work needs: for a block of 256 cells, one copy of their descriptors
//            into the host, one LVM_GETITEMTEXTA per cell (SendMessageTimeoutA with the capture's
//            flags and time-out, which a capture must use to survive a hung program), one copy of
//            all their texts back; nothing else
//   reader   the capture's readCells, asked for whole rows as the HTML writer asks (256 cells)
//   old      the capture's getCellText, cell by cell (a descriptor copy, a message and a text copy
//            for every cell)
//   ansi     readCells again, with the texts asked for in the ANSI code page (the A messages, the
//            9x family's way) where the reader asks in UTF-16 (the NT family's default)
//
// The floor asks in the same messages as the reader (UTF-16 on the NT family).
// The descriptors are laid out for the host's word size, so a 64-bit bench reads a 32-bit host
// (ZAV_LVHOST names it) as correctly as a 64-bit one. Each loop first reads a warm-up stretch
// untimed; then the loops take turns over blocks of rows, in an order that runs through every
// permutation, so that all meet the same load of the machine and none always follows the same one. Each pass prints the rates and the ratios
// reader/floor, old/reader (time per cell of the old reader over the new one) and reader/ansi, and
// checks that the loops read the same number of characters.
//
//   zav_bench_capture.exe [ROWS [COLUMNS [PASSES]]]      (defaults 100000 5 1)
//   ZAV_BENCH_LOOPS=floor,reader (for instance) runs only those loops.
//
// Under Wine: source scripts/wine-env.sh && wine_session_start BUILD &&
//             wine BUILD/bench/capture/zav_bench_capture.exe; wine_session_stop
// A 32-bit host: ZAV_LVHOST=/path/to/build/win32/tests/functional/capture/zav_lvhost.exe
// ZAV_BENCH_CALLS=1 also prints what one call of each kind costs alone.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "HostProcess.h"
#include "capture/win32/ListViewSource.h"
#include "capture/win32/SystemGridSources.h"
#include "capture/win32/ListViewLayouts.h"
#include "capture/win32/RemoteMemory.h"
#include "text/Ansi.h"

namespace {

using zav::ListViewSource;

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

constexpr DWORD kTimeoutMs = zav::CaptureOptions{}.timeoutMs;

class Loop {
public:
    virtual ~Loop() = default;
    // Rows first..last (1-based), every column; returns the characters read.
    virtual unsigned long long read(long first, long last, int columns) = 0;
    virtual bool failed() const { return false; }
};

// The floor: bare calls, one block of cells at a time, descriptors of the host's word size.
template <class Layout, class Texts>
class FloorLoop final : public Loop {
public:
    using Item = typename Layout::Item;
    using Unit = typename Texts::Unit;
    static constexpr std::size_t kCells = ListViewSource::kBlockItems;
    static constexpr std::size_t kRoom = 255;  // units

    FloorLoop(HWND list, DWORD pid) : list_(list) {
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        remote_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, kCells * (sizeof(Item) + kRoom * sizeof(Unit)),
                                                    MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        items_.resize(kCells);
        texts_.resize(kCells * kRoom * sizeof(Unit));
    }
    ~FloorLoop() override {
        VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
        CloseHandle(process_);
    }
    bool usable() const { return process_ && remote_; }

    unsigned long long read(long first, long last, int columns) override {
        unsigned long long characters = 0;
        const std::size_t total = static_cast<std::size_t>(last - first + 1) * static_cast<std::size_t>(columns);
        char* const texts = remote_ + kCells * sizeof(Item);
        for (std::size_t start = 0; start < total; start += kCells) {
            const std::size_t count = std::min(kCells, total - start);
            for (std::size_t i = 0; i < count; ++i) {
                Item& item = items_[i];
                item = Item{};
                item.mask = LVIF_TEXT;
                item.iSubItem = static_cast<int>((start + i) % static_cast<std::size_t>(columns));
                item.pszText = static_cast<typename Layout::Pointer>(
                    reinterpret_cast<std::uintptr_t>(texts + i * kRoom * sizeof(Unit)));
                item.cchTextMax = static_cast<int>(kRoom);
            }
            WriteProcessMemory(process_, remote_, items_.data(), count * sizeof(Item), nullptr);
            for (std::size_t i = 0; i < count; ++i) {
                const long row = first - 1 + static_cast<long>((start + i) / static_cast<std::size_t>(columns));
                DWORD_PTR n = 0;
                SendMessageTimeoutA(list_, Texts::kGetItemText, static_cast<WPARAM>(row),
                                    reinterpret_cast<LPARAM>(remote_ + i * sizeof(Item)), SMTO_ABORTIFHUNG, kTimeoutMs,
                                    &n);
                characters += std::min<DWORD_PTR>(n, kRoom - 1);
            }
            ReadProcessMemory(process_, texts, texts_.data(), count * kRoom * sizeof(Unit), nullptr);
        }
        return characters;
    }

private:
    HWND list_;
    HANDLE process_ = nullptr;
    char* remote_ = nullptr;
    std::vector<Item> items_;
    std::vector<char> texts_;
};

std::unique_ptr<ListViewSource> openCapture(HWND list, const zav::CaptureOptions& options = {}) {
    auto capture = ListViewSource::openListViewBuffers(zav::gridTargetOf(reinterpret_cast<zav::WindowHandle>(list)), options);
    zav::ListViewInfo info;
    info.hWnd = reinterpret_cast<zav::WindowHandle>(list);
    capture->readListViewInfo(info);
    return capture;
}

// The capture's block reader, asked for whole rows as the HTML writer asks.
class ReaderLoop final : public Loop {
public:
    explicit ReaderLoop(HWND list, const zav::CaptureOptions& options = {}) : capture_(openCapture(list, options)) {}
    unsigned long long read(long first, long last, int columns) override {
        unsigned long long characters = 0;
        const long blockRows = std::max<long>(1, static_cast<long>(ListViewSource::kBlockItems) / columns);
        for (long row = first; row <= last; row += blockRows) {
            const long rows = std::min(blockRows, last - row + 1);
            capture_->readCells(row, rows, columns, cells_);
            for (const std::wstring& cell : cells_) characters += cell.size();
        }
        return characters;
    }
    bool failed() const override { return capture_->failure() != zav::CaptureFailure::None; }

private:
    std::unique_ptr<ListViewSource> capture_;
    std::vector<std::wstring> cells_;
};

// The capture's single-cell reader.
class OldReaderLoop final : public Loop {
public:
    explicit OldReaderLoop(HWND list) : capture_(openCapture(list)) {}
    unsigned long long read(long first, long last, int columns) override {
        unsigned long long characters = 0;
        for (long row = first; row <= last; ++row)
            for (int col = 1; col <= columns; ++col) characters += capture_->getCellText(row, col).size();
        return characters;
    }
    bool failed() const override { return capture_->failure() != zav::CaptureFailure::None; }

private:
    std::unique_ptr<ListViewSource> capture_;
};

void printCallCosts(const zavtest::HostProcess& host) {
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, host.processId());
    void* remote = VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    char buf[4096] = {};
    const int n = 2000;
    double t0 = now();
    for (int i = 0; i < n; ++i) WriteProcessMemory(process, remote, buf, 40, nullptr);
    double t1 = now();
    for (int i = 0; i < n; ++i) ReadProcessMemory(process, remote, buf, 10, nullptr);
    double t2 = now();
    for (int i = 0; i < n; ++i) ReadProcessMemory(process, remote, buf, 4096, nullptr);
    double t3 = now();
    for (int i = 0; i < n; ++i) SendMessageA(host.list(), LVM_GETITEMCOUNT, 0, 0);
    double t4 = now();
    DWORD_PTR r;
    for (int i = 0; i < n; ++i)
        SendMessageTimeoutA(host.list(), LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, &r);
    double t5 = now();
    std::size_t length = 0;
    for (int i = 0; i < n; ++i) length += zav::fromAnsi("R12345C3", 8).size();
    double t6 = now();
    std::printf("per call (us): write 40 %.1f, read 10 %.1f, read 4096 %.1f, SendMessageA %.1f, SendMessageTimeoutA %.1f, "
                "fromAnsi of 8 bytes %.2f\n",
                (t1 - t0) * 1e6 / n, (t2 - t1) * 1e6 / n, (t3 - t2) * 1e6 / n, (t4 - t3) * 1e6 / n,
                (t5 - t4) * 1e6 / n, (t6 - t5) * 1e6 / n + 0 * static_cast<double>(length));
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
}

}  // namespace

int main(int argc, char** argv) {
    const long rows = argc > 1 ? std::atol(argv[1]) : 100000;
    const int columns = argc > 2 ? std::atoi(argv[2]) : 5;
    const int passes = argc > 3 ? std::atoi(argv[3]) : 1;
    if (rows < 1 || columns < 1 || passes < 1) {
        std::fprintf(stderr, "usage: zav_bench_capture [ROWS [COLUMNS [PASSES]]]\n");
        return 2;
    }

    std::string description = "title\tBench host\n";
    for (int c = 1; c <= columns; ++c) description += "column\t60\tColumn " + std::to_string(c) + "\n";
    description += "generate\t" + std::to_string(rows) + "\t" + std::to_string(columns) + "\n";
    std::printf("starting the host (%s) with %ld x %d real items...\n", zavtest::hostProgram().c_str(), rows, columns);
    std::fflush(stdout);
    const double hostStart = now();
    zavtest::HostProcess host(description, 1800000);
    const int hostBits = zav::processWordSize(host.processId());
    std::printf("host ready after %.1f s; bench %d-bit, host %d-bit\n", now() - hostStart, zav::kProgramWordSize,
                hostBits);
    if (std::getenv("ZAV_BENCH_CALLS")) printCallCosts(host);

    // The floor in the reader's layout and texts.
    const bool wide = zav::isWinNT() != zav::vbFalse;
    std::unique_ptr<Loop> floor;
    const auto makeFloor = [&](auto layout, auto texts) {
        auto f = std::make_unique<FloorLoop<decltype(layout), decltype(texts)>>(host.list(), host.processId());
        if (f->usable()) floor = std::move(f);
    };
    if (hostBits == 64)
        wide ? makeFloor(zav::lvlayout::Layout64{}, zav::lvlayout::WideTexts{})
             : makeFloor(zav::lvlayout::Layout64{}, zav::lvlayout::AnsiTexts{});
    else
        wide ? makeFloor(zav::lvlayout::Layout32{}, zav::lvlayout::WideTexts{})
             : makeFloor(zav::lvlayout::Layout32{}, zav::lvlayout::AnsiTexts{});
    if (!floor) {
        std::printf("the host's memory cannot be reached\n");
        return 1;
    }
    ReaderLoop reader(host.list());
    OldReaderLoop old(host.list());
    zav::CaptureOptions ansiOptions;
    ansiOptions.wideTexts = false;
    ReaderLoop ansi(host.list(), ansiOptions);
    enum { kFloor, kReader, kOld, kAnsi, kLoops };
    Loop* const all[kLoops] = {floor.get(), &reader, &old, &ansi};
    const char* const names[kLoops] = {"floor", "reader", "old", "ansi"};
    // ZAV_BENCH_LOOPS picks some of them (names separated by commas); all by default.
    const char* picked = std::getenv("ZAV_BENCH_LOOPS");
    const std::string wanted = picked ? std::string(",") + picked + "," : std::string();
    std::vector<int> order;
    for (int k = 0; k < kLoops; ++k)
        if (wanted.empty() || wanted.find(std::string(",") + names[k] + ",") != std::string::npos) order.push_back(k);
    std::printf("texts in %s\n", wide ? "UTF-16 (W messages)" : "the ANSI code page (A messages)");

    // Warm-up: every loop reads the first rows once, untimed.
    const long warmRows = std::min(rows, 2000L);
    for (int k : order) all[k]->read(1, warmRows, columns);

    const long block = 500;
    const double cells = static_cast<double>(rows) * columns;
    for (int p = 1; p <= passes; ++p) {
        double seconds[kLoops] = {};
        unsigned long long characters[kLoops] = {};
        for (long first = 1; first <= rows; first += block) {
            const long last = std::min(rows, first + block - 1);
            for (int k : order) {
                const double t0 = now();
                characters[k] += all[k]->read(first, last, columns);
                seconds[k] += now() - t0;
            }
            // The next order of all: over the blocks each loop goes first, and follows each other
            // loop, equally often.
            std::next_permutation(order.begin(), order.end());
        }
        std::sort(order.begin(), order.end());
        std::printf("pass %d, %ld x %d:", p, rows, columns);
        for (int k : order)
            std::printf(" %s %.0f cells/s (%.1f s, %.2f us/cell);", names[k], cells / seconds[k], seconds[k],
                        seconds[k] * 1e6 / cells);
        const auto has = [&](int k) { return seconds[k] > 0; };
        if (has(kFloor) && has(kReader)) std::printf(" reader/floor %.3f", seconds[kFloor] / seconds[kReader]);
        if (has(kOld) && has(kReader)) std::printf(" old/reader %.2f", seconds[kOld] / seconds[kReader]);
        if (has(kAnsi) && has(kReader)) std::printf(" reader/ansi %.3f", seconds[kAnsi] / seconds[kReader]);
        std::printf("\n");
        std::fflush(stdout);
        bool same = true;
        for (int k : order) same = same && characters[k] == characters[order.front()] && !all[k]->failed();
        if (!same) {
            std::printf("  the loops did not read the same texts! characters");
            for (int k : order) std::printf(" %s %llu", names[k], characters[k]);
            std::printf("\n");
        }
    }
    return 0;
}
