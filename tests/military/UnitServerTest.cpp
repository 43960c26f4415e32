// The host's unit server on a small map: move orders, their steps and
// arrivals, stops and replaced paths, blocked steps, galleys at sea, armies
// boarding fleets, the monthly pass and the checks of what arrives.
//
//   land 101 - 102 - 103 - 104 ~ sea 1301 - 1302 - 1303
//          \     \                  (1301 lies off the coast)
//           106   105
#include "military/server/UnitServer.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "country/Country.h"
#include "engine/GameTimer.h"
#include "engine/ObjectId.h"
#include "engine/Random.h"
#include "military/server/HostDispatcher.h"
#include "military/units/LandUnit.h"
#include "military/units/NavalUnit.h"
#include "military/units/UnitList.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Scheduler.h"
#include "net/Session.h"
#include "world/PathSearch.h"
#include "world/Province.h"

namespace {

constexpr uint32_t kOwner = 1;
constexpr uint32_t kOther = 2;
constexpr uint16_t kUnitIdType = kFirstPlayerIdType;
const CDate kToday{1, 0, 1600};

// What the hooks answer, set per test.
struct Stage {
    std::set<int32_t> refused; // provinces units may not enter
    std::set<int32_t> fortresses;
    std::set<const CUnit*> retreatNowhere;
    std::function<CLandUnit*(CLandUnit&, float, float, float)> split;
    float attrition = 0.0f;
    bool regain = false;
    int32_t combat = 0;
    std::vector<float> galleysLost;
    int splits = 0;
};
Stage g_stage;

struct SentMessage {
    uint32_t type;
    ObjectId receiver;
    std::vector<uint8_t> bytes;
};

class UnitServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_stage = Stage{};
        m_pathHooks = g_pathSearchHooks;
        m_stateHooks = g_unitStateHooks;
        m_serverHooks = g_unitServerHooks;
        g_pathSearchHooks.unitCanEnter = [](const CUnit&, const CProvince& p) {
            return g_stage.refused.count(p.GetNumber()) == 0;
        };
        // The days here are those of a unit of speed 1.
        g_pathSearchHooks.unitSpeed = [](const CUnit&) { return 1.0f; };
        g_pathSearchHooks.unitPathCostFactor = [](const CUnit&) { return 1.0f; };
        g_pathSearchHooks.provinceHasFortress = [](const CProvince& p) {
            return g_stage.fortresses.count(p.GetNumber()) != 0;
        };
        g_unitStateHooks.monthlyAttrition = [](const CUnit&) { return g_stage.attrition; };
        g_unitStateHooks.regainMorale = [](CUnit& unit) {
            if (!g_stage.regain)
                return false;
            unit.morale += 0.5f;
            return true;
        };
        g_unitStateHooks.combatType = [](const CUnit&) { return g_stage.combat; };
        g_unitStateHooks.findRetreatProvince = [](const CUnit&) { return 0; };
        g_unitServerHooks.sendSizeLosses = [](CUnit&, float, float galleys, float, uint32_t) {
            g_stage.galleysLost.push_back(galleys);
        };
        g_unitServerHooks.splitArmy = [](CLandUnit& army, float i, float c, float a) {
            ++g_stage.splits;
            return g_stage.split ? g_stage.split(army, i, c, a) : nullptr;
        };

        InitIdRegistries(g_nullId);
        g_gameTimer = std::make_unique<CGameTimer>(15);
        g_gameTimer->currentDate = kToday;
        g_scheduler.Clear();
        AddCountry(std::make_unique<CCountry>(kOwner));
        AddCountry(std::make_unique<CCountry>(kOther));
        m_owner = CountryOfNumber(kOwner);
        g_terrainCosts = {};
        g_terrainCosts[0] = 0.1; // three days a land step
        g_terrainCosts[5] = 0.1;

        for (int32_t id : {101, 102, 103, 104, 105, 106})
            Make(id, 0);
        for (int32_t id : {1301, 1302, 1303})
            Make(id, 5);
        Link(101, 102);
        Link(102, 103);
        Link(103, 104);
        Link(102, 105);
        Link(101, 106);
        Link(104, 1301);
        Link(1301, 1302);
        Link(1302, 1303);
        // An army's route may end in a sea zone flagged coastal.
        GetProvince(1301)->coastal = 1;

