// What the province knows of the units standing in it (through the units'
// seam of the province economy).
#include <vector>

#include "world/Province.h"
#include "world/ProvinceEconomy.h"

namespace {

// Class codes of units that do not hold up building in the province.
bool IsNonBlockingClass(int32_t code) {
    return code == 6 || code == 7 || code == 13;
}

} // namespace

bool CProvince::HasOrdinaryUnit() const {
    if (!g_provinceEconomy.unitsIn)
        return false;
    std::vector<EconomyUnit> units;
    g_provinceEconomy.unitsIn(GetNumber(), units);
    for (const EconomyUnit& unit : units)
        if (!IsNonBlockingClass(unit.classCode))
            return true;
    return false;
}
