#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/Date.h"
#include "engine/GameTimer.h"
#include "engine/ObjectId.h"
#include "net/Event.h"
#include "net/EventTypes.h"
#include "net/Receivers.h"
#include "net/Scheduler.h"
#include "net/Session.h"
#include "tests/net/RecordingReceivers.h"
#include "tests/net/ScopedSeams.h"

namespace {

using nettest::g_game;
using nettest::g_log;
using nettest::Log;
using nettest::RecordingEntity;
using nettest::RecordingObject;

// The recording receiver of every slot of the broadcast chain: it writes the
// slot's name and answers what g_answers holds for the slot. The scenario's
// one also does what the scenario does with the game-started message.
const std::array<const char*, kBroadcastSlotCount> kSlotNames = {
    "menu", "mainscreen", "frontend", "scenario", "dispatcher",
    "map",  "globals",    "frame",    "countries"};
std::array<int, kBroadcastSlotCount> g_answers{};

template <size_t slot> int RecordSlot(COVEvent& event) {
    g_log.push_back(kSlotNames[slot]);
    if (slot == kSlotScenario && event.GetType() == EVT_GAME_STARTED)
        g_game.started = true;
    return g_answers[slot];
}

template <size_t... slots> void FillSlots(std::index_sequence<slots...>) {
    ((g_broadcastReceivers[slots] = &RecordSlot<slots>), ...);
}

// The answers unless a case says otherwise: the receivers whose answer the
// chain does not use say EVENT_CONSUMED, the game frame lets the message
// pass to the countries.
constexpr std::array<int, kBroadcastSlotCount> kDefaultAnswers = {
    EVENT_NOT_HANDLED, 7, 5, EVENT_CONSUMED, EVENT_CONSUMED, EVENT_CONSUMED, EVENT_CONSUMED,
    EVENT_NOT_HANDLED, 6};

// A handler interface (the host dispatcher, a country) that records.
class RecordingHandler : public CEventHandler {
public:
    RecordingHandler(std::string name, int answer) : m_name(std::move(name)), m_answer(answer) {}
    int HandleEvent(COVEvent&) override {
        g_log.push_back(m_name);
        return m_answer;
    }

private:
    std::string m_name;
    int m_answer;
};

// The game server is an entity without a registered id.
class RecordingServer : public CIdEntity, public CMessageReceiver {
public:
    int HandleMessage(COVEvent&) override {
        g_log.push_back("server");
        return EVENT_CONSUMED;
    }
};

// The game server, the host dispatcher and countries 5 and 2 of the directed
// deliveries.
RecordingServer* g_server = nullptr;
RecordingHandler* g_dispatcher = nullptr;
std::array<RecordingHandler*, 8> g_countryHandlers{};

// Installs a recording receiver in every slot of the delivery and takes
// them all out again afterwards.
class EventDeliveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        g_scheduler.Clear();
        g_scheduler.FlushSend();
        InitIdRegistries(g_nullId);
        g_answers = kDefaultAnswers;
        FillSlots(std::make_index_sequence<kBroadcastSlotCount>());
        g_server = &server;
        g_dispatcher = &dispatcher;
        g_countryHandlers = {};
        g_countryHandlers[5] = &country5;
        g_countryHandlers[2] = &country2;
        g_directReceivers.gameServer = []() -> CIdEntity* { return g_server; };
        g_directReceivers.hostDispatcher = []() -> CEventHandler* { return g_dispatcher; };
        g_directReceivers.country = [](uint32_t number) -> CEventHandler* {
            return number < g_countryHandlers.size() ? g_countryHandlers[number] : nullptr;
        };
        session.m_isHost = 1;
        g_netSession = &session;
    }

    void TearDown() override {
        g_netSession = nullptr;
        g_server = nullptr;
        g_dispatcher = nullptr;
        g_countryHandlers = {};
        g_gameTimer.reset();
        g_scheduler.Clear();
        g_scheduler.FlushSend();
        FreeIdRegistries();
    }

    // A message of the type's own size, so that a receiver may read its
    // fields.
    static int Run(uint32_t type, const ObjectId& receiver) {
        if (GetEventPayloadSize(type) > EVENT_HEAD_SIZE) {
            COVDataEvent event(type, receiver);
            return event.Execute();
        }
        COVSimpleEvent event(type, receiver);
        return event.Execute();
    }

    nettest::ScopedSeams seams;
    CNetSession session{nullptr};
    RecordingServer server;
    RecordingHandler dispatcher{"request", EVENT_CONSUMED};
    RecordingHandler country5{"country5", EVENT_NOT_HANDLED};
    RecordingHandler country2{"country2", EVENT_NOT_HANDLED};
};

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
    EXPECT_EQ(event.Execute(), EVENT_NOT_HANDLED);
    EXPECT_EQ(g_scheduler.GetSendCount(), 0u);
    EXPECT_TRUE(g_log.empty());
}

