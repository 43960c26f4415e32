// Province control between real countries over a small hand-made map: owner
// and controller changes, abandoning and discovery keep every country list,
// settlement list and territory in step with the province records; the
// conquering request goes to the right country; combats keep their order;
// supply levels and attrition follow the standing of the countries.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "country/Country.h"
#include "engine/GameTimer.h"
#include "engine/ObjectId.h"
#include "engine/TextDatabase.h"
#include "net/EventTypes.h"
#include "net/Scheduler.h"
#include "tests/TestSupport.h"
#include "world/City.h"
#include "world/Province.h"
#include "world/ProvinceControl.h"
#include "world/Territory.h"
#include "world/TradingPost.h"

namespace {

struct Delivery {
    uint32_t type;
    uint32_t country;
    uint32_t province;
};
std::vector<Delivery> g_delivered;

// A country that records the messages it receives.
class RecordingCountry : public CCountry {
public:
    explicit RecordingCountry(uint32_t number) : CCountry(number) {}
    int HandleMessage(COVEvent& event) override {
        g_delivered.push_back(
            {event.GetType(), GetNumber(), event.Payload().Get(COVProvinceEvent::kProvince)});
        return EVENT_CONSUMED;
    }
};

constexpr int32_t kSea = 20;
constexpr int32_t kLastLand = 8;

class ProvinceControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitIdRegistries(g_nullId);
        g_gameTimer = std::make_unique<CGameTimer>(15);
        g_gameTimer->currentDate = CDate(1, 5, 1500);
        m_savedHooks = g_provinceControl;
        g_delivered.clear();
        a = Make(10);
        b = Make(11);
        c = Make(12);
        // Land 1-2-3-4-5-6 in a row, 7 and 8 beside 6; sea zone 20 off 1.
        for (int32_t id = 1; id < 6; ++id)
            Link(id, id + 1);
        Link(6, 7);
        Link(6, 8);
        P(kSea).terrain = 5;
        P(kSea).area = kSeaArea;
        Link(1, kSea);
    }
    void TearDown() override {
        FreeTerritories();
        for (int32_t id : Ids()) {
            P(id).ResetForGame();
            P(id).ClearNeighbours();
            P(id).terrain = P(id).area = P(id).climate = 0;
            P(id).tax = 0;
            P(id).linkedProvinces = {};
        }
        DeleteAllCountries();
        g_provinceControl = m_savedHooks;
        g_scheduler.Clear();
        g_gameTimer.reset();
        FreeIdRegistries();
    }

    static std::vector<int32_t> Ids() {
        std::vector<int32_t> ids;
        for (int32_t id = 1; id <= kLastLand; ++id)
            ids.push_back(id);
        ids.push_back(kSea);
        return ids;
    }
    static CProvince& P(int32_t id) { return *GetProvince(id); }
    static void Link(int32_t x, int32_t y) {
        P(x).AddNeighbour({y, 0, 0});
        P(y).AddNeighbour({x, 0, 0});
    }
    static CCountry* Make(uint32_t number) {
        auto country = std::make_unique<RecordingCountry>(number);
        CCountry* made = country.get();
        EXPECT_TRUE(AddCountry(std::move(country)));
        return made;
    }
    static CCity* GiveCity(int32_t id, CCountry* owner, float population, bool capital = false) {
        auto city = std::make_unique<CCity>();
        city->SetPopulation(population);
        CCity* made = city.get();
        P(id).SetCity(std::move(city));
        if (owner)
            owner->m_cities.AddTail(made);
        if (capital) {
            made->MakeCapital();
            if (owner)
                owner->m_capital = id;
        }
        return made;
    }
    static void War(CCountry* x, CCountry* y) {
        x->m_diplomacy.GetRelation(y->GetNumber())->atWar = 1;
        y->m_diplomacy.GetRelation(x->GetNumber())->atWar = 1;
    }
    static void SameSide(CCountry* x, CCountry* y) {
        x->m_diplomacy.GetRelation(y->GetNumber())->sameSide = 1;
        y->m_diplomacy.GetRelation(x->GetNumber())->sameSide = 1;
    }

    // Every province record agrees with every country's lists, and every
    // owned province lies in a territory of its owner.
    static ::testing::AssertionResult Consistent() {
        for (CCountry* country : {CountryOfNumber(10), CountryOfNumber(11), CountryOfNumber(12)}) {
            std::string fault;
            const int32_t n = static_cast<int32_t>(country->GetNumber());
            country->m_ownedProvinces.ForEach([&](int32_t id) {
                if (P(id).GetOwner() != country)
                    fault += " owned list of " + std::to_string(n) + " has " + std::to_string(id);
            });
            country->m_controlledProvinces.ForEach([&](int32_t id) {
                if (P(id).GetController() != country)
                    fault +=
                        " controlled list of " + std::to_string(n) + " has " + std::to_string(id);
            });
            country->m_cities.ForEach([&](CCity* city) {
                bool found = false;
                for (int32_t id : Ids())
                    found = found || (P(id).GetCity() == city && P(id).GetOwner() == country);
                if (!found)
                    fault += " city list of " + std::to_string(n) + " has a stranger";
            });
            country->m_tradingPosts.ForEach([&](CTradingPost* post) {
                bool found = false;
                for (int32_t id : Ids())
                    found =
                        found || (P(id).GetTradingPost() == post && P(id).GetOwner() == country);
                if (!found)
                    fault += " post list of " + std::to_string(n) + " has a stranger";
            });
            if (!fault.empty())
                return ::testing::AssertionFailure() << fault;
        }
        for (int32_t id : Ids()) {
            const CProvince& p = P(id);
            CCountry* owner = p.GetOwner();
            CCountry* controller = p.GetController();
            if ((owner == nullptr) != (controller == nullptr))
                return ::testing::AssertionFailure() << id << " has only one of owner, controller";
            if (owner && !owner->m_ownedProvinces.Contains(id))
                return ::testing::AssertionFailure() << id << " missing from its owner's list";
            if (controller && !controller->m_controlledProvinces.Contains(id))
                return ::testing::AssertionFailure() << id << " missing from controller's list";
            if (owner && p.GetCity() && !owner->m_cities.Contains(p.GetCity()))
                return ::testing::AssertionFailure() << id << "'s city missing from owner's list";
            if (owner && p.GetTradingPost() && !owner->m_tradingPosts.Contains(p.GetTradingPost()))
                return ::testing::AssertionFailure() << id << "'s post missing from owner's list";
            if (owner && (!p.territory || p.territory->GetOwner() != owner))
                return ::testing::AssertionFailure() << id << " lies outside its owner's territory";
            if (!owner && p.territory && !p.IsSea())
                return ::testing::AssertionFailure() << id << " unowned but in a territory";
        }
        return ::testing::AssertionSuccess();
    }

    CCountry* a = nullptr;
    CCountry* b = nullptr;
    CCountry* c = nullptr;
    ProvinceControlHooks m_savedHooks;
};

