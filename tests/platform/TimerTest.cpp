#include "platform/Timer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Waits up to two seconds for a condition set by the timer thread.
template <class Pred> bool WaitFor(Pred pred) {
    auto until = std::chrono::steady_clock::now() + 2s;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

TEST(TimerTest, CapsAndPeriod) {
    platform::TimerCaps caps{};
    ASSERT_TRUE(platform::TimeGetDevCaps(caps));
    EXPECT_EQ(caps.periodMin, 1u);
    EXPECT_EQ(caps.periodMax, 1000000u);
    platform::TimeBeginPeriod(caps.periodMin);
}

// The game clock's way: each callback kills its own event and starts the next.
struct Ticker {
    std::atomic<uint32_t> eventId{0};
    std::atomic<int> ticks{0};
    std::atomic<bool> stop{false};
    std::atomic<bool> killOwnFailed{false};

    static void Callback(uint32_t id, void* user) {
        auto* self = static_cast<Ticker*>(user);
        if (id != self->eventId)
            return;
        if (!platform::TimeKillEvent(id))
            self->killOwnFailed = true;
        self->ticks++;
        if (!self->stop)
            self->eventId = platform::TimeSetEvent(15, Callback, self);
    }
};

TEST(TimerTest, ReArmingFromTheCallbackTicksEvery15Milliseconds) {
    Ticker ticker;
    ticker.eventId = platform::TimeSetEvent(15, Ticker::Callback, &ticker);
    ASSERT_NE(ticker.eventId.load(), 0u);
    auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(1s);
    ticker.stop = true;
    int ticks = ticker.ticks;
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // Kill the pending event; a callback running meanwhile may have started
    // the next one, so repeat until the id stays.
    uint32_t id = 0;
    do {
        id = ticker.eventId;
        platform::TimeKillEvent(id);
    } while (id != ticker.eventId);

    EXPECT_FALSE(ticker.killOwnFailed);
    EXPECT_LE(ticks, seconds * 1000 / 15 + 1);
    EXPECT_GE(ticks, 20) << "far too slow even for a loaded machine";
    RecordProperty("ticks", ticks);
}

TEST(TimerTest, KillingARunningEventWaitsForItsCallback) {
    struct State {
        std::atomic<bool> started{false};
        std::atomic<bool> finished{false};
    } state;
    auto callback = [](uint32_t, void* user) {
        auto* s = static_cast<State*>(user);
        s->started = true;
        std::this_thread::sleep_for(100ms);
        s->finished = true;
    };
    uint32_t id = platform::TimeSetEvent(0, callback, &state);
    ASSERT_NE(id, 0u);
    ASSERT_TRUE(WaitFor([&] { return state.started.load(); }));
    EXPECT_TRUE(platform::TimeKillEvent(id));
    EXPECT_TRUE(state.finished);
    // Fired and returned: the id is stale now.
    EXPECT_FALSE(platform::TimeKillEvent(id));
}

TEST(TimerTest, KilledAndStaleEventsNeverFire) {
    std::atomic<int> calls{0};
    auto callback = [](uint32_t, void* user) { ++*static_cast<std::atomic<int>*>(user); };

    EXPECT_FALSE(platform::TimeKillEvent(0));
    EXPECT_FALSE(platform::TimeKillEvent(0xFFFFFFF0u));
    EXPECT_EQ(platform::TimeSetEvent(10, nullptr, nullptr), 0u);

    uint32_t killed = platform::TimeSetEvent(30, callback, &calls);
    uint32_t fired = platform::TimeSetEvent(1, callback, &calls);
    ASSERT_NE(killed, 0u);
    ASSERT_NE(fired, 0u);
    EXPECT_NE(killed, fired);
    EXPECT_TRUE(platform::TimeKillEvent(killed));
    EXPECT_FALSE(platform::TimeKillEvent(killed));
    ASSERT_TRUE(WaitFor([&] { return calls.load() == 1; }));
    std::this_thread::sleep_for(80ms);
    EXPECT_EQ(calls.load(), 1);
    EXPECT_FALSE(platform::TimeKillEvent(fired));
}

TEST(TimerTest, EventsFireInTheOrderOfTheirDelays) {
    struct Order {
        std::atomic<int> next{0};
        std::atomic<int> slow{-1};
        std::atomic<int> fast{-1};
    } order;
    auto slow = [](uint32_t, void* user) {
        auto* o = static_cast<Order*>(user);
        o->slow = o->next++;
    };
    auto fast = [](uint32_t, void* user) {
        auto* o = static_cast<Order*>(user);
        o->fast = o->next++;
    };
    ASSERT_NE(platform::TimeSetEvent(60, slow, &order), 0u);
    ASSERT_NE(platform::TimeSetEvent(5, fast, &order), 0u);
    ASSERT_TRUE(WaitFor([&] { return order.next.load() == 2; }));
    EXPECT_EQ(order.fast.load(), 0);
    EXPECT_EQ(order.slow.load(), 1);
}

} // namespace
