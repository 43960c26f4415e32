#pragma once
// Countries as the files name them: by number, 0 to 98 (0 is no country),
// and by object id {3, number}, which the data tree writes as the country's
// tag (SetCountryTagSource).
#include <cstdint>

constexpr uint32_t kCountrySlots = 99;
constexpr uint16_t kCountryObjectType = 3;
