// The pirates, natives and rebels: the factory makes them, the pirates'
// raid chance, fleet limit, raid step and technology, the natives' blow to
// the settlements they take, and the rebels' merging, marching and
// assaulting.
#include "ai/CountryVariants.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "country/CountryMarks.h"
#include "country/CountryMilitary.h"
#include "country/CountryVariants.h"
#include "country/Technology.h"
#include "data/ScenarioHeader.h"
#include "engine/GameTimer.h"
#include "engine/Random.h"
#include "military/server/GameServer.h"
#include "military/units/LandUnit.h"
#include "military/units/NavalUnit.h"
#include "military/units/UnitList.h"
#include "tests/military/RequestServersFixture.h"
#include "world/CentreOfTrade.h"
#include "world/Globals.h"
#include "world/TradingPost.h"

namespace {

class CountryVariantsTest : public test::RequestServersTest {
protected:
    void SetUp() override {
        RequestServersTest::SetUp();
        for (CTechTable* table :
             {&g_landTechTable, &g_navalTechTable, &g_infraTechTable, &g_tradeTechTable})
            table->SetRows(std::vector<CTechRow>(60, ExpensiveRow()));
        g_countryController[kPiratesCountry] = 6;
        g_countryController[kNativesCountryNumber] = 5;
        g_countryController[kRebelsCountry] = 4;
        GameSrand(7);
    }
    void TearDown() override {
        for (CProvince* province : m_touched) {
            province->ClearNeighbours();
            province->area = province->tolerance = province->revoltCountry = 0;
            province->centreOfTrade = nullptr;
        }
        m_centre.reset();
        g_countryController.fill(0);
        RequestServersTest::TearDown();
    }

    // A level no month's research buys.
    static CTechRow ExpensiveRow() {
        CTechRow row;
        row.stepCost = 1000000;
        return row;
    }

    template <class T> T& MakeAs(uint32_t number) {
        auto* made = dynamic_cast<T*>(&Make(number));
        EXPECT_NE(made, nullptr);
        return *made;
    }

    static CLandUnit& Army(CCountry& country, int32_t province, float infantry) {
        auto* army = new CLandUnit(&country);
        army->AssignNewId();
        army->SetLocation(province);
        army->SetStrength(2, infantry);
        country.AddUnit(army);
        return *army;
    }

    static CNavalUnit& Fleet(CCountry& country, int32_t province, float warships) {
        auto* fleet = new CNavalUnit(&country);
        fleet->AssignNewId();
        fleet->SetLocation(province);
        fleet->SetStrength(0, warships);
        country.AddUnit(fleet);
        return *fleet;
    }

    CProvince& Owned(int32_t id, CCountry& owner) {
        CProvince& province = Touch(id);
        province.SetOwner(&owner);
        province.SetControllerField(&owner);
        return province;
    }

    void Link(int32_t a, int32_t b) {
        Touch(a).AddNeighbour({b, 0, 0});
        Touch(b).AddNeighbour({a, 0, 0});
    }

    // The messages of the type posted and not yet run, or run here and
    // queued for the other machines.
    static std::vector<const COVEvent*> Posted(uint32_t type) {
        std::vector<const COVEvent*> found;
        g_scheduler.ForEachEvent([&](COVEvent* event) {
            if (event->GetType() == type)
                found.push_back(event);
        });
        g_scheduler.ForEachSend([&](const COVEvent& event) {
            if (event.GetType() == type)
                found.push_back(&event);
        });
        return found;
    }

    static const CUnit* FindUnit(const ObjectId& id) {
        const CUnit* found = nullptr;
        CountryOfNumber(kRebelsCountry)->m_units.ForEach([&](CUnit* unit) {
            if (unit->GetId() == id)
                found = unit;
        });
        return found;
    }

