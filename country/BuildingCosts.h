#pragma once
// The cost class of each unit kind per country, from "db\buildingcosts.csv":
// 0 may not be built, 1..4 are the classes "A".."D".
#include <array>
#include <cstdint>

#include "data/CountryNumbers.h"

enum EBuildingCostKind : uint32_t {
    BUILD_INFANTRY = 0,
    BUILD_CAVALRY = 1,
    BUILD_ARTILLERY = 2,
    BUILD_WARSHIPS = 3,
    BUILD_GALLEYS = 4,
    BUILD_TRANSPORTS = 5,
    BUILD_KINDS = 6,
};

extern std::array<std::array<uint32_t, BUILD_KINDS>, kCountrySlots> g_buildingCostClasses;

// Every class 0.
void ClearBuildingCostClasses();
// Declared with the other start-up tables (country/StartupTables.h):
// bool LoadBuildingCosts();
