// The military's answers to the country's methods: the ruler's name and
// id, and a fleet deleted with the army it carries, both objects freed by
// their kill messages.
#include <gtest/gtest.h>

#include <memory>

#include "country/Country.h"
#include "military/units/Leader.h"
#include "military/units/Monarch.h"
#include "military/units/NavalUnit.h"
#include "military/units/Unit.h"
#include "net/EventTypes.h"
#include "net/Scheduler.h"
#include "tests/military/MilitaryBlockFixture.h"

namespace {

class CountryMethodsWiringTest : public test::MilitaryBlockTest {
protected:
    void SetUp() override {
        MilitaryBlockTest::SetUp();
        SetCountryTagSource(FindCountryTagOfNumber);
        g_countryController.fill(0);
    }
    void TearDown() override {
        DeleteAllCountries();
        MilitaryBlockTest::TearDown();
    }
};

TEST_F(CountryMethodsWiringTest, TheRulerIsTheMonarchOrTheCountry) {
    CCountry* country = CCountry::Create(2);
    ASSERT_NE(country, nullptr);
    EXPECT_EQ(country->GetRulerName(), country->GetName());
    EXPECT_EQ(country->GetMonarchId(), -1);

    auto monarch = std::make_unique<CHistoricalMonarch>();
    monarch->GetLeader().SetId(ObjectId(6, 77));
    monarch->GetLeader().SetName("Louis");
    country->m_monarch.reset(monarch.release());
    EXPECT_EQ(country->GetRulerName(), "Louis");
    EXPECT_EQ(country->GetMonarchId(), 77);
}

TEST_F(CountryMethodsWiringTest, MessagesSetTheReigningMonarchsValuesAndName) {
    CCountry* country = CCountry::Create(2);
    ASSERT_NE(country, nullptr);
    COVDataEvent values(EVT_SET_MONARCH_VALUES, country->GetId());
    values.Payload().Set(MonarchValuesPayload::kAdm, 7);
    values.Payload().Set(MonarchValuesPayload::kDip, 2);
    values.Payload().Set(MonarchValuesPayload::kMil, 5);
    COVDataEvent name(EVT_UNNAMED_210, country->GetId());
    name.Payload().Set(MonarchNamePayload::kName, "Henri");
    // Without a reigning monarch nothing changes.
    EXPECT_EQ(country->HandleMessage(values), EVENT_CONSUMED);
    EXPECT_EQ(country->HandleMessage(name), EVENT_CONSUMED);
    EXPECT_EQ(country->GetRulerName(), country->GetName());

    country->m_monarch.reset(new CHistoricalMonarch);
    country->HandleMessage(values);
    country->HandleMessage(name);
    EXPECT_EQ(country->GetMonarchAdm(), 7);
    EXPECT_EQ(country->GetMonarchDip(), 2);
    EXPECT_EQ(country->GetMonarchMil(), 5);
    EXPECT_EQ(country->GetRulerName(), "Henri");
}

TEST_F(CountryMethodsWiringTest, AFleetGoesDownWithItsCargo) {
    CCountry* country = CCountry::Create(2);
    ASSERT_NE(country, nullptr);
    auto* fleet = new CNavalUnit(country);
    fleet->SetId(ObjectId(4712, 31));
    auto* army = new CLandUnit(country);
    army->SetId(ObjectId(4712, 32));
    army->SetStrength(0, 2.5f); // artillery
    army->SetStrength(1, 0.0f);
    army->SetStrength(2, 999.5f); // infantry
    auto* ashore = new CLandUnit(country);
    ashore->SetId(ObjectId(4712, 33));
    fleet->LoadArmy(army);
    country->AddUnit(fleet);
    country->AddUnit(army);
    country->AddUnit(ashore);

    country->DeleteUnit(ObjectId(4712, 31));
    EXPECT_EQ(country->m_units.GetCount(), 1u);
    EXPECT_TRUE(country->m_units.Contains(ashore));
    EXPECT_EQ(army->GetCarrier(), nullptr);
    EXPECT_TRUE(fleet->GetCargo().IsEmpty());
    EXPECT_FLOAT_EQ(country->m_combatLosses.infantry, 1000.0f);
    EXPECT_FLOAT_EQ(country->m_combatLosses.artillery, 3.0f);

    // The kill messages free both (the sanitizers catch a leak or a use
    // after free); the unit left behind stays.
    EXPECT_EQ(g_scheduler.GetCount(), 2u);
    g_scheduler.RunDue();
    EXPECT_EQ(ResolveId(ObjectId(4712, 31)), nullptr);
    EXPECT_EQ(ResolveId(ObjectId(4712, 32)), nullptr);
    EXPECT_EQ(ResolveId(ObjectId(4712, 33)), ashore);
}

} // namespace
