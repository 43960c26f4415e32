#include "military/server/UnitRequests.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <vector>

#include "country/Country.h"
#include "engine/CriticalError.h"
#include "engine/GameTimer.h"
#include "military/server/HostDispatcher.h"
#include "military/units/Leader.h"
#include "military/units/LeaderRegistry.h"
#include "military/units/NavalUnit.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Senders.h"
#include "net/Session.h"
#include "world/City.h"
#include "world/Construction.h"
#include "world/Province.h"

namespace {

// Strength indexes: an army's artillery, cavalry, infantry; a fleet's
// warships, galleys, transports.
constexpr int kArtillery = 0;
constexpr int kCavalry = 1;
constexpr int kInfantry = 2;
constexpr int kWarships = 0;
constexpr int kGalleys = 1;
constexpr int kTransports = 2;

// Combat kinds a siege and a cover force are detached from.
constexpr int32_t kCombatCover = 3;
constexpr int32_t kCombatSiege = 4;

// The overload fix gives up after this many passes; a pass that changes no
// load ends it sooner.
constexpr int kMaxOverloadPasses = 8;

CDate Today() {
    return g_gameTimer ? g_gameTimer->GetDate() : CDate();
}

// A strength counts as the next whole number; NaN and negative values as 0.
int32_t Whole(float strength) {
    return std::max(0, TruncateToInt(std::ceil(strength)));
}

CUnit* FindUnit(const ObjectId& id) {
    return dynamic_cast<CUnit*>(ResolveId(id));
}

// The kind of the combat the unit fights in, 0 when none. Combats do not
// name their units yet, so no unit is in one.
int32_t CombatKindOf(const CUnit&) {
    return 0;
}

// Free to be reorganised: owned, built, in no combat and not on the move.
bool IsIdle(const CUnit& unit) {
    return unit.GetOwner() && !unit.IsInDevelopment() && CombatKindOf(unit) == 0 &&
           unit.IsPathEmpty();
}

// The leader that goes with a new unit split off: with two leaders or more,
// the first that does not command; otherwise none.
ObjectId LeaderToGo(const CUnit& unit) {
    if (unit.GetLeaders().GetCount() < 2)
        return g_nullId;
    const CLeader* commander = unit.GetMovementCommander();
    ObjectId chosen = g_nullId;
    const_cast<CLinkedList<CLeader>&>(unit.GetLeaders()).ForEach([&](CLeader* leader) {
        if (leader && leader != commander && chosen.IsNull())
            chosen = leader->GetId();
    });
    return chosen;
}

// One transfer message of the kind from the unit to the other, run at once
// and sent to every machine.
void ExecuteTransfer(uint32_t type, const CUnit& source, const ObjectId& target, int64_t amount) {
    auto event = std::make_unique<COVDataEvent>(type, source.GetOwner()->GetId());
    event->Payload().Set(UnitTransferPayload::kFrom, source.GetId());
    event->Payload().Set(UnitTransferPayload::kTo, target);
    event->Payload().Set(UnitTransferPayload::kCount,
                         static_cast<uint32_t>(std::clamp<int64_t>(amount, 0, INT32_MAX)));
    ExecuteAndSendEvent(std::move(event));
}

void ExecuteUnitMessage(uint32_t type, const CUnit& unit) {
    auto event = std::make_unique<COVDataEvent>(type, unit.GetOwner()->GetId());
    event->Payload().Set(UnitRequestPayload::kUnit, unit.GetId());
    ExecuteAndSendEvent(std::move(event));
}

// A new army (fleet) of the unit's owner in its province, with the leader;
// answers the new id.
ObjectId CreateUnitBeside(const CUnit& unit, const ObjectId& leader) {
    const ObjectId id = NewObjectId();
    const CCountry& owner = *unit.GetOwner();
    std::unique_ptr<COVEvent> event;
    if (unit.IsFleet()) {
        event = std::make_unique<COVFleetEvent>(EVT_CREATE_FLEET, owner.GetId());
        event->Payload().Set(COVFleetEvent::kLeader, leader);
    } else {
        event = std::make_unique<COVArmyEvent>(EVT_CREATE_ARMY, owner.GetId());
        event->Payload().Set(COVArmyEvent::kLeader, leader);
    }
    COVEventData& payload = event->Payload();
    payload.Set(NewUnitHead::kProvince, static_cast<uint32_t>(std::max(0, unit.GetLocation())));
    payload.Set(NewUnitHead::kDate, Today());
    payload.Set(NewUnitHead::kUnit, id);
    payload.Set(NewUnitHead::kReady, Today());
    payload.Set(NewUnitHead::kCountry, owner.GetId());
    ExecuteAndSendEvent(std::move(event));
    return id;
}

// The three transfers of a split, in the order given.
struct Share {
    uint32_t type;
    int64_t amount;
};

CUnit* FinishSplit(CUnit& unit, const ObjectId& id, const ObjectId& leader,
                   const std::array<Share, 3>& shares) {
    for (const Share& share : shares)
        ExecuteTransfer(share.type, unit, id, share.amount);
    SendTransferOneLeader(unit, id, leader);
    return FindUnit(id);
}

int64_t Fraction(float strength, float fraction) {
    return TruncateToInt(static_cast<float>(Whole(strength)) * fraction);
}

// What stays after keeping the count, not below 0.
int64_t Rest(float strength, int32_t kept) {
    return std::max<int64_t>(0, int64_t{Whole(strength)} - kept);
}

// The regiments the army needs aboard: a regiment per 1000 infantry, 1000
// cavalry and 10 artillery begun.
int64_t ArmyNeed(const CUnit& army) {
    const auto regiments = [](float strength, float size) {
        // Held far below the range of the count (a strength may be huge).
        return static_cast<int64_t>(
            std::min(1.0e12, std::ceil(static_cast<double>(std::max(0.0f, strength)) / size)));
    };
    return regiments(army.GetStrength(kInfantry), 1000.0f) +
           regiments(army.GetStrength(kCavalry), 1000.0f) +
           regiments(army.GetStrength(kArtillery), 10.0f);
}

std::vector<CLandUnit*> CargoOf(const CNavalUnit& fleet) {
    std::vector<CLandUnit*> armies;
    const_cast<CLinkedList<CLandUnit>&>(fleet.GetCargo()).ForEach([&armies](CLandUnit* army) {
        if (army)
            armies.push_back(army);
    });
    return armies;
}

int64_t Space(const CUnit& fleet) {
    return int64_t{Whole(fleet.GetStrength(kWarships))} + Whole(fleet.GetStrength(kGalleys)) +
           2 * int64_t{Whole(fleet.GetStrength(kTransports))};
}

int64_t Load(const CNavalUnit& fleet) {
    int64_t load = 0;
    for (const CLandUnit* army : CargoOf(fleet))
        load += ArmyNeed(*army);
    return load;
}

// The fleet that carries the army; null on land and for a fleet.
const CNavalUnit* CarrierOf(const CUnit& unit) {
    const auto* army = dynamic_cast<const CLandUnit*>(&unit);
    return army ? army->GetCarrier() : nullptr;
}

// Two different units of one owner in one province, of the kind asked
// (fleets or armies); two armies also stand both ashore or aboard the same
// fleet, so that no troops board a fleet past its checks.
bool FitTogether(const CUnit& a, const CUnit& b, bool fleets) {
    return &a != &b && a.GetOwner() && a.GetOwner() == b.GetOwner() &&
           a.GetLocation() == b.GetLocation() && a.IsFleet() == fleets && b.IsFleet() == fleets &&
           CarrierOf(a) == CarrierOf(b);
}

// The second fleet takes what does not fit: an army is made aboard it when
// it carries none; then every army of the first gives its share of the
// excess to the second's first army. False when nothing could be moved.
bool MoveExcessAboard(CNavalUnit& fleet, CNavalUnit& second) {
    std::vector<CLandUnit*> receivers = CargoOf(second);
    if (receivers.empty()) {
        // The new army's id, the fleet's, and a second fresh id.
        const ObjectId army = NewObjectId();
        const ObjectId spare = NewObjectId();
        const std::array<uint32_t, 9> values = {army.type,
                                                army.number,
                                                second.GetId().type,
                                                second.GetId().number,
                                                spare.type,
                                                spare.number,
                                                0,
                                                0,
                                                0};
        ExecuteAndSendEvent(std::make_unique<COVCreateArmyOnFleetEvent>(
            EVT_CREATE_ARMY_ON_FLEET, second.GetOwner()->GetId(), values));
        receivers = CargoOf(second);
        if (receivers.empty())
            return false;
    }
    const int64_t load = Load(fleet);
    const int64_t space = Space(fleet);
    const float ratio =
        load > 0 ? static_cast<float>(load - space) / static_cast<float>(load) : 1.0f;
    const ObjectId target = receivers.front()->GetId();
    for (CLandUnit* army : CargoOf(fleet)) {
        ExecuteTransfer(EVT_TRANSFER_INFANTRY, *army, target,
                        Fraction(army->GetStrength(kInfantry), ratio));
        ExecuteTransfer(EVT_TRANSFER_CAVALRY, *army, target,
                        Fraction(army->GetStrength(kCavalry), ratio));
        ExecuteTransfer(EVT_TRANSFER_ARTILLERY, *army, target,
                        Fraction(army->GetStrength(kArtillery), ratio));
    }
    return true;
}

// The armies aboard lose men in proportion to the excess.
void LoseExcess(CNavalUnit& fleet) {
    const int64_t load = Load(fleet);
    if (load <= 0)
        return;
    const float ratio = static_cast<float>(load - Space(fleet)) / static_cast<float>(load);
    for (CLandUnit* army : CargoOf(fleet))
        army->SendLosses(static_cast<float>(ArmyNeed(*army)) * ratio * 1000.0f, 0);
}

// The last step: armies that still do not fit, last aboard first, are
// disbanded in port (their men go home) or, at sea, deleted.
void DropExcessCargo(CNavalUnit& fleet) {
    const CProvince* province = GetProvince(fleet.GetLocation());
    const bool atSea = !province || province->IsSea();
    std::vector<CLandUnit*> cargo = CargoOf(fleet);
    int64_t load = Load(fleet);
    const int64_t space = Space(fleet);
    for (auto it = cargo.rbegin(); it != cargo.rend() && load > space; ++it) {
        CLandUnit& army = **it;
        load -= ArmyNeed(army);
        if (!army.GetOwner())
            continue;
        DebugPrint("UnitRequests: army %u does not fit aboard fleet %u, %s\n", army.GetId().number,
                   fleet.GetId().number, atSea ? "lost at sea" : "set ashore");
        ExecuteUnitMessage(atSea ? EVT_UNITDELETE : EVT_DISBAND_UNIT, army);
    }
}

void RunOverloadFix(CNavalUnit& fleet, CNavalUnit* second) {
    for (int pass = 0; pass < kMaxOverloadPasses; ++pass) {
        const int64_t load = Load(fleet);
        if (load <= Space(fleet))
            return;
        const bool moved = second && second != &fleet && second->GetOwner() &&
                           Space(*second) > Load(*second) && MoveExcessAboard(fleet, *second);
        if (!moved)
            LoseExcess(fleet);
        if (Load(fleet) == load)
            break; // the pass changed nothing
    }
    if (Load(fleet) > Space(fleet))
        DropExcessCargo(fleet);
}

// The siege or cover force: needed men per fortress level.
void DetachForce(CUnit& army, int32_t menPerLevel, bool coverToo) {
    const int32_t kind = CombatKindOf(army);
    if (army.IsFleet() || !army.GetOwner() ||
        !(kind == kCombatSiege || (coverToo && kind == kCombatCover)))
        return;
    const CProvince* province = GetProvince(army.GetLocation());
    const CCity* city = province ? province->GetCity() : nullptr;
    if (!city)
        return;
    const int64_t needed = int64_t{menPerLevel} * TruncateToInt(city->GetFortress().level);
    const int64_t total = int64_t{Whole(army.GetStrength(kArtillery))} +
                          Whole(army.GetStrength(kCavalry)) + Whole(army.GetStrength(kInfantry));
    if (needed > 0 && total >= needed)
        SplitArmy(army, static_cast<float>(needed) / static_cast<float>(total));
}

void CreateDetachment(CUnit& unit) {
    if (unit.IsFleet()) {
        SplitFleet(unit, 0.25f);
        return;
    }
    const ObjectId leader = LeaderToGo(unit);
    const ObjectId id = CreateUnitBeside(unit, leader);
    ExecuteTransfer(EVT_TRANSFER_INFANTRY, unit, id,
                    std::min(Whole(unit.GetStrength(kInfantry)) / 4, 4000));
    ExecuteTransfer(EVT_TRANSFER_CAVALRY, unit, id,
                    std::min(Whole(unit.GetStrength(kCavalry)) / 10, 1000));
    SendTransferOneLeader(unit, id, leader);
}

void ShipDetachment(CUnit& fleet, uint32_t transferType, int strength, int32_t least,
                    bool quarter) {
    const int32_t ships = Whole(fleet.GetStrength(strength));
    if (!fleet.IsFleet() || ships < least)
        return;
    CUnit* detached =
        CreateShipDetachment(transferType, fleet, quarter ? std::min(ships / 4, 10) : ships);
    FixFleetOverload(fleet, detached);
}

// The merged unit gives everything to the one that remains, then goes.
void Merge(CUnit& remaining, CUnit& merged) {
    const ObjectId to = remaining.GetId();
    if (merged.IsFleet()) {
        ExecuteTransfer(EVT_TRANSFER_WARSHIPS, merged, to, Whole(merged.GetStrength(kWarships)));
        ExecuteTransfer(EVT_TRANSFER_GALLEYS, merged, to, Whole(merged.GetStrength(kGalleys)));
        ExecuteTransfer(EVT_TRANSFER_TRANSPORTS, merged, to,
                        Whole(merged.GetStrength(kTransports)));
        ExecuteTransfer(EVT_TRANSFER_ALL_ARMIES, merged, to, 0);
    } else {
        ExecuteTransfer(EVT_TRANSFER_INFANTRY, merged, to, Whole(merged.GetStrength(kInfantry)));
        ExecuteTransfer(EVT_TRANSFER_CAVALRY, merged, to, Whole(merged.GetStrength(kCavalry)));
        ExecuteTransfer(EVT_TRANSFER_ARTILLERY, merged, to, Whole(merged.GetStrength(kArtillery)));
    }
    ExecuteTransfer(EVT_TRANSFER_ALL_LEADERS, merged, to, 0);
    ExecuteUnitMessage(EVT_DISBAND_UNIT, merged);
}

// The order of the id is cancelled: its builder is told (type 281).
void CancelConstruction(const ObjectId& id) {
    const auto* order = dynamic_cast<const CConstructionOrder*>(FindObjectById(id));
    const CCountry* builder = order ? CountryOfNumber(order->country) : nullptr;
    if (!builder) {
        DebugPrint("UnitRequests: no construction %u to cancel\n", id.number);
        return;
    }
    auto event = std::make_unique<COVDataEvent>(EVT_CANCEL_CONSTRUCTION, builder->GetId());
    event->Payload().Set(CancelConstructionPayload::kOrder, id);
    ExecuteAndSendEvent(std::move(event));
}

// The request about one unit, once the unit is found and idle.
void HandleOneUnit(uint32_t type, CUnit& unit) {
    switch (type) {
    case EVT_REQUEST_SPLIT_ARMY:
        if (unit.IsFleet())
            SplitFleet(unit, 0.5f);
        else
            SplitArmy(unit, 0.5f);
        break;
    case EVT_REQUEST_CREATE_DETACHMENT:
        CreateDetachment(unit);
        break;
    case EVT_REQUEST_CREATE_WARSHIPS_DETACHMENT:
        ShipDetachment(unit, EVT_TRANSFER_WARSHIPS, kWarships, 5, true);
        break;
    case EVT_REQUEST_CREATE_GALLEYS_DETACHMENT:
        ShipDetachment(unit, EVT_TRANSFER_GALLEYS, kGalleys, 1, false);
        break;
    case EVT_REQUEST_CREATE_TRANSPORTS_DETACHMENT:
        ShipDetachment(unit, EVT_TRANSFER_TRANSPORTS, kTransports, 1, false);
        break;
    case EVT_REQUEST_DISBAND_UNIT:
        ExecuteUnitMessage(EVT_DISBAND_UNIT, unit);
        break;
    default:
        break;
    }
}

} // namespace

