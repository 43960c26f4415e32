// The country's month: the budget shares' priority, the growth of the
// cities (and the colony that dies out), the upkeep of the forces with the
// kept counts and their losses, the investment of the month's income, and
// the monthly update's order of steps.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "country/Alliance.h"
#include "country/MonthlyUpdate.h"
#include "net/EventTypes.h"
#include "tests/TestSupport.h"
#include "tests/country/EconomyFixture.h"
#include "world/City.h"
#include "world/GameNotices.h"
#include "world/Globals.h"
#include "world/Province.h"

namespace {

constexpr int32_t kFirstProvince = 600;
constexpr int32_t kProvinces = 8;

struct Notice {
    uint32_t kind;
    uint32_t country;
    std::string name;
    int32_t province;
};
std::vector<Notice> g_notices;

class MonthlyEconomyTest : public test::EconomyTest {
protected:
    void SetUp() override {
        EconomyTest::SetUp();
        m_hooks = g_countryMonth;
        g_countryMonth = CountryMonthHooks();
        m_notices = g_gameNotices;
        g_gameNotices.post = [](const GameNotice& notice) {
            g_notices.push_back({static_cast<uint32_t>(notice.type), notice.country,
                                 notice.values.empty() ? "" : notice.values[0].text,
                                 notice.linkProvince});
        };
        g_notices.clear();
        ResetProvinces();
    }
    void TearDown() override {
        ResetProvinces();
        g_alliances.clear();
        g_countryMonth = m_hooks;
        g_gameNotices = m_notices;
        EconomyTest::TearDown();
    }

    static void ResetProvinces() {
        for (int32_t id = kFirstProvince; id < kFirstProvince + kProvinces; ++id) {
            CProvince& province = *GetProvince(id);
            province.ResetForGame();
            province.name = "Province " + std::to_string(id);
            province.tax = 0;
            province.natives = province.maxNatives = 0;
            province.climate = province.continent = province.terrain = 0;
            province.manpower = 0;
        }
    }

    // A city of the population in the province, owned and controlled by the
    // country and on its city list.
    static CCity* PlaceCity(CCountry& country, int32_t id, float population, int32_t tax = 0) {
        CProvince& province = *GetProvince(id);
        province.SetOwner(&country);
        province.SetControllerField(&country);
        province.tax = tax;
        auto city = std::make_unique<CCity>();
        city->SetProvinceId(id);
        city->SetPopulation(population);
        CCity* placed = city.get();
        province.SetCity(std::move(city));
        country.m_cities.AddTail(placed);
        return placed;
    }

    // A province whose city shrinks: stability -3 and catholic (so the
    // distant lands count against it), looted, in climate 4 on continent 5.
    // Score: -3 + 4 + 5 (not a large city) - 5 (looted) = 1; the penalty
    // -1 (climate) - 2 (continent) = -3; score -2, growth -2/12.
    static void MakeShrinking(CCountry& country, int32_t id) {
        country.SetStability(-3);
        country.m_religion.stateReligion = 3;
        CProvince& province = *GetProvince(id);
        province.looted = 1;
        province.climate = 4;
        province.continent = 5;
    }

    CountryMonthHooks m_hooks;
    GameNoticeHooks m_notices;
};

TEST_F(MonthlyEconomyTest, BudgetSharesKeepTheirPriority) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float naval, land, stability, trade, infra;
        float wantNaval, wantLand, wantStability, wantTrade, wantInfra, wantTreasury;
    };
    const Case cases[] = {
        // Naval 0.7 leaves 0.3 for land; nothing for the rest.
        {0.7f, 0.5f, 0.2f, 0.1f, 0.1f, 0.7f, 0.3f, 0.0f, 0.0f, 0.0f, 0.0f},
        // Too much naval is cut to 1.
        {1.5f, 0.2f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
        // Stability comes before trade and infrastructure.
        {0.2f, 0.2f, 0.5f, 0.3f, 0.3f, 0.2f, 0.2f, 0.5f, 0.1f, 0.0f, 0.0f},
        // Room left goes to the treasury.
        {0.2f, 0.2f, 0.0f, 0.2f, 0.2f, 0.2f, 0.2f, 0.0f, 0.2f, 0.2f, 0.2f},
        // Below 0 and not a number count as nothing.
        {-0.3f, nan, 0.1f, 0.0f, 0.0f, 0.0f, 0.0f, 0.1f, 0.0f, 0.0f, 0.9f},
    };
    CCountry& country = Make(1);
    for (const Case& c : cases) {
        country.m_navalShare = c.naval;
        country.m_landShare = c.land;
        country.m_stabilityShare = c.stability;
        country.m_teShare = c.trade;
        country.m_peShare = c.infra;
        country.m_treasuryShare = 0.5f;
        country.NormaliseBudgetShares();
        SCOPED_TRACE(testing::Message() << c.naval << " " << c.land << " " << c.stability);
        EXPECT_NEAR(country.m_navalShare, c.wantNaval, 1e-6f);
        EXPECT_NEAR(country.m_landShare, c.wantLand, 1e-6f);
        EXPECT_NEAR(country.m_stabilityShare, c.wantStability, 1e-6f);
        EXPECT_NEAR(country.m_teShare, c.wantTrade, 1e-6f);
        EXPECT_NEAR(country.m_peShare, c.wantInfra, 1e-6f);
        EXPECT_NEAR(country.m_treasuryShare, c.wantTreasury, 1e-6f);
    }
}

