// Cities: the "city" and "fortress" blocks, the size levels, the levels of
// scenarios, bad input, the port, the city-state message, the main symbol
// and the siege display.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>

#include "data/Keywords.h"
#include "net/Event.h"
#include "net/EventTypes.h"
#include "tests/world/SaveBlockFixture.h"
#include "world/City.h"
#include "world/Fortress.h"
#include "world/Province.h"

namespace {

// Every key the reader takes, in the order the writer writes them.
const char* const kCity =
    "city = { name = \"Avranche\" population = 6500.000000 location = 12 shipyard = yes "
    "barrack = no bailiff = yes cityrights = no courthouse = no "
    "fortress = { level = 4.000000 date = { year = 1602 month = march day = 1 } increase = yes } "
    "capital = yes manufactory = weapons construction = refinery "
    "date = { year = 1601 month = june day = 2 } running = barrack "
    "dateCompleted = { year = 1603 month = january day = 5 } }";

class CityTest : public test::SaveBlockTest {
protected:
    void SetUp() override {
        SaveBlockTest::SetUp();
        CProvince& coast = Province(12);
        coast.name = "Avranche";
        coast.unitPosition = {100, 200};
        coast.symbolPosition = {110, 210};
        coast.portPosition = {90, 230};
        coast.portSeaZone = 900;
        Province(13).name = "Inland";
    }
    void TearDown() override {
        for (int id : {12, 13}) {
            CProvince& province = Province(id);
            province.SetCity(nullptr);
            province.name.clear();
            province.unitPosition = province.symbolPosition = province.portPosition = {};
            province.portSeaZone = 0;
            province.blockaded = 0;
            province.religion = RELIGION_PROTESTANT;
        }
        g_settlementCountries = {};
        g_citySiege = {};
        SaveBlockTest::TearDown();
    }

    static CProvince& Province(int id) { return *GetProvince(id); }

    // Reads the block into the city; the reader's answer.
    int32_t ReadCity(const std::string& text, CCity& city) {
        OpenBlock(text);
        return city.Read(reader);
    }

    // A city read from the block and handed to its province.
    CCity& PlaceCity(const std::string& text) {
        auto city = std::make_unique<CCity>();
        EXPECT_EQ(ReadCity(text, *city), FIELD_BLOCK_END) << text;
        CCity& placed = *city;
        if (CProvince* province = GetProvince(placed.GetLocation()))
            province->SetCity(std::move(city));
        else
            m_loose = std::move(city);
        return placed;
    }

