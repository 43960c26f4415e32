// The tables the game-wide globals load once at start-up: the yearly
// colonist and trader figures per country (for the three realms of the demo
// scenario, ENG, FRA and HAB, and "MIN" for the rest), and the revolt table
// and the revolt definitions for the nations of the full-world scenario,
// where its placement puts them on the map.
#include <string>
#include <vector>

#include "tools/DemoWorld.h"
#include "tools/ScenarioPlacement.h"

namespace {

// The first year of each period, one row each.
constexpr int kPeriodYears[] = {1500, 1520, 1560, 1615, 1665, 1700, 1760};

// A year table: a title row, the header of tags, then per period the year
// and one figure (in hundredths) per tag; "MIN" serves every other country.
std::string YearTable(const char* title, int base) {
    std::string text = std::string(title) + ";;;;;\r\n";
    text += "YEAR;MIN;ENG;FRA;HAB;END\r\n";
    int period = 0;
    for (int year : kPeriodYears) {
        const int grown = base + 25 * period++;
        text += std::to_string(year) + ";" + std::to_string(grown / 2) + ";" +
                std::to_string(grown + 50) + ";" + std::to_string(grown) + ";" +
                std::to_string(grown + 25) + "\r\n";
    }
    return text;
}

bool WriteColonists(const std::filesystem::path& game) {
    return demo::WriteFile(game / "db" / "colonists.csv", YearTable("Colonists a year", 100));
}

bool WriteTraders(const std::filesystem::path& game) {
    return demo::WriteFile(game / "db" / "traders.csv", YearTable("Merchants a year", 150));
}

// The revolt figure of a nation in a period: ENG, FRA and HAB as they have
// always been, the others from their number.
int RevoltFigure(int32_t number, int period) {
    switch (number) {
    case 1:
        return 2 + period;
    case 2:
        return 4 - period / 2;
    case 3:
        return 1 + period % 3;
    default:
        return 1 + (number + period) % 4;
    }
}

// Two cells, then (tag, blank) pairs up to "END"; each row a year, a cell
// not used and a (tag, figure) pair per country: the nations placed on the
// map by the full-world scenario.
bool WriteRevoltTable(const std::filesystem::path& game) {
    std::vector<const demo::PlacedNation*> nations;
    for (const demo::PlacedNation& nation : demo::WorldPlacement())
        if (!nation.provinces.empty())
            nations.push_back(&nation);
    std::string text = "YEAR;X";
    for (const demo::PlacedNation* nation : nations)
        text += std::string(";") + nation->plan->tag + ";";
    text += ";END\r\n";
    int period = 0;
    for (int year : kPeriodYears) {
        text += std::to_string(year) + ";0";
        for (const demo::PlacedNation* nation : nations)
            text += std::string(";") + nation->plan->tag + ";" +
                    std::to_string(RevoltFigure(nation->plan->number, period));
        text += "\r\n";
        ++period;
    }
    text += "END\r\n";
    return demo::WriteFile(game / "db" / "revolt.csv", text);
}

std::string IdList(const std::vector<int32_t>& ids, size_t from, size_t to) {
    std::string text = "{";
    for (size_t i = from; i < to && i < ids.size(); ++i)
        text += " " + std::to_string(ids[i]);
    return text + " }";
}

// Who would rise where: each nation's capital and the nearer half of its
// provinces as the least it would rise with, the rest as its claims.
bool WriteRevoltDefinitions(const std::filesystem::path& game) {
    std::string text = "# The realms that may rise again, with the provinces they claim.\r\n";
    for (const demo::PlacedNation& nation : demo::WorldPlacement()) {
        if (nation.provinces.empty())
            continue;
        const std::vector<int32_t>& ids = nation.provinces;
        const size_t minimum = (ids.size() + 1) / 2;
        text += std::string(nation.plan->tag) + " = {\r\n";
        text += "    minimum = " + IdList(ids, 0, minimum) + "\r\n";
        if (ids.size() > minimum)
            text += "    extra = " + IdList(ids, minimum, ids.size()) + "\r\n";
        text += "    capital = " + std::to_string(nation.Capital()) + "\r\n";
        text += std::string("    group = ") + nation.plan->group + "\r\n}\r\n";
    }
    text += "END\r\n";
    return demo::WriteFile(game / "db" / "revolt.txt", text);
}

const demo::DemoWriter kColonistsWriter("db/colonists.csv", &WriteColonists);
const demo::DemoWriter kTradersWriter("db/traders.csv", &WriteTraders);
const demo::DemoWriter kRevoltTableWriter("db/revolt.csv", &WriteRevoltTable);
const demo::DemoWriter kRevoltDefinitionsWriter("db/revolt.txt", &WriteRevoltDefinitions);

} // namespace
