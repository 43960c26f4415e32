#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "country/Country.h"
#include "dialogs/GameFrame.h"
#include "dialogs/GameMenu.h"
#include "engine/Date.h"
#include "engine/GameTimer.h"
#include "engine/ObjectId.h"
#include "frontend/FrontEnd.h"
#include "military/GameServer.h"
#include "military/HostDispatcher.h"
#include "net/Event.h"
#include "net/EventTypes.h"
#include "net/Scheduler.h"
#include "net/Session.h"
#include "ui/MainScreen.h"
#include "world/GlobalsHandler.h"
#include "world/Map.h"
#include "world/Scenario.h"

namespace {

// Every recording receiver writes its name here when a message reaches it.
std::vector<std::string> g_log;

// A receiver of the given base class that records its name and answers as
// told.
template <class Base> class Recording : public Base {
public:
    explicit Recording(std::string name, int answer = EVENT_NOT_HANDLED)
        : m_name(std::move(name)), m_answer(answer) {}
    int HandleMessage(COVEvent&) override {
        g_log.push_back(m_name);
        return m_answer;
    }

private:
    std::string m_name;
    int m_answer;
};

class RecordingScenario : public CScenario {
public:
    int HandleMessage(COVEvent& event) override {
        g_log.push_back("scenario");
        return CScenario::HandleMessage(event);
    }
};

class RecordingDispatcher : public CHostDispatcher {
public:
    int HandleMessage(COVEvent&) override {
        g_log.push_back("dispatcher");
        return EVENT_CONSUMED; // not used by the chain
    }
    int DispatchHostRequest(COVEvent&) override {
        g_log.push_back("request");
        return EVENT_CONSUMED;
    }
};

class RecordingCountry : public CCountry {
public:
    RecordingCountry(uint32_t number, int answer) : CCountry(number), m_answer(answer) {}
    int HandleMessage(COVEvent&) override {
        g_log.push_back("country" + std::to_string(GetNumber()));
        return m_answer;
    }

private:
    int m_answer;
};

// A registered game object with its own message handler; records its death.
class RecordingObject : public CIdObject, public CMessageReceiver {
public:
    explicit RecordingObject(const ObjectId& id) : CIdObject(id) {}
    ~RecordingObject() override { g_log.push_back("object deleted"); }
    int HandleMessage(COVEvent&) override {
        g_log.push_back("object");
        return EVENT_CONSUMED;
    }
};

class RecordingEntity : public CIdEntity, public CMessageReceiver {
public:
    explicit RecordingEntity(const ObjectId& id) { SetId(id); }
    ~RecordingEntity() override { g_log.push_back("entity deleted"); }
    int HandleMessage(COVEvent&) override {
        g_log.push_back("entity");
        return EVENT_CONSUMED;
    }
};

class RecordingServer : public CGameServer {
public:
    int HandleMessage(COVEvent&) override {
        g_log.push_back("server");
        return EVENT_CONSUMED;
    }
};

// Installs a recording receiver in every slot of the delivery and takes
// them all out again afterwards.
class EventDeliveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        g_scheduler.Clear();
        g_scheduler.FlushSend();
        InitIdRegistries(g_nullId);
        g_mainScreen = &mainScreen;
        g_frontEnd = &frontEnd;
        g_hostDispatcher = &dispatcher;
        g_map = &map;
        g_globalsHandler = &globals;
        g_gameFrame = &gameFrame;
        g_gameServer = &server;
        g_scenario = std::make_unique<RecordingScenario>();
        AddCountry(std::make_unique<RecordingCountry>(5, EVENT_NOT_HANDLED));
        AddCountry(std::make_unique<RecordingCountry>(2, EVENT_NOT_HANDLED));
    }

    void TearDown() override {
        g_openGameMenu = nullptr;
        g_mainScreen = nullptr;
        g_frontEnd = nullptr;
        g_hostDispatcher = nullptr;
        g_map = nullptr;
        g_globalsHandler = nullptr;
        g_gameFrame = nullptr;
        g_gameServer = nullptr;
        g_scenario.reset();
        g_gameStarted = 0;
        g_gameTimer.reset();
        DeleteAllCountries();
        g_scheduler.Clear();
        g_scheduler.FlushSend();
        FreeIdRegistries();
    }

    // A running game that has received its game-started message.
    void StartGame() {
        g_gameStarted = 1;
        g_scenario->gameStarted = 1;
    }

    static int Run(uint32_t type, const ObjectId& receiver) {
        COVSimpleEvent event(type, receiver);
        return event.Execute();
    }

    Recording<CMainScreen> mainScreen{"mainscreen", 7};
    Recording<CFrontEnd> frontEnd{"frontend", 5};
    RecordingDispatcher dispatcher;
    Recording<CMap> map{"map", EVENT_CONSUMED};
    Recording<CGlobalsHandler> globals{"globals", EVENT_CONSUMED};
    Recording<CGameFrame> gameFrame{"frame"};
    RecordingServer server;
};

