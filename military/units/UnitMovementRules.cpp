// The unit side of movement: which provinces a unit may enter, what a path
// costs, supply where the unit stands, discovery, and the step into the
// next province that every machine runs on "_COVEVT_UNITMOVE_".
#include <cmath>
#include <memory>

#include "country/Country.h"
#include "engine/CriticalError.h"
#include "engine/GameTimer.h"
#include "military/units/Leader.h"
#include "military/units/NavalUnit.h"
#include "military/units/Unit.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "world/PathSearch.h"
#include "world/Province.h"

int32_t CUnit::s_coastalDiscoveryFailures = 0;

namespace {

constexpr int32_t kPirates = 96;
constexpr int32_t kPortugal = 5;
constexpr int32_t kExplorerSeaArea = 139;
constexpr int32_t kDiscoveryCategory = 5;
// Men a level of a hostile city holds against a unit that would pass it.
constexpr int32_t kMenPerCityLevel = 2500;
// More failed coastal discovery chances in a row than this: the next
// succeeds.
constexpr int32_t kCoastalDiscoveryFailuresAllowed = 8;

// Calls f with each item of the list that is not marked removed, head first.
template <class Item, class F> void WalkList(const TListBase<Item>& list, F&& f) {
    typename TListBase<Item>::CListPosition node = nullptr;
    for (list.GetHeadPosition(node); node; TListBase<Item>::MoveNext(node))
        if (!node->removed)
            f(node->item);
}

int32_t NumberOf(const CCountry* country) {
    return country ? static_cast<int32_t>(country->GetNumber()) : -1;
}

bool HasDiscovered(const CProvince& province, int32_t country) {
    return country >= 0 && country < static_cast<int32_t>(province.discoveredBy.size()) &&
           province.discoveredBy[static_cast<size_t>(country)] != 0;
}

// A province whose city has a port: the fortress fleets lie in.
bool HasFortress(const CProvince& province) {
    return province.GetPort() != nullptr;
}

bool IsExploringCategory(int32_t category) {
    return category == LEADER_CONQUISTADOR || category == LEADER_EXPLORER;
}

bool LandLevelAtLeast11(const CCountry& country) {
    return country.GetLandTechLevel() >= 11 || g_fantasyMode != 0;
}

bool NavalLevelAtLeast21(const CCountry& country) {
    return country.GetNavalTechLevel() >= 21 || country.GetNumber() == kPortugal ||
           g_fantasyMode != 0;
}

// The first listed leader that may explore, null when none.
const CLeader* FirstExplorerLeader(const CLinkedList<CLeader>& leaders) {
    const CLeader* found = nullptr;
    WalkList(leaders, [&found](CLeader* leader) {
        if (!found && IsExploringCategory(leader->category))
            found = leader;
    });
    return found;
}

} // namespace

const CLeader* CUnit::GetMovementCommander() const {
    const CLeader* best = nullptr;
    WalkList(m_leaders, [&best](CLeader* leader) {
        if (!best || leader->rank < best->rank)
            best = leader;
    });
    return best;
}

bool CUnit::CanExplore() const {
    const CCountry* owner = GetOwner();
    if (!owner)
        return false;
    if (owner->GetNumber() == kPirates)
        return true;
    const bool level = IsFleet() ? NavalLevelAtLeast21(*owner) : LandLevelAtLeast11(*owner);
    return level || HasExplorerLeader();
}

bool CUnit::CanEnterProvince(const CProvince& province) const {
    const CCountry* owner = GetOwner();
    if (!owner)
        return false;
    const int32_t n = NumberOf(owner);
    const int32_t id = province.GetNumber();
    if (!owner->MayEnterProvince(id)) {
        // A trespasser may go on into the land of a military ally; anyone
        // may move within the land of the owner it stands in.
        const int32_t provinceOwner = province.GetOwnerNumber();
        if (trespassing && provinceOwner >= 0 &&
            owner->m_diplomacy.FindMilitaryAllianceWith(provinceOwner) != nullptr)
            return true;
        const CProvince* here = GetProvince(GetLocation());
        return here && here->GetOwnerNumber() == provinceOwner;
    }
    if (IsFleet() && HasFortress(province)) {
        const int32_t provinceOwner = province.GetOwnerNumber();
        const int32_t controller = province.GetControllerNumber();
        if (provinceOwner >= 0 && provinceOwner != n && !owner->IsCobelligerentWith(provinceOwner))
            return false;
        if (controller >= 0 && controller != n && !owner->IsCobelligerentWith(controller))
            return false;
    }
    if (!HasDiscovered(province, n))
        return CanExplore();
    const int32_t cityMen = province.GetFortressLevel() * kMenPerCityLevel;
    if (province.HasHostileCity(n) && !province.IsUnderSiege() && !province.HasEnemyUnit(n) &&
        GetSize() < cityMen)
        return false;
    const int32_t controller = province.GetControllerNumber();
    if (controller < 0)
        return true;
    if (!owner->IsBarredByDemarcationTreaty(id) || controller == n)
        return true;
    return GetSize() >= cityMen;
}

