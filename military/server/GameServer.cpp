#include "military/server/GameServer.h"

#include "engine/GameTimer.h"
#include "net/EventTypes.h"
#include "net/Receivers.h"
#include "net/Session.h"

CGameServer* g_gameServer = nullptr;

namespace {

// The server takes the messages for receiver type 8 and g_serverId.
const bool g_gameServerRegistered = [] {
    g_directReceivers.gameServer = []() -> CIdEntity* { return g_gameServer; };
    return true;
}();

} // namespace

int CGameServer::HandleMessage(COVEvent& event) {
    switch (event.GetType()) {
    case EVT_TIMER_DATE:
        // The day count the host's clock decided.
        if (g_gameTimer)
            g_gameTimer->AdvanceDays(event.Payload().Get(COVTimerDateEvent::kCount));
        return EVENT_CONSUMED;
    case EVT_PING:
        // A machine's ping: the slot index of its player.
        if (g_netSession)
            g_netSession->ReduceWaitTime(event.Payload().Get(COVTimerDateEvent::kCount));
        return EVENT_CONSUMED;
    default:
        return EVENT_NOT_HANDLED;
    }
}
