// The unit's figure on the map: where it stands for each placement, the
// way it faces, its poses in and out of combat, its culture and level; and
// the notices the unit gives the computer player.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "country/Country.h"
#include "country/Technology.h"
#include "engine/GameState.h"
#include "military/units/LandUnit.h"
#include "military/units/NavalUnit.h"
#include "military/units/Unit.h"
#include "net/EventTypes.h"
#include "tests/military/MilitaryBlockFixture.h"
#include "world/Province.h"

namespace {

constexpr int32_t kLand = 12;
constexpr int32_t kSea = 13;
constexpr int32_t kEast = 14;  // just across the map's seam from kWest
constexpr int32_t kWest = 15;  // at the map's right edge
constexpr int32_t kNorth = 16; // above kLand

std::vector<std::pair<uint32_t, uint32_t>> g_notices; // type, unit number

void RecordNotice(uint32_t type, CUnit& unit) {
    g_notices.emplace_back(type, unit.GetId().number);
}

bool g_running = false;

class UnitFigureTest : public test::MilitaryBlockTest {
protected:
    void SetUp() override {
        MilitaryBlockTest::SetUp();
        Place(kLand, 0, {1000, 500}, {1010, 530});
        Place(kSea, 5, {1200, 600}, {0, 0});
        Place(kWest, 0, {18900, 500}, {0, 0});
        Place(kEast, 0, {40, 500}, {0, 0});
        Place(kNorth, 0, {1000, 300}, {0, 0});
        g_notices.clear();
        m_savedAI = g_unitAI;
        g_unitAI = &RecordNotice;
        m_savedRunning = g_gameState.isGameRunning;
        g_gameState.isGameRunning = [] { return g_running; };
        g_running = true;
    }
    void TearDown() override {
        g_unitAI = m_savedAI;
        g_gameState.isGameRunning = m_savedRunning;
        for (int32_t id : {kLand, kSea, kWest, kEast, kNorth})
            g_provinces[static_cast<size_t>(id)].terrain = 0;
        MilitaryBlockTest::TearDown();
    }

    static void Place(int32_t id, int32_t terrain, MapPoint unit, MapPoint port) {
        CProvince& province = g_provinces[static_cast<size_t>(id)];
        province.terrain = terrain;
        province.unitPosition = unit;
        province.portPosition = port;
    }

    template <typename Unit> std::unique_ptr<Unit> Make(int32_t location) {
        auto unit = std::make_unique<Unit>(&country);
        unit->AssignNewId();
        unit->SetLocation(location);
        unit->SetStrength(0, 5);
        unit->SetStrength(2, 1000);
        unit->SetIdleState();
        return unit;
    }

    // The unit takes the path of the provinces (replacing its own).
    static void Walk(CUnit& unit, std::initializer_list<int32_t> ids, int32_t replace = 1) {
        CIntList path;
        for (int32_t id : ids)
            path.AddTail(id);
        unit.SetPath(replace, path);
    }

    static std::pair<int32_t, int32_t> Pose(const CUnit& unit) {
        return {unit.GetFigureKey().action, unit.GetFigureKey().direction};
    }
    static std::pair<int32_t, int32_t> At(const CUnit& unit) {
        return {unit.GetFigurePosition().x, unit.GetFigurePosition().y};
    }

