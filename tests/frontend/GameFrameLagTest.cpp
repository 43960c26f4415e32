// The game frame's lag accounting over a network game: the counters of the
// other ready players grow by the ticks from the clock update of the frame.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/GameTimer.h"
#include "frontend/shell/Shell.h"
#include "net/Event.h"
#include "net/Scheduler.h"
#include "net/Session.h"

namespace {

// An input message that lets the clock run on while the frame runs its
// input, after the clock update and before the due messages.
class ClockRunsOn : public COVEvent {
public:
    ClockRunsOn() : COVEvent(std::make_unique<COVEventData>(EVENT_HEAD_SIZE)) {}
    int Execute() override {
        g_gameTimer->gameTicks += 40;
        return EVENT_NOT_HANDLED;
    }
};

TEST(GameFrameLag, CountsFromTheTicksTheClockUpdateNoted) {
    g_scheduler.Clear();
    g_gameTimer = std::make_unique<CGameTimer>(15);
    g_gameTimer->gameTicks = 1000;
    g_gameTimer->ticksTaken = 1000;
    CNetSession session(nullptr);
    session.SetSendFunction([](const std::vector<uint8_t>&) { return true; });
    session.m_active = 1;
    session.m_isHost = 1;
    session.m_slotCount = 2;
    session.m_localSlot = 0;
    session.GetSlot(1).ready = 1;
    g_netSession = &session;
    g_shell.lastPingTicks = 1000;

    g_scheduler.QueueInput(std::make_unique<ClockRunsOn>());
    RunGameFrame();
    EXPECT_EQ(g_gameTimer->ticksNoted, 1000u);
    EXPECT_EQ(session.GetSlot(1).wait, 40);
    EXPECT_EQ(session.GetSlot(0).wait, 0);

    g_netSession = nullptr;
    g_gameTimer.reset();
    g_scheduler.Clear();
    g_scheduler.FlushSend();
}

} // namespace
