#include "capture/win32/RemoteMemory.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace zav {
namespace {

constexpr DWORD kProcessAccess = PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE;  // 0x38
static_assert(kProcessAccess == 0x38, "access rights of the buffers' process handle");
constexpr std::size_t kPage = 4096;

bool systemVersionQuery(std::uint32_t& platformId) {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;  // 148
    static_assert(sizeof(OSVERSIONINFOA) == 148, "OSVERSIONINFOA layout");
    if (!GetVersionExA(&info)) return false;
    platformId = info.dwPlatformId;
    return true;
}

struct FamilyCache {
    remote_memory_testing::VersionQuery query = systemVersionQuery;
    VBool bFamilyKnown = vbFalse;
    VBool bFamilyNT = vbFalse;
};

FamilyCache& family() {
    static FamilyCache cache;
    return cache;
}

bool rangeInside(std::size_t offset, std::size_t length, std::size_t total) {
    return offset <= total && length <= total - offset;
}

}  // namespace

VBool isWinNT() {
    FamilyCache& f = family();
    if (f.bFamilyKnown) return f.bFamilyNT;
    std::uint32_t platformId = 0;
    if (!f.query(platformId)) return vbFalse;  // not cached: the next call asks again
    f.bFamilyKnown = vbTrue;
    f.bFamilyNT = toVBool(platformId == VER_PLATFORM_WIN32_NT);
    return f.bFamilyNT;
}

namespace remote_memory_testing {
void setVersionQuery(VersionQuery query) {
    FamilyCache& f = family();
    f.query = query ? query : systemVersionQuery;
    f.bFamilyKnown = vbFalse;
    f.bFamilyNT = vbFalse;
}
}  // namespace remote_memory_testing

// ---- word sizes ----

namespace {

using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);

bool systemWow64Query(DWORD processId, bool& isWow64) {
    // Looked up at run time: the 9x family and early NT systems have no such function, and none
    // of them runs 64-bit code, so "no function" means "not under WOW64".
    static const auto fn = reinterpret_cast<IsWow64ProcessFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process")));
    if (!fn) {
        isWow64 = false;
        return true;
    }
    HANDLE h = processId == GetCurrentProcessId() ? GetCurrentProcess() : nullptr;
    UniqueHandle owned;
    if (!h) {
        // PROCESS_QUERY_LIMITED_INFORMATION where the system knows it, else the older right.
        owned.reset(OpenProcess(0x1000, FALSE, processId));
        if (!owned) owned.reset(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
        if (!owned) return false;
        h = owned.get();
    }
    BOOL answer = FALSE;
    if (!fn(h, &answer)) return false;
    isWow64 = answer != FALSE;
    return true;
}

remote_memory_testing::Wow64Query& wow64Query() {
    static remote_memory_testing::Wow64Query query = systemWow64Query;
    return query;
}

}  // namespace

int processWordSize(DWORD processId) {
    bool targetWow64 = false;
    if (kProgramWordSize == 64) {
        // On 64-bit Windows every process is 64-bit unless it runs under WOW64.
        if (!wow64Query()(processId, targetWow64)) return 0;
        return targetWow64 ? 32 : 64;
    }
    // A 32-bit program: on 32-bit Windows (this program not under WOW64) every process is 32-bit.
    bool selfWow64 = false;
    if (!wow64Query()(GetCurrentProcessId(), selfWow64)) return 0;
    if (!selfWow64) return 32;
    if (!wow64Query()(processId, targetWow64)) return 0;
    return targetWow64 ? 32 : 64;
}

namespace remote_memory_testing {
void setWow64Query(Wow64Query query) { wow64Query() = query ? query : systemWow64Query; }
}  // namespace remote_memory_testing

// ---- RemoteProcess ----

