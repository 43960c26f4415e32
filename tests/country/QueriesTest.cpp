// A country's queries and action checks: economy figures, manpower and
// recruiting, colonists, traders and merchants, buildings, money,
// diplomacy and faith. Every check answers from the world as it stands
// and leaves it unchanged.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "country/Alliance.h"
#include "country/PeaceOffer.h"
#include "country/War.h"
#include "tests/country/EconomyFixture.h"
#include "world/CentreOfTrade.h"
#include "world/City.h"
#include "world/Construction.h"
#include "world/Globals.h"
#include "world/ProvinceEconomy.h"
#include "world/TradingPost.h"

namespace {

// The units the seam reports: province and class code.
struct StandingUnit {
    int32_t province;
    int32_t classCode;
};
std::vector<StandingUnit> g_units;
float g_taxFactor = 1.0f;

constexpr int32_t kUsedProvinces[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 18, 19, 216};

class QueriesTest : public test::EconomyTest {
protected:
    void SetUp() override {
        EconomyTest::SetUp();
        m_hooks = g_provinceEconomy;
        g_provinceEconomy.applyStabilityToTax = [](int32_t, float tax) {
            return tax * g_taxFactor;
        };
        g_provinceEconomy.warTaxMonthsOf = nullptr;
        g_provinceEconomy.unitsIn = [](int32_t province, std::vector<EconomyUnit>& out) {
            for (const StandingUnit& unit : g_units)
                if (unit.province == province) {
                    EconomyUnit seen;
                    seen.classCode = unit.classCode;
                    out.push_back(seen);
                }
        };
        g_units.clear();
        g_taxFactor = 1.0f;
        g_globals.eventFlags.fill(false);
        g_cotCalc.Clear();
        for (int32_t id : kUsedProvinces)
            ResetProvince(id);
    }
    void TearDown() override {
        g_cotCalc.Clear();
        for (int32_t id : kUsedProvinces)
            ResetProvince(id);
        g_alliances.clear();
        g_wars.clear();
        g_peaceOffers.clear();
        g_globals.eventFlags.fill(false);
        g_provinceEconomy = m_hooks;
        g_units.clear();
        EconomyTest::TearDown();
    }

    static void ResetProvince(int32_t id) {
        CProvince& province = *GetProvince(id);
        province.ResetForGame();
        province.ClearNeighbours();
        province.terrain = 0;
        province.tax = 0;
        province.continent = 0;
        province.blockaded = 0;
    }

    // A country that may do nearly anything: rich, full pools, every
    // technology far on, a discovered capital in the province of its number
    // + 10 (on continent 0).
    CCountry& Able(uint32_t number) {
        CCountry& country = Make(number);
        country.m_treasury = 100000.0f;
        country.m_colonists = country.m_merchants = country.m_diplomats = 5.0f;
        country.m_manpower = 100.0f;
        country.m_religion.stateReligion = RELIGION_CATHOLIC;
        TechBase& tech = country.m_technology;
        tech.land.level = 45;
        tech.naval.level = 40;
        tech.infra.level = 10;
        tech.trade.level = 10;
        for (uint32_t kind = 0; kind < BUILD_KINDS; ++kind)
            g_buildingCostClasses[number][kind] = 1;
        country.m_capital = static_cast<int32_t>(number) + 10;
        return country;
    }

    // Every existing country has discovered every used province.
    static void DiscoverAll() {
        for (int32_t id : kUsedProvinces)
            GetProvince(id)->discoveredBy.fill(1);
    }

    static CProvince& Own(CCountry& country, int32_t id) {
        CProvince& province = *GetProvince(id);
        province.SetOwner(&country);
        province.SetControllerField(&country);
        return province;
    }

    static CCity& City(int32_t id, float population) {
        auto city = std::make_unique<CCity>();
        city->SetProvinceId(id);
        city->SetPopulation(population);
        CCity& made = *city;
        GetProvince(id)->SetCity(std::move(city));
        return made;
    }

    static CDate MonthsAgo(int32_t months) {
        CDate date = kToday;
        date.AddMonths(-months);
        return date;
    }

