// The King: its start, its tick's rhythm, its force goals and its life with
// a country that holds nothing.
#include <gtest/gtest.h>

#include <algorithm>

#include "ai/diplomacy/DiplomacyAgents.h"
#include "ai/king/ProvincePlan.h"
#include "ai/military/MilitaryMinister.h"
#include "country/CountryList.h"
#include "data/CountryNumbers.h"
#include "military/units/NavalUnit.h"
#include "tests/ai/AIFixture.h"

namespace {

class KingTest : public AIFixture {};

TEST_F(KingTest, TheTickDelayFollowsRankAndWarAndHasAFloor) {
    CAICountry& country = MakeCountry(30);
    MakeCountry(31);
    struct Case {
        bool major;
        bool war;
        int32_t min, max;
    };
    for (const Case& c : {Case{false, false, 20, 39}, Case{true, false, 10, 19},
                          Case{false, true, 5, 9}, Case{true, true, 2, 4}}) {
        country.m_major = c.major ? 1 : 0;
        if (c.war)
            country.SetAtWarWith(31);
        else
            country.EndWarWith(31);
        ASSERT_EQ(country.IsAtWar(), c.war);
        int32_t low = 1000, high = -1;
        for (int i = 0; i < 400; ++i) {
            const int32_t days = KingTickDelay(country);
            low = std::min(low, days);
            high = std::max(high, days);
        }
        EXPECT_EQ(low, c.min) << c.major << c.war;
        EXPECT_EQ(high, c.max) << c.major << c.war;
    }
}

TEST_F(KingTest, StartMakesTheStandingAndRelationAgentsAndSubscribes) {
    CAICountry& country = MakeCountry(30);
    CAIKing& king = *country.GetKing();
    EXPECT_FALSE(king.IsActive());
    king.Start();
    EXPECT_TRUE(king.IsActive());

    uint32_t ordinary = 0;
    for (uint32_t n = 0; n < kCountrySlots; ++n) {
        EXPECT_EQ(king.GetRelationAgent(n) != nullptr, IsOrdinaryCountry(n)) << n;
        if (IsOrdinaryCountry(n)) {
            ++ordinary;
            EXPECT_TRUE(king.GetRelationAgent(n)->IsActive());
            EXPECT_EQ(king.GetRelationAgent(n)->GetParent(),
                      static_cast<CAIAgent*>(king.GetDiplomacyMinister()));
        }
    }
    EXPECT_NE(king.GetRelationAgent(30), nullptr);
    // Merchant, diplomacy minister, explorer, building agent, the relation
    // agents.
    EXPECT_EQ(king.GetChildren().GetCount(), 4 + ordinary);
    for (uint32_t type : {18u, 19u, 22u})
        EXPECT_TRUE(g_aiListeners[type].Contains(&king)) << type;
    // The first tick is queued.
    EXPECT_FALSE(g_scheduler.IsEmpty());
}

// A country with no province, no territory and no unit: the King starts,
// ticks on and answers what comes without failing.
TEST_F(KingTest, ACountryWithNothingTicksOn) {
    CAICountry& country = MakeCountry(30);
    country.m_major = 1;
    CAIKing& king = *country.GetKing();
    king.Start();
    RunDays(200);
    EXPECT_GE(king.GetTickCount(), 10);
    EXPECT_EQ(king.GetGenerals().GetCount(), 0u);
    EXPECT_EQ(king.GetForceGoals()[0], 0);
    EXPECT_EQ(king.GetArmyBuildingPlan(), nullptr);
    EXPECT_EQ(king.GetFleetBuildingPlan(), nullptr);
}

TEST_F(KingTest, NavalGoalsNeedTaxIncomeForTheirUpkeep) {
    CAICountry& country = MakeCountry(1);
    MakeCountry(2);
    MakeCountry(8);
    // England's rivals at sea hold ships.
    g_countries[2]->m_keptUnits[CCountry::UNIT_WARSHIPS] = 30;
    country.m_keptUnits[CCountry::UNIT_WARSHIPS] = 10;
    CAIKing& king = *country.GetKing();
    king.Start();
    country.m_monthlyTaxIncome = 1000.0f;
    king.ComputeForceGoals();
    ASSERT_GT(king.GetForceGoals()[3], 0);
    country.m_monthlyTaxIncome = 0.0f;
    king.ComputeForceGoals();
    EXPECT_EQ(king.GetForceGoals()[3], 0);
    EXPECT_EQ(king.GetForceGoals()[4], 0);
    EXPECT_EQ(king.GetForceGoals()[5], 0);
}

TEST_F(KingTest, TheSeaPowersWatchOneAnotherWhereverTheyLie) {
    CAICountry& holland = MakeCountry(4);
    CAICountry& france = MakeCountry(2);
    france.m_keptUnits[CCountry::UNIT_WARSHIPS] = 12;
    france.m_keptUnits[CCountry::UNIT_GALLEYS] = 3;
    CAIKing& king = *holland.GetKing();
    king.Start();
    holland.m_monthlyTaxIncome = 1.0e6f;
    king.ComputeForceGoals();
    EXPECT_EQ(king.GetForceGoals()[3], 15);
}

TEST_F(KingTest, AFleetPlanWhoseOrdersCoverItsCountsFinishesAtOnce) {
    CAICountry& country = MakeCountry(30);
    CAIKing& king = *country.GetKing();
    king.Start();
    auto* plan = new CAIBuildFleetPlan(&king, 1000, 1000, 10);
    plan->Init(&king);
    king.AddChild(plan);
    plan->Start();
    plan->Update(2, 1, 0);
    EXPECT_TRUE(plan->IsActive());
    EXPECT_EQ(plan->GetCounts()[0], 2);

    auto* fleet = new CNavalUnit(&country);
    fleet->AssignNewId();
    fleet->SetStrength(0, 1.5f);
    fleet->SetStrength(1, 1.0f);
    country.AddUnit(fleet);
    plan->GetOrderedUnits().AddTail(fleet->GetId());
    plan->Update(2, 1, 0);
    EXPECT_FLOAT_EQ(plan->GetPriority(), -1.0f);
    EXPECT_TRUE(plan->HasSucceeded());
    EXPECT_FALSE(king.GetChildren().Contains(plan));
}

} // namespace
