#pragma once
// The objects a country owns and reads and writes inside its block. Those
// whose owners read only what they need keep their block as it was read
// (CKeptBlock) and write it back unchanged.
#include <array>
#include <cstdint>

#include "country/Relations.h"
#include "data/KeptBlock.h"
#include "data/TokenFile.h"
#include "engine/NamedObject.h"
#include "engine/ObjectId.h"

class CDataBlock;
class COVEvent;

// Losses of one kind (combat, attrition, disbanding) by unit kind.
class CLossesRecord {
public:
    // "warships", "galleys", "transports", "infantry", "cavalry",
    // "artillery" take numbers; other keys are passed over. FIELD_BLOCK_END
    // at the "}" (taken), FIELD_END_OF_FILE at the end of the file,
    // FIELD_ERROR for a field without "=".
    int32_t Read(CFieldReader& in);
    // The block of the six values, in that order.
    CDataBlock* Write() const;

    float warships = 0.0f;
    float galleys = 0.0f;
    float transports = 0.0f;
    float infantry = 0.0f;
    float cavalry = 0.0f;
    float artillery = 0.0f;
};

// Victory points by category.
class CBaseVP {
public:
    static constexpr uint32_t kCategories = 7;

    // Up to seven numbers (commas between them optional) up to and including
    // the "}": FIELD_BLOCK_END; FIELD_END_OF_FILE at the end of the file. An
    // eighth number is reported ("Too many values for basevp") and dropped,
    // any other token reported ("basevp: Unexpected field") and passed over.
    int32_t Read(CFieldReader& in);
    // The block of the seven values.
    CDataBlock* Write() const;

    std::array<float, kCategories> values{};
};

// Blocks kept as read until their owners read them.
class CLedger : public CKeptBlock {};
class CTimedModifiers : public CKeptBlock {};
class TechBase : public CKeptBlock {
public:
    // The technology group: 0 latin, 1 orthodox, 2 muslim, 3 exotic.
    uint32_t group = 0;
};

// The minister: its leader part is kept as read; its id is the leader's
// "id" entry.
class CMinister : public CKeptBlock {
public:
    int32_t Read(CFieldReader& in) override;
    const ObjectId& GetId() const { return m_id; }
    void SetId(const ObjectId& id) { m_id = id; }
    // The minister table's message operation (set and remove a minister):
    // takes none yet.
    int HandleMessage(COVEvent&) { return EVENT_NOT_HANDLED; }

private:
    ObjectId m_id;
};

// The tables of monarchs and of leaders to come, read from the country
// block or from the country's history file; GetCount is their number.
class CMonarchTable : public CKeptBlock {};
class CLeaderTable : public CKeptBlock {};

// A loan of the country.
class CLoan {
public:
    explicit CLoan(const ObjectId& owner) : m_owner(owner) {}

    int32_t Read(CFieldReader& in) { return m_block.Read(in); }
    CDataBlock* Write() const { return m_block.Write(); }
    const ObjectId& GetOwner() const { return m_owner; }

private:
    ObjectId m_owner;
    CKeptBlock m_block;
};

// The computer player's preferences of the country: its ".ai" file, kept as
// read.
class CAIPrefs {
public:
    // The whole file the reader is open on; answers as CKeptBlock::ReadFile.
    int32_t Read(CFieldReader& in) { return m_file.ReadFile(in); }
    const CKeptBlock& GetEntries() const { return m_file; }

private:
    CKeptBlock m_file;
};