    std::unique_ptr<CCity> m_loose;
};

TEST_F(CityTest, BlockRoundTripsByteForByte) {
    CCity& city = PlaceCity(kCity);
    EXPECT_STREQ(city.GetName(), "Avranche");
    EXPECT_FLOAT_EQ(city.GetPopulation(), 6500.0f);
    EXPECT_EQ(city.GetLocation(), 12);
    EXPECT_TRUE(city.HasImprovement(CCity::IMPROVEMENT_SHIPYARD));
    EXPECT_TRUE(city.HasImprovement(CCity::IMPROVEMENT_BAILIFF));
    EXPECT_FALSE(city.HasImprovement(CCity::IMPROVEMENT_BARRACK));
    EXPECT_FLOAT_EQ(city.GetFortress().level, 4.0f);
    EXPECT_EQ(city.GetFortress().increase, 1);
    EXPECT_EQ(city.GetFortress().date, CDate(1, 2, 1602));
    EXPECT_TRUE(city.IsCapital());
    EXPECT_EQ(city.manufactory, CCity::MANUFACTORY_WEAPONS);
    EXPECT_EQ(city.manufactoryBuilding, CCity::MANUFACTORY_REFINERY);
    EXPECT_EQ(city.manufactoryDate, CDate(2, 5, 1601));
    EXPECT_EQ(city.improvementBuilding, CCity::IMPROVEMENT_BARRACK);
    EXPECT_EQ(city.dateCompleted, CDate(5, 0, 1603));
    EXPECT_TRUE(boxes.texts.empty());

    const std::string printed = Print(KW_CITY, city.Write());
    EXPECT_EQ(Flat(printed), std::string(kCity) + " ");
    CCity again;
    ASSERT_EQ(ReadCity(printed, again), FIELD_BLOCK_END);
    EXPECT_EQ(Print(KW_CITY, again.Write()), printed);
    EXPECT_EQ(Print(KW_CITY, again.Write()), printed);
}

TEST_F(CityTest, PopulationGivesTheSizeLevels) {
    struct Case {
        float population;
        float stored;
        bool colony, town, large;
        int32_t sizeLevel, colonyLevel, townLevel, rank;
        float tradeFactor;
    };
    const Case cases[] = {
        {0.0f, 0.0f, true, false, false, 0, 1, 0, 1, 1.0f / 6},
        {199.0f, 199.0f, true, false, false, 0, 1, 0, 1, 1.0f / 6},
        {200.0f, 200.0f, true, false, false, 0, 2, 0, 2, 2.0f / 6},
        {699.0f, 699.0f, true, false, false, 0, 6, 0, 6, 1.0f},
        {700.0f, 700.0f, false, true, false, 0, 6, 0, 6, 1.0f},
        {701.0f, 701.0f, false, true, false, 0, 6, 1, 7, 1.0f},
        {4999.0f, 4999.0f, false, true, false, 0, 6, 3, 9, 1.0f},
        {5000.0f, 5000.0f, false, false, true, 0, 6, 3, 9, 1.0f},
        {5001.0f, 5001.0f, false, false, true, 1, 6, 3, 10, 1.0f + 1.0f / 6},
        {200001.0f, 200001.0f, false, false, true, 6, 6, 3, 15, 2.0f},
        {5.0e6f, 999999.0f, false, false, true, 6, 6, 3, 15, 2.0f},
        // Nothing below 0, and no NaN.
        {-50.0f, 0.0f, true, false, false, 0, 1, 0, 1, 1.0f / 6},
        {std::numeric_limits<float>::quiet_NaN(), 0.0f, true, false, false, 0, 1, 0, 1, 1.0f / 6},
    };
    for (const Case& c : cases) {
        CCity city;
        city.SetPopulation(c.population);
        SCOPED_TRACE(c.population);
        EXPECT_EQ(city.GetPopulation(), c.stored);
        EXPECT_EQ(city.IsColony(), c.colony);
        EXPECT_EQ(city.IsTown(), c.town);
        EXPECT_EQ(city.IsLargeCity(), c.large);
        EXPECT_EQ(city.GetSizeLevel(), c.sizeLevel);
        EXPECT_EQ(city.GetColonyLevel(), c.colonyLevel);
        EXPECT_EQ(city.GetTownLevel(), c.townLevel);
        EXPECT_EQ(city.GetSizeRank(), c.rank);
        EXPECT_FLOAT_EQ(city.GetTradeFactor(), c.tradeFactor);
    }
}

TEST_F(CityTest, LevelsGiveAPopulationAndLevelsOutsideTheTablesAreHeldAndReported) {
    struct Case {
        const char* level;
        float population;
        bool reported;
    };
    const Case cases[] = {
        {"1", 200.0f, false},           {"3", 400.0f, false},
        {"6.9", 700.0f, false},         {"100", 10000.0f, false},
        {"250", 20000.0f, false},       {"599", 200000.0f, false},
        {"699", 999999.0f, false},      {"0", 200.0f, true},
        {"-40", 200.0f, true},          {"7", 700.0f, true},
        {"99", 700.0f, true},           {"700", 999999.0f, true},
        {"100000000", 999999.0f, true}, {"-2147483648", 200.0f, true},
        {"huge", 200.0f, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        boxes.texts.clear();
        CCity city;
        ASSERT_EQ(ReadCity(std::string("city = { level = ") + c.level + " location = 13 }", city),
                  FIELD_BLOCK_END);
        EXPECT_FLOAT_EQ(city.GetPopulation(), c.population);
        EXPECT_EQ(boxes.Shown("City : level outside the level tables"), c.reported);
        EXPECT_EQ(city.GetLocation(), 13);
    }
}

TEST_F(CityTest, ABlockWithoutPopulationOrLevelIsReportedAndGetsTheSmallestColony) {
    CCity city;
    ASSERT_EQ(ReadCity("city = { location = 13 capital = no }", city), FIELD_BLOCK_END);
    EXPECT_TRUE(boxes.Shown("City : no population or level"));
    EXPECT_FLOAT_EQ(city.GetPopulation(), CCity::kDefaultPopulation);
    EXPECT_EQ(city.GetColonyLevel(), 2);
    EXPECT_FALSE(city.IsCapital());
    // No name of its own: the province's.
    EXPECT_STREQ(city.GetName(), "Inland");
    // Written back as a population.
    EXPECT_NE(Print(KW_CITY, city.Write()).find("population = 200.000000"), std::string::npos);
}

TEST_F(CityTest, LocationsOutsideTheMapAreReportedAndLeaveNone) {
    for (const char* location : {"1473", "0", "-1", "99999999999", "here"}) {
        SCOPED_TRACE(location);
        boxes.texts.clear();
        CCity city;
        ASSERT_EQ(ReadCity(std::string("city = { location = ") + location +
                               " population = 900 name = \"Nowhere\" }",
                           city),
                  FIELD_BLOCK_END);
        EXPECT_TRUE(boxes.Shown("City : illegal location"));
        EXPECT_EQ(city.GetLocation(), 0);
        EXPECT_EQ(city.GetProvince(), nullptr);
        EXPECT_EQ(city.GetPort(), nullptr);
        EXPECT_FLOAT_EQ(city.GetPopulation(), 900.0f);
        city.UpdateStatus(); // no province: nothing to look at, no crash
        city.MakeCapital();
        EXPECT_TRUE(city.IsCapital());
    }
}

TEST_F(CityTest, WordsTheReaderDoesNotKnowAreReportedAndReadingGoesOn) {
    CCity city;
    ASSERT_EQ(ReadCity("city = { manufactory = cheese construction = 3 running = palace "
                       "fortress = 5 population = 800 shipyard = maybe capital = no }",
                       city),
              FIELD_BLOCK_END);
    EXPECT_TRUE(boxes.Shown("City : Unknow manufactury type"));
    EXPECT_TRUE(boxes.Shown("City : Unknow constructing improvement type"));
    EXPECT_TRUE(boxes.Shown("no left curly"));
    EXPECT_EQ(city.manufactory, CCity::MANUFACTORY_NONE);
    EXPECT_EQ(city.manufactoryBuilding, CCity::MANUFACTORY_NONE);
    EXPECT_EQ(city.improvementBuilding, CCity::IMPROVEMENT_SHIPYARD);
    EXPECT_FLOAT_EQ(city.GetFortress().level, kMaxFortressLevel);
    EXPECT_FALSE(city.HasImprovement(CCity::IMPROVEMENT_SHIPYARD));
    EXPECT_FLOAT_EQ(city.GetPopulation(), 800.0f);

    CCity other;
    ASSERT_EQ(ReadCity("city = { population = 800 colour = red }", other), FIELD_ERROR);
    EXPECT_TRUE(boxes.Shown("City : Unexpected Field"));
}

TEST_F(CityTest, RunningWorksAreWrittenOnlyWhileTheyAreStillAhead) {
    struct Case {
        const char* fields;
        bool running;
        bool manufactoryDate;
    };
    // Today is 10 May 1600.
    const Case cases[] = {
        {"running = bailiff dateCompleted = { year = 1601 month = may day = 1 } "
         "construction = goods date = { year = 1600 month = june day = 1 }",
         true, true},
        // Built already.
        {"bailiff = yes running = bailiff dateCompleted = { year = 1601 month = may day = 1 }",
         false, false},
        // Dates that have passed, or today.
        {"running = bailiff dateCompleted = { year = 1600 month = may day = 10 } "
         "construction = goods date = { year = 1599 month = june day = 1 }",
         false, false},
        // A manufactory that stands already has no date to keep.
        {"manufactory = goods date = { year = 1601 month = june day = 1 }", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fields);
        CCity city;
        ASSERT_EQ(ReadCity(std::string("city = { population = 900 ") + c.fields + " }", city),
                  FIELD_BLOCK_END);
        const std::string printed = Print(KW_CITY, city.Write());
        EXPECT_EQ(printed.find("running") != std::string::npos, c.running);
        EXPECT_EQ(printed.find("dateCompleted") != std::string::npos, c.running);
        // The fortress's date is the zero date; only the manufactory's is in June.
        EXPECT_EQ(printed.find("month = june") != std::string::npos, c.manufactoryDate);
        EXPECT_EQ(printed.find("level"), printed.find("level = ")); // only the fortress's
    }
}

TEST_F(CityTest, FortressBlockCapsItsLevelAndReportsWhatItCannotUse) {
    struct Case {
        const char* block;
        int32_t answer;
        float level;
        const char* report;
    };
    const Case cases[] = {
        {"fortress = { level = 9 }", FIELD_BLOCK_END, 6.0f, nullptr},
        {"fortress = { level = 2.9 increase = yes }", FIELD_BLOCK_END, 2.0f, nullptr},
        {"fortress = { level = -3 }", FIELD_BLOCK_END, 0.0f, "Fortress : level below 0"},
        {"fortress = { level = high }", FIELD_BLOCK_END, 6.0f, nullptr},
        {"fortress = { date = 1602 }", FIELD_BLOCK_END, 6.0f, "No left curly"},
        {"fortress = { walls = 3 }", FIELD_ERROR, 6.0f, "Fortress : Unexpected field"},
        {"fortress = { increase = yes", FIELD_END_OF_FILE, 6.0f, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.block);
        boxes.texts.clear();
        CFortress fortress;
        OpenBlock(c.block);
        EXPECT_EQ(fortress.Read(reader), c.answer);
        EXPECT_FLOAT_EQ(fortress.level, c.level);
        if (c.report)
            EXPECT_TRUE(boxes.Shown(c.report));
        else
            EXPECT_TRUE(boxes.texts.empty());
    }

    CFortress written;
    written.level = 3.0f;
    written.increase = 1;
    written.date = CDate(7, 8, 1605);
    const std::string printed = Print(KW_FORTRESS, written.Write());
    EXPECT_EQ(Flat(printed), "fortress = { level = 3.000000 date = { year = 1605 month = september "
                             "day = 7 } increase = yes } ");
    CFortress back;
    OpenBlock(printed);
    ASSERT_EQ(back.Read(reader), FIELD_BLOCK_END);
    EXPECT_EQ(Print(KW_FORTRESS, back.Write()), printed);
}

TEST_F(CityTest, PortTakesTheFleetsInPortAndShowsBlockadeAndShipyard) {
    CCity& inland = PlaceCity("city = { population = 900 location = 13 }");
    EXPECT_EQ(inland.GetPort(), nullptr);
    EXPECT_EQ(Province(13).GetPort(), nullptr);

    CCity& city = PlaceCity("city = { population = 900 location = 12 }");
    CPort* port = Province(12).GetPort();
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(port, city.GetPort());
    EXPECT_EQ(port->GetSeaZone(), 900);
    EXPECT_EQ(port->GetProvinceId(), 12);
    EXPECT_EQ(port->GetSymbol().GetPosition().x, 90);
    EXPECT_EQ(port->GetSymbol().GetKey().kind, kSpriteKindPort);
    EXPECT_EQ(port->GetSymbol().GetKey().level, CPort::kLevelEmpty);

    CIdEntity first;
    CIdEntity second;
    port->AddUnit(&first);
    EXPECT_EQ(port->GetSymbol().GetKey().level, CPort::kLevelFleets);
    port->AddUnit(&second);
    port->AddUnit(&second); // once only
    EXPECT_EQ(port->GetFleetCount(), 2u);
    port->RemoveUnit(&first);
    EXPECT_EQ(port->GetSymbol().GetKey().level, CPort::kLevelFleets);
    port->RemoveUnit(&second);
    EXPECT_EQ(port->GetSymbol().GetKey().level, CPort::kLevelEmpty);

    Province(12).blockaded = 1;
    port->dimNext = 1;
    port->Draw(0);
    EXPECT_EQ(port->GetSymbol().GetKey().action, CPort::kActionBlockade);
    EXPECT_EQ(port->dimNext, 0);
    Province(12).blockaded = 0;
    port->Draw(0);
    EXPECT_EQ(port->GetSymbol().GetKey().action, kSpriteActionNone);
    EXPECT_EQ(port->GetSymbol().GetKey().kind, kSpriteKindPort);
    city.improvements[CCity::IMPROVEMENT_SHIPYARD] = 1;
    port->Draw(0);
    EXPECT_EQ(port->GetSymbol().GetKey().kind, CPort::kKindShipyard);
}

TEST_F(CityTest, CityStateMessageSetsPopulationFortressAndManufactory) {
    CCity& city = PlaceCity("city = { population = 900 location = 13 }");
    auto send = [&city](float population, float fortress, int32_t manufactory) {
        COVDataEvent event(EVT_UNNAMED_209, ObjectId(kProvinceIdType, 13));
        event.Payload().Set(CityStatePayload::kPopulation, population);
        event.Payload().Set(CityStatePayload::kFortressLevel, fortress);
        event.Payload().Set(CityStatePayload::kManufactory, manufactory);
        return city.HandleMessage(event);
    };
    EXPECT_EQ(send(6000.0f, 9.0f, CCity::MANUFACTORY_LUXURY), EVENT_CONSUMED);
    EXPECT_FLOAT_EQ(city.GetPopulation(), 6000.0f);
    EXPECT_TRUE(city.IsLargeCity());
    EXPECT_FLOAT_EQ(city.GetFortress().level, 6.0f);
    EXPECT_EQ(city.manufactory, CCity::MANUFACTORY_LUXURY);
    EXPECT_EQ(city.manufactoryBuilding, CCity::MANUFACTORY_LUXURY);
    EXPECT_EQ(city.GetManufactorySymbol().GetKey().action, 20);

    // Another manufactory replaces it; 0 removes it; an unknown code keeps it.
    send(6000.0f, 2.0f, CCity::MANUFACTORY_NAVAL_EQUIPMENT);
    EXPECT_EQ(city.manufactory, CCity::MANUFACTORY_NAVAL_EQUIPMENT);
    EXPECT_EQ(city.GetManufactorySymbol().GetKey().action, 23);
    EXPECT_FLOAT_EQ(city.GetFortress().level, 2.0f);
    send(6000.0f, 2.0f, 77);
    EXPECT_EQ(city.manufactory, CCity::MANUFACTORY_NAVAL_EQUIPMENT);
    send(300.0f, -1.0f, CCity::MANUFACTORY_NONE);
    EXPECT_TRUE(city.CanBuildManufactory());
    EXPECT_FLOAT_EQ(city.GetFortress().level, 0.0f);
    EXPECT_TRUE(city.IsColony());

    COVProvinceEvent other(EVT_DISCOVERPROVINCE, ObjectId(kProvinceIdType, 13), 13);
    EXPECT_EQ(city.HandleMessage(other), EVENT_NOT_HANDLED);
}

TEST_F(CityTest, MainSymbolFollowsSizeFortressAndTheLieOfTheLand) {
    g_settlementCountries.terrainRowOf = [](int32_t) { return 4; };
    CCity& city = PlaceCity("city = { population = 650 location = 13 }");
    // No owner: the natives' look of a row-4 province, chosen once.
    EXPECT_EQ(city.GetSymbol().GetKey().culture, 17);
    EXPECT_EQ(city.GetSymbol().GetKey().kind, kSpriteKindColony);
    EXPECT_EQ(city.GetSymbol().GetKey().level, 2); // colony level 6
    g_settlementCountries.terrainRowOf = [](int32_t) { return 0; };
    city.UpdateSprite();
    EXPECT_EQ(city.GetSymbol().GetKey().culture, 17);

    struct Case {
        float population;
        float fortress;
        int32_t kind, level, action;
    };
    const Case cases[] = {
        {350.0f, 6.0f, kSpriteKindColony, 1, kSpriteActionNone},
        {450.0f, 6.0f, kSpriteKindColony, 2, kSpriteActionNone},
        {700.0f, 0.0f, kSpriteKindCity, 1, 3},
        {4000.0f, 3.9f, kSpriteKindCity, 1, 4},
        {15000.0f, 4.0f, kSpriteKindCity, 2, 5},
        {50000.0f, 6.0f, kSpriteKindCity, 3, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.population);
        CCity fresh;
        fresh.SetPopulation(c.population);
        fresh.GetFortress().level = c.fortress;
        fresh.UpdateSprite();
        EXPECT_EQ(fresh.GetSymbol().GetKey().kind, c.kind);
        EXPECT_EQ(fresh.GetSymbol().GetKey().level, c.level);
        EXPECT_EQ(fresh.GetSymbol().GetKey().action, c.action);
    }
}

// A siege the hooks describe.
struct FakeSiege : CIdObject {
    FakeSiege() : CIdObject(ObjectId(kEntityIdType, 4242)) {}
    CitySiegeState state;
};
FakeSiege* g_fakeSiege = nullptr;

TEST_F(CityTest, SiegeShowsOnTheBarAndTheFireWhileItHasACommander) {
    FakeSiege siege;
    g_fakeSiege = &siege;
    g_citySiege.stateOf = [](CIdObject& combat, CitySiegeState& out) {
        if (&combat != g_fakeSiege)
            return false;
        out = g_fakeSiege->state;
        return true;
    };
    CCity& city = PlaceCity("city = { population = 900 location = 12 }");
    EXPECT_EQ(city.siegeBarPosition.x, 104);
    EXPECT_EQ(city.siegeBarPosition.y, 208);
    EXPECT_EQ(city.GetSiegeTowerSymbol().GetPosition().x, 126);
    EXPECT_EQ(city.GetSiegeTowerSymbol().GetPosition().y, 194);
    city.SetSiege(ObjectId(kEntityIdType, 999)); // no such combat
    EXPECT_TRUE(city.GetSiegeId().IsNull());
    city.SetSiege(siege.GetId());
    EXPECT_FALSE(city.IsUnderSiege()); // no commander yet

    struct Case {
        int32_t count, mode, progress;
        int32_t fire, fill, colour;
    };
    const Case cases[] = {
        {0, 3, 0, 0, 100, 0}, {1, 4, 1, 3, 91, 0}, {1, 5, 2, 2, 83, 2},   {0, 4, 7, 1, 41, 3},
        {0, 4, 8, 1, 33, 4},  {0, 4, 40, 1, 0, 4}, {0, 4, -5, 1, 100, 0},
    };
    for (const Case& c : cases) {
        siege.state = {true, c.mode, c.count, c.progress};
        city.UpdateStatus();
        EXPECT_TRUE(city.IsUnderSiege());
        EXPECT_EQ(city.GetFireSymbol().GetKey().level, c.fire);
        EXPECT_EQ(city.siegeBarFill, c.fill);
        EXPECT_EQ(city.siegeBarColour, c.colour);
    }
    city.ClearSiege();
    EXPECT_FALSE(city.IsUnderSiege());
    g_fakeSiege = nullptr;
}

} // namespace
