// What the path search asks of units: their speed, the cost factor of
// undiscovered land, the entry and exploring rules and the trespass flag
// come from the units' movement rules. Enemies in a province are found
// among the units of the countries hostile to the one asking.
#include "country/Country.h"
#include "country/DiplomaticQueries.h"
#include "military/units/Unit.h"
#include "world/PathSearch.h"
#include "world/Province.h"

namespace {

const bool g_registered = [] {
    g_pathSearchHooks.unitCountry = [](const CUnit& unit) -> int32_t {
        const CCountry* owner = unit.GetOwner();
        return owner ? static_cast<int32_t>(owner->GetNumber()) : -1;
    };
    g_pathSearchHooks.unitIsFleet = [](const CUnit& unit) { return unit.IsFleet(); };
    // The units' own movement rules (military/units/UnitMovementRules.cpp).
    g_pathSearchHooks.unitSpeed = [](const CUnit& unit) { return unit.GetMovementFactor(); };
    g_pathSearchHooks.unitPathCostFactor = [](const CUnit& unit) {
        return static_cast<float>(unit.GetPathCostFactor());
    };
    g_pathSearchHooks.unitCanEnter = [](const CUnit& unit, const CProvince& province) {
        return unit.CanEnterProvince(province);
    };
    g_pathSearchHooks.unitCanExplore = [](const CUnit& unit) { return unit.CanExplore(); };
    g_pathSearchHooks.unitTrespassing = [](const CUnit& unit) { return unit.trespassing != 0; };
    // A unit of a country hostile to the country stands in the province
    // and is not retreating.
    g_pathSearchHooks.provinceHasEnemyUnit = [](const CProvince& province, int32_t country) {
        for (const CCountry* owner : g_countries) {
            if (!owner || !CountryIsHostileTo(owner->GetNumber(), country))
                continue;
            CLinkedList<CUnit>::CListPosition node = nullptr;
            owner->m_units.GetHeadPosition(node);
            for (; node; CLinkedList<CUnit>::MoveNext(node)) {
                const CUnit* unit = node->item;
                if (!node->removed && unit && unit->GetLocation() == province.GetNumber() &&
                    !unit->IsRetreating())
                    return true;
            }
        }
        return false;
    };
    return true;
}();

} // namespace
