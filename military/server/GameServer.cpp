#include "military/server/GameServer.h"

#include <memory>

#include "country/Country.h"
#include "country/CountryTags.h"
#include "country/Relations.h"
#include "data/CountryNumbers.h"
#include "engine/CriticalError.h"
#include "engine/GameTimer.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Receivers.h"
#include "net/Session.h"
#include "world/Globals.h"

CGameServer* g_gameServer = nullptr;
GameServerHooks g_gameServerHooks;

namespace {

// The flag that isolates Japan, and the flag of religious peace that ends
// the demarcation treaty.
constexpr uint32_t kIsolationFlag = 5;
constexpr uint32_t kReligiousPeaceFlag = 4;
constexpr uint32_t kPortugal = 5;
constexpr uint32_t kSpain = 8;

// The server takes the messages for receiver type 8 and g_serverId.
const bool g_gameServerRegistered = [] {
    g_directReceivers.gameServer = []() -> CIdEntity* { return g_gameServer; };
    return true;
}();

bool HasSpecialKind(uint32_t number) {
    return number < kCountrySlots && g_countries[number] && g_gameServerHooks.hasSpecialKindCode &&
           g_gameServerHooks.hasSpecialKindCode(number);
}

// Japan refuses trade with every ordinary country.
void IsolateJapan() {
    const int32_t japan = FindCountryByTag("NIP");
    if (japan < 0 || japan >= static_cast<int32_t>(kCountrySlots) || !g_countries[japan])
        return;
    CCountry& isolated = *g_countries[japan];
    for (uint32_t n = 0; n < kCountrySlots; ++n)
        if (g_countries[n] && IsOrdinaryCountry(n))
            if (CRelation* relation = isolated.m_diplomacy.GetRelation(n))
                relation->refuseTrade = 1;
}

int OnSetEventFlag(COVEvent& event) {
    const COVEventData& payload = event.Payload();
    if (!payload.Holds(SetEventFlagPayload::kFlag))
        return EVENT_NOT_HANDLED;
    const uint32_t flag = payload.Get(SetEventFlagPayload::kFlag);
    if (flag >= CGameServer::kEventFlags) {
        DebugPrint("Server: event flag %u out of range; dropped\n", flag);
        return EVENT_NOT_HANDLED;
    }
    g_globals.eventFlags[flag] = payload.Get(SetEventFlagPayload::kValue) > 0;
    if (flag == kIsolationFlag)
        IsolateJapan();
    return EVENT_NOT_HANDLED;
}

// The slot a ping names must be one of the session's.
bool IsSessionSlot(uint32_t slot) {
    return g_netSession && g_netSession->m_slotCount > 0 &&
           slot < static_cast<uint32_t>(g_netSession->m_slotCount);
}

} // namespace

CGameServer::CGameServer() = default;

uint8_t CGameServer::GetEventFlag(uint32_t index) const {
    if (index >= kEventFlags)
        return 0;
    const uint8_t stored = g_globals.eventFlags[index] ? 1 : 0;
    if (index != 0 || HasSpecialKind(kPortugal) || HasSpecialKind(kSpain))
        return stored;
    return g_globals.eventFlags[kReligiousPeaceFlag] ? 0 : stored;
}

int CGameServer::HandleMessage(COVEvent& event) {
    const COVEventData& payload = event.Payload();
    switch (event.GetType()) {
    case EVT_TIMER_DATE:
        // The day count the host's clock decided.
        if (g_gameTimer)
            g_gameTimer->AdvanceDays(payload.Get(COVTimerDateEvent::kCount));
        return EVENT_CONSUMED;
    case EVT_PING: {
        // A machine's ping: the slot index of its player.
        const uint32_t slot = payload.Get(COVTimerDateEvent::kCount);
        if (IsSessionSlot(slot))
            g_netSession->ReduceWaitTime(slot);
        else if (g_netSession)
            DebugPrint("Server: ping for slot %u outside the session; dropped\n", slot);
        return EVENT_CONSUMED;
    }
    case EVT_SETEVENTFLAG:
        return OnSetEventFlag(event);
    case EVT_EXECUTE_EVENT:
    case EVT_START_EVENT:
        if (g_gameServerHooks.randomEvent)
            g_gameServerHooks.randomEvent(event);
        return EVENT_NOT_HANDLED;
    case EVT_UNNAMED_303:
        if (g_gameTimer)
            g_gameTimer->running = 0;
        if (g_gameServerHooks.gameEnd && payload.Holds(GameEndPayload::kResult))
            g_gameServerHooks.gameEnd(payload.Get(GameEndPayload::kResult));
        return EVENT_NOT_HANDLED;
    default:
        return EVENT_NOT_HANDLED;
    }
}

void SendSetEventFlag(uint32_t index, uint8_t value) {
    auto event = std::make_unique<COVDataEvent>(EVT_SETEVENTFLAG, g_timerDateId);
    event->Payload().Set(SetEventFlagPayload::kValue, value != 0 ? 1 : 0);
    event->Payload().Set(SetEventFlagPayload::kFlag, index);
    ExecuteAndSendEvent(std::move(event));
}
