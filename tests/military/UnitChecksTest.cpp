// Checks on units before they are split, merged, disbanded, reorganised or
// sent along a path.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "country/Country.h"
#include "military/units/NavalUnit.h"
#include "military/units/Unit.h"
#include "world/Province.h"

namespace {

class UnitChecksTest : public ::testing::Test {
protected:
    void SetUp() override { AddCountry(std::make_unique<CCountry>(1)); }
    void TearDown() override {
        GetProvince(20)->natives = 0;
        DeleteAllCountries();
    }
    template <class T> static T& Unit(int32_t province) {
        CCountry* owner = CountryOfNumber(1);
        auto* unit = new T(owner);
        unit->SetLocation(province);
        owner->AddUnit(unit);
        return *unit;
    }
};

TEST_F(UnitChecksTest, SplittingNeedsTwoThousandMenOrTenShipsAndSolidGround) {
    struct Case {
        bool fleet;
        float first, second, third;
        bool expected;
    };
    const Case cases[] = {
        {false, 0.0f, 500.0f, 1500.0f, true}, {false, 0.0f, 0.0f, 1999.0f, false},
        {true, 4.0f, 3.0f, 3.0f, true},       {true, 9.0f, 0.0f, 0.9f, false},
        {true, 0.0f, 0.0f, 1999.0f, true},
    };
    for (const Case& c : cases) {
        CUnit& unit = c.fleet ? static_cast<CUnit&>(Unit<CNavalUnit>(20))
                              : static_cast<CUnit&>(Unit<CLandUnit>(20));
        unit.SetStrength(0, c.first);
        unit.SetStrength(1, c.second);
        unit.SetStrength(2, c.third);
        EXPECT_EQ(CanSplitUnit(unit), c.expected) << c.fleet << " " << c.third;
    }
    // An army aboard a fleet stays whole, and neither may be disbanded or
    // merged while it is carried.
    CNavalUnit& fleet = Unit<CNavalUnit>(21);
    CLandUnit& army = Unit<CLandUnit>(21);
    army.SetStrength(2, 5000.0f);
    EXPECT_TRUE(CanSplitUnit(army));
    fleet.LoadArmy(&army);
    EXPECT_FALSE(CanSplitUnit(army));
    EXPECT_FALSE(CanDisbandUnits({&fleet, &army}));
    EXPECT_TRUE(CanDisbandUnits({&fleet}));
    fleet.UnloadArmy(&army);
}

TEST_F(UnitChecksTest, MergingNeedsTwoUnitsInOneProvince) {
    CLandUnit& a = Unit<CLandUnit>(20);
    CLandUnit& b = Unit<CLandUnit>(20);
    CLandUnit& c = Unit<CLandUnit>(22);
    EXPECT_TRUE(CanMergeUnits({&a, &b}));
    EXPECT_FALSE(CanMergeUnits({&a}));
    EXPECT_FALSE(CanMergeUnits({}));
    EXPECT_FALSE(CanMergeUnits({&a, &b, &c}));
    EXPECT_FALSE(CanMergeUnits({&a, nullptr}));
}

TEST_F(UnitChecksTest, ReorganisingAndStartingFollowThePath) {
    CLandUnit& army = Unit<CLandUnit>(20);
    EXPECT_TRUE(army.CanReorganise());
    EXPECT_FALSE(army.PathStartCheck()); // no path
    CIntList path;
    path.AddTail(21);
    army.SetPath(0, path);
    EXPECT_FALSE(army.CanReorganise());
    EXPECT_FALSE(army.PathStartCheck()); // no settlement symbol here
    GetProvince(20)->natives = 1;
    EXPECT_TRUE(army.PathStartCheck());
}

} // namespace