    CCountry country{5};
    void (*m_savedAI)(uint32_t, CUnit&) = nullptr;
    bool (*m_savedRunning)() = nullptr;
};

TEST_F(UnitFigureTest, EachPlacementPutsTheFigureBesideTheProvincesPoint) {
    struct Case {
        bool fleet;
        int32_t province;
        int32_t placement;
        std::pair<int32_t, int32_t> at;
    };
    const Case cases[] = {
        {false, kLand, PLACEMENT_STANDING, {1000, 500}},
        {false, kLand, PLACEMENT_ATTACKER, {984, 516}},
        {false, kLand, PLACEMENT_DEFENDER, {1016, 484}},
        {false, kLand, PLACEMENT_MOVING, {988, 512}},
        // A fleet in a port stands and moves at the port's point.
        {true, kLand, PLACEMENT_STANDING, {1010, 530}},
        {true, kLand, PLACEMENT_MOVING, {1010, 530}},
        {true, kLand, PLACEMENT_ATTACKER, {984, 484}},
        {true, kSea, PLACEMENT_STANDING, {1200, 600}},
        {true, kSea, PLACEMENT_ATTACKER, {1184, 584}},
        {true, kSea, PLACEMENT_DEFENDER, {1216, 616}},
        {true, kSea, PLACEMENT_MOVING, {1188, 612}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.fleet ? "fleet" : "army") + " in " + std::to_string(c.province) +
                     " placement " + std::to_string(c.placement));
        std::unique_ptr<CUnit> unit;
        if (c.fleet)
            unit = Make<CNavalUnit>(c.province);
        else
            unit = Make<CLandUnit>(c.province);
        unit->SetMapPlacement(c.placement);
        EXPECT_EQ(unit->GetMapPlacement(), c.placement);
        EXPECT_EQ(At(*unit), c.at);
    }
    // Without a province record the figure stays where it was.
    auto lost = Make<CLandUnit>(0);
    lost->SetFigurePosition(7, 8);
    lost->SetMapPlacement(PLACEMENT_MOVING);
    EXPECT_EQ(At(*lost), std::make_pair(7, 8));
}

TEST_F(UnitFigureTest, AnArmyAboardIsPlacedByItsFleetsProvinceAndIsOffTheMapWhenItBoards) {
    auto fleet = Make<CNavalUnit>(kSea);
    auto army = Make<CLandUnit>(kLand);
    army->SetMapPlacement(PLACEMENT_STANDING);
    army->BoardFleet(kSea, fleet.get());
    ASSERT_EQ(army->GetCarrier(), fleet.get());
    EXPECT_EQ(At(*army), std::make_pair(-100, -100));
    army->SetMapPlacement(PLACEMENT_MOVING);
    EXPECT_EQ(At(*army), std::make_pair(1188, 612));
}

TEST_F(UnitFigureTest, APathTurnsTheFigureTowardTheNextStepTheShortWayRoundTheMap) {
    auto army = Make<CLandUnit>(kLand);
    EXPECT_EQ(Pose(*army), std::make_pair(int32_t{FIGURE_STAND}, kSpriteDirectionNone));
    Walk(*army, {kNorth});
    EXPECT_EQ(Pose(*army), std::make_pair(int32_t{FIGURE_WALK}, 0)); // north
    EXPECT_EQ(army->GetMapPlacement(), PLACEMENT_MOVING);
    EXPECT_EQ(At(*army), std::make_pair(988, 512));

    // Appending leaves the figure as it is.
    army->SetFigurePose(FIGURE_STAND, 3);
    Walk(*army, {kWest}, 0);
    EXPECT_EQ(Pose(*army), std::make_pair(int32_t{FIGURE_STAND}, 3));

    // Across the seam: east and west by the short way, not across the map.
    auto west = Make<CLandUnit>(kWest);
    Walk(*west, {kEast});
    EXPECT_EQ(Pose(*west), std::make_pair(int32_t{FIGURE_WALK}, 2));
    auto east = Make<CLandUnit>(kEast);
    Walk(*east, {kWest});
    EXPECT_EQ(Pose(*east), std::make_pair(int32_t{FIGURE_WALK}, 6));

    // Stopping stands the figure on the unit point.
    west->CancelMovement();
    EXPECT_EQ(Pose(*west), std::make_pair(int32_t{FIGURE_STAND}, kSpriteDirectionNone));
    EXPECT_EQ(At(*west), std::make_pair(18900, 500));
}

