// The session on one machine: what it does with bad records and indexes from
// the network, departures, lost sessions, the lag counters, the save
// announcement, chat groups, the holder and the forwarders, and a flood.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "engine/Config.h"
#include "engine/Format.h"
#include "engine/TextDatabase.h"
#include "net/EventTypes.h"
#include "net/NetEvent.h"
#include "net/Posting.h"
#include "net/Receivers.h"
#include "net/Scheduler.h"
#include "net/Session.h"
#include "net/SessionHolder.h"
#include "tests/TestSupport.h"
#include "tests/net/ScopedSeams.h"
#include "tests/net/SessionPeer.h"

namespace {

using platform::net::Message;
using platform::net::MessageKind;

using nettest::g_game;

// Records the broadcast messages of this machine (in the open menu's slot).
struct Recorder {
    std::vector<uint32_t> types;
    std::vector<std::string> chats;
};
Recorder g_recorder;

int Record(COVEvent& event) {
    g_recorder.types.push_back(event.GetType());
    if (event.GetType() == EVT_APPMSG_CHATSTRING)
        g_recorder.chats.push_back(static_cast<const COVChatEvent&>(event).GetText());
    return EVENT_NOT_HANDLED;
}

// Who plays each country, and the tags the departure line names them by.
std::array<uint32_t, kNetCountrySlots> g_marks{};

const char* TestTag(uint32_t number) {
    return number == 5 ? "ENG" : nullptr;
}

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_scheduler.Clear();
        g_netSession = &session;
        g_recorder = {};
        g_broadcastReceivers[kSlotGameMenu] = &Record;
        g_marks.fill(0);
        g_sessionCountries.tag = &TestTag;
        g_sessionCountries.clearMarks = [] { g_marks.fill(0); };
        g_sessionCountries.setMark = [](uint32_t number, uint32_t mark) {
            g_marks.at(number) = mark;
        };
        g_sessionCountries.mark = [](uint32_t number) { return g_marks.at(number); };
        session.SetSendFunction([this](const std::vector<uint8_t>& block) {
            blocks.push_back(block);
            return true;
        });
    }
    void TearDown() override {
        g_scheduler.Clear();
        g_scheduler.FlushSend();
        g_netSession = nullptr;
    }

    // An active session with the players; this machine is the first.
    void Players(std::vector<std::string> names, bool host) {
        session.m_active = 1;
        session.m_isHost = host;
        session.m_slotCount = static_cast<int32_t>(names.size());
        for (size_t i = 0; i < names.size(); ++i) {
            NetSlot& slot = session.GetSlot(static_cast<uint32_t>(i));
            slot.playerId = static_cast<uint32_t>(i + 1);
            slot.name = names[i];
            slot.present = 1;
        }
        session.m_localPlayerId = 1;
        session.m_localSlot = 0;
    }

    // Runs the due messages and sends; what went out is rebuilt into sent.
    void Run() {
        g_scheduler.RunDue();
        g_scheduler.FlushSend();
        for (const std::vector<uint8_t>& block : blocks)
            if (auto event = ReceiveEvent(block.data(), block.size()))
                sent.push_back(std::move(event));
        blocks.clear();
    }

    static std::unique_ptr<COVEvent> PlayerData(uint32_t index, const std::string& name,
                                                int32_t count) {
        auto event = std::make_unique<COVDataEvent>(EVT_PLAYER_DATA, g_broadcastId);
        COVEventData& data = event->Payload();
        data.Set(PlayerDataPayload::kSlot, index);
        data.Set(PlayerDataPayload::kPlayer, 77);
        // The name's bytes as they are, up to the whole field.
        data.SetBytes(PlayerDataPayload::kName.offset,
                      reinterpret_cast<const uint8_t*>(name.data()),
                      std::min<size_t>(name.size(), PlayerDataPayload::kName.size));
        data.Set(PlayerDataPayload::kCountry, 5);
        data.Set(PlayerDataPayload::kSlotCount, count);
        return event;
    }

    nettest::ScopedSeams seams;
    CNetSession session{nullptr};
    Recorder& recorder = g_recorder;
    std::vector<std::vector<uint8_t>> blocks;
    std::vector<std::unique_ptr<COVEvent>> sent;
};

