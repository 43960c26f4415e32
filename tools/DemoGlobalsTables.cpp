// The tables the game-wide globals load once at start-up: the yearly
// colonist and trader figures per country, the revolt table and the revolt
// definitions, for the three realms of the demo scenario (ENG, FRA, HAB) on
// the demo map's land cells.
#include <string>

#include "tools/DemoWorld.h"

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

// Two cells, then (tag, blank) pairs up to "END"; each row a year, a cell
// not used and a (tag, figure) pair per country.
bool WriteRevoltTable(const std::filesystem::path& game) {
    std::string text = "YEAR;X;ENG;;FRA;;HAB;;END\r\n";
    int period = 0;
    for (int year : kPeriodYears) {
        text += std::to_string(year) + ";0;ENG;" + std::to_string(2 + period) + ";FRA;" +
                std::to_string(4 - period / 2) + ";HAB;" + std::to_string(1 + period % 3) + "\r\n";
        ++period;
    }
    text += "END\r\n";
    return demo::WriteFile(game / "db" / "revolt.csv", text);
}

// The province numbered as the cell of a 64-column grid (the realms of the
// small scenario).
std::string Cell(int32_t column, int32_t row) {
    return std::to_string(row * 64 + column + 1);
}

// Who would rise where: each realm's home provinces and one more inland.
bool WriteRevoltDefinitions(const std::filesystem::path& game) {
    std::string text = "# The realms that may rise again, with the provinces they claim.\r\n";
    text += "ENG = {\r\n    date = { year = 1560 month = january day = 0 }\r\n"
            "    minimum = { " +
            Cell(36, 1) + " " + Cell(37, 1) +
            " }\r\n"
            "    extra = { " +
            Cell(36, 2) +
            " }\r\n"
            "    capital = " +
            Cell(36, 1) + "\r\n    group = latin\r\n}\r\n";
    text += "FRA = {\r\n    minimum = { " + Cell(38, 1) +
            " }\r\n"
            "    extra = { " +
            Cell(38, 2) + " " + Cell(37, 2) +
            " }\r\n"
            "    capital = " +
            Cell(38, 1) + "\r\n    group = latin\r\n}\r\n";
    text += "HAB = {\r\n    minimum = { " + Cell(39, 1) + " " + Cell(40, 1) +
            " }\r\n"
            "    capital = " +
            Cell(39, 1) + "\r\n    group = orthodox\r\n}\r\n";
    text += "END\r\n";
    return demo::WriteFile(game / "db" / "revolt.txt", text);
}

const demo::DemoWriter kColonistsWriter("db/colonists.csv", &WriteColonists);
const demo::DemoWriter kTradersWriter("db/traders.csv", &WriteTraders);
const demo::DemoWriter kRevoltTableWriter("db/revolt.csv", &WriteRevoltTable);
const demo::DemoWriter kRevoltDefinitionsWriter("db/revolt.txt", &WriteRevoltDefinitions);

} // namespace
