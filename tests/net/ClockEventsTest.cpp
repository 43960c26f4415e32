#include "net/ClockEvents.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/Config.h"
#include "engine/GameTimer.h"
#include "net/EventTypes.h"
#include "net/Receivers.h"
#include "net/Scheduler.h"
#include "net/Session.h"
#include "tests/net/ScopedSeams.h"

namespace {

std::string DateText(const CDate& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%d-%d-%d", date.year, date.month, date.day);
    return text;
}

// Outside a game the broadcast messages reach the front end's slot, which
// writes them here.
std::string g_frontEndSeen;

int RecordFrontEnd(COVEvent& event) {
    std::string line = std::to_string(event.GetType());
    if (event.GetType() == EVT_TIMER_MONTH || event.GetType() == EVT_TIMER_YEAR) {
        line += ' ';
        line += DateText(event.Payload().Get(COVTimerEvent::kDate));
    }
    if (!g_frontEndSeen.empty())
        g_frontEndSeen += '|';
    g_frontEndSeen += line;
    return EVENT_NOT_HANDLED;
}

class ClockTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_gameTimer = std::make_unique<CGameTimer>(15);
        timer().gameTicks = 1;
        timer().interrupts = 1;
        timer().interruptsSeen = 1;
        g_config = std::make_unique<CConfig>();
        g_frontEndSeen.clear();
        g_broadcastReceivers[kSlotFrontEnd] = &RecordFrontEnd;
        g_animationDispatch = [this](COVEvent& event) {
            animationTicks.push_back(static_cast<COVTickAnimationsEvent&>(event).GetElapsed());
            return EVENT_NOT_HANDLED;
        };
        g_scheduler.Clear();
    }
    void TearDown() override {
        g_scheduler.Clear();
        g_animationDispatch = nullptr;
        g_netSession = nullptr;
        g_config.reset();
        g_gameTimer.reset();
    }

    CGameTimer& timer() { return *g_gameTimer; }

    // One pass after the timer thread counted these interrupts and ticks.
    void Pass(uint32_t interrupts, uint32_t ticks) {
        timer().interrupts += interrupts;
        timer().gameTicks += ticks;
        EXPECT_EQ(timer().Update(), 0);
    }

    // The days of the day messages waiting on the ready list (taken out).
    std::vector<uint32_t> TakeDayMessages() {
        std::vector<uint32_t> days;
        while (std::unique_ptr<COVEvent> event = g_scheduler.PopDue()) {
            EXPECT_EQ(event->GetType(), EVT_TIMER_DATE);
            EXPECT_EQ(event->GetReceiver(), g_timerDateId);
            EXPECT_EQ(event->GetSendFlag(), 1);
            EXPECT_EQ(event->GetLocalFlag(), 1);
            days.push_back(event->Payload().Get(COVTimerDateEvent::kCount));
        }
        return days;
    }

    nettest::ScopedSeams seams;
    std::vector<uint32_t> animationTicks;
};

} // namespace

TEST_F(ClockTest, PassWithoutTimerCallbackMakesNoMessage) {
    Pass(0, 500);
    EXPECT_TRUE(animationTicks.empty());
    EXPECT_TRUE(g_scheduler.IsEmpty());
    EXPECT_EQ(timer().ticksTaken, 0u);
}

TEST_F(ClockTest, EachSpeedTurnsItsTicksIntoDays) {
    for (uint32_t speed = 0; speed < g_gameSpeedTicksPerDay.size(); ++speed) {
        SCOPED_TRACE(speed);
        const uint32_t perDay = g_gameSpeedTicksPerDay[speed];
        g_config->SetWord(ConfigOffset::kGameSpeed, speed);
        timer().ticksTaken = timer().gameTicks;
        timer().dayFraction = 0.0f;
        animationTicks.clear();

        Pass(5, 3 * perDay + perDay / 2);
        EXPECT_EQ(timer().ticksPerDay, perDay);
        EXPECT_EQ(animationTicks, std::vector<uint32_t>{5});
        EXPECT_EQ(TakeDayMessages(), std::vector<uint32_t>{3});
        EXPECT_FLOAT_EQ(timer().dayFraction,
                        static_cast<float>(perDay / 2) / static_cast<float>(perDay));
        EXPECT_EQ(timer().ticksTaken, timer().gameTicks.load());
    }
}