        g_hostDispatcher = new CHostDispatcher;
        g_unitServer = new UnitServer;
    }

    void TearDown() override {
        delete g_unitServer;
        g_unitServer = nullptr;
        delete g_hostDispatcher;
        g_hostDispatcher = nullptr;
        g_scheduler.Clear();
        DeleteAllCountries();
        g_scheduler.Clear();
        for (int32_t id : m_used) {
            CProvince& p = *GetProvince(id);
            p.ClearNeighbours();
            p.terrain = p.area = p.region = p.continent = 0;
            p.coastal = p.coastalSeaZone = 0;
            p.discoveredBy = {};
        }
        g_terrainCosts = {};
        g_gameTimer.reset();
        FreeIdRegistries();
        g_netSession = nullptr;
        g_pathSearchHooks = m_pathHooks;
        g_unitStateHooks = m_stateHooks;
        g_unitServerHooks = m_serverHooks;
    }

    void Make(int32_t id, int32_t terrain) {
        m_used.push_back(id);
        CProvince& p = *GetProvince(id);
        p.ClearNeighbours();
        p.coastal = p.coastalSeaZone = 0;
        p.terrain = terrain;
        p.area = terrain >= kFirstSeaProvinceType ? kSeaArea : 1;
        p.region = 1;
        p.discoveredBy[kOwner] = 1;
        // No natives to meet the armies that pass.
        p.natives = 0;
    }
    static void Link(int32_t a, int32_t b) {
        GetProvince(a)->AddNeighbour({b, 0, 0});
        GetProvince(b)->AddNeighbour({a, 0, 0});
    }

    template <class T>
    T& Add(int32_t province, float a, float b, float c, CCountry* owner = nullptr) {
        owner = owner ? owner : m_owner;
        auto* unit = new T(owner);
        unit->SetId(ObjectId(kUnitIdType, ++m_lastNumber));
        unit->SetLocation(province);
        unit->SetStrength(0, a);
        unit->SetStrength(1, b);
        unit->SetStrength(2, c);
        unit->morale = 1.0f;
        owner->AddUnit(unit);
        return *unit;
    }
    CLandUnit& Army(int32_t province, float infantry = 1000.0f) {
        return Add<CLandUnit>(province, 0.0f, 0.0f, infantry);
    }

    // The move order as a player's interface sends it.
    static void Order(const CUnit& unit, int32_t destination, uint8_t replace) {
        auto order = std::make_unique<COVDataEvent>(EVT_UNITMOVE_ADD_DEST, g_unitServerId);
        order->Payload().Set(MoveDestinationPayload::kUnit, unit.GetId());
        order->Payload().Set(MoveDestinationPayload::kDestination,
                             static_cast<uint16_t>(destination));
        order->Payload().Set(MoveDestinationPayload::kReplace, replace);
        ExecuteRequest(std::move(order));
    }

    // One day passes and its due messages run.
    static void Day() {
        g_gameTimer->currentDate.AddDays(1);
        g_scheduler.RunDue();
    }

    // The copies waiting to be sent, taken out of the queue.
    static std::vector<SentMessage> Sent() {
        std::vector<SentMessage> sent;
        g_scheduler.ForEachSend([&sent](const COVEvent& event) {
            const COVEventData& payload = event.Payload();
            std::vector<uint8_t> bytes(payload.Bytes(), payload.Bytes() + payload.Size());
            sent.push_back({event.GetType(), event.GetReceiver(), bytes});
        });
        g_scheduler.FlushSend();
        return sent;
    }
    static std::vector<uint32_t> Types(const std::vector<SentMessage>& sent) {
        std::vector<uint32_t> types;
        for (const SentMessage& m : sent)
            types.push_back(m.type);
        return types;
    }
    static std::vector<int32_t> Path(const CUnit& unit) {
        std::vector<int32_t> path;
        CIntList::CListPosition position = nullptr;
        for (unit.GetPath().GetHeadPosition(position); position; CIntList::MoveNext(position))
            if (!position->removed)
                path.push_back(position->item);
        return path;
    }
    // The type-57 steps waiting in the scheduler that still reach the
    // server.
    static int LiveSteps() {
        int steps = 0;
        g_scheduler.ForEachEvent([&steps](COVEvent* event) {
            steps += event->GetType() == EVT_UNNAMED_57 && event->GetReceiver() == g_unitServerId;
        });
        return steps;
    }
    static CDate DaysFromToday(int days) {
        CDate date = kToday;
        date.AddDays(days);
        return date;
    }

    CCountry* m_owner = nullptr;
    uint32_t m_lastNumber = 0;
    std::vector<int32_t> m_used;
    PathSearchHooks m_pathHooks;
    UnitStateHooks m_stateHooks;
    UnitServerHooks m_serverHooks;
};

