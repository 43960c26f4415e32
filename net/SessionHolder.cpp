#include "net/SessionHolder.h"

#include <algorithm>
#include <memory>
#include <string>

#include "engine/Config.h"
#include "net/EventTypes.h"
#include "net/Posting.h"

CNetSessionHolder* g_netSessionHolder = nullptr;

CNetSessionHolder::CNetSessionHolder(uint32_t defer) {
    if (!defer)
        Create();
}

bool CNetSessionHolder::Create() {
    if (!g_netSession)
        g_netSession = new CNetSession();
    return true;
}

void CNetSessionHolder::Destroy() {
    delete g_netSession;
    g_netSession = nullptr;
}

bool CreateNetSession(const char* name) {
    return g_netSession && g_netSession->HostSession(name);
}

int32_t JoinNetSession(const char* name, uint32_t sessionIndex) {
    return g_netSession ? g_netSession->JoinSession(name, sessionIndex) : 1;
}

bool EnumNetPlayers() {
    return g_netSession && g_netSession->EnumPlayers();
}

uint32_t EnumNetSessions() {
    return g_netSession ? g_netSession->EnumSessions() : 0;
}

bool InitNetConnection(uint32_t index, uint32_t kind, const char* address) {
    return g_netSession && g_netSession->InitializeConnection(index, kind, address);
}

bool EnumNetConnections() {
    return g_netSession && g_netSession->EnumConnections();
}

bool DestroyNetPlayer(uint32_t playerId) {
    return g_netSession && g_netSession->DestroyPlayer(playerId);
}

void UpdateNetStartup() {
    if (g_netSession)
        g_netSession->UpdateStartup();
}

void SendNetLoadGame() {
    if (g_netSession)
        g_netSession->SendLoadGame();
}

void AnnounceNetSaveGame(const char* saveName, uint32_t startValue) {
    if (g_netSession)
        g_netSession->AnnounceSaveGame(saveName, startValue);
}

void SetNetStartPending() {
    if (g_netSession)
        g_netSession->m_startPending = 1;
}

void ClearNetStartPending() {
    if (g_netSession)
        g_netSession->m_startPending = 0;
}

void ResetNetSlots() {
    if (g_netSession)
        g_netSession->ResetSlots();
}

void DumpNetSlots() {
    if (g_netSession)
        g_netSession->DumpSlots();
}

void SetNetSessionValue(uint32_t sessionCount) {
    if (g_netSession)
        g_netSession->m_sessionCount = std::min(sessionCount, kNetMaxSessions);
}

uint32_t GetNetSessionValue() {
    return g_netSession ? g_netSession->m_sessionCount : 0;
}

void SendNetSlotOf(uint32_t playerId) {
    if (g_netSession)
        g_netSession->SendSlotOf(playerId);
}

const char* GetSessionPlayerName(int32_t country) {
    if (country < 0 || static_cast<uint32_t>(country) >= kNetCountrySlots)
        return nullptr;
    if (!IsSessionActive()) {
        // The configured name lives in the settings block; a copy that lasts.
        static std::string configuredName;
        const uint32_t mark =
            g_sessionCountries.mark ? g_sessionCountries.mark(static_cast<uint32_t>(country)) : 0;
        if (!g_config || mark != 1)
            return nullptr;
        configuredName = g_config->GetPlayerName();
        return configuredName.c_str();
    }
    for (int32_t i = 0; i < g_netSession->m_slotCount; ++i) {
        const NetSlot& slot = g_netSession->GetSlot(static_cast<uint32_t>(i));
        if (slot.country == country)
            return slot.name ? slot.name->c_str() : nullptr;
    }
    return nullptr;
}

int SendChatToGroup(const ChatGroupEntry* group, const char* text) {
    if (!group || !group->open)
        return EVENT_NOT_HANDLED;
    const uint32_t sender = g_netSession ? static_cast<uint32_t>(g_netSession->m_localSlot) : 0;
    return PostAndSendEventNow(
        std::make_unique<COVChatEvent>(text ? text : "", sender, ObjectId(1, group->groupId)));
}
