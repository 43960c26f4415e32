// The agents' moves: routes found with the computer player's path rules,
// sent as move orders to the unit server, and merges of units that stand
// and go together.
#include <memory>
#include <vector>

#include "ai/AIAgent.h"
#include "ai/AIPlan.h"
#include "ai/military/Transport.h"
#include "country/Country.h"
#include "engine/CriticalError.h"
#include "military/server/UnitServer.h"
#include "military/units/Leader.h"
#include "military/units/NavalUnit.h"
#include "military/units/UnitList.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "world/PathSearch.h"
#include "world/Province.h"

namespace {

const char* OwnerName(const CUnit& unit) {
    return unit.GetOwner() ? unit.GetOwner()->GetName() : "";
}

} // namespace

std::vector<int32_t> AIRouteOf(CUnit& unit, CProvince& goal) {
    CProvince* start = GetProvince(unit.GetLocation());
    if (!start)
        return {};
    std::vector<int32_t> ids;
    if (unit.IsFleet()) {
        CAIFleetPath path;
        if (FindPath(path, &unit, *start, goal))
            ids = path.GetIds();
        path.RemoveAll();
    } else {
        CAIArmyPath path;
        if (FindPath(path, &unit, *start, goal))
            ids = path.GetIds();
        path.RemoveAll();
    }
    if (!ids.empty() && ids.front() == start->GetNumber())
        ids.erase(ids.begin());
    return ids;
}

namespace {

bool InFightingCombat(const CUnit& unit) {
    const int32_t combat = UnitCombatType(unit);
    return combat != 0 && combat != 3 && combat != 4;
}

void CancelMove(CUnit& unit) {
    if (g_unitServer)
        g_unitServer->CancelMove(unit);
    else
        unit.CancelMovement();
}

} // namespace

void SendMoveSteps(const CUnit& unit, const std::vector<int32_t>& steps) {
    bool first = true;
    for (int32_t id : steps) {
        auto order = std::make_unique<COVDataEvent>(EVT_UNITMOVE_ADD_DEST, g_unitServerId);
        order->Payload().Set(MoveDestinationPayload::kUnit, unit.GetId());
        order->Payload().Set(MoveDestinationPayload::kDestination, static_cast<uint16_t>(id));
        order->Payload().Set(MoveDestinationPayload::kReplace, static_cast<uint8_t>(first ? 1 : 0));
        order->SetSendFlag(0);
        ExecuteEvent(std::move(order));
        first = false;
    }
}

void CAIAgent::HaltUnit(CUnit* unit) {
    if (!unit || unit->IsPathEmpty())
        return;
    if (!unit->IsRetreating() && IsUnitFree(*unit)) {
        CAIAgent* holder = unit->GetAIAgent();
        unit->SetAIAgent(nullptr);
        const CProvince* at = GetProvince(unit->GetLocation());
        DebugPrint("Unit #%u (%s) is halted in %s!\n", unit->GetId().number, OwnerName(*unit),
                   at ? at->name.c_str() : "");
        CancelMove(*unit);
        unit->SetAIAgent(holder);
    } else {
        DebugPrint("Check this out!\n");
    }
}

int32_t CAIAgent::MoveUnitToProvince(CUnit* unit, CProvince* province, int32_t skip) {
    if (!unit || !province)
        return MOVE_NO_PATH;
    if (unit->GetLocation() == province->GetNumber())
        return MOVE_THERE;
    if (unit->IsRetreating() || InFightingCombat(*unit))
        return MOVE_NOT_FREE;
    std::vector<int32_t> steps = AIRouteOf(*unit, *province);
    if (steps.empty())
        return MOVE_NO_PATH;
    steps.erase(steps.begin(),
                steps.begin() +
                    std::min<ptrdiff_t>(std::max(skip, 0), static_cast<ptrdiff_t>(steps.size())));
    if (steps.empty()) {
        HaltUnit(unit);
        return MOVE_THERE;
    }
    SendMoveSteps(*unit, steps);
    return MOVE_ORDERED;
}

