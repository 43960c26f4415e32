#include "ai/military/AICombat.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "ai/AINotify.h"
#include "ai/CountryVariants.h"
#include "ai/king/King.h"
#include "ai/king/ResourceBroker.h"
#include "ai/military/MilitaryMinister.h"
#include "ai/military/MilitaryQueries.h"
#include "country/Country.h"
#include "engine/CriticalError.h"
#include "engine/Random.h"
#include "military/units/LandUnit.h"
#include "military/units/Leader.h"
#include "military/units/NavalUnit.h"
#include "world/Province.h"
#include "world/Territory.h"

namespace {

constexpr uint32_t kNoticeArmyMoved = 0;
constexpr uint32_t kNoticeFleetMoved = 1;
constexpr uint32_t kNoticeCombat = 14;
constexpr uint32_t kNoticePeace = 18;
constexpr uint32_t kNoticeControl = 21;

const char* Tag(const CCountry* country) {
    return country ? country->GetTag().c_str() : "";
}

std::vector<CUnit*> Snapshot(CUnitList& list) {
    std::vector<CUnit*> units;
    list.ForEach([&units](CUnit* unit) { units.push_back(unit); });
    return units;
}

// The units of the country in the province whose combat is of one of the
// types.
std::vector<CUnit*> OwnUnitsInCombat(const CProvince& province, const CCountry& country,
                                     std::initializer_list<int32_t> types) {
    std::vector<CUnit*> found;
    CUnitList units;
    CollectProvinceUnits(province.GetNumber(), units);
    units.ForEach([&](CUnit* unit) {
        if (unit->GetOwner() != &country)
            return;
        const int32_t combat = UnitCombatType(*unit);
        if (std::find(types.begin(), types.end(), combat) != types.end())
            found.push_back(unit);
    });
    units.RemoveAll();
    return found;
}

} // namespace

// ---------------------------------------------------------------------------
// The combat plan base

AICombat::~AICombat() = default;

CAIAgent* AICombat::Minister() const {
    CAIAgent* agent = parent;
    while (agent && !agent->IsStandingAgent() && !agent->IsKing())
        agent = agent->GetParent();
    return agent;
}

void AICombat::ReturnToMinister(CUnit* unit) {
    if (!unit)
        return;
    if (unit->GetAIAgent() == this) {
        GetUnitList().Remove(unit);
        unit->SetAIAgent(nullptr);
    }
    CAIAgent* minister = Minister();
    if (!minister)
        minister = GetKing();
    HandOverUnit(minister, unit);
}

void AICombat::Start() {
    CAIPlan::Start();
    Subscribe(kNoticePeace, true);
    Subscribe(kNoticeCombat, true);
    if (IsLandPlan()) {
        Subscribe(kNoticeArmyMoved, true);
        Subscribe(kNoticeControl, true);
    } else {
        Subscribe(kNoticeFleetMoved, true);
    }
    ComputeNeededPower();
    GetOwnPower();
    RequestReinforcements();
    PostTimer(AIRandomDelay(5, 5), 1);
}

void AICombat::Stop() {
    Unsubscribe(kNoticeCombat);
    Unsubscribe(kNoticePeace);
    Unsubscribe(kNoticeControl);
    Unsubscribe(kNoticeArmyMoved);
    Unsubscribe(kNoticeFleetMoved);
    CAIPlan::Stop();
}

void AICombat::OnTimer(uint32_t value) {
    PeriodicStep(value);
}

void AICombat::PeriodicStep(uint32_t value) {
    if (!active)
        return;
    if (value != kRearmed)
        PostTimer(AIRandomDelay(10, 20), 1);
    if (!IsDone()) {
        if (!engaged) {
            ComputeNeededPower();
            GetOwnPower();
            RequestReinforcements();
            if (IsReadyToEngage())
                Engage();
        }
    } else if (!KeepsGoing()) {
        Succeed();
    }
}

