// The natives: their culture groups and growth, the attack that raises a
// native army, the chance of an attack, the conquistador's first visit, the
// army's disbanding, the destruction of a trading post and the requests
// that name no province.
#include "military/server/Natives.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/Random.h"
#include "military/units/LandUnit.h"
#include "military/units/LeaderRegistry.h"
#include "tests/military/RequestServersFixture.h"
#include "world/CentreOfTrade.h"
#include "world/TradingPost.h"

namespace {

constexpr int32_t kRegionSiberia = 13;
constexpr int32_t kRegionWestAfrica = 22;
constexpr int32_t kRegionCarribean = 3;

class NativesTest : public test::RequestServersTest {
protected:
    void SetUp() override {
        RequestServersTest::SetUp();
        g_leaderRegistry = std::make_unique<CLeaderRegistry>();
        g_nativesAsleep = false;
    }
    void TearDown() override {
        g_nativesAsleep = false;
        for (CProvince* province : m_touched) {
            province->natives = province->maxNatives = province->tolerance = 0;
            province->ferocity = 0.0f;
            province->region = province->continent = 0;
            province->conquistadorTested = 0;
            province->SetTradingPost(nullptr);
        }
        DeleteAllCountries();
        g_leaderRegistry.reset();
        RequestServersTest::TearDown();
    }

    CProvince& Settlement(int32_t id, int32_t region, int32_t natives, int32_t maximum) {
        CProvince& province = Touch(id);
        province.region = region;
        province.continent = 0;
        province.religion = RELIGION_PAGAN;
        province.maxNatives = maximum;
        province.natives = natives;
        return province;
    }

    // An army of the country in the province, commanded by a leader of the
    // category.
    static CLandUnit& Army(uint32_t country, int32_t province, float infantry, int32_t category,
                           int32_t rank, int32_t manoeuvre = 0) {
        auto* army = new CLandUnit(CountryOfNumber(country));
        army->AssignNewId();
        army->SetLocation(province);
        army->SetStrength(2, infantry);
        auto leader = std::make_unique<CRandomLeader>();
        leader->SetCountry(CountryOfNumber(country));
        leader->category = category;
        leader->rank = rank;
        leader->manoeuvre = manoeuvre;
        leader->shock = 2;
        leader->fire = 1;
        army->AdoptLeader(std::move(leader));
        CountryOfNumber(country)->AddUnit(army);
        return *army;
    }