TEST_F(MonthlyEconomyTest, CitiesGrowByTheirScore) {
    // Country 1: stability 3, pagan (no penalty): a city that is not large
    // scores 3 + 4 + 5 = 12, growth 1 a month; a large one 7, growth 7/12.
    CCountry& growing = Make(1);
    growing.SetStability(3);
    // Country 2: the shrinking settings, growth -2/12.
    CCountry& shrinking = Make(2);
    struct Case {
        CCountry* country;
        float population;
        int32_t tax;
        int32_t natives;
        float want;
        int32_t wantNatives;
    };
    const Case cases[] = {
        // 100 x 1.001 = 100.1: the delta truncates to 0, below the growth 1,
        // so the city grows by the growth itself.
        {&growing, 100.0f, 0, 0, 101.0f, 0},
        // 2000 x 1.001 = 2002: the delta 2 is not below 1.
        {&growing, 2000.0f, 0, 0, 2002.0f, 0},
        // 500000 x (7/12 x 0.001) = 291.7 is more than tax 5 + 200.
        {&growing, 500000.0f, 5, 0, 500205.0f, 0},
        // 600 grows to 601, above 600: two natives' levels join, 200 more.
        {&growing, 600.0f, 0, 2, 801.0f, 0},
        // 595 grows to 596: the natives stay.
        {&growing, 595.0f, 0, 2, 596.0f, 2},
        // A city of 700 that shrinks to 699.88 is held at 700.
        {&shrinking, 700.0f, 0, 0, 700.0f, 0},
        // A colony shrinks: 650 x (1 - 2/12000) = 649.89.
        {&shrinking, 650.0f, 0, 0, 650.0f * (1.0f - 2.0f / 12000.0f), 0},
    };
    std::vector<CCity*> cities;
    int32_t id = kFirstProvince;
    for (const Case& c : cases) {
        cities.push_back(PlaceCity(*c.country, id, c.population, c.tax));
        GetProvince(id)->maxNatives = 5;
        GetProvince(id)->natives = c.natives;
        if (c.country == &shrinking)
            MakeShrinking(shrinking, id);
        ++id;
    }
    growing.m_manpowerReference = shrinking.m_manpowerReference = 100.0f;
    growing.m_manpower = shrinking.m_manpower = 0.0f;
    growing.UpdateCities();
    shrinking.UpdateCities();
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(cities[i]->GetPopulation(), cases[i].want, 0.01f);
        EXPECT_EQ(GetProvince(kFirstProvince + static_cast<int32_t>(i))->natives,
                  cases[i].wantNatives);
    }
    // Colonies counted before the growth: 100, 600, 595; 650.
    EXPECT_EQ(growing.m_figures.colonies, 3);
    EXPECT_EQ(shrinking.m_figures.colonies, 1);
    // No city yields manpower here: each still gains 1.
    EXPECT_FLOAT_EQ(growing.m_manpower, 1.0f);
    EXPECT_FLOAT_EQ(shrinking.m_manpower, 1.0f);
}

