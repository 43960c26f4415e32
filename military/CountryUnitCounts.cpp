// What a country's month asks of its units: the troops inside its armies
// and fleets, and how many of its leaders are conquistadors or explorers.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "military/units/Leader.h"
#include "military/units/NavalUnit.h"
#include "military/units/Unit.h"

namespace {

// Taken up to the next whole number, held within 0..INT32_MAX (NaN: 0).
int32_t Ceil(float value) {
    const float up = std::ceil(value);
    if (!(up > 0.0f))
        return 0;
    if (up >= 2147483647.0f)
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(up);
}

template <class T, class F> void Walk(const CLinkedList<T>& list, F&& function) {
    typename CLinkedList<T>::CListPosition position = nullptr;
    list.GetHeadPosition(position);
    for (; position; CLinkedList<T>::MoveNext(position))
        if (!position->removed && position->item)
            function(*position->item);
}

// A total with the amount added, held within 0..INT32_MAX.
void Add(int32_t& total, int32_t amount) {
    const int64_t sum = static_cast<int64_t>(total) + amount;
    total = static_cast<int32_t>(std::min<int64_t>(sum, std::numeric_limits<int32_t>::max()));
}

void AddArmy(const CLandUnit& army, std::array<int32_t, 6>& totals) {
    Add(totals[0], army.GetRoundedInfantry());
    Add(totals[1], army.GetRoundedCavalry());
    Add(totals[2], army.GetRoundedArtillery());
}

// A fleet's strengths are its warships, galleys and transports; the armies
// it carries count here and not on their own.
void CountryUnitTotals(const CCountry& country, std::array<int32_t, 6>& totals) {
    totals.fill(0);
    Walk(country.m_units, [&totals](const CUnit& unit) {
        if (unit.IsFleet()) {
            const auto& fleet = static_cast<const CNavalUnit&>(unit);
            Add(totals[3], Ceil(fleet.GetStrength(0)));
            Add(totals[4], Ceil(fleet.GetStrength(1)));
            Add(totals[5], Ceil(fleet.GetStrength(2)));
            Walk(fleet.GetCargo(), [&totals](const CLandUnit& army) { AddArmy(army, totals); });
            return;
        }
        const auto& army = static_cast<const CLandUnit&>(unit);
        if (!army.GetCarrier())
            AddArmy(army, totals);
    });
}

int32_t CountCountryLeaders(const CCountry& country, int32_t category) {
    int32_t count = 0;
    Walk(country.m_units, [&count, category](const CUnit& unit) {
        Walk(unit.GetLeaders(), [&count, category](const CLeader& leader) {
            if (leader.category == category)
                ++count;
        });
    });
    return count;
}

const bool g_countryUnitCountsRegistered = [] {
    g_countryMilitary.unitTotals = CountryUnitTotals;
    g_countryMilitary.countLeaders = CountCountryLeaders;
    return true;
}();

} // namespace
