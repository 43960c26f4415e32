// A country's religion: the default tolerances under the reformation's
// flags, the "religion" block, and the religion comparisons.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "country/Country.h"
#include "country/CountryReligion.h"
#include "data/Keywords.h"
#include "engine/TextDatabase.h"
#include "tests/data/TextFormatFixture.h"
#include "world/Globals.h"
#include "world/MapModes.h"
#include "world/Province.h"
#include "world/ScenarioSteps.h"
#include "world/Settlement.h"

namespace {

using Tolerances = std::array<float, kReligionCount>;

// The printed text on one line: every run of blanks and line breaks
// becomes one blank.
std::string Flat(const std::string& text) {
    std::string flat;
    for (char c : text) {
        const bool blank = c == ' ' || c == '\n';
        if (!blank || flat.empty() || flat.back() != ' ')
            flat.push_back(blank ? ' ' : c);
    }
    return flat;
}

class CountryReligionTest : public test::TextFormatTest {
protected:
    void SetUp() override {
        TextFormatTest::SetUp();
        g_globals.eventFlags.fill(false);
        g_fantasyMode = 0;
    }
    void TearDown() override {
        reader.Close();
        g_globals.eventFlags.fill(false);
        g_fantasyMode = 0;
        DeleteAllCountries();
    }

    void SetFlags(bool protestant, bool reformed) {
        g_globals.eventFlags[1] = protestant;
        g_globals.eventFlags[2] = reformed;
    }