TEST_F(ProvinceControlTest, ChangesOfOwnerAndControllerKeepEveryListInStep) {
    for (int32_t id : {1, 2, 3})
        P(id).ChangeOwner(a);
    for (int32_t id : {4, 5, 6})
        P(id).ChangeOwner(b);
    P(3).tax = 9;
    P(2).tax = 4;
    CCity* capital = GiveCity(3, a, 6000.0f, true);
    GiveCity(1, a, 800.0f);
    auto post = std::make_unique<CTradingPost>();
    CTradingPost* postPtr = post.get();
    P(5).SetTradingPost(std::move(post));
    b->m_tradingPosts.AddTail(postPtr);
    ASSERT_TRUE(Consistent());
    EXPECT_EQ(P(1).GetController(), a); // a new owner of an empty province holds it
    EXPECT_EQ(a->m_territories.GetCount(), 1u);

    // b occupies a's capital, then takes it by treaty: the occupier's hold
    // stays, the city and the capital move.
    P(3).SetController(b);
    ASSERT_TRUE(Consistent());
    EXPECT_EQ(P(3).GetOwner(), a);
    P(3).ChangeOwner(b);
    ASSERT_TRUE(Consistent());
    EXPECT_EQ(P(3).GetController(), b);
    EXPECT_TRUE(b->m_cities.Contains(capital));
    EXPECT_FALSE(capital->IsCapital());
    EXPECT_NE(a->m_capital, 3); // a chose a new capital among what it has left
    EXPECT_EQ(P(3).nationalismDate, CDate(1, 5, 1500));

    // A province its owner held passes with its hold; the trading post moves.
    P(5).ChangeOwner(c);
    ASSERT_TRUE(Consistent());
    EXPECT_EQ(P(5).GetController(), c);
    EXPECT_TRUE(c->m_tradingPosts.Contains(postPtr));

    // Setting the same controller again changes nothing.
    P(5).SetController(c);
    EXPECT_EQ(c->m_controlledProvinces.GetCount(), 1u);

    // Abandoned: owner, controller, settlements and territory go.
    P(1).SetController(c);
    P(1).Abandon();
    ASSERT_TRUE(Consistent());
    EXPECT_EQ(P(1).GetOwner(), nullptr);
    EXPECT_EQ(P(1).GetController(), nullptr);
    EXPECT_EQ(P(1).GetCity(), nullptr);
    EXPECT_EQ(P(1).territory, nullptr);
    EXPECT_FALSE(c->m_controlledProvinces.Contains(1));
    P(5).Abandon();
    ASSERT_TRUE(Consistent());
    EXPECT_TRUE(c->m_tradingPosts.IsEmpty());
    EXPECT_TRUE(c->m_territories.IsEmpty());
}

