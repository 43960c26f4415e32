// Land and naval battles: joining, losses and morale, the end.
#include "military/combat/Battle.h"

#include <gtest/gtest.h>

#include "engine/Config.h"
#include "engine/GameState.h"
#include "engine/Random.h"
#include "military/StartupTables.h"
#include "military/combat/CombatTables.h"
#include "military/units/LandUnit.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Scheduler.h"
#include "tests/military/UnitMovementTestFixture.h"
#include "world/GameNotices.h"
#include "world/ProvinceWork.h"

namespace {

// A land side of fixed strengths (the units' own need technology tables).
class FixedSide : public CLandCombatSide {
public:
    FixedSide(bool attacker, float fire, float shock)
        : CLandCombatSide(attacker), m_fire(fire), m_shock(shock) {}
    float GetFireStrength() const override { return m_fire; }
    float GetShockStrength() const override { return m_shock; }

private:
    float m_fire, m_shock;
};

class BattleTest : public test::UnitMovementTest {
protected:
    void SetUp() override {
        UnitMovementTest::SetUp();
        g_scheduler.Clear();
        m_plains = &Province(10, 0);
    }
    void TearDown() override {
        // The kill messages of destroyed units are waiting to be carried out.
        g_scheduler.RunDue();
        m_plains->combats.reset();
        m_fixed.reset();
        g_scheduler.Clear();
        FreeCombatTables();
        UnitMovementTest::TearDown();
    }
    // A land battle in the plains, made as the create message makes it.
    CCombat& MakeBattle(int32_t kind = kCombatLand) {
        const ObjectId id = NewObjectId();
        g_provinceWork.startCombat(*m_plains, CDate(), kind, id);
        CCombat* combat = FindCombatById(id);
        EXPECT_NE(combat, nullptr);
        return *combat;
    }
    static CLandUnit& ArmyWith(float infantry, float morale, CLeader* leader,
                               int32_t country = kPlayer) {
        CLandUnit& army = Army(10, infantry, 0.0f, 0.0f, country);
        army.morale = morale;
        if (leader)
            army.AttachLeader(leader);
        return army;
    }
    static void Tables(float men, float morale) {
        g_combatTables = std::make_unique<CCombatTables>();
        for (auto& row : g_combatTables->men)
            row.fill(men);
        for (auto& row : g_combatTables->morale)
            row.fill(morale);
        for (auto& table : g_combatTables->codes)
            for (auto& line : table)
                line.fill(2);
    }

    // A land battle of fixed strengths, held by the test.
    CCombat& FixedBattle(float fire, float shock) {
        m_fixed = std::make_unique<CCombat>(*m_plains, kCombatLand,
                                            std::make_unique<FixedSide>(true, fire, shock),
                                            std::make_unique<FixedSide>(false, fire, shock));
        m_fixed->AssignNewId();
        return *m_fixed;
    }