TEST_F(SessionTest, PlayerDataWithBadIndexesCountsOrNamesIsRefusedOrCut) {
    const std::string longName(80, 'x'); // no terminating zero in the 64-byte field
    struct Case {
        const char* what;
        uint32_t index;
        std::string name;
        int32_t count;
        bool stored;
        int32_t slotCount;
        std::string storedName;
    } cases[] = {
        {"a good record", 2, "Bob", 3, true, 3, "Bob"},
        {"slot index 16", 16, "Bob", 3, false, 1, ""},
        {"slot index 0xFFFFFFFF", 0xFFFFFFFF, "Bob", 3, false, 1, ""},
        {"a count of 99", 1, "Bob", 99, true, 16, "Bob"},
        {"a count below its own slot", 4, "Bob", 0, true, 5, "Bob"},
        {"a name without zero", 0, longName, 1, true, 1, std::string(63, 'x')},
    };
    for (const Case& c : cases) {
        CNetSession fresh(nullptr);
        const bool stored = fresh.UpdateSlot(*PlayerData(c.index, c.name, c.count));
        EXPECT_EQ(stored, c.stored) << c.what;
        EXPECT_EQ(fresh.m_slotCount, c.slotCount) << c.what;
        if (c.stored) {
            EXPECT_EQ(fresh.GetSlot(c.index).name.value_or("?"), c.storedName) << c.what;
            EXPECT_EQ(fresh.GetSlot(c.index).playerId, 77u) << c.what;
            EXPECT_EQ(fresh.GetSlot(c.index).country, 5) << c.what;
        }
    }
}

TEST_F(SessionTest, PlayerStartAndPingWithIndexesOutOfRangeChangeNothing) {
    Players({"Ann", "Bob"}, true);
    session.GetSlot(1).ready = 1;
    session.AddWaitTime(0, 150);
    for (uint32_t index : {2u, 16u, 0xFFFFFFFFu}) {
        COVDataEvent start(EVT_PLAYER_START, g_broadcastId);
        start.Payload().Set(PlayerStartPayload::kSlot, index);
        EXPECT_EQ(session.HandleEvent(start), EVENT_CONSUMED) << index;
        session.ReduceWaitTime(index); // a ping's answer (the game server's)
    }
    EXPECT_EQ(session.GetSlot(0).started + session.GetSlot(1).started, 0);
    EXPECT_EQ(session.GetSlot(1).wait, 150);
    Run();
    EXPECT_TRUE(sent.empty());

    // In range: the ping lowers by 100, never below 0; both starts start the timers.
    session.ReduceWaitTime(1);
    EXPECT_EQ(session.GetSlot(1).wait, 50);
    session.ReduceWaitTime(1);
    EXPECT_EQ(session.GetSlot(1).wait, 0);
    for (uint32_t index : {0u, 1u}) {
        COVDataEvent start(EVT_PLAYER_START, g_broadcastId);
        start.Payload().Set(PlayerStartPayload::kSlot, index);
        session.HandleEvent(start);
    }
    Run();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0]->GetType(), EVT_START_GAME_TIMER);
}

TEST_F(SessionTest, LagCountsOnlyTheOtherReadySlots) {
    Players({"Ann", "Bob", "Cid"}, true);
    session.GetSlot(0).ready = 1; // the local slot never counts
    session.GetSlot(1).ready = 1;
    EXPECT_FALSE(session.AddWaitTime(100, 1099));
    EXPECT_EQ(session.GetSlot(0).wait, 0);
    EXPECT_EQ(session.GetSlot(1).wait, 999);
    EXPECT_EQ(session.GetSlot(2).wait, 0);
    EXPECT_TRUE(session.AddWaitTime(0, 1));
}