TEST_F(ProvinceControlTest, AbandoningTheCapitalLeavesNoCapitalBehindIt) {
    P(1).ChangeOwner(a);
    P(2).ChangeOwner(a);
    P(2).tax = 3;
    GiveCity(1, a, 6000.0f, true);
    P(1).Abandon();
    EXPECT_EQ(a->m_capital, 2);
    EXPECT_TRUE(a->m_cities.IsEmpty());
}

TEST_F(ProvinceControlTest, TheConqueringRequestGoesToTheRightCountry) {
    struct Case {
        const char* what;
        int32_t province;
        bool war;         // c at war with the controller b
        bool ally;        // c allied with the owner a
        bool warOnOwner;  // c at war with the owner a too
        int64_t receiver; // -1: nothing sent
    };
    const Case cases[] = {
        {"no war with the controller: nothing", 2, false, false, false, -1},
        {"an enemy of the controller takes it", 2, true, false, false, 12},
        {"an ally of the owner frees it for the owner", 2, true, true, false, 10},
        {"an ally at war with the owner keeps it", 2, true, true, true, 12},
        {"a sea zone is never taken", kSea, true, false, false, -1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        P(2).ChangeOwner(a);
        P(2).SetController(b);
        P(kSea).SetOwner(a);
        P(kSea).SetControllerField(b);
        g_delivered.clear();
        for (CCountry* x : {a, b, c})
            x->m_diplomacy.Init(x->GetNumber());
        if (k.war)
            War(c, b);
        if (k.ally)
            a->m_diplomacy.GetRelation(12)->military = c->m_diplomacy.GetRelation(10)->military = 1;
        if (k.warOnOwner)
            War(c, a);
        P(k.province).PostControlChange(c);
        if (k.receiver < 0) {
            EXPECT_TRUE(g_delivered.empty());
            continue;
        }
        ASSERT_EQ(g_delivered.size(), 1u);
        EXPECT_EQ(g_delivered[0].type, static_cast<uint32_t>(EVT_PROVCHANGECONTROL));
        EXPECT_EQ(g_delivered[0].country, static_cast<uint32_t>(k.receiver));
        EXPECT_EQ(g_delivered[0].province, static_cast<uint32_t>(k.province));
    }
    // The controller's own units take nothing.
    g_delivered.clear();
    P(2).PostControlChange(b);
    EXPECT_TRUE(g_delivered.empty());
}

TEST_F(ProvinceControlTest, KnowersOfAProvinceLearnItsNewOwnersCapital) {
    P(1).ChangeOwner(a);
    a->m_capital = 1;
    P(1).discoveredBy[11] = 1; // b knows the capital already
    P(4).discoveredBy[11] = 1;
    P(4).discoveredBy[12] = 1;
    g_delivered.clear();
    P(4).ChangeOwner(a);
    ASSERT_EQ(g_delivered.size(), 1u);
    EXPECT_EQ(g_delivered[0].type, static_cast<uint32_t>(EVT_DISCOVERPROVINCE));
    EXPECT_EQ(g_delivered[0].country, 12u);
    EXPECT_EQ(g_delivered[0].province, 1u);
}

TEST_F(ProvinceControlTest, DiscoverySpreadsToLinkedProvincesOfKindSix) {
    P(7).terrain = 6;
    P(8).terrain = 6;
    P(1).linkedProvinces = {7, 2, 0}; // 2 is plain land: not spread to
    P(7).linkedProvinces = {8, 1, 0}; // a chain back to 1 ends
    P(1).Discover(10);
    EXPECT_TRUE(P(1).discovered);
    EXPECT_EQ(P(1).discoveryDate, CDate(1, 5, 1500));
    EXPECT_TRUE(P(7).discoveredBy[10] && P(8).discoveredBy[10]);
    EXPECT_FALSE(P(2).discoveredBy[10]);
    EXPECT_EQ(a->m_knownProvinces.GetCount(), 3u);

    // A later discovery keeps the first date and adds no second entry.
    g_gameTimer->currentDate = CDate(1, 6, 1510);
    P(1).Discover(10);
    P(1).Discover(11);
    EXPECT_EQ(P(1).discoveryDate, CDate(1, 5, 1500));
    EXPECT_EQ(a->m_knownProvinces.GetCount(), 3u);
    EXPECT_TRUE(b->m_knownProvinces.Contains(1));
    P(1).Discover(99); // no such country number: nothing
    P(1).Discover(-1);
}

TEST_F(ProvinceControlTest, ATradingPostGrowsIntoTheCityThatReplacesIt) {
    P(3).ChangeOwner(a);
    auto post = std::make_unique<CTradingPost>();
    post->level = 3;
    a->m_tradingPosts.AddTail(post.get());
    P(3).SetTradingPost(std::move(post));
    CCity* city = GiveCity(3, a, 1000.0f);
    EXPECT_FLOAT_EQ(city->GetPopulation(), 1030.0f);
    EXPECT_EQ(P(3).GetTradingPost(), nullptr);
    EXPECT_TRUE(a->m_tradingPosts.IsEmpty());
    EXPECT_TRUE(Consistent());
}

TEST_F(ProvinceControlTest, CombatsKeepSiegesBehindBattlesAndTheListGoesWhenEmpty) {
    CProvince& p = P(2);
    EXPECT_EQ(p.StartCombat(CDate(1, 1, 1500), 7, 0), nullptr);
    EXPECT_FALSE(p.HasCombat());
    CProvinceCombat* first = p.StartCombat(CDate(1, 1, 1500), kCombatLand, 0);
    CProvinceCombat* siege = p.StartCombat(CDate(2, 1, 1500), kCombatSiegeSiege, 0);
    CProvinceCombat* later = p.StartCombat(CDate(3, 1, 1500), kCombatLand, 0);
    ASSERT_TRUE(first && siege && later);
    EXPECT_TRUE(p.HasCombat());
    ASSERT_EQ(p.combats->GetCount(), 3u);
    EXPECT_EQ(p.combats->At(0), later);
    EXPECT_EQ(p.combats->At(1), first);
    EXPECT_EQ(p.combats->At(2), siege);
    EXPECT_EQ(siege->startDate, CDate(2, 1, 1500));
    EXPECT_EQ(FindObjectById(siege->GetId()), siege);

    for (CProvinceCombat* combat : {first, later, siege}) {
        EXPECT_TRUE(p.HasCombat());
        p.RemoveCombat(combat->GetId());
    }
    EXPECT_FALSE(p.HasCombat());
    EXPECT_EQ(p.combats, nullptr);
    p.RemoveCombat(ObjectId(5, 5)); // nothing left: nothing happens
}

// ---------------------------------------------------------------------------
// Supply and attrition

TEST_F(ProvinceControlTest, SupplyCountsTheSourcesReachableThroughPassableProvinces) {
    // a holds 1-2-3 with cities in 1 and 3; b (neutral to a) owns 4 but a's
    // ally c holds it; a owns 5 and 6 behind it.
    for (int32_t id : {1, 2, 3, 5, 6})
        P(id).ChangeOwner(a);
    P(4).ChangeOwner(b);
    P(4).SetController(c);
    SameSide(a, c);
    GiveCity(1, a, 800.0f);
    GiveCity(3, a, 800.0f);
    GiveCity(6, a, 800.0f);
    UpdateCountrySupply(*a);
    for (int32_t id : {1, 2, 3})
        EXPECT_EQ(P(id).supplyLevel, 2) << id;
    EXPECT_EQ(P(5).supplyLevel, 1); // the neutral owner of 4 stops the supply
    EXPECT_EQ(P(6).supplyLevel, 1);
    EXPECT_EQ(P(4).supplyLevel, 0);
    for (int32_t id : Ids())
        EXPECT_EQ(P(id).supplyMark, 0) << id;
    EXPECT_TRUE(P(2).SuppliesCountry(*a));
    EXPECT_TRUE(P(4).SuppliesCountry(*a)); // through its neighbours
    EXPECT_TRUE(P(kSea).SuppliesCountry(*a));
    EXPECT_FALSE(P(0).SuppliesCountry(*a));

    // A hostile owner lets the supply pass where an ally holds it.
    War(a, b);
    UpdateCountrySupply(*a);
    EXPECT_EQ(P(4).supplyLevel, 3);
    EXPECT_EQ(P(6).supplyLevel, 3);

    // Besieged by b, the city of 1 is no source, and the besieger's hold
    // stops the supply there.
    g_provinceControl.siegeCommanderCountry = [](const CProvince& p) {
        return p.GetNumber() == 1 ? 11 : -1;
    };
    UpdateCountrySupply(*a);
    EXPECT_EQ(P(1).supplyLevel, 0);
    EXPECT_EQ(P(2).supplyLevel, 2);
    EXPECT_TRUE(P(1).NeighbourSupplies(*a));
}

TEST_F(ProvinceControlTest, AttritionAddsItsTermsByProvinceAndSeason) {
    a->m_technology.land.level = 12;
    for (int32_t id : {1, 2, 3})
        P(id).ChangeOwner(a);
    GiveCity(2, a, 800.0f);
    UpdateCountrySupply(*a);
    struct Case {
        const char* what;
        int32_t province;
        int32_t terrain;
        int32_t climate;
        bool winter;
        bool looted;
        bool fleet;
        int32_t attrition;
    };
    const Case cases[] = {
        {"supplied plains in summer", 2, 0, 0, false, false, false, 8},
        {"the same in winter and looted", 2, 0, 0, true, true, false, 23},
        {"supplied from a neighbour", 1, 0, 0, false, false, false, 8},
        {"unsupplied", 5, 0, 0, false, false, false, 18},
        {"marsh and climate 4", 3, 4, 4, false, false, false, 15},
        {"mountain and climate 1", 3, 2, 1, false, false, false, 21},
        {"climate 6", 3, 0, 6, false, false, false, 13},
        {"a fleet off a province without port", 3, 0, 0, true, true, true, 18},
        {"a sea zone", kSea, 5, 0, true, false, false, 15},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        CProvince& p = P(k.province);
        p.terrain = k.terrain;
        p.climate = k.climate;
        p.winter = k.winter;
        p.looted = k.looted;
        EXPECT_EQ(p.GetAttrition(*a, k.fleet), k.attrition);
        p.climate = 0;
        p.winter = p.looted = 0;
        p.terrain = k.province == kSea ? 5 : 0;
    }
}

TEST_F(ProvinceControlTest, BordersLookAtTheLeadingNeighbours) {
    P(2).ChangeOwner(a);
    P(4).ChangeOwner(b);
    P(4).SetController(a);
    EXPECT_TRUE(P(1).BordersCountry(*a));
    EXPECT_FALSE(P(5).BordersCountry(*a)); // 4 is a's only by occupation
    EXPECT_TRUE(P(5).BordersOwner(*a));
    EXPECT_TRUE(P(5).BordersOwner(*b));
    EXPECT_FALSE(P(6).BordersOwner(*a));
}

TEST_F(ProvinceControlTest, SupplyAndAttritionTextsNameEachTermAndTheTotal) {
    test::ScopedGameDir dir;
    dir.WriteFile("config/text.csv", "PROV_SUPPLY_1;[supply %d];;;;;;;;;;\r\n"
                                     "PROV_SUPPLY_2;[fort %d];;;;;;;;;;\r\n"
                                     "PROV_SUPPLY_3;[barrack];;;;;;;;;;\r\n"
                                     "PROV_SUPPLY_4;[storm];;;;;;;;;;\r\n"
                                     "PROV_SUPPLY_5;[ice];;;;;;;;;;\r\n"
                                     "PROV_SUPPLY_6;[coast];;;;;;;;;;\r\n"
                                     "PROV_SUPPLY_7;[port];;;;;;;;;;\r\n"
                                     "PROV_ATTRITION_0;[sea];;;;;;;;;;\r\n"
                                     "PROV_ATTRITION_1;[total %d];;;;;;;;;;\r\n"
                                     "PROV_ATTRITION_2;[base %d];;;;;;;;;;\r\n"
                                     "PROV_ATTRITION_3;[unsupplied %d];;;;;;;;;;\r\n"
                                     "PROV_ATTRITION_4;[winter %d];;;;;;;;;;\r\n"
                                     "PROV_ATTRITION_6;[looted %d];;;;;;;;;;\r\n"
                                     "PROV_ATTRITION_8;[mountain %d];;;;;;;;;;\r\n#EOF;\r\n");
    ASSERT_TRUE(g_textDatabase.Load(0));
    a->m_technology.land.level = 12;

    P(3).ChangeOwner(a);
    P(3).tax = 3;
    CCity* city = GiveCity(3, a, 6000.0f);
    city->GetFortress().level = 2.0f;
    city->improvements[CCity::IMPROVEMENT_BARRACK] = 1;
    EXPECT_EQ(P(3).DescribeSupply(*a), "[supply 15][fort 20][barrack]");
    P(3).SetController(b); // occupied: 4 for the owner, 3 for the occupier
    EXPECT_EQ(P(3).DescribeSupply(*a), "[supply 12][fort 20][barrack]");
    EXPECT_EQ(P(3).DescribeSupply(*b), "[supply 9]");
    EXPECT_EQ(P(3).DescribeSupply(*c), "[supply 6]");
    EXPECT_EQ(P(4).DescribeSupply(*a), "[supply 0]"); // no owner: tax x 1

    P(5).winter = 1;
    P(5).looted = 1;
    P(5).terrain = 2;
    EXPECT_EQ(P(5).DescribeAttrition(*a, false),
              "[base 8][unsupplied 10][winter 10][looted 5][mountain 5][total 38]");
    EXPECT_EQ(P(5).GetAttrition(*a, false), 38);
    EXPECT_EQ(P(5).DescribeAttrition(*a, true), "[base 8][unsupplied 10][total 18]");
    EXPECT_EQ(P(kSea).DescribeAttrition(*a, false), "[sea]");

    P(kSea).storm = 1;
    P(kSea).coastalSeaZone = 1;
    EXPECT_EQ(P(kSea).DescribeSupply(*a), "[storm][coast]");
    a->m_technology.naval.level = 34;
    EXPECT_EQ(P(kSea).DescribeSupply(*a), "[coast]");
    P(kSea).storm = 0;
    P(kSea).coastalSeaZone = 0;
}

} // namespace