TEST_F(MonthlyEconomyTest, AColonyThatDiesOutLeavesItsProvinceAndTheNextCityStillGrows) {
    CCountry& country = Make(2);
    g_countryController[2] = 1; // the player here hears of it
    // 10 x (1 - 2/12000) = 9.998: below 10, and no centre of trade.
    // Its natives would have the dead city read after the province deleted
    // it.
    CCity* dying = PlaceCity(country, kFirstProvince, 10.0f);
    MakeShrinking(country, kFirstProvince);
    GetProvince(kFirstProvince)->maxNatives = 5;
    GetProvince(kFirstProvince)->natives = 3;
    CCity* next = PlaceCity(country, kFirstProvince + 1, 700.0f);
    MakeShrinking(country, kFirstProvince + 1);
    GetProvince(kFirstProvince + 1)->looted = 0; // score 3: growth 0.25
    (void)dying;

    country.UpdateCities();

    const CProvince& empty = *GetProvince(kFirstProvince);
    EXPECT_EQ(empty.GetCity(), nullptr);
    EXPECT_EQ(empty.GetOwnerNumber(), -1);
    EXPECT_EQ(empty.GetControllerNumber(), -1);
    EXPECT_FALSE(country.m_ownedProvinces.Contains(kFirstProvince));
    EXPECT_FALSE(country.m_controlledProvinces.Contains(kFirstProvince));
    EXPECT_EQ(empty.natives, 3);
    EXPECT_EQ(country.m_cities.GetCount(), 1u);
    ASSERT_EQ(g_notices.size(), 1u);
    EXPECT_EQ(g_notices[0].kind, kNoticeColonyDied);
    EXPECT_EQ(g_notices[0].country, 2u);
    EXPECT_EQ(g_notices[0].name, "Province 600");
    EXPECT_EQ(g_notices[0].province, kFirstProvince);
    // 700 x (1 + 0.25 x 0.001) = 700.175.
    EXPECT_NEAR(next->GetPopulation(), 700.175f, 0.001f);
}

TEST_F(MonthlyEconomyTest, UpkeepFollowsCountsPricesWarAndSize) {
    CCountry& country = Make(1);
    country.m_major = 1;
    country.m_keptUnits = {10000, 2000, 30, 4, 5, 6};
    EXPECT_EQ(country.GetInfantryCount(), 10000);
    EXPECT_EQ(country.GetTransportCount(), 6);
    const float price = static_cast<float>(country.GetInfantryPrice());
    // count x price x 0.001 / 240 for infantry; artillery x 0.01; ships x 1.
    EXPECT_NEAR(country.GetInfantryUpkeep(), 10000.0f * price * 0.001f / 240.0f, 1e-4f);
    EXPECT_NEAR(country.GetArtilleryUpkeep(),
                30.0f * static_cast<float>(country.GetArtilleryPrice()) * 0.01f / 240.0f, 1e-4f);
    EXPECT_NEAR(country.GetGalleyUpkeep(),
                5.0f * static_cast<float>(country.GetGalleyPrice()) / 240.0f, 1e-4f);
    country.m_landMaintenance = 0.5f;
    EXPECT_NEAR(country.GetInfantryUpkeep(), 10000.0f * price * 0.001f * 0.5f / 240.0f, 1e-4f);
    country.m_major = 0;
    EXPECT_NEAR(country.GetInfantryUpkeep(), 10000.0f * price * 0.001f * 0.05f / 240.0f, 1e-5f);

    // Losses take the truncated amount off the kept count, never below 0,
    // and add the whole amount to the cause's record.
    country.RecordInfantryLoss(2500.7f, CCountry::LOSS_COMBAT);
    country.RecordWarshipLoss(9.0f, CCountry::LOSS_ATTRITION);
    country.RecordTransportLoss(1.5f, CCountry::LOSS_DISBAND);
    country.RecordCavalryLoss(3.0f, 7); // no record of that cause
    EXPECT_EQ(country.m_keptUnits[CCountry::UNIT_INFANTRY], 7500);
    EXPECT_EQ(country.m_keptUnits[CCountry::UNIT_WARSHIPS], 0);
    EXPECT_EQ(country.m_keptUnits[CCountry::UNIT_TRANSPORTS], 5);
    EXPECT_EQ(country.m_keptUnits[CCountry::UNIT_CAVALRY], 1997);
    EXPECT_FLOAT_EQ(country.m_combatLosses.infantry, 2500.7f);
    EXPECT_FLOAT_EQ(country.m_attritionLosses.warships, 9.0f);
    EXPECT_FLOAT_EQ(country.m_disbandLosses.transports, 1.5f);
}

