#include "ai/military/MilitaryQueries.h"

#include <cmath>

#include "country/Country.h"
#include "military/units/LandUnit.h"
#include "military/units/Leader.h"
#include "military/units/NavalUnit.h"
#include "military/units/UnitList.h"
#include "world/Province.h"
#include "world/Territory.h"

float UnitFirePower(const CUnit& unit) {
    if (unit.IsFleet())
        return static_cast<const CNavalUnit&>(unit).GetFirePower();
    return static_cast<const CLandUnit&>(unit).GetFirePower();
}

float UnitShockPower(const CUnit& unit) {
    if (unit.IsFleet())
        return static_cast<const CNavalUnit&>(unit).GetShockPower();
    return static_cast<const CLandUnit&>(unit).GetShockPower();
}

float UnitPower(const CUnit& unit) {
    if (unit.IsFleet())
        return static_cast<const CNavalUnit&>(unit).GetPower();
    return static_cast<const CLandUnit&>(unit).GetPower();
}

float TotalPower(const CUnitList& units) {
    float total = 0.0f;
    const_cast<CUnitList&>(units).ForEach([&total](CUnit* unit) { total += UnitPower(*unit); });
    return total;
}

namespace {

template <class Pick> PowerSum SumPower(const CUnitList& units, Pick pick) {
    PowerSum sum;
    const_cast<CUnitList&>(units).ForEach([&](CUnit* unit) {
        if (!pick(*unit))
            return;
        sum.fire += UnitFirePower(*unit);
        sum.shock += UnitShockPower(*unit);
        CLeader* commander = unit->GetCommander();
        if (commander && (!sum.leader || commander->rank < sum.leader->rank)) {
            sum.leader = commander;
            sum.leaderCountry = unit->GetOwner();
        }
    });
    return sum;
}

bool IsHostileOwner(const CUnit& unit, const CCountry& country) {
    const CCountry* owner = unit.GetOwner();
    return owner && owner->IsHostileTo(country.GetNumber());
}

} // namespace

PowerSum GetCountryPower(const CUnitList& units, const CCountry& country) {
    return SumPower(units, [&country](const CUnit& unit) { return unit.GetOwner() == &country; });
}

PowerSum GetHostilePower(const CUnitList& units, const CCountry& country) {
    return SumPower(units, [&country](const CUnit& unit) { return IsHostileOwner(unit, country); });
}

std::array<int32_t, 3> GetHostileFleetShips(const CUnitList& units, const CCountry& country) {
    std::array<int32_t, 3> ships{};
    const_cast<CUnitList&>(units).ForEach([&](CUnit* unit) {
        if (!unit->IsFleet() || !IsHostileOwner(*unit, country))
            return;
        for (int i = 0; i < 3; ++i)
            ships[static_cast<size_t>(i)] += static_cast<int32_t>(std::ceil(unit->GetStrength(i)));
    });
    return ships;
}

PowerSum GetHostilePowerIn(const CProvince& province, const CCountry& country) {
    CUnitList units;
    CollectProvinceUnits(province.GetNumber(), units);
    const PowerSum sum = GetHostilePower(units, country);
    units.RemoveAll();
    return sum;
}

PowerSum GetHostilePowerAround(const CProvince& province, const CCountry& country) {
    PowerSum total;
    for (const ProvinceNeighbour& link : province.neighbours) {
        const CProvince* next = GetProvince(link.id);
        if (!next || next == &province || next->IsSea() != province.IsSea())
            continue;
        const PowerSum here = GetHostilePowerIn(*next, country);
        total.fire += here.fire;
        total.shock += here.shock;
        if (here.leader && (!total.leader || here.leader->rank > total.leader->rank)) {
            total.leader = here.leader;
            total.leaderCountry = here.leaderCountry;
        }
    }
    return total;
}

