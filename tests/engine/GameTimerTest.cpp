#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <mutex>
#include <thread>

#include "engine/GameState.h"
#include "engine/GameTimer.h"
#include "platform/System.h"
#include "tests/TestSupport.h"
#include "tests/engine/ScenarioStartChecks.h"

namespace {

using namespace std::chrono_literals;

// The game's state as the tests answer it.
bool g_running = false;
bool g_waiting = false;
bool g_paused = false;

// Each test starts with no game: the game-state hooks are the test's own.
class GameTimerTest : public ::testing::Test {
protected:
    void SetUp() override { g_gameState = {}; }
    void TearDown() override {
        if (g_gameTimer && g_gameTimer->eventId != 0)
            StopGameTimer();
        g_gameTimer.reset();
        g_gameState = m_savedState;
    }

    // Waits until the condition holds, at most two seconds.
    template <class Condition> static bool WaitFor(Condition condition) {
        for (int i = 0; i < 400; ++i) {
            if (condition())
                return true;
            std::this_thread::sleep_for(5ms);
        }
        return condition();
    }

private:
    GameStateHooks m_savedState = g_gameState;
};

TEST_F(GameTimerTest, StartsWithItsInitialFields) {
    ASSERT_TRUE(StartGameTimer(15));
    CGameTimer& clock = *g_gameTimer;
    EXPECT_NE(clock.eventId, 0u);
    EXPECT_EQ(clock.period, 15u);
    EXPECT_EQ(clock.ticksPerDay, 66u);
    EXPECT_EQ(clock.ticksPerMonth, 1980u);
    EXPECT_EQ(clock.interruptsSeen, 1u);
    EXPECT_EQ(clock.running, 0);
    EXPECT_GE(clock.interrupts, 1u);
    EXPECT_EQ(clock.gameTicks, 1u);
    StopGameTimer();
    EXPECT_EQ(g_gameTimer, nullptr);
}

// About 66 interrupts a second; game ticks only while the clock runs.
TEST_F(GameTimerTest, CountsInterruptsAlwaysAndTicksWhileRunning) {
    ASSERT_TRUE(StartGameTimer(15));
    CGameTimer& clock = *g_gameTimer;
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(1s);
    const uint32_t interrupts = clock.interrupts;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(interrupts, 20u);
    EXPECT_LE(interrupts, static_cast<uint32_t>(seconds * 1000 / 15) + 2);
    EXPECT_EQ(clock.gameTicks, 1u);

    clock.running = 1;
    EXPECT_TRUE(WaitFor([&] { return clock.gameTicks >= 5; }));
    clock.running = 0;
    std::this_thread::sleep_for(30ms); // a callback under way may still count one
    const uint32_t stopped = clock.gameTicks;
    const uint32_t before = clock.interrupts;
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(clock.gameTicks, stopped);
    EXPECT_GT(clock.interrupts, before);
}

TEST_F(GameTimerTest, StaleEventIdChangesNothing) {
    CGameTimer clock(15);
    clock.eventId = 5;
    clock.running = 1;
    clock.interrupts = 3;
    clock.gameTicks = 7;
    GameTimerCallback(6, &clock);
    EXPECT_EQ(clock.eventId, 5u);
    EXPECT_EQ(clock.interrupts, 3u);
    EXPECT_EQ(clock.gameTicks, 7u);
}

// The callback is held inside the sound-pattern step: StopGameTimer must wait
// for it before the clock goes away.
TEST_F(GameTimerTest, StopWaitsForTheCallbackUnderWay) {
    ASSERT_TRUE(StartGameTimer(1));
    CGameTimer& clock = *g_gameTimer;
    std::unique_lock<std::mutex> patterns(platform::NamedMutex("PatternPlayer Mutex"));
    const uint32_t seen = clock.interrupts;
    ASSERT_TRUE(WaitFor([&] { return clock.interrupts > seen; })); // now blocked in the step

    auto stopped = std::async(std::launch::async, [] { StopGameTimer(); });
    EXPECT_EQ(stopped.wait_for(100ms), std::future_status::timeout);
    patterns.unlock();
    ASSERT_EQ(stopped.wait_for(2s), std::future_status::ready);
    EXPECT_EQ(g_gameTimer, nullptr);
}

// Under AddressSanitizer a callback touching a deleted clock is caught.
TEST_F(GameTimerTest, RestartsLeaveNoCallbackBehind) {
    for (int i = 0; i < 30; ++i) {
        ASSERT_TRUE(StartGameTimer(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(i % 4));
        if (i % 3 == 0) {
            ASSERT_TRUE(StartGameTimer(1)); // replaces a running clock
        }
        StopGameTimer();
        ASSERT_EQ(g_gameTimer, nullptr);
    }
    std::this_thread::sleep_for(20ms);
}

TEST_F(GameTimerTest, StoppingWithoutPendingEventShowsTheBox) {
    test::BoxRecorder boxes;
    g_gameTimer = std::make_unique<CGameTimer>(15); // never started
    StopGameTimer();
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_NE(boxes.texts[0].find("Timer didn't shut down properly"), std::string::npos);
    EXPECT_EQ(g_gameTimer, nullptr);

    StopGameTimer(); // no clock: nothing
    EXPECT_EQ(boxes.texts.size(), 1u);
}

TEST_F(GameTimerTest, ResumeOnlyInARunningUnpausedGame) {
    // Without any answer no game runs.
    {
        CGameTimer clock(15);
        clock.Resume();
        EXPECT_EQ(clock.running, 0);
    }
    g_gameState.isGameRunning = [] { return g_running; };
    g_gameState.isWaitingForStart = [] { return g_waiting; };
    g_gameState.isPaused = [] { return g_paused; };
    struct Case {
        bool running, waiting, paused, runs;
    };
    const Case cases[] = {
        {true, false, false, true},
        {false, false, false, false},
        {true, true, false, false},
        {true, false, true, false},
    };
    for (const Case& c : cases) {
        CGameTimer clock(15);
        g_running = c.running;
        g_waiting = c.waiting;
        g_paused = c.paused;
        clock.Resume();
        EXPECT_EQ(clock.running, c.runs ? 1 : 0) << c.running << c.waiting << c.paused;
    }
}

TEST_F(GameTimerTest, SetDateSetsTicksAndDate) {
    g_gameState.scenarioStartDate = [] { return datetest::kScenarioStart; };
    datetest::ExpectSetDateSetsTicksAndDate();
}

} // namespace
