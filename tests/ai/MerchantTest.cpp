// The merchant agent's choice of a centre of trade, and the merchant,
// colonist and trader plans that buy their way to one send.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "ai/king/MerchantAgent.h"
#include "net/EventTypes.h"
#include "tests/ai/AIFixture.h"
#include "world/CentreOfTrade.h"
#include "world/Province.h"

namespace {

constexpr int32_t kCapital = 650;
constexpr int32_t kForeignSeat = 660;
constexpr int32_t kColony = 661;
constexpr int32_t kPost = 662;

class MerchantTest : public AIFixture {
protected:
    void SetUp() override {
        AIFixture::SetUp();
        g_cotCalc.Clear();
    }
    void TearDown() override {
        g_cotCalc.Clear();
        for (int32_t id : {kCapital, kForeignSeat, kColony, kPost}) {
            CProvince& province = *GetProvince(id);
            province.ResetForGame();
            province.box = Rect{};
            province.coastal = 0;
        }
        AIFixture::TearDown();
    }

    // Country 30 with its capital at 650 (owned and discovered), a second
    // country 31 owning 660; both provinces seat a centre of trade.
    CAICountry& MakeTrader() {
        CAICountry& self = MakeCountry(30);
        CAICountry& other = MakeCountry(31);
        CProvince& capital = *GetProvince(kCapital);
        capital.SetOwner(&self);
        capital.SetControllerField(&self);
        capital.discoveredBy[30] = 1;
        self.m_capital = kCapital;
        CProvince& seat = *GetProvince(kForeignSeat);
        seat.SetOwner(&other);
        seat.SetControllerField(&other);
        seat.discoveredBy[30] = 1;
        seat.box = Rect{4, 0, 4, 0};
        EXPECT_TRUE(g_cotCalc.AddCentreOfTrade(CCotCalc::NewCentreOfTrade(kCapital)));
        EXPECT_TRUE(g_cotCalc.AddCentreOfTrade(CCotCalc::NewCentreOfTrade(kForeignSeat)));
        return self;
    }

    static CCentreOfTrade& Centre(int32_t seat) { return *g_cotCalc.FindSeatedIn(seat); }

    static void SetShare(CCentreOfTrade& centre, int32_t country, float level, int32_t total) {
        auto entry = std::make_unique<CCotMerchant>();
        entry->country = country;
        entry->level = level;
        centre.SetMerchant(std::move(entry));
        centre.total = total;
    }

    static bool Queued(uint32_t type) {
        bool found = false;
        g_scheduler.ForEachEvent(
            [&found, type](COVEvent* event) { found = found || event->GetType() == type; });
        g_scheduler.ForEachSend(
            [&found, type](const COVEvent& event) { found = found || event.GetType() == type; });
        return found;
    }

    static CAIAgent* FirstChild(const CAIAgent& agent) {
        CLinkedList<CAIAgent>::CListPosition position = nullptr;
        agent.GetChildren().GetHeadPosition(position);
        return position ? position->item : nullptr;
    }

