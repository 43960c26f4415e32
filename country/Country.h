#pragma once
// Countries: up to 99, indexed by country number (0 to 98). A message for
// receiver {3, n} reaches country n through its handler interface, whose
// message operation is the country's message dispatcher (HandleMessage).
// Broadcast messages reach the countries through the list of countries.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "country/CountryParts.h"
#include "data/CountryNumbers.h"
#include "data/TokenFile.h"
#include "engine/Date.h"
#include "engine/LinkedList.h"
#include "engine/NamedObject.h"
#include "engine/ObjectId.h"
#include "net/Event.h"

class CCity;
class CDataBlock;
class CLandTerritory;
class CMonarch;
class CTradingPost;
class CUnit;

// The capital of a country that owns no province.
constexpr int32_t kNoCapitalProvince = 399;
// A country keeps at most this many active missions.
constexpr uint32_t kMaxActiveMissions = 3;
// Text fields of the country (the mission's name and area name) hold this
// many bytes with the terminating zero; longer texts are cut.
constexpr uint32_t kCountryTextSize = 256;

// Deletes the country's monarch through the military's registered deleter
// (country/CountryMilitary.h).
struct CMonarchDeleter {
    void operator()(CMonarch* monarch) const;
};

class CCountry : public CNamedObject, public CEventHandler {
public:
    explicit CCountry(uint32_t number);
    // Empties the country's slot of g_countries when it holds this country.
    // Deletes the units of both unit lists, the loans and the monarch.
    ~CCountry() override;

    uint32_t GetNumber() const { return m_number; }
    ObjectId GetId() const { return ObjectId(kCountryObjectType, m_number); }

    // Switches on the type id; answers EVENT_NOT_HANDLED or EVENT_CONSUMED.
    int HandleMessage(COVEvent& event) override;
    int HandleEvent(COVEvent& event) override { return HandleMessage(event); }

    // Makes the country of the number (the plain country: the controller
    // variants come with their subsystems), stores it in g_countries and the
    // list of countries, and reads its computer-player file. Null when the
    // number has no free slot.
    static CCountry* Create(uint32_t number);

    // The "country" block, after its "tag" field: fills this country up to
    // and including the block's "}". FIELD_BLOCK_END; FIELD_ERROR after an
    // error that ends the block; FIELD_END_OF_FILE when the file ends inside
    // it.
    int Read(CFieldReader& reader) override;
    // The top-level "mission" block of a scenario (the six scenario-mission
    // keys only). Same answers.
    virtual int ReadMission(CFieldReader& reader);
    // The whole block as a new data-tree node (the caller owns it).
    virtual CDataBlock* Write() const;
    // Called after a country block was read; nothing for the plain country.
    virtual void AfterLoad() {}

    // Reads "ai\<ai file>" into the computer-player preferences; nothing
    // without a file name or when the file does not exist.
    void ReadAiFile();
    // Read "db\leaders\leaders.<history file>" / "db\monarchs\monarchs.<history
    // file>" into the table through the given reader; FIELD_BLOCK_END and
    // nothing changed when the file cannot be opened, else the table's
    // answer.
    int32_t ReadLeaderHistory(CFieldReader& reader);
    int32_t ReadMonarchHistory(CFieldReader& reader);

    // The owned province whose city is the capital, else the owned province
    // with the highest tax value; kNoCapitalProvince when it owns none.
    void RecomputeCapital();
    // Each budget share within 0..1 and their sum at most 1.
    void NormaliseBudgetShares();

    // Takes a unit into the unit list (at the tail); the country owns it.
    void AddUnit(CUnit* unit);
    // Takes a unit out of either unit list without deleting it.
    bool RemoveUnit(CUnit* unit);

