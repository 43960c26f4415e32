#pragma once
// Where the demo scenarios put their countries on the world map. Both
// placements are computed from demo::TheWorldMap() alone (kinds, continents,
// neighbours and ports; every choice by distance and then by id), so they
// follow the map whatever it looks like, and come out the same on every run.
#include <cstdint>
#include <string>
#include <vector>

namespace demo {

// Continent indices of the fixed name list (world/WorldNames.h).
constexpr int32_t kAmerica = 1;
constexpr int32_t kEurope = 2;
constexpr int32_t kAsia = 3;
constexpr int32_t kOceania = 4;
constexpr int32_t kAfrica = 5;

// "The Amber Coast": five adjoining land provinces of one European coast,
// the first two held by ENG, the third by FRA, the last two by HAB, and the
// sea zone of the first one's port, where ENG's fleet lies.
struct AmberCoastPlace {
    std::vector<int32_t> provinces; // five ids along the coast
    int32_t seaZone = 0;
};
const AmberCoastPlace& AmberCoastPlacement();

// One nation of the full-world scenario as it is planned.
struct NationPlan {
    const char* tag;
    int32_t number;        // the tag table's number of the tag
    const char* religion;  // the state religion's keyword
    const char* group;     // the technology group's keyword ("latin" ...)
    const char* name;      // its display name
    const char* capital;   // the name of its capital city
    int32_t continents[3]; // the continents to look in, in order (0 = none)
    int32_t hintX, hintY;  // where in the continent's box (0..100 each)
    int32_t size;          // provinces it grows to (its capital included)
    bool naval;            // keeps a fleet when it has a port
};

// A nation as placed: its capital first, then its provinces in the order
// they were taken. An unplaced nation (no land left) has no provinces.
struct PlacedNation {
    const NationPlan* plan = nullptr;
    std::vector<int32_t> provinces;
    // The open sea zone of its first province with a port there (0 when it
    // has none).
    int32_t fleetZone = 0;
    int32_t Capital() const { return provinces.empty() ? 0 : provinces.front(); }
};

// The planned nations, in plan order.
const std::vector<NationPlan>& NationPlans();

// Every planned nation in plan order (the placed ones have provinces).
const std::vector<PlacedNation>& WorldPlacement();
// The nation of the tag in the placement; null when it is not planned.
const PlacedNation* PlacedNationOf(const std::string& tag);
// The country number owning the province in the placement; 0 for none.
int32_t PlacedOwnerOf(int32_t province);

} // namespace demo
