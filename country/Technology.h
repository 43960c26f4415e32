#pragma once
// Technology: the four level tables read at start-up ("db\land.csv",
// "db\naval.csv", "db\infra.csv", "db\trade.csv"), a country's tracks that
// buy one level at a time with the investment they accumulate, the
// stability track (the country's stability, -3..+3) with the tax factor
// table "db\tax_stab.csv", and the country's "technology" block.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/TokenFile.h"
#include "engine/Date.h"

class CCountry;
class CDataBlock;

// One level of a track. Every row has its step cost (the price of reaching
// it from the level below) and its year; the other values belong to the
// land, naval, or infrastructure and trade rows.
struct CTechRow {
    int32_t stepCost = 0;
    int32_t year = 0;
    // Land.
    float infantryFire = 0.0f;
    float cavalryFire = 0.0f;
    float artilleryFire = 0.0f;
    float infantryShock = 0.0f;
    float cavalryShock = 0.0f;
    float artilleryShock = 0.0f;
    // Naval.
    float warshipFire = 0.0f;
    float galleyFire = 0.0f;
    float warshipShock = 0.0f;
    float galleyShock = 0.0f;
    float fleetStrength = 0.0f;
    // Land and naval: the morale base, the cost term added into the unit
    // prices, and the two further values the files carry (kept, unused).
    float morale = 0.0f;
    int32_t costTerm = 0;
    float extraValue = 0.0f;
    int32_t extraInt = 0;
    // Infrastructure and trade: production or trade efficiency.
    float efficiency = 0.0f;
};

enum ETechTrack : uint32_t {
    TECH_LAND = 0,
    TECH_NAVAL = 1,
    TECH_INFRA = 2,
    TECH_TRADE = 3,
    TECH_TABLES = 4,
};

// The step cost of the row after the data rows, which no level reaches.
constexpr int32_t kTechTerminatorCost = 99999999;

class CTechTable {
public:
    // The data rows each file gives: land, naval, infrastructure, trade.
    static constexpr std::array<uint32_t, TECH_TABLES> kDataRows = {53, 43, 11, 11};

    explicit CTechTable(const char* prefix) : m_prefix(prefix) {}

    // The row of the level; a level outside the table is traced ("Array
    // bounds violation.") and reads row 0 (a zero row when there is none).
    const CTechRow& Row(int32_t level) const;
    // The data rows read (the terminator not counted); the terminator's
    // index, the highest level a track can hold.
    int32_t GetDataRows() const;
    // The text-key prefix of the levels ("LTLEVEL", "NTLEVEL", "INFLEVEL",
    // "TRADELEVEL").
    const char* GetPrefix() const { return m_prefix; }

    // The data rows followed by the terminator row.
    void SetRows(std::vector<CTechRow> dataRows);
    void Clear() { m_rows.clear(); }

private:
    const char* m_prefix;
    std::vector<CTechRow> m_rows;
};

extern CTechTable g_landTechTable;
extern CTechTable g_navalTechTable;
extern CTechTable g_infraTechTable;
extern CTechTable g_tradeTechTable;

// Reads the four tables. Each file's header line is skipped and at most its
// table's number of data rows is read (blank lines passed over); a file
// with fewer rows gives a shorter table, whose missing levels no track can
// reach. A missing file ("excel file not found" box) leaves its table with
// only the terminator. False when a file was missing or short.
bool LoadLandNavalTables();

// The number of existing countries in each technology group (latin,
// orthodox, muslim, exotic), counted again when a game starts.
extern std::array<int32_t, 4> g_techGroupCounts;
void CountTechGroups();

// One technology track of a country.
class Technology {
public:
    Technology() = default;
    virtual ~Technology() = default;
    Technology(const Technology&) = delete;
    Technology& operator=(const Technology&) = delete;

    // "level" and "value".
    virtual CDataBlock* Write() const;
    // While the level is below the last data row.
    virtual bool CanAdvance() const;
    virtual void Advance() { ++level; }
    virtual std::string GetCurrentLevelName() const { return GetLevelName(level); }
    // The text of "<prefix>_<level>".
    virtual std::string GetLevelName(int32_t n) const;
    // The next level's name while the track can advance, else "---".
    virtual std::string GetNextLevelName() const;
    // The text of "<prefix>_IMPSTRING_<level>".
    virtual std::string GetImprovementText() const;
    // The price of the next level: its step cost x (1 + the owner's cost
    // modifier), x the owner's size factor for a level whose year has
    // passed; truncated.
    virtual int32_t GetNextLevelCost() const;
    // While the track can advance: value += amount (never below 0); when
    // value reaches the next level's price it is paid and the level rises
    // by one (one level a call at most): true. Otherwise false, nothing
    // changed.
    virtual bool Invest(int32_t amount);
    // The level, held within 0..the highest level.
    virtual void SetLevel(int32_t n);
    virtual int32_t GetValue() const { return value; }
    virtual int32_t GetLevel() const { return level; }
    // The terminator's index (0 without a table).
    virtual int32_t GetHighestLevel() const;
    // The track's block after its "{" up to and including its "}": "level"
    // (through SetLevel), "value" and an optional "date" block.
    // FIELD_BLOCK_END; FIELD_ERROR after another key ("Technology :
    // Unexpected field", the rest passed over); FIELD_END_OF_FILE.
    virtual int32_t Read(CFieldReader& in);