    ProvinceEconomyHooks m_hooks;
};

// Every check that takes a province, asked about one province.
std::vector<bool> ProvinceChecks(const CCountry& c, int32_t p) {
    return {c.MayPlaceColonist(p),
            c.CanSendColonist(p),
            c.MayPlaceTradingPost(p),
            c.CanSendTrader(p),
            c.MayPlaceMerchant(p),
            c.MayCompeteInCentre(p),
            c.CanSendMerchant(p),
            c.CanDestroyTradingPost(p),
            c.CanBuildInProvince(p),
            c.CanBuildFacility(p, 1),
            c.CanBuildFortress(p),
            c.CanBuildImprovement(p, CCity::IMPROVEMENT_BAILIFF),
            c.CanRecruitInfantryIn(p),
            c.CanRecruitCavalryIn(p),
            c.CanRecruitArtilleryIn(p),
            c.CanRecruitWarshipsIn(p),
            c.CanRecruitGalleysIn(p),
            c.CanRecruitTransportsIn(p),
            c.CanRecruitLandUnits(p, 1000, 0, 0),
            c.CanBuildShips(p, 1, 0, 0)};
}

TEST_F(QueriesTest, ProvinceIdsOutsideTheMapFailEveryProvinceCheck) {
    g_fantasyMode = 1;
    CCountry& eng = Able(1);
    // Province 1 passes most checks, so that a refusal below is the id's.
    CProvince& home = Own(eng, 1);
    home.tax = 9;
    home.coastal = 1;
    DiscoverAll();
    City(1, 6500.0f).GetFortress().level = 1.0f;
    eng.m_nationalProvinces.AddTail(1);
    const std::vector<bool> valid = ProvinceChecks(eng, 1);
    EXPECT_GE(std::count(valid.begin(), valid.end(), true), 10);

    for (int32_t id : {0, 1473, -1, 100000}) {
        SCOPED_TRACE(id);
        const std::vector<bool> answers = ProvinceChecks(eng, id);
        for (size_t i = 0; i < answers.size(); ++i)
            EXPECT_FALSE(answers[i]) << "check " << i;
        EXPECT_EQ(eng.GetProvinceManpower(id), 0);
        EXPECT_EQ(eng.GetRecruitableInfantry(id), 0);
        EXPECT_EQ(eng.GetRecruitableShips(id), 0);
        EXPECT_EQ(eng.GetFortressCost(id), 0);
    }
}

TEST_F(QueriesTest, LandRecruitsFollowTheProvinceBarrackAndPool) {
    struct Case {
        const char* what;
        int32_t tax;
        bool national;
        bool barrack;
        float pool;
        float population;
        int32_t manpower;
        int32_t infantry;
    };
    const Case cases[] = {
        {"manpower 2500 offers 2 thousand", 5, false, false, 100.0f, 6500.0f, 2500, 2000},
        {"a barrack doubles", 5, false, true, 100.0f, 6500.0f, 2500, 4000},
        {"national provinces give it whole", 5, true, false, 100.0f, 6500.0f, 5000, 5000},
        {"the pool holds it", 5, true, true, 3.9f, 6500.0f, 5000, 3000},
        {"a colony gives nobody", 5, true, true, 100.0f, 600.0f, 0, 0},
        {"an empty pool gives nobody", 5, true, false, 0.5f, 6500.0f, 5000, 0},
    };
    CCountry& eng = Able(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetProvince(2);
        eng.m_nationalProvinces.RemoveAll();
        CProvince& province = Own(eng, 2);
        province.tax = c.tax;
        CCity& city = City(2, c.population);
        city.improvements[CCity::IMPROVEMENT_BARRACK] = c.barrack;
        if (c.national)
            eng.m_nationalProvinces.AddTail(2);
        eng.m_manpower = c.pool;
        EXPECT_EQ(eng.GetProvinceManpower(2), c.manpower);
        EXPECT_EQ(eng.GetRecruitableInfantry(2), c.infantry);
        EXPECT_EQ(eng.GetRecruitableCavalry(2), c.infantry);
        EXPECT_EQ(eng.GetRecruitableArtillery(2), c.infantry / 100);
        EXPECT_EQ(eng.CanRecruitInfantryIn(2), c.infantry >= 1000);
    }
}

TEST_F(QueriesTest, ShipsHaveAFloorOfOneAndAShipyardMultipliesTheMen) {
    struct Case {
        const char* what;
        int32_t tax;
        float taxFactor;
        bool shipyard;
        int32_t ships;
    };
    const Case cases[] = {
        {"manpower 500 still offers one ship", 1, 1.0f, false, 1},
        {"manpower 2500 offers one", 5, 1.0f, false, 1},
        {"a shipyard: 25000 men, five ships", 5, 1.0f, true, 5},
        {"a tax factor halves it: 1000 men, one ship", 4, 0.5f, false, 1},
        {"no men, no floor", 0, 1.0f, true, 0},
    };
    CCountry& eng = Able(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetProvince(3);
        g_taxFactor = c.taxFactor;
        Own(eng, 3).tax = c.tax;
        City(3, 6500.0f).improvements[CCity::IMPROVEMENT_SHIPYARD] = c.shipyard;
        EXPECT_EQ(eng.GetRecruitableShips(3), c.ships);
    }
    // The tax value is whole: half of it outside the national provinces is
    // the least manpower there is.
    g_taxFactor = 1.0f;
    ResetProvince(3);
    Own(eng, 3).tax = 1;
    CCity& city = City(3, 6500.0f);
    EXPECT_EQ(eng.GetProvinceManpower(3), 500);
    city.GetFortress().level = 1.0f;
    EXPECT_TRUE(eng.CanRecruitWarshipsIn(3));
    EXPECT_TRUE(eng.CanBuildShips(3, 1, 1, 1));
    EXPECT_FALSE(eng.CanBuildShips(3, 2, 0, 0)); // more than may be built
    EXPECT_FALSE(eng.CanBuildShips(3, -5, 0, 0));
    // A fleet needs a fortress.
    city.GetFortress().level = 0.0f;
    EXPECT_FALSE(eng.CanRecruitWarshipsIn(3));
    EXPECT_FALSE(eng.CanBuildShips(3, 1, 0, 0));
}

TEST_F(QueriesTest, LandRecruitingNeedsTheProvinceMoneyAndNoOrderUnderWay) {
    CCountry& eng = Able(1);
    CCountry& fra = Able(2);
    CProvince& province = Own(eng, 2);
    province.tax = 5;
    City(2, 6500.0f);
    eng.m_nationalProvinces.AddTail(2);
    ASSERT_EQ(eng.GetRecruitableInfantry(2), 5000);
    EXPECT_TRUE(eng.CanRecruitLandUnits(2, 5000, 5000, 50));
    EXPECT_FALSE(eng.CanRecruitLandUnits(2, 6000, 0, 0));
    EXPECT_FALSE(eng.CanRecruitLandUnits(2, 0, 0, 60));
    EXPECT_FALSE(eng.CanRecruitLandUnits(2, -1000, 0, 0));

    // The treasury: a regiment's price and not a coin less.
    eng.m_treasury = static_cast<float>(2 * eng.GetInfantryPrice());
    EXPECT_TRUE(eng.CanAffordLandUnits(2999, 999, 9)); // whole regiments only
    EXPECT_TRUE(eng.CanRecruitLandUnits(2, 2000, 0, 0));
    EXPECT_FALSE(eng.CanRecruitLandUnits(2, 3000, 0, 0));
    eng.m_treasury = 100000.0f;

    // Another country's army order does not hold it up; its own does.
    province.GetConstructions().AddOrder(CONSTRUCTION_ARMY, 0, 0, 1, kToday, 2, 2);
    EXPECT_TRUE(eng.CanRecruitLandUnits(2, 1000, 0, 0));
    province.GetConstructions().AddOrder(CONSTRUCTION_ARMY, 0, 0, 1, kToday, 2, 1);
    EXPECT_FALSE(eng.CanRecruitLandUnits(2, 1000, 0, 0));
    EXPECT_FALSE(eng.CanBuildShips(2, 1, 0, 0));

    // Occupied by another country.
    ResetProvince(2);
    Own(eng, 2).tax = 5;
    City(2, 6500.0f);
    GetProvince(2)->SetControllerField(&fra);
    EXPECT_FALSE(eng.CanRecruitLandUnits(2, 1000, 0, 0));

    // A class the country may not raise.
    g_buildingCostClasses[1].fill(0);
    Own(eng, 2);
    EXPECT_FALSE(eng.CanRecruitInfantryIn(2));
    EXPECT_FALSE(eng.CanRecruitLandUnits(2, 1000, 0, 0));
}

TEST_F(QueriesTest, DiplomatsNeedTheWholeSetOfConditions) {
    CCountry& eng = Able(1);
    CCountry& fra = Able(2);
    Able(97);
    DiscoverAll();
    struct Case {
        const char* what;
        float diplomats;
        int64_t target;
        bool undiscovered;
        bool waiting;
        bool pagan;
        int32_t otherContinent;
        bool expected;
    };
    const Case cases[] = {
        {"0.99 suffice", 0.99f, 2, false, false, false, 0, true},
        {"0.98 do not", 0.98f, 2, false, false, false, 0, false},
        {"itself", 1.0f, 1, false, false, false, 0, false},
        {"natives are no ordinary country", 1.0f, 97, false, false, false, 0, false},
        {"a number without a country", 1.0f, 3, false, false, false, 0, false},
        {"out of range", 1.0f, 99, false, false, false, 0, false},
        {"the capital is undiscovered", 1.0f, 2, true, false, false, 0, false},
        {"the diplomat waits", 1.0f, 2, false, true, false, 0, false},
        {"a pagan on the same continent", 1.0f, 2, false, false, true, 0, true},
        {"a pagan across the sea", 1.0f, 2, false, false, true, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        eng.m_diplomats = c.diplomats;
        GetProvince(12)->discoveredBy[1] = c.undiscovered ? 0 : 1;
        CDate later = kToday;
        later.AddDays(1);
        eng.m_diplomaticDates[2] = c.waiting ? later : kToday;
        eng.m_religion.stateReligion = c.pagan ? RELIGION_PAGAN : RELIGION_CATHOLIC;
        GetProvince(12)->continent = c.otherContinent;
        EXPECT_EQ(eng.CanSendDiplomat(c.target), c.expected);
        EXPECT_EQ(eng.CanTakeDiplomaticAction(1, c.target), c.expected);
    }
    eng.m_diplomats = 1.0f;
    eng.m_religion.stateReligion = RELIGION_CATHOLIC;
    GetProvince(12)->continent = 0;
    // Actions 25, 26 and 27 need money.
    for (auto [action, price] : {std::pair{25, 250.0f}, {26, 100.0f}, {27, 25.0f}}) {
        eng.m_treasury = price;
        EXPECT_TRUE(eng.CanTakeDiplomaticAction(action, 2));
        eng.m_treasury = price - 0.5f;
        EXPECT_FALSE(eng.CanTakeDiplomaticAction(action, 2)) << action;
    }
    (void)fra;
}

TEST_F(QueriesTest, TradeMayBeRefusedSixtyOneMonthsAfterPeace) {
    CCountry& eng = Able(1);
    Able(2);
    DiscoverAll();
    eng.m_warDates[2] = MonthsAgo(60);
    EXPECT_TRUE(eng.IsDiplomaticPauseWith(2));
    EXPECT_FALSE(eng.CanRefuseTrade(2));
    eng.m_warDates[2] = MonthsAgo(61);
    EXPECT_FALSE(eng.IsDiplomaticPauseWith(2));
    EXPECT_TRUE(eng.CanRefuseTrade(2));
    EXPECT_FALSE(eng.IsDiplomaticPauseWith(1));
    EXPECT_FALSE(eng.CanRefuseTrade(1));

    eng.m_technology.trade.level = 3;
    EXPECT_FALSE(eng.CanRefuseTrade(2));
    eng.m_technology.trade.level = 4;
    eng.m_closedTrade = 1;
    EXPECT_FALSE(eng.CanRefuseTrade(2));
    EXPECT_FALSE(eng.CanAllowTrade(2));
    eng.m_closedTrade = 0;

    // Refusing already: it may be allowed again, not refused twice.
    eng.m_diplomacy.GetRelation(2)->refuseTrade = 1;
    EXPECT_FALSE(eng.CanRefuseTrade(2));
    EXPECT_TRUE(eng.CanAllowTrade(2));
    eng.m_diplomacy.GetRelation(2)->refuseTrade = 0;
    EXPECT_FALSE(eng.CanAllowTrade(2));
}

TEST_F(QueriesTest, ReligionChangesFollowTheHistoryFlags) {
    CCountry& eng = Able(1);
    struct Case {
        uint32_t from;
        uint32_t to;
        std::vector<uint32_t> flags;
        bool fantasy;
        bool expected;
    };
    const Case cases[] = {
        {RELIGION_REFORMED, RELIGION_CATHOLIC, {}, false, false},
        {RELIGION_REFORMED, RELIGION_PROTESTANT, {}, false, true},
        {RELIGION_PROTESTANT, RELIGION_CATHOLIC, {}, false, true},
        {RELIGION_PROTESTANT, RELIGION_REFORMED, {}, false, false},
        {RELIGION_PROTESTANT, RELIGION_REFORMED, {2}, false, true},
        {RELIGION_COUNTERREFORM, RELIGION_CATHOLIC, {}, false, true},
        {RELIGION_COUNTERREFORM, RELIGION_CATHOLIC, {4}, false, false},
        {RELIGION_CATHOLIC, RELIGION_PROTESTANT, {}, false, false},
        {RELIGION_CATHOLIC, RELIGION_PROTESTANT, {1}, false, true},
        {RELIGION_CATHOLIC, RELIGION_COUNTERREFORM, {3}, false, true},
        {RELIGION_CATHOLIC, RELIGION_PAGAN, {1, 3}, false, false},
        {RELIGION_CATHOLIC, RELIGION_PAGAN, {}, true, true},
        {RELIGION_CATHOLIC, RELIGION_COUNTERREFORM, {3}, true, false},
        {RELIGION_ORTHODOX, RELIGION_CATHOLIC, {}, false, false},
        {RELIGION_ORTHODOX, RELIGION_CATHOLIC, {}, true, true},
        {RELIGION_SUNNI, RELIGION_SHIITE, {}, true, true},
        {RELIGION_PAGAN, RELIGION_SUNNI, {}, true, true},
        {RELIGION_PAGAN, RELIGION_CATHOLIC, {}, true, false},
        {RELIGION_SHIITE, RELIGION_SHIITE, {}, false, true},
        {RELIGION_PAGAN, 8, {}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.from << " to " << c.to);
        g_globals.eventFlags.fill(false);
        for (uint32_t flag : c.flags)
            g_globals.eventFlags[flag] = true;
        g_fantasyMode = c.fantasy;
        eng.m_religion.stateReligion = c.from;
        EXPECT_EQ(eng.CanChangeReligionTo(c.to), c.expected);
    }
}

TEST_F(QueriesTest, FaithDecidesEnemiesAndDynasticMarriages) {
    CCountry& eng = Able(1);
    CCountry& fra = Able(2);
    DiscoverAll();
    struct Case {
        uint32_t mine;
        uint32_t theirs;
        bool peace; // history flag 4
        bool enemies;
        bool marriage;
    };
    const Case cases[] = {
        {RELIGION_CATHOLIC, RELIGION_CATHOLIC, false, false, true},
        {RELIGION_PROTESTANT, RELIGION_CATHOLIC, false, true, false},
        {RELIGION_PROTESTANT, RELIGION_COUNTERREFORM, true, false, true},
        {RELIGION_REFORMED, RELIGION_CATHOLIC, false, false, false},
        {RELIGION_ORTHODOX, RELIGION_SUNNI, false, true, false},
        {RELIGION_SUNNI, RELIGION_SHIITE, true, true, false},
        {RELIGION_PAGAN, RELIGION_PAGAN, false, true, true},
        {RELIGION_PAGAN, RELIGION_CATHOLIC, true, true, false},
        {RELIGION_ORTHODOX, RELIGION_CATHOLIC, false, false, true},
    };
    g_fantasyMode = 1; // pagans send diplomats anywhere
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.mine << " and " << c.theirs);
        g_globals.eventFlags[4] = c.peace;
        eng.m_religion.stateReligion = c.mine;
        fra.m_religion.stateReligion = c.theirs;
        EXPECT_EQ(eng.IsReligiousEnemyOf(fra), c.enemies);
        EXPECT_EQ(fra.IsReligiousEnemyOf(eng), c.enemies);
        EXPECT_EQ(eng.CanProposeDynasticAlliance(2), c.marriage);
        EXPECT_EQ(fra.CanProposeDynasticAlliance(1), c.marriage);
    }
    // Christians share their faith only before 1615.
    eng.m_religion.stateReligion = fra.m_religion.stateReligion = RELIGION_CATHOLIC;
    EXPECT_TRUE(eng.SharesFaithWith(fra));
    g_gameTimer->currentDate = CDate(1, 0, 1615);
    EXPECT_FALSE(eng.SharesFaithWith(fra));
    eng.m_religion.stateReligion = fra.m_religion.stateReligion = RELIGION_SUNNI;
    EXPECT_TRUE(eng.SharesFaithWith(fra));
}

