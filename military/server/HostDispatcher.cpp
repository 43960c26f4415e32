#include "military/server/HostDispatcher.h"

#include "net/EventTypes.h"
#include "net/Receivers.h"
#include "net/Session.h"

CHostDispatcher* g_hostDispatcher = nullptr;
std::array<HostServerHandler, kHostRequestCategories> g_hostServers{};

namespace {

// The dispatcher takes the host requests (receiver type 2) and, while a game
// runs, every broadcast message.
const bool g_hostDispatcherRegistered = [] {
    g_directReceivers.hostDispatcher = []() -> CEventHandler* { return g_hostDispatcher; };
    return RegisterBroadcastReceiver(kSlotHostDispatcher, &OfferToHolder<g_hostDispatcher>);
}();

// The order in which a request to all servers is offered.
constexpr HostRequestCategory kOfferOrder[] = {
    HOST_UNIT_REQUESTS,    HOST_COMBAT_SERVER, HOST_UNIT_SERVER,       HOST_LEADER_REGISTRY,
    HOST_ECONOMY_REQUESTS, HOST_NATIVES,       HOST_DIPLOMACY_REQUESTS};

} // namespace

int CHostDispatcher::HandleMessage(COVEvent& event) {
    // The unit server does the units' monthly work on the host, and the
    // natives grow.
    if (event.GetType() == EVT_TIMER_MONTH && IsHost())
        for (HostRequestCategory each : {HOST_UNIT_SERVER, HOST_NATIVES})
            if (HostServerHandler server = g_hostServers[each])
                server(event);
    return EVENT_NOT_HANDLED;
}

int CHostDispatcher::DispatchHostRequest(COVEvent& event) {
    if (!IsHost())
        return 0;
    const uint32_t category = event.GetReceiver().number;
    if (category == HOST_ALL_SERVERS) {
        for (HostRequestCategory each : kOfferOrder)
            if (HostServerHandler server = g_hostServers[each])
                server(event);
        return 0;
    }
    if (category >= kHostRequestCategories || !g_hostServers[category])
        return 0;
    return g_hostServers[category](event);
}
