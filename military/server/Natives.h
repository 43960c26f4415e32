#pragma once
// The natives of uncolonised provinces (category 8 of the host request
// dispatcher). On the host their settlements grow month by month by the
// province's culture group; the arrival of colonists, traders and troops
// may make them attack, which turns the settlement into an army of the
// natives' country that is disbanded again after five days unless it is
// fighting; a conquistador's first visit kills part of them; and a trading
// post is destroyed on request. A request naming no province (0 or above
// 1472) is refused with a line in the log.
#include <cstdint>

class COVEvent;
class CUnit;

// The natives' country.
constexpr uint32_t kNativesCountry = 97;

// The console's switch under which the natives attack no one that arrives.
extern bool g_nativesAsleep;

// Carries out the request (and the month's growth) on the host; a client
// does nothing. Answers 0 always.
int HandleNativesRequest(COVEvent& event);

// On the host, for a province other than 0: the province's natives become
// the count (the province holds it to its maximum), here and everywhere.
void SendSetNatives(uint32_t province, int32_t count);

// The culture group 0..9 of the province (1..1472) by its region and, in
// the two African regions, its religion; 4 for any other region.
int32_t GetProvinceCultureGroup(uint32_t province);

// On the host, with a chance of percent in 100: the city event of the
// province for its owner, here and everywhere.
void RollCityEvent(uint32_t province, int32_t percent);

// The unit's disbanding is requested unless it is fighting.
void DisbandUnitIfIdle(const CUnit& unit);
