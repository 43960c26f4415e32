// The explorer's plans at work: a fleet sent to an unknown sea zone, an army
// waiting to walk an unknown province, natives out of reach, and the
// leaders whose arrival sends someone out exploring.
#include <gtest/gtest.h>

#include "ai/diplomacy/ExplorationPlans.h"
#include "ai/diplomacy/Explorer.h"
#include "ai/king/ResourceBroker.h"
#include "country/CountryAI.h"
#include "military/units/Leader.h"
#include "net/EventTypes.h"
#include "tests/ai/MilitaryFixture.h"

namespace {

// Beyond the fixture's theatre: 106 an unknown sea zone off 104 with the
// unknown coast 108 behind it; 107 unknown land beside 100; 109 a known,
// unowned coast with natives on another continent than the capital 100.
constexpr int32_t kUnknownSea = 106;
constexpr int32_t kUnknownLand = 107;
constexpr int32_t kUnknownCoast = 108;
constexpr int32_t kNatives = 109;

class ExplorationPlansTest : public MilitaryFixture {
protected:
    // The explorer walks the whole map: nothing another test left there may
    // count.
    void SetUp() override {
        for (CProvince& province : g_provinces) {
            province.ResetForGame();
            province.ClearNeighbours();
            province.area = 0;
            province.terrain = 0;
            province.discoveredBy = {};
            province.natives = province.maxNatives = 0;
            province.continent = province.region = 0;
        }
        MilitaryFixture::SetUp();
        CProvince& sea = Unknown(kUnknownSea);
        sea.terrain = 5;
        sea.area = kSeaArea;
        sea.coastalSeaZone = 1;
        sea.territory = P(104).territory;
        Link(104, kUnknownSea);
        Unknown(kUnknownCoast).coastal = 1;
        Link(kUnknownSea, kUnknownCoast);
        Unknown(kUnknownLand).continent = 1;
        Link(100, kUnknownLand);
        P(100).continent = 1;
        us->m_capital = 100;
        CProvince& natives = Land(kNatives);
        natives.coastal = 1;
        natives.natives = 6;
        natives.maxNatives = 10;
        natives.continent = 2;
    }

    void TearDown() override {
        P(kNatives).natives = P(kNatives).maxNatives = 0;
        for (int32_t id : {100, kUnknownSea, kUnknownCoast, kUnknownLand, kNatives})
            P(id).continent = 0;
        MilitaryFixture::TearDown();
    }

    CProvince& Unknown(int32_t id) {
        CProvince& p = Land(id);
        p.discoveredBy = {};
        p.discovered = 0;
        return p;
    }

    CAIExplorer& Explorer() {
        CAIExplorer* found = nullptr;
        Children(us->GetKing()).ForEach([&found](CAIAgent* child) {
            if (auto* explorer = dynamic_cast<CAIExplorer*>(child))
                found = explorer;
        });
        EXPECT_NE(found, nullptr);
        return *found;
    }

