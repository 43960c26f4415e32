// Territories over a small hand-made map of provinces owned by real
// countries: forming them, joining and splitting on owner changes, deleting
// an emptied one, and the queries the computer player and the countries use.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "country/Country.h"
#include "data/Keywords.h"
#include "data/TokenFile.h"
#include "tests/TestSupport.h"
#include "world/Areas.h"
#include "world/City.h"
#include "world/Province.h"
#include "world/Territory.h"

namespace {

std::vector<std::string> g_told;

class TerritoryUpdateTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_told.clear();
        g_territoryAI.touch = [](CLandTerritory&, CSeaTerritory&) { g_told.push_back("touch"); };
        g_territoryAI.untouch = [](CLandTerritory&, CSeaTerritory&) {
            g_told.push_back("untouch");
        };
        g_territoryAI.deleted = [](CLandTerritory&) { g_told.push_back("deleted"); };
        x = MakeCountry(10);
        y = MakeCountry(11);
    }
    void TearDown() override {
        FreeTerritories();
        for (int32_t id = 1; id <= 40; ++id) {
            CProvince& p = P(id);
            p.ResetForGame();
            p.ClearNeighbours();
            p.area = p.region = p.terrain = 0;
        }
        DeleteAllCountries();
        g_territoryAI = {};
    }

    static CProvince& P(int32_t id) { return *GetProvince(id); }

    CCountry* MakeCountry(uint32_t number) {
        auto country = std::make_unique<CCountry>(number);
        CCountry* made = country.get();
        EXPECT_TRUE(AddCountry(std::move(country)));
        return made;
    }

    static void Link(int32_t a, int32_t b) {
        P(a).AddNeighbour({b, 0, 0});
        P(b).AddNeighbour({a, 0, 0});
    }
    static void Sea(int32_t id, int32_t region) {
        P(id).terrain = 5;
        P(id).area = kSeaArea;
        P(id).region = region;
    }
    static void Own(int32_t id, CCountry* country) {
        P(id).SetOwner(country);
        P(id).SetControllerField(country);
    }
    // The owner takes the province (null: abandoned) and the territories
    // follow.
    static void Change(int32_t id, CCountry* to) {
        CCountry* from = P(id).GetOwner();
        if (to)
            Own(id, to);
        UpdateTerritories(P(id), to, from, true);
    }

    static int32_t LinkCount(CTerritory* from, CTerritory* to) {
        const CTerritoryLink* link = from ? from->FindLink(to) : nullptr;
        return link ? link->count : 0;
    }
    static std::vector<int32_t> Ids(CTerritory* t) {
        std::vector<int32_t> out;
        t->GetProvinces().ForEach([&](CProvince* p) { out.push_back(p->GetNumber()); });
        return out;
    }

    CCountry* x = nullptr;
    CCountry* y = nullptr;
};

TEST_F(TerritoryUpdateTest, BuildingFormsLandSeaAndLakeTerritoriesWithTheirLinks) {
    // x: 1-2-3 and 5 apart; y: 4 beside 3. Sea 20-21 (one region) and 22
    // (another) in a row; 1 and 5 on 20's coast; lake 30 beside 2.
    Sea(20, 40);
    Sea(21, 40);
    Sea(22, 41);
    P(30).terrain = 5;
    P(30).area = kLakeArea;
    Link(1, 2);
    Link(2, 3);
    Link(3, 4);
    Link(1, 20);
    Link(5, 20);
    Link(20, 21);
    Link(21, 22);
    Link(2, 30);
    for (int32_t id : {1, 2, 3, 5})
        Own(id, x);
    Own(4, y);
    BuildTerritories();

    EXPECT_EQ(x->m_territories.GetCount(), 2u);
    EXPECT_EQ(y->m_territories.GetCount(), 1u);
    EXPECT_EQ(g_territories.GetCount(), 2u);
    EXPECT_EQ(g_lakeTerritories.GetCount(), 1u);
    CTerritory* main = P(1).territory;
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Ids(main), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(Ids(P(5).territory), std::vector<int32_t>{5});
    EXPECT_EQ(P(20).territory, P(21).territory);
    ASSERT_NE(P(22).territory, nullptr);
    EXPECT_NE(P(22).territory, P(21).territory); // another region: a sea of its own
    EXPECT_NE(P(30).territory->AsLake(), nullptr);

    EXPECT_EQ(LinkCount(main, P(4).territory), 1);
    EXPECT_EQ(LinkCount(P(4).territory, main), 1);
    EXPECT_EQ(LinkCount(main, P(20).territory), 1);
    EXPECT_EQ(LinkCount(P(20).territory, main), 1);
    EXPECT_EQ(LinkCount(P(20).territory, P(22).territory), 1);
    EXPECT_EQ(LinkCount(P(30).territory, main), 1);
    EXPECT_EQ(g_told, (std::vector<std::string>{"touch", "touch"}));

    EXPECT_EQ(main->GetOwner(), x);
    EXPECT_EQ(P(20).territory->GetOwner(), nullptr);
    EXPECT_TRUE(main->BordersCountry(y));
    EXPECT_FALSE(main->BordersCountry(x));
    x->m_capital = 2;
    EXPECT_TRUE(main->HoldsCapital());
    EXPECT_FALSE(P(5).territory->HoldsCapital());
    EXPECT_EQ(FindNeighbourTerritory(P(4), x), main);
    EXPECT_EQ(FindNeighbourTerritory(P(4), y), nullptr);

    main->visitMark = P(4).territory->visitMark = P(20).territory->visitMark = 1;
    main->ClearMarks();
    EXPECT_EQ(main->visitMark + P(4).territory->visitMark + P(20).territory->visitMark, 0);
}

