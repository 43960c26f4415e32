// The King's budget: the shares it asks for, its boosts, the bankruptcy
// aid, and the manufactory chooser's kind.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <memory>
#include <optional>
#include <vector>

#include "ai/king/Budget.h"
#include "country/Ledger.h"
#include "country/Loan.h"
#include "net/EventTypes.h"
#include "tests/ai/AIFixture.h"
#include "world/City.h"
#include "world/Goods.h"
#include "world/Province.h"

namespace {

class BudgetTest : public AIFixture {
protected:
    // A computer country with a month's tax income and upkeep, its King
    // started (on a client, so that requests wait to be sent).
    CAICountry& MakeBudgeted(float income, float upkeep, int32_t stability) {
        CAICountry& country = MakeCountry(30);
        country.m_monthlyTaxIncome = income;
        country.m_ledger.lastMonthExpense[EXPENSE_ARMY_MAINTENANCE] = upkeep;
        country.SetStability(stability);
        country.GetKing()->Start();
        g_scheduler.Clear();
        return country;
    }

    // The shares of the last investment change queued, in the order land,
    // naval, production, trade, stability, treasury.
    static std::optional<std::array<float, 6>> RequestedShares() {
        std::optional<std::array<float, 6>> shares;
        g_scheduler.ForEachEvent([&shares](COVEvent* event) {
            if (event->GetType() != EVT_REQUEST_INVESTMENT_CHANGE)
                return;
            std::array<float, 6> values{};
            for (size_t i = 0; i < values.size(); ++i)
                values[i] =
                    std::bit_cast<float>(event->Payload().Get(InvestmentChangePayload::kValues[i]));
            // The request carries naval first, then land.
            std::swap(values[0], values[1]);
            shares = values;
        });
        return shares;
    }

    static const COVEvent* Sent(uint32_t type) {
        const COVEvent* found = nullptr;
        g_scheduler.ForEachSend([&found, type](const COVEvent& event) {
            if (event.GetType() == type)
                found = &event;
        });
        return found;
    }