TEST_F(ClockTest, DayFractionCarriesOverBetweenPasses) {
    g_config->SetWord(ConfigOffset::kGameSpeed, 2); // 133 ticks a day
    timer().ticksTaken = timer().gameTicks;
    Pass(1, 100);
    EXPECT_TRUE(TakeDayMessages().empty());
    Pass(1, 100);
    EXPECT_EQ(TakeDayMessages(), std::vector<uint32_t>{1});
    EXPECT_FLOAT_EQ(timer().dayFraction, 67.0f / 133.0f);
}

TEST_F(ClockTest, LongStallSendsAtMostTenDays) {
    g_config->SetWord(ConfigOffset::kGameSpeed, 7); // 6 ticks a day
    timer().ticksTaken = timer().gameTicks;
    Pass(200, 6 * 25 + 3);
    EXPECT_EQ(TakeDayMessages(), std::vector<uint32_t>{kMaxDaysPerMessage});
    EXPECT_FLOAT_EQ(timer().dayFraction, 0.5f); // the other 15 whole days are dropped
}

TEST_F(ClockTest, ClientMakesNoDayMessage) {
    CNetSession session;
    session.m_active = 1;
    session.m_isHost = 0;
    g_netSession = &session;
    timer().ticksTaken = timer().gameTicks;
    Pass(3, 5000);
    EXPECT_EQ(animationTicks, std::vector<uint32_t>{3});
    EXPECT_TRUE(g_scheduler.IsEmpty());
    EXPECT_EQ(timer().dayFraction, 0.0f);
}

TEST_F(ClockTest, CalendarWaitsWhileADatedMessageIsOverdue) {
    g_config->SetWord(ConfigOffset::kGameSpeed, 2);
    timer().currentDate = CDate(10, 3, 1600);
    timer().ticksTaken = timer().gameTicks;

    auto future = std::make_unique<COVSimpleEvent>(EVT_UNNAMED_178, g_broadcastId);
    future->SetDueDate(CDate(11, 3, 1600));
    g_scheduler.Post(std::move(future), false);
    Pass(1, 133);
    EXPECT_EQ(TakeDayMessages(),
              std::vector<uint32_t>{1}); // a future message does not hold the clock
    g_scheduler.Clear();

    auto due = std::make_unique<COVSimpleEvent>(EVT_UNNAMED_178, g_broadcastId);
    due->SetDueDate(CDate(10, 3, 1600));
    g_scheduler.Post(std::move(due), false);
    Pass(1, 133 * 50);
    EXPECT_EQ(g_scheduler.GetCount(), 1u); // only the overdue message
    EXPECT_EQ(timer().ticksTaken, timer().gameTicks.load());

    // The waiting time is not made up once the message has run.
    g_scheduler.Clear();
    Pass(1, 10);
    EXPECT_TRUE(TakeDayMessages().empty());
}

TEST_F(ClockTest, AdvanceDaysMakesMonthAndYearMessages) {
    struct Case {
        CDate start;
        uint32_t days;
        const char* end;
        const char* messages;
    };
    const Case cases[] = {
        {CDate(5, 3, 1600), 3, "1600-3-8", ""},
        {CDate(28, 3, 1600), 5, "1600-4-3", "21 1600-4-3"},
        {CDate(29, 11, 1600), 1, "1601-0-0", "21 1601-0-0|22 1601-0-0|177"},
        {CDate(10, 5, 1600), 400, "1601-6-20", "21 1601-6-20|22 1601-6-20|177"},
        {CDate(29, 11, 1792), 1, "1793-0-0", "21 1793-0-0|22 1793-0-0|177"},
        {CDate(29, 11, 1792), 2, "1793-0-0", ""},
        {CDate(0, 0, 1400), 1, "1492-0-0", "22 1492-0-0|177"},
    };
    for (const Case& c : cases) {
        g_frontEndSeen.clear();
        timer().currentDate = c.start;
        timer().AdvanceDays(c.days);
        EXPECT_EQ(DateText(timer().currentDate), c.end) << DateText(c.start) << " + " << c.days;
        EXPECT_EQ(g_frontEndSeen, c.messages) << DateText(c.start) << " + " << c.days;
    }
    EXPECT_EQ(g_scheduler.GetSendCount(), 0u); // made on every machine, never sent
}

TEST_F(ClockTest, TickLoopRunsOnceHereAndIsNeverSent) {
    CNetSession session;
    session.m_active = 1;
    g_netSession = &session;
    RunTickLoop();
    EXPECT_EQ(g_frontEndSeen, "23");
    EXPECT_EQ(g_scheduler.GetSendCount(), 0u);
    EXPECT_TRUE(g_scheduler.IsEmpty());
}