void AICombat::ComputeNeededPower() {
    if (!objective || !country) {
        neededPower = 0.0f;
        return;
    }
    const PowerSum in = GetHostilePowerIn(*objective, *country);
    const PowerSum around = GetHostilePowerAround(*objective, *country);
    float estimate = (around.fire + around.shock) * 0.75f + (in.fire + in.shock);
    CCountry* enemy = in.leader ? in.leaderCountry : around.leaderCountry;
    if ((in.leader || around.leader) && enemy)
        estimate *= MoraleRatio(GetMorale(*enemy), GetMorale(*country));
    neededPower = 1.5f * estimate;
}

float AICombat::EstimateEnemyPower() {
    if (!objective || !country)
        return 0.0f;
    const PowerSum in = GetHostilePowerIn(*objective, *country);
    if (!in.leader || !in.leaderCountry)
        return 0.0f;
    return (in.fire + in.shock) * MoraleRatio(GetMorale(*in.leaderCountry), GetMorale(*country));
}

float AICombat::GetOwnPower() {
    ownPower = TotalPower(GetUnitList());
    return ownPower;
}

float AICombat::GetUnitsPower() {
    return TotalPower(GetUnitList());
}

bool AICombat::IsReadyToEngage() {
    return !engaged && EstimateEnemyPower() < GetUnitsPower();
}

bool AICombat::IsDone() {
    if (!objective || !country)
        return true;
    return !(objective->HasEnemyUnit(CountryNumber(*country)) &&
             country->MayEnterProvince(objective->GetNumber()));
}

bool AICombat::MayMoveObjective(CProvince&) {
    return false;
}

void AICombat::Engage() {
    engaged = true;
    DebugPrint("%s #%u (%s) engages in battle!\n", GetName(), GetId().number, Tag(country));
    for (CUnit* unit : Snapshot(GetUnitList())) {
        const int32_t result = MoveUnitToProvince(unit, objective, 0);
        if (result == MOVE_NO_PATH || result == MOVE_NOT_FREE)
            ReturnToMinister(unit);
    }
}

void AICombat::RequestReinforcements() {
    // The land and naval plans ask for their own kind.
}

void AICombat::UnitLeft() {
    if (active && !failed && !succeeded) {
        GetOwnPower();
        RequestReinforcements();
    }
}

void AICombat::RemoveArmy(CUnit* army) {
    CAIPlan::RemoveArmy(army);
    UnitLeft();
}

void AICombat::RemoveFleet(CUnit* fleet) {
    CAIPlan::RemoveFleet(fleet);
    UnitLeft();
}

void AICombat::OnArrival(CUnit& unit) {
    if (!active)
        return;
    if (unit.GetAIAgent() == this)
        MergeInto(&unit);
    if (!objective || unit.GetLocation() != objective->GetNumber() || !IsDone())
        return;
    CProvince* at = GetProvince(unit.GetLocation());
    const bool onLand = at && !UnitCarrier(unit);
    if (onLand && MayMoveObjective(*at)) {
        objective = at;
        if (!engaged)
            Engage();
        return;
    }
    if (onLand && KeepsGoing())
        return;
    Succeed();
}

void AICombat::OnArmyMoved(CUnit& army) {
    if (IsLandPlan())
        OnArrival(army);
}

void AICombat::OnFleetMoved(CUnit& fleet) {
    if (!IsLandPlan())
        OnArrival(fleet);
}

void AICombat::OnUnitCombatStarted(CUnit& unit) {
    if (!active || unit.GetAIAgent() != this)
        return;
    if (!IsDone()) {
        const int32_t combat = UnitCombatType(unit);
        if (combat == 3 || combat == 4 || combat == 5)
            return;
        if (!objective || unit.GetLocation() != objective->GetNumber()) {
            ReturnToMinister(&unit);
            GetOwnPower();
            RequestReinforcements();
        } else if (!engaged) {
            Engage();
        }
    } else if (!KeepsGoing()) {
        Succeed();
    }
}

void AICombat::OnCombatResult(int32_t combatProvince, CCombat*, int32_t countryNumber) {
    if (!active || !country || !objective || countryNumber != CountryNumber(*country) ||
        combatProvince != objective->GetNumber() || !engaged)
        return;
    if (!IsDone()) {
        ComputeNeededPower();
        GetOwnPower();
        RequestReinforcements();
    } else if (!KeepsGoing()) {
        Succeed();
    }
}

