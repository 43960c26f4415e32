#pragma once
// The objects a country owns and reads and writes inside its block. Those
// whose owners read only what they need keep their block as it was read
// (CKeptBlock) and write it back unchanged. The ledger, loans, technology,
// minister, modifiers and monarch table have headers of their own.
#include <array>
#include <cstdint>

#include "country/CountryRecords.h"
#include "country/Ledger.h"
#include "country/Loan.h"
#include "country/Relations.h"
#include "country/Technology.h"
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

// The table of leaders to come, read from the country block or from the
// country's history file; GetCount is their number.
class CLeaderTable : public CKeptBlock {};

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
