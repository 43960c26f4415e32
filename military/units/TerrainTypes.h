#pragma once
// The terrain types table, "map\terrain types.csv": a header line, then one
// row per province type 0..9 (0 plains, 1 forest, 2 mountain, 3 desert,
// 4 marsh, 5 sea, the rest further kinds that are not land): a first cell
// that is not used, the terrain's name and its movement factor. The loader
// (LoadTerrainTypes, military/StartupTables.h) also hands the factors to
// the path search (g_terrainCosts).
#include <array>
#include <cstdint>

#include "world/PathSearch.h"

constexpr size_t kTerrainNameSize = 32;
extern std::array<std::array<char, kTerrainNameSize>, kTerrainTypeCount> g_terrainNames;
extern std::array<double, kTerrainTypeCount> g_terrainValues;

// The row of the table for the province: its province type, held to 0..9
// (0 for an id that is no province).
int32_t GetProvinceTerrainIndex(int64_t provinceId);