void AICombat::OnPeace(int32_t a, int32_t b) {
    if (!active || !country)
        return;
    const int32_t self = CountryNumber(*country);
    if ((a == self || b == self) && IsDone())
        Succeed();
}

void AICombat::OnProvinceControlChanged(int32_t, int32_t province) {
    if (!active || !IsLandPlan() || !objective || !country || province != objective->GetNumber())
        return;
    if (!country->MayEnterProvince(province))
        Fail();
}

// ---------------------------------------------------------------------------
// Land plans

CAILandCombat::~CAILandCombat() {
    DetachUnits(m_armies);
}

float CAILandCombat::GetMorale(CCountry& of) const {
    return of.GetLandMorale();
}

bool CAILandCombat::MayMoveObjective(CProvince& province) {
    return !province.IsSea() && country && country->MayEnterProvince(province.GetNumber()) &&
           GameRand() % 100 < 40;
}

bool CAILandCombat::OfferArmy(CUnit* army) {
    if (!army || failed || succeeded || !objective)
        return false;
    bool taken = false;
    if (engaged || army->GetLocation() == objective->GetNumber()) {
        taken = TakeAndSendUnit(army, objective, 0);
    } else if (!army->IsRetreating() && IsUnitFree(*army)) {
        // Before the battle the army gathers beside the objective.
        std::vector<int32_t> route = AIRouteOf(*army, *objective);
        if (!route.empty()) {
            route.pop_back();
            AcceptUnit(army);
            SendMoveSteps(*army, route);
            taken = army->GetAIAgent() == this;
        }
    }
    if (taken)
        return true;
    RejectUnit(army);
    RequestReinforcements();
    return false;
}

void CAILandCombat::RequestReinforcements() {
    if (!active || !owner)
        return;
    const float deficit = neededPower - ownPower;
    if (CAIResourceRequest* request = RequestSlot(AIRES_ARMIES)) {
        if (deficit > 1.0f)
            request->SetAmount(deficit);
        else
            request->Clear();
        return;
    }
    if (deficit > 1.0f)
        owner->RequestArmies(this, deficit, 1, 1, objective, 0);
}

void CAILandCombat::RequestUnitsLike(CUnit* unit) {
    if (!unit || unit->IsFleet() || !owner)
        return;
    const float power =
        static_cast<const CLandUnit*>(unit)->EstimatePowerWeighted(shockWeight, fireWeight);
    owner->RequestArmies(this, power, 1, 1, objective, 0);
}

void CAILandCombat::OnTimer(uint32_t) {
    if (!active)
        return;
    if (engaged) {
        if (ShouldAssault() && active && engaged)
            OrderAssault();
        PostTimer(GameRand() % 5 + 5, 1);
    } else {
        PostTimer(GameRand() % 10 + 10, 1);
    }
    PeriodicStep(kRearmed);
}

bool CAILandCombat::OrderAssault() {
    if (!objective || !country || !objective->IsUnderSiege())
        return false;
    const std::vector<CUnit*> besieging = OwnUnitsInCombat(*objective, *country, {3, 4});
    if (besieging.empty() || !OwnUnitsInCombat(*objective, *country, {5}).empty())
        return false;
    DebugPrint("AICombat #%u (%s) assaults the fortress!\n", GetId().number, Tag(country));
    CLinkedList<CUnit> units;
    for (CUnit* unit : besieging)
        units.AddTail(unit);
    country->SendSiegeAssault(units);
    units.RemoveAll();
    return true;
}