TEST_F(QueriesTest, ImprovementsNeedTheirTechnologyPriceAndPredecessor) {
    CCountry& eng = Able(1);
    CProvince& province = Own(eng, 4);
    province.tax = 6;
    CCity& city = City(4, 6500.0f);
    eng.m_nationalProvinces.AddTail(4);
    using I = CCity;
    for (int32_t kind : {0, 1, 2, 3})
        EXPECT_TRUE(eng.CanBuildImprovement(4, kind)) << kind;
    EXPECT_FALSE(eng.CanBuildImprovement(4, I::IMPROVEMENT_COURTHOUSE)); // no bailiff yet
    EXPECT_FALSE(eng.CanBuildImprovement(4, 5));
    EXPECT_FALSE(eng.CanBuildImprovement(4, -1));

    struct Case {
        const char* what;
        int32_t kind;
        void (*change)(CCountry&, CProvince&, CCity&);
        bool expected;
    };
    const Case cases[] = {
        {"a courthouse after a bailiff", I::IMPROVEMENT_COURTHOUSE,
         [](CCountry&, CProvince&, CCity& c) { c.improvements[I::IMPROVEMENT_BAILIFF] = 1; }, true},
        {"no second bailiff", I::IMPROVEMENT_BAILIFF,
         [](CCountry&, CProvince&, CCity& c) { c.improvements[I::IMPROVEMENT_BAILIFF] = 1; },
         false},
        {"a shipyard needs naval 16", I::IMPROVEMENT_SHIPYARD,
         [](CCountry& k, CProvince&, CCity&) { k.m_technology.naval.level = 15; }, false},
        {"a shipyard needs a fortress", I::IMPROVEMENT_SHIPYARD,
         [](CCountry&, CProvince&, CCity& c) { c.GetFortress().level = 0.0f; }, false},
        {"a shipyard needs tax 6", I::IMPROVEMENT_SHIPYARD,
         [](CCountry&, CProvince& p, CCity&) { p.tax = 5; }, false},
        {"a barrack only in a national province", I::IMPROVEMENT_BARRACK,
         [](CCountry& k, CProvince&, CCity&) { k.m_nationalProvinces.RemoveAll(); }, false},
        {"a barrack needs land 31", I::IMPROVEMENT_BARRACK,
         [](CCountry& k, CProvince&, CCity&) { k.m_technology.land.level = 30; }, false},
        {"city rights need infrastructure 5", I::IMPROVEMENT_CITYRIGHTS,
         [](CCountry& k, CProvince&, CCity&) { k.m_technology.infra.level = 4; }, false},
        {"the price of a bailiff", I::IMPROVEMENT_BAILIFF,
         [](CCountry& k, CProvince&, CCity&) {
             k.m_treasury = static_cast<float>(k.GetBailiffCost()) - 1.0f;
         },
         false},
        {"exactly the price of a bailiff", I::IMPROVEMENT_BAILIFF,
         [](CCountry& k, CProvince&, CCity&) {
             k.m_treasury = static_cast<float>(k.GetBailiffCost());
         },
         true},
        {"pagans build nothing", I::IMPROVEMENT_BAILIFF,
         [](CCountry& k, CProvince&, CCity&) { k.m_religion.stateReligion = RELIGION_PAGAN; },
         false},
        {"an ordinary unit in the province", I::IMPROVEMENT_BAILIFF,
         [](CCountry&, CProvince&, CCity&) {
             g_units.push_back({5, 0});
         },
         false},
        {"a unit of class 7 does not hold it up", I::IMPROVEMENT_BAILIFF,
         [](CCountry&, CProvince&, CCity&) {
             g_units.push_back({5, 7});
         },
         true},
        {"a colony", I::IMPROVEMENT_BAILIFF,
         [](CCountry&, CProvince&, CCity& c) { c.SetPopulation(500.0f); }, false},
    };
    CCountry& k = Able(9);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        k.m_treasury = 100000.0f;
        k.m_religion.stateReligion = RELIGION_CATHOLIC;
        k.m_technology.land.level = 45;
        k.m_technology.naval.level = 40;
        k.m_technology.infra.level = 10;
        k.m_nationalProvinces.RemoveAll();
        k.m_nationalProvinces.AddTail(5);
        g_units.clear();
        ResetProvince(5);
        CProvince& p = Own(k, 5);
        p.tax = 6;
        CCity& ci = City(5, 6500.0f);
        c.change(k, p, ci);
        EXPECT_EQ(k.CanBuildImprovement(5, c.kind), c.expected);
    }
    (void)city;
}

