// The scenario header and its selectable nations, with the running game's
// answers given by the test (the header with the real countries is tested in
// tests/country/ScenarioHeaderWriteTest.cpp).
#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <string>
#include <vector>

#include "data/DataTree.h"
#include "data/Keywords.h"
#include "data/ScenarioHeader.h"
#include "engine/Config.h"
#include "engine/StringTree.h"
#include "tests/data/ScenarioHeaderFixture.h"

namespace {

// The countries with tags: 1 ENG, 2 FRA, 3 REB.
constexpr std::array<const char*, 4> kTags = {nullptr, "ENG", "FRA", "REB"};

const char* TagOf(uint32_t number) {
    return number < kTags.size() ? kTags[number] : nullptr;
}

int32_t NumberOfTag(const char* tag) {
    for (uint32_t number = 1; number < kTags.size(); ++number)
        if (CompareNoCase(kTags[number], tag) == 0)
            return static_cast<int32_t>(number);
    return 0;
}

class ScenarioHeaderTest : public test::ScenarioHeaderFixture {
protected:
    void SetUp() override {
        ScenarioHeaderFixture::SetUp();
        m_hooks = g_scenarioHeaderHooks;
        g_scenarioHeaderHooks = ScenarioHeaderHooks{};
        g_scenarioHeaderHooks.findCountryByTag = &NumberOfTag;
        SetCountryTagSource(&TagOf);
    }
    void TearDown() override {
        g_scenarioHeaderHooks = m_hooks;
        SetCountryTagSource(nullptr);
        ScenarioHeaderFixture::TearDown();
    }

private:
    ScenarioHeaderHooks m_hooks;
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

// The file counts mission types from 1; the extremes of a 32-bit number
// are held rather than wrapped.
TEST(MissionTypeTest, ShiftedFromTheFilesCountAndHeld) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"3", 2},
        {"1", 0},
        {"0", -1},
        {"-2147483648", kMin},
        {"-99999999999", kMin},
        {"99999999999", kMax - 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadMissionType(c.text), c.value) << c.text;
}

TEST_F(ScenarioHeaderTest, TutorialNeedsTheWordYesAndSavedAnyValue) {
    ASSERT_EQ(Read(info, "tutorial = 1 saved = no }"), FIELD_BLOCK_END);
    EXPECT_FALSE(info.tutorial);
    EXPECT_TRUE(info.saved);
    ASSERT_EQ(Read(info, "tutorial = no }"), FIELD_BLOCK_END);
    EXPECT_FALSE(info.tutorial);
    EXPECT_FALSE(info.saved);
}

TEST_F(ScenarioHeaderTest, AnUnknownKeyEndsTheRead) {
    EXPECT_EQ(Read(info, "ENG = { } XYZ = 1 name = \"late\" }"), FIELD_ERROR);
    EXPECT_TRUE(BoxShown("ScenarioInfo : Unexpected field"));
    EXPECT_EQ(info.nationCount, 1u);
    EXPECT_EQ(info.name, "");

    ScenarioInfo other;
    EXPECT_EQ(Read(other, "ENG = { countrydifficulty = 1 bogus = 2 } name = \"on\" }"),
              FIELD_BLOCK_END);
    EXPECT_TRUE(BoxShown("Selectable Nation : Unexpected field"));
    EXPECT_EQ(other.nations[1]->countryDifficulty, 1);
}

TEST_F(ScenarioHeaderTest, ATagGivenAgainReplacesItsEntry) {
    std::string body;
    for (int i = 0; i < 100; ++i)
        body += "ENG = { countrydifficulty = " + std::to_string(i) + " } ";
    body += "FRA = { } }";
    ASSERT_EQ(Read(info, body), FIELD_BLOCK_END);
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

// The running game's answers for the test: game type 2, the file being
// played, and England in play with a player.
int32_t RunningGameType() {
    return 2;
}

std::string FileBeingPlayed() {
    return "scenarios\\age.ovg";
}

void EnglandInPlay(uint32_t number, RunningCountry& out) {
    if (number != 1)
        return;
    out.playerName = "England : Ann";
    out.cities = 3;
    out.colonies = 1;
    out.tradingPosts = 2;
    out.gold = 1234;
}

TEST_F(ScenarioHeaderTest, WritingAsksTheRunningGame) {
    const std::string body = "ENG = { missiontactics = \"m.txt\" countrydifficulty = 2 } "
                             "FRA = { numcities = 9 } }";
    struct Case {
        const char* name;
        bool running;
        std::vector<std::string> inOrder; // each found after the one before
        std::vector<std::string> absent;
    };
    const Case cases[] = {
        {"no game running",
         false,
         {"gametype = 0 ", "optionfile = \".cfg\"", "ENG = {", "missiontactics = \"m.txt\" ",
          "countrydifficulty = 2 ", "numcities = 0 ", "numgold = 0 ", "FRA = {", "numcities = 0 "},
         {"playername"}},
        {"a game running",
         true,
         {"gametype = 2 ", "optionfile = \"scenarios\\age.ovg.cfg\"", "ENG = {",
          "missiontactics = \"m.txt\" ", "playername = \"England : Ann\"", "countrydifficulty = 2 ",
          "numcities = 3 ", "numcolonies = 1 ", "numtradingposts = 2 ", "numgold = 1234 ",
          "FRA = {", "numcities = 0 ", "numgold = 0 "},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.running) {
            g_scenarioHeaderHooks.gameType = &RunningGameType;
            g_scenarioHeaderHooks.scenarioFileName = &FileBeingPlayed;
            g_scenarioHeaderHooks.describeRunningCountry = &EnglandInPlay;
        }
        ScenarioInfo header;
        ASSERT_EQ(Read(header, body), FIELD_BLOCK_END);
        const std::string text = Print(KW_HEADER, header.Write());
        size_t at = 0;
        for (const std::string& part : c.inOrder) {
            at = text.find(part, at);
            ASSERT_NE(at, std::string::npos) << part << " in " << text;
        }
        for (const std::string& part : c.absent)
            EXPECT_EQ(text.find(part), std::string::npos) << part;
        // The player's name in play appears once, in England's entry.
        EXPECT_EQ(text.find("playername"), text.rfind("playername"));
    }
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
