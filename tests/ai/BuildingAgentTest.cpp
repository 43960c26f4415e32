// The building agent: one building plan at a time, only in peace, the
// province search's scores and the plan's begin once the price is held.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ai/BuildingAgent.h"
#include "ai/king/MerchantAgent.h"
#include "ai/king/ResourceBroker.h"
#include "country/CountryReligion.h"
#include "net/EventTypes.h"
#include "tests/ai/AIFixture.h"
#include "world/City.h"
#include "world/Province.h"

namespace {

constexpr int32_t kFirst = 650;
constexpr int32_t kSecond = 651;

class BuildingAgentTest : public AIFixture {
protected:
    void TearDown() override {
        for (int32_t id : {kFirst, kSecond})
            GetProvince(id)->ResetForGame();
        AIFixture::TearDown();
    }

    // Country 30 owning two equal cities, able to afford a bailiff (and
    // nothing else its technology does not allow).
    CAICountry& MakeBuilder() {
        CAICountry& country = MakeCountry(30);
        country.m_treasury = 10000.0f;
        country.m_technology.infra.level = 1;
        country.m_religion.stateReligion = RELIGION_CATHOLIC;
        for (int32_t id : {kFirst, kSecond}) {
            CProvince& province = *GetProvince(id);
            province.ResetForGame();
            province.religion = RELIGION_CATHOLIC;
            province.SetOwner(&country);
            province.SetControllerField(&country);
            auto city = std::make_unique<CCity>();
            city->SetProvinceId(id);
            city->SetPopulation(3000.0f);
            country.m_cities.AddTail(city.get());
            province.SetCity(std::move(city));
        }
        return country;
    }

    static CAIBuildingAgent* BuildingAgentOf(CAIKing& king) {
        CAIBuildingAgent* found = nullptr;
        const_cast<CLinkedList<CAIAgent>&>(king.GetChildren()).ForEach([&found](CAIAgent* child) {
            if (auto* agent = dynamic_cast<CAIBuildingAgent*>(child))
                found = agent;
        });
        return found;
    }

    static CAIBuildingPlan* RunningPlan(const CAIBuildingAgent& agent) {
        CLinkedList<CAIAgent>::CListPosition position = nullptr;
        agent.GetChildren().GetHeadPosition(position);
        return position ? dynamic_cast<CAIBuildingPlan*>(position->item) : nullptr;
    }