    // Reads the block body (after its "{") into the record.
    int32_t Read(CCountryReligion& record, const std::string& body) {
        reader.Close();
        OpenText(body);
        return record.Read(reader);
    }
};

TEST_F(CountryReligionTest, DefaultTolerancesFollowTheReligionAndTheFlags) {
    struct Case {
        uint32_t religion;
        bool protestant; // flag 1
        bool reformed;   // flag 2
        Tolerances expected;
    };
    const Case cases[] = {
        {RELIGION_PROTESTANT, true, true, {6, 2, -2, -2, 0, -6, -6, 0}},
        {RELIGION_PROTESTANT, true, false, {6, 0, 0, 0, 0, -6, -6, 0}},
        {RELIGION_REFORMED, false, false, {3, 5, -2, -2, 0, -6, -6, 0}},
        {RELIGION_REFORMED, true, true, {3, 5, -2, -2, 0, -6, -6, 0}},
        {RELIGION_COUNTERREFORM, true, true, {-5, -5, 10, 10, 3, -3, -3, 0}},
        {RELIGION_CATHOLIC, true, true, {-4, -2, 10, 10, 2, -6, -6, 0}},
        {RELIGION_CATHOLIC, false, true, {-4, -2, 10, 10, 2, -6, -6, 0}},
        {RELIGION_CATHOLIC, true, false, {-4, 0, 10, 10, 2, -7, -7, 0}},
        {RELIGION_CATHOLIC, false, false, {0, 0, 10, 10, 0, 0, -10, 0}},
        {RELIGION_ORTHODOX, true, true, {-3, -3, 0, 0, 10, -4, -4, 0}},
        {RELIGION_ORTHODOX, true, false, {-2, 0, -2, -2, 10, -4, -4, 0}},
        {RELIGION_ORTHODOX, false, false, {0, 0, -4, -4, 10, -6, -6, 0}},
        {RELIGION_SUNNI, true, false, {-2, -2, -2, -2, 0, 10, -6, 0}},
        {RELIGION_SUNNI, false, true, {0, 0, -3, -3, -1, 10, -6, 0}},
        {RELIGION_SHIITE, true, false, {-2, -2, -2, -2, 0, -6, 10, 0}},
        {RELIGION_SHIITE, false, false, {0, 0, -3, -3, -1, -6, 10, 0}},
        {RELIGION_PAGAN, true, true, {}},
        {12, true, true, {}},
    };
    for (const Case& c : cases) {
        SetFlags(c.protestant, c.reformed);
        const CCountryReligion record = GetDefaultTolerances(c.religion);
        EXPECT_EQ(record.stateReligion, c.religion);
        EXPECT_EQ(record.tolerance, c.expected)
            << "religion " << c.religion << " flags " << c.protestant << c.reformed;
    }
}

TEST_F(CountryReligionTest, TheBlockSetsReligionAndTolerancesInItsOrder) {
    struct Case {
        const char* body;
        uint32_t religion;
        Tolerances expected;
        int32_t answer;
        const char* report = nullptr; // null: none
    };
    const Case cases[] = {
        {"type = catholic }", RELIGION_CATHOLIC, {0, 0, 10, 10, 0, 0, -10, 0}, FIELD_BLOCK_END},
        // The counter-reformed tolerance follows the catholic one at once.
        {"type = catholic catholic = 4 counterreform = 9 }",
         RELIGION_CATHOLIC,
         {0, 0, 4, 4, 0, 0, -10, 0},
         FIELD_BLOCK_END},
        {"type = shiite shiite = 3 pagan = 1.5 }",
         RELIGION_SHIITE,
         {0, 0, -3, -3, -1, -6, 3, 1.5f},
         FIELD_BLOCK_END},
        // A block holding only "counterreform" changes nothing.
        {"counterreform = 9 }", RELIGION_PAGAN, {}, FIELD_BLOCK_END},
        // "type" replaces what came before it.
        {"orthodox = 7 type = orthodox sunni = -1 }",
         RELIGION_ORTHODOX,
         {0, 0, -4, -4, 10, -1, -6, 0},
         FIELD_BLOCK_END},
        // An unknown religion keeps the old one, and its defaults apply.
        {"type = druid reformed = 2 }",
         RELIGION_PAGAN,
         {0, 2, 0, 0, 0, 0, 0, 0},
         FIELD_BLOCK_END,
         "Unknown religion"},
        {"protestant = 2 state = catholic orthodox = 5 }",
         RELIGION_PAGAN,
         {2, 0, 0, 0, 0, 0, 0, 0},
         FIELD_ERROR,
         "Country : Unexpected field"},
        {"type = sunni ", RELIGION_SUNNI, {0, 0, -3, -3, -1, 10, -6, 0}, FIELD_END_OF_FILE},
    };
    for (const Case& c : cases) {
        boxes.texts.clear();
        CCountryReligion record;
        EXPECT_EQ(Read(record, c.body), c.answer) << c.body;
        EXPECT_EQ(record.stateReligion, c.religion) << c.body;
        EXPECT_EQ(record.tolerance, c.expected) << c.body;
        if (c.report)
            EXPECT_TRUE(BoxShown(c.report)) << c.body;
        else
            EXPECT_TRUE(boxes.texts.empty()) << c.body;
    }
}

// After an unexpected key the rest of the block is passed over, so that
// its fields are not read as the country's.
TEST_F(CountryReligionTest, AnUnexpectedKeyPassesOverTheRestOfTheBlock) {
    CCountryReligion record;
    ASSERT_EQ(Read(record, "state = { a = 1 } catholic = 3 } treasury = 5 }"), FIELD_ERROR);
    EXPECT_FLOAT_EQ(record.tolerance[RELIGION_CATHOLIC], 0.0f);
    ASSERT_EQ(reader.ReadField(), FIELD_READ);
    EXPECT_EQ(reader.key.code, KW_TREASURY);

    SetCountryTagSource(FindCountryTagOfNumber);
    CCountry& country = *CCountry::Create(1);
    reader.Close();
    OpenText("religion = { state = catholic orthodox = 5 } treasury = 70 }");
    reader.currentCountry = &country;
    EXPECT_EQ(country.Read(reader), FIELD_BLOCK_END);
    EXPECT_FLOAT_EQ(country.m_treasury, 70.0f);
    EXPECT_FLOAT_EQ(country.m_religion.tolerance[RELIGION_ORTHODOX], 0.0f);
}

TEST_F(CountryReligionTest, TheBlockIsWrittenInItsOrderAndRoundTrips) {
    SetFlags(true, true);
    CCountryReligion record;
    ASSERT_EQ(Read(record, "type = catholic sunni = -2.5 }"), FIELD_BLOCK_END);
    const std::string first = Flat(Print(KW_RELIGION, record.Write()));
    EXPECT_EQ(first, "religion = { type = catholic catholic = 10.000000 orthodox = 2.000000 "
                     "protestant = -4.000000 sunni = -2.500000 shiite = -6.000000 "
                     "pagan = 0.000000 reformed = -2.000000 } ");

    // Read back under other flags: the written values win over the defaults.
    SetFlags(false, false);
    CCountryReligion again;
    reader.Close();
    OpenText(first);
    ASSERT_EQ(reader.ReadField(), FIELD_READ);
    ASSERT_EQ(again.Read(reader), FIELD_BLOCK_END);
    EXPECT_EQ(again.tolerance, record.tolerance);
    EXPECT_EQ(Flat(Print(KW_RELIGION, again.Write())), first);
}

TEST_F(CountryReligionTest, SettersKeepTheCounterReformedEqualToTheCatholic) {
    CCountryReligion record = GetDefaultTolerances(RELIGION_PROTESTANT);
    record.SetTolerance(RELIGION_CATHOLIC, 3.0f);
    EXPECT_FLOAT_EQ(record.tolerance[RELIGION_COUNTERREFORM], 3.0f);
    record.SetTolerance(RELIGION_COUNTERREFORM, 8.0f);
    EXPECT_FLOAT_EQ(record.tolerance[RELIGION_COUNTERREFORM], 3.0f);
    record.SetTolerance(42, 8.0f); // ignored
    EXPECT_FLOAT_EQ(record.GetTolerance(42), 0.0f);

    CCountryReligion copy;
    copy.Assign(record);
    EXPECT_EQ(copy.tolerance, record.tolerance);
    EXPECT_EQ(copy.stateReligion, RELIGION_PROTESTANT);
}

TEST_F(CountryReligionTest, ReligionsDifferExceptTheTwoCatholics) {
    struct Case {
        uint32_t a, b;
        bool different;
    };
    const Case cases[] = {{RELIGION_CATHOLIC, RELIGION_COUNTERREFORM, false},
                          {RELIGION_COUNTERREFORM, RELIGION_CATHOLIC, false},
                          {RELIGION_SUNNI, RELIGION_SUNNI, false},
                          {RELIGION_PROTESTANT, RELIGION_REFORMED, true},
                          {RELIGION_SUNNI, RELIGION_SHIITE, true},
                          {RELIGION_CATHOLIC, RELIGION_ORTHODOX, true}};
    for (const Case& c : cases)
        EXPECT_EQ(IsDifferentReligion(c.a, c.b), c.different) << c.a << " " << c.b;
}

TEST_F(CountryReligionTest, AvailabilityFollowsTheFlagsUnlessFantasy) {
    struct Case {
        std::array<bool, 5> flags;
        bool fantasy;
        uint32_t religion;
        bool available;
    };
    const Case cases[] = {
        {{}, false, RELIGION_PROTESTANT, false},
        {{false, true}, false, RELIGION_PROTESTANT, true},
        {{false, true}, false, RELIGION_REFORMED, false},
        {{false, true, true}, false, RELIGION_REFORMED, true},
        {{}, false, RELIGION_COUNTERREFORM, false},
        {{false, false, false, true}, false, RELIGION_COUNTERREFORM, true},
        {{false, false, false, true, true}, false, RELIGION_COUNTERREFORM, false},
        {{false, false, false, true, true}, true, RELIGION_COUNTERREFORM, true},
        {{}, false, RELIGION_CATHOLIC, true},
        {{}, false, RELIGION_PAGAN, true},
        {{}, false, 8, false},
        {{}, true, RELIGION_PROTESTANT, true},
    };
    for (const Case& c : cases) {
        for (size_t n = 0; n < c.flags.size(); ++n)
            g_globals.eventFlags[n] = c.flags[n];
        g_fantasyMode = c.fantasy ? 1 : 0;
        EXPECT_EQ(IsReligionAvailable(c.religion), c.available)
            << "religion " << c.religion << " fantasy " << c.fantasy;
    }
}

TEST_F(CountryReligionTest, DisplayNamesComeFromTheTextsAndUnknownCodesArePagan) {
    dir.WriteFile("config/text.csv", "CREFCATHOLIC;Counter-Reformed;;;;;;;;;;\r\n"
                                     "SHIITE;Shia;;;;;;;;;;\r\n"
                                     "PAGAN;Heathen;;;;;;;;;;\r\n#EOF;\r\n");
    ASSERT_TRUE(g_textDatabase.Load(0));
    EXPECT_EQ(GetReligionDisplayName(RELIGION_COUNTERREFORM), "Counter-Reformed");
    EXPECT_EQ(GetReligionDisplayName(RELIGION_SHIITE), "Shia");
    EXPECT_EQ(GetReligionDisplayName(RELIGION_PAGAN), "Heathen");
    EXPECT_EQ(GetReligionDisplayName(9), "Heathen");
}

// The world asks for a country's state religion through its seams.
TEST_F(CountryReligionTest, TheWorldSeesTheStateReligion) {
    SetCountryTagSource(FindCountryTagOfNumber);
    CCountry& country = *CCountry::Create(5);
    country.m_religion = GetDefaultTolerances(RELIGION_SUNNI);
    for (auto hook : {g_scenarioSteps.stateReligionOf, g_settlementCountries.religionOf,
                      g_mapModeHooks.religionOf}) {
        ASSERT_NE(hook, nullptr);
        EXPECT_EQ(hook(5), RELIGION_SUNNI);
        EXPECT_EQ(hook(6), -1); // no country
    }
}

} // namespace
