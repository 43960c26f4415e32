// Sieges: the strength thresholds, the garrison, the monthly roll, the
// assault's fallback, the floors of fortress and city; and the combat
// block of saved games.
#include "military/combat/Siege.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "country/CountryMilitary.h"
#include "data/GameFile.h"
#include "data/Keywords.h"
#include "engine/GameState.h"
#include "military/combat/Combat.h"
#include "military/units/LandUnit.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Scheduler.h"
#include "tests/TestSupport.h"
#include "tests/military/UnitMovementTestFixture.h"
#include "world/City.h"
#include "world/GameNotices.h"
#include "world/ProvinceWork.h"

namespace {

class SiegeTest : public test::UnitMovementTest {
protected:
    void SetUp() override {
        UnitMovementTest::SetUp();
        BuildKeywordIndex();
        g_scheduler.Clear();
        m_town = &Province(10, 0);
        Own(*m_town, kNeutral);
    }
    void TearDown() override {
        g_scheduler.RunDue();
        DeleteAllCombats();
        g_scheduler.Clear();
        UnitMovementTest::TearDown();
    }

    // A city of the fortress level and population in the town.
    void City(float level, float population) {
        Fortify(*m_town, level);
        m_town->GetCity()->SetPopulation(population);
    }
    // A siege of the town, made as the create message makes it.
    CSiegeCombat& MakeSiege() {
        const ObjectId id = NewObjectId();
        g_provinceWork.startCombat(*m_town, CDate(), kCombatSiegeCover, id);
        CCombat* combat = FindCombatById(id);
        EXPECT_NE(combat, nullptr);
        EXPECT_NE(combat->GetSiege(), nullptr);
        return *combat->GetSiege();
    }
    // The phase messages queued for the combat.
    static size_t QueuedPhases(const ObjectId& combat) {
        size_t count = 0;
        g_scheduler.ForEachEvent([&](COVEvent* event) {
            if (event->GetType() == EVT_COMBAT_PHASE && event->GetReceiver() == combat)
                ++count;
        });
        return count;
    }
    static void Start(CCombat& combat) {
        const ObjectId id = combat.GetId();
        ExecuteAndSendEvent(std::make_unique<COVCombatEvent>(
            EVT_COMBAT_STARTED, id, static_cast<uint32_t>(combat.GetType()), id, CDate()));
    }
    // The combat ends and leaves the province, as the server removes it.
    void Remove(CCombat& combat) {
        const ObjectId id = combat.GetId();
        ExecuteEvent(std::make_unique<COVCombatEvent>(EVT_COMBAT_ENDED, id, 0, id, CDate()));
        g_provinceWork.deleteCombat(*m_town, id);
    }
    static std::string IdText(const ObjectId& id) {
        return "{ type = " + std::to_string(id.type) + " id = " + std::to_string(id.number) + " }";
    }
    // What the block of the combat prints.
    std::string Printed(CCombat& combat) {
        CNodeRef<CDataNode> node(new CDataAssignment(KW_COMBAT, WriteCombat(combat)));
        CFieldReader out;
        out.Open("combat.txt", "w");
        EXPECT_EQ(node->Write(out, 0), FIELD_WRITTEN);
        out.Close();
        return m_dir.ReadFile("combat.txt");
    }
    int32_t LoadText(const std::string& text) {
        m_dir.WriteFile("game.ovg", text);
        CFieldReader in;
        in.Open("game.ovg", "r");
        const int32_t result = ReadGameFile(in);
        in.Close();
        return result;
    }