std::shared_ptr<RemoteProcess> RemoteProcess::open(DWORD processId) {
    if (processId == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    UniqueHandle h(OpenProcess(kProcessAccess, FALSE, processId));
    if (!h) return nullptr;
    return std::shared_ptr<RemoteProcess>(new RemoteProcess(processId, std::move(h)));
}

bool RemoteProcess::read(std::uintptr_t address, void* local, std::size_t length) const {
    if (length == 0) return true;
    if (address == 0) return false;
    SIZE_T done = 0;
    return ReadProcessMemory(handle_.get(), reinterpret_cast<LPCVOID>(address), local, length, &done) &&
           done == length;
}

bool RemoteProcess::ended(DWORD waitMs) const {
    // A handle of its own: the buffers' handle has no right to wait on the process.
    const UniqueHandle h(OpenProcess(SYNCHRONIZE, FALSE, id_));
    if (!h) return GetLastError() == ERROR_INVALID_PARAMETER;  // no such process any more
    return WaitForSingleObject(h.get(), waitMs) == WAIT_OBJECT_0;
}

std::string RemoteProcess::readText(std::uintptr_t address, std::size_t maxLength, std::size_t unitSize) const {
    std::string text;
    if (unitSize == 0) return text;
    const std::size_t maxBytes = std::min(maxLength, static_cast<std::size_t>(-1) / unitSize) * unitSize;
    char chunk[kPage];
    while (text.size() < maxBytes && address != 0) {
        // Whole units up to the end of the page, so a text that ends before an unreadable page is
        // still read.
        std::size_t n = std::min(kPage - (address % kPage), maxBytes - text.size());
        n -= n % unitSize;
        if (n == 0) n = unitSize;  // one unit across the page end
        if (!read(address, chunk, n)) break;
        for (std::size_t i = 0; i < n; i += unitSize) {
            if (std::all_of(chunk + i, chunk + i + unitSize, [](char c) { return c == 0; })) {
                text.append(chunk, i);
                return text;
            }
        }
        text.append(chunk, n);
        address += n;
    }
    return text;
}

// ---- RemoteBuffer ----

RemoteBuffer::RemoteBuffer(RemoteBuffer&& other) noexcept
    : mechanism_(other.mechanism_),
      process_(std::move(other.process_)),
      mapping_(std::move(other.mapping_)),
      view_(std::move(other.view_)),
      address_(std::exchange(other.address_, 0)),
      length_(std::exchange(other.length_, 0)) {}

RemoteBuffer& RemoteBuffer::operator=(RemoteBuffer&& other) noexcept {
    if (this != &other) {
        free();
        mechanism_ = other.mechanism_;
        process_ = std::move(other.process_);
        mapping_ = std::move(other.mapping_);
        view_ = std::move(other.view_);
        address_ = std::exchange(other.address_, 0);
        length_ = std::exchange(other.length_, 0);
    }
    return *this;
}

RemoteBuffer RemoteBuffer::allocate(const std::shared_ptr<RemoteProcess>& process, std::size_t length) {
    RemoteBuffer b;
    if (!process || length == 0) return b;
    void* p = VirtualAllocEx(process->handle(), nullptr, length, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!p) return b;
    b.mechanism_ = RemoteMechanism::ProcessMemory;
    b.process_ = process;
    b.address_ = reinterpret_cast<std::uintptr_t>(p);
    b.length_ = length;
    return b;
}

RemoteBuffer RemoteBuffer::allocateShared(std::size_t length) {
    RemoteBuffer b;
    if (length == 0) return b;
    UniqueHandle mapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                            static_cast<DWORD>(length), nullptr));
    if (!mapping) return b;
    UniqueMappedView view(MapViewOfFile(mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (!view) return b;  // the mapping handle closes with `mapping`
    b.mechanism_ = RemoteMechanism::SharedMapping;
    b.address_ = reinterpret_cast<std::uintptr_t>(view.get());
    b.mapping_ = std::move(mapping);
    b.view_ = std::move(view);
    b.length_ = length;
    return b;
}

bool RemoteBuffer::read(std::size_t offset, void* local, std::size_t length) const {
    if (!*this || !rangeInside(offset, length, length_)) return false;
    if (mechanism_ == RemoteMechanism::SharedMapping) {
        std::memcpy(local, reinterpret_cast<const char*>(address_) + offset, length);
        return true;
    }
    return process_->read(address_ + offset, local, length);
}

bool RemoteBuffer::write(std::size_t offset, const void* local, std::size_t length) {
    if (!*this || !rangeInside(offset, length, length_)) return false;
    if (length == 0) return true;
    if (mechanism_ == RemoteMechanism::SharedMapping) {
        std::memcpy(reinterpret_cast<char*>(address_) + offset, local, length);
        return true;
    }
    SIZE_T done = 0;
    return WriteProcessMemory(process_->handle(), reinterpret_cast<LPVOID>(address_ + offset), local, length,
                              &done) &&
           done == length;
}

void RemoteBuffer::free() {
    if (address_ != 0 && mechanism_ == RemoteMechanism::ProcessMemory)
        VirtualFreeEx(process_->handle(), reinterpret_cast<LPVOID>(address_), 0, MEM_RELEASE);
    address_ = 0;
    length_ = 0;
    view_.reset();  // the view before its mapping
    mapping_.reset();
    process_.reset();  // the process handle closes with its last buffer
}

// ---- the module's operations ----

RemoteBuffer remoteAlloc(std::size_t lSize, DWORD lProcessId) {
    if (isWinNT()) return RemoteBuffer::allocate(RemoteProcess::open(lProcessId), lSize);
    return RemoteBuffer::allocateShared(lSize);
}

void remoteFree(RemoteBuffer& buffer) { buffer.free(); }

bool remoteRead(const RemoteBuffer& buffer, std::size_t offset, void* local, std::size_t lSize) {
    return buffer.read(offset, local, lSize);
}

bool remoteWrite(RemoteBuffer& buffer, std::size_t offset, const void* local, std::size_t lSize) {
    return buffer.write(offset, local, lSize);
}

}  // namespace zav