    static CAIMerchantAgent* MerchantAgentOf(CAIKing& king) {
        CAIMerchantAgent* found = nullptr;
        const_cast<CLinkedList<CAIAgent>&>(king.GetChildren()).ForEach([&found](CAIAgent* child) {
            if (auto* agent = dynamic_cast<CAIMerchantAgent*>(child))
                found = agent;
        });
        return found;
    }
};

TEST_F(MerchantTest, TheWeightedDrawLandsWhereTheWeightsRunOut) {
    const std::vector<AIWeightedProvince> entries = {{10, 3}, {20, 1}, {30, 5}};
    struct Case {
        int32_t draw;
        int32_t index;
    };
    for (const Case& c : {Case{0, 0}, Case{2, 0}, Case{3, 1}, Case{4, 2}, Case{8, 2}, Case{9, -1}})
        EXPECT_EQ(DrawWeightedIndex(entries, c.draw), c.index) << "draw " << c.draw;
    EXPECT_EQ(DrawWeightedIndex({}, 0), -1);
}

TEST_F(MerchantTest, ACentreRatesByItsValueCompetitionOwnerAndDistance) {
    CAICountry& country = MakeTrader();
    CAIMerchantAgent agent(country.GetKing());
    struct Case {
        const char* what;
        int32_t seat;
        float value;
        float ownLevel;
        int32_t total;
        float rating;
    };
    // The foreign seat lies 4 map units from the capital: d = 16.
    const Case cases[] = {
        {"own seat, crowded", kCapital, 10.0f, 0.0f, 8, 50.0f},
        {"own seat, fewer than six others", kCapital, 10.0f, 0.0f, 5, 75.0f},
        {"own seat, fewer than two others", kCapital, 10.0f, 0.0f, 1, 112.5f},
        {"own merchants count twice", kCapital, 10.0f, 3.0f, 8, 75.0f},
        {"own merchants hold most", kCapital, 10.0f, 4.0f, 8, 112.5f},
        {"foreign seat by squared distance", kForeignSeat, 32.0f, 0.0f, 8, 2.0f},
        {"foreign seat, fewer than six", kForeignSeat, 32.0f, 0.0f, 4, 3.0f},
    };
    for (const Case& c : cases) {
        CCentreOfTrade& centre = Centre(c.seat);
        centre.value = c.value;
        SetShare(centre, 30, c.ownLevel, c.total);
        EXPECT_FLOAT_EQ(agent.RateCentreOfTrade(c.seat), c.rating) << c.what;
    }
    // A centre the country may not place a merchant in.
    GetProvince(kForeignSeat)->discoveredBy[30] = 0;
    EXPECT_FLOAT_EQ(agent.RateCentreOfTrade(kForeignSeat), -1.0f);
    // No centre at all.
    EXPECT_FLOAT_EQ(agent.RateCentreOfTrade(kColony), -1.0f);
}

TEST_F(MerchantTest, CandidatesKeepRatingsOfOneOrMoreAndTheCapitalsCentreWithWeightOne) {
    CAICountry& country = MakeTrader();
    CAIMerchantAgent agent(country.GetKing());
    Centre(kCapital).value = 10.0f;
    SetShare(Centre(kCapital), 30, 0.0f, 8);
    // 8 / 16 = 0.5: too little on its own.
    Centre(kForeignSeat).value = 8.0f;
    SetShare(Centre(kForeignSeat), 31, 4.0f, 8);
    std::vector<AIWeightedProvince> entries = agent.MerchantCandidates();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].province, kCapital);
    EXPECT_EQ(entries[0].weight, 50);
    EXPECT_EQ(entries[1].province, kCapital);
    EXPECT_EQ(entries[1].weight, 1);
    // With the country's merchants holding most of it, a rating still at
    // 1.0 or more keeps the foreign centre (8 x 2.25 / 16 = 1.125 -> 1).
    SetShare(Centre(kForeignSeat), 30, 4.0f, 8);
    entries = agent.MerchantCandidates();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1].province, kForeignSeat);
    EXPECT_EQ(entries[1].weight, 1);
}

TEST_F(MerchantTest, TheAgentStartsOneMerchantPlanThatCancelsWithoutItsRequests) {
    ClientScope client;
    CAICountry& country = MakeTrader();
    country.m_aiPrefs.traders = 100;
    Centre(kCapital).value = 10.0f;
    CAIKing& king = *country.GetKing();
    king.Start();
    CAIMerchantAgent* agent = MerchantAgentOf(king);
    ASSERT_NE(agent, nullptr);
    ASSERT_EQ(agent->GetChildren().GetCount(), 1u);
    auto* plan = dynamic_cast<CAISendMerchantPlan*>(FirstChild(*agent));
    ASSERT_NE(plan, nullptr);
    EXPECT_EQ(plan->GetProvinceId(), kCapital);
    EXPECT_FLOAT_EQ(plan->GetPriority(), 85.0f);
    EXPECT_FLOAT_EQ(plan->GetPeopleWanted(), 1.0f);
    // Waiting while its requests stand.
    plan->Check();
    EXPECT_TRUE(plan->IsActive());
    // Without them it gives up, and the agent considers the next one.
    king.ReleaseAll(plan);
    plan->Check();
    EXPECT_TRUE(plan->HasFailed());
    EXPECT_EQ(agent->GetChildren().GetCount(), 1u);
    EXPECT_NE(FirstChild(*agent), plan);
}