    CProvince* m_town = nullptr;
    test::ScopedGameDir m_dir;
    test::BoxRecorder m_boxes;
};

TEST_F(SiegeTest, TheGarrisonFollowsTheFortressAndTheSizeOfTheCity) {
    struct Case {
        float level, population;
        int32_t infantry, artillery; // artillery when the country may raise it
    } cases[] = {
        {3.0f, 10000.0f, 15000, 30},
        {3.0f, 3000.0f, 7500, 15}, // not a large city: halved
        {1.0f, 4999.0f, 2500, 5},
        {2.5f, 5000.0f, 10000, 20}, // the level taken whole
    };
    const bool artillery = Country(kNeutral).MayRaiseArtillery();
    for (const Case& c : cases) {
        City(c.level, c.population);
        CSiegeCombat& siege = MakeSiege();
        CLandUnit* garrison = siege.Garrison().GetGarrison();
        ASSERT_NE(garrison, nullptr) << c.level;
        EXPECT_EQ(garrison->GetOwner(), &Country(kNeutral));
        EXPECT_EQ(garrison->GetRoundedInfantry(), c.infantry) << c.level << " " << c.population;
        EXPECT_EQ(garrison->GetRoundedArtillery(), artillery ? c.artillery : 0);
        EXPECT_EQ(garrison->GetRoundedCavalry(), 0);
        EXPECT_EQ(m_town->GetCity()->GetSiegeId(), siege.GetId());
        EXPECT_TRUE(siege.Defenders().GetUnits().Contains(garrison));
        EXPECT_EQ(siege.GetType(), kCombatSiegeCover);
        Remove(siege);
        EXPECT_TRUE(m_town->GetCity()->GetSiegeId().IsNull());
    }
}

TEST_F(SiegeTest, BesiegersCoverFromHalfTheStrengthTheyNeedToBesiege) {
    struct Case {
        float men;
        bool cover, besiege;
    } cases[] = {
        {7499, false, false},
        {7500, true, false},
        {14999, true, false},
        {15000, true, true},
    };
    City(3.0f, 10000.0f);
    for (const Case& c : cases) {
        CSiegeCombat& siege = MakeSiege();
        siege.RequestJoinAttackers(&Army(10, c.men));
        EXPECT_EQ(siege.CanCover(), c.cover) << c.men;
        EXPECT_EQ(siege.CanBesiege(), c.besiege) << c.men;
        // A force that can besiege leaves cover as soon as it joins.
        EXPECT_EQ(siege.GetType(), c.besiege ? kCombatSiegeSiege : kCombatSiegeCover) << c.men;
        Remove(siege);
    }
}

TEST_F(SiegeTest, BesiegersTooWeakToCoverGiveUpAtTheStart) {
    City(3.0f, 10000.0f);
    CSiegeCombat& siege = MakeSiege();
    CLandUnit& army = Army(10, 7499);
    siege.RequestJoinAttackers(&army);
    Start(siege);
    EXPECT_TRUE(siege.ended);
    EXPECT_TRUE(siege.Attackers().finished);
    EXPECT_TRUE(m_town->GetCity()->GetSiegeId().IsNull());
}

TEST_F(SiegeTest, WithoutAFortressAnyForceBesiegesWithTheBestArtilleryRating) {
    City(0.0f, 3000.0f);
    CSiegeCombat& siege = MakeSiege();
    siege.RequestJoinAttackers(&Army(10, 1));
    EXPECT_EQ(siege.GetType(), kCombatSiegeSiege);
    EXPECT_EQ(siege.artilleryRating, 3);
}

TEST_F(SiegeTest, TheMonthlyRollFollowsItsTable) {
    // Fortress 2, no terrain bonus, 60 guns (rating 3): the modifier is
    // 1 + the besieging leader's siege value.
    City(2.0f, 10000.0f);
    CSiegeCombat& siege = MakeSiege();
    CLeader& leader = Leader(0, 0, 1);
    CLandUnit& army = Army(10, 20000, 0, 60);
    army.AttachLeader(&leader);
    siege.RequestJoinAttackers(&army);
    ASSERT_EQ(siege.GetType(), kCombatSiegeSiege);
    CLandUnit& garrison = *siege.Garrison().GetGarrison();
    struct Case {
        int32_t skill, roll; // the total is roll + 1 + skill
        float attackers, garrison;
        int32_t shortage, breaches;
        bool losses;
    } cases[] = {
        {0, 1, 0.05f, 0.0f, 0, 0, false}, // 2: the besiegers waste away
        {0, 3, 0.0f, 0.0f, 0, 0, false},  // 4: nothing
        {0, 5, 0.0f, 0.01f, 1, 0, true},  // 6: food
        {0, 8, 0.0f, 0.03f, 3, 0, true},  // 9: water
        {0, 10, 0.0f, 0.0f, 2, 1, false}, // 11: a breach
        {3, 9, 0.0f, 0.1f, 0, 0, true},   // 13: desertion only
    };
    for (const Case& c : cases) {
        leader.siege = c.skill;
        siege.shortage = siege.breaches = 0;
        siege.Attackers().attrition = siege.Defenders().attrition = 0.0f;
        siege.UpdateSiegeValues();
        ASSERT_EQ(siege.GetSiegeModifier(), 1 + c.skill);
        const float men = garrison.GetTotalStrength();
        siege.OnSiegeResult(c.roll);
        const int32_t total = c.roll + 1 + c.skill;
        EXPECT_FLOAT_EQ(siege.Attackers().attrition, c.attackers) << total;
        EXPECT_FLOAT_EQ(siege.Defenders().attrition, c.garrison) << total;
        EXPECT_EQ(siege.shortage, c.shortage) << total;
        EXPECT_EQ(siege.breaches, c.breaches) << total;
        EXPECT_EQ(garrison.GetTotalStrength() < men, c.losses) << total;
        EXPECT_FALSE(siege.Defenders().finished) << total;
    }
    // 14: the garrison surrenders, and the besiegers take the town.
    leader.siege = 3;
    siege.shortage = 0;
    siege.OnSiegeResult(10);
    EXPECT_TRUE(siege.Defenders().finished);
    EXPECT_TRUE(siege.IsOver());
}

TEST_F(SiegeTest, ShortageStopsAtEightAndThePenaltyFollowsTheSupply) {
    City(2.0f, 10000.0f);
    CSiegeCombat& siege = MakeSiege();
    siege.RequestJoinAttackers(&Army(10, 20000, 0, 60));
    siege.shortage = 7;
    siege.supplyPenalty = 0.2f;
    siege.UpdateSiegeValues();
    // Water: +3, held at 8; with the fortress open the penalty falls to 0.
    siege.OnSiegeResult(9 - siege.GetSiegeModifier());
    EXPECT_EQ(siege.shortage, kSiegeMaxShortage);
    EXPECT_EQ(siege.supplyPenalty, 0.0f);
    m_town->blockaded = 1;
    siege.UpdateSiegeValues();
    ASSERT_EQ(siege.GetSiegeModifier(), 9);
    siege.OnSiegeResult(1); // water again
    EXPECT_EQ(siege.shortage, kSiegeMaxShortage);
    EXPECT_FLOAT_EQ(siege.supplyPenalty, 0.3f);
    // A roll no die shows changes nothing.
    siege.OnSiegeResult(11);
    EXPECT_FLOAT_EQ(siege.supplyPenalty, 0.3f);
}

// A client runs no phase of the siege: the roll it takes from the host is
// where its sides' morale follows their units, as the host's did.
TEST_F(SiegeTest, ARollTakesTheSidesMoraleFromTheirUnitsOnEveryMachine) {
    City(2.0f, 10000.0f);
    CSiegeCombat& siege = MakeSiege();
    CLandUnit& army = Army(10, 20000, 0, 60);
    siege.RequestJoinAttackers(&army);
    ASSERT_EQ(siege.GetType(), kCombatSiegeSiege);
    army.morale = 0.1f; // the month's morale, as every machine counts it
    siege.Attackers().morale = 0.5f;
    siege.OnSiegeResult(3); // a roll that changes nothing else
    EXPECT_FLOAT_EQ(siege.Attackers().morale, 0.1f);
}

TEST_F(SiegeTest, AnAssaultThatBreaksFallsBackWhileTheBesiegersAreStrongEnough) {
    struct Case {
        float men;
        int32_t mode; // 0: the besiegers retreat
    } cases[] = {
        {16000, kCombatSiegeSiege},
        {8000, kCombatSiegeCover},
        {7000, 0},
    };
    City(3.0f, 10000.0f);
    for (const Case& c : cases) {
        CSiegeCombat& siege = MakeSiege();
        CLandUnit& army = Army(10, c.men);
        siege.RequestJoinAttackers(&army);
        siege.StartAssault();
        ASSERT_EQ(siege.GetType(), kCombatSiegeAssault) << c.men;
        siege.Besiegers().RequestRetreat(0);
        if (c.mode) {
            EXPECT_EQ(siege.GetType(), c.mode) << c.men;
            EXPECT_FALSE(siege.Attackers().retreating) << c.men;
            EXPECT_TRUE(siege.Attackers().GetUnits().Contains(&army)) << c.men;
        } else {
            EXPECT_TRUE(siege.Attackers().retreating) << c.men;
            EXPECT_TRUE(siege.Attackers().GetUnits().IsEmpty()) << c.men;
        }
        g_scheduler.RunDue();
        Remove(siege);
    }
}

TEST_F(SiegeTest, ModesChangeTheScheduleOfThePhases) {
    City(2.0f, 10000.0f);
    CSiegeCombat& siege = MakeSiege();
    siege.RequestJoinAttackers(&Army(10, 5000));
    EXPECT_EQ(QueuedPhases(siege.GetId()), 0u); // cover: none
    siege.RequestJoinAttackers(&Army(10, 5000));
    ASSERT_EQ(siege.GetType(), kCombatSiegeSiege);
    EXPECT_EQ(QueuedPhases(siege.GetId()), 1u); // the first roll
    siege.StartAssault();
    siege.StartAssault(); // a second order changes nothing
    EXPECT_EQ(siege.GetType(), kCombatSiegeAssault);
    EXPECT_EQ(QueuedPhases(siege.GetId()), 1u); // the assault's first day
    siege.RequestModeChange(kCombatSiegeCover);
    EXPECT_EQ(siege.GetType(), kCombatSiegeCover);
    EXPECT_EQ(QueuedPhases(siege.GetId()), 0u);
    // A mode no siege knows is ignored.
    siege.OnModeChange(7);
    EXPECT_EQ(siege.GetType(), kCombatSiegeCover);
}

TEST_F(SiegeTest, FortressAndCityKeepTheirFloors) {
    City(3.0f, 5200.0f);
    CSiegeCombat& siege = MakeSiege();
    CCity& city = *m_town->GetCity();
    for (int i = 0; i < 100 && city.GetFortress().level > 1.0f; ++i)
        siege.Garrison().DamageFortress(5.0f);
    EXPECT_EQ(city.GetFortress().level, 1.0f);
    for (int i = 0; i < 20; ++i)
        siege.Garrison().DamageFortress(5.0f);
    EXPECT_EQ(city.GetFortress().level, 1.0f);
    siege.Garrison().DamageCity(1000.0f);
    EXPECT_EQ(city.GetPopulation(), 5000.0f);
    siege.Garrison().DamageCity(1000.0f);
    EXPECT_EQ(city.GetPopulation(), 5000.0f);
}

TEST_F(SiegeTest, ASurrenderHandsTheTownToTheBesiegers) {
    City(2.0f, 10000.0f);
    int told = 0;
    static int* s_told = nullptr;
    s_told = &told;
    g_combatAI.siegeStarted = [](CCombat&) { ++*s_told; };
    CSiegeCombat& siege = MakeSiege();
    g_combatAI.siegeStarted = nullptr;
    EXPECT_EQ(told, 1);
    // A master of sieges: every monthly roll totals 14 or more.
    CLeader& leader = Leader(0, 0, 1);
    leader.siege = 20;
    leader.SetCountry(&Country(kPirates));
    CLandUnit& army = Army(10, 20000, 0, 60, kPirates);
    army.AttachLeader(&leader);
    siege.RequestJoinAttackers(&army);
    Start(siege);
    ASSERT_EQ(siege.GetType(), kCombatSiegeSiege);
    ASSERT_EQ(QueuedPhases(siege.GetId()), 1u);
    const ObjectId id = siege.GetId();
    ExecuteEvent(
        std::make_unique<COVCombatEvent>(EVT_COMBAT_PHASE, id, kCombatSiegeSiege, id, CDate()));
    g_scheduler.RunDue();
    EXPECT_TRUE(siege.ended);
    EXPECT_TRUE(siege.Defenders().finished);
    EXPECT_FALSE(siege.Attackers().finished);
    EXPECT_EQ(siege.Garrison().GetGarrison(), nullptr);
    EXPECT_TRUE(m_town->GetCity()->GetSiegeId().IsNull());
    EXPECT_FALSE(army.IsInCombat());
    EXPECT_EQ(m_town->GetControllerNumber(), kPirates);
    EXPECT_GE(m_town->GetCity()->GetFortress().level, 1.0f);
}

TEST_F(SiegeTest, TheCityAndTheCountriesSeeWhoBesiegesIt) {
    City(2.0f, 10000.0f);
    CSiegeCombat& siege = MakeSiege();
    CLeader& leader = Leader(0, 0, 1);
    leader.SetCountry(&Country(kPirates));
    CLandUnit& army = Army(10, 6000, 0, 0, kPirates);
    army.AttachLeader(&leader);
    uint32_t type = 0;
    ObjectId combat;
    siege.RequestJoinAttackers(&army);
    ASSERT_EQ(siege.GetType(), kCombatSiegeCover);
    EXPECT_FALSE(g_countryMilitary.unitSiegeCombat(army, type, combat)); // only covering
    siege.RequestJoinAttackers(&Army(10, 6000, 0, 0, kPirates));
    ASSERT_EQ(siege.GetType(), kCombatSiegeSiege);
    EXPECT_TRUE(g_countryMilitary.unitSiegeCombat(army, type, combat));
    EXPECT_EQ(type, static_cast<uint32_t>(kCombatSiegeSiege));
    EXPECT_EQ(combat, siege.GetId());
    EXPECT_TRUE(m_town->GetCity()->IsUnderSiege());
    EXPECT_EQ(g_provinceControl.siegeCommanderCountry(*m_town), kPirates);
    siege.breaches = 1;
    m_town->GetCity()->UpdateStatus();
    EXPECT_EQ(m_town->GetCity()->siegeBarFill,
              (12 - std::clamp(siege.GetSiegeModifier(), 0, 12)) * 100 / 12);
}

TEST_F(SiegeTest, TheGarrisonTakesTheLossesOfAnAssault) {
    City(2.0f, 10000.0f);
    CSiegeCombat& siege = MakeSiege();
    siege.RequestJoinAttackers(&Army(10, 16000));
    siege.StartAssault();
    CLandUnit& garrison = *siege.Garrison().GetGarrison();
    const float men = garrison.GetTotalStrength();
    siege.Defenders().ApplyLosses(1000.0f, 0.0f);
    EXPECT_NEAR(garrison.GetTotalStrength(), men - 1000.0f, 1.0f);
}

TEST_F(SiegeTest, TheGarrisonIsNoUnitOfItsCountrysListsForLossMessages) {
    City(2.0f, 10000.0f);
    CSiegeCombat& siege = MakeSiege();
    CLandUnit& garrison = *siege.Garrison().GetGarrison();
    CLandUnit& field = Army(10, 8000, 0.0f, 0.0f, kNeutral);
    EXPECT_TRUE(garrison.garrison);
    EXPECT_FALSE(field.garrison);
    // The owner takes losses for the units of its lists only: the garrison's
    // are taken by the siege.
    for (CLandUnit* unit : {&garrison, &field}) {
        const float before = unit->GetTotalStrength();
        auto losses = std::make_unique<COVDataEvent>(EVT_UNITLOSSES, Country(kNeutral).GetId());
        losses->Payload().Set(UnitLossesPayload::kUnit, unit->GetId());
        losses->Payload().Set(UnitLossesPayload::kAmount, 500.0f);
        losses->Payload().Set(UnitLossesPayload::kCause, uint8_t{1});
        ExecuteEvent(std::move(losses));
        EXPECT_FLOAT_EQ(unit->GetTotalStrength(), unit == &field ? before - 500.0f : before);
    }
}

// The player at this machine is the town's holder or its besieger; a
// scenario runs and the notices posted are kept.
class SiegeNoticeTest : public SiegeTest {
protected:
    void SetUp() override {
        SiegeTest::SetUp();
        m_controllers = g_countryController;
        m_state = g_gameState;
        m_hooks = g_gameNotices;
        g_gameState.isGameRunning = [] { return true; };
        s_posted.clear();
        g_gameNotices.post = [](const GameNotice& notice) { s_posted.push_back(notice); };
    }
    void TearDown() override {
        g_gameNotices = m_hooks;
        g_gameState = m_state;
        g_countryController = m_controllers;
        SiegeTest::TearDown();
    }
    static void PlayAt(int32_t country) {
        g_countryController.fill(0);
        g_countryController[static_cast<size_t>(country)] = 1;
    }

