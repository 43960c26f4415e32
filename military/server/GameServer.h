#pragma once
// The game server: receiver of the messages for receiver type 8 and for
// g_serverId {2, 7}: the date tick, the ping, the end of the game, the
// history event flags and the random and history events. It exists only
// while a scenario runs. The six event flags themselves are the globals'
// (saved with the game); the server reads and sets them.
#include <array>
#include <cstdint>

#include "engine/ObjectId.h"
#include "net/Event.h"

// What the server hands on to the layers that own the events and the end of
// the game; null entries answer as a game without them (nothing happens).
struct GameServerHooks {
    // "_COVEVT_EXECUTE_EVENT_" and "_COVEVT_START_EVENT_" for the random
    // events.
    void (*randomEvent)(COVEvent& event) = nullptr;
    // The game is over for the local country with the result code: the end
    // popup.
    void (*gameEnd)(uint32_t result) = nullptr;
    // The country of the number has the country kind code 2 or 3.
    bool (*hasSpecialKindCode)(uint32_t country) = nullptr;
};

// Constant-initialised (all null) before any static registration runs.
extern GameServerHooks g_gameServerHooks;

class CGameServer : public CIdEntity, public CMessageReceiver {
public:
    static constexpr uint32_t kEventFlags = 6;

    // Reached as g_timerDateId {8, 1}; progress values all 0.
    CGameServer();

    int HandleMessage(COVEvent& event) override;

    // Flags 1 to 5 as stored. Flag 0 as stored while flag 4 is clear or
    // Portugal (5) or Spain (8) has the country kind code 2 or 3; else 0.
    // 0 for an index above 5.
    uint8_t GetEventFlag(uint32_t index) const;

    // The percentage towards the history event of each flag.
    std::array<float, kEventFlags> progress{};
};

// Null while no scenario runs.
extern CGameServer* g_gameServer;

// "_COVEVT_SETEVENTFLAG_" to the game server, run here and sent, so that
// every machine sets the same flag (value 1 when the value is non-zero).
void SendSetEventFlag(uint32_t index, uint8_t value);
