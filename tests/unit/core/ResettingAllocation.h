// A stand-in for an allocator that resets the thread's error code while it allocates, as one that
// keeps per-thread caches may (TlsGetValue clears GetLastError when it succeeds). While armed,
// every allocation of this thread leaves the code at 0, so a failing call whose error text is
// built before its code is read reports 0 instead of the call's own code.
#pragma once

namespace zavtest {

class ResettingAllocation {
public:
    ResettingAllocation();  // armed on this thread until the end of the scope
    ~ResettingAllocation();
    ResettingAllocation(const ResettingAllocation&) = delete;
    ResettingAllocation& operator=(const ResettingAllocation&) = delete;
};

}  // namespace zavtest
