#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "data/DataTree.h"
#include "data/KeptBlock.h"
#include "data/ScenarioHeader.h"
#include "net/EventTypes.h"
#include "net/Session.h"
#include "tests/world/SaveBlockFixture.h"
#include "world/Globals.h"
#include "world/GlobalsTreaties.h"
#include "world/Province.h"
#include "world/ScenarioSteps.h"

namespace {

const char* const kTags[] = {"", "ENG", "FRA", "HAB", "HOL", "MIN"};

int32_t NumberOfTag(const char* tag) {
    for (int32_t n = 1; n < static_cast<int32_t>(std::size(kTags)); ++n)
        if (std::strcmp(kTags[n], tag) == 0)
            return n;
    return 0;
}

const char* TagOf(uint32_t number) {
    return number > 0 && number < std::size(kTags) ? kTags[number] : nullptr;
}

// The countries that exist in a test, by number.
std::vector<int32_t> g_existing;
CCountry* ExistingCountry(int32_t number) {
    for (int32_t n : g_existing)
        if (n == number)
            return reinterpret_cast<CCountry*>(&g_existing); // only compared with null
    return nullptr;
}

int g_elections = 0;
int g_staleWarChecks = 0;
uint32_t g_wars = 0;
uint32_t g_alliances = 0;

class GlobalsTest : public test::SaveBlockTest {
protected:
    void SetUp() override {
        SaveBlockTest::SetUp();
        m_header = g_scenarioHeaderHooks;
        m_treaties = g_globalsTreaties;
        m_provinceCountries = g_provinceCountries;
        m_globalsCountries = g_globalsCountries;
        g_scenarioHeaderHooks.findCountryByTag = &NumberOfTag;
        SetCountryTagSource(&TagOf);
        g_provinceCountries.countryOfNumber = &ExistingCountry;
        g_globalsTreaties.electEmperor = [] { ++g_elections; };
        g_globalsTreaties.endStaleWars = [] { ++g_staleWarChecks; };
        g_globalsTreaties.warCount = [] { return g_wars; };
        g_globalsTreaties.allianceCount = [] { return g_alliances; };
        g_existing.clear();
        g_elections = g_staleWarChecks = 0;
        g_wars = g_alliances = 0;
        g_fantasyMode = 0;
        g_globals = CGlobals();
    }
    void TearDown() override {
        g_globals = CGlobals();
        g_scenarioHeaderHooks = m_header;
        g_globalsTreaties = m_treaties;
        g_provinceCountries = m_provinceCountries;
        g_globalsCountries = m_globalsCountries;
        SetCountryTagSource(nullptr);
        g_fantasyMode = 0;
        SaveBlockTest::TearDown();
    }

    // Reads "globaldata = { ... }" into g_globals.
    int32_t ReadGlobals(const std::string& text) {
        OpenBlock(text);
        return g_globals.Read(reader);
    }

    std::string PrintGlobals() { return Print(KW_GLOBALDATA, g_globals.Write()); }

    void SendTimer(uint32_t type) {
        COVSimpleEvent event(type, g_broadcastId);
        g_globals.HandleEvent(event);
    }

