#pragma once
// The game's fixed country tags as the demo world's tables name them: one
// row per country number 1..98 (index = number - 1), and the technology
// group the game gives each number. The game's own table is
// country/CountryTags.cpp; the tools' tests check that this copy agrees.
#include <array>
#include <cstdint>

namespace demo {

struct CountryTag {
    const char* tag;
    int32_t number;
};

inline constexpr std::array<CountryTag, 98> kCountryTags = {{
    {"ENG", 1},  {"FRA", 2},  {"HAB", 3},  {"HOL", 4},  {"POR", 5},  {"PRU", 6},  {"RUS", 7},
    {"SPA", 8},  {"SWE", 9},  {"TUR", 10}, {"VEN", 11}, {"MIN", 12}, {"POL", 13}, {"ADE", 14},
    {"ALD", 15}, {"ARA", 16}, {"AST", 17}, {"BAD", 18}, {"BAY", 19}, {"KLE", 20}, {"BOH", 21},
    {"KNI", 22}, {"CRI", 23}, {"CYR", 24}, {"DAN", 25}, {"GEN", 26}, {"HAN", 27}, {"HSA", 28},
    {"HEL", 29}, {"HEI", 30}, {"HES", 31}, {"HUN", 32}, {"HYD", 33}, {"IRA", 34}, {"KAZ", 35},
    {"KOL", 36}, {"LAT", 37}, {"LOR", 38}, {"MAM", 39}, {"MOR", 40}, {"MLO", 41}, {"MOL", 42},
    {"MYS", 43}, {"OHI", 44}, {"OMA", 45}, {"PAP", 46}, {"PAR", 47}, {"PER", 48}, {"PFA", 49},
    {"SAC", 50}, {"SAV", 51}, {"SCO", 52}, {"SIB", 53}, {"STE", 54}, {"SUD", 55}, {"THU", 56},
    {"TOS", 57}, {"TRI", 58}, {"TUN", 59}, {"WAL", 60}, {"WUR", 61}, {"CHI", 62}, {"NIP", 63},
    {"MOG", 64}, {"AZT", 65}, {"INC", 66}, {"USA", 67}, {"UKR", 68}, {"COR", 69}, {"EIR", 70},
    {"SIC", 71}, {"CAT", 72}, {"ROY", 73}, {"FPR", 74}, {"SPR", 75}, {"BAN", 76}, {"MAH", 77},
    {"NAP", 78}, {"KAL", 79}, {"ITA", 80}, {"NAV", 81}, {"GEO", 82}, {"BRA", 83}, {"SHL", 84},
    {"SAR", 85}, {"PSK", 86}, {"ARG", 87}, {"BRI", 88}, {"BUR", 89}, {"NOR", 90}, {"PRO", 91},
    {"KUR", 92}, {"GRA", 93}, {"MUS", 94}, {"MER", 95}, {"PIR", 96}, {"NAT", 97}, {"REB", 98},
}};

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
