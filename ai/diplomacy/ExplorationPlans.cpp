#include "ai/diplomacy/ExplorationPlans.h"

#include <algorithm>

#include "ai/king/King.h"
#include "country/Country.h"
#include "engine/CriticalError.h"
#include "engine/Random.h"
#include "military/units/Unit.h"
#include "world/Goods.h"
#include "world/Province.h"
#include "world/ProvinceDistance.h"

namespace {

// Land below this terrain code.
constexpr int32_t kFirstNonLandTerrain = 5;
// The country whose coasts of the regions 47 to 51 are worth a little.
constexpr uint32_t kPortugal = 5;

const char* NameOf(const CCountry* country) {
    return country ? country->GetName() : "";
}

size_t Slot(const CCountry& country) {
    return static_cast<size_t>(country.GetNumber());
}

bool Discovered(const CProvince& province, const CCountry& country) {
    const size_t slot = Slot(country);
    return slot < province.discoveredBy.size() && province.discoveredBy[slot] != 0;
}

// Land on another continent than the capital, for a country with neither
// warships nor transports to get there.
bool OverseasWithoutShips(const CCountry& country, const CProvince& province) {
    if (country.GetWarshipCount() > 0 || country.GetTransportCount() > 0)
        return false;
    const CProvince* capital = country.GetCapital();
    return capital && capital->continent != province.continent;
}

// What the waters of a region add to the wish to sail them.
float RegionBonus(int32_t region, uint32_t self) {
    if ((region >= 25 && region <= 28) || (region >= 52 && region <= 58))
        return 0.0f;
    if (region >= 29 && region <= 46)
        return 100.0f;
    if (region >= 47 && region <= 51)
        return self == kPortugal ? 10.0f : 0.0f;
    return 100.0f;
}

} // namespace

// ---------------------------------------------------------------------------
// The base

CAIExplorationPlan::~CAIExplorationPlan() {
    DetachUnits(m_armies);
    DetachUnits(m_fleets);
}

CProvince* CAIExplorationPlan::GetGoalProvince() const {
    const auto id = static_cast<int32_t>(goal);
    return id >= kFirstProvinceId && id <= kLastProvinceId ? GetProvince(id) : nullptr;
}

void CAIExplorationPlan::Start() {
    CAIPlan::Start();
    const CProvince* province = GetGoalProvince();
    DebugPrint("%s starts an %s plan for %s(%d) \n", NameOf(country), GetName(),
               province ? province->name.c_str() : "", static_cast<int>(goal));
}

bool CAIExplorationPlan::HoldsUnit() const {
    if (!m_armies.IsEmpty() || !m_fleets.IsEmpty())
        return true;
    // An army at sea belongs to the transport carrying it.
    bool held = false;
    const_cast<CLinkedList<CAIAgent>&>(children).ForEach([&held](CAIAgent* child) {
        if (child && child->GetArmies() && !child->GetArmies()->IsEmpty())
            held = true;
    });
    return held;
}

void CAIExplorationPlan::RemoveArmy(CUnit* army) {
    CAIDiplomaticPlan::RemoveArmy(army);
    // Whether any is left is asked once the taking is over.
    if (active && !failed && !succeeded)
        PostTimer(0, kUnitLeft);
}

void CAIExplorationPlan::RemoveFleet(CUnit* fleet) {
    CAIDiplomaticPlan::RemoveFleet(fleet);
    if (active && !failed && !succeeded)
        PostTimer(0, kUnitLeft);
}

void CAIExplorationPlan::OnTimer(uint32_t value) {
    if (!active)
        return;
    switch (value) {
    case kWatch:
        OnWatch();
        break;
    case kUnitLeft:
        if (unitRequested && !HoldsUnit())
            Cancel();
        break;
    case kHandedAtGoal:
        if (CUnit* unit = ArmyAtGoal())
            OnAtGoal(*unit);
        break;
    default:
        break;
    }
}

CUnit* CAIExplorationPlan::ArmyAtGoal() {
    const CProvince* province = GetGoalProvince();
    CUnit* found = nullptr;
    if (province)
        m_armies.ForEach([&found, province](CUnit* unit) {
            if (!found && unit->GetLocation() == province->GetNumber())
                found = unit;
        });
    return found;
}

