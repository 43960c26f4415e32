#include "military/server/UnitServer.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "country/Country.h"
#include "engine/CriticalError.h"
#include "engine/GameTimer.h"
#include "engine/Random.h"
#include "military/server/HostDispatcher.h"
#include "military/units/LandUnit.h"
#include "military/units/NavalUnit.h"
#include "military/units/UnitList.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "world/PathSearch.h"
#include "world/Province.h"

UnitServerHooks g_unitServerHooks;
UnitServer* g_unitServer = nullptr;

namespace {

// The sea regions where galleys sail safely.
constexpr int32_t kSafeGalleyRegions[] = {40, 43, 44};
// A galley is lost when a roll modulo 100 falls below this.
constexpr int kGalleyLossChance = 20;
constexpr int kMaxBoardingAttempts = 10;

// The dispatcher hands the unit server its requests and the month.
const bool g_unitServerRegistered = [] {
    g_hostServers[HOST_UNIT_SERVER] = [](COVEvent& event) {
        return g_unitServer ? g_unitServer->HandleEvent(event) : 0;
    };
    return true;
}();

CDate Today() {
    return g_gameTimer ? g_gameTimer->GetDate() : CDate();
}

const char* OwnerName(const CUnit& unit) {
    const CCountry* owner = unit.GetOwner();
    return owner ? owner->GetTag().c_str() : "";
}

bool IsProvinceId(int64_t id) {
    return id >= kFirstProvinceId && id <= kLastProvinceId;
}

bool CanEnter(const CUnit& unit, const CProvince& province) {
    return !g_pathSearchHooks.unitCanEnter || g_pathSearchHooks.unitCanEnter(unit, province);
}

bool CanUnload(const CNavalUnit& fleet, int32_t province) {
    return !g_unitStateHooks.canUnloadTo || g_unitStateHooks.canUnloadTo(fleet, province);
}

const void* AgentOf(const CUnit& unit) {
    return g_unitStateHooks.agent ? g_unitStateHooks.agent(unit) : nullptr;
}

// The battle types: a combat that is neither a cover nor a siege.
bool InBattle(const CUnit& unit) {
    const int32_t type = UnitCombatType(unit);
    return type != 0 && type != 3 && type != 4;
}

// The province of the second path entry, 0 when the path is shorter.
int32_t SecondPathProvince(const CUnit& unit) {
    CIntList::CListPosition position = nullptr;
    int index = 0;
    for (unit.GetPath().GetHeadPosition(position); position; CIntList::MoveNext(position)) {
        if (position->removed)
            continue;
        if (index++ == 1)
            return position->item;
    }
    return 0;
}

int32_t PathCount(const CUnit& unit) {
    int32_t count = 0;
    CIntList::CListPosition position = nullptr;
    for (unit.GetPath().GetHeadPosition(position); position; CIntList::MoveNext(position))
        count += position->removed ? 0 : 1;
    return count;
}

// "_COVEVT_UNITMOVE_" for the unit, run here and sent.
void SendUnitMove(const CUnit& unit, int32_t province, const ObjectId& carrier) {
    auto move = std::make_unique<COVDataEvent>(EVT_UNITMOVE, unit.GetId());
    move->Payload().Set(UnitMovePayload::kProvince, static_cast<uint16_t>(province));
    move->Payload().Set(UnitMovePayload::kCarrier, carrier);
    ExecuteAndSendEvent(std::move(move));
}

void SendUnitDelete(const CUnit& unit) {
    const CCountry* owner = unit.GetOwner();
    if (!owner)
        return;
    auto deletion = std::make_unique<COVDataEvent>(EVT_UNITDELETE, owner->GetId());
    deletion->Payload().Set(UnitRequestPayload::kUnit, unit.GetId());
    ExecuteAndSendEvent(std::move(deletion));
}

// The fleet of the list with the army's owner and agent that has the most
// free space, the first on ties; null when none.
CNavalUnit* BestFleetFor(const CUnitList& units, const CUnit& army, int32_t& freeSpace) {
    CNavalUnit* best = nullptr;
    const void* agent = AgentOf(army);
    CUnitList::CListPosition position = nullptr;
    for (units.GetHeadPosition(position); position; CUnitList::MoveNext(position)) {
        CUnit* unit = position->item;
        if (position->removed || !unit || !unit->IsFleet() || unit->GetOwner() != army.GetOwner() ||
            AgentOf(*unit) != agent)
            continue;
        const int32_t space = FleetFreeSpace(*unit);
        if (!best || space > freeSpace) {
            best = static_cast<CNavalUnit*>(unit);
            freeSpace = space;
        }
    }
    return best;
}

int32_t Up(float value) {
    return static_cast<int32_t>(std::ceil(std::max(value, 0.0f)));
}

} // namespace

