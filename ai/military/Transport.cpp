#include "ai/military/Transport.h"

#include <cmath>

#include "ai/king/King.h"
#include "ai/king/ResourceBroker.h"
#include "ai/military/AICombat.h"
#include "country/Country.h"
#include "engine/CriticalError.h"
#include "engine/Random.h"
#include "military/units/LandUnit.h"
#include "military/units/NavalUnit.h"
#include "world/PathSearch.h"
#include "world/Province.h"

namespace {

const char* Tag(const CCountry* country) {
    return country ? country->GetTag().c_str() : "";
}

const char* NameOf(const CProvince* province) {
    return province ? province->name.c_str() : "";
}

CUnit* First(CUnitList& list) {
    CUnit* first = nullptr;
    list.ForEach([&first](CUnit* unit) {
        if (!first)
            first = unit;
    });
    return first;
}

} // namespace

AITransport::~AITransport() {
    DetachUnits(m_armies);
    DetachUnits(m_fleets);
}

int32_t AITransport::ShippingCapacity() const {
    if (!country)
        return 0;
    return 2 * country->GetTransportCount() + country->GetGalleyCount() +
           country->GetWarshipCount();
}

void AITransport::Evaluate(CUnit* army, CProvince* province) {
    priority = 1.0f;
    objective = province;
    m_path.clear();
    if (!army || !province || army->IsFleet()) {
        priority = -1.0f;
        return;
    }
    if (ArmyTransportNeed(*army) > ShippingCapacity()) {
        priority = -1.0f;
        return;
    }
    CProvince* start = GetProvince(army->GetLocation());
    if (CNavalUnit* carrier = UnitCarrier(*army)) {
        start = carrier->GetAIAgent() == army->GetAIAgent() ? GetProvince(carrier->GetLocation())
                                                            : nullptr;
        if (!start) {
            priority = -1.0f;
            return;
        }
    }
    if (!start) {
        priority = -1.0f;
        return;
    }
    CAIArmyPlanPath route;
    if (FindPath(route, army, *start, *province))
        m_path = route.GetIds();
    route.RemoveAll();
    if (!m_path.empty() && m_path.front() == start->GetNumber())
        m_path.erase(m_path.begin());
    if (m_path.empty())
        priority = -1.0f;
}

void AITransport::StartTransport(CUnit* army) {
    if (!army)
        return;
    DebugPrint("AITransport #%u: Army #%u (%s) starts transporting to %s.\n", GetId().number,
               army->GetId().number, Tag(country), NameOf(objective));
    waypoint = nullptr;
    CAIPlan::Start();
    AcceptUnit(army);
    if (CNavalUnit* carrier = UnitCarrier(*army)) {
        if (CAIAgent* holder = carrier->GetAIAgent())
            if (holder != this)
                holder->RemoveFleet(carrier);
        carrier->SetAIAgent(nullptr);
        AcceptUnit(carrier);
        loadPending = false;
        if (m_path.empty()) {
            Succeed();
            return;
        }
        MoveToUnloadPoint();
        PostTimer(AIRandomDelay(15, 25), 1);
        return;
    }
    if (m_path.empty()) {
        Succeed();
        return;
    }
    if (army->IsRetreating() || !IsUnitFree(*army)) {
        Fail();
        return;
    }
    std::vector<int32_t> steps;
    for (int32_t id : m_path) {
        const CProvince* p = GetProvince(id);
        if (p && p->IsSea()) {
            waypoint = GetProvince(id);
            break;
        }
        steps.push_back(id);
    }
    if (!steps.empty())
        SendMoveSteps(*army, steps);
    else if (!army->IsPathEmpty())
        HaltUnit(army);
    loadPending = waypoint != nullptr;
    if (waypoint && owner) {
        const int32_t places = ArmyTransportNeed(*army);
        owner->RequestFleets(this, 0.0f, places, waypoint, 0);
    }
    PostTimer(AIRandomDelay(15, 25), 1);
    if (steps.empty() && waypoint)
        Load();
}

void AITransport::OnTimer(uint32_t) {
    if (!active)
        return;
    if (ShippingCapacity() < m_armies.TotalArmyStrength()) {
        Fail();
        return;
    }
    PostTimer(AIRandomDelay(15, 25), 1);
}

bool AITransport::OfferArmy(CUnit* army) {
    if (!army || failed || succeeded)
        return false;
    AcceptUnit(army);
    return true;
}

bool AITransport::OfferFleet(CUnit* fleet) {
    if (!fleet || failed || succeeded)
        return false;
    CUnit* part = SplitFleetForPlan(*this, fleet);
    if (!part)
        return false;
    if (waypoint && part->GetLocation() == waypoint->GetNumber()) {
        AcceptUnit(part);
        OnArrivedFleet(*part);
        return true;
    }
    if (!waypoint) {
        RejectUnit(part);
        return false;
    }
    const std::vector<int32_t> route = AIRouteOf(*part, *waypoint);
    if (route.empty()) {
        RejectUnit(part);
        return false;
    }
    AcceptUnit(part);
    SendMoveSteps(*part, route);
    return true;
}

void AITransport::RemoveArmy(CUnit* army) {
    CAIPlan::RemoveArmy(army);
    if (active && !m_ending)
        Fail();
}

void AITransport::RemoveFleet(CUnit* fleet) {
    CAIPlan::RemoveFleet(fleet);
    if (active && !m_ending)
        Fail();
}

void AITransport::OnArmyMoved(CUnit& army) {
    if (active && army.GetAIAgent() == this)
        OnArrivedArmy(army);
}

void AITransport::OnFleetMoved(CUnit& fleet) {
    if (active && fleet.GetAIAgent() == this)
        OnArrivedFleet(fleet);
}