bool CAIExplorationPlan::SendArmy(CUnit* army) {
    CProvince* province = GetGoalProvince();
    if (army && province && country) {
        const bool there = army->GetLocation() == province->GetNumber();
        if (TakeAndSendUnit(army, province, 0)) {
            // An army handed over at the goal (a transport's, landing) is
            // dealt with once the handing over is done.
            if (there)
                PostTimer(0, kHandedAtGoal);
            else
                DebugPrint("%s sends an conquistador towards %s(%d) with a %s plan\n",
                           NameOf(country), province->name.c_str(), province->GetNumber(),
                           GetName());
            return true;
        }
        if (TransportUnitTo(army, province)) {
            DebugPrint("%s sends an conquistador and we do it with TRANSPORTS towards %s(%d) "
                       "with a %s plan\n",
                       NameOf(country), province->name.c_str(), province->GetNumber(), GetName());
            return true;
        }
    }
    BounceUnit(army);
    return false;
}

// ---------------------------------------------------------------------------
// Sea zones

void CAIPlanExploreSeazone::Evaluate() {
    priority = 0.0f;
    const CProvince* zone = GetGoalProvince();
    if (!zone || !country)
        return;
    const int32_t self = static_cast<int32_t>(country->GetNumber());
    std::vector<const CProvince*> unknown;
    for (const ProvinceNeighbour& link : zone->neighbours) {
        const CProvince* next = link.id >= kFirstProvinceId ? GetProvince(link.id) : nullptr;
        if (next && !Discovered(*next, *country))
            unknown.push_back(next);
    }
    if (unknown.empty())
        return;
    const auto u = static_cast<float>(unknown.size());
    float r = Discovered(*zone, *country) ? 0.0f : 20.0f;
    for (const CProvince* next : unknown) {
        float w = static_cast<float>(next->tax) + (next->goods ? next->goods->price : 0.0f);
        if (next->GetOwnerNumber() >= 0 && next->GetOwnerNumber() != self)
            w *= 2.0f;
        w = std::max(w - next->ferocity / 2.0f, 1.0f);
        r += country->m_aiPrefs.RateProvince(w / u, *next);
    }
    if (g_fantasyMode == 0)
        r += RegionBonus(zone->region, country->GetNumber());
    priority = r;
}

void CAIPlanExploreSeazone::Start() {
    CAIExplorationPlan::Start();
    if (CAIKing::IsLive(owner))
        owner->RequestFleets(this, 1.0f, 0, GetGoalProvince(), 3);
}

bool CAIPlanExploreSeazone::OfferFleet(CUnit* fleet) {
    CProvince* province = GetGoalProvince();
    if (!fleet || !province || !active || failed || succeeded || HoldsUnit())
        return false;
    unitRequested = true;
    if (!TakeAndSendUnit(fleet, province, 0)) {
        BounceUnit(fleet);
        return false;
    }
    if (fleet->GetLocation() == province->GetNumber())
        OnAtGoal(*fleet);
    else
        DebugPrint("%s sends an explorer towards %s(%d)\n", NameOf(country), province->name.c_str(),
                   province->GetNumber());
    return true;
}

void CAIPlanExploreSeazone::OnFleetMoved(CUnit& fleet) {
    const CProvince* province = GetGoalProvince();
    if (!active || !province || fleet.GetAIAgent() != this)
        return;
    if (fleet.GetLocation() == province->GetNumber())
        OnAtGoal(fleet);
    else if (fleet.IsPathEmpty())
        Cancel();
}

void CAIPlanExploreSeazone::OnAtGoal(CUnit&) {
    const CProvince* province = GetGoalProvince();
    DebugPrint("%s has now sea explored %s(%d)\n", NameOf(country),
               province ? province->name.c_str() : "", static_cast<int>(goal));
    Succeed();
}

// ---------------------------------------------------------------------------
// Land provinces

void CAIPlanExploreProvince::Evaluate() {
    priority = 1.0f;
    const CProvince* province = GetGoalProvince();
    if (!province || !country || OverseasWithoutShips(*country, *province)) {
        priority = -1.0f;
        return;
    }
    if (g_fantasyMode != 0) {
        const float distance =
            country->GetCapital() ? ProvinceDistance(country->GetCapitalId(), province->GetNumber())
                                  : 1.0f;
        priority = 100.0f / std::max(distance, 1.0f);
        return;
    }
    priority = std::max(country->m_aiPrefs.RateProvince(1.0f, *province), 1.0f);
}

CProvince* CAIPlanExploreProvince::GatheringProvince() const {
    const CProvince* province = GetGoalProvince();
    CProvince* gathering = nullptr;
    if (province && country)
        for (const ProvinceNeighbour& link : province->neighbours) {
            CProvince* next = link.id >= kFirstProvinceId ? GetProvince(link.id) : nullptr;
            if (next && next->terrain < kFirstNonLandTerrain && Discovered(*next, *country))
                gathering = next;
        }
    if (!gathering && country)
        gathering = country->GetCapital();
    return gathering;
}

