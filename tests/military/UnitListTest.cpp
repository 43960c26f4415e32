// Questions over lists of units and their move orders.
#include "military/units/UnitList.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "country/Country.h"
#include "engine/GameTimer.h"
#include "military/units/LandUnit.h"
#include "military/units/NavalUnit.h"
#include "net/EventTypes.h"
#include "net/Scheduler.h"
#include "world/Province.h"

namespace {

class UnitListTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_hooks = g_unitStateHooks;
        InitIdRegistries(g_nullId);
        g_scheduler.Clear();
        AddCountry(std::make_unique<CCountry>(1));
        AddCountry(std::make_unique<CCountry>(2));
    }
    void TearDown() override {
        g_unitStateHooks = m_hooks;
        g_scheduler.Clear();
        DeleteAllCountries();
        FreeIdRegistries();
    }
    template <class T> T& Add(int32_t province, float a, float b, float c, uint32_t country = 1) {
        CCountry* owner = CountryOfNumber(country);
        auto* unit = new T(owner);
        unit->SetId(ObjectId(kFirstPlayerIdType, ++m_number));
        unit->SetLocation(province);
        unit->SetStrength(0, a);
        unit->SetStrength(1, b);
        unit->SetStrength(2, c);
        owner->AddUnit(unit);
        return *unit;
    }
    // An army of infantry, cavalry and artillery.
    CLandUnit& Army(int32_t province, float infantry, float cavalry = 0.0f, float artillery = 0.0f,
                    uint32_t country = 1) {
        return Add<CLandUnit>(province, artillery, cavalry, infantry, country);
    }
    CNavalUnit& Fleet(int32_t province, float transports, uint32_t country = 1) {
        return Add<CNavalUnit>(province, 0.0f, 0.0f, transports, country);
    }

    UnitStateHooks m_hooks;
    uint32_t m_number = 0;
};

TEST_F(UnitListTest, TransportNeedRoundsEachStrengthUpBeforeCountingPlaces) {
    struct Case {
        float infantry, cavalry, artillery;
        int32_t need;
    };
    const Case cases[] = {
        {0, 0, 0, 0},    {1, 0, 0, 1},  {1000, 0, 0, 1},  {1000.2f, 0, 0, 2},  {999.5f, 0, 0, 1},
        {0, 1500, 0, 2}, {0, 0, 10, 1}, {0, 0, 10.5f, 2}, {2500, 1000, 25, 7},
    };
    for (const Case& c : cases) {
        CLandUnit& army = Army(5, c.infantry, c.cavalry, c.artillery);
        EXPECT_EQ(ArmyTransportNeed(army), c.need)
            << c.infantry << " " << c.cavalry << " " << c.artillery;
    }
    // A fleet offers 2 per transport and 1 per galley or warship, less its
    // cargo.
    CNavalUnit& fleet = Add<CNavalUnit>(5, 1.0f, 2.0f, 3.5f);
    EXPECT_EQ(FleetTransportSpace(fleet), 11);
    CLandUnit& aboard = Army(5, 3000.0f);
    fleet.LoadArmy(&aboard);
    EXPECT_EQ(FleetCargoLoad(fleet), 3);
    EXPECT_EQ(FleetFreeSpace(fleet), 8);
    fleet.UnloadArmy(&aboard);
}

TEST_F(UnitListTest, ACommonProvinceNeedsOneRealProvinceForAll) {
    struct Case {
        std::vector<int32_t> provinces;
        int32_t common; // 0: none
        bool oneProvince;
    };
    const Case cases[] = {
        {{}, 0, false},
        {{0, 0}, 0, true}, // aboard is no province
        {{12, 12}, 12, true},
        {{12, 13}, 0, false},
    };
    for (const Case& c : cases) {
        CUnitList list;
        for (int32_t province : c.provinces)
            list.AddTail(&Army(province, 1000.0f));
        const CProvince* common = list.GetCommonProvince();
        EXPECT_EQ(common ? common->GetNumber() : 0, c.common) << c.provinces.size();
        EXPECT_EQ(list.AllInOneProvince(), c.oneProvince);
    }
}

