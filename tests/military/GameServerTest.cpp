#include "military/server/GameServer.h"

#include <gtest/gtest.h>

#include "net/EventTypes.h"
#include "net/Session.h"

namespace {

// A machine's ping reaches the game server, which lowers the lag counter of
// the ping's slot in the session.
TEST(GameServerTest, APingLowersItsSlotsLagAndIndexesOutOfRangeChangeNothing) {
    CNetSession session(nullptr);
    session.m_active = 1;
    session.m_isHost = 1;
    session.m_slotCount = 2;
    for (uint32_t i = 0; i < 2; ++i) {
        NetSlot& slot = session.GetSlot(i);
        slot.playerId = i + 1;
        slot.name = i == 0 ? "Ann" : "Bob";
        slot.present = 1;
    }
    session.m_localPlayerId = 1;
    session.m_localSlot = 0;
    session.GetSlot(1).ready = 1;
    session.AddWaitTime(0, 150);
    g_netSession = &session;

    CGameServer server;
    for (uint32_t index : {2u, 16u, 0xFFFFFFFFu}) {
        COVTimerDateEvent ping(EVT_PING, g_timerDateId, index);
        EXPECT_EQ(server.HandleMessage(ping), EVENT_CONSUMED) << index;
    }
    EXPECT_EQ(session.GetSlot(1).wait, 150);

    // In range: the ping lowers by 100, never below 0.
    COVTimerDateEvent ping(EVT_PING, g_timerDateId, 1);
    EXPECT_EQ(server.HandleMessage(ping), EVENT_CONSUMED);
    EXPECT_EQ(session.GetSlot(1).wait, 50);
    server.HandleMessage(ping);
    EXPECT_EQ(session.GetSlot(1).wait, 0);

    // Without a session the ping is still taken.
    g_netSession = nullptr;
    EXPECT_EQ(server.HandleMessage(ping), EVENT_CONSUMED);
}

} // namespace