TEST_F(MonthlyEconomyTest, UpkeepTheTreasuryCannotPayComesFromTheMonthsIncome) {
    CCountry& country = Make(1);
    country.m_major = 1;
    country.m_keptUnits = {0, 0, 0, 2400, 0, 0};
    const float upkeep = country.GetWarshipUpkeep(); // 2400 x price / 240
    ASSERT_GT(upkeep, 2.0f);
    country.m_treasury = 1.0f;
    country.m_income = 100000.0f;
    country.PayMonthlyUpkeep();
    EXPECT_FLOAT_EQ(country.m_treasury, 0.0f);
    EXPECT_NEAR(country.m_income, 100000.0f - (upkeep - 1.0f), 0.01f);
    EXPECT_FLOAT_EQ(country.m_ledger.thisMonthExpense[EXPENSE_FLEET_MAINTENANCE], upkeep);
}

TEST_F(MonthlyEconomyTest, IncomeBuysResearchOrGoesToTheTreasury) {
    // No level tables: no track can advance, and stability stands at +3:
    // every share's money goes to the treasury and the shares drop to 0.
    g_techGroupCounts.fill(0); // no catch-up
    CCountry& capped = Make(1);
    capped.m_income = 100.0f;
    capped.m_treasury = 5.0f;
    capped.DistributeMonthlyIncome();
    EXPECT_NEAR(capped.m_treasury, 105.0f, 1e-4f);
    EXPECT_FLOAT_EQ(capped.m_income, 0.0f);
    EXPECT_FLOAT_EQ(capped.m_navalShare, 0.0f);
    EXPECT_FLOAT_EQ(capped.m_landShare, 0.0f);
    EXPECT_FLOAT_EQ(capped.m_teShare, 0.0f);
    EXPECT_FLOAT_EQ(capped.m_peShare, 0.0f);
    EXPECT_FLOAT_EQ(capped.m_treasuryShare, 1.0f);

    // A land table of three levels, the second costing 10: 0.2 x 100 + the
    // bonus 3 (the MIL of a country without a monarch) buys it, 13 stays.
    std::vector<CTechRow> rows(3);
    rows[1].stepCost = 10;
    rows[2].stepCost = 1000;
    for (CTechRow& row : rows)
        row.year = 9999;
    g_landTechTable.SetRows(rows);
    CCountry& researching = Make(2);
    researching.m_income = 100.0f;
    researching.m_treasury = 0.0f;
    researching.DistributeMonthlyIncome();
    EXPECT_EQ(researching.GetLandTech().GetLevel(), 1);
    EXPECT_EQ(researching.GetLandTech().GetValue(), 13);
    EXPECT_FLOAT_EQ(researching.m_landShare, 0.2f);
    // Naval, trade and infrastructure (0.2 each) and the treasury's 0.2.
    EXPECT_NEAR(researching.m_treasury, 80.0f, 1e-4f);
}

TEST_F(MonthlyEconomyTest, AVassalGivesHalfItsTaxToItsOverlord) {
    CCountry& overlord = Make(1);
    CCountry& vassal = Make(2);
    auto alliance = std::make_unique<CAlliance>();
    alliance->type = ALLIANCE_VASSALIZATION;
    alliance->participants = {1, 2};
    g_alliances.push_back(std::move(alliance));
    // A city taxed 6 a year: 0.5 a month, doubled while the war tax runs.
    PlaceCity(vassal, kFirstProvince, 2000.0f, 6);
    vassal.m_warTaxMonths = 2;
    vassal.MonthTax();
    EXPECT_NEAR(vassal.m_monthTax, 1.0f, 1e-6f);
    vassal.MonthVassalTribute();
    vassal.MonthBookTax();
    EXPECT_NEAR(vassal.m_ledger.thisMonthIncome[INCOME_TAX], 0.5f, 1e-6f);
    EXPECT_NEAR(overlord.m_ledger.thisMonthIncome[INCOME_TAX], 0.5f, 1e-6f);
    EXPECT_EQ(vassal.m_warTaxMonths, 1);
}

