// The lock-free ring that carries the hook thread's menu requests to the watcher: a full ring
// refuses at once, each ticket takes its own request, a ticket whose message was lost is dropped
// by the next one, and two threads hand over thousands of requests without a mix-up.
#include <gtest/gtest.h>

#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "app/RequestRing.h"

namespace {

using Ring = zav::RequestRing<std::string, 4>;
using Ticket = Ring::Ticket;

TEST(RequestRing, AFullRingRefusesUntilARequestIsTaken) {
    Ring ring;
    Ticket tickets[5] = {};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(ring.full());
        ASSERT_TRUE(ring.put("r" + std::to_string(i), tickets[i]));
    }
    EXPECT_TRUE(ring.full());
    Ticket refused = 99;
    EXPECT_FALSE(ring.put("r4", refused));
    EXPECT_EQ(99u, refused);
    std::string got;
    for (int i = 0; i < 5; ++i) {  // each take makes room for one more, round the ring's end
        ASSERT_TRUE(ring.take(tickets[i], got));
        EXPECT_EQ("r" + std::to_string(i), got);
        EXPECT_FALSE(ring.full());
        if (i == 0) {
            EXPECT_TRUE(ring.put("r4", tickets[4]));
        }
    }
}

TEST(RequestRing, ATicketTakesItsOwnRequestOnceAndDropsTheOlderOnes) {
    Ring ring;
    Ticket a = 0, b = 0, c = 0;
    ASSERT_TRUE(ring.put("a", a) && ring.put("b", b) && ring.put("c", c));
    std::string got;
    ASSERT_TRUE(ring.take(b, got));  // a's message never came
    EXPECT_EQ("b", got);
    const std::pair<Ticket, bool> after[] = {{a, false}, {b, false}, {c + 1, false}, {c, true}, {c, false}};
    for (const auto& [ticket, taken] : after) {
        got = "-";
        EXPECT_EQ(taken, ring.take(ticket, got)) << ticket;
        EXPECT_EQ(taken ? "c" : "-", got);
    }
    Ticket t = 0;  // three slots came free: the ring takes four again, round its end
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(ring.put("x", t));
    EXPECT_TRUE(ring.full());
}

TEST(RequestRing, TwoThreadsHandOverEveryRequestWhoseMessageArrives) {
    Ring ring;
    std::mutex lock;
    std::deque<std::pair<Ticket, std::string>> messages;  // the posted messages, with what each asks
    const int total = 5000;
    bool stuck = false;  // the ring stayed full: the consumer's takes made no room
    std::thread producer([&] {
        for (int i = 0; i < total && !stuck; ++i) {
            Ticket t = 0;
            const std::string request = "request " + std::to_string(i);
            for (int tries = 0; !stuck && !ring.put(request, t); ++tries) {
                stuck = tries > 1000000;
                std::this_thread::yield();  // full: the consumer makes room
            }
            if (stuck || i % 7 == 3) continue;  // this message is lost
            std::lock_guard<std::mutex> hold(lock);
            messages.emplace_back(t, request);
        }
        std::lock_guard<std::mutex> hold(lock);
        messages.emplace_back(~Ticket{0}, "");  // the end
    });
    int received = 0, mismatched = 0;
    for (;;) {
        std::pair<Ticket, std::string> message;
        {
            std::lock_guard<std::mutex> hold(lock);
            if (!messages.empty()) {
                message = messages.front();
                messages.pop_front();
            }
        }
        if (message.second.empty() && message.first == ~Ticket{0}) break;
        if (message.second.empty()) {
            std::this_thread::yield();
            continue;
        }
        std::string got;
        if (!ring.take(message.first, got) || got != message.second) ++mismatched;
        ++received;
    }
    producer.join();
    EXPECT_FALSE(stuck);
    EXPECT_EQ(0, mismatched);
    EXPECT_EQ(total - total / 7, received);
}

}  // namespace
