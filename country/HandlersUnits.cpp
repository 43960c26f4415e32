// The country's handlers for its armies, fleets, leaders and monarchs:
// units created or bought, losses reaching a unit, leaders made, activated
// and killed, and monarchs made and brought to the throne. The units,
// leaders and monarchs themselves are the military's, reached through
// g_countryMilitary.
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "country/CountryRecords.h"
#include "country/Emperor.h"
#include "country/HandlerSupport.h"
#include "country/Ledger.h"
#include "data/CountryNumbers.h"
#include "engine/Config.h"
#include "engine/CriticalError.h"
#include "engine/GameState.h"
#include "engine/ObjectId.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Senders.h"
#include "net/Session.h"
#include "world/GameNotices.h"
#include "world/Province.h"

using namespace handlers;

namespace {

constexpr int32_t kNoticeNewMonarch = 0;
constexpr int32_t kNoticeNewMonarchOther = 8;
constexpr int32_t kNoticeRevolt = 113;
constexpr int32_t kNoticeRebelFleet = 114;
constexpr int32_t kNoticeRevoltOther = 120;

constexpr uint32_t kRebels = 98;
// The morale of the units of a country that is no ordinary one.
constexpr float kOutsiderMorale = 0.5f;
constexpr float kMenPerRegiment = 1000.0f;
constexpr float kPiecesPerBattery = 10.0f;

// Army strengths in the order of the payload and of NewUnitOrder.
constexpr size_t kInfantry = 0;
constexpr size_t kCavalry = 1;
constexpr size_t kArtillery = 2;

// The province is the rebels': the player hears of the rising from the
// country that holds it.
void TellOfRising(int32_t id, bool fleet) {
    const CProvince* province = GetProvince(id);
    const std::string place = province ? province->name : std::string();
    if (fleet) {
        PostGameMessage1At(kNoticeRebelFleet, kRebels, place, place, id);
        return;
    }
    const CCountry* holder = province ? province->GetController() : nullptr;
    if (!holder && province)
        holder = province->GetOwner();
    const bool other = holder && !holder->IsLocalHuman();
    PostGameMessage1At(other ? kNoticeRevoltOther : kNoticeRevolt,
                       holder ? holder->GetNumber() : kRebels, place,
                       holder ? holder->GetName() : std::string(), id);
}

CUnit* MakeForce(CCountry& country, bool fleet, int32_t province,
                 const std::array<float, 3>& strengths, const ObjectId& id, const ObjectId& leader,
                 const CDate& ready) {
    const CountryMilitaryHooks& m = g_countryMilitary;
    if (!m.makeUnit)
        return nullptr;
    if (!IsProvinceId(province)) {
        DebugPrint("new unit: province %d out of range, dropped\n", province);
        return nullptr;
    }
    if (!IsRegisteredIdType(id.type) || ResolveId(id)) {
        DebugPrint("new unit: id {%u, %u} is no free unit id, dropped\n", id.type, id.number);
        return nullptr;
    }
    // No army or fleet holds ten million men or ships.
    constexpr float kMostStrength = 1.0e7f;
    for (float strength : strengths)
        if (!std::isfinite(strength) || strength < 0.0f || strength > kMostStrength) {
            DebugPrint("new unit: strength %f, dropped\n", static_cast<double>(strength));
            return nullptr;
        }

    if (country.GetNumber() == kRebels)
        TellOfRising(province, fleet);

    NewUnitOrder order;
    order.id = id;
    order.province = province;
    order.strengths = strengths;
    if (!IsOrdinaryCountry(country.GetNumber()))
        order.morale = kOutsiderMorale;
    else
        order.morale = fleet ? country.GetNavalMorale() : country.GetLandMorale();
    order.ready = ready;
    CUnit* unit = m.makeUnit(country, fleet, order);
    if (!unit)
        return nullptr;
    country.m_unitsInDevelopment.AddTail(unit);
    if (!IsHost())
        return unit;
    if (!leader.IsNull() && m.attachLeader)
        m.attachLeader(country, *unit, leader);
    if (m.nameNewUnit)
        m.nameNewUnit(*unit);
    auto finish = MakeUnitFinishEvent(id, 0, 0, false);
    if (ready.IsAfter(GetGameDate()))
        PostEventAtAndSend(std::move(finish), ready);
    else
        PostAndSendEventNow(std::move(finish));
    return unit;
}

struct ArmyOrder {
    int32_t province;
    std::array<float, 3> strengths;
    ObjectId id;
    ObjectId leader;
    CDate ready;
};

ArmyOrder ReadArmyOrder(const COVEvent& event) {
    const auto& payload = event.Payload();
    ArmyOrder order;
    order.province = static_cast<int32_t>(payload.Get(NewUnitHead::kProvince));
    order.strengths[kInfantry] = static_cast<float>(payload.Get(COVArmyEvent::kInfantry));
    order.strengths[kCavalry] = static_cast<float>(payload.Get(COVArmyEvent::kCavalry));
    order.strengths[kArtillery] = static_cast<float>(payload.Get(COVArmyEvent::kArtillery));
    order.id = payload.Get(NewUnitHead::kUnit);
    order.leader = payload.Get(COVArmyEvent::kLeader);
    order.ready = payload.Get(NewUnitHead::kReady);
    return order;
}

ArmyOrder ReadFleetOrder(const COVEvent& event) {
    const auto& payload = event.Payload();
    ArmyOrder order;
    order.province = static_cast<int32_t>(payload.Get(NewUnitHead::kProvince));
    order.strengths[0] = static_cast<float>(payload.Get(COVFleetEvent::kWarships));
    order.strengths[1] = static_cast<float>(payload.Get(COVFleetEvent::kGalleys));
    order.strengths[2] = static_cast<float>(payload.Get(COVFleetEvent::kTransports));
    order.id = payload.Get(NewUnitHead::kUnit);
    order.leader = payload.Get(COVFleetEvent::kLeader);
    order.ready = payload.Get(NewUnitHead::kReady);
    return order;
}

CUnit* FindUnit(const ObjectId& id) {
    return g_countryMilitary.findUnit ? g_countryMilitary.findUnit(id) : nullptr;
}

// A unit of the country's lists: losses and leaders reach only those.
CUnit* FindOwnUnit(const CCountry& country, const ObjectId& id) {
    CUnit* unit = FindUnit(id);
    if (!unit)
        return nullptr;
    if (g_countryMilitary.isListedUnit)
        return g_countryMilitary.isListedUnit(*unit, country) ? unit : nullptr;
    if (!country.m_units.Contains(unit) && !country.m_unitsInDevelopment.Contains(unit))
        return nullptr;
    return unit;
}

bool IsCurrentMonarch(const CCountry& country, const ObjectId& id) {
    return country.m_monarch && g_countryMilitary.monarchId &&
           g_countryMilitary.monarchId(*country.m_monarch) == id;
}

} // namespace