bool CAILandCombat::ShouldAssault() {
    if (!active || !engaged || !objective || !country || !objective->IsUnderSiege())
        return false;
    if (OwnUnitsInCombat(*objective, *country, {3, 4}).empty() ||
        !OwnUnitsInCombat(*objective, *country, {5}).empty())
        return false;
    // Besiegers whose morale is broken deal no losses on the walls: they wait
    // for the siege rolls instead of storming again and again.
    if (!CanAssaultFortress(*country, OwnUnitsInCombat(*objective, *country, {3, 4})))
        return false;
    // Enough infantry for the walls.
    if (m_armies.TotalInfantry() / 10000 < CitySize(*objective))
        return false;
    const PowerSum own = GetCountryPower(m_armies, *country);
    if (!own.leader)
        return false;
    const float p = (static_cast<float>(own.leader->GetFire()) * own.fire +
                     static_cast<float>(own.leader->GetShock()) * own.shock) *
                    0.1f * country->GetLandMorale();
    const PowerSum defenders = GetHostilePowerIn(*objective, *country);
    if (defenders.leader && LeaderWeightedPower(defenders) > p)
        return false;
    // Relief armies next door weigh against a country that holds more.
    const CCountry* holder = objective->GetOwner();
    if (holder && holder->m_controlledProvinces.GetCount() > 1) {
        for (const ProvinceNeighbour& link : objective->neighbours) {
            const CProvince* next = GetProvince(link.id);
            if (!next || next->IsSea())
                continue;
            if (LeaderWeightedPower(GetHostilePowerIn(*next, *country)) > 0.1f * p)
                return false;
        }
    }
    return true;
}

void CAILandAttackPlan::Evaluate(CProvince* province, CTerritory* territory) {
    priority = 1.0f;
    objective = province;
    if (!province || !country || province->IsSea() ||
        (territory && province->territory && province->territory != territory) || IsDone()) {
        priority = -1.0f;
        return;
    }
    float v = RateProvinceForDefence(*province, *country);
    const int32_t self = CountryNumber(*country);
    if (province->GetOwnerNumber() == self &&
        (province->GetControllerNumber() != self || province->IsUnderSiege()))
        v = 2.0f * v + 50.0f;
    v = std::max(v, 0.0f);
    priority = v + 20.0f;
}

// ---------------------------------------------------------------------------
// The conquest plan

void CAIConquerPlan::Evaluate(CProvince* province, CTerritory*) {
    priority = 1.0f;
    objective = province;
    if (!province || !country) {
        priority = -1.0f;
        return;
    }
    CCountry* controller = province->GetController();
    CCountry* holder = province->GetOwner();
    if (!holder || !controller || controller == country) {
        priority = -1.0f;
        return;
    }
    DebugPrint("%s considers conquering %s, owned by %s and controlled by %s\n", country->GetName(),
               province->name.c_str(), holder->GetName(), controller->GetName());
    const bool supplies = province->SuppliesCountry(*country);
    if (!controller->IsHostileTo(country->GetNumber()) || (holder != country && !supplies)) {
        priority = -1.0f;
        return;
    }
    const float b = RateProvinceForConquest(*province, *country);
    float v;
    if (supplies) {
        v = b + 30.0f;
        const CProvince* capital = holder->GetCapital();
        if (province->territory && holder->IsHostileTo(country->GetNumber()) && capital &&
            capital->territory == province->territory) {
            if (capital == province) {
                v += 10.0f;
            } else {
                MapPoint a;
                MapPoint c;
                GetProvinceCentre(a, capital->GetNumber());
                GetProvinceCentre(c, province->GetNumber());
                const float dx = static_cast<float>(a.x - c.x);
                const float dy = static_cast<float>(a.y - c.y);
                const float e = std::sqrt(dx * dx + dy * dy);
                v += e >= 10.0f ? 9.0f / e : 9.0f;
            }
        } else if (holder == country) {
            v += 3.0f;
        }
    } else {
        v = b * 0.25f;
    }
    const PowerSum defenders = GetHostilePowerIn(*province, *country);
    if (defenders.leader && defenders.leaderCountry)
        v -= MoraleRatio(defenders.leaderCountry->GetLandMorale() *
                             (defenders.fire + defenders.shock),
                         country->GetLandMorale() * 10000.0f);
    if (v <= 0.1f)
        v = 1.1f;
    priority = v + 15.0f;
    DebugPrint("%s considered conquering %s, owned by %s and controlled by %s. Priority %.3f.\n",
               country->GetName(), province->name.c_str(), holder->GetName(), controller->GetName(),
               static_cast<double>(priority));
}