TEST_F(UnitServerTest, AMoveOrderSendsThePathAndStepsTheUnitInOnTheDueDays) {
    CLandUnit& army = Army(101);
    CUnitList selection;
    selection.AddTail(&army);
    selection.MoveTo(104);

    const std::vector<SentMessage> sent = Sent();
    ASSERT_EQ(Types(sent), (std::vector<uint32_t>{EVT_UNITMOVE_ADD_DEST, EVT_UNITMOVEPATH}));
    // The path message: the unit, flag byte 1 at +28 and 0 at +29, the count
    // and the provinces.
    const std::vector<uint8_t>& path = sent[1].bytes;
    EXPECT_EQ(sent[1].receiver, army.GetId());
    ASSERT_EQ(path.size(), COVUnitMovePathEvent::SizeFor(3));
    EXPECT_EQ(path[28], 1);
    EXPECT_EQ(path[29], 0);
    EXPECT_EQ(path[30] | path[31] << 8, 3);
    EXPECT_EQ(path[32] | path[33] << 8, 102);
    EXPECT_EQ(path[36] | path[37] << 8, 104);
    EXPECT_EQ(Path(army), (std::vector<int32_t>{102, 103, 104}));
    EXPECT_EQ(LiveSteps(), 1);
    EXPECT_EQ(army.nextStepDate, DaysFromToday(3));

    // Three days a step: the unit enters each province on its due day, and
    // each step sends the move to every machine.
    const std::vector<std::pair<int, int32_t>> arrivals = {{3, 102}, {6, 103}, {9, 104}};
    int day = 0;
    for (const auto& [due, province] : arrivals) {
        while (day < due - 1) {
            Day();
            ++day;
        }
        EXPECT_TRUE(Types(Sent()).empty()) << "day " << day;
        Day();
        ++day;
        const std::vector<SentMessage> step = Sent();
        ASSERT_EQ(Types(step), std::vector<uint32_t>{EVT_UNITMOVE}) << "day " << day;
        EXPECT_EQ(step[0].bytes[20] | step[0].bytes[21] << 8, province);
        EXPECT_EQ(army.GetLocation(), province) << "day " << day;
        EXPECT_EQ(LiveSteps(), province == 104 ? 0 : 1);
    }
    EXPECT_TRUE(army.IsPathEmpty());
    EXPECT_EQ(army.pendingStep, nullptr);
}

TEST_F(UnitServerTest, AStepOfNoDaysTakesOneDay) {
    g_terrainCosts[0] = 0.0002; // less than a day
    CLandUnit& army = Army(101);
    Order(army, 102, 1);
    EXPECT_EQ(army.nextStepDate, DaysFromToday(1));
    Day();
    EXPECT_EQ(army.GetLocation(), 102);
}

