#include "engine/GameState.h"

GameStateHooks g_gameState;

bool IsGameRunning() {
    return g_gameState.isGameRunning && g_gameState.isGameRunning();
}

bool IsGameStarted() {
    return g_gameState.isGameStarted && g_gameState.isGameStarted();
}

bool IsWaitingForStart() {
    return g_gameState.isWaitingForStart && g_gameState.isWaitingForStart();
}

void EndWaitingForStart() {
    if (g_gameState.endWaitingForStart)
        g_gameState.endWaitingForStart();
}

CDate GetScenarioStartDate() {
    return g_gameState.scenarioStartDate ? g_gameState.scenarioStartDate() : CDate();
}

bool IsGamePaused() {
    return g_gameState.isPaused && g_gameState.isPaused();
}

bool IsInFrontEnd() {
    return g_gameState.isInFrontEnd && g_gameState.isInFrontEnd();
}

bool HasFrontEnd() {
    return g_gameState.hasFrontEnd && g_gameState.hasFrontEnd();
}

bool IsMultiplayerGame() {
    return g_gameState.isMultiplayerGame && g_gameState.isMultiplayerGame();
}
