// COM on the calling thread for as long as an object of this lives (apartment-threaded, as the
// shell's objects and dialogs want it); on a thread that has it already, it changes nothing.
#pragma once

#include <objbase.h>

namespace zav {

class ComUse {
public:
    ComUse() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComUse() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    ComUse(const ComUse&) = delete;
    ComUse& operator=(const ComUse&) = delete;

private:
    HRESULT hr_;
};

}  // namespace zav
