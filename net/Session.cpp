#include "net/Session.h"

#include "net/Event.h"
#include "net/NetEvent.h"

CNetSession* g_netSession = nullptr;

bool CNetSession::Send(const uint8_t* data, uint32_t size) {
    if (!m_active || !m_send)
        return false;
    std::vector<uint8_t> block(data, data + size);
    block.resize((size + 3) & ~3u, 0);
    return m_send(block);
}

int CNetSession::HandleEvent(COVEvent& event) {
    (void)event;
    return EVENT_NOT_HANDLED;
}

bool IsSessionActive() { return g_netSession && g_netSession->IsActive(); }

bool IsSessionHost() { return g_netSession && g_netSession->IsHost(); }

bool SendEventToSession(const COVNetEvent& event) {
    return g_netSession && SendEvent(*g_netSession, event);
}
