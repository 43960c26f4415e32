#pragma once
// Areas, regions and continents: the fixed groups of provinces named by
// columns of the province table. Each group keeps the list of its provinces
// (filled while the table is read); each area also keeps the list of the
// areas that border it.
#include <array>
#include <cstdint>

#include "data/TokenFile.h"
#include "engine/LinkedList.h"
#include "world/WorldNames.h"

class CCountry;
class CProvince;

// The provinces of each group, in table order (the lists do not own them).
extern std::array<CTemplateList<CProvince>, kAreaCount> g_areaProvinces;
extern std::array<CTemplateList<CProvince>, kRegionCount> g_regionProvinces;
extern std::array<CTemplateList<CProvince>, kContinentCount> g_continentProvinces;
// The numbers of the areas that border each area.
extern std::array<CIntList, kAreaCount> g_areaNeighbours;

// Exact, case-sensitive; 0 when the name is not in the table.
int32_t FindAreaByName(const char* name);
int32_t FindRegionByName(const char* name);
int32_t FindContinentByName(const char* name);
// The name of the index; "-" for an index outside the table.
const char* GetAreaName(int32_t area);
const char* GetRegionName(int32_t region);
const char* GetContinentName(int32_t continent);

// A province of the area is owned or controlled by the country.
bool AreaHasProvinceOf(int32_t area, const CCountry* country);
// Empties every group list and every adjacent-area list.
void ClearAreaGroups();
// Appends the province to the lists of its area, region and continent (an
// index outside a table joins no list).
void AddProvinceToGroups(CProvince& province);
// For every land province of a land area, each leading land neighbour in
// another area makes that area a neighbour of the province's area.
void BuildAreaNeighbours();
