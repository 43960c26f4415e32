#include "military/combat/CombatTables.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include "engine/CriticalError.h"
#include "engine/CsvReader.h"
#include "military/StartupTables.h"

std::unique_ptr<CCombatTables> g_combatTables;

const std::array<const char*, 1 + kCombatCodeTables> kCombatTableFiles = {
    "db\\Combat\\CRT.csv",           "db\\Combat\\LANDFIRE.csv",
    "db\\Combat\\LANDSHOCK.csv",     "db\\Combat\\NAVAL FIRE.csv",
    "db\\Combat\\NAVAL SHOCK.csv",   "db\\Combat\\Assault Fire.csv",
    "db\\Combat\\Assault Shock.csv", "db\\Combat\\Assault Defender.csv",
};

int32_t ClampTechGroup(int32_t group) {
    return std::clamp(group, 0, kTechGroups - 1);
}

int32_t ClampCombatColumn(int32_t column) {
    return std::clamp(column, 0, kCombatResultColumns - 1);
}

namespace {

// The cell without the blanks and line-end bytes around it.
std::string Trimmed(const char* cell) {
    const char* begin = cell;
    const char* end = cell + std::strlen(cell);
    while (begin < end && (*begin == ' ' || *begin == '\t'))
        ++begin;
    while (end > begin && (end[-1] == ' ' || end[-1] == '\t' || end[-1] == '\r'))
        --end;
    return std::string(begin, end);
}

// The next cell; false when the file had ended before it (a last cell
// without a line end still counts).
bool ReadCell(CCsvReader& reader, char* buffer, size_t size) {
    buffer[0] = '\0';
    return reader.ReadString(buffer, size) || buffer[0] != '\0';
}

bool ParseNumber(const char* cell, float& value) {
    const std::string text = Trimmed(cell);
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin < end && *begin == '+')
        ++begin;
    float parsed = 0.0f;
    const auto result = std::from_chars(begin, end, parsed);
    if (begin == end || result.ec != std::errc() || result.ptr != end || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

// The 160 cells: per column, per row, the men percentage and the morale.
std::string ReadResults(CCsvReader& reader, CCombatTables& tables) {
    for (int32_t cell = 0; cell < kCombatResultCells; ++cell) {
        char text[64];
        if (!ReadCell(reader, text, sizeof text))
            return "only " + std::to_string(cell) + " of its " +
                   std::to_string(kCombatResultCells) + " cells";
        float value = 0.0f;
        if (!ParseNumber(text, value))
            return "cell " + std::to_string(cell + 1) + ": \"" + Trimmed(text) +
                   "\" is not a number";
        const auto column = static_cast<size_t>(cell / (kCombatResultRows * 2));
        const auto row = static_cast<size_t>((cell / 2) % kCombatResultRows);
        if (cell % 2 == 0)
            tables.men[row][column] = value * 0.01f;
        else
            tables.morale[row][column] = value;
    }
    return {};
}

// A heading line, then seven lines of a heading cell and seven codes.
std::string ReadCodes(CCsvReader& reader, CombatCodeTable& codes) {
    if (!reader.SkipLines(1))
        return "the file has no lines after its heading";
    for (int32_t line = 0; line < kTechGroups; ++line) {
        char text[64];
        if (!ReadCell(reader, text, sizeof text) || reader.LastCellEndedLine())
            return "line " + std::to_string(line + 2) + ": no codes";
        for (int32_t column = 0; column < kTechGroups; ++column) {
            const bool read = ReadCell(reader, text, sizeof text);
            const bool lineEnded = reader.LastCellEndedLine();
            if (!read || (lineEnded && column + 1 < kTechGroups))
                return "line " + std::to_string(line + 2) + ": only " +
                       std::to_string(column + (read ? 1 : 0)) + " of its 7 codes";
            codes[static_cast<size_t>(line)][static_cast<size_t>(column)] = CombatCodeOf(text);
        }
        if (!reader.LastCellEndedLine() && line + 1 < kTechGroups)
            reader.SkipLines(1); // further cells of the line are not used
    }
    return {};
}

} // namespace

int32_t CombatCodeOf(const char* cell) {
    const std::string text = Trimmed(cell);
    if (text.size() == 1 && text[0] >= 'A' && text[0] <= 'E')
        return text[0] - 'A';
    return kNoLossCode;
}

int32_t CCombatTables::Code(ECombatCodeTable table, int32_t ownGroup, int32_t otherGroup) const {
    if (table < 0 || table >= kCombatCodeTables)
        return kNoLossCode;
    return codes[static_cast<size_t>(table)][static_cast<size_t>(ClampTechGroup(ownGroup))]
                [static_cast<size_t>(ClampTechGroup(otherGroup))];
}

bool CCombatTables::Losses(int32_t row, int32_t column, float strength, float& menLoss,
                           float& moraleLoss) const {
    menLoss = 0.0f;
    moraleLoss = 0.0f;
    if (row < 0 || row >= kCombatResultRows)
        return false;
    const auto r = static_cast<size_t>(row);
    const auto c = static_cast<size_t>(ClampCombatColumn(column));
    menLoss = men[r][c] * strength * 0.2f;
    moraleLoss = morale[r][c] * 0.2f;
    return true;
}

// Every file is read before the tables take effect: a missing or bad file
// shows its problem, leaves the tables as they were (null at start-up) and
// answers false.
bool LoadCombatTables() {
    auto tables = std::make_unique<CCombatTables>();
    for (size_t file = 0; file < kCombatTableFiles.size(); ++file) {
        CCsvReader reader(kCombatTableFiles[file]);
        if (!reader.IsOpen()) // the reader has shown the missing file
            return false;
        const std::string problem =
            file == 0 ? ReadResults(reader, *tables) : ReadCodes(reader, tables->codes[file - 1]);
        if (!problem.empty()) {
            CriticalError("%s: %s", kCombatTableFiles[file], problem.c_str());
            return false;
        }
    }
    g_combatTables = std::move(tables);
    return true;
}

void FreeCombatTables() {
    g_combatTables.reset();
}