bool CAIConquerPlan::IsDone() {
    if (!objective || !country)
        return true;
    const CCountry* controller = objective->GetController();
    return !(controller && controller->IsHostileTo(country->GetNumber()) &&
             country->MayEnterProvince(objective->GetNumber()));
}

void CAIConquerPlan::ComputeNeededPower() {
    CCountry* holder = objective ? objective->GetController() : nullptr;
    if (!holder || !country) {
        neededPower = 0.0f;
        return;
    }
    const PowerSum in = GetHostilePowerIn(*objective, *country);
    const PowerSum around = GetHostilePowerAround(*objective, *country);
    float fire = in.fire + 0.5f * around.fire;
    float shock = in.shock + 0.5f * around.shock;
    CLeader stand;
    stand.SetAbilities(holder->GetNumber());
    const CLeader* defender = in.leader;
    if (defender && around.leader && around.leader->rank < defender->rank)
        defender = around.leader;
    if (!defender)
        defender = &stand;
    const float z = static_cast<float>(CitySize(*objective));
    const float wallsFire = holder->GetLandInfantryFire() * (7500.0f * z + 5000.0f) +
                            holder->GetLandArtilleryFire() * 30.0f * z;
    const float wallsShock = holder->GetLandInfantryShock() * (7500.0f * z + 5000.0f) +
                             holder->GetLandArtilleryShock() * 30.0f * z;
    fire = std::max(fire, wallsFire);
    shock = std::max(shock, wallsShock);
    CLeader attacker;
    attacker.SetAbilities(country->GetNumber());
    const float t = objective->terrain == 2 ? 1.0f : 0.0f;
    const float lf = static_cast<float>(defender->GetFire());
    const float ls = static_cast<float>(defender->GetShock());
    const float of = static_cast<float>(attacker.GetFire());
    const float os = static_cast<float>(attacker.GetShock());
    neededPower = ((t + lf - of + 10.0f) * fire * 0.1f + (t + ls - os + 10.0f) * shock * 0.1f) *
                  MoraleRatio(holder->GetLandMorale(), country->GetLandMorale());
}

bool CAIConquerPlan::IsReadyToEngage() {
    if (engaged || !objective)
        return false;
    int32_t size = 0;
    m_armies.ForEach([&size](CUnit* unit) { size += unit->GetSize(); });
    if (size < 5000 * CitySize(*objective))
        return false;
    return AICombat::IsReadyToEngage();
}

void CAIConquerPlan::OnTimer(uint32_t) {
    if (!active)
        return;
    if (IsDone()) {
        Succeed();
        return;
    }
    ComputeNeededPower();
    GetOwnPower();
    RequestReinforcements();
    if (!engaged) {
        if (IsReadyToEngage())
            Engage();
        PostTimer(AIRandomDelay(10, 15), 1);
    } else {
        if (ShouldAssault())
            OrderAssault();
        PostTimer(GameRand() % 5 + 5, 1);
    }
}

bool CAIConquerPlan::ShouldAssault() {
    // The conquest storms the walls as soon as its own siege stands, unless
    // its besiegers' morale is too low to storm: broken besiegers deal no
    // losses, and each new assault would put off the siege's monthly roll.
    return active && engaged && objective && country && objective->IsUnderSiege() &&
           CanAssaultFortress(*country, OwnUnitsInCombat(*objective, *country, {3, 4}));
}

// ---------------------------------------------------------------------------
// Naval plans

CAINavalCombat::~CAINavalCombat() {
    DetachUnits(m_fleets);
}

float CAINavalCombat::GetMorale(CCountry& of) const {
    return of.GetNavalMorale();
}

bool CAINavalCombat::MayMoveObjective(CProvince& province) {
    return province.area == 139 && GameRand() % 100 < 40;
}

