#include "frontend/FrontEnd.h"

#include "engine/CDAudio.h"

CFrontEnd* g_frontEnd = nullptr;
uint8_t g_inFrontEnd = 0;

namespace {

const bool g_frontEndStateRegistered = [] {
    g_gameState.isInFrontEnd = [] { return g_inFrontEnd != 0; };
    g_musicChoice.isGameStarted = [] { return g_frontEnd && g_frontEnd->gameStarted; };
    return true;
}();

} // namespace

int CFrontEnd::HandleMessage(COVEvent&) {
    return EVENT_NOT_HANDLED;
}