bool CheckTransferRequest(uint32_t type, const CUnit* source, const CUnit* target,
                          int64_t& amount) {
    if (!source || !target || !IsIdle(*source) || !IsIdle(*target))
        return false;
    const bool ships = type >= EVT_REQUEST_TRANSFER_WARSHIPS;
    if (!FitTogether(*source, *target, ships)) {
        DebugPrint("UnitRequests: transfer %u between units %u and %u that do not fit, dropped\n",
                   type, source->GetId().number, target->GetId().number);
        return false;
    }
    const auto remnantRule = [&](int index, int64_t regiment) {
        const int64_t all = Whole(source->GetStrength(index));
        if (all - amount < regiment)
            amount = all;
    };
    switch (type) {
    case EVT_REQUEST_TRANSFER_INFANTRY:
        remnantRule(kInfantry, 1000);
        return true;
    case EVT_REQUEST_TRANSFER_ARTILLERY:
        remnantRule(kArtillery, 10);
        return true;
    case EVT_REQUEST_TRANSFER_CAVALRY:
        remnantRule(kCavalry, 1000);
        return true;
    case EVT_REQUEST_TRANSFER_WARSHIPS:
        return Whole(source->GetStrength(kWarships)) >= amount;
    case EVT_REQUEST_TRANSFER_TRANSPORTS:
        return Whole(source->GetStrength(kTransports)) >= amount;
    case EVT_REQUEST_TRANSFER_GALLEYS:
        return Whole(source->GetStrength(kGalleys)) >= amount;
    default:
        return false;
    }
}