    // The provinces named by the improvement requests queued.
    static std::vector<uint32_t> ImprovementRequests() {
        std::vector<uint32_t> provinces;
        auto note = [&provinces](const COVEvent& event) {
            if (event.GetType() == EVT_REQ_START_BUILD_IMPROVEMENT)
                provinces.push_back(event.Payload().Get(COVImprovementEvent::kProvince));
        };
        g_scheduler.ForEachEvent([&note](COVEvent* event) { note(*event); });
        g_scheduler.ForEachSend(note);
        return provinces;
    }
};

TEST_F(BuildingAgentTest, SiteScoresByKind) {
    struct Case {
        const char* what;
        BuildingSiteFigures site;
        int32_t kind;
        float score;
    };
    // Income 10 and city size 2 give 10 + 2 x 4 = 18 before the rest.
    const Case cases[] = {
        {"plain bailiff", {10.0f, false, false, false, 0, 2}, AIBUILD_BAILIFF, 18.0f},
        {"trading with a centre", {10.0f, true, false, false, 0, 2}, AIBUILD_CITYRIGHTS, 23.0f},
        {"border, civil", {10.0f, false, true, false, 0, 2}, AIBUILD_BAILIFF, 13.0f},
        {"border, fortress", {10.0f, false, true, false, 0, 2}, AIBUILD_FORTRESS, 23.0f},
        {"barrack or shipyard", {10.0f, false, false, true, 0, 2}, AIBUILD_COURTHOUSE, 28.0f},
        {"revolt risk, bailiff", {10.0f, false, false, false, 2, 2}, AIBUILD_BAILIFF, 12.0f},
        {"revolt risk, courthouse", {10.0f, false, false, false, 2, 2}, AIBUILD_COURTHOUSE, 24.0f},
        {"revolt risk, fortress", {10.0f, false, false, false, 2, 2}, AIBUILD_FORTRESS, 18.0f},
        {"large city", {10.0f, false, false, false, 0, 8}, AIBUILD_BAILIFF, 6.0f},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(BuildingSiteScore(c.site, c.kind), c.score) << c.what;
}

TEST_F(BuildingAgentTest, AtWarNothingStartsAndNoTimerWaitsUntilPeace) {
    ClientScope client;
    CAICountry& country = MakeBuilder();
    country.m_diplomacy.atWarWithAny = 1;
    CAIKing& king = *country.GetKing();
    king.Start();
    CAIBuildingAgent* agent = BuildingAgentOf(king);
    ASSERT_NE(agent, nullptr);
    EXPECT_FALSE(agent->ChooseBuildingPlan());
    EXPECT_TRUE(agent->GetChildren().IsEmpty());
    EXPECT_FALSE(agent->IsWaitingOnTimer());
    // Peace for another pair of countries changes nothing.
    country.m_diplomacy.atWarWithAny = 0;
    agent->OnPeace(40, 41);
    EXPECT_TRUE(agent->GetChildren().IsEmpty());
    // Its own peace starts the one plan the country can afford: a bailiff.
    agent->OnPeace(30, 41);
    ASSERT_EQ(agent->GetChildren().GetCount(), 1u);
    CAIBuildingPlan* plan = RunningPlan(*agent);
    ASSERT_NE(plan, nullptr);
    EXPECT_EQ(plan->GetPlanType(), AIPLAN_BUILD_BAILIFF);
    EXPECT_FLOAT_EQ(plan->GetPriority(), 10.0f);
    // One at a time.
    EXPECT_FALSE(agent->ChooseBuildingPlan());
    EXPECT_EQ(agent->GetChildren().GetCount(), 1u);
    // A war gives the running plan up, and nothing replaces it.
    agent->OnWar(30, 41);
    country.m_diplomacy.atWarWithAny = 1;
    EXPECT_TRUE(agent->GetChildren().IsEmpty());
}

TEST_F(BuildingAgentTest, NothingToBuildArmsTheTimer) {
    CAICountry& country = MakeBuilder();
    country.m_technology.infra.level = 0;
    CAIKing& king = *country.GetKing();
    king.Start();
    CAIBuildingAgent* agent = BuildingAgentOf(king);
    ASSERT_NE(agent, nullptr);
    EXPECT_TRUE(agent->GetChildren().IsEmpty());
    EXPECT_TRUE(agent->IsWaitingOnTimer());
}

TEST_F(BuildingAgentTest, ABailiffHeldWithinATenthOfACentBeginsInTheFirstEqualProvince) {
    ClientScope client;
    CAICountry& country = MakeBuilder();
    CAIKing& king = *country.GetKing();
    king.Start();
    CAIBuildingAgent* agent = BuildingAgentOf(king);
    ASSERT_NE(agent, nullptr);
    CAIBuildingPlan* plan = RunningPlan(*agent);
    ASSERT_NE(plan, nullptr);
    // The two cities score alike: the first in the country's order wins.
    EXPECT_EQ(plan->GetProvinceId(), kFirst);
    g_scheduler.Clear();
    plan->AddMoney(plan->GetCost() - 0.0015f);
    EXPECT_TRUE(ImprovementRequests().empty());
    plan->AddMoney(0.001f);
    EXPECT_EQ(ImprovementRequests(), std::vector<uint32_t>{kFirst});
}

TEST_F(BuildingAgentTest, ACityLostBeforeThePriceIsHeldMovesThePlanOrFailsIt) {
    ClientScope client;
    CAICountry& country = MakeBuilder();
    CAIKing& king = *country.GetKing();
    king.Start();
    CAIBuildingAgent* agent = BuildingAgentOf(king);
    ASSERT_NE(agent, nullptr);
    CAIBuildingPlan* plan = RunningPlan(*agent);
    ASSERT_NE(plan, nullptr);
    ASSERT_EQ(plan->GetProvinceId(), kFirst);
    // The first city goes: the bailiff goes to the second.
    GetProvince(kFirst)->SetCity(nullptr);
    g_scheduler.Clear();
    plan->AddMoney(plan->GetCost());
    EXPECT_TRUE(plan->HasSucceeded());
    EXPECT_EQ(ImprovementRequests(), std::vector<uint32_t>{kSecond});

    // With no city left, the next plan fails when paid, and gives its
    // money back.
    CAIBuildingPlan next(&king, AIBUILD_BAILIFF);
    next.Init(&king);
    next.Evaluate();
    ASSERT_GE(next.GetPriority(), 0.0f);
    next.Start();
    GetProvince(kSecond)->SetCity(nullptr);
    g_scheduler.Clear();
    next.AddMoney(next.GetCost());
    EXPECT_TRUE(next.HasFailed());
    EXPECT_TRUE(ImprovementRequests().empty());
}

TEST_F(BuildingAgentTest, MoneyTakenByAnotherPlanIsAskedForAgain) {
    ClientScope client;
    CAICountry& country = MakeBuilder();
    CAIKing& king = *country.GetKing();
    king.Start();
    CAIBuildingAgent* agent = BuildingAgentOf(king);
    ASSERT_NE(agent, nullptr);
    CAIBuildingPlan* plan = RunningPlan(*agent);
    ASSERT_NE(plan, nullptr);
    // Paid in part, its request closed, then robbed: it asks again.
    plan->AddMoney(plan->GetCost() - 10.0f);
    king.ReleaseAll(plan);
    ASSERT_EQ(plan->RequestSlot(AIRES_MONEY), nullptr);
    plan->TakeMoney(20.0f);
    ASSERT_NE(plan->RequestSlot(AIRES_MONEY), nullptr);
    EXPECT_FLOAT_EQ(plan->RequestSlot(AIRES_MONEY)->GetAmount(), 20.0f);
    // The same for a colonist plan's money and colonist.
    auto* colonist = new CAISendColonistPlan(&king);
    colonist->SetUp(&king, kFirst);
    king.AddChild(colonist);
    colonist->Start();
    king.ReleaseAll(colonist);
    colonist->AddColonists(1.0f);
    colonist->TakeColonists(1.0f);
    ASSERT_NE(colonist->RequestSlot(AIRES_COLONISTS), nullptr);
    EXPECT_FLOAT_EQ(colonist->RequestSlot(AIRES_COLONISTS)->GetAmount(), 1.0f);
    colonist->AddMoney(5.0f);
    colonist->TakeMoney(5.0f);
    ASSERT_NE(colonist->RequestSlot(AIRES_MONEY), nullptr);
    EXPECT_FLOAT_EQ(colonist->RequestSlot(AIRES_MONEY)->GetAmount(), 5.0f);
}

TEST_F(BuildingAgentTest, ABailiffNeedsTheCountrysReligion) {
    CAICountry& country = MakeBuilder();
    for (int32_t id : {kFirst, kSecond})
        GetProvince(id)->religion = RELIGION_SUNNI;
    CAIKing& king = *country.GetKing();
    CAIBuildingPlan plan(&king, AIBUILD_BAILIFF);
    plan.Init(&king);
    plan.Evaluate();
    EXPECT_FLOAT_EQ(plan.GetPriority(), -1.0f);
    country.m_technology.infra.level = 0;
    CAIBuildingPlan none(&king, AIBUILD_BAILIFF);
    none.Init(&king);
    none.Evaluate();
    EXPECT_FLOAT_EQ(none.GetPriority(), -1.0f);
}

} // namespace