TEST_F(EventDeliveryTest, SendOnlyCopyGoesToTheSendListAlone) {
    COVSimpleEvent event(EVT_GAME_END, g_broadcastId);
    event.SetSendFlag(1);
    event.SetLocalFlag(0);
    EXPECT_EQ(event.Execute(), EVENT_NOT_HANDLED);
    EXPECT_EQ(g_scheduler.GetSendCount(), 1u);
    EXPECT_TRUE(g_log.empty());

    event.SetLocalFlag(1);
    EXPECT_EQ(event.Execute(), 5); // the front end's answer
    EXPECT_EQ(g_scheduler.GetSendCount(), 2u);
    EXPECT_EQ(g_log, (Log{"menu", "frontend"}));
}

// The broadcast chain with a recording receiver in every slot: which slots a
// message reaches, in which order, whose answer ends it, and when the
// start-game-timer step runs.
TEST_F(EventDeliveryTest, BroadcastOrder) {
    enum class Phase { NoGame, Running, Started }; // IsGameRunning, IsGameStarted
    enum class Clock { NotArmed, Armed };
    struct Answer {
        BroadcastSlot slot;
        int answer;
    };
    constexpr Answer kNoChange{kSlotGameMenu, EVENT_NOT_HANDLED};
    constexpr Answer kMenuTakes{kSlotGameMenu, 4};
    constexpr Answer kFrameTakes{kSlotGameFrame, 9};
    const Log frontEnd = {"menu", "frontend"};
    const Log menu = {"menu"};
    const Log winner = {"menu", "mainscreen"};
    const Log game = {"menu", "scenario", "dispatcher"};
    const Log toFrame = {"menu", "scenario", "dispatcher", "map", "globals", "frame"};
    const Log started = {"menu", "scenario", "dispatcher", "map", "globals", "frame", "countries"};
    using enum Phase;
    using enum Clock;
    struct Case {
        const char* what;
        uint32_t type;
        Phase phase;
        Answer changed; // one receiver's answer beside kDefaultAnswers
        Clock clock;
        int answer;
        Log log;
        bool resumed; // the wait for the start ended and the clock resumed
    };
    const Case cases[] = {
        {"no game: the front end", EVT_GAME_END, NoGame, kNoChange, NotArmed, 5, frontEnd, false},
        {"a game that has not started stops after the session", EVT_REFRESHWINDOWS, Running,
         kNoChange, NotArmed, EVENT_NOT_HANDLED, game, false},
        {"a started game: everybody in order", EVT_GAME_END, Started, kNoChange, NotArmed, 6,
         started, false},
        {"the game-started message opens the rest of the chain", EVT_GAME_STARTED, Running,
         kNoChange, NotArmed, 6, started, false},
        {"the session's answer ends the chain", EVT_BOOTUP_READY, Started, kNoChange, NotArmed,
         EVENT_CONSUMED, game, false},
        {"the game frame's answer keeps the message from the countries", EVT_GAME_END, Started,
         kFrameTakes, NotArmed, 9, toFrame, false},
        {"an open menu that answers ends the chain", EVT_GAME_END, Started, kMenuTakes, NotArmed, 4,
         menu, false},
        {"an open menu that answers ends it in the front end too", EVT_GAME_END, NoGame, kMenuTakes,
         NotArmed, 4, menu, false},
        {"the game winner goes to the main screen alone", EVT_GAME_WINNER, Started, kNoChange,
         NotArmed, 7, winner, false},
        {"the game winner also in the front end", EVT_GAME_WINNER, NoGame, kNoChange, NotArmed, 7,
         winner, false},
        {"the game winner after a menu that answers", EVT_GAME_WINNER, Started, kMenuTakes,
         NotArmed, 4, menu, false},
        {"the start-game timer with an armed clock", EVT_START_GAME_TIMER, Started, kNoChange,
         Armed, EVENT_CONSUMED, started, true},
        {"the start-game timer before the game has started", EVT_START_GAME_TIMER, Running,
         kNoChange, Armed, EVENT_CONSUMED, game, true},
        {"the start-game timer with a clock not armed", EVT_START_GAME_TIMER, Started, kNoChange,
         NotArmed, 6, started, false},
        {"the start-game timer in the front end", EVT_START_GAME_TIMER, NoGame, kNoChange, Armed, 5,
         frontEnd, false},
        {"the start-game timer after a menu that answers", EVT_START_GAME_TIMER, Started,
         kMenuTakes, Armed, 4, menu, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_log.clear();
        g_answers = kDefaultAnswers;
        g_answers[c.changed.slot] = c.changed.answer;
        g_game.running = c.phase != NoGame;
        g_game.started = c.phase == Started;
        g_game.waitingForStart = true;
        g_gameTimer = std::make_unique<CGameTimer>(15);
        g_gameTimer->eventId = c.clock == Armed ? 1 : 0;

        EXPECT_EQ(Run(c.type, g_broadcastId), c.answer);
        EXPECT_EQ(g_log, c.log);
        // The wait ends before the clock resumes, or it would not run.
        EXPECT_EQ(g_game.waitingForStart, !c.resumed);
        EXPECT_EQ(g_gameTimer->running, c.resumed ? 1 : 0);
        g_gameTimer->eventId = 0;
    }

    // Outside a game the started flag changes nothing.
    g_log.clear();
    g_answers = kDefaultAnswers;
    g_game.running = false;
    g_game.started = true;
    EXPECT_EQ(Run(EVT_GAME_END, g_broadcastId), 5);
    EXPECT_EQ(g_log, frontEnd);
}

TEST_F(EventDeliveryTest, EmptySlotsPassTheMessageOn) {
    g_broadcastReceivers = {};
    EXPECT_EQ(Run(EVT_GAME_END, g_broadcastId), EVENT_NOT_HANDLED);
    g_game.running = true;
    g_game.started = true;
    EXPECT_EQ(Run(EVT_GAME_END, g_broadcastId), EVENT_NOT_HANDLED);
    EXPECT_EQ(Run(EVT_GAME_WINNER, g_broadcastId), EVENT_NOT_HANDLED);
    EXPECT_TRUE(g_log.empty());

    // Only the countries: a game frame that is missing lets the message pass.
    g_broadcastReceivers[kSlotCountries] = &RecordSlot<kSlotCountries>;
    EXPECT_EQ(Run(EVT_GAME_END, g_broadcastId), 6);
    EXPECT_EQ(g_log, Log{"countries"});
}

TEST_F(EventDeliveryTest, RoutesByReceiverType) {
    nettest::ExpectRoutesByReceiverType(&Run);

    // Receivers that do not exist, or whose owners did not register, take
    // nothing.
    g_server = nullptr;
    g_dispatcher = nullptr;
    g_log.clear();
    EXPECT_EQ(Run(EVT_GAME_END, g_timerDateId), 0);
    EXPECT_EQ(Run(EVT_GAME_END, g_hostDispatcherId), 0);
    g_directReceivers = {};
    EXPECT_EQ(Run(EVT_GAME_END, ObjectId(3, 2)), 0);
    EXPECT_TRUE(g_log.empty());
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
