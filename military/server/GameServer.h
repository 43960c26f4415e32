#pragma once
// The game server: receiver of the messages for receiver type 8 and for
// g_serverId {2, 7}. It exists only while a scenario runs.
#include "engine/ObjectId.h"
#include "net/Event.h"

class CGameServer : public CIdEntity, public CMessageReceiver {
public:
    int HandleMessage(COVEvent& event) override;
};

// Null while no scenario runs.
extern CGameServer* g_gameServer;
