#include "frontend/FrontEnd.h"

CFrontEnd* g_frontEnd = nullptr;
uint8_t g_inFrontEnd = 0;

namespace {

const bool g_frontEndStateRegistered = [] {
    g_gameState.isInFrontEnd = [] { return g_inFrontEnd != 0; };
    return true;
}();

} // namespace

int CFrontEnd::HandleMessage(COVEvent&) {
    return EVENT_NOT_HANDLED;
}