void CAIPlanExploreProvince::Start() {
    CAIExplorationPlan::Start();
    if (CAIKing::IsLive(owner))
        owner->RequestArmies(this, 4000.0f, 1, 1, GatheringProvince(), 2);
    PostTimer(30 + GameRand() % 30, kWatch);
}

bool CAIPlanExploreProvince::OfferArmy(CUnit* army) {
    if (!army || !active || failed || succeeded)
        return false;
    unitRequested = true;
    return SendArmy(army);
}

void CAIPlanExploreProvince::OnArmyMoved(CUnit& army) {
    const CProvince* province = GetGoalProvince();
    if (!active || !province || army.GetAIAgent() != this)
        return;
    if (army.GetLocation() == province->GetNumber()) {
        OnAtGoal(army);
    } else if (army.IsPathEmpty()) {
        DebugPrint("%s plan #%d unit #%d isnt moving, we cancel\n", NameOf(country),
                   static_cast<int>(GetId().number), static_cast<int>(army.GetId().number));
        Cancel();
    }
}

void CAIPlanExploreProvince::OnArmyStopped(CUnit& army) {
    if (!active || army.GetAIAgent() != this)
        return;
    DebugPrint("%s plan #%d unit #%d is stopped, we cancel\n", NameOf(country),
               static_cast<int>(GetId().number), static_cast<int>(army.GetId().number));
    Cancel();
}

void CAIPlanExploreProvince::OnAtGoal(CUnit&) {
    const CProvince* province = GetGoalProvince();
    DebugPrint("%s has now land explored %s(%d)\n", NameOf(country),
               province ? province->name.c_str() : "", static_cast<int>(goal));
    Succeed();
}

void CAIPlanExploreProvince::OnWatch() {
    const CProvince* province = GetGoalProvince();
    if (!province || !country || !m_fleets.IsEmpty() || Discovered(*province, *country) ||
        (unitRequested && !HoldsUnit())) {
        Cancel();
        return;
    }
    PostTimer(30 + GameRand() % 30, kWatch);
}

// ---------------------------------------------------------------------------
// Natives

void CAIPlanGenocide::Evaluate() {
    priority = 1.0f;
    const CProvince* province = GetGoalProvince();
    if (!province || !country || OverseasWithoutShips(*country, *province)) {
        priority = -1.0f;
        return;
    }
    priority = static_cast<float>(province->natives);
}

void CAIPlanGenocide::Start() {
    CAIExplorationPlan::Start();
    CProvince* province = GetGoalProvince();
    if (CAIKing::IsLive(owner) && province)
        owner->RequestArmies(this, static_cast<float>(province->natives) * 150.0f, 1, 1, province,
                             0);
    PostTimer(10 + GameRand() % 15, kWatch);
}

bool CAIPlanGenocide::OfferArmy(CUnit* army) {
    if (!army || !active || failed || succeeded)
        return false;
    unitRequested = true;
    return SendArmy(army);
}

void CAIPlanGenocide::OnArmyMoved(CUnit& army) {
    const CProvince* province = GetGoalProvince();
    if (active && province && army.GetAIAgent() == this &&
        army.GetLocation() == province->GetNumber())
        OnAtGoal(army);
}

void CAIPlanGenocide::OnAtGoal(CUnit& unit) {
    const CProvince* province = GetGoalProvince();
    if (province && country && province->natives > 0 &&
        unit.GetLocation() == province->GetNumber() && IsUnitFree(unit)) {
        DebugPrint("%s will now KillNatives in %s(%d)\n", NameOf(country), province->name.c_str(),
                   province->GetNumber());
        country->SendRequestNativeAttack(static_cast<uint32_t>(province->GetNumber()));
        return;
    }
    if (!province || province->natives <= 0) {
        DebugPrint("%s genocider #%d is done\n", NameOf(country), static_cast<int>(GetId().number));
        Succeed();
        return;
    }
    DebugPrint("%s cancels #%d, can't kill natives (not anyone around)\n", NameOf(country),
               static_cast<int>(GetId().number));
    Cancel();
}

void CAIPlanGenocide::OnWatch() {
    if (CUnit* unit = ArmyAtGoal()) {
        OnAtGoal(*unit);
    } else {
        bool standing = false;
        m_armies.ForEach([&standing](CUnit* army) { standing = standing || army->IsPathEmpty(); });
        if (standing) {
            DebugPrint("%s genocider #%d isnt moving, we cancel\n", NameOf(country),
                       static_cast<int>(GetId().number));
            Cancel();
        }
    }
    if (active)
        PostTimer(20 + GameRand() % 10, kWatch);
}