using Log = std::vector<std::string>;

TEST(EventPayloadTest, HeadIsLittleEndianAndByteExact) {
    COVSimpleEvent event(EVT_GAME_STARTED, ObjectId(4713, 0x01020304));
    event.Payload().SetBytes(EVENT_OFS_DUE_DATE, std::vector<uint8_t>{9, 9, 9, 9}.data(), 4);
    event.SetDueDate(CDate(29, 11, 1600));

    const std::vector<uint8_t> expected = {78,   0,    0,    0,    9, 9, 9, 9, 29, 11,
                                           0x40, 0x06, 0x69, 0x12, 0, 0, 4, 3, 2,  1};
    ASSERT_EQ(event.GetPayloadSize(), 20);
    EXPECT_EQ(std::vector<uint8_t>(event.Payload().Bytes(), event.Payload().Bytes() + 20),
              expected);
    EXPECT_EQ(event.GetType(), 78u);
    EXPECT_EQ(event.GetReceiver(), ObjectId(4713, 0x01020304));
    EXPECT_EQ(event.GetDueDate(), CDate(29, 11, 1600));
    EXPECT_EQ(event.GetSendFlag(), 0);
    EXPECT_EQ(event.GetLocalFlag(), 1);
}

// Access outside the payload is a fault of the caller: a debug build stops
// there; a release build reads zero and drops the write, so a payload that
// arrived shorter than its layout is never overrun.
TEST(EventPayloadDeathTest, FieldsOutsideThePayloadAssertOrReadZeroAndAreNotWritten) {
    COVProvinceEvent event(EVT_SET_IN_PROVINCE, ObjectId(4712, 1), 0x11223344);
    COVEventData& data = event.Payload();
    const size_t last = COVProvinceEvent::kProvince.offset; // the last 4 bytes
    const size_t straddling = last + 2;
    const size_t beyond = last + 380;
    const char* outside = "outside the payload";
    EXPECT_DEBUG_DEATH(data.SetU32(straddling, 0xFFFFFFFF), outside); // dropped whole
    EXPECT_DEBUG_DEATH(data.SetU32(beyond, 0xFFFFFFFF), outside);
    EXPECT_EQ(data.GetU32(last), 0x11223344u);
    EXPECT_EQ(data.GetU16(straddling), 0x1122);
    EXPECT_DEBUG_DEATH(EXPECT_EQ(data.GetU32(straddling), 0u), outside);
    EXPECT_DEBUG_DEATH(EXPECT_EQ(data.GetU32(beyond), 0u), outside);
    // Its number would lie beyond the end.
    EXPECT_DEBUG_DEATH(EXPECT_EQ(data.GetId(last), ObjectId()), outside);
    EXPECT_DEBUG_DEATH(EXPECT_EQ(data.Get(PayloadField<ObjectId>{"id", last}), ObjectId()),
                       outside);

    // Cut at the end of the payload.
    EXPECT_DEBUG_DEATH(data.SetText(last, 40, "abcdefgh"), outside);
    EXPECT_DEBUG_DEATH(EXPECT_EQ(data.GetText(last, 40), "abcd"), outside);
    EXPECT_EQ(data.Size(), 24u);
}

