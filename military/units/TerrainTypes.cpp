#include "military/units/TerrainTypes.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include "engine/CriticalError.h"
#include "engine/CsvReader.h"
#include "military/StartupTables.h"
#include "world/Province.h"
#include "world/Settlement.h"

std::array<std::array<char, kTerrainNameSize>, kTerrainTypeCount> g_terrainNames{};
std::array<double, kTerrainTypeCount> g_terrainValues{};

namespace {

constexpr const char* kTerrainFile = "map\\terrain types.csv";

// The next cell; false when the file had ended before it (a last cell
// without a line end still counts).
bool ReadCell(CCsvReader& reader, char* buffer, size_t size) {
    buffer[0] = '\0';
    return reader.ReadString(buffer, size) || buffer[0] != '\0';
}

// The cell as a finite number: blanks around it allowed, nothing else.
bool ParseValue(const char* text, double& value) {
    const char* begin = text;
    const char* end = text + std::strlen(text);
    while (begin < end && (*begin == ' ' || *begin == '\t'))
        ++begin;
    while (end > begin && (end[-1] == ' ' || end[-1] == '\t' || end[-1] == '\r'))
        --end;
    if (begin < end && *begin == '+')
        ++begin;
    double parsed = 0.0;
    const auto result = std::from_chars(begin, end, parsed);
    if (begin == end || result.ec != std::errc() || result.ptr != end || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

// Reads the rows; the first problem found, empty when none.
std::string ReadRows(CCsvReader& reader) {
    if (!reader.SkipLines(1))
        return "the file has no rows after its header";
    for (int32_t row = 0; row < kTerrainTypeCount; ++row) {
        const std::string where = "row " + std::to_string(row + 1) + ": ";
        char cell[64];
        if (!ReadCell(reader, cell, sizeof cell))
            return "only " + std::to_string(row) + " of its " + std::to_string(kTerrainTypeCount) +
                   " rows";
        if (reader.LastCellEndedLine())
            return where + "no name and no value";
        std::array<char, kTerrainNameSize> name{};
        if (!ReadCell(reader, name.data(), name.size()) || reader.LastCellEndedLine())
            return where + "no value";
        const bool atEnd = !ReadCell(reader, cell, sizeof cell);
        double value = 0.0;
        if (atEnd || !ParseValue(cell, value))
            return where + "the value \"" + std::string(cell) + "\" is not a number";
        g_terrainNames[static_cast<size_t>(row)] = name;
        g_terrainValues[static_cast<size_t>(row)] = value;
        if (!reader.LastCellEndedLine() && row + 1 < kTerrainTypeCount)
            reader.SkipLines(1); // further cells of the row are not used
    }
    return {};
}

} // namespace

// Every row starts as a nameless terrain of factor 1.0; a row read whole
// replaces it. A bad file keeps what was read before the problem and the
// defaults after it, shows the problem and answers false.
bool LoadTerrainTypes() {
    g_terrainNames = {};
    g_terrainValues.fill(1.0);
    CCsvReader reader(kTerrainFile);
    if (!reader.IsOpen()) { // the reader has shown the missing file
        SetTerrainCosts(g_terrainValues);
        return false;
    }
    const std::string problem = ReadRows(reader);
    SetTerrainCosts(g_terrainValues);
    if (problem.empty())
        return true;
    CriticalError("%s: %s", kTerrainFile, problem.c_str());
    return false;
}

int32_t GetProvinceTerrainIndex(int64_t provinceId) {
    const CProvince* province = GetProvince(provinceId);
    if (!province)
        return 0;
    return std::clamp<int32_t>(province->terrain, 0, kTerrainTypeCount - 1);
}

namespace {

// A settlement's look follows the row of its province.
const bool g_registered = [] {
    g_settlementCountries.terrainRowOf = [](int32_t province) {
        return GetProvinceTerrainIndex(province);
    };
    return true;
}();

} // namespace
