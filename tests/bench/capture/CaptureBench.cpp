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
//
// The descriptors are laid out for the host's word size, so a 64-bit bench reads a 32-bit host
// (ZAV_LVHOST names it) as correctly as a 64-bit one. Each loop first reads a warm-up stretch
// untimed; then the three take turns over blocks of rows, in an order that rotates from block to
// block, so that all three meet the same load of the machine. Each pass prints the rates and the
// ratios reader/floor and old/reader (time per cell of the old reader over the new one), and
// checks that the three loops read the same number of characters.
//
//   zav_bench_capture.exe [ROWS [COLUMNS [PASSES]]]      (defaults 100000 5 1)
//
// Under Wine: source scripts/wine-env.sh && wine_session_start BUILD &&
//             wine BUILD/tests/bench/capture/zav_bench_capture.exe; wine_session_stop
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
#include "capture/win32/ListViewCapture.h"
#include "capture/win32/ListViewLayouts.h"
#include "capture/win32/RemoteMemory.h"
#include "text/Ansi.h"

namespace {

using zav::ListViewCapture;

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
template <class Layout>
class FloorLoop final : public Loop {
public:
    using Item = typename Layout::Item;
    static constexpr std::size_t kCells = ListViewCapture::kBlockCells;
    static constexpr std::size_t kRoom = 255;

    FloorLoop(HWND list, DWORD pid) : list_(list) {
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        remote_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, kCells * (sizeof(Item) + kRoom),
                                                    MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        items_.resize(kCells);
        texts_.resize(kCells * kRoom);
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
                item.pszText = static_cast<typename Layout::Pointer>(reinterpret_cast<std::uintptr_t>(texts + i * kRoom));
                item.cchTextMax = static_cast<int>(kRoom);
            }
            WriteProcessMemory(process_, remote_, items_.data(), count * sizeof(Item), nullptr);
            for (std::size_t i = 0; i < count; ++i) {
                const long row = first - 1 + static_cast<long>((start + i) / static_cast<std::size_t>(columns));
                DWORD_PTR n = 0;
                SendMessageTimeoutA(list_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                                    reinterpret_cast<LPARAM>(remote_ + i * sizeof(Item)), SMTO_ABORTIFHUNG, kTimeoutMs,
                                    &n);
                characters += std::min<DWORD_PTR>(n, kRoom - 1);
            }
            ReadProcessMemory(process_, texts, texts_.data(), count * kRoom, nullptr);
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

std::unique_ptr<ListViewCapture> openCapture(HWND list) {
    auto capture = ListViewCapture::open(reinterpret_cast<zav::WindowHandle>(list));
    zav::ListViewInfo info;
    info.hWnd = reinterpret_cast<zav::WindowHandle>(list);
    capture->readListViewInfo(info);
    return capture;
}

// The capture's block reader, asked for whole rows as the HTML writer asks.
class ReaderLoop final : public Loop {
public:
    explicit ReaderLoop(HWND list) : capture_(openCapture(list)) {}
    unsigned long long read(long first, long last, int columns) override {
        unsigned long long characters = 0;
        const long blockRows = std::max<long>(1, static_cast<long>(ListViewCapture::kBlockCells) / columns);
        for (long row = first; row <= last; row += blockRows) {
            const long rows = std::min(blockRows, last - row + 1);
            capture_->readCells(row, rows, columns, cells_);
            for (const std::wstring& cell : cells_) characters += cell.size();
        }
        return characters;
    }
    bool failed() const override { return capture_->failure() != zav::CaptureFailure::None; }

private:
    std::unique_ptr<ListViewCapture> capture_;
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
    std::unique_ptr<ListViewCapture> capture_;
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

    std::unique_ptr<Loop> floor;
    if (hostBits == 64) {
        auto f = std::make_unique<FloorLoop<zav::lvlayout::Layout64>>(host.list(), host.processId());
        if (f->usable()) floor = std::move(f);
    } else {
        auto f = std::make_unique<FloorLoop<zav::lvlayout::Layout32>>(host.list(), host.processId());
        if (f->usable()) floor = std::move(f);
    }
    if (!floor) {
        std::printf("the host's memory cannot be reached\n");
        return 1;
    }
    ReaderLoop reader(host.list());
    OldReaderLoop old(host.list());
    Loop* const loops[3] = {floor.get(), &reader, &old};
    const char* const names[3] = {"floor", "reader", "old"};

    // Warm-up: every loop reads the first rows once, untimed.
    const long warmRows = std::min(rows, 2000L);
    for (Loop* loop : loops) loop->read(1, warmRows, columns);

    const long block = 500;
    const double cells = static_cast<double>(rows) * columns;
    for (int p = 1; p <= passes; ++p) {
        double seconds[3] = {};
        unsigned long long characters[3] = {};
        for (long first = 1; first <= rows; first += block) {
            const long last = std::min(rows, first + block - 1);
            // Who goes first rotates from block to block.
            const int shift = static_cast<int>(((first - 1) / block) % 3);
            for (int turn = 0; turn < 3; ++turn) {
                const int k = (turn + shift) % 3;
                const double t0 = now();
                characters[k] += loops[k]->read(first, last, columns);
                seconds[k] += now() - t0;
            }
        }
        std::printf("pass %d, %ld x %d:", p, rows, columns);
        for (int k = 0; k < 3; ++k)
            std::printf(" %s %.0f cells/s (%.1f s, %.2f us/cell);", names[k], cells / seconds[k], seconds[k],
                        seconds[k] * 1e6 / cells);
        std::printf(" reader/floor %.3f, old/reader %.2f\n", seconds[0] / seconds[1], seconds[2] / seconds[1]);
        std::fflush(stdout);
        if (characters[0] != characters[1] || characters[1] != characters[2] || reader.failed() || old.failed())
            std::printf("  the loops did not read the same texts! characters %llu / %llu / %llu\n", characters[0],
                        characters[1], characters[2]);
    }
    return 0;
}
