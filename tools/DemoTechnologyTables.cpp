// The technology level tables of the demo world, one row per level:
//   db\land.csv   53 levels: level; year; infantry, cavalry and artillery
//                 fire %; infantry, cavalry and artillery shock %; a further
//                 figure (a float); morale; a further figure (an integer);
//                 the cost term of the land units.
//   db\naval.csv  43 levels: level; year; warship fire %; warship shock %;
//                 galley fire %; galley shock %; fleet strength (a float);
//                 morale; a further figure (a float); a further figure (an
//                 integer); the cost term of the ships.
//   db\infra.csv  11 levels: level; year; production efficiency %.
//   db\trade.csv  11 levels: level; year; trade efficiency %.
// Each file has a header row; the game reads exactly that many rows and adds
// its own closing row. The years rise strictly from 1400 and every value
// rises with the level; artillery has no fire or shock below land level 3,
// where it may first be raised. The price of leaving a level is 300 ducats a
// year between its row's year and the row before, so even steps give even
// prices (about 2,300 ducats a land level); the first row counts from year
// 0, which puts leaving level 0 out of reach: a country meant to advance
// starts at level 1 or above.
// Lines end in CR LF, as the game's tables do.
#include <cstdint>
#include <initializer_list>
#include <string>

#include "tools/DemoWorld.h"

namespace {

using namespace demo;

constexpr int kLandLevels = 53;
constexpr int kNavalLevels = 43;
constexpr int kInfraLevels = 11;
constexpr int kTradeLevels = 11;
constexpr int kFirstYear = 1400;
constexpr int kArtilleryLevel = 3;

// from + (to - from) x level / (levels - 1), in whole numbers.
int Rise(int level, int levels, int from, int to) {
    return from + (to - from) * level / (levels - 1);
}

// Hundredths as a decimal with two places ("1.25"), the same on every
// machine.
std::string Hundredths(int value) {
    const int fraction = value % 100;
    std::string text = std::to_string(value / 100);
    text += '.';
    text += static_cast<char>('0' + fraction / 10);
    text += static_cast<char>('0' + fraction % 10);
    return text;
}

std::string Line(std::initializer_list<std::string> cells) {
    std::string line;
    for (const std::string& cell : cells)
        line += (line.empty() ? "" : ";") + cell;
    return line + "\r\n";
}

std::string Int(int value) {
    return std::to_string(value);
}

bool WriteLand(const std::filesystem::path& game) {
    std::string csv = "level;year;inffire;cavfire;artfire;infshock;cavshock;artshock;figure;"
                      "morale;count;cost\r\n";
    for (int level = 0; level < kLandLevels; ++level) {
        auto rise = [&](int from, int to) { return Rise(level, kLandLevels, from, to); };
        const bool guns = level >= kArtilleryLevel;
        const int artilleryFire =
            guns ? Rise(level - kArtilleryLevel, kLandLevels - kArtilleryLevel, 30, 150) : 0;
        const int artilleryShock =
            guns ? Rise(level - kArtilleryLevel, kLandLevels - kArtilleryLevel, 5, 30) : 0;
        csv += Line({Int(level), Int(rise(kFirstYear, 1800)), Int(rise(20, 100)), Int(rise(10, 40)),
                     Int(artilleryFire), Int(rise(30, 70)), Int(rise(60, 120)), Int(artilleryShock),
                     Hundredths(rise(100, 200)), Hundredths(rise(150, 450)), Int(1 + level / 6),
                     Int(rise(0, 60))});
    }
    return WriteFile(game / "db" / "land.csv", csv);
}

bool WriteNaval(const std::filesystem::path& game) {
    std::string csv = "level;year;warfire;warshock;galfire;galshock;strength;morale;figure;"
                      "count;cost\r\n";
    for (int level = 0; level < kNavalLevels; ++level) {
        auto rise = [&](int from, int to) { return Rise(level, kNavalLevels, from, to); };
        csv += Line({Int(level), Int(rise(kFirstYear, 1800)), Int(rise(20, 120)), Int(rise(30, 80)),
                     Int(rise(15, 50)), Int(rise(40, 80)), Hundredths(rise(100, 250)),
                     Hundredths(rise(150, 450)), Hundredths(rise(100, 200)), Int(1 + level / 5),
                     Int(rise(0, 80))});
    }
    return WriteFile(game / "db" / "naval.csv", csv);
}

// A table of years and one efficiency percentage.
std::string EfficiencyTable(int levels, int lastYear, int firstPercent, int lastPercent) {
    std::string csv = "level;year;efficiency\r\n";
    for (int level = 0; level < levels; ++level)
        csv += Line({Int(level), Int(Rise(level, levels, kFirstYear, lastYear)),
                     Int(Rise(level, levels, firstPercent, lastPercent))});
    return csv;
}

bool WriteInfra(const std::filesystem::path& game) {
    return WriteFile(game / "db" / "infra.csv", EfficiencyTable(kInfraLevels, 1800, 50, 100));
}

bool WriteTrade(const std::filesystem::path& game) {
    return WriteFile(game / "db" / "trade.csv", EfficiencyTable(kTradeLevels, 1780, 30, 90));
}

const DemoWriter kLandWriter("db/land.csv", &WriteLand);
const DemoWriter kNavalWriter("db/naval.csv", &WriteNaval);
const DemoWriter kInfraWriter("db/infra.csv", &WriteInfra);
const DemoWriter kTradeWriter("db/trade.csv", &WriteTrade);

} // namespace