    static void Request(uint32_t type, uint32_t province) {
        COVProvinceEvent event(type, g_nativesRequestsId, province);
        EXPECT_EQ(HandleNativesRequest(event), 0);
    }
};

TEST_F(NativesTest, TheCultureGroupFollowsTheRegionAndInAfricaTheFaith) {
    struct Case {
        int32_t region;
        int32_t religion;
        int32_t group;
    };
    const Case cases[] = {
        {1, RELIGION_PAGAN, 2},  {2, RELIGION_PAGAN, 1},  {3, RELIGION_PAGAN, 1},
        {4, RELIGION_PAGAN, 0},  {13, RELIGION_PAGAN, 9}, {14, RELIGION_PAGAN, 5},
        {15, RELIGION_PAGAN, 6}, {16, RELIGION_PAGAN, 8}, {19, RELIGION_PAGAN, 8},
        {23, RELIGION_PAGAN, 8}, {18, RELIGION_PAGAN, 7}, {21, RELIGION_SUNNI, 4},
        {22, RELIGION_SUNNI, 4}, {22, RELIGION_PAGAN, 3}, {21, RELIGION_SHIITE, 3},
        {0, RELIGION_PAGAN, 4},  {5, RELIGION_PAGAN, 4},  {20, RELIGION_PAGAN, 4},
        {40, RELIGION_PAGAN, 4}, {59, RELIGION_PAGAN, 4},
    };
    for (const Case& c : cases) {
        CProvince& province = Settlement(30, c.region, 5, 10);
        province.religion = c.religion;
        EXPECT_EQ(GetProvinceCultureGroup(30), c.group) << c.region << " " << c.religion;
    }
}

TEST_F(NativesTest, NativesGrowByTheirGroupUpToTheirMaximumOnTheHost) {
    struct Case {
        int32_t id;
        int32_t region;
        int32_t natives;
        int32_t maximum;
        int32_t after;
    };
    const Case cases[] = {
        {30, 4, 10, 40, 11},              // group 0: 1 a month
        {31, kRegionSiberia, 10, 40, 13}, // group 9: 3
        {32, 15, 10, 40, 15},             // group 6: 5
        {33, 15, 38, 40, 40},             // held to the maximum
        {34, 4, 40, 40, 40},              // at the maximum: no growth
        {35, 4, 0, 40, 0},                // none to grow
        {36, 4, 70, 40, 70},              // above the maximum: left alone
    };
    for (const Case& c : cases)
        Settlement(c.id, c.region, c.natives, c.maximum);
    COVTimerEvent month(EVT_TIMER_MONTH, g_broadcastId, kToday);
    HandleNativesRequest(month);
    for (const Case& c : cases)
        EXPECT_EQ(GetProvince(c.id)->natives, c.after) << c.id;
    bool told = false;
    for (const auto& sent : TakeSent())
        told |= sent->GetType() == EVT_SET_NATIVES && sent->GetReceiver() == ObjectId(4, 30);
    EXPECT_TRUE(told);

    BecomeClient();
    HandleNativesRequest(month);
    EXPECT_EQ(GetProvince(30)->natives, 11);
}

TEST_F(NativesTest, AnAttackEmptiesTheSettlementIntoANativeArmyOfItsGroup) {
    struct Case {
        int32_t region;
        int32_t religion;
        uint32_t infantry;
        uint32_t cavalry;
    };
    const Case cases[] = {
        {kRegionSiberia, RELIGION_PAGAN, 1500, 500},
        {kRegionWestAfrica, RELIGION_SUNNI, 1000, 1000},
        {kRegionWestAfrica, RELIGION_PAGAN, 2000, 0},
        {15, RELIGION_PAGAN, 1600, 400},
    };
    Make(kNativesCountry);
    for (const Case& c : cases) {
        Settlement(30, c.region, 20, 40).religion = c.religion;
        Request(EVT_REQUEST_NATIVE_ATTACK, 30);
        // The army's pacification waits in the queue, five days ahead.
        bool pacify = false;
        g_scheduler.ForEachEvent([&pacify](COVEvent* event) {
            CDate due = kToday;
            due.AddDays(5);
            pacify |= event->GetType() == EVT_PACIFY_NATIVE && event->GetDueDate() == due;
        });
        EXPECT_TRUE(pacify);
        const auto sent = TakeSent();
        // The country's making of the army may send more of its own.
        ASSERT_GE(sent.size(), 2u);
        EXPECT_EQ(sent[0]->GetType(), EVT_SET_NATIVES);
        EXPECT_EQ(sent[1]->GetType(), EVT_CREATE_ARMY);
        EXPECT_EQ(sent[0]->Payload().Get(ProvinceValuePayload::kValue), 0);
        const COVEventData& army = sent[1]->Payload();
        EXPECT_EQ(sent[1]->GetReceiver(), ObjectId(3, kNativesCountry));
        EXPECT_EQ(army.Get(COVArmyEvent::kInfantry), c.infantry) << c.region;
        EXPECT_EQ(army.Get(COVArmyEvent::kCavalry), c.cavalry) << c.region;
        EXPECT_EQ(army.Get(NewUnitHead::kProvince), 30u);
        EXPECT_EQ(GetProvince(30)->natives, 0);
    }
    // An empty settlement raises nobody.
    Request(EVT_REQUEST_NATIVE_ATTACK, 30);
    EXPECT_TRUE(TakeSent().empty());
}

TEST_F(NativesTest, ThePerhapsAttackRollsAgainstHostilityMenAndTheCommander) {
    Make(kNativesCountry);
    Make(8);
    // Hostility 3, a factor of 1.5, 20 natives and a Spanish conquistador
    // of manoeuvre 2 with 5000 men: (5 - 2 + 30 - 20 + 20 - 30 + 25) x 1.5.
    const int32_t chance = 42;
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        CProvince& province = Settlement(30, 4, 20, 40);
        province.tolerance = 3;
        province.ferocity = 1.5f;
        CLandUnit& army = Army(8, 30, 5000.0f, LEADER_CONQUISTADOR, 10, 2);
        GameSrand(seed);
        const bool attacks = GameRand() % 100 < chance;
        GameSrand(seed);
        Request(EVT_REQUEST_PERHAPS_NATIVE_ATTACK, 30);
        EXPECT_EQ(GetProvince(30)->natives == 0, attacks) << seed;
        TakeSent();
        CountryOfNumber(8)->RemoveUnit(&army);
        delete &army;
    }
    // Asleep, they never attack; asked outright, they do.
    Settlement(30, 4, 20, 40).tolerance = 50;
    GetProvince(30)->ferocity = 2.0f;
    g_nativesAsleep = true;
    Request(EVT_REQUEST_PERHAPS_NATIVE_ATTACK, 30);
    EXPECT_EQ(GetProvince(30)->natives, 20);
    Request(EVT_REQUEST_NATIVE_ATTACK, 30);
    EXPECT_EQ(GetProvince(30)->natives, 0);
}

