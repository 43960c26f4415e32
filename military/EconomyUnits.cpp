// The units the provinces' economy counts for piracy, blockades and the
// province score: every unit of the countries' unit lists standing in the
// province, with its owner, its retreat and a fleet's warships and galleys.
// Units do not yet know their combats, so none counts as in combat. When a
// country's fleets come to blockade (its naval level), the ports on the
// sea zone each fleet stands in weigh their blockade again.
#include <algorithm>

#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "military/units/Unit.h"
#include "world/Province.h"
#include "world/ProvinceEconomy.h"

namespace {

constexpr int kWarships = 0;
constexpr int kGalleys = 1;

const bool g_registered = [] {
    g_provinceEconomy.unitsIn = [](int32_t province, std::vector<EconomyUnit>& out) {
        for (const CCountry* owner : g_countries) {
            if (!owner)
                continue;
            CLinkedList<CUnit>::CListPosition node = nullptr;
            owner->m_units.GetHeadPosition(node);
            for (; node; CLinkedList<CUnit>::MoveNext(node)) {
                const CUnit* unit = node->item;
                if (node->removed || !unit || unit->GetLocation() != province)
                    continue;
                EconomyUnit seen;
                seen.owner = static_cast<int32_t>(owner->GetNumber());
                seen.retreating = unit->IsRetreating();
                if (unit->IsFleet()) {
                    seen.ships = unit->GetStrength(kWarships);
                    seen.secondShips = unit->GetStrength(kGalleys);
                }
                out.push_back(seen);
            }
        }
    };
    g_countryMilitary.reevaluateBlockades = [](CUnit& unit) {
        const CProvince* sea = GetProvince(unit.GetLocation());
        if (!unit.IsFleet() || !sea)
            return;
        const size_t leading =
            std::min(static_cast<size_t>(std::max(sea->neighbourCount, 0)), sea->neighbours.size());
        for (size_t i = 0; i < leading; ++i)
            if (CProvince* port = GetProvince(sea->neighbours[i].id);
                port && port->portSeaZone == sea->GetNumber())
                port->UpdateBlockade();
    };
    return true;
}();

} // namespace
