// The units' part of a province's control: the fleets lying in the port of a
// province that is abandoned put to sea in the port's sea zone.
#include <vector>

#include "country/Country.h"
#include "military/units/Unit.h"
#include "world/Fortress.h"
#include "world/Province.h"
#include "world/ProvinceControl.h"

namespace {

const bool g_registered = [] {
    g_provinceControl.moveFleetsOutOfPort = [](CProvince& province) {
        CPort* port = province.GetPort();
        if (!port)
            return;
        std::vector<CUnit*> fleets;
        for (CCountry* owner : g_countries) {
            if (!owner)
                continue;
            owner->m_units.ForEach([&](CUnit* unit) {
                if (unit && unit->IsFleet() && port->HasFleet(unit))
                    fleets.push_back(unit);
            });
        }
        for (CUnit* fleet : fleets) {
            fleet->SetLocation(port->GetSeaZone());
            port->RemoveUnit(fleet);
        }
    };
    return true;
}();

} // namespace
