#include "military/server/HostDispatcher.h"

#include "net/Receivers.h"

CHostDispatcher* g_hostDispatcher = nullptr;

namespace {

// The dispatcher takes the host requests (receiver type 2) and, while a game
// runs, every broadcast message.
const bool g_hostDispatcherRegistered = [] {
    g_directReceivers.hostDispatcher = []() -> CEventHandler* { return g_hostDispatcher; };
    return RegisterBroadcastReceiver(kSlotHostDispatcher, &OfferToHolder<g_hostDispatcher>);
}();

} // namespace

int CHostDispatcher::HandleMessage(COVEvent&) {
    return EVENT_NOT_HANDLED;
}

int CHostDispatcher::DispatchHostRequest(COVEvent&) {
    return EVENT_NOT_HANDLED;
}