// A unit moving from 101 towards 104 (next step 102) is given a new order.
TEST_F(UnitServerTest, NewOrdersStopExtendOrReplaceThePathAndKeepTheStepWhenTheyCan) {
    struct Case {
        int32_t destination;
        uint8_t replace;
        std::vector<int32_t> path;
        bool keepsStep;
        std::vector<uint32_t> sent;
    };
    const Case cases[] = {
        // The province it stands in: it stops.
        {101, 1, {}, false, {EVT_UNITMOVECANCEL}},
        // The same next province: the pending step stays valid.
        {105, 1, {102, 105}, true, {EVT_UNITMOVEPATH}},
        // Another first province: the old step is neutralised, a new one
        // posted.
        {106, 1, {106}, false, {EVT_UNITMOVEPATH}},
        // Added to the end: the path grows from 104 and the step stays.
        {105, 0, {102, 103, 104, 103, 102, 105}, true, {EVT_UNITMOVEPATH}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.destination << " replace " << int(c.replace));
        CLandUnit& army = Army(101);
        Order(army, 104, 1);
        Sent();
        COVEvent* step = army.pendingStep;
        const CDate arrival = army.nextStepDate;
        ASSERT_NE(step, nullptr);

        Order(army, c.destination, c.replace);
        EXPECT_EQ(Types(Sent()), c.sent);
        EXPECT_EQ(Path(army), c.path);
        if (c.keepsStep) {
            EXPECT_EQ(army.pendingStep, step);
            EXPECT_EQ(army.nextStepDate, arrival);
            EXPECT_EQ(step->GetReceiver(), g_unitServerId);
        } else {
            // The old step reaches nobody any more.
            EXPECT_EQ(step->GetReceiver(), g_nullId);
            EXPECT_EQ(army.pendingStep != nullptr, !c.path.empty());
        }
        EXPECT_EQ(LiveSteps(), c.path.empty() ? 0 : 1);
        army.CancelMovement();
        g_scheduler.Clear();
    }
}

TEST_F(UnitServerTest, ABlockedStepDiscoversTheProvinceAndCancelsTheMove) {
    // 103 belongs to another country, the owner has not seen it, and units
    // may not enter it once there.
    GetProvince(103)->discoveredBy[kOwner] = 0;
    GetProvince(103)->SetOwner(CountryOfNumber(kOther));
    CLandUnit& army = Army(101);
    Order(army, 104, 1);
    g_stage.refused = {103};
    Sent();
    for (int day = 0; day < 6; ++day)
        Day();
    const std::vector<SentMessage> sent = Sent();
    // The discovery is posted for the same pass, after the cancel.
    ASSERT_EQ(Types(sent),
              (std::vector<uint32_t>{EVT_UNITMOVE, EVT_UNITMOVECANCEL, EVT_DISCOVERPROVINCE}));
    EXPECT_EQ(sent[2].receiver, m_owner->GetId());
    EXPECT_EQ(army.GetLocation(), 102);
    EXPECT_TRUE(army.IsPathEmpty());
    EXPECT_EQ(LiveSteps(), 0);
    EXPECT_EQ(GetProvince(103)->discoveredBy[kOwner], 1);
}

