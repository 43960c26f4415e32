#include "frontend/FrontEnd.h"

#include "engine/CDAudio.h"
#include "net/Receivers.h"

CFrontEnd* g_frontEnd = nullptr;
uint8_t g_inFrontEnd = 0;

namespace {

const bool g_frontEndStateRegistered = [] {
    g_gameState.isInFrontEnd = [] { return g_inFrontEnd != 0; };
    g_musicChoice.isGameStarted = [] { return g_frontEnd && g_frontEnd->gameStarted; };
    g_gameState.hasFrontEnd = [] { return g_frontEnd != nullptr; };
    return true;
}();

// While no game runs the front end takes the broadcast messages.
const bool g_frontEndReceiverRegistered =
    RegisterBroadcastReceiver(kSlotFrontEnd, &OfferToHolder<g_frontEnd>);

} // namespace

int CFrontEnd::HandleMessage(COVEvent&) {
    return EVENT_NOT_HANDLED;
}
