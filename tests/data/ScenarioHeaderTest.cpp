// The scenario header and its selectable nations.
#include <gtest/gtest.h>

#include <string>

#include "country/Country.h"
#include "data/DataTree.h"
#include "data/Keywords.h"
#include "data/ScenarioHeader.h"
#include "engine/Config.h"
#include "tests/data/TextFormatFixture.h"
#include "world/Scenario.h"

namespace {

class ScenarioHeaderTest : public test::TextFormatTest {
protected:
    void SetUp() override {
        TextFormatTest::SetUp();
        SetCountryTagSource(GetCountryTag);
        SetCountryTag(1, "ENG");
        SetCountryTag(2, "FRA");
        SetCountryTag(3, "REB");
        g_config = std::make_unique<CConfig>();
        FreeIdRegistries();
    }
    void TearDown() override {
        reader.Close();
        DeleteAllCountries();
        g_countryTags = {};
        g_config.reset();
        g_scenario.reset();
        g_gameType = 0;
        FreeIdRegistries();
    }

    // Reads the header body (after "header = {").
    int Read(ScenarioInfo& info, const std::string& body) {
        reader.Close();
        OpenText(body);
        return info.Read(reader);
    }

    std::string Print(CDataNode* block) {
        CNodeRef<CDataNode> entry(new CDataAssignment(KW_HEADER, block));
        {
            CFieldReader out;
            out.Open("out.txt", "w");
            EXPECT_EQ(entry->Write(out, 0), 0);
        }
        return dir.ReadFile("out.txt");
    }