    static int CountPlans(CAIKing& king, int32_t type, float* priority = nullptr) {
        int count = 0;
        const_cast<CLinkedList<CAIAgent>&>(king.GetChildren()).ForEach([&](CAIAgent* child) {
            if (CAIPlan* plan = child ? child->AsPlan() : nullptr;
                plan && plan->GetPlanType() == type) {
                ++count;
                if (priority)
                    *priority = plan->GetPriority();
            }
        });
        return count;
    }
};

TEST_F(BudgetTest, AnUnstableCountryPutsEverythingIntoStabilityAndCoversItsUpkeep) {
    ClientScope client;
    CAICountry& country = MakeBudgeted(100.0f, 30.0f, -3);
    CAIKing& king = *country.GetKing();
    GameSrand(7);
    king.AllocateBudget();
    // s = 1, m raised to the upkeep 0.3; land 0.35, production and trade
    // 0.175 each; over the sum 2.0.
    const auto shares = RequestedShares();
    ASSERT_TRUE(shares);
    const std::array<float, 6> expected{0.175f, 0.0f, 0.0875f, 0.0875f, 0.5f, 0.15f};
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR((*shares)[i], expected[i], 1e-5f) << i;
    float priority = 0.0f;
    EXPECT_EQ(CountPlans(king, AIPLAN_BOOST_STABILITY, &priority), 1);
    EXPECT_FLOAT_EQ(priority, 60.0f);
    EXPECT_TRUE(king.IsStabilityBoostRunning());
    // A second budget starts no second stability boost.
    king.AllocateBudget();
    EXPECT_EQ(CountPlans(king, AIPLAN_BOOST_STABILITY), 1);
}

TEST_F(BudgetTest, SharesByTheCountrysState) {
    struct Case {
        const char* name;
        float income, upkeep, treasury;
        int32_t stability;
        bool atWar;
        std::array<float, 6> shares; // land naval production trade stability treasury
    };
    // Stability 3 with a non-negative boost base: no stability share.
    const Case cases[] = {
        // m capped at 0.66: the rest split between land (no colonial base)
        // and production and trade.
        {"poor", 100, 10, 0, 3, false, {0.17f, 0.0f, 0.085f, 0.085f, 0.0f, 0.66f}},
        // Yearly income below the treasury: only the upkeep is kept.
        {"rich", 100, 10, 5000, 3, false, {0.45f, 0.0f, 0.225f, 0.225f, 0.0f, 0.1f}},
        // At war nothing goes to technology, trade or production.
        {"war", 100, 10, 0, 3, true, {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f}},
    };
    for (const Case& c : cases) {
        ClientScope client;
        CAICountry& country = MakeBudgeted(c.income, c.upkeep, c.stability);
        country.m_treasury = c.treasury;
        country.m_diplomacy.atWarWithAny = c.atWar ? 1 : 0;
        country.GetKing()->AllocateBudget();
        const auto shares = RequestedShares();
        ASSERT_TRUE(shares) << c.name;
        for (size_t i = 0; i < c.shares.size(); ++i)
            EXPECT_NEAR((*shares)[i], c.shares[i], 1e-5f) << c.name << " " << i;
        EXPECT_FLOAT_EQ((*shares)[2], (*shares)[3]) << c.name;
        if (c.atWar) {
            EXPECT_EQ(CountPlans(*country.GetKing(), AIPLAN_BOOST_LANDTECH) +
                          CountPlans(*country.GetKing(), AIPLAN_BOOST_TRADE) +
                          CountPlans(*country.GetKing(), AIPLAN_BOOST_PRODUCTION) +
                          CountPlans(*country.GetKing(), AIPLAN_BOOST_NAVALTECH),
                      0);
        }
        DeleteAllCountries();
        g_scheduler.Clear();
    }
}

TEST_F(BudgetTest, NothingToShareLeavesTheSharesAlone) {
    // At war, stable and rich with no upkeep: every share is 0. The budget
    // must not divide by their sum.
    ClientScope client;
    CAICountry& country = MakeBudgeted(100.0f, 0.0f, 3);
    country.m_treasury = 5000.0f;
    country.m_diplomacy.atWarWithAny = 1;
    country.GetKing()->AllocateBudget();
    EXPECT_FALSE(RequestedShares());
    // No income at all: the treasury keeps everything, nothing divides by 0.
    country.m_monthlyTaxIncome = 0.0f;
    country.m_diplomacy.atWarWithAny = 0;
    country.GetKing()->AllocateBudget();
    const auto shares = RequestedShares();
    ASSERT_TRUE(shares);
    EXPECT_FLOAT_EQ((*shares)[5], 1.0f);
}

TEST_F(BudgetTest, ACountryThatCanNeitherPayNorBorrowGetsFiveUpkeepsAndTen) {
    ClientScope client;
    CAICountry& country = MakeBudgeted(100.0f, 40.0f, 3);
    country.m_treasury = 20.0f;
    for (int i = 0; i < 5; ++i) {
        auto loan = std::make_unique<CLoan>(country.GetId());
        loan->lender = g_bankId;
        country.m_loans.push_back(std::move(loan));
    }
    ASSERT_FALSE(country.CanTakeLoan());
    country.GetKing()->AllocateBudget();
    const COVEvent* aid = Sent(EVT_GAINMONEY);
    ASSERT_NE(aid, nullptr);
    EXPECT_EQ(aid->GetReceiver(), country.GetId());
    EXPECT_FLOAT_EQ(aid->Payload().Get(MoneyPayload::kAmount), 210.0f);
    EXPECT_EQ(aid->Payload().Get(MoneyPayload::kKind), 6u);

    // One that may still borrow gets no aid.
    g_scheduler.Clear();
    country.m_loans.clear();
    country.GetKing()->AllocateBudget();
    EXPECT_EQ(Sent(EVT_GAINMONEY), nullptr);
}

TEST_F(BudgetTest, TheManufactoryKindFallsBackOnTheSecondDrawForKindZero) {
    const int32_t weights[6] = {0, 1, 1, 1, 1, 1};
    const int32_t heavy[6] = {2, 1, 0, 0, 3, 0};
    struct Case {
        const int32_t (*weights)[6];
        int32_t first, fallback, kind;
    };
    for (const Case& c : {Case{&weights, 0, 0, 2}, Case{&weights, 0, 4, 1}, Case{&weights, 1, 3, 1},
                          Case{&weights, 3, 0, 3}, Case{&weights, 5, 0, 5}, Case{&heavy, 1, 1, 3},
                          Case{&heavy, 3, 2, 1}, Case{&heavy, 4, 0, 4}})
        EXPECT_EQ(DrawManufactoryKind(*c.weights, c.first, c.fallback), c.kind)
            << c.first << " " << c.fallback;
}

TEST_F(BudgetTest, TheChooserBuildsWhereTheGoodsCallAndOnlyInPeaceBelowTheLimit) {
    ClientScope client;
    CAICountry& country = MakeCountry(30);
    g_gameTimer->currentDate = CDate(1, 0, 1700);
    country.m_technology.infra.level = 10;
    country.m_treasury = 100000.0f;
    country.m_religion.stateReligion = RELIGION_CATHOLIC;
    CTradeGoods grain("grain", 10);
    grain.id = 1;
    std::vector<int32_t> touched;
    for (int32_t id : {650, 651}) {
        touched.push_back(id);
        CProvince& province = *GetProvince(id);
        province.ResetForGame();
        province.SetOwner(&country);
        province.SetControllerField(&country);
        auto city = std::make_unique<CCity>();
        city->SetProvinceId(id);
        city->SetPopulation(3000.0f);
        country.m_cities.AddTail(city.get());
        province.SetCity(std::move(city));
    }
    GetProvince(651)->goods = &grain;
    CAIKing& king = *country.GetKing();
    // At war: nothing.
    country.m_diplomacy.atWarWithAny = 1;
    king.Start();
    EXPECT_FALSE(king.IsManufactoryPlanRunning());
    // At the limit: nothing.
    country.m_diplomacy.atWarWithAny = 0;
    country.m_figures.manufactories = country.GetYearScaledLimit();
    king.ChooseManufactory();
    EXPECT_FALSE(king.IsManufactoryPlanRunning());
    // Below it: the goods' province, and the goods' kind.
    country.m_figures.manufactories = 0;
    king.ChooseManufactory();
    ASSERT_TRUE(king.IsManufactoryPlanRunning());
    CAIManufactoryPlan* plan = nullptr;
    const_cast<CLinkedList<CAIAgent>&>(king.GetChildren()).ForEach([&plan](CAIAgent* child) {
        if (auto* made = dynamic_cast<CAIManufactoryPlan*>(child))
            plan = made;
    });
    ASSERT_NE(plan, nullptr);
    EXPECT_EQ(plan->GetProvinceId(), 651);
    EXPECT_EQ(plan->GetKind(), 5);
    // Paid in full it sends the request and ends.
    g_scheduler.Clear();
    plan->AddMoney(plan->GetCost());
    EXPECT_TRUE(plan->HasSucceeded());
    bool asked = false;
    g_scheduler.ForEachEvent(
        [&asked](COVEvent* event) { asked = asked || event->GetType() == EVT_REQ_BUILD_FACILITY; });
    g_scheduler.ForEachSend([&asked](const COVEvent& event) {
        asked = asked || event.GetType() == EVT_REQ_BUILD_FACILITY;
    });
    EXPECT_TRUE(asked);
    for (int32_t id : touched)
        GetProvince(id)->ResetForGame();
}

TEST_F(BudgetTest, ABoostActsOnceItHolds200OrGivesUp) {
    CAICountry& country = MakeBudgeted(100.0f, 0.0f, 3);
    CAIKing& king = *country.GetKing();
    auto* boost = new CAIBoostPlan(&king, AIPLAN_BOOST_TRADE);
    boost->Init(&king);
    king.AddChild(boost);
    boost->Start();
    boost->AddMoney(150.0f);
    EXPECT_TRUE(boost->IsActive());
    // Not allowed now (no treasury): the plan gives up at 200.
    country.m_treasury = 0.0f;
    boost->AddMoney(50.0f);
    EXPECT_TRUE(boost->HasFailed());
}

} // namespace
