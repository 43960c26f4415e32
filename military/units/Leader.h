#pragma once
// Military leaders: generals, admirals, conquistadors, explorers, privateers,
// and the leader part of every monarch. A leader is found by its id: a
// historical leader (id type 6) through its slot of the leader registry, a
// random one (run-time id) through the entity registry.
//
// The leader block of the text format:
//   { id = { type = 4712 id = 9 } name = "Tilly" category = general
//     location = 0 rank = 2 fire = 3 shock = 4 siege = 1 movement = 5
//     special = 1 startdate = { ... } deathdate = { ... } }
#include <cstdint>
#include <string>

#include "engine/Date.h"
#include "engine/ObjectId.h"

class CCountry;
class CDataBlock;
class CFieldReader;
class CUnit;

// Leader categories (the "category" keyword of the block).
enum ELeaderCategory : int32_t {
    LEADER_GENERAL = 0,
    LEADER_ADMIRAL = 1,
    LEADER_CONQUISTADOR = 2,
    LEADER_EXPLORER = 3,
    LEADER_MONARCH = 4,
    LEADER_PRIVATEER = 5,
};

// Names hold at most this many characters; a longer name read from a file
// is cut.
constexpr size_t kMaxObjectNameLength = 255;

// The whole-number values of a leader or monarch block (rank, manoeuvre,
// fire, shock, siege, special; MIL, DIP, ADM) are read within these bounds.
constexpr int32_t kLeaderValueLimit = 1000000;

// The id of an object read from a file without an "id": type 4712 (the same
// on every machine, so that the peers of a network game agree) and the next
// number of the id counter.
ObjectId NewLoadedObjectId();

class CLeader : public CIdEntity {
public:
    CLeader() = default;
    // The name becomes "deleted" (the id part unregisters the id).
    ~CLeader() override;

    virtual bool IsHistorical() const { return false; }

    // The leader's block as a new data-tree node (count 0, owned by the
    // caller, who adds it under "leader", "historicalleader" ...).
    CDataBlock* Write() const;
    // Reads a leader block whose "{" has been taken, up to and including its
    // "}": FIELD_BLOCK_END; FIELD_ERROR after a key it does not know;
    // FIELD_END_OF_FILE when the file ends inside the block (then no id, no
    // date correction and no country are given).
    virtual int32_t Read(CFieldReader& in);
    // One field of a leader or monarch block (the key just read): false for
    // a key that is no leader key. A location outside 0..1472 is reported
    // ("Illegal province ID") and dropped. The monarch form ignores
    // "location", refuses "privateer" and words its missing "{" "No left
    // curly".
    bool ReadLeaderField(CFieldReader& in, bool monarchBlock);

    // Sets the leader's country; a country also gives its number.
    void SetCountry(CCountry* country);
    CCountry* GetCountry() const { return m_country; }
    // The number of the leader's country (0 until a country is set).
    uint32_t GetCountryNumber() const { return m_countryNumber; }

    // The unit the leader commands (null when none); the unit clears it when
    // it lets the leader go.
    void SetUnit(CUnit* unit) { m_unit = unit; }
    CUnit* GetUnit() const { return m_unit; }

    const std::string& GetName() const { return m_name; }
    // Cut to kMaxObjectNameLength characters.
    void SetName(const std::string& name);

    // --- abilities (military/units/LeaderAbilities.cpp) ---
    // The fire and shock values the leader lends; 0 for a conquistador whose
    // unit stands in a province of continent 2.
    int32_t GetFire() const;
    int32_t GetShock() const;
    // The text of "GENERAL" ... "PRIVATEER" for the category; an empty text
    // for a category outside 0..5.
    std::string GetCategoryKey() const;
    // The default abilities of a country's built-in and random leaders:
    // rank 25, special 0, manoeuvre, fire, shock and siege by the country
    // number and the category; available from today for 15 years.
    void SetAbilities(uint32_t countryNumber);
    // --- end of abilities ---

    int32_t category = LEADER_GENERAL;
    int32_t location = 0;
    // The lowest value commands a unit.
    int32_t rank = 100;
    int32_t manoeuvre = 0;
    int32_t fire = 0;
    int32_t shock = 0;
    int32_t siege = 0;
    int32_t special = 0;
    CDate startDate;
    CDate endDate;
    // Set for a leader whose arrival (or a monarch whose accession) has
    // already been scheduled or has happened: the registry schedules nothing
    // more for it. The monarch block's "scheduled".
    uint8_t loadedActive = 0;

private:
    std::string m_name;
    CCountry* m_country = nullptr;
    uint32_t m_countryNumber = 0;
    CUnit* m_unit = nullptr;
};

// A leader made during play or by a scenario.
class CRandomLeader : public CLeader {};

// A leader of history, kept in the leader registry by its id number.
class CHistoricalLeader : public CLeader {
public:
    CHistoricalLeader() = default;
    // Empties its slot of the leader registry when the slot holds it.
    ~CHistoricalLeader() override;
    bool IsHistorical() const override { return true; }
};

// The leader of the id: an id of type 6 through its slot of the leader
// registry, any other through the entity registry. Null for an id nobody
// holds, an empty slot or an object that is no leader.
CLeader* FindLeaderById(const ObjectId& id);

// Shared by the leader and the monarch readers.
namespace leader_block {
// The category of a keyword id; -1 for any other value. Privateers only
// when allowed.
int32_t CategoryOfKeyword(uint32_t keyword, bool allowPrivateer);
// The keyword of a category; "monarch" for a value outside 0..5.
uint32_t KeywordOfCategory(int32_t category);
} // namespace leader_block