TEST_F(QueriesTest, FortressLevelsRiseWithTheLandLevel) {
    CCountry& eng = Able(1);
    const std::pair<int32_t, int32_t> levels[] = {{0, 2},  {11, 2}, {12, 3}, {19, 3},
                                                  {20, 4}, {29, 5}, {42, 5}, {43, 6}};
    for (auto [land, most] : levels) {
        eng.m_technology.land.level = land;
        EXPECT_EQ(eng.GetMaxFortressLevel(), most) << land;
    }
    Own(eng, 6);
    CCity& city = City(6, 6500.0f);
    eng.m_technology.land.level = 12;
    city.GetFortress().level = 2.9f;
    EXPECT_TRUE(eng.CanBuildFortress(6));
    city.GetFortress().level = 3.0f;
    EXPECT_FALSE(eng.CanBuildFortress(6));
    city.GetFortress().level = 1.0f;
    city.GetFortress().increase = 1;
    EXPECT_FALSE(eng.CanBuildFortress(6)); // already expanding
    city.GetFortress().increase = 0;
    eng.m_treasury = static_cast<float>(eng.GetFortressCost(6)) - 1.0f;
    EXPECT_FALSE(eng.CanBuildFortress(6));
    EXPECT_EQ(eng.GetFortressCost(7), 0); // no city
}

