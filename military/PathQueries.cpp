// What the path search asks of units. Units do not know their speed, cost
// factor or entry rules yet: those entries stay empty and answer as the
// search documents (speed 1.0, factor 1.0, may enter). Enemies in a
// province are found among the units of the countries hostile to the one
// asking.
#include "country/Country.h"
#include "country/DiplomaticQueries.h"
#include "military/units/Leader.h"
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
    // A unit led by a conquistador or an explorer may enter lands its
    // country has not discovered.
    g_pathSearchHooks.unitCanExplore = [](const CUnit& unit) {
        CLinkedList<CLeader>::CListPosition node = nullptr;
        unit.GetLeaders().GetHeadPosition(node);
        for (; node; CLinkedList<CLeader>::MoveNext(node)) {
            const CLeader* leader = node->item;
            if (!node->removed && leader &&
                (leader->category == LEADER_CONQUISTADOR || leader->category == LEADER_EXPLORER))
                return true;
        }
        return false;
    };
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
