// What the rebels and the annexations do with units and monarchs: armies
// defecting in a civil war, rebel armies going over to a released nation,
// a scandal's lowered monarch values, and a whole country absorbed.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <type_traits>
#include <vector>

#include "country/Alliance.h"
#include "country/Country.h"
#include "country/CountryRebels.h"
#include "country/War.h"
#include "data/ScenarioHeader.h"
#include "engine/Random.h"
#include "military/units/Monarch.h"
#include "military/units/NavalUnit.h"
#include "military/units/Unit.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Scheduler.h"
#include "net/Senders.h"
#include "tests/military/MilitaryBlockFixture.h"
#include "world/CentreOfTrade.h"
#include "world/Globals.h"
#include "world/Province.h"

namespace {

struct Delivered {
    uint32_t type;
    ObjectId receiver;
    COVEventData payload;
};
std::vector<Delivered> g_delivered;

// Records what it takes; one made with releases creates the country a
// "_COVEVT_CREATE_COUNTRY_" names.
class RecordingCountry : public CCountry {
public:
    explicit RecordingCountry(uint32_t number, bool releases = false)
        : CCountry(number), m_releases(releases) {}
    int HandleMessage(COVEvent& event) override {
        g_delivered.push_back({event.GetType(), event.GetReceiver(),
                               COVEventData(event.Payload().Bytes(), event.Payload().Size())});
        if (m_releases && event.GetType() == EVT_CREATE_COUNTRY)
            AddCountry(std::make_unique<RecordingCountry>(
                event.Payload().Get(COVCreateCountryEvent::kCountry)));
        return EVENT_CONSUMED;
    }

private:
    bool m_releases;
};

class RebelUnitsTest : public test::MilitaryBlockTest {
protected:
    void SetUp() override {
        MilitaryBlockTest::SetUp();
        SetCountryTagSource(FindCountryTagOfNumber);
        g_countryController.fill(0);
        g_scenarioInfo = std::make_unique<ScenarioInfo>();
        g_delivered.clear();
        g_globals.eventFlags.fill(false);
        g_globals.revoltDefs = std::make_unique<std::array<CCountryDefinition, kCountrySlots>>();
    }
    void TearDown() override {
        g_wars.clear();
        g_alliances.clear();
        g_cotCalc.Clear();
        for (int32_t id : m_used)
            GetProvince(id)->ResetForGame();
        DeleteAllCountries();
        g_globals.revoltDefs.reset();
        g_scenarioInfo.reset();
        MilitaryBlockTest::TearDown();
    }

    template <class C = CCountry> C& Country(uint32_t number, bool releases = false) {
        std::unique_ptr<C> made;
        if constexpr (std::is_same_v<C, RecordingCountry>)
            made = std::make_unique<C>(number, releases);
        else
            made = std::make_unique<C>(number);
        C& country = *made;
        AddCountry(std::move(made));
        return country;
    }
    CProvince& Province(int32_t id, uint32_t owner, uint32_t controller) {
        CProvince& province = *GetProvince(id);
        m_used.push_back(id);
        province.ResetForGame();
        province.SetOwner(CountryOfNumber(owner));
        province.SetControllerField(CountryOfNumber(controller));
        return province;
    }
    template <class T> T& Unit(CCountry& owner, int32_t province, float a, float b, float c) {
        auto* unit = new T(&owner);
        unit->SetIdParts(5, m_nextUnit++);
        unit->SetLocation(province);
        unit->SetStrength(0, a);
        unit->SetStrength(1, b);
        unit->SetStrength(2, c);
        owner.AddUnit(unit);
        return *unit;
    }
    static std::vector<Delivered> DeliveredOfType(uint32_t type) {
        std::vector<Delivered> found;
        for (const Delivered& delivered : g_delivered)
            if (delivered.type == type)
                found.push_back(delivered);
        return found;
    }

