// The rules of armies and fleets: transport space, speed, attrition,
// morale, boarding and landing.
#include <gtest/gtest.h>

#include "military/units/Leader.h"
#include "military/units/NavalUnit.h"
#include "net/EventTypes.h"
#include "tests/military/UnitMovementTestFixture.h"
#include "world/PathSearch.h"

namespace {

using test::UnitMovementTest;

TEST_F(UnitMovementTest, TransportNeedAgainstFleetSpace) {
    const struct {
        float infantry, cavalry, artillery;
        int32_t need;
    } armies[] = {
        {2500.0f, 0.0f, 5.0f, 4},     {0.0f, 0.0f, 3.0f, 1},    {0.0f, 0.0f, 0.0f, 0},
        {1000.0f, 1000.0f, 10.0f, 3}, {1000.2f, 0.0f, 0.0f, 2}, {0.4f, 999.0f, 10.5f, 4},
    };
    for (const auto& a : armies) {
        EXPECT_EQ(GetTransportNeed(a.infantry, a.cavalry, a.artillery), a.need) << a.infantry;
        EXPECT_EQ(Army(700, a.infantry, a.cavalry, a.artillery).GetTransportNeed(), a.need);
    }
    const struct {
        float warships, galleys, transports;
        int32_t space;
    } fleets[] = {
        {0.0f, 1.0f, 2.0f, 5}, {1.5f, 0.0f, 0.0f, 2}, {3.0f, 2.0f, 0.5f, 7}, {0, 0, 0, 0}};
    for (const auto& f : fleets)
        EXPECT_EQ(Fleet(701, f.warships, f.galleys, f.transports).GetTransportCapacity(), f.space)
            << f.warships << " " << f.galleys << " " << f.transports;

    // Five regiments of space: an army of four fits, a second one of two
    // no more.
    CNavalUnit& fleet = Fleet(701, 0.0f, 1.0f, 2.0f);
    CLandUnit& first = Army(701, 2500.0f, 0.0f, 5.0f);
    CLandUnit& second = Army(701, 2000.0f);
    EXPECT_TRUE(fleet.CanCarry({&first}));
    EXPECT_FALSE(fleet.CanCarry({&first, &second}));
    fleet.LoadArmy(&first);
    EXPECT_EQ(fleet.GetCargoLoad(), 4);
    EXPECT_FALSE(fleet.CanCarry({&second}));
    EXPECT_TRUE(fleet.CanCarry({&Army(701, 1000.0f)}));
    fleet.UnloadArmy(&first);
}

TEST_F(UnitMovementTest, SpeedFollowsTheSlowestTroopsAndTheGalleys) {
    const struct {
        bool fleet;
        float a, b, c; // army: infantry, cavalry, artillery; fleet: warships, galleys, transports
        float factor;
    } cases[] = {
        {false, 0.0f, 0.0f, 3.0f, 1.5f},    {false, 5000.0f, 1000.0f, 0.5f, 1.5f},
        {false, 1.0f, 5000.0f, 0.0f, 2.0f}, {false, 0.0f, 2000.0f, 0.0f, 3.0f},
        {true, 5.0f, 0.2f, 0.0f, 3.0f},     {true, 5.0f, 0.0f, 9.0f, 3.0f},
    };
    for (const auto& c : cases) {
        const CUnit& unit = c.fleet ? static_cast<const CUnit&>(Fleet(702, c.a, c.b, c.c))
                                    : static_cast<const CUnit&>(Army(702, c.a, c.b, c.c));
        EXPECT_FLOAT_EQ(unit.GetMovementFactor(), c.factor) << c.a << " " << c.b << " " << c.c;
        // The path search's speed is the unit's.
        EXPECT_FLOAT_EQ(g_pathSearchHooks.unitSpeed(unit), c.factor);
    }
}

TEST_F(UnitMovementTest, ArmyAttritionHasAFloorForSmallAndMovingArmies) {
    CProvince& p = Province(710, 0);
    const struct {
        const char* what;
        float infantry;
        int32_t leaderCategory; // -1: none
        int32_t manoeuvre;
        bool moving;
        bool winter;
        int32_t owner;
        float rate;
    } cases[] = {
        // 1 regiment here; 1000 / 500 men lifts 1 % to 2 %.
        {"500 men standing", 500.0f, -1, 0, false, false, kPlayer, 0.02f},
        {"1000 men standing", 1000.0f, -1, 0, false, false, kPlayer, 0.01f},
        // 1 - 2 x 3: nothing while standing, the 1 % floor while moving
        // unless a conquistador leads.
        {"a skilled general standing", 1000.0f, LEADER_GENERAL, 3, false, false, kPlayer, 0.0f},
        {"a skilled general moving", 1000.0f, LEADER_GENERAL, 3, true, false, kPlayer, 0.01f},
        {"a conquistador moving", 1000.0f, LEADER_CONQUISTADOR, 1, true, false, kPlayer, 0.0f},
        // Winter: 1 + 10 at home, 15 more abroad.
        {"winter at home", 1000.0f, -1, 0, false, true, kPlayer, 0.11f},
        {"winter abroad", 1000.0f, -1, 0, false, true, kNeutral, 0.26f},
    };
    const auto saved = g_provinceSupplyValue;
    g_provinceSupplyValue = nullptr;
    for (const auto& c : cases) {
        p.winter = c.winter ? 1 : 0;
        Own(p, c.owner);
        CLandUnit& army = Army(710, c.infantry);
        if (c.leaderCategory >= 0)
            army.AttachLeader(&Leader(c.leaderCategory, c.manoeuvre));
        if (c.moving)
            GivePath(army, {711});
        EXPECT_FLOAT_EQ(army.GetAttritionRateIn(p), c.rate) << c.what;
        EXPECT_FLOAT_EQ(army.GetMonthlyAttrition(), c.rate * c.infantry) << c.what;
        army.SetLocation(0); // out of the next case's count
        GivePath(army, {});
    }
    // A crowded province is held to its cap.
    p.winter = 0;
    Own(p, kPlayer);
    const int32_t cap = p.GetAttrition(Country(kPlayer), false);
    ASSERT_LT(cap, 40);
    CLandUnit& crowd = Army(710, 40000.0f);
    EXPECT_FLOAT_EQ(crowd.GetAttritionRateIn(p), static_cast<float>(cap) * 0.01f);
    crowd.SetLocation(0);
    // The supply lowers it.
    g_provinceSupplyValue = [](const CProvince&, CCountry&, bool) { return 5; };
    p.winter = 1;
    Own(p, kPlayer);
    EXPECT_FLOAT_EQ(Army(710, 1000.0f).GetAttritionRateIn(p), 0.06f);
    g_provinceSupplyValue = saved;
    // An empty army suffers nothing.
    EXPECT_FLOAT_EQ(Army(710, 0.0f).GetAttritionRateIn(p), 0.0f);
}

TEST_F(UnitMovementTest, FleetAttritionIsCappedByItsSize) {
    CProvince& sea = Province(720, 5);
    CProvince& port = Province(721, 0);
    Own(port, kPlayer);
    Fortify(port, 1.0f, 720);
    Link(sea, port);
    // A supply value far above every cap.
    const auto saved = g_provinceSupplyValue;
    g_provinceSupplyValue = [](const CProvince&, CCountry&, bool) { return 50; };
    const struct {
        float ships;
        bool moving;
        int32_t province;
        float rate;
    } cases[] = {
        {20.0f, false, 720, 0.05f}, // 100 / 20
        {200.0f, false, 720, 0.0f}, // a cap of 0
        {200.0f, true, 720, 0.01f}, // the 1 % floor while moving
        {20.0f, false, 721, 0.0f},  // in port
    };
    for (const auto& c : cases) {
        CNavalUnit& fleet = Fleet(c.province, c.ships);
        if (c.moving)
            GivePath(fleet, {721});
        EXPECT_FLOAT_EQ(fleet.GetAttritionRate(), c.rate) << c.ships << " " << c.province;
        EXPECT_FLOAT_EQ(fleet.GetMonthlyAttrition(), c.ships * c.rate);
    }
    EXPECT_LE(Fleet(720, 20.0f).GetMonthlyAttrition(), 1.0f);
    EXPECT_EQ(Fleet(721, 20.0f).GetMonthsAtSea(), 0);
    g_provinceSupplyValue = saved;
}

TEST_F(UnitMovementTest, MoraleClimbsAndFallsTowardItsAim) {
    // A trespassing army aims at 1.0.
    const struct {
        float before, after;
        bool changed;
    } cases[] = {{0.5f, 0.8f, true},
                 {0.9f, 1.0f, true},
                 {1.5f, 1.2f, true},
                 {1.1f, 1.0f, true},
                 {1.0f, 1.0f, false}};
    for (const auto& c : cases) {
        CLandUnit& army = Army(730, 1000.0f);
        army.trespassing = 1;
        army.morale = c.before;
        EXPECT_EQ(army.RegainMorale(), c.changed) << c.before;
        EXPECT_FLOAT_EQ(army.morale, c.after) << c.before;
    }
}

TEST_F(UnitMovementTest, FleetsCarryArmiesAndLandThemInPort) {
    CProvince& shore = Province(740, 0);
    Own(shore, kPlayer);
    CProvince& sea = Province(741, 5);
    CProvince& farSea = Province(742, 5);
    CProvince& port = Province(743, 0);
    Own(port, kPlayer);
    Fortify(port, 1.0f, 742);
    CProvince& unknown = Province(744, 0, false);
    CProvince& open = Province(745, 0);
    Link(shore, sea);
    Link(sea, farSea);
    Link(farSea, port);
    Link(sea, unknown);
    Link(farSea, open);

    CNavalUnit& fleet = Fleet(741, 0.0f, 0.0f, 3.0f);
    CLandUnit& army = Army(740, 2000.0f);
    army.BoardFleet(741, &fleet);
    EXPECT_EQ(army.GetCarrier(), &fleet);
    EXPECT_EQ(army.previousProvince, 740);
    EXPECT_EQ(army.GetLocation(), 741);
    EXPECT_TRUE(fleet.CanUnloadTo(740));
    EXPECT_FALSE(fleet.CanUnloadTo(744)); // undiscovered, nobody aboard explores
    EXPECT_FALSE(fleet.CanUnloadTo(742)); // sea
    EXPECT_FALSE(fleet.CanUnloadTo(745)); // not beside the fleet
    EXPECT_TRUE(fleet.CanUnload());
    CLandUnit& explorers = Army(740, 10.0f);
    explorers.AttachLeader(&Leader(LEADER_CONQUISTADOR, 1));
    explorers.BoardFleet(741, &fleet);
    EXPECT_TRUE(fleet.CanUnloadTo(744));
    explorers.BoardFleet(740, &fleet);
    EXPECT_EQ(explorers.GetCarrier(), nullptr);
    EXPECT_EQ(explorers.GetLocation(), 740);

    // On its way the fleet keeps the army; the army is where it is.
    GivePath(fleet, {742, 743});
    fleet.SetProvince(742);
    EXPECT_EQ(army.GetLocation(), 742);
    EXPECT_EQ(army.GetCarrier(), &fleet);
    // Into a port with no path left: the army goes ashore, the ships are
    // whole again.
    fleet.SetStrength(2, 2.4f);
    GivePath(fleet, {});
    fleet.SetProvince(743);
    EXPECT_EQ(fleet.GetLocation(), 743);
    EXPECT_EQ(army.GetCarrier(), nullptr);
    EXPECT_EQ(army.GetLocation(), 743);
    EXPECT_EQ(army.previousProvince, 743);
    EXPECT_FLOAT_EQ(fleet.GetTransports(), 3.0f);
    // A fleet never enters land without a port.
    fleet.SetProvince(742);
    fleet.SetProvince(745);
    EXPECT_EQ(fleet.GetLocation(), 742);
}

TEST_F(UnitMovementTest, GalleysRiskOnlyTheOpenSea) {
    CProvince& open = Province(750, 5);
    CProvince& coast = Province(751, 5);
    coast.coastalSeaZone = 1;
    CProvince& inner = Province(752, 5);
    inner.region = 43;
    CNavalUnit& galleys = Fleet(750, 1.0f, 0.5f);
    CNavalUnit& ships = Fleet(750, 4.0f);
    EXPECT_TRUE(galleys.RisksGalleysIn(open));
    EXPECT_FALSE(galleys.RisksGalleysIn(coast));
    EXPECT_FALSE(galleys.RisksGalleysIn(inner));
    EXPECT_FALSE(ships.RisksGalleysIn(open));
}

TEST_F(UnitMovementTest, StatusBarAndCargoOrdersOfAFleet) {
    CNavalUnit& fleet = Fleet(760, 30.0f, 0.0f, 10.0f);
    const struct {
        int32_t width, fill;
    } cases[] = {{0, 0}, {-4, 0}, {10, 100}, {40, 50}, {100, 20}};
    for (const auto& c : cases)
        EXPECT_EQ(fleet.GetStatusBarFill(c.width), c.fill) << c.width;

    EXPECT_TRUE(fleet.KeepsArmiesAboard());
    EXPECT_TRUE(fleet.HandleCargoOrder(COVDataEvent(EVT_UNIT_UNLOADONARRIVAL, fleet.GetId())));
    EXPECT_FALSE(fleet.KeepsArmiesAboard());
    EXPECT_TRUE(fleet.HandleCargoOrder(COVDataEvent(EVT_UNIT_REMAINONBOARD, fleet.GetId())));
    EXPECT_TRUE(fleet.KeepsArmiesAboard());
    EXPECT_FALSE(fleet.HandleCargoOrder(COVDataEvent(EVT_UNITMOVE, fleet.GetId())));
}

TEST_F(UnitMovementTest, FleetsFallBackTowardTheirHomePort) {
    CProvince& sea = Province(780, 5);
    CProvince& open = Province(781, 5);
    open.unitPosition = {100, 0};
    CProvince& unknown = Province(782, 5, false);
    CProvince& port = Province(783, 0);
    Own(port, kPlayer);
    Fortify(port, 1.0f, 780);
    port.unitPosition = {10, 0};
    CProvince& beach = Province(784, 0);
    Province(785, 5);
    for (CProvince* p : {&open, &unknown, &port, &beach})
        Link(sea, *p);
    CNavalUnit& fleet = Fleet(780, 3.0f);
    const struct {
        int32_t province;
        bool expected;
    } cases[] = {{781, true}, {782, false}, {783, true}, {784, false}, {785, false}, {0, false}};
    for (const auto& c : cases)
        EXPECT_EQ(fleet.CanRetreatTo(c.province), c.expected) << c.province;
    EXPECT_EQ(fleet.FindRetreatProvince(), 783);
    // Without a port of its own a fleet falls back anywhere it may.
    CNavalUnit& stranger = Fleet(780, 3.0f, 0.0f, 0.0f, kNeutral);
    open.discoveredBy[kNeutral] = 1;
    EXPECT_EQ(stranger.FindRetreatProvince(), 781);
    // Nowhere to go.
    EXPECT_EQ(Fleet(785, 1.0f).FindRetreatProvince(), 0);
}

TEST_F(UnitMovementTest, ArmiesFallBackToEmptyFriendlyLandFirst) {
    CProvince& here = Province(790, 0);
    Own(here, kPlayer);
    CProvince& own = Province(791, 0);
    Own(own, kPlayer);
    CProvince& wild = Province(792, 0);
    CProvince& sea = Province(793, 5);
    for (CProvince* p : {&own, &wild, &sea})
        Link(here, *p);
    CLandUnit& army = Army(790, 1000.0f);
    Fleet(793, 0.0f, 0.0f, 2.0f);

    // 16 + 100 for empty land of its own, 4 + 100 for empty wild land, 50
    // for room on its fleets at sea.
    EXPECT_EQ(army.FindRetreatProvince(), 791);
    // An enemy in its own land: 16 only.
    CLandUnit& pirates = Army(791, 1000.0f, 0.0f, 0.0f, kPirates);
    EXPECT_EQ(army.FindRetreatProvince(), 792);
    // Only the sea left, while the fleet has room for the army and the
    // armies about to embark.
    wild.discoveredBy[kPlayer] = 0;
    EXPECT_EQ(army.FindRetreatProvince(), 793);
    CLandUnit& embarking = Army(790, 4000.0f);
    GivePath(embarking, {793});
    EXPECT_EQ(army.FindRetreatProvince(), 791);
    pirates.SetLocation(0);
    // The natives stand their ground.
    AddCountry(std::make_unique<CCountry>(97));
    EXPECT_EQ(Army(790, 1000.0f, 0.0f, 0.0f, 97).FindRetreatProvince(), 0);
}

TEST_F(UnitMovementTest, SpreadingTroopsGivesEachTakerItsShare) {
    Province(800, 0);
    CLandUnit& giver = Army(800, 3000.0f, 1001.0f, 11.0f);
    CLandUnit& taker = Army(800, 0.0f);
    CLandUnit& moving = Army(800, 0.0f);
    GivePath(moving, {801});
    CLandUnit& explorer = Army(800, 0.0f);
    explorer.AttachLeader(&Leader(LEADER_CONQUISTADOR, 1));
    CLandUnit& foreign = Army(800, 0.0f, 0.0f, 0.0f, kNeutral);
    CNavalUnit& fleet = Fleet(800, 0.0f);

    // Two shares, one taker: one pass, half of each kind.
    giver.DistributeTroops(2);
    EXPECT_FLOAT_EQ(taker.GetInfantry(), 1500.0f);
    EXPECT_FLOAT_EQ(taker.GetCavalry(), 500.0f);
    EXPECT_FLOAT_EQ(taker.GetArtillery(), 5.0f);
    EXPECT_FLOAT_EQ(giver.GetInfantry(), 1500.0f);
    EXPECT_FLOAT_EQ(giver.GetCavalry(), 501.0f);
    EXPECT_FLOAT_EQ(giver.GetArtillery(), 6.0f);
    for (const CUnit* other :
         {static_cast<const CUnit*>(&moving), static_cast<const CUnit*>(&explorer),
          static_cast<const CUnit*>(&foreign), static_cast<const CUnit*>(&fleet)})
        EXPECT_FLOAT_EQ(other->GetStrength(0) + other->GetStrength(1) + other->GetStrength(2),
                        0.0f);

    Province(802, 5);
    CNavalUnit& ships = Fleet(802, 4.0f, 3.0f, 2.0f);
    CNavalUnit& other = Fleet(802, 0.0f);
    ships.DistributeTroops(2);
    EXPECT_FLOAT_EQ(other.GetWarships(), 2.0f);
    EXPECT_FLOAT_EQ(other.GetGalleys(), 1.0f);
    EXPECT_FLOAT_EQ(other.GetTransports(), 1.0f);
    EXPECT_FLOAT_EQ(ships.GetGalleys(), 2.0f);
}

} // namespace
