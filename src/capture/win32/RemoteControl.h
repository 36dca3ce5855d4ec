// A control of another program read through window messages: what the readers of every kind
// share. The target (its window, its process and that process's word size), the buffers made in
// that process, the messages sent with a time-out, the first failure met, and the two ways texts
// come back through the buffers: one item alone (a descriptor and its text, the text asked again
// with more room while it fills it) and a block of items (their descriptors in one copy, one
// message an item, their texts back in one copy). A kind of control brings its own messages and
// descriptor layouts; one source is opened for one window and reads only that one.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "capture/GridSource.h"
#include "capture/win32/RemoteMemory.h"
#include "capture/win32/RemoteText.h"

namespace zav {

struct CaptureOptions {
    // Every message to the foreign window waits at most this long (SMTO_ABORTIFHUNG as well), and
    // with SMTO_BLOCK: while a read waits, no message sent to this thread is handled. A Stop, a
    // close or the end of the session handled there would take away the export whose read is
    // under way; they wait for the next look at the queue instead.
    DWORD timeoutMs = 4000;
    // Texts are read whole up to this many characters (at most 64 Mi); a text that still fills the
    // buffer then is cut there.
    std::size_t maxTextLength = 1u << 20;
    // The buffer mechanism; by default the system family's own (isWinNT).
    std::optional<RemoteMechanism> mechanism;
    // Whether texts are asked for in UTF-16 (the W messages: LVM_GETITEMTEXTW, LB_GETTEXT through
    // SendMessageW) or in the ANSI code page (the A messages); by default UTF-16 on the NT family,
    // which every control there answers, ANSI programs' too, and ANSI on the 9x family, which has
    // nothing else.
    std::optional<bool> wideTexts;
};

// How a kind's text message answers.
enum class TextAnswer {
    Length,  // the units it copied; 0 or less: no text (LVM_GETITEMTEXT)
    Known,   // whether it knows the item (0: it does not); the text ends at its first zero unit
             // (LVM_GETCOLUMN, TVM_GETITEM)
};

// One text message of a kind: the message and its wParam. Its lParam is the address of the
// descriptor in the target.
struct TextMessage {
    UINT message;
    WPARAM wParam;
};

// How one message is sent to a window of another program.
struct SendManner {
    DWORD timeoutMs;  // SMTO_ABORTIFHUNG too: a window that counts as hung is not waited for
    bool block;       // SMTO_BLOCK: no message sent to this thread is handled while it waits
    bool wide;        // SendMessageTimeoutW, else A: the system converts the texts of the messages it
                      // carries between processes itself (list boxes) by the function's letter
};

class RemoteControl : public IGridSource {
public:
    // Items whose texts are read in one block, and the room of each text there (units, the
    // terminating zero included).
    static constexpr std::size_t kBlockItems = 256;
    static constexpr std::int32_t kBlockTextLength = 255;
    // How long a target whose buffers fail is given to show that it has ended (ms).
    static constexpr DWORD kEndingWaitMs = 1000;

    // One message to `window`: None when it answered (`result` holds the answer), else
    // TargetHung (it timed out, or the window counts as hung) or TargetGone.
    static CaptureFailure sendTimed(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const SendManner& manner,
                                    LRESULT& result);

    RemoteControl(const RemoteControl&) = delete;
    RemoteControl& operator=(const RemoteControl&) = delete;

    CaptureFailure failure() const override { return failure_; }
    CaptureDetail failureDetail() const override { return detail_; }
    std::int32_t rowsEnded() const override { return rowsEnded_; }

    // The target's process (0 until it is found) and word size (32 or 64; this program's own
    // until told), which picks the descriptor layouts.
    DWORD processId() const { return processId_; }
    int targetWordSize() const { return bits_; }
    // Characters of the single text buffer now in the target (it grows for long texts).
    std::int32_t textBufferLength() const { return cchText_; }

protected:
    // Settles the options the caller left open: wide texts and the buffer mechanism by the system
    // family, texts at least `minTextLength` long and at most 64 Mi. `wideMessages`: every message
    // goes through SendMessageTimeoutW where the options ask for wide texts (for a kind whose
    // texts the system carries); else through the A function.
    RemoteControl(const GridTarget& target, const CaptureOptions& options, std::size_t minTextLength,
                  bool wideMessages);

    // Finds the window's process and makes the single text buffer there, `cchText` characters.
    // False, and the failure noted, when the handle is no window (NoWindow), the target's pointers
    // do not fit ours (TargetTooWide: a 32-bit program cannot address a 64-bit one), its process
    // cannot be opened (ProcessNotOpened) or the buffer not made (NoBuffers).
    bool openInTarget(std::int32_t cchText);
    // The block for readTextBlock, for descriptors of at most `descriptorSize` bytes, made on
    // first use; false (NoBuffers noted) when it cannot be made.
    bool makeBlock(std::size_t descriptorSize);
    // Frees the buffers and lets the process handle go; no text is read after.
    void closeBuffers();
    // Memory in the target, within the reach of its word size; empty when none could be made.
    RemoteBuffer allocateInTarget(std::size_t length);

