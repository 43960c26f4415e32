#pragma once
// Provinces: one record per province id in one array that lives for the
// whole run. A record's id part (type 4) is what an id of a province resolves
// to.
#include <array>
#include <cstdint>

#include "engine/ObjectId.h"

class CProvince : public CIdEntity {
public:
    CProvince() = default;
};

// Province ids run from 1 to 1472; record 0 exists but is no province.
constexpr int kProvinceSlots = 1473;

extern std::array<CProvince, kProvinceSlots> g_provinces;

// The record of a province id; null for an id outside 0..1472.
CProvince* GetProvince(int64_t id);
