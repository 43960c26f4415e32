#pragma once
// Wars: two sides (alliances of the war type) and the score points each
// country of a side has won against each country of the other side. Every
// war stands in g_wars and is saved as a "war" block inside "globaldata".
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "country/Alliance.h"
#include "data/CountryNumbers.h"

// The points of the countries of one side: a row per country number, a
// column per opposing country number.
struct CWarScoreTable {
    using Row = std::array<int32_t, kCountrySlots>;
    std::array<Row, kCountrySlots> rows{};

    int32_t RowSum(uint32_t country) const;
};

class CWar {
public:
    // The block after its "{" up to and including its "}". FIELD_BLOCK_END;
    // FIELD_ERROR after an unknown key ("WAR : Unexpected field": the rest of
    // the block is passed over); FIELD_END_OF_FILE.
    int32_t Read(CFieldReader& in);
    // "id", "date", "enddate", "defenderscore", "attackerscore",
    // "attackers", "defenders".
    CDataBlock* Write() const;

    // Both sides were given.
    bool HasBothSides() const;
    bool IsAttacker(int64_t country) const;
    bool IsDefender(int64_t country) const;

    // The country's row of its side's table (the defenders' when it is no
    // attacker); null outside 0..98.
    CWarScoreTable::Row* GetScoreRow(int64_t country);

    // The points of a side (0 for "the side as a whole").
    int32_t GetAttackerPoints(uint32_t attacker, uint32_t defender) const;
    int32_t GetDefenderPoints(uint32_t attacker, uint32_t defender) const;
    // -7..7 from c's side's view; x of c's side, y its opponent (0: the side
    // as a whole).
    int32_t GetWarScore(uint32_t c, uint32_t x, uint32_t y) const;

    ObjectId id;
    CDate startDate;
    CDate endDate;
    std::unique_ptr<CAlliance> attackers;
    std::unique_ptr<CAlliance> defenders;
    CWarScoreTable attackerScore;
    CWarScoreTable defenderScore;
};

// Every war being fought, in the order begun.
extern std::vector<std::unique_ptr<CWar>> g_wars;

// The war of the id, null when none.
CWar* FindWar(const ObjectId& id);

// The monthly step of the globals: on the host, outside the tutorial, every
// war over for three years, or with a side without participants, whose
// sides hold none of each other's provinces gets a white peace message
// addressed to the local player's country.
void EndStaleWars();
