// The test program's operator new: the ordinary one, and while a ResettingAllocation is armed on
// the calling thread, one that resets the thread's error code with a real system call.
#include "ResettingAllocation.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <new>

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#endif

namespace {

// The thread that armed it; neither lookup touches the error code (a thread_local would, through
// TlsGetValue, on this build's runtime).
#ifdef _WIN32
using ThreadId = DWORD;
ThreadId currentThread() { return GetCurrentThreadId(); }
#else
using ThreadId = pthread_t;
ThreadId currentThread() { return pthread_self(); }
#endif
std::atomic<bool> armed{false};
ThreadId armedThread{};

bool armedHere() {
#ifdef _WIN32
    return armed.load() && armedThread == currentThread();
#else
    return armed.load() && pthread_equal(armedThread, currentThread());
#endif
}

#ifdef _WIN32
const DWORD slot = TlsAlloc();
#endif

void resetErrorCode() {
#ifdef _WIN32
    TlsGetValue(slot);  // clears the last error when it succeeds
#else
    errno = 0;
#endif
}

}  // namespace

void* operator new(std::size_t size) {
    if (size == 0) size = 1;
    void* p = nullptr;
    while ((p = std::malloc(size)) == nullptr) {
        std::new_handler handler = std::get_new_handler();
        if (!handler) throw std::bad_alloc();
        handler();
    }
    if (armedHere()) resetErrorCode();
    return p;
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace zavtest {

ResettingAllocation::ResettingAllocation() {
    armedThread = currentThread();
    armed.store(true);
}

ResettingAllocation::~ResettingAllocation() { armed.store(false); }

long lastErrorCode() {
#ifdef _WIN32
    return static_cast<long>(GetLastError());
#else
    return errno;
#endif
}

void setLastErrorCode(long code) {
#ifdef _WIN32
    SetLastError(static_cast<DWORD>(code));
#else
    errno = static_cast<int>(code);
#endif
}

}  // namespace zavtest
