// What the country's messages ask of its armies, fleets, leaders and
// monarchs: a new unit made and costed, an army taken aboard, losses taken,
// leaders made, attached and killed, and monarchs made from their records.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "engine/CriticalError.h"
#include "engine/GameTimer.h"
#include "engine/Saturate.h"
#include "military/units/LandUnit.h"
#include "military/units/Leader.h"
#include "military/units/LeaderRegistry.h"
#include "military/units/Monarch.h"
#include "military/units/NavalUnit.h"
#include "military/units/Unit.h"
#include "net/EventTypes.h"

// ------------------------------------------- leaders and raising of a unit

void CUnit::AdoptLeader(std::unique_ptr<CLeader> leader) {
    if (!leader)
        return;
    AttachLeader(leader.get());
    m_ownLeaders.push_back(std::move(leader));
}

std::unique_ptr<CLeader> CUnit::ReleaseLeader(CLeader* leader) {
    if (!leader || !m_leaders.Find(leader))
        return nullptr;
    m_leaders.Remove(leader);
    if (leader->GetUnit() == this)
        leader->SetUnit(nullptr);
    auto own =
        std::find_if(m_ownLeaders.begin(), m_ownLeaders.end(),
                     [leader](const std::unique_ptr<CLeader>& l) { return l.get() == leader; });
    if (own == m_ownLeaders.end())
        return nullptr;
    std::unique_ptr<CLeader> released = std::move(*own);
    m_ownLeaders.erase(own);
    return released;
}

