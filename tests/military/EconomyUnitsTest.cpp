// The military's answer to the provinces' economy: the units standing in a
// province, which piracy and the blockade count.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "country/Country.h"
#include "country/Technology.h"
#include "military/units/NavalUnit.h"
#include "military/units/Unit.h"
#include "world/Province.h"
#include "world/ProvinceEconomy.h"

namespace {

class EconomyUnitsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (uint32_t number : {1u, 96u})
            AddCountry(std::make_unique<CCountry>(number));
    }
    void TearDown() override {
        CProvince& land = *GetProvince(20);
        land.ResetForGame();
        land.portSeaZone = 0;
        land.piracy = 0;
        DeleteAllCountries();
    }
    template <class T> static T& Unit(uint32_t country, int32_t province) {
        CCountry* owner = CountryOfNumber(country);
        auto* unit = new T(owner);
        unit->SetLocation(province);
        owner->AddUnit(unit);
        return *unit;
    }
};

TEST_F(EconomyUnitsTest, TheUnitsOfAProvinceWithTheirShipsFeedPiracy) {
    ASSERT_NE(g_provinceEconomy.unitsIn, nullptr);
    CNavalUnit& pirates = Unit<CNavalUnit>(96, 21);
    pirates.SetStrength(0, 2.5f);
    pirates.SetStrength(1, 1.0f);
    Unit<CLandUnit>(1, 20);
    Unit<CNavalUnit>(1, 22).SetRetreating(23);

    std::vector<EconomyUnit> units;
    g_provinceEconomy.unitsIn(21, units);
    ASSERT_EQ(units.size(), 1u);
    EXPECT_EQ(units[0].owner, 96);
    EXPECT_FLOAT_EQ(units[0].ships, 2.5f);
    EXPECT_FLOAT_EQ(units[0].secondShips, 1.0f);
    units.clear();
    g_provinceEconomy.unitsIn(22, units);
    ASSERT_EQ(units.size(), 1u);
    EXPECT_TRUE(units[0].retreating);

    // A pirate fleet of 2.5 ships off the port counts 3.
    CProvince& land = *GetProvince(20);
    land.portSeaZone = 21;
    land.SetControllerField(CountryOfNumber(1));
    land.UpdatePiracy();
    EXPECT_EQ(land.piracy, 3);
}

TEST_F(EconomyUnitsTest, FleetsComingToBlockadeWeighThePortsAroundThemAgain) {
    AddCountry(std::make_unique<CCountry>(2));
    CCountry& enemy = *CountryOfNumber(2);
    enemy.SetAtWarWith(1);
    // Naval levels cost 10 each; every year long past.
    std::vector<CTechRow> rows(21);
    for (CTechRow& row : rows) {
        row.stepCost = 10;
        row.year = 9999;
    }
    g_navalTechTable.SetRows(rows);
    enemy.GetNavalTech().level = 18;

    CProvince& sea = *GetProvince(21);
    CProvince& land = *GetProvince(20);
    sea.AddNeighbour({20});
    land.portSeaZone = 21;
    land.SetControllerField(CountryOfNumber(1));
    Unit<CNavalUnit>(2, 21).SetStrength(0, 6.0f);
    land.UpdateBlockade();
    EXPECT_EQ(land.blockaded, 0); // level 18 cannot blockade

    ASSERT_TRUE(enemy.AdvanceNavalTech(10));
    EXPECT_EQ(enemy.GetNavalTech().level, 19);
    EXPECT_EQ(land.blockaded, 1);

    g_navalTechTable.Clear();
    sea.ResetForGame();
}

} // namespace