    // --- the fields the country block carries ---
    std::string m_aiFile;      // computer-player file name, "ai\%s"
    std::string m_historyFile; // "db\monarchs\monarchs.%s", "db\leaders\leaders.%s"
    CAIPrefs m_aiPrefs;
    int32_t m_badBoy = 0;
    int32_t m_colonialAttempts = 0;
    uint8_t m_colonialNation = 0;
    uint8_t m_major = 0;
    uint8_t m_bank = 0;
    uint8_t m_stock = 0;
    uint8_t m_changedReligion = 0;
    CLedger m_ledger;
    CBaseVP m_baseVp;
    float m_vp = 0.0f; // current victory points
    float m_vpAtRankCheck = 0.0f;
    CTimedModifiers m_modifiers;
    CDate m_lastBankruptcy;
    CDate m_warDate;
    CDate m_lastPeace;
    CLossesRecord m_combatLosses;
    CLossesRecord m_attritionLosses;
    CLossesRecord m_disbandLosses;
    int32_t m_cancelledLoans = 0;
    int32_t m_extendedLoans = 0;
    float m_treasury = 0.0f;
    float m_income = 0.0f;
    float m_inflation = 0.0f;
    float m_bureaucracy = 0.0f;
    float m_revolt = 0.0f;
    float m_manpower = 0.0f;
    float m_landMaintenance = 0.0f;
    float m_navalMaintenance = 0.0f;
    // Budget shares, each 0..1.
    float m_navalShare = 0.0f;
    float m_landShare = 0.0f;
    float m_teShare = 0.0f;
    float m_peShare = 0.0f;
    float m_stabilityShare = 0.0f;
    float m_treasuryShare = 0.0f;
    CReligionRecord m_religion;
    CMinister m_minister;
    std::unique_ptr<CMonarch, CMonarchDeleter> m_monarch; // current monarch, null when none
    CCountryDiplomacy m_diplomacy;
    // Scenario mission.
    float m_missionPercentage = 0.0f;
    int32_t m_missionType = 0; // counted from 0 (the file counts from 1)
    char m_missionAreaName[kCountryTextSize] = {};
    char m_missionName[kCountryTextSize] = {};
    CIntList m_missionArea; // province ids, or country numbers of an alliance
    // Province lists.
    CIntList m_knownProvinces;
    CIntList m_ownedProvinces;
    CIntList m_controlledProvinces;
    CIntList m_nationalProvinces;
    std::vector<std::unique_ptr<CLoan>> m_loans;
    // Cities and trading posts of the owned provinces (the provinces own them).
    CLinkedList<CCity> m_cities;
    CLinkedList<CTradingPost> m_tradingPosts;
    // Land territories of the owned provinces (the world model makes and
    // deletes them; the list does not own them).
    CTemplateList<CLandTerritory> m_territories;
    CMonarchTable m_monarchTable;
    CLeaderTable m_leaderTable;
    // The country owns the units of both lists.
    CLinkedList<CUnit> m_units;
    CLinkedList<CUnit> m_unitsInDevelopment;
    // Troop totals of the armies (infantry, cavalry, artillery).
    int32_t m_infantryTotal = 0;
    int32_t m_cavalryTotal = 0;
    int32_t m_artilleryTotal = 0;
    TechBase m_technology;
    // Active missions: the blocks as read, their ids, and how many there are.
    std::array<CKeptBlock, kMaxActiveMissions> m_missions;
    std::array<ObjectId, kMaxActiveMissions> m_activeMissionIds{};
    uint32_t m_activeMissionCount = 0;
    CDatedIdList m_archivedEvents;
    std::array<CDate, kCountrySlots> m_diplomaticDates{};
    std::array<CDate, kCountrySlots> m_warDates{};
    float m_colonists = 0.0f;
    float m_diplomats = 0.0f;
    float m_merchants = 0.0f;
    int32_t m_dynamism = 0;
    int32_t m_capital = kNoCapitalProvince;
    // The country's music group: 10 gives it the second country track.
    int32_t m_musicGroup = 0;

