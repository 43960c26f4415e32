// Fuzz target: arbitrary bytes as the tables the game-wide globals load at
// start-up ("db\colonists.csv", "db\traders.csv", "db\revolt.csv" and
// "db\revolt.txt" all hold the bytes), loaded by the globals' start-up with
// a few countries known by tag. Loading must end, keep to the tables'
// bounds and leave every value where the tables can be read.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "data/Keywords.h"
#include "data/ScenarioHeader.h"
#include "tests/fuzz/FuzzSupport.h"
#include "world/Globals.h"
#include "world/Province.h"

namespace {

int32_t NumberOfTag(const char* tag) {
    static const char* const kTags[] = {"", "ENG", "FRA", "HAB", "MIN", "AVR"};
    for (int32_t n = 1; n < 6; ++n)
        if (std::strcmp(kTags[n], tag) == 0)
            return n == 4 ? 12 : n;
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        BuildKeywordIndex();
        g_scenarioHeaderHooks.findCountryByTag = &NumberOfTag;
        return true;
    }();
    (void)ready;

    fuzz::InScratchFolder folder;
    for (const char* name :
         {"db/colonists.csv", "db/traders.csv", "db/revolt.csv", "db/revolt.txt"})
        folder.WriteFile(name, data, size);
    g_globals.Init();
    for (uint32_t row = 0; row < CYearTable::kRows; ++row)
        for (uint32_t country = 0; country < CYearTable::kCountries; ++country)
            fuzz::Check(g_globals.colonistTable.Get(row, country) ==
                        g_globals.colonistTable.Get(row, country) + 0.0f);
    for (uint32_t period = 0; period < CRevoltTable::kPeriods; ++period)
        fuzz::Check(g_globals.revoltTable.Get(0, period, 0) == 0); // no tag names country 0
    g_globals.Shutdown();
    for (CProvince& province : g_provinces)
        province.revoltCountry = 0;
    return 0;
}
