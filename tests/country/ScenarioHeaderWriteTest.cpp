// The scenario header written in a running game: the countries in play and
// the scenario give the nations' counts, the game type and the option file.
#include <gtest/gtest.h>

#include <string>

#include "country/Country.h"
#include "data/DataTree.h"
#include "data/Keywords.h"
#include "data/ScenarioHeader.h"
#include "engine/Config.h"
#include "tests/data/ScenarioHeaderFixture.h"
#include "world/Scenario.h"

namespace {

class ScenarioHeaderWriteTest : public test::ScenarioHeaderFixture {
protected:
    void SetUp() override {
        ScenarioHeaderFixture::SetUp();
        SetCountryTagSource(FindCountryTagOfNumber);
    }
    void TearDown() override {
        DeleteAllCountries();
        g_scenario.reset();
        g_gameType = 0;
        ScenarioHeaderFixture::TearDown();
    }
};

TEST_F(ScenarioHeaderWriteTest, WritingTakesTheCurrentGameAndRoundTrips) {
    ASSERT_EQ(Read(info,
                   "name = \"Age\" gametype = 3 set_difficulty = 4 "
                   "ENG = { missiontype = 3 vpcondition = 5 countrymilitary = 2 } HAB = { } }"),
              0);
    g_gameType = 2;
    g_config->SetWord(ConfigOffset::kDifficulty, 1);
    g_scenario = std::make_unique<CScenario>();
    g_scenario->fileName = "scenarios\\age.ovg";
    CCountry* england = CCountry::Create(1);
    england->m_treasury = 1234.9f;
    CCountry::Create(3)->m_treasury = -0.5f;
    CIdObject played(ObjectId(4712, 9));
    CIdObject other(ObjectId(4713, 4));
    CIdObject broadcast(ObjectId(65534, 70)); // outside the players' types: passed over

    const std::string text = Print(KW_HEADER, info.Write());
    EXPECT_NE(text.find("gametype = 2 "), std::string::npos);
    EXPECT_NE(text.find("set_difficulty = 1 "), std::string::npos);
    EXPECT_NE(text.find("saved = yes "), std::string::npos);
    EXPECT_NE(text.find("optionfile = \"scenarios\\age.ovg.cfg\""), std::string::npos);
    EXPECT_EQ(info.optionFile, "scenarios\\age.ovg.cfg");
    EXPECT_NE(text.find("id = { type = 4712 id = 9 } "), std::string::npos);
    EXPECT_NE(text.find("id = { type = 4713 id = 4 } "), std::string::npos);
    EXPECT_EQ(text.find("65534"), std::string::npos);
    EXPECT_NE(text.find("ENG = {"), std::string::npos);
    EXPECT_NE(text.find("missiontype = 3 "), std::string::npos);
    EXPECT_NE(text.find("numgold = 1234 "), std::string::npos);
    EXPECT_NE(text.find("numgold = 0 "), std::string::npos);
    EXPECT_EQ(text.find("vpcondition"), std::string::npos);
    EXPECT_EQ(text.find("playername"), std::string::npos);

    // Read back (after "header = {") and written again: the same bytes.
    ScenarioInfo again;
    reader.Close();
    OpenText(text);
    for (int i = 0; i < 3; ++i)
        File().Next();
    ASSERT_EQ(again.Read(reader), FIELD_BLOCK_END);
    EXPECT_TRUE(again.saved);
    EXPECT_EQ(again.nations[1]->nationMissionType, 2);
    EXPECT_EQ(Print(KW_HEADER, again.Write()), text);
}

} // namespace