TEST_F(MerchantTest, AColonistOrTraderPlanSendsOnlyOnceFullyFunded) {
    ClientScope client;
    CAICountry& country = MakeTrader();
    country.m_treasury = 5000.0f;
    country.m_colonists = 3.0f;
    CAIKing& king = *country.GetKing();
    king.Start();
    CProvince& target = *GetProvince(kColony);
    target.discoveredBy[30] = 1;
    target.coastal = 1;
    ASSERT_TRUE(country.CanSendColonist(kColony));

    struct Case {
        const char* what;
        float money;     // granted, less the wanted amount
        float colonists; // granted
        bool treasury;   // the country can still pay
        bool sent;
        bool ended;
    };
    const Case cases[] = {
        {"money only", 0.0f, 0.0f, true, false, false},
        {"colonist, money short", -1.0f, 1.0f, true, false, false},
        {"both, within the tolerance", -0.005f, 1.0f, true, true, true},
        {"both, but no longer allowed", 0.0f, 1.0f, false, false, true},
    };
    for (const Case& c : cases) {
        g_scheduler.Clear();
        country.m_treasury = c.treasury ? 5000.0f : 0.0f;
        auto* plan = new CAISendColonistPlan(&king);
        plan->SetUp(&king, kColony);
        king.AddChild(plan);
        plan->Start();
        ASSERT_GT(plan->GetMoneyWanted(), 0.0f) << c.what;
        const float wanted = plan->GetMoneyWanted();
        plan->AddMoney(wanted + c.money);
        if (c.colonists > 0.0f)
            plan->AddColonists(c.colonists);
        // Held in full, it asks once more for the price rounded up before
        // it sends.
        if (c.ended) {
            EXPECT_FALSE(Queued(EVT_SEND_COLONIST)) << c.what;
            EXPECT_FLOAT_EQ(plan->GetMoneyWanted(), std::trunc(wanted + 1.0f)) << c.what;
            plan->AddMoney(plan->GetMoneyWanted() - wanted);
        }
        EXPECT_EQ(Queued(EVT_SEND_COLONIST), c.sent) << c.what;
        EXPECT_EQ(plan->HasSucceeded() || plan->HasFailed(), c.ended) << c.what;
        EXPECT_EQ(plan->HasSucceeded(), c.sent) << c.what;
        if (!c.ended) {
            king.RemoveChild(plan);
            delete plan;
        }
    }

    // The trader plan: the trader's price and send.
    g_scheduler.Clear();
    country.m_treasury = 5000.0f;
    country.m_technology.trade.level = 2;
    GetProvince(kPost)->discoveredBy[30] = 1;
    GetProvince(kPost)->coastal = 1;
    ASSERT_TRUE(country.CanSendTrader(kPost));
    auto* trader = new CAISendTraderPlan(&king);
    trader->SetUp(&king, kPost);
    king.AddChild(trader);
    trader->Start();
    EXPECT_FLOAT_EQ(trader->GetMoneyWanted(), std::trunc(country.GetTraderCost(kPost)));
    trader->AddColonists(1.0f);
    EXPECT_FALSE(Queued(EVT_SEND_TRADER));
    trader->AddMoney(trader->GetMoneyWanted());
    EXPECT_FALSE(Queued(EVT_SEND_TRADER));
    trader->AddMoney(1.0f);
    EXPECT_TRUE(Queued(EVT_SEND_TRADER));
    EXPECT_FALSE(Queued(EVT_SEND_COLONIST));
    EXPECT_TRUE(trader->HasSucceeded());
}

} // namespace
