// The country block: reading, writing and the round trip of a country.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "country/Country.h"
#include "data/DataTree.h"
#include "data/Keywords.h"
#include "data/ScenarioHeader.h"
#include "engine/Config.h"
#include "tests/data/TextFormatFixture.h"
#include "world/City.h"
#include "world/Discovery.h"
#include "world/Province.h"
#include "world/TradingPost.h"

namespace {

class CountryBlockTest : public test::TextFormatTest {
protected:
    void SetUp() override {
        TextFormatTest::SetUp();
        SetCountryTagSource(FindCountryTagOfNumber);
        g_countryController.fill(0);
        g_config = std::make_unique<CConfig>();
        g_scenarioInfo.reset();
        InitIdRegistries(g_nullId);
    }
    void TearDown() override {
        reader.Close();
        DeleteAllCountries();
        for (int id : {5, 6, 7, 8})
            if (CProvince* province = GetProvince(id)) {
                province->SetCity(nullptr);
                province->SetTradingPost(nullptr);
            }
        g_countryController.fill(0);
        g_config.reset();
        g_scenarioInfo.reset();
        FreeIdRegistries();
    }

    CCountry& Make(uint32_t number) { return *CCountry::Create(number); }

    // Reads the block body (everything after "tag", up to its "}").
    int Read(CCountry& country, const std::string& body) {
        reader.Close();
        OpenText(body);
        reader.currentCountry = &country;
        return country.Read(reader);
    }

