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

#include "country/CountryHandlers.h"
#include "country/CountryParts.h"
#include "country/CountryReligion.h"
#include "country/CountryTags.h"
#include "country/ProvinceFigures.h"
#include "country/ShieldSet.h"
#include "data/CountryNumbers.h"
#include "data/TokenFile.h"
#include "engine/Date.h"
#include "engine/LinkedList.h"
#include "engine/NamedObject.h"
#include "engine/ObjectId.h"
#include "net/Event.h"

class CAlliance;
class CCity;
class CDataBlock;
class CLandTerritory;
class CLeader;
class CMonarch;
class CProvince;
class CTradingPost;
class CUnit;
class CWar;

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

    // Makes the country of the number by its controller kind
    // (g_countryController; the variants through g_countryVariants,
    // country/CountryVariants.h), stores it in g_countries and at the head of
    // the list of countries, gives it its tag, display name and technology
    // group, chooses its computer-player file and reads it. Null when the
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
    // The budget shares within 0..1 by priority (naval, land, stability,
    // trade, infrastructure), each at most what the earlier ones leave; the
    // treasury share takes the rest (country/MonthlyEconomy.cpp).
    void NormaliseBudgetShares();

    // Takes a unit into the unit list (at the tail); the country owns it.
    void AddUnit(CUnit* unit);
    // Takes a unit out of either unit list without deleting it.
    bool RemoveUnit(CUnit* unit);

    // --- the fields the country block carries ---
    std::string m_aiFile = "default.ai"; // computer-player file name, "ai\%s"
    std::string m_historyFile;           // "db\monarchs\monarchs.%s", "db\leaders\leaders.%s"
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
    CModifierTable m_modifiers;
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
    float m_bureaucracy = 1.0f;
    float m_revolt = 0.0f;
    float m_manpower = 10.0f;
    float m_landMaintenance = 1.0f;
    float m_navalMaintenance = 1.0f;
    // Budget shares, each 0..1.
    float m_navalShare = 0.2f;
    float m_landShare = 0.2f;
    float m_teShare = 0.2f;
    float m_peShare = 0.2f;
    float m_stabilityShare = 0.0f;
    float m_treasuryShare = 0.2f;
    CCountryReligion m_religion;
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
    // receiver. The forms that take travel times, chances, costs or
    // interest build the message from the figures given; the forms that
    // take the country's own figures stand in the block "senders with the
    // country's own figures" below.
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

    // --- identity, variants, messages and the country's own operations ---
    const std::string& GetTag() const { return m_tag; }
    // Chooses the computer-player file after creation: "holland.ai" for
    // number 4; numbers 1, 2, 4, 5, 7, 8 and 67 become colonial nations.
    // Answers 0.
    virtual int SetAIPersonalityFile();
    // Releases the country's game state at the end of a scenario: its units
    // and monarch are deleted, its loans dropped, its settlement, province
    // and territory lists emptied (the provinces own the settlements).
    virtual void Release();

    // The message handlers (country/CountryDispatch.cpp). Those whose work
    // comes later answer EVENT_NOT_HANDLED.
#define ORV_DECLARE_COUNTRY_HANDLER(name) virtual int name(COVEvent& event);
    ORV_COUNTRY_HANDLERS(ORV_DECLARE_COUNTRY_HANDLER, ORV_DECLARE_COUNTRY_HANDLER)