    std::vector<int32_t> m_used;
    uint32_t m_nextUnit = 900;
};

TEST_F(RebelUnitsTest, InACivilWarHalfTheArmiesButNoFleetDefect) {
    Country<RecordingCountry>(kRebelCountry);
    CCountry& land = Country(1);
    land.m_major = 1;
    land.SetStability(-3);
    const std::vector<int32_t> ids = {20, 21, 22, 23, 24};
    for (int32_t id : ids)
        Province(id, 1, 1);
    std::vector<ObjectId> armies;
    for (int i = 0; i < 4; ++i)
        armies.push_back(Unit<CLandUnit>(land, 20, 0.0f, 0.0f, 1000.0f).GetId());
    const ObjectId fleet = Unit<CNavalUnit>(land, 20, 0.0f, 0.0f, 5.0f).GetId();

    // A seed whose civil-war roll (after one revolt roll per province)
    // falls below the chance; the rolls after it decide each army.
    const int32_t chance = CCountry::GetCivilWarChance(-3, 5, 1, true);
    uint32_t seed = 0;
    for (;; ++seed) {
        GameSrand(seed);
        for (size_t i = 0; i < ids.size(); ++i)
            GameRand();
        if (GameRand() % 10000 < chance)
            break;
    }
    std::vector<ObjectId> expected;
    for (const ObjectId& army : armies)
        if (GameRand() % 100 < 50)
            expected.push_back(army);

    GameSrand(seed);
    land.RevoltPass(-1000);
    std::vector<ObjectId> switched;
    for (const Delivered& d : DeliveredOfType(EVT_SWITCH_ALLEGIANCE)) {
        EXPECT_EQ(d.receiver, MakeCountryId(kRebelCountry));
        switched.push_back(d.payload.Get(SwitchAllegiancePayload::kUnit));
    }
    EXPECT_EQ(switched, expected);
    EXPECT_EQ(std::count(switched.begin(), switched.end(), fleet), 0);
}

TEST_F(RebelUnitsTest, RebelUnitsOfAReleasedProvinceGoOverAfterLosingDeserters) {
    auto& rebels = Country<RecordingCountry>(kRebelCountry);
    auto& owner = Country<RecordingCountry>(1, true);
    owner.m_religion.stateReligion = RELIGION_REFORMED;
    for (int32_t id : {20, 21})
        Province(id, 1, kRebelCountry).revoltCountry = 73;
    CCountryDefinition& definition = (*g_globals.revoltDefs)[73];
    definition.minimum.AddTail(20);
    definition.minimum.AddTail(21);
    CLandUnit& army = Unit<CLandUnit>(rebels, 20, 0.0f, 200.0f, 1000.0f);
    CNavalUnit& fleet = Unit<CNavalUnit>(rebels, 21, 0.0f, 0.0f, 3.0f);
    Unit<CLandUnit>(rebels, 50, 0.0f, 0.0f, 500.0f); // elsewhere

    ASSERT_TRUE(owner.ReleasePass(true));
    const auto losses = DeliveredOfType(EVT_UNITLOSSES);
    ASSERT_EQ(losses.size(), 1u);
    EXPECT_EQ(losses[0].receiver, rebels.GetId());
    EXPECT_EQ(losses[0].payload.Get(UnitLossesPayload::kUnit), army.GetId());
    EXPECT_FLOAT_EQ(losses[0].payload.Get(UnitLossesPayload::kAmount), 120.0f);
    const auto switches = DeliveredOfType(EVT_SWITCH_ALLEGIANCE);
    ASSERT_EQ(switches.size(), 2u);
    EXPECT_EQ(switches[0].payload.Get(SwitchAllegiancePayload::kUnit), army.GetId());
    EXPECT_EQ(switches[1].payload.Get(SwitchAllegiancePayload::kUnit), fleet.GetId());
    for (const Delivered& d : switches)
        EXPECT_EQ(d.receiver, MakeCountryId(73));
}

TEST_F(RebelUnitsTest, AScandalLowersTheValueForItsMonthsOnly) {
    CCountry& land = Country(1);
    land.PostScandal(0, 5, 6); // no monarch: nothing
    EXPECT_EQ(g_scheduler.GetCount(), 0u);

    auto monarch = std::make_unique<CHistoricalMonarch>();
    monarch->GetLeader().SetId(ObjectId(6, 50));
    monarch->adm = 3;
    monarch->dip = 4;
    monarch->mil = 12; // held at 9
    land.m_monarch.reset(monarch.release());

    land.PostScandal(0, 5, 6);
    const std::vector<COVEvent*> queued = Queued();
    ASSERT_EQ(queued.size(), 2u);
    const auto values = [](const COVEvent& event) {
        const COVEventData& p = event.Payload();
        return std::vector<int32_t>{p.Get(MonarchValuesPayload::kAdm),
                                    p.Get(MonarchValuesPayload::kDip),
                                    p.Get(MonarchValuesPayload::kMil)};
    };
    for (const COVEvent* event : queued) {
        EXPECT_EQ(event->GetType(), EVT_SET_MONARCH_VALUES);
        EXPECT_EQ(event->GetReceiver(), land.GetId());
        EXPECT_EQ(event->GetSendFlag(), 1);
    }
    EXPECT_EQ(values(*queued[0]), (std::vector<int32_t>{1, 4, 9})); // at once
    EXPECT_EQ(values(*queued[1]), (std::vector<int32_t>{3, 4, 9}));
    EXPECT_EQ(queued[1]->Payload().GetDueDate(), CDate(10, 10, 1600));

    g_scheduler.Clear();
    land.PostScandal(2, 2, 1);
    ASSERT_EQ(Queued().size(), 2u);
    EXPECT_EQ(values(*Queued()[0]), (std::vector<int32_t>{3, 4, 7}));
}

// ---------------------------------------------------------------------------
// Annexation

class AnnexTest : public RebelUnitsTest {
protected:
    void SetUp() override {
        RebelUnitsTest::SetUp();
        for (uint32_t number : {kRebelCountry, 3u, 4u, 5u, 6u})
            Country(number);
        us = &Country(1);
        them = &Country(2);
        us->m_religion.stateReligion = RELIGION_CATHOLIC;
        them->m_religion.stateReligion = RELIGION_CATHOLIC;
        us->SetStability(0);
        them->SetStability(2);

        Province(20, 2, 2);
        them->m_nationalProvinces.AddTail(20);
        Province(21, 2, 3);             // held by our enemy
        Province(22, 2, kRebelCountry); // held by rebels
        Province(23, 4, 2);             // theirs to give back
        them->m_knownProvinces.AddTail(30);

        War({1}, {3});
        War({2}, {5});
        auto alliance = std::make_unique<CAlliance>();
        alliance->type = ALLIANCE_MILITARY;
        alliance->participants = {5, 2, 6};
        g_alliances.push_back(std::move(alliance));
        RebuildDiplomaticStatus();
    }