// ------------------------------------------------------------------ helpers

void ClearPendingMoveStep(CUnit& unit) {
    if (!unit.pendingStep)
        return;
    unit.pendingStep->SetReceiver(g_nullId);
    unit.pendingStep = nullptr;
}

void ApplyUnitLosses(CUnit& unit, float amount) {
    unit.SendLosses(amount, 0);
    if (g_unitServerHooks.checkAttrition)
        g_unitServerHooks.checkAttrition(unit);
}

CUnit* FindUnitById(const ObjectId& id) {
    if (id.IsNull())
        return nullptr;
    return dynamic_cast<CUnit*>(ResolveId(id));
}

// --------------------------------------------------------------- UnitServer

UnitServer::UnitServer() {
    SetId(g_unitServerId);
}

int UnitServer::HandleEvent(COVEvent& event) {
    COVEventData& payload = event.Payload();
    switch (event.GetType()) {
    case EVT_TIMER_MONTH:
        OnMonth();
        break;
    case EVT_UNITMOVE_ADD_DEST: {
        if (!payload.Holds(MoveDestinationPayload::kReplace))
            break;
        const ObjectId id = payload.Get(MoveDestinationPayload::kUnit);
        const int32_t destination = payload.Get(MoveDestinationPayload::kDestination);
        if (!IsProvinceId(destination)) {
            DebugPrint("UnitServer: Move order for Unit #%d to Prov %d dropped.\n",
                       static_cast<int>(id.number), destination);
            break;
        }
        AddDestination(FindUnitById(id), destination,
                       payload.Get(MoveDestinationPayload::kReplace));
        break;
    }
    case EVT_GOTO_FRIENDLY_PROVINCE:
        if (!payload.Holds(GotoFriendlyPayload::kUnit))
            break;
        if (CUnit* unit = FindUnitById(payload.Get(GotoFriendlyPayload::kUnit)))
            OnGotoFriendlyProvince(*unit);
        break;
    case EVT_UNNAMED_57:
        OnMoveStep(event);
        break;
    default:
        break;
    }
    return 0;
}

