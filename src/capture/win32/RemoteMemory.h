// Memory that another process can address, and block copies between it and this process.
//
// NT family: the buffer is allocated inside the other process and reached through process-memory
// reads and writes. 9x family: the buffer is a view of an unnamed paging-file mapping, which that
// family places at the same address in every process, so the other process uses it directly.
//
// Every buffer owns what it was made with: on NT a shared reference to the process handle (so the
// buffer is always released with a live handle of its own process, and the handle is closed once,
// after its last buffer), on 9x its own mapping handle and view. Buffers are move-only.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "core/Types.h"
#include "core/win32/Handles.h"

namespace zav {

// Whether the system belongs to the NT family. Asks the system until it has answered once, then
// returns the cached answer.
VBool isWinNT();

namespace remote_memory_testing {
// Replaces the system query behind isWinNT and forgets the cached answer (nullptr: the real
// GetVersionExA). The query returns false when it fails, else fills in dwPlatformId.
using VersionQuery = bool (*)(std::uint32_t& platformId);
void setVersionQuery(VersionQuery query);
}  // namespace remote_memory_testing

// The word size of a process, in bits: 64 for a native process of 64-bit Windows, 32 for any
// process of 32-bit Windows and for a 32-bit process under WOW64. 0 when it cannot be told (the
// process cannot be queried).
int processWordSize(DWORD processId);
// The word size of this program (32 or 64).
constexpr int kProgramWordSize = static_cast<int>(sizeof(void*) * 8);

namespace remote_memory_testing {
// Replaces the system's IsWow64Process behind processWordSize (nullptr: the real one, looked up
// in kernel32 at run time since old systems lack it). The query answers false when it fails.
using Wow64Query = bool (*)(DWORD processId, bool& isWow64);
void setWow64Query(Wow64Query query);
}  // namespace remote_memory_testing

// An open process whose memory this program reads and writes (NT: OpenProcess with
// PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE).
class RemoteProcess {
public:
    // Null when the process cannot be opened; GetLastError tells why.
    static std::shared_ptr<RemoteProcess> open(DWORD processId);

    DWORD id() const { return id_; }
    HANDLE handle() const { return handle_.get(); }

    // Copies exactly `length` bytes from an address of that process; false when not all of them
    // could be read (the destination may then hold part of them).
    bool read(std::uintptr_t address, void* local, std::size_t length) const;
    // Reads text at an address of that process up to its zero unit (`unitSize` bytes: 1 for 8-bit
    // text, 2 for UTF-16), at most `maxLength` units, page by page, so that text ending just before
    // an unreadable page is still read. The bytes of the text without its zero unit; empty when
    // nothing could be read.
    std::string readText(std::uintptr_t address, std::size_t maxLength, std::size_t unitSize = 1) const;
    // True when the process has ended, or ends within `waitMs` milliseconds.
    bool ended(DWORD waitMs) const;

private:
    RemoteProcess(DWORD id, UniqueHandle handle) : id_(id), handle_(std::move(handle)) {}
    DWORD id_;
    UniqueHandle handle_;
};

enum class RemoteMechanism {
    ProcessMemory,   // NT: VirtualAllocEx in the other process
    SharedMapping,   // 9x: a view of an unnamed paging-file mapping
};

// A read-write buffer that one other process can address. Move-only; destroying it frees it.
class RemoteBuffer {
public:
    RemoteBuffer() = default;
    ~RemoteBuffer() { free(); }
    RemoteBuffer(RemoteBuffer&& other) noexcept;
    RemoteBuffer& operator=(RemoteBuffer&& other) noexcept;
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    // NT: allocated in `process` (which it keeps open as long as it lives). Empty on failure.
    static RemoteBuffer allocate(const std::shared_ptr<RemoteProcess>& process, std::size_t length);
    // 9x: a paging-file mapping of `length` bytes and its view. Empty on failure.
    static RemoteBuffer allocateShared(std::size_t length);

    // Address as the other process sees it; 0 for an empty buffer.
    std::uintptr_t address() const { return address_; }
    std::size_t length() const { return length_; }
    RemoteMechanism mechanism() const { return mechanism_; }
    explicit operator bool() const { return address_ != 0; }

    // Copies between the buffer (from `offset`) and local memory. False, and nothing copied, when
    // the range does not lie inside the buffer; false when the other process could not be reached.
    bool read(std::size_t offset, void* local, std::size_t length) const;
    bool write(std::size_t offset, const void* local, std::size_t length);

    // Releases the buffer with its own process or mapping handle; the buffer is empty afterwards,
    // even when the release failed. Freeing an empty buffer does nothing.
    void free();

private:
    RemoteMechanism mechanism_ = RemoteMechanism::ProcessMemory;
    std::shared_ptr<RemoteProcess> process_;  // ProcessMemory
    UniqueHandle mapping_;                    // SharedMapping
    UniqueMappedView view_;                   // SharedMapping: the view at address_
    std::uintptr_t address_ = 0;
    std::size_t length_ = 0;
};

// The buffer's operations as free functions. The reader copies and frees with remoteRead,
// remoteWrite and remoteFree, but allocates with RemoteBuffer::allocate or allocateShared itself:
// one process handle for all its buffers, and the mechanism its options chose. remoteAlloc, which
// picks the mechanism by isWinNT and on NT opens the process for that buffer alone, is for callers
// that hold no process handle (the tests). remoteFree empties the caller's buffer.
RemoteBuffer remoteAlloc(std::size_t lSize, DWORD lProcessId);
void remoteFree(RemoteBuffer& buffer);
bool remoteRead(const RemoteBuffer& buffer, std::size_t offset, void* local, std::size_t lSize);
bool remoteWrite(RemoteBuffer& buffer, std::size_t offset, const void* local, std::size_t lSize);

}  // namespace zav
