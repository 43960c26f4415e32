// Country tags, the country definition reader, the building-cost table and
// country blocks that name a tag the table does not know.
#include <gtest/gtest.h>

#include <string>

#include "country/BuildingCosts.h"
#include "country/Country.h"
#include "country/CountryDefinition.h"
#include "country/StartupTables.h"
#include "data/ScenarioHeader.h"
#include "engine/Config.h"
#include "tests/data/TextFormatFixture.h"
#include "world/Province.h"

namespace {

TEST(CountryTagsTest, TagsAndNumbersMapBothWays) {
    struct Case {
        const char* tag;
        int32_t number;
    };
    const Case found[] = {{"ENG", 1},  {"MIN", 12}, {"NAP", 78}, {"MER", 95}, {"KAL", 79},
                          {"REB", 98}, {"ITA", 80}, {"MUS", 94}, {"UKR", 68}};
    for (const Case& c : found) {
        EXPECT_EQ(FindCountryByTag(c.tag), c.number) << c.tag;
        EXPECT_STREQ(GetCountryTag(static_cast<uint32_t>(c.number)), c.tag) << c.number;
    }
    // Case matters and whole strings compare.
    for (const char* unknown : {"eng", "Fra", "XYZ", "", "EN", "ENGL"})
        EXPECT_EQ(FindCountryByTag(unknown), 0) << unknown;
    EXPECT_EQ(FindCountryByTag(nullptr), 0);
    // Every number 1..98 has a tag; 0 and numbers beyond have none.
    for (uint32_t number = 1; number < kCountrySlots; ++number)
        EXPECT_EQ(FindCountryByTag(GetCountryTag(number)), static_cast<int32_t>(number));
    EXPECT_STREQ(GetCountryTag(0), "MIN");
    EXPECT_STREQ(GetCountryTag(500), "MIN");
    EXPECT_EQ(FindCountryTagOfNumber(0), nullptr);
    EXPECT_STREQ(FindCountryTagOfNumber(2), "FRA");
}

class CountryFilesTest : public test::TextFormatTest {
protected:
    void SetUp() override {
        TextFormatTest::SetUp();
        g_countryController.fill(0);
        g_config = std::make_unique<CConfig>();
        InitIdRegistries(g_nullId);
    }
    void TearDown() override {
        reader.Close();
        ClearCountryTable();
        ClearBuildingCostClasses();
        g_config.reset();
        g_scenarioInfo.reset();
        FreeIdRegistries();
    }

    int32_t ReadDefinition(const std::string& body, CCountryDefinition& record) {
        reader.Close();
        OpenText(body);
        return ReadCountryDefinition(reader, record);
    }
};

TEST_F(CountryFilesTest, ADefinitionBlockFillsItsRecord) {
    ASSERT_EQ(g_readCountryDefinition, &ReadCountryDefinition);
    CCountryDefinition record;
    ASSERT_EQ(ReadDefinition("date = { year = 1581 month = july day = 26 } "
                             "expirydate = { year = 1650 } minimum = { 5 6 } extra = { 7 } "
                             "capital = 6 other = { a = 1 b = { 2 } } more = 3 group = exotic } "
                             "group = muslim",
                             record),
              FIELD_BLOCK_END);
    EXPECT_EQ(record.date.year, 1581);
    EXPECT_EQ(record.date.month, 6);
    EXPECT_EQ(record.expiryDate.year, 1650);
    EXPECT_EQ(record.minimum.GetCount(), 2u);
    EXPECT_EQ(record.extra.GetCount(), 1u);
    EXPECT_EQ(record.capital, 6);
    EXPECT_EQ(record.group, 3u);
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front(); // unknown keys pass quietly

    CCountryDefinition kept;
    kept.group = 1;
    EXPECT_EQ(ReadDefinition("group = pagan }", kept), FIELD_BLOCK_END);
    EXPECT_TRUE(BoxShown("Illegal tech group"));
    EXPECT_EQ(kept.group, 1u);

    EXPECT_EQ(ReadDefinition("minimum = { 5 6 ", kept), FIELD_END_OF_FILE);
    EXPECT_EQ(ReadDefinition("other = { a = { ", kept), FIELD_END_OF_FILE);
}

TEST_F(CountryFilesTest, BuildingCostsGiveTheClassesOfKnownTags) {
    ClearBuildingCostClasses();
    EXPECT_FALSE(LoadBuildingCosts()); // no file: every class 0
    dir.WriteFile("db/buildingcosts.csv", "TAG;INF;CAV;ART;WAR;GAL;TRA\r\n"
                                          "ENG;A;B;C;D;x;\r\n"
                                          "XYZ;A;A;A;A;A;A\r\n"
                                          "FRA;D;a\r\n"
                                          "HAB;B;B;B;B;B;B;extra;cells\r\n"
                                          "END;A;A;A;A;A;A\r\n"
                                          "POR;A;A;A;A;A;A\r\n");
    ASSERT_TRUE(LoadBuildingCosts());
    using Row = std::array<uint32_t, BUILD_KINDS>;
    EXPECT_EQ(g_buildingCostClasses[1], (Row{1, 2, 3, 4, 0, 0}));
    EXPECT_EQ(g_buildingCostClasses[2], (Row{4, 0, 0, 0, 0, 0})); // a short row
    EXPECT_EQ(g_buildingCostClasses[3], (Row{2, 2, 2, 2, 2, 2}));
    EXPECT_EQ(g_buildingCostClasses[0], Row{}); // the unknown tag: no country 0
    EXPECT_EQ(g_buildingCostClasses[5], Row{}); // after "END"

    dir.WriteFile("db/buildingcosts.csv", "TAG\nENG;A;A;A;A;A;A");
    ASSERT_TRUE(LoadBuildingCosts()); // a last line without its line feed
    EXPECT_EQ(g_buildingCostClasses[1], (Row{1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(g_buildingCostClasses[2], Row{}); // the table was cleared first
}

TEST_F(CountryFilesTest, ABlockWithAnUnknownTagIsSkippedWholeAndTheFileGoesOn) {
    ASSERT_EQ(LoadText("country = { tag = XYZ treasury = 100 ownedprovinces = { 5 } "
                       "ledger = { a = { b = 1 } } }\n"
                       "country = { tag = eng treasury = 50 }\n"
                       "country = { tag = FRA treasury = 7 }\n"),
              FIELD_BLOCK_END);
    EXPECT_TRUE(BoxShown("unknown tag"));
    EXPECT_EQ(g_countries[0], nullptr);
    EXPECT_EQ(g_countries[1], nullptr);
    EXPECT_EQ(GetProvince(5)->GetOwner(), nullptr);
    ASSERT_NE(g_countries[2], nullptr);
    EXPECT_FLOAT_EQ(g_countries[2]->m_treasury, 7.0f);
    EXPECT_EQ(g_countryList.GetCount(), 1u);
}

} // namespace
