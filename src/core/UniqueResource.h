// One move-only owner for every kind of handle the program holds: a file descriptor, a kernel
// handle, a menu, a find handle, a GDI object or device context, an object selected into one.
// The kind is described by a small traits type:
//
//     struct Traits {
//         using type = ...;                        // the raw handle
//         static type invalid() noexcept;          // what an empty owner holds
//         static bool isValid(type) noexcept;      // whether the value names a live object
//         static void close(type) noexcept;        // releases it
//     };
//
// The raw value is reached with get(), never by an implicit conversion.
#pragma once

#include <utility>

namespace zav {

template <class Traits>
class UniqueResource {
public:
    using type = typename Traits::type;

    UniqueResource() noexcept : value_(Traits::invalid()) {}
    explicit UniqueResource(type value) noexcept : value_(value) {}
    ~UniqueResource() { reset(); }

    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    type get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return Traits::isValid(value_); }

    // Gives the value up without closing it; the owner is empty afterwards.
    type release() noexcept { return std::exchange(value_, Traits::invalid()); }
    // Closes what is held (if anything) and takes `value` instead.
    void reset(type value = Traits::invalid()) noexcept {
        const type old = std::exchange(value_, value);
        if (Traits::isValid(old)) Traits::close(old);
    }

private:
    type value_;
};

// Traits for handles whose only empty value is a null one and whose close function is
// `void or bool Close(T)`.
template <class T, auto Close>
struct NullHandleTraits {
    using type = T;
    static type invalid() noexcept { return type{}; }
    static bool isValid(type value) noexcept { return value != type{}; }
    static void close(type value) noexcept { Close(value); }
};

// Traits for a value of several parts that is released as one (a device context with the window
// it goes back to): empty is the value-initialized one, and two functions tell whether a value is
// live and release it.
template <class T, auto IsValid, auto Close>
struct ValueTraits {
    using type = T;
    static type invalid() noexcept { return type{}; }
    static bool isValid(type value) noexcept { return IsValid(value); }
    static void close(type value) noexcept { Close(value); }
};

}  // namespace zav
