// The country's messages that make, cost and hurt its armies and fleets and
// that make, activate and kill its leaders and monarchs, carried out on the
// host (and a client where they differ) over real units, leaders and
// monarchs.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "country/Ledger.h"
#include "engine/Config.h"
#include "military/units/LandUnit.h"
#include "military/units/Leader.h"
#include "military/units/LeaderRegistry.h"
#include "military/units/Monarch.h"
#include "military/units/NavalUnit.h"
#include "net/EventTypes.h"
#include "net/Scheduler.h"
#include "tests/country/EconomyFixture.h"
#include "world/GameNotices.h"
#include "world/Globals.h"
#include "world/Province.h"
#include "world/Territory.h"

namespace {

std::vector<GameNotice> g_notices;

constexpr int32_t kLand = 12;  // a land province of the test world
constexpr int32_t kCoast = 13; // another one

class UnitMessagesTest : public test::EconomyTest {
protected:
    void SetUp() override {
        EconomyTest::SetUp();
        g_leaderRegistry = std::make_unique<CLeaderRegistry>();
        g_notices.clear();
        m_savedNotices = g_gameNotices;
        g_gameNotices.post = [](const GameNotice& notice) { g_notices.push_back(notice); };
        m_savedStart = g_globals.startDate;
        m_savedEmperor = g_globals.emperor;
        g_globals.startDate = kToday;
        CTechRow land;
        land.morale = 3.0f;
        CTechRow naval;
        naval.morale = 2.5f;
        g_landTechTable.SetRows({land});
        g_navalTechTable.SetRows({naval});
    }
    void TearDown() override {
        // Leaders of history leave their registry slots as they go.
        DeleteAllCountries();
        FreeTerritories();
        GetProvince(kLand)->ResetForGame();
        g_leaderRegistry.reset();
        g_gameNotices = m_savedNotices;
        g_globals.startDate = m_savedStart;
        g_globals.emperor = m_savedEmperor;
        EconomyTest::TearDown();
    }

