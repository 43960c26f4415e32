// The explorer's candidate lists, its rating of a place to settle and the
// colonist or trader plan it starts.
#include <gtest/gtest.h>

#include "ai/diplomacy/Explorer.h"
#include "ai/king/MerchantAgent.h"
#include "tests/ai/AIFixture.h"
#include "world/Province.h"

namespace {

constexpr int32_t kHome = 650;
constexpr int32_t kUnknownLand = 651;
constexpr int32_t kOpenLand = 652;
constexpr int32_t kPlainLand = 653;
constexpr int32_t kUnknownSea = 654;
constexpr int32_t kFavouredArea = 77;

class ExplorerTest : public AIFixture {
protected:
    // The explorer walks the whole map: nothing another test left there may
    // count.
    void SetUp() override {
        AIFixture::SetUp();
        for (CProvince& province : g_provinces) {
            province.ResetForGame();
            province.ClearNeighbours();
            province.area = 0;
            province.terrain = 0;
        }
    }
    void TearDown() override {
        for (int32_t id : {kHome, kUnknownLand, kOpenLand, kPlainLand, kUnknownSea}) {
            CProvince& province = *GetProvince(id);
            province.ResetForGame();
            province.ClearNeighbours();
            province.area = 0;
            province.terrain = 0;
            province.natives = 0;
            province.ferocity = 0.0f;
            province.tax = 0;
            province.coastal = 0;
        }
        AIFixture::TearDown();
    }

    // Country 30 owns 650; beside it 651 (unknown land) and 652 (known,
    // unowned, in a favoured area); 653 is known, unowned and plain; 654 an
    // unknown sea zone.
    CAICountry& MakeExplorer() {
        CAICountry& country = MakeCountry(30);
        country.m_aiPrefs.areas = {kFavouredArea};
        CProvince& home = *GetProvince(kHome);
        home.SetOwner(&country);
        home.SetControllerField(&country);
        home.discoveredBy[30] = 1;
        home.neighbours = {{kUnknownLand, 0, 0}, {kOpenLand, 0, 0}};
        GetProvince(kOpenLand)->discoveredBy[30] = 1;
        GetProvince(kOpenLand)->area = kFavouredArea;
        GetProvince(kOpenLand)->coastal = 1;
        GetProvince(kOpenLand)->neighbours = {{kHome, 0, 0}};
        GetProvince(kPlainLand)->discoveredBy[30] = 1;
        GetProvince(kUnknownSea)->area = kSeaArea;
        GetProvince(kUnknownSea)->terrain = 5;
        return country;
    }

    static CAIExplorer& Started(CAICountry& country, CAIExplorer& explorer) {
        explorer.Init(country.GetKing());
        explorer.Start();
        return explorer;
    }
};

using Ids = std::vector<int32_t>;

TEST_F(ExplorerTest, StartFilesTheKnownWorldIntoItsLists) {
    CAICountry& country = MakeExplorer();
    CAIExplorer explorer(country.GetKing());
    Started(country, explorer);
    EXPECT_EQ(explorer.GetLandCandidates(), Ids{kUnknownLand});
    EXPECT_EQ(explorer.GetSeaCandidates(), Ids{kUnknownSea});
    EXPECT_EQ(explorer.GetColonyCandidates(), Ids{kOpenLand});
    EXPECT_EQ(explorer.GetTradingPostCandidates(), Ids{kPlainLand});
    EXPECT_TRUE(explorer.GetTraderCandidates().empty());
    EXPECT_TRUE(explorer.GetColonistCandidates().empty());

    // Discovering the unknown land moves it from the land candidates to
    // the places to settle; another country's discovery changes nothing.
    GetProvince(kUnknownLand)->discoveredBy[30] = 1;
    explorer.OnProvinceDiscovered(31, kUnknownLand);
    EXPECT_EQ(explorer.GetLandCandidates(), Ids{kUnknownLand});
    explorer.OnProvinceDiscovered(30, kUnknownLand);
    EXPECT_TRUE(explorer.GetLandCandidates().empty());
    EXPECT_EQ(explorer.GetTradingPostCandidates(), (Ids{kPlainLand, kUnknownLand}));

    // Settled by another country: it leaves every list.
    CAICountry& other = MakeCountry(31);
    GetProvince(kOpenLand)->SetOwner(&other);
    explorer.OnSettlementChanged(31, kOpenLand);
    EXPECT_TRUE(explorer.GetColonyCandidates().empty());
}

TEST_F(ExplorerTest, APlaceRatesByGoodsTaxNeighboursAndNatives) {
    CAICountry& country = MakeExplorer();
    country.m_aiPrefs.neighbour = 20;
    country.m_aiPrefs.enemies = 10;
    CAIExplorer explorer(country.GetKing());
    struct Case {
        const char* what;
        int32_t province;
        int32_t tax;
        int32_t natives;
        float ferocity;
        float rating;
    };
    // 2 x tax + 250, + 20 beside an own province.
    const Case cases[] = {
        {"beside own land", kOpenLand, 5, 0, 0.0f, 280.0f},
        {"alone", kPlainLand, 5, 0, 0.0f, 260.0f},
        {"fierce natives", kPlainLand, 5, 0, 2.0f, 254.0f},
        {"two natives", kPlainLand, 5, 2, 0.0f, 260.0f / 3.0f},
        {"five natives", kPlainLand, 5, 5, 0.0f, 0.0f},
    };
    for (const Case& c : cases) {
        CProvince& province = *GetProvince(c.province);
        province.tax = c.tax;
        province.natives = c.natives;
        province.ferocity = c.ferocity;
        EXPECT_FLOAT_EQ(explorer.RateProvince(c.province), c.rating) << c.what;
    }
    // A neighbour of another country adds the "enemies" weight.
    CAICountry& other = MakeCountry(31);
    GetProvince(kHome)->SetOwner(&other);
    GetProvince(kOpenLand)->natives = 0;
    EXPECT_FLOAT_EQ(explorer.RateProvince(kOpenLand), 270.0f);
}

TEST_F(ExplorerTest, SettlementGoesToTheBestPlaceOrNowhere) {
    ClientScope client;
    CAICountry& country = MakeExplorer();
    country.m_aiPrefs.expansion = 40;
    country.m_treasury = 5000.0f;
    country.m_colonists = 2.0f;
    // With nothing known to settle: no plan.
    GetProvince(kOpenLand)->discoveredBy[30] = 0;
    GetProvince(kPlainLand)->discoveredBy[30] = 0;
    CAIExplorer empty(country.GetKing());
    Started(country, empty);
    empty.PlanSettlement();
    EXPECT_EQ(empty.CountSettlementPlans(), 0);

    // The colony candidate gets a colonist (no trading posts yet).
    GetProvince(kOpenLand)->discoveredBy[30] = 1;
    CAIExplorer explorer(country.GetKing());
    Started(country, explorer);
    explorer.PlanSettlement();
    ASSERT_EQ(explorer.CountSettlementPlans(), 1);
    CLinkedList<CAIAgent>::CListPosition position = nullptr;
    explorer.GetChildren().GetHeadPosition(position);
    auto* plan = dynamic_cast<CAISendColonistPlan*>(position->item);
    ASSERT_NE(plan, nullptr);
    EXPECT_EQ(plan->GetPlanType(), AIPLAN_SEND_COLONIST);
    EXPECT_EQ(plan->GetProvinceId(), kOpenLand);
    // A plan that gives up leads to the next one at once.
    plan->Cancel();
    EXPECT_EQ(explorer.CountSettlementPlans(), 1);
}

} // namespace
