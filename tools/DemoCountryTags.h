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
    for (const CountryTagRow& row : kCountryTagRows)
        if (row.number >= 1 && row.number <= 98 && !out[static_cast<size_t>(row.number - 1)].tag)
            out[static_cast<size_t>(row.number - 1)] = {row.tag, row.number};
    return out;
}();

// The numbers with rules of their own in the tables.
inline constexpr int32_t kPiratesNumber = 96;
inline constexpr int32_t kNativesNumber = 97;
inline constexpr int32_t kRebelsNumber = 98;

enum class TechGroup { kLatin, kOrthodox, kMuslim, kExotic };

inline constexpr int32_t kOrthodoxNumbers[] = {7, 13, 32, 42, 60, 68};
inline constexpr int32_t kMuslimNumbers[] = {10, 14, 15, 16, 17, 23, 24, 33, 34, 35, 39,
                                             40, 43, 45, 48, 53, 54, 58, 59, 77, 94};
inline constexpr int32_t kExoticNumbers[] = {44, 55, 62, 63, 64, 65, 66, 76, 97, 98};

constexpr TechGroup TechGroupOf(int32_t number) {
    for (int32_t n : kOrthodoxNumbers)
        if (n == number)
            return TechGroup::kOrthodox;
    for (int32_t n : kMuslimNumbers)
        if (n == number)
            return TechGroup::kMuslim;
    for (int32_t n : kExoticNumbers)
        if (n == number)
            return TechGroup::kExotic;
    return TechGroup::kLatin;
}

} // namespace demo