bool CUnit::IsSafeProvince(const CProvince& province) const {
    const CCountry* owner = GetOwner();
    const int32_t n = NumberOf(owner);
    if (!owner || province.IsSea() || !HasDiscovered(province, n) || province.HasEnemyUnit(n))
        return false;
    const int32_t provinceOwner = province.GetOwnerNumber();
    if (province.GetControllerNumber() == n || provinceOwner < 0)
        return true;
    return owner->IsCobelligerentWith(provinceOwner);
}

bool CUnit::MayEnter(int32_t provinceId) const {
    const CProvince* province = GetProvince(provinceId);
    if (!province || provinceId == 0)
        return false;
    if (!IsFleet()) {
        if (const CNavalUnit* carrier = static_cast<const CLandUnit*>(this)->GetCarrier())
            return carrier->CanUnloadTo(provinceId);
        if (province->IsSea())
            return false;
        const int32_t controller = province->GetControllerNumber();
        return IsSafeProvince(*province) ||
               (controller >= 0 && GetOwner() && GetOwner()->IsHostileTo(controller));
    }
    if (province->IsSea())
        return true;
    return province->coastal == 1 && province->GetOwnerNumber() == NumberOf(GetOwner()) &&
           HasFortress(*province);
}

bool CUnit::CanReach(int32_t provinceId) const {
    if (!MayEnter(provinceId))
        return false;
    CProvince* start = GetProvince(GetLocation());
    CProvince* goal = GetProvince(provinceId);
    if (!start || !goal)
        return false;
    if (IsFleet()) {
        CFleetPath strategy;
        return FindPath(strategy, this, *start, *goal);
    }
    CArmyPath strategy;
    return FindPath(strategy, this, *start, *goal);
}

double CUnit::GetPathCostFactor() const {
    const CLeader* commander = GetMovementCommander();
    // Without a listed leader the unit's own kind of leader commands, of
    // no skill.
    const int32_t category =
        commander ? commander->category : (IsFleet() ? LEADER_ADMIRAL : LEADER_GENERAL);
    const double manoeuvre = commander ? commander->manoeuvre : 0;
    const double base = category == LEADER_GENERAL ? 5.0 : category == LEADER_ADMIRAL ? 4.0 : 2.2;
    return base + (1.5 - manoeuvre * 0.15);
}

uint32_t CUnit::GetPathCost() const {
    double total = 0.0;
    WalkList(m_path, [&](int32_t id) {
        if (const CProvince* province = GetProvince(id))
            total = std::trunc(static_cast<double>(GetAttritionRateIn(*province)) + total);
    });
    return total > 0.0 ? static_cast<uint32_t>(total) : 0u;
}

bool CUnit::HasSupplyHere() const {
    CCountry* owner = GetOwner();
    const CProvince* province = GetProvince(GetLocation());
    if (!owner || !province || GetLocation() == 0)
        return false;
    if (trespassing) {
        const int32_t provinceOwner = province->GetOwnerNumber();
        if (provinceOwner < 0 || !owner->IsAlliedWith(provinceOwner))
            return false;
    }
    return province->SuppliesCountry(*owner);
}

int32_t CUnit::GetFinalDestination() const {
    int32_t last = GetLocation();
    WalkList(m_path, [&last](int32_t id) { last = id; });
    return last;
}

void CUnit::DiscoverProvince(int32_t provinceId) {
    CCountry* owner = GetOwner();
    const CProvince* province = GetProvince(provinceId);
    if (!owner || !province || provinceId == 0 || HasDiscovered(*province, NumberOf(owner)))
        return;
    float points = 0.0f;
    if (!province->IsSea())
        points = province->discovered ? 0.3f : 2.0f;
    else if (!province->discovered)
        points = 0.3f;
    owner->AddBaseVictoryPoints(kDiscoveryCategory, points);
    ExecuteEvent(std::make_unique<COVProvinceEvent>(EVT_DISCOVERPROVINCE, owner->GetId(),
                                                    static_cast<uint32_t>(provinceId)));
}

