#pragma once
// The session holder, which creates and destroys the one session object
// g_netSession, and the free functions through which the rest of the program
// reaches that session; chat to a chat group.
#include <cstdint>

#include "net/Session.h"

class CNetSessionHolder {
public:
    // Creates the session unless defer is non-zero.
    explicit CNetSessionHolder(uint32_t defer = 0);
    // Does not delete the session.
    virtual ~CNetSessionHolder() = default;
    CNetSessionHolder(const CNetSessionHolder&) = delete;
    CNetSessionHolder& operator=(const CNetSessionHolder&) = delete;

    // Makes g_netSession when there is none; true in every case.
    bool Create();
    // Deletes the session (at shutdown); g_netSession becomes null.
    void Destroy();
};

// Made by the program's entry.
extern CNetSessionHolder* g_netSessionHolder;

// Forwarders to g_netSession. Without a session they do nothing and answer
// false, 0 or null.
bool CreateNetSession(const char* name);
int32_t JoinNetSession(const char* name, uint32_t sessionIndex);
bool EnumNetPlayers();
uint32_t EnumNetSessions();
bool InitNetConnection(uint32_t index, uint32_t kind, const char* address);
bool EnumNetConnections();
bool DestroyNetPlayer(uint32_t playerId);
void UpdateNetStartup();
void SendNetLoadGame();
void AnnounceNetSaveGame(const char* saveName, uint32_t startValue);
void SetNetStartPending();
void ClearNetStartPending();
void ResetNetSlots();
void DumpNetSlots();
void SetNetSessionValue(uint32_t sessionCount);
uint32_t GetNetSessionValue();
void SendNetSlotOf(uint32_t playerId);

// The name to show for a human player's country: without an active session
// the configured player name when the country is played at this machine;
// with one the name of the first slot that holds the country. Null otherwise.
const char* GetSessionPlayerName(int32_t country);

// When the group is open: "APPMSG_CHATSTRING" with the text from the local
// slot to the group's receiver {1, group id}, run here and sent to the
// others; answers the posting's answer. EVENT_NOT_HANDLED otherwise.
int SendChatToGroup(const ChatGroupEntry* group, const char* text);
