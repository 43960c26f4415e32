#include "military/units/UnitList.h"
#include "engine/Saturate.h"

#include <array>
#include <cmath>

#include "country/Country.h"
#include "engine/CriticalError.h"
#include "military/units/LandUnit.h"
#include "military/units/NavalUnit.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Session.h"
#include "world/PathSearch.h"
#include "world/Province.h"

UnitStateHooks g_unitStateHooks;

namespace {

// Each strength rounded up, then the places it fills.
int32_t Places(float strength, int32_t perPlace) {
    const int64_t whole = std::max<int64_t>(0, WholeStrength(strength));
    return static_cast<int32_t>((whole + perPlace - 1) / perPlace);
}

// A strength counted whole (military/units/Unit.h), nothing below 0.
int64_t Up(float strength) {
    return std::max<int64_t>(0, WholeStrength(strength));
}

// Walks the live items of a list.
template <class Function> void Walk(const CUnitList& list, Function function) {
    CUnitList::CListPosition position = nullptr;
    for (list.GetHeadPosition(position); position; CUnitList::MoveNext(position))
        if (!position->removed && position->item)
            function(*position->item);
}

template <class Predicate> bool Any(const CUnitList& list, Predicate predicate) {
    bool found = false;
    Walk(list, [&](const CUnit& unit) { found = found || predicate(unit); });
    return found;
}

template <class Value> int32_t Sum(const CUnitList& list, Value value) {
    int64_t sum = 0;
    Walk(list, [&](const CUnit& unit) { sum += value(unit); });
    return SaturateToInt32(sum);
}

} // namespace

int32_t UnitCombatType(const CUnit& unit) {
    return g_unitStateHooks.combatType ? g_unitStateHooks.combatType(unit) : 0;
}

CNavalUnit* UnitCarrier(const CUnit& unit) {
    return unit.IsArmy() ? static_cast<const CLandUnit&>(unit).GetCarrier() : nullptr;
}

int32_t ArmyTransportNeed(const CUnit& army) {
    if (army.IsFleet())
        return 0;
    return Places(army.GetStrength(2), 1000) + Places(army.GetStrength(1), 1000) +
           Places(army.GetStrength(0), 10);
}

int32_t FleetTransportSpace(const CUnit& fleet) {
    if (!fleet.IsFleet())
        return 0;
    return SaturateToInt32(2 * Up(fleet.GetStrength(2)) + Up(fleet.GetStrength(1)) +
                           Up(fleet.GetStrength(0)));
}

int32_t FleetCargoLoad(const CUnit& fleet) {
    if (!fleet.IsFleet())
        return 0;
    int32_t load = 0;
    CLinkedList<CLandUnit>::CListPosition position = nullptr;
    const auto& cargo = static_cast<const CNavalUnit&>(fleet).GetCargo();
    for (cargo.GetHeadPosition(position); position; CLinkedList<CLandUnit>::MoveNext(position))
        if (!position->removed && position->item)
            load += ArmyTransportNeed(*position->item);
    return load;
}

int32_t UnitCombatSize(const CUnit& unit) {
    if (unit.IsFleet())
        return SaturateToInt32(Up(unit.GetStrength(0)) + Up(unit.GetStrength(1)));
    return SaturateToInt32(Up(unit.GetStrength(2)) + Up(unit.GetStrength(1)) +
                           100 * Up(unit.GetStrength(0)));
}

// ---------------------------------------------------------------- queries

bool CUnitList::AnyHasPath() const {
    return Any(*this, [](const CUnit& unit) { return !unit.IsPathEmpty(); });
}

bool CUnitList::AnyInCombat() const {
    return Any(*this, [](const CUnit& unit) { return UnitInCombat(unit); });
}

bool CUnitList::ContainsArmy() const {
    return Any(*this, [](const CUnit& unit) { return unit.IsArmy(); });
}

bool CUnitList::AnyCanExplore() const {
    if (!g_pathSearchHooks.unitCanExplore)
        return false;
    return Any(*this, [](const CUnit& unit) { return g_pathSearchHooks.unitCanExplore(unit); });
}

bool CUnitList::HasUnitOf(const CCountry* country) const {
    return Any(*this, [country](const CUnit& unit) { return unit.GetOwner() == country; });
}

namespace {

// The first live unit of the list, null when none.
const CUnit* FirstUnit(const CUnitList& list) {
    CUnitList::CListPosition position = nullptr;
    for (list.GetHeadPosition(position); position; CUnitList::MoveNext(position))
        if (!position->removed && position->item)
            return position->item;
    return nullptr;
}

} // namespace

