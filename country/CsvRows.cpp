#include "country/CsvRows.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "engine/CsvReader.h"

bool ReadCsvRow(CCsvReader& reader, std::vector<std::string>& cells) {
    for (;;) {
        cells.clear();
        bool any = false;
        bool atEnd = false;
        for (;;) {
            char cell[256];
            const bool more = reader.ReadString(cell, sizeof cell);
            cells.emplace_back(cell);
            any = any || cell[0] != '\0';
            if (!more) {
                atEnd = true;
                break;
            }
            if (reader.LastCellEndedLine())
                break;
        }
        if (any)
            return true;
        if (atEnd)
            return false;
    }
}

std::string CsvCell(const std::vector<std::string>& cells, size_t column) {
    return column >= 1 && column <= cells.size() ? cells[column - 1] : std::string();
}

int32_t ParseCsvInt(const std::string& text) {
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<int32_t>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

float ParseCsvFloat(const std::string& text) {
    const double value = std::strtod(text.c_str(), nullptr);
    if (std::isnan(value))
        return 0.0f;
    return static_cast<float>(std::clamp(value, -3.0e38, 3.0e38));
}
