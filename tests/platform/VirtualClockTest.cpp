#include "platform/VirtualClock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/System.h"
#include "platform/Timer.h"
#include "platform/null/VirtualTimer.h"

namespace {

using platform::VirtualTimer;

// Records each event as "<tag>@<time>" and may start a follow-up event.
struct Recorder {
    VirtualTimer* timer = nullptr;
    std::vector<std::string> runs;
};

struct Tagged {
    Recorder* recorder;
    std::string tag;
    uint32_t againMs = 0; // > 0: starts itself again with this delay
    int againTimes = 0;
};

void Record(uint32_t, void* user) {
    auto* event = static_cast<Tagged*>(user);
    event->recorder->runs.push_back(event->tag + "@" +
                                    std::to_string(event->recorder->timer->Now()));
    if (event->againTimes > 0) {
        --event->againTimes;
        event->recorder->timer->SetEvent(event->againMs, &Record, event);
    }
}

TEST(VirtualTimer, EventsRunAtTheirDueTimesInOrderOlderFirstOnEqualTimes) {
    VirtualTimer timer;
    Recorder recorder{&timer, {}};
    ASSERT_EQ(timer.Now(), 1000u);
    Tagged late{&recorder, "late"}, first{&recorder, "first"}, equalOld{&recorder, "equalOld"},
        equalNew{&recorder, "equalNew"}, beyond{&recorder, "beyond"};
    timer.SetEvent(30, &Record, &late);
    timer.SetEvent(20, &Record, &equalOld);
    timer.SetEvent(5, &Record, &first);
    timer.SetEvent(20, &Record, &equalNew);
    timer.SetEvent(41, &Record, &beyond);

    timer.Advance(40);
    EXPECT_EQ(recorder.runs, (std::vector<std::string>{"first@1005", "equalOld@1020",
                                                       "equalNew@1020", "late@1030"}));
    EXPECT_EQ(timer.Now(), 1040u);
    timer.Advance(1);
    EXPECT_EQ(recorder.runs.back(), "beyond@1041");
}

TEST(VirtualTimer, EventsStartedByACallbackRunInTheSameAdvanceWhenDue) {
    VirtualTimer timer;
    Recorder recorder{&timer, {}};
    // Every 15 ms, as the game clock starts itself again.
    Tagged ticker{&recorder, "tick", 15, 10};
    timer.SetEvent(15, &Record, &ticker);
    timer.Advance(50);
    EXPECT_EQ(recorder.runs, (std::vector<std::string>{"tick@1015", "tick@1030", "tick@1045"}));
    EXPECT_EQ(timer.Now(), 1050u);

    // A delay of 0 is a millisecond: the advance ends.
    Recorder zero{&timer, {}};
    Tagged again{&zero, "zero", 0, 100};
    timer.SetEvent(0, &Record, &again);
    timer.Advance(3);
    EXPECT_EQ(zero.runs, (std::vector<std::string>{"zero@1051", "zero@1052", "zero@1053"}));
}

TEST(VirtualTimer, KilledEventsDoNotRunAndIdsAreNeverZero) {
    VirtualTimer timer;
    Recorder recorder{&timer, {}};
    Tagged kept{&recorder, "kept"}, killed{&recorder, "killed"};
    EXPECT_EQ(timer.SetEvent(10, nullptr, nullptr), 0u);
    const uint32_t keptId = timer.SetEvent(10, &Record, &kept);
    const uint32_t killedId = timer.SetEvent(10, &Record, &killed);
    EXPECT_NE(keptId, 0u);
    EXPECT_NE(killedId, keptId);
    EXPECT_TRUE(timer.KillEvent(killedId));
    EXPECT_FALSE(timer.KillEvent(killedId));
    EXPECT_FALSE(timer.KillEvent(0));
    timer.Advance(10);
    EXPECT_EQ(recorder.runs, std::vector<std::string>{"kept@1010"});
    EXPECT_FALSE(timer.KillEvent(keptId)); // it has run
}

// The setting is read once a process, so each case runs in a process of its
// own. With the clock on, the time, a sleep and the multimedia timer's events
// are the virtual clock's.
TEST(VirtualClockSettingDeathTest, APassOfOneToAThousandMillisecondsTurnsTheClockOn) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const struct {
        const char* value; // nullptr: unset
        uint32_t frameMs;  // 0: the clock is off
    } cases[] = {
        {"15", 15}, {"1", 1},   {"1000", 1000}, {nullptr, 0}, {"", 0},
        {"0", 0},   {"-15", 0}, {"1001", 0},    {"15ms", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EXIT(
            {
                if (c.value)
                    setenv("ORVANDEL_VIRTUAL_CLOCK", c.value, 1);
                else
                    unsetenv("ORVANDEL_VIRTUAL_CLOCK");
                bool right = platform::VirtualFrameMilliseconds() == c.frameMs &&
                             platform::VirtualClockOn() == (c.frameMs != 0);
                if (c.frameMs != 0) {
                    static bool fired = false;
                    platform::TimeSetEvent(
                        50, [](uint32_t, void*) { fired = true; }, nullptr);
                    right = right && platform::Milliseconds() == 1000;
                    platform::SleepMilliseconds(100000); // moves the clock, waits not
                    right = right && platform::Milliseconds() == 101000 && fired;
                }
                std::exit(right ? 0 : 1);
            },
            testing::ExitedWithCode(0), "")
            << (c.value ? c.value : "(unset)");
    }
}

} // namespace