TEST(EventPayloadTest, CopyTakesThePayloadAndResetsTheFlags) {
    COVChatEvent chat("hello", 12, g_allPlayersChatId);
    chat.SetSendFlag(1);
    chat.SetLocalFlag(0);
    COVEvent copy(chat);
    EXPECT_EQ(copy.GetPayloadSize(), chat.GetPayloadSize());
    EXPECT_EQ(0,
              std::memcmp(copy.Payload().Bytes(), chat.Payload().Bytes(), chat.GetPayloadSize()));
    EXPECT_EQ(copy.GetSendFlag(), 0);
    EXPECT_EQ(copy.GetLocalFlag(), 1);
}

TEST_F(EventDeliveryTest, NullReceiverIsDroppedEvenWithTheSendFlag) {
    COVSimpleEvent event(EVT_GAME_END, g_nullId);
    event.SetSendFlag(1);
    EXPECT_EQ(event.Execute(), 0);
    EXPECT_EQ(g_scheduler.GetSendCount(), 0u);
    EXPECT_TRUE(g_log.empty());
}

TEST_F(EventDeliveryTest, SendOnlyCopyGoesToTheSendListAlone) {
    COVSimpleEvent event(EVT_GAME_END, g_broadcastId);
    event.SetSendFlag(1);
    event.SetLocalFlag(0);
    EXPECT_EQ(event.Execute(), 0);
    EXPECT_EQ(g_scheduler.GetSendCount(), 1u);
    EXPECT_TRUE(g_log.empty());

    event.SetLocalFlag(1);
    EXPECT_EQ(event.Execute(), 5); // the front end's answer
    EXPECT_EQ(g_scheduler.GetSendCount(), 2u);
    EXPECT_EQ(g_log, Log{"frontend"});
}

TEST_F(EventDeliveryTest, BroadcastChainWhileTheGameRuns) {
    StartGame();
    EXPECT_EQ(Run(EVT_GAME_END, g_broadcastId), 0);
    EXPECT_EQ(g_log,
              (Log{"scenario", "dispatcher", "map", "globals", "frame", "country5", "country2"}));
}

TEST_F(EventDeliveryTest, BroadcastBeforeTheGameStartedStopsAfterTheSession) {
    g_gameStarted = 1;
    EXPECT_EQ(Run(EVT_REFRESHWINDOWS, g_broadcastId), 0);
    EXPECT_EQ(g_log, (Log{"scenario", "dispatcher"}));

    // The game-started message itself opens the rest of the chain.
    g_log.clear();
    Run(EVT_GAME_STARTED, g_broadcastId);
    EXPECT_EQ(g_log,
              (Log{"scenario", "dispatcher", "map", "globals", "frame", "country5", "country2"}));
}

TEST_F(EventDeliveryTest, FirstCountryThatAnswersEndsTheChain) {
    StartGame();
    DeleteAllCountries();
    AddCountry(std::make_unique<RecordingCountry>(5, EVENT_CONSUMED));
    AddCountry(std::make_unique<RecordingCountry>(2, EVENT_CONSUMED));
    EXPECT_EQ(Run(EVT_GAME_END, g_broadcastId), EVENT_CONSUMED);
    EXPECT_EQ(g_log.back(), "country5");

    // A game frame that takes the message keeps it from the countries.
    Recording<CGameFrame> takingFrame("frame", 9);
    g_gameFrame = &takingFrame;
    g_log.clear();
    EXPECT_EQ(Run(EVT_GAME_END, g_broadcastId), 9);
    EXPECT_EQ(g_log.back(), "frame");
}

TEST_F(EventDeliveryTest, OpenMenuIsOfferedFirst) {
    StartGame();
    Recording<CGameMenu> menu("menu", 4);
    g_openGameMenu = &menu;
    EXPECT_EQ(Run(EVT_GAME_END, g_broadcastId), 4);
    EXPECT_EQ(g_log, Log{"menu"});

    Recording<CGameMenu> passingMenu("menu");
    g_openGameMenu = &passingMenu;
    g_log.clear();
    Run(EVT_GAME_WINNER, g_broadcastId);
    EXPECT_EQ(g_log, (Log{"menu", "mainscreen"}));
}

