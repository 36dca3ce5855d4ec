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
std::atomic<bool> armed{false};
#ifdef _WIN32
DWORD armedThread{};
const DWORD slot = TlsAlloc();
void arm() { armedThread = GetCurrentThreadId(); }
bool armedHere() { return armed.load() && armedThread == GetCurrentThreadId(); }
void resetErrorCode() { TlsGetValue(slot); }  // clears the last error when it succeeds
#else
pthread_t armedThread{};
void arm() { armedThread = pthread_self(); }
bool armedHere() { return armed.load() && pthread_equal(armedThread, pthread_self()); }
void resetErrorCode() { errno = 0; }
#endif

}  // namespace

void* operator new(std::size_t size) {
    void* p = nullptr;
    while ((p = std::malloc(size ? size : 1)) == nullptr) {
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
    arm();
    armed.store(true);
}
ResettingAllocation::~ResettingAllocation() { armed.store(false); }

}  // namespace zavtest