    HWND window() const { return reinterpret_cast<HWND>(target_.window); }
    const GridTarget& target() const { return target_; }
    const CaptureOptions& options() const { return options_; }
    // The record of a read begun: the target's window, kind and class, no columns yet.
    void startRecord(ListViewInfo& info, ControlKind kind) const;
    ScreenRect windowRect() const;

    // The first failure is the one kept, with what goes with it.
    void note(CaptureFailure failure, const CaptureDetail& detail = {});
    // The control's data ended after `rows` rows (the first end found is kept).
    void noteEnded(std::int32_t rows) {
        if (rowsEnded_ < 0 || rows < rowsEnded_) rowsEnded_ = std::max<std::int32_t>(0, rows);
    }
    void forgetEnd() { rowsEnded_ = -1; }
    // A buffer in the target that cannot be made or reached: its window or its process went away
    // (the target is gone, nothing more is sent), else the buffer failed.
    void noteBufferFailure();
    bool stopped() const { return stopped_; }
    // One message to the target's window (or to `to`, a window of the same program), under the
    // options' time-out. A window that times out or goes away stops the source: the failure is
    // noted, and no further message is sent (each would wait as long again or fail).
    bool send(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool sendTo(HWND to, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Whether texts can be asked for: the kind took the window, the buffers are there and the
    // target has not stopped.
    bool canRequestTexts() const { return taken_ && single_ && !stopped_; }

    // Calls request(layout, texts) with the target's descriptor layouts and the options' texts.
    // `Kind` names them: Layout32 and Layout64 (the descriptors of a 32-bit and of a 64-bit
    // process), AnsiTexts and WideTexts (the messages of either kind of text).
    template <class Kind, class Request>
    auto forTarget(Request&& request);

    // A kind's `Requests` for the two reads below tell, for request i: fill(i, descriptor), the
    // descriptor's own fields (its text pointer and room are set here); message(i), the message
    // and its wParam; and kAnswer, how the message answers (or answer(i), where the requests of
    // one block send messages of both kinds).
    //
    // The text of request `i` alone: the descriptor and a zero unit in one copy, the message, the
    // descriptor and the text back in one copy; a text that fills the buffer asked again with a
    // larger one (up to options().maxTextLength, where it is cut), one the control answers from
    // its own memory followed there. False when the source failed (failure noted); `text` is none
    // when a Known answer says the control does not know the item.
    template <class Descriptor, class Texts, class Requests>
    bool readText(const Requests& requests, std::size_t i, std::optional<std::wstring>& text);
    // The texts of requests 0 .. count - 1 (at most kBlockItems) into texts[0 .. count - 1]
    // through the block (makeBlock first): every descriptor in one copy, one message each, the
    // texts back in one copy. A text that filled its room, or that the control answered from its
    // own memory (which the next answers may change), is asked again alone. The text of a request
    // answered without one is left as it was. With `params`, params[i] is the lParam of request
    // i's descriptor as the control left it (the item data, where fill(i) asked for it). False
    // when the source failed.
    template <class Descriptor, class Texts, class Requests>
    bool readTextBlock(const Requests& requests, std::size_t count, std::wstring* texts,
                       std::uint64_t* params = nullptr);
    // What the last text message answered.
    std::int32_t lastTextAnswer() const { return lastAnswer_; }

    // Set by the kind when its header read took the window: texts may be asked for.
    bool taken_ = false;

private:
    bool makeSingle(std::int32_t cchText);
    // A larger single buffer for a text that filled it; false (NoBuffers noted) when none could be
    // made.
    bool growSingle();
    template <class Texts>
    std::wstring readElsewhere(std::uintptr_t address, std::size_t maxLength);
    // How many units of its room an answer says its text fills at most (none: no text).
    static std::optional<std::size_t> answeredUnits(TextAnswer answer, std::int32_t result, std::size_t room);

    CaptureOptions options_;
    GridTarget target_;
    bool wideMessages_;
    DWORD processId_ = 0;
    int bits_ = kProgramWordSize;  // one that cannot be told is taken to be ours (9x answers 32)
    std::shared_ptr<RemoteProcess> process_;  // none on 9x when the shared view serves alone
    std::size_t unitSize_;                    // bytes of one text unit: 2 for UTF-16, 1 for ANSI
    // The single buffer: one descriptor at 0, its text at kDescriptorArea, cchText_ units long.
    RemoteBuffer single_;
    std::int32_t cchText_ = 0;
    // The block: kBlockItems descriptors, then a room of kBlockTextLength units for each text.
    RemoteBuffer block_;
    std::int32_t lastAnswer_ = 0;
    bool stopped_ = false;  // the target hung or went away: nothing more is sent
    CaptureFailure failure_ = CaptureFailure::None;
    CaptureDetail detail_;
    std::int32_t rowsEnded_ = -1;
    std::string scratch_;                // local copy of the single buffer's descriptor and text
    std::string blockScratch_;           // local copy of the block's descriptors and texts
    std::vector<std::int32_t> answers_;  // each block request's answer
};

// ---- the reads ----

namespace remote_control_detail {
// How request i of `requests` answers: its answer(i) where it has one, else its kind's kAnswer.
template <class Requests, class = void>
struct AnswersEach : std::false_type {};
template <class Requests>
struct AnswersEach<Requests, std::void_t<decltype(std::declval<const Requests&>().answer(std::size_t{}))>>
    : std::true_type {};
template <class Requests>
TextAnswer answerOf(const Requests& requests, std::size_t i) {
    if constexpr (AnswersEach<Requests>::value) return requests.answer(i);
    else return Requests::kAnswer;
}

// Room for the largest descriptor of any kind: the single buffer's text follows at this offset
// (which keeps it aligned for any text unit).
constexpr std::size_t kDescriptorArea = 128;

// Where the texts of a block stand: after kBlockItems descriptors, a room each.
template <class Descriptor, class Texts>
struct BlockRooms {
    static constexpr std::size_t room = static_cast<std::size_t>(RemoteControl::kBlockTextLength);  // units
    static constexpr std::size_t roomBytes = room * sizeof(typename Texts::Unit);
    static constexpr std::size_t textsAt = RemoteControl::kBlockItems * sizeof(Descriptor);
    static constexpr std::size_t textAt(std::size_t i) { return textsAt + i * roomBytes; }
};
}  // namespace remote_control_detail

template <class Kind, class Request>
auto RemoteControl::forTarget(Request&& request) {
    // Descriptors of the target's word size; texts in the messages the options chose.
    if (bits_ == 64) {
        if (*options_.wideTexts) return request(typename Kind::Layout64{}, typename Kind::WideTexts{});
        return request(typename Kind::Layout64{}, typename Kind::AnsiTexts{});
    }
    if (*options_.wideTexts) return request(typename Kind::Layout32{}, typename Kind::WideTexts{});
    return request(typename Kind::Layout32{}, typename Kind::AnsiTexts{});
}

template <class Texts>
std::wstring RemoteControl::readElsewhere(std::uintptr_t address, std::size_t maxLength) {
    // An address that is none (0, or the text-callback mark -1, which cannot be read) reads as
    // nothing.
    if (!process_ || address == 0) return {};
    using Unit = typename Texts::Unit;
    const std::string text = process_->readText(address, std::min(maxLength, options_.maxTextLength), sizeof(Unit));
    return remote_text::decode<Texts>(text.data(), text.size() / sizeof(Unit));
}

template <class Descriptor, class Texts, class Requests>
bool RemoteControl::readText(const Requests& requests, std::size_t i, std::optional<std::wstring>& text) {
    using remote_control_detail::kDescriptorArea;
    using Unit = typename Texts::Unit;
    using Pointer = decltype(Descriptor{}.pszText);
    static_assert(sizeof(Descriptor) <= kDescriptorArea, "a descriptor fits before the single text");
    const TextAnswer answer = remote_control_detail::answerOf(requests, i);
    text.reset();
    for (;;) {
        // The descriptor and a zero unit at the start of the text in one copy: a Known answer ends
        // at the first zero unit.
        scratch_.assign(kDescriptorArea + sizeof(Unit), '\0');
        Descriptor descriptor = {};
        requests.fill(i, descriptor);
        descriptor.pszText = static_cast<Pointer>(single_.address() + kDescriptorArea);
        descriptor.cchTextMax = cchText_;
        std::memcpy(&scratch_[0], &descriptor, sizeof descriptor);
        if (!single_.write(0, scratch_.data(), scratch_.size())) {
            noteBufferFailure();
            return false;
        }
        const TextMessage message = requests.message(i);
        LRESULT r = 0;
        if (!send(message.message, message.wParam, static_cast<LPARAM>(single_.address()), r)) return false;
        lastAnswer_ = static_cast<std::int32_t>(r);
        const std::size_t room = static_cast<std::size_t>(cchText_);  // units
        const std::optional<std::size_t> want = answeredUnits(answer, lastAnswer_, room);
        if (!want) {
            if (answer == TextAnswer::Length) text = std::wstring();
            return true;
        }

        // The descriptor and the answer come back in one copy; never more than the buffer holds,
        // whatever count the window answered.
        scratch_.resize(kDescriptorArea + *want * sizeof(Unit));
        if (!single_.read(0, &scratch_[0], scratch_.size())) {
            noteBufferFailure();
            return false;
        }
        Descriptor back;
        std::memcpy(&back, scratch_.data(), sizeof back);
        if (back.pszText != descriptor.pszText) {  // the control answered with text of its own
            const std::size_t length =
                answer == TextAnswer::Length ? static_cast<std::size_t>(lastAnswer_) : options_.maxTextLength;
            text = readElsewhere<Texts>(static_cast<std::uintptr_t>(back.pszText), length);
            return true;
        }
        const char* units = scratch_.data() + kDescriptorArea;
        const std::size_t n = remote_text::textLength<Texts>(units, *want);
        // A text that filled the buffer may have been cut: asked again with more room, until it
        // fits or reaches the longest text the options let through.
        if (n + 1 >= room && room < options_.maxTextLength) {
            if (!growSingle()) return false;
            continue;
        }
        text = remote_text::decode<Texts>(units, n);
        return true;
    }
}

template <class Descriptor, class Texts, class Requests>
bool RemoteControl::readTextBlock(const Requests& requests, std::size_t count, std::wstring* texts,
                                  std::uint64_t* params) {
    using Rooms = remote_control_detail::BlockRooms<Descriptor, Texts>;
    using Pointer = decltype(Descriptor{}.pszText);
    using remote_control_detail::answerOf;
    bool known = false;
    for (std::size_t i = 0; i < count && !known; ++i) known = answerOf(requests, i) == TextAnswer::Known;
    const std::uintptr_t base = block_.address();
    // Every descriptor in one copy, request i's text to the i-th room. A Known answer does not say
    // how far its text reaches, so its rooms go along empty: one answered without writing its text
    // reads as empty, never as the text of an earlier block.
    blockScratch_.assign(known ? Rooms::textAt(count) : count * sizeof(Descriptor), '\0');
    for (std::size_t i = 0; i < count; ++i) {
        Descriptor descriptor = {};
        requests.fill(i, descriptor);
        descriptor.pszText = static_cast<Pointer>(base + Rooms::textAt(i));
        descriptor.cchTextMax = static_cast<std::int32_t>(Rooms::room);
        std::memcpy(&blockScratch_[i * sizeof(Descriptor)], &descriptor, sizeof descriptor);
    }
    if (!block_.write(0, blockScratch_.data(), blockScratch_.size())) {
        noteBufferFailure();
        return false;
    }
    // One message a request; the answers say how far the texts reach.
    answers_.assign(count, 0);
    std::size_t readTo = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const TextMessage message = requests.message(i);
        LRESULT r = 0;
        if (!send(message.message, message.wParam, static_cast<LPARAM>(base + i * sizeof(Descriptor)), r)) return false;
        answers_[i] = lastAnswer_ = static_cast<std::int32_t>(r);
        if (const auto units = answeredUnits(answerOf(requests, i), answers_[i], Rooms::room))
            readTo = Rooms::textAt(i) + *units * sizeof(typename Texts::Unit);
    }
    if (readTo == 0 && !params) return true;  // no request has a text
    // The descriptors (the control may have pointed one elsewhere) and the texts in one copy.
    blockScratch_.resize(std::max(readTo, count * sizeof(Descriptor)));
    if (!block_.read(0, &blockScratch_[0], blockScratch_.size())) {
        noteBufferFailure();
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        Descriptor back;
        std::memcpy(&back, &blockScratch_[i * sizeof(Descriptor)], sizeof back);
        if (params) params[i] = static_cast<std::uint64_t>(back.lParam);
        const std::optional<std::size_t> units = answeredUnits(answerOf(requests, i), answers_[i], Rooms::room);
        if (!units) continue;
        const char* text = blockScratch_.data() + Rooms::textAt(i);
        const std::size_t n = remote_text::textLength<Texts>(text, *units);
        if (back.pszText == static_cast<Pointer>(base + Rooms::textAt(i)) && n + 1 < Rooms::room) {
            texts[i] = remote_text::decode<Texts>(text, n);
            continue;
        }
        // Asked again alone: a text that filled its room may have been cut (it gets more room), and
        // one the control answered from its own memory may have been overwritten by the messages
        // that followed (it is read at once).
        std::optional<std::wstring> whole;
        if (!readText<Descriptor, Texts>(requests, i, whole)) return false;
        if (whole) texts[i] = std::move(*whole);
    }
    return true;
}

}  // namespace zav