void SendTransfer(uint32_t type, CUnit& source, const ObjectId& target, int64_t amount) {
    if (!source.GetOwner())
        return;
    ExecuteTransfer(type + 6, source, target, amount);
    if (source.IsFleet())
        FixFleetOverload(source, FindUnit(target));
}

void SendTransferOneLeader(CUnit& source, const ObjectId& target, const ObjectId& leader) {
    if (leader.IsNull() || !source.GetOwner())
        return;
    auto event =
        std::make_unique<COVDataEvent>(EVT_TRANSFER_ONE_LEADER, source.GetOwner()->GetId());
    event->Payload().Set(LeaderTransferPayload::kFrom, source.GetId());
    event->Payload().Set(LeaderTransferPayload::kTo, target);
    event->Payload().Set(LeaderTransferPayload::kLeader, leader);
    ExecuteAndSendEvent(std::move(event));
}

CUnit* SplitArmy(CUnit& army, float fraction) {
    if (army.IsFleet() || !army.GetOwner())
        return nullptr;
    const ObjectId leader = LeaderToGo(army);
    const ObjectId id = CreateUnitBeside(army, leader);
    return FinishSplit(
        army, id, leader,
        {Share{EVT_TRANSFER_INFANTRY, Fraction(army.GetStrength(kInfantry), fraction)},
         Share{EVT_TRANSFER_CAVALRY, Fraction(army.GetStrength(kCavalry), fraction)},
         Share{EVT_TRANSFER_ARTILLERY, Fraction(army.GetStrength(kArtillery), fraction)}});
}