    static int Army(CCountry& country, uint32_t type, const ObjectId& id,
                    std::array<uint32_t, 3> troops, int32_t province = kLand,
                    const CDate& ready = kToday) {
        COVArmyEvent event(type, country.GetId());
        auto& payload = event.Payload();
        payload.Set(NewUnitHead::kProvince, static_cast<uint32_t>(province));
        payload.Set(NewUnitHead::kDate, kToday);
        payload.Set(NewUnitHead::kUnit, id);
        payload.Set(NewUnitHead::kReady, ready);
        payload.Set(NewUnitHead::kCountry, country.GetId());
        payload.Set(COVArmyEvent::kInfantry, troops[0]);
        payload.Set(COVArmyEvent::kCavalry, troops[1]);
        payload.Set(COVArmyEvent::kArtillery, troops[2]);
        return country.HandleMessage(event);
    }
    static int Fleet(CCountry& country, uint32_t type, const ObjectId& id,
                     std::array<uint32_t, 3> ships, int32_t province = kCoast,
                     const CDate& ready = kToday) {
        COVFleetEvent event(type, country.GetId());
        auto& payload = event.Payload();
        payload.Set(NewUnitHead::kProvince, static_cast<uint32_t>(province));
        payload.Set(NewUnitHead::kUnit, id);
        payload.Set(NewUnitHead::kReady, ready);
        payload.Set(COVFleetEvent::kWarships, ships[0]);
        payload.Set(COVFleetEvent::kGalleys, ships[1]);
        payload.Set(COVFleetEvent::kTransports, ships[2]);
        return country.HandleMessage(event);
    }
    static int ArmyOnFleet(CCountry& country, const ObjectId& army, const ObjectId& fleet,
                           std::array<uint32_t, 3> troops) {
        COVCreateArmyOnFleetEvent event(EVT_CREATE_ARMY_ON_FLEET, country.GetId(),
                                        {army.type, army.number, fleet.type, fleet.number, 0, 0,
                                         troops[0], troops[1], troops[2]});
        return country.HandleMessage(event);
    }
    static int CreateLeader(CCountry& country, const ObjectId& id, uint32_t category,
                            const char* name = "Tilly") {
        COVCreateLeaderEvent event(EVT_CREATE_LEADER, country.GetId());
        auto& payload = event.Payload();
        payload.Set(COVCreateLeaderEvent::kLeader, id);
        payload.Set(COVCreateLeaderEvent::kCategory, category);
        payload.Set(COVCreateLeaderEvent::kRank, 2u);
        payload.Set(COVCreateLeaderEvent::kFire, 3u);
        payload.Set(COVCreateLeaderEvent::kName, std::string(name));
        return country.HandleMessage(event);
    }
    static int ActivateLeader(CCountry& country, const ObjectId& unit, const ObjectId& leader) {
        COVDataEvent event(EVT_ACTIVATE_LEADER, country.GetId());
        event.Payload().Set(ActivateLeaderPayload::kUnit, unit);
        event.Payload().Set(ActivateLeaderPayload::kLeader, leader);
        return country.HandleMessage(event);
    }
    static int KillLeader(CCountry& country, const ObjectId& leader) {
        COVDataEvent event(EVT_KILL_LEADER, country.GetId());
        event.Payload().Set(LeaderArrivalPayload::kLeader, leader);
        return country.HandleMessage(event);
    }
    static int CreateMonarch(CCountry& country, const ObjectId& id, const char* name, uint8_t adm) {
        COVCreateMonarchEvent event(EVT_CREATE_MONARCH, country.GetId());
        auto& payload = event.Payload();
        payload.Set(COVCreateMonarchEvent::kLeader, id);
        payload.Set(COVCreateMonarchEvent::kName, std::string(name));
        payload.Set(COVCreateMonarchEvent::kAdm, adm);
        payload.Set(COVCreateMonarchEvent::kDip, uint8_t{4});
        payload.Set(COVCreateMonarchEvent::kMil, uint8_t{5});
        return country.HandleMessage(event);
    }
    static int ActivateMonarch(CCountry& country, const ObjectId& id) {
        COVDataEvent event(EVT_ACTIVATE_MONARCH, country.GetId());
        event.Payload().Set(MonarchActivationPayload::kLeader, id);
        return country.HandleMessage(event);
    }

    template <class T = CUnit> static T* UnitOf(const ObjectId& id) {
        return dynamic_cast<T*>(ResolveId(id));
    }
    static CLeader* LeaderOf(const ObjectId& id) { return dynamic_cast<CLeader*>(ResolveId(id)); }
    // The unit-finish messages queued for the unit.
    std::vector<COVEvent*> FinishesOf(const ObjectId& unit) const {
        std::vector<COVEvent*> found;
        for (COVEvent* event : Queued())
            if (event->GetType() == EVT_UNIT_FINISH && event->GetReceiver() == unit)
                found.push_back(event);
        return found;
    }

    static inline const ObjectId kArmy{kEntityIdType, 501};
    static inline const ObjectId kFleet{kEntityIdType, 502};
    static inline const ObjectId kLeader{kEntityIdType, 601};

