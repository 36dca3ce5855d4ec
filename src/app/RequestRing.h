// Requests handed from one thread to another without a lock: a fixed ring of N entries, one
// thread that puts (the producer) and one that takes (the consumer). Neither ever waits for the
// other: a full ring refuses the new request at once. Each request gets a ticket, which travels to
// the consumer by some other way (a posted message); taking a ticket also drops the requests put
// before it that nobody took (their messages were lost).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace zav {

template <class T, std::size_t N>
class RequestRing {
    static_assert(N > 0 && (N & (N - 1)) == 0, "the ring's size divides the tickets' range");

public:
    using Ticket = std::uint32_t;

    // Producer: whether a put would be refused now. Only the consumer changes it meanwhile, and
    // only to make room.
    bool full() const { return tail_.load(std::memory_order_relaxed) - head_.load(std::memory_order_acquire) == N; }

    // Producer: puts the request and gives its ticket; false (nothing changed) when the ring is full.
    bool put(T request, Ticket& ticket) {
        const Ticket tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) == N) return false;
        slots_[tail % N] = std::move(request);
        tail_.store(tail + 1, std::memory_order_release);
        ticket = tail;
        return true;
    }

    // Consumer: takes the request with that ticket, dropping those put before it; false when it
    // was taken already or never put.
    bool take(Ticket ticket, T& request) {
        const Ticket head = head_.load(std::memory_order_relaxed);
        const Ticket tail = tail_.load(std::memory_order_acquire);
        if (ticket - head >= tail - head) return false;
        for (Ticket dropped = head; dropped != ticket; ++dropped) slots_[dropped % N] = T{};
        request = std::move(slots_[ticket % N]);
        slots_[ticket % N] = T{};
        head_.store(ticket + 1, std::memory_order_release);
        return true;
    }

private:
    T slots_[N] = {};
    std::atomic<Ticket> head_{0};  // the next ticket to take; written by the consumer
    std::atomic<Ticket> tail_{0};  // the next ticket to give; written by the producer
};

}  // namespace zav
