// Fuzz target: arbitrary bytes as the countries' economy tables: the four
// technology level tables, "db\tax_stab.csv" and "db\diplomaticmatrix.csv".
// No table holds more than its rows, every level reads a row, the tax
// factors stay finite, and no country 0 enters the matrix.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "country/Relations.h"
#include "country/StartupTables.h"
#include "country/Technology.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InScratchFolder folder;
    for (const char* file : {"db/land.csv", "db/naval.csv", "db/infra.csv", "db/trade.csv",
                             "db/tax_stab.csv", "db/diplomaticmatrix.csv"})
        folder.WriteFile(file, data, size);
    LoadLandNavalTables();
    const CTechTable* tables[] = {&g_landTechTable, &g_navalTechTable, &g_infraTechTable,
                                  &g_tradeTechTable};
    for (uint32_t track = 0; track < TECH_TABLES; ++track) {
        const CTechTable& table = *tables[track];
        const int32_t rows = table.GetDataRows();
        fuzz::Check(rows >= 0 && rows <= static_cast<int32_t>(CTechTable::kDataRows[track]));
        fuzz::Check(table.Row(rows).stepCost == kTechTerminatorCost);
        for (int32_t level = -2; level <= rows + 2; ++level)
            fuzz::Check(table.Row(level).stepCost >= 0);
    }
    LoadStabilityTable();
    for (int32_t level = -5; level <= 5; ++level)
        fuzz::Check(std::isfinite(GetStabilityTaxFactorOfLevel(level)));
    LoadDiplomaticMatrix();
    for (uint32_t i = 0; i < kCountrySlots; ++i)
        fuzz::Check(g_diplomaticMatrix[0][i] == 0.0f && g_diplomaticMatrix[i][0] == 0.0f);
    return 0;
}