    GameNoticeHooks m_savedNotices;
    CDate m_savedStart;
    uint32_t m_savedEmperor = 0;
};

TEST_F(UnitMessagesTest, ArmiesAndFleetsAreRaisedWithMoraleAndFinishedOnTheHost) {
    CCountry& country = Make(1);
    ASSERT_EQ(Army(country, EVT_CREATE_ARMY, kArmy, {3000, 1000, 20}), EVENT_CONSUMED);
    auto* army = UnitOf<CLandUnit>(kArmy);
    ASSERT_NE(army, nullptr);
    EXPECT_EQ(army->GetOwner(), &country);
    EXPECT_EQ(army->GetLocation(), kLand);
    EXPECT_EQ(army->GetRoundedInfantry(), 3000);
    EXPECT_EQ(army->GetRoundedCavalry(), 1000);
    EXPECT_EQ(army->GetRoundedArtillery(), 20);
    EXPECT_FLOAT_EQ(army->morale, 3.0f); // the land row's morale
    EXPECT_TRUE(country.m_unitsInDevelopment.Contains(army));
    EXPECT_EQ(FinishesOf(kArmy).size(), 1u);
    // A split army is no levy: the manpower stays.
    EXPECT_FLOAT_EQ(country.m_manpower, 10.0f);

    ASSERT_EQ(Fleet(country, EVT_CREATE_FLEET, kFleet, {4, 2, 3}), EVENT_CONSUMED);
    auto* fleet = UnitOf<CNavalUnit>(kFleet);
    ASSERT_NE(fleet, nullptr);
    EXPECT_FLOAT_EQ(fleet->GetStrength(0), 4.0f);
    EXPECT_FLOAT_EQ(fleet->GetStrength(1), 2.0f);
    EXPECT_FLOAT_EQ(fleet->GetStrength(2), 3.0f);
    EXPECT_FLOAT_EQ(fleet->morale, 2.5f); // the naval row's morale

    // The rebels, the pirates and the natives field units of morale 0.5.
    for (uint32_t number : {96u, 97u, 98u}) {
        SCOPED_TRACE(number);
        CCountry& outsider = Make(number);
        const ObjectId id{kEntityIdType, 700 + number};
        Army(outsider, EVT_CREATE_ARMY, id, {1000, 0, 0});
        ASSERT_NE(UnitOf(id), nullptr);
        EXPECT_FLOAT_EQ(UnitOf(id)->morale, 0.5f);
    }
}

TEST_F(UnitMessagesTest, BoughtUnitsAreBookedAsTheirExpenseAndFinishOnTheirReadyDay) {
    CCountry& country = Make(1);
    country.m_treasury = 1000.0f;
    CDate ready = kToday;
    ready.AddDays(40);
    // 2500 infantry pay for two regiments, 1000 cavalry for one, 15
    // artillery for one battery: whole regiments only.
    Army(country, EVT_BUILD_ARMY, kArmy, {2500, 1000, 15}, kLand, ready);
    ASSERT_NE(UnitOf(kArmy), nullptr);
    const float armyCost = static_cast<float>(
        2 * country.GetInfantryPrice() + country.GetCavalryPrice() + country.GetArtilleryPrice());
    EXPECT_FLOAT_EQ(country.m_ledger.thisMonthExpense[EXPENSE_ARMY], armyCost);
    EXPECT_FLOAT_EQ(country.m_treasury, 1000.0f - armyCost);
    // The levy takes 3.5 regiments and 1.5 batteries of the manpower.
    EXPECT_FLOAT_EQ(country.m_manpower, 10.0f - 3.5f - 1.5f);
    const auto finishes = FinishesOf(kArmy);
    ASSERT_EQ(finishes.size(), 1u);
    EXPECT_EQ(finishes[0]->GetDueDate(), ready);

    Fleet(country, EVT_BUILD_FLEET, kFleet, {2, 3, 1});
    ASSERT_NE(UnitOf(kFleet), nullptr);
    const float fleetCost = static_cast<float>(
        2 * country.GetWarshipPrice() + 3 * country.GetGalleyPrice() + country.GetTransportPrice());
    EXPECT_FLOAT_EQ(country.m_ledger.thisMonthExpense[EXPENSE_FLEET], fleetCost);
    EXPECT_FLOAT_EQ(country.m_treasury, 1000.0f - armyCost - fleetCost);
}

TEST_F(UnitMessagesTest, AClientMakesTheUnitButLeavesTheFinishToTheHost) {
    BecomeClient();
    CCountry& country = Make(1);
    Army(country, EVT_BUILD_ARMY, kArmy, {1000, 0, 0});
    ASSERT_NE(UnitOf(kArmy), nullptr);
    EXPECT_TRUE(FinishesOf(kArmy).empty());
}

TEST_F(UnitMessagesTest, AnArmyMadeOnAFleetGoesAboard) {
    CCountry& country = Make(1);
    Fleet(country, EVT_CREATE_FLEET, kFleet, {3, 0, 4});
    ASSERT_EQ(ArmyOnFleet(country, kArmy, kFleet, {3000, 0, 0}), EVENT_CONSUMED);
    auto* army = UnitOf<CLandUnit>(kArmy);
    ASSERT_NE(army, nullptr);
    EXPECT_EQ(army->GetCarrier(), UnitOf<CNavalUnit>(kFleet));
    EXPECT_EQ(army->GetRoundedInfantry(), 3000);
    EXPECT_TRUE(UnitOf<CNavalUnit>(kFleet)->GetCargo().Contains(army));

    // No fleet of the country to carry it (none, an army, another
    // country's): no army is made.
    CCountry& other = Make(2);
    Fleet(other, EVT_CREATE_FLEET, ObjectId(kEntityIdType, 503), {1, 0, 1});
    const ObjectId carriers[] = {ObjectId(kEntityIdType, 999), kArmy, ObjectId(kEntityIdType, 503)};
    uint32_t number = 800;
    for (const ObjectId& carrier : carriers) {
        const ObjectId id{kEntityIdType, ++number};
        EXPECT_EQ(ArmyOnFleet(country, id, carrier, {1000, 0, 0}), EVENT_CONSUMED);
        EXPECT_EQ(UnitOf(id), nullptr) << carrier.number;
    }
}

TEST_F(UnitMessagesTest, BadUnitOrdersAreDroppedWithoutAUnit) {
    CCountry& country = Make(1);
    Army(country, EVT_CREATE_ARMY, kArmy, {1000, 0, 0});
    struct Case {
        const char* what;
        ObjectId id;
        int32_t province;
    };
    const Case cases[] = {
        {"province 0", ObjectId(kEntityIdType, 10), 0},
        {"province 5000", ObjectId(kEntityIdType, 11), 5000},
        {"the null id", g_nullId, kLand},
        {"a province's id", ObjectId(kProvinceIdType, 12), kLand},
        {"a leader's slot", ObjectId(kLeaderIdType, 12), kLand},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const uint32_t before = country.m_unitsInDevelopment.GetCount();
        EXPECT_EQ(Army(country, EVT_BUILD_ARMY, c.id, {1000, 0, 0}, c.province), EVENT_CONSUMED);
        EXPECT_EQ(Fleet(country, EVT_BUILD_FLEET, c.id, {1, 0, 0}, c.province), EVENT_CONSUMED);
        EXPECT_EQ(country.m_unitsInDevelopment.GetCount(), before);
    }
    // Strengths no army or fleet holds.
    const uint32_t before = country.m_unitsInDevelopment.GetCount();
    EXPECT_EQ(Army(country, EVT_BUILD_ARMY, ObjectId(kEntityIdType, 13), {20000000u, 0, 0}),
              EVENT_CONSUMED);
    EXPECT_EQ(Fleet(country, EVT_BUILD_FLEET, ObjectId(kEntityIdType, 14), {0, 0, 4000000000u}),
              EVENT_CONSUMED);
    EXPECT_EQ(country.m_unitsInDevelopment.GetCount(), before);
    // An id another unit holds: the unit stays as it was, nothing is paid.
    const float treasury = country.m_treasury;
    Army(country, EVT_BUILD_ARMY, kArmy, {5000, 0, 0});
    EXPECT_EQ(UnitOf(kArmy)->GetRoundedInfantry(), 1000);
    EXPECT_EQ(country.m_unitsInDevelopment.GetCount(), 1u);
    EXPECT_FLOAT_EQ(country.m_treasury, treasury);
}

TEST_F(UnitMessagesTest, TheRebelsRisingIsToldByWhoHoldsTheProvince) {
    CCountry& player = Make(1);
    CCountry& other = Make(2);
    Make(98);
    g_countryController[1] = 1; // played at this machine
    struct Case {
        CCountry* holder;
        int32_t notice;
    };
    const Case cases[] = {{&player, 113}, {&other, 120}};
    uint32_t number = 900;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.notice);
        GetProvince(kLand)->ChangeOwner(c.holder);
        g_notices.clear();
        Army(*CountryOfNumber(98), EVT_CREATE_ARMY, ObjectId(kEntityIdType, ++number),
             {1000, 0, 0});
        ASSERT_EQ(g_notices.size(), 1u);
        EXPECT_EQ(g_notices[0].type, c.notice);
        EXPECT_EQ(g_notices[0].linkProvince, kLand);
    }
    GetProvince(kLand)->ChangeOwner(nullptr);
    // A rebel fleet: notice 114; an ordinary country's army: none.
    g_notices.clear();
    Fleet(*CountryOfNumber(98), EVT_CREATE_FLEET, ObjectId(kEntityIdType, 950), {1, 0, 0});
    Army(other, EVT_CREATE_ARMY, ObjectId(kEntityIdType, 951), {1000, 0, 0});
    ASSERT_EQ(g_notices.size(), 1u);
    EXPECT_EQ(g_notices[0].type, 114);
}

