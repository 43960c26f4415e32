// The Generals and Admirals: one per territory, the candidate queue and the
// launch of plans, the proposals of a war, and garrisons in peacetime.
#include <gtest/gtest.h>

#include <vector>

#include "ai/military/AICombat.h"
#include "ai/military/Defence.h"
#include "tests/ai/MilitaryFixture.h"

namespace {

class MilitaryMinisterTest : public MilitaryFixture {
protected:
    // An unstarted candidate of the priority under the minister.
    CAILandAttackPlan* Candidate(CAIMilitaryMinister& minister, float priority) {
        auto* plan = new CAILandAttackPlan(us->GetKing());
        plan->Init(&minister);
        plan->SetPriority(priority);
        return plan;
    }
    std::vector<float> QueuedPriorities(const CAIMilitaryMinister& minister) {
        std::vector<float> out;
        for (int32_t i = 0; i < minister.GetQueueCount(); ++i)
            out.push_back(minister.GetQueued(i)->GetPriority());
        return out;
    }
    std::vector<CAIPlan*> Running(const CAIMilitaryMinister& minister, int32_t type) {
        std::vector<CAIPlan*> out;
        const_cast<CLinkedList<CAIAgent>&>(minister.GetChildren()).ForEach([&](CAIAgent* a) {
            if (a->AsPlan() && a->AsPlan()->GetPlanType() == type)
                out.push_back(a->AsPlan());
        });
        return out;
    }
};

TEST_F(MilitaryMinisterTest, AGeneralForEveryTerritoryAndAnAdmiralForEveryLinkedSea) {
    us->GetKing()->Start();
    EXPECT_EQ(us->GetKing()->GetGenerals().GetCount(), 1u);
    ASSERT_EQ(us->GetKing()->GetAdmirals().GetCount(), 1u);
    CAIGeneral& general = HomeGeneral();
    EXPECT_TRUE(general.IsActive());
    EXPECT_EQ(general.GetMaxPlans(), 4);
    // The defence plan runs from the start, with the whole weight of the
    // one General's defence budget.
    std::vector<CAIPlan*> defence = Running(general, AIPLAN_DEFEND);
    ASSERT_EQ(defence.size(), 1u);
    EXPECT_FLOAT_EQ(static_cast<CAIDefendPlan*>(defence[0])->GetBudgetFactor(), 0.25f);
    for (int32_t kind : {KIND_LANDATTACK, KIND_CONQUER, KIND_DEFEND, KIND_INVASION})
        EXPECT_NE(general.GetPrototype(kind), nullptr) << kind;
    EXPECT_EQ(general.GetPrototype(KIND_NAVALATTACK), nullptr);
    CAIMilitaryMinister* admiral = us->GetKing()->FindAdmiral(sea.get());
    ASSERT_NE(admiral, nullptr);
    EXPECT_TRUE(admiral->IsAdmiral());
    EXPECT_NE(admiral->GetPrototype(KIND_BLOCKADE), nullptr);
    // The other side's overseas territory has its own General.
    them->GetKing()->Start();
    EXPECT_EQ(them->GetKing()->GetGenerals().GetCount(), 2u);
}

// Each row queues candidates of these priorities in turn: what is taken,
// and the queue that results.
TEST_F(MilitaryMinisterTest, TheQueueKeepsTheBestTenInOrderOfPriorityThenArrival) {
    us->GetKing()->Start();
    CAIGeneral& general = HomeGeneral();
    struct Row {
        std::vector<float> offered;
        std::vector<bool> taken;
        std::vector<float> queue;
    };
    const std::vector<Row> rows = {
        {{3, 5, 4}, {true, true, true}, {5, 4, 3}},
        // Ten, then a worse one refused and a better one that pushes out
        // the worst.
        {{10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0.5f, 5.5f},
         {true, true, true, true, true, true, true, true, true, true, false, true},
         {10, 9, 8, 7, 6, 5.5f, 5, 4, 3, 2}},
        // A candidate equal to the worst of a full queue is refused.
        {{9, 8, 7, 6, 5, 4, 3, 2, 1, 1, 1},
         {true, true, true, true, true, true, true, true, true, true, false},
         {9, 8, 7, 6, 5, 4, 3, 2, 1, 1}},
    };
    for (const Row& row : rows) {
        std::vector<CAIPlan*> offered;
        for (size_t i = 0; i < row.offered.size(); ++i) {
            CAILandAttackPlan* plan = Candidate(general, row.offered[i]);
            const bool taken = general.QueuePlan(plan);
            EXPECT_EQ(taken, row.taken[i]) << i;
            if (!taken)
                delete plan;
        }
        EXPECT_EQ(QueuedPriorities(general), row.queue);
        // Launching with room for three more: the best three run, the rest
        // go.
        general.LaunchQueuedPlans();
        EXPECT_EQ(general.GetQueueCount(), 0);
        for (CAIPlan* plan : Running(general, AIPLAN_LANDATTACK))
            plan->Cancel();
    }
}

TEST_F(MilitaryMinisterTest, EqualPrioritiesKeepTheirOrderOfArrival) {
    us->GetKing()->Start();
    CAIGeneral& general = HomeGeneral();
    CAILandAttackPlan* first = Candidate(general, 3.0f);
    CAILandAttackPlan* second = Candidate(general, 3.0f);
    ASSERT_TRUE(general.QueuePlan(first));
    ASSERT_TRUE(general.QueuePlan(second));
    EXPECT_EQ(general.GetQueued(0), first);
    EXPECT_EQ(general.GetQueued(1), second);
}

TEST_F(MilitaryMinisterTest, AFullMinisterLaunchesOnlyABetterCandidateAndCancelsItsWeakestPlan) {
    us->GetKing()->Start();
    CAIGeneral& general = HomeGeneral();
    // The defence plan and three attacks fill the four places.
    std::vector<CAILandAttackPlan*> running;
    for (float priority : {30.0f, 20.0f, 25.0f}) {
        CAILandAttackPlan* plan = Candidate(general, priority);
        general.AddChild(plan);
        plan->Start();
        running.push_back(plan);
    }
    ASSERT_EQ(general.GetChildren().GetCount(), 4u);

    struct Row {
        float candidate;
        bool launched;
    };
    // Not better than the weakest (20): nothing changes.
    ASSERT_TRUE(general.QueuePlan(Candidate(general, 20.0f)));
    ASSERT_TRUE(general.QueuePlan(Candidate(general, 5.0f)));
    general.LaunchQueuedPlans();
    EXPECT_EQ(general.GetChildren().GetCount(), 4u);
    EXPECT_EQ(general.GetQueueCount(), 0);
    EXPECT_TRUE(general.GetChildren().Contains(running[1]));

    // Better: launched, the other candidate deleted, the weakest cancelled.
    CAILandAttackPlan* better = Candidate(general, 40.0f);
    ASSERT_TRUE(general.QueuePlan(better));
    ASSERT_TRUE(general.QueuePlan(Candidate(general, 35.0f)));
    general.LaunchQueuedPlans();
    EXPECT_EQ(general.GetQueueCount(), 0);
    EXPECT_TRUE(general.GetChildren().Contains(better));
    EXPECT_TRUE(better->IsActive());
    EXPECT_FALSE(general.GetChildren().Contains(running[1]));
    EXPECT_EQ(general.GetChildren().GetCount(), 4u);
    EXPECT_EQ(Running(general, AIPLAN_LANDATTACK).size(), 3u);
}

TEST_F(MilitaryMinisterTest, ANeighbourOfTheExcludedProvinceGetsFiveMore) {
    us->GetKing()->Start();
    CAIGeneral& general = HomeGeneral();
    us->SetAtWarWith(kThem);
    them->SetAtWarWith(kUs);
    CAIConquerPlan probe(us->GetKing());
    probe.Evaluate(&P(102), home);
    ASSERT_GE(probe.GetPriority(), 0.0f);
    CTemplateList<CProvince> only;
    only.AddTail(&P(102));
    // The excluded province itself is not proposed.
    EXPECT_FALSE(general.ProposePlans(KIND_CONQUER, only, &P(102)));
    ASSERT_TRUE(general.ProposePlans(KIND_CONQUER, only, &P(103)));
    ASSERT_EQ(general.GetQueueCount(), 1);
    EXPECT_FLOAT_EQ(general.GetQueued(0)->GetPriority(), probe.GetPriority() + 5.0f);
    // A province with a plan queued is not proposed twice.
    EXPECT_FALSE(general.ProposePlans(KIND_CONQUER, only, nullptr));
    only.RemoveAll();
}

TEST_F(MilitaryMinisterTest, AnEnemyArmyInTheTerritoryIsAttacked) {
    us->GetKing()->Start();
    CAIGeneral& general = HomeGeneral();
    us->SetAtWarWith(kThem);
    them->SetAtWarWith(kUs);
    CLandUnit& intruder = Army(101, 5000, *them);
    // Reaching 0.1 of threat is enough; a friendly unit is not attacked.
    NotifyUnitAI(0, &CAIEventListener::OnArmyMoved, intruder);
    ASSERT_EQ(general.GetQueueCount(), 1);
    EXPECT_EQ(general.GetQueued(0)->GetPlanType(), AIPLAN_LANDATTACK);
    EXPECT_EQ(general.GetQueued(0)->GetObjective(), &P(101));
    // An own province held by the enemy: twice its rating and 50, then 20.
    P(101).SetControllerField(them);
    CAILandAttackPlan probe(us->GetKing());
    probe.Evaluate(&P(101), home);
    P(101).SetControllerField(us);
    CAILandAttackPlan plain(us->GetKing());
    plain.Evaluate(&P(101), home);
    EXPECT_FLOAT_EQ(probe.GetPriority() - 20.0f, 2.0f * (plain.GetPriority() - 20.0f) + 50.0f);
}

// The units tell of themselves: an enemy army marching into the
// territory is met by an attack without anyone calling the General.
TEST_F(MilitaryMinisterTest, AnEnemyMarchingInIsNoticedOnItsWay) {
    us->m_treasury = 0.0f;
    us->GetKing()->Start();
    CAIGeneral& general = HomeGeneral();
    us->SetAtWarWith(kThem);
    them->SetAtWarWith(kUs);
    CLandUnit& intruder = Army(102, 5000, *them);
    SendMoveSteps(intruder, {101});
    ASSERT_FALSE(intruder.IsPathEmpty());
    bool attacked = false;
    for (int32_t day = 0; day < 90 && !attacked; ++day) {
        RunDays(1);
        attacked = general.FindPlanFor(&P(101)) != nullptr;
    }
    EXPECT_EQ(intruder.GetLocation(), 101);
    ASSERT_TRUE(attacked);
    EXPECT_EQ(general.FindPlanFor(&P(101))->GetPlanType(), AIPLAN_LANDATTACK);
}

// With a war, the General conquers: a plan aims at the enemy's provinces,
// the King hands it our army and the army marches on the fortress.
TEST_F(MilitaryMinisterTest, AtWarTheGeneralSendsItsArmyAgainstTheEnemysFortress) {
    CLandUnit& army = Army(100, 30000, *us);
    us->m_treasury = 0.0f;
    us->GetKing()->Start();
    CAIGeneral& general = HomeGeneral();
    DeclareWar();
    EXPECT_GT(general.GetQueueCount(), 0);
    RunDays(20);
    CAIAgent* holder = army.GetAIAgent();
    ASSERT_NE(holder, nullptr);
    ASSERT_NE(holder->AsPlan(), nullptr);
    const int32_t type = holder->AsPlan()->GetPlanType();
    EXPECT_TRUE(type == AIPLAN_CONQUER || type == AIPLAN_LANDATTACK) << type;
    auto* plan = dynamic_cast<CAILandCombat*>(holder);
    ASSERT_NE(plan, nullptr);
    EXPECT_EQ(plan->GetParent(), &general);
    CProvince* objective = plan->GetObjective();
    ASSERT_NE(objective, nullptr);
    EXPECT_EQ(objective->GetOwner(), them);
    // The army is on its way (or stands there).
    EXPECT_TRUE(!army.IsPathEmpty() || army.GetLocation() != 100);
}

TEST_F(MilitaryMinisterTest, GarrisonsStandInPeaceAndAreCancelledAtWar) {
    us->m_treasury = 0.0f;
    us->GetKing()->Start();
    CAIGeneral& general = HomeGeneral();
    std::vector<CAIPlan*> defence = Running(general, AIPLAN_DEFEND);
    ASSERT_EQ(defence.size(), 1u);
    RunDays(3);
    size_t garrisons = 0;
    Children(defence[0]).ForEach([&](CAIAgent* child) {
        if (child->AsPlan() && child->AsPlan()->GetPlanType() == AIPLAN_GARRISON) {
            ++garrisons;
            EXPECT_TRUE(child->IsActive());
        }
    });
    EXPECT_GE(garrisons, 1u);

    DeclareWar();
    size_t left = 0;
    Children(defence[0]).ForEach([&](CAIAgent* child) {
        if (child->IsActive())
            ++left;
    });
    EXPECT_EQ(left, 0u);
    // Peace plans them again.
    MakePeace();
    garrisons = 0;
    Children(defence[0]).ForEach([&](CAIAgent* child) {
        if (child->IsActive())
            ++garrisons;
    });
    EXPECT_GE(garrisons, 1u);
}

TEST_F(MilitaryMinisterTest, AWarInPreparationDrawsGarrisonsToItsBorder) {
    us->GetKing()->Start();
    CAIGarrisonPlan border(us->GetKing());
    CAIGarrisonPlan inland(us->GetKing());
    border.Evaluate(&P(101), home);
    inland.Evaluate(&P(100), home);
    const float before = border.GetPriority() - inland.GetPriority();
    us->GetKing()->SetWarGoal(kThem);
    border.Evaluate(&P(101), home);
    inland.Evaluate(&P(100), home);
    EXPECT_FLOAT_EQ(border.GetPriority() - inland.GetPriority(), before + 100.0f);
}

TEST_F(MilitaryMinisterTest, CheckInvasionNeedsMoreThanAQuarterLost) {
    // Country 30 looks at the enemy territory of four provinces across the
    // sea as an overseas General.
    us->GetKing()->Start();
    them->GetKing()->Start();
    for (int32_t id : {106, 107, 108})
        Land(id);
    for (int32_t id : {106, 107, 108}) {
        Own(id, *them);
        overseas->AddProvince(&P(id));
        P(id).territory = overseas;
        P(id).coastal = 1;
    }
    auto* general = new CAIOverseasGeneral(us->GetKing());
    general->Init(us->GetKing());
    us->GetKing()->AddChild(general);
    general->StartWithPlans(overseas);
    // Four provinces, none ours: all lost to us, so invasions are proposed.
    EXPECT_GT(general->GetQueueCount(), 0);
    struct Row {
        int32_t ours;
        bool proposes;
    };
    for (const Row& row : {Row{3, false}, Row{2, true}}) {
        // 3 of 4 ours: exactly a quarter not ours.
        auto* again = new CAIOverseasGeneral(us->GetKing());
        again->Init(us->GetKing());
        us->GetKing()->AddChild(again);
        int32_t n = 0;
        for (int32_t id : {105, 106, 107, 108})
            P(id).SetControllerField(n++ < row.ours ? static_cast<CCountry*>(us)
                                                    : static_cast<CCountry*>(them));
        again->StartWithPlans(overseas);
        EXPECT_EQ(again->GetQueueCount() > 0, row.proposes) << row.ours;
    }
}

} // namespace