    // --- senders ---
    // Each sender builds its message (or messages) and hands it to its
    // posting function; the country's id serves as sender field or
    // receiver. Figures that come from the country's own rules (travel
    // times, chances, costs, interest) are the caller's to pass.
    struct SiegeTarget {
        uint32_t combatType; // CCombat::GetType of the besieging unit's combat
        ObjectId combat;
    };

    // Colonist (145) and trader (150) journeys to the province, arriving
    // today + travelTime. Outside the tutorial a roll above the chance
    // clears the success flag; a second roll below colonisationCost then
    // sends the natives to attack a few days after the arrival.
    void SendColonist(uint32_t province, const CDate& travelTime, int chance, int colonisationCost);
    void SendTrader(uint32_t province, const CDate& travelTime, int chance, int colonisationCost);
    // A merchant to the centre of trade of the province; succeeds when
    // RollPercent(chance) gives 2 or more, always in the tutorial.
    void SendMerchant(uint32_t province, uint32_t centre, uint32_t cost, const CDate& travelTime,
                      int chance);
    void SendBuildFacility(uint32_t province, uint32_t kind, uint32_t cost);
    void SendBoostStability();
    void SendBoostTrade();
    void SendBoostInfrastructure();
    void SendBoostLand();
    void SendBoostNaval();
    void SendExceptionalTaxes();
    void SendAcceptLoan(uint32_t lender, uint32_t amount, uint32_t interest);
    void SendDeclineLoan(const ObjectId& lender, uint32_t amount);
    void SendRequestLoan(uint32_t amount, uint32_t interest);
    void SendOfferLoan(uint32_t borrower, uint32_t amount, uint32_t interest);
    void SendGift(uint32_t country, float amount);
    void SendPayLoan(const ObjectId& lender, uint32_t amount, uint32_t interest,
                     const CDate& dueDate);
    void SendExtendLoan(const ObjectId& lender, uint32_t amount, uint32_t interest,
                        const CDate& dueDate);
    void SendCancelLoan(const ObjectId& lender, uint32_t amount, uint32_t interest,
                        const CDate& dueDate);
    void SendUseDiplomat(uint32_t a, uint32_t value);
    void SendOfferAnnexation(uint32_t other);
    void SendAcceptAnnexation(uint32_t offering);
    void SendDeclineAnnexation(uint32_t offering);
    // A new alliance of the kind with this country, then the invitation of
    // the invited country to it.
    void SendCreateAlliance(uint32_t kind, uint32_t invited);
    // The alliance requests carry the two arguments as they are given.
    void SendAskJoinAlliance(uint32_t a, uint32_t b);
    void SendInviteAlliance(uint32_t a, uint32_t b);
    void SendLeaveAlliance(uint32_t a, uint32_t b);
    void SendBannedFromAlliance(uint32_t a, uint32_t b);
    void SendAcceptAllianceOffer(uint32_t a, uint32_t b);
    void SendAcceptAllianceJoin(uint32_t a, uint32_t b);
    void SendDeclineAllianceOffer(uint32_t a, uint32_t b);
    void SendDeclineAllianceJoin(uint32_t a, uint32_t b);
    void SendRelationRequest(uint32_t kind, uint32_t other);
    void SendSetupWar(uint32_t other);
    void SendHonorAlliance(const std::array<uint32_t, 8>& values);
    void SendDishonorAlliance(const std::array<uint32_t, 8>& values);
    void SendRequestHonorAlliance(uint32_t ally, const std::array<uint32_t, 8>& values);
    // A peace offer to the other country with its sixteen terms.
    void SendCreatePeaceOffer(uint32_t other, const std::array<uint32_t, 16>& terms);
    void SendAcceptPeace(uint32_t other, const ObjectId& offer);
    void SendDeclinePeace(uint32_t other, const ObjectId& offer);
    // One assault request per besieging unit's combat.
    void SendSiegeAssault(const std::vector<SiegeTarget>& targets);
    void SendRequestNativeAttack(uint32_t province);
    void SendStartExpandingFortress(uint32_t province);
    void SendBuildArmy(uint32_t province, uint32_t infantry, uint32_t cavalry, uint32_t artillery,
                       const CDate& ready);
    void SendCreateArmy(uint32_t province, uint32_t infantry, uint32_t cavalry, uint32_t artillery,
                        const CDate& ready);
    void SendBuildFleet(uint32_t province, uint32_t warships, uint32_t galleys, uint32_t transports,
                        const CDate& ready);
    void SendCreateFleet(uint32_t province, uint32_t warships, uint32_t galleys,
                         uint32_t transports, const CDate& ready);
    void SendRefuseTrade(uint32_t other);
    void SendUnrefuseTrade(uint32_t other);
    void SendInvestmentChange(const std::array<uint32_t, 6>& values);
    void SendSetMaintenance(uint32_t a, uint32_t b);
    void SendAskShareExploration(uint32_t other);
    void SendAcceptShareExploration(uint32_t other);
    void SendDeclineShareExploration(uint32_t other);
    void SendStealExploration(uint32_t other);
    void SendInviteToWarPact(uint32_t a, uint32_t b, uint32_t invited);
    void SendMergeWar(uint32_t receiver, const std::array<uint32_t, 5>& values);
    void SendGodMode(int enable);
    void SendGetColonist(uint32_t count);
    void SendGetDiplomat(uint32_t count);
    void SendGetMerchant(uint32_t count);
    void SendChangeTolerance(const std::array<float, 8>& values);
    void SendChangeReligion(uint32_t religion);
    void SendCancelConstruction(uint32_t a, uint32_t b);
    void SendStartBuildImprovement(uint32_t province, uint32_t kind);
    // --- end of senders ---

private:
    // What a country block has given so far.
    struct ReadMarks {
        bool vpRead = false;
        bool monarchTableGiven = false;
        bool leaderTableGiven = false;
    };
    // One whole field of the country block: FIELD_BLOCK_END to go on,
    // FIELD_ERROR or FIELD_END_OF_FILE to end.
    int32_t ReadField(CFieldReader& in, ReadMarks& marks);
    // The six scenario-mission keys: true when the key was one of them.
    bool ReadMissionField(CFieldReader& in);
    int32_t ReadProvinceList(CFieldReader& in, CIntList& list, const char* context);
    void ReadCity(CFieldReader& in);
    void ReadTradingPost(CFieldReader& in);
    void ReadUnit(CFieldReader& in, bool fleet);
    void ReadMonarch(CFieldReader& in, bool historical);
    void ReadMissionBlock(CFieldReader& in);

