// The King's resource broker: the order requests are served in, taking from
// holders, re-filing, the pools and the end of a plan.
#include <gtest/gtest.h>

#include "ai/king/King.h"
#include "ai/king/ResourceBroker.h"
#include "net/EventTypes.h"
#include "tests/ai/AIFixture.h"
#include "tests/ai/TestPlans.h"

namespace {

class ResourceBrokerTest : public AIFixture {
protected:
    void SetUp() override {
        AIFixture::SetUp();
        country = &MakeCountry(30);
        country->m_treasury = 100.0f;
        country->m_manpower = 20.0f;
        king = country->GetKing();
        king->Start();
    }

    CAICountry* country = nullptr;
    CAIKing* king = nullptr;
};

TEST_F(ResourceBrokerTest, HigherPrioritiesFirstAndEqualOnesInFilingOrder) {
    TestPlan* first = TestPlan::Under(*king, *king, 5.0f);
    TestPlan* second = TestPlan::Under(*king, *king, 5.0f);
    TestPlan* urgent = TestPlan::Under(*king, *king, 7.0f);
    king->RequestMoney(first, 60.0f);
    king->RequestMoney(second, 60.0f);
    king->RequestMoney(urgent, 60.0f);
    RunDays(1);
    EXPECT_FLOAT_EQ(urgent->money, 60.0f);
    EXPECT_FLOAT_EQ(first->money, 40.0f);
    EXPECT_FLOAT_EQ(second->money, 0.0f);
    EXPECT_FLOAT_EQ(king->GetMoney(), 0.0f);
    // The two unserved wait in the queue, the first ahead.
    ASSERT_EQ(king->GetQueue(AIRES_MONEY).GetCount(), 2u);
}

// A request takes from a holder only with a priority above the holder's by
// more than 0.1; the holder that gives at once files for what it gave.
TEST_F(ResourceBrokerTest, TakingFromAHolderNeedsAMarginAndTheGiverFilesAgain) {
    TestPlan* holder = TestPlan::Under(*king, *king, 1.0f);
    king->RequestMoney(holder, 100.0f);
    RunDays(1);
    ASSERT_FLOAT_EQ(holder->money, 100.0f);

    struct Case {
        float priority;
        float taken;
    };
    for (const Case& c : {Case{1.1f, 0.0f}, Case{1.05f, 0.0f}, Case{1.2f, 10.0f}}) {
        TestPlan* asker = TestPlan::Under(*king, *king, c.priority);
        const float before = holder->money;
        king->RequestMoney(asker, 10.0f);
        king->ProcessCategory(AIRES_MONEY);
        EXPECT_FLOAT_EQ(asker->money, c.taken) << c.priority;
        EXPECT_FLOAT_EQ(holder->money, before - c.taken) << c.priority;
        asker->Fail();
    }
    CAIResourceRequest* again = holder->RequestSlot(AIRES_MONEY);
    ASSERT_NE(again, nullptr);
    EXPECT_FLOAT_EQ(again->GetAmount(), 10.0f);
}

TEST_F(ResourceBrokerTest, TheMoneyPoolStaysWithinTheTreasuryLessWhatHoldersKeep) {
    EXPECT_FLOAT_EQ(king->GetMoney(), 100.0f);
    king->AddMoney(50.0f);
    EXPECT_FLOAT_EQ(king->GetMoney(), 100.0f);

    TestPlan* holder = TestPlan::Under(*king, *king, 1.0f);
    king->RequestMoney(holder, 30.0f);
    RunDays(1);
    EXPECT_FLOAT_EQ(king->GetMoney(), 70.0f);
    king->AddMoney(1000.0f);
    EXPECT_FLOAT_EQ(king->GetMoney(), 70.0f);
    king->TakeMoney(500.0f);
    EXPECT_FLOAT_EQ(king->GetMoney(), 70.0f);

    // The country's treasury reports reach the pool.
    country->AddToTreasury(-20.0f);
    EXPECT_FLOAT_EQ(king->GetMoney(), 50.0f);
    country->AddToTreasury(0.0f);
    EXPECT_FLOAT_EQ(country->m_treasury, 80.0f);
    EXPECT_FLOAT_EQ(king->GetMoney(), 50.0f);
}

// Manpower is served like the other pools (a manpower request once stayed
// queued for ever).
TEST_F(ResourceBrokerTest, ManpowerRequestsAreServed) {
    TestPlan* plan = TestPlan::Under(*king, *king, 1.0f);
    king->RequestManpower(plan, 5.0f);
    EXPECT_TRUE(king->IsPending(AIRES_MANPOWER));
    RunDays(1);
    EXPECT_FLOAT_EQ(plan->manpower, 5.0f);
    EXPECT_FALSE(king->IsPending(AIRES_MANPOWER));
    EXPECT_TRUE(king->GetQueue(AIRES_MANPOWER).IsEmpty());
}

TEST_F(ResourceBrokerTest, AKilledPlanLeavesTheHoldersAndItsRequestIsSwept) {
    bool deleted = false;
    TestPlan* plan = TestPlan::Under(*king, *king, 1.0f, &deleted);
    king->RequestMoney(plan, 30.0f);
    RunDays(1);
    king->RequestMoney(plan, 500.0f);
    ASSERT_EQ(king->GetHolders(AIRES_MONEY).GetCount(), 1u);
    ASSERT_EQ(king->GetQueue(AIRES_MONEY).GetCount(), 1u);

    plan->Fail();
    EXPECT_EQ(king->GetHolders(AIRES_MONEY).GetCount(), 0u);
    // Its money went back to the King.
    EXPECT_FLOAT_EQ(king->GetMoney(), 100.0f);
    RunDays(1);
    EXPECT_TRUE(deleted);
    king->ProcessCategory(AIRES_MONEY);
    EXPECT_TRUE(king->GetQueue(AIRES_MONEY).IsEmpty());
}

TEST_F(ResourceBrokerTest, AResourceMessageForNoCategoryIsIgnored) {
    COVDataEvent tick(EVT_TICK_RESOURCE, king->GetId());
    tick.Payload().Set(kTickResourceCategory, 9u);
    EXPECT_EQ(king->HandleEvent(tick), EVENT_CONSUMED);
    tick.Payload().Set(kTickResourceCategory, 0xFFFFFFFFu);
    EXPECT_EQ(king->HandleEvent(tick), EVENT_CONSUMED);
}

TEST_F(ResourceBrokerTest, EachCategoryHasOneResourceMessageOutstanding) {
    TestPlan* a = TestPlan::Under(*king, *king, 1.0f);
    TestPlan* b = TestPlan::Under(*king, *king, 2.0f);
    const uint32_t before = g_scheduler.GetCount();
    king->RequestMoney(a, 1.0f);
    king->RequestMoney(b, 1.0f);
    EXPECT_EQ(g_scheduler.GetCount(), before + 1);
}

} // namespace