void UnitServer::AddDestination(CUnit* unit, int32_t destination, uint8_t replace) {
    if (!unit)
        return;
    if (!IsProvinceId(destination)) {
        DebugPrint("UnitServer: Move order for Unit #%d to Prov %d dropped.\n",
                   static_cast<int>(unit->GetId().number), destination);
        return;
    }
    if (replace) {
        DebugPrint("UnitServer: New Destination (prov %d) for Unit #%d (%s).\n", destination,
                   static_cast<int>(unit->GetId().number), OwnerName(*unit));
        if (destination == unit->GetLocation() && !unit->IsPathEmpty()) {
            CancelMove(*unit);
            return;
        }
    } else {
        DebugPrint("UnitServer: Add Destination (prov %d) for Unit #%d (%s).\n", destination,
                   static_cast<int>(unit->GetId().number), OwnerName(*unit));
    }

    if (InBattle(*unit)) {
        if (g_unitServerHooks.requestRetreat)
            g_unitServerHooks.requestRetreat(*unit, destination);
        return;
    }

    CProvince* goal = GetProvince(destination);
    CNavalUnit* carrier = UnitCarrier(*unit);
    if (unit->IsArmy()) {
        if (goal->IsSea()) {
            CUnitList fleets;
            CollectProvinceUnits(destination, fleets);
            if (!goal->coastalSeaZone || !fleets.HasRoomFor(*unit))
                return;
        }
        if (carrier && !CanUnload(*carrier, destination))
            return;
    } else {
        std::vector<CLandUnit*> cargo;
        const_cast<CLinkedList<CLandUnit>&>(static_cast<CNavalUnit*>(unit)->GetCargo())
            .ForEach([&cargo](CLandUnit* army) { cargo.push_back(army); });
        for (CLandUnit* army : cargo)
            CancelMove(*army);
    }

    int32_t start =
        replace || unit->IsPathEmpty() ? unit->GetLocation() : unit->GetFinalDestination();
    if (carrier && (start <= 0 || replace || unit->IsPathEmpty()))
        start = carrier->GetFinalDestination();
    CProvince* from = IsProvinceId(start) ? GetProvince(start) : nullptr;

    std::vector<int32_t> path;
    if (from) {
        if (unit->IsFleet()) {
            CFleetPath strategy;
            if (FindPath(strategy, unit, *from, *goal))
                path = strategy.GetIds();
        } else {
            CArmyPath strategy;
            if (FindPath(strategy, unit, *from, *goal))
                path = strategy.GetIds();
        }
    }
    if (path.empty()) {
        DebugPrint("UnitServer: No path in pathfind!\n");
        return;
    }
    DebugPrint("UnitServer: Found a path of length %d.\n", static_cast<int>(path.size()));

    bool schedule = true;
    if (!unit->IsPathEmpty()) {
        if (!replace)
            schedule = false;
        else if (path.front() == unit->GetNextPathProvince())
            schedule = false;
        else
            ClearPendingMoveStep(*unit);
    }

    std::vector<uint16_t> steps(path.begin(), path.end());
    ExecuteAndSendEvent(
        std::make_unique<COVUnitMovePathEvent>(unit->GetId(), replace ? 1 : 0, steps));

    if (schedule)
        ScheduleMoveStep(*unit, unit->GetLocation(), unit->GetNextPathProvince());

    if (UnitInCombat(*unit) && g_unitServerHooks.removeFromCombats)
        g_unitServerHooks.removeFromCombats(*unit);
}

void UnitServer::ScheduleMoveStep(CUnit& unit, int32_t from, int32_t to) {
    const CProvince* start = nullptr;
    if (from <= 0 || UnitCarrier(unit)) {
        const CNavalUnit* carrier = UnitCarrier(unit);
        start = carrier ? GetProvince(carrier->GetLocation()) : nullptr;
    } else {
        start = IsProvinceId(from) ? GetProvince(from) : nullptr;
    }
    const CProvince* next = IsProvinceId(to) ? GetProvince(to) : nullptr;
    if (!start || !next)
        return;
    int32_t days = UnitStepDays(unit, *start, *next);
    DebugPrint("UnitServer: movetime %d\n", days);
    days = std::max(days, 1);

    unit.moveStartDate = Today();
    unit.nextStepDate = unit.moveStartDate;
    unit.nextStepDate.AddDays(days);
    DebugPrint("UnitServer: Scheduling move for #%d to %d (date %d-%d-%d)\n",
               static_cast<int>(unit.GetId().number), to, unit.nextStepDate.year,
               unit.nextStepDate.month, unit.nextStepDate.day);

    ClearPendingMoveStep(unit);
    auto step = MakeMoveStepEvent(unit.GetId(), static_cast<uint16_t>(to));
    unit.pendingStep = step.get();
    PostEventAt(std::move(step), unit.nextStepDate);
}

void UnitServer::CancelMove(CUnit& unit) {
    if (unit.IsRetreating()) {
        DebugPrint("UnitServer: CancelMove for Retreating Unit #%d (%s) on server.\n",
                   static_cast<int>(unit.GetId().number), OwnerName(unit));
        const int32_t retreat =
            g_unitStateHooks.findRetreatProvince ? g_unitStateHooks.findRetreatProvince(unit) : 0;
        if (IsProvinceId(retreat))
            AddDestination(&unit, retreat, 1);
        else
            SendUnitDelete(unit);
        return;
    }
    if (unit.IsPathEmpty())
        return;
    DebugPrint("UnitServer: CancelMove for Unit #%d (%s) on server.\n",
               static_cast<int>(unit.GetId().number), OwnerName(unit));
    auto cancel = std::make_unique<COVDataEvent>(EVT_UNITMOVECANCEL, unit.GetId());
    cancel->Payload().Set(UnitMoveCancelPayload::kUnit, unit.GetId());
    ExecuteAndSendEvent(std::move(cancel));
}

