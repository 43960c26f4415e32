// The host request dispatcher hands each request to the server of its
// category, on the host only; the game server keeps the six event flags.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "country/Country.h"
#include "engine/GameTimer.h"
#include "military/server/GameServer.h"
#include "military/server/HostDispatcher.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Scheduler.h"
#include "net/Session.h"
#include "world/Globals.h"

namespace {

std::vector<uint32_t> g_calls;

template <uint32_t kCategory> int Record(COVEvent&) {
    g_calls.push_back(kCategory);
    return static_cast<int>(kCategory) + 10;
}

class HostDispatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = g_hostServers;
        g_calls.clear();
        g_hostServers = {};
        g_hostServers[1] = &Record<1>;
        g_hostServers[2] = &Record<2>;
        g_hostServers[3] = &Record<3>;
        g_hostServers[5] = &Record<5>;
        g_hostServers[6] = &Record<6>;
        g_hostServers[8] = &Record<8>;
        g_hostServers[9] = &Record<9>;
    }
    void TearDown() override {
        g_hostServers = m_saved;
        g_netSession = nullptr;
    }
    static int Dispatch(uint32_t category) {
        CHostDispatcher dispatcher;
        COVSimpleEvent request(EVT_UNITMOVE_ADD_DEST, ObjectId(2, category));
        return dispatcher.DispatchHostRequest(request);
    }
    std::array<HostServerHandler, kHostRequestCategories> m_saved{};
};

TEST_F(HostDispatchTest, TheHostHandsEachRequestToTheServerOfItsCategory) {
    struct Case {
        uint32_t category;
        int answer;
        std::vector<uint32_t> calls;
    };
    const Case cases[] = {
        {1, 11, {1}},
        {3, 13, {3}},
        {9, 19, {9}},
        {4, 0, {}},
        {7, 0, {}},
        {10, 0, {}},
        {0, 0, {}},
        // Every server in turn; the answers are not used.
        {0xFFFFFFFFu, 0, {1, 2, 3, 5, 6, 8, 9}},
    };
    for (const Case& c : cases) {
        g_calls.clear();
        EXPECT_EQ(Dispatch(c.category), c.answer) << c.category;
        EXPECT_EQ(g_calls, c.calls) << c.category;
    }
}

TEST_F(HostDispatchTest, AClientHandlesNoRequest) {
    CNetSession session(nullptr);
    session.m_active = 1;
    session.m_isHost = 0;
    g_netSession = &session;
    for (uint32_t category : {1u, 3u, 0xFFFFFFFFu})
        EXPECT_EQ(Dispatch(category), 0) << category;
    EXPECT_TRUE(g_calls.empty());
}

class GameServerFlagsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_hooks = g_gameServerHooks;
        g_globals.eventFlags.fill(false);
        g_gameServer = new CGameServer;
    }
    void TearDown() override {
        delete g_gameServer;
        g_gameServer = nullptr;
        g_globals.eventFlags.fill(false);
        g_gameServerHooks = m_hooks;
        g_scheduler.Clear();
        DeleteAllCountries();
    }
    static void SetFlag(uint32_t flag, int32_t value) {
        auto event = std::make_unique<COVDataEvent>(EVT_SETEVENTFLAG, g_timerDateId);
        event->Payload().Set(SetEventFlagPayload::kValue, value);
        event->Payload().Set(SetEventFlagPayload::kFlag, flag);
        ExecuteEvent(std::move(event));
    }
    GameServerHooks m_hooks;
};

TEST_F(GameServerFlagsTest, AFlagIsSetByAValueAboveZeroAndClearedOtherwise) {
    struct Case {
        uint32_t flag;
        int32_t value;
        bool before;
        bool after;
    };
    const Case cases[] = {
        {1, 1, false, true}, {1, 7, false, true},  {1, -1, true, false},
        {5, 0, true, false}, {3, 0, false, false}, {2, 1, true, true},
    };
    for (const Case& c : cases) {
        g_globals.eventFlags[c.flag] = c.before;
        SetFlag(c.flag, c.value);
        EXPECT_EQ(g_gameServer->GetEventFlag(c.flag), c.after ? 1 : 0) << c.flag << " " << c.value;
    }
    // An index outside 0..5 changes nothing.
    g_globals.eventFlags.fill(false);
    SetFlag(6, 1);
    SetFlag(0xFFFFFFFFu, 1);
    for (uint32_t flag = 0; flag < CGameServer::kEventFlags; ++flag)
        EXPECT_EQ(g_gameServer->GetEventFlag(flag), 0) << flag;
    EXPECT_EQ(g_gameServer->GetEventFlag(6), 0);

    // The sender's value becomes 1 or 0 and reaches the flag everywhere.
    SendSetEventFlag(4, 9);
    EXPECT_EQ(g_gameServer->GetEventFlag(4), 1);
    SendSetEventFlag(4, 0);
    EXPECT_EQ(g_gameServer->GetEventFlag(4), 0);
    g_scheduler.Clear();
}

TEST_F(GameServerFlagsTest, ReligiousPeaceHidesTheTreatyUnlessPortugalOrSpainIsOfKindTwoOrThree) {
    g_globals.eventFlags[0] = true;
    EXPECT_EQ(g_gameServer->GetEventFlag(0), 1);
    g_globals.eventFlags[4] = true;
    EXPECT_EQ(g_gameServer->GetEventFlag(0), 0);
    g_gameServerHooks.hasSpecialKindCode = [](uint32_t country) { return country == 8; };
    EXPECT_EQ(g_gameServer->GetEventFlag(0), 0); // Spain does not exist
    AddCountry(std::make_unique<CCountry>(8));
    EXPECT_EQ(g_gameServer->GetEventFlag(0), 1);
    g_globals.eventFlags[0] = false;
    EXPECT_EQ(g_gameServer->GetEventFlag(0), 0);
}

TEST_F(GameServerFlagsTest, TheGameEndStopsTheClockAndOpensTheEndWithItsResult) {
    static uint32_t result = 0;
    g_gameServerHooks.gameEnd = [](uint32_t code) { result = code; };
    g_gameTimer = std::make_unique<CGameTimer>(15);
    g_gameTimer->running = 1;
    auto end = std::make_unique<COVDataEvent>(EVT_UNNAMED_303, g_serverId);
    end->Payload().Set(GameEndPayload::kResult, 4u);
    ExecuteEvent(std::move(end));
    EXPECT_EQ(g_gameTimer->running.load(), 0);
    EXPECT_EQ(result, 4u);
    g_gameTimer.reset();
}

} // namespace

namespace {

// A ping names a slot; one beyond the session's slot count is dropped even
// where the slot table has a record.
TEST(GameServerPingTest, APingBeyondTheSlotCountChangesNoSlot) {
    CNetSession session(nullptr);
    session.m_active = 1;
    session.m_isHost = 1;
    session.m_slotCount = 2;
    for (uint32_t i = 0; i < 3; ++i) {
        NetSlot& slot = session.GetSlot(i);
        slot.playerId = i + 1;
        slot.present = 1;
        slot.ready = 1;
    }
    session.m_localSlot = 0;
    session.GetSlot(2).wait = 150;
    session.GetSlot(1).wait = 150;
    g_netSession = &session;
    CGameServer server;
    for (uint32_t slot : {2u, 1u}) {
        COVTimerDateEvent ping(EVT_PING, g_timerDateId, slot);
        server.HandleMessage(ping);
    }
    EXPECT_EQ(session.GetSlot(2).wait, 150);
    EXPECT_EQ(session.GetSlot(1).wait, 50);
    g_netSession = nullptr;
}

} // namespace