TEST_F(SessionTest, ADepartureIsMatchedByPlayerIdAndItsNameIsNeverAFormat) {
    sessiontest::LoadDemoTexts(test::DemoWorldDir().string());
    Players({"Ann", "Player", "Player"}, true);
    session.GetSlot(2).country = 5;
    session.GetSlot(2).ready = 1;
    g_game.running = true;

    Message unknown{MessageKind::PlayerDestroyed, 9, "Player", {}, {}};
    session.HandleNetworkMessage(unknown);
    Run();
    EXPECT_TRUE(recorder.chats.empty());

    Message left{MessageKind::PlayerDestroyed, 3, "%n%s%x", {}, {}};
    session.HandleNetworkMessage(left);
    Run();
    EXPECT_EQ(session.GetSlot(2).ready, 0);
    EXPECT_EQ(session.GetSlot(1).ready, 0);
    ASSERT_EQ(recorder.chats.size(), 1u);
    EXPECT_EQ(recorder.chats[0], FormatDataText("%s (%s) has left the game.", {"%n%s%x", "ENG"}));
    // Every machine learns of it from its own network: nothing is sent on.
    EXPECT_TRUE(sent.empty());

    // In the lobby the host removes that very slot.
    g_game.running = false;
    g_game.inFrontEnd = true;
    Message lobbyLeft{MessageKind::PlayerDestroyed, 2, "Player", {}, {}};
    session.HandleNetworkMessage(lobbyLeft);
    Run();
    ASSERT_EQ(session.m_slotCount, 2);
    EXPECT_EQ(session.GetSlot(1).playerId, 3u);
    EXPECT_EQ(recorder.chats.back(), "<Player has left>");
    EXPECT_EQ(session.m_playersChanged, 1);
}

// In a running game a client shows the departure of another client itself,
// once, as the host does; the host's own departure gives the host line.
TEST_F(SessionTest, EveryMachineShowsAClientsDepartureOnce) {
    sessiontest::LoadDemoTexts(test::DemoWorldDir().string());
    Players({"Ann", "Bob", "Cid"}, false);
    session.m_localPlayerId = 2;
    session.m_localSlot = 1;
    session.GetSlot(2).country = 5;
    g_game.running = true;

    session.HandleNetworkMessage(Message{MessageKind::PlayerDestroyed, 3, "Cid", {}, {}});
    Run();
    ASSERT_EQ(recorder.chats.size(), 1u);
    EXPECT_EQ(recorder.chats[0], "Cid (ENG) has left the game.");
    EXPECT_TRUE(sent.empty());

    session.HandleNetworkMessage(Message{MessageKind::PlayerDestroyed, 1, "Ann", {}, {}});
    Run();
    ASSERT_EQ(recorder.chats.size(), 2u);
    EXPECT_EQ(recorder.chats[1], "The host has left the game.");
}

// The network keeps chat groups on this machine alone, so the session tells
// of its own new group, in the lobby, with the group line.
TEST_F(SessionTest, AGroupMadeInTheLobbyGivesTheGroupLine) {
    platform::net::LoopbackHub hub;
    platform::net::NetConfig config;
    config.port = 0;
    CNetSession host(hub.CreateNetwork(config));
    g_netSession = &host;
    ASSERT_TRUE(host.HostSession("Ann"));
    g_game.inFrontEnd = true;
    g_game.hasFrontEnd = true;
    host.CreateChatGroup("team", 0);
    Run();
    ASSERT_NE(host.GetChatGroup(0), nullptr);
    EXPECT_EQ(recorder.chats, std::vector<std::string>{"%%707Group Created\n"});
    EXPECT_EQ(std::count(recorder.types.begin(), recorder.types.end(), EVT_UNNAMED_7), 1);

    // In a running game the group is made without a line.
    g_game.inFrontEnd = false;
    g_game.hasFrontEnd = false;
    host.CreateChatGroup("team", 1);
    Run();
    EXPECT_EQ(recorder.chats.size(), 1u);
    host.Close();
}