    template <class Plan> static Plan* FirstPlan(const CAIExplorer& explorer) {
        Plan* found = nullptr;
        Children(&explorer).ForEach([&found](CAIAgent* child) {
            if (auto* plan = dynamic_cast<Plan*>(child); plan && !found)
                found = plan;
        });
        return found;
    }
};

TEST_F(ExplorationPlansTest, ASeaPlanSendsAFleetThatSucceedsAtItsGoal) {
    CNavalUnit& fleet = Fleet(104, 2, 0, 0, *us);
    fleet.GetDefaultLeader().category = LEADER_EXPLORER;
    us->GetKing()->Start();
    CAIExplorer& explorer = Explorer();
    EXPECT_EQ(explorer.GetSeaCandidates(), std::vector<int32_t>{kUnknownSea});

    explorer.PlanExploreSeazone();
    auto* plan = FirstPlan<CAIPlanExploreSeazone>(explorer);
    ASSERT_NE(plan, nullptr);
    EXPECT_EQ(plan->GetGoal(), static_cast<uint32_t>(kUnknownSea));
    EXPECT_FLOAT_EQ(plan->GetPriority(), 25.0f);
    EXPECT_EQ(plan->GetParent(), &explorer);
    // No second plan toward a zone one already aims at.
    explorer.PlanExploreSeazone();
    EXPECT_EQ(explorer.CountPlans(AIPLAN_EXPLORE_SEAZONE), 1);

    // The King hands over the fleet the next day; it sails.
    RunDays(1);
    EXPECT_EQ(fleet.GetAIAgent(), plan);
    EXPECT_FALSE(fleet.IsPathEmpty());
    // A sea step takes its time here.
    for (int32_t day = 0; day < 200 && fleet.GetLocation() != kUnknownSea; ++day)
        RunDays(1);
    // There: the plan has succeeded and the King has the fleet back.
    EXPECT_EQ(fleet.GetLocation(), kUnknownSea);
    EXPECT_EQ(explorer.CountPlans(AIPLAN_EXPLORE_SEAZONE), 0);
    EXPECT_EQ(fleet.GetAIAgent(), us->GetKing());
}

// A plan left without its unit gives up, so that the explorer can make
// another.
TEST_F(ExplorationPlansTest, ASeaPlanWhoseFleetIsLostEnds) {
    CNavalUnit& fleet = Fleet(104, 2, 0, 0, *us);
    fleet.GetDefaultLeader().category = LEADER_EXPLORER;
    us->GetKing()->Start();
    CAIExplorer& explorer = Explorer();
    explorer.PlanExploreSeazone();
    RunDays(1);
    ASSERT_EQ(fleet.GetAIAgent(), FirstPlan<CAIPlanExploreSeazone>(explorer));
    us->DeleteUnit(fleet.GetId());
    RunDays(1);
    EXPECT_EQ(explorer.CountPlans(AIPLAN_EXPLORE_SEAZONE), 0);
    explorer.PlanExploreSeazone();
    EXPECT_EQ(explorer.CountPlans(AIPLAN_EXPLORE_SEAZONE), 1);
}

TEST_F(ExplorationPlansTest, ALandPlanWhoseProvinceGotDiscoveredCancelsAtItsTimer) {
    Army(100, 30000, *us);
    us->GetKing()->Start();
    CAIExplorer& explorer = Explorer();
    ASSERT_EQ(explorer.GetLandCandidates(), std::vector<int32_t>{kUnknownLand});
    explorer.PlanExploreProvince();
    auto* plan = FirstPlan<CAIPlanExploreProvince>(explorer);
    ASSERT_NE(plan, nullptr);
    EXPECT_FLOAT_EQ(plan->GetPriority(), 52.0f);
    // The army gathers beside the goal; ours may not explore, so none comes.
    EXPECT_EQ(plan->GatheringProvince(), &P(100));
    ASSERT_NE(plan->RequestSlot(AIRES_ARMIES), nullptr);
    EXPECT_FLOAT_EQ(plan->RequestSlot(AIRES_ARMIES)->amount, 4000.0f);

    // Waiting for an army is no reason to give up.
    RunDays(60);
    EXPECT_EQ(explorer.CountPlans(AIPLAN_EXPLORE_PROVINCE), 1);

    // Someone else walked there: the next timer ends the plan, and no new
    // one aims at a known province.
    P(kUnknownLand).discoveredBy[kUs] = 1;
    NotifyAIListeners(16, &CAIEventListener::OnProvinceDiscovered, static_cast<int32_t>(kUs),
                      kUnknownLand);
    RunDays(60);
    EXPECT_EQ(explorer.CountPlans(AIPLAN_EXPLORE_PROVINCE), 0);
    EXPECT_TRUE(explorer.GetLandCandidates().empty());
}

// An army shipped over the sea is held by its transport meanwhile: the
// watchdog lets the plan wait for it.
TEST_F(ExplorationPlansTest, ALandPlanWaitsForItsArmyAtSea) {
    us->m_keptUnits[CCountry::UNIT_TRANSPORTS] = 10;
    // Known waters lead to the unknown coast.
    P(kUnknownSea).discoveredBy[kUs] = 1;
    CLandUnit& army = Army(101, 4000, *us);
    army.GetDefaultLeader().category = LEADER_CONQUISTADOR;
    us->GetKing()->Start();
    CAIExplorer& explorer = Explorer();
    auto* plan = new CAIPlanExploreProvince(us->GetKing());
    plan->SetGoal(&explorer, static_cast<uint32_t>(kUnknownCoast));
    plan->Evaluate();
    ASSERT_GT(plan->GetPriority(), 0.0f);
    plan->SetPriority(52.0f);
    explorer.AddChild(plan);
    plan->Start();
    RunDays(1);
    ASSERT_TRUE(plan->WasUnitRequested());
    CAIAgent* carrier = army.GetAIAgent();
    ASSERT_NE(carrier, nullptr);
    ASSERT_NE(carrier->AsPlan(), nullptr);
    EXPECT_EQ(carrier->AsPlan()->GetPlanType(), AIPLAN_TRANSPORT);
    EXPECT_EQ(carrier->GetParent(), plan);

    RunDays(70);
    EXPECT_EQ(explorer.CountPlans(AIPLAN_EXPLORE_PROVINCE), 1);
    EXPECT_EQ(army.GetAIAgent(), carrier);
}

TEST_F(ExplorationPlansTest, NativesOverseasAreNeverAttackedWithoutShips) {
    us->GetKing()->Start();
    CAIExplorer& explorer = Explorer();
    ASSERT_EQ(explorer.GetNativeCandidates(), std::vector<int32_t>{kNatives});
    // Natives gone: nothing to draw from.
    P(kNatives).natives = 0;
    us->m_keptUnits[CCountry::UNIT_TRANSPORTS] = 1;
    explorer.PlanGenocide();
    EXPECT_EQ(explorer.CountPlans(AIPLAN_GENOCIDE), 0);
    P(kNatives).natives = 6;
    us->m_keptUnits[CCountry::UNIT_TRANSPORTS] = 0;

    CAIPlanGenocide trial(us->GetKing());
    trial.SetGoal(static_cast<uint32_t>(kNatives));
    trial.Evaluate();
    EXPECT_FLOAT_EQ(trial.GetPriority(), -1.0f);
    explorer.PlanGenocide();
    EXPECT_EQ(explorer.CountPlans(AIPLAN_GENOCIDE), 0);
    // Nor an unknown land overseas.
    CAIPlanExploreProvince land(us->GetKing());
    land.SetGoal(static_cast<uint32_t>(kUnknownCoast));
    land.Evaluate();
    EXPECT_FLOAT_EQ(land.GetPriority(), -1.0f);

    // With a transport they are in reach: the plan asks for 150 men a
    // native.
    us->m_keptUnits[CCountry::UNIT_TRANSPORTS] = 1;
    trial.Evaluate();
    EXPECT_FLOAT_EQ(trial.GetPriority(), 6.0f);
    explorer.PlanGenocide();
    auto* plan = FirstPlan<CAIPlanGenocide>(explorer);
    ASSERT_NE(plan, nullptr);
    EXPECT_EQ(plan->GetGoal(), static_cast<uint32_t>(kNatives));
    EXPECT_FLOAT_EQ(plan->GetPriority(), 51.0f);
    ASSERT_NE(plan->RequestSlot(AIRES_ARMIES), nullptr);
    EXPECT_FLOAT_EQ(plan->RequestSlot(AIRES_ARMIES)->amount, 900.0f);
}

// The army walks to the natives and attacks them; once none are left the
// plan is done.
TEST_F(ExplorationPlansTest, ANativePlanMarchesAndAttacksUntilNoneAreLeft) {
    P(kNatives).continent = 1;
    Link(100, kNatives);
    CLandUnit& army = Army(100, 1000, *us);
    us->GetKing()->Start();
    CAIExplorer& explorer = Explorer();
    explorer.PlanGenocide();
    auto* plan = FirstPlan<CAIPlanGenocide>(explorer);
    ASSERT_NE(plan, nullptr);

    auto attackAsked = [] {
        bool asked = false;
        g_scheduler.ForEachEvent([&asked](COVEvent* event) {
            asked = asked || (event->GetType() == EVT_REQUEST_NATIVE_ATTACK &&
                              event->Payload().Get(COVProvinceEvent::kProvince) ==
                                  static_cast<uint32_t>(kNatives));
        });
        return asked;
    };
    bool asked = false;
    for (int32_t day = 0; day < 200 && !asked; ++day) {
        g_gameTimer->currentDate.AddDays(1);
        while (!asked && g_scheduler.RunOne())
            asked = attackAsked();
    }
    ASSERT_TRUE(asked);
    EXPECT_EQ(army.GetLocation(), kNatives);
    EXPECT_EQ(army.GetAIAgent(), plan);

    // The natives fought and are gone: at its next timer the plan is done
    // and lets the army go.
    P(kNatives).natives = 0;
    RunDays(30);
    EXPECT_EQ(explorer.CountPlans(AIPLAN_GENOCIDE), 0);
    EXPECT_NE(army.GetAIAgent(), nullptr);
    EXPECT_EQ(army.GetAIAgent()->AsPlan(), nullptr);
}

// A colonial nation sets out at once; its timer keeps one sea plan, as many
// land plans as a fifth of its land candidates and one more (at most 5),
// and two native plans going.
TEST_F(ExplorationPlansTest, AColonialNationSetsOutAtOnceAndItsTimerKeepsThePlansUp) {
    us->m_colonialNation = 1;
    us->m_keptUnits[CCountry::UNIT_TRANSPORTS] = 1;
    us->GetKing()->Start();
    CAIExplorer& explorer = Explorer();
    EXPECT_EQ(explorer.CountPlans(AIPLAN_EXPLORE_SEAZONE), 1);
    EXPECT_EQ(explorer.CountPlans(AIPLAN_EXPLORE_PROVINCE), 1);
    EXPECT_EQ(explorer.CountPlans(AIPLAN_GENOCIDE), 1);

    explorer.OnTimer(0);
    EXPECT_EQ(explorer.CountPlans(AIPLAN_EXPLORE_SEAZONE), 1);
    EXPECT_EQ(explorer.CountPlans(AIPLAN_EXPLORE_PROVINCE), 1);
    EXPECT_EQ(explorer.CountPlans(AIPLAN_GENOCIDE), 2);
    explorer.OnTimer(0);
    EXPECT_EQ(explorer.CountPlans(AIPLAN_GENOCIDE), 2);
}

TEST_F(ExplorationPlansTest, AnExplorersOrAConquistadorsArrivalSendsThemOut) {
    us->GetKing()->Start();
    CAIExplorer& explorer = Explorer();
    struct Case {
        uint32_t country;
        int32_t category;
        int32_t sea, land;
    };
    // Only this country's explorers and conquistadors, whatever the timer
    // would make.
    const Case cases[] = {
        {kUs, LEADER_GENERAL, 0, 0},        {kUs, LEADER_ADMIRAL, 0, 0},
        {kUs, LEADER_MONARCH, 0, 0},        {kUs, LEADER_PRIVATEER, 0, 0},
        {kThem, LEADER_CONQUISTADOR, 0, 0}, {kUs, LEADER_CONQUISTADOR, 0, 1},
        {kUs, LEADER_EXPLORER, 1, 1},
    };
    for (const Case& c : cases) {
        g_countryAI.notifyListeners(kAINoticeLeaderArrived, c.country,
                                    static_cast<uint32_t>(c.category));
        EXPECT_EQ(explorer.CountPlans(AIPLAN_EXPLORE_SEAZONE), c.sea) << c.category;
        EXPECT_EQ(explorer.CountPlans(AIPLAN_EXPLORE_PROVINCE), c.land) << c.category;
    }
}

} // namespace