TEST_F(TerritoryUpdateTest, AProvinceJoiningTwoTerritoriesOfItsOwnerMakesOne) {
    Sea(20, 40);
    Link(1, 2);
    Link(2, 3);
    Link(3, 20);
    Link(3, 4);
    Own(1, x);
    Own(3, x);
    Own(4, x);
    BuildTerritories();
    ASSERT_EQ(x->m_territories.GetCount(), 2u);
    CTerritory* sea = P(20).territory;
    g_told.clear();

    Change(2, x);
    ASSERT_EQ(x->m_territories.GetCount(), 1u);
    CTerritory* joined = P(2).territory;
    for (int32_t id : {1, 2, 3, 4})
        EXPECT_EQ(P(id).territory, joined) << id;
    EXPECT_EQ(joined->GetProvinces().GetCount(), 4u);
    EXPECT_EQ(LinkCount(joined, sea), 1);
    EXPECT_EQ(LinkCount(sea, joined), 1);
    EXPECT_EQ(sea->GetLinks().GetCount(), 1u);
    // The smaller one (province 1) was merged into the larger and deleted.
    EXPECT_EQ(g_told, (std::vector<std::string>{"deleted"}));
    EXPECT_EQ(static_cast<CLandTerritory*>(x->m_territories.GetTail()->item), joined);
}

TEST_F(TerritoryUpdateTest, TakingTheMiddleOfAChainSplitsOffTheLoneEnd) {
    // A(1) - P(2) - B(3) - 4 - 5, all x's; y takes P.
    for (int32_t id = 1; id < 5; ++id)
        Link(id, id + 1);
    for (int32_t id = 1; id <= 5; ++id)
        Own(id, x);
    BuildTerritories();
    CTerritory* old = P(3).territory;
    ASSERT_EQ(old->GetProvinces().GetCount(), 5u);

    Change(2, y);
    ASSERT_EQ(x->m_territories.GetCount(), 2u);
    EXPECT_EQ(P(3).territory, old);
    EXPECT_EQ(Ids(old), (std::vector<int32_t>{3, 4, 5}));
    ASSERT_NE(P(1).territory, nullptr);
    EXPECT_NE(P(1).territory, old);
    EXPECT_EQ(Ids(P(1).territory), std::vector<int32_t>{1});
    EXPECT_EQ(P(1).territory->GetOwner(), x);
    CTerritory* taken = P(2).territory;
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(taken->GetOwner(), y);
    EXPECT_EQ(y->m_territories.GetCount(), 1u);
    EXPECT_EQ(LinkCount(taken, old), 1);
    EXPECT_EQ(LinkCount(old, taken), 1);
    EXPECT_EQ(LinkCount(taken, P(1).territory), 1);
    EXPECT_EQ(LinkCount(P(1).territory, taken), 1);
    EXPECT_EQ(LinkCount(old, P(1).territory), 0);
    for (int32_t id = 1; id <= 5; ++id)
        EXPECT_EQ(P(id).territoryWalkMark, 0);
}