void CUnit::OnUnitMove(const COVEvent& event) {
    const COVEventData& payload = event.Payload();
    const int32_t destination = payload.Get(UnitMovePayload::kProvince);
    CProvince* target = GetProvince(destination);
    CCountry* owner = GetOwner();
    const int32_t n = NumberOf(owner);
    if (!target || destination == 0) {
        DebugPrint("Unit #%u: no province %d to move to\n", GetId().number, destination);
        return;
    }
    // An army steps into a sea zone only onto a fleet.
    CNavalUnit* fleet = nullptr;
    if (!IsFleet() && target->IsSea()) {
        fleet = dynamic_cast<CNavalUnit*>(ResolveId(payload.Get(UnitMovePayload::kCarrier)));
        if (!fleet) {
            DebugPrint("Unit #%u: no fleet to board in Prov%d\n", GetId().number, destination);
            return;
        }
    }
    DebugPrint("Unit #%u moved to Prov%d\n", GetId().number, destination);
    previousProvince = GetLocation();
    if (!HasDiscovered(*target, n))
        DiscoverProvince(destination);

    // A fleet off unknown coasts may sight the land beside it.
    if (IsFleet() && owner && target->area == kExplorerSeaArea) {
        const int32_t day = g_gameTimer ? g_gameTimer->GetDate().day : 0;
        const CLeader* explorer = FirstExplorerLeader(m_leaders);
        for (int32_t i = 0; i < target->neighbourCount && i < target->GetNeighbourTotal(); ++i) {
            const int32_t neighbourId = target->neighbours[static_cast<size_t>(i)].id;
            const CProvince* neighbour = GetProvince(neighbourId);
            if (!neighbour || neighbour->IsSea() || HasDiscovered(*neighbour, n))
                continue;
            if (owner->GetNavalTechLevel() >= 13) {
                DiscoverProvince(neighbourId);
                continue;
            }
            if (!explorer)
                continue;
            const int64_t roll =
                (int64_t{day} + destination + int64_t{GetId().number} + neighbourId) % 100;
            if (roll < explorer->manoeuvre ||
                s_coastalDiscoveryFailures > kCoastalDiscoveryFailuresAllowed) {
                s_coastalDiscoveryFailures = 0;
                DiscoverProvince(neighbourId);
            } else {
                ++s_coastalDiscoveryFailures;
            }
        }
    }

    if (GetNextPathProvince() == destination) {
        CIntList::CListPosition head = nullptr;
        m_path.GetHeadPosition(head);
        m_path.RemoveNode(head);
    } else
        DebugPrint("Unit #%u moved, but didn't have a path!?", GetId().number);
    if (m_path.IsEmpty()) {
        SetIdleState();
        if (IsRetreating())
            RestoreFlag();
    }
    if (trespassing && owner && owner->MayEnterProvince(destination)) {
        trespassing = 0;
        RestoreFlag();
    }
    if (!IsFleet()) {
        auto* army = static_cast<CLandUnit*>(this);
        if (CNavalUnit* carrier = army->GetCarrier()) {
            army->BoardFleet(destination, carrier);
            FaceNextStep();
            return;
        }
        if (fleet) {
            army->BoardFleet(destination, fleet);
            FaceNextStep();
            return;
        }
    }
    SetProvince(destination);
    FaceNextStep();
}

bool CUnit::OnMovePath(const COVEvent& event) {
    const COVEventData& payload = event.Payload();
    if (!payload.Holds(COVUnitMovePathEvent::kCount)) {
        DebugPrint("Unit #%u: a move path without its count\n", GetId().number);
        return false;
    }
    const uint16_t count = payload.Get(COVUnitMovePathEvent::kCount);
    if (COVUnitMovePathEvent::SizeFor(count) > payload.Size()) {
        DebugPrint("Unit #%u: a move path of %u provinces in %zu bytes\n", GetId().number,
                   unsigned{count}, payload.Size());
        return false;
    }
    CIntList provinces;
    for (size_t i = 0; i < count; ++i) {
        const int32_t id = payload.Get(COVUnitMovePathEvent::kSteps[i]);
        if (id < kFirstProvinceId || id > kLastProvinceId) {
            DebugPrint("Unit #%u: a move path through no province (%d)\n", GetId().number, id);
            return false;
        }
        provinces.AddTail(id);
    }
    SetPath(payload.Get(COVUnitMovePathEvent::kValue) != 0 ? 1 : 0, provinces);
    return true;
}
