#pragma once
// A country's state religion and its tolerance toward each of the eight
// religions (the codes of EReligion, world/Province.h: 0 protestant,
// 1 reformed, 2 counter-reformed catholic, 3 catholic, 4 orthodox, 5 sunni,
// 6 shiite, 7 pagan).
//
// The "religion" block of a country:
//   religion = { type = catholic catholic = 10.000000 orthodox = 2.000000
//                protestant = -4.000000 sunni = -6.000000 shiite = -6.000000
//                pagan = 0.000000 reformed = -2.000000 }
// "type" replaces every tolerance by the defaults of the religion, so it
// comes first; the tolerance toward the counter-reformed catholics always
// equals the one toward the catholics and is not written.
#include <array>
#include <cstdint>
#include <string>

#include "data/TokenFile.h"

class CDataBlock;

constexpr uint32_t kReligionCount = 8;

class CCountryReligion {
public:
    CCountryReligion() = default;
    virtual ~CCountryReligion() = default;
    CCountryReligion(const CCountryReligion&) = default;
    CCountryReligion& operator=(const CCountryReligion&) = default;

    // Sets the tolerance toward the religion (ignored outside 0..7), then
    // the counter-reformed one follows the catholic one.
    void SetTolerance(uint32_t religion, float value);
    // The tolerance toward the counter-reformed catholics takes the one
    // toward the catholics.
    void SyncCounterReformed();
    // Copies the tolerances and the state religion.
    void Assign(const CCountryReligion& other);
    // The tolerance toward the religion; 0 outside 0..7.
    float GetTolerance(uint32_t religion) const {
        return religion < kReligionCount ? tolerance[religion] : 0.0f;
    }

    // The block after its "{" up to and including its "}": FIELD_BLOCK_END.
    // An unknown "type" value is reported ("Unknown religion") and keeps the
    // religion; either way the tolerances become that religion's defaults.
    // Any other key is reported ("Country : Unexpected field"), the rest of
    // the block is passed over unread and the answer is FIELD_ERROR;
    // FIELD_END_OF_FILE when the file ends inside the block.
    int32_t Read(CFieldReader& in);
    // The block as a new node (count 0, owned by the caller): "type", then
    // the tolerances toward catholic, orthodox, protestant, sunni, shiite,
    // pagan and reformed.
    CDataBlock* Write() const;

    std::array<float, kReligionCount> tolerance{};
    uint32_t stateReligion = 7; // pagan in a new country
};

// A record with the state religion and the default tolerances of that
// religion under the reformation's event flags (g_globals).
CCountryReligion GetDefaultTolerances(uint32_t religion);
// Whether a country may adopt the religion now: always in the fantasy
// setting; protestant after event flag 1, reformed after flag 2, the
// counter-reformed catholics after flag 3 while flag 4 is clear; catholic,
// orthodox, sunni, shiite and pagan always; any other code never.
bool IsReligionAvailable(uint32_t religion);
// The display text of the religion; any code outside 0..6 gives pagan's.
std::string GetReligionDisplayName(uint32_t religion);
// False for the same religion and for catholics against counter-reformed
// catholics; true otherwise.
bool IsDifferentReligion(uint32_t a, uint32_t b);
// The keyword of the religion in files, 0 outside 0..7.
uint32_t ReligionKeyword(uint32_t religion);
