#pragma once
// CGlobals: the game-wide state that is not a country or a province: the
// scenario's dates and name, the emperor, the reformation's event flags and
// progress values, the tables of great discoveries and first settlements,
// and the tables loaded once from the db folder (the yearly colonist and
// trader figures per country, the revolt table and the revolt definitions).
//
// The "globaldata" block of scenarios and saved games:
//   globaldata = { startdate = { ... } enddate = { ... } name = "..."
//     desc = "fantasy" emperor = HAB discoveries = { america = yes ... }
//     establishments = { colonyamerica = no ... } alliance = { ... }
//     war = { ... } flags = { 1 2 } progress = { 12.5 3 0 0 0 } }
// The reader also takes "dutch" = yes/no and "protestant" / "reformed" =
// number (the first two progress values).
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/CountryNumbers.h"
#include "data/TokenFile.h"
#include "engine/Date.h"
#include "world/CountryDefinition.h"
#include "world/Discovery.h"

class CDataBlock;
class COVEvent;

// The yearly figures of one kind (colonists or traders) per country: 10
// rows of 100 values; row r, country c at index 100 r + c + 1. Rows follow
// the game's periods: before 1520 row 0, before 1560 row 1, before 1615 row
// 2, before 1665 row 3, before 1700 row 4, before 1760 row 5, from then on
// row 6.
class CYearTable {
public:
    static constexpr uint32_t kRows = 10;
    static constexpr uint32_t kRowSize = 100;
    static constexpr uint32_t kCountries = 99;

    CYearTable() : m_values(kRows * kRowSize, 0.0f) {}

    // The period row of a year (0..6).
    static uint32_t RowOfYear(int32_t year);
    // The value of the country number in the row of the current game year;
    // 0 for a number outside 0..98.
    float GetValue(uint32_t countryIndex) const;
    float GetValueInYear(int32_t year, uint32_t countryIndex) const;
    float Get(uint32_t row, uint32_t countryIndex) const;
    void Set(uint32_t row, uint32_t countryIndex, float value);

    // Loads the table from the CSV file ("db\colonists.csv"): the first row
    // is skipped, then the first cell of the second row; the second row's
    // further cells are tags up to the cell "END". Every following row: a
    // year (not kept) and one integer per tag, times 0.01; the column of the
    // tag "MIN" gives its value to every country, a later column overrides
    // it for its own country. What does not fit is reported and left out:
    // cells beyond the tags, rows beyond the table's 10 (a line in log.txt),
    // a tag no country has (its column is dropped; traced only, as the
    // tables load before any scenario names its countries). Answers the
    // number of reports.
    uint32_t Load(const char* path);

private:
    std::vector<float> m_values;
};

// The revolt table: per country number (0..98) and period (0..9, of which
// 0..6 are used) 14 slots, from "db\revolt.csv".
class CRevoltTable {
public:
    static constexpr uint32_t kCountries = 99;
    static constexpr uint32_t kPeriods = 10;
    static constexpr uint32_t kSlots = 14;

    CRevoltTable() : m_values(kCountries * kPeriods * kSlots, 0) {}

    // 0 outside the table.
    int32_t Get(uint32_t country, uint32_t period, uint32_t slot) const;
    void Clear();

    // The table is zeroed; two cells are passed over, then header cells in
    // pairs (a tag and a cell not used) up to the cell "END". Each data row:
    // a year cell ("END" ends the table), an integer not used, then one
    // (cell, integer) pair per header tag; the integer goes to the tag's
    // country, the year's period and the slot of the row's running number
    // (1 for the first data row). What does not fit is reported as the
    // year tables do and left out: unknown tags, cells beyond the pairs,
    // data rows beyond slot 13. Answers the number of reports.
    uint32_t Load(const char* path);

private:
    std::vector<int32_t> m_values;
};

// What the globals ask of the countries, which lie above the world; the
// country layer fills the entries by a static registration. A null entry
// answers as a game without countries. (Whether a country exists and its
// state religion come through g_provinceCountries and g_scenarioSteps.)
struct GlobalsCountryHooks {
    // The technology groups are counted again.
    void (*countTechGroups)() = nullptr;
    // Every country's two goods counters are cleared.
    void (*clearGoodsCounters)() = nullptr;
    // The country's second goods counter grows by the amount.
    void (*addGoodsCount)(uint32_t number, float amount) = nullptr;
    // The technology level tables are read (in Init).
    void (*loadTechnologyTables)() = nullptr;
};

