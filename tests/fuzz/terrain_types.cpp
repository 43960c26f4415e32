// Fuzz target: arbitrary bytes as "map\terrain types.csv", loaded as at
// start-up. Whatever the file holds, the loader ends, every factor the path
// search receives is a finite number, and every name is terminated.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "military/StartupTables.h"
#include "military/units/TerrainTypes.h"
#include "tests/fuzz/FuzzSupport.h"
#include "world/PathSearch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InScratchFolder folder;
    folder.WriteFile("map/terrain types.csv", data, size);
    LoadTerrainTypes();
    for (size_t row = 0; row < kTerrainTypeCount; ++row) {
        fuzz::Check(std::isfinite(g_terrainCosts[row]));
        fuzz::Check(g_terrainCosts[row] == g_terrainValues[row]);
        fuzz::Check(std::memchr(g_terrainNames[row].data(), 0, kTerrainNameSize) != nullptr);
    }
    return 0;
}