void CAINavalCombat::ChooseHomePort() {
    homePort = nullptr;
    if (!owner)
        return;
    CAIMilitaryMinister* admiral =
        objective && objective->territory ? owner->FindAdmiral(objective->territory) : nullptr;
    if (!admiral)
        const_cast<CLinkedList<CAIMilitaryMinister>&>(owner->GetAdmirals())
            .ForEach([&admiral](CAIMilitaryMinister* a) {
                if (!admiral)
                    admiral = a;
            });
    if (!admiral)
        return;
    CProvince* home = admiral->GetHomeProvince();
    if (home && country && home->GetController() != country) {
        admiral->ChooseHomeProvince();
        home = admiral->GetHomeProvince();
    }
    homePort = home;
}

void CAINavalCombat::Start() {
    ChooseHomePort();
    AICombat::Start();
}

bool CAINavalCombat::OfferFleet(CUnit* fleet) {
    if (!fleet || failed || succeeded || !objective)
        return false;
    CUnit* part = SplitFleetForPlan(*this, fleet);
    if (!part)
        return false;
    if (homePort && !engaged && country) {
        if (homePort->GetOwner() != country || homePort->GetController() != country ||
            CitySize(*homePort) < 1) {
            ChooseHomePort();
            if (homePort)
                for (CUnit* held : Snapshot(m_fleets))
                    MoveUnitToProvince(held, homePort, 0);
        }
        if (homePort && TakeAndSendUnit(part, homePort, 0))
            return true;
    }
    if (TakeAndSendUnit(part, objective, 0))
        return true;
    RejectUnit(part);
    RequestReinforcements();
    return false;
}

void CAINavalCombat::RequestReinforcements() {
    if (!active || !owner)
        return;
    const float deficit = neededPower - ownPower;
    if (CAIResourceRequest* request = RequestSlot(AIRES_FLEETS)) {
        if (deficit > 1.0f)
            request->SetAmount(deficit);
        else
            request->Clear();
        return;
    }
    if (deficit > 1.0f)
        owner->RequestFleets(this, deficit, 0, objective, 0);
}

void CAINavalCombat::RequestUnitsLike(CUnit* unit) {
    if (!unit || !unit->IsFleet() || !owner)
        return;
    owner->RequestFleets(this, UnitPower(*unit), 0, objective, 0);
}

void CAINavalAttackPlan::Evaluate(CProvince* province, CTerritory*) {
    priority = 1.0f;
    objective = province;
    if (!province || !country || !province->IsSea() ||
        !province->HasEnemyUnit(CountryNumber(*country))) {
        priority = -1.0f;
        return;
    }
    CUnitList units;
    CollectProvinceUnits(province->GetNumber(), units);
    const std::array<int32_t, 3> ships = GetHostileFleetShips(units, *country);
    units.RemoveAll();
    const int32_t w = ships[0];
    const int32_t fewer = w >= 30 ? 0 : (30 - w) / 2;
    priority = static_cast<float>(fewer + ships[2]) + 15.0f;
}

namespace {

// The fortified land neighbours of a coastal sea zone.
template <class F> void ForFortifiedNeighbours(const CProvince& zone, F f) {
    for (const ProvinceNeighbour& link : zone.neighbours) {
        CProvince* next = GetProvince(link.id);
        if (next && !next->IsSea() && CitySize(*next) >= 1)
            f(*next);
    }
}

int32_t SizeOfHostileUnits(const CProvince& province, const CCountry& country) {
    int32_t size = 0;
    CUnitList units;
    CollectProvinceUnits(province.GetNumber(), units);
    units.ForEach([&](CUnit* unit) {
        if (unit->GetOwner() && unit->GetOwner()->IsHostileTo(country.GetNumber()))
            size += UnitCombatSize(*unit);
    });
    units.RemoveAll();
    return size;
}

} // namespace

void CAIBreakBlockadePlan::Evaluate(CProvince* province, CTerritory*) {
    priority = 1.0f;
    objective = province;
    if (!province || !country || !province->IsSea() || !province->coastalSeaZone) {
        priority = -1.0f;
        return;
    }
    float v = 0.0f;
    ForFortifiedNeighbours(*province, [&](CProvince& next) {
        if (next.GetController() != country)
            return;
        CUnitList units;
        CollectProvinceUnits(next.GetNumber(), units);
        v += next.GetTotalIncome() + static_cast<float>(units.TotalSizeOf(country));
        units.RemoveAll();
    });
    priority = v >= 0.1f ? v + 25.0f : -1.0f;
}

