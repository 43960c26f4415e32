// Reading the diplomatic matrix (g_diplomaticMatrix, country/Relations.h).
#include <cstdint>
#include <string>
#include <vector>

#include "country/CountryTags.h"
#include "country/CsvRows.h"
#include "country/Relations.h"
#include "country/StartupTables.h"
#include "engine/CsvReader.h"
#include "platform/Files.h"

namespace {

// The country a tag names; -1 for none (country 0 included, which no row or
// column may name).
int32_t MatrixIndexOf(const std::string& tag) {
    const int32_t number = FindCountryByTag(tag.c_str());
    return number > 0 && number < static_cast<int32_t>(kCountrySlots) ? number : -1;
}

} // namespace

// The first row names the columns after its first cell, up to a cell "END";
// every further row is a tag and one integer per column, up to a row whose
// tag is "END". A tag that names no country leaves its row or column out.
bool LoadDiplomaticMatrix() {
    for (auto& row : g_diplomaticMatrix)
        row.fill(0.0f);
    const char* path = "db\\diplomaticmatrix.csv";
    const bool exists = platform::GameFileExists(path);
    CCsvReader reader(path); // a missing file shows the "excel file not found" box
    std::vector<std::string> cells;
    if (!exists || !ReadCsvRow(reader, cells))
        return exists;
    std::vector<int32_t> columns;
    for (size_t i = 1; i < cells.size() && cells[i] != "END"; ++i)
        columns.push_back(MatrixIndexOf(cells[i]));
    while (ReadCsvRow(reader, cells)) {
        if (cells[0] == "END")
            break;
        const int32_t row = MatrixIndexOf(cells[0]);
        if (row < 0)
            continue;
        for (size_t column = 0; column < columns.size(); ++column)
            if (columns[column] >= 0)
                g_diplomaticMatrix[static_cast<size_t>(row)][static_cast<size_t>(columns[column])] =
                    static_cast<float>(ParseCsvInt(CsvCell(cells, column + 2)));
    }
    return true;
}
