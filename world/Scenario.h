#pragma once
// The running game and the small game-state queries the whole program asks.
#include <cstdint>
#include <memory>
#include <string>

#include "engine/Date.h"
#include "engine/GameState.h"
#include "net/Session.h"

class COVEvent;

class CScenario {
public:
    virtual ~CScenario() = default;

    // Takes every broadcast message while a game runs: EVT_GAME_STARTED sets
    // gameStarted, EVT_GAME_END sets gameEnded. Answers EVENT_NOT_HANDLED.
    virtual int HandleMessage(COVEvent& event);

    // True when a multiplayer session is open and has more than one player.
    static bool IsMultiplayerGame();

    // Carries out a requested save or reload of the running game.
    void ProcessRequests();

    // 1 once the game-started message has reached the scenario; from then on
    // broadcast messages also reach the map, the globals, the game frame and
    // the countries.
    uint8_t gameStarted = 0;
    // 1 once the game-end message has reached the scenario.
    uint8_t gameEnded = 0;
    // 1 from the first step of start-up until the start-game-timer message
    // has run; while it is set the game clock does not resume.
    uint8_t waitingForStart = 0;
    // The scenario or saved-game file being played (its game path).
    std::string fileName;
};

// The running game; null between games.
extern std::unique_ptr<CScenario> g_scenario;

// The running game's type: 1 victory game, 2 deathmatch, 3 scenario with
// missions, any other value a standard game.
extern int32_t g_gameType;

// 1 from the end of scenario start-up until its shutdown. Not the
// scenario's gameStarted: that one is set only when the game-started message
// reaches the scenario, which takes broadcast messages only once this is set.
extern uint8_t g_gameStarted;

// IsGameRunning: true when the front end is not active and a scenario has
// been started (g_gameStarted); GetScenarioStartDate: the game-wide
// globals' start date. Both are answered here through g_gameState.

// IsHost (net/Session.h, included here for the scenario's callers): true
// when this machine runs the authoritative game logic.
