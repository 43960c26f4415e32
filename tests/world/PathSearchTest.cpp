#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "engine/Random.h"
#include "world/PathSearch.h"
#include "world/Province.h"

namespace {

// The search only hands units on to the hooks; these stand for two units.
alignas(16) char g_armyToken;
alignas(16) char g_fleetToken;
const CUnit* const kArmy = reinterpret_cast<const CUnit*>(&g_armyToken);
const CUnit* const kFleet = reinterpret_cast<const CUnit*>(&g_fleetToken);
constexpr int32_t kCountry = 7;

// What the hooks answer, set per test.
struct World {
    std::set<int32_t> unitMayNotEnter;
    std::set<int32_t> enemies;
    std::set<int32_t> symbols;
    std::set<int32_t> besieged;
    std::vector<std::pair<int32_t, int32_t>> fortresses; // province, sea zone
    float factor = 1.0f;
    float speed = 1.0f;
    bool canExplore = false;
    bool trespassing = false;
    bool grantsAccess = true;
};
World g_world;

bool Has(const std::set<int32_t>& set, const CProvince& p) {
    return set.count(p.GetNumber()) != 0;
}

void InstallHooks() {
    g_pathSearchHooks = {};
    g_pathSearchHooks.unitCountry = [](const CUnit&) { return kCountry; };
    g_pathSearchHooks.unitIsFleet = [](const CUnit& unit) { return &unit == kFleet; };
    g_pathSearchHooks.unitSpeed = [](const CUnit&) { return g_world.speed; };
    g_pathSearchHooks.unitPathCostFactor = [](const CUnit&) { return g_world.factor; };
    g_pathSearchHooks.unitCanEnter = [](const CUnit&, const CProvince& p) {
        return !Has(g_world.unitMayNotEnter, p);
    };
    g_pathSearchHooks.unitCanExplore = [](const CUnit&) { return g_world.canExplore; };
    g_pathSearchHooks.unitTrespassing = [](const CUnit&) { return g_world.trespassing; };
    g_pathSearchHooks.provinceHasEnemyUnit = [](const CProvince& p, int32_t country) {
        return country == kCountry && Has(g_world.enemies, p);
    };
    g_pathSearchHooks.provinceSymbolLevel = [](const CProvince& p) {
        return Has(g_world.symbols, p) ? 1 : 0;
    };
    g_pathSearchHooks.provinceHasFortress = [](const CProvince& p) {
        return std::any_of(g_world.fortresses.begin(), g_world.fortresses.end(),
                           [&](const auto& f) { return f.first == p.GetNumber(); });
    };
    g_pathSearchHooks.fortressSeaZone = [](const CProvince& p) {
        for (const auto& f : g_world.fortresses)
            if (f.first == p.GetNumber())
                return f.second;
        return 0;
    };
    g_pathSearchHooks.provinceUnderSiege = [](const CProvince& p) {
        return Has(g_world.besieged, p);
    };
    g_pathSearchHooks.countryGrantsAccess = [](int32_t, int32_t) { return g_world.grantsAccess; };
}

// Every province record's five search fields are zero, and the open set is
// empty.
::testing::AssertionResult SearchStateClear() {
    for (const CProvince& p : g_provinces)
        if (p.searchParent || p.searchCost != 0.0f || p.searchEstimate != 0.0f || p.searchOpen ||
            p.searchMark)
            return ::testing::AssertionFailure() << "province " << p.GetNumber() << " keeps state";
    if (g_pathHeap.GetCount() != 0)
        return ::testing::AssertionFailure() << "open set holds " << g_pathHeap.GetCount();
    return ::testing::AssertionSuccess();
}

class PathSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedHooks = g_pathSearchHooks;
        g_world = World{};
        InstallHooks();
        g_terrainCosts = {};
    }
    void TearDown() override {
        EXPECT_TRUE(SearchStateClear());
        for (int32_t id : m_used) {
            CProvince& p = g_provinces[static_cast<size_t>(id)];
            p.ClearNeighbours();
            p.terrain = p.area = p.region = p.continent = 0;
            p.winter = 0;
            p.discoveredBy = {};
            p.box = {};
        }
        // The owners' registrations stay for the tests that follow.
        g_pathSearchHooks = m_savedHooks;
        g_terrainCosts = {};
    }

    // A province of the type whose centre is (x, y), discovered by kCountry.
    CProvince& Make(int32_t id, int32_t terrain, int32_t x, int32_t y) {
        m_used.insert(id);
        CProvince& p = g_provinces[static_cast<size_t>(id)];
        p.terrain = terrain;
        p.area = terrain >= kFirstSeaProvinceType ? kSeaArea : 1;
        p.region = 1;
        p.box = {x - 10, y - 10, x + 10, y + 10};
        p.discoveredBy[kCountry] = 1;
        return p;
    }
    // A row of land provinces first..last, 300 pixels apart, linked in turn.
    void Row(int32_t first, int32_t last, int32_t terrain = 0, int32_t y = 1000) {
        for (int32_t id = first; id <= last; ++id) {
            Make(id, terrain, 1000 + (id - first) * 300, y);
            if (id > first)
                Link(id - 1, id);
        }
    }
    void Link(int32_t a, int32_t b, int32_t kind = 0) {
        P(a).AddNeighbour({b, kind, 0});
        P(b).AddNeighbour({a, kind, 0});
    }
    static CProvince& P(int32_t id) { return g_provinces[static_cast<size_t>(id)]; }

    // The route's ids, or {-1} when none was found.
    static std::vector<int32_t> Route(CPathList& strategy, const CUnit* unit, int32_t from,
                                      int32_t to) {
        const bool found = FindPath(strategy, unit, P(from), P(to));
        EXPECT_TRUE(SearchStateClear()) << from << " -> " << to;
        if (!found) {
            EXPECT_EQ(strategy.GetCount(), 0u);
            return {-1};
        }
        return strategy.GetIds();
    }

    std::set<int32_t> m_used;
    PathSearchHooks m_savedHooks;
};

