// Agents and plans: delays, the kill, plan names, the shared rejected list
// of a chain, priorities and the diplomatic pools.
#include <gtest/gtest.h>

#include <algorithm>

#include "ai/AIAgent.h"
#include "ai/AIPlan.h"
#include "military/units/LandUnit.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "tests/ai/AIFixture.h"
#include "tests/ai/TestPlans.h"

namespace {

class AIAgentTest : public AIFixture {};

TEST_F(AIAgentTest, RandomDelaysShortenWithAggressivenessAndNeverReachZero) {
    struct Case {
        uint32_t aggressiveness;
        int32_t lo, spread;
        int32_t min, max;
    };
    for (const Case& c : {Case{0, 10, 30, 10, 39}, Case{5, 10, 30, 5, 19}, Case{9, 1, 1, 1, 1},
                          Case{10, 10, 30, 1, 1}}) {
        g_config->SetWord(ConfigOffset::kAggressiveness, c.aggressiveness);
        int32_t low = 1000, high = -1000;
        for (int i = 0; i < 2000; ++i) {
            const int32_t days = AIRandomDelay(c.lo, c.spread);
            low = std::min(low, days);
            high = std::max(high, days);
        }
        EXPECT_EQ(low, c.min) << c.aggressiveness;
        EXPECT_EQ(high, c.max) << c.aggressiveness;
    }
}

TEST_F(AIAgentTest, PlanTypeNames) {
    struct Case {
        int32_t type;
        const char* name;
    };
    for (const Case& c : {Case{0, "_CAI_PLAN_GATHERARMIES_"}, Case{7, "_CAI_PLAN_BUILDARMY_"},
                          Case{11, "_CAI_PLAN_CONQUER_"}, Case{58, "_CAI_PLAN_BUILD_SHIPYARD_"},
                          Case{59, "_CAI_PLAN_UNDEFINED_"}, Case{-1, "_CAI_PLAN_UNDEFINED_"}})
        EXPECT_STREQ(GetPlanTypeName(c.type), c.name) << c.type;
}

TEST_F(AIAgentTest, AKilledPlanGivesBackItsMoneyAndIsDeletedByItsKillMessage) {
    CAICountry& country = MakeCountry(30);
    country.m_treasury = 50.0f;
    CAIKing& king = *country.GetKing();
    king.Start();
    bool deleted = false;
    TestPlan* plan = TestPlan::Under(king, king, 1.0f, &deleted);
    const ObjectId id = plan->GetId();
    king.RequestMoney(plan, 20.0f);
    RunDays(1);
    ASSERT_FLOAT_EQ(king.GetMoney(), 30.0f);

    // A timer of the plan still queued after it is gone reaches nobody.
    plan->PostTimer(5, 1);
    plan->Fail();
    EXPECT_FLOAT_EQ(king.GetMoney(), 50.0f);
    EXPECT_FALSE(deleted);
    g_scheduler.RunDue();
    EXPECT_TRUE(deleted);
    EXPECT_EQ(ResolveId(id), nullptr);
    RunDays(10);

    // A kill message for an id that is gone does nothing.
    auto kill = std::make_unique<COVDataEvent>(EVT_KILL, id);
    kill->Payload().Set(KillPayload::kUnit, id);
    EXPECT_EQ(ExecuteEvent(std::move(kill)), EVENT_NOT_HANDLED);
}

TEST_F(AIAgentTest, AnAgentHoldingNoMoneySendsNoneToTheKing) {
    CAICountry& country = MakeCountry(30);
    country.m_treasury = 50.0f;
    CAIKing& king = *country.GetKing();
    king.Start();
    king.TakeMoney(10.0f); // the pool is below the treasury: any return would show
    TestPlan* plan = TestPlan::Under(king, king, 1.0f);
    plan->Fail();
    EXPECT_FLOAT_EQ(king.GetMoney(), 40.0f);
}

TEST_F(AIAgentTest, ASubPlanSharesItsRootsRejectedUnitsAndItsPriority) {
    CAICountry& country = MakeCountry(30);
    CAIKing& king = *country.GetKing();
    king.Start();
    TestPlan* root = TestPlan::Under(king, king, 3.0f);
    TestPlan* sub = TestPlan::Under(*root, king, 99.0f);
    TestPlan* sibling = TestPlan::Under(*root, king, 0.0f);
    EXPECT_EQ(sub->GetRoot(), root);
    EXPECT_FLOAT_EQ(sub->GetRequestPriority(), 3.0f);
    EXPECT_EQ(sub->IsHigherPriority(*sibling), 0.0f);
    EXPECT_EQ(sibling->IsHigherPriority(*sub), 0.0f);
    TestPlan* other = TestPlan::Under(king, king, 2.0f);
    EXPECT_EQ(sub->IsHigherPriority(*other), 1.0f);

    auto* army = new CLandUnit(&country);
    army->SetStrength(2, 1000.0f);
    country.AddUnit(army);
    sub->RejectUnit(army);
    EXPECT_TRUE(root->HasRejected(army));
    EXPECT_TRUE(sibling->HasRejected(army));
    EXPECT_EQ(army->aiRejectedBy.size(), 1u);
    root->ClearRejectedUnits();
    EXPECT_FALSE(sub->HasRejected(army));
    EXPECT_TRUE(army->aiRejectedBy.empty());

    // A unit that goes leaves the lists of the agents that held or
    // rejected it.
    sub->RejectUnit(army);
    other->AcceptUnit(army);
    ASSERT_EQ(other->armies.GetCount(), 1u);
    country.RemoveUnit(army);
    delete army;
    EXPECT_EQ(other->armies.GetCount(), 0u);
    EXPECT_FALSE(root->HasRejected(army));
}

TEST_F(AIAgentTest, ASucceededAgentLeavesAnAcceptedUnitWithoutAHolder) {
    CAICountry& country = MakeCountry(30);
    CAIKing& king = *country.GetKing();
    king.Start();
    auto* army = new CLandUnit(&country);
    country.AddUnit(army);
    TestPlan* holder = TestPlan::Under(king, king, 1.0f);
    holder->AcceptUnit(army);
    ASSERT_EQ(army->GetAIAgent(), holder);

    auto* done = new TestPlan(&king, 1.0f);
    done->Init(&king);
    done->Succeed();
    done->AcceptUnit(army);
    EXPECT_EQ(army->GetAIAgent(), nullptr);
    EXPECT_TRUE(holder->armies.IsEmpty());
    EXPECT_TRUE(done->armies.IsEmpty());
    delete done;
}

TEST_F(AIAgentTest, TakingDiplomatsBackMakesADiplomaticPlanFail) {
    CAICountry& country = MakeCountry(30);
    CAIKing& king = *country.GetKing();
    king.Start();
    auto* plan = new TestDiplomaticPlan(&king);
    plan->Init(&king);
    king.AddChild(plan);
    plan->Start();
    plan->AddDiplomats(1.0f);
    EXPECT_EQ(plan->checks, 1);
    EXPECT_FLOAT_EQ(plan->GetDiplomats(), 1.0f);
    plan->TakeDiplomats(1.0f);
    EXPECT_TRUE(plan->HasFailed());
    EXPECT_FALSE(king.GetChildren().Contains(plan));
}

} // namespace
