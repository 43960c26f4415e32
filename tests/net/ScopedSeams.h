#pragma once
// For tests of net/ and above: the seams through which messages and
// questions reach the layers above net/ (the receivers of net/Receivers.h,
// the game-state hooks of engine/GameState.h, the session's country hooks),
// emptied for the test and put back as they were at the end of the scope.
// While a ScopedSeams lives, the game-state questions answer from g_game.
#include "engine/GameState.h"
#include "net/Receivers.h"
#include "net/Session.h"

namespace nettest {

// The game state the tests play.
struct GameFlags {
    bool running = false;         // IsGameRunning
    bool started = false;         // IsGameStarted
    bool waitingForStart = false; // IsWaitingForStart, cleared by EndWaitingForStart
    bool inFrontEnd = false;      // IsInFrontEnd
    bool hasFrontEnd = false;     // HasFrontEnd
};

inline GameFlags g_game;

class ScopedSeams {
public:
    ScopedSeams()
        : m_gameState(g_gameState), m_broadcast(g_broadcastReceivers), m_direct(g_directReceivers),
          m_countries(g_sessionCountries) {
        g_game = {};
        g_gameState = {};
        g_gameState.isGameRunning = [] { return g_game.running; };
        g_gameState.isGameStarted = [] { return g_game.started; };
        g_gameState.isWaitingForStart = [] { return g_game.waitingForStart; };
        g_gameState.endWaitingForStart = [] { g_game.waitingForStart = false; };
        g_gameState.isInFrontEnd = [] { return g_game.inFrontEnd; };
        g_gameState.hasFrontEnd = [] { return g_game.hasFrontEnd; };
        g_broadcastReceivers = {};
        g_directReceivers = {};
        g_sessionCountries = {};
    }
    ~ScopedSeams() {
        g_gameState = m_gameState;
        g_broadcastReceivers = m_broadcast;
        g_directReceivers = m_direct;
        g_sessionCountries = m_countries;
        g_game = {};
    }
    ScopedSeams(const ScopedSeams&) = delete;
    ScopedSeams& operator=(const ScopedSeams&) = delete;

private:
    GameStateHooks m_gameState;
    decltype(g_broadcastReceivers) m_broadcast;
    DirectReceivers m_direct;
    SessionCountryHooks m_countries;
};

} // namespace nettest
