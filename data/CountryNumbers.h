#pragma once
// Countries as the files name them: by number, 0 to 98 (0 is no country),
// and by object id {3, number}, which the data tree writes as the country's
// tag (SetCountryTagSource).
#include <cstdint>

constexpr uint32_t kCountrySlots = 99;
constexpr uint16_t kCountryObjectType = 3;

// False for 0 (no country), 80 and 94 to 98 (the mercenaries, pirates,
// natives and rebels and the two countries outside diplomacy).
constexpr bool IsOrdinaryCountry(int64_t number) {
    return number > 0 && number < kCountrySlots && number != 80 && (number < 94 || number > 98);
}