using Ids = std::vector<int32_t>;

TEST(PathHeapTest, TakesTheSmallestEstimateFirstAndRefusesBeyondItsCapacity) {
    std::vector<CProvince> provinces(200);
    CPathHeap heap(200);
    EXPECT_EQ(heap.PopFront(), nullptr);
    GameSrand(11);
    for (CProvince& p : provinces) {
        p.searchEstimate = static_cast<float>(GameRand() % 50); // many equal keys
        ASSERT_TRUE(heap.Push(&p));
    }
    EXPECT_FALSE(heap.Push(&provinces[0]));
    EXPECT_EQ(heap.GetCount(), 200);
    float last = -1.0f;
    for (int i = 0; i < 200; ++i) {
        auto* p = static_cast<CProvince*>(heap.PopFront());
        ASSERT_NE(p, nullptr);
        EXPECT_GE(p->searchEstimate, last);
        last = p->searchEstimate;
    }
    EXPECT_EQ(heap.GetCount(), 0);
    EXPECT_EQ(heap.PopFront(), nullptr);
    EXPECT_EQ(g_pathHeap.GetCapacity(), 1473);
}

TEST(PathListTest, ProvincesMatchByTheNumberOfTheirIdsAlone) {
    // Three province records: the second is another record of the same
    // number under another id type.
    CProvince first;
    CProvince sameNumber;
    CProvince other;
    first.SetIdParts(4, 7);
    sameNumber.SetIdParts(5, 7);
    other.SetIdParts(4, 8);
    CAnyRoutePath path;
    path.AddTail(&first);
    EXPECT_TRUE(path.Contains(&sameNumber));
    EXPECT_FALSE(path.Contains(&other));
    EXPECT_FALSE(path.Contains(nullptr));
    EXPECT_TRUE(path.Remove(&sameNumber));
    EXPECT_TRUE(path.IsEmpty());
}

