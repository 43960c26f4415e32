#pragma once
// The running game and the small game-state queries the whole program asks.
#include <cstdint>
#include <memory>
#include <string>

#include "engine/Date.h"
#include "engine/GameState.h"
#include "net/Session.h"

class COVEvent;

class CSprite;

class CScenario {
public:
    // A scenario object that runs no start-up (tests, and the main loop
    // before it names the file).
    CScenario();
    // Stores the seed, clears the requests, takes the file name and runs
    // the whole start-up (Init).
    CScenario(const std::string& file, uint32_t seedValue);
    // Shuts a started scenario down.
    virtual ~CScenario();
    CScenario(const CScenario&) = delete;
    CScenario& operator=(const CScenario&) = delete;

    // Builds the running game from the file: the steps run in their fixed
    // order, those of the layers above through g_scenarioSteps. Scenario
    // errors are reported (critical-error box); the answer is always true.
    bool Init();
    // Tears down what Init built, in its fixed order. True.
    bool Shutdown();

    // True when the current scenario information says "tutorial".
    static bool IsTutorial();
    // The game clock's date.
    static CDate GetGameDate();
    // Copies the name (cut to 255 characters) into fileName; answers the
    // bytes copied with the terminating zero.
    uint32_t SetFileName(const std::string& name);

    // Takes every broadcast message while a game runs: EVT_GAME_STARTED sets
    // gameStarted and sums the centres of trade, EVT_GAME_END sets
    // gameEnded, the year runs the centres' yearly update and the month
    // their monthly update and sums. Answers EVENT_NOT_HANDLED.
    virtual int HandleMessage(COVEvent& event);

    // True when a multiplayer session is open and has more than one player.
    static bool IsMultiplayerGame();

    // Once per pass of the main loop: carries out a requested save (first)
    // and a requested reload, then clears both requests. A failed save is
    // reported to the player and the game goes on; the old file stays.
    void ProcessRequests();

    // The random seed the fantasy start draws from.
    uint32_t seed = 0;
    // The number of the winning country, 0 while the game is undecided.
    uint32_t winner = 0;
    uint8_t reloadRequested = 0;
    uint8_t saveRequested = 0;
    // Set by the player's screen: the game frame stops drawing.
    uint8_t stopDrawing = 0;
    // True from a finished Init until Shutdown.
    bool IsStarted() const { return m_started; }

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

private:
    // Steps 15 and 22 of the start-up: the end of the game and the start
    // message.
    void ScheduleGameEnd();
    void StartGameMessage();
    // Steps 23 and 24: new native values for every province.
    void FantasyStart();

    std::unique_ptr<CSprite> m_sprite;
    bool m_started = false;
};

// Writes the running game to the file (the scenario's file name becomes
// it). True when every byte was written; on failure the old file stays.
bool SaveGame(CScenario& scenario, const std::string& name);

// Checks the world just read: each finding goes to the debug trace and to
// "log.txt"; when there was one, the critical-error box says so and names
// that file. Answers the number of findings.
int32_t ValidateScenario();

// Before the front end loads a saved game: the country table is emptied and
// every province forgets who discovered it.
void ResetWorldForLoad();

// The scenario's end date (the game-wide globals').
CDate GetScenarioEndDate();

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
