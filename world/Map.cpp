#include "world/Map.h"

#include "net/Receivers.h"

CMap* g_map = nullptr;

namespace {

// The map takes every broadcast message once the game has started.
const bool g_mapRegistered = [] {
    g_broadcastReceivers[kSlotMap] = [](COVEvent& event) {
        return g_map ? g_map->HandleMessage(event) : EVENT_NOT_HANDLED;
    };
    return true;
}();

} // namespace

int CMap::HandleMessage(COVEvent&) {
    return EVENT_NOT_HANDLED;
}