TEST_F(SessionTest, ALostSessionReachesTheLobbyThroughTheBroadcastChain) {
    // The lobby is the front end's slot.
    static std::vector<uint32_t> lobby;
    lobby.clear();
    g_broadcastReceivers[kSlotFrontEnd] = [](COVEvent& event) {
        lobby.push_back(event.GetType());
        return EVENT_CONSUMED;
    };
    g_game.hasFrontEnd = true;
    g_game.inFrontEnd = true;
    Players({"Ann", "Bob"}, false);
    session.HandleNetworkMessage(Message{MessageKind::SessionLost, 0, "", {}, {}});
    Run();
    EXPECT_EQ(lobby, std::vector<uint32_t>{EVT_SESSION_REMOVED});

    // Without a front end nobody is told.
    g_game.hasFrontEnd = false;
    session.HandleNetworkMessage(Message{MessageKind::SessionLost, 0, "", {}, {}});
    Run();
    EXPECT_EQ(lobby.size(), 1u);
}

TEST_F(SessionTest, TheSaveAnnouncementSumsEveryByteUnsigned) {
    test::ScopedGameDir dir;
    dir.WriteFile("scenarios/save.ovg", std::string("\x01\xFF\x80zz", 5));
    Players({"Ann"}, true);
    session.AnnounceSaveGame("scenarios\\save", 1000);
    Run();
    ASSERT_EQ(sent.size(), 1u);
    const COVScenarioEvent announced(*sent[0]);
    EXPECT_EQ(announced.GetStartValue(), 1000u);
    EXPECT_EQ(announced.GetFileName(), "scenarios\\save");
    EXPECT_EQ(announced.GetFileSize(), 5u);
    EXPECT_EQ(announced.GetByteSum(), 1000u + 0x01 + 0xFF + 0x80 + 'z' + 'z');

    test::BoxRecorder boxes;
    session.AnnounceSaveGame("missing", 1);
    Run();
    EXPECT_EQ(sent.size(), 1u);
}

TEST_F(SessionTest, ChatGoesOnlyToAnOpenGroup) {
    EXPECT_EQ(SendChatToGroup(nullptr, "hello"), EVENT_NOT_HANDLED);
    ChatGroupEntry closed{5, 0};
    EXPECT_EQ(SendChatToGroup(&closed, "hello"), EVENT_NOT_HANDLED);
    Run();
    EXPECT_TRUE(sent.empty());

    Players({"Ann", "Bob"}, false);
    session.m_localSlot = 1;
    ChatGroupEntry open{5, 1};
    SendChatToGroup(&open, "hello");
    Run();
    ASSERT_EQ(sent.size(), 1u);
    const COVChatEvent chat(*sent[0]);
    EXPECT_EQ(chat.GetText(), "hello");
    EXPECT_EQ(chat.GetSender(), 1u);
    EXPECT_EQ(chat.GetReceiver(), ObjectId(1, 5));

    // Without a session no group is made; indexes of 10 or more are ignored.
    CNetSession none(nullptr);
    none.CreateChatGroup("g", 0);
    none.CreateChatGroup("g", 10);
    none.SendGroupChat("x", 10);
    EXPECT_EQ(none.GetChatGroup(0), nullptr);
    EXPECT_EQ(none.GetChatGroup(10), nullptr);
}