TEST_F(PathSearchTest, AnyRouteFindsRoutesAndRefusesWhatItCannotReach) {
    Row(1, 5);
    Make(6, 0, 5000, 5000); // linked to nothing
    CAnyRoutePath any;
    EXPECT_EQ(Route(any, nullptr, 1, 2), (Ids{2}));
    EXPECT_EQ(Route(any, nullptr, 1, 5), (Ids{2, 3, 4, 5}));
    EXPECT_EQ(Route(any, nullptr, 5, 1), (Ids{4, 3, 2, 1}));
    EXPECT_EQ(Route(any, nullptr, 1, 6), (Ids{-1}));
    EXPECT_EQ(Route(any, nullptr, 3, 3), (Ids{-1})); // start and goal equal
    EXPECT_EQ(Route(any, nullptr, 3, 0), (Ids{-1})); // no province
    // A failed search leaves no route of an earlier one in the list.
    EXPECT_EQ(Route(any, nullptr, 1, 5).size(), 4u);
    EXPECT_FALSE(FindPath(any, nullptr, P(1), P(6)));
    EXPECT_EQ(any.GetCount(), 0u);
}

TEST_F(PathSearchTest, RoutesGoRoundDearTerrainStraitsAndWinter) {
    // 1 - 2 - 3 straight, or 1 - 4 - 5 - 3 round about; close together, so
    // that the costs outweigh the distance estimate.
    Make(1, 0, 1000, 1000);
    Make(2, 2, 1010, 1000); // mountain
    Make(3, 0, 1020, 1000);
    Make(4, 0, 1000, 1010);
    Make(5, 0, 1020, 1010);
    Link(1, 2);
    Link(2, 3);
    Link(1, 4);
    Link(4, 5);
    Link(5, 3);
    CAnyRoutePath any;
    EXPECT_EQ(Route(any, nullptr, 1, 3), (Ids{2, 3})); // every type costs 1.0
    g_terrainCosts[2] = 5.0;
    EXPECT_EQ(Route(any, nullptr, 1, 3), (Ids{4, 5, 3}));
    g_terrainCosts[2] = 1.2; // 2.2 against 3.0
    EXPECT_EQ(Route(any, nullptr, 1, 3), (Ids{2, 3}));
    P(2).winter = 1; // 1.7 + 1.5 against 3.0
    EXPECT_EQ(Route(any, nullptr, 1, 3), (Ids{4, 5, 3}));
}

TEST_F(PathSearchTest, BaseStepCostAddsUpItsParts) {
    Make(1, 0, 0, 0);
    CProvince& to = Make(2, 1, 300, 0);
    g_terrainCosts = {0.0, 2.0};
    const ProvinceNeighbour plain{2, 0, 0};
    const ProvinceNeighbour strait{2, kProvinceLinkStrait, 0};
    EXPECT_FLOAT_EQ(BasePathStepCost(nullptr, P(1), to, plain), 2.0f);
    EXPECT_FLOAT_EQ(BasePathStepCost(nullptr, P(1), to, strait), 2.5f);
    g_terrainCosts[1] = 0.00001; // counts as 1.0
    EXPECT_FLOAT_EQ(BasePathStepCost(nullptr, P(1), to, plain), 1.0f);
    g_terrainCosts[1] = 2.0;
    P(1).winter = 1;
    to.winter = 1;
    EXPECT_FLOAT_EQ(BasePathStepCost(nullptr, P(1), to, strait), 3.5f);
    g_world.factor = 4.0f;
    EXPECT_FLOAT_EQ(BasePathStepCost(kArmy, P(1), to, strait), 3.5f); // discovered
    to.discoveredBy[kCountry] = 0;
    EXPECT_FLOAT_EQ(BasePathStepCost(kArmy, P(1), to, strait), 14.0f);
    EXPECT_FLOAT_EQ(BasePathStepCost(nullptr, P(1), to, strait), 3.5f);
    to.terrain = 42; // outside the table
    EXPECT_FLOAT_EQ(BasePathStepCost(nullptr, P(1), to, plain), 2.0f);
}

TEST_F(PathSearchTest, DistanceEstimateWrapsRoundTheMapAndWeighsWater) {
    CProvince& west = Make(1, 0, 100, 500);
    CProvince& east = Make(2, 0, 18800, 500);
    CProvince& sea = Make(3, 5, 18800, 800);
    EXPECT_FLOAT_EQ(PathDistanceEstimate(west, east), 244.0f * 0.012f);
    EXPECT_FLOAT_EQ(PathDistanceEstimate(east, west), 244.0f * 0.012f);
    EXPECT_FLOAT_EQ(PathDistanceEstimate(sea, east), 300.0f * 0.002f);
    EXPECT_FLOAT_EQ(PathDistanceEstimate(east, east), 0.0f);
}

