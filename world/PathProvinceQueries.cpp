// The path search's questions about a province that the province record
// and its city answer: the fortress a fleet passes through (the city's
// port, opening on its sea zone), whether the city is besieged, and the
// level of the province's map symbol (its natives).
#include "world/City.h"
#include "world/Fortress.h"
#include "world/PathSearch.h"
#include "world/Province.h"

namespace {

const bool g_registered = [] {
    g_pathSearchHooks.provinceHasFortress = [](const CProvince& province) {
        return province.GetPort() != nullptr;
    };
    g_pathSearchHooks.fortressSeaZone = [](const CProvince& province) -> int32_t {
        const CPort* port = province.GetPort();
        return port ? port->GetSeaZone() : 0;
    };
    g_pathSearchHooks.provinceUnderSiege = [](const CProvince& province) {
        const CCity* city = province.GetCity();
        return city && city->IsUnderSiege();
    };
    g_pathSearchHooks.provinceSymbolLevel = [](const CProvince& province) -> int32_t {
        return province.natives > 0 ? province.natives : 0;
    };
    return true;
}();

} // namespace