    // Reads a printed country back into a fresh country of the number
    // (the file reader takes "country = {" and the "tag" field first).
    CCountry& ReadBack(uint32_t number, const std::string& text) {
        DeleteAllCountries();
        CCountry& country = Make(number);
        reader.Close();
        OpenText(text);
        for (int i = 0; i < 3; ++i)
            File().Next();
        EXPECT_EQ(reader.ReadField(), FIELD_READ);
        EXPECT_EQ(reader.key.code, KW_TAG);
        reader.currentCountry = &country;
        EXPECT_EQ(country.Read(reader), FIELD_BLOCK_END);
        return country;
    }
};

const char* kFullBlock =
    "ai = \"england.ai\" badboy = 4 colonialattempts = 2 colonialnation = yes major = yes "
    "bank = no stock = yes ledger = { income = { 1.5 2.5 } lastmonthincome = 3 } "
    "basevp = { 1, 2, 3, 4, 5, 6, 7 } vp = 40 vp = 30 modifiers = { value = 2 value = 0.5 value = "
    "6 } "
    "lastbankruptcy = { year = 1490 month = may day = 2 } war = { year = 1495 } "
    "lastpeace = { year = 1496 month = june } combatlosses = { infantry = 1000 warships = 3 } "
    "attritionlosses = { cavalry = 12.5 } disbandlosses = { artillery = 2 } "
    "cancelledloans = 1 extendedloans = 2 treasury = 100 income = 12.25 inflation = 0.1 "
    "beuraucracy = 3 revolt = 1 manpower = 40 landmaintenance = 0.5 navalmaintenance = 0.25 "
    "navalpercentage = 0.2 landpercentage = 0.3 tepercentage = 0.1 pepercentage = 0.1 "
    "stabilitypercentage = 0.1 treasurypercentage = 0.2 religion = { type = catholic } "
    "diplomacy = { relation = { tag = FRA value = 50 } } changedreligion = yes "
    "missionpercentage = 0.5 missiontype = 3 missionareaname = \"Flanders\" "
    "missionname = \"Hold Calais\" missionarea = { 5 6 } missionalliance = { FRA } "
    "knownprovinces = { 5 6 7 } ownedprovinces = { 5 } controlledprovinces = { 5 6 } "
    "nationalprovinces = { 5 } loan = { id = { type = 4712 id = 9 } tag = FRA amount = 100 "
    "interest = 5 "
    "expirydate = { year = 1510 } } "
    "monarchtable = { historicalmonarch = { name = \"Henry\" } } leadertable = { entry = 1 } "
    "technology = { land = { level = 0 value = 30 } naval = { level = 0 } group = muslim } mission "
    "= { type = 1 } mission = { type = 2 } "
    "archivedgameevents = { { year = 1490 month = march day = 4 } 17 { year = 1491 } 18 } "
    "diplomaticdates = { FRA = { year = 1500 month = may day = 3 } } "
    "wardates = { HAB = { year = 1501 } } colonists = 1.5 diplomats = 2 merchants = 3 dynamism = 7 "
    "}";

TEST_F(CountryBlockTest, AFullBlockIsReadAndRoundTripsByteForByte) {
    CCountry& country = Make(1);
    ASSERT_EQ(Read(country, kFullBlock), FIELD_BLOCK_END);
    EXPECT_EQ(country.m_aiFile, "england.ai");
    EXPECT_EQ(country.m_badBoy, 4);
    EXPECT_EQ(country.m_colonialNation, 1);
    EXPECT_EQ(country.m_bank, 0);
    EXPECT_FLOAT_EQ(country.m_baseVp.values[6], 7.0f);
    EXPECT_FLOAT_EQ(country.m_vp, 40.0f);
    EXPECT_FLOAT_EQ(country.m_vpAtRankCheck, 30.0f);
    EXPECT_EQ(country.m_lastBankruptcy.year, 1490);
    EXPECT_FLOAT_EQ(country.m_combatLosses.infantry, 1000.0f);
    EXPECT_FLOAT_EQ(country.m_treasury, 100.0f); // played by the computer: unscaled
    EXPECT_EQ(country.m_missionType, 2);
    EXPECT_STREQ(country.m_missionName, "Hold Calais");
    EXPECT_EQ(country.m_missionArea.GetCount(), 3u); // 5, 6 and France's number
    EXPECT_EQ(country.m_loans.size(), 1u);
    EXPECT_EQ(country.m_activeMissionCount, 2u);
    EXPECT_EQ(country.m_archivedEvents.GetCount(), 2u);
    EXPECT_EQ(country.m_diplomaticDates[2].year, 1500);
    EXPECT_EQ(country.m_warDates[3].year, 1501);
    EXPECT_EQ(country.m_capital, 5);
    EXPECT_EQ(GetProvince(5)->GetOwner(), &country);

    const std::string first = Print(KW_COUNTRY, country.Write());
    EXPECT_NE(first.find("tag = ENG"), std::string::npos);
    EXPECT_NE(first.find("missiontype = 3"), std::string::npos);
    EXPECT_NE(first.find("FRA = {"), std::string::npos);
    EXPECT_EQ(first.find("missionalliance"), std::string::npos);

    CCountry& again = ReadBack(1, first);
    EXPECT_FLOAT_EQ(again.m_vp, 40.0f);
    EXPECT_FLOAT_EQ(again.m_vpAtRankCheck, 30.0f);
    EXPECT_EQ(again.m_missionType, 2);
    EXPECT_EQ(Print(KW_COUNTRY, again.Write()), first);
    EXPECT_TRUE(boxes.texts.empty());
}

// The provinces a country block names as known, owned or controlled are
// marked discovered in the province records, where the path search and the
// start of a new game look.
TEST_F(CountryBlockTest, ProvincesTheBlockNamesAreDiscoveredInTheirRecords) {
    for (int id : {5, 6, 7, 8})
        GetProvince(id)->discoveredBy.fill(0);
    CCountry& country = Make(1);
    ASSERT_EQ(Read(country, "knownprovinces = { 7 } ownedprovinces = { 5 } "
                            "controlledprovinces = { 6 } }"),
              FIELD_BLOCK_END);
    for (int id : {5, 6, 7}) {
        EXPECT_EQ(GetProvince(id)->discoveredBy[1], 1) << id;
        EXPECT_TRUE(IsProvinceDiscovered(1, id)) << id;
    }
    EXPECT_EQ(GetProvince(8)->discoveredBy[1], 0);
    EXPECT_EQ(GetProvince(7)->discoveredBy[2], 0);
    for (int id : {5, 6, 7})
        GetProvince(id)->discoveredBy.fill(0);
}

TEST_F(CountryBlockTest, AFreshCountryRoundTrips) {
    const std::string first = Print(KW_COUNTRY, Make(2).Write());
    EXPECT_NE(first.find("tag = FRA"), std::string::npos);
    EXPECT_EQ(first.find("archivedgameevents"), std::string::npos);
    EXPECT_EQ(Print(KW_COUNTRY, ReadBack(2, first).Write()), first);
}

TEST_F(CountryBlockTest, TreasuryOfAHumanPlayedCountryFollowsTheDifficulty) {
    struct Case {
        uint32_t controller;
        bool saved;
        uint32_t difficulty;
        float treasury;
    };
    const Case cases[] = {{1, false, 0, 300.0f}, {1, false, 1, 200.0f}, {2, false, 2, 100.0f},
                          {1, false, 3, 75.0f},  {2, false, 4, 50.0f},  {1, false, 5, 100.0f},
                          {0, false, 0, 100.0f}, {1, true, 0, 100.0f}};
    for (const Case& c : cases) {
        DeleteAllCountries();
        g_countryController[1] = c.controller;
        g_config->SetWord(ConfigOffset::kDifficulty, c.difficulty);
        g_scenarioInfo = std::make_unique<ScenarioInfo>();
        g_scenarioInfo->saved = c.saved;
        CCountry& country = Make(1);
        ASSERT_EQ(Read(country, "treasury = 100 }"), FIELD_BLOCK_END);
        EXPECT_FLOAT_EQ(country.m_treasury, c.treasury)
            << "controller " << c.controller << " saved " << c.saved << " difficulty "
            << c.difficulty;
    }
}

TEST_F(CountryBlockTest, OneVpSetsBothValuesALaterOneOnlyTheRankCheck) {
    CCountry& one = Make(1);
    ASSERT_EQ(Read(one, "vp = 25 }"), FIELD_BLOCK_END);
    EXPECT_FLOAT_EQ(one.m_vp, 25.0f);
    EXPECT_FLOAT_EQ(one.m_vpAtRankCheck, 25.0f);

    CCountry& three = Make(2);
    ASSERT_EQ(Read(three, "vp = 40 vp = 30 vp = 20 }"), FIELD_BLOCK_END);
    EXPECT_FLOAT_EQ(three.m_vp, 40.0f);
    EXPECT_FLOAT_EQ(three.m_vpAtRankCheck, 20.0f);
}

TEST_F(CountryBlockTest, BudgetSharesAreHeldWithinOneTogether) {
    CCountry& clamped = Make(1);
    // A new country starts with 0.2 in five shares: the others are given.
    ASSERT_EQ(Read(clamped, "navalpercentage = 1.5 landpercentage = -0.2 tepercentage = 0 "
                            "pepercentage = 0 treasurypercentage = 0 }"),
              FIELD_BLOCK_END);
    EXPECT_FLOAT_EQ(clamped.m_navalShare, 1.0f);
    EXPECT_FLOAT_EQ(clamped.m_landShare, 0.0f);

    // Too much in all: the earlier shares keep theirs (naval, land,
    // stability, trade, infrastructure), the later get what is left.
    CCountry& scaled = Make(2);
    ASSERT_EQ(Read(scaled, "navalpercentage = 0.8 landpercentage = 0.6 tepercentage = 0.6 "
                           "pepercentage = 0 treasurypercentage = 0 }"),
              FIELD_BLOCK_END);
    EXPECT_FLOAT_EQ(scaled.m_navalShare, 0.8f);
    EXPECT_NEAR(scaled.m_landShare, 0.2f, 1e-6f);
    EXPECT_FLOAT_EQ(scaled.m_teShare, 0.0f);
    EXPECT_NEAR(scaled.m_treasuryShare, 0.0f, 1e-6f);
}

TEST_F(CountryBlockTest, BadFieldsAreReportedAndEndOrSkip) {
    struct Case {
        const char* body;
        int result;
        const char* message;
    };
    const Case cases[] = {
        {"colonists = -1 badboy = 5 }", -2, "Can't have negative colonists"},
        {"diplomats = -0.5 }", -2, "Can't have negative diplomats"},
        {"merchants = -3 }", -2, "Can't have negative merchants"},
        {"ownedprovinces = { 0 } }", -2, "Illegal province ID  0"},
        {"knownprovinces = { 1472 1473 } }", -2, "Illegal province ID  1473"},
        {"frobnicate = 1 }", -2, "Country : Unexpected field"},
        {"badboy 5 }", -2, nullptr}, // a field without "=" goes to the log
        {"major = maybe badboy = 5 }", 0, "Illegal Argument"},
        {"ledger = 5 badboy = 5 }", 0, "No Left curly"},
        {"ai = 5 badboy = 5 }", 0, "No filename"},
        {"missionname = 5 badboy = 5 }", 0, "No Name (scenario mission name)"},
        {"mission = 5 badboy = 5 }", 0, "country.activemissions"},
        {"ownedprovinces = 5 badboy = 5 }", 0, "country.ownedprovinces"},
    };
    uint32_t number = 1;
    for (const Case& c : cases) {
        DeleteAllCountries();
        boxes.texts.clear();
        CCountry& country = Make(number);
        EXPECT_EQ(Read(country, c.body), c.result) << c.body;
        if (c.message)
            EXPECT_TRUE(BoxShown(c.message)) << c.body;
        else
            EXPECT_TRUE(boxes.texts.empty()) << c.body;
        // A field that only reports lets the block go on.
        EXPECT_EQ(country.m_badBoy, c.result == 0 ? 5 : 0) << c.body;
    }
    // The upper bound itself is a province.
    DeleteAllCountries();
    EXPECT_EQ(Read(Make(1), "knownprovinces = { 1472 } }"), FIELD_BLOCK_END);
}

TEST_F(CountryBlockTest, AFileEndingInsideTheBlockSkipsTheFinishingSteps) {
    dir.WriteFile("db/monarchs/monarchs.eng", "historicalmonarch = { name = \"Henry\" }\n");
    CCountry& country = Make(1);
    country.m_historyFile = "eng";
    EXPECT_EQ(Read(country, "navalpercentage = 0.9 landpercentage = 0.9 ownedprovinces = { 5 }"),
              -1);
    EXPECT_FLOAT_EQ(country.m_navalShare, 0.9f);
    EXPECT_FLOAT_EQ(country.m_landShare, 0.9f);
    EXPECT_EQ(country.m_capital, kNoCapitalProvince);
    EXPECT_TRUE(country.m_monarchTable.IsEmpty());
}

TEST_F(CountryBlockTest, HistoryFilesFillOnlyTablesTheBlockLeftEmpty) {
    dir.WriteFile(
        "db/monarchs/monarchs.eng",
        "historicalmonarch = { name = \"Henry\" } historicalmonarch = { name = \"Anne\" }\n");
    dir.WriteFile("db/leaders/leaders.eng", "leader = { name = \"Drake\" }\n");
    dir.WriteFile("tables/monarchs.txt", "historicalmonarch = { name = \"Edward\" }\n");

    CCountry& fromHistory = Make(1);
    fromHistory.m_historyFile = "eng";
    ASSERT_EQ(Read(fromHistory, "}"), FIELD_BLOCK_END);
    EXPECT_EQ(fromHistory.m_monarchTable.GetCount(), 2u);
    EXPECT_EQ(fromHistory.m_leaderTable.GetCount(), 1u);

    CCountry& named = Make(2);
    named.m_historyFile = "eng";
    ASSERT_EQ(Read(named, "monarchtable = \"tables\\monarchs.txt\" leadertable = { } }"),
              FIELD_BLOCK_END);
    EXPECT_EQ(named.m_monarchTable.GetCount(), 1u);
    EXPECT_TRUE(named.m_leaderTable.IsEmpty()); // given, so the history file is not read

    CCountry& noFile = Make(3);
    noFile.m_historyFile = "xyz";
    ASSERT_EQ(Read(noFile, "}"), FIELD_BLOCK_END);
    EXPECT_TRUE(noFile.m_monarchTable.IsEmpty());
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(CountryBlockTest, AFourthMissionIsReportedAndDropped) {
    CCountry& country = Make(1);
    ASSERT_EQ(Read(country, "mission = { id = { type = 7 id = 1 } } mission = { n = 2 } "
                            "mission = { n = 3 } mission = { n = 4 } badboy = 2 }"),
              0);
    EXPECT_EQ(country.m_activeMissionCount, 3u);
    EXPECT_EQ(country.m_activeMissionIds[0], ObjectId(7, 1));
    EXPECT_TRUE(BoxShown("country.activemissions"));
    EXPECT_EQ(country.m_badBoy, 2);
    const std::string text = Print(KW_COUNTRY, country.Write());
    EXPECT_NE(text.find("n = 3"), std::string::npos);
    EXPECT_EQ(text.find("n = 4"), std::string::npos);
}

TEST_F(CountryBlockTest, LongTextsAreCutToTheirFields) {
    const std::string longName(300, 'x');
    CCountry& country = Make(1);
    ASSERT_EQ(Read(country, "missionname = \"" + longName + "\" missionareaname = \"" + longName +
                                "\" ai = \"" + longName + "\" }"),
              0);
    EXPECT_EQ(std::string(country.m_missionName), longName.substr(0, 255));
    EXPECT_EQ(std::string(country.m_missionAreaName), longName.substr(0, 255));
    EXPECT_EQ(country.m_aiFile.size(), 255u);
}

TEST_F(CountryBlockTest, OwningAProvinceTakesItsCityAndTradingPost) {
    CCountry& france = Make(2);
    ASSERT_EQ(Read(france, "city = { location = 6 population = 800 capital = yes } "
                           "tradingpost = { location = 6 } ownedprovinces = { 6 } }"),
              0);
    CCity* city = GetProvince(6)->GetCity();
    ASSERT_NE(city, nullptr);
    EXPECT_TRUE(city->IsCapital());
    EXPECT_EQ(france.m_capital, 6);

    CCountry& england = Make(1);
    ASSERT_EQ(Read(england, "ownedprovinces = { 6 } }"), FIELD_BLOCK_END);
    EXPECT_EQ(GetProvince(6)->GetOwner(), &england);
    EXPECT_FALSE(city->IsCapital());
    EXPECT_TRUE(england.m_cities.Contains(city));
    EXPECT_FALSE(france.m_cities.Contains(city));
    EXPECT_TRUE(england.m_tradingPosts.Contains(GetProvince(6)->GetTradingPost()));
    EXPECT_TRUE(france.m_tradingPosts.IsEmpty());
}

TEST_F(CountryBlockTest, DatesOfUnknownTagsAndYearZeroAreNotWritten) {
    CCountry& country = Make(1);
    ASSERT_EQ(Read(country, "diplomaticdates = { XYZ = { year = 1500 } FRA = { year = 0 } } "
                            "wardates = { FRA = { year = 1600 } } }"),
              0);
    // The unknown tag is reported and its date dropped: no country 0.
    EXPECT_TRUE(BoxShown("unknown tag"));
    EXPECT_EQ(country.m_diplomaticDates[0].year, 0);
    const std::string text = Print(KW_COUNTRY, country.Write());
    EXPECT_NE(text.find("diplomaticdates = { } "), std::string::npos);
    EXPECT_NE(text.find("wardates = { FRA = {"), std::string::npos);
}

TEST_F(CountryBlockTest, ScenarioMissionBlockTakesOnlyTheMissionKeys) {
    CCountry& country = Make(1);
    country.m_missionPercentage = 0.7f;
    reader.Close();
    OpenText("missiontype = 2 missionname = \"Spice\" missionalliance = { FRA HAB } }");
    EXPECT_EQ(country.ReadMission(reader), FIELD_BLOCK_END);
    EXPECT_EQ(country.m_major, 1);
    EXPECT_FLOAT_EQ(country.m_missionPercentage, 0.0f);
    EXPECT_EQ(country.m_missionType, 1);
    EXPECT_EQ(country.m_missionArea.GetCount(), 2u);

    // The lowest number a file may hold cannot be shifted below it.
    reader.Close();
    OpenText("missiontype = -2147483648 }");
    EXPECT_EQ(country.ReadMission(reader), FIELD_BLOCK_END);
    EXPECT_EQ(country.m_missionType, std::numeric_limits<int32_t>::min());

    reader.Close();
    OpenText("badboy = 3 }");
    EXPECT_EQ(country.ReadMission(reader), FIELD_ERROR);
    EXPECT_TRUE(BoxShown("Country : Unexpected field"));
}

TEST_F(CountryBlockTest, CountryIdsPrintAsTagsButCountryZeroNever) {
    EXPECT_EQ(Print(KW_COUNTRY, ObjectId(kCountryObjectType, 2).MakeNode()), "country = FRA ");
    // Number 0 has no tag: "MIN" would read back as country 12.
    EXPECT_EQ(Print(KW_COUNTRY, ObjectId(kCountryObjectType, 0).MakeNode()),
              "country = { type = 3 id = 0 } ");
}

} // namespace
