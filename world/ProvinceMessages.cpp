// The province's message handler: the periodic messages the map hands on to
// every province and the changes addressed to one province.
#include <algorithm>
#include <memory>

#include "engine/GameTimer.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Session.h"
#include "world/City.h"
#include "world/Map.h"
#include "world/Province.h"
#include "world/ProvinceWork.h"

ProvinceWorkHooks g_provinceWork;

namespace {

// Construction kinds of a navy; their expiry shows the port again.
constexpr int32_t kNavyConstruction = 7;
constexpr int32_t kSecondNavyConstruction = 13;

CDate Today() {
    return g_gameTimer ? g_gameTimer->GetDate() : CDate();
}

// A peer's float as a whole number toward zero, held within the integer
// range (0 for NaN).
int32_t TruncateAmount(float value) {
    if (!(value == value))
        return 0;
    return static_cast<int32_t>(std::clamp(value, -2147483520.0f, 2147483520.0f));
}

// Every broadcast message the map hands on reaches the province's handler.
const bool g_registered = [] {
    g_mapMessageHooks.province = [](CProvince& province, COVEvent& event) {
        return province.HandleMessage(event);
    };
    return true;
}();

} // namespace

int CProvince::HandleMessage(COVEvent& event) {
    const COVEventData& payload = event.Payload();
    switch (event.GetType()) {
    case EVT_TIMER_MONTH:
        MonthlyUpdate();
        UpdateBorderWeight();
        return EVENT_NOT_HANDLED;
    case EVT_TICK_ANIMATIONS:
        if (g_provinceWork.animateUnits)
            g_provinceWork.animateUnits(*this, event);
        if (m_city)
            m_city->HandleMessage(event);
        if (CSettlement* settlement = GetSettlement())
            settlement->GetSymbol().HandleEvent(event);
        lootSprite.HandleEvent(event);
        m_constructions.Broadcast(event);
        return EVENT_NOT_HANDLED;
    case EVT_TIMER_TICK_LOOP:
        m_constructions.Broadcast(event);
        return EVENT_NOT_HANDLED;
    case EVT_COMBAT_CREATE:
        if (g_provinceWork.startCombat)
            g_provinceWork.startCombat(
                *this, payload.Get(COVCombatEvent::kDate),
                static_cast<int32_t>(payload.Get(COVCombatEvent::kCombatType)),
                payload.Get(COVCombatEvent::kCombat));
        return EVENT_NOT_HANDLED;
    case EVT_COMBAT_DELETE:
        if (g_provinceWork.deleteCombat)
            g_provinceWork.deleteCombat(*this, payload.Get(COVCombatEvent::kCombat));
        return EVENT_NOT_HANDLED;
    case EVT_FORTRESS_DAMAGE:
        if (m_city) {
            // A level below 0 has no meaning: the damage stops at a razed
            // fortress; a damage that is no number does nothing.
            const float damage = payload.Get(ProvinceAmountPayload::kAmount);
            CFortress& fortress = m_city->GetFortress();
            if (damage == damage)
                fortress.level = std::clamp(fortress.level - damage, 0.0f, kMaxFortressLevel);
        }
        return EVENT_NOT_HANDLED;
    case EVT_CITY_DAMAGE:
        if (m_city)
            m_city->SetPopulation(m_city->GetPopulation() -
                                  payload.Get(ProvinceAmountPayload::kAmount));
        return EVENT_NOT_HANDLED;
    case EVT_GAME_STARTED:
        if (CPort* port = GetPort())
            port->Attach(GetNumber());
        if (m_owner >= 0 && m_controller < 0) {
            if (CCountry* owner = GetOwner())
                SetControllerField(owner);
        } else if (m_controller >= 0 && m_owner < 0) {
            if (CCountry* controller = GetController())
                SetOwner(controller);
        }
        UpdateBlockade();
        UpdateWeather();
        UpdateBorderWeight();
        return EVENT_NOT_HANDLED;
    case EVT_LOOT_PROVINCE:
        looted = 1;
        if (IsHost()) {
            lootEndDate = Today().Plus(CDate(0, 0, 1));
            PostEventAtAndSend(std::make_unique<COVSimpleEvent>(EVT_UNLOOT_PROVINCE, GetId()),
                               lootEndDate);
        }
        return EVENT_NOT_HANDLED;
    case EVT_UNLOOT_PROVINCE:
        looted = 0;
        return EVENT_NOT_HANDLED;
    case EVT_EXPIRE_CONSTRUCTION:
        if (std::unique_ptr<CConstructionOrder> order =
                m_constructions.RemoveOrder(payload.Get(COVConstructionEvent::kOrder))) {
            const int32_t kind = order->GetKind();
            if (kind == kNavyConstruction || kind == kSecondNavyConstruction)
                if (CPort* port = GetPort())
                    port->visible = 1;
        }
        return EVENT_CONSUMED;
    case EVT_SET_NATIVES:
        SetMapSymbolLevel(payload.Get(ProvinceValuePayload::kValue));
        return EVENT_NOT_HANDLED;
    case EVT_UNNAMED_209:
        return m_city ? m_city->HandleMessage(event) : EVENT_NOT_HANDLED;
    case EVT_CHANGE_RELIGION_PROVINCE: {
        // A value that names no religion leaves the province's religion.
        const int32_t value = payload.Get(ProvinceValuePayload::kValue);
        if (value >= RELIGION_PROTESTANT && value <= RELIGION_PAGAN)
            religion = value;
        return EVENT_CONSUMED;
    }
    case EVT_CHANGE_INCOME_PROVINCE:
        tax = TruncateAmount(payload.Get(ProvinceAmountPayload::kAmount));
        return EVENT_CONSUMED;
    case EVT_CREATE_PRODUCTION_FACILITY: {
        // A type that names no manufactory sets none up.
        const int32_t type = payload.Get(ProvinceValuePayload::kValue);
        if (m_city && type >= CCity::MANUFACTORY_LUXURY && type <= CCity::MANUFACTORY_GOODS) {
            m_city->StartManufactory(type);
            m_city->FinishManufactory();
        }
        return EVENT_CONSUMED;
    }
    default:
        return EVENT_NOT_HANDLED;
    }
}