TEST_F(QueriesTest, ColonistsSettleCoastsAndLandBesideOwnCities) {
    struct Case {
        const char* what;
        bool coastal;
        int32_t neighbourOwner; // -1 none
        float neighbourCity;    // population, 0 none
        float ownCity;          // population in the target, 0 none
        int32_t targetOwner;    // -1 none
        int32_t terrain;
        bool expected;
    };
    const Case cases[] = {
        {"a coast", true, -1, 0.0f, 0.0f, -1, 0, true},
        {"inland without neighbours", false, -1, 0.0f, 0.0f, -1, 0, false},
        {"beside an own city", false, 1, 6500.0f, 0.0f, -1, 0, true},
        {"beside an own colony", false, 1, 500.0f, 0.0f, -1, 0, false},
        {"beside a foreign city", false, 2, 6500.0f, 0.0f, -1, 0, false},
        {"a town of its own grows", true, -1, 0.0f, 3000.0f, 1, 0, true},
        {"a large city is no colony", true, -1, 0.0f, 5000.0f, 1, 0, false},
        {"another owner's land", true, -1, 0.0f, 0.0f, 2, 0, false},
        {"the sea", true, -1, 0.0f, 0.0f, -1, kFirstSeaProvinceType, false},
    };
    CCountry& eng = Able(1);
    CCountry& fra = Able(2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetProvince(7);
        ResetProvince(8);
        CProvince& target = *GetProvince(7);
        target.coastal = c.coastal;
        target.terrain = c.terrain;
        target.AddNeighbour({8});
        target.coastal = c.coastal; // the link may have set it
        if (c.neighbourOwner >= 0)
            Own(c.neighbourOwner == 1 ? eng : fra, 8);
        if (c.neighbourCity > 0.0f)
            City(8, c.neighbourCity);
        if (c.targetOwner >= 0)
            Own(c.targetOwner == 1 ? eng : fra, 7);
        if (c.ownCity > 0.0f)
            City(7, c.ownCity);
        target.discoveredBy[1] = 1;
        EXPECT_EQ(eng.MayPlaceColonist(7), c.expected);
        EXPECT_EQ(eng.CanSendColonist(7), c.expected);
    }
    // Undiscovered, or a colonist already on its way.
    ResetProvince(7);
    GetProvince(7)->coastal = 1;
    EXPECT_FALSE(eng.MayPlaceColonist(7));
    GetProvince(7)->discoveredBy[1] = 1;
    eng.m_colonists = 0.9f;
    EXPECT_TRUE(eng.MayPlaceColonist(7));
    EXPECT_FALSE(eng.CanSendColonist(7));
    GetProvince(7)->GetConstructions().AddOrder(CONSTRUCTION_COLONY, 0, 0, 1, kToday, 7, 2);
    EXPECT_FALSE(eng.MayPlaceColonist(7));
}

TEST_F(QueriesTest, TradingPostsGrowToSixAndNeedAFreeProvince) {
    CCountry& eng = Able(1);
    CCountry& fra = Able(2);
    CProvince& target = *GetProvince(9);
    target.coastal = 1;
    target.discoveredBy[1] = 1;
    EXPECT_TRUE(eng.MayPlaceTradingPost(9));
    EXPECT_TRUE(eng.CanSendTrader(9));
    eng.m_technology.trade.level = 1;
    EXPECT_FALSE(eng.CanSendTrader(9));

    auto post = std::make_unique<CTradingPost>();
    CTradingPost& own = *post;
    target.SetTradingPost(std::move(post));
    Own(eng, 9);
    own.level = 5.0f;
    EXPECT_TRUE(eng.MayPlaceTradingPost(9));
    own.level = 6.0f;
    EXPECT_FALSE(eng.MayPlaceTradingPost(9));
    own.level = 2.0f;
    Own(fra, 9);
    EXPECT_FALSE(eng.MayPlaceTradingPost(9));
    // France's post may be destroyed by an enemy who holds the province.
    target.SetControllerField(&eng);
    EXPECT_FALSE(eng.CanDestroyTradingPost(9));
    eng.SetAtWarWith(2);
    EXPECT_TRUE(eng.CanDestroyTradingPost(9));
    ASSERT_TRUE(g_cotCalc.AddCentreOfTrade(CCotCalc::NewCentreOfTrade(9)));
    EXPECT_FALSE(eng.CanDestroyTradingPost(9));
}

