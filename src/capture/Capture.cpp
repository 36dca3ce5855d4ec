#include "capture/Capture.h"

namespace zav {

std::wstring describeCaptureFailure(CaptureFailure failure) {
    switch (failure) {
        case CaptureFailure::None: return L"";
        case CaptureFailure::NoWindow: return L"The list view no longer exists.";
        case CaptureFailure::NotListView: return L"The window is not a list view.";
        case CaptureFailure::ProcessNotOpened:
            return L"The program that owns the list view cannot be read (it may run with higher rights).";
        case CaptureFailure::NoBuffers: return L"No memory could be reserved in the list view's program.";
        case CaptureFailure::TargetGone: return L"The list view or its program ended while it was being read.";
        case CaptureFailure::TargetHung: return L"The list view's program stopped answering.";
        case CaptureFailure::TargetTooWide:
            return L"The list view belongs to a 64-bit program, which the 32-bit ZAVExport.exe cannot read. "
                   L"Use ZAVExport64.exe for it.";
    }
    return L"";
}

}  // namespace zav