TEST_F(EventDeliveryTest, GameWinnerGoesToTheMainScreenAlone) {
    StartGame();
    EXPECT_EQ(Run(EVT_GAME_WINNER, g_broadcastId), 7);
    EXPECT_EQ(g_log, Log{"mainscreen"});
}

TEST_F(EventDeliveryTest, FrontEndTakesBroadcastsWhileNoGameRuns) {
    EXPECT_EQ(Run(EVT_GAME_END, g_broadcastId), 5);
    EXPECT_EQ(g_log, Log{"frontend"});
    g_frontEnd = nullptr;
    EXPECT_EQ(Run(EVT_GAME_END, g_broadcastId), 0);
}

TEST_F(EventDeliveryTest, StartGameTimerResumesAnArmedClock) {
    StartGame();
    g_scenario->waitingForStart = 1;
    g_gameTimer = std::make_unique<CGameTimer>(15);

    // Not armed: an ordinary broadcast, the clock stays stopped.
    EXPECT_EQ(Run(EVT_START_GAME_TIMER, g_broadcastId), 0);
    EXPECT_EQ(g_scenario->waitingForStart, 1);
    EXPECT_EQ(g_gameTimer->running, 0);

    g_gameTimer->eventId = 1;
    EXPECT_EQ(Run(EVT_START_GAME_TIMER, g_broadcastId), EVENT_CONSUMED);
    EXPECT_EQ(g_scenario->waitingForStart, 0);
}

TEST_F(EventDeliveryTest, RoutesByReceiverType) {
    auto* object = new RecordingObject(ObjectId(4712, 5));
    RecordingEntity runtimeEntity(ObjectId(4713, 9));
    RecordingEntity entity(ObjectId(7, 3));

    struct Case {
        ObjectId receiver;
        int answer;
        Log log;
    };
    const Case cases[] = {
        {ObjectId(4712, 5), EVENT_CONSUMED, {"object"}},
        {ObjectId(4713, 9), EVENT_CONSUMED, {"entity"}},
        {ObjectId(4712, 77), 0, {}}, // known to no registry
        {ObjectId(7, 3), EVENT_CONSUMED, {"entity"}},
        {ObjectId(7, 4), 0, {}},
        {g_timerDateId, EVENT_CONSUMED, {"server"}},
        {g_serverId, EVENT_CONSUMED, {"server"}},
        {g_unitServerId, EVENT_CONSUMED, {"request"}},
        {g_hostDispatcherId, EVENT_CONSUMED, {"request"}},
        {ObjectId(3, 2), 0, {"country2"}},
        {ObjectId(3, 3), 0, {}},          // empty slot
        {ObjectId(3, 500), 0, {}},        // beyond the table
        {ObjectId(4, 17), 0, {}},         // a province record without a handler
        {ObjectId(4, 5000), 0, {}},       // no such province
        {ObjectId(1, 0xFFFFFFFF), 0, {}}, // chat groups reach nobody here
    };
    for (const Case& c : cases) {
        g_log.clear();
        EXPECT_EQ(Run(EVT_GAME_END, c.receiver), c.answer)
            << c.receiver.type << "." << c.receiver.number;
        EXPECT_EQ(g_log, c.log) << c.receiver.type << "." << c.receiver.number;
    }

    g_gameServer = nullptr;
    EXPECT_EQ(Run(EVT_GAME_END, g_timerDateId), 0);
    delete object;
}

TEST_F(EventDeliveryTest, KillDeletesTheRegisteredObject) {
    new RecordingObject(ObjectId(4712, 5));
    EXPECT_EQ(Run(EVT_KILL, ObjectId(4712, 5)), EVENT_CONSUMED);
    EXPECT_EQ(g_log, Log{"object deleted"});
    EXPECT_EQ(FindObjectById(ObjectId(4712, 5)), nullptr);

    new RecordingEntity(ObjectId(4714, 1));
    g_log.clear();
    EXPECT_EQ(Run(EVT_KILL, ObjectId(4714, 1)), EVENT_CONSUMED);
    EXPECT_EQ(g_log, Log{"entity deleted"});
    EXPECT_EQ(ResolveId(ObjectId(4714, 1)), nullptr);
}

} // namespace
