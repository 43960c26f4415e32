// The name lists of the demo world: random leaders
// ("db\leaders\randomleaders.csv"), armies ("db\armynames.csv"), fleets
// ("db\navynames.csv") and colonies ("db\colonynames.csv"), all invented
// here, and the texts of the names built when a list is used up. Rows are
// "tag;name" ("tag;name;place" for colonies: "any", a land province id of
// the generated map or a region name), no header. Every country but the
// pirates, natives and rebels gets lists; the names are made of syllables
// drawn from a generator seeded by the country number, so every run writes
// the same files.
#include <array>
#include <cstdint>
#include <string>

#include "tools/DemoCountryTags.h"
#include "tools/DemoWorld.h"
#include "tools/WorldMapDesign.h"

namespace {

constexpr std::array<const char*, 16> kFirst = {"Al",  "Bren", "Cor", "Dal", "Ev",  "Fen",
                                                "Gar", "Hal",  "Ist", "Jor", "Kel", "Lor",
                                                "Mar", "Nor",  "Os",  "Per"};
constexpr std::array<const char*, 12> kMiddle = {"a",  "e",  "i",  "o",  "u",  "ae",
                                                 "ei", "an", "en", "ar", "or", "il"};
constexpr std::array<const char*, 12> kLast = {"d",   "n",   "ric", "mund", "wyn",  "thas",
                                               "vel", "dor", "mar", "lin",  "ston", "bert"};
constexpr std::array<const char*, 10> kOrdinals = {"First", "Second",  "Third",  "Fourth", "Fifth",
                                                   "Sixth", "Seventh", "Eighth", "Ninth",  "Tenth"};
constexpr std::array<const char*, 8> kShips = {"Swift", "Resolute", "Tempest",  "Harbinger",
                                               "Gull",  "Lantern",  "Wayfarer", "Sentinel"};

// A small linear congruential generator: the same names on every run.
class Syllables {
public:
    explicit Syllables(uint32_t seed) : m_state(seed * 2654435761u + 12345u) {}
    uint32_t Next(uint32_t bound) {
        m_state = m_state * 1103515245u + 12345u;
        return (m_state >> 16) % bound;
    }
    std::string Word() {
        return std::string(kFirst[Next(kFirst.size())]) + kMiddle[Next(kMiddle.size())] +
               kLast[Next(kLast.size())];
    }

private:
    uint32_t m_state;
};

bool Named(int32_t number) {
    return number != demo::kPiratesNumber && number != demo::kNativesNumber &&
           number != demo::kRebelsNumber;
}

std::string RandomLeaders() {
    std::string rows;
    for (const demo::CountryTag& tag : demo::kCountryTags) {
        if (!tag.tag || !Named(tag.number))
            continue;
        Syllables names(static_cast<uint32_t>(tag.number));
        for (int i = 0; i < 12; ++i)
            rows += std::string(tag.tag) + ";" + names.Word() + " " + names.Word() + "\r\n";
    }
    return rows;
}

std::string ArmyNames() {
    std::string rows;
    for (const demo::CountryTag& tag : demo::kCountryTags) {
        if (!tag.tag || !Named(tag.number))
            continue;
        for (const char* ordinal : kOrdinals)
            rows += std::string(tag.tag) + ";" + ordinal + " " + tag.tag + " Army\r\n";
    }
    return rows;
}

std::string NavyNames() {
    std::string rows;
    for (const demo::CountryTag& tag : demo::kCountryTags) {
        if (!tag.tag || !Named(tag.number))
            continue;
        for (const char* ship : kShips)
            rows += std::string(tag.tag) + ";" + tag.tag + " " + ship + "\r\n";
    }
    return rows;
}

// Per country: one name for a province of America, two for a region of the
// New World and three for any place.
std::string ColonyNames() {
    constexpr std::array<const char*, 4> kRegions = {"North America", "Central America",
                                                     "Carribean", "South America"};
    const demo::design::IdRange& america = demo::design::kLandIds[0];
    std::string rows;
    for (const demo::CountryTag& tag : demo::kCountryTags) {
        if (!tag.tag || !Named(tag.number))
            continue;
        Syllables names(static_cast<uint32_t>(tag.number) + 1000u);
        const std::string head = std::string(tag.tag) + ";";
        const int32_t province =
            america.first + (tag.number * 7) % (america.last - america.first + 1);
        rows += head + names.Word() + " Landing;" + std::to_string(province) + "\r\n";
        for (int i = 0; i < 2; ++i)
            rows += head + names.Word() + "haven;" +
                    kRegions[static_cast<size_t>(tag.number + i) % kRegions.size()] + "\r\n";
        for (int i = 0; i < 3; ++i)
            rows += head + "Fort " + names.Word() + ";any\r\n";
    }
    return rows;
}

bool WriteNameLists(const std::filesystem::path& game) {
    return demo::WriteFile(game / "db" / "leaders" / "randomleaders.csv", RandomLeaders()) &&
           demo::WriteFile(game / "db" / "armynames.csv", ArmyNames()) &&
           demo::WriteFile(game / "db" / "navynames.csv", NavyNames()) &&
           demo::WriteFile(game / "db" / "colonynames.csv", ColonyNames());
}

const demo::DemoWriter kNameListsWriter("db/name lists", &WriteNameLists);

const demo::DemoText kUnitNameTexts[] = {
    {"UNITNAMEEXP", "Expedition of %s"}, {"UNITNAMEREGIMENT", "Regiment"}, {"UNITNAMEARMY", "Army"},
    {"UNITNAMESQUADRON", "Squadron"},    {"UNITNAMEFLEET", "Fleet"},
};

} // namespace