#undef ORV_DECLARE_COUNTRY_HANDLER
    // Takes the message and ignores it: EVENT_CONSUMED.
    virtual int OnUnhandledMessage(COVEvent& event);
    // 1 switches the god mode on, 0 off (types 201 and 202); the god mode
    // shows the alternative banner (m_alternativeBanner).
    virtual int OnSetGodMode(int enable);
    // Type 191: called directly, variants do not replace it.
    int OnMessage191(COVEvent& event);
    // What the timer and game-start handlers pass on after their own work:
    // the month, year and game-start messages to the diplomacy block, other
    // types (but the window refresh) to the units and the diplomacy block;
    // then every type to the trading posts and the cities, whose answer it
    // gives.
    int PassToSubObjects(COVEvent& event);

    // The human at this machine plays it (controller kind 1).
    bool IsLocalHuman() const;
    // For a country a human plays (kind 1 or 2) the difficulty setting minus
    // 2, else 0.
    int32_t GetDifficultyOffset() const;
    // Numbers 33, 43, 44, 62, 63, 64, 65, 66, 76 and 77.
    bool IsNonWesternNation() const;
    // Adds to manpower only while manpower is below twice the reference.
    virtual void AddToCappedReserve(float amount);
    // The treasury, and this month's income below, stay within a billion
    // either way, beyond any real game.
    virtual void AddToTreasury(float amount);
    // Adds the change to the inflation, held within -0.5..10.
    void ChangeInflation(float change);
    // 1000 with a stock exchange, else 500 with a bank, else 200.
    float GetLoanAmount() const;
    // Ordinary income (kinds 0-4, 9 and 10) adds to this month's income and
    // leaves the treasury; every other kind goes into the treasury at once.
    // The ledger books every kind.
    void BookLedgerEntry(uint32_t kind, float amount);
    // The ledger books the expense. Kinds 0 and 1: what the treasury lacks
    // is taken from this month's income first (at most all of it), the rest
    // charged to the treasury; other kinds are charged to the treasury
    // whole.
    void SpendMoney(uint32_t kind, float amount);
    // Adds the points to the base victory points of the category (0..6) and
    // to the rank score, only while the base-victory-points option is on.
    void AddBaseVictoryPoints(uint32_t category, float points);
    static constexpr uint32_t kDiplomacyVictoryPoints = 3;
    // Adds to the rank score and answers the new score (with 0: reads it).
    float AddRankScore(float points) {
        m_rankScore += points;
        return m_rankScore;
    }
    // Owned provinces that the rebels (98) control.
    int32_t CountRebelProvinces() const;
    // Controlled provinces with a city that is not a colony.
    int32_t CountProvincesWithoutColony() const;
    // The mission area name's text; the key itself when the text is unknown.
    std::string GetMissionAreaText() const;
    // Puts the id into the first free of the three mission slots (nothing
    // when none is free); takes it out of its slot (nothing when it is in
    // none).
    void AddActiveMission(const ObjectId& id);
    void RemoveActiveMission(const ObjectId& id);

    // The land territories of the country (the world's territory code keeps
    // them; the country owns neither them nor their provinces).
    // (virtual: the computer-controlled country plans for them first)
    virtual void AddTerritory(CLandTerritory* territory);
    virtual bool RemoveTerritory(CLandTerritory* territory);
    CTemplateList<CLandTerritory> m_territories;

    std::string m_tag;
    // AddToCappedReserve adds to manpower only below twice this value.
    float m_manpowerReference = 0.0f;
    // The second of the country's two scores.
    float m_rankScore = 0.0f;
    // How warlike the country has shown itself: +3 for a war declared
    // without a casus belli, +1 with one, +2 for a call to arms dishonoured,
    // +1 and -1 for the gainer and the loser of a province handed over at a
    // peace.
    int32_t m_aggression = 0;

    // --- economy: costs, the reigning figure, technology, stability, unit
    // prices and build times, loans (country/CountryEconomy.cpp) ---
    // The modifier table's kind 2 plus inflation; prices are multiplied by
    // 1 + this.
    float GetCostModifier() const;
    // The monthly tax income, set by the month's bookkeeping; a year of it.
    float m_monthlyTaxIncome = 0.0f;
    float GetYearlyTaxIncome() const {
        return m_monthlyTaxIncome * 12.0f;
    }
    // The cities of the country that are not colonies.
    int32_t CountNonColonyCities() const;
    // The reigning figure's ADM, DIP and MIL: the minister's while its id is
    // the reigning monarch's, else the monarch's; at most 9, 3 without a
    // monarch.
    int32_t GetMonarchAdm() const;
    int32_t GetMonarchDip() const;
    int32_t GetMonarchMil() const;

    Technology& GetLandTech() {
        return m_technology.land;
    }
    Technology& GetNavalTech() {
        return m_technology.naval;
    }
    Technology& GetInfraTech() {
        return m_technology.infra;
    }
    Technology& GetTradeTech() {
        return m_technology.trade;
    }
    // Values of the current land and naval levels' rows.
    float GetLandInfantryFire() const {
        return m_technology.land.CurrentRow().infantryFire;
    }
    float GetLandCavalryFire() const {
        return m_technology.land.CurrentRow().cavalryFire;
    }
    float GetLandArtilleryFire() const {
        return m_technology.land.CurrentRow().artilleryFire;
    }
    float GetLandInfantryShock() const {
        return m_technology.land.CurrentRow().infantryShock;
    }
    float GetLandCavalryShock() const {
        return m_technology.land.CurrentRow().cavalryShock;
    }
    float GetLandArtilleryShock() const {
        return m_technology.land.CurrentRow().artilleryShock;
    }
    int32_t GetLandTechCostColumn() const {
        return m_technology.land.CurrentRow().costTerm;
    }
    float GetNavalWarshipFire() const {
        return m_technology.naval.CurrentRow().warshipFire;
    }
    float GetNavalGalleyFire() const {
        return m_technology.naval.CurrentRow().galleyFire;
    }
    float GetNavalWarshipShock() const {
        return m_technology.naval.CurrentRow().warshipShock;
    }
    float GetNavalGalleyShock() const {
        return m_technology.naval.CurrentRow().galleyShock;
    }
    float GetNavalTechValue36() const {
        return m_technology.naval.CurrentRow().fleetStrength;
    }
    int32_t GetNavalTechCostColumn() const {
        return m_technology.naval.CurrentRow().costTerm;
    }
    // The track's investment; true when it bought a level. A level gained
    // tells the player at this machine (a notice), makes the units
    // recompute their strength (land and naval) and, when the naval level
    // reaches 19, re-evaluates the blockades around the fleets.
    bool AdvanceLandTech(int32_t amount);
    bool AdvanceNavalTech(int32_t amount);
    bool AdvanceInfraTech(int32_t amount);
    bool AdvanceTradeTech(int32_t amount);
    // The research modifiers the handlers give to land, naval,
    // infrastructure, trade and stability (the last also the stability
    // window's bonus points).
    static constexpr size_t kStabilityResearch = 4;
    std::array<int32_t, 5> m_researchModifiers{};
    // Catch-up: the group's countries (g) and the best level of the track
    // among the ordinary countries of the group: (g / 8 + (best - own) x 8)
    // / 4 behind the best, else g / 8 / 4.
    int32_t GetLandCatchUpBonus() const;
    int32_t GetNavalCatchUpBonus() const;
    int32_t GetInfraCatchUpBonus() const;
    int32_t GetTradeCatchUpBonus() const;
    // Added to the month's investment: 5 x the research modifier + the
    // catch-up scaled by the group + the reigning figure's MIL (land,
    // naval) or ADM (infrastructure, trade); trade less the refusals.
    int32_t GetLandResearchBonus() const;
    int32_t GetNavalResearchBonus() const;
    int32_t GetInfraResearchBonus() const;
    int32_t GetTradeResearchBonus() const;
    // The countries toward which this one refuses trade.
    int32_t CountTradeRefusals() const;
    // The technology window's lines, in one buffer that the next call
    // overwrites.
    const char* DescribeLandTech() const;
    const char* DescribeNavalTech() const;
    const char* DescribeInfraTech() const;
    const char* DescribeTradeTech() const;
    // 3 x the stability research modifier + the state religion's term + 2 x
    // the reigning figure's ADM.
    int32_t GetBudgetBoostBase() const;

    // The amount x the tax factor of the country's stability.
    float ApplyStabilityToTax(float amount) const;
    void IncreaseStability(int32_t n);
    void DecreaseStability(int32_t n);
    // The stability window's reasons, in one buffer that the next call
    // overwrites.
    const char* DescribeStability() const;

    // Unit prices (at least 1) and what a levy of units costs.
    int32_t GetInfantryPrice() const;
    int32_t GetCavalryPrice() const;
    int32_t GetArtilleryPrice() const;
    int32_t GetWarshipPrice() const;
    int32_t GetGalleyPrice() const;
    int32_t GetTransportPrice() const;
    float GetLandRecruitCost(float infantry, float cavalry, float artillery) const;
    float GetNavalRecruitCost(float warships, float galleys, float transports) const;
    // Build times as spans of months.
    CDate GetInfantryBuildTime() const;
    CDate GetCavalryBuildTime() const;
    CDate GetArtilleryBuildTime() const;
    CDate GetWarshipBuildTime() const;
    CDate GetGalleyBuildTime() const;
    CDate GetTransportBuildTime() const;

    // Loans from the bank.
    int32_t CountLoans() const;
    // The interest offered for a new loan, in percent.
    int32_t GetLoanInterest() const;
    // --- end of economy ---

    // --- province figures and yearly allowances (country/ProvinceFigures.cpp) ---
    // Recomputes every figure of m_figures from the owned provinces.
    void RecountProvinces();
    // What the country gains a year; merchants 0..12.
    float GetYearlyColonists() const;
    float GetYearlyMerchants() const;
    float GetYearlyDiplomats() const;
    // The reason lines shown beside each allowance.
    std::string GetYearlyColonistsText() const;
    std::string GetYearlyMerchantsText() const;
    std::string GetYearlyDiplomatsText() const;
    // A twelfth of the yearly allowance, through the pool's add operation.
    void AccrueMonthlyColonists();
    void AccrueMonthlyMerchants();
    void AccrueMonthlyDiplomats();
    // Add to the pool, held within 0..its cap.
    virtual void AddMerchants(float amount);
    virtual void AddColonists(float amount);
    virtual void AddDiplomats(float amount);
    // 6 for a trading nation or in the fantasy setting, else 1.
    float GetMerchantCap() const;
    bool IsTradingNation() const;
    bool IsColonialNation() const;
    // The period base from the current period's rows of the colonist and
    // trader tables.
    void SetPeriodBase();
    CProvinceFigures m_figures;
    // The integer part of the country's colonists and traders a year in the
    // tables' current period, set at set-up.
    int32_t m_periodBase = 0;
    // Bonus figures in hundredths.
    int32_t m_colonisationBonus = 0;
    int32_t m_tradeBonus = 0;
    // Manufactories built, kept by the handlers (facility prices).
    int32_t m_manufactoryCount = 0;

    // --- colonist, trader and merchant costs and chances
    // (country/ExpansionCosts.cpp) ---
    // The best "manuever" of a conquistador or explorer leading a unit of
    // the country in the province; 0 when none.
    float GetBestExplorerManeuver(int32_t province) const;
    // Spans of 30-day months, at least two months.
    CDate GetColonistTravelTime(int32_t province) const;
    CDate GetTraderTravelTime(int32_t province) const;
    float GetColonistCost(int32_t province) const;
    float GetTraderCost(int32_t province) const;
    int32_t GetMerchantCost(int32_t province) const;
    int32_t GetFacilityCost(int32_t province, int32_t kind) const;
    // Percentages 1..95.
    virtual int32_t GetColonisationChance(int32_t province) const;
    int32_t GetTraderChance(int32_t province) const;
    static CDate GetTwoYearSpan();
    // A span of as many days as the province lies from the capital.
    CDate GetCapitalDistanceSpan(int32_t province) const;
    // The settlement an agent founds for the country in the province.
    void FoundTradingPost(int32_t province);
    void FoundColony(int32_t province);
    // --- end of province figures, allowances, costs and chances ---

    // --- queries and checks (country/CountryQueries.cpp, country/DiplomacyChecks.cpp) ---
    // Pure questions for the windows and the computer player: what an
    // action costs, how much may be had, and whether it is allowed now.
    // None of them changes anything. A province argument is a province id
    // (every province check refuses one outside 1..1472), a country
    // argument a country number.

    // Closed trade: the country refuses trade with everyone.
    uint8_t m_closedTrade = 0;
    // --- treasury and economy flags set by messages ---
    // The gold-lost flag, toggled by "_COVEVT_GOLD_LOST_".
    uint8_t m_goldLost = 0;
    // --- end of treasury and economy flags ---
    // Months of exceptional war taxes (doubled tax) left, counted down each
    // month; a war tax runs while above 0.
    int32_t m_warTaxMonths = 0;

    // Building prices: truncate((1 + cost modifier) x base). The bailiff's
    // is also the price of city rights; a fortress costs nothing in a
    // province without a city.
    int32_t GetBailiffCost() const;
    int32_t GetCourthouseCost() const;
    int32_t GetShipyardCost() const;
    int32_t GetConscriptionCenterCost() const;
    int32_t GetFortressCost(int32_t province) const;
    // 2, rising with the land level: 3 from 12, 4 from 20, 5 from 29, 6 from 43.
    int32_t GetMaxFortressLevel() const;
    // The current land (naval) row's per-level value, plus 1.
    float GetLandLevelValue() const;
    float GetNavalLevelFigure() const;
    // The capital's province record (null when it has none) and id.
    CProvince* GetCapital() const;
    int32_t GetCapitalId() const;

    // Men the province yields: its tax income x 1000 for a city that is no
    // colony and has no trading post, halved outside the national
    // provinces (but in fantasy mode).
    int32_t GetProvinceManpower(int32_t province) const;
    // The size of the country's recruitment order in the province; 0
    // without one.
    int32_t GetRecruitingInProvince(int32_t province) const;
    // A recruitment order (army or fleet) of the country is under way there.
    bool IsRecruitingInProvince(int32_t province) const;
    // Most men (pieces, ships) that may be raised there now; never negative.
    int32_t GetRecruitableInfantry(int32_t province) const;
    int32_t GetRecruitableCavalry(int32_t province) const;
    int32_t GetRecruitableArtillery(int32_t province) const;
    int32_t GetRecruitableShips(int32_t province) const;

    // The unit class may be raised: always in fantasy mode, else when the
    // country's cost class for it is not 0 (artillery also needs land level
    // 3, transports naval level 1).
    virtual bool MayRaiseInfantry() const;
    virtual bool MayRaiseCavalry() const;
    virtual bool MayRaiseArtillery() const;
    virtual bool MayRaiseWarships() const;
    virtual bool MayRaiseGalleys() const;
    virtual bool MayRaiseTransports() const;

    // Colonists, traders and merchants.
    virtual bool MayPlaceColonist(int32_t province) const;
    bool CanSendColonist(int32_t province) const;
    virtual bool MayPlaceTradingPost(int32_t province) const;
    bool CanSendTrader(int32_t province) const;
    bool MayPlaceMerchant(int32_t province) const;
    // The one rule by which a merchant may compete in the province's centre
    // of trade when the centre is crowded; the merchant check and the
    // merchant's arrival both ask it.
    bool MayCompeteInCentre(int32_t province) const;
    bool CanSendMerchant(int32_t province) const;
    bool CanDestroyTradingPost(int32_t province) const;

    // Buildings. Facility kinds 1..5; improvement kinds as
    // CCity::EImprovement (0 shipyard .. 4 courthouse).
    bool CanBuildInProvince(int32_t province) const;
    bool CanBuildFacility(int32_t province, int32_t kind) const;
    bool CanBuildFortress(int32_t province) const;
    bool CanBuildImprovement(int32_t province, int32_t kind) const;

    // Recruiting: men in ones (a regiment is 1000), artillery in pieces (a
    // unit is 10), ships in ones.
    bool CanAffordLandUnits(int32_t infantry, int32_t cavalry, int32_t artillery) const;
    bool CanAffordShips(int32_t warships, int32_t galleys, int32_t transports) const;
    bool CanRecruitInfantryIn(int32_t province) const;
    bool CanRecruitCavalryIn(int32_t province) const;
    bool CanRecruitArtilleryIn(int32_t province) const;
    bool CanRecruitWarshipsIn(int32_t province) const;
    bool CanRecruitGalleysIn(int32_t province) const;
    bool CanRecruitTransportsIn(int32_t province) const;
    bool CanRecruitLandUnits(int32_t province, int32_t infantry, int32_t cavalry,
                             int32_t artillery) const;
    bool CanBuildShips(int32_t province, int32_t warships, int32_t galleys,
                       int32_t transports) const;

    // Money.
    bool CanTakeLoan() const;
    bool CanLevyWarTax() const;
    bool CanBoostTrade() const;
    bool CanBoostInfrastructure() const;
    bool CanBoostStability() const;
    bool CanBoostLand() const;
    bool CanBoostNaval() const;

    // Diplomacy (country/DiplomacyChecks.cpp). Every check that sends a
    // diplomat ends with CanSendDiplomat toward the other country.
    bool CanSendDiplomat(int64_t n) const;
    bool CanTakeDiplomaticAction(int32_t action, int64_t n) const;
    bool CanDeclareWarOn(int64_t n) const;
    bool CanRefuseTrade(int64_t n) const;
    bool CanAllowTrade(int64_t n) const;
    bool CanProposeDynasticAlliance(int64_t n) const;
    bool CanOfferVassalization(int64_t n) const;
    bool CanAnnexVassal(int64_t n) const;
    bool CanInviteToAlliance(int64_t n) const;
    bool CanInviteIntoAlliance(const CAlliance& alliance, int64_t n) const;
    bool CanInviteIntoOwnAlliance(int64_t n) const;
    bool CanInviteToAnyOwnAlliance(int64_t n) const;
    bool CanJoinAlliance(const CAlliance& alliance) const;
    bool CanLeaveAlliance(const CAlliance& alliance) const;
    bool CanCallAllyToArms(const CAlliance& alliance, int64_t n) const;
    bool CanPetitionAllianceLeader(int64_t n) const;
    bool CanAskToJoinWar(const ObjectId& war, int64_t n) const;
    bool EvaluatePeaceWith(int64_t n) const;
    bool EvaluatePeaceTerms(uint32_t own, int64_t n, const CAlliance& ownSide,
                            const CAlliance& enemySide, const ObjectId& war) const;
    bool MayOfferPeaceTo(int64_t n) const;
    bool CanDemandAnnexation(int64_t n) const;
    bool CanDemandConversion(int64_t n) const;

    // Relations.
    // Fewer than 61 whole months since the last peace with n.
    bool IsDiplomaticPauseWith(int64_t n) const;
    bool IsReligiousEnemyOf(const CCountry& other) const;
    bool SharesFaithWith(const CCountry& other) const;
    bool CanChangeReligionTo(uint32_t religion) const;
    // Units of this country may enter the province (false for an id outside
    // 1..1472).
    bool MayEnterProvince(int32_t province) const;
    // While the demarcation treaty holds, Spain in the Spanish zone and
    // Portugal in the Portuguese zone keep out of unowned land and the land
    // of catholics they are not allied with.
    bool IsBarredByDemarcationTreaty(int32_t province) const;
    // --- end of queries and checks ---

    // --- standing toward other countries (country/CountryMethods.cpp) ---
    // At war with anyone.
    bool IsAtWar() const;
    // At war with n; never toward itself; always toward and from the
    // pirates, natives and rebels (96..98).
    bool IsHostileTo(int64_t n) const;
    // Itself, a country on the same side of a war, and a vassal of this one.
    bool HasAccessTo(int64_t n) const;
    bool IsAlliedWith(int64_t n) const;
    bool IsCobelligerentWith(int64_t n) const;
    // The stability track's level.
    double GetStability() const;
    void SetStability(int32_t level);
    // Peace with n today: the peace date toward n, the at-war byte cleared
    // and the at-war-with-anyone flag recomputed. SetAtWarWith sets the
    // byte and recomputes the flag.
    void EndWarWith(int64_t n);
    void SetAtWarWith(int64_t n);
    // m_warDates holds, per country, the date of the last peace with it;
    // m_diplomaticDates the date before which no diplomat goes there.
    const CDate& GetLastPeaceWith(int64_t n) const;
    // --- end of standing ---

    // --- the month (country/MonthlyEconomy.cpp, country/MonthlyUpdate.cpp) ---
    // The unit classes of the kept counts and the loss records.
    enum EUnitClass : uint32_t {
        UNIT_INFANTRY = 0,
        UNIT_CAVALRY = 1,
        UNIT_ARTILLERY = 2,
        UNIT_WARSHIPS = 3,
        UNIT_GALLEYS = 4,
        UNIT_TRANSPORTS = 5,
        UNIT_CLASSES = 6,
    };
    // The causes of the loss records: combat, attrition, disbanding.
    enum ELossCause : int32_t { LOSS_COMBAT = 0, LOSS_ATTRITION = 1, LOSS_DISBAND = 2 };

    // A twelfth of the tax of the provinces it owns and controls that have
    // a city and are not looted.
    float ComputeMonthlyTaxIncome() const;
    // Books twelve months of that tax as income kind 8.
    void BookYearlyTaxIncome();
    // The cities grow, yield production income and manpower; a colony that
    // dies out leaves its province abandoned.
    void UpdateCities();
    // The six upkeeps, booked as army or fleet maintenance and paid from the
    // treasury, what it lacks from this month's income.
    void PayMonthlyUpkeep();
    // This month's income bought research on the five tracks by the budget
    // shares, the rest into the treasury.
    void DistributeMonthlyIncome();
    // Called when the stability falls below -2 in the month and by the
    // yearly work; nothing for the plain country.
    virtual void YearlyAndBankruptcyHook() {}
    // The computer-controlled variant answers true; the plain country false.
    virtual bool IsComputerControlled() const {
        return false;
    }

    // 1.5 at war, else 1.0.
    float GetWarFactor() const;
    // A month's upkeep of the class; a tenth for a country that is not
    // major.
    float GetInfantryUpkeep() const;
    float GetCavalryUpkeep() const;
    float GetArtilleryUpkeep() const;
    float GetWarshipUpkeep() const;
    float GetGalleyUpkeep() const;
    float GetTransportUpkeep() const;
    // The kept count outside armies and fleets plus the troops inside them.
    virtual int32_t GetInfantryCount() const;
    virtual int32_t GetCavalryCount() const;
    virtual int32_t GetArtilleryCount() const;
    virtual int32_t GetWarshipCount() const;
    virtual int32_t GetGalleyCount() const;
    virtual int32_t GetTransportCount() const;
    // The kept count drops by the truncated amount (not below 0); the loss
    // record of the cause grows by the amount.
    void RecordInfantryLoss(float amount, int32_t cause);
    void RecordCavalryLoss(float amount, int32_t cause);
    void RecordArtilleryLoss(float amount, int32_t cause);
    void RecordWarshipLoss(float amount, int32_t cause);
    void RecordGalleyLoss(float amount, int32_t cause);
    void RecordTransportLoss(float amount, int32_t cause);
    // The loss record of the cause; null for a cause outside ELossCause.
    CLossesRecord* GetLossRecord(int32_t cause);
    // m_manpowerReference: the manpower of the cities in controlled
    // provinces, at least 10; x 12 for the local player in the tutorial.
    void ComputeManpowerLimit();
    // m_leaderKinds: the conquistadors and explorers leading its units.
    void CountLeaderKinds();

    // The monthly update's steps in their order; OnTimerMonth runs them.
    virtual void MonthMissionProgress();
    virtual void MonthReligiousPressure();
    virtual void MonthManpowerAndUpkeep();
    virtual void MonthEnemyCapitals();
    virtual void MonthTax();
    virtual void MonthMissions();
    virtual void MonthVassalTribute();
    virtual void MonthBookTax();
    virtual void MonthWarSubsidy();
    virtual void MonthTradeIncome();
    virtual void MonthReceiversAndLedger(COVEvent& event);
    virtual void MonthBudgetAndCities(COVEvent& event);
    virtual void MonthAllianceWarmth();
    virtual void MonthRankingPlace();
    virtual void MonthRequestMissions();
    virtual void MonthAllianceAtWar();
    virtual void MonthTechnologyFreeze();
    // The drift of the relations toward every other country (in the budget
    // step).
    void MonthRelationDrift();

    // Troops kept outside armies and fleets, by EUnitClass.
    std::array<int32_t, UNIT_CLASSES> m_keptUnits{};
    // The conquistadors (kind 2) and explorers (kind 3) among its leaders.
    int32_t m_conquistadorCount = 0;
    int32_t m_explorerCount = 0;
    // The month's tax from its reckoning to its booking.
    float m_monthTax = 0.0f;
    // The ranking place (1 = first) and the figures compared in the game
    // types 2 (both) and 3 (the progress only).
    int32_t m_rankPlace = 1;
    int32_t m_rankFigure = 0;
    float m_rankProgress = 0.0f;
    // --- end of the month ---
    // --- methods (country/CountryMethods.cpp, country/WarBookkeeping.cpp,
    // country/UnitDeletion.cpp) ---
    // The distance from this capital to each country's capital; kNoDistance
    // while either capital is unknown or the slot is empty.
    static constexpr float kNoDistance = 10000.0f;
    std::array<float, kCountrySlots> m_capitalDistances = MakeNoDistances();
    static constexpr std::array<float, kCountrySlots> MakeNoDistances() {
        std::array<float, kCountrySlots> distances{};
        for (float& distance : distances)
            distance = kNoDistance;
        return distances;
    }
    void UpdateCapitalDistances();
    // The culture (0..18) of the country's unit sprites.
    int32_t GetSpriteCulture() const;
    // Member of the Holy Roman Empire (a fixed list of numbers).
    bool IsHREMember() const;
    // The number is the emperor's (g_globals.emperor).
    bool IsEmperor() const;
    // The reigning monarch's name, the country's own without a monarch.
    std::string GetRulerName() const;
    // The number part of the reigning monarch's id; -1 without one.
    int32_t GetMonarchId() const;
    // The level's row value of the infrastructure (trade) table + the
    // colonisation (trade) bonus in hundredths, + 0.05 for a protestant
    // (reformed) state religion.
    float GetProductionEfficiency() const;
    float GetTradeEfficiency() const;
    // Removes and deletes every loan whose lender is country n.
    void RemoveLoansFrom(int64_t n);
    // How many manufactories the country may have this year: grows with the
    // years since 1520, at least 2.
    int32_t GetYearScaledLimit() const;
    // On the host: a timed entry of the modifier table lasting the
    // duration's year x 12 + month months; nothing without a duration.
    void AddModifier(int32_t kind, float value, const CDate* duration);
    // On the host the combat server checks the country's combats; then its
    // blockades, supply and its armies' trespass flags are recomputed.
    void RefreshMilitaryState();
    // Deletes the unit of the id in its fixed order (country/UnitDeletion.cpp);
    // nothing when no unit has the id.
    virtual void DeleteUnit(const ObjectId& id);
    // Appends n to the participants of the alliance or war side of the id
    // (when n is a country and not yet there); RemoveAllianceMember takes it
    // out. Both rebuild the diplomatic status and refresh the windows.
    void AddAllianceMember(const ObjectId& alliance, int64_t n);
    void RemoveAllianceMember(const ObjectId& alliance, int64_t n);
    // This country leaves the war it fights on one side of: peace with each
    // country of the other side, the provinces each holds of the other
    // given back, the computer player told; then it leaves its side (which
    // elects a new leader when it led) and every remaining member gets a
    // casus belli against it.
    void MakeSeparatePeace(CWar& war);
    // Every province 1..1472 that exactly one of the two countries has
    // discovered is discovered by the other.
    void ShareDiscoveriesWith(int64_t n);
    // Five ratings for the computer player (economy, diplomacy, expansion,
    // land, naval), each at least 1.
    static constexpr size_t kStrengthRatings = 5;
    std::array<float, kStrengthRatings> m_strengthRatings{1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    void ComputeStrengthRatings();
    // Appends the id stamped with today's date to the list.
    static void AddDatedEntry(CDatedIdList& list, const ObjectId& id);
    // Set while a peace annexes the country: its provinces stay where they
    // are (ReturnOccupiedProvinces).
    bool m_annexed = false;
    // --- end of methods ---

    // --- senders with the country's own figures (country/CountrySenders.cpp) ---
    // Each checks first and builds nothing when the check fails. A colonist
    // (CanSendColonist) or trader (CanSendTrader) leaves for the province
    // with the country's travel time and chance (GetColonistTravelTime and
    // GetColonisationChance; GetTraderTravelTime and GetTraderChance) and the
    // province's colonisation cost for the natives' roll.
    void SendColonist(uint32_t province);
    void SendTrader(uint32_t province);
    // A merchant to the centre of trade of the province, when CanSendMerchant
    // allows it and the province has a centre: the cost of GetMerchantCost,
    // the travel time of GetCapitalDistanceSpan and the chance of
    // GetMerchantSuccessChance.
    void SendMerchant(uint32_t province);
    // ((trade efficiency + 1) x 10 + stability) x 5 + 3 x the monarch's ADM,
    // the two figures truncated, within 1..99.
    int32_t GetMerchantSuccessChance() const;
    // A bank loan of GetLoanAmount at the interest of GetLoanInterest.
    void SendRequestLoan();
    // One assault request for the combat of each unit of the list that is
    // besieging (g_countryMilitary.unitSiegeCombat).
    void SendSiegeAssault(const CLinkedList<CUnit>& units);
    // The country leaves its vassalization or its dynastic alliance with n
    // (SendLeaveAlliance); nothing when there is none.
    void LeaveVassalization(int64_t n);
    void LeaveDynasticAlliance(int64_t n);
    // The country discovers the province.
    void DiscoverProvinceFor(int32_t province);
    // --- end of senders with the country's own figures ---

    // --- rebels, collapse, scandals and missions (country/CountryRebels.cpp) ---
    // The revolt and civil-war check with the bonus added to each
    // province's revolt risk.
    void RevoltPass(int32_t bonus);
    // The scenario mission's progress for the mission type (-1: whatever
    // the type is).
    void UpdateMissionProgress(int32_t kind);
    // A rebel army rises in the province (and the province may go over to
    // the rebels first); nothing while revolts are off, for province 0 or a
    // province the rebels hold.
    void RaiseRevolt(int32_t province);
    // Re-creates the first nation whose claimed provinces the rebels hold;
    // quiet: without the roll, the diplomat, the casus belli and the war.
    // True when a nation was created (its country exists afterwards).
    bool ReleasePass(bool quiet);
    // A revolt check and a release pass, then the break-up when the rebels
    // hold more of its provinces than it controls cities.
    void CheckCollapse();
    // Releases every nation it can, then tells everyone it broke up.
    void Break();
    // Absorbs country n: provinces, claims, merchants, units; n leaves its
    // wars and alliances, its queued messages are dropped, and it is
    // deleted. Nothing when n has no country or is this one.
    void Annex(uint32_t n);
    // A scandal of the kind (0 ADM, 1 DIP, 2 MIL) lowers the reigning
    // monarch's value by the amount (not below 1) for the months.
    void PostScandal(int32_t kind, int32_t amount, int32_t months);
    int32_t GetLandTechLevel() const {
        return m_technology.land.GetLevel();
    }
    int32_t GetNavalTechLevel() const {
        return m_technology.naval.GetLevel();
    }
    // The chance of a civil war in 1/10000 at the stability level (below 2)
    // with the number of owned provinces; 0 from level 2 up.
    static int32_t GetCivilWarChance(int32_t stabilityLevel, int32_t ownedProvinces,
                                     uint32_t number, bool major);
    // The mission's province: the province the mission steps of the
    // settling and trading kinds look at (the handlers set it).
    int32_t m_missionProvince = 0;
    // --- end of rebels ---

    // --- tick, year and game start (country/HandlersTick.cpp) ---
    // The bankruptcy of a country that can take no further loan: the
    // notice, the date, the cities' people, stability, research, inflation,
    // the bank's loans, the treasury; on the host the revolt check.
    void GoBankrupt();
    // --- end of tick, year and game start ---

    // --- game events, missions and the change of religion
    // (country/HandlersEvents.cpp) ---
    // Appends the event, with the date, to the archived game events.
    void ArchiveGameEvent(const ObjectId& event, const CDate& date);
    // Asks the host for a new mission of the kind (0..10) for the country.
    void RequestNewMission(int32_t kind);
    // The missions the country has taken, each with the day it took it.
    CDatedIdList m_archivedMissions;
    // Set by a change of religion: ten years on from it, and how many
    // changes of religion count against the country.
    CDate m_religionChangeDate;
    int32_t m_religiousChanges = 0;
    // --- end of game events, missions and the change of religion ---

    // --- banners and shields (country/Banners.cpp, country/ShieldSet.cpp) ---
    // Set by the god-mode messages: the shields show the alternative arms
    // "BAF" instead of the country's own.
    uint8_t m_alternativeBanner = 0;
    // The country's shield pictures; null until LoadShields makes them.
    std::unique_ptr<CShieldSet> m_shields;
    // Makes the shield set when there is none and loads the country's
    // shields into it. Nothing while there is no screen (a game that draws
    // nothing, such as a server or a test without pictures).
    void LoadShields();
    // --- end of banners ---

    // --- armies, fleets, losses, leaders and monarchs made by messages
    // (country/HandlersUnits.cpp) ---
    // A new army (infantry, cavalry, artillery) or fleet (warships, galleys,
    // transports) of the country under the id, standing in the province: the
    // rebels' rising is told first; morale 0.5 for a country that is no
    // ordinary one, else the country's land (naval) morale; on the host the
    // leader joins it and it gets its name. It joins the list of units being
    // raised; on the host its "_COVEVT_UNIT_FINISH_" is posted for the ready
    // date (now when that has come) and sent. An army raised (not split off
    // another) takes its men from the manpower. Null, and nothing done, for
    // an id that is no unit's or is taken, or a province outside the map.
    CUnit* CreateArmy(int32_t province, const std::array<float, 3>& strengths, const ObjectId& id,
                      const ObjectId& leader, const CDate& ready, bool raised);
    CUnit* CreateFleet(int32_t province, const std::array<float, 3>& strengths, const ObjectId& id,
                       const ObjectId& leader, const CDate& ready);
    // The morale of the current land (naval) technology row: what a new
    // unit gets.
    float GetLandMorale() const;
    float GetNavalMorale() const;
    // Deletes a leader through the military's deleter (country/CountryMilitary.h).
    struct LeaderDeleter {
        void operator()(CLeader* leader) const;
    };
    // The leaders its messages made that have not joined a unit yet; the
    // country owns them (a unit owns those it took).
    std::vector<std::unique_ptr<CLeader, LeaderDeleter>> m_newLeaders;
    // --- end of the armies, fleets, losses, leaders and monarchs ---

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
// of countries (at its head when asked). A country whose number has no slot, or whose slot is
// taken, is refused (false; it is deleted).
bool AddCountry(std::unique_ptr<CCountry> country, bool atHead = false);

// Deletes every country of the list; their slots become empty.
void DeleteAllCountries();

// Empties all 99 slots of g_countries before a scenario is built; a country
// still there is deleted (a slot never outlives its country).
void ClearCountryTable();
// Scenario shutdown: every country of the 99 slots releases its game state,
// then the countries are deleted.
void ReleaseCountries();

// The country registered under the id; null when none or not a country.
CCountry* FindCountryById(const ObjectId& id);

// Who plays each country: 0 the computer, 1 a human at this machine, 2 a
// human at another machine.
extern std::array<uint32_t, kCountrySlots> g_countryController;

// --- methods: free functions (country/CountryMethods.cpp, country/WarBookkeeping.cpp) ---
// Every province the occupier controls and the owner owns goes back under
// the owner's control, unless the owner is being annexed.
void ReturnOccupiedProvinces(CCountry& occupier, CCountry& owner);
// The packed colour (red in the lowest byte, then green, then blue) of a
// colour code; fantasy codes only in the fantasy setting.
uint32_t GetIndexedColour(int32_t code);
// A dated record of the id stamped with today's date; a copy of a record.
DatedId MakeDatedId(const ObjectId& id);
void CopyDatedId(DatedId& to, const DatedId& from);
void AppendDatedIdEntry(CDatedIdList& list, const ObjectId& id);
// "_COVEVT_UNIT_FINISH_" for the receiver with its two values and flag; the
// caller posts it.
std::unique_ptr<COVEvent> MakeUnitFinishEvent(const ObjectId& receiver, uint16_t first,
                                              uint16_t second, bool flag);
// --- end of methods: free functions ---

// --- senders' helpers: free functions (country/CountrySenders.cpp) ---
// Whether this machine decides for the country: the host does for every
// country (the argument is not used).
bool IsHostForCountry(int64_t country);
// --- end of senders' helpers ---

// --- colonisation: the demarcation treaty ---
// The game server's demarcation-treaty event (above the countries): a
// colony founded outside continent 2 while Spain, Portugal and the Papacy
// are all catholic and the treaty is not yet recorded calls it on the host
// with a random number; it posts "_COVEVT_EXECUTE_EVENT_" with the event id
// {7, 1101} to the game server. Null: no event.
extern void (*g_raiseDemarcationEvent)(int32_t randomNumber);
