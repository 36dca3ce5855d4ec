// Runs a function when the scope ends, however it ends (return or exception), unless dismissed:
// the place for "put things back" that would otherwise be a flag set and reset by hand or a
// catch (...) { clean; throw; } block.
#pragma once

#include <utility>

namespace zav {

template <class F>
class [[nodiscard]] ScopeExit {
public:
    explicit ScopeExit(F f) noexcept(noexcept(F(std::move(f)))) : f_(std::move(f)) {}
    ScopeExit(ScopeExit&& other) noexcept(noexcept(F(std::move(other.f_))))
        : f_(std::move(other.f_)), armed_(std::exchange(other.armed_, false)) {}
    ~ScopeExit() {
        if (armed_) f_();
    }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ScopeExit& operator=(ScopeExit&&) = delete;

    // The work went well: nothing needs putting back.
    void dismiss() noexcept { armed_ = false; }

private:
    F f_;
    bool armed_ = true;
};

template <class F>
ScopeExit<F> scopeExit(F f) {
    return ScopeExit<F>(std::move(f));
}

// Sets `flag` to `value` for the rest of the scope and puts the previous value back at its end.
template <class T>
auto scopedValue(T& flag, T value) {
    T previous = std::exchange(flag, std::move(value));
    return scopeExit([&flag, previous]() mutable { flag = std::move(previous); });
}

}  // namespace zav