// The senders that take no figures from their caller: nothing when the
// country's check refuses; otherwise the journey leaves with the country's
// own cost and travel time (the host pays and uses up the pool at once).
TEST_F(QueriesTest, SendersWithoutFiguresTakeTheCountrysOwn) {
    CCountry& eng = Able(1);
    Own(eng, 10);
    City(10, 6500.0f);
    ASSERT_TRUE(g_cotCalc.AddCentreOfTrade(CCotCalc::NewCentreOfTrade(10)));
    CCentreOfTrade& centre = *GetProvince(10)->centreOfTrade;
    GetProvince(10)->discoveredBy[1] = 1;
    ASSERT_TRUE(eng.CanSendMerchant(10));

    const float cost = static_cast<float>(eng.GetMerchantCost(10));
    const CDate arrival = kToday.Plus(eng.GetCapitalDistanceSpan(10));
    float treasury = eng.m_treasury;
    eng.SendMerchant(10);
    const CCotMerchant* entry = centre.GetMerchant(1);
    ASSERT_NE(entry, nullptr);
    ASSERT_EQ(entry->extra.size(), 1u);
    EXPECT_EQ(entry->extra[0].arrival, arrival);
    EXPECT_EQ(entry->extra[0].location, 10);
    EXPECT_FLOAT_EQ(treasury - eng.m_treasury, cost);
    EXPECT_FLOAT_EQ(eng.m_merchants, 4.0f);
    // No merchant left, or a province without a centre: nothing leaves.
    eng.m_merchants = 0.5f;
    eng.SendMerchant(10);
    eng.m_merchants = 5.0f;
    eng.SendMerchant(9);
    EXPECT_EQ(entry->extra.size(), 1u);

    // ((trade efficiency + 1) x 10 + stability) x 5 + 3 x ADM: no trade
    // table, no monarch (ADM 3).
    const struct {
        int32_t stability;
        int32_t chance;
    } chances[] = {{3, 74}, {0, 59}, {-3, 44}};
    for (const auto& c : chances) {
        eng.SetStability(c.stability);
        EXPECT_EQ(eng.GetMerchantSuccessChance(), c.chance) << c.stability;
    }

    // A trader: the trader's cost, a colonist used, the order of the
    // province made; refused without the trade level for posts.
    CProvince& target = *GetProvince(9);
    target.coastal = 1;
    target.discoveredBy[1] = 1;
    eng.m_technology.trade.level = 1;
    eng.SendTrader(9);
    EXPECT_EQ(target.GetConstructions().GetCount(), 0u);
    eng.m_technology.trade.level = 10;
    ASSERT_TRUE(eng.CanSendTrader(9));
    treasury = eng.m_treasury;
    const float colonists = eng.m_colonists;
    const float traderCost = std::trunc(eng.GetTraderCost(9));
    eng.SendTrader(9);
    EXPECT_EQ(target.GetConstructions().GetCount(), 1u);
    EXPECT_FLOAT_EQ(colonists - eng.m_colonists, 1.0f);
    EXPECT_FLOAT_EQ(treasury - eng.m_treasury, traderCost);
}

TEST_F(QueriesTest, MerchantsCompeteOnlyInCrowdedCentresByOneRule) {
    CCountry& eng = Able(1);
    Able(2);
    Own(eng, 10);
    City(10, 6500.0f);
    ASSERT_TRUE(g_cotCalc.AddCentreOfTrade(CCotCalc::NewCentreOfTrade(10)));
    CCentreOfTrade& centre = *GetProvince(10)->centreOfTrade;
    GetProvince(10)->discoveredBy[1] = 1;
    struct Case {
        int32_t total;
        float own; // -1: no entry
        float other;
        bool compete;
        bool place;
    };
    const Case cases[] = {
        {20, -1.0f, 6.0f, true, true},  {6, 5.0f, 6.0f, false, true}, {7, 6.0f, 1.0f, true, true},
        {7, 4.0f, 6.0f, false, true},   {10, 5.0f, 6.0f, true, true}, {10, 5.0f, 5.0f, false, true},
        {10, -1.0f, 3.0f, false, true}, {10, 6.0f, 4.0f, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.total << " " << c.own << " " << c.other);
        centre.RemoveMerchant(1);
        if (c.own >= 0.0f) {
            auto entry = std::make_unique<CCotMerchant>();
            entry->country = 1;
            entry->level = c.own;
            centre.SetMerchant(std::move(entry));
        }
        auto entry = std::make_unique<CCotMerchant>();
        entry->country = 2;
        entry->level = c.other;
        centre.SetMerchant(std::move(entry));
        centre.total = c.total;
        EXPECT_EQ(eng.MayCompeteInCentre(10), c.compete);
        EXPECT_EQ(eng.MayPlaceMerchant(10), c.place);
    }
    // Six of its own and no competition: no seventh.
    centre.RemoveMerchant(2);
    auto full = std::make_unique<CCotMerchant>();
    full->country = 1;
    full->level = 6.0f;
    centre.SetMerchant(std::move(full));
    centre.total = 6;
    EXPECT_FALSE(eng.MayPlaceMerchant(10));
    EXPECT_FALSE(eng.CanSendMerchant(10));
    // Five without trade level 3 are refused.
    centre.GetMerchant(1)->level = 5.0f;
    EXPECT_TRUE(eng.CanSendMerchant(10));
    eng.m_technology.trade.level = 2;
    EXPECT_FALSE(eng.MayPlaceMerchant(10));
    eng.m_technology.trade.level = 3;
    // The seat's owner refusing trade closes the centre.
    eng.m_diplomacy.GetRelation(1); // itself: never refused
    Own(*CountryOfNumber(2), 10);
    CountryOfNumber(2)->m_diplomacy.GetRelation(1)->refuseTrade = 1;
    EXPECT_FALSE(eng.MayPlaceMerchant(10));
}

TEST_F(QueriesTest, MoneyChecks) {
    CCountry& eng = Able(1);
    Able(2);
    EXPECT_FALSE(eng.CanLevyWarTax());
    eng.SetAtWarWith(2);
    EXPECT_TRUE(eng.CanLevyWarTax());
    eng.m_warTaxMonths = 1;
    EXPECT_FALSE(eng.CanLevyWarTax());

    EXPECT_TRUE(eng.CanBoostTrade());
    eng.m_treasury = 199.5f;
    EXPECT_FALSE(eng.CanBoostTrade());
    eng.m_treasury = 200.0f;
    CDate later = kToday;
    later.AddDays(1);
    eng.m_technology.naval.date = later;
    EXPECT_FALSE(eng.CanBoostNaval());
    EXPECT_TRUE(eng.CanBoostLand());
    eng.m_technology.naval.date = kToday;
    EXPECT_TRUE(eng.CanBoostNaval());
}

