// Buffers in another process: made, copied to and from, released with their own process handle.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "HostProcess.h"
#include "capture/win32/RemoteMemory.h"

namespace {

using zav::RemoteBuffer;
using zav::RemoteProcess;
using zavtest::HostProcess;

const char* const kSmallHost = "title\tMemory host\ncolumn\t80\tA\nrow\tx\n";

// State of the host's memory at an address, seen through a handle of our own.
DWORD regionState(HANDLE process, std::uintptr_t address) {
    MEMORY_BASIC_INFORMATION mbi = {};
    if (!VirtualQueryEx(process, reinterpret_cast<LPCVOID>(address), &mbi, sizeof mbi)) return 0;
    return mbi.State;
}

TEST(RemoteMemory, BufferInAnotherProcessRoundTripsAndIsReleased) {
    HostProcess host(kSmallHost);
    auto process = RemoteProcess::open(host.processId());
    ASSERT_TRUE(process);
    RemoteBuffer a = RemoteBuffer::allocate(process, 40);
    RemoteBuffer b = RemoteBuffer::allocate(process, 255);
    ASSERT_TRUE(a);
    ASSERT_TRUE(b);
    EXPECT_NE(a.address(), b.address());
    EXPECT_EQ(MEM_COMMIT, regionState(host.process(), a.address()));

    const char text[] = "written into the host";
    ASSERT_TRUE(zav::remoteWrite(b, 10, text, sizeof text));
    char back[sizeof text] = {};
    ASSERT_TRUE(zav::remoteRead(b, 10, back, sizeof back));
    EXPECT_STREQ(text, back);
    EXPECT_EQ("written into the host", process->readText(b.address() + 10, 1000));
    EXPECT_EQ("written", process->readText(b.address() + 10, 7));
    // UTF-16 text ends at its first zero unit, not at a zero byte inside a unit (U+0100 is 00 01).
    const char16_t wide[] = u"\u0100wide";
    ASSERT_TRUE(zav::remoteWrite(b, 100, wide, sizeof wide));
    const std::string units = process->readText(b.address() + 100, 1000, 2);
    ASSERT_EQ(10u, units.size());
    EXPECT_EQ(0, std::memcmp(units.data(), wide, units.size()));
    EXPECT_EQ(6u, process->readText(b.address() + 100, 3, 2).size());

    // Nothing outside the buffer is touched, whatever is asked.
    char big[300] = {};
    EXPECT_FALSE(zav::remoteRead(b, 0, big, 256));
    EXPECT_FALSE(zav::remoteWrite(b, 250, big, 6));
    EXPECT_FALSE(zav::remoteRead(b, static_cast<std::size_t>(-1), big, 2));

    // Releasing one buffer leaves the other usable: each holds the process handle it needs.
    const std::uintptr_t addressA = a.address();
    process.reset();
    zav::remoteFree(a);
    EXPECT_FALSE(a);
    EXPECT_EQ(0u, a.address());
    EXPECT_EQ(static_cast<DWORD>(MEM_FREE), regionState(host.process(), addressA));
    zav::remoteFree(a);  // a second release of the emptied buffer does nothing
    ASSERT_TRUE(zav::remoteRead(b, 10, back, sizeof back));
    EXPECT_STREQ(text, back);

    // Moving hands the buffer over; only the new owner releases it.
    const std::uintptr_t addressB = b.address();
    RemoteBuffer moved = std::move(b);
    EXPECT_FALSE(b);
    EXPECT_EQ(addressB, moved.address());
    b.free();
    EXPECT_EQ(MEM_COMMIT, regionState(host.process(), addressB));
    { RemoteBuffer gone = std::move(moved); }
    EXPECT_EQ(static_cast<DWORD>(MEM_FREE), regionState(host.process(), addressB));
}

TEST(RemoteMemory, CopiesFailQuietlyOnceTheProcessHasEnded) {
    HostProcess host(kSmallHost);
    RemoteBuffer buffer = zav::remoteAlloc(64, host.processId());
    ASSERT_TRUE(buffer);
    EXPECT_EQ(zav::RemoteMechanism::ProcessMemory, buffer.mechanism());
    const char before[8] = "1234567";
    ASSERT_TRUE(zav::remoteWrite(buffer, 0, before, sizeof before));

    host.kill();
    char out[8] = "unset!";
    EXPECT_FALSE(zav::remoteWrite(buffer, 0, before, sizeof before));
    EXPECT_FALSE(zav::remoteRead(buffer, 0, out, sizeof out));
    zav::remoteFree(buffer);  // released through the still open handle of the dead process
    EXPECT_FALSE(buffer);
}

TEST(RemoteMemory, NoBufferForAProcessThatCannotBeOpened) {
    EXPECT_FALSE(zav::remoteAlloc(40, 0));
    EXPECT_FALSE(RemoteProcess::open(0));
    // An id no process has (ids are multiples of 4; this one is not).
    EXPECT_FALSE(zav::remoteAlloc(40, 0x7FFFFFF1));
    RemoteBuffer none;
    char c = 'q';
    EXPECT_FALSE(zav::remoteRead(none, 0, &c, 1));
    EXPECT_FALSE(zav::remoteWrite(none, 0, &c, 1));
    EXPECT_EQ('q', c);
}

}  // namespace
