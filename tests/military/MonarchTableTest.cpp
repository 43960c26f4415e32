// The country's table of monarchs to come, the reigning figure's values
// with a minister standing in, and a random reign.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "country/Country.h"
#include "data/DataTree.h"
#include "data/Keywords.h"
#include "engine/Random.h"
#include "military/units/LeaderRegistry.h"
#include "military/units/Monarch.h"
#include "net/EventTypes.h"
#include "tests/military/MilitaryBlockFixture.h"

namespace {

class MonarchTableTest : public test::MilitaryBlockTest {
protected:
    void SetUp() override {
        MilitaryBlockTest::SetUp();
        SetCountryTagSource(FindCountryTagOfNumber);
        g_countryController.fill(0);
    }
    void TearDown() override {
        reader.Close();
        DeleteAllCountries();
        MilitaryBlockTest::TearDown();
    }
};

TEST_F(MonarchTableTest, HistoricalMonarchsAreReadRegisteredAndWrittenBack) {
    CCountry* country = CCountry::Create(1);
    ASSERT_NE(country, nullptr);
    OpenText("monarchtable = { historicalmonarch = { id = { type = 6 id = 41 } name = \"Henry\" "
             "startdate = { year = 1610 } ADM = 7 DIP = 3 MIL = 5 } "
             "monarch = { name = \"Stray\" } "
             "historicalmonarch = { id = { type = 6 id = 42 } name = \"Anne\" ADM = 4 } } }");
    reader.currentCountry = country;
    ASSERT_EQ(country->Read(reader), FIELD_BLOCK_END);
    EXPECT_TRUE(BoxShown("Monarchtable : Unexpected field"));
    const CMonarchTable& table = country->m_monarchTable;
    ASSERT_EQ(table.GetCount(), 2u);
    EXPECT_TRUE(table.GetMonarchs()[0]->IsHistorical());
    EXPECT_EQ(table.GetMonarchs()[0]->adm, 7);
    EXPECT_EQ(table.GetMonarchs()[1]->GetLeader().GetName(), "Anne");
    // Registered with the leader registry under its id.
    EXPECT_NE(ResolveId(ObjectId(6, 41)), nullptr);

    const std::string first = Print(KW_MONARCHTABLE, table.Write());
    EXPECT_NE(first.find("historicalmonarch"), first.rfind("historicalmonarch"));
    CMonarchTable again;
    reader.Close();
    OpenBlock(first);
    reader.currentCountry = country;
    ASSERT_EQ(again.Read(reader), FIELD_BLOCK_END);
    EXPECT_EQ(again.GetCount(), 2u);
    EXPECT_EQ(Print(KW_MONARCHTABLE, again.Write()), first);
}

TEST_F(MonarchTableTest, TheMinisterStandsInForTheMonarchItMatches) {
    CCountry* country = CCountry::Create(2);
    ASSERT_NE(country, nullptr);
    // Without a monarch every value is 3.
    EXPECT_EQ(country->GetMonarchAdm(), 3);
    EXPECT_EQ(country->GetMonarchMil(), 3);
    const float diplomatsWithoutMonarch = country->GetYearlyDiplomats();

    auto monarch = std::make_unique<CHistoricalMonarch>();
    monarch->GetLeader().SetId(ObjectId(6, 50));
    monarch->adm = 12; // held at 9
    monarch->dip = 4;
    monarch->mil = 6;
    country->m_monarch.reset(monarch.release());
    EXPECT_EQ(country->GetMonarchAdm(), 9);
    EXPECT_EQ(country->GetMonarchDip(), 4);
    EXPECT_EQ(country->GetMonarchMil(), 6);

    country->m_minister.SetId(ObjectId(6, 50));
    country->m_minister.adm = 2;
    country->m_minister.dip = 8;
    country->m_minister.mil = 11;
    EXPECT_EQ(country->GetMonarchAdm(), 2);
    EXPECT_EQ(country->GetMonarchDip(), 8);
    EXPECT_EQ(country->GetMonarchMil(), 9);
    EXPECT_EQ(country->GetBudgetBoostBase(), 4); // pagan: 2 x ADM
    // The yearly diplomats' king term follows the reigning DIP: 8 - 5
    // against at least 1 without a monarch.
    EXPECT_FLOAT_EQ(country->GetYearlyDiplomats() - diplomatsWithoutMonarch, 2.0f);

    // Removing the minister brings the monarch's own values back.
    COVSimpleEvent remove(EVT_REMOVE_MINISTER, country->GetId());
    country->HandleMessage(remove);
    EXPECT_EQ(country->GetMonarchDip(), 4);
    EXPECT_EQ(country->GetBudgetBoostBase(), 18);
}

TEST_F(MonarchTableTest, ARandomReignLastsFiveToFortyFourYears) {
    GameSrand(7);
    int shortest = 1000;
    int longest = 0;
    for (int i = 0; i < 400; ++i) {
        CMonarch monarch;
        monarch.SetRandomReign();
        const CLeader& leader = monarch.GetLeader();
        EXPECT_EQ(leader.startDate, kToday);
        EXPECT_EQ(leader.endDate.day, kToday.day);
        EXPECT_EQ(leader.endDate.month, kToday.month);
        const int years = leader.endDate.year - kToday.year;
        shortest = std::min(shortest, years);
        longest = std::max(longest, years);
    }
    EXPECT_EQ(shortest, 5);
    EXPECT_EQ(longest, 44);
}

} // namespace