    CProvince* m_plains = nullptr;
    std::unique_ptr<CCombat> m_fixed;
};

TEST_F(BattleTest, JoiningAveragesMoraleBySizeAndTheLowestRankCommands) {
    CCombat& combat = MakeBattle();
    CLeader& rank80 = Leader(0, 0, 80);
    CLeader& rank50 = Leader(0, 0, 50);
    CLeader& other80 = Leader(0, 0, 80);
    combat.RequestJoinAttackers(&ArmyWith(10000, 2.0f, &rank80));
    combat.RequestJoinAttackers(&ArmyWith(30000, 4.0f, &other80));
    EXPECT_FLOAT_EQ(combat.Attackers().morale, 3.5f);
    EXPECT_EQ(combat.Attackers().commander, &rank80); // 80 against 80 keeps the first
    combat.RequestJoinAttackers(&ArmyWith(1000, 3.5f, &rank50));
    EXPECT_EQ(combat.Attackers().commander, &rank50);
    EXPECT_EQ(combat.Attackers().joinedSize, 41000);
    EXPECT_EQ(combat.Attackers().countries, std::vector<uint32_t>{kPlayer});
    EXPECT_TRUE(combat.Defenders().GetUnits().IsEmpty());
    EXPECT_EQ(combat.largestUnit, 30000);
    EXPECT_EQ(combat.GetName(), "Combat " + std::to_string(combat.GetId().number) + " in Prov10");
    combat.started = true;
    EXPECT_EQ(combat.GetName(),
              "Landcombat " + std::to_string(combat.GetId().number) + " in Prov10");
}

TEST_F(BattleTest, AJoinOfAnUnknownUnitIsDroppedWithoutTouchingTheSides) {
    CCombat& combat = MakeBattle();
    combat.OnUnitJoined(nullptr, true);
    auto event = std::make_unique<COVDataEvent>(EVT_COMBAT_REMOVE_UNIT, combat.GetId());
    event->Payload().Set(CombatUnitFields::kCombat, combat.GetId());
    event->Payload().Set(CombatUnitFields::kUnit, ObjectId(kFirstPlayerIdType, 999999));
    event->Payload().Set(CombatUnitFields::kAttacker, uint8_t{1});
    ExecuteEvent(std::move(event));
    EXPECT_TRUE(combat.Attackers().GetUnits().IsEmpty());
    EXPECT_EQ(combat.Attackers().joinedSize, 0);
}

// A unit its country deletes leaves its battle before its object goes, so
// that no side keeps a freed unit.
TEST_F(BattleTest, ADeletedUnitLeavesItsBattleBeforeItGoes) {
    CCombat& combat = MakeBattle();
    CLandUnit& going = ArmyWith(10000, 3.0f, nullptr);
    CLandUnit& staying = ArmyWith(5000, 3.0f, nullptr);
    combat.RequestJoinAttackers(&going);
    combat.RequestJoinAttackers(&staying);
    const ObjectId id = going.GetId();
    going.GetOwner()->DeleteUnit(id);
    g_scheduler.RunDue();
    EXPECT_EQ(FindObjectById(id), nullptr);
    const std::vector<CUnit*> units = combat.Attackers().UnitsInOrder();
    ASSERT_EQ(units.size(), 1u);
    EXPECT_EQ(units.front(), &staying);
}

TEST_F(BattleTest, MoraleLossesBreakAtZeroIntoARetreat) {
    CCombat& combat = MakeBattle();
    combat.RequestJoinAttackers(&ArmyWith(10000, 1.0f, nullptr));
    combat.RequestJoinDefenders(&ArmyWith(10000, 1.0f, nullptr, kNeutral));
    CCombatSide& side = combat.Attackers();
    side.ApplyLosses(0.0f, 0.25f);
    EXPECT_FLOAT_EQ(side.morale, 0.75f);
    side.ApplyLosses(0.0f, 0.75f);
    EXPECT_FLOAT_EQ(side.morale, 0.4f); // broken: 0.4, and the side retreats
    EXPECT_TRUE(side.retreating);
}

TEST_F(BattleTest, DecisiveNeedsTwoLargeSidesAndAOneSidedSlaughter) {
    CCombat& combat = MakeBattle();
    CLandUnit& winner = ArmyWith(20000, 1.0f, nullptr);
    CLandUnit& loser = ArmyWith(20000, 1.0f, nullptr, kNeutral);
    combat.RequestJoinAttackers(&winner);
    combat.RequestJoinDefenders(&loser);
    struct Case {
        float winnerLeft, loserLeft;
        bool decisive;
    } cases[] = {
        {19000, 6000, true},  // lost 1000 against 14000
        {19000, 7000, false}, // the loser kept more than a third
        {10000, 2000, false}, // the winner lost more than half of the loser's losses
    };
    for (const Case& c : cases) {
        winner.SetStrength(2, c.winnerLeft);
        loser.SetStrength(2, c.loserLeft);
        combat.SetDecisive(combat.Attackers(), combat.Defenders());
        EXPECT_EQ(combat.decisive, c.decisive) << c.winnerLeft << " " << c.loserLeft;
    }
    combat.Attackers().joinedSize = 9999;
    winner.SetStrength(2, 19000);
    loser.SetStrength(2, 1000);
    combat.SetDecisive(combat.Attackers(), combat.Defenders());
    EXPECT_FALSE(combat.decisive);
}

TEST_F(BattleTest, LossesFollowTheTableAndSidesWithoutStrengthLoseNothing) {
    Tables(0.1f, 0.5f);
    CCombat& combat = FixedBattle(0.0f, 3000.0f);
    CLandUnit& a = ArmyWith(10000, 3.0f, nullptr);
    CLandUnit& d = ArmyWith(10000, 3.0f, nullptr, kNeutral);
    combat.RequestJoinAttackers(&a);
    combat.RequestJoinDefenders(&d);
    combat.Init();
    EXPECT_FALSE(combat.firePhase); // no fire strength: a shock phase
    const float shock = combat.Defenders().GetShockStrength();
    ASSERT_GT(shock, 0.0f);
    EXPECT_FLOAT_EQ(combat.Attackers().menLoss, 0.1f * shock * 0.2f);
    EXPECT_FLOAT_EQ(combat.Attackers().moraleLoss, 0.5f * 0.2f);
    // A side whose units have no men left shares nothing out.
    a.SetStrength(2, 0.0f);
    combat.Attackers().ApplyLosses(500.0f, 0.0f);
    EXPECT_EQ(a.GetStrength(2), 0.0f);
    EXPECT_EQ(a.GetStrength(1), 0.0f);
}

TEST_F(BattleTest, ABrokenSideRetreatsAndTheOtherWinsTheBattle) {
    Tables(0.05f, 5.0f); // a morale loss of 1.0 a day
    CCombat& combat = FixedBattle(0.0f, 3000.0f);
    CLandUnit& a = ArmyWith(20000, 3.0f, nullptr);
    CLandUnit& d = ArmyWith(5000, 1.5f, nullptr, kNeutral);
    combat.RequestJoinAttackers(&a);
    combat.RequestJoinDefenders(&d);
    const ObjectId id = combat.GetId();
    ExecuteAndSendEvent(
        std::make_unique<COVCombatEvent>(EVT_COMBAT_STARTED, id, kCombatLand, id, CDate()));
    EXPECT_EQ(combat.GetName(), "Combat " + std::to_string(id.number) + " in Prov10");
    for (int day = 0; day < 10 && !combat.ended; ++day)
        ExecuteEvent(
            std::make_unique<COVCombatEvent>(EVT_COMBAT_PHASE, id, kCombatLand, id, CDate()));
    EXPECT_TRUE(combat.ended);
    EXPECT_TRUE(combat.Defenders().finished);
    EXPECT_FALSE(combat.Attackers().finished);
    EXPECT_FALSE(a.IsInCombat());
    // A phase after the end changes nothing.
    const float morale = combat.Attackers().morale;
    ExecuteEvent(std::make_unique<COVCombatEvent>(EVT_COMBAT_PHASE, id, kCombatLand, id, CDate()));
    EXPECT_EQ(combat.Attackers().morale, morale);
}

// A seed whose first roll of the game's generator gives the remainder.
uint32_t SeedRolling(int remainder) {
    for (uint32_t seed = 0;; ++seed) {
        GameSrand(seed);
        if (GameRand() % 100 == remainder) {
            GameSrand(seed);
            return seed;
        }
    }
}

// The replacement requests queued for the leader registry.
std::vector<const COVEvent*> QueuedReplacements() {
    std::vector<const COVEvent*> found;
    g_scheduler.ForEachEvent([&found](COVEvent* event) {
        if (event->GetType() == EVT_REQUEST_REPLACEMENT_LEADER &&
            event->GetReceiver() == g_leaderRequestsId)
            found.push_back(event);
    });
    return found;
}

TEST_F(BattleTest, AFallenCommanderOfHistoryScoresHisCountryAndTheNextBestTakesOver) {
    g_config = std::make_unique<CConfig>();
    g_config->SetWord(ConfigOffset::kBaseVictoryPoints, 1);
    CHistoricalLeader hero;
    hero.AssignNewId();
    hero.rank = 10;
    hero.fire = 4;
    CLeader& deputy = Leader(0, 0, 60);
    CLeader& enemyLeader = Leader(0, 0, 50);
    enemyLeader.fire = 2;
    CCombat& combat = MakeBattle();
    CLandUnit& heroes = ArmyWith(10000, 2.0f, &hero);
    CLandUnit& others = ArmyWith(5000, 2.0f, &deputy);
    combat.RequestJoinAttackers(&heroes);
    combat.RequestJoinAttackers(&others);
    combat.RequestJoinDefenders(&ArmyWith(8000, 2.0f, &enemyLeader, kNeutral));
    ASSERT_EQ(combat.Attackers().commander, &hero);
    EXPECT_EQ(combat.Attackers().fireLeaderBonus, 2);

    // Only the roll of 17 kills, and only a leader of history.
    SeedRolling(16);
    combat.Attackers().RollLeaderDeath();
    SeedRolling(17);
    combat.Defenders().RollLeaderDeath(); // a leader made in play does not fall
    EXPECT_EQ(combat.Attackers().commander, &hero);
    EXPECT_EQ(combat.Defenders().commander, &enemyLeader);
    EXPECT_TRUE(QueuedReplacements().empty());

    SeedRolling(17);
    combat.Attackers().RollLeaderDeath();
    // His country counts 25 and his rank; the deputy (rank 60), not the
    // fallen hero still listed in his unit, commands, and the fire bonus
    // goes over to the enemy.
    EXPECT_FLOAT_EQ(Country(kPlayer).m_baseVp.values[2], 35.0f);
    EXPECT_EQ(combat.Attackers().commander, &deputy);
    EXPECT_EQ(combat.Attackers().fireLeaderBonus, 0);
    EXPECT_EQ(combat.Defenders().fireLeaderBonus, 2);
    const std::vector<const COVEvent*> asked = QueuedReplacements();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0]->Payload().Get(ReplacementLeaderPayload::kCountry), uint32_t{kPlayer});
    EXPECT_EQ(asked[0]->Payload().Get(ReplacementLeaderPayload::kUnit), heroes.GetId());
    EXPECT_EQ(asked[0]->Payload().Get(ReplacementLeaderPayload::kLeader), hero.GetId());

    // A kill message naming nobody changes nothing.
    auto stray = std::make_unique<COVDataEvent>(EVT_KILL_LEADER, combat.GetId());
    stray->Payload().Set(LeaderArrivalPayload::kLeader, ObjectId(kLeaderIdType, 4321));
    ExecuteEvent(std::move(stray));
    EXPECT_EQ(combat.Attackers().commander, &deputy);
    EXPECT_FLOAT_EQ(Country(kPlayer).m_baseVp.values[2], 35.0f);

    g_scheduler.Clear();
    heroes.DetachLeader(hero.GetId());
    g_config.reset();
}