TEST_F(UnitListTest, AverageMoraleIsWeightedBySizeAndZeroForEmptyUnits) {
    CUnitList list;
    CLandUnit& empty = Army(5, 0.0f);
    empty.morale = 3.0f;
    list.AddTail(&empty);
    EXPECT_EQ(list.GetAverageMorale(), 0.0f);
    CLandUnit& small = Army(5, 1000.0f);
    small.morale = 1.0f;
    CLandUnit& large = Army(5, 3000.0f);
    large.morale = 2.0f;
    list.AddTail(&small);
    list.AddTail(&large);
    EXPECT_FLOAT_EQ(list.GetAverageMorale(), 1.75f);
}

TEST_F(UnitListTest, RoomForArmiesCountsOwnFleetsOutOfCombatAndOverloadAgainstIt) {
    static const CUnit* inCombat = nullptr;
    g_unitStateHooks.combatType = [](const CUnit& unit) { return &unit == inCombat ? 2 : 0; };
    CLandUnit& army = Army(5, 4000.0f); // needs 4
    CUnitList sea;
    CNavalUnit& own = Fleet(7, 1.0f); // 2 places
    CNavalUnit& other = Fleet(7, 5.0f, 2);
    sea.AddTail(&own);
    sea.AddTail(&other);
    EXPECT_FALSE(sea.HasRoomFor(army));
    CNavalUnit& second = Fleet(7, 1.0f);
    sea.AddTail(&second);
    EXPECT_TRUE(sea.HasRoomFor(army));
    // An overloaded fleet takes room from the others.
    CLandUnit& cargo = Army(0, 3000.0f);
    own.LoadArmy(&cargo);
    EXPECT_FALSE(sea.HasRoomFor(army));
    own.UnloadArmy(&cargo);
    inCombat = &second;
    EXPECT_FALSE(sea.HasRoomFor(army));

    // Carrying a group, owner by owner: an empty group is always carried; a
    // fleet in combat gives no room.
    CUnitList armies;
    EXPECT_TRUE(sea.CanCarryArmies(armies));
    armies.AddTail(&Army(5, 2000.0f));
    EXPECT_TRUE(sea.CanCarryArmies(armies));
    armies.AddTail(&Army(5, 1000.0f));
    EXPECT_FALSE(sea.CanCarryArmies(armies));
    inCombat = nullptr;
    EXPECT_TRUE(sea.CanCarryArmies(armies));
    armies.AddTail(&Army(5, 11000.0f, 0.0f, 0.0f, 2));
    EXPECT_FALSE(sea.CanCarryArmies(armies));
}

TEST_F(UnitListTest, TheStrongestCountryIsTheFirstToReachTheTopSum) {
    CUnitList list;
    list.AddTail(&Army(5, 1000.0f, 0.0f, 0.0f, 2));
    list.AddTail(&Army(5, 500.0f, 0.0f, 0.0f, 1));
    list.AddTail(&Army(5, 500.0f, 0.0f, 0.0f, 1));
    EXPECT_EQ(list.GetStrongestCountry(), CountryOfNumber(2));
    list.AddTail(&Army(5, 1.0f, 0.0f, 0.0f, 1));
    EXPECT_EQ(list.GetStrongestCountry(), CountryOfNumber(1));
    EXPECT_EQ(CUnitList().GetStrongestCountry(), nullptr);
}

TEST_F(UnitListTest, MoveOrdersGoToTheUnitServerForEveryUnitButARetreatingOne) {
    CUnitList list;
    CLandUnit& a = Army(5, 1000.0f);
    CLandUnit& retreating = Army(5, 1000.0f);
    retreating.SetRetreating(6);
    CLandUnit& b = Army(5, 1000.0f);
    list.AddTail(&a);
    list.AddTail(&retreating);
    list.AddTail(&b);
    list.SendMoveAddDest(300, 0);
    std::vector<ObjectId> units;
    g_scheduler.ForEachSend([&units](const COVEvent& event) {
        ASSERT_EQ(event.GetType(), EVT_UNITMOVE_ADD_DEST);
        EXPECT_EQ(event.GetReceiver(), g_unitServerId);
        EXPECT_EQ(event.Payload().Size(), 32u);
        EXPECT_EQ(event.Payload().Get(MoveDestinationPayload::kDestination), 300);
        EXPECT_EQ(event.Payload().Get(MoveDestinationPayload::kReplace), 0);
        units.push_back(event.Payload().Get(MoveDestinationPayload::kUnit));
    });
    EXPECT_EQ(units, (std::vector<ObjectId>{a.GetId(), b.GetId()}));
}

} // namespace