TEST_F(UnitFigureTest, CombatsPlaceTheFigureOnItsSideAndChooseItsPose) {
    struct Case {
        const char* name;
        int32_t mode;
        uint8_t side;
        std::pair<int32_t, int32_t> pose;
        int32_t placement;
    };
    const Case cases[] = {
        {"field attacker fires north", 1, 1, {FIGURE_FIRE, 1}, PLACEMENT_ATTACKER},
        {"field defender fires south-west", 1, 0, {FIGURE_FIRE, 5}, PLACEMENT_DEFENDER},
        {"naval defender", 2, 0, {FIGURE_FIRE, 5}, PLACEMENT_DEFENDER},
        {"cover stands", 3, 1, {FIGURE_STAND, kSpriteDirectionNone}, PLACEMENT_ATTACKER},
        {"siege stands", 4, 0, {FIGURE_STAND, kSpriteDirectionNone}, PLACEMENT_DEFENDER},
        {"assault fires north for both", 5, 0, {FIGURE_FIRE, 1}, PLACEMENT_DEFENDER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto army = Make<CLandUnit>(kLand);
        Walk(*army, {kNorth});
        army->CombatStarted(ObjectId(4712, 7000), c.side, c.mode);
        EXPECT_EQ(Pose(*army), c.pose);
        EXPECT_EQ(army->GetMapPlacement(), c.placement);
    }
}

TEST_F(UnitFigureTest, LeavingOneCombatKeepsTheFigureOnItsSideOfTheOther) {
    auto army = Make<CLandUnit>(kLand);
    army->CombatStarted(ObjectId(4712, 7001), 1, 4); // besieging
    army->CombatStarted(ObjectId(4712, 7002), 0, 1); // defending in the field
    army->CombatEnded(ObjectId(4712, 7002));
    EXPECT_EQ(army->GetMapPlacement(), PLACEMENT_ATTACKER);
    EXPECT_EQ(Pose(*army), std::make_pair(int32_t{FIGURE_STAND}, kSpriteDirectionNone));

    // The siege ends while a field battle goes on: the figure fires to its
    // side.
    for (uint8_t side : {uint8_t{0}, uint8_t{1}}) {
        auto unit = Make<CLandUnit>(kLand);
        unit->CombatStarted(ObjectId(4712, 7003), 1, 4);
        unit->CombatStarted(ObjectId(4712, 7004), side, 1);
        unit->CombatEnded(ObjectId(4712, 7003));
        EXPECT_EQ(Pose(*unit), std::make_pair(int32_t{FIGURE_FIRE}, side != 0 ? 9 : 8));
        EXPECT_EQ(unit->GetMapPlacement(), side != 0 ? PLACEMENT_ATTACKER : PLACEMENT_DEFENDER);
        unit->CombatEnded(ObjectId(4712, 7004));
        EXPECT_EQ(Pose(*unit), std::make_pair(int32_t{FIGURE_STAND}, kSpriteDirectionNone));
        EXPECT_EQ(unit->GetMapPlacement(), PLACEMENT_STANDING);
    }
}

TEST_F(UnitFigureTest, CultureFollowsTheOwnerAndTheLevelItsTechnology) {
    auto army = Make<CLandUnit>(kLand);
    EXPECT_EQ(army->GetFigureKey().kind, kFigureKindArmy);
    EXPECT_EQ(army->GetFigureKey().culture, country.GetSpriteCulture());
    auto fleet = Make<CNavalUnit>(kSea);
    EXPECT_EQ(fleet->GetFigureKey().kind, kFigureKindNavy);
    EXPECT_EQ(fleet->GetFigureKey().culture, kFleetFigureCulture);
    EXPECT_EQ(fleet->GetFigureKey().level, kSpriteLevelNone);

    CCountry other{9};
    ASSERT_NE(other.GetSpriteCulture(), country.GetSpriteCulture());
    army->SetCountry(&other);
    EXPECT_EQ(army->GetFigureKey().culture, other.GetSpriteCulture());
    fleet->SetCountry(&other);
    EXPECT_EQ(fleet->GetFigureKey().culture, kFleetFigureCulture);

    CTechRow low;
    low.extraValue = 1.0f;
    CTechRow high;
    high.extraValue = 3.0f;
    CTechTable land{"LTLEVEL"};
    CTechTable naval{"NTLEVEL"};
    land.SetRows({low, high});
    naval.SetRows({high, low});
    other.GetLandTech().table = &land;
    other.GetNavalTech().table = &naval;
    other.GetLandTech().level = 1;
    other.GetNavalTech().level = 1;
    // The country's units in the field and those being raised follow.
    other.m_units.AddTail(army.get());
    other.m_unitsInDevelopment.AddTail(fleet.get());
    UpdateUnitSpriteLevels(other);
    other.m_units.RemoveAll();
    other.m_unitsInDevelopment.RemoveAll();
    EXPECT_EQ(army->GetFigureKey().level, 4);
    EXPECT_EQ(fleet->GetFigureKey().level, 2);
    other.GetLandTech().table = nullptr;
    other.GetNavalTech().table = nullptr;
}

TEST_F(UnitFigureTest, TheComputerPlayerHearsOfMovesStopsAndTheFirstAndLastCombat) {
    auto army = Make<CLandUnit>(kLand);
    auto fleet = Make<CNavalUnit>(kSea);
    const uint32_t a = army->GetId().number;
    const uint32_t f = fleet->GetId().number;
    using Notices = std::vector<std::pair<uint32_t, uint32_t>>;

    // Entering another province: 0 for an army, 1 for a fleet.
    army->previousProvince = kLand;
    army->SetProvince(kNorth);
    fleet->previousProvince = kSea;
    fleet->SetProvince(kSea); // the same province: nothing
    EXPECT_EQ(g_notices, (Notices{{0, a}}));

    // Stopping with a path: 2 and 3; without one nothing.
    g_notices.clear();
    Walk(*army, {kLand});
    army->CancelMovement();
    army->CancelMovement();
    Walk(*fleet, {kNorth});
    fleet->CancelMovement();
    EXPECT_EQ(g_notices, (Notices{{2, a}, {3, f}}));

    // Only the first combat and the last one left: 10/11 and 12/13.
    g_notices.clear();
    army->CombatStarted(ObjectId(4712, 7100), 1, 4);
    army->CombatStarted(ObjectId(4712, 7101), 1, 1);
    army->CombatEnded(ObjectId(4712, 7101));
    army->CombatEnded(ObjectId(4712, 7199)); // none of its combats
    army->CombatEnded(ObjectId(4712, 7100));
    fleet->CombatStarted(ObjectId(4712, 7102), 0, 2);
    fleet->CombatEnded(ObjectId(4712, 7102));
    EXPECT_EQ(g_notices, (Notices{{10, a}, {12, a}, {11, f}, {13, f}}));

    // Boarding a fleet counts as a move of the army.
    g_notices.clear();
    army->BoardFleet(kSea, fleet.get());
    EXPECT_EQ(g_notices, (Notices{{0, a}}));

    // A dying unit stops and leaves its combat without a word.
    g_notices.clear();
    fleet->dying = true;
    Walk(*fleet, {kNorth});
    fleet->CombatStarted(ObjectId(4712, 7103), 0, 2);
    fleet->CombatEnded(ObjectId(4712, 7103));
    EXPECT_TRUE(g_notices.empty());
}

TEST_F(UnitFigureTest, NoMoveNoticeForNewOrDyingUnitsOutsideAGameOrOnAClient) {
    struct Case {
        const char* name;
        bool isNew;
        bool dying;
        bool running;
        bool client;
    };
    const Case cases[] = {
        {"new", true, false, true, false},
        {"dying", false, true, true, false},
        {"no game running", false, false, false, false},
        {"client", false, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_notices.clear();
        auto army = Make<CLandUnit>(kLand);
        army->isNew = c.isNew;
        army->dying = c.dying;
        g_running = c.running;
        if (c.client)
            BecomeClient();
        army->previousProvince = kLand;
        army->SetProvince(kNorth);
        EXPECT_EQ(army->GetLocation(), kNorth);
        EXPECT_TRUE(g_notices.empty());
        g_netSession = nullptr;
    }
}

TEST_F(UnitFigureTest, AFinishedUnitIsOfferedAndTakesTheField) {
    auto army = Make<CLandUnit>(kLand);
    army->isNew = true;
    COVDataEvent finish(EVT_UNIT_FINISH, army->GetId());
    army->HandleMessage(finish);
    EXPECT_EQ(g_notices, (std::vector<std::pair<uint32_t, uint32_t>>{{0, army->GetId().number}}));
}

} // namespace