    static void War(std::vector<uint32_t> attackers, std::vector<uint32_t> defenders) {
        auto war = std::make_unique<CWar>();
        war->attackers = std::make_unique<CAlliance>();
        war->attackers->type = ALLIANCE_WAR_SIDE;
        war->attackers->participants = std::move(attackers);
        war->defenders = std::make_unique<CAlliance>();
        war->defenders->type = ALLIANCE_WAR_SIDE;
        war->defenders->participants = std::move(defenders);
        g_wars.push_back(std::move(war));
    }

    CCountry* us = nullptr;
    CCountry* them = nullptr;
};

TEST_F(AnnexTest, TheAnnexedCountryIsAbsorbedWhole) {
    // Merchants in a centre of trade, loans, units and a queued message.
    auto centre = CCotCalc::NewCentreOfTrade(40);
    auto merchant = std::make_unique<CCotMerchant>();
    merchant->country = 2;
    merchant->level = 3.0f;
    centre->SetMerchant(std::move(merchant));
    ASSERT_TRUE(g_cotCalc.AddCentreOfTrade(std::move(centre)));
    them->m_loans.push_back(std::make_unique<CLoan>(them->GetId()));
    const ObjectId army = Unit<CLandUnit>(*them, 20, 2.0f, 100.0f, 1000.4f).GetId();
    const ObjectId fleet = Unit<CNavalUnit>(*them, 20, 1.0f, 0.0f, 4.0f).GetId();
    us->m_infantryTotal = 10;
    PostEventAt(std::make_unique<COVSimpleEvent>(EVT_COUNTRY_BROKEN, MakeCountryId(2)),
                CDate(1, 0, 1601));
    PostEventAt(std::make_unique<COVSimpleEvent>(EVT_COUNTRY_BROKEN, MakeCountryId(1)),
                CDate(1, 0, 1601));
    const float merchants = us->m_merchants;

    us->Annex(2);

    // Provinces, control and claims.
    EXPECT_EQ(CountryOfNumber(2), nullptr);
    for (int32_t id : {20, 21, 22})
        EXPECT_EQ(GetProvince(id)->GetOwnerNumber(), 1) << id;
    EXPECT_EQ(GetProvince(20)->GetControllerNumber(), 1);
    EXPECT_EQ(GetProvince(21)->GetControllerNumber(), 3); // the enemy keeps it
    EXPECT_EQ(GetProvince(22)->GetControllerNumber(), 1); // not so the rebels
    EXPECT_EQ(GetProvince(23)->GetControllerNumber(), 4);
    EXPECT_TRUE(us->m_nationalProvinces.Contains(20));
    EXPECT_FALSE(us->m_nationalProvinces.Contains(21));
    EXPECT_TRUE(us->m_knownProvinces.Contains(30));
    EXPECT_EQ(us->m_badBoy, 3 + 5);

    // Merchants come home.
    EXPECT_EQ(g_cotCalc.FindSeatedIn(40)->GetMerchant(2), nullptr);
    EXPECT_FLOAT_EQ(us->m_merchants, std::min(merchants + 1.0f, us->GetMerchantCap()));

    // The units are ours and counted.
    std::vector<ObjectId> ours;
    us->m_units.ForEach([&](CUnit* unit) {
        ours.push_back(unit->GetId());
        EXPECT_EQ(unit->GetOwner(), us);
    });
    EXPECT_EQ(ours, (std::vector<ObjectId>{army, fleet}));
    EXPECT_EQ(us->m_infantryTotal, 10 + 1001);
    EXPECT_EQ(us->m_cavalryTotal, 100);
    EXPECT_EQ(us->m_artilleryTotal, 2);

    // Its war with 5 ended with it; our war goes on; it left the alliance.
    ASSERT_EQ(g_wars.size(), 1u);
    EXPECT_TRUE(g_wars[0]->IsAttacker(1));
    EXPECT_EQ(CountryOfNumber(5)->GetLastPeaceWith(2), kToday);
    EXPECT_FALSE(CountryOfNumber(5)->IsHostileTo(2));
    EXPECT_EQ(g_alliances[0]->participants, (std::vector<uint32_t>{5, 6}));

    // Its messages go nowhere; ours still reach us.
    std::vector<ObjectId> receivers;
    for (COVEvent* event : Queued())
        if (event->GetType() == EVT_COUNTRY_BROKEN)
            receivers.push_back(event->GetReceiver());
    std::sort(receivers.begin(), receivers.end(),
              [](const ObjectId& a, const ObjectId& b) { return a.number < b.number; });
    EXPECT_EQ(receivers, (std::vector<ObjectId>{g_nullId, MakeCountryId(1)}));
    EXPECT_EQ(g_replacedCountry.replaced, MakeCountryId(2));
    EXPECT_EQ(g_replacedCountry.by, MakeCountryId(1));

    // Its better stability lifts ours by one.
    EXPECT_EQ(us->GetStability(), 1.0);
}

TEST_F(AnnexTest, ChristiansTakingMuslimsGainLessInfamyAndNothingHappensWithoutACountry) {
    them->m_religion.stateReligion = RELIGION_SUNNI;
    them->SetStability(-1);
    us->Annex(2);
    EXPECT_EQ(us->m_badBoy, 3);
    EXPECT_EQ(us->GetStability(), 0.0);

    us->Annex(2);  // gone already
    us->Annex(1);  // itself
    us->Annex(99); // no such number
    EXPECT_EQ(us->m_badBoy, 3);
    EXPECT_NE(CountryOfNumber(1), nullptr);
}

} // namespace
