#include "country/BuildingCosts.h"

#include <cstring>

#include "country/CountryTags.h"
#include "country/StartupTables.h"
#include "engine/CsvReader.h"
#include "platform/Files.h"

std::array<std::array<uint32_t, BUILD_KINDS>, kCountrySlots> g_buildingCostClasses{};

namespace {

uint32_t CostClassOf(const char* cell) {
    if (std::strlen(cell) != 1)
        return 0;
    switch (cell[0]) {
    case 'A':
        return 1;
    case 'B':
        return 2;
    case 'C':
        return 3;
    case 'D':
        return 4;
    default:
        return 0;
    }
}

} // namespace

void ClearBuildingCostClasses() {
    for (auto& row : g_buildingCostClasses)
        row.fill(0);
}

// The header row is skipped; each row is a tag and the six classes, up to
// the end of the file or a row whose first cell is "END". A row whose tag is
// not in the tag table is skipped; a short row leaves its missing classes 0.
// Without the file every class stays 0.
bool LoadBuildingCosts() {
    ClearBuildingCostClasses();
    const char* path = "db\\buildingcosts.csv";
    if (!platform::GameFileExists(path))
        return false;
    CCsvReader reader(path);
    if (!reader.SkipLines(1))
        return true;
    char cell[64];
    for (;;) {
        const bool more = reader.ReadString(cell, sizeof cell);
        if (!more && cell[0] == '\0')
            break;
        if (std::strcmp(cell, "END") == 0)
            break;
        const int32_t number = FindCountryByTag(cell);
        std::array<uint32_t, BUILD_KINDS> classes{};
        bool lineEnded = !more || reader.LastCellEndedLine();
        for (uint32_t kind = 0; kind < BUILD_KINDS && !lineEnded; ++kind) {
            const bool read = reader.ReadString(cell, sizeof cell);
            classes[kind] = CostClassOf(cell);
            lineEnded = !read || reader.LastCellEndedLine();
        }
        if (number > 0 && number < static_cast<int32_t>(kCountrySlots))
            g_buildingCostClasses[static_cast<size_t>(number)] = classes;
        if (!lineEnded && !reader.SkipLines(1))
            break;
        if (!more)
            break;
    }
    return true;
}
