// The military's answer to a country's month: the troops of its armies and
// fleets (an army aboard a fleet counted once), added to the counts kept
// outside them, and its conquistadors and explorers.
#include <gtest/gtest.h>

#include <memory>

#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "military/units/Leader.h"
#include "military/units/NavalUnit.h"
#include "military/units/Unit.h"

namespace {

class CountryUnitCountsTest : public ::testing::Test {
protected:
    void SetUp() override { AddCountry(std::make_unique<CCountry>(1)); }
    void TearDown() override { DeleteAllCountries(); }

    template <class T> static T& Unit(int32_t province) {
        CCountry* owner = CountryOfNumber(1);
        auto* unit = new T(owner);
        unit->SetLocation(province);
        owner->AddUnit(unit);
        return *unit;
    }

    // The units take them by pointer; they outlive the units.
    CLeader m_leaders[4];
};

TEST_F(CountryUnitCountsTest, TroopsOfArmiesAndFleetsAddToTheKeptCounts) {
    ASSERT_NE(g_countryMilitary.unitTotals, nullptr);
    CCountry& country = *CountryOfNumber(1);
    country.m_keptUnits = {100, 0, 0, 1, 0, 0};
    // Strengths: an army's artillery, cavalry, infantry; a fleet's
    // warships, galleys, transports; each taken up to the next whole number.
    CLandUnit& onLand = Unit<CLandUnit>(20);
    onLand.SetStrength(0, 3.5f);
    onLand.SetStrength(1, 500.0f);
    onLand.SetStrength(2, 1000.2f);
    CNavalUnit& fleet = Unit<CNavalUnit>(21);
    fleet.SetStrength(0, 2.5f);
    fleet.SetStrength(1, 1.0f);
    fleet.SetStrength(2, 3.0f);
    CLandUnit& aboard = Unit<CLandUnit>(21);
    aboard.SetStrength(0, 1.0f);
    aboard.SetStrength(2, 2000.0f);
    fleet.LoadArmy(&aboard);

    EXPECT_EQ(country.GetInfantryCount(), 100 + 1001 + 2000);
    EXPECT_EQ(country.GetCavalryCount(), 500);
    EXPECT_EQ(country.GetArtilleryCount(), 4 + 1);
    EXPECT_EQ(country.GetWarshipCount(), 1 + 3);
    EXPECT_EQ(country.GetGalleyCount(), 1);
    EXPECT_EQ(country.GetTransportCount(), 3);
}

TEST_F(CountryUnitCountsTest, ConquistadorsAndExplorersAreCountedOverTheUnits) {
    CCountry& country = *CountryOfNumber(1);
    m_leaders[0].category = LEADER_CONQUISTADOR;
    m_leaders[1].category = LEADER_EXPLORER;
    m_leaders[2].category = LEADER_CONQUISTADOR;
    m_leaders[3].category = LEADER_GENERAL;
    CLandUnit& army = Unit<CLandUnit>(20);
    army.AttachLeader(&m_leaders[0]);
    army.AttachLeader(&m_leaders[3]);
    CNavalUnit& fleet = Unit<CNavalUnit>(21);
    fleet.AttachLeader(&m_leaders[1]);
    fleet.AttachLeader(&m_leaders[2]);
    country.CountLeaderKinds();
    EXPECT_EQ(country.m_conquistadorCount, 2);
    EXPECT_EQ(country.m_explorerCount, 1);
}

} // namespace