TEST_F(QueriesTest, WarDeclarationsAndAlliances) {
    CCountry& eng = Able(1);
    CCountry& fra = Able(2);
    Able(3);
    DiscoverAll();
    EXPECT_TRUE(eng.CanDeclareWarOn(2));
    for (int64_t n : {0, 1, 96, 97, 98})
        EXPECT_FALSE(eng.CanDeclareWarOn(n)) << n;
    eng.SetStability(-3);
    EXPECT_FALSE(eng.CanDeclareWarOn(2));
    eng.SetStability(-2);
    EXPECT_TRUE(eng.CanDeclareWarOn(2));
    eng.m_diplomacy.GetRelation(2)->warBlocked = 1;
    EXPECT_FALSE(eng.CanDeclareWarOn(2));
    eng.m_diplomacy.GetRelation(2)->warBlocked = 0;

    // A military alliance led by England with France.
    auto alliance = std::make_unique<CAlliance>();
    alliance->Init();
    alliance->type = ALLIANCE_MILITARY;
    alliance->participants = {1, 2};
    CAlliance& own = *alliance;
    g_alliances.push_back(std::move(alliance));
    RebuildDiplomaticStatus();
    EXPECT_FALSE(eng.CanDeclareWarOn(2));
    EXPECT_FALSE(eng.CanInviteToAlliance(3)); // England is in one already
    EXPECT_TRUE(eng.CanInviteIntoAlliance(own, 3));
    EXPECT_FALSE(eng.CanInviteIntoAlliance(own, 2)); // a member
    EXPECT_FALSE(fra.CanInviteIntoAlliance(own, 3)); // not its leader
    EXPECT_TRUE(eng.CanInviteToAnyOwnAlliance(3));
    EXPECT_FALSE(eng.CanJoinAlliance(own));
    EXPECT_TRUE(fra.CanLeaveAlliance(own));
    EXPECT_TRUE(fra.CanPetitionAllianceLeader(1));
    EXPECT_FALSE(fra.CanPetitionAllianceLeader(3));
    own.candidates = {3};
    EXPECT_FALSE(fra.CanLeaveAlliance(own));
    EXPECT_FALSE(fra.CanPetitionAllianceLeader(1));
    own.candidates.clear();
    EXPECT_TRUE(CountryOfNumber(3)->CanJoinAlliance(own));
    CountryOfNumber(3)->SetAtWarWith(2);
    EXPECT_FALSE(CountryOfNumber(3)->CanJoinAlliance(own));
}

// A war side or treaty of the given kind and members.
std::unique_ptr<CAlliance> Treaty(uint32_t type, std::vector<uint32_t> members) {
    auto alliance = std::make_unique<CAlliance>();
    alliance->Init();
    alliance->id = NewTreatyId();
    alliance->type = type;
    alliance->participants = std::move(members);
    return alliance;
}

TEST_F(QueriesTest, PeaceOffersWarScoresAndCallsToWar) {
    CCountry& eng = Able(1);
    CCountry& fra = Able(2);
    Able(3);
    DiscoverAll();
    auto war = std::make_unique<CWar>();
    war->id = NewTreatyId();
    war->attackers = Treaty(ALLIANCE_WAR_SIDE, {1});
    war->defenders = Treaty(ALLIANCE_WAR_SIDE, {2});
    const ObjectId warId = war->id;
    g_wars.push_back(std::move(war));
    RebuildDiplomaticStatus();
    eng.m_diplomacy.UpdateAtWarFlag();
    fra.m_diplomacy.UpdateAtWarFlag();
    ASSERT_TRUE(eng.IsAtWar());

    EXPECT_TRUE(eng.EvaluatePeaceWith(2));
    EXPECT_TRUE(fra.EvaluatePeaceWith(1));
    EXPECT_FALSE(eng.EvaluatePeaceWith(3)); // no war with it
    EXPECT_TRUE(eng.MayOfferPeaceTo(2));
    auto offer = std::make_unique<CPeaceOffer>();
    offer->from = 1;
    offer->to = 2;
    offer->war = warId;
    g_peaceOffers.push_back(std::move(offer));
    EXPECT_FALSE(eng.MayOfferPeaceTo(2));
    EXPECT_TRUE(fra.MayOfferPeaceTo(1));
    EXPECT_FALSE(eng.EvaluatePeaceWith(2));
    EXPECT_FALSE(fra.EvaluatePeaceWith(1)); // either way round

    // Asking a third country in: not while it is allied to the enemy.
    EXPECT_TRUE(eng.CanAskToJoinWar(warId, 3));
    EXPECT_FALSE(eng.CanAskToJoinWar(warId, 2));
    EXPECT_FALSE(eng.CanAskToJoinWar(NewTreatyId(), 3));
    g_alliances.push_back(Treaty(ALLIANCE_DYNASTIC, {2, 3}));
    RebuildDiplomaticStatus();
    EXPECT_FALSE(eng.CanAskToJoinWar(warId, 3));

    // Annexation: the option, the side's lead and a score of 7 (England
    // holds France's capital and France holds no city).
    EXPECT_FALSE(eng.CanDemandAnnexation(2));
    g_config->SetWord(ConfigOffset::kConquerCapitals, 1);
    EXPECT_FALSE(eng.CanDemandAnnexation(2));
    GetProvince(12)->SetOwner(&fra);
    GetProvince(12)->SetControllerField(&eng);
    EXPECT_TRUE(eng.CanDemandAnnexation(2));
    fra.m_major = 1;
    EXPECT_FALSE(eng.CanDemandAnnexation(2));

    // Conversion: a counter-reformed country of a protestant one.
    eng.m_religion.stateReligion = RELIGION_COUNTERREFORM;
    fra.m_religion.stateReligion = RELIGION_PROTESTANT;
    EXPECT_TRUE(eng.CanDemandConversion(2));
    fra.m_religion.stateReligion = RELIGION_ORTHODOX;
    EXPECT_FALSE(eng.CanDemandConversion(2));
    EXPECT_FALSE(fra.CanDemandConversion(1)); // its score is -7
}

TEST_F(QueriesTest, VassalsAreOfferedAndAnnexedOnTheirTerms) {
    CCountry& eng = Able(1);
    CCountry& fra = Able(2);
    DiscoverAll();
    eng.m_figures.totalIncome = 10;
    fra.m_figures.totalIncome = 5;
    eng.m_diplomacy.GetRelation(2)->SetValue(195.0f);
    EXPECT_FALSE(eng.CanOfferVassalization(2)); // no dynastic alliance
    g_alliances.push_back(Treaty(ALLIANCE_DYNASTIC, {1, 2}));
    RebuildDiplomaticStatus();
    EXPECT_TRUE(eng.CanOfferVassalization(2));
    EXPECT_FALSE(eng.CanProposeDynasticAlliance(2)); // one exists
    eng.m_diplomacy.GetRelation(2)->SetValue(189.0f);
    EXPECT_FALSE(eng.CanOfferVassalization(2));
    eng.m_diplomacy.GetRelation(2)->SetValue(190.0f);
    fra.m_figures.totalIncome = 11;
    EXPECT_FALSE(eng.CanOfferVassalization(2));
    fra.m_figures.totalIncome = 5;

    // Ten years a vassal, a neighbour, and then it may be annexed.
    auto vassalization = Treaty(ALLIANCE_VASSALIZATION, {1, 2});
    CAlliance& bond = *vassalization;
    g_alliances.push_back(std::move(vassalization));
    RebuildDiplomaticStatus();
    EXPECT_FALSE(eng.CanOfferVassalization(2)); // a vassal already
    bond.startDate = MonthsAgo(120);
    EXPECT_FALSE(eng.CanAnnexVassal(2)); // no common border
    eng.m_figures.neighbour[2] = 1;
    EXPECT_TRUE(eng.CanAnnexVassal(2));
    EXPECT_FALSE(fra.CanAnnexVassal(1));
    bond.startDate = MonthsAgo(119);
    EXPECT_FALSE(eng.CanAnnexVassal(2));
}