CUnit* SplitFleet(CUnit& fleet, float fraction) {
    if (!fleet.IsFleet() || !fleet.GetOwner())
        return nullptr;
    const ObjectId leader = LeaderToGo(fleet);
    const ObjectId id = CreateUnitBeside(fleet, leader);
    CUnit* added = FinishSplit(
        fleet, id, leader,
        {Share{EVT_TRANSFER_WARSHIPS, Fraction(fleet.GetStrength(kWarships), fraction)},
         Share{EVT_TRANSFER_GALLEYS, Fraction(fleet.GetStrength(kGalleys), fraction)},
         Share{EVT_TRANSFER_TRANSPORTS, Fraction(fleet.GetStrength(kTransports), fraction)}});
    FixFleetOverload(fleet, added);
    return added;
}

CUnit* SplitArmyKeeping(CUnit& army, int32_t infantry, int32_t cavalry, int32_t artillery) {
    if (army.IsFleet() || !army.GetOwner())
        return nullptr;
    const ObjectId leader = LeaderToGo(army);
    const ObjectId id = CreateUnitBeside(army, leader);
    return FinishSplit(
        army, id, leader,
        {Share{EVT_TRANSFER_INFANTRY, Rest(army.GetStrength(kInfantry), infantry)},
         Share{EVT_TRANSFER_CAVALRY, Rest(army.GetStrength(kCavalry), cavalry)},
         Share{EVT_TRANSFER_ARTILLERY, Rest(army.GetStrength(kArtillery), artillery)}});
}