TEST_F(SessionTest, HolderCreatesOnceAndPlayerNamesFollowTheSlotsOrTheSettings) {
    g_netSession = nullptr;
    EXPECT_EQ(GetSessionPlayerName(1), nullptr);
    EXPECT_EQ(JoinNetSession("x", 0), 1);
    {
        CNetSessionHolder holder(1);
        EXPECT_EQ(g_netSession, nullptr);
        EXPECT_TRUE(holder.Create());
        CNetSession* first = g_netSession;
        ASSERT_NE(first, nullptr);
        EXPECT_TRUE(holder.Create());
        EXPECT_EQ(g_netSession, first);
        holder.Destroy();
        EXPECT_EQ(g_netSession, nullptr);
    }

    g_config = std::make_unique<CConfig>();
    g_config->SetPlayerName("Ann");
    g_marks[4] = 1;
    g_marks[6] = 2;
    EXPECT_STREQ(GetSessionPlayerName(4), "Ann");
    EXPECT_EQ(GetSessionPlayerName(6), nullptr);
    EXPECT_EQ(GetSessionPlayerName(-1), nullptr);
    EXPECT_EQ(GetSessionPlayerName(99), nullptr);

    g_netSession = &session;
    Players({"Ann", "Bob"}, true);
    session.GetSlot(1).country = 6;
    EXPECT_STREQ(GetSessionPlayerName(6), "Bob");
    EXPECT_EQ(GetSessionPlayerName(4), nullptr);

    session.DumpSlots();
    EXPECT_EQ(g_marks[6], 2u);
    EXPECT_EQ(g_marks[4], 0u);
    g_config.reset();
}

TEST_F(SessionTest, FailedHostAndJoinLeaveTheSessionClosed) {
    platform::net::LoopbackHub hub;
    platform::net::NetConfig config;
    config.port = 0;
    CNetSession host(hub.CreateNetwork(config));
    ASSERT_TRUE(host.HostSession("Ann"));
    ASSERT_NE(host.GetNetwork(), nullptr);

    config.port = host.GetNetwork()->Port();
    CNetSession second(hub.CreateNetwork(config)); // the port is taken
    EXPECT_FALSE(second.HostSession("Zed"));
    EXPECT_EQ(second.GetNetwork(), nullptr);
    EXPECT_FALSE(second.IsActive());
    EXPECT_FALSE(second.HostSession("Zed"));

    CNetSession client(hub.CreateNetwork(config));
    EXPECT_EQ(client.JoinSession("Bob", 0), 1); // nothing enumerated
    client.m_sessionCount = 1;                  // an entry whose host is gone
    EXPECT_EQ(client.JoinSession("Bob", 0), 1);
    EXPECT_EQ(client.GetNetwork(), nullptr);
    EXPECT_FALSE(client.IsActive());
}

TEST_F(SessionTest, AFloodIsReceivedWholeOverSeveralPollsOrItsSenderDropped) {
    for (uint32_t limit : {0u, 500u}) {
        platform::net::LoopbackHub hub;
        platform::net::NetConfig config;
        config.port = 0;
        config.floodMessages = limit;
        CNetSession host(hub.CreateNetwork(config));
        ASSERT_TRUE(host.HostSession("Ann"));
        g_netSession = &host;
        g_game.inFrontEnd = true;
        host.ResetSlots();
        host.EnumPlayers();

        auto flooder = hub.CreateNetwork(config);
        ASSERT_EQ(flooder->Join("127.0.0.1:" + std::to_string(host.GetNetwork()->Port()), 0, "Bob"),
                  platform::net::JoinResult::Joined);
        host.Poll();
        host.EnumPlayers();
        ASSERT_EQ(host.m_slotCount, 2);
        Run();

        COVTimerDateEvent event(EVT_PAUSEADD, g_broadcastId, 1);
        const std::vector<uint8_t> block = COVNetEvent(event).GetBlock();
        constexpr int kMessages = 10000;
        for (int i = 0; i < kMessages; ++i)
            flooder->Send(block.data(), block.size());
        recorder.types.clear();
        for (int poll = 0; poll < 50; ++poll) {
            host.Poll();
            Run();
        }
        const auto received =
            std::count(recorder.types.begin(), recorder.types.end(), EVT_PAUSEADD);
        if (limit == 0) {
            EXPECT_EQ(received, kMessages);
            EXPECT_EQ(host.m_slotCount, 2);
        } else {
            EXPECT_LE(received, 500);
            EXPECT_EQ(host.m_slotCount, 1) << "the flooder is dropped";
            EXPECT_EQ(recorder.chats.back(), "<Bob has left>");
        }
        g_netSession = &session;
    }
}

} // namespace
