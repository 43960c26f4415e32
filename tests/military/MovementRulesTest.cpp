// Which provinces a unit may enter, what its path costs, and the step into
// the next province that every machine runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "military/units/Leader.h"
#include "military/units/NavalUnit.h"
#include "net/EventTypes.h"
#include "tests/military/UnitMovementTestFixture.h"
#include "world/PathSearch.h"

namespace {

using test::UnitMovementTest;

// "_COVEVT_UNITMOVE_" into the province, naming the fleet to board.
COVDataEvent MoveEvent(const CUnit& unit, int32_t province, const ObjectId& fleet = {}) {
    COVDataEvent event(EVT_UNITMOVE, unit.GetId());
    event.Payload().Set(UnitMovePayload::kProvince, static_cast<uint16_t>(province));
    event.Payload().Set(UnitMovePayload::kCarrier, fleet);
    return event;
}

TEST_F(UnitMovementTest, EntryRulesWeighCitiesDiscoveryAndPorts) {
    // A pirate city of level 2, not besieged and with no pirate unit in it,
    // holds off fewer than 5000 men.
    CProvince& city = Province(600, 0);
    Own(city, kPirates);
    Fortify(city, 2.0f);
    CProvince& unknown = Province(601, 0, false);
    CProvince& unknownSea = Province(602, 5, false);
    // A neutral port and one of the player's own.
    Province(603, 5);
    CProvince& foreignPort = Province(604, 0);
    Own(foreignPort, kNeutral);
    Fortify(foreignPort, 1.0f, 603);
    CProvince& ownPort = Province(605, 0);
    Own(ownPort, kPlayer);
    Fortify(ownPort, 1.0f, 603);

    CLandUnit& small = Army(605, 4999.0f);
    CLandUnit& large = Army(605, 4900.0f, 0.0f, 1.0f); // 5000 men
    CLandUnit& pirates = Army(605, 10.0f, 0.0f, 0.0f, kPirates);
    CLandUnit& led = Army(605, 10.0f);
    led.AttachLeader(&Leader(LEADER_CONQUISTADOR, 2));
    CNavalUnit& fleet = Fleet(603, 1.0f);
    CNavalUnit& portuguese = Fleet(603, 1.0f);
    AddCountry(std::make_unique<CCountry>(5));
    portuguese.SetOwner(&Country(5));

    struct Case {
        const char* what;
        const CUnit& unit;
        const CProvince& province;
        bool expected;
    };
    const Case cases[] = {
        {"4999 men at a hostile city of level 2", small, city, false},
        {"5000 men at a hostile city of level 2", large, city, true},
        {"an army into undiscovered land", small, unknown, false},
        {"the pirates into undiscovered land", pirates, unknown, true},
        {"a conquistador into undiscovered land", led, unknown, true},
        {"a fleet into an undiscovered sea", fleet, unknownSea, false},
        {"a fleet of country 5 into an undiscovered sea", portuguese, unknownSea, true},
        {"a fleet into a neutral port", fleet, foreignPort, false},
        {"a fleet into its own port", fleet, ownPort, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.unit.CanEnterProvince(c.province), c.expected) << c.what;
        // The path search asks the same rule.
        EXPECT_EQ(g_pathSearchHooks.unitCanEnter(c.unit, c.province), c.expected) << c.what;
    }
}

TEST_F(UnitMovementTest, WhereAUnitMayGoFromWhereItStands) {
    CProvince& home = Province(610, 0);
    Own(home, kPlayer);
    CProvince& neutral = Province(611, 0);
    Own(neutral, kNeutral);
    CProvince& wild = Province(612, 0);
    CProvince& hostile = Province(613, 0);
    Own(hostile, kPirates);
    CProvince& sea = Province(614, 5);
    CProvince& port = Province(615, 0);
    Own(port, kPlayer);
    Fortify(port, 1.0f, 614);
    port.coastal = 1;
    CProvince& beach = Province(616, 0);
    Own(beach, kPlayer);
    beach.coastal = 1;
    CLandUnit& army = Army(610, 1000.0f);
    CNavalUnit& fleet = Fleet(614, 2.0f);

    const struct {
        const CUnit& unit;
        int32_t province;
        bool expected;
    } cases[] = {
        {army, 610, true},  {army, 611, false},  {army, 612, true},   {army, 613, true},
        {army, 614, false}, {army, 0, false},    {army, 1473, false}, {fleet, 614, true},
        {fleet, 615, true}, {fleet, 616, false}, {fleet, 611, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.unit.MayEnter(c.province), c.expected)
            << (c.unit.IsFleet() ? "fleet " : "army ") << c.province;
    EXPECT_TRUE(army.IsSafeProvince(home));
    EXPECT_TRUE(army.IsSafeProvince(wild));
    EXPECT_FALSE(army.IsSafeProvince(sea));
    EXPECT_FALSE(army.IsSafeProvince(neutral));
}

TEST_F(UnitMovementTest, PathCostFactorFollowsTheCommander) {
    const struct {
        int32_t category, manoeuvre;
        double expected;
    } cases[] = {
        {LEADER_GENERAL, 3, 6.05},
        {LEADER_ADMIRAL, 0, 5.5},
        {LEADER_CONQUISTADOR, 5, 2.95},
        {LEADER_EXPLORER, 0, 3.7},
    };
    for (const auto& c : cases) {
        CLandUnit& army = Army(620, 1000.0f);
        army.AttachLeader(&Leader(c.category, c.manoeuvre));
        EXPECT_DOUBLE_EQ(army.GetPathCostFactor(), c.expected) << c.category;
    }
    // The lowest rank commands, the first of equal ranks.
    CLandUnit& army = Army(620, 1000.0f);
    army.AttachLeader(&Leader(LEADER_GENERAL, 0, 1));
    army.AttachLeader(&Leader(LEADER_GENERAL, 4, 1)); // at the head
    army.AttachLeader(&Leader(LEADER_GENERAL, 9, 2));
    EXPECT_DOUBLE_EQ(army.GetPathCostFactor(), 5.0 + 1.5 - 4 * 0.15);
    // Without leaders an army is led as by a general of no skill, a fleet as
    // by an admiral.
    EXPECT_DOUBLE_EQ(Army(620, 1.0f).GetPathCostFactor(), 6.5);
    EXPECT_DOUBLE_EQ(Fleet(620, 1.0f).GetPathCostFactor(), 5.5);
}

TEST_F(UnitMovementTest, AnEmptyPathCostsNothingAndEndsWhereTheUnitStands) {
    Province(630, 0);
    Province(631, 0);
    CLandUnit& army = Army(630, 1000.0f);
    EXPECT_EQ(army.GetPathCost(), 0u);
    EXPECT_EQ(army.GetNextPathProvince(), 0);
    EXPECT_EQ(army.GetFinalDestination(), 630);
    GivePath(army, {631, 630, 631});
    EXPECT_EQ(army.GetNextPathProvince(), 631);
    EXPECT_EQ(army.GetFinalDestination(), 631);
}

TEST_F(UnitMovementTest, AStepMovesTheUnitAlongItsPath) {
    CProvince& a = Province(640, 0);
    CProvince& b = Province(641, 0);
    CProvince& c = Province(642, 0, false);
    Own(a, kPlayer);
    Link(a, b);
    Link(b, c);
    CLandUnit& army = Army(640, 1000.0f);
    GivePath(army, {641, 642});
    army.SetRetreating(642);

    army.OnUnitMove(MoveEvent(army, 641));
    EXPECT_EQ(army.GetLocation(), 641);
    EXPECT_EQ(army.previousProvince, 640);
    EXPECT_EQ(army.GetNextPathProvince(), 642);
    EXPECT_EQ(army.GetState(), CUnit::EState::Moving);
    EXPECT_TRUE(army.IsRetreating());

    // The last step: the unit stands still, stops retreating, and its
    // country has discovered the province.
    army.OnUnitMove(MoveEvent(army, 642));
    EXPECT_EQ(army.GetLocation(), 642);
    EXPECT_TRUE(army.IsPathEmpty());
    EXPECT_EQ(army.GetState(), CUnit::EState::Idle);
    EXPECT_FALSE(army.IsRetreating());
    EXPECT_EQ(c.discoveredBy[kPlayer], 1);

    // A step off the path still moves the unit; one to no province does
    // not.
    army.OnUnitMove(MoveEvent(army, 641));
    EXPECT_EQ(army.GetLocation(), 641);
    for (int32_t bad : {0, 1473, 65535}) {
        army.OnUnitMove(MoveEvent(army, bad));
        EXPECT_EQ(army.GetLocation(), 641) << bad;
    }
}

TEST_F(UnitMovementTest, ArmiesBoardAtSeaOnlyOntoAFleet) {
    CProvince& coast = Province(650, 0);
    CProvince& sea = Province(651, 5);
    CProvince& beach = Province(652, 0);
    Link(coast, sea);
    Link(sea, beach);
    CLandUnit& army = Army(650, 3000.0f);
    CNavalUnit& fleet = Fleet(651, 0.0f, 0.0f, 2.0f);

    // No fleet named, or a unit that is no fleet: the army stays ashore.
    army.OnUnitMove(MoveEvent(army, 651));
    EXPECT_EQ(army.GetLocation(), 650);
    army.OnUnitMove(MoveEvent(army, 651, army.GetId()));
    EXPECT_EQ(army.GetCarrier(), nullptr);

    army.OnUnitMove(MoveEvent(army, 651, fleet.GetId()));
    EXPECT_EQ(army.GetCarrier(), &fleet);
    EXPECT_EQ(army.previousProvince, 650);
    EXPECT_TRUE(army.MayEnter(652));
    EXPECT_FALSE(army.MayEnter(650 + 3));

    // Aboard, a step into land sets it ashore there.
    army.OnUnitMove(MoveEvent(army, 652));
    EXPECT_EQ(army.GetCarrier(), nullptr);
    EXPECT_EQ(army.GetLocation(), 652);
    EXPECT_EQ(army.previousProvince, 651);
    EXPECT_FALSE(fleet.HasCargo());
}

// A fleet in the open sea beside unknown land: a naval level of 13 sights
// it; below it an explorer's chance with a manoeuvre of 0 always fails, and
// after more than 8 failures in a row the next chance succeeds.
TEST_F(UnitMovementTest, CoastalDiscoveryAfterTooManyFailures) {
    const struct {
        int32_t failuresBefore;
        bool discovered;
        int32_t failuresAfter;
    } cases[] = {{0, false, 1}, {8, false, 9}, {9, true, 0}};
    for (const auto& c : cases) {
        CProvince& sea = Province(660, 5);
        sea.area = 139;
        CProvince& land = Province(661, 0, false);
        sea.ClearNeighbours();
        land.ClearNeighbours();
        Link(sea, land);
        CNavalUnit& fleet = Fleet(662, 1.0f);
        Province(662, 5);
        fleet.AttachLeader(&Leader(LEADER_EXPLORER, 0));
        CUnit::s_coastalDiscoveryFailures = c.failuresBefore;
        fleet.OnUnitMove(MoveEvent(fleet, 660));
        EXPECT_EQ(land.discoveredBy[kPlayer] != 0, c.discovered) << c.failuresBefore;
        EXPECT_EQ(CUnit::s_coastalDiscoveryFailures, c.failuresAfter) << c.failuresBefore;
    }
}

TEST_F(UnitMovementTest, MovePathMessagesAreCheckedBeforeTheyAreTaken) {
    CLandUnit& army = Army(670, 1000.0f);
    ASSERT_TRUE(army.OnMovePath(COVUnitMovePathEvent(army.GetId(), 1, {671, 672})));
    EXPECT_EQ(army.GetNextPathProvince(), 671);
    EXPECT_EQ(army.GetFinalDestination(), 672);
    EXPECT_EQ(army.GetState(), CUnit::EState::Moving);

    const struct {
        const char* what;
        std::vector<uint16_t> provinces;
        int count; // -1: as built
    } bad[] = {
        {"a count past the payload", {673}, 2}, {"a count far past the payload", {673, 674}, 65535},
        {"province 0", {673, 0}, -1},           {"province 1473", {1473}, -1},
        {"province 65535", {673, 65535}, -1},
    };
    for (const auto& c : bad) {
        COVUnitMovePathEvent event(army.GetId(), 1, c.provinces);
        if (c.count >= 0)
            event.Payload().Set(COVUnitMovePathEvent::kCount, static_cast<uint16_t>(c.count));
        EXPECT_FALSE(army.OnMovePath(event)) << c.what;
        EXPECT_EQ(army.GetNextPathProvince(), 671) << c.what;
        EXPECT_EQ(army.GetFinalDestination(), 672) << c.what;
    }
}

} // namespace
