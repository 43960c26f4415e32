#pragma once
// Centres of trade and the trade calculator that holds them.
//
// A centre of trade is a market seated in one land province. Every owned
// land province trades with the centre that rates best for it
// (CProvince::centreOfTrade); countries place merchants in centres, each
// country's entry (CCotMerchant) recording how many it holds there and which
// are still on their way (CMerchantVoyage). The calculator g_cotCalc holds up
// to 58 centres in fixed slots, founds new ones as the known world grows,
// moves empty ones once a year and keeps the monthly sums.
//
// The top-level block of a saved game, one per centre:
//   cot = { location = 247
//           merchant = { tag = ENG level = 3.000 value = 1.250
//                        extra = { country = ENG date = { ... } location = 247
//                                  success = yes } } }
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "data/CountryNumbers.h"
#include "data/TokenFile.h"
#include "engine/Date.h"
#include "world/Settlement.h"

class CDataBlock;
class CProvince;

// A merchant travelling to a centre of trade.
class CMerchantVoyage {
public:
    // The "extra" block after its "{" up to and including its "}":
    // "country" (tag), "date" (arrival), "location", "success" (yes; any
    // other value counts as no). Another key is reported ("Unexpected
    // Field") and passed over. FIELD_BLOCK_END, or FIELD_END_OF_FILE.
    int32_t Read(CFieldReader& in);
    // The block as a new node (owned by the caller).
    CDataBlock* Write() const;

    int32_t location = 0; // the province id of the centre's seat
    int32_t country = 0;
    uint8_t success = 0; // the outcome decided when it was sent
    CDate arrival;
};

// One country's entry in a centre of trade.
class CCotMerchant {
public:
    static constexpr float kMaxLevel = 6.0f;

    // The "merchant" block after its "{" up to and including its "}": "tag",
    // "level" (held at most 6.0), "value", "extra" (each appends a voyage).
    // Another key is reported ("Unexpected Field") and passed over.
    // FIELD_BLOCK_END, or FIELD_END_OF_FILE.
    int32_t Read(CFieldReader& in);
    // "tag", "level", "value", then one "extra" block per voyage in order.
    CDataBlock* Write() const;

    // Deletes the first travelling merchant, if any.
    void RemoveFirstVoyage();

    float level = 0.0f; // the number of the country's merchants in the centre, 0..6
    int32_t country = 0;
    float value = 0.0f; // this month's share, cleared every month
    std::vector<CMerchantVoyage> extra;
};

class CCentreOfTrade {
public:
    CCentreOfTrade();
    CCentreOfTrade(const CCentreOfTrade&) = delete;
    CCentreOfTrade& operator=(const CCentreOfTrade&) = delete;

    // The seat; an id outside 1..1472 is stored as 0.
    void SetProvinceId(int32_t id);
    int32_t GetProvinceId() const { return m_provinceId; }

    // The "cot" block after its "{" up to and including its "}". "location"
    // sets the seat; each "merchant" block becomes the entry of its country
    // (replacing an earlier one; without a country it is reported "COT
    // Merchant needs to have a countrytag" and dropped; a value that is no
    // block is reported "No left curly"). Another key is reported ("COT :
    // Unexpected field") and passed over. FIELD_BLOCK_END, or
    // FIELD_END_OF_FILE. The province is not touched: storing the centre
    // (CCotCalc::AddCentreOfTrade) points it here.
    int32_t Read(CFieldReader& in);
    // "location", then the entries in country-number order.
    CDataBlock* Write() const;

    // total = the sum of the whole parts of the entries' levels.
    void RecountTotal();
    // Every entry's value = 0.
    void ClearValues();
    // The squared distance between the centres of the bounding boxes of the
    // seat and the province, the horizontal difference taken the short way
    // around the world.
    float DistanceSquaredTo(int32_t provinceId) const;

    // The entry of the country number; null when none (or outside 0..98).
    CCotMerchant* GetMerchant(int64_t country) const;
    // Stores the entry under its country (replacing and deleting an earlier
    // one); an entry of a number outside 0..98 is dropped.
    void SetMerchant(std::unique_ptr<CCotMerchant> merchant);
    // Deletes the country's entry.
    void RemoveMerchant(int64_t country);

    // The map symbol: culture 19, kind cot, action none, direction 10.
    const CSettlementSymbol& GetSymbol() const { return m_symbol; }

    int32_t index = 0; // the slot in the calculator
    int32_t total = 0;
    float value = 0.0f; // the monthly trade value of its provinces

private:
    int32_t m_provinceId = 0;
    std::array<std::unique_ptr<CCotMerchant>, kCountrySlots> m_merchants;
    CSettlementSymbol m_symbol;
};

class CCotCalc {
public:
    static constexpr int32_t kSlotCount = 58;
    // One centre per this many qualifying provinces.
    static constexpr int32_t kProvincesPerCentre = 25;

    CCotCalc();
    ~CCotCalc();
    CCotCalc(const CCotCalc&) = delete;
    CCotCalc& operator=(const CCotCalc&) = delete;

    // Deletes every centre; no province points to one afterwards.
    void Clear();

