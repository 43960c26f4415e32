// The combat server: which combat an arriving unit joins or starts, the
// cover of a fortress, naval interception, invalid combats, attrition.
#include "military/server/CombatServer.h"

#include <gtest/gtest.h>

#include "engine/Random.h"
#include "military/combat/Battle.h"
#include "military/server/HostDispatcher.h"
#include "military/server/UnitServer.h"
#include "military/units/LandUnit.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Scheduler.h"
#include "tests/military/UnitMovementTestFixture.h"
#include "world/ProvinceControl.h"
#include "world/ProvinceWork.h"

namespace {

class CombatServerTest : public test::UnitMovementTest {
protected:
    static constexpr int32_t kPlains = 10;
    static constexpr int32_t kSea = 11;

    void SetUp() override {
        UnitMovementTest::SetUp();
        g_scheduler.Clear();
        g_combatServer = new CCombatServer;
        g_hostDispatcher = new CHostDispatcher;
        m_plains = &Province(kPlains, 0);
        m_sea = &Province(kSea, 5);
        Own(*m_plains, kNeutral);
        War(kPlayer, kNeutral);
    }
    void TearDown() override {
        g_scheduler.RunDue();
        for (CProvince* p : {m_plains, m_sea})
            p->combats.reset();
        g_scheduler.Clear();
        delete g_combatServer;
        g_combatServer = nullptr;
        delete g_hostDispatcher;
        g_hostDispatcher = nullptr;
        UnitMovementTest::TearDown();
    }
    static void War(int32_t a, int32_t b) {
        Country(a).SetAtWarWith(b);
        Country(b).SetAtWarWith(a);
    }
    static void Peace(int32_t a, int32_t b) {
        Country(a).EndWarWith(b);
        Country(b).EndWarWith(a);
    }
    static CLandUnit& Standing(int32_t country, float infantry, int32_t province = kPlains) {
        CLandUnit& army = Army(province, infantry, 0.0f, 0.0f, country);
        army.morale = 1.0f;
        army.SetIdleState();
        return army;
    }
    // The combats of the province, in list order.
    static std::vector<CProvinceCombat*> Combats(const CProvince& province) {
        std::vector<CProvinceCombat*> list;
        if (province.combats)
            for (size_t i = 0; i < province.combats->GetCount(); ++i)
                list.push_back(province.combats->At(i));
        return list;
    }

