#pragma once
// What the engine and the layers just above it ask of the running game. The
// answers belong to the layers that own that state (the scenario, the pause
// control, the front end); each owner fills its entries of g_gameState once,
// by a static registration in the file that defines its state, so every
// program that links the owner has them before main runs. An entry that is
// still null answers as the front end with no game does: not running, not
// waiting for the start, not paused, no start date, not in the front end,
// no front end, no multiplayer game.
#include "engine/Date.h"

struct GameStateHooks {
    // world: the front end is not active and a scenario has been started.
    bool (*isGameRunning)() = nullptr;
    // world: the game-started message has reached the scenario.
    bool (*isGameStarted)() = nullptr;
    // world: from the first step of scenario start-up until the
    // start-game-timer message; while it holds the game clock stays stopped.
    bool (*isWaitingForStart)() = nullptr;
    // world: the start-game-timer message has run (clears the wait).
    void (*endWaitingForStart)() = nullptr;
    // world: the start date of the running scenario.
    CDate (*scenarioStartDate)() = nullptr;
    // dialogs: the player has paused the game.
    bool (*isPaused)() = nullptr;
    // frontend: the front end is the active screen.
    bool (*isInFrontEnd)() = nullptr;
    // frontend: the front end exists (it is made at start-up and need not be
    // the active screen).
    bool (*hasFrontEnd)() = nullptr;
    // world: a multiplayer session is open with more than one player.
    bool (*isMultiplayerGame)() = nullptr;
};

// Constant-initialised (all null) before any static registration runs.
extern GameStateHooks g_gameState;

bool IsGameRunning();
bool IsGameStarted();
bool IsWaitingForStart();
void EndWaitingForStart();
CDate GetScenarioStartDate();
bool IsGamePaused();
bool IsInFrontEnd();
bool HasFrontEnd();
bool IsMultiplayerGame();