void CCountry::LeaderDeleter::operator()(CLeader* leader) const {
    if (leader && g_countryMilitary.deleteLeader)
        g_countryMilitary.deleteLeader(leader);
}

CMonarch* CMonarchTable::Take(const ObjectId& id) {
    if (!g_countryMilitary.monarchId)
        return nullptr;
    for (auto it = m_monarchs.begin(); it != m_monarchs.end(); ++it)
        if (*it && g_countryMilitary.monarchId(**it) == id) {
            CMonarch* monarch = it->release();
            m_monarchs.erase(it);
            return monarch;
        }
    return nullptr;
}

float CCountry::GetLandMorale() const {
    return m_technology.land.CurrentRow().morale;
}

float CCountry::GetNavalMorale() const {
    return m_technology.naval.CurrentRow().morale;
}

CUnit* CCountry::CreateArmy(int32_t province, const std::array<float, 3>& strengths,
                            const ObjectId& id, const ObjectId& leader, const CDate& ready,
                            bool raised) {
    CUnit* unit = MakeForce(*this, false, province, strengths, id, leader, ready);
    if (unit && raised) {
        // Regiments of a thousand men and batteries of ten pieces.
        const float regiments = (strengths[kInfantry] + strengths[kCavalry]) / kMenPerRegiment +
                                strengths[kArtillery] / kPiecesPerBattery;
        m_manpower = std::max(0.0f, m_manpower - regiments);
    }
    return unit;
}

CUnit* CCountry::CreateFleet(int32_t province, const std::array<float, 3>& strengths,
                             const ObjectId& id, const ObjectId& leader, const CDate& ready) {
    return MakeForce(*this, true, province, strengths, id, leader, ready);
}

