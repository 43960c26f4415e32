#pragma once
// The game's fixed country tags as the demo world's tables name them: one
// row per country number 1..98 (index = number - 1), the first of the
// game's own rows for each number (country/CountryTagList.h), and the
// technology group the game gives each number.
#include <array>
#include <cstdint>

#include "country/CountryTagList.h"

namespace demo {

struct CountryTag {
    const char* tag;
    int32_t number;
};

inline constexpr std::array<CountryTag, 98> kCountryTags = [] {
    std::array<CountryTag, 98> out{};
    // The slots already given (g++ will not test a taken address against
    // null in a constant expression).
    std::array<bool, 98> given{};
    for (const CountryTagRow& row : kCountryTagRows) {
        if (row.number < 1 || row.number > 98)
            continue;
        const auto slot = static_cast<size_t>(row.number - 1);
        if (!given[slot]) {
            out[slot] = {row.tag, row.number};
            given[slot] = true;
        }
    }
    return out;
}();

// The numbers with rules of their own in the tables.
inline constexpr int32_t kPiratesNumber = 96;
inline constexpr int32_t kNativesNumber = 97;
inline constexpr int32_t kRebelsNumber = 98;

enum class TechGroup { kLatin, kOrthodox, kMuslim, kExotic };

// The game's own group of the number (country/CountryTagList.h).
constexpr TechGroup TechGroupOf(int32_t number) {
    return static_cast<TechGroup>(TechnologyGroupOfNumber(static_cast<uint32_t>(number)));
}

} // namespace demo