TEST_F(PathSearchTest, KnownRouteKeepsToDiscoveredProvinces) {
    Row(1, 5);
    Make(6, 0, 1600, 1300); // round about 3
    Link(2, 6);
    Link(6, 4);
    CKnownRoutePath known(kCountry);
    EXPECT_EQ(Route(known, nullptr, 1, 5), (Ids{2, 3, 4, 5}));
    P(3).discoveredBy[kCountry] = 0;
    EXPECT_EQ(Route(known, nullptr, 1, 5), (Ids{2, 6, 4, 5}));
    P(6).discoveredBy[kCountry] = 0;
    EXPECT_EQ(Route(known, nullptr, 1, 5), (Ids{-1}));
    CAnyRoutePath any;
    EXPECT_EQ(Route(any, nullptr, 1, 5), (Ids{2, 3, 4, 5}));
    P(5).discoveredBy[kCountry] = 0;
    P(3).discoveredBy[kCountry] = 1;
    EXPECT_EQ(Route(known, nullptr, 1, 5), (Ids{-1})); // the goal is unknown
    CKnownRoutePath other(kCountry + 1);
    EXPECT_EQ(Route(other, nullptr, 1, 2), (Ids{-1}));
    // Ten times the base cost, except from water to water.
    CProvince& seaA = Make(10, 5, 0, 0);
    CProvince& seaB = Make(11, 5, 300, 0);
    const ProvinceNeighbour link{11, 0, 0};
    EXPECT_FLOAT_EQ(known.StepCost(nullptr, seaA, seaB, link), 1.0f);
    EXPECT_FLOAT_EQ(known.StepCost(nullptr, P(1), P(2), link), 10.0f);
    EXPECT_FLOAT_EQ(known.StepCost(nullptr, seaA, P(2), link), 10.0f);
}

TEST_F(PathSearchTest, ArmyKeepsToLandItMayEnter) {
    Row(1, 5);
    Make(6, 0, 1600, 1300); // round about 3
    Link(2, 6);
    Link(6, 4);
    Make(7, 5, 1600, 700); // a sea zone beside 3: province 3 is coastal
    Link(3, 7);
    Link(7, 5);
    CArmyPath army;
    EXPECT_EQ(Route(army, kArmy, 1, 5), (Ids{2, 3, 4, 5}));
    g_world.unitMayNotEnter = {3};
    EXPECT_EQ(Route(army, kArmy, 1, 5), (Ids{2, 6, 4, 5}));
    // Undiscovered land is entered whatever the unit says.
    P(3).discoveredBy[kCountry] = 0;
    EXPECT_EQ(Route(army, kArmy, 1, 5), (Ids{2, 3, 4, 5}));
    g_world.unitMayNotEnter = {3, 6};
    P(3).discoveredBy[kCountry] = 1;
    EXPECT_EQ(Route(army, kArmy, 1, 5), (Ids{-1})); // not over the sea either
    EXPECT_EQ(Route(army, kArmy, 1, 7), (Ids{-1})); // a water goal
    // A coastal goal is always tried, even one the unit may not enter.
    ASSERT_TRUE(P(3).coastal);
    EXPECT_EQ(Route(army, kArmy, 1, 3), (Ids{2, 3}));
    g_world.unitMayNotEnter = {4};
    EXPECT_EQ(Route(army, kArmy, 1, 4), (Ids{-1}));
    P(4).discoveredBy[kCountry] = 0;
    EXPECT_EQ(Route(army, kArmy, 1, 4), (Ids{2, 3, 4}));
    // A sea zone beside land is a goal: the army boards a fleet there.
    P(7).coastalSeaZone = 1;
    EXPECT_EQ(Route(army, kArmy, 1, 7), (Ids{2, 3, 7}));
    P(7).coastalSeaZone = 0;
    // Enemies and settlements cost three more.
    const ProvinceNeighbour link{3, 0, 0};
    EXPECT_FLOAT_EQ(army.StepCost(kArmy, P(2), P(3), link), 1.0f);
    g_world.enemies = {3};
    EXPECT_FLOAT_EQ(army.StepCost(kArmy, P(2), P(3), link), 4.0f);
    g_world.enemies = {};
    g_world.symbols = {3};
    EXPECT_FLOAT_EQ(army.StepCost(kArmy, P(2), P(3), link), 4.0f);
}

