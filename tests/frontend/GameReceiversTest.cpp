// The broadcast chain and the directed deliveries with the game's own
// receivers: each owner has filled its slot of net/Receivers.h, so a message
// reaches the in-game menu, the main screen, the front end, the scenario,
// the host dispatcher, the map, the globals, the game frame, the countries
// and the game server as the chain's rules say (tests/net/EventTest.cpp
// checks the rules with recording slots).
#include <gtest/gtest.h>

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
#include "military/server/GameServer.h"
#include "military/server/HostDispatcher.h"
#include "net/Event.h"
#include "net/EventTypes.h"
#include "net/Scheduler.h"
#include "net/Session.h"
#include "tests/net/RecordingReceivers.h"
#include "ui/MainScreen.h"
#include "world/GlobalsHandler.h"
#include "world/Map.h"
#include "world/Scenario.h"

namespace {

using nettest::g_log;
using nettest::Log;

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

class RecordingServer : public CGameServer {
public:
    int HandleMessage(COVEvent&) override {
        g_log.push_back("server");
        return EVENT_CONSUMED;
    }
};

// Installs a recording receiver in every slot of the delivery and takes
// them all out again afterwards.
class GameReceiversTest : public ::testing::Test {
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

TEST_F(GameReceiversTest, BroadcastChainWhileTheGameRuns) {
    StartGame();
    EXPECT_EQ(Run(EVT_GAME_END, g_broadcastId), 0);
    EXPECT_EQ(g_log,
              (Log{"scenario", "dispatcher", "map", "globals", "frame", "country5", "country2"}));
}

TEST_F(GameReceiversTest, BroadcastBeforeTheGameStartedStopsAfterTheSession) {
    g_gameStarted = 1;
    EXPECT_EQ(Run(EVT_REFRESHWINDOWS, g_broadcastId), 0);
    EXPECT_EQ(g_log, (Log{"scenario", "dispatcher"}));

    // The game-started message itself opens the rest of the chain.
    g_log.clear();
    Run(EVT_GAME_STARTED, g_broadcastId);
    EXPECT_EQ(g_log,
              (Log{"scenario", "dispatcher", "map", "globals", "frame", "country5", "country2"}));
}

TEST_F(GameReceiversTest, FirstCountryThatAnswersEndsTheChain) {
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

TEST_F(GameReceiversTest, OpenMenuIsOfferedFirst) {
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

TEST_F(GameReceiversTest, GameWinnerGoesToTheMainScreenAlone) {
    StartGame();
    EXPECT_EQ(Run(EVT_GAME_WINNER, g_broadcastId), 7);
    EXPECT_EQ(g_log, Log{"mainscreen"});
}

TEST_F(GameReceiversTest, FrontEndTakesBroadcastsWhileNoGameRuns) {
    EXPECT_EQ(Run(EVT_GAME_END, g_broadcastId), 5);
    EXPECT_EQ(g_log, Log{"frontend"});
    g_frontEnd = nullptr;
    EXPECT_EQ(Run(EVT_GAME_END, g_broadcastId), 0);
}

TEST_F(GameReceiversTest, StartGameTimerResumesAnArmedClock) {
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

TEST_F(GameReceiversTest, RoutesByReceiverType) {
    nettest::ExpectRoutesByReceiverType(&Run);

    g_gameServer = nullptr;
    EXPECT_EQ(Run(EVT_GAME_END, g_timerDateId), 0);
}

} // namespace
