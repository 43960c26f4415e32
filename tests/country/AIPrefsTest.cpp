// The computer player's preferences: the ".ai" reader, its bad input and the
// personalities the generator writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "country/CountryParts.h"
#include "data/Keywords.h"
#include "tests/TestSupport.h"
#include "world/Province.h"

namespace {

class AIPrefsTest : public ::testing::Test {
protected:
    void SetUp() override { BuildKeywordIndex(); }

    // Reads the text as a ".ai" file; the reader's error lines show as
    // boxes.
    int32_t Read(const std::string& text, CAIPrefs& prefs) {
        m_dir.WriteFile("test.ai", text);
        CFieldReader in;
        in.Open("test.ai", "r");
        const int32_t answer = prefs.Read(in);
        in.Close();
        return answer;
    }

    // Every error line shown so far.
    std::string Log() const {
        std::string all;
        for (const std::string& text : m_boxes.texts)
            all += text + "\n";
        return all;
    }

    test::ScopedGameDir m_dir;
    test::BoxRecorder m_boxes;
};

TEST_F(AIPrefsTest, WeightsAndListsAreRead) {
    CAIPrefs prefs;
    EXPECT_EQ(Read("tradingpost = 30 neighbour = 25 enemies = 15 expansion = 20\n"
                   "traders = 25 monopoly = 10 war = 15\n"
                   "continent = { Europe Asia } region = { Siberia \"British Isles\" }\n"
                   "area = { Alaska }\n",
                   prefs),
              FIELD_END_OF_FILE);
    EXPECT_EQ(prefs.tradingpost, 30u);
    EXPECT_EQ(prefs.neighbour, 25u);
    EXPECT_EQ(prefs.enemies, 15u);
    EXPECT_EQ(prefs.expansion, 20u);
    EXPECT_EQ(prefs.traders, 25u);
    EXPECT_EQ(prefs.monopoly, 10u);
    EXPECT_EQ(prefs.war, 15u);
    EXPECT_EQ(prefs.continents, (std::vector<int32_t>{2, 3}));
    EXPECT_EQ(prefs.regions, (std::vector<int32_t>{13, 5}));
    EXPECT_EQ(prefs.areas, (std::vector<int32_t>{1}));
    EXPECT_TRUE(Log().empty()) << Log();
}

// Bad values are reported and passed over; the reading goes on.
TEST_F(AIPrefsTest, ValuesThatAreNoWholeNumbersAndUnknownNamesArePassedOver) {
    CAIPrefs prefs;
    prefs.war = 7;
    EXPECT_EQ(Read("war = 2.5\nmonopoly = many\nexpansion = 99999999999\n"
                   "continent = { Atlantis Europe }\n}\nneighbour 4\ntraders = 3\n",
                   prefs),
              FIELD_END_OF_FILE);
    EXPECT_EQ(prefs.war, 7u);
    EXPECT_EQ(prefs.monopoly, 0u);
    EXPECT_EQ(prefs.expansion, 0u);
    EXPECT_EQ(prefs.continents, (std::vector<int32_t>{2}));
    EXPECT_EQ(prefs.traders, 3u);
    const std::string log = Log();
    EXPECT_NE(log.find("Not a whole number"), std::string::npos) << log;
    EXPECT_NE(log.find("Atlantis"), std::string::npos) << log;
}

TEST_F(AIPrefsTest, AnUnknownKeyEndsTheReadingWithItsError) {
    CAIPrefs prefs;
    EXPECT_EQ(Read("war = 5\naggression = 50\ntraders = 3\n", prefs), FIELD_ERROR);
    EXPECT_EQ(prefs.war, 5u);
    EXPECT_EQ(prefs.traders, 0u);
    EXPECT_NE(Log().find("ai-prefs : Unexpected field"), std::string::npos) << Log();
}

TEST_F(AIPrefsTest, ALaterListReplacesTheEarlierAndAnUnclosedOneEndsTheFile) {
    CAIPrefs prefs;
    EXPECT_EQ(Read("continent = { Europe } continent = { Africa }\narea = { Alaska\n", prefs),
              FIELD_END_OF_FILE);
    EXPECT_EQ(prefs.continents, (std::vector<int32_t>{5}));
    EXPECT_EQ(prefs.areas, (std::vector<int32_t>{1}));
}

TEST_F(AIPrefsTest, RatingAddsForEachFavouredGroup) {
    CAIPrefs prefs;
    prefs.areas = {4};
    prefs.regions = {9};
    prefs.continents = {2};
    CProvince province;
    province.area = 4;
    province.region = 9;
    province.continent = 2;
    EXPECT_FLOAT_EQ(prefs.RateProvince(1.0f, province), 86.0f);
    province.area = 5;
    province.continent = 3;
    EXPECT_FLOAT_EQ(prefs.RateProvince(1.0f, province), 26.0f);
}

// The personalities of the generated world read without a fault.
TEST_F(AIPrefsTest, TheGeneratedPersonalitiesReadClean) {
    test::CopyDemoWorld(m_dir.Path());
    for (const char* name : {"default.ai", "holland.ai"}) {
        CAIPrefs prefs;
        CFieldReader in;
        in.Open(std::string("ai\\") + name, "r");
        ASSERT_TRUE(in.IsOpen()) << name;
        EXPECT_EQ(prefs.Read(in), FIELD_END_OF_FILE) << name;
        in.Close();
        EXPECT_GT(prefs.tradingpost, 0u) << name;
        EXPECT_FALSE(prefs.continents.empty()) << name;
        EXPECT_TRUE(Log().empty()) << name << Log();
    }
}

// A basevp block with a stray token and an eighth value: both are reported,
// the seven values are kept and the block still ends at its "}", so the
// field after it is read.
TEST_F(AIPrefsTest, ABaseVpBlockWithTooManyValuesOrAStrayTokenKeepsItsSeven) {
    m_dir.WriteFile("vp.txt", "basevp = { 1, 2.5 3 x 4 5 6 7 8 }\nvp = 40\n");
    CFieldReader in;
    in.Open("vp.txt", "r");
    ASSERT_EQ(in.ReadField(), FIELD_READ);
    CBaseVP vp;
    vp.values.fill(-1.0f);
    EXPECT_EQ(vp.Read(in), FIELD_BLOCK_END);
    EXPECT_EQ(vp.values, (std::array<float, 7>{1.0f, 2.5f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f}));
    ASSERT_EQ(in.ReadField(), FIELD_READ);
    EXPECT_EQ(in.key.code, KW_VP);
    in.Close();
    EXPECT_TRUE(m_boxes.Shown("basevp: Unexpected field"));
    EXPECT_TRUE(m_boxes.Shown("Too many values for basevp"));
}

// Fewer values keep the others as they were.
TEST_F(AIPrefsTest, AShortBaseVpBlockKeepsTheRest) {
    m_dir.WriteFile("vp.txt", "basevp = { 1, 2.5, 3 }\n");
    CFieldReader in;
    in.Open("vp.txt", "r");
    ASSERT_EQ(in.ReadField(), FIELD_READ);
    CBaseVP vp;
    vp.values.fill(9.0f);
    EXPECT_EQ(vp.Read(in), FIELD_BLOCK_END);
    EXPECT_EQ(vp.values, (std::array<float, 7>{1.0f, 2.5f, 3.0f, 9.0f, 9.0f, 9.0f, 9.0f}));
    in.Close();
    EXPECT_TRUE(m_boxes.texts.empty());
}

} // namespace