int CCountry::OnCreateArmy(COVEvent& event) {
    const ArmyOrder order = ReadArmyOrder(event);
    if (CreateArmy(order.province, order.strengths, order.id, order.leader, GetGameDate(), false))
        SendRefreshWindows();
    return EVENT_CONSUMED;
}

int CCountry::OnBuildArmy(COVEvent& event) {
    const ArmyOrder order = ReadArmyOrder(event);
    CUnit* unit =
        CreateArmy(order.province, order.strengths, order.id, order.leader, order.ready, true);
    if (!unit)
        return EVENT_CONSUMED;
    SendRefreshWindows();
    if (g_countryMilitary.unitCost)
        SpendMoney(EXPENSE_ARMY, static_cast<float>(g_countryMilitary.unitCost(*unit)));
    return EVENT_CONSUMED;
}

int CCountry::OnCreateArmyOnFleet(COVEvent& event) {
    // Nine values: the new army's id, the carrying fleet's id, a second id
    // and three strengths (infantry, cavalry, artillery).
    const auto& payload = event.Payload();
    std::array<uint32_t, 9> values{};
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = payload.Get(COVCreateArmyOnFleetEvent::kValues[i]);
    const ObjectId armyId(static_cast<uint16_t>(values[0]), values[1]);
    const ObjectId fleetId(static_cast<uint16_t>(values[2]), values[3]);
    CUnit* fleet = FindOwnUnit(*this, fleetId);
    UnitFacts facts;
    if (fleet && g_countryMilitary.describeUnit)
        g_countryMilitary.describeUnit(*fleet, facts);
    if (!fleet || !facts.fleet) {
        DropMessage(event, "no fleet of the country to carry the army");
        return EVENT_CONSUMED;
    }
    const std::array<float, 3> strengths{static_cast<float>(values[6]),
                                         static_cast<float>(values[7]),
                                         static_cast<float>(values[8])};
    CUnit* army = CreateArmy(facts.province, strengths, armyId, g_nullId, GetGameDate(), false);
    if (!army)
        return EVENT_CONSUMED;
    if (g_countryMilitary.loadArmy)
        g_countryMilitary.loadArmy(*fleet, *army);
    SendRefreshWindows();
    return EVENT_CONSUMED;
}

int CCountry::OnCreateFleet(COVEvent& event) {
    const ArmyOrder order = ReadFleetOrder(event);
    if (CreateFleet(order.province, order.strengths, order.id, order.leader, GetGameDate()))
        SendRefreshWindows();
    return EVENT_CONSUMED;
}

int CCountry::OnBuildFleet(COVEvent& event) {
    const ArmyOrder order = ReadFleetOrder(event);
    CUnit* unit = CreateFleet(order.province, order.strengths, order.id, order.leader, order.ready);
    if (!unit)
        return EVENT_CONSUMED;
    SendRefreshWindows();
    if (g_countryMilitary.unitCost)
        SpendMoney(EXPENSE_FLEET, static_cast<float>(g_countryMilitary.unitCost(*unit)));
    return EVENT_CONSUMED;
}

// The loss and kill messages answer EVENT_NOT_HANDLED, as the unit
// deletion does.
int CCountry::OnUnitLosses(COVEvent& event) {
    const auto& payload = event.Payload();
    CUnit* unit = FindOwnUnit(*this, payload.Get(UnitLossesPayload::kUnit));
    const float amount = payload.Get(UnitLossesPayload::kAmount);
    if (!unit || !std::isfinite(amount)) {
        DropMessage(event, "no unit of the country or no amount");
        return EVENT_NOT_HANDLED;
    }
    if (g_countryMilitary.applyLosses)
        g_countryMilitary.applyLosses(*unit, amount, payload.Get(UnitLossesPayload::kCause));
    return EVENT_NOT_HANDLED;
}

int CCountry::OnUnitSizeLosses(COVEvent& event) {
    const auto& payload = event.Payload();
    CUnit* unit = FindOwnUnit(*this, payload.Get(UnitSizeLossesPayload::kUnit));
    const std::array<float, 3> losses{payload.Get(UnitSizeLossesPayload::kFirst),
                                      payload.Get(UnitSizeLossesPayload::kSecond),
                                      payload.Get(UnitSizeLossesPayload::kThird)};
    bool valid = unit != nullptr;
    for (float loss : losses)
        valid = valid && std::isfinite(loss);
    if (!valid) {
        DropMessage(event, "no unit of the country or no losses");
        return EVENT_NOT_HANDLED;
    }
    if (g_countryMilitary.applySizeLosses)
        g_countryMilitary.applySizeLosses(*unit, losses,
                                          payload.Get(UnitSizeLossesPayload::kCause));
    return EVENT_NOT_HANDLED;
}

