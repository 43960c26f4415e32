// The combat tables of "db\Combat". "CRT.csv" holds the results table with
// no heading: one line per die column 0..15, each with the men loss in
// percent and the morale loss of the rows A..E in turn. Losses grow with
// the column and the row. The seven code tables have a heading line and a
// line per technology group of the side dealing the losses (a heading cell,
// then a code per opposing group): a better group (a higher number) deals
// a heavier row against a weaker one; natives (group 0) fire no guns and
// the ships of the first groups fight no artillery duels.
#include <algorithm>
#include <cstdio>
#include <string>

#include "tools/DemoWorld.h"

namespace {

constexpr int kGroups = 7;

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

std::string Results() {
    std::string text;
    for (int column = 0; column < 16; ++column) {
        for (int row = 0; row < 5; ++row) {
            const double men = 1.0 + row * 1.5 + column * (0.4 + 0.15 * row);
            const double morale = 0.15 + row * 0.1 + column * 0.03;
            text += Number(men) + ";" + Number(morale) + (row < 4 ? ";" : "\r\n");
        }
    }
    return text;
}

// The code of the dealing group against the opposing one: C between equals,
// one row up or down per two groups of difference; "NA" where noGuns holds
// for the dealer.
std::string Codes(int bias, int firstWithout) {
    std::string text = "group;0;1;2;3;4;5;6\r\n";
    for (int own = 0; own < kGroups; ++own) {
        text += std::to_string(own);
        for (int other = 0; other < kGroups; ++other) {
            std::string code = "NA";
            if (own >= firstWithout) {
                const int row = std::clamp(2 + bias + (own - other) / 2, 0, 4);
                code = std::string(1, static_cast<char>('A' + row));
            }
            text += ";" + code;
        }
        text += "\r\n";
    }
    return text;
}

bool WriteCombatTables(const std::filesystem::path& game) {
    const std::filesystem::path folder = game / "db" / "Combat";
    return demo::WriteFile(folder / "CRT.csv", Results()) &&
           demo::WriteFile(folder / "LANDFIRE.csv", Codes(0, 1)) &&
           demo::WriteFile(folder / "LANDSHOCK.csv", Codes(0, 0)) &&
           demo::WriteFile(folder / "NAVAL FIRE.csv", Codes(0, 2)) &&
           demo::WriteFile(folder / "NAVAL SHOCK.csv", Codes(-1, 0)) &&
           demo::WriteFile(folder / "Assault Fire.csv", Codes(-1, 1)) &&
           demo::WriteFile(folder / "Assault Shock.csv", Codes(-1, 0)) &&
           demo::WriteFile(folder / "Assault Defender.csv", Codes(1, 0));
}

const demo::DemoWriter kCombatTablesWriter("db/Combat", &WriteCombatTables);

} // namespace