float CAIBlockadePlan::BlockadeValue(const CProvince& zone, CCountry& country) {
    float v = 0.0f;
    const bool counts = country.GetNavalTech().GetLevel() >= 19;
    ForFortifiedNeighbours(zone, [&](CProvince& next) {
        const CCountry* controller = next.GetController();
        if (!controller || !controller->IsHostileTo(country.GetNumber()))
            return;
        if (counts)
            v += next.GetTotalIncome();
        v += static_cast<float>(SizeOfHostileUnits(next, country));
    });
    return v;
}

void CAIBlockadePlan::Evaluate(CProvince* province, CTerritory*) {
    priority = 1.0f;
    objective = province;
    if (!province || !country || !province->IsSea() || !province->coastalSeaZone) {
        priority = -1.0f;
        return;
    }
    const float v = BlockadeValue(*province, *country);
    priority = v >= 0.1f ? v + 15.0f : -1.0f;
}

void CAIBlockadePlan::ComputeNeededPower() {
    neededPower =
        country ? (country->GetNavalWarshipShock() + country->GetNavalWarshipFire()) * 7.0f : 0.0f;
}

bool CAIBlockadePlan::IsDone() {
    return !objective || !country || BlockadeValue(*objective, *country) < 0.1f;
}

// ---------------------------------------------------------------------------
// Splitting fleets

FleetSurplus ComputeFleetSurplus(CCountry& country, int32_t warships, int32_t galleys,
                                 int32_t transports, int32_t places, float power) {
    FleetSurplus surplus;
    if (places >= 1) {
        const int32_t a = places - 2 * transports;
        if (a < 0)
            return {2, -a / 2};
        const int32_t b = a - galleys;
        if (b < 0)
            return {1, -b};
        const int32_t c = b - warships;
        if (c < 0)
            return {0, -c};
        return surplus;
    }
    const float w = EstimateFleetPower(country, 1.0f, 0.0f);
    if (w <= 0.0f)
        return surplus;
    const float d = power - static_cast<float>(warships) * w;
    if (d < 0.0f)
        return {0, static_cast<int32_t>(-d / w)};
    const float g = EstimateFleetPower(country, 0.0f, 1.0f);
    if (g <= 0.0f)
        return surplus;
    const float e = d - static_cast<float>(galleys) * g;
    if (e < 0.0f)
        return {1, static_cast<int32_t>(-e / g)};
    return surplus;
}

CUnit* SplitFleetForPlan(CAIAgent& plan, CUnit* fleet) {
    if (!fleet || !fleet->IsFleet() || !plan.GetCountry())
        return fleet;
    CAIResourceRequest* request = plan.RequestSlot(AIRES_FLEETS);
    if (!request)
        return fleet;
    const int32_t w = static_cast<int32_t>(std::ceil(fleet->GetStrength(0)));
    const int32_t g = static_cast<int32_t>(std::ceil(fleet->GetStrength(1)));
    const int32_t t = static_cast<int32_t>(std::ceil(fleet->GetStrength(2)));
    const FleetSurplus surplus =
        ComputeFleetSurplus(*plan.GetCountry(), w, g, t, request->ships, request->amount);
    if (surplus.count <= 0)
        return fleet;
    std::array<int32_t, 3> left{};
    left[static_cast<size_t>(surplus.kind)] = surplus.count;
    DebugPrint("Agent #%u (%s) of %s splits Fleet #%u (%d,%d,%d) and leaves (%d,%d,%d).\n",
               plan.GetId().number, plan.GetName(), plan.GetCountry()->GetTag().c_str(),
               fleet->GetId().number, w, g, t, left[0], left[1], left[2]);
    // The unit requests divide a fleet by whole kinds of ships only, so the
    // surplus sails with the fleet until they divide by counts.
    return fleet;
}