    static inline std::vector<GameNotice> s_posted;
    std::array<uint32_t, kCountrySlots> m_controllers{};
    GameStateHooks m_state;
    GameNoticeHooks m_hooks;
};

TEST_F(SiegeNoticeTest, TheBesiegerAndTheHolderHearOfTheSiege) {
    City(1.0f, 10000.0f);
    CLeader& leader = Leader(0, 0, 50);
    struct Case {
        int32_t player;
        int32_t notice; // -1: none
    } cases[] = {{kPlayer, 131}, {kNeutral, 132}, {kPirates, -1}};
    for (const Case& c : cases) {
        PlayAt(c.player);
        s_posted.clear();
        CSiegeCombat& siege = MakeSiege();
        CLandUnit& army = Army(10, 6000);
        army.AttachLeader(&leader);
        siege.RequestJoinAttackers(&army);
        Start(siege);
        if (c.notice < 0) {
            EXPECT_TRUE(s_posted.empty());
        } else {
            ASSERT_EQ(s_posted.size(), 1u) << c.notice;
            EXPECT_EQ(s_posted[0].type, c.notice);
            EXPECT_EQ(s_posted[0].country, static_cast<uint32_t>(c.player));
            EXPECT_EQ(s_posted[0].linkProvince, 10);
            const NoticeArg town(m_town->name);
            const NoticeArg besieger(Country(kPlayer).GetName());
            const std::vector<NoticeArg> expected =
                c.notice == 131 ? std::vector<NoticeArg>{town, town}
                                : std::vector<NoticeArg>{besieger, besieger, town};
            EXPECT_EQ(s_posted[0].values, expected);
        }
        army.DetachLeader(leader.GetId());
        Remove(siege);
    }
}

TEST_F(SiegeNoticeTest, ThePlayerHearsOfHisUnitsAtTheEndOfTheirWay) {
    PlayAt(kPlayer);
    Province(11, 0);
    Province(12, 5);
    Province(13, 5);
    CLandUnit& army = Army(11, 1000);
    CNavalUnit& fleet = Fleet(12, 1.0f);
    CLandUnit& foreign = Army(11, 1000, 0.0f, 0.0f, kNeutral);
    for (CUnit* unit :
         {static_cast<CUnit*>(&army), static_cast<CUnit*>(&fleet), static_cast<CUnit*>(&foreign)}) {
        s_posted.clear();
        unit->previousProvince = unit->GetLocation();
        unit->SetProvince(unit == &fleet ? 13 : 10);
        if (unit == &foreign) {
            EXPECT_TRUE(s_posted.empty());
            continue;
        }
        ASSERT_EQ(s_posted.size(), 1u);
        EXPECT_EQ(s_posted[0].type, unit == &fleet ? 126 : 125);
        const NoticeArg place(GetProvince(unit->GetLocation())->name);
        EXPECT_EQ(s_posted[0].values, (std::vector<NoticeArg>{NoticeArg(unit->GetName()), place}));
    }
}

// --- the combat block ---

TEST_F(SiegeTest, ALandBattleReadBackStartsAgainWithItsUnitsAndMorale) {
    Province(11, 0);
    CLandUnit& attacker = Army(10, 10000);
    CLandUnit& defender = Army(10, 8000, 0, 0, kNeutral);
    attacker.morale = 2.0f;
    defender.morale = 3.0f;
    const ObjectId id = NewObjectId();
    g_provinceWork.startCombat(*m_town, CDate(3, 2, 1560), kCombatLand, id);
    CCombat& battle = *FindCombatById(id);
    battle.RequestJoinAttackers(&attacker);
    battle.RequestJoinDefenders(&defender);
    battle.Attackers().morale = 2.5f;
    const std::string text = Printed(battle);
    Remove(battle);
    ASSERT_EQ(FindCombatById(id), nullptr);
    g_scheduler.Clear();

    ASSERT_EQ(LoadText(text), FIELD_BLOCK_END) << text;
    CCombat* read = FindCombatById(id);
    ASSERT_NE(read, nullptr) << text;
    EXPECT_EQ(read->GetType(), kCombatLand);
    EXPECT_EQ(read->startDate, CDate(3, 2, 1560));
    EXPECT_EQ(read->Attackers().UnitsInOrder(), std::vector<CUnit*>{&attacker});
    EXPECT_EQ(read->Defenders().UnitsInOrder(), std::vector<CUnit*>{&defender});
    EXPECT_FLOAT_EQ(read->Attackers().morale, 2.5f);
    EXPECT_FLOAT_EQ(read->Defenders().morale, 3.0f);
    EXPECT_TRUE(read->started); // a new combat-started message
    EXPECT_EQ(QueuedPhases(id), 1u);
    // Written again, it prints the same.
    EXPECT_EQ(Printed(*read), text);
}

TEST_F(SiegeTest, ASiegeInAssaultReadBackKeepsItsBreachesShortageAndPenalty) {
    City(2.0f, 10000.0f);
    CSiegeCombat& siege = MakeSiege();
    const ObjectId id = siege.GetId();
    CLandUnit& army = Army(10, 16000, 0, 40);
    siege.RequestJoinAttackers(&army);
    siege.StartAssault();
    siege.breaches = 2;
    siege.shortage = 5;
    siege.supplyPenalty = 0.6f;
    siege.Garrison().GetGarrison()->SetStrength(2, 7321.4f);
    const std::string text = Printed(siege);
    EXPECT_NE(text.find("infantry = 7322"), std::string::npos) << text;
    Remove(siege);
    g_scheduler.Clear();

    ASSERT_EQ(LoadText(text), FIELD_BLOCK_END) << text;
    CCombat* read = FindCombatById(id);
    ASSERT_NE(read, nullptr) << text;
    CSiegeCombat* again = read->GetSiege();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->GetType(), kCombatSiegeAssault);
    EXPECT_EQ(again->breaches, 2);
    EXPECT_EQ(again->shortage, 5);
    EXPECT_FLOAT_EQ(again->supplyPenalty, 0.6f);
    EXPECT_EQ(again->Attackers().UnitsInOrder(), std::vector<CUnit*>{&army});
    ASSERT_NE(again->Garrison().GetGarrison(), nullptr);
    EXPECT_EQ(again->Garrison().GetGarrison()->GetRoundedInfantry(), 7322);
    EXPECT_TRUE(again->started);
    // The assault goes on the next day.
    EXPECT_EQ(QueuedPhases(id), 1u);
}

