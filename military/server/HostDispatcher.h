#pragma once
// The host request dispatcher (g_hostDispatcherId {2, 1}). Every message
// addressed to a receiver of type 2 other than g_serverId reaches it through
// its handler interface (DispatchHostRequest), which hands it to the server
// of the category given by the receiver number. Its message handler also
// takes every broadcast message while a game runs (the answer is not used).
#include "net/Event.h"

class CHostDispatcher : public CMessageReceiver, public CEventHandler {
public:
    int HandleMessage(COVEvent& event) override;
    int HandleEvent(COVEvent& event) override { return DispatchHostRequest(event); }
    virtual int DispatchHostRequest(COVEvent& event);
};

// Made at start-up; null before.
extern CHostDispatcher* g_hostDispatcher;