TEST_F(UnitServerTest, GalleysRollOnceEachAtOpenSeaOnly) {
    struct Case {
        const char* what;
        int32_t region;
        bool coastal;
        bool fortress;
        bool rolls;
    };
    const Case cases[] = {
        {"open sea", 1, false, false, true},
        {"the western Mediterranean", 43, false, false, false},
        {"the Scandinavian sea", 40, false, false, false},
        {"a coastal sea zone", 1, true, false, false},
        {"a fortress", 1, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_stage.galleysLost.clear();
        CProvince& sea = *GetProvince(1302);
        sea.region = c.region;
        sea.coastalSeaZone = c.coastal;
        g_stage.fortresses = c.fortress ? std::set<int32_t>{1302} : std::set<int32_t>{};
        CNavalUnit& fleet = Add<CNavalUnit>(1301, 0.0f, 3.0f, 0.0f);
        Order(fleet, 1302, 1);
        // Three rolls of 20 % from a known seed.
        GameSrand(77);
        int expected = 0;
        for (int i = 0; i < 3; ++i)
            expected += GameRand() % 100 < 20;
        const uint32_t afterThree = GameRandState();
        GameSrand(77);
        for (int day = 0; day < 3; ++day)
            Day();
        EXPECT_EQ(fleet.GetLocation(), 1302);
        if (c.rolls) {
            EXPECT_EQ(GameRandState(), afterThree);
            EXPECT_EQ(g_stage.galleysLost,
                      expected ? std::vector<float>{float(expected)} : std::vector<float>{});
        } else {
            EXPECT_TRUE(g_stage.galleysLost.empty());
        }
        Sent();
    }
}

TEST_F(UnitServerTest, AnArmyLargerThanTheBestFleetIsSplitAcrossTheFleets) {
    // Fleets of 2 and 1 transports (4 and 2 places) at 1301; 6000 men need 6.
    CNavalUnit& large = Add<CNavalUnit>(1301, 0.0f, 0.0f, 2.0f);
    CNavalUnit& small = Add<CNavalUnit>(1301, 0.0f, 0.0f, 1.0f);
    CLandUnit& army = Army(104, 6000.0f);
    g_stage.split = [this](CLandUnit& from, float infantry, float cavalry, float artillery) {
        CLandUnit& rest =
            Add<CLandUnit>(from.GetLocation(), from.GetStrength(0) - artillery,
                           from.GetStrength(1) - cavalry, from.GetStrength(2) - infantry);
        from.SetStrength(0, artillery);
        from.SetStrength(1, cavalry);
        from.SetStrength(2, infantry);
        return &rest;
    };
    Order(army, 1301, 1);
    for (int day = 0; day < 3; ++day)
        Day();
    EXPECT_EQ(g_stage.splits, 1);
    EXPECT_EQ(army.GetCarrier(), &large);
    EXPECT_FLOAT_EQ(army.GetStrength(2), 4000.0f);
    ASSERT_EQ(small.GetCargo().GetCount(), 1u);
    EXPECT_EQ(FleetCargoLoad(small), 2);
    EXPECT_EQ(FleetFreeSpace(large), 0);
}

TEST_F(UnitServerTest, BoardingStopsAfterTenAttempts) {
    // Eleven fleets of 2 places each and 22000 men: ten attempts board ten
    // parts; the last part stays ashore.
    std::vector<CNavalUnit*> fleets;
    for (int i = 0; i < 11; ++i)
        fleets.push_back(&Add<CNavalUnit>(1301, 0.0f, 0.0f, 1.0f));
    CLandUnit& army = Army(104, 22000.0f);
    g_stage.split = [this](CLandUnit& from, float infantry, float, float) {
        CLandUnit& rest = Army(from.GetLocation(), from.GetStrength(2) - infantry);
        from.SetStrength(2, infantry);
        return &rest;
    };
    Order(army, 1301, 1);
    for (int day = 0; day < 3; ++day)
        Day();
    EXPECT_EQ(g_stage.splits, 10);
    int loaded = 0;
    for (CNavalUnit* fleet : fleets)
        loaded += fleet->GetCargo().GetCount() == 1;
    EXPECT_EQ(loaded, 10);
}

TEST_F(UnitServerTest, AnArmyWithoutRoomAtSeaGetsNoPath) {
    Add<CNavalUnit>(1301, 0.0f, 0.0f, 1.0f); // 2 places
    CLandUnit& army = Army(104, 3000.0f);
    Order(army, 1301, 1);
    EXPECT_EQ(Types(Sent()), std::vector<uint32_t>{});
    EXPECT_TRUE(army.IsPathEmpty());
    EXPECT_EQ(LiveSteps(), 0);
}

TEST_F(UnitServerTest, TheMonthDeletesStrandedRetreatsEverywhereAndReportsAttritionAndMorale) {
    CLandUnit& stranded = Army(102);
    stranded.SetRetreating(0);
    const ObjectId strandedId = stranded.GetId();
    CLandUnit& steady = Army(103);
    g_stage.attrition = 25.0f;
    g_stage.regain = true;

    g_unitServer->HandleEvent(
        *std::make_unique<COVTimerEvent>(EVT_TIMER_MONTH, g_broadcastId, kToday));
    g_scheduler.RunDue();
    const std::vector<SentMessage> sent = Sent();
    // The deletion goes to every machine, then the survivor's losses and
    // morale.
    EXPECT_EQ(Types(sent),
              (std::vector<uint32_t>{EVT_UNITDELETE, EVT_UNITLOSSES, EVT_SET_RETREAT_MORALE}));
    EXPECT_EQ(sent[0].receiver, m_owner->GetId());
    EXPECT_EQ(FindUnitById(strandedId), nullptr);
    EXPECT_FALSE(m_owner->m_units.Contains(&stranded));
    EXPECT_EQ(sent[2].receiver, steady.GetId());
    EXPECT_FLOAT_EQ(steady.morale, 1.5f);

    // A unit in a battle regains no morale; one under siege does.
    struct Case {
        int32_t combat;
        bool regains;
    };
    for (const Case& c : {Case{1, false}, Case{2, false}, Case{3, true}, Case{4, true}}) {
        g_stage.combat = c.combat;
        g_stage.attrition = 0.0f;
        g_unitServer->OnMonth();
        EXPECT_EQ(Types(Sent()).size(), c.regains ? 1u : 0u) << c.combat;
    }
}

TEST_F(UnitServerTest, CancellingARetreatWithNowhereToGoDeletesTheUnitOnEveryMachine) {
    CLandUnit& army = Army(102);
    Order(army, 104, 1);
    army.SetRetreating(104);
    Sent();
    g_unitServer->CancelMove(army);
    g_scheduler.RunDue();
    const std::vector<SentMessage> sent = Sent();
    EXPECT_EQ(Types(sent), std::vector<uint32_t>{EVT_UNITDELETE});
    EXPECT_FALSE(m_owner->m_units.Contains(&army));
}

TEST_F(UnitServerTest, GoingToAFriendlyProvinceMovesTheUnitOnEveryMachine) {
    m_owner->m_capital = 101;
    CLandUnit& army = Army(103);
    auto order = [&army] {
        auto event = std::make_unique<COVDataEvent>(EVT_GOTO_FRIENDLY_PROVINCE, g_unitServerId);
        event->Payload().Set(GotoFriendlyPayload::kUnit, army.GetId());
        ExecuteRequest(std::move(event));
    };
    // Where it may stay, nothing happens.
    order();
    EXPECT_EQ(Types(Sent()), std::vector<uint32_t>{});
    EXPECT_EQ(army.GetLocation(), 103);
    g_stage.refused = {103};
    order();
    EXPECT_EQ(Types(Sent()), std::vector<uint32_t>{EVT_SET_IN_PROVINCE});
    EXPECT_EQ(army.GetLocation(), 101);
}

TEST_F(UnitServerTest, BadIdsAndForgedStepsAreDropped) {
    CLandUnit& army = Army(101);
    for (int32_t destination : {0, 1473, 65535}) {
        Order(army, destination, 1);
        EXPECT_EQ(Types(Sent()), std::vector<uint32_t>{}) << destination;
        EXPECT_TRUE(army.IsPathEmpty());
    }
    // No unit of that id.
    auto unknown = std::make_unique<COVDataEvent>(EVT_UNITMOVE_ADD_DEST, g_unitServerId);
    unknown->Payload().Set(MoveDestinationPayload::kUnit, ObjectId(kUnitIdType, 999));
    unknown->Payload().Set(MoveDestinationPayload::kDestination, uint16_t{102});
    ExecuteRequest(std::move(unknown));
    EXPECT_EQ(LiveSteps(), 0);

    // A step nobody scheduled moves nobody, even for a moving unit.
    Order(army, 104, 1);
    ExecuteRequest(MakeMoveStepEvent(army.GetId(), 103));
    EXPECT_EQ(army.GetLocation(), 101);
    EXPECT_NE(army.pendingStep, nullptr);

    // A path message whose count runs past its payload, and one that names
    // a province outside the map, change no path.
    const std::vector<int32_t> before = Path(army);
    auto longCount =
        std::make_unique<COVUnitMovePathEvent>(army.GetId(), 1, std::vector<uint16_t>{105});
    longCount->Payload().Set(COVUnitMovePathEvent::kCount, uint16_t{40});
    ExecuteEvent(std::move(longCount));
    EXPECT_EQ(Path(army), before);
    ExecuteEvent(
        std::make_unique<COVUnitMovePathEvent>(army.GetId(), 1, std::vector<uint16_t>{102, 1473}));
    EXPECT_EQ(Path(army), before);
}

} // namespace