TEST_F(QueriesTest, TheDemarcationTreatyKeepsSpainAndPortugalApart) {
    CCountry& spa = Able(8);
    Able(9);
    Able(3);
    Able(2);
    DiscoverAll();
    // The zones: the ranges, and a coast beside them.
    EXPECT_TRUE(GetProvince(6)->IsInSpanishZone());
    EXPECT_TRUE(GetProvince(216)->IsInSpanishZone());
    EXPECT_FALSE(GetProvince(216)->IsInPortugueseZone());
    CProvince& coast = *GetProvince(5);
    coast.AddNeighbour({216});
    coast.coastal = 0;
    EXPECT_FALSE(coast.IsInSpanishZone());
    coast.coastal = 1;
    EXPECT_TRUE(coast.IsInSpanishZone());
    EXPECT_FALSE(coast.IsInPortugueseZone());
    ResetProvince(5);

    struct Case {
        const char* what;
        int32_t province;
        int32_t owner; // -1 none
        uint32_t ownerReligion;
        std::vector<uint32_t> flags;
        bool allied;
        bool enter;
        bool barred;
    };
    const Case cases[] = {
        {"unowned land in the zone", 6, -1, 0, {0}, false, true, true},
        {"unowned land outside it", 3, -1, 0, {0}, false, true, false},
        {"a catholic's land in the zone", 6, 9, RELIGION_CATHOLIC, {0}, false, true, true},
        {"a protestant's land in the zone", 6, 9, RELIGION_PROTESTANT, {0}, false, false, false},
        {"an ally's land", 6, 9, RELIGION_CATHOLIC, {0}, true, false, false},
        {"the treaty ended", 6, 9, RELIGION_CATHOLIC, {0, 4}, false, false, false},
        {"no treaty yet", 6, 9, RELIGION_COUNTERREFORM, {}, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_alliances.clear();
        if (c.allied)
            g_alliances.push_back(Treaty(ALLIANCE_MILITARY, {8, 9}));
        RebuildDiplomaticStatus();
        g_globals.eventFlags.fill(false);
        for (uint32_t flag : c.flags)
            g_globals.eventFlags[flag] = true;
        ResetProvince(c.province);
        if (c.owner >= 0)
            Own(*CountryOfNumber(c.owner), c.province);
        CountryOfNumber(9)->m_religion.stateReligion = c.ownerReligion;
        EXPECT_EQ(spa.MayEnterProvince(c.province), c.enter);
        EXPECT_EQ(spa.IsBarredByDemarcationTreaty(c.province), c.barred);
    }

    // Outside the treaty: own land, enemies' land, and the empire's land for
    // an emperor at war.
    g_alliances.clear();
    g_globals.eventFlags.fill(false);
    ResetProvince(4);
    Own(*CountryOfNumber(3), 4);
    EXPECT_FALSE(spa.MayEnterProvince(4));
    const uint32_t emperor = g_globals.emperor;
    g_globals.emperor = 8;
    EXPECT_FALSE(spa.MayEnterProvince(4));
    spa.SetAtWarWith(2);
    EXPECT_TRUE(spa.MayEnterProvince(4));
    g_globals.emperor = emperor;
    EXPECT_FALSE(spa.MayEnterProvince(4));
    spa.SetAtWarWith(3);
    EXPECT_TRUE(spa.MayEnterProvince(4));
    EXPECT_FALSE(spa.MayEnterProvince(0));
    EXPECT_FALSE(spa.MayEnterProvince(1473));
}

TEST_F(QueriesTest, ChecksChangeNothing) {
    CCountry& eng = Able(1);
    CCountry& fra = Able(2);
    DiscoverAll();
    Own(eng, 1).tax = 6;
    City(1, 6500.0f);
    Own(fra, 2).tax = 4;
    City(2, 3000.0f);
    GetProvince(9)->coastal = 1;
    ASSERT_TRUE(g_cotCalc.AddCentreOfTrade(CCotCalc::NewCentreOfTrade(1)));
    GetProvince(2)->centreOfTrade = GetProvince(1)->centreOfTrade;
    g_alliances.push_back(Treaty(ALLIANCE_MILITARY, {1, 2}));
    RebuildDiplomaticStatus();
    eng.m_warDates[2] = MonthsAgo(10);

    auto snapshot = [&] {
        std::string all = Print(eng.Write()) + Print(fra.Write());
        for (int32_t id : kUsedProvinces)
            all += Print(GetProvince(id)->Write());
        all += Print(g_cotCalc.GetSlot(0)->Write());
        all += Print(g_alliances.front()->Write());
        return all;
    };
    const std::string before = snapshot();
    for (const CCountry* country : {&eng, &fra}) {
        for (int32_t id : kUsedProvinces) {
            ProvinceChecks(*country, id);
            country->MayEnterProvince(id);
            country->IsBarredByDemarcationTreaty(id);
            country->GetRecruitableShips(id);
            for (int32_t kind = 0; kind <= 5; ++kind) {
                country->CanBuildImprovement(id, kind);
                country->CanBuildFacility(id, kind);
            }
        }
        for (int64_t n : {0, 1, 2, 3, 97, 99}) {
            country->CanSendDiplomat(n);
            country->CanDeclareWarOn(n);
            country->CanRefuseTrade(n);
            country->CanAllowTrade(n);
            country->CanProposeDynasticAlliance(n);
            country->CanOfferVassalization(n);
            country->CanAnnexVassal(n);
            country->CanInviteToAlliance(n);
            country->CanInviteToAnyOwnAlliance(n);
            country->CanCallAllyToArms(*g_alliances.front(), n);
            country->CanPetitionAllianceLeader(n);
            country->EvaluatePeaceWith(n);
            country->CanDemandAnnexation(n);
            country->CanDemandConversion(n);
        }
        country->CanJoinAlliance(*g_alliances.front());
        country->CanLeaveAlliance(*g_alliances.front());
        country->CanTakeLoan();
        country->CanLevyWarTax();
        country->CanBoostStability();
    }
    EXPECT_EQ(snapshot(), before);
}

} // namespace