TEST_F(PathSearchTest, FleetEntersLandOnlyWhereItsFortressOpensOnTheSeaZone) {
    // Sea zones 10 - 11 - 12; land 20 beside 10 and 11, land 21 beside 20.
    Make(10, 5, 1000, 1000);
    Make(11, 5, 1300, 1000);
    Make(12, 5, 1600, 1000);
    Make(20, 0, 1150, 1300);
    Make(21, 0, 1150, 1600);
    Link(10, 11);
    Link(11, 12);
    Link(20, 10);
    Link(20, 11);
    Link(20, 21);
    CFleetPath fleet;
    EXPECT_EQ(Route(fleet, kFleet, 10, 12), (Ids{11, 12}));
    EXPECT_EQ(Route(fleet, kFleet, 10, 20), (Ids{-1})); // no port
    g_world.fortresses = {{20, 11}};
    EXPECT_EQ(Route(fleet, kFleet, 10, 20), (Ids{11, 20}));
    EXPECT_EQ(Route(fleet, kFleet, 20, 12), (Ids{11, 12}));
    // Never between two fortresses, nor into what the unit may not enter.
    g_world.fortresses = {{20, 11}, {21, 11}};
    EXPECT_EQ(Route(fleet, kFleet, 11, 21), (Ids{-1}));
    g_world.fortresses = {{20, 11}};
    g_world.unitMayNotEnter = {11};
    EXPECT_EQ(Route(fleet, kFleet, 10, 12), (Ids{-1}));
    EXPECT_EQ(Route(fleet, kFleet, 10, 11), (Ids{-1})); // refused at once
    // Costs: an enemy +3, a coastal province +0, other provinces +1.
    g_world.unitMayNotEnter = {};
    g_world.enemies = {12};
    const ProvinceNeighbour link{0, 0, 0};
    EXPECT_FLOAT_EQ(fleet.StepCost(kFleet, P(11), P(12), link), 4.0f);
    EXPECT_FLOAT_EQ(fleet.StepCost(kFleet, P(12), P(11), link), 2.0f);
    ASSERT_TRUE(P(20).coastal);
    EXPECT_FLOAT_EQ(fleet.StepCost(kFleet, P(11), P(20), link), 1.0f);
    // The computer's fleet avoids enemies short of the goal, even the long
    // way round (8 against 6).
    Make(13, 5, 1000, 700);
    Make(14, 5, 1300, 700);
    Make(15, 5, 1600, 700);
    Link(10, 13);
    Link(13, 14);
    Link(14, 15);
    Link(15, 12);
    g_world.enemies = {11};
    CAIFleetPath aiFleet;
    EXPECT_EQ(Route(fleet, kFleet, 10, 12), (Ids{11, 12}));
    EXPECT_EQ(Route(aiFleet, kFleet, 10, 12), (Ids{13, 14, 15, 12}));
    EXPECT_EQ(Route(aiFleet, kFleet, 10, 11), (Ids{11}));
}