TEST_F(MonthlyEconomyTest, TheAztecsAndIncasLoseTheirTechnologyOutsideTheFantasySetting) {
    std::vector<CTechRow> rows(6);
    for (CTechTable* table :
         {&g_landTechTable, &g_navalTechTable, &g_infraTechTable, &g_tradeTechTable})
        table->SetRows(rows);
    for (uint32_t number : {65u, 66u, 67u}) {
        CCountry& country = Make(number);
        for (Technology* track : {&country.GetLandTech(), &country.GetNavalTech(),
                                  &country.GetInfraTech(), &country.GetTradeTech()})
            track->SetLevel(4);
        country.MonthTechnologyFreeze();
        const int32_t want = number == 67 ? 4 : 0;
        EXPECT_EQ(country.GetLandTech().GetLevel(), want) << number;
        EXPECT_EQ(country.GetNavalTech().GetLevel(), want) << number;
        EXPECT_EQ(country.GetInfraTech().GetLevel(), want) << number;
        EXPECT_EQ(country.GetTradeTech().GetLevel(), want) << number;
    }
    g_fantasyMode = 1;
    CCountry& incas = *CountryOfNumber(66);
    incas.GetLandTech().SetLevel(4);
    incas.MonthTechnologyFreeze();
    EXPECT_EQ(incas.GetLandTech().GetLevel(), 4);
}

// Three small countries through a year of months, each figure worked out
// by hand below.
//
// Each country owns one town (2000 people) and stands alone in its
// technology group (no catch-up); no monarch, so MIL and ADM are 3 and the
// research bonus of every track is 3 (+ 5 per research modifier). The land
// table's second level costs 20, the infrastructure's 30 (their third
// 10000); naval and trade have no levels, so their shares go to the
// treasury. The tax table gives +30% at stability 3, 0% at 0, -10% at -1.
//
// A (1): tax 12, stability 3: truncate(12 x 1.3) = 15 a year, 1.25 a month.
//   Shares: land 0.5, treasury 0.5; land research modifier 1 (bonus 8).
//   Land: truncate(8 + 0.625) = 8 a month: 24 >= 20 in month 3 (4 left),
//   then 9 x 8 more: 76. Infrastructure: 3 a month: 30 in month 10, then 6.
//   Treasury: 100 + 12 x 0.5 x 1.25 = 107.5. Inflation 12 x 0.5 / 1200.
// B (2): tax 24, stability 0: 24 a year, 2 a month; the treasury takes all.
//   C's tribute is booked after B's month, so it is spent a month later:
//   treasury 100 + 2 + 11 x (2 + 0.2083333) = 126.2916667; the last
//   tribute is still this month's income. Land: 3 a month, level in month
//   7, then 15. Stability: 3 a month toward 60 (one town of another
//   religion): 36, no level. Inflation 12 x 1 / 1200 = 0.01.
// C (3), vassal of B: tax 6, stability -1: truncate(5.4) = 5 a year,
//   0.4166667 a month, half of it (0.2083333) to B. Shares: naval, land,
//   trade, infrastructure 0.25 each. Month 1: naval and trade pay
//   2 x 0.25 x 0.2083333 into the treasury and drop to 0; the shares are
//   normalised: land 0.25, infrastructure 0.25, treasury 0.5. Months 2-12:
//   0.5 x 0.2083333 to the treasury: 100 + 12 x 0.1041667 = 101.25.
//   Inflation: 0.5 / 1200 in each month (the share after normalising) =
//   0.005.
// Loan interest after the year: 10 - stability - truncate(treasury) x
// 0.001, truncated: A 10 - 3 - 0.107 = 6, less 3 for country 1, at least 5:
// 5; B 10 - 0.126 = 9; C 10 + 1 - 0.101 = 10.
class MonthlyTableTest : public MonthlyEconomyTest {
protected:
    test::ScopedGameDir m_dir;
};

