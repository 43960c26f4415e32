// The technology level tables, investing in a track, the price of a level,
// the stability track and its tax factors, and the technology block.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "country/Country.h"
#include "country/Relations.h"
#include "country/StartupTables.h"
#include "country/Technology.h"
#include "data/Keywords.h"
#include "tests/country/EconomyFixture.h"
#include "world/City.h"
#include "world/GameNotices.h"

namespace {

class TechnologyTest : public test::EconomyTest {
protected:
    // A table file: the header and the rows; each row's year is 1400 + 10 x
    // its index and its other cells are given by the function.
    template <class Cells> std::string Table(int rows, Cells cells) {
        std::string text = "level;year;values\r\n";
        for (int i = 0; i < rows; ++i)
            text += "L" + std::to_string(i) + ";" + std::to_string(1400 + 10 * i) + ";" + cells(i) +
                    "\r\n";
        return text;
    }

    void WriteAllTables(int landRows = 53) {
        dir.WriteFile("db/land.csv", Table(landRows, [](int i) {
                          return std::to_string(10 + i) + ";20;30;40;50;60;1.5;" +
                                 std::to_string(i) + ".25;7;" + std::to_string(i / 4);
                      }));
        dir.WriteFile("db/naval.csv", Table(43, [](int i) {
                          return "11;12;13;14;2.5;3.5;4.5;5;" + std::to_string(i % 5);
                      }));
        dir.WriteFile("db/infra.csv", Table(11, [](int i) { return std::to_string(50 + i); }));
        dir.WriteFile("db/trade.csv", Table(11, [](int i) { return std::to_string(40 + i); }));
    }
};

TEST_F(TechnologyTest, TheFourTablesLoadTheirRowsAndATerminator) {
    WriteAllTables();
    ASSERT_TRUE(LoadLandNavalTables());
    struct Case {
        const CTechTable& table;
        int32_t rows;
    };
    for (const Case& c : {Case{g_landTechTable, 53}, Case{g_navalTechTable, 43},
                          Case{g_infraTechTable, 11}, Case{g_tradeTechTable, 11}}) {
        EXPECT_EQ(c.table.GetDataRows(), c.rows) << c.table.GetPrefix();
        EXPECT_EQ(c.table.Row(c.rows).stepCost, kTechTerminatorCost) << c.table.GetPrefix();
        EXPECT_EQ(c.table.Row(c.rows).year, 0);
        EXPECT_EQ(c.table.Row(0).stepCost, 1400 * 300);
        EXPECT_EQ(c.table.Row(1).stepCost, 10 * 300);
    }
    const CTechRow& land = g_landTechTable.Row(8);
    EXPECT_EQ(land.year, 1480);
    EXPECT_FLOAT_EQ(land.infantryFire, 0.18f);
    EXPECT_FLOAT_EQ(land.artilleryShock, 0.6f);
    EXPECT_FLOAT_EQ(land.extraValue, 1.5f);
    EXPECT_FLOAT_EQ(land.morale, 8.25f);
    EXPECT_EQ(land.extraInt, 7);
    EXPECT_EQ(land.costTerm, 2);
    const CTechRow& naval = g_navalTechTable.Row(3);
    EXPECT_FLOAT_EQ(naval.warshipFire, 0.11f);
    EXPECT_FLOAT_EQ(naval.warshipShock, 0.12f);
    EXPECT_FLOAT_EQ(naval.galleyFire, 0.13f);
    EXPECT_FLOAT_EQ(naval.galleyShock, 0.14f);
    EXPECT_FLOAT_EQ(naval.fleetStrength, 2.5f);
    EXPECT_FLOAT_EQ(naval.morale, 3.5f);
    EXPECT_EQ(naval.costTerm, 3);
    EXPECT_FLOAT_EQ(g_infraTechTable.Row(2).efficiency, 0.52f);
    EXPECT_STREQ(g_tradeTechTable.GetPrefix(), "TRADELEVEL");
    EXPECT_TRUE(boxes.texts.empty());
}

// The tables the demo world ships load whole with the game's readers.
TEST_F(TechnologyTest, TheDemoWorldsTablesLoadWhole) {
    const test::InFolder world(test::DemoWorldDir());
    ASSERT_TRUE(LoadLandNavalTables());
    EXPECT_EQ(g_landTechTable.GetDataRows(), 53);
    EXPECT_EQ(g_navalTechTable.GetDataRows(), 43);
    EXPECT_EQ(g_infraTechTable.GetDataRows(), 11);
    EXPECT_EQ(g_tradeTechTable.GetDataRows(), 11);
    for (const CTechTable* table :
         {&g_landTechTable, &g_navalTechTable, &g_infraTechTable, &g_tradeTechTable}) {
        EXPECT_EQ(table->Row(table->GetDataRows()).stepCost, kTechTerminatorCost);
        for (int32_t level = 1; level < table->GetDataRows(); ++level)
            EXPECT_GT(table->Row(level).year, table->Row(level - 1).year) << level;
    }
    EXPECT_TRUE(LoadStabilityTable());
    EXPECT_TRUE(LoadDiplomaticMatrix());
    EXPECT_TRUE(boxes.texts.empty());
    g_diplomaticMatrix = {};
}

TEST_F(TechnologyTest, AShortTableLeavesItsMissingLevelsUnreachable) {
    WriteAllTables(40);
    EXPECT_FALSE(LoadLandNavalTables());
    EXPECT_EQ(g_landTechTable.GetDataRows(), 40);
    EXPECT_EQ(g_navalTechTable.GetDataRows(), 43); // the others are whole

    CCountry& country = Make(2);
    Technology& land = country.GetLandTech();
    land.SetLevel(99);
    EXPECT_EQ(land.level, 40); // the terminator
    land.SetLevel(39);         // the last data row
    EXPECT_FALSE(land.CanAdvance());
    EXPECT_FALSE(country.AdvanceLandTech(100000000));
    EXPECT_EQ(land.value, 0);
    EXPECT_EQ(land.GetNextLevelName(), "---");
    land.SetLevel(38);
    EXPECT_TRUE(land.CanAdvance());

    // A level outside the table reads row 0.
    land.level = 45;
    EXPECT_EQ(country.GetLandTechCostColumn(), g_landTechTable.Row(0).costTerm);
    EXPECT_FLOAT_EQ(country.GetLandInfantryFire(), 0.10f);
    land.level = -1;
    EXPECT_FLOAT_EQ(country.GetLandInfantryFire(), 0.10f);
}

TEST_F(TechnologyTest, MissingFilesGiveTablesOfTheTerminatorAlone) {
    EXPECT_FALSE(LoadLandNavalTables());
    EXPECT_TRUE(BoxShown("excel file not found"));
    EXPECT_EQ(g_infraTechTable.GetDataRows(), 0);
    CCountry& country = Make(2);
    country.GetInfraTech().SetLevel(5);
    EXPECT_EQ(country.GetInfraTech().level, 0);
    EXPECT_FALSE(country.AdvanceInfraTech(1000));
}

TEST_F(TechnologyTest, InvestingBuysOneLevelAtATime) {
    g_tradeTechTable.SetRows(RowsOfYears({1400, 1500, 1510, 1520, 1530}));
    g_gameTimer->currentDate = CDate(0, 0, 1450); // every level still to come: no size factor
    struct Case {
        int32_t level, value, amount;
        bool advanced;
        int32_t levelAfter, valueAfter;
    };
    const Case cases[] = {
        {0, 0, 29999, false, 0, 29999}, // level 1 costs (1500 - 1400) x 300
        {0, 0, 30000, true, 1, 0},      {0, 100, 29900, true, 1, 0},
        {1, 0, 9000, true, 2, 6000},    // several levels' worth buys one
        {1, 500, -800, false, 1, 0},    // never below 0
        {3, 0, 100000, true, 4, 97000}, // the next-to-last row still advances
        {4, 0, 100000, false, 4, 0},    // the last data row: nothing changes
        {5, 0, 100000, false, 5, 0},    // the terminator
    };
    for (const Case& c : cases) {
        DeleteAllCountries();
        CCountry& country = Make(2);
        Technology& trade = country.GetTradeTech();
        trade.level = c.level;
        trade.value = c.value;
        EXPECT_EQ(country.AdvanceTradeTech(c.amount), c.advanced) << c.level << " " << c.amount;
        EXPECT_EQ(trade.level, c.levelAfter) << c.level << " " << c.amount;
        EXPECT_EQ(trade.value, c.valueAfter) << c.level << " " << c.amount;
    }
}

// A cost modifier below -1 makes a price below 0: buying the level then
// leaves more than was put in, but never more than an int holds.
TEST_F(TechnologyTest, APriceBelowZeroKeepsTheValueInRange) {
    g_tradeTechTable.SetRows(RowsOfYears({1400, 1500, 1510, 1520}));
    g_gameTimer->currentDate = CDate(0, 0, 1450);
    struct Case {
        float modifier;
        int32_t value, valueAfter;
    };
    const Case cases[] = {
        {-2.0f, 100, 30100},                // the price is -30000
        {-2.0f, INT32_MAX - 10, INT32_MAX}, // held at the top
        {-1.0e30f, 705, INT32_MAX},         // a price of INT32_MIN
    };
    for (const Case& c : cases) {
        DeleteAllCountries();
        CCountry& country = Make(2);
        country.m_modifiers.Add(2, c.modifier, 6);
        Technology& trade = country.GetTradeTech();
        trade.value = c.value;
        EXPECT_TRUE(country.AdvanceTradeTech(0)) << c.modifier << " " << c.value;
        EXPECT_EQ(trade.level, 1);
        EXPECT_EQ(trade.value, c.valueAfter) << c.modifier << " " << c.value;
    }
}

TEST_F(TechnologyTest, ALevelGainedTellsOnlyThePlayerAtThisMachine) {
    const std::vector<CTechRow> rows = RowsOfYears({1400, 1500, 1510, 1520, 1530});
    for (CTechTable* table :
         {&g_landTechTable, &g_navalTechTable, &g_infraTechTable, &g_tradeTechTable})
        table->SetRows(rows);
    g_gameTimer->currentDate = CDate(0, 0, 1450);
    static std::vector<GameNotice> notices;
    notices.clear();
    const GameNoticeHooks saved = g_gameNotices;
    g_gameNotices.post = [](const GameNotice& notice) { notices.push_back(notice); };
    const uint32_t savedController = g_countryController[2];
    g_countryController[2] = 1;
    CCountry& player = Make(2);
    CCountry& other = Make(3);
    struct Case {
        bool (CCountry::*advance)(int32_t);
        int32_t kind, window;
    };
    const Case cases[] = {{&CCountry::AdvanceLandTech, 25, 23},
                          {&CCountry::AdvanceNavalTech, 26, 24},
                          {&CCountry::AdvanceInfraTech, 27, -1},
                          {&CCountry::AdvanceTradeTech, 28, -1}};
    for (const Case& c : cases) {
        notices.clear();
        EXPECT_FALSE((player.*c.advance)(10));  // no level: no notice
        EXPECT_TRUE((other.*c.advance)(30000)); // not played here: no notice
        EXPECT_TRUE(notices.empty()) << c.kind;
        EXPECT_TRUE((player.*c.advance)(30000));
        ASSERT_EQ(notices.size(), 1u) << c.kind;
        EXPECT_EQ(notices[0].type, c.kind);
        EXPECT_EQ(notices[0].country, 2u);
        EXPECT_EQ(notices[0].linkWindow, c.window);
        EXPECT_EQ(notices[0].linkProvince, -1);
    }
    g_countryController[2] = savedController;
    g_gameNotices = saved;
}

TEST_F(TechnologyTest, TheSizeFactorFollowsTheCitiesAndTheTax) {
    struct Case {
        int32_t cities;
        float tax;
        float factor;
    };
    const Case cases[] = {{0, 500.0f, 0.6f},  {1, 500.0f, 0.6f},  {1, 50.0f, 0.5f},
                          {2, 500.0f, 0.8f},  {2, 50.0f, 0.7f},   {3, 500.0f, 0.9f},
                          {4, 500.0f, 1.0f},  {5, 500.0f, 1.25f}, {6, 500.0f, 1.3f},
                          {12, 500.0f, 1.6f}, {7, 50.0f, 1.33f},  {8, 50.0f, 1.4f},
                          {40, 500.0f, 2.0f}};
    for (const Case& c : cases)
        EXPECT_NEAR(TechSizeFactor(c.cities, c.tax), c.factor, 1e-5f)
            << c.cities << " cities, tax " << c.tax;
}

TEST_F(TechnologyTest, ALevelWhoseYearHasPassedCostsBySizeAndModifier) {
    g_landTechTable.SetRows(RowsOfYears({1400, 1500, 1700}));
    g_gameTimer->currentDate = kToday; // 1600
    CCountry& country = Make(2);
    country.m_monthlyTaxIncome = 50.0f; // 600 a year
    ASSERT_EQ(Read(country, "city = { location = 5 population = 800 } ownedprovinces = { 5 } }"),
              FIELD_BLOCK_END);
    ASSERT_EQ(country.CountNonColonyCities(), 1);
    Technology& land = country.GetLandTech();
    EXPECT_EQ(land.GetNextLevelCost(), 18000); // 1500 has passed: 30000 x 0.6
    land.level = 1;
    EXPECT_EQ(land.GetNextLevelCost(), 60000); // 1700 is to come: whole
    land.level = 0;
    country.m_inflation = 0.25f;
    country.m_modifiers.Add(2, 0.25f, 6);
    EXPECT_EQ(land.GetNextLevelCost(), 27000); // x 1.5
}

// A level whose year passes while the country saves for it becomes cheaper
// from that year on.
TEST_F(TechnologyTest, TheMonthALevelIsGainedByMonthlyInvestment) {
    g_landTechTable.SetRows(RowsOfYears({1400, 1601, 1700})); // level 1 costs 60300
    struct Case {
        int32_t monthly;
        int32_t month; // counted from January 1600
    };
    const Case cases[] = {{3000, 20},  // September 1601, at the full price
                          {2000, 24},  // January 1602: 0.6 of it from then on
                          {1000, 36}}; // January 1603
    for (const Case& c : cases) {
        DeleteAllCountries();
        CCountry& country = Make(2);
        country.m_monthlyTaxIncome = 10.0f;
        ASSERT_EQ(
            Read(country, "city = { location = 5 population = 800 } ownedprovinces = { 5 } }"),
            FIELD_BLOCK_END);
        int32_t gained = -1;
        for (int32_t month = 0; month < 60 && gained < 0; ++month) {
            g_gameTimer->currentDate = CDate(0, month % 12, 1600 + month / 12);
            if (country.AdvanceLandTech(c.monthly))
                gained = month;
        }
        EXPECT_EQ(gained, c.month) << c.monthly;
        EXPECT_EQ(country.GetLandTech().level, 1);
    }
    GetProvince(5)->SetCity(nullptr);
}

TEST_F(TechnologyTest, LevelTestsAndTheirExceptions) {
    WriteAllTables();
    ASSERT_TRUE(LoadLandNavalTables());
    CCountry& portugal = Make(5);
    CCountry& france = Make(2);
    EXPECT_TRUE(portugal.m_technology.NavalLevelAtLeast21());
    EXPECT_FALSE(france.m_technology.NavalLevelAtLeast21());
    EXPECT_FALSE(france.m_technology.LandLevelAtLeast11());
    france.GetNavalTech().SetLevel(21);
    france.GetLandTech().SetLevel(17);
    france.GetTradeTech().SetLevel(2);
    EXPECT_TRUE(france.m_technology.NavalLevelAtLeast21());
    EXPECT_FALSE(france.m_technology.NavalLevelAtLeast34());
    EXPECT_TRUE(france.m_technology.AllowsWeaponsManufactory());
    EXPECT_FALSE(france.m_technology.LandLevelAtLeast20());
    EXPECT_TRUE(france.m_technology.AllowsTradingPosts());
    EXPECT_FALSE(france.m_technology.TradeLevelAtLeast3());
    g_fantasyMode = 1;
    EXPECT_TRUE(france.m_technology.LandLevelAtLeast11());
    EXPECT_TRUE(Make(3).m_technology.NavalLevelAtLeast21());
}

TEST_F(TechnologyTest, TheBlockRoundTripsAndClampsItsLevels) {
    WriteAllTables();
    ASSERT_TRUE(LoadLandNavalTables());
    CCountry& country = Make(2);
    ASSERT_EQ(ReadBlock(country.m_technology,
                        "technology = { land = { level = 12 value = 300 date = { year = 1500 } } "
                        "naval = { level = 99 } infra = { level = -4 value = 7 } "
                        "trade = { level = 3 } stability = { level = 9 value = 2 } "
                        "group = muslim }"),
              FIELD_BLOCK_END);
    TechBase& tech = country.m_technology;
    EXPECT_EQ(tech.land.level, 12);
    EXPECT_EQ(tech.land.value, 300);
    EXPECT_EQ(tech.land.date.year, 1500);
    EXPECT_EQ(tech.naval.level, 43); // the terminator
    EXPECT_EQ(tech.infra.level, 0);
    EXPECT_EQ(tech.stability.level, 3);
    EXPECT_EQ(tech.group, 2u);
    const std::string first = Print(KW_TECHNOLOGY, tech.Write());
    EXPECT_NE(first.find("land = {"), std::string::npos);
    EXPECT_LT(first.find("stability"), first.find("trade"));
    EXPECT_NE(first.find("group = muslim"), std::string::npos);

    TechBase again;
    reader.Close();
    OpenBlock(first);
    ASSERT_EQ(again.Read(reader), FIELD_BLOCK_END);
    EXPECT_EQ(Print(KW_TECHNOLOGY, again.Write()), first);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(TechnologyTest, BadTechnologyBlocksAreReported) {
    struct Case {
        const char* block;
        int32_t result;
        const char* message;
        int32_t tradeLevel;
    };
    const Case cases[] = {
        {"technology = { group = martian trade = { level = 2 } }", FIELD_BLOCK_END,
         "Illegal tech group", 2},
        {"technology = { trade = 2 infra = { level = 1 } }", FIELD_BLOCK_END, "No left curly", 0},
        {"technology = { trade = { level = 2 colour = red } land = { level = 1 } }", FIELD_ERROR,
         "Technology : Unexpected field", 2},
        {"technology = { army = { level = 2 } trade = { level = 2 } }", FIELD_ERROR,
         "TechBase : Unexpected field", 0},
        {"technology = { trade = { level = 2 date = 5 } }", FIELD_BLOCK_END, "No Left curly", 2},
    };
    g_tradeTechTable.SetRows(RowsOfYears({1400, 1500, 1510, 1520}));
    for (const Case& c : cases) {
        boxes.texts.clear();
        TechBase tech;
        EXPECT_EQ(ReadBlock(tech, std::string(c.block) + " after = 1\n"), c.result) << c.block;
        EXPECT_TRUE(BoxShown(c.message)) << c.block;
        EXPECT_EQ(tech.trade.level, c.tradeLevel) << c.block;
        ASSERT_EQ(reader.ReadField(), FIELD_READ) << c.block;
        EXPECT_STREQ(reader.key.text, "after") << c.block;
    }
}

TEST_F(TechnologyTest, ResearchBonusesCatchUpWithinTheGroup) {
    g_landTechTable.SetRows(
        RowsOfYears({1400, 1410, 1420, 1430, 1440, 1450, 1460, 1470, 1480, 1490, 1500,
                     1510, 1520, 1530, 1540, 1550, 1560, 1570, 1580, 1590, 1600, 1610}));
    g_tradeTechTable.SetRows(RowsOfYears({1400, 1410}));
    struct Member {
        uint32_t number; // 1, 2, 3 latin; 7, 13 orthodox; 44, 97 exotic
        int32_t land;
    };
    for (const Member& m : {Member{1, 5}, Member{2, 9}, Member{3, 2}, Member{7, 0}, Member{13, 10},
                            Member{44, 1}, Member{97, 20}})
        Make(m.number).GetLandTech().SetLevel(m.land);
    CountTechGroups();
    EXPECT_EQ(g_techGroupCounts[0], 3);
    EXPECT_EQ(g_techGroupCounts[1], 2);
    EXPECT_EQ(g_techGroupCounts[3], 2);
    struct Case {
        uint32_t number;
        int32_t catchUp, research;
    };
    const Case cases[] = {
        {1, 8, 8 + 3},   // (0 + 4 x 8) / 4; no monarch: MIL 3
        {2, 0, 3},       // the best of its group
        {3, 14, 14 + 3}, // (0 + 7 x 8) / 4
        {7, 20, 14 + 3}, // (0 + 10 x 8) / 4, orthodox x 0.7
        {44, 0, 3},      // the natives (97) do not count
    };
    for (const Case& c : cases) {
        const CCountry& country = *g_countries[c.number];
        EXPECT_EQ(country.GetLandCatchUpBonus(), c.catchUp) << c.number;
        EXPECT_EQ(country.GetLandResearchBonus(), c.research) << c.number;
    }
    CCountry& england = *g_countries[1];
    england.m_researchModifiers[TECH_LAND] = 2;
    EXPECT_EQ(england.GetLandResearchBonus(), 10 + 8 + 3);
    // Refusing trade lowers the trade bonus by one a country.
    EXPECT_EQ(england.GetTradeResearchBonus(), 3);
    england.m_diplomacy.GetRelation(2)->refuseTrade = 1;
    england.m_diplomacy.GetRelation(3)->refuseTrade = 1;
    EXPECT_EQ(england.CountTradeRefusals(), 2);
    EXPECT_EQ(england.GetTradeResearchBonus(), 1);
}

// ---------------------------------------------------------------------------
// Stability

TEST_F(TechnologyTest, TheTaxTableGivesAFactorPerStabilityLevel) {
    dir.WriteFile("db/tax_stab.csv", "level;tax\r\n-3;-50\r\n-2;-30\r\n0;0\r\n5;20\r\n2;10\r\n"
                                     "x;40\r\n2;15\r\n9;99\r\n");
    ASSERT_TRUE(LoadStabilityTable());
    struct Case {
        int32_t level;
        float factor;
    };
    const Case cases[] = {{-3, 0.5f}, {-2, 0.7f}, {-1, 1.0f}, {0, 1.4f}, // "x" reads as level 0
                          {1, 1.0f},  {2, 1.15f}, {3, 1.2f}};            // the 8th row is not read
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(GetStabilityTaxFactorOfLevel(c.level), c.factor) << c.level;

    CCountry& country = Make(2);
    country.m_technology.stability.SetLevel(-3);
    EXPECT_FLOAT_EQ(country.ApplyStabilityToTax(10.0f), 5.0f);
}

TEST_F(TechnologyTest, WithoutTheTaxTableEveryLevelKeepsOne) {
    dir.WriteFile("db/tax_stab.csv", "level;tax\r\n-3;-50\r\n");
    ASSERT_TRUE(LoadStabilityTable());
    EXPECT_FLOAT_EQ(GetStabilityTaxFactorOfLevel(-3), 0.5f);
    dir.WriteFile("db/other.csv", "");
    const test::InFolder elsewhere(dir.Path() / "db"); // a folder without the table
    EXPECT_FALSE(LoadStabilityTable());
    EXPECT_TRUE(BoxShown("excel file not found"));
    EXPECT_FLOAT_EQ(GetStabilityTaxFactorOfLevel(-3), 1.0f);
}

TEST_F(TechnologyTest, StabilityStaysWithinMinusThreeAndThree) {
    struct Case {
        int32_t start, change, after;
    };
    const Case cases[] = {{3, 1, 3}, {-3, -2, -3}, {0, 2, 2}, {1, -3, -2}, {2, 9, 3}};
    for (const Case& c : cases) {
        DeleteAllCountries();
        CCountry& country = Make(2);
        EXPECT_EQ(country.m_technology.stability.level, 3); // a new country
        country.m_technology.stability.SetLevel(c.start);
        if (c.change >= 0)
            country.IncreaseStability(c.change);
        else
            country.DecreaseStability(-c.change);
        EXPECT_EQ(country.m_technology.stability.level, c.after) << c.start << " " << c.change;
    }
    EXPECT_EQ(ClampStability(9), 3);
    EXPECT_EQ(ClampStability(-9), -3);
    CCountry& country = Make(3);
    EXPECT_FALSE(country.m_technology.stability.CanAdvance());
    country.DecreaseStability(1);
    EXPECT_TRUE(country.m_technology.stability.CanAdvance());
}

TEST_F(TechnologyTest, RaisingStabilityCostsByCitiesReligionAndTradingPosts) {
    // Provinces 5..8: a colony, a city of the state religion, an Orthodox and
    // a Sunni city; trading posts in 9 and 10.
    for (int id : {5, 6, 7, 8, 9, 10})
        GetProvince(id)->religion = RELIGION_CATHOLIC;
    GetProvince(7)->religion = RELIGION_ORTHODOX;
    GetProvince(8)->religion = RELIGION_SUNNI;
    CCountry& country = Make(2);
    ASSERT_EQ(Read(country, "city = { location = 5 population = 100 } "
                            "city = { location = 6 population = 800 } "
                            "city = { location = 7 population = 800 } "
                            "city = { location = 8 population = 800 } "
                            "tradingpost = { location = 9 } tradingpost = { location = 10 } "
                            "ownedprovinces = { 5 6 7 8 9 10 } }"),
              FIELD_BLOCK_END);
    struct Case {
        int32_t religion;
        float costModifier;
        int32_t cost;
    };
    const Case cases[] = {
        {RELIGION_CATHOLIC, 0.0f, 5 + 20 + 50 + 100 + 4},
        {RELIGION_CATHOLIC, 0.5f, 268}, // 179 x 1.5, truncated
        {RELIGION_SUNNI, 0.0f, 5 + 60 + 60 + 20 + 4},
        {RELIGION_PAGAN, 0.0f, 5 + 60 + 60 + 60 + 4},
        {RELIGION_PROTESTANT, 0.0f, 5 + 50 + 50 + 100 + 4},
    };
    for (const Case& c : cases) {
        s_religions[2] = c.religion;
        country.m_inflation = c.costModifier;
        EXPECT_EQ(StabilityCost(country), c.cost) << c.religion << " " << c.costModifier;
        EXPECT_EQ(country.m_technology.stability.GetNextLevelCost(), c.cost);
    }
    for (int id : {5, 6, 7, 8, 9, 10}) {
        GetProvince(id)->SetCity(nullptr);
        GetProvince(id)->SetTradingPost(nullptr);
        GetProvince(id)->religion = RELIGION_PROTESTANT;
    }
}

} // namespace
