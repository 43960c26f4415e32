#pragma once
// Small records a country holds: the minister who stands in for the
// monarch, the timed modifiers with their sums, the table of historical
// monarchs to come, and the record of six unit counts.
#include <cstdint>
#include <memory>
#include <vector>

#include "data/KeptBlock.h"
#include "data/TokenFile.h"
#include "engine/Date.h"
#include "engine/NamedObject.h"
#include "engine/ObjectId.h"

class CCountry;
class CDataBlock;
class CMonarch;
class COVEvent;

// The minister: a named figure whose ADM, DIP and MIL count instead of the
// reigning monarch's while its id is the monarch's.
class CMinister : public CNamedObject {
public:
    // "_COVEVT_SET_MINISTER_": with the update flag set and another id than
    // the minister's, nothing (EVENT_CONSUMED); otherwise the minister takes
    // the message's id, values and name. "_COVEVT_REMOVE_MINISTER_": no
    // minister (null id). Other types: EVENT_CONSUMED. Else
    // EVENT_NOT_HANDLED.
    int HandleMessage(COVEvent& event) override;

    // The block after its "{" up to and including its "}": "name", "id",
    // "ADM", "DIP", "MIL" in any order. FIELD_BLOCK_END; FIELD_ERROR after
    // another key ("Mnister : Unexpected field", the rest passed over);
    // FIELD_END_OF_FILE.
    int Read(CFieldReader& in) override;
    // "name", "id", "ADM", "DIP", "MIL".
    CDataBlock* Write() const;

    const ObjectId& GetId() const { return m_id; }
    void SetId(const ObjectId& id) { m_id = id; }
    bool MatchesId(const ObjectId& id) const { return !m_id.IsNull() && m_id == id; }

    int32_t adm = 0;
    int32_t dip = 0;
    int32_t mil = 0;

private:
    ObjectId m_id;
};

// Timed modifiers of a country's costs; kind 2 is the cost modifier's.
class CModifierTable {
public:
    static constexpr int32_t kKinds = 4;
    struct Entry {
        int32_t kind = 0; // 0..3
        float value = 0.0f;
        int32_t monthsLeft = 0;
    };

    // Appends an entry and counts the sums again. A kind outside 0..3 is
    // kept but counts in no sum.
    void Add(int32_t kind, float value, int32_t months);
    // The sum of the kind's values (0 for a kind outside 0..3).
    float GetValue(int32_t kind) const;
    void Recount();
    // Every entry's months drop by one; entries at 0 go; the sums follow.
    void MonthlyUpdate();

    // One "modifiers" block after its "{": the first three "value" numbers
    // are the kind, the value and the months of a new entry; the block ends
    // at its "}". FIELD_BLOCK_END; FIELD_ERROR after another key or a
    // missing value (reported, the rest passed over, no entry);
    // FIELD_END_OF_FILE.
    int32_t Read(CFieldReader& in);
    // One block for an entry: "value" = kind, value, months.
    static CDataBlock* WriteEntry(const Entry& entry);

    const std::vector<Entry>& GetEntries() const { return m_entries; }

private:
    std::vector<Entry> m_entries;
    float m_sums[kKinds] = {};
};

// Deletes a monarch of the table through the military (country/CountryMilitary.h).
struct CTableMonarchDeleter {
    void operator()(CMonarch* monarch) const;
};

// The historical monarchs a country will have, in their order. Without the
// military's monarch entries, the blocks are kept as read.
class CMonarchTable {
public:
    // The entries up to and including the "}" of the block (or the end of
    // a history file): each "historicalmonarch" = { ... } becomes a monarch
    // read by the monarch reader and registered; another key is reported
    // ("Monarchtable : Unexpected field") and passed over. FIELD_BLOCK_END;
    // FIELD_END_OF_FILE when the file ends inside a block.
    int32_t Read(CFieldReader& in);
    // The entries of a whole history file.
    int32_t ReadFile(CFieldReader& in);
    // One "historicalmonarch" = { ... } per monarch.
    CDataBlock* Write() const;

    uint32_t GetCount() const { return static_cast<uint32_t>(m_monarchs.size() + m_kept.size()); }
    bool IsEmpty() const { return GetCount() == 0; }
    const std::vector<std::unique_ptr<CMonarch, CTableMonarchDeleter>>& GetMonarchs() const {
        return m_monarchs;
    }
    void Clear();
    // --- the accession of a monarch (country/HandlersUnits.cpp) ---
    // Takes the monarch of the id out of the table and hands it to the
    // caller; null when none of the table has the id.
    CMonarch* Take(const ObjectId& id);
    // --- end of the accession ---

private:
    // FIELD_BLOCK_END at a "}" (taken) or, for a file, at its end.
    int32_t ReadEntries(CFieldReader& in, bool wholeFile);

    std::vector<std::unique_ptr<CMonarch, CTableMonarchDeleter>> m_monarchs;
    std::vector<CKeptBlock> m_kept;
};

// Six unit counts: "infantry", "cavalry", "artillery", "warships",
// "galleys", "transports".
class CForceRecord {
public:
    // The block after its "{" up to and including its "}"; other keys are
    // reported ("Force : Unexpected field") and passed over.
    int32_t Read(CFieldReader& in);
    CDataBlock* Write() const;

    float infantry = 0.0f;
    float cavalry = 0.0f;
    float artillery = 0.0f;
    float warships = 0.0f;
    float galleys = 0.0f;
    float transports = 0.0f;
};

// True when today is the date or later.
bool IsDateReached(const CDate& date);
// The date becomes today + 1 year.
void SetDateOneYearOn(CDate& date);