CUnit* SplitFleetKeeping(CUnit& fleet, int32_t warships, int32_t galleys, int32_t transports) {
    if (!fleet.IsFleet() || !fleet.GetOwner())
        return nullptr;
    const ObjectId leader = LeaderToGo(fleet);
    const ObjectId id = CreateUnitBeside(fleet, leader);
    return FinishSplit(
        fleet, id, leader,
        {Share{EVT_TRANSFER_WARSHIPS, Rest(fleet.GetStrength(kWarships), warships)},
         Share{EVT_TRANSFER_GALLEYS, Rest(fleet.GetStrength(kGalleys), galleys)},
         Share{EVT_TRANSFER_TRANSPORTS, Rest(fleet.GetStrength(kTransports), transports)}});
}

CUnit* CreateShipDetachment(uint32_t transferType, CUnit& fleet, int32_t amount) {
    if (!fleet.IsFleet() || !fleet.GetOwner())
        return nullptr;
    const ObjectId leader = LeaderToGo(fleet);
    const ObjectId id = CreateUnitBeside(fleet, leader);
    ExecuteTransfer(transferType, fleet, id, amount);
    SendTransferOneLeader(fleet, id, leader);
    return FindUnit(id);
}

void FixFleetOverload(CUnit& fleet, CUnit* second) {
    auto* first = dynamic_cast<CNavalUnit*>(&fleet);
    if (!first || !first->GetOwner())
        return;
    RunOverloadFix(*first, dynamic_cast<CNavalUnit*>(second));
}

