// Fuzz target: arbitrary bytes as "db\buildingcosts.csv". Every class read
// is 0..4 and no row lands in country 0.
#include <cstddef>
#include <cstdint>

#include "country/BuildingCosts.h"
#include "country/StartupTables.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InScratchFolder folder;
    folder.WriteFile("db/buildingcosts.csv", data, size);
    LoadBuildingCosts();
    for (uint32_t number = 0; number < kCountrySlots; ++number)
        for (uint32_t value : g_buildingCostClasses[number])
            fuzz::Check(value <= 4 && (number > 0 || value == 0));
    return 0;
}
