// The per-country tables of the demo world, one row for every country of the
// game's tag table (tools/DemoCountryTags.h), in number order:
//   db\buildingcosts.csv   a header; per tag the cost class of infantry,
//                          cavalry, artillery, warships, galleys and
//                          transports ("A" cheapest .. "D", "0" may not be
//                          built); closed by a row "END".
//   db\diplomaticmatrix.csv the base attitude of each country (row) toward
//                          each other (column), -10..10 (the game counts it
//                          twenty times into a relation of -200..200): a
//                          header of the column tags up to "END", one row per
//                          tag, closed by a row "END".
// The classes follow the technology group, with the great powers, the sea
// powers and the peoples without horses, guns or ships set apart; the three
// realms of "The Amber Coast" (ENG Avaris, FRA Brenmark, HAB Zeluna) keep
// the classes their scenario was made with. The attitudes follow the groups
// (kin like kin, old enemies across the faiths), a few rivalries and
// friendships of their own, and everyone's hatred of pirates and rebels.
// Lines end in CR LF, as the game's tables do.
#include <array>
#include <cstdint>
#include <string>

#include "tools/DemoCountryTags.h"
#include "tools/DemoWorld.h"

namespace {

using namespace demo;

// Infantry, cavalry, artillery, warships, galleys, transports.
using CostClasses = std::array<const char*, 6>;

struct CostRow {
    const char* tag;
    CostClasses classes;
};

// Countries whose classes differ from their group's.
const CostRow kOwnCosts[] = {
    // Avaris is a sea power, Brenmark a land power without a navy to speak
    // of, Zeluna a small island realm that cannot cast guns.
    {"ENG", {"B", "C", "C", "A", "B", "A"}}, {"FRA", {"A", "A", "B", "D", "0", "C"}},
    {"HAB", {"C", "D", "0", "C", "A", "B"}}, {"HOL", {"B", "C", "B", "A", "C", "A"}},
    {"POR", {"B", "C", "C", "A", "B", "A"}}, {"PRU", {"A", "B", "B", "D", "0", "C"}},
    {"SPA", {"A", "B", "B", "B", "B", "B"}}, {"SWE", {"A", "B", "B", "B", "C", "B"}},
    {"TUR", {"A", "A", "A", "C", "A", "B"}}, {"VEN", {"C", "D", "C", "B", "A", "A"}},
    {"USA", {"A", "B", "B", "C", "D", "B"}}, {"CHI", {"B", "B", "C", "C", "B", "C"}},
    {"NIP", {"B", "C", "D", "C", "B", "C"}}, {"MOG", {"B", "A", "B", "D", "D", "D"}},
    {"AZT", {"C", "0", "0", "0", "0", "0"}}, {"INC", {"C", "0", "0", "0", "0", "0"}},
    {"NAT", {"C", "0", "0", "0", "0", "0"}}, {"PIR", {"D", "0", "0", "B", "B", "C"}},
    {"REB", {"C", "C", "D", "0", "0", "0"}},
};

CostClasses GroupCosts(TechGroup group) {
    switch (group) {
    case TechGroup::kOrthodox:
        return {"B", "A", "C", "D", "C", "C"};
    case TechGroup::kMuslim:
        return {"B", "A", "C", "C", "B", "C"};
    case TechGroup::kExotic:
        return {"C", "C", "D", "D", "C", "D"};
    case TechGroup::kLatin:
        break;
    }
    return {"B", "B", "B", "C", "C", "B"};
}

CostClasses CostsOf(const CountryTag& country) {
    for (const CostRow& row : kOwnCosts)
        if (std::string(row.tag) == country.tag)
            return row.classes;
    return GroupCosts(TechGroupOf(country.number));
}

bool WriteBuildingCosts(const std::filesystem::path& game) {
    std::string csv = "TAG;INFANTRY;CAVALRY;ARTILLERY;WARSHIPS;GALLEYS;TRANSPORTS\r\n";
    for (const CountryTag& country : kCountryTags) {
        csv += country.tag;
        for (const char* cost : CostsOf(country))
            csv += std::string(";") + cost;
        csv += "\r\n";
    }
    csv += "END;;;;;;\r\n";
    return WriteFile(game / "db" / "buildingcosts.csv", csv);
}

// Attitudes of their own, both ways.
struct Attitude {
    const char* a;
    const char* b;
    int value;
};
const Attitude kOwnAttitudes[] = {
    {"ENG", "FRA", -4}, {"ENG", "POR", 5},  {"ENG", "SCO", -5}, {"ENG", "HOL", 2},
    {"FRA", "HAB", -5}, {"FRA", "SCO", 4},  {"FRA", "SPA", -3}, {"HAB", "SPA", 5},
    {"HAB", "PAP", 3},  {"HAB", "TUR", -8}, {"HUN", "TUR", -7}, {"VEN", "TUR", -5},
    {"POL", "TUR", -3}, {"RUS", "TUR", -5}, {"PER", "TUR", -6}, {"MAM", "TUR", -3},
    {"SWE", "DAN", -6}, {"RUS", "SWE", -4}, {"RUS", "POL", -5}, {"SPA", "POR", 2},
    {"SPA", "GRA", -8}, {"CHI", "NIP", -2}, {"MOG", "PER", -2}, {"ENG", "USA", -3},
};

int GroupAttitude(TechGroup a, TechGroup b) {
    if (a == b) {
        switch (a) {
        case TechGroup::kLatin:
            return 1;
        case TechGroup::kOrthodox:
            return 3;
        case TechGroup::kMuslim:
            return 2;
        case TechGroup::kExotic:
            return 0;
        }
    }
    if (a == TechGroup::kExotic || b == TechGroup::kExotic)
        return -1;
    if (a == TechGroup::kMuslim || b == TechGroup::kMuslim)
        return a == TechGroup::kOrthodox || b == TechGroup::kOrthodox ? -4 : -3;
    return -1; // latin and orthodox
}

int AttitudeOf(const CountryTag& from, const CountryTag& to) {
    if (from.number == to.number)
        return 0;
    for (int32_t outlaw : {kPiratesNumber, kRebelsNumber})
        if (from.number == outlaw || to.number == outlaw)
            return -10;
    if (from.number == kNativesNumber || to.number == kNativesNumber)
        return -3;
    for (const Attitude& own : kOwnAttitudes) {
        const std::string a = own.a;
        const std::string b = own.b;
        if ((a == from.tag && b == to.tag) || (a == to.tag && b == from.tag))
            return own.value;
    }
    return GroupAttitude(TechGroupOf(from.number), TechGroupOf(to.number));
}

bool WriteDiplomaticMatrix(const std::filesystem::path& game) {
    std::string csv = "TAG";
    for (const CountryTag& column : kCountryTags)
        csv += std::string(";") + column.tag;
    csv += ";END\r\n";
    for (const CountryTag& row : kCountryTags) {
        csv += row.tag;
        for (const CountryTag& column : kCountryTags)
            csv += ";" + std::to_string(AttitudeOf(row, column));
        csv += "\r\n";
    }
    csv += "END\r\n";
    return WriteFile(game / "db" / "diplomaticmatrix.csv", csv);
}

const DemoWriter kBuildingCostsWriter("db/buildingcosts.csv", &WriteBuildingCosts);
const DemoWriter kDiplomaticMatrixWriter("db/diplomaticmatrix.csv", &WriteDiplomaticMatrix);

} // namespace