CProvince* CUnitList::GetCommonProvince() const {
    if (!AllInOneProvince())
        return nullptr;
    const int32_t province = FirstUnit(*this)->GetLocation();
    if (province < kFirstProvinceId || province > kLastProvinceId)
        return nullptr;
    return GetProvince(province);
}

bool CUnitList::AllInOneProvince() const {
    const CUnit* first = FirstUnit(*this);
    if (!first)
        return false;
    const int32_t province = first->GetLocation();
    return !Any(*this, [province](const CUnit& unit) { return unit.GetLocation() != province; });
}

bool CUnitList::AllIdleTogether() const {
    return AllInOneProvince() && !AnyInCombat() && !AnyHasPath();
}

int32_t CUnitList::TotalCombatSize() const {
    return Sum(*this, UnitCombatSize);
}

int32_t CUnitList::TotalSizeOf(const CCountry* country) const {
    return Sum(*this, [country](const CUnit& unit) {
        return unit.GetOwner() == country ? UnitCombatSize(unit) : 0;
    });
}

float CUnitList::TotalStrengthSum() const {
    float sum = 0.0f;
    Walk(*this, [&sum](const CUnit& unit) {
        sum += unit.GetStrength(0) + unit.GetStrength(1) + unit.GetStrength(2);
    });
    return sum;
}

int32_t CUnitList::TotalInfantry() const {
    return Sum(*this, [](const CUnit& u) { return u.IsArmy() ? Up(u.GetStrength(2)) : 0; });
}

int32_t CUnitList::TotalCavalry() const {
    return Sum(*this, [](const CUnit& u) { return u.IsArmy() ? Up(u.GetStrength(1)) : 0; });
}

int32_t CUnitList::TotalArtillery() const {
    return Sum(*this, [](const CUnit& u) { return u.IsArmy() ? Up(u.GetStrength(0)) : 0; });
}

int32_t CUnitList::TotalWarships() const {
    return Sum(*this, [](const CUnit& u) { return u.IsFleet() ? Up(u.GetStrength(0)) : 0; });
}

int32_t CUnitList::TotalGalleys() const {
    return Sum(*this, [](const CUnit& u) { return u.IsFleet() ? Up(u.GetStrength(1)) : 0; });
}

int32_t CUnitList::TotalTransports() const {
    return Sum(*this, [](const CUnit& u) { return u.IsFleet() ? Up(u.GetStrength(2)) : 0; });
}

int32_t CUnitList::TotalArmyStrength() const {
    return Sum(*this, ArmyTransportNeed);
}

CCountry* CUnitList::GetStrongestCountry() const {
    std::array<int64_t, kCountrySlots> sums{};
    CCountry* best = nullptr;
    int64_t bestSum = 0;
    Walk(*this, [&](const CUnit& unit) {
        CCountry* owner = unit.GetOwner();
        if (!owner || owner->GetNumber() >= kCountrySlots)
            return;
        int64_t& sum = sums[owner->GetNumber()];
        sum += UnitCombatSize(unit);
        if (!best || sum > bestSum) {
            best = owner;
            bestSum = sum;
        } else if (best == owner) {
            bestSum = sum;
        }
    });
    return best;
}

float CUnitList::GetAverageMorale() const {
    double weighted = 0.0;
    int64_t sizes = 0;
    Walk(*this, [&](const CUnit& unit) {
        const int32_t size = UnitCombatSize(unit);
        weighted += static_cast<double>(unit.morale) * size;
        sizes += size;
    });
    return sizes == 0 ? 0.0f : static_cast<float>(weighted / static_cast<double>(sizes));
}

int32_t CUnitList::TotalTransportSpace() const {
    return Sum(*this, FleetTransportSpace);
}

int32_t CUnitList::TotalCargoLoad() const {
    return Sum(*this, FleetCargoLoad);
}

int32_t CUnitList::FreeTransportSpaceOf(const CCountry* country) const {
    return Sum(*this, [country](const CUnit& unit) {
        return unit.IsFleet() && unit.GetOwner() == country ? FleetFreeSpace(unit) : 0;
    });
}

bool CUnitList::HasRoomFor(const CUnit& army) const {
    const void* agent = g_unitStateHooks.agent ? g_unitStateHooks.agent(army) : nullptr;
    int64_t need = ArmyTransportNeed(army);
    Walk(*this, [&](const CUnit& unit) {
        if (!unit.IsFleet() || unit.GetOwner() != army.GetOwner() || UnitInCombat(unit))
            return;
        const void* fleetAgent = g_unitStateHooks.agent ? g_unitStateHooks.agent(unit) : nullptr;
        if (fleetAgent == agent)
            need -= FleetFreeSpace(unit);
    });
    return need <= 0;
}