namespace {

// A conquest already at the walls of its objective.
class ConquestAtTheWalls : public CAIConquerPlan {
public:
    using CAIConquerPlan::CAIConquerPlan;
    void Besiege(CProvince& province) {
        objective = &province;
        engaged = true;
        active = true;
    }
};

} // namespace

// Besiegers whose morale broke in an assault deal no losses on the walls;
// storming again every few days would only put off the siege's monthly
// roll for ever. The conquest waits until they are fit to storm.
TEST_F(MilitaryMinisterTest, TheConquestStormsOnlyWithBesiegersFitToStorm) {
    const UnitStateHooks saved = g_unitStateHooks;
    g_unitStateHooks.combatType = [](const CUnit& unit) {
        return unit.GetSiegeCombat().IsNull() ? 0 : 4;
    };
    // A siege with a commander stands before the city.
    const CitySiegeHooks savedSiege = g_citySiege;
    g_citySiege.stateOf = [](CIdObject&, CitySiegeState& state) {
        state.hasCommander = true;
        state.mode = 4;
        return true;
    };
    CIdObject siegeCombat;
    siegeCombat.AssignNewId();
    const ObjectId siege = siegeCombat.GetId();
    P(102).GetCity()->SetSiege(siege);
    CLandUnit& army = Army(102, 20000, *us);
    army.CombatStarted(siege, 1, 4);
    ConquestAtTheWalls plan(us->GetKing());
    plan.Besiege(P(102));
    const float landMorale = us->GetLandMorale();
    ASSERT_GT(landMorale, 0.8f);
    const struct {
        float morale;
        bool storms;
    } cases[] = {{landMorale, true}, {landMorale * 0.5f, true}, {0.4f, false}, {0.0f, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.morale);
        army.morale = c.morale;
        EXPECT_EQ(plan.ShouldAssault(), c.storms);
    }
    // Without a siege of its own there is nothing to storm.
    army.morale = landMorale;
    army.CombatEnded(siege);
    EXPECT_FALSE(plan.ShouldAssault());
    P(102).GetCity()->ClearSiege();
    g_citySiege = savedSiege;
    g_unitStateHooks = saved;
}
