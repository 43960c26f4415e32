// The unit build plans size and order what a plan asked for and hand the
// units over; a transport ships an army across the sea.
#include <gtest/gtest.h>

#include "ai/king/ProvincePlan.h"
#include "ai/military/AICombat.h"
#include "ai/military/Transport.h"
#include "tests/ai/MilitaryFixture.h"
#include "tests/ai/TestPlans.h"

namespace {

class BuildAndTransportTest : public MilitaryFixture {};

// A build plan whose places take two regiments.
class SmallPlacesPlan : public CAIBuildArmyPlan {
public:
    using CAIBuildArmyPlan::CAIBuildArmyPlan;
    int32_t GetCapacity(const CProvince&) const override { return 2; }
    bool MayBuildIn(int32_t) const override { return true; }
};

TEST_F(BuildAndTransportTest, TheArmyPlanSizesItsArmsByThePowerWanted) {
    us->m_keptUnits[CCountry::UNIT_INFANTRY] = 100000;
    // Each man of each arm adds 2 power (fire and shock weights 1).
    struct Row {
        float power;
        float shockWeight;
        int32_t cavalryPresent;
        std::array<int32_t, 3> counts;
    };
    for (const Row& row : {
             // 4600 x 0.25 = 1150 cavalry -> 1000; 4600 x 0.1 / 2 = 230
             // artillery; the rest infantry: (4600 - 2000 - 460) / 2.
             Row{4600.0f, 1.0f, 0, {1000, 1000, 230}},
             // Shock-heavy: 0.6 of the power in cavalry; a piece of artillery adds 2.5.
             Row{4600.0f, 1.5f, 0, {0, 3000, 180}},
             // Cavalry already present is taken off.
             Row{4600.0f, 1.0f, 2000, {2000, 0, 230}},
         }) {
        CAIBuildArmyPlan plan(us->GetKing(), 1000, 1000, 10);
        plan.Evaluate(row.power, 0.0f, row.cavalryPresent, 0, 1.0f, row.shockWeight, nullptr);
        EXPECT_EQ(plan.GetCounts(), row.counts) << row.power << " " << row.shockWeight;
        EXPECT_GT(plan.GetPriority(), 0.0f);
    }
    CAIBuildArmyPlan none(us->GetKing(), 1000, 1000, 10);
    none.Evaluate(0.0f, 0.0f, 0, 0, 1.0f, 1.0f, nullptr);
    EXPECT_FLOAT_EQ(none.GetPriority(), -1.0f);
    // Troops that add no power: nothing to divide by, nothing built.
    static CTechTable zero("LTLEVEL");
    zero.SetRows({CTechRow{}, CTechRow{}, CTechRow{}, CTechRow{}, CTechRow{}});
    us->GetLandTech().table = &zero;
    CAIBuildArmyPlan powerless(us->GetKing(), 1000, 1000, 10);
    powerless.Evaluate(4600.0f, 0.0f, 0, 0, 1.0f, 1.0f, nullptr);
    EXPECT_EQ(powerless.GetCounts()[0], 0);
    EXPECT_EQ(powerless.GetCounts()[2], 0);
}

TEST_F(BuildAndTransportTest, APlaceIsFilledToItsCapacityAndTheUnitGoesToThePlanThatAsked) {
    us->GetKing()->Start();
    CAIKing& king = *us->GetKing();
    TestPlan* asking = TestPlan::Under(king, king, 50.0f);
    auto* plan = new SmallPlacesPlan(&king, 1000, 1000, 10);
    plan->Init(asking);
    plan->SetCounts(3000, 1000, 0);
    asking->AddChild(plan);
    plan->Start();
    plan->AddPlace(&P(100));
    EXPECT_EQ(plan->GetCurrent(), (std::array<int32_t, 3>{2000, 0, 0}));
    EXPECT_GT(plan->GetRequested(), 0.0f);

    // A unit the plan ordered goes on to the asking plan when it is built.
    CLandUnit& built = Army(100, 2000, *us);
    plan->GetOrderedUnits().AddTail(built.GetId());
    EXPECT_TRUE(plan->OfferArmy(&built));
    EXPECT_EQ(built.GetAIAgent(), asking);
    EXPECT_TRUE(asking->armies.Contains(&built));

    // Wanted amounts below one regiment finish the plan at its next step.
    plan->SetCounts(999, 999, 9);
    plan->Step();
    EXPECT_TRUE(plan->HasSucceeded());
}

TEST_F(BuildAndTransportTest, ACombatPlanShortOfPowerGetsABuildPlan) {
    us->m_treasury = 0.0f;
    us->GetKing()->Start();
    us->SetAtWarWith(kThem);
    them->SetAtWarWith(kUs);
    Army(102, 20000, *them);
    CAIGeneral& general = HomeGeneral();
    auto* attack = new CAILandAttackPlan(us->GetKing());
    attack->Init(&general);
    attack->Evaluate(&P(101), nullptr);
    attack->SetObjective(&P(102));
    general.AddChild(attack);
    attack->Start();
    EXPECT_GT(attack->GetNeededPower(), 0.0f);
    RunDays(2);
    bool building = false;
    Children(attack).ForEach([&](CAIAgent* child) {
        building =
            building || (child->AsPlan() && child->AsPlan()->GetPlanType() == AIPLAN_BUILDARMY);
    });
    EXPECT_TRUE(building);
}

TEST_F(BuildAndTransportTest, TheShipsOfTheCountryMustHoldTheArmy) {
    us->GetKing()->Start();
    CLandUnit& army = Army(101, 10001, *us);
    struct Row {
        int32_t transports, galleys;
        bool feasible;
    };
    // 11 places: 5 transports and a galley carry it, 5 transports do not.
    for (const Row& row : {Row{5, 1, true}, Row{5, 0, false}}) {
        us->m_keptUnits[CCountry::UNIT_TRANSPORTS] = row.transports;
        us->m_keptUnits[CCountry::UNIT_GALLEYS] = row.galleys;
        AITransport transport(us->GetKing());
        transport.Evaluate(&army, &P(105));
        EXPECT_EQ(transport.GetPriority() >= 0.0f, row.feasible) << row.transports << row.galleys;
    }
}

TEST_F(BuildAndTransportTest, ATransportShipsAnArmyOverseasAndHandsItBack) {
    us->m_keptUnits[CCountry::UNIT_TRANSPORTS] = 10;
    us->GetKing()->Start();
    CAIKing& king = *us->GetKing();
    TestPlan* asking = TestPlan::Under(king, king, 50.0f);
    CLandUnit& army = Army(101, 5000, *us);
    ASSERT_TRUE(asking->TransportUnitTo(&army, &P(105)));
    AITransport* transport = nullptr;
    Children(asking).ForEach([&](CAIAgent* child) {
        if (auto* t = dynamic_cast<AITransport*>(child))
            transport = t;
    });
    ASSERT_NE(transport, nullptr);
    EXPECT_EQ(army.GetAIAgent(), transport);
    EXPECT_EQ(transport->GetWaypoint(), &P(104));
    EXPECT_TRUE(transport->IsLoadPending());
    EXPECT_NE(transport->RequestSlot(AIRES_FLEETS), nullptr);

    // A fleet at the boarding zone: the army is ordered aboard.
    CNavalUnit& fleet = Fleet(104, 0, 0, 10, *us);
    ASSERT_TRUE(transport->OfferFleet(&fleet));
    EXPECT_EQ(fleet.GetAIAgent(), transport);
    EXPECT_FALSE(army.IsPathEmpty());

    // Aboard and sailing: the transport lands the army at the objective.
    fleet.LoadArmy(&army);
    army.SetPath(1, CIntList{});
    transport->OnArmyMoved(army);
    EXPECT_FALSE(transport->IsLoadPending());
    EXPECT_EQ(transport->GetWaypoint(), &P(105));

    // Ashore at the objective: done, the army goes to the plan that asked,
    // the fleet to the King.
    fleet.UnloadArmy(&army);
    army.SetLocation(105);
    army.SetPath(1, CIntList{});
    transport->OnArmyMoved(army);
    EXPECT_TRUE(transport->HasSucceeded());
    EXPECT_EQ(army.GetAIAgent(), asking);
    EXPECT_EQ(fleet.GetAIAgent(), &king);
}

TEST_F(BuildAndTransportTest, FleetSurplusIsOneKindOfShipOnly) {
    struct Row {
        int32_t w, g, t, places;
        float power;
        int32_t kind, count;
    };
    // Each warship and galley is worth 4 power (fire 1 + shock 1, morale 2).
    for (const Row& row : {
             Row{0, 0, 10, 7, 0.0f, 2, 6},  // 7 places: 13 spare transport places
             Row{2, 3, 2, 4, 0.0f, 1, 3},   // the transports do it, galleys spare
             Row{3, 0, 1, 3, 0.0f, 0, 2},   // one warship needed
             Row{5, 2, 0, 0, 8.0f, 0, 3},   // 8 power: two warships, three spare
             Row{1, 4, 0, 0, 12.0f, 1, 2},  // 12 power: one warship, two galleys
             Row{1, 1, 5, 0, 100.0f, 0, 0}, // short of power: nothing spare
         }) {
        const FleetSurplus s = ComputeFleetSurplus(*us, row.w, row.g, row.t, row.places, row.power);
        EXPECT_EQ(s.count, row.count) << row.w << row.g << row.t;
        if (row.count > 0)
            EXPECT_EQ(s.kind, row.kind) << row.w << row.g << row.t;
    }
}

} // namespace
