#pragma once
// The fixed table of country tags: 99 rows of a three-letter tag and the
// country's number, in their fixed order. Header-only, so that the demo
// world generator draws every country's pictures from the same rows.
#include <array>
#include <cstdint>

#include "data/CountryNumbers.h"

struct CountryTagRow {
    char tag[4];
    int32_t number;
};

// Number 68 has two rows; lookups find the first. Number 0 has none.
inline constexpr std::array<CountryTagRow, kCountrySlots> kCountryTagRows = {{
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
    {"NAP", 78}, {"MER", 95}, {"PIR", 96}, {"KAL", 79}, {"NAT", 97}, {"REB", 98}, {"ITA", 80},
    {"NAV", 81}, {"GEO", 82}, {"BRA", 83}, {"SHL", 84}, {"SAR", 85}, {"PSK", 86}, {"ARG", 87},
    {"BRI", 88}, {"BUR", 89}, {"NOR", 90}, {"PRO", 91}, {"KUR", 92}, {"GRA", 93}, {"MUS", 94},
    {"UKR", 68},
}};

// The technology group a new country of the number gets: 1 orthodox,
// 2 muslim, 3 exotic, 0 latin for every number not listed.
constexpr uint32_t TechnologyGroupOfNumber(uint32_t number) {
    constexpr uint32_t kOrthodox[] = {7, 13, 32, 42, 60, 68};
    constexpr uint32_t kMuslim[] = {10, 14, 15, 16, 17, 23, 24, 33, 34, 35, 39,
                                    40, 43, 45, 48, 53, 54, 58, 59, 77, 94};
    constexpr uint32_t kExotic[] = {44, 55, 62, 63, 64, 65, 66, 76, 97, 98};
    for (uint32_t n : kOrthodox)
        if (n == number)
            return 1;
    for (uint32_t n : kMuslim)
        if (n == number)
            return 2;
    for (uint32_t n : kExotic)
        if (n == number)
            return 3;
    return 0;
}