TEST_F(MonthlyTableTest, ThreeCountriesThroughAYear) {
    m_dir.WriteFile("db/tax_stab.csv",
                    "level;tax\r\n-3;-30\r\n-2;-20\r\n-1;-10\r\n0;0\r\n1;10\r\n2;20\r\n3;30\r\n");
    ASSERT_TRUE(LoadStabilityTable());
    g_techGroupCounts.fill(0);
    std::vector<CTechRow> rows(3);
    for (CTechRow& row : rows)
        row.year = 9999;
    rows[1].stepCost = 20;
    rows[2].stepCost = 10000;
    g_landTechTable.SetRows(rows);
    rows[1].stepCost = 30;
    g_infraTechTable.SetRows(rows);

    struct Setup {
        uint32_t number;
        int32_t tax;
        int32_t stability;
        uint32_t group;
        float naval, land, trade, infra, treasury;
        int32_t landModifier;
    };
    const Setup setups[] = {{1, 12, 3, 0, 0.0f, 0.5f, 0.0f, 0.0f, 0.5f, 1},
                            {2, 24, 0, 1, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0},
                            {3, 6, -1, 2, 0.25f, 0.25f, 0.25f, 0.25f, 0.0f, 0}};
    std::vector<CCountry*> countries;
    int32_t province = kFirstProvince;
    for (const Setup& s : setups) {
        CCountry& country = Make(s.number);
        country.m_major = 1;
        country.m_treasury = 100.0f;
        country.m_inflation = 0.0f;
        country.SetStability(s.stability);
        country.m_technology.group = s.group;
        country.m_navalShare = s.naval;
        country.m_landShare = s.land;
        country.m_teShare = s.trade;
        country.m_peShare = s.infra;
        country.m_stabilityShare = 0.0f;
        country.m_treasuryShare = s.treasury;
        country.m_researchModifiers[TECH_LAND] = s.landModifier;
        PlaceCity(country, province++, 2000.0f, s.tax);
        countries.push_back(&country);
    }
    auto vassalization = std::make_unique<CAlliance>();
    vassalization->type = ALLIANCE_VASSALIZATION;
    vassalization->participants = {2, 3};
    g_alliances.push_back(std::move(vassalization));

    std::array<int32_t, 3> landMonth{};
    std::array<int32_t, 3> infraMonth{};
    for (int32_t month = 1; month <= 12; ++month) {
        CDate today = g_gameTimer->GetDate();
        today.AddMonths(1);
        g_gameTimer->currentDate = today;
        for (size_t i = 0; i < countries.size(); ++i) {
            CCountry& country = *countries[i];
            const int32_t land = country.GetLandTech().GetLevel();
            const int32_t infra = country.GetInfraTech().GetLevel();
            COVTimerEvent event(EVT_TIMER_MONTH, country.GetId(), today);
            EXPECT_EQ(country.HandleMessage(event), EVENT_NOT_HANDLED);
            if (country.GetLandTech().GetLevel() > land)
                landMonth[i] = month;
            if (country.GetInfraTech().GetLevel() > infra)
                infraMonth[i] = month;
        }
    }
    for (CCountry* country : countries) {
        COVTimerEvent event(EVT_TIMER_YEAR, country->GetId(), g_gameTimer->GetDate());
        country->HandleMessage(event);
    }

    struct Want {
        float treasury, income, yearTax, lastMonthTax, monthlyTaxIncome, inflation;
        int32_t landMonth, landValue, infraMonth, infraValue, stabilityValue;
        float landShare, infraShare, navalShare, treasuryShare;
        int32_t interest;
    };
    const float tribute = 0.2083333f;
    const Want wants[] = {
        {107.5f, 0.0f, 15.0f, 1.25f, 1.25f, 0.005f, 3, 76, 10, 6, 0, 0.5f, 0.0f, 0.0f, 0.5f, 5},
        {126.2916667f, tribute, 24.0f + 12.0f * tribute, 2.0f + tribute, 2.0f + tribute, 0.01f, 7,
         16, 10, 6, 36, 0.0f, 0.0f, 0.0f, 1.0f, 9},
        {101.25f, 0.0f, tribute * 12.0f, tribute, tribute, 0.005f, 7, 16, 10, 6, 36, 0.25f, 0.25f,
         0.0f, 0.5f, 10},
    };
    for (size_t i = 0; i < countries.size(); ++i) {
        const CCountry& country = *countries[i];
        const Want& want = wants[i];
        SCOPED_TRACE(country.GetNumber());
        EXPECT_NEAR(country.m_treasury, want.treasury, 1e-3f);
        EXPECT_NEAR(country.m_income, want.income, 1e-5f);
        EXPECT_NEAR(country.m_ledger.thisYearIncome[INCOME_TAX], want.yearTax, 1e-4f);
        EXPECT_NEAR(country.m_ledger.lastMonthIncome[INCOME_TAX], want.lastMonthTax, 1e-5f);
        EXPECT_FLOAT_EQ(country.m_ledger.thisYearIncome[INCOME_EXPORT_DUTIES], 0.0f);
        EXPECT_FLOAT_EQ(country.m_ledger.thisYearExpense[EXPENSE_ARMY_MAINTENANCE], 0.0f);
        EXPECT_NEAR(country.m_monthlyTaxIncome, want.monthlyTaxIncome, 1e-5f);
        EXPECT_NEAR(country.m_inflation, want.inflation, 1e-6f);
        EXPECT_EQ(landMonth[i], want.landMonth);
        EXPECT_EQ(country.m_technology.land.GetLevel(), 1);
        EXPECT_EQ(country.m_technology.land.GetValue(), want.landValue);
        EXPECT_EQ(infraMonth[i], want.infraMonth);
        EXPECT_EQ(country.m_technology.infra.GetValue(), want.infraValue);
        EXPECT_EQ(country.m_technology.stability.GetValue(), want.stabilityValue);
        EXPECT_NEAR(country.m_landShare, want.landShare, 1e-6f);
        EXPECT_NEAR(country.m_peShare, want.infraShare, 1e-6f);
        EXPECT_NEAR(country.m_navalShare, want.navalShare, 1e-6f);
        EXPECT_NEAR(country.m_treasuryShare, want.treasuryShare, 1e-6f);
        EXPECT_EQ(country.GetLoanInterest(), want.interest);
    }
    // The tax table back to one everywhere.
    m_dir.WriteFile("db/tax_stab.csv", "level;tax\r\n");
    EXPECT_TRUE(LoadStabilityTable());
}

