// A city read inside its country's block: the works under way are finished
// by messages to that country (on the host only), and the capital mark makes
// the province the owner's capital.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "country/Country.h"
#include "data/Keywords.h"
#include "net/EventTypes.h"
#include "tests/world/SaveBlockFixture.h"
#include "world/City.h"
#include "world/Province.h"

namespace {

const char* const kWorks = "city = { population = 900 location = 12 running = barrack "
                           "dateCompleted = { year = 1603 month = january day = 5 } "
                           "construction = goods date = { year = 1601 month = june day = 2 } "
                           "fortress = { level = 2 date = { year = 1602 month = march day = 1 } "
                           "increase = yes } }";

class CityOwnerTest : public test::SaveBlockTest {
protected:
    void TearDown() override {
        GetProvince(12)->SetCity(nullptr);
        GetProvince(1400)->SetCity(nullptr);
        DeleteAllCountries();
        SaveBlockTest::TearDown();
    }

    CCountry* MakeCountry(uint32_t number) {
        auto country = std::make_unique<CCountry>(number);
        CCountry* made = country.get();
        EXPECT_TRUE(AddCountry(std::move(country)));
        return made;
    }

    // Reads the city block as the country's block hands it on.
    std::unique_ptr<CCity> ReadCity(CCountry* country, const std::string& text) {
        OpenBlock(text);
        reader.currentCountry = country;
        auto city = std::make_unique<CCity>();
        EXPECT_EQ(city->Read(reader), FIELD_BLOCK_END);
        return city;
    }
};

TEST_F(CityOwnerTest, WorksUnderWayAreFinishedByMessagesToTheCountryOnTheHost) {
    CCountry* spain = MakeCountry(10);
    auto city = ReadCity(spain, kWorks);
    const auto queued = Queued();
    ASSERT_EQ(queued.size(), 3u);
    for (COVEvent* event : queued) {
        EXPECT_EQ(event->GetReceiver(), spain->GetId());
        EXPECT_EQ(event->GetSendFlag(), 1);
    }
    auto ofType = [&queued](uint32_t type) -> COVEvent* {
        for (COVEvent* event : queued)
            if (event->GetType() == type)
                return event;
        return nullptr;
    };
    COVEvent* improvement = ofType(EVT_FINISH_BUILD_IMPROVEMENT);
    ASSERT_NE(improvement, nullptr);
    EXPECT_EQ(improvement->GetDueDate(), CDate(5, 0, 1603));
    EXPECT_EQ(improvement->Payload().Get(COVImprovementEvent::kProvince), 12u);
    EXPECT_EQ(improvement->Payload().Get(COVImprovementEvent::kKind),
              static_cast<uint32_t>(CCity::IMPROVEMENT_BARRACK));
    EXPECT_EQ(improvement->Payload().Get(COVImprovementEvent::kCountry), 10u);
    COVEvent* facility = ofType(EVT_BUILD_FACILITY);
    ASSERT_NE(facility, nullptr);
    EXPECT_EQ(facility->GetDueDate(), CDate(2, 5, 1601));
    EXPECT_EQ(facility->Payload().Get(COVProvinceEvent::kProvince), 12u);
    COVEvent* fortress = ofType(EVT_EXPAND_FORTRESS);
    ASSERT_NE(fortress, nullptr);
    EXPECT_EQ(fortress->GetDueDate(), CDate(1, 2, 1602));
    EXPECT_EQ(fortress->Payload().Get(COVFortressEvent::kCountry), 10u);

    g_scheduler.Clear();
    BecomeClient();
    auto onClient = ReadCity(spain, kWorks);
    EXPECT_TRUE(Queued().empty());
    EXPECT_FLOAT_EQ(onClient->GetFortress().level, 2.0f);
}

TEST_F(CityOwnerTest, MakeCapitalMakesTheProvinceTheOwnersCapital) {
    // A province and a country of their own: the province keeps its owner's
    // number after the test.
    CCountry* spain = MakeCountry(42);
    GetProvince(1400)->SetCity(ReadCity(spain, "city = { population = 900 location = 1400 }"));
    CCity* city = GetProvince(1400)->GetCity();
    city->MakeCapital(); // no owner yet: only the mark
    EXPECT_TRUE(city->IsCapital());
    EXPECT_NE(spain->m_capital, 1400);
    GetProvince(1400)->SetOwner(spain);
    city->ClearCapital();
    city->UpdateStatus();
    EXPECT_NE(spain->m_capital, 1400);
    city->MakeCapital();
    EXPECT_EQ(spain->m_capital, 1400);
}

} // namespace