TEST_F(UnitMessagesTest, LossesReachTheUnitAndTheLossRecords) {
    CCountry& country = Make(1);
    Army(country, EVT_CREATE_ARMY, kArmy, {3000, 1000, 10});
    Fleet(country, EVT_CREATE_FLEET, kFleet, {4, 2, 3});
    CLandUnit& army = *UnitOf<CLandUnit>(kArmy);
    CNavalUnit& fleet = *UnitOf<CNavalUnit>(kFleet);

    // 1500 men: 1000 from the infantry first, then 500 spread evenly over
    // infantry, cavalry and the artillery (a hundred men a piece) for a
    // battle.
    COVDataEvent losses(EVT_UNITLOSSES, country.GetId());
    losses.Payload().Set(UnitLossesPayload::kUnit, kArmy);
    losses.Payload().Set(UnitLossesPayload::kAmount, 1500.0f);
    losses.Payload().Set(UnitLossesPayload::kCause, uint8_t{1});
    EXPECT_EQ(country.HandleMessage(losses), EVENT_NOT_HANDLED);
    const float third = 500.0f / 3.0f;
    EXPECT_NEAR(army.GetStrength(2), 2000.0f - third, 0.01f);
    EXPECT_NEAR(army.GetStrength(1), 1000.0f - third, 0.01f);
    EXPECT_NEAR(army.GetStrength(0), 10.0f - third / 100.0f, 0.001f);
    const CLossesRecord& record = *country.GetLossRecord(1);
    EXPECT_FLOAT_EQ(record.infantry, 1166.0f); // 3000 - ceil(1833.3)
    EXPECT_FLOAT_EQ(record.cavalry, 166.0f);   // 1000 - ceil(833.3)
    EXPECT_FLOAT_EQ(record.artillery, 1.0f);

    // Losses by kind: warships, galleys, transports of a fleet; nothing
    // below 0; a negative or unset loss takes nothing.
    struct Case {
        std::array<float, 3> losses;
        std::array<float, 3> left;
    };
    const Case cases[] = {{{1.0f, 0.5f, 0.0f}, {3.0f, 1.5f, 3.0f}},
                          {{9.0f, -4.0f, 1.0f}, {0.0f, 1.5f, 2.0f}},
                          {{0.0f, 0.0f, 0.0f}, {0.0f, 1.5f, 2.0f}}};
    for (const Case& c : cases) {
        COVDataEvent sizes(EVT_UNITSIZELOSSES, country.GetId());
        sizes.Payload().Set(UnitSizeLossesPayload::kUnit, kFleet);
        sizes.Payload().Set(UnitSizeLossesPayload::kFirst, c.losses[0]);
        sizes.Payload().Set(UnitSizeLossesPayload::kSecond, c.losses[1]);
        sizes.Payload().Set(UnitSizeLossesPayload::kThird, c.losses[2]);
        EXPECT_EQ(country.HandleMessage(sizes), EVENT_NOT_HANDLED);
        for (int i = 0; i < 3; ++i)
            EXPECT_FLOAT_EQ(fleet.GetStrength(i), c.left[static_cast<size_t>(i)]) << i;
    }
}

