// The minister, the modifier table, unit prices and build times, the force
// record, the diplomatic matrix and the date helpers.
#include <gtest/gtest.h>

#include <string>

#include "country/BuildingCosts.h"
#include "country/Country.h"
#include "country/CountryRecords.h"
#include "country/Relations.h"
#include "country/StartupTables.h"
#include "data/Keywords.h"
#include "net/EventTypes.h"
#include "tests/country/EconomyFixture.h"

namespace {

using CountryRecordsTest = test::EconomyTest;

COVDataEvent MinisterMessage(const ObjectId& id, uint32_t update, const char* name) {
    COVDataEvent event(EVT_SET_MINISTER, ObjectId(3, 1));
    event.Payload().Set(MinisterPayload::kMinister, id);
    event.Payload().Set(MinisterPayload::kAdm, 7);
    event.Payload().Set(MinisterPayload::kMil, 4);
    event.Payload().Set(MinisterPayload::kDip, 9);
    event.Payload().Set(MinisterPayload::kUpdate, update);
    event.Payload().Set(MinisterPayload::kName, name);
    return event;
}

TEST_F(CountryRecordsTest, TheMinisterTakesSetAndRemoveMessages) {
    CMinister minister;
    COVDataEvent set = MinisterMessage(ObjectId(6, 3), 0, "Colbert");
    EXPECT_EQ(minister.HandleMessage(set), EVENT_NOT_HANDLED);
    EXPECT_EQ(minister.GetId(), ObjectId(6, 3));
    EXPECT_EQ(minister.adm, 7);
    EXPECT_EQ(minister.mil, 4);
    EXPECT_EQ(minister.dip, 9);
    EXPECT_STREQ(minister.GetName(), "Colbert");

    // An update for another minister is ignored; one for this one is taken.
    COVDataEvent other = MinisterMessage(ObjectId(6, 4), 1, "Mazarin");
    EXPECT_EQ(minister.HandleMessage(other), EVENT_CONSUMED);
    EXPECT_STREQ(minister.GetName(), "Colbert");
    COVDataEvent same = MinisterMessage(ObjectId(6, 3), 1, "Colbert II");
    EXPECT_EQ(minister.HandleMessage(same), EVENT_NOT_HANDLED);
    EXPECT_STREQ(minister.GetName(), "Colbert II");

    COVSimpleEvent remove(EVT_REMOVE_MINISTER, ObjectId(3, 1));
    EXPECT_EQ(minister.HandleMessage(remove), EVENT_NOT_HANDLED);
    EXPECT_TRUE(minister.GetId().IsNull());
    EXPECT_FALSE(minister.MatchesId(g_nullId));

    // The country hands both messages to its minister.
    CCountry& country = Make(1);
    EXPECT_EQ(country.HandleMessage(set), EVENT_NOT_HANDLED);
    EXPECT_EQ(country.m_minister.GetId(), ObjectId(6, 3));
}

TEST_F(CountryRecordsTest, TheMinisterBlockRoundTripsAndRefusesOtherKeys) {
    CMinister minister;
    ASSERT_EQ(ReadBlock(minister, "minister = { MIL = 2 name = \"Cecil\" "
                                  "id = { type = 6 id = 12 } ADM = 8 DIP = 5 }"),
              FIELD_BLOCK_END);
    EXPECT_EQ(minister.GetId(), ObjectId(6, 12));
    EXPECT_EQ(minister.adm, 8);
    const std::string first = Print(KW_MINISTER, minister.Write());
    EXPECT_LT(first.find("name"), first.find("ADM"));
    CMinister again;
    reader.Close();
    OpenBlock(first);
    ASSERT_EQ(again.Read(reader), FIELD_BLOCK_END);
    EXPECT_EQ(Print(KW_MINISTER, again.Write()), first);

    CMinister bad;
    EXPECT_EQ(ReadBlock(bad, "minister = { ADM = 3 colour = { 1 } DIP = 4 } after = 1\n"),
              FIELD_ERROR);
    EXPECT_TRUE(BoxShown("Mnister : Unexpected field"));
    EXPECT_EQ(bad.adm, 3);
    ASSERT_EQ(reader.ReadField(), FIELD_READ);
    EXPECT_STREQ(reader.key.text, "after");
}

TEST_F(CountryRecordsTest, ModifiersAgeAndSumByKind) {
    CModifierTable table;
    table.Add(2, 0.25f, 1);
    table.Add(2, 0.5f, 3);
    table.Add(0, 1.0f, 2);
    table.Add(7, 9.0f, 2); // no such kind: kept, counted nowhere
    EXPECT_FLOAT_EQ(table.GetValue(2), 0.75f);
    EXPECT_FLOAT_EQ(table.GetValue(0), 1.0f);
    EXPECT_FLOAT_EQ(table.GetValue(7), 0.0f);
    table.MonthlyUpdate();
    EXPECT_FLOAT_EQ(table.GetValue(2), 0.5f);
    EXPECT_EQ(table.GetEntries().size(), 3u);
    table.MonthlyUpdate();
    EXPECT_FLOAT_EQ(table.GetValue(0), 0.0f);
    EXPECT_EQ(table.GetEntries().size(), 1u);

    // The cost modifier is kind 2 plus inflation.
    CCountry& country = Make(1);
    country.m_inflation = 0.1f;
    country.m_modifiers.Add(2, 0.2f, 4);
    country.m_modifiers.Add(1, 5.0f, 4);
    EXPECT_NEAR(country.GetCostModifier(), 0.3f, 1e-6f);
}

TEST_F(CountryRecordsTest, ModifierBlocksRoundTripInTheCountry) {
    CCountry& country = Make(1);
    ASSERT_EQ(Read(country, "modifiers = { value = 2 value = 0.5 value = 6 } "
                            "modifiers = { value = 0 value = -1.25 value = 3 } "
                            "modifiers = { value = 1 frobs = 2 } "
                            "modifiers = { value = 1 value = 2 value = 3 value = 4 } badboy = 2 }"),
              FIELD_BLOCK_END);
    EXPECT_TRUE(BoxShown("Modifier : Unexpected field"));
    EXPECT_EQ(country.m_badBoy, 2);
    ASSERT_EQ(country.m_modifiers.GetEntries().size(), 2u);
    EXPECT_FLOAT_EQ(country.m_modifiers.GetValue(2), 0.5f);
    EXPECT_EQ(country.m_modifiers.GetEntries()[1].monthsLeft, 3);
    const std::string text = Print(KW_COUNTRY, country.Write());
    EXPECT_NE(text.find("modifiers"), text.rfind("modifiers")); // one block an entry
    DeleteAllCountries();
    CCountry& again = Make(1);
    reader.Close();
    OpenText(text);
    for (int i = 0; i < 6; ++i) // "country = { tag = ENG"
        File().Next();
    reader.currentCountry = &again;
    ASSERT_EQ(again.Read(reader), FIELD_BLOCK_END);
    EXPECT_EQ(again.m_modifiers.GetEntries().size(), 2u);
    EXPECT_EQ(Print(KW_COUNTRY, again.Write()), text);
}

// A damaged saved game's counts and modifier months at the ends of the
// 32-bit range: they are read where the month's count-down and the loan
// price (three times the cancelled and extended loans) stay in range (the
// build's sanitizer stops at an overflow).
TEST_F(CountryRecordsTest, CountsAndModifierMonthsOfAFileAreHeldWhereTheRulesCanUseThem) {
    struct Case {
        const char* text;
        int32_t count;
        size_t modifiersAfterAMonth;
    };
    const Case cases[] = {
        {"-2147483648", -1000000, 0},
        {"2147483647", 1000000, 1},
        {"999999999999999999999", 1000000, 1},
        {"4", 4, 1},
    };
    for (const Case& c : cases) {
        DeleteAllCountries();
        CCountry& country = Make(1);
        const std::string v = c.text;
        ASSERT_EQ(Read(country, "cancelledloans = " + v + " extendedloans = " + v +
                                    " colonialattempts = " + v +
                                    " modifiers = { value = 2 value = 0.5 value = " + v + " } }"),
                  FIELD_BLOCK_END)
            << v;
        EXPECT_EQ(country.m_cancelledLoans, c.count) << v;
        EXPECT_EQ(country.m_extendedLoans, c.count) << v;
        EXPECT_EQ(country.m_colonialAttempts, c.count) << v;
        (void)country.GetLoanInterest();
        country.m_modifiers.MonthlyUpdate();
        EXPECT_EQ(country.m_modifiers.GetEntries().size(), c.modifiersAfterAMonth) << v;
    }
}

TEST_F(CountryRecordsTest, UnitPricesFollowClassDifficultyTechnologyAndModifier) {
    CTechRow land;
    land.costTerm = 3;
    CTechRow naval;
    naval.costTerm = 2;
    g_landTechTable.SetRows({land});
    g_navalTechTable.SetRows({naval});
    g_buildingCostClasses[1] = {1, 2, 3, 4, 1, 0}; // A B C D A -
    CCountry& country = Make(1);
    struct Case {
        uint32_t controller, difficulty;
        float inflation;
        bool fantasy;
        int32_t infantry, cavalry, artillery, warship, galley, transport;
    };
    const Case cases[] = {
        // 12 + 3, 24 + 6, 20 + 9, 15 + 4, 10 + 4, 0 + 2
        {0, 4, 0.0f, false, 15, 30, 29, 19, 14, 2},
        // a human at difficulty 4: +2 per weight
        {1, 4, 0.0f, false, 17, 34, 39, 29, 18, 10},
        // x 1.5, truncated
        {0, 0, 0.5f, false, 22, 45, 43, 28, 21, 3},
        // never below 1
        {0, 0, -5.0f, false, 1, 1, 1, 1, 1, 1},
        // the fantasy setting: class "C" for all
        {0, 0, 0.0f, true, 7, 18, 29, 24, 10, 16},
    };
    for (const Case& c : cases) {
        g_countryController[1] = c.controller;
        g_config->SetWord(ConfigOffset::kDifficulty, c.difficulty);
        country.m_inflation = c.inflation;
        g_fantasyMode = c.fantasy ? 1 : 0;
        const int32_t prices[] = {country.GetInfantryPrice(),  country.GetCavalryPrice(),
                                  country.GetArtilleryPrice(), country.GetWarshipPrice(),
                                  country.GetGalleyPrice(),    country.GetTransportPrice()};
        const int32_t expected[] = {c.infantry, c.cavalry, c.artillery,
                                    c.warship,  c.galley,  c.transport};
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(prices[i], expected[i])
                << "unit " << i << " controller " << c.controller << " inflation " << c.inflation;
    }
    g_countryController[1] = 0;
    g_fantasyMode = 0;
    country.m_inflation = 0.0f;
    // 2000 infantry, 1000 cavalry, 3 guns; 2 warships and 1 transport.
    EXPECT_FLOAT_EQ(country.GetLandRecruitCost(2000.0f, 1000.0f, 3.0f),
                    2.0f * 15 + 1.0f * 30 + 0.3f * 29);
    EXPECT_FLOAT_EQ(country.GetNavalRecruitCost(2.0f, 0.0f, 1.0f), 2.0f * 19 + 2.0f);
}

TEST_F(CountryRecordsTest, BuildTimesByUnitCountryAndReligion) {
    CTechRow naval;
    naval.costTerm = 2;
    g_navalTechTable.SetRows({naval});
    struct Case {
        uint32_t number;
        int32_t religion;
        int32_t cavalry, galley;
    };
    const Case cases[] = {{2, RELIGION_CATHOLIC, 3, 5},  {10, RELIGION_CATHOLIC, 2, 4},
                          {11, RELIGION_CATHOLIC, 3, 4}, {2, RELIGION_SUNNI, 2, 4},
                          {2, RELIGION_SHIITE, 2, 4},    {2, RELIGION_ORTHODOX, 3, 5}};
    for (const Case& c : cases) {
        DeleteAllCountries();
        CCountry& country = Make(c.number);
        s_religions[c.number] = c.religion;
        EXPECT_EQ(country.GetCavalryBuildTime(), CDate(0, c.cavalry, 0)) << c.number;
        EXPECT_EQ(country.GetGalleyBuildTime(), CDate(0, c.galley, 0)) << c.number;
        EXPECT_EQ(country.GetInfantryBuildTime(), CDate(0, 2, 0));
        EXPECT_EQ(country.GetArtilleryBuildTime(), CDate(0, 4, 0));
        EXPECT_EQ(country.GetWarshipBuildTime(), CDate(0, 11, 0));
        EXPECT_EQ(country.GetTransportBuildTime(), CDate(0, 6, 0));
    }
}

TEST_F(CountryRecordsTest, TheBudgetBaseWeighsReligionAndTheStabilityModifier) {
    struct Case {
        int32_t religion, modifier, base;
    };
    // Without a monarch ADM counts 3: 2 x 3 = 6.
    const Case cases[] = {{RELIGION_PROTESTANT, 0, 3},
                          {RELIGION_REFORMED, 0, 11},
                          {RELIGION_COUNTERREFORM, 0, 9},
                          {RELIGION_SHIITE, 0, 11},
                          {RELIGION_CATHOLIC, 0, 6},
                          {RELIGION_CATHOLIC, 2, 12},
                          {-1, 1, 9}}; // no religion known: pagan
    CCountry& country = Make(2);
    for (const Case& c : cases) {
        s_religions[2] = c.religion;
        country.m_researchModifiers[CCountry::kStabilityResearch] = c.modifier;
        EXPECT_EQ(country.GetBudgetBoostBase(), c.base) << c.religion << " " << c.modifier;
    }
}

TEST_F(CountryRecordsTest, TheForceRecordRoundTrips) {
    CForceRecord force;
    ASSERT_EQ(ReadBlock(force, "force = { galleys = 3 infantry = 1000.5 cavalry = 20 "
                               "horses = 4 transports = 1 }"),
              FIELD_BLOCK_END);
    EXPECT_TRUE(BoxShown("Force : Unexpected field"));
    EXPECT_FLOAT_EQ(force.infantry, 1000.5f);
    EXPECT_FLOAT_EQ(force.galleys, 3.0f);
    const std::string first = Print(KW_VALUES, force.Write());
    EXPECT_LT(first.find("infantry"), first.find("transports"));
    CForceRecord again;
    reader.Close();
    OpenBlock(first);
    ASSERT_EQ(again.Read(reader), FIELD_BLOCK_END);
    EXPECT_EQ(Print(KW_VALUES, again.Write()), first);
}

TEST_F(CountryRecordsTest, TheDiplomaticMatrixFillsNamedPairsOnly) {
    // ENG 1, FRA 2, HAB 3; "XYZ" names no country, neither does "MIN"'s
    // column in the second file.
    dir.WriteFile("db/diplomaticmatrix.csv", "x;ENG;XYZ;FRA;END;HAB\r\n"
                                             "ENG;0;7;-2;9\r\n"
                                             "XYZ;5;5;5\r\n"
                                             "FRA;3\r\n"
                                             "HAB;1;1;4\r\n"
                                             "END\r\n"
                                             "ENG;8;8;8\r\n");
    g_diplomaticMatrix[3][3] = 9.0f; // cleared by the load
    ASSERT_TRUE(LoadDiplomaticMatrix());
    EXPECT_FLOAT_EQ(g_diplomaticMatrix[1][1], 0.0f);
    EXPECT_FLOAT_EQ(g_diplomaticMatrix[1][2], -2.0f);
    EXPECT_FLOAT_EQ(g_diplomaticMatrix[2][1], 3.0f);
    EXPECT_FLOAT_EQ(g_diplomaticMatrix[2][2], 0.0f); // a short row
    EXPECT_FLOAT_EQ(g_diplomaticMatrix[3][1], 1.0f);
    EXPECT_FLOAT_EQ(g_diplomaticMatrix[3][2], 4.0f);
    EXPECT_FLOAT_EQ(g_diplomaticMatrix[1][3], 0.0f); // HAB lies after "END"
    EXPECT_FLOAT_EQ(g_diplomaticMatrix[3][3], 0.0f);
    for (const auto& row : g_diplomaticMatrix)
        EXPECT_FLOAT_EQ(row[0], 0.0f);
    g_diplomaticMatrix = {};
}

TEST_F(CountryRecordsTest, DateHelpers) {
    EXPECT_TRUE(IsDateReached(kToday));
    CDate tomorrow = kToday;
    tomorrow.AddDays(1);
    EXPECT_FALSE(IsDateReached(tomorrow));
    CDate date;
    SetDateOneYearOn(date);
    EXPECT_EQ(date, CDate(kToday.day, kToday.month, kToday.year + 1));
}

} // namespace