namespace {

// Army strengths: the order's infantry, cavalry, artillery go to the unit's
// indexes 2, 1, 0. A fleet's warships, galleys, transports keep 0, 1, 2.
constexpr int kArmyIndex[3] = {2, 1, 0};

CDate Today() {
    return g_gameTimer ? g_gameTimer->GetDate() : CDate();
}

CUnit* MakeUnit(CCountry& country, bool fleet, const NewUnitOrder& order) {
    std::unique_ptr<CUnit> unit;
    if (fleet) {
        auto naval = std::make_unique<CNavalUnit>(&country);
        naval->portDate = Today();
        unit = std::move(naval);
    } else {
        unit = std::make_unique<CLandUnit>(&country);
    }
    unit->SetOwner(&country);
    unit->SetId(order.id);
    unit->SetName(order.name);
    for (int i = 0; i < 3; ++i)
        unit->SetStrength(fleet ? i : kArmyIndex[i], order.strengths[static_cast<size_t>(i)]);
    unit->morale = order.morale;
    unit->completionDate = order.ready;
    unit->SetInDevelopment(true);
    unit->SetLocation(order.province);
    unit->Refresh();
    return unit.release();
}

// A strength counted whole (military/units/Unit.h), nothing below 0.
int64_t Whole(float value) {
    return std::max<int64_t>(0, WholeStrength(value));
}

// An army: a thousand men of infantry or cavalry and ten pieces of
// artillery at a time (parts count whole); a fleet: every ship. The sum is
// held to what an int32_t takes.
int32_t UnitCost(const CUnit& unit) {
    const CCountry* owner = unit.GetOwner();
    if (!owner)
        return 0;
    int64_t cost = 0;
    if (unit.IsFleet())
        cost = int64_t{owner->GetWarshipPrice()} * Whole(unit.GetStrength(0)) +
               int64_t{owner->GetGalleyPrice()} * Whole(unit.GetStrength(1)) +
               int64_t{owner->GetTransportPrice()} * Whole(unit.GetStrength(2));
    else
        cost = int64_t{owner->GetInfantryPrice()} * (Whole(unit.GetStrength(2)) / 1000) +
               int64_t{owner->GetCavalryPrice()} * (Whole(unit.GetStrength(1)) / 1000) +
               int64_t{owner->GetArtilleryPrice()} * (Whole(unit.GetStrength(0)) / 10);
    return SaturateToInt32(cost);
}

bool LoadArmy(CUnit& fleet, CUnit& army) {
    auto* naval = dynamic_cast<CNavalUnit*>(&fleet);
    auto* land = dynamic_cast<CLandUnit*>(&army);
    if (!naval || !land)
        return false;
    naval->LoadArmy(land);
    return true;
}

// --- losses: the country's loss messages taken by the unit ---

void ApplyLosses(CUnit& unit, float amount, uint8_t cause) {
    if (!std::isfinite(amount) || !(amount > 0.0f))
        return;
    unit.ApplyLosses(amount, cause);
}

// Losses by kind (an army's infantry, cavalry, artillery; a fleet's
// warships, galleys, transports); a loss that is no positive number takes
// nothing.
void ApplySizeLosses(CUnit& unit, const std::array<float, 3>& losses, uint32_t cause) {
    std::array<float, 3> taken{};
    for (size_t i = 0; i < 3; ++i)
        taken[i] = std::isfinite(losses[i]) && losses[i] > 0.0f ? losses[i] : 0.0f;
    unit.ApplyTroopLosses(taken[0], taken[1], taken[2], static_cast<int32_t>(cause));
}
// --- end of losses ---

CLeader* FindLeader(const ObjectId& id) {
    return dynamic_cast<CLeader*>(ResolveId(id));
}

// A leader's id: a leader of history (type 6) in a free slot of the
// registry, any other in the entity registry under a free id.
bool IsFreeLeaderId(const ObjectId& id) {
    if (id.type == kLeaderIdType)
        return id.number < CLeaderRegistry::kSlotCount &&
               (!g_leaderRegistry || !g_leaderRegistry->GetSlot(id.number));
    return IsRegisteredIdType(id.type) && !ResolveId(id);
}

bool CreateLeader(CCountry& country, const COVEvent& event) {
    const auto& payload = event.Payload();
    const ObjectId id = payload.Get(COVCreateLeaderEvent::kLeader);
    const int32_t category = static_cast<int32_t>(payload.Get(COVCreateLeaderEvent::kCategory));
    if (!IsFreeLeaderId(id) || category < LEADER_GENERAL || category > LEADER_PRIVATEER) {
        DebugPrint("create leader: id {%u, %u} or category %d refused\n", id.type, id.number,
                   category);
        return false;
    }
    std::unique_ptr<CLeader> leader;
    if (id.type == kLeaderIdType)
        leader = std::make_unique<CHistoricalLeader>();
    else
        leader = std::make_unique<CRandomLeader>();
    leader->SetId(id);
    if (id.type == kLeaderIdType && g_leaderRegistry)
        g_leaderRegistry->SetSlot(id.number, leader.get());
    leader->SetName(payload.Get(COVCreateLeaderEvent::kName));
    leader->rank = static_cast<int32_t>(payload.Get(COVCreateLeaderEvent::kRank));
    leader->manoeuvre = static_cast<int32_t>(payload.Get(COVCreateLeaderEvent::kManoeuvre));
    leader->fire = static_cast<int32_t>(payload.Get(COVCreateLeaderEvent::kFire));
    leader->shock = static_cast<int32_t>(payload.Get(COVCreateLeaderEvent::kShock));
    leader->siege = static_cast<int32_t>(payload.Get(COVCreateLeaderEvent::kSiege));
    leader->category = category;
    leader->endDate = payload.Get(COVCreateLeaderEvent::kEndDate);
    leader->startDate = payload.Get(COVCreateLeaderEvent::kStartDate);
    leader->SetCountry(&country);
    country.m_newLeaders.emplace_back(leader.release());
    return true;
}

bool DescribeLeader(const ObjectId& id, LeaderFacts& facts) {
    const CLeader* leader = FindLeader(id);
    if (!leader)
        return false;
    facts.historical = leader->IsHistorical();
    facts.category = leader->category;
    return true;
}

// The country's new leader of the id, taken out of its list; null when it
// holds none.
std::unique_ptr<CLeader> TakeNewLeader(CCountry& country, const CLeader* leader) {
    auto& list = country.m_newLeaders;
    auto it = std::find_if(list.begin(), list.end(),
                           [leader](const auto& entry) { return entry.get() == leader; });
    if (it == list.end())
        return nullptr;
    std::unique_ptr<CLeader> taken(it->release());
    list.erase(it);
    return taken;
}

// A leader leading another unit leaves it first (with its ownership).
bool AttachLeader(CCountry& country, CUnit& unit, const ObjectId& id) {
    CLeader* leader = FindLeader(id);
    if (!leader)
        return false;
    std::unique_ptr<CLeader> owned = TakeNewLeader(country, leader);
    if (CUnit* old = leader->GetUnit(); old && old != &unit) {
        std::unique_ptr<CLeader> released = old->ReleaseLeader(leader);
        if (released)
            owned = std::move(released);
    }
    if (owned)
        unit.AdoptLeader(std::move(owned));
    else
        unit.AttachLeader(leader);
    return true;
}

// The leader leaves his unit; whoever owns him here deletes him. A leader of
// history that nobody here owns gives up his id, so that no lookup finds
// him again.
bool KillLeader(CCountry& country, const ObjectId& id) {
    CLeader* leader = FindLeader(id);
    if (!leader)
        return false;
    std::unique_ptr<CLeader> owned;
    if (CUnit* unit = leader->GetUnit())
        owned = unit->ReleaseLeader(leader);
    if (!owned)
        owned = TakeNewLeader(country, leader);
    if (!owned && leader->GetCountry() && leader->GetCountry() != &country)
        owned = TakeNewLeader(*leader->GetCountry(), leader);
    if (!owned)
        leader->Unregister();
    return true;
}

void DeleteLeader(CLeader* leader) {
    if (!leader)
        return;
    // The leader leaves his unit first; a unit's own leader is deleted here
    // all the same (nobody else owns it then).
    std::unique_ptr<CLeader> owned;
    if (CUnit* unit = leader->GetUnit())
        owned = unit->ReleaseLeader(leader);
    if (owned.get() != leader)
        delete leader;
}

CMonarch* MakeMonarch(CCountry& country, const COVEvent& event) {
    const auto& payload = event.Payload();
    const ObjectId id = payload.Get(COVCreateMonarchEvent::kLeader);
    if (!id.IsNull() && !IsFreeLeaderId(id)) {
        DebugPrint("create monarch: id {%u, %u} refused\n", id.type, id.number);
        return nullptr;
    }
    std::unique_ptr<CMonarch> monarch = id.type == kLeaderIdType
                                            ? std::make_unique<CHistoricalMonarch>()
                                            : std::make_unique<CMonarch>();
    CLeader& leader = monarch->GetLeader();
    leader.SetId(id);
    if (id.type == kLeaderIdType && g_leaderRegistry)
        g_leaderRegistry->SetSlot(id.number, &leader);
    leader.SetName(payload.Get(COVCreateMonarchEvent::kName));
    leader.rank = payload.Get(COVCreateMonarchEvent::kRank);
    leader.manoeuvre = payload.Get(COVCreateMonarchEvent::kManoeuvre);
    leader.fire = payload.Get(COVCreateMonarchEvent::kFire);
    leader.shock = payload.Get(COVCreateMonarchEvent::kShock);
    leader.siege = payload.Get(COVCreateMonarchEvent::kSiege);
    leader.special = payload.Get(COVCreateMonarchEvent::kSpecial);
    leader.endDate = payload.Get(COVCreateMonarchEvent::kEndDate);
    leader.startDate = payload.Get(COVCreateMonarchEvent::kStartDate);
    leader.SetCountry(&country);
    monarch->mil = payload.Get(COVCreateMonarchEvent::kMil);
    monarch->dip = payload.Get(COVCreateMonarchEvent::kDip);
    monarch->adm = payload.Get(COVCreateMonarchEvent::kAdm);
    monarch->SetLoadedActive(true);
    return monarch.release();
}

const bool g_registered = [] {
    CountryMilitaryHooks& m = g_countryMilitary;
    m.makeUnit = MakeUnit;
    m.unitCost = UnitCost;
    m.loadArmy = LoadArmy;
    m.applyLosses = ApplyLosses;
    m.applySizeLosses = ApplySizeLosses;
    m.unitWaiting = [](const CUnit& unit) { return unit.IsInDevelopment(); };
    m.createLeader = CreateLeader;
    m.describeLeader = DescribeLeader;
    m.attachLeader = AttachLeader;
    m.killLeader = KillLeader;
    m.deleteLeader = DeleteLeader;
    m.makeMonarch = MakeMonarch;
    return true;
}();

} // namespace