    // The row of the current level of the track's table.
    const CTechRow& CurrentRow() const;

    CDate date;
    int32_t level = 0;
    int32_t value = 0;
    const CTechTable* table = nullptr;
    const CCountry* owner = nullptr;
};

// The stability track: the level is the country's stability, -3..+3.
class CStabilityTrack : public Technology {
public:
    bool CanAdvance() const override { return level < 3; }
    std::string GetLevelName(int32_t) const override { return " "; }
    std::string GetImprovementText() const override { return " "; }
    // StabilityCost of the owner.
    int32_t GetNextLevelCost() const override;
    void SetLevel(int32_t n) override;
    int32_t GetHighestLevel() const override { return 3; }
};

// The size factor of the technology price for a country with the number of
// cities that are not colonies and its yearly tax income.
float TechSizeFactor(int32_t cities, float yearlyTaxIncome);

// The country's technology block: the five tracks and the technology group.
class TechBase {
public:
    // The tracks get their tables; the stability track starts at 3.
    TechBase();

    // Sets the owner of the block and of every track.
    void SetOwner(const CCountry* country);

    // The block after its "{" up to and including its "}". FIELD_BLOCK_END;
    // FIELD_ERROR after an unknown key ("TechBase : Unexpected field", the
    // rest passed over) or a track that failed; FIELD_END_OF_FILE.
    int32_t Read(CFieldReader& in);
    // "land", "naval", "stability", "trade", "infra", "group".
    CDataBlock* Write() const;

    // Level tests.
    bool LandLevelAtLeast1() const { return land.level >= 1; }
    bool LandLevelAtLeast3() const { return land.level >= 3; }
    bool LandLevelAtLeast11() const;
    bool LandLevelAtLeast12() const { return land.level >= 12; }
    bool AllowsWeaponsManufactory() const { return land.level >= 17; }
    bool LandLevelAtLeast20() const { return land.level >= 20; }
    bool LandLevelAtLeast29() const { return land.level >= 29; }
    bool AllowsConscriptionCenter() const { return land.level >= 31; }
    bool LandLevelAtLeast43() const { return land.level >= 43; }
    bool NavalLevelAtLeast1() const { return naval.level >= 1; }
    bool AllowsNavalManufactory() const { return naval.level >= 5; }
    bool NavalLevelAtLeast13() const { return naval.level >= 13; }
    bool AllowsShipyard() const { return naval.level >= 16; }
    bool NavalLevelAtLeast19() const { return naval.level >= 19; }
    bool NavalLevelAtLeast21() const;
    bool NavalLevelAtLeast34() const { return naval.level >= 34; }
    bool NavalLevelAtLeast38() const { return naval.level >= 38; }
    bool AllowsBailiff() const { return infra.level >= 1; }
    bool AllowsRefinery() const { return infra.level >= 2; }
    bool AllowsCourthouse() const { return infra.level >= 3; }
    bool AllowsArtsManufactory() const { return infra.level >= 4; }
    bool AllowsCityRights() const { return infra.level >= 5; }
    bool AllowsGoodsManufactory() const { return infra.level >= 6; }
    bool AllowsMerchants() const { return trade.level >= 1; }
    bool AllowsTradingPosts() const { return trade.level >= 2; }
    bool TradeLevelAtLeast3() const { return trade.level >= 3; }
    bool TradeLevelAtLeast4() const { return trade.level >= 4; }

    Technology land;
    Technology naval;
    Technology infra;
    Technology trade;
    CStabilityTrack stability;
    // The technology group: 0 latin, 1 orthodox, 2 muslim, 3 exotic.
    uint32_t group = 0;
    const CCountry* owner = nullptr;
};

// The stability tax factors by level (-3..+3); 1.0 for a level the file
// does not give.
float GetStabilityTaxFactorOfLevel(int32_t level);
// The factor of the track's current level.
float GetStabilityTaxFactor(const Technology& stability);
// Reads "db\tax_stab.csv": a header line, then seven rows of a level
// (clamped to -3..+3) and a tax percentage p, whose factor is
// (100 + p) x 0.01; a later row for a level replaces an earlier one. Every
// factor is 1.0 first. False without the file.
bool LoadStabilityTable();
// The value held within -3..+3.
int32_t ClampStability(int32_t value);

// The cost of raising the country's stability by one level.
int32_t StabilityCost(const CCountry& country);
