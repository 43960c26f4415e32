// What the path search asks of units. Units do not know their speed, cost
// factor or entry rules yet: those entries stay empty and answer as the
// search documents (speed 1.0, factor 1.0, may enter).
#include "country/Country.h"
#include "military/Leader.h"
#include "military/Unit.h"
#include "world/PathSearch.h"

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
    return true;
}();

} // namespace
