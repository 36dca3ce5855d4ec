#include "capture/win32/RemoteControl.h"

namespace zav {

using remote_control_detail::kDescriptorArea;

CaptureFailure RemoteControl::sendTimed(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const SendManner& manner,
                                        LRESULT& result) {
    result = 0;
    DWORD_PTR answer = 0;
    const UINT flags = SMTO_ABORTIFHUNG | (manner.block ? SMTO_BLOCK : 0);
    const LRESULT sent = manner.wide
                             ? SendMessageTimeoutW(window, msg, wParam, lParam, flags, manner.timeoutMs, &answer)
                             : SendMessageTimeoutA(window, msg, wParam, lParam, flags, manner.timeoutMs, &answer);
    if (sent) {
        result = static_cast<LRESULT>(answer);
        return CaptureFailure::None;
    }
    // Gone, or timed out (or refused at once because the window counts as hung).
    return IsWindow(window) ? CaptureFailure::TargetHung : CaptureFailure::TargetGone;
}

RemoteControl::RemoteControl(const GridTarget& target, const CaptureOptions& options, std::size_t minTextLength,
                             bool wideMessages)
    : options_(options), target_(target) {
    options_.maxTextLength = std::clamp<std::size_t>(options_.maxTextLength, minTextLength, 64u << 20);
    if (!options_.wideTexts) options_.wideTexts = isWinNT() != vbFalse;
    if (!options_.mechanism)
        options_.mechanism = isWinNT() ? RemoteMechanism::ProcessMemory : RemoteMechanism::SharedMapping;
    wideMessages_ = wideMessages && *options_.wideTexts;
    unitSize_ = *options_.wideTexts ? 2 : 1;
}

bool RemoteControl::openInTarget(std::int32_t cchText) {
    const HWND hWnd = window();
    DWORD pid = 0;
    if (hWnd == nullptr || GetWindowThreadProcessId(hWnd, &pid) == 0 || pid == 0) {
        note(CaptureFailure::NoWindow);
        return false;
    }
    processId_ = pid;
    const int bits = processWordSize(pid);
    if (bits != 0) bits_ = bits;
    if (bits_ > kProgramWordSize) {
        note(CaptureFailure::TargetTooWide);
        return false;
    }
    // 9x: the shared view needs no process handle; one is kept only to follow a text that the
    // control answers from its own memory.
    process_ = RemoteProcess::open(pid);
    if (!process_ && *options_.mechanism == RemoteMechanism::ProcessMemory) {
        note(CaptureFailure::ProcessNotOpened);
        return false;
    }
    if (!makeSingle(cchText)) {
        noteBufferFailure();
        return false;
    }
    return true;
}

RemoteBuffer RemoteControl::allocateInTarget(std::size_t length) {
    RemoteBuffer buffer = *options_.mechanism == RemoteMechanism::SharedMapping
                              ? RemoteBuffer::allocateShared(length)
                              : RemoteBuffer::allocate(process_, length);
    // A 32-bit target sees only the low 4 GiB: a buffer above would be out of its reach.
    if (buffer && bits_ == 32 && buffer.address() + length - 1 > 0xFFFFFFFFu) buffer.free();
    return buffer;
}

bool RemoteControl::makeSingle(std::int32_t cchText) {
    RemoteBuffer buffer = allocateInTarget(kDescriptorArea + static_cast<std::size_t>(cchText) * unitSize_);
    if (!buffer) return false;
    single_ = std::move(buffer);  // frees the previous one with its own handle
    cchText_ = cchText;
    return true;
}

bool RemoteControl::growSingle() {
    const std::size_t next = std::min(options_.maxTextLength, static_cast<std::size_t>(cchText_) * 4 + 1);
    if (makeSingle(static_cast<std::int32_t>(next))) return true;
    noteBufferFailure();
    return false;
}

bool RemoteControl::makeBlock(std::size_t descriptorSize) {
    if (block_) return true;
    block_ = allocateInTarget(kBlockItems * (descriptorSize + static_cast<std::size_t>(kBlockTextLength) * unitSize_));
    if (block_) return true;
    noteBufferFailure();
    return false;
}

void RemoteControl::closeBuffers() {
    single_.free();
    block_.free();
    cchText_ = 0;
    process_.reset();
}

void RemoteControl::startRecord(ListViewInfo& info, ControlKind kind) const {
    info.hWnd = target_.window;
    info.kind = kind;
    info.szClassName = target_.className;
    info.lColumnWidth.clear();
    info.szColumnText.clear();
    info.lColumnOrder.clear();
}

ScreenRect RemoteControl::windowRect() const {
    RECT rc = {};
    GetWindowRect(window(), &rc);
    return ScreenRect{rc.left, rc.top, rc.right, rc.bottom};
}

void RemoteControl::note(CaptureFailure failure, const CaptureDetail& detail) {
    if (failure_ != CaptureFailure::None) return;
    failure_ = failure;
    detail_ = detail;
}

void RemoteControl::noteBufferFailure() {
    // A program killed from outside fails the copies a moment before the system counts it as
    // ended and takes its windows: it is given that moment before the failure is put down to the
    // buffers.
    if (!IsWindow(window()) || (process_ && process_->ended(kEndingWaitMs))) {
        note(CaptureFailure::TargetGone);
        stopped_ = true;
    } else {
        note(CaptureFailure::NoBuffers);
    }
}

bool RemoteControl::send(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return sendTo(window(), msg, wParam, lParam, result);
}

bool RemoteControl::sendTo(HWND to, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    if (stopped_) return false;
    const CaptureFailure failure =
        sendTimed(to, msg, wParam, lParam, SendManner{options_.timeoutMs, true, wideMessages_}, result);
    if (failure == CaptureFailure::None) return true;
    note(failure);
    stopped_ = true;
    return false;
}

std::optional<std::size_t> RemoteControl::answeredUnits(TextAnswer answer, std::int32_t result, std::size_t room) {
    if (answer == TextAnswer::Known) {
        if (result == 0) return std::nullopt;
        return room;
    }
    if (result <= 0) return std::nullopt;
    return std::min(static_cast<std::size_t>(result), room);
}

}  // namespace zav