TEST_F(TerritoryUpdateTest, LosingTheLastProvinceDeletesTheTerritory) {
    Sea(20, 40);
    Link(1, 20);
    Own(1, x);
    BuildTerritories();
    CTerritory* sea = P(20).territory;
    ASSERT_EQ(LinkCount(P(1).territory, sea), 1);
    g_told.clear();

    P(1).inTerritoryUpdate = 1;
    UpdateTerritories(P(1), nullptr, x, true);
    P(1).inTerritoryUpdate = 0;
    EXPECT_EQ(P(1).territory, nullptr);
    EXPECT_TRUE(x->m_territories.IsEmpty());
    EXPECT_TRUE(sea->GetLinks().IsEmpty());
    EXPECT_EQ(g_told, (std::vector<std::string>{"untouch", "deleted"}));
}

TEST_F(TerritoryUpdateTest, ACityLeavingColonyStatusLowersTheColonisableCount) {
    Link(1, 2);
    Own(1, x);
    Own(2, x);
    BuildTerritories();
    CLandTerritory* land = P(1).territory->AsLand();
    ASSERT_EQ(land->GetColonisableCount(), 2);
    UpdateTerritories(P(1), x, x, true); // no city: nothing
    EXPECT_EQ(land->GetColonisableCount(), 2);
    // A town (population 700 and more) is no colony.
    test::TempDir scratch;
    scratch.WriteFile("city.txt", "population = 800.000000 }");
    BuildKeywordIndex();
    CFieldReader in;
    in.Open((scratch.Path() / "city.txt").string(), "r");
    auto city = std::make_unique<CCity>();
    ASSERT_EQ(city->Read(in), FIELD_BLOCK_END);
    P(1).SetCity(std::move(city));
    UpdateTerritories(P(1), x, x, false);
    EXPECT_EQ(land->GetColonisableCount(), 2);
    UpdateTerritories(P(1), x, x, true);
    EXPECT_EQ(land->GetColonisableCount(), 1);
}

TEST_F(TerritoryUpdateTest, TheNearestTerritoryOfACountry) {
    P(1).box = {0, 0, 100, 100};
    P(5).box = {1000, 0, 1100, 100};
    P(9).box = {900, 0, 950, 100};
    Own(1, x);
    Own(5, x);
    BuildTerritories();
    EXPECT_EQ(FindTerritoryNearest(*x, P(9)), P(5).territory);
    EXPECT_EQ(FindTerritoryNearest(*x, P(1)), P(1).territory);
    EXPECT_EQ(FindTerritoryNearest(*y, P(9)), nullptr);
    for (int32_t id : {1, 5, 9})
        P(id).box = {};
}

TEST_F(TerritoryUpdateTest, FreeingForgetsEveryTerritory) {
    Sea(20, 40);
    Link(1, 20);
    Own(1, x);
    BuildTerritories();
    FreeTerritories();
    EXPECT_EQ(P(1).territory, nullptr);
    EXPECT_EQ(P(20).territory, nullptr);
    EXPECT_TRUE(x->m_territories.IsEmpty());
    EXPECT_TRUE(g_territories.IsEmpty());
}

// A sea zone has no owner: a country that would take it leaves it in its
// sea territory, and the country's land territories stay as they were.
TEST_F(TerritoryUpdateTest, ASeaZoneStaysInItsSeaTerritory) {
    Sea(20, 40);
    Link(1, 20);
    Own(1, x);
    BuildTerritories();
    CTerritory* sea = P(20).territory;
    ASSERT_TRUE(sea && sea->AsSea());
    CTerritory* land = P(1).territory;
    P(20).ChangeOwner(x);
    EXPECT_EQ(P(20).GetOwner(), nullptr);
    EXPECT_EQ(P(20).territory, sea);
    EXPECT_EQ(P(1).territory, land);
    EXPECT_EQ(static_cast<int>(x->m_territories.GetCount()), 1);
}

// A territory that a list still holds after its provinces stopped pointing
// to it is deleted too (the leak check of the sanitizer build sees it).
TEST_F(TerritoryUpdateTest, FreeingDeletesTerritoriesNoProvincePointsTo) {
    Sea(20, 40);
    Link(1, 20);
    Own(1, x);
    BuildTerritories();
    P(20).territory = nullptr;
    P(1).territory = nullptr;
    FreeTerritories();
    EXPECT_TRUE(x->m_territories.IsEmpty());
    EXPECT_TRUE(g_territories.IsEmpty());
}

} // namespace