int CCountry::OnCreateLeader(COVEvent& event) {
    if (!g_countryMilitary.createLeader || !g_countryMilitary.createLeader(*this, event))
        DropMessage(event, "no leader made of the record");
    return EVENT_CONSUMED;
}

int CCountry::OnActivateLeader(COVEvent& event) {
    const CountryMilitaryHooks& m = g_countryMilitary;
    const auto& payload = event.Payload();
    const ObjectId leaderId = payload.Get(ActivateLeaderPayload::kLeader);
    LeaderFacts leader;
    if (!m.describeLeader || !m.describeLeader(leaderId, leader)) {
        DropMessage(event, "no such leader");
        return EVENT_CONSUMED;
    }
    const ObjectId unitId = payload.Get(ActivateLeaderPayload::kUnit);
    CUnit* unit = FindOwnUnit(*this, unitId);
    UnitFacts facts;
    if (unit && m.describeUnit)
        m.describeUnit(*unit, facts);
    if (unit && !facts.destroyed && m.attachLeader && m.attachLeader(*this, *unit, leaderId)) {
        if (leader.historical && m.unitWaiting && m.unitWaiting(*unit))
            ExecuteEvent(MakeUnitFinishEvent(unitId, 0, 0, false));
    }
    if (leader.category == 2 || leader.category == 3)
        AddColonists(1.0f);
    return EVENT_CONSUMED;
}

int CCountry::OnKillLeader(COVEvent& event) {
    const ObjectId id = event.Payload().Get(LeaderArrivalPayload::kLeader);
    if (!g_countryMilitary.killLeader || !g_countryMilitary.killLeader(*this, id))
        DropMessage(event, "no such leader");
    return EVENT_NOT_HANDLED;
}

int CCountry::OnCreateMonarch(COVEvent& event) {
    if (!g_countryMilitary.makeMonarch)
        return EVENT_CONSUMED;
    CMonarch* monarch = g_countryMilitary.makeMonarch(*this, event);
    if (!monarch) {
        DropMessage(event, "no monarch made of the record");
        return EVENT_CONSUMED;
    }
    m_monarch.reset(monarch);
    return EVENT_CONSUMED;
}

int CCountry::OnActivateMonarch(COVEvent& event) {
    const auto& payload = event.Payload();
    const ObjectId id = payload.Get(MonarchActivationPayload::kLeader);
    // The monarch made by "_COVEVT_CREATE_MONARCH_" reigns already: it stays
    // (deleting "the old one" would delete it).
    if (!IsCurrentMonarch(*this, id)) {
        CMonarch* monarch = m_monarchTable.Take(id);
        if (!monarch) {
            DropMessage(event, "no such monarch");
            return EVENT_CONSUMED;
        }
        m_monarch.reset(monarch);
    }

    if (IsLocalHuman() && g_config && g_config->GetWord(ConfigOffset::kHistoricalEvents) != 0 &&
        g_countryMilitary.postMonarchEvents)
        g_countryMilitary.postMonarchEvents(*this,
                                            payload.Get(MonarchActivationPayload::kEvent2Start));

    CDate firstDay = GetScenarioStartDate();
    firstDay.AddDays(1);
    const bool pastFirstDay = GetGameDate().IsNotBefore(firstDay);
    if (m_major && pastFirstDay) {
        const std::string ruler = GetRulerName();
        if (IsLocalHuman()) {
            const std::string events = g_countryMilitary.monarchEventNames
                                           ? g_countryMilitary.monarchEventNames(*this)
                                           : std::string();
            PostGameMessage2(kNoticeNewMonarch, m_number, ruler, ruler, events);
        } else {
            PostGameMessage2(kNoticeNewMonarchOther, m_number, GetName(), ruler, GetName());
        }
    }
    if (IsHost() && IsEmperor() && pastFirstDay)
        ElectEmperor();
    return EVENT_CONSUMED;
}