bool CUnitList::CanCarryArmies(const CUnitList& armies) const {
    std::array<int64_t, kCountrySlots> tally{};
    Walk(armies, [&tally](const CUnit& army) {
        const CCountry* owner = army.GetOwner();
        if (owner && owner->GetNumber() < kCountrySlots)
            tally[owner->GetNumber()] += ArmyTransportNeed(army);
    });
    Walk(*this, [&tally](const CUnit& fleet) {
        const CCountry* owner = fleet.GetOwner();
        if (!fleet.IsFleet() || UnitInCombat(fleet) || !owner ||
            owner->GetNumber() >= kCountrySlots || tally[owner->GetNumber()] == 0)
            return;
        tally[owner->GetNumber()] -= FleetFreeSpace(fleet);
    });
    for (int64_t left : tally)
        if (left > 0)
            return false;
    return true;
}

bool CUnitList::CanUnloadTo(int32_t province) const {
    if (!g_unitStateHooks.canUnloadTo)
        return true;
    CListPosition position = nullptr;
    for (GetHeadPosition(position); position; MoveNext(position)) {
        const CUnit* unit = position->item;
        if (position->removed || !unit)
            continue;
        if (!unit->IsFleet() ||
            !g_unitStateHooks.canUnloadTo(static_cast<const CNavalUnit&>(*unit), province))
            return false;
    }
    return true;
}

// ---------------------------------------------------------------- commands

void CUnitList::SetMoraleAll(float value) {
    ForEach([value](CUnit* unit) {
        unit->morale = value;
        unit->Refresh();
    });
}

void CUnitList::MoveAllTo(CUnitList& other) {
    ForEach([&other](CUnit* unit) { other.AddTail(unit); });
    RemoveAll();
}

void CUnitList::ApplyMonthlyAttrition() {
    if (!IsHost() || !g_unitStateHooks.monthlyAttrition)
        return;
    ForEach([](CUnit* unit) {
        const float losses = g_unitStateHooks.monthlyAttrition(*unit);
        if (losses > 0.0f)
            unit->SendLosses(losses, 0);
    });
}

void CUnitList::MoveTo(int32_t destination) {
    SendMoveAddDest(destination, 1);
}

void CUnitList::SendMoveAddDest(int32_t destination, uint8_t flag) {
    ForEach([destination, flag](CUnit* unit) {
        const ObjectId id = unit->GetId();
        DebugPrint("moveadddest in unitq for uid %d %d to target %d\n", id.type,
                   static_cast<int>(id.number), destination);
        if (unit->IsRetreating())
            return;
        auto order = std::make_unique<COVDataEvent>(EVT_UNITMOVE_ADD_DEST, g_unitServerId);
        order->Payload().Set(MoveDestinationPayload::kUnit, id);
        order->Payload().Set(MoveDestinationPayload::kDestination,
                             static_cast<uint16_t>(destination));
        order->Payload().Set(MoveDestinationPayload::kReplace, flag);
        ExecuteAndSendEvent(std::move(order));
    });
}

void CollectProvinceUnits(int32_t province, CUnitList& out) {
    if (province < kFirstProvinceId || province > kLastProvinceId)
        return;
    for (CCountry* country : g_countries) {
        if (!country)
            continue;
        CLinkedList<CUnit>::CListPosition position = nullptr;
        for (country->m_units.GetHeadPosition(position); position;
             CLinkedList<CUnit>::MoveNext(position)) {
            CUnit* unit = position->item;
            if (!position->removed && unit && unit->GetLocation() == province &&
                !UnitCarrier(*unit))
                out.AddTail(unit);
        }
    }
}

int32_t GetEmbarkingNeed(const CCountry* country, int32_t province) {
    const CProvince* target = GetProvince(province);
    if (!target || !country)
        return 0;
    int32_t need = 0;
    for (int32_t i = 0; i < target->neighbourCount && i < target->GetNeighbourTotal(); ++i) {
        const CProvince* neighbour = GetProvince(target->neighbours[static_cast<size_t>(i)].id);
        if (!neighbour || neighbour->terrain >= kFirstSeaProvinceType)
            continue;
        CUnitList units;
        CollectProvinceUnits(neighbour->GetNumber(), units);
        need += Sum(units, [country, province](const CUnit& unit) {
            return unit.IsArmy() && unit.GetOwner() == country &&
                           unit.GetNextPathProvince() == province
                       ? ArmyTransportNeed(unit)
                       : 0;
        });
    }
    return need;
}
