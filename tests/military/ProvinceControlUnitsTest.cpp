// Abandoning a province with a port: its fleets put to sea in the port's sea
// zone and the port lets them go; fleets elsewhere stay where they are.
#include <gtest/gtest.h>

#include <memory>

#include "country/Country.h"
#include "military/units/NavalUnit.h"
#include "military/units/Unit.h"
#include "world/City.h"
#include "world/Fortress.h"
#include "world/Province.h"
#include "world/ProvinceControl.h"
#include "world/Territory.h"

namespace {

constexpr int32_t kLand = 20;
constexpr int32_t kSeaZone = 21;

class ProvinceControlUnitsTest : public ::testing::Test {
protected:
    void TearDown() override {
        FreeTerritories();
        CProvince& land = *GetProvince(kLand);
        land.ResetForGame();
        land.portSeaZone = 0;
        DeleteAllCountries();
    }
    static CNavalUnit& Fleet(CCountry* owner, int32_t province) {
        auto* fleet = new CNavalUnit(owner);
        fleet->SetLocation(province);
        owner->AddUnit(fleet);
        return *fleet;
    }
};

TEST_F(ProvinceControlUnitsTest, AbandonedPortSendsItsFleetsToSea) {
    ASSERT_NE(g_provinceControl.moveFleetsOutOfPort, nullptr);
    AddCountry(std::make_unique<CCountry>(1));
    CCountry* owner = CountryOfNumber(1);
    CProvince& land = *GetProvince(kLand);
    land.portSeaZone = kSeaZone;
    auto city = std::make_unique<CCity>();
    city->SetLocation(kLand);
    land.SetCity(std::move(city));
    land.ChangeOwner(owner);
    CPort* port = land.GetPort();
    ASSERT_NE(port, nullptr);
    CNavalUnit& inPort = Fleet(owner, kLand);
    port->AddUnit(&inPort);
    CNavalUnit& elsewhere = Fleet(owner, 5);

    land.Abandon();
    EXPECT_EQ(inPort.GetLocation(), kSeaZone);
    EXPECT_EQ(elsewhere.GetLocation(), 5);
    EXPECT_EQ(land.GetPort(), nullptr);
    EXPECT_EQ(land.GetOwner(), nullptr);
}

} // namespace
