#include "world/Discovery.h"

#include <array>
#include <bitset>

#include "world/Province.h"

namespace {

constexpr uint32_t kCountries = 99;
std::array<std::bitset<kProvinceSlots>, kCountries> g_discovered;

bool InRange(uint32_t countryNumber, int32_t provinceId) {
    return countryNumber < kCountries && provinceId >= kFirstProvinceId &&
           provinceId <= kLastProvinceId;
}

} // namespace

void DiscoverProvince(uint32_t countryNumber, int32_t provinceId) {
    if (InRange(countryNumber, provinceId))
        g_discovered[countryNumber].set(static_cast<size_t>(provinceId));
}

bool IsProvinceDiscovered(uint32_t countryNumber, int32_t provinceId) {
    return InRange(countryNumber, provinceId) &&
           g_discovered[countryNumber].test(static_cast<size_t>(provinceId));
}

void ClearDiscoveries() {
    for (auto& provinces : g_discovered)
        provinces.reset();
}
