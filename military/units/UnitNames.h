#pragma once
// Names of new armies, fleets and colonies. The host picks them from the
// per-country lists of "db\armynames.csv", "db\navynames.csv" (country tag;
// name) and "db\colonynames.csv" (country tag; name; place: "any", a
// province id or a region name), else builds one, and tells every machine
// by "_COVEVT_RENAME_OBJECT_", due the next day.
#include <array>
#include <cstdint>
#include <string>

#include "military/units/NameLists.h"

class CCountry;
class CSettlement;
class CUnit;

struct ColonyName {
    std::string name;
    int32_t key = 0; // the province id, or the region index
};

// Indexed by country number (0..98).
extern std::array<CGrowArray<std::string>, 99> g_armyNames;
extern std::array<CGrowArray<std::string>, 99> g_navyNames;
extern std::array<CGrowArray<ColonyName>, 99> g_colonyNamesByProvince;
extern std::array<CGrowArray<ColonyName>, 99> g_colonyNamesByRegion;
extern std::array<CGrowArray<ColonyName>, 99> g_colonyNamesAnywhere;

// Read the tables once at start-up, after the text database; the lists are
// emptied first. A row with an unknown tag, without a name or (colonies)
// with a place that is no province id 1..1472, no known region and not
// "any" is reported to the trace and skipped; a full list (256 names)
// drops further names with a trace line. False when a file cannot be read
// (its lists stay empty and names are built).
bool LoadUnitNames();
bool LoadColonyNames();

// True when a unit of the country (also one still being built) bears
// exactly that name.
bool IsUnitNameTaken(const CCountry& country, const std::string& name);
// The name a new unit gets: "UNITNAMEEXP" with the commander's name under
// a conquistador or explorer; else the first free name of its country's
// list; else its province's name and "UNITNAMEREGIMENT" /
// "UNITNAMEARMY" (an army below / from 10000 men) or "UNITNAMESQUADRON" /
// "UNITNAMEFLEET" (a fleet without / with ships).
std::string ChooseUnitName(const CUnit& unit);
// The name a new colony in the province of the owner gets: the owner's
// entry for the province; else its first entry for the province's region
// that no city bears; else its first free "any" entry; else the country's
// prefix ("New", "Nya" ...) before the name of the first of its own
// provinces of continent 2 that gives a free name; else the province's
// name.
std::string ChooseColonyName(int32_t province, uint32_t owner);
// Host side: the chosen name is posted, sent and due tomorrow.
void NameNewUnit(const CUnit& unit);
void NameNewColony(const CSettlement& settlement);