namespace {

// The dispatcher hands the unit requests (category 1) here, and the leader
// requests (category 5) to the leader registry.
const bool g_unitRequestsRegistered = [] {
    g_hostServers[HOST_UNIT_REQUESTS] = HandleUnitRequest;
    g_hostServers[HOST_LEADER_REGISTRY] = [](COVEvent& event) {
        return g_leaderRegistry ? g_leaderRegistry->HandleEvent(event) : 0;
    };
    return true;
}();

} // namespace

int HandleUnitRequest(COVEvent& event) {
    if (!IsHost())
        return 0;
    const uint32_t type = event.GetType();
    const COVEventData& payload = event.Payload();
    switch (type) {
    case EVT_REQUEST_SPLIT_ARMY:
    case EVT_REQUEST_CREATE_DETACHMENT:
    case EVT_REQUEST_CREATE_WARSHIPS_DETACHMENT:
    case EVT_REQUEST_CREATE_GALLEYS_DETACHMENT:
    case EVT_REQUEST_CREATE_TRANSPORTS_DETACHMENT:
    case EVT_REQUEST_DISBAND_UNIT:
    case EVT_REQUEST_DETACH_SIEGE_FORCE:
    case EVT_REQUEST_DETACH_COVER_FORCE: {
        CUnit* unit = FindUnit(payload.Get(UnitRequestPayload::kUnit));
        if (!unit) {
            DebugPrint("UnitRequests: request %u for unknown unit %u, dropped\n", type,
                       payload.Get(UnitRequestPayload::kUnit).number);
            return 0;
        }
        if (type == EVT_REQUEST_DETACH_SIEGE_FORCE)
            DetachForce(*unit, 6000, false);
        else if (type == EVT_REQUEST_DETACH_COVER_FORCE)
            DetachForce(*unit, 3000, true);
        else if (IsIdle(*unit))
            HandleOneUnit(type, *unit);
        return 0;
    }
    case EVT_REQUEST_MERGE: {
        CUnit* remaining = FindUnit(payload.Get(MergeRequestPayload::kUnit));
        CUnit* merged = FindUnit(payload.Get(MergeRequestPayload::kJoining));
        if (!remaining || !merged || !IsIdle(*remaining) || !IsIdle(*merged) ||
            !FitTogether(*remaining, *merged, remaining->IsFleet())) {
            DebugPrint("UnitRequests: merge of %u into %u dropped\n",
                       payload.Get(MergeRequestPayload::kJoining).number,
                       payload.Get(MergeRequestPayload::kUnit).number);
            return 0;
        }
        Merge(*remaining, *merged);
        return 0;
    }
    case EVT_REQUEST_TRANSFER_INFANTRY:
    case EVT_REQUEST_TRANSFER_ARTILLERY:
    case EVT_REQUEST_TRANSFER_CAVALRY:
    case EVT_REQUEST_TRANSFER_WARSHIPS:
    case EVT_REQUEST_TRANSFER_TRANSPORTS:
    case EVT_REQUEST_TRANSFER_GALLEYS: {
        CUnit* source = FindUnit(payload.Get(UnitTransferRequestPayload::kFrom));
        CUnit* target = FindUnit(payload.Get(UnitTransferRequestPayload::kTo));
        int64_t amount = payload.Get(UnitTransferRequestPayload::kAmount);
        if (CheckTransferRequest(type, source, target, amount))
            SendTransfer(type, *source, target->GetId(), amount);
        return 0;
    }
    case EVT_REQUEST_TRANSFER_OVERLOAD_FIX: {
        CUnit* first = FindUnit(payload.Get(UnitTransferRequestPayload::kFrom));
        CUnit* second = FindUnit(payload.Get(UnitTransferRequestPayload::kTo));
        int64_t amount = 0;
        if (CheckTransferRequest(EVT_REQUEST_TRANSFER_TRANSPORTS, first, second, amount))
            FixFleetOverload(*first, second);
        return 0;
    }
    case EVT_REQUEST_CANCEL_CONSTRUCTION: {
        // The order's id as its two values; a type beyond 16 bits names none.
        const uint32_t idType = payload.Get(PairPayload::kFirst);
        if (idType <= 0xFFFF)
            CancelConstruction(
                ObjectId(static_cast<uint16_t>(idType), payload.Get(PairPayload::kSecond)));
        else
            DebugPrint("UnitRequests: no construction of type %u to cancel\n", idType);
    }
        return 0;
    default:
        return 0;
    }
}