TEST_F(UnitMessagesTest, LossesForUnknownUnitsOrWithoutANumberChangeNothing) {
    CCountry& country = Make(1);
    CCountry& other = Make(2);
    Army(country, EVT_CREATE_ARMY, kArmy, {3000, 0, 0});
    struct Case {
        const char* what;
        CCountry* receiver;
        ObjectId unit;
        float amount;
    };
    const Case cases[] = {
        {"no such unit", &country, ObjectId(kEntityIdType, 999), 100.0f},
        {"another country's unit", &other, kArmy, 100.0f},
        {"not a number", &country, kArmy, std::nanf("")},
        {"infinite", &country, kArmy, std::numeric_limits<float>::infinity()},
        {"negative", &country, kArmy, -500.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        COVDataEvent losses(EVT_UNITLOSSES, c.receiver->GetId());
        losses.Payload().Set(UnitLossesPayload::kUnit, c.unit);
        losses.Payload().Set(UnitLossesPayload::kAmount, c.amount);
        EXPECT_EQ(c.receiver->HandleMessage(losses), EVENT_NOT_HANDLED);
        COVDataEvent sizes(EVT_UNITSIZELOSSES, c.receiver->GetId());
        sizes.Payload().Set(UnitSizeLossesPayload::kUnit, c.unit);
        sizes.Payload().Set(UnitSizeLossesPayload::kFirst, c.amount);
        EXPECT_EQ(c.receiver->HandleMessage(sizes), EVENT_NOT_HANDLED);
        EXPECT_FLOAT_EQ(UnitOf(kArmy)->GetStrength(2), 3000.0f);
    }
}

TEST_F(UnitMessagesTest, LeadersAreMadeActivatedAndKilled) {
    CCountry& country = Make(1);
    Army(country, EVT_CREATE_ARMY, kArmy, {1000, 0, 0});
    ASSERT_EQ(CreateLeader(country, kLeader, LEADER_GENERAL, "Tilly"), EVENT_CONSUMED);
    CLeader* leader = LeaderOf(kLeader);
    ASSERT_NE(leader, nullptr);
    EXPECT_EQ(leader->GetName(), "Tilly");
    EXPECT_EQ(leader->rank, 2);
    EXPECT_EQ(leader->fire, 3);
    EXPECT_EQ(leader->GetCountry(), &country);
    EXPECT_EQ(country.m_newLeaders.size(), 1u);

    ASSERT_EQ(ActivateLeader(country, kArmy, kLeader), EVENT_CONSUMED);
    CUnit* army = UnitOf(kArmy);
    EXPECT_EQ(leader->GetUnit(), army);
    EXPECT_TRUE(army->GetLeaders().Contains(leader));
    EXPECT_TRUE(country.m_newLeaders.empty()); // the army owns him now
    EXPECT_FLOAT_EQ(country.m_colonists, 0.0f);

    ASSERT_EQ(KillLeader(country, kLeader), EVENT_NOT_HANDLED);
    EXPECT_EQ(LeaderOf(kLeader), nullptr);
    EXPECT_EQ(army->GetLeaders().GetCount(), 0u);

    // A second record under a taken id and one of an unknown category make
    // nothing; killing an unknown leader changes nothing.
    CreateLeader(country, ObjectId(kEntityIdType, 602), LEADER_ADMIRAL, "Tromp");
    EXPECT_EQ(CreateLeader(country, ObjectId(kEntityIdType, 602), LEADER_GENERAL, "Other"),
              EVENT_CONSUMED);
    EXPECT_EQ(LeaderOf(ObjectId(kEntityIdType, 602))->GetName(), "Tromp");
    CreateLeader(country, ObjectId(kEntityIdType, 603), 9);
    EXPECT_EQ(LeaderOf(ObjectId(kEntityIdType, 603)), nullptr);
    EXPECT_EQ(KillLeader(country, ObjectId(kEntityIdType, 999)), EVENT_NOT_HANDLED);
    EXPECT_EQ(country.m_newLeaders.size(), 1u);
    // A leader who never joined a unit dies from the country's list.
    KillLeader(country, ObjectId(kEntityIdType, 602));
    EXPECT_TRUE(country.m_newLeaders.empty());
    EXPECT_EQ(LeaderOf(ObjectId(kEntityIdType, 602)), nullptr);
}

TEST_F(UnitMessagesTest, ConquistadorsAndExplorersBringAColonistUpToSix) {
    CCountry& country = Make(1);
    Army(country, EVT_CREATE_ARMY, kArmy, {1000, 0, 0});
    struct Case {
        uint32_t category;
        float colonists;
        float expected;
    };
    const Case cases[] = {{LEADER_GENERAL, 2.0f, 2.0f},      {LEADER_ADMIRAL, 2.0f, 2.0f},
                          {LEADER_CONQUISTADOR, 2.0f, 3.0f}, {LEADER_EXPLORER, 2.0f, 3.0f},
                          {LEADER_EXPLORER, 5.5f, 6.0f},     {LEADER_CONQUISTADOR, 6.0f, 6.0f}};
    uint32_t number = 610;
    for (const Case& c : cases) {
        SCOPED_TRACE(number);
        const ObjectId id{kEntityIdType, ++number};
        CreateLeader(country, id, c.category);
        country.m_colonists = c.colonists;
        ActivateLeader(country, kArmy, id);
        EXPECT_FLOAT_EQ(country.m_colonists, c.expected);
    }
}

TEST_F(UnitMessagesTest, ALeaderOfHistoryFinishesTheArmyHeJoins) {
    CCountry& country = Make(1);
    Army(country, EVT_CREATE_ARMY, kArmy, {1000, 0, 0});
    g_scheduler.Clear();
    const ObjectId historical{kLeaderIdType, 42};
    CreateLeader(country, historical, LEADER_GENERAL, "Turenne");
    ASSERT_NE(LeaderOf(historical), nullptr);
    EXPECT_EQ(g_leaderRegistry->GetSlot(42), LeaderOf(historical));
    // The finish runs at once: no unit here takes it, so nothing is queued
    // and the leader is with the army.
    ActivateLeader(country, kArmy, historical);
    EXPECT_EQ(LeaderOf(historical)->GetUnit(), UnitOf(kArmy));
    EXPECT_TRUE(FinishesOf(kArmy).empty());

    // Killed, he leaves his slot.
    KillLeader(country, historical);
    EXPECT_EQ(g_leaderRegistry->GetSlot(42), nullptr);
    EXPECT_EQ(UnitOf(kArmy)->GetLeaders().GetCount(), 0u);
}

TEST_F(UnitMessagesTest, ALeaderIsNotAttachedToAMissingOrForeignUnit) {
    CCountry& country = Make(1);
    CCountry& other = Make(2);
    Army(other, EVT_CREATE_ARMY, kArmy, {1000, 0, 0});
    CreateLeader(country, kLeader, LEADER_GENERAL);
    for (const ObjectId& unit : {ObjectId(kEntityIdType, 999), kArmy, g_nullId}) {
        EXPECT_EQ(ActivateLeader(country, unit, kLeader), EVENT_CONSUMED);
        EXPECT_EQ(LeaderOf(kLeader)->GetUnit(), nullptr);
    }
    EXPECT_EQ(UnitOf(kArmy)->GetLeaders().GetCount(), 0u);
    EXPECT_EQ(country.m_newLeaders.size(), 1u);
    // An unknown leader: nothing at all.
    EXPECT_EQ(ActivateLeader(country, kArmy, ObjectId(kEntityIdType, 999)), EVENT_CONSUMED);
}

TEST_F(UnitMessagesTest, AMonarchIsMadeAndReplacesTheOldOne) {
    CCountry& country = Make(1);
    ASSERT_EQ(CreateMonarch(country, ObjectId(kEntityIdType, 40), "Henri", 6), EVENT_CONSUMED);
    ASSERT_TRUE(country.m_monarch);
    EXPECT_EQ(country.GetRulerName(), "Henri");
    EXPECT_EQ(country.GetMonarchAdm(), 6);
    EXPECT_EQ(country.GetMonarchDip(), 4);
    EXPECT_EQ(country.GetMonarchMil(), 5);
    EXPECT_EQ(country.m_monarch->GetLeader().GetCountry(), &country);

    CreateMonarch(country, ObjectId(kEntityIdType, 41), "Louis", 7);
    EXPECT_EQ(country.GetRulerName(), "Louis");
    // The old one is gone, id and all.
    EXPECT_EQ(ResolveId(ObjectId(kEntityIdType, 40)), nullptr);
}

TEST_F(UnitMessagesTest, AMonarchComesToTheThroneFromTheTableOrAsMade) {
    CCountry& country = Make(1);
    country.m_major = 1;
    g_countryController[1] = 1;
    reader.currentCountry = &country;
    OpenBlock("monarchs = { historicalmonarch = { id = { type = 6 id = 77 } name = \"Philippe\" "
              "ADM = 8 DIP = 2 MIL = 3 } }");
    ASSERT_EQ(country.m_monarchTable.Read(reader), FIELD_BLOCK_END);
    ASSERT_EQ(country.m_monarchTable.GetMonarchs().size(), 1u);
    CreateMonarch(country, ObjectId(kEntityIdType, 40), "Henri", 6);

    // On the scenario's first day: no notice.
    ASSERT_EQ(ActivateMonarch(country, ObjectId(kLeaderIdType, 77)), EVENT_CONSUMED);
    EXPECT_EQ(country.GetRulerName(), "Philippe");
    EXPECT_EQ(country.GetMonarchAdm(), 8);
    EXPECT_TRUE(country.m_monarchTable.GetMonarchs().empty());
    EXPECT_EQ(ResolveId(ObjectId(kEntityIdType, 40)), nullptr);
    EXPECT_TRUE(g_notices.empty());

    // Later the made monarch is activated as it reigns: it stays, and the
    // player hears of it.
    g_gameTimer->currentDate.AddDays(1);
    CreateMonarch(country, ObjectId(kEntityIdType, 41), "Louis", 7);
    ActivateMonarch(country, ObjectId(kEntityIdType, 41));
    ASSERT_TRUE(country.m_monarch);
    EXPECT_EQ(country.GetRulerName(), "Louis");
    ASSERT_EQ(g_notices.size(), 1u);
    EXPECT_EQ(g_notices[0].type, 0);
    EXPECT_EQ(g_notices[0].country, 1u);

    // Another machine's country hears "NEWMONOTHER"; an unknown monarch
    // changes nothing.
    g_countryController[1] = 2;
    g_notices.clear();
    ActivateMonarch(country, ObjectId(kEntityIdType, 41));
    ASSERT_EQ(g_notices.size(), 1u);
    EXPECT_EQ(g_notices[0].type, 8);
    EXPECT_EQ(ActivateMonarch(country, ObjectId(kLeaderIdType, 78)), EVENT_CONSUMED);
    EXPECT_EQ(country.GetRulerName(), "Louis");
}

TEST_F(UnitMessagesTest, TheEmperorsNewMonarchBringsAnElectionOnTheHostAfterTheFirstDay) {
    CCountry& emperor = Make(6);
    Make(3);
    g_globals.emperor = 6;
    struct Case {
        const char* what;
        int32_t days;
        bool client;
        uint32_t emperor;
    };
    // Nobody is a catholic elector: country 3 is elected.
    const Case cases[] = {
        {"first day", 0, false, 6}, {"client", 1, true, 6}, {"host, later", 1, false, 3}};
    uint32_t number = 40;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ObjectId monarch{kEntityIdType, ++number};
        g_globals.emperor = 6;
        g_gameTimer->currentDate = kToday;
        g_gameTimer->currentDate.AddDays(c.days);
        if (c.client)
            BecomeClient();
        CreateMonarch(emperor, monarch, "Rudolf", 5);
        ActivateMonarch(emperor, monarch);
        EXPECT_EQ(g_globals.emperor, c.emperor);
        g_netSession = nullptr;
    }
}

} // namespace