TEST_F(PathSearchTest, ComputerArmyPlanningCarriesItsMarkAndAvoidsLakes) {
    // 1 - 2 - 3 over land, 2 - 40 - 3 through a lake, 1 - 30 - 4 over the
    // sea area.
    Row(1, 3);
    Make(40, 6, 1300, 1300);
    P(40).area = kLakeArea;
    Link(2, 40);
    Link(40, 3);
    Make(30, 5, 1000, 700);
    Make(4, 0, 1300, 700);
    Link(1, 30);
    Link(30, 4);
    Make(5, 0, 1600, 700);
    Link(4, 5);
    CAIArmyPlanPath plan;
    EXPECT_EQ(Route(plan, kArmy, 1, 3), (Ids{2, 3}));
    EXPECT_EQ(Route(plan, kArmy, 1, 40), (Ids{-1})); // a water goal
    EXPECT_EQ(Route(plan, kArmy, 1, 4), (Ids{30, 4}));
    // Once a route has been at sea, land goes on marked: no way back onto
    // the sea area from there.
    Make(31, 5, 1600, 400);
    Link(4, 31);
    Make(6, 0, 1900, 400);
    Link(31, 6);
    EXPECT_EQ(Route(plan, kArmy, 1, 6), (Ids{-1}));
    // Enemies and settlements short of the goal are not entered.
    g_world.enemies = {2};
    EXPECT_EQ(Route(plan, kArmy, 1, 3), (Ids{-1}));
    EXPECT_EQ(Route(plan, kArmy, 1, 2), (Ids{2}));
    g_world.enemies = {};
    g_world.symbols = {2};
    EXPECT_EQ(Route(plan, kArmy, 1, 3), (Ids{-1}));
    g_world.symbols = {};
    // Undiscovered land only for an explorer.
    P(3).discoveredBy[kCountry] = 0;
    EXPECT_EQ(Route(plan, kArmy, 1, 3), (Ids{-1}));
    g_world.canExplore = true;
    EXPECT_EQ(Route(plan, kArmy, 1, 3), (Ids{2, 3}));
    // Marks and estimates.
    CProvince& sea = P(30);
    EXPECT_FLOAT_EQ(plan.Estimate(kArmy, sea, P(4)), PathDistanceEstimate(sea, P(4)) * 0.6666667f);
    EXPECT_FLOAT_EQ(plan.Estimate(kArmy, P(1), P(3)), PathDistanceEstimate(P(1), P(3)) * 0.1f);
    EXPECT_FLOAT_EQ(plan.StepCost(kArmy, P(1), sea, {30, 0, 0}), 0.6666667f);
}

TEST_F(PathSearchTest, ComputerArmyMayPassEnemiesOnlyWhenTrespassing) {
    Row(1, 4);
    Make(9, 5, 1300, 1300);
    Link(2, 9);
    Link(9, 4);
    CAIArmyPath army;
    g_world.enemies = {2};
    EXPECT_EQ(Route(army, kArmy, 1, 4), (Ids{-1}));
    EXPECT_EQ(Route(army, kArmy, 1, 2), (Ids{2}));
    g_world.trespassing = true;
    EXPECT_EQ(Route(army, kArmy, 1, 4), (Ids{2, 3, 4}));
    g_world.unitMayNotEnter = {3};
    EXPECT_EQ(Route(army, kArmy, 1, 4), (Ids{-1})); // and never over the sea
    P(3).discoveredBy[kCountry] = 0;
    EXPECT_EQ(Route(army, kArmy, 1, 4), (Ids{2, 3, 4}));
}

TEST_F(PathSearchTest, FreeAndNegativeStepsOnAnUnplacedMapEndWithSoundRoutes) {
    // No map boxes: every estimate is 0. Undiscovered provinces cost
    // nothing (factor 0) or less than nothing, so a province reached counts
    // for nothing; the search must still end and the parents run straight.
    for (int32_t id = 1; id <= 6; ++id) {
        Make(id, 0, 0, 0);
        P(id).box = {};
        P(id).discoveredBy = {};
    }
    Link(1, 2);
    Link(2, 3);
    Link(3, 1);
    Link(3, 4);
    Link(4, 2);
    Link(4, 5);
    for (float factor : {0.0f, -1.0f}) {
        SCOPED_TRACE(factor);
        g_world.factor = factor;
        CArmyPath army;
        const Ids route = Route(army, kArmy, 1, 5);
        ASSERT_FALSE(route.empty());
        EXPECT_EQ(route.back(), 5);
        EXPECT_LE(route.size(), 4u);
        EXPECT_EQ(Route(army, kArmy, 1, 6), (Ids{-1}));
    }
}

// Any route with the step into province 2 from province 1 made dear.
class CDearStepPath : public CAnyRoutePath {
public:
    float StepCost(const CUnit*, const CProvince& from, const CProvince& to,
                   const ProvinceNeighbour&) override {
        return from.GetNumber() == 1 && to.GetNumber() == 2 ? 5.0f : 1.0f;
    }
};

TEST_F(PathSearchTest, AProvinceLoweredWhileOpenTakesItsNewParent) {
    // 1 - 2 - 4 with 1 - 3 - 2 round about; all close together. Province 2
    // is opened from 1 at 5, then lowered to 2 from 3 while still open.
    Make(1, 0, 1000, 1000);
    Make(2, 0, 1010, 1000);
    Make(3, 0, 1000, 1010);
    Make(4, 0, 1020, 1000);
    Link(1, 2);
    Link(1, 3);
    Link(3, 2);
    Link(2, 4);
    CDearStepPath dear;
    EXPECT_EQ(Route(dear, nullptr, 1, 4), (Ids{3, 2, 4}));
}