    // Founds a centre in the province: stored in the next slot (refused when
    // all are used), the player told, and on the host the province's owner
    // gets a merchant and places it there. The new centre, null when
    // refused.
    CCentreOfTrade* CreateCentreOfTrade(int32_t provinceId);
    // Stores a centre read from a file: it takes the next slot, its seat
    // points to it, its total is recounted, and on the host its travelling
    // merchants are announced for their arrival. With all slots used, or
    // without a seat, it is refused: reported, deleted, and its voyages
    // dropped (false).
    bool AddCentreOfTrade(std::unique_ptr<CCentreOfTrade> centre);
    // A new centre seated in the province, not stored.
    static std::unique_ptr<CCentreOfTrade> NewCentreOfTrade(int32_t provinceId);

    // Once a year: founds at most one centre, moves empty ones to better
    // places, and assigns every province.
    void YearlyUpdate();
    // Once a month: clears the entries' values, recounts the totals and
    // grants the monopoly points.
    void MonthlyUpdate();
    // Every centre's value from the provinces that trade with it.
    void SumValues();
    // Rates the centres for the province and stores the best one (none when
    // no rating exceeds 0). Nothing for a province that is no land, has no
    // owner or is a centre's seat.
    void AssignProvince(int32_t provinceId);
    // AssignProvince for every province 0..1472, each owner's terms toward
    // each seat taken once.
    void AssignAllProvinces();
    // A land province with an owner.
    static bool IsCandidate(int32_t provinceId);

    // How many centres the qualifying provinces call for.
    static int32_t GetWantedCount();

    int32_t GetCount() const { return m_count; }
    // The centre of a slot; null for an empty slot or one outside 0..57.
    CCentreOfTrade* GetSlot(int32_t slot) const;
    // The centre seated in the province, null when none.
    CCentreOfTrade* FindSeatedIn(int32_t provinceId) const;

    // The candidates for a new or moved centre: every settled (city) land
    // province with an owner that is no seat, best score first. Take answers
    // the next one, false once they are used up.
    void BuildCandidates();
    struct Candidate {
        int32_t id = 0;
        float score = 0.0f;
    };
    bool TakeCandidate(Candidate& out);
    int32_t GetCandidateCount() const { return m_candidateCount; }

private:
    // Stores a centre in the next slot and points its seat to it.
    CCentreOfTrade* Store(std::unique_ptr<CCentreOfTrade> centre);
    // Sends the founding merchant of a new centre (host only).
    void PlaceFoundingMerchant(int32_t provinceId);

    std::array<std::unique_ptr<CCentreOfTrade>, kSlotCount> m_centres;
    int32_t m_count = 0;
    // Fixed tables, filled once a year.
    std::array<Candidate, 1473> m_candidates{};
    std::array<int32_t, 1473> m_order{};
    int32_t m_candidateCount = 0;
    int32_t m_cursor = 0;
};

extern CCotCalc g_cotCalc;

// What the centres of trade ask of the countries, which lie above the world:
// country/CotCountries.cpp fills the entries once, by a static registration.
// A null entry answers as a game without that information (noted at each).
struct CotCountryHooks {
    // The country of the number exists (null: none does).
    bool (*exists)(int32_t number) = nullptr;
    // Its state religion 0..7; -1 when unknown (null: unknown).
    int32_t (*religionOf)(int32_t number) = nullptr;
    // One of the non-western nations (null: none is).
    bool (*isNonWesternNation)(int32_t number) = nullptr;
    // a is at war with b (null: no wars).
    bool (*isAtWarWith)(int32_t a, int32_t b) = nullptr;
    // a's relation toward b holds no claim: its casus-belli flag is clear and
    // its list empty (null: no claims anywhere).
    bool (*holdsNoClaimOn)(int32_t a, int32_t b) = nullptr;
    // a is b's overlord (null: nobody is).
    bool (*isOverlordOf)(int32_t a, int32_t b) = nullptr;
    // a's relation toward b is dynastic (null: none is).
    bool (*isDynastic)(int32_t a, int32_t b) = nullptr;
    // b refuses trade with a (a's relation says its trade is refused by b;
    // null: nobody refuses).
    bool (*isTradeRefusedBy)(int32_t a, int32_t b) = nullptr;
    // The country's trade technology level (null: 0).
    int32_t (*tradeTechLevel)(int32_t number) = nullptr;
    // The founding merchant: the country gains one merchant and sends it to
    // the new centre in the province, both sent to every machine (null:
    // nothing).
    void (*sendFoundingMerchant)(int32_t number, int32_t provinceId) = nullptr;
    // The victory points of category 0 (null: nothing).
    void (*addEconomyPoints)(int32_t number, float points) = nullptr;
};
extern CotCountryHooks g_cotCountries;

// The province economy's figures the centres use. Filled by the code that
// computes them; a null entry answers 0.
struct CotProvinceValues {
    // The province's rating for the centres of trade (CProvince::GetTradeValue).
    float (*tradeValue)(const CProvince& province) = nullptr;
    // The settlement's trade value after piracy
    // (CProvince::GetTradingPostValue).
    float (*tradingPostValue)(const CProvince& province) = nullptr;
    // The province's yearly income (CProvince::GetTotalIncome).
    float (*totalIncome)(const CProvince& province) = nullptr;
};
extern CotProvinceValues g_cotProvinceValues;

float GetProvinceTradeValue(const CProvince& province);
float GetProvinceTradingPostValue(const CProvince& province);
float GetProvinceTotalIncome(const CProvince& province);

// The notice kind of a new centre of trade.
constexpr int32_t kNoticeNewCentreOfTrade = 34;