void UnitServer::OnGotoFriendlyProvince(CUnit& unit) {
    const CProvince* here = GetProvince(unit.GetLocation());
    if (here && IsProvinceId(unit.GetLocation()) && CanEnter(unit, *here))
        return;
    const CCountry* owner = unit.GetOwner();
    const int32_t capital = owner ? owner->GetCapitalId() : 0;
    if (!IsProvinceId(capital))
        return;
    // Every machine puts the unit there: the move goes out with the send
    // flag.
    ExecuteAndSendEvent(std::make_unique<COVProvinceEvent>(EVT_SET_IN_PROVINCE, unit.GetId(),
                                                           static_cast<uint32_t>(capital)));
}

void UnitServer::OnMoveStep(COVEvent& step) {
    const COVEventData& payload = step.Payload();
    if (!payload.Holds(MoveStepPayload::kProvince))
        return;
    CUnit* unit = FindUnitById(payload.Get(MoveStepPayload::kUnit));
    // Only the step this server posted for the unit moves it.
    if (!unit || unit->pendingStep != &step)
        return;
    unit->pendingStep = nullptr;
    const int32_t id = payload.Get(MoveStepPayload::kProvince);
    DebugPrint("UnitServer: Move update for Unit #%d (%s) to Prov %d.\n",
               static_cast<int>(unit->GetId().number), OwnerName(*unit), id);
    if (!IsProvinceId(id))
        return;
    CProvince& province = *GetProvince(id);

    if (!CanEnter(*unit, province)) {
        CCountry* owner = unit->GetOwner();
        if (owner && province.GetOwnerNumber() >= 0 && owner->GetNumber() < kCountrySlots &&
            !province.discoveredBy[owner->GetNumber()])
            PostAndSendEventNow(std::make_unique<COVProvinceEvent>(
                EVT_DISCOVERPROVINCE, owner->GetId(), static_cast<uint32_t>(id)));
        CancelMove(*unit);
        return;
    }

    const int32_t count = PathCount(*unit);
    if (count > 1) {
        DebugPrint("UnitServer: %d more provinces to go...\n", count - 1);
        ScheduleMoveStep(*unit, id, SecondPathProvince(*unit));
    } else {
        DebugPrint("UnitServer: Unit #%d arrived at its destination (Prov %d)!\n",
                   static_cast<int>(unit->GetId().number), id);
    }

    CNavalUnit* carrier = UnitCarrier(*unit);
    if (unit->IsArmy() && province.IsSea()) {
        CUnitList units;
        CollectProvinceUnits(id, units);
        if (units.HasRoomFor(*unit))
            BoardAtSea(units, static_cast<CLandUnit&>(*unit));
        else
            CancelMove(*unit);
        return;
    }
    if (unit->IsArmy() && carrier) {
        if (CanUnload(*carrier, id))
            SendUnitMove(*unit, id, carrier->GetId());
        else
            CancelMove(*unit);
    } else {
        if (unit->IsFleet() && Up(unit->GetStrength(1)) > 0 &&
            !(g_pathSearchHooks.provinceHasFortress &&
              g_pathSearchHooks.provinceHasFortress(province)) &&
            !(province.IsSea() ? province.coastalSeaZone : province.coastal) &&
            std::find(std::begin(kSafeGalleyRegions), std::end(kSafeGalleyRegions),
                      province.region) == std::end(kSafeGalleyRegions)) {
            // One roll per galley, the count read again before each.
            int32_t lost = 0;
            for (int32_t galley = 0; galley < Up(unit->GetStrength(1)); ++galley)
                if (GameRand() % 100 < kGalleyLossChance)
                    ++lost;
            if (lost > 0 && g_unitServerHooks.sendSizeLosses)
                g_unitServerHooks.sendSizeLosses(*unit, 0.0f, static_cast<float>(lost), 0.0f, 0);
        }
        SendUnitMove(*unit, id, g_nullId);
    }

    if (unit->IsArmy()) {
        ExecuteEvent(std::make_unique<COVProvinceEvent>(
            EVT_REQUEST_CONQUISTADOR_TEST, g_nativesRequestsId, static_cast<uint32_t>(id)));
        ExecuteEvent(std::make_unique<COVProvinceEvent>(
            EVT_REQUEST_PERHAPS_NATIVE_ATTACK, g_nativesRequestsId, static_cast<uint32_t>(id)));
    }
}