void AITransport::OnArmyStopped(CUnit& army) {
    if (active && army.GetAIAgent() == this)
        Fail();
}

void AITransport::OnFleetStopped(CUnit& fleet) {
    if (active && fleet.GetAIAgent() == this)
        Fail();
}

void AITransport::OnArrivedArmy(CUnit& army) {
    const CProvince* at = GetProvince(army.GetLocation());
    if (!army.IsPathEmpty()) {
        DebugPrint("AITransport #%u: Army #%u (%s) moved to %s!\n", GetId().number,
                   army.GetId().number, Tag(country), NameOf(at));
        return;
    }
    DebugPrint("AITransport #%u: Army #%u (%s) has arrived at %s!\n", GetId().number,
               army.GetId().number, Tag(country), NameOf(at));
    if (loadPending) {
        if (UnitCarrier(army))
            MoveToUnloadPoint();
        else
            Load();
    } else if (!UnitCarrier(army)) {
        Succeed();
    }
}

void AITransport::OnArrivedFleet(CUnit& fleet) {
    const CProvince* at = GetProvince(fleet.GetLocation());
    if (!fleet.IsPathEmpty()) {
        DebugPrint("AITransport #%u: Fleet #%u (%s) moved to %s!\n", GetId().number,
                   fleet.GetId().number, Tag(country), NameOf(at));
        return;
    }
    DebugPrint("AITransport #%u: Fleet #%u (%s) has arrived at %s!\n", GetId().number,
               fleet.GetId().number, Tag(country), NameOf(at));
    if (loadPending) {
        MergeInto(&fleet);
        Load();
    } else {
        Unload();
    }
}

void AITransport::Load() {
    CUnit* army = First(m_armies);
    if (!army || !waypoint || m_fleets.IsEmpty())
        return;
    const CProvince* common = m_fleets.GetCommonProvince();
    if (!common || common->GetNumber() != waypoint->GetNumber() || !m_fleets.HasRoomFor(*army))
        return;
    DebugPrint("AITransport #%u of %s: Loads Army #%u.\n", GetId().number, Tag(country),
               army->GetId().number);
    SendMoveSteps(*army, {waypoint->GetNumber()});
    if (CAIResourceRequest* request = RequestSlot(AIRES_FLEETS))
        request->Clear();
}

void AITransport::SendFleets(const std::vector<int32_t>& steps) {
    bool first = true;
    for (int32_t id : steps) {
        m_fleets.SendMoveAddDest(id, first ? 1 : 0);
        first = false;
    }
}

void AITransport::MoveToUnloadPoint() {
    if (waypoint)
        DebugPrint("AITransport #%u of %s: Starts moving to the Unload Point (%s).\n",
                   GetId().number, Tag(country), NameOf(waypoint));
    else
        DebugPrint("AITransport #%u of %s: Starts moving to the Unload Point (outside %s).\n",
                   GetId().number, Tag(country), NameOf(objective));
    size_t from = 0;
    if (waypoint)
        for (size_t i = 0; i < m_path.size(); ++i)
            if (m_path[i] == waypoint->GetNumber()) {
                from = i + 1;
                break;
            }
    std::vector<int32_t> seaSteps;
    CProvince* landing = nullptr;
    for (size_t i = from; i < m_path.size(); ++i) {
        CProvince* p = GetProvince(m_path[i]);
        if (p && !p->IsSea()) {
            landing = p;
            break;
        }
        seaSteps.push_back(m_path[i]);
    }
    waypoint = landing;
    loadPending = false;
    if (seaSteps.empty()) {
        Unload();
        return;
    }
    SendFleets(seaSteps);
}

void AITransport::Unload() {
    if (!waypoint || !m_fleets.CanUnloadTo(waypoint->GetNumber())) {
        Fail();
        return;
    }
    DebugPrint("AITransport #%u of %s: Starts unloading to %s.\n", GetId().number, Tag(country),
               NameOf(waypoint));
    CUnit* army = First(m_armies);
    if (!army)
        return;
    std::vector<int32_t> rest;
    bool on = false;
    for (int32_t id : m_path) {
        on = on || id == waypoint->GetNumber();
        if (on)
            rest.push_back(id);
    }
    SendMoveSteps(*army, rest);
}

void AITransport::Succeed() {
    if (m_ending)
        return;
    m_ending = true;
    CAIAgent* asking = parent;
    CAIKing* king = GetKing();
    std::vector<CUnit*> armies;
    m_armies.ForEach([&armies](CUnit* unit) { armies.push_back(unit); });
    std::vector<CUnit*> fleets;
    m_fleets.ForEach([&fleets](CUnit* unit) { fleets.push_back(unit); });
    for (CUnit* unit : armies) {
        m_armies.Remove(unit);
        unit->SetAIAgent(nullptr);
        if (asking && !asking->IsKing())
            HandOverUnit(asking, unit);
        else
            HandOverUnit(king, unit);
    }
    for (CUnit* unit : fleets) {
        m_fleets.Remove(unit);
        unit->SetAIAgent(nullptr);
        HandOverUnit(king, unit);
    }
    CAIPlan::Succeed();
}

void AITransport::Fail() {
    if (m_ending)
        return;
    m_ending = true;
    CAIKing* king = GetKing();
    std::vector<CUnit*> units;
    m_fleets.ForEach([&units](CUnit* unit) { units.push_back(unit); });
    m_armies.ForEach([&units](CUnit* unit) { units.push_back(unit); });
    CAIPlan::Fail();
    for (CUnit* unit : units) {
        m_fleets.Remove(unit);
        m_armies.Remove(unit);
        if (unit->GetAIAgent() == this)
            unit->SetAIAgent(nullptr);
        if (king && CAIKing::IsLive(king))
            HandOverUnit(king, unit);
    }
}
