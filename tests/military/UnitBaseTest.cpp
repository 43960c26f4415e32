// The unit base: spreading losses, the commander rule, morale, the state
// table of the unit's messages; and the leaders' default abilities.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "country/Country.h"
#include "country/Technology.h"
#include "military/units/Leader.h"
#include "military/units/LeaderRegistry.h"
#include "military/units/NavalUnit.h"
#include "military/units/Unit.h"
#include "net/EventTypes.h"
#include "tests/military/MilitaryBlockFixture.h"
#include "world/Province.h"

namespace {

TEST(SubtractTest, InOrderAndEvenlySpreadTheAmountAndAnswerWhatIsLeft) {
    struct Case {
        const char* name;
        bool evenly;
        std::vector<float> entries;
        float amount;
        std::vector<float> after;
        float left;
    };
    const Case cases[] = {
        {"in order, part of the second", false, {1000, 500, 10}, 1200, {0, 300, 10}, 0},
        {"in order, more than all", false, {1000, 500, 10}, 2000, {0, 0, 0}, 490},
        {"in order, nothing to take", false, {1000, 500, 10}, 0, {1000, 500, 10}, 0},
        {"evenly, a second pass for the rest", true, {1000, 100, 10}, 300, {810, 0, 0}, 0},
        {"evenly, empty entries count as emptied", true, {0, 400}, 300, {0, 100}, 0},
        {"evenly, more than all", true, {30, 20, 10}, 100, {0, 0, 0}, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<float> entries = c.entries;
        const int32_t count = static_cast<int32_t>(entries.size());
        const float left = c.evenly ? SubtractEvenly(entries.data(), count, c.amount)
                                    : SubtractInOrder(entries.data(), count, c.amount);
        EXPECT_FLOAT_EQ(left, c.left);
        for (size_t i = 0; i < entries.size(); ++i)
            EXPECT_FLOAT_EQ(entries[i], c.after[i]) << i;
    }
    // No entries: the amount comes back untouched and nothing is written.
    float one = 5.0f;
    EXPECT_FLOAT_EQ(SubtractInOrder(&one, 0, 3.0f), 3.0f);
    EXPECT_FLOAT_EQ(SubtractEvenly(&one, -1, 3.0f), 3.0f);
    EXPECT_FLOAT_EQ(SubtractEvenly(nullptr, 3, 3.0f), 3.0f);
    EXPECT_FLOAT_EQ(one, 5.0f);
}

TEST(SubtractTest, EvenPassesEndWhenTheShareIsTooSmallToTakeAnything) {
    // The smallest float divided in three rounds to 0: the passes would
    // otherwise never end.
    std::vector<float> entries = {1000.0f, 1000.0f, 1000.0f};
    const float tiny = std::numeric_limits<float>::denorm_min();
    EXPECT_LE(SubtractEvenly(entries.data(), 3, tiny), tiny);
    // A small amount beside big entries leaves a rounding remainder.
    entries = {1.0e9f, 1.0e9f, 1.0e9f};
    EXPECT_LT(SubtractEvenly(entries.data(), 3, 100.0f), 1.0f);
}

TEST(MoraleLevelTest, TheFirstThresholdReachedNamesTheLevel) {
    const std::pair<float, const char*> cases[] = {
        {9.0f, "INVINCIBLE"}, {4.5f, "INVINCIBLE"},  {4.4999f, "VERYSTRONG"}, {3.5f, "VERYSTRONG"},
        {2.5f, "STRONG"},     {1.5f, "DISCIPLINED"}, {0.75f, "WEAK"},         {0.25f, "BREAKING"},
        {0.2499f, "PANIC"},   {-1.0f, "PANIC"},
    };
    for (const auto& [morale, key] : cases)
        EXPECT_STREQ(MoraleLevelKeyOf(morale), key) << morale;
}

class UnitBaseTest : public test::MilitaryBlockTest {
protected:
    void SetUp() override {
        MilitaryBlockTest::SetUp();
        CTechRow row;
        row.morale = 2.0f;
        landTable.SetRows({row, row});
        country.GetLandTech().table = &landTable;
    }
    void TearDown() override {
        for (CProvince& province : g_provinces)
            province.continent = 0;
        MilitaryBlockTest::TearDown();
    }

    // An army of the country with a run-time id, so that messages find it.
    std::unique_ptr<CLandUnit> Army(float infantry, float cavalry, float artillery) {
        auto army = std::make_unique<CLandUnit>(&country);
        army->AssignNewId();
        army->SetLocation(12);
        army->SetStrength(2, infantry);
        army->SetStrength(1, cavalry);
        army->SetStrength(0, artillery);
        return army;
    }

    std::unique_ptr<CRandomLeader> Leader(int32_t rank, int32_t siege = 0,
                                          int32_t category = LEADER_GENERAL) {
        auto leader = std::make_unique<CRandomLeader>();
        leader->AssignNewId();
        leader->rank = rank;
        leader->siege = siege;
        leader->category = category;
        return leader;
    }

    static std::vector<const CLeader*> Listed(const CUnit& unit) {
        std::vector<const CLeader*> leaders;
        CLinkedList<CLeader>::CListPosition position = nullptr;
        for (unit.GetLeaders().GetHeadPosition(position); position;
             CLinkedList<CLeader>::MoveNext(position))
            if (!position->removed)
                leaders.push_back(position->item);
        return leaders;
    }

    static COVDataEvent Message(uint32_t type, const CUnit& unit) {
        return COVDataEvent(type, unit.GetId());
    }

    CTechTable landTable{"LTLEVEL"};
    CCountry country{2};
};

TEST_F(UnitBaseTest, TheLowestRankCommandsTheFirstOnTiesAndMovesToTheHead) {
    struct Case {
        const char* name;
        std::vector<int32_t> ranks; // in list order, head first
        size_t commander;           // index into ranks; ranks.size(): the built-in one
    };
    const Case cases[] = {
        {"no leader: the built-in one", {}, 0},
        {"the head already commands", {1, 4, 7}, 0},
        {"a lower rank further down", {5, 3, 9}, 1},
        {"equal lowest ranks: the nearer one", {6, 2, 2}, 1},
        {"the last of the list", {8, 8, 1}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A block lists its leaders in the file's order.
        std::string text = "landunit = { ";
        for (size_t i = 0; i < c.ranks.size(); ++i)
            text += "leader = { id = { type = 4712 id = " + std::to_string(100 + i) +
                    " } rank = " + std::to_string(c.ranks[i]) + " } ";
        text += "infantry = 1000 }";
        CLandUnit army(&country);
        OpenBlock(text);
        reader.currentCountry = &country;
        ASSERT_EQ(army.Read(reader), FIELD_BLOCK_END);
        const std::vector<const CLeader*> before = Listed(army);
        ASSERT_EQ(before.size(), c.ranks.size());
        const CLeader* expected = c.ranks.empty() ? &army.GetDefaultLeader() : before[c.commander];
        EXPECT_EQ(army.GetCommander(), expected);
        if (c.ranks.empty())
            continue;
        // The commander stands at the head, the others keep their order.
        std::vector<const CLeader*> after = {expected};
        for (const CLeader* leader : before)
            if (leader != expected)
                after.push_back(leader);
        EXPECT_EQ(Listed(army), after);
        // Asked again, nothing moves.
        EXPECT_EQ(army.GetCommander(), expected);
        EXPECT_EQ(Listed(army), after);
    }
}

TEST_F(UnitBaseTest, AttachingAnAbleLeaderPutsTheCommanderAtTheHead) {
    auto army = Army(1000, 0, 0);
    auto general = Leader(3);
    auto colonel = Leader(9);
    EXPECT_TRUE(army->AttachLeader(general->GetId()));
    EXPECT_TRUE(army->AttachLeader(colonel->GetId()));
    EXPECT_EQ(Listed(*army), (std::vector<const CLeader*>{general.get(), colonel.get()}));
    EXPECT_EQ(colonel->GetUnit(), army.get());
    EXPECT_EQ(colonel->GetCountry(), &country);
    // Unknown ids change nothing.
    EXPECT_FALSE(army->AttachLeader(ObjectId(4712, 999999)));
    army->DetachLeader(ObjectId(4712, 999999));
    EXPECT_EQ(Listed(*army).size(), 2u);
    army->DetachLeader(general->GetId());
    EXPECT_EQ(Listed(*army), (std::vector<const CLeader*>{colonel.get()}));
    army->DetachLeader(colonel->GetId());
}

TEST_F(UnitBaseTest, SiegeAndExplorerLeadersAreFoundByTheirOwnRules) {
    auto army = Army(1000, 0, 0);
    army->GetDefaultLeader().siege = 2;
    auto equal = Leader(5, 2);
    EXPECT_TRUE(army->AttachLeader(equal->GetId()));
    EXPECT_EQ(army->GetBestSiegeLeader(), &army->GetDefaultLeader());
    auto better = Leader(6, 3);
    EXPECT_TRUE(army->AttachLeader(better->GetId()));
    EXPECT_EQ(army->GetBestSiegeLeader(), better.get());

    EXPECT_FALSE(army->HasExplorerLeader());
    auto first = Leader(7, 0, LEADER_CONQUISTADOR);
    auto last = Leader(8, 0, LEADER_CONQUISTADOR);
    auto lost = Leader(9, 0, LEADER_CONQUISTADOR);
    lost->manoeuvre = -1;
    for (auto* leader : {first.get(), last.get(), lost.get()})
        EXPECT_TRUE(army->AttachLeader(leader->GetId()));
    // Each joins at the head and the commander goes before it: equal,
    // lost, last, first, better.
    EXPECT_TRUE(army->HasExplorerLeader());
    EXPECT_EQ(army->FindExplorerLeader(), lost.get());
    // The last listed one able to move.
    EXPECT_EQ(army->FindLeaderOfCategory(LEADER_CONQUISTADOR), first.get());
    EXPECT_FALSE(army->HasLeaderOfCategory(LEADER_ADMIRAL));
    for (auto* leader : {equal.get(), better.get(), first.get(), last.get(), lost.get()})
        army->DetachLeader(leader->GetId());
    // The built-in leader may be an explorer itself.
    army->GetDefaultLeader().category = LEADER_EXPLORER;
    EXPECT_TRUE(army->HasExplorerLeader());
    EXPECT_EQ(army->FindExplorerLeader(), nullptr);
}

TEST_F(UnitBaseTest, LeadersTakenFromAnotherUnitLeaveItEmptyAndBelongToTheTaker) {
    auto first = Army(1000, 0, 0);
    auto second = Army(1000, 0, 0);
    // The leaders of a unit's block belong to it and die with it.
    OpenBlock("landunit = { leader = { id = { type = 4712 id = 80 } name = \"A\" rank = 4 } "
              "leader = { id = { type = 4712 id = 81 } name = \"B\" rank = 2 } infantry = 5 }");
    reader.currentCountry = &country;
    ASSERT_EQ(second->Read(reader), FIELD_BLOCK_END);
    auto own = Leader(3);
    EXPECT_TRUE(first->AttachLeader(own->GetId()));

    first->TakeLeadersFrom(*second);
    EXPECT_TRUE(second->GetLeaders().IsEmpty());
    ASSERT_EQ(Listed(*first).size(), 3u);
    EXPECT_EQ(first->GetCommander()->GetName(), "B");
    second.reset();
    // The taken leaders outlive the unit they came from.
    CLeader* b = FindLeaderById(ObjectId(4712, 81));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->GetUnit(), first.get());
    EXPECT_EQ(FindLeaderById(ObjectId(4712, 80))->GetName(), "A");
    first->DetachLeader(own->GetId());
}

TEST_F(UnitBaseTest, LossesAreSpreadOverTheKindsAndRecordedWithTheOwner) {
    struct Case {
        const char* name;
        std::array<float, 3> troops; // infantry, cavalry, artillery
        float amount;
        int32_t cause;
        bool godMode;
        std::array<float, 3> after;
        float left;
    };
    const Case cases[] = {
        // Two thirds (1000) in order from the infantry, the rest (500)
        // evenly; the guns count 100 men a piece.
        {"battle", {1000, 500, 10}, 1500, 1, false, {0, 250, 7.5f}, 0},
        // Attrition spares the guns.
        {"attrition", {1000, 500, 10}, 1500, 0, false, {0, 0, 10}, 0},
        {"more than the army", {100, 50, 0}, 300, 1, false, {0, 0, 0}, 150},
        {"nothing", {100, 50, 0}, 0, 1, false, {100, 50, 0}, 0},
        {"not a number",
         {100, 50, 0},
         std::numeric_limits<float>::quiet_NaN(),
         1,
         false,
         {100, 50, 0},
         0},
        // God mode: half of 100 each way, but the army keeps 1972 men:
        // 28 in order, 28 evenly.
        {"god mode floor", {2000, 0, 0}, 100, 1, true, {1944, 0, 0}, 0},
        // God mode on an army already below the floor takes nothing.
        {"god mode below the floor", {1500, 0, 0}, 100, 1, true, {1500, 0, 0}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        country.m_alternativeBanner = c.godMode ? 1 : 0;
        *country.GetLossRecord(c.cause) = CLossesRecord();
        auto army = Army(c.troops[0], c.troops[1], c.troops[2]);
        EXPECT_FLOAT_EQ(army->ApplyLosses(c.amount, c.cause), c.left);
        EXPECT_FLOAT_EQ(army->GetStrength(2), c.after[0]);
        EXPECT_FLOAT_EQ(army->GetStrength(1), c.after[1]);
        EXPECT_FLOAT_EQ(army->GetStrength(0), c.after[2]);
        // The owner keeps a row of losses per cause.
        const CLossesRecord& record = *country.GetLossRecord(c.cause);
        EXPECT_FLOAT_EQ(record.infantry, std::ceil(c.troops[0]) - std::ceil(c.after[0]));
        EXPECT_FLOAT_EQ(record.cavalry, std::ceil(c.troops[1]) - std::ceil(c.after[1]));
        EXPECT_FLOAT_EQ(record.artillery, std::ceil(c.troops[2]) - std::ceil(c.after[2]));
    }
    country.m_alternativeBanner = 0;
}

TEST_F(UnitBaseTest, FleetLossesTakeGalleysFirstAndSpareTransportsInGodMode) {
    struct Case {
        const char* name;
        std::array<float, 3> ships; // warships, galleys, transports
        float amount;
        bool godMode;
        std::array<float, 3> after;
    };
    const Case cases[] = {
        // 6 in order (galleys, then warships), 3 evenly over what is left.
        {"plain", {10, 4, 5}, 9, false, {6.5f, 0, 3.5f}},
        // God mode: 4.5 each way but the fleet keeps 17 of its 20 warships
        // and galleys (3 each way), the transports left out.
        {"god mode", {14, 6, 9}, 9, true, {12.5f, 1.5f, 9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        country.m_alternativeBanner = c.godMode ? 1 : 0;
        CNavalUnit fleet(&country);
        for (int i = 0; i < 3; ++i)
            fleet.SetStrength(i, c.ships[static_cast<size_t>(i)]);
        fleet.ApplyLosses(c.amount, 1);
        for (int i = 0; i < 3; ++i)
            EXPECT_FLOAT_EQ(fleet.GetStrength(i), c.after[static_cast<size_t>(i)]) << i;
    }
    country.m_alternativeBanner = 0;
}

TEST_F(UnitBaseTest, TroopLossesByKindAreHalvedInGodModeAndCleanedNearZero) {
    auto army = Army(1000, 300, 5);
    army->ApplyTroopLosses(400, 299.99999f, 1, 1);
    EXPECT_FLOAT_EQ(army->GetStrength(2), 600);
    EXPECT_FLOAT_EQ(army->GetStrength(1), 0); // below 0.00001: none left
    EXPECT_FLOAT_EQ(army->GetStrength(0), 4);
    const CLossesRecord& record = *country.GetLossRecord(1);
    EXPECT_FLOAT_EQ(record.infantry, 400);
    EXPECT_FLOAT_EQ(record.cavalry, 300);
    EXPECT_FLOAT_EQ(record.artillery, 1);
    country.m_alternativeBanner = 1;
    army->ApplyTroopLosses(100, 0, 2, 1);
    EXPECT_FLOAT_EQ(army->GetStrength(2), 550);
    EXPECT_FLOAT_EQ(army->GetStrength(0), 3);
    country.m_alternativeBanner = 0;
}

TEST_F(UnitBaseTest, SizesRoundEachStrengthUp) {
    auto army = Army(999.5f, 0.2f, 1.5f);
    EXPECT_EQ(army->GetCombatSize(), 1000 + 1 + 200);
    EXPECT_EQ(army->GetSize(), 1201);
    EXPECT_EQ(army->GetSizeInMen(), 1201);
    EXPECT_FLOAT_EQ(army->GetStrength(), 999.5f + 0.2f + 150.0f);
    CNavalUnit fleet(&country);
    fleet.SetStrength(0, 2.5f);
    fleet.SetStrength(1, 1.0f);
    fleet.SetStrength(2, 0.1f);
    EXPECT_EQ(fleet.GetCombatSize(), 4);
    EXPECT_EQ(fleet.GetSize(), 5);
    EXPECT_EQ(fleet.GetSizeInMen(), 25000);
    EXPECT_FLOAT_EQ(fleet.GetStrength(), 3.5f);
    EXPECT_FLOAT_EQ(fleet.GetTotalStrength(), 3.6f);
    // No attrition rate known: no monthly losses.
    EXPECT_FLOAT_EQ(army->GetMonthlyAttrition(), 0.0f);
}

TEST_F(UnitBaseTest, MoraleColourBandsFollowTheShareOfTheFullMoraleAndNeverDivideByZero) {
    auto army = Army(1000, 0, 0);
    const std::pair<float, int32_t> cases[] = {
        {2.0f, 0}, {1.6f, 0}, {1.59f, 1}, {1.2f, 1}, {0.8f, 2}, {0.4f, 3}, {0.39f, 4}, {0.0f, 4},
    };
    for (const auto& [morale, band] : cases) {
        army->morale = morale;
        EXPECT_EQ(army->GetMoraleColourIndex(), band) << morale;
    }
    // A country whose full morale is 0 (or that has no table, or a unit
    // without an owner): nothing to divide by, the neutral band 0.
    CTechRow zero;
    landTable.SetRows({zero, zero});
    army->morale = 0.5f;
    EXPECT_EQ(army->GetMoraleColourIndex(), 0);
    country.GetLandTech().table = nullptr;
    EXPECT_EQ(army->GetMoraleColourIndex(), 0);
    CLandUnit orphan(nullptr);
    orphan.morale = 1.0f;
    EXPECT_EQ(orphan.GetMoraleColourIndex(), 0);
    EXPECT_EQ(MoraleBandOf(std::numeric_limits<float>::quiet_NaN()), 0);
}

TEST_F(UnitBaseTest, EachStateAnswersItsOwnMessagesAndDropsTheRest) {
    enum class Setup { Idle, Moving, Combat };
    struct Case {
        const char* name;
        Setup state;
        uint32_t type;
        bool handled;
    };
    const Case cases[] = {
        {"idle takes losses", Setup::Idle, EVT_UNITLOSSES, true},
        {"moving ignores losses", Setup::Moving, EVT_UNITLOSSES, false},
        {"in combat takes losses", Setup::Combat, EVT_UNITLOSSES, true},
        {"idle cancels", Setup::Idle, EVT_UNITMOVECANCEL, true},
        {"moving cancels", Setup::Moving, EVT_UNITMOVECANCEL, true},
        {"in combat ignores a cancel", Setup::Combat, EVT_UNITMOVECANCEL, false},
        {"idle drops others", Setup::Idle, EVT_UNITMOVE_INVALID, false},
        {"moving drops others", Setup::Moving, EVT_PACIFY_NATIVE, false},
        {"in combat drops others", Setup::Combat, EVT_UNITSIZELOSSES, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto army = Army(1000, 0, 0);
        CIntList path;
        path.AddTail(13);
        path.AddTail(14);
        if (c.state == Setup::Moving)
            army->SetPath(0, path);
        if (c.state == Setup::Combat) {
            army->SetPath(0, path);
            army->CombatStarted(ObjectId(4712, 5000), 1, 1);
            // Starting a combat stops the unit.
            EXPECT_TRUE(army->IsPathEmpty());
            EXPECT_EQ(army->GetState(), CUnit::EState::Combat);
        }
        const CUnit::EState before = army->GetState();
        COVDataEvent message = Message(c.type, *army);
        if (c.type == EVT_UNITLOSSES)
            message.Payload().Set(UnitLossesPayload::kAmount, 300.0f);
        const bool hadPath = !army->IsPathEmpty();
        const int answer = army->HandleMessage(message);
        EXPECT_EQ(answer != EVENT_NOT_HANDLED, c.handled);
        if (c.type == EVT_UNITLOSSES)
            EXPECT_EQ(army->GetStrength(2) < 1000.0f, c.handled);
        if (c.type == EVT_UNITMOVECANCEL) {
            EXPECT_EQ(army->IsPathEmpty(), c.handled || !hadPath);
        }
        if (!c.handled)
            EXPECT_EQ(army->GetState(), before);
    }
}

TEST_F(UnitBaseTest, MessagesOfEveryStateSetMoraleAndStandInAProvinceOnTheMap) {
    auto army = Army(1000, 0, 0);
    CIntList path;
    path.AddTail(13);
    army->SetPath(0, path);
    COVDataEvent morale = Message(EVT_SET_RETREAT_MORALE, *army);
    morale.Payload().Set(UnitMoralePayload::kMorale, 0.25f);
    EXPECT_NE(army->HandleMessage(morale), EVENT_NOT_HANDLED);
    EXPECT_FLOAT_EQ(army->morale, 0.25f);
    EXPECT_EQ(army->GetState(), CUnit::EState::Moving);

    for (uint32_t bad : {0u, 1473u, 65535u}) {
        COVProvinceEvent place(EVT_SET_IN_PROVINCE, army->GetId(), bad);
        army->HandleMessage(place);
        EXPECT_EQ(army->GetLocation(), 12) << bad;
        EXPECT_FALSE(army->IsPathEmpty()) << bad;
    }
    COVProvinceEvent place(EVT_SET_IN_PROVINCE, army->GetId(), 40);
    EXPECT_NE(army->HandleMessage(place), EVENT_NOT_HANDLED);
    EXPECT_EQ(army->GetLocation(), 40);
    EXPECT_TRUE(army->IsPathEmpty());
    EXPECT_EQ(army->GetState(), CUnit::EState::Idle);
}

TEST_F(UnitBaseTest, LeavingTheFieldCombatKeepsASiegeGoing) {
    auto army = Army(1000, 0, 0);
    army->CombatStarted(ObjectId(4712, 6000), 0, 4); // a siege, defending
    army->CombatStarted(ObjectId(4712, 6001), 1, 1); // a field battle, attacking
    EXPECT_EQ(army->GetCombatSide(), 1);
    army->CombatEnded(ObjectId(4712, 6001));
    EXPECT_EQ(army->GetState(), CUnit::EState::Combat);
    EXPECT_EQ(army->GetCombatSide(), 0);
    EXPECT_EQ(army->GetSiegeCombat(), ObjectId(4712, 6000));
    // An id of neither combat clears nothing.
    army->CombatEnded(ObjectId(4712, 6002));
    EXPECT_TRUE(army->IsInCombat());
    army->CombatEnded(ObjectId(4712, 6000));
    EXPECT_FALSE(army->IsInCombat());
    EXPECT_EQ(army->GetState(), CUnit::EState::Idle);
}

TEST_F(UnitBaseTest, BuiltInLeadersTakeTheirCountrysDefaultAbilities) {
    struct Case {
        uint32_t country;
        int32_t category;
        std::array<int32_t, 4> abilities; // manoeuvre, fire, shock, siege
    };
    const Case cases[] = {
        {2, LEADER_GENERAL, {2, 1, 1, 0}},   {2, LEADER_ADMIRAL, {2, 0, 1, 0}},
        {9, LEADER_ADMIRAL, {2, 0, 1, 0}},   {9, LEADER_GENERAL, {1, 0, 3, 0}},
        {1, LEADER_EXPLORER, {3, 1, 1, 0}},  {5, LEADER_CONQUISTADOR, {3, 0, 1, 1}},
        {83, LEADER_GENERAL, {1, 3, 0, 0}},  {11, LEADER_GENERAL, {1, 1, 1, 1}},
        {50, LEADER_GENERAL, {1, 0, 1, 0}},  {50, LEADER_ADMIRAL, {1, 0, 1, 0}},
        {4, LEADER_PRIVATEER, {2, 1, 0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.country << " " << c.category);
        CRandomLeader leader;
        leader.category = c.category;
        leader.special = 9;
        leader.SetAbilities(c.country);
        EXPECT_EQ(leader.rank, 25);
        EXPECT_EQ(leader.special, 0);
        EXPECT_EQ(
            (std::array<int32_t, 4>{leader.manoeuvre, leader.fire, leader.shock, leader.siege}),
            c.abilities);
        EXPECT_EQ(leader.startDate, kToday);
        EXPECT_EQ(leader.endDate, (CDate{10, 4, 1615}));
    }
    // A French army's built-in leader.
    CCountry france(2);
    CLandUnit army(nullptr);
    army.SetCountry(&france);
    const CLeader& builtIn = army.GetDefaultLeader();
    EXPECT_EQ(builtIn.GetCountry(), &france);
    EXPECT_EQ((std::array<int32_t, 5>{builtIn.rank, builtIn.manoeuvre, builtIn.fire, builtIn.shock,
                                      builtIn.siege}),
              (std::array<int32_t, 5>{25, 2, 1, 1, 0}));
    EXPECT_FALSE(army.isNative);
}

TEST_F(UnitBaseTest, AConquistadorLendsNoFireOrShockOnContinentTwo) {
    auto army = Army(1000, 0, 0);
    auto conquistador = Leader(1, 0, LEADER_CONQUISTADOR);
    conquistador->fire = 3;
    conquistador->shock = 4;
    auto general = Leader(2, 0, LEADER_GENERAL);
    general->fire = 3;
    EXPECT_TRUE(army->AttachLeader(conquistador->GetId()));
    EXPECT_TRUE(army->AttachLeader(general->GetId()));
    EXPECT_EQ(conquistador->GetFire(), 3);
    EXPECT_EQ(conquistador->GetShock(), 4);
    GetProvince(12)->continent = 2;
    EXPECT_EQ(conquistador->GetFire(), 0);
    EXPECT_EQ(conquistador->GetShock(), 0);
    EXPECT_EQ(general->GetFire(), 3);
    // Without a unit the fields count.
    army->DetachLeader(conquistador->GetId());
    conquistador->SetUnit(nullptr);
    EXPECT_EQ(conquistador->GetFire(), 3);
    army->DetachLeader(general->GetId());
}

TEST_F(UnitBaseTest, LeadersAreFoundThroughTheRegistryOrTheEntityIds) {
    auto historical = std::make_unique<CHistoricalLeader>();
    historical->SetId(ObjectId(kLeaderIdType, 21));
    g_leaderRegistry->AddLeader(historical.get());
    EXPECT_EQ(FindLeaderById(ObjectId(kLeaderIdType, 21)), historical.get());
    EXPECT_EQ(FindLeaderById(ObjectId(kLeaderIdType, 22)), nullptr);
    EXPECT_EQ(FindLeaderById(ObjectId(kLeaderIdType, 999999)), nullptr);
    auto random = Leader(5);
    EXPECT_EQ(FindLeaderById(random->GetId()), random.get());
    // A unit's id names no leader.
    auto army = Army(10, 0, 0);
    EXPECT_EQ(FindLeaderById(army->GetId()), nullptr);
    // A historical leader that goes empties its slot.
    historical.reset();
    EXPECT_EQ(g_leaderRegistry->GetSlot(21), nullptr);
    EXPECT_EQ(FindLeaderById(ObjectId(kLeaderIdType, 21)), nullptr);
}

} // namespace

namespace {

TEST_F(UnitBaseTest, TheFlagShowsRetreatExileOrTheOwnersColours) {
    auto army = Army(1000, 0, 0);
    army->SetCountry(&country);
    const std::string own = army->GetFlagPath();
    EXPECT_EQ(own.rfind("gfx\\map\\flags\\flag_", 0), 0u) << own;
    EXPECT_NE(own, "gfx\\map\\flags\\flag_retreat.bmp");
    army->SetRetreating(13);
    EXPECT_TRUE(army->IsRetreating());
    EXPECT_EQ(army->GetFlagPath(), "gfx\\map\\flags\\flag_retreat.bmp");
    army->RestoreFlag();
    EXPECT_FALSE(army->IsRetreating());
    EXPECT_EQ(army->GetFlagPath(), own);
    // Trespassing shows the exiled flag, but not in a combat.
    army->trespassing = true;
    army->RestoreFlag();
    EXPECT_EQ(army->GetFlagPath(), "gfx\\map\\flags\\flag_exiled.bmp");
    army->CombatStarted(ObjectId(4712, 7000), 0, 1);
    army->RestoreFlag();
    EXPECT_EQ(army->GetFlagPath(), own);
    // Stopping ends a retreat and takes the flag down.
    army->CombatEnded(ObjectId(4712, 7000));
    army->trespassing = false;
    army->SetRetreating(14);
    army->CancelMovement();
    EXPECT_FALSE(army->IsRetreating());
    EXPECT_EQ(army->GetFlagPath(), own);
}

TEST_F(UnitBaseTest, AFinishedUnitTakesTheFieldUnlessItIsDying) {
    for (bool dying : {false, true}) {
        SCOPED_TRACE(dying);
        auto* army = Army(1500, 0, 2).release();
        country.m_unitsInDevelopment.AddTail(army);
        army->dying = dying;
        const int32_t infantry = country.m_infantryTotal;
        COVDataEvent finish = Message(EVT_UNIT_FINISH, *army);
        EXPECT_NE(army->HandleMessage(finish), EVENT_NOT_HANDLED);
        EXPECT_EQ(country.m_units.Contains(army), !dying);
        EXPECT_EQ(country.m_unitsInDevelopment.Contains(army), dying);
        EXPECT_EQ(army->isNew, dying);
        EXPECT_EQ(country.m_infantryTotal, infantry + (dying ? 0 : 1500));
        EXPECT_EQ(army->GetLocation(), 12);
    }
}

} // namespace
