#pragma once
// The multiplayer session: the one connection to the other machines of a
// network game, reached through g_netSession (null until it is created).
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "engine/DirectX.h"

class COVEvent;
class COVNetEvent;

class CNetSession : public CDirectXObject {
public:
    // Delivers one block to every other player; true when it went out. The
    // transport installs it; tests record what is sent through it.
    using SendFunction = std::function<bool(const std::vector<uint8_t>& block)>;

    CNetSession() = default;
    ~CNetSession() override = default;
    CNetSession(const CNetSession&) = delete;
    CNetSession& operator=(const CNetSession&) = delete;

    bool IsActive() const { return m_active; }
    bool IsHost() const { return m_isHost; }

    // Sends size bytes of the block from the local player to all players; the
    // length is rounded up to a multiple of 4 (the bytes added are zero).
    // False without an active session or a transport, or when sending failed.
    bool Send(const uint8_t* data, uint32_t size);

    void SetSendFunction(SendFunction send) { m_send = std::move(send); }

    // A broadcast message offered to the session while a game runs; the
    // session consumes none (answers 0).
    int HandleEvent(COVEvent& event);

    uint8_t m_isHost = 0;          // 1 on the machine that created the session
    uint8_t m_active = 0;          // 1 while a session is open
    uint32_t m_localPlayerId = 0;  // the transport's id of this machine's player
    int32_t m_localSlot = 0;       // this machine's player number (slot index)

private:
    SendFunction m_send;
};

extern CNetSession* g_netSession;

// True when a session exists and is open.
bool IsSessionActive();
// The session's is-host flag; false without a session.
bool IsSessionHost();
// SendEvent with g_netSession; false without a session.
bool SendEventToSession(const COVNetEvent& event);
