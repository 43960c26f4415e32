#include "world/Province.h"

std::array<CProvince, kProvinceSlots> g_provinces;

CProvince* GetProvince(int64_t id) {
    if (id < 0 || id >= kProvinceSlots)
        return nullptr;
    return &g_provinces[static_cast<size_t>(id)];
}