bool CAIAgent::TakeAndSendUnit(CUnit* unit, CProvince* province, int32_t skip) {
    if (!unit || !province)
        return false;
    if (unit->GetLocation() == province->GetNumber()) {
        CUnit* part = SelectUnitPart(unit);
        if (!part)
            return false;
        if (!failed && !succeeded)
            HaltUnit(part);
        AcceptUnit(part);
        MergeInto(part);
        return true;
    }
    if (unit->IsRetreating() || !IsUnitFree(*unit) || failed || succeeded)
        return false;
    std::vector<int32_t> steps = AIRouteOf(*unit, *province);
    if (steps.empty())
        return false;
    CUnit* part = SelectUnitPart(unit);
    if (!part)
        return false;
    AcceptUnit(part);
    steps.erase(steps.begin(),
                steps.begin() +
                    std::min<ptrdiff_t>(std::max(skip, 0), static_cast<ptrdiff_t>(steps.size())));
    SendMoveSteps(*part, steps);
    MergeInto(part);
    return true;
}

bool CAIAgent::TransportUnitTo(CUnit* unit, CProvince* province) {
    if (!unit || !province || unit->IsFleet())
        return false;
    if (unit->GetLocation() == province->GetNumber()) {
        CUnit* part = SelectArmyPart(unit);
        if (!part)
            return false;
        AcceptUnit(part);
        MergeInto(part);
        return true;
    }
    if (unit->IsRetreating() || InFightingCombat(*unit))
        return false;
    CAIKing* king = GetKing();
    if (!king)
        return false;
    auto* transport = new AITransport(king);
    transport->Init(this);
    transport->Evaluate(unit, province);
    if (transport->GetPriority() < kAIPlanDropPriority) {
        delete transport;
        return false;
    }
    CUnit* part = SelectArmyPart(unit);
    if (!part) {
        delete transport;
        return false;
    }
    AddChild(transport);
    if (CAIAgent* holder = part->GetAIAgent())
        holder->RemoveArmy(part);
    part->SetAIAgent(nullptr);
    transport->OfferArmy(part);
    transport->StartTransport(part);
    return true;
}

bool CAIAgent::MergeInto(CUnit* unit) {
    if (!unit)
        return false;
    return MergeUnitsInto(unit, unit->IsFleet() ? GetFleets() : GetArmies());
}

bool CAIAgent::MergeUnitsInto(CUnit* unit, CUnitList* list) {
    if (!list || !unit || unit->GetLocation() == 0 || unit->IsRetreating() ||
        unit->HasExplorerLeader())
        return false;
    const CProvince* at = GetProvince(unit->GetLocation());
    if (!at || at->HasCombat())
        return false;
    const int32_t destination = unit->GetFinalDestination();
    CUnitList here;
    if (unit->IsFleet() && !at->IsSea()) {
        if (at->portSeaZone)
            CollectProvinceUnits(at->GetNumber(), here);
    } else {
        CollectProvinceUnits(at->GetNumber(), here);
    }
    std::vector<CUnit*> candidates;
    here.ForEach([&](CUnit* c) {
        if (c != unit && c->IsFleet() == unit->IsFleet() && c->GetAIAgent() == this &&
            !c->IsRetreating() && c->GetFinalDestination() == destination &&
            !c->HasExplorerLeader())
            candidates.push_back(c);
    });
    here.RemoveAll();
    for (CUnit* c : candidates) {
        c->SetAIAgent(nullptr);
        list->Remove(c);
        DebugPrint("%s (#%u, %s) merges unit #%u into unit #%u!\n",
                   country ? country->GetName() : "", GetId().number, GetName(), c->GetId().number,
                   unit->GetId().number);
        auto merge = std::make_unique<COVDataEvent>(EVT_REQUEST_MERGE, g_unitRequestsId);
        merge->Payload().Set(MergeRequestPayload::kUnit, unit->GetId());
        merge->Payload().Set(MergeRequestPayload::kJoining, c->GetId());
        ExecuteAndSendEvent(std::move(merge));
    }
    return !candidates.empty();
}