// Constant-initialised (all null) before any static registration runs.
extern GlobalsCountryHooks g_globalsCountries;

class CGlobals {
public:
    // The event flags of the reformation and the treaties (kept here for the
    // game server): 0 the demarcation treaty is recorded, 1 protestant
    // allowed, 2 reformed allowed, 3 counter-reformation, 4 the demarcation
    // treaty ends.
    static constexpr uint32_t kEventFlags = 6;
    // The reformation progress values, numbered 1 to 5 in the rules
    // ("protestant" is value 1 at index 0, "reformed" value 2 at index 1).
    static constexpr uint32_t kProgressValues = 5;
    static constexpr float kMaxProgress = 101.0f;
    // The emperor after Init.
    static constexpr uint32_t kDefaultEmperor = 3;

    CGlobals();
    ~CGlobals();
    CGlobals(CGlobals&&) noexcept;
    CGlobals& operator=(CGlobals&&) noexcept;

    // The "globaldata" block after its "{" up to and including its "}".
    // Errors are reported and reading goes on. FIELD_BLOCK_END,
    // FIELD_END_OF_FILE at the end of the file, FIELD_ERROR when a nested
    // block ended on an error.
    int32_t Read(CFieldReader& in);
    // A new block of the game-wide globals (owned by the caller).
    CDataBlock* Write() const;

    // The periodic work (month, year, game start); then every message goes
    // on to the alliances. The answer is not used.
    int HandleEvent(COVEvent& event);

    // At start-up: the counters and flags cleared, the discoveries and
    // establishments tables made, "db\revolt.csv", a new scenario
    // information, "db\revolt.txt", "db\colonists.csv" and
    // "db\traders.csv"; the emperor is 3. Shutdown deletes what Init made.
    void Init();
    void Shutdown();

    // The common work of the month and the game start: the countries'
    // technology groups and goods counters, the city total, the white peace
    // of wars long over (host, outside the tutorial) and, on the host only,
    // the election of a new emperor when the emperor's country is gone.
    void CommonWork();

    // Sets a reformation progress value (index 0..4), held at 101.
    void SetProgress(uint32_t index, float value);
    void AddProgress(uint32_t index, float amount) { SetProgress(index, Progress(index) + amount); }
    float Progress(uint32_t index) const {
        return index < kProgressValues ? progress[index] : 0.0f;
    }
    bool EventFlag(uint32_t n) const { return n < kEventFlags && eventFlags[n]; }
    // The game server's values (progress and event flags) of a new game: all
    // zero, before the scenario's block sets its own. Init runs once per
    // program, so without this a game would inherit the previous game's.
    void ClearGameServerValues() {
        eventFlags.fill(false);
        progress.fill(0.0f);
    }

    // The revolt definition of the country number (null outside 0..98 or
    // before Init).
    const CCountryDefinition* RevoltDefinition(uint32_t number) const;

    std::string name; // "name"
    CDate startDate;  // "startdate" of the running scenario
    CDate endDate;    // "enddate"
    uint32_t emperor = kDefaultEmperor;
    bool dutch = false;
    bool dutchSecond = false; // the byte beside it, cleared by Init
    std::array<bool, kEventFlags> eventFlags{};
    std::array<float, kProgressValues> progress{};
    Discoveries discoveries;
    Establishments establishments;
    CYearTable colonistTable;
    CYearTable traderTable;
    CRevoltTable revoltTable;
    // Made by Init: one per country number.
    std::unique_ptr<std::array<CCountryDefinition, kCountrySlots>> revoltDefs;
    // The monthly sums of the common work.
    int32_t cityTotal = 0; // the cities' populations, summed by every pass
    bool slaveTrade = false;
    bool initialised = false; // between Init and Shutdown
};

// Lives for the whole run.
extern CGlobals g_globals;

// The yearly reformation event of the game server (military, above the
// world): on the host, with event flag 2 and the provinces 240..250 not all
// of country 1's faith, a 5 in 100 chance calls it with a random number; it
// marks the object {7, 7} and executes and sends "_COVEVT_EXECUTE_EVENT_"
// to the game server. Null: no event.
extern void (*g_raiseReformationEvent)(int32_t randomNumber);