    ScenarioInfo info;
};

TEST_F(ScenarioHeaderTest, FieldsAndNationsAreRead) {
    ASSERT_EQ(
        Read(info,
             "name = \"The Age\" desc = \"age.txt\" picture = \"age.bmp\" tutorial = yes "
             "startyear = 1492 endyear = 1792 gametype = 3 optionmode = 2 set_difficulty = 4 "
             "set_fow = 1 tutorialfile = \"a.cfg\" optionfile = \"b.cfg\" "
             "ENG = { desc = \"e.txt\" scenariotactics = \"tactics.txt\" picture = \"eng.bmp\" "
             "countrydifficulty = 2 missiontype = 3 vpcondition = 1 vpcondition = 2 numgold = 50 } "
             "fra = { countryeconomy = 4 } }"),
        0);
    EXPECT_EQ(info.name, "The Age");
    EXPECT_EQ(info.descriptionFile, "age.txt");
    EXPECT_TRUE(info.tutorial);
    EXPECT_EQ(info.startYear, 1492);
    EXPECT_EQ(info.endYear, 1792);
    EXPECT_EQ(info.gameType, 3);
    EXPECT_EQ(info.optionMode, 2);
    EXPECT_EQ(info.difficulty, 4);
    EXPECT_EQ(info.fogOfWar, 1);
    EXPECT_EQ(info.gameSpeed, -1);
    EXPECT_EQ(info.optionFile, "b.cfg"); // the later of the two keys
    EXPECT_FALSE(info.saved);
    ASSERT_EQ(info.nationCount, 2u);
    EXPECT_EQ(info.nationOrder[0], 1u);
    EXPECT_EQ(info.nationOrder[1], 2u);
    const CSelectableNation& england = *info.nations[1];
    EXPECT_EQ(england.GetId(), ObjectId(3, 1));
    EXPECT_EQ(england.descriptionFile, "tactics.txt");
    EXPECT_EQ(england.nationMissionType, 2);
    EXPECT_EQ(england.conditionCount, 2u);
    EXPECT_EQ(england.numGold, 50);
    EXPECT_EQ(info.nations[2]->countryEconomy, 4);
    EXPECT_STREQ(info.GetNationPicture(0), "eng.bmp");
    EXPECT_NE(g_idObjectRegistry, nullptr);
}

TEST_F(ScenarioHeaderTest, TutorialNeedsTheWordYesAndSavedAnyValue) {
    ASSERT_EQ(Read(info, "tutorial = 1 saved = no }"), 0);
    EXPECT_FALSE(info.tutorial);
    EXPECT_TRUE(info.saved);
    ASSERT_EQ(Read(info, "tutorial = no }"), 0);
    EXPECT_FALSE(info.tutorial);
    EXPECT_FALSE(info.saved);
}

TEST_F(ScenarioHeaderTest, AnUnknownKeyEndsTheRead) {
    EXPECT_EQ(Read(info, "ENG = { } XYZ = 1 name = \"late\" }"), -2);
    EXPECT_TRUE(BoxShown("ScenarioInfo : Unexpected field"));
    EXPECT_EQ(info.nationCount, 1u);
    EXPECT_EQ(info.name, "");

    ScenarioInfo other;
    EXPECT_EQ(Read(other, "ENG = { countrydifficulty = 1 bogus = 2 } name = \"on\" }"), 0);
    EXPECT_TRUE(BoxShown("Selectable Nation : Unexpected field"));
    EXPECT_EQ(other.nations[1]->countryDifficulty, 1);
}

TEST_F(ScenarioHeaderTest, ATagGivenAgainReplacesItsEntry) {
    std::string body;
    for (int i = 0; i < 100; ++i)
        body += "ENG = { countrydifficulty = " + std::to_string(i) + " } ";
    body += "FRA = { } }";
    ASSERT_EQ(Read(info, body), 0);
    ASSERT_EQ(info.nationCount, 2u);
    EXPECT_EQ(info.nationOrder[0], 1u);
    EXPECT_EQ(info.nationOrder[1], 2u);
    EXPECT_EQ(info.nations[1]->countryDifficulty, 99);
}

TEST_F(ScenarioHeaderTest, AFileEndingInsideTheHeaderKeepsWhatWasRead) {
    EXPECT_EQ(
        Read(info, "name = \"x\" ENG = { picture = \"e.bmp\" } FRA = { countrydifficulty = 3\n"),
        -1);
    EXPECT_EQ(info.nationCount, 2u);
    EXPECT_EQ(info.nations[2]->countryDifficulty, 3);
    EXPECT_NE(g_idObjectRegistry, nullptr);
    EXPECT_NE(g_idEntityRegistry, nullptr);
}

TEST_F(ScenarioHeaderTest, LongTextsAreCut) {
    const std::string longText(600, 'p');
    ASSERT_EQ(Read(info, "optionfile = \"" + longText + "\" ENG = { picture = \"" + longText +
                             "\" playername = \"" + longText + "\" } }"),
              0);
    EXPECT_EQ(info.optionFile.size(), 255u);
    EXPECT_EQ(info.nations[1]->picture.size(), 255u);
    EXPECT_EQ(info.nations[1]->playerName.size(), 255u);
}

TEST_F(ScenarioHeaderTest, WritingTakesTheCurrentGameAndRoundTrips) {
    ASSERT_EQ(Read(info,
                   "name = \"Age\" gametype = 3 set_difficulty = 4 "
                   "ENG = { missiontype = 3 vpcondition = 5 countrymilitary = 2 } REB = { } }"),
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

    const std::string text = Print(info.Write());
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
    ASSERT_EQ(again.Read(reader), 0);
    EXPECT_TRUE(again.saved);
    EXPECT_EQ(again.nations[1]->nationMissionType, 2);
    EXPECT_EQ(Print(again.Write()), text);
}

TEST_F(ScenarioHeaderTest, LoadFindsTheHeaderAmongOtherBlocks) {
    dir.WriteFile("scen.ovg",
                  "globaldata = { a = 1 } header = { name = \"Found\" ENG = { } } country = { }");
    info.Load("scen.ovg");
    EXPECT_EQ(info.name, "Found");
    EXPECT_EQ(info.nationCount, 1u);

    dir.WriteFile("none.ovg", "globaldata = { a = 1 }");
    info.Load("none.ovg");
    EXPECT_EQ(info.nationCount, 0u);
    EXPECT_EQ(info.nations[1], nullptr);
}

TEST_F(ScenarioHeaderTest, DescriptionsStopAtTheFirstZeroByte) {
    dir.WriteFile("age.txt", std::string("Long ago\0junk", 13));
    info.descriptionFile = "age.txt";
    EXPECT_STREQ(info.LoadDescription(), "Long ago");
    info.descriptionFile = "missing.txt";
    EXPECT_EQ(info.LoadDescription(), nullptr);
}

} // namespace
