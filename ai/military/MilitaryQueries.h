#pragma once
// What the military agents and plans ask of units and provinces: power sums
// over unit lists, the hostile power in and around a province, a
// province's worth to a country and the rounding of troop counts.
#include <array>
#include <cstdint>

class CCountry;
class CLeader;
class CProvince;
class CUnit;
class CUnitList;

// Fire, shock and their sum of one unit (army or fleet); 0 for none.
float UnitFirePower(const CUnit& unit);
float UnitShockPower(const CUnit& unit);
float UnitPower(const CUnit& unit);
// The sum of UnitPower over the list.
float TotalPower(const CUnitList& units);

// Fire and shock sums over a set of units, their best commander (the
// lowest rank, the first on ties) and that commander's country.
struct PowerSum {
    float fire = 0.0f;
    float shock = 0.0f;
    CLeader* leader = nullptr;
    CCountry* leaderCountry = nullptr;
};
// Over the units of the list that belong to the country.
PowerSum GetCountryPower(const CUnitList& units, const CCountry& country);
// Over the units whose owner is hostile to the country.
PowerSum GetHostilePower(const CUnitList& units, const CCountry& country);
// Rounded-up warships, galleys and transports of the hostile fleets.
std::array<int32_t, 3> GetHostileFleetShips(const CUnitList& units, const CCountry& country);

// The hostile power in the province toward the country; and the same summed
// over the neighbours of the same kind (land with land, sea with sea), with
// the leader of the greatest rank value among the neighbours'.
PowerSum GetHostilePowerIn(const CProvince& province, const CCountry& country);
PowerSum GetHostilePowerAround(const CProvince& province, const CCountry& country);
// (leader's fire x fire + leader's shock x shock) x 0.1 x the land morale
// of the leader's country; 0 without a leader.
float LeaderWeightedPower(const PowerSum& sum);
// The morale ratio of a and b; 1 when b's is 0.
float MoraleRatio(float a, float b);

// The strengths of the units in the province by their owners' standing
// toward the country: hostile, giving access, other.
struct ProvinceStrength {
    float hostile = 0.0f;
    float access = 0.0f;
    float other = 0.0f;
};
ProvinceStrength SumUnitStrength(const CProvince& province, const CCountry& country);

// The province's worth to the country: its supply value without the siege
// flag (0 when nobody answers it).
int32_t ProvinceWorth(const CProvince& province, const CCountry& country);
// The city size that rates a province (its fortress level; 0 without city).
int32_t CitySize(const CProvince& province);
// The land neighbours of the province (a province id listed among its
// neighbours at all).
bool IsLandNeighbour(const CProvince& province, int32_t id);
// The province's provinces controlled by its territory's owner, counted
// over the territory.
class CTerritory;
int32_t HeldProvinceCount(const CTerritory& territory);
int32_t ProvinceCount(const CTerritory& territory);
// The first province of the territory, null when it has none.
CProvince* FirstProvince(const CTerritory& territory);
// The country's number as the province queries take it.
int32_t CountryNumber(const CCountry& country);

// The worth of a province to conquer for the country (income, city,
// capital, own-province set, border and supply).
float RateProvinceForConquest(const CProvince& province, CCountry& country);
// Its worth to hold (income, city, capital, owner and control, own-province
// set and supply).
float RateProvinceForDefence(const CProvince& province, CCountry& country);

// Rounds a positive count to the nearest multiple of the step, else 0.
int32_t RoundToStep(int32_t count, int32_t step);