    std::unique_ptr<CCentreOfTrade> m_centre;
};

TEST_F(CountryVariantsTest, TheFactoryMakesEachForceOfTheWorldOnEveryMachine) {
    g_countryController.fill(1);
    ResetCountryMarks();
    EXPECT_EQ(g_countryController[1], 0u);
    EXPECT_EQ(g_countryController[kPiratesCountry], 6u);
    EXPECT_EQ(g_countryController[kNativesCountryNumber], 5u);
    EXPECT_EQ(g_countryController[kRebelsCountry], 4u);
    BecomeClient();
    EXPECT_NE(dynamic_cast<CCountryType4*>(MakeCountryOfKind(kRebelsCountry, 4).get()), nullptr);
    EXPECT_NE(dynamic_cast<CCountryType5*>(MakeCountryOfKind(kNativesCountryNumber, 5).get()),
              nullptr);
    EXPECT_NE(dynamic_cast<CCountryType6*>(MakeCountryOfKind(kPiratesCountry, 6).get()), nullptr);
}

TEST_F(CountryVariantsTest, TheRaidChanceFallsWithTheYearsButNeverToZero) {
    const std::pair<int32_t, int32_t> cases[] = {{1492, 100}, {1679, 100}, {1680, 100}, {1700, 60},
                                                 {1729, 2},   {1730, 1},   {1820, 1}};
    for (const auto& [year, chance] : cases)
        EXPECT_EQ(GetPirateRaidChance(year), chance) << year;
}

TEST_F(CountryVariantsTest, TheFleetLimitFollowsTheBaseAndTheCentury) {
    struct Case {
        int32_t base;
        int32_t year;
        int32_t limit;
    };
    const Case cases[] = {
        {3, 1500, 1}, {3, 1549, 1},   {3, 1550, 4},  {3, 1650, 8}, {3, 1750, 2},
        {3, 1800, 1}, {20, 1750, 10}, {20, 1800, 5}, {0, 1800, 1}, {0, 1500, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PirateFleetLimitOf(c.base, c.year), c.limit) << c.base << " " << c.year;

    // The world's base: shipyards plus a hundredth of the warships.
    CCountry& england = Make(1);
    CCountry& france = Make(2);
    england.m_figures.shipyards = 1;
    england.m_keptUnits[CCountry::UNIT_WARSHIPS] = 150;
    france.m_keptUnits[CCountry::UNIT_WARSHIPS] = 99;
    EXPECT_EQ(GetPirateFleetLimit(), 2 * 3 + 2); // b = 1 + 249 / 100 in 1600
}

TEST_F(CountryVariantsTest, ARaidStepWithNoRichZoneRaisesTwoToFourWarshipsInTheDefaultZone) {
    CCountryType6& pirates = MakeAs<CCountryType6>(kPiratesCountry);
    Make(1).m_keptUnits[CCountry::UNIT_WARSHIPS] = 300; // a limit of 8
    pirates.ScheduleRaid();

    const int32_t days = pirates.nextRaidDate.GetDayCount() - kToday.GetDayCount();
    EXPECT_GE(days, 25);
    EXPECT_LE(days, 73);
    EXPECT_EQ(pirates.lastRaidZone, static_cast<uint32_t>(kDefaultRaidZone));
    const auto created = Posted(EVT_CREATE_FLEET);
    ASSERT_EQ(created.size(), 1u);
    EXPECT_EQ(created[0]->Payload().Get(NewUnitHead::kProvince),
              static_cast<uint32_t>(kDefaultRaidZone));
    EXPECT_EQ(created[0]->Payload().Get(NewUnitHead::kCountry), pirates.GetId());
    const uint32_t warships = created[0]->Payload().Get(COVFleetEvent::kWarships);
    EXPECT_GE(warships, 2u);
    EXPECT_LE(warships, 4u);
    EXPECT_EQ(created[0]->Payload().Get(COVFleetEvent::kGalleys), 0u);
    // England's naval level less one, at least 1.
    EXPECT_EQ(pirates.GetNavalTech().GetLevel(), 1);
}

TEST_F(CountryVariantsTest, AtTheLimitARaidStepOnlyMovesTheDate) {
    CCountryType6& pirates = MakeAs<CCountryType6>(kPiratesCountry);
    Fleet(pirates, kDefaultRaidZone, 3); // the limit is 0 in 1600 with no ships or yards: 2
    Fleet(pirates, kDefaultRaidZone, 3);
    pirates.ScheduleRaid();
    EXPECT_TRUE(pirates.nextRaidDate.IsAfter(kToday));
    EXPECT_TRUE(Posted(EVT_CREATE_FLEET).empty());
}

TEST_F(CountryVariantsTest, OnlyTheHostRaidsAndTheRaidWaitsForItsDate) {
    CCountryType6& pirates = MakeAs<CCountryType6>(kPiratesCountry);
    COVTimerEvent tick(EVT_TIMER_TICK_LOOP, pirates.GetId(), kToday);
    BecomeClient();
    pirates.OnTimerTickLoop(tick);
    EXPECT_TRUE(Posted(EVT_CREATE_FLEET).empty());
    EXPECT_EQ(pirates.nextRaidDate.GetDayCount(), 0);

    g_netSession = nullptr;
    pirates.OnTimerTickLoop(tick); // the first tick finds the zero date passed
    EXPECT_EQ(Posted(EVT_CREATE_FLEET).size(), 1u);
    pirates.OnTimerTickLoop(tick); // the next raid is weeks away
    EXPECT_EQ(Posted(EVT_CREATE_FLEET).size(), 1u);
}

TEST_F(CountryVariantsTest, TheRichestCoastDrawsTheRaidAndTheLastZoneIsPassedOver) {
    CCountryType6& pirates = MakeAs<CCountryType6>(kPiratesCountry);
    CCountry& owner = Make(1);
    for (int32_t zone : {900, 901}) {
        Touch(zone).area = kSeaArea;
        Link(zone, zone - 800);
        Owned(zone - 800, owner).tax = 40;
    }
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(pirates.RateRaidZone(*GetProvince(902)), 0); // no neighbours
    const int32_t first = pirates.ChooseRaidZone();
    EXPECT_TRUE(first == 900 || first == 901) << first;
    const int32_t second = pirates.ChooseRaidZone();
    EXPECT_NE(second, first);
    EXPECT_TRUE(second == 900 || second == 901) << second;

    // A zone that holds a unit rates 0.
    Fleet(owner, 900, 1);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(pirates.RateRaidZone(*GetProvince(900)), 0);
}

TEST_F(CountryVariantsTest, FleetsWithoutNeighboursStayAndFreeFleetsSailOnlyToRicherSeas) {
    CCountryType6& pirates = MakeAs<CCountryType6>(kPiratesCountry);
    CCountry& owner = Make(1);
    Touch(900).area = kSeaArea;
    Touch(901).area = kSeaArea;
    Touch(902).area = kSeaArea; // no neighbours at all
    Link(900, 901);
    Link(901, 101);
    Owned(101, owner).tax = 60;
    Fleet(pirates, 902, 2);
    CNavalUnit& roaming = Fleet(pirates, 900, 2);
    for (int i = 0; i < 10; ++i)
        pirates.MovePirateFleets();
    // Only the fleet off the rich coast's zone moves, and only toward it.
    const auto moves = Posted(EVT_UNITMOVE_ADD_DEST);
    ASSERT_FALSE(moves.empty());
    for (const COVEvent* move : moves) {
        EXPECT_EQ(move->Payload().Get(MoveDestinationPayload::kUnit), roaming.GetId());
        EXPECT_EQ(move->Payload().Get(MoveDestinationPayload::kDestination), 901);
    }
}

TEST_F(CountryVariantsTest, TheMonthSetsTheTechnologyOfEachForce) {
    CCountry& a = Make(1);
    CCountry& b = Make(2);
    CCountry& pagan = Make(3);
    a.m_religion.stateReligion = RELIGION_CATHOLIC;
    b.m_religion.stateReligion = RELIGION_SUNNI;
    pagan.m_religion.stateReligion = RELIGION_PAGAN;
    a.GetLandTech().SetLevel(30);
    b.GetLandTech().SetLevel(12);
    pagan.GetLandTech().SetLevel(2);
    EXPECT_EQ(GetHighestReferenceLandLevel(), 30);
    EXPECT_EQ(GetLowestReferenceLandLevel(), 12);

    CCountryType6& pirates = MakeAs<CCountryType6>(kPiratesCountry);
    CCountryType4& rebels = MakeAs<CCountryType4>(kRebelsCountry);
    CCountryType5& natives = MakeAs<CCountryType5>(kNativesCountryNumber);
    for (CCountry* force : {static_cast<CCountry*>(&pirates), static_cast<CCountry*>(&rebels),
                            static_cast<CCountry*>(&natives)})
        for (Technology* track : {&force->GetLandTech(), &force->GetNavalTech(),
                                  &force->GetInfraTech(), &force->GetTradeTech()})
            track->SetLevel(9);
    COVTimerEvent month(EVT_TIMER_MONTH, g_broadcastId, kToday);
    pirates.OnTimerMonth(month);
    rebels.OnTimerMonth(month);
    natives.OnTimerMonth(month);

    EXPECT_EQ(pirates.GetNavalTech().GetLevel(), 28);
    EXPECT_EQ(rebels.GetLandTech().GetLevel(), 11);
    for (CCountry* force : {static_cast<CCountry*>(&pirates), static_cast<CCountry*>(&rebels),
                            static_cast<CCountry*>(&natives)}) {
        if (force != &pirates)
            EXPECT_EQ(force->GetNavalTech().GetLevel(), 0);
        if (force != &rebels)
            EXPECT_EQ(force->GetLandTech().GetLevel(), 0);
        EXPECT_EQ(force->GetInfraTech().GetLevel(), 0);
        EXPECT_EQ(force->GetTradeTech().GetLevel(), 0);
    }

    // Never below 19 for the pirates nor above 20 for the rebels.
    a.GetLandTech().SetLevel(5);
    b.GetLandTech().SetLevel(40);
    pirates.OnTimerMonth(month);
    rebels.OnTimerMonth(month);
    EXPECT_EQ(pirates.GetNavalTech().GetLevel(), 38);
    EXPECT_EQ(rebels.GetLandTech().GetLevel(), 4);
    // With no country taking part (pagans do not), 21 stands.
    a.m_religion.stateReligion = RELIGION_PAGAN;
    b.m_religion.stateReligion = RELIGION_PAGAN;
    pirates.OnTimerMonth(month);
    rebels.OnTimerMonth(month);
    EXPECT_EQ(pirates.GetNavalTech().GetLevel(), 19);
    EXPECT_EQ(rebels.GetLandTech().GetLevel(), 20);
}

TEST_F(CountryVariantsTest, TheNativesCutTheSettlementOrWipeOutOneThatTradesElsewhere) {
    struct Case {
        bool city;
        float before; // population or trading-post level
        bool tradesElsewhere;
        bool abandoned;
        float after;
    };
    const Case cases[] = {
        {true, 200.0f, false, false, 150.0f}, // 400 x 0.025 x 5 = 50
        {true, 55.0f, false, false, 10.0f},   // kept at 10
        {true, 55.0f, true, true, 0.0f},      // wiped out
        {true, 60.0f, true, false, 10.0f},    // just 10 left
        {false, 3.0f, false, false, 2.0f},    // 3 - 50 / 60, truncated
        {false, 1.0f, false, false, 0.0f},    // not raised to 1
        {false, 1.5f, true, true, 0.0f},      // wiped out
    };
    CCountryType5& natives = MakeAs<CCountryType5>(kNativesCountryNumber);
    CCountry& settler = Make(1);
    m_centre = std::make_unique<CCentreOfTrade>();
    m_centre->SetProvinceId(31);
    int32_t id = 100;
    for (const Case& c : cases) {
        CProvince& province = Owned(++id, settler);
        province.tolerance = 5;
        if (c.city) {
            auto city = std::make_unique<CCity>();
            city->SetPopulation(c.before);
            province.SetCity(std::move(city));
        } else {
            auto post = std::make_unique<CTradingPost>();
            post->level = c.before;
            province.SetTradingPost(std::move(post));
        }
        province.centreOfTrade = c.tradesElsewhere ? m_centre.get() : nullptr;
        Army(natives, id, 300.0f);
        Army(natives, id, 100.0f);
        natives.ReduceSettlement(province, &settler);
        if (c.abandoned) {
            EXPECT_EQ(province.GetSettlement(), nullptr) << id;
            EXPECT_EQ(province.GetOwnerNumber(), -1) << id;
            continue;
        }
        const float now =
            c.city ? province.GetCity()->GetPopulation() : province.GetTradingPost()->level;
        EXPECT_FLOAT_EQ(now, c.after) << id;
    }
}

TEST_F(CountryVariantsTest, ALoneRebelArmyMarchesToTheRichestNeighbourElseTheCapital) {
    CCountryType4& rebels = MakeAs<CCountryType4>(kRebelsCountry);
    CCountry& owner = Able(1); // capital 11
    CCountry& other = Able(2); // capital 12
    CProvince& held = Owned(100, owner);
    held.SetControllerField(&rebels);
    Link(100, 101);
    Link(100, 102);
    Link(100, 103);
    Owned(101, other).tax = 150; // 150
    Owned(102, owner).tax = 60;  // 60 + 100 of the same owner
    Owned(103, owner).SetControllerField(&rebels);
    GetProvince(103)->tax = 900; // the rebels hold it already
    EXPECT_EQ(rebels.ChooseRebelGoal(held), 102);

    GetProvince(102)->tax = 40; // 140 < 150
    EXPECT_EQ(rebels.ChooseRebelGoal(held), 101);

    // The provinces of a nation not in play come first.
    held.revoltCountry = 40;
    EXPECT_EQ(rebels.ChooseRebelGoal(held), 101); // no record: neighbours as before

    held.ClearNeighbours();
    EXPECT_EQ(rebels.ChooseRebelGoal(held), 11);

    // The walk sends the army on the host, and only there.
    Army(rebels, 100, 5000.0f);
    BecomeClient();
    rebels.MoveRebelArmies();
    EXPECT_TRUE(Posted(EVT_UNITMOVE_ADD_DEST).empty());
    g_netSession = nullptr;
    rebels.MoveRebelArmies();
    EXPECT_FALSE(Posted(EVT_UNITMOVE_ADD_DEST).empty());
}

TEST_F(CountryVariantsTest, RebelArmiesTogetherMerge) {
    CCountryType4& rebels = MakeAs<CCountryType4>(kRebelsCountry);
    CCountry& owner = Able(1);
    Owned(100, owner).SetControllerField(&rebels);
    Army(rebels, 100, 3000.0f);
    Army(rebels, 100, 2000.0f);
    Army(rebels, 101, 2000.0f); // alone and not in a rebel province
    rebels.MoveRebelArmies();
    const auto merges = Posted(EVT_REQUEST_MERGE);
    ASSERT_FALSE(merges.empty());
    for (const COVEvent* merge : merges) {
        const CUnit* unit = FindUnit(merge->Payload().Get(MergeRequestPayload::kJoining));
        ASSERT_NE(unit, nullptr);
        EXPECT_EQ(unit->GetLocation(), 100);
    }
}

TEST_F(CountryVariantsTest, BesiegingRebelsInADutchProvinceAssaultOnlyWithoutHolland) {
    // Units with a siege id besiege a fortress in siege mode.
    const UnitStateHooks savedUnits = g_unitStateHooks;
    const auto savedSiege = g_countryMilitary.unitSiegeCombat;
    g_unitStateHooks.combatType = [](const CUnit& unit) {
        return unit.GetSiegeCombat().IsNull() ? 0 : 4;
    };
    g_countryMilitary.unitSiegeCombat = [](const CUnit& unit, uint32_t& type, ObjectId& combat) {
        type = 4;
        combat = unit.GetSiegeCombat();
        return !combat.IsNull();
    };
    auto server = std::make_unique<CGameServer>();
    g_gameServer = server.get();
    g_globals.eventFlags[2] = 1;

    CCountryType4& rebels = MakeAs<CCountryType4>(kRebelsCountry);
    rebels.GetLandTech().SetLevel(5);
    CCountry& owner = Able(1);
    Owned(338, owner).SetControllerField(&rebels);
    for (float men : {3000.0f, 2000.0f}) {
        CLandUnit& army = Army(rebels, 338, men);
        army.CombatStarted(ObjectId(kEntityIdType, 77), 1, 4);
        army.morale = 10.0f;
    }
    rebels.MoveRebelArmies();
    EXPECT_TRUE(Posted(EVT_REQUEST_MERGE).empty());
    EXPECT_EQ(Posted(EVT_SIEGE_ASSAULT).size(), 2u);
    g_scheduler.Clear();

    Able(4); // Holland in play
    rebels.MoveRebelArmies();
    EXPECT_TRUE(Posted(EVT_SIEGE_ASSAULT).empty());

    g_globals.eventFlags[2] = 0;
    g_gameServer = nullptr;
    g_unitStateHooks = savedUnits;
    g_countryMilitary.unitSiegeCombat = savedSiege;
}

TEST_F(CountryVariantsTest, WhereTheOwnerIsNotTheControllerTheRebelsThereDisband) {
    CCountryType4& rebels = MakeAs<CCountryType4>(kRebelsCountry);
    CCountry& owner = Able(1);
    CCountry& occupier = Able(2);
    CProvince& province = Owned(100, owner);
    province.SetControllerField(&occupier);
    Army(rebels, 100, 1000.0f);
    Army(rebels, 101, 1000.0f);
    COVProvinceEvent change(EVT_PROVCHANGECONTROL, rebels.GetId(), 100);
    rebels.OnProvChangeControl(change);
    EXPECT_EQ(Posted(EVT_REQUEST_DISBAND_UNIT).size(), 1u);
}

TEST_F(CountryVariantsTest, OverAFewMonthsThePiratesRaidAndTheRebelsMarch) {
    CCountryType6& pirates = MakeAs<CCountryType6>(kPiratesCountry);
    CCountryType4& rebels = MakeAs<CCountryType4>(kRebelsCountry);
    CCountry& owner = Able(1);
    owner.m_keptUnits[CCountry::UNIT_WARSHIPS] = 300;
    for (int32_t zone : {900, 901, 902, kDefaultRaidZone}) {
        Touch(zone).area = kSeaArea;
        Touch(zone).terrain = kFirstSeaProvinceType;
    }
    Link(900, 901);
    Link(901, 902);
    Link(901, 101);
    Owned(101, owner).tax = 80;
    CProvince& risen = Owned(100, owner);
    risen.SetControllerField(&rebels);
    Link(100, 101);
    Army(rebels, 100, 4000.0f);

    std::vector<uint32_t> zones;
    bool marched = false;
    CDate today = kToday;
    for (int32_t day = 0; day < 120; ++day) {
        g_gameTimer->currentDate = today;
        COVTimerEvent tick(EVT_TIMER_TICK_LOOP, pirates.GetId(), today);
        pirates.OnTimerTickLoop(tick);
        if (today.day == 0) {
            COVTimerEvent month(EVT_TIMER_MONTH, g_broadcastId, today);
            rebels.OnTimerMonth(month);
        }
        for (const COVEvent* move : Posted(EVT_UNITMOVE_ADD_DEST))
            marched |= move->Payload().Get(MoveDestinationPayload::kDestination) == 101;
        for (const COVEvent* created : Posted(EVT_CREATE_FLEET))
            zones.push_back(created->Payload().Get(NewUnitHead::kProvince));
        g_scheduler.RunDue();
        g_scheduler.Clear();
        today.AddDays(1);
    }
    // A raid at once and more every 25 to 73 days, never twice running in
    // the rich zone (it was the last, and it holds a fleet); never above
    // the limit.
    ASSERT_GE(zones.size(), 2u);
    for (size_t i = 1; i < zones.size(); ++i)
        EXPECT_FALSE(zones[i] == 901u && zones[i - 1] == 901u);
    EXPECT_EQ(pirates.m_units.GetCount(), zones.size());
    EXPECT_LE(static_cast<int32_t>(pirates.m_units.GetCount()), GetPirateFleetLimit());
    pirates.m_units.ForEach([](CUnit* fleet) {
        EXPECT_TRUE(fleet->IsFleet());
        EXPECT_EQ(GetProvince(fleet->GetLocation())->area, kSeaArea) << fleet->GetLocation();
    });
    EXPECT_TRUE(marched);
}

TEST_F(CountryVariantsTest, ALoadedGameRaidsAtOnceAndANewGameWaitsForTheFirstTick) {
    CCountryType6& pirates = MakeAs<CCountryType6>(kPiratesCountry);
    pirates.lastRaidZone = 901;
    std::unique_ptr<ScenarioInfo> before = std::move(g_scenarioInfo);
    g_scenarioInfo = std::make_unique<ScenarioInfo>();
    EXPECT_EQ(pirates.SetAIPersonalityFile(), 0);
    EXPECT_EQ(pirates.lastRaidZone, 0u);
    EXPECT_EQ(pirates.nextRaidDate.GetDayCount(), 0);

    g_scenarioInfo->saved = true;
    pirates.SetAIPersonalityFile();
    EXPECT_TRUE(pirates.nextRaidDate.IsAfter(kToday));
    g_scenarioInfo = std::move(before);
}

TEST_F(CountryVariantsTest, TheNativesTakingAProvinceCutItsCityAndBadIdsAreDropped) {
    CCountryType5& natives = MakeAs<CCountryType5>(kNativesCountryNumber);
    CCountry& settler = Able(1);
    CProvince& province = Owned(100, settler);
    province.tolerance = 5;
    auto city = std::make_unique<CCity>();
    city->SetPopulation(200.0f);
    province.SetCity(std::move(city));
    Army(natives, 100, 400.0f);
    COVProvinceEvent taken(EVT_PROVCHANGECONTROL, natives.GetId(), 100);
    EXPECT_EQ(natives.OnProvChangeControl(taken), EVENT_CONSUMED);
    EXPECT_EQ(province.GetControllerNumber(), static_cast<int32_t>(kNativesCountryNumber));
    EXPECT_FLOAT_EQ(province.GetCity()->GetPopulation(), 150.0f);

    for (uint32_t id : {0u, 1473u, 0xFFFFFFFFu}) {
        COVProvinceEvent bad(EVT_PROVCHANGECONTROL, natives.GetId(), id);
        EXPECT_EQ(natives.OnProvChangeControl(bad), EVENT_CONSUMED) << id;
    }
    CCountryType4& rebels = MakeAs<CCountryType4>(kRebelsCountry);
    COVProvinceEvent bad(EVT_PROVCHANGECONTROL, rebels.GetId(), 1473);
    rebels.OnProvChangeControl(bad);
    EXPECT_TRUE(Posted(EVT_REQUEST_DISBAND_UNIT).empty());
}

TEST_F(CountryVariantsTest, ARebelProvinceWithoutAnOwnerSendsNoArmyAnywhere) {
    CCountryType4& rebels = MakeAs<CCountryType4>(kRebelsCountry);
    CProvince& wild = Touch(100);
    wild.SetControllerField(&rebels);
    Link(100, 101);
    Army(rebels, 100, 3000.0f);
    rebels.MoveRebelArmies();
    EXPECT_TRUE(Posted(EVT_UNITMOVE_ADD_DEST).empty());
}

} // namespace