TEST_F(NativesTest, AConquistadorsFirstVisitKillsPartOfTheNatives) {
    Make(8);
    CProvince& province = Settlement(30, kRegionCarribean, 50, 60);
    Army(8, 30, 1000.0f, LEADER_GENERAL, 1, 9);      // commands, but no conquistador
    Army(8, 30, 1000.0f, LEADER_CONQUISTADOR, 5, 3); // manoeuvre 3, shock 2, fire 1
    GameSrand(5);
    const int32_t percent = 40 - GameRand() % 20 + 3 + 2 + 1 + 2 + 5;
    GameSrand(5);
    Request(EVT_REQUEST_CONQUISTADOR_TEST, 30);
    EXPECT_EQ(province.natives, static_cast<int32_t>(static_cast<float>(percent) * 0.01f * 50.0f));
    EXPECT_TRUE(province.conquistadorTested);
    // Once only.
    const int32_t left = province.natives;
    TakeSent();
    Request(EVT_REQUEST_CONQUISTADOR_TEST, 30);
    EXPECT_EQ(province.natives, left);
    EXPECT_TRUE(TakeSent().empty());
}

TEST_F(NativesTest, ANativeArmyIsDisbandedUnlessItFights) {
    Make(kNativesCountry);
    CLandUnit& calm = Army(kNativesCountry, 30, 1000.0f, LEADER_GENERAL, 50);
    CLandUnit& fighting = Army(kNativesCountry, 30, 1000.0f, LEADER_GENERAL, 50);
    fighting.CombatStarted(ObjectId(4712, 77), 1, 1);
    for (const CUnit* unit :
         {static_cast<const CUnit*>(&calm), static_cast<const CUnit*>(&fighting)}) {
        COVDataEvent pacify(EVT_PACIFY_NATIVE, g_nativesRequestsId);
        pacify.Payload().Set(PacifyNativePayload::kArmy, unit->GetId());
        HandleNativesRequest(pacify);
    }
    const auto sent = TakeSent();
    ASSERT_EQ(Types(sent), std::vector<uint32_t>{EVT_REQUEST_DISBAND_UNIT});
    EXPECT_EQ(sent[0]->Payload().Get(UnitRequestPayload::kUnit), calm.GetId());
}

TEST_F(NativesTest, ATradingPostIsDestroyedUnlessItIsTheSeatOfItsCentre) {
    CCountry& owner = Able(1);
    CProvince& province = Touch(30);
    province.SetOwner(&owner);
    Request(EVT_REQ_DESTROY_TPOST, 30); // no trading post
    EXPECT_TRUE(TakeSent().empty());
    province.SetTradingPost(std::make_unique<CTradingPost>());
    Request(EVT_REQ_DESTROY_TPOST, 30);
    const auto sent = TakeSent();
    ASSERT_EQ(Types(sent), std::vector<uint32_t>{EVT_EXEC_DESTROY_TPOST});
    EXPECT_EQ(sent[0]->GetReceiver(), ObjectId(3, 1));
    EXPECT_EQ(sent[0]->Payload().Get(COVProvinceEvent::kProvince), 30u);
}

TEST_F(NativesTest, RequestsNamingNoProvinceAreRefusedAndClientsDoNothing) {
    Make(kNativesCountry);
    for (uint32_t type : {EVT_REQUEST_CONQUISTADOR_TEST, EVT_REQUEST_NATIVE_ATTACK,
                          EVT_REQUEST_PERHAPS_NATIVE_ATTACK, EVT_REQ_DESTROY_TPOST})
        for (uint32_t province : {0u, 1473u, 0xFFFFFFFFu}) {
            Request(type, province);
            EXPECT_TRUE(TakeSent().empty()) << type << " " << province;
        }
    SendSetNatives(0, 5);
    EXPECT_TRUE(TakeSent().empty());

    Settlement(30, 4, 20, 40);
    BecomeClient();
    Request(EVT_REQUEST_NATIVE_ATTACK, 30);
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_EQ(GetProvince(30)->natives, 20);
}

} // namespace
