#pragma once
// The relations of a country toward every country number: the relation
// value, the refusal of trade, the casus belli entries and the status flags
// that RebuildDiplomaticStatus derives from the alliances, wars and peace
// offers. Saved inside the country's block as its "diplomacy" block of
// "relation" blocks.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/CountryNumbers.h"
#include "data/TokenFile.h"
#include "engine/Date.h"
#include "engine/ObjectId.h"

class CAlliance;
class CDataBlock;
class COVEvent;
class CWar;

constexpr float kMinRelationValue = -200.0f;
constexpr float kMaxRelationValue = 200.0f;

// The starting attitude of each country toward each other, [row][column];
// 0 where the table gives nothing. A relation starts at its entry x 20.
extern std::array<std::array<float, kCountrySlots>, kCountrySlots> g_diplomaticMatrix;

// The value a relation of the owner toward the other country starts with:
// the matrix entry x 20 held within -200..200 (0 outside the table).
float StartingRelationValue(uint32_t owner, uint32_t other);

// A claim to make war on a country, lasting for good or until its expiry.
class CCasusBelli {
public:
    // The block after its "{" up to and including its "}": "type" =
    // "permanent" / "temporary", "expirydate" = date block; other keys are
    // passed over. FIELD_BLOCK_END, FIELD_END_OF_FILE.
    int32_t Read(CFieldReader& in);
    // "type" then "expirydate".
    CDataBlock* Write() const;

    bool operator==(const CCasusBelli&) const = default;

    uint8_t temporary = 0;
    CDate expiry;
};

// The relation of the owner toward one other country.
class CRelation {
public:
    // The "relation" block after its "{" up to and including its "}".
    // FIELD_BLOCK_END, FIELD_END_OF_FILE.
    int32_t Read(CFieldReader& in);
    // "tag", "value", "refusetrade", then each casus belli entry.
    CDataBlock* Write() const;

    // The value held within -200..200; SetValue stores it held.
    float GetValue() const;
    void SetValue(float newValue);

    // The casus belli test toward `country` (sets claimHeld).
    bool HasCasusBelli();
    // Takes every temporary entry out of the list.
    void DropTemporaryCasusBelli();
    // Something to save: refused trade, a casus belli entry, or a value
    // other than the one the relation starts with.
    bool NeedsSaving() const;

    uint32_t owner = 0;   // the owning country's number
    uint32_t country = 0; // the other country's number
    std::string tag;      // the other country's tag as read
    uint8_t atWar = 0;
    uint8_t claimHeld = 0;
    uint8_t warBlocked = 0;
    uint8_t refuseTrade = 0;
    std::vector<CCasusBelli> casusBelli;
    uint8_t offerPending = 0;
    // Derived by RebuildDiplomaticStatus.
    uint8_t dynastic = 0;
    uint8_t military = 0;
    uint8_t sameSide = 0;
    uint8_t peacePending = 0;
    uint8_t hasCasusBelli = 0;
    float value = 0.0f; // as stored; GetValue holds it within the range
};

// The 99 relations of one country.
class CCountryDiplomacy {
public:
    // Each relation: owner, its country number, its starting value.
    void Init(uint32_t ownerNumber);

    // The "diplomacy" block after its "{" up to and including its "}": a
    // sequence of "relation" blocks, each copied into the relation of the
    // country its tag names (a tag that names no country is reported and
    // the block dropped). FIELD_BLOCK_END, FIELD_END_OF_FILE.
    int32_t Read(CFieldReader& in);
    // A "relation" block for each relation that NeedsSaving, toward an
    // existing country.
    CDataBlock* Write() const;

    // Game start and month: casus belli entries that expired are dropped
    // and the casus belli test is run again. Answers EVENT_NOT_HANDLED.
    int HandleEvent(COVEvent& event);

    // The relation toward the country number; null outside 0..98.
    CRelation* GetRelation(int64_t number);
    const CRelation* GetRelation(int64_t number) const;
    uint32_t GetOwner() const { return m_owner; }

    bool HasPendingOffer(int64_t n) const;
    bool IsAtWarWith(int64_t n) const;
    bool IsWarBlocked(int64_t n) const;
    bool RefusesTradeWith(int64_t n) const;
    bool IsTradeRefusedBy(int64_t n) const;
    bool IsAlliedWith(int64_t n) const;
    ObjectId GetDynasticAllianceWith(int64_t n) const;
    ObjectId GetVassalizationWith(int64_t n) const;
    CAlliance* FindMilitaryAllianceWith(int64_t n) const;
    ObjectId GetMilitaryAllianceId() const;
    bool IsInMilitaryAlliance() const;
    bool IsOverlordOf(int64_t n) const;
    bool IsVassal() const;
    // The overlord's number, -1 when the owner is nobody's vassal.
    int32_t GetOverlord() const;
    ObjectId GetWarIdWith(int64_t n) const;
    CWar* FindWarWith(int64_t n) const;
    bool HasCasusBelliAgainst(int64_t n);
    // The earliest expiry of the temporary entries toward n; 1.1.9999 when
    // there is none.
    CDate GetCasusBelliExpiry(int64_t n) const;
    // Every dynastic alliance holding both is deleted, then the status is
    // rebuilt.
    void BreakDynasticAlliancesWith(int64_t n);
    void UpdateAtWarFlag();

    // The peace offers standing for a war (sides given by their first
    // participants or by participant lists).
    static bool HasPeaceOffer(const CAlliance& a, const CAlliance& b, const ObjectId& war);
    static bool HasSeparatePeaceOffer(const std::vector<uint32_t>& list, const CAlliance& b,
                                      const ObjectId& war);
    static bool HasMutualSeparatePeaceOffer(const std::vector<uint32_t>& a,
                                            const std::vector<uint32_t>& b, const ObjectId& war);

    std::array<CRelation, kCountrySlots> relations{};
    uint8_t atWarWithAny = 0;

private:
    uint32_t m_owner = 0;
};

// Derives the flags dynastic, military, sameSide and peacePending (cleared
// first) and atWar (only ever set here) of every existing country's
// relations from g_alliances, g_wars and g_peaceOffers.
void RebuildDiplomaticStatus();

// Changes the relation between two existing countries by the amount: both
// directions take the new value of a's relation toward b. Nothing for
// numbers without a country or a == b.
void ChangeRelationMutual(uint32_t a, uint32_t b, float amount);
