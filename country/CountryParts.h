#pragma once
// The objects a country owns and reads and writes inside its block. Those
// whose owners read only what they need keep their block as it was read
// (CKeptBlock) and write it back unchanged. The ledger, loans, technology,
// minister, modifiers and monarch table have headers of their own.
#include <array>
#include <cstdint>
#include <vector>

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
class CProvince;

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

// The computer player's preferences of the country (its personality, read
// from its ".ai" file): seven weights and the areas, regions and continents
// it favours.
//   tradingpost = 30  neighbour = 20  enemies = 10  expansion = 40
//   traders = 20  monopoly = 10  war = 15
//   continent = { Europe Asia }  area = { ... }  region = { ... }
class CAIPrefs {
public:
    // Reads fields up to the end of the file: FIELD_END_OF_FILE there;
    // FIELD_ERROR after a key it does not know, reported with "ai-prefs :
    // Unexpected field" (the reading stops; what was read stays). A stray
    // "}" or a field without "=" is passed over. A weight that is not a
    // whole number and a name not in its table are reported and passed
    // over. A list replaces the one read before.
    int32_t Read(CFieldReader& in);
    // value + 50 when the province's area is listed, + 25 for its region,
    // + 10 for its continent.
    float RateProvince(float value, const CProvince& province) const;

    uint32_t tradingpost = 0;
    uint32_t neighbour = 0;
    uint32_t enemies = 0;
    uint32_t expansion = 0;
    uint32_t traders = 0;
    uint32_t monopoly = 0;
    uint32_t war = 0;
    std::vector<int32_t> areas;
    std::vector<int32_t> regions;
    std::vector<int32_t> continents;
};
