// The owner template and the scope guard: exactly one close per value, moves hand the value over,
// and the guard runs on every way out of a scope unless dismissed.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "core/ScopeExit.h"
#include "core/UniqueResource.h"

namespace zav {
namespace {

std::vector<int> closed;
struct FakeTraits {
    using type = int;
    static int invalid() noexcept { return -1; }
    static bool isValid(int v) noexcept { return v >= 0; }
    static void close(int v) noexcept { closed.push_back(v); }
};
using Owner = UniqueResource<FakeTraits>;

int nullClosed = 0;
void countClose(int*) noexcept { ++nullClosed; }

// A value of two parts released as one, as a device context is with its window.
struct Pair {
    int owner = 0, handle = 0;
};
std::vector<std::pair<int, int>> pairsClosed;
bool pairIsLive(Pair p) noexcept { return p.handle != 0; }
void closePair(Pair p) noexcept { pairsClosed.emplace_back(p.owner, p.handle); }

TEST(Ownership, ClosesOnceWhateverPathTheValueTakesAndNeverAnInvalidValue) {
    closed.clear();
    {
        Owner a(3);
        Owner b(std::move(a));  // handed over, not closed
        EXPECT_FALSE(a);
        EXPECT_EQ(b.get(), 3);
        Owner c(5);
        c = std::move(b);  // 5 closed, 3 now in c
        EXPECT_EQ(closed, std::vector<int>{5});
        c = std::move(c);  // self-move keeps it
        EXPECT_EQ(c.get(), 3);
        c.reset(7);  // 3 closed
        EXPECT_EQ(c.release(), 7);  // given up, never closed
        EXPECT_EQ(c.get(), -1);
        Owner d(0), empty, bad(-1);  // 0 is a valid value for these traits; the others are never closed
        empty.reset();
    }
    EXPECT_EQ(closed, (std::vector<int>{5, 3, 0}));
}

TEST(Ownership, NullHandleAndValueTraitsCloseOnlyALiveValue) {
    int x = 0;
    { UniqueResource<NullHandleTraits<int*, countClose>> owner(&x), none; EXPECT_TRUE(owner); EXPECT_FALSE(none); }
    EXPECT_EQ(nullClosed, 1);
    using PairOwner = UniqueResource<ValueTraits<Pair, pairIsLive, closePair>>;
    {
        PairOwner live(Pair{7, 9}), none, noHandle(Pair{7, 0});
        EXPECT_TRUE(live);
        EXPECT_FALSE(none);
        EXPECT_FALSE(noHandle);
        PairOwner moved(std::move(live));
        EXPECT_EQ(live.get().handle, 0);
    }
    EXPECT_EQ(pairsClosed, (std::vector<std::pair<int, int>>{{7, 9}}));  // both parts, once
}

TEST(ScopeGuard, RunsOnReturnAndThrowUnlessDismissedAndScopedValuesNest) {
    int runs = 0;
    { auto g = scopeExit([&] { ++runs; }); }
    try {
        auto g = scopeExit([&] { ++runs; });
        throw std::runtime_error("x");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(runs, 2);
    { auto g = scopeExit([&] { ++runs; }); g.dismiss(); }
    EXPECT_EQ(runs, 2);
    bool flag = false;
    {
        auto outer = scopedValue(flag, true);
        { auto inner = scopedValue(flag, true); }
        EXPECT_TRUE(flag);  // still inside the outer scope
    }
    EXPECT_FALSE(flag);
}

}  // namespace
}  // namespace zav