    CProvince* m_plains = nullptr;
    CProvince* m_sea = nullptr;
};

TEST_F(CombatServerTest, ArrivalsStartBattlesAndCoversOnlyWhereTheRulesSay) {
    struct Case {
        const char* what;
        int32_t other;   // the owner of the army standing there (-1: none)
        float infantry;  // the arriving army
        bool moving;     // it has a path on
        float fortress;  // the city's fortress level (-1: no city)
        int32_t started; // the kind of combat started
        bool takesControl;
    } cases[] = {
        {"an enemy army stands there", kNeutral, 5000, false, -1.0f, kCombatLand, false},
        {"an army of the same owner", kPlayer, 5000, false, -1.0f, 0, true},
        {"a pirate army", kPirates, 5000, false, -1.0f, kCombatLand, false},
        {"a hostile fortress, standing", -1, 5000, false, 2.0f, kCombatSiegeCover, false},
        {"a small army moving past a fortress", -1, 2499, true, 2.0f, kCombatSiegeCover, false},
        {"a large army moving past a fortress", -1, 2500, true, 2.0f, 0, false},
        {"a fortress below level 1", -1, 5000, false, 0.9f, 0, true},
        {"no city at all", -1, 5000, false, -1.0f, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_plains->SetCity(nullptr);
        Own(*m_plains, kNeutral);
        if (c.fortress >= 0.0f)
            Fortify(*m_plains, c.fortress);
        CLandUnit* other = c.other >= 0 ? &Standing(c.other, 3000) : nullptr;
        CLandUnit& arriving = Standing(kPlayer, c.infantry);
        if (c.moving)
            GivePath(arriving, {kSea});
        EXPECT_EQ(g_combatServer->TryStartCombat(*m_plains, arriving), c.started);
        const std::vector<CProvinceCombat*> combats = Combats(*m_plains);
        ASSERT_EQ(combats.size(), c.started ? 1u : 0u);
        if (c.started) {
            EXPECT_EQ(combats[0]->GetKind(), c.started);
            if (c.started == kCombatLand) {
                auto* battle = dynamic_cast<CCombat*>(combats[0]);
                ASSERT_NE(battle, nullptr);
                EXPECT_TRUE(battle->started);
                EXPECT_TRUE(battle->Attackers().GetUnits().Contains(&arriving));
                EXPECT_TRUE(battle->Defenders().GetUnits().Contains(other));
                EXPECT_EQ(arriving.GetCombat(), battle->GetId());
            }
        }
        // Standing in the province without a combat takes it when it has no
        // fortress to hold out.
        m_plains->combats.reset();
        arriving.CombatEnded(arriving.GetCombat());
        if (other)
            other->CombatEnded(other->GetCombat());
        if (!c.started) {
            g_combatServer->CheckUnitArrival(arriving, kPlains);
            EXPECT_EQ(m_plains->GetControllerNumber() == kPlayer, c.takesControl);
        }
        for (CUnit* unit : {static_cast<CUnit*>(other), static_cast<CUnit*>(&arriving)})
            if (unit)
                unit->GetOwner()->DeleteUnit(unit->GetId());
        g_scheduler.RunDue();
    }
}

TEST_F(CombatServerTest, AnArrivingUnitJoinsTheBattleOfItsOwnCountryFirst) {
    constexpr int32_t kThird = 3;
    AddCountry(std::make_unique<CCountry>(kThird));
    CLandUnit& attacker = Standing(kPlayer, 5000);
    CLandUnit& defender = Standing(kNeutral, 5000);
    ASSERT_EQ(g_combatServer->TryStartCombat(*m_plains, attacker), kCombatLand);
    auto* first = dynamic_cast<CCombat*>(Combats(*m_plains).at(0));
    ASSERT_NE(first, nullptr);
    // A second battle in the province, between pirates and a third country
    // at peace with the player.
    CLandUnit& pirate = Standing(kPirates, 1000);
    CLandUnit& neutral = Standing(kThird, 1000);
    const ObjectId secondId = NewObjectId();
    g_combatServer->CreateCombat(*m_plains, kCombatLand, secondId, &pirate, &neutral);
    CCombat* second = FindCombatById(secondId);
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(second->Defenders().GetUnits().Contains(&neutral));
    // Already fighting: neither army of the first battle is offered.
    EXPECT_FALSE(second->Defenders().GetUnits().Contains(&attacker));
    EXPECT_FALSE(second->Attackers().GetUnits().Contains(&defender));

    // The newcomer of the player goes where the player already fights,
    // though the second battle (the list's head) would take it against the
    // pirates.
    ASSERT_EQ(Combats(*m_plains).at(0), second);
    CLandUnit& newcomer = Standing(kPlayer, 2000);
    EXPECT_EQ(g_combatServer->TryJoinCombat(*m_plains, newcomer), kCombatLand);
    EXPECT_TRUE(first->Attackers().GetUnits().Contains(&newcomer));
    EXPECT_FALSE(second->Defenders().GetUnits().Contains(&newcomer));

    // A country that fights nowhere here joins the first battle that takes
    // it: the third country's army sides against the pirates.
    CLandUnit& stranger = Standing(kThird, 2000);
    EXPECT_EQ(g_combatServer->TryJoinCombat(*m_plains, stranger), kCombatLand);
    EXPECT_TRUE(second->Defenders().GetUnits().Contains(&stranger));
}

TEST_F(CombatServerTest, AUnitStillListedInACombatLeavesEveryCombatOfThatProvince) {
    CLandUnit& a = Standing(kPlayer, 5000);
    CLandUnit& d = Standing(kNeutral, 5000);
    ASSERT_EQ(g_combatServer->TryStartCombat(*m_plains, a), kCombatLand);
    auto* battle = dynamic_cast<CCombat*>(Combats(*m_plains).at(0));
    ASSERT_NE(battle, nullptr);
    // The army is set in the sea zone's neighbour without leaving the
    // battle properly: arriving there, it is taken out first.
    CProvince& next = Province(12, 0);
    Own(next, kPlayer);
    a.SetLocation(12);
    g_combatServer->CheckUnitArrival(a, 12);
    EXPECT_FALSE(battle->Attackers().GetUnits().Contains(&a));
    EXPECT_FALSE(a.IsInCombat());
    EXPECT_TRUE(battle->Attackers().finished);
    EXPECT_TRUE(battle->ended); // the attackers are gone: the battle is over
    g_scheduler.RunDue();       // the server deletes it
    EXPECT_TRUE(Combats(*m_plains).empty());
    EXPECT_FALSE(d.IsInCombat());
}

TEST_F(CombatServerTest, FleetsInterceptByTheirSizesLeadersAndCoasts) {
    struct Case {
        const char* what;
        float moverShips, otherShips;
        bool moverMoving, otherMoving;
        int32_t moverManoeuvre, otherManoeuvre;
        int expected; // of 20 rolls
    } cases[] = {
        {"both stand still", 0, 0, false, false, 0, 0, 20},
        {"the other moves: a large mover always meets it", 200, 0, false, true, 0, 0, 20},
        {"the other moves: an empty mover never does", 0, 50, false, true, 0, 0, 0},
        {"the mover moves past a still fleet of many ships", 60, 60, true, false, 0, 0, 20},
        {"the mover's better admiral slips past", 0, 0, true, false, 6, 0, 0},
    };
    // The sea zone borders the other fleet's country.
    Link(*m_sea, *m_plains);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CNavalUnit& mover = Fleet(kSea, c.moverShips, 0, 0, kPlayer);
        CNavalUnit& other = Fleet(kSea, c.otherShips, 0, 0, kNeutral);
        mover.AttachLeader(&Leader(0, c.moverManoeuvre * 10));
        other.AttachLeader(&Leader(0, c.otherManoeuvre * 10));
        if (c.moverMoving)
            GivePath(mover, {kPlains});
        if (c.otherMoving)
            GivePath(other, {kPlains});
        int met = 0;
        for (int i = 0; i < 20; ++i)
            met += g_combatServer->IsNavalInterception(mover, other) ? 1 : 0;
        EXPECT_EQ(met, c.expected);
        mover.GetOwner()->DeleteUnit(mover.GetId());
        other.GetOwner()->DeleteUnit(other.GetId());
        g_scheduler.RunDue();
    }
}

TEST_F(CombatServerTest, TwoStillFleetsOfEnemiesEngageInANavalBattle) {
    CNavalUnit& mover = Fleet(kSea, 10, 0, 0, kPlayer);
    CNavalUnit& other = Fleet(kSea, 10, 0, 0, kNeutral);
    mover.SetIdleState();
    other.SetIdleState();
    EXPECT_EQ(g_combatServer->TryStartCombat(*m_sea, mover), kCombatNaval);
    auto* battle = dynamic_cast<CNavalCombat*>(Combats(*m_sea).at(0));
    ASSERT_NE(battle, nullptr);
    EXPECT_TRUE(battle->Defenders().GetUnits().Contains(&other));
    // An army never engages a fleet.
    CLandUnit& army = Standing(kNeutral, 1000, kPlains);
    EXPECT_FALSE(mover.IsEnemyOf(army));
}

TEST_F(CombatServerTest, ABattleOfCountriesNowAtPeaceIsEndedAndDeleted) {
    CLandUnit& a = Standing(kPlayer, 5000);
    CLandUnit& d = Standing(kNeutral, 5000);
    ASSERT_EQ(g_combatServer->TryStartCombat(*m_plains, a), kCombatLand);
    auto* battle = dynamic_cast<CCombat*>(Combats(*m_plains).at(0));
    ASSERT_NE(battle, nullptr);
    EXPECT_TRUE(battle->IsValid());
    g_combatServer->CheckCombats(Country(kPlayer));
    EXPECT_FALSE(battle->ended);

    Peace(kPlayer, kNeutral);
    EXPECT_FALSE(battle->IsValid());
    g_combatServer->CheckCombats(Country(kPlayer));
    EXPECT_TRUE(battle->ended);
    EXPECT_FALSE(a.IsInCombat());
    EXPECT_FALSE(d.IsInCombat());
    g_scheduler.RunDue();
    EXPECT_TRUE(Combats(*m_plains).empty());
    // Neither side is hostile: the units stand together, no new battle.
    EXPECT_FALSE(a.IsInCombat());
}

TEST_F(CombatServerTest, AnArmyLeftWithNothingIsKilledByAttrition) {
    CLandUnit& a = Standing(kPlayer, 5000);
    CLandUnit& d = Standing(kNeutral, 5000);
    CLandUnit& spare = Standing(kNeutral, 5000, 12);
    ASSERT_EQ(g_combatServer->TryStartCombat(*m_plains, a), kCombatLand);
    auto* battle = dynamic_cast<CCombat*>(Combats(*m_plains).at(0));
    ASSERT_NE(battle, nullptr);
    // A unit with men left keeps going.
    g_combatServer->CheckAttrition(spare);
    EXPECT_NE(FindUnitById(spare.GetId()), nullptr);

    const ObjectId id = d.GetId();
    d.SetStrength(2, 0.0f);
    g_combatServer->CheckAttrition(d);
    EXPECT_TRUE(battle->Defenders().GetUnits().IsEmpty());
    EXPECT_TRUE(battle->ended);
    EXPECT_FALSE(a.IsInCombat());
    g_scheduler.RunDue(); // the unit and the battle are deleted
    EXPECT_EQ(FindUnitById(id), nullptr);
    EXPECT_TRUE(Combats(*m_plains).empty());
}

TEST_F(CombatServerTest, ABesiegerTooWeakToCoverGivesUp) {
    Fortify(*m_plains, 2.0f); // needs 5000 men to cover
    struct Case {
        float infantry;
        bool retreats;
    } cases[] = {{5000, false}, {4999, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.infantry);
        CLandUnit& besieger = Standing(kPlayer, 6000);
        const ObjectId id = besieger.GetId();
        ASSERT_EQ(g_combatServer->TryStartCombat(*m_plains, besieger), kCombatSiegeCover);
        auto* siege = dynamic_cast<CCombat*>(Combats(*m_plains).at(0));
        ASSERT_NE(siege, nullptr);
        ASSERT_EQ(besieger.GetSiegeCombat(), siege->GetId());
        besieger.SetStrength(2, c.infantry);
        g_combatServer->CheckAttrition(besieger);
        EXPECT_EQ(siege->Attackers().retreating, c.retreats);
        if (CUnit* unit = FindUnitById(id))
            unit->GetOwner()->DeleteUnit(unit->GetId());
        g_scheduler.RunDue();
        m_plains->combats.reset();
        g_scheduler.Clear();
    }
}

TEST_F(CombatServerTest, ItsMessagesAreAnsweredWhetherOrNotTheirObjectsExist) {
    const ObjectId nobody = NewObjectId();
    struct Case {
        uint32_t type;
        int answer;
    } cases[] = {
        {EVT_COMBAT_REMOVE_UNIT_3, kCombatServerHandled},
        {EVT_COMBAT_ENDED, kCombatServerHandled},
        {EVT_SIEGE_ASSAULT, kCombatServerHandled},
        {EVT_UNITMOVECANCEL, kCombatServerHandled},
        {EVT_COMBAT_PHASE, 0},
        {EVT_SIEGE_CHANGEMODE, 0},
        {EVT_COMBAT_STARTED, 0},
        {EVT_UNITDELETE, 0},
    };
    for (const Case& c : cases) {
        COVDataEvent event(c.type, g_combatRequestsId);
        // Every id the types read: +20, +24 and +28.
        event.Payload().Set(CombatUnitFields::kCombat, nobody);
        if (event.Payload().Holds(COVCombatEvent::kCombat))
            event.Payload().Set(COVCombatEvent::kCombat, nobody);
        if (event.Payload().Holds(CombatUnitFields::kUnit))
            event.Payload().Set(CombatUnitFields::kUnit, nobody);
        EXPECT_EQ(g_combatServer->HandleEvent(event), c.answer) << c.type;
    }
}

TEST_F(CombatServerTest, AStoppedUnitIsCheckedWhereItStands) {
    CLandUnit& a = Standing(kPlayer, 5000);
    CLandUnit& d = Standing(kNeutral, 5000);
    GivePath(a, {kSea});
    a.CancelMovement(); // on the host: the arrival check where it stands
    EXPECT_TRUE(a.IsInCombat());
    EXPECT_TRUE(d.IsInCombat());
}

} // namespace
