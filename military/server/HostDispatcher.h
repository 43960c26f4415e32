#pragma once
// The host request dispatcher (g_hostDispatcherId {2, 1}). Every message
// addressed to a receiver of type 2 other than g_serverId reaches it through
// its handler interface (DispatchHostRequest), which hands it to the server
// of the category given by the receiver number. Its message handler also
// takes every broadcast message while a game runs (the answer is not used):
// on the host the month goes on to the unit server and the natives.
#include <array>
#include <cstdint>

#include "net/Event.h"

// The categories of host requests: the receiver's number.
enum HostRequestCategory : uint32_t {
    HOST_UNIT_REQUESTS = 1,
    HOST_COMBAT_SERVER = 2,
    HOST_UNIT_SERVER = 3,
    HOST_LEADER_REGISTRY = 5,
    HOST_ECONOMY_REQUESTS = 6,
    HOST_NATIVES = 8,
    HOST_DIPLOMACY_REQUESTS = 9,
    // Offered to every server in turn.
    HOST_ALL_SERVERS = 0xFFFFFFFFu,
};
constexpr uint32_t kHostRequestCategories = 10;

// The server of each category; each owner fills its slot by a static
// registration. An empty slot answers 0 (a game without that server).
using HostServerHandler = int (*)(COVEvent& request);
extern std::array<HostServerHandler, kHostRequestCategories> g_hostServers;

class CHostDispatcher : public CMessageReceiver, public CEventHandler {
public:
    int HandleMessage(COVEvent& event) override;
    int HandleEvent(COVEvent& event) override { return DispatchHostRequest(event); }
    // Only on the host (without a session every machine is the host): the
    // request goes to the server of its category, whose answer is returned;
    // a request to all servers is offered to each (answer 0). A client and
    // the categories 4, 7 and any other answer 0.
    virtual int DispatchHostRequest(COVEvent& event);
};

// Made at start-up; null before.
extern CHostDispatcher* g_hostDispatcher;