// Records each step of the monthly update as it runs.
class StepRecordingCountry : public CCountry {
public:
    explicit StepRecordingCountry(uint32_t number) : CCountry(number) {}

#define ORV_RECORD_STEP(name)                                                                      \
    void name() override {                                                                         \
        steps.push_back(#name);                                                                    \
    }
#define ORV_RECORD_EVENT_STEP(name)                                                                \
    void name(COVEvent&) override {                                                                \
        steps.push_back(#name);                                                                    \
    }
    ORV_RECORD_STEP(MonthMissionProgress)
    ORV_RECORD_STEP(MonthReligiousPressure)
    ORV_RECORD_STEP(MonthManpowerAndUpkeep)
    ORV_RECORD_STEP(MonthEnemyCapitals)
    ORV_RECORD_STEP(MonthTax)
    ORV_RECORD_STEP(MonthMissions)
    ORV_RECORD_STEP(MonthVassalTribute)
    ORV_RECORD_STEP(MonthBookTax)
    ORV_RECORD_STEP(MonthWarSubsidy)
    ORV_RECORD_STEP(MonthTradeIncome)
    ORV_RECORD_EVENT_STEP(MonthReceiversAndLedger)
    ORV_RECORD_EVENT_STEP(MonthBudgetAndCities)
    ORV_RECORD_STEP(MonthAllianceWarmth)
    ORV_RECORD_STEP(MonthRankingPlace)
    ORV_RECORD_STEP(MonthRequestMissions)
    ORV_RECORD_STEP(MonthAllianceAtWar)
    ORV_RECORD_STEP(MonthTechnologyFreeze)
#undef ORV_RECORD_EVENT_STEP
#undef ORV_RECORD_STEP

    std::vector<std::string> steps;
};

TEST_F(MonthlyEconomyTest, TheMonthRunsItsSeventeenStepsInOrder) {
    StepRecordingCountry country(5);
    COVTimerEvent month(EVT_TIMER_MONTH, country.GetId(), CDate(1, 1, 1600));
    EXPECT_EQ(country.HandleMessage(month), EVENT_NOT_HANDLED);
    const std::vector<std::string> want = {"MonthMissionProgress",
                                           "MonthReligiousPressure",
                                           "MonthManpowerAndUpkeep",
                                           "MonthEnemyCapitals",
                                           "MonthTax",
                                           "MonthMissions",
                                           "MonthVassalTribute",
                                           "MonthBookTax",
                                           "MonthWarSubsidy",
                                           "MonthTradeIncome",
                                           "MonthReceiversAndLedger",
                                           "MonthBudgetAndCities",
                                           "MonthAllianceWarmth",
                                           "MonthRankingPlace",
                                           "MonthRequestMissions",
                                           "MonthAllianceAtWar",
                                           "MonthTechnologyFreeze"};
    EXPECT_EQ(country.steps, want);
}

} // namespace
