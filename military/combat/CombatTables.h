#pragma once
// The combat tables, read once at start-up from "db\Combat": the combat
// results table (a men and a morale value per row code and die column) and
// the seven 7 x 7 tables of row codes by the technology groups of the two
// sides. A row code is 0..4 (a row of the results table) or -1 (no losses).
#include <array>
#include <cstdint>
#include <memory>

constexpr int32_t kCombatResultRows = 5;
constexpr int32_t kCombatResultColumns = 16;
constexpr int32_t kCombatResultCells = kCombatResultRows * kCombatResultColumns * 2;
constexpr int32_t kTechGroups = 7;
constexpr int32_t kNoLossCode = -1;

using CombatCodeTable = std::array<std::array<int32_t, kTechGroups>, kTechGroups>;

// The code tables, in the order their files are read.
enum ECombatCodeTable : int32_t {
    CODES_LAND_FIRE,
    CODES_LAND_SHOCK,
    CODES_NAVAL_FIRE,
    CODES_NAVAL_SHOCK,
    CODES_ASSAULT_FIRE,
    CODES_ASSAULT_SHOCK,
    CODES_ASSAULT_DEFENDER,
    kCombatCodeTables
};

struct CCombatTables {
    // Men values are the file's percentages x 0.01; morale values as read.
    std::array<std::array<float, kCombatResultColumns>, kCombatResultRows> men{};
    std::array<std::array<float, kCombatResultColumns>, kCombatResultRows> morale{};
    std::array<CombatCodeTable, kCombatCodeTables> codes{};

    // The code of the table for the groups (each kept within 0..6).
    int32_t Code(ECombatCodeTable table, int32_t ownGroup, int32_t otherGroup) const;
    // The losses dealt with the row code and column (kept within 0..15) by
    // the strength: men value x strength x 0.2 and morale value x 0.2. A
    // row outside 0..4 deals nothing. False when nothing is dealt.
    bool Losses(int32_t row, int32_t column, float strength, float& menLoss,
                float& moraleLoss) const;
};

// Null until LoadCombatTables has read every file, and after
// FreeCombatTables; without tables no side deals losses.
extern std::unique_ptr<CCombatTables> g_combatTables;

// A technology group kept within the tables (0..6).
int32_t ClampTechGroup(int32_t group);
// A die plus modifier kept within the results table's columns (0..15).
int32_t ClampCombatColumn(int32_t column);
// "A".."E" give 0..4 (blanks around them allowed), anything else -1.
int32_t CombatCodeOf(const char* cell);

// The file names, in the order they are read (the results table first).
extern const std::array<const char*, 1 + kCombatCodeTables> kCombatTableFiles;