// The player at this machine is country 1 and a scenario runs; the notices
// posted are kept.
class BattleNoticeTest : public BattleTest {
protected:
    void SetUp() override {
        BattleTest::SetUp();
        m_controllers = g_countryController;
        m_state = g_gameState;
        m_hooks = g_gameNotices;
        g_countryController.fill(0);
        g_countryController[kPlayer] = 1;
        g_gameState.isGameRunning = [] { return true; };
        s_posted.clear();
        g_gameNotices.post = [](const GameNotice& notice) { s_posted.push_back(notice); };
    }
    void TearDown() override {
        g_gameNotices = m_hooks;
        g_gameState = m_state;
        g_countryController = m_controllers;
        BattleTest::TearDown();
    }
    static void Start(CCombat& combat) {
        const ObjectId id = combat.GetId();
        ExecuteEvent(std::make_unique<COVCombatEvent>(
            EVT_COMBAT_STARTED, id, static_cast<uint32_t>(combat.GetType()), id, CDate()));
    }

    static inline std::vector<GameNotice> s_posted;
    std::array<uint32_t, kCountrySlots> m_controllers{};
    GameStateHooks m_state;
    GameNoticeHooks m_hooks;
};

TEST_F(BattleNoticeTest, ThePlayerHearsOfABattleHeFightsOnOneSideOnly) {
    CLeader& enemyLeader = Leader(0, 0, 50);
    enemyLeader.SetCountry(&Country(kNeutral));
    struct Case {
        int32_t terrain;
        bool playerAttacks;
        bool playerOnBothSides;
        int32_t notice; // -1: none
    } cases[] = {
        {0, true, false, 129},  {0, false, false, 130}, {5, true, false, 127},
        {5, false, false, 128}, {0, true, true, -1},
    };
    for (const Case& c : cases) {
        s_posted.clear();
        m_plains->terrain = c.terrain;
        CCombat& combat = MakeBattle();
        CLandUnit& mine = ArmyWith(5000, 2.0f, nullptr);
        CLandUnit& theirs = ArmyWith(5000, 2.0f, &enemyLeader, kNeutral);
        combat.RequestJoinAttackers(c.playerAttacks ? &mine : &theirs);
        combat.RequestJoinDefenders(c.playerAttacks ? &theirs : &mine);
        if (c.playerOnBothSides)
            combat.RequestJoinDefenders(&ArmyWith(1000, 2.0f, nullptr));
        Start(combat);
        if (c.notice < 0) {
            EXPECT_TRUE(s_posted.empty()) << c.terrain;
        } else {
            ASSERT_EQ(s_posted.size(), 1u) << c.notice;
            const GameNotice& notice = s_posted[0];
            EXPECT_EQ(notice.type, c.notice);
            EXPECT_EQ(notice.country, uint32_t{kPlayer});
            EXPECT_EQ(notice.linkProvince, 10);
            const NoticeArg place(m_plains->name);
            const NoticeArg enemy(Country(kNeutral).GetName());
            if (c.playerAttacks)
                EXPECT_EQ(notice.values, (std::vector<NoticeArg>{place, place})) << c.notice;
            else
                EXPECT_EQ(notice.values, (std::vector<NoticeArg>{enemy, enemy, place})) << c.notice;
        }
        m_plains->combats.reset();
        g_scheduler.Clear();
    }
    m_plains->terrain = 0;
}

} // namespace

// A side whose units never leave it.
class StickySide : public CLandCombatSide {
public:
    using CLandCombatSide::CLandCombatSide;
    bool RemoveIfPresent(CUnit*) override { return false; }
};

TEST_F(BattleTest, DestroyingEveryUnitEndsEvenWhenAUnitStaysListed) {
    m_fixed = std::make_unique<CCombat>(*m_plains, kCombatLand, std::make_unique<StickySide>(true),
                                        std::make_unique<StickySide>(false));
    m_fixed->AssignNewId();
    m_fixed->RequestJoinAttackers(&ArmyWith(1000, 1.0f, nullptr));
    m_fixed->RequestJoinAttackers(&ArmyWith(2000, 1.0f, nullptr));
    ASSERT_EQ(m_fixed->Attackers().UnitsInOrder().size(), 2u);
    m_fixed->Attackers().DestroyAllUnits();
    EXPECT_TRUE(m_fixed->Attackers().GetUnits().IsEmpty());
    EXPECT_TRUE(Country(kPlayer).m_units.IsEmpty());
}
