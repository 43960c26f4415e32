#pragma once
// Which provinces each country has discovered.
#include <cstdint>

// Marks the province discovered for the country; numbers or ids out of
// range are ignored.
void DiscoverProvince(uint32_t countryNumber, int32_t provinceId);
bool IsProvinceDiscovered(uint32_t countryNumber, int32_t provinceId);
// Forgets every discovery (a new game).
void ClearDiscoveries();