TEST_F(SiegeTest, BadCombatBlocksAreDroppedAndTheFileReadsOn) {
    CLandUnit& attacker = Army(10, 10000);
    CLandUnit& defender = Army(10, 8000, 0, 0, kNeutral);
    const ObjectId bad(kFirstPlayerIdType, 900001);
    const ObjectId good(kFirstPlayerIdType, 900002);
    const std::string sides = " attackers = { id = " + IdText(attacker.GetId()) +
                              " } defenders = { id = " + IdText(defender.GetId()) + " }";
    const std::string head = "combat = { id = " + IdText(bad) + " type = land province = 10";
    const std::string goodBlock =
        "\ncombat = { id = " + IdText(good) + " type = land province = 10" + sides + " }\n";
    const std::string missing = IdText(ObjectId(kFirstPlayerIdType, 777777));
    const char* cases[] = {
        " horses = 3",                                              // an unknown key
        " fortress = { infantry = 5000 horses = 3 }",               // a fortress of unknown shape
        " attackers = { id = { type = 1 id = 2 horses = { 1 } } }", // an id of unknown shape
        " morale = { 1.0 }",                                        // one morale
        " province = { 10 }",                                       // a block for a number
    };
    for (const char* field : cases) {
        ASSERT_EQ(LoadText(head + field + sides + " }" + goodBlock), FIELD_BLOCK_END) << field;
        EXPECT_EQ(FindObjectById(bad), nullptr) << field;
        CCombat* read = FindCombatById(good);
        ASSERT_NE(read, nullptr) << field;
        EXPECT_EQ(m_town->combats->GetCount(), 1u) << field;
        Remove(*read);
    }
    // Sides that come back empty (no units listed, or none of them there
    // any more): the combat is made, dropped again, and nothing points at it.
    const std::string empties[] = {
        " attackers = { } defenders = { }",
        " attackers = { id = " + missing + " } defenders = { id = " + IdText(defender.GetId()) +
            " }",
    };
    for (const std::string& fields : empties) {
        m_dir.WriteFile("block.txt", head + fields + " }");
        CFieldReader in;
        in.Open("block.txt", "r");
        ASSERT_EQ(in.ReadField(), FIELD_READ);
        EXPECT_EQ(ReadCombat(in), nullptr) << fields;
        in.Close();
        EXPECT_EQ(FindObjectById(bad), nullptr) << fields;
        EXPECT_FALSE(m_town->HasCombat()) << fields;
        EXPECT_FALSE(defender.IsInCombat()) << fields;
    }
}

} // namespace