    ScenarioHeaderHooks m_header;
    GlobalsTreatyHooks m_treaties;
    ProvinceCountryHooks m_provinceCountries;
    GlobalsCountryHooks m_globalsCountries;
};

const char kFullBlock[] =
    "globaldata = {\n"
    "  startdate = { year = 1560 month = march day = 3 }\n"
    "  enddate = { year = 1620 month = december day = 29 }\n"
    "  name = \"The Amber Coast\" desc = \"a quiet age\" emperor = FRA dutch = yes\n"
    "  protestant = 12.5 reformed = 150\n"
    "  discoveries = { america = yes pacific = yes asia = no }\n"
    "  establishments = { colonyamerica = yes tpjapan = yes }\n"
    "  flags = { 1 3 }\n"
    "}\n";

TEST_F(GlobalsTest, ReadsEveryKeyAndWritesTheBlockInItsOrder) {
    g_gameTimer.reset(); // without a game clock the stored start date is written
    ASSERT_EQ(ReadGlobals(kFullBlock), FIELD_BLOCK_END);
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front();
    EXPECT_EQ(g_globals.startDate, CDate(3, 2, 1560));
    EXPECT_EQ(g_globals.endDate, CDate(29, 11, 1620));
    EXPECT_EQ(g_globals.name, "The Amber Coast");
    EXPECT_EQ(g_globals.emperor, 2u);
    EXPECT_TRUE(g_globals.dutch);
    EXPECT_FLOAT_EQ(g_globals.progress[0], 12.5f);
    EXPECT_FLOAT_EQ(g_globals.progress[1], 101.0f); // capped
    EXPECT_TRUE(g_globals.discoveries.flags[0]);
    EXPECT_TRUE(g_globals.discoveries.flags[15]);
    EXPECT_TRUE(g_globals.establishments.flags[1]);
    EXPECT_TRUE(g_globals.establishments.flags[7]);
    EXPECT_TRUE(g_globals.EventFlag(1));
    EXPECT_TRUE(g_globals.EventFlag(3));
    EXPECT_FALSE(g_globals.EventFlag(2));

    const std::string printed = Flat(PrintGlobals());
    EXPECT_EQ(printed,
              "globaldata = { startdate = { year = 1560 month = march day = 3 } "
              "enddate = { year = 1620 month = december day = 29 } "
              "name = \"The Amber Coast\" emperor = FRA "
              "discoveries = { america = yes asia = no quebec = no greatlake = no capehorn = no "
              "goodhope = no hudsonbay = no alaska = no panama = no inlandchina = no amazones = no "
              "northam = no india = no kamtchatska = no california = no pacific = yes "
              "australia = no } "
              "establishments = { colonyamerica = yes colonyafrica = no colonysiberia = no "
              "colonyoceania = no tpindia = no tpchina = no tpjapan = yes } "
              "flags = { 1 3 } progress = { 12.500000 101.000000 0.000000 0.000000 0.000000 } } ");
}

TEST_F(GlobalsTest, ABlockReadBackWritesTheSameBytes) {
    ASSERT_EQ(ReadGlobals(kFullBlock), FIELD_BLOCK_END);
    g_fantasyMode = 1;
    const std::string first = PrintGlobals();
    // A saved game starts on the day it was saved.
    EXPECT_NE(Flat(first).find("startdate = { year = 1600 month = may day = 10 }"),
              std::string::npos);
    EXPECT_NE(first.find("desc = \"fantasy\""), std::string::npos);

    g_globals = CGlobals();
    ASSERT_EQ(ReadGlobals(first), FIELD_BLOCK_END);
    EXPECT_EQ(PrintGlobals(), first);
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front();
}

TEST_F(GlobalsTest, TheTreatiesAreReadAndWrittenThroughTheCountries) {
    static std::vector<std::string> read;
    read.clear();
    g_globalsTreaties.readAlliance = [](CFieldReader& in) {
        read.push_back("alliance");
        CDataBlock dropped;
        return ReadDataTree(in, dropped);
    };
    g_globalsTreaties.readWar = [](CFieldReader& in) {
        read.push_back("war");
        CDataBlock dropped;
        return ReadDataTree(in, dropped);
    };
    g_globalsTreaties.writeAlliances = [](CDataBlock& block) {
        block.AddChild(new CDataAssignment(KW_ALLIANCE, new CDataBlock()));
    };
    g_globalsTreaties.writeWars = [](CDataBlock& block) {
        block.AddChild(new CDataAssignment(KW_WAR, new CDataBlock()));
    };
    ASSERT_EQ(ReadGlobals("globaldata = { alliance = { a = 1 } war = { b = { c = 2 } } "
                          "alliance = { } name = \"After\" }"),
              FIELD_BLOCK_END);
    EXPECT_EQ(read, (std::vector<std::string>{"alliance", "war", "alliance"}));
    EXPECT_EQ(g_globals.name, "After");
    const std::string printed = Flat(PrintGlobals());
    EXPECT_NE(printed.find("establishments = { "), std::string::npos);
    EXPECT_LT(printed.find("establishments = {"), printed.find("alliance = { }"));
    EXPECT_LT(printed.find("alliance = { }"), printed.find("war = { }"));
    EXPECT_LT(printed.find("war = { }"), printed.find("flags = {"));

    // Without the countries the treaty blocks are passed over whole.
    g_globalsTreaties.readAlliance = nullptr;
    g_globalsTreaties.readWar = nullptr;
    ASSERT_EQ(ReadGlobals("globaldata = { war = { b = { c = 2 } } name = \"Skipped\" }"),
              FIELD_BLOCK_END);
    EXPECT_EQ(g_globals.name, "Skipped");
}

TEST_F(GlobalsTest, BadInputIsReportedAndTheBlockReadOn) {
    struct Case {
        const char* text;
        const char* report;
    };
    const Case cases[] = {
        {"progress = 5", "Global progress - No left curly brace"},
        {"flags = 2", "Global flags - No left curly brace"},
        {"flags = { 2 9 }", "Global flags - Illegal flag"},
        {"weather = rain", "Globals : Unexpected field"},
        {"weather = { rain = { heavy = yes } }", "Globals : Unexpected field"},
        {"dutch = maybe", "Illegal Argument"},
        {"emperor = QQQ", "Globals : Unknown country"},
        {"discoveries = yes", "No Left Curly"},
        {"discoveries = { atlantis = yes }", "Discoveries : Unexpected field"},
        {"establishments = { colonymars = yes }", "Establishments : Unexpected field"},
        {"startdate = { year = 1500 hour = 3 }", "Date : Unexpected field"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        g_globals = CGlobals();
        boxes.texts.clear();
        const std::string text = std::string("globaldata = { ") + c.text + " name = \"Next\" }";
        EXPECT_EQ(ReadGlobals(text), FIELD_BLOCK_END);
        EXPECT_TRUE(BoxShown(c.report));
        EXPECT_EQ(g_globals.name, "Next"); // the block was read on
        EXPECT_EQ(g_globals.emperor, CGlobals::kDefaultEmperor);
    }
}

TEST_F(GlobalsTest, ADayOutsideTheMonthIsReportedAndHeldAtItsLastDay) {
    ASSERT_EQ(ReadGlobals("globaldata = { startdate = { year = 1500 month = may day = 45 } "
                          "enddate = { year = 1600 day = -3 } }"),
              FIELD_BLOCK_END);
    EXPECT_TRUE(BoxShown("Globals : Illegal day"));
    EXPECT_EQ(g_globals.startDate, CDate(29, 4, 1500));
    EXPECT_EQ(g_globals.endDate.day, 0);
    EXPECT_EQ(g_globals.endDate.year, 1600);
}

TEST_F(GlobalsTest, ProgressValuesAreCappedAndTheFlagsReplaced) {
    g_globals.eventFlags[4] = true;
    ASSERT_EQ(ReadGlobals("globaldata = { progress = { 150 2.5 101 -1 100.5 } flags = { 0 } }"),
              FIELD_BLOCK_END);
    EXPECT_FLOAT_EQ(g_globals.progress[0], 101.0f);
    EXPECT_FLOAT_EQ(g_globals.progress[1], 2.5f);
    EXPECT_FLOAT_EQ(g_globals.progress[2], 101.0f);
    EXPECT_FLOAT_EQ(g_globals.progress[3], -1.0f);
    EXPECT_FLOAT_EQ(g_globals.progress[4], 100.5f);
    EXPECT_TRUE(g_globals.EventFlag(0));
    EXPECT_FALSE(g_globals.EventFlag(4));
}

TEST_F(GlobalsTest, DiscoveryFlagsTakeYesAndAnyOtherWordClears) {
    g_globals.establishments.flags[7] = 1;
    g_globals.discoveries.flags[1] = 1;
    ASSERT_EQ(ReadGlobals("globaldata = { establishments = { tpjapan = no tpindia = yes } "
                          "discoveries = { asia = perhaps australia = yes } }"),
              FIELD_BLOCK_END);
    EXPECT_EQ(g_globals.establishments.flags[7], 0);
    EXPECT_EQ(g_globals.establishments.flags[5], 1);
    EXPECT_EQ(g_globals.discoveries.flags[1], 0);
    EXPECT_EQ(g_globals.discoveries.flags[16], 1);
}

TEST_F(GlobalsTest, EstablishmentsAreClaimedOnceInSlotOrder) {
    CProvince province;
    province.continent = 1;
    province.SetCity(std::make_unique<CCity>());
    Establishments table;
    EXPECT_EQ(table.Claim(province), 1u);
    EXPECT_EQ(table.Claim(province), 0u); // America is taken
    EXPECT_EQ(table.flags[0], 1);

    // A city and a trading post: the city slots come first.
    CProvince both;
    both.continent = 4;
    both.region = 14;
    both.SetCity(std::make_unique<CCity>());
    both.SetTradingPost(std::make_unique<CTradingPost>());
    EXPECT_EQ(table.Claim(both), 4u);
    EXPECT_EQ(table.Claim(both), 5u);
    EXPECT_EQ(table.Claim(both), 0u);

    struct Case {
        int32_t continent;
        int32_t region;
        bool city;
        bool post;
        uint32_t slot;
    };
    const Case cases[] = {
        {5, 0, true, false, 2},  {0, 13, true, false, 3}, {0, 15, false, true, 6},
        {0, 18, false, true, 7}, {0, 18, true, false, 0}, {1, 14, false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slot);
        CProvince p;
        p.continent = c.continent;
        p.region = c.region;
        if (c.city)
            p.SetCity(std::make_unique<CCity>());
        if (c.post)
            p.SetTradingPost(std::make_unique<CTradingPost>());
        Establishments fresh;
        EXPECT_EQ(fresh.Claim(p), c.slot);
    }
}

// ---------------------------------------------------------------------------
// The tables of the db folder

TEST_F(GlobalsTest, TheYearPicksTheRow) {
    const std::pair<int32_t, uint32_t> cases[] = {{1400, 0}, {1519, 0}, {1520, 1}, {1559, 1},
                                                  {1560, 2}, {1614, 2}, {1615, 3}, {1665, 4},
                                                  {1700, 5}, {1759, 5}, {1760, 6}, {1820, 6}};
    for (const auto& [year, row] : cases)
        EXPECT_EQ(CYearTable::RowOfYear(year), row) << year;

    CYearTable table;
    table.Set(0, 1, 0.5f);
    table.Set(1, 1, 1.5f);
    table.Set(6, 1, 6.5f);
    g_gameTimer->currentDate = CDate(0, 0, 1519);
    EXPECT_FLOAT_EQ(table.GetValue(1), 0.5f);
    g_gameTimer->currentDate = CDate(0, 0, 1520);
    EXPECT_FLOAT_EQ(table.GetValue(1), 1.5f);
    g_gameTimer->currentDate = CDate(0, 0, 1760);
    EXPECT_FLOAT_EQ(table.GetValue(1), 6.5f);
    EXPECT_FLOAT_EQ(table.GetValue(99), 0.0f);
    EXPECT_FLOAT_EQ(table.GetValue(1000000), 0.0f);
}

TEST_F(GlobalsTest, TheMinColumnServesEveryCountryButThoseNamedAfterIt) {
    dir.WriteFile("db/colonists.csv", "Colonists a year;;;\r\n"
                                      "YEAR;MIN;ENG;END\r\n"
                                      "1500;100;250\r\n"
                                      "1520;50;300;\r\n");
    CYearTable table;
    EXPECT_EQ(table.Load("db\\colonists.csv"), 0u);
    EXPECT_FLOAT_EQ(table.Get(0, 1), 2.5f);
    EXPECT_FLOAT_EQ(table.Get(0, 2), 1.0f);
    EXPECT_FLOAT_EQ(table.Get(0, 98), 1.0f);
    EXPECT_FLOAT_EQ(table.Get(1, 1), 3.0f);
    EXPECT_FLOAT_EQ(table.Get(1, 3), 0.5f);
    EXPECT_FLOAT_EQ(table.Get(2, 3), 0.0f);

    // A column before "MIN" is overridden by it.
    dir.WriteFile("db/traders.csv", "x\nYEAR;ENG;MIN;END\n1500;250;100\n");
    CYearTable traders;
    EXPECT_EQ(traders.Load("db\\traders.csv"), 0u);
    EXPECT_FLOAT_EQ(traders.Get(0, 1), 1.0f);
}

TEST_F(GlobalsTest, AYearTableKeepsToItsBoundsAndReportsWhatIsLeftOut) {
    std::string text = "title\nYEAR;ENG;QQQ;FRA;END\n";
    for (int row = 0; row < 13; ++row)
        text += std::to_string(1500 + row) + ";" + std::to_string(row + 1) + ";7;" +
                std::to_string(100 + row) + (row == 2 ? ";5;6;7\n" : "\n");
    dir.WriteFile("db/colonists.csv", text);
    CYearTable table;
    // The unknown tag, the long row 3 and the rows beyond the tenth.
    EXPECT_EQ(table.Load("db\\colonists.csv"), 3u);
    EXPECT_FLOAT_EQ(table.Get(0, 1), 0.01f);
    EXPECT_FLOAT_EQ(table.Get(2, 2), 1.02f);
    EXPECT_FLOAT_EQ(table.Get(3, 1), 0.04f); // the row after the long one is whole
    EXPECT_FLOAT_EQ(table.Get(9, 1), 0.10f);
    EXPECT_FLOAT_EQ(table.Get(9, 2), 1.09f);
    for (uint32_t row = 0; row < CYearTable::kRows; ++row)
        EXPECT_FLOAT_EQ(table.Get(row, 0), 0.0f) << "the unknown tag's column went nowhere";
}

TEST_F(GlobalsTest, TheRevoltTableFillsPeriodAndRowSlotsWithinItsBounds) {
    std::string text = "YEAR;X;ENG;x;FRA;x;END\n";
    for (int row = 0; row < 15; ++row)
        text += std::to_string(1500 + 20 * row) + ";0;a;" + std::to_string(row + 1) + ";b;" +
                std::to_string(100 + row) + "\n";
    dir.WriteFile("db/revolt.csv", text);
    CRevoltTable table;
    EXPECT_EQ(table.Load("db\\revolt.csv"), 1u); // rows 14 and 15 are left out
    EXPECT_EQ(table.Get(1, 0, 1), 1);            // 1500: period 0, first row slot 1
    EXPECT_EQ(table.Get(2, 0, 1), 100);
    EXPECT_EQ(table.Get(1, 1, 2), 2);   // 1520
    EXPECT_EQ(table.Get(1, 5, 13), 13); // 1740, the thirteenth row
    EXPECT_EQ(table.Get(1, 6, 13), 0);  // 1760 and 1780 are left out

    // "END" ends the table; a row that is cut short keeps zeros.
    dir.WriteFile("db/revolt.csv", "YEAR;X;ENG;x;END\n1500;0;a\nEND\n1500;0;a;9\n");
    EXPECT_EQ(table.Load("db\\revolt.csv"), 0u);
    EXPECT_EQ(table.Get(1, 0, 1), 0);
    EXPECT_EQ(table.Get(1, 0, 2), 0);
}

TEST_F(GlobalsTest, InitLoadsTheTablesAndTheRevoltDefinitions) {
    dir.WriteFile("db/revolt.csv", "YEAR;X;ENG;x;END\n1500;0;a;4\n");
    dir.WriteFile("db/colonists.csv", "t\nYEAR;MIN;END\n1500;200\n");
    dir.WriteFile("db/traders.csv", "t\nYEAR;FRA;END\n1500;300\n");
    dir.WriteFile("db/revolt.txt", "HOL = { minimum = { 240 241 } extra = { 250 } }\n"
                                   "QQQ = { minimum = { 7 } }\n"
                                   "END\nENG = { minimum = { 9 } }\n");
    g_readCountryDefinition = [](CFieldReader& in, CCountryDefinition& record) {
        // A small stand-in of the countries' reader: the two lists.
        for (;;) {
            const int32_t result = in.ReadFieldOrClose();
            if (result != FIELD_READ)
                return result;
            in.ReadIntList(in.key.code == KW_EXTRA ? record.extra : record.minimum);
        }
    };
    for (int32_t id : {7, 9, 240, 241, 250})
        g_provinces[static_cast<size_t>(id)].revoltCountry = 0;
    g_globals.emperor = 7;
    g_globals.Init();
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front();
    EXPECT_EQ(g_globals.emperor, 3u);
    ASSERT_NE(g_scenarioInfo, nullptr);
    EXPECT_EQ(g_globals.revoltTable.Get(1, 0, 1), 4);
    EXPECT_FLOAT_EQ(g_globals.colonistTable.Get(0, 40), 2.0f);
    EXPECT_FLOAT_EQ(g_globals.traderTable.Get(0, 2), 3.0f);
    EXPECT_EQ(g_provinces[240].revoltCountry, 4);
    EXPECT_EQ(g_provinces[241].revoltCountry, 4);
    EXPECT_EQ(g_provinces[250].revoltCountry, 4);
    EXPECT_EQ(g_provinces[7].revoltCountry, 0);
    EXPECT_EQ(g_provinces[9].revoltCountry, 0); // after END
    ASSERT_NE(g_globals.RevoltDefinition(4), nullptr);
    EXPECT_EQ(g_globals.RevoltDefinition(4)->minimum.GetCount(), 2u);
    EXPECT_EQ(g_globals.RevoltDefinition(99), nullptr);

    g_globals.Shutdown();
    EXPECT_EQ(g_scenarioInfo, nullptr);
    EXPECT_EQ(g_globals.RevoltDefinition(4), nullptr);

    // Without the countries' reader the definitions are passed over cleanly.
    boxes.texts.clear();
    g_readCountryDefinition = nullptr;
    g_provinces[240].revoltCountry = 0;
    dir.WriteFile("db/revolt.txt", "HOL = { minimum = { 240 } capital = 240 }\nEND\n");
    g_globals.Init();
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front();
    EXPECT_EQ(g_provinces[240].revoltCountry, 0);
    g_globals.Shutdown();
    for (int32_t id : {7, 9, 240, 241, 250})
        g_provinces[static_cast<size_t>(id)].revoltCountry = 0;
}

// ---------------------------------------------------------------------------
// The periodic work

TEST_F(GlobalsTest, TheMonthAndTheYearAdvanceTheReformation) {
    g_gameTimer->currentDate = CDate(0, 0, 1600);
    g_globals.eventFlags[3] = true;
    SendTimer(EVT_TIMER_MONTH);
    EXPECT_FLOAT_EQ(g_globals.progress[0], 0.01f);
    EXPECT_FLOAT_EQ(g_globals.progress[3], 0.01f);
    EXPECT_FLOAT_EQ(g_globals.progress[4], 0.0f); // not before 1621

    g_wars = 1;
    g_alliances = 7;
    g_gameTimer->currentDate = CDate(0, 0, 1621);
    SendTimer(EVT_TIMER_MONTH);
    EXPECT_FLOAT_EQ(g_globals.progress[0], 0.26f);
    EXPECT_FLOAT_EQ(g_globals.progress[3], 0.26f);
    EXPECT_FLOAT_EQ(g_globals.progress[4], 5 * 0.083333336f);

    g_globals.eventFlags[1] = true;
    g_globals.progress[1] = 100.0f;
    SendTimer(EVT_TIMER_YEAR);
    EXPECT_FLOAT_EQ(g_globals.progress[0], 2.26f);
    EXPECT_FLOAT_EQ(g_globals.progress[1], 101.0f); // capped
    EXPECT_FLOAT_EQ(g_globals.progress[3], 0.76f);
    EXPECT_FLOAT_EQ(g_globals.progress[2], 0.0f); // flag 2 is clear

    // Other messages change nothing.
    SendTimer(EVT_TIMER_TICK_LOOP);
    EXPECT_FLOAT_EQ(g_globals.progress[0], 2.26f);
}

TEST_F(GlobalsTest, TheReformedProgressCountsTheReformedCountries) {
    g_existing = {1, 2, 3};
    ScenarioStepHooks saved = g_scenarioSteps;
    g_scenarioSteps.stateReligionOf = [](int32_t n) -> int32_t {
        return n == 1 ? RELIGION_PROTESTANT : n == 2 ? RELIGION_REFORMED : RELIGION_CATHOLIC;
    };
    g_globals.eventFlags[2] = true;
    SendTimer(EVT_TIMER_MONTH);
    g_scenarioSteps = saved;
    EXPECT_FLOAT_EQ(g_globals.progress[2], 0.03f);
}

TEST_F(GlobalsTest, OnlyTheHostElectsAnEmperorAndEndsStaleWars) {
    // The emperor's country (3) does not exist.
    g_existing = {1, 2};
    SendTimer(EVT_GAME_STARTED);
    EXPECT_EQ(g_elections, 1);
    EXPECT_EQ(g_staleWarChecks, 1);

    BecomeClient();
    SendTimer(EVT_TIMER_MONTH);
    SendTimer(EVT_GAME_STARTED);
    EXPECT_EQ(g_elections, 1) << "a client never elects";
    EXPECT_EQ(g_staleWarChecks, 1);
    g_netSession = nullptr;

    // Not while the emperor's country exists, nor in the fantasy setting.
    g_existing = {1, 2, 3};
    SendTimer(EVT_TIMER_MONTH);
    EXPECT_EQ(g_elections, 1);
    g_existing = {1, 2};
    g_fantasyMode = 1;
    SendTimer(EVT_TIMER_MONTH);
    EXPECT_EQ(g_elections, 1);
    EXPECT_EQ(g_staleWarChecks, 3);
}

TEST_F(GlobalsTest, EveryMessageGoesOnToTheAlliances) {
    static std::vector<uint32_t> offered;
    offered.clear();
    g_globalsTreaties.offerToAlliances = [](COVEvent& event) {
        offered.push_back(event.GetType());
    };
    g_existing = {3};
    SendTimer(EVT_TIMER_MONTH);
    SendTimer(EVT_TIMER_TICK_LOOP);
    EXPECT_EQ(offered, (std::vector<uint32_t>{EVT_TIMER_MONTH, EVT_TIMER_TICK_LOOP}));
}

} // namespace

namespace {

const char* const kDemoTags[] = {"", "ENG", "FRA", "HAB"};

// The world's tag table lives with the countries: here ENG, FRA and HAB have
// their numbers and every other tag of three capitals (the other nations of
// the revolt table) stands for one further country, 50.
int32_t NumberOfDemoTag(const char* tag) {
    for (int32_t n = 1; n < 4; ++n)
        if (std::strcmp(kDemoTags[n], tag) == 0)
            return n;
    const auto capital = [](char c) { return c >= 'A' && c <= 'Z'; };
    const bool threeCapitals =
        std::strlen(tag) == 3 && capital(tag[0]) && capital(tag[1]) && capital(tag[2]);
    return threeCapitals && std::strcmp(tag, "MIN") != 0 ? 50 : 0;
}

TEST(GlobalsDemoWorld, TheDemoTablesLoadWithoutReports) {
    test::InFolder world(test::DemoWorldDir());
    test::BoxRecorder boxes;
    const ScenarioHeaderHooks saved = g_scenarioHeaderHooks;
    g_scenarioHeaderHooks.findCountryByTag = &NumberOfDemoTag;
    CYearTable colonists;
    CYearTable traders;
    CRevoltTable revolts;
    EXPECT_EQ(colonists.Load("db\\colonists.csv"), 0u);
    EXPECT_EQ(traders.Load("db\\traders.csv"), 0u);
    EXPECT_EQ(revolts.Load("db\\revolt.csv"), 0u);
    g_scenarioHeaderHooks = saved;
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front();
    EXPECT_FLOAT_EQ(colonists.Get(0, 1), 1.5f);
    EXPECT_FLOAT_EQ(colonists.Get(6, 50), 1.25f); // "MIN"
    EXPECT_EQ(revolts.Get(3, 6, 7), 1);
}

} // namespace
