#include "engine/GameState.h"

GameStateHooks g_gameState;

namespace {

// The owner's answer; false while no owner has filled the entry.
bool Ask(bool (*question)()) {
    return question && question();
}

} // namespace

bool IsGameRunning() {
    return Ask(g_gameState.isGameRunning);
}

bool IsGameStarted() {
    return Ask(g_gameState.isGameStarted);
}

bool IsWaitingForStart() {
    return Ask(g_gameState.isWaitingForStart);
}

void EndWaitingForStart() {
    if (g_gameState.endWaitingForStart)
        g_gameState.endWaitingForStart();
}

CDate GetScenarioStartDate() {
    return g_gameState.scenarioStartDate ? g_gameState.scenarioStartDate() : CDate();
}

bool IsGamePaused() {
    return Ask(g_gameState.isPaused);
}

bool IsInFrontEnd() {
    return Ask(g_gameState.isInFrontEnd);
}

bool HasFrontEnd() {
    return Ask(g_gameState.hasFrontEnd);
}

bool IsMultiplayerGame() {
    return Ask(g_gameState.isMultiplayerGame);
}