void UnitServer::BoardAtSea(const CUnitList& units, CLandUnit& army) {
    CLandUnit* boarding = &army;
    for (int attempt = 0; boarding && attempt < kMaxBoardingAttempts; ++attempt) {
        int32_t freeSpace = 0;
        CNavalUnit* fleet = BestFleetFor(units, *boarding, freeSpace);
        if (!fleet || freeSpace < 1)
            return;
        if (ArmyTransportNeed(*boarding) <= freeSpace) {
            SendUnitMove(*boarding, fleet->GetLocation(), fleet->GetId());
            return;
        }
        // The part that fits stays in this army; the rest goes on in a new
        // one.
        const auto free = static_cast<float>(freeSpace);
        const float infantry = std::min(boarding->GetStrength(2), free * 1000.0f);
        const float infantryPlaces = std::ceil(infantry / 1000.0f);
        const float cavalry =
            std::max(0.0f, std::min(boarding->GetStrength(1), (free - infantryPlaces) * 1000.0f));
        const float cavalryPlaces = std::ceil(cavalry / 1000.0f);
        const float artillery =
            std::max(0.0f, std::min(boarding->GetStrength(0),
                                    (free - infantryPlaces - cavalryPlaces) * 10.0f));
        CLandUnit* rest = g_unitServerHooks.splitArmy
                              ? g_unitServerHooks.splitArmy(*boarding, infantry, cavalry, artillery)
                              : nullptr;
        if (!rest)
            return;
        SendUnitMove(*boarding, fleet->GetLocation(), fleet->GetId());
        boarding = rest;
    }
}

void UnitServer::OnMonth() {
    for (CCountry* country : g_countries) {
        if (!country)
            continue;
        CLinkedList<CUnit>& list = country->m_units;
        const bool walking = list.IsWalking();
        list.BeginWalk();
        CLinkedList<CUnit>::CListPosition node = nullptr;
        for (list.GetHeadPosition(node); node; CLinkedList<CUnit>::MoveNext(node)) {
            CUnit* unit = node->item;
            if (node->removed || !unit)
                continue;
            // A retreating unit that has stopped with nowhere to go is
            // deleted on every machine.
            if (unit->IsRetreating() && unit->IsPathEmpty() && !UnitInCombat(*unit))
                SendUnitDelete(*unit);
            if (node->removed)
                continue;
            if (!country->IsComputerControlled() || (unit->IsArmy() && !UnitCarrier(*unit))) {
                const float losses = g_unitStateHooks.monthlyAttrition
                                         ? g_unitStateHooks.monthlyAttrition(*unit)
                                         : 0.0f;
                if (losses > 0.0f)
                    ApplyUnitLosses(*unit, losses);
            }
            if (node->removed)
                continue;
            const int32_t combat = UnitCombatType(*unit);
            const bool dying = g_unitStateHooks.dying && g_unitStateHooks.dying(*unit);
            if (!dying && (combat == 0 || combat == 3 || combat == 4) &&
                g_unitStateHooks.regainMorale && g_unitStateHooks.regainMorale(*unit)) {
                auto morale = std::make_unique<COVDataEvent>(EVT_SET_RETREAT_MORALE, unit->GetId());
                morale->Payload().Set(UnitMoralePayload::kMorale, unit->morale);
                SendEventOnly(std::move(morale));
            }
        }
        if (!walking)
            list.EndWalk();
        if (g_unitServerHooks.refreshSieges)
            g_unitServerHooks.refreshSieges(*country);
    }
}
