#include "world/Map.h"

#include "net/Receivers.h"

CMap* g_map = nullptr;

namespace {

// The map takes every broadcast message once the game has started.
const bool g_mapRegistered = RegisterBroadcastReceiver(kSlotMap, &OfferToHolder<g_map>);

} // namespace

int CMap::HandleMessage(COVEvent&) {
    return EVENT_NOT_HANDLED;
}