    uint32_t m_number;
};

// The country of each number; an empty slot is null. The list of countries
// owns them.
extern std::array<CCountry*, kCountrySlots> g_countries;

// The country of a number; null for an empty slot and a number outside
// 0..98.
CCountry* CountryOfNumber(int64_t number);

// The countries in the order they were made; it owns them.
extern COwningList<CCountry> g_countryList;

// Stores the country in its slot of g_countries and appends it to the list
// of countries. A country whose number has no slot, or whose slot is taken,
// is refused (false; it is deleted).
bool AddCountry(std::unique_ptr<CCountry> country);

// Deletes every country of the list; their slots become empty.
void DeleteAllCountries();

// The three-letter tag of each country number ("ENG"); empty where no
// country has one. Filled by the scenario set-up.
extern std::array<std::array<char, 4>, kCountrySlots> g_countryTags;

// Who plays each country: 0 the computer, 1 a human at this machine, 2 a
// human at another machine.
extern std::array<uint32_t, kCountrySlots> g_countryController;

// The number 1..98 of the country with the tag (any case), 0 when none.
int32_t FindCountryByTag(const char* tag);
// The tag of the country number; null for a number without one (a country
// id without a tag then prints as a type/id block).
const char* GetCountryTag(uint32_t number);
// Stores the tag (cut to three characters) of the country number.
void SetCountryTag(uint32_t number, const char* tag);