float LeaderWeightedPower(const PowerSum& sum) {
    if (!sum.leader || !sum.leaderCountry)
        return 0.0f;
    return (static_cast<float>(sum.leader->GetFire()) * sum.fire +
            static_cast<float>(sum.leader->GetShock()) * sum.shock) *
           0.1f * GetLandMorale(*sum.leaderCountry);
}

float MoraleRatio(float a, float b) {
    return b > 0.0f ? a / b : 1.0f;
}

float RateProvinceForConquest(const CProvince& province, CCountry& country) {
    const int32_t self = CountryNumber(country);
    float v = province.GetTotalIncome() / 12.0f + static_cast<float>(6 - CitySize(province));
    if (province.IsCapital())
        v += 5.0f;
    if (province.IsInOwnProvinceSet(self))
        v += 10.0f;
    if (province.BordersCountry(country))
        v = 2.0f * (v + 25.0f);
    const int32_t d = ProvinceWorth(province, country);
    for (int32_t limit : {5, 10, 20, 30})
        if (d < limit)
            v *= 0.85f;
    return v;
}

ProvinceStrength SumUnitStrength(const CProvince& province, const CCountry& country) {
    ProvinceStrength sum;
    CUnitList units;
    CollectProvinceUnits(province.GetNumber(), units);
    units.ForEach([&](CUnit* unit) {
        const CCountry* owner = unit->GetOwner();
        const float strength = unit->GetTotalStrength();
        if (owner && owner->IsHostileTo(country.GetNumber()))
            sum.hostile += strength;
        else if (owner && country.HasAccessTo(owner->GetNumber()))
            sum.access += strength;
        else
            sum.other += strength;
    });
    units.RemoveAll();
    return sum;
}

int32_t ProvinceWorth(const CProvince& province, const CCountry& country) {
    return g_provinceSupplyValue
               ? g_provinceSupplyValue(province, const_cast<CCountry&>(country), false)
               : 0;
}

int32_t CitySize(const CProvince& province) {
    return province.GetFortressLevel();
}

bool IsLandNeighbour(const CProvince& province, int32_t id) {
    if (!province.IsNeighbour(id))
        return false;
    const CProvince* other = GetProvince(id);
    return other && !other->IsSea();
}

int32_t HeldProvinceCount(const CTerritory& territory) {
    const CCountry* owner = territory.GetOwner();
    int32_t held = 0;
    const_cast<CTerritory&>(territory).GetProvinces().ForEach([&](CProvince* p) {
        if (owner && p->GetController() == owner)
            ++held;
    });
    return held;
}

int32_t ProvinceCount(const CTerritory& territory) {
    return static_cast<int32_t>(territory.GetProvinces().GetCount());
}

CProvince* FirstProvince(const CTerritory& territory) {
    CProvince* first = nullptr;
    const_cast<CTerritory&>(territory).GetProvinces().ForEach([&first](CProvince* p) {
        if (!first)
            first = p;
    });
    return first;
}

int32_t CountryNumber(const CCountry& country) {
    return static_cast<int32_t>(country.GetNumber());
}

int32_t RoundToStep(int32_t count, int32_t step) {
    if (count <= 0 || step <= 0)
        return 0;
    return (count + step / 2) / step * step;
}

float RateProvinceForDefence(const CProvince& province, CCountry& country) {
    const int32_t self = CountryNumber(country);
    float v = province.GetTotalIncome() / 12.0f + static_cast<float>(6 - CitySize(province));
    if (province.IsCapital())
        v += 1.0f;
    if (province.GetOwnerNumber() == self)
        v *= 2.0f;
    else if (province.GetControllerNumber() == self)
        v *= 1.5f;
    else if (province.BordersCountry(country))
        v *= 2.5f;
    if (province.IsInOwnProvinceSet(self))
        v *= 5.0f;
    const int32_t d = ProvinceWorth(province, country);
    if (d < 5)
        v *= 0.25f;
    if (d < 10)
        v *= 0.5f;
    if (d < 20)
        v *= 0.5f;
    if (d < 30)
        v *= 0.8f;
    return v;
}