TEST_F(PathSearchTest, LinksToNoRecordAreSkipped) {
    Row(1, 3);
    P(2).AddNeighbour({5000, 0, 0});
    P(2).AddNeighbour({-4, 0, 0});
    P(2).AddNeighbour({0, 0, 0});
    P(2).neighbourCount = 99; // more than the list holds
    CAnyRoutePath any;
    EXPECT_EQ(Route(any, nullptr, 1, 3), (Ids{2, 3}));
}

// A strategy that tries to search again from inside a search.
class CNestingPath : public CAnyRoutePath {
public:
    void Visit(CProvince&) override {
        CAnyRoutePath inner;
        nestedResults.push_back(FindPath(inner, nullptr, g_provinces[1], g_provinces[2]));
    }
    std::vector<bool> nestedResults;
};

TEST_F(PathSearchTest, ASearchInsideASearchIsRefused) {
    Row(1, 3);
    CNestingPath nesting;
    EXPECT_EQ(Route(nesting, nullptr, 1, 3), (Ids{2, 3}));
    ASSERT_FALSE(nesting.nestedResults.empty());
    for (bool result : nesting.nestedResults)
        EXPECT_FALSE(result);
    CAnyRoutePath any;
    EXPECT_EQ(Route(any, nullptr, 1, 2), (Ids{2}));
}

TEST_F(PathSearchTest, UnitStepDays) {
    Make(1, 0, 0, 0);
    Make(2, 2, 300, 0);   // mountain
    Make(3, 5, 0, 300);   // sea
    Make(4, 0, 600, 600); // not linked to 1
    Link(1, 2);
    Link(1, 3);
    Link(2, 3, kProvinceLinkStrait);
    g_terrainCosts = {1.0, 0.0, 2.0, 0.0, 0.0, 0.5};
    EXPECT_EQ(UnitStepDays(*kArmy, P(1), P(4)), 30);
    EXPECT_EQ(UnitStepDays(*kArmy, P(1), P(2)), 60);
    EXPECT_EQ(UnitStepDays(*kArmy, P(3), P(2)), 75); // strait: 2.5
    EXPECT_EQ(UnitStepDays(*kFleet, P(2), P(3)), 15);
    g_world.speed = 2.0f;
    EXPECT_EQ(UnitStepDays(*kFleet, P(1), P(3)), 7);
    EXPECT_EQ(UnitStepDays(*kArmy, P(1), P(2)), 30);
    g_world.speed = 1.0f;
    P(2).region = 0;
    EXPECT_EQ(UnitStepDays(*kArmy, P(1), P(2)), 120);
    P(2).region = 1;
    P(2).continent = 5;
    EXPECT_EQ(UnitStepDays(*kArmy, P(1), P(2)), 120);
    P(2).continent = 0;
    P(2).discoveredBy = {};
    g_world.factor = 1.5f;
    EXPECT_EQ(UnitStepDays(*kArmy, P(1), P(2)), 90);
    // An army between land and water: half through a port that is open to
    // it and not besieged.
    EXPECT_EQ(UnitStepDays(*kArmy, P(1), P(3)), 15);
    g_world.fortresses = {{1, 3}};
    EXPECT_EQ(UnitStepDays(*kArmy, P(1), P(3)), 15); // no controller
    g_pathSearchHooks.countryGrantsAccess = nullptr; // -1 grants nothing
    EXPECT_EQ(UnitStepDays(*kArmy, P(3), P(1)), 30);
    g_terrainCosts[0] = 0.0001; // counts as 1.0
    EXPECT_EQ(UnitStepDays(*kArmy, P(3), P(1)), 30);
    // A unit without speed takes the plain month rather than dividing by 0.
    g_world.speed = 0.0f;
    EXPECT_EQ(UnitStepDays(*kArmy, P(1), P(2)), 30);
    EXPECT_EQ(UnitStepDays(*kFleet, P(1), P(3)), 30);
}

} // namespace
