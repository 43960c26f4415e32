// Revolts, civil wars, released nations, the break-up of a country and the
// scenario mission's progress.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "country/Country.h"
#include "country/CountryRebels.h"
#include "data/ScenarioHeader.h"
#include "engine/Random.h"
#include "net/EventTypes.h"
#include "net/Scheduler.h"
#include "net/Senders.h"
#include "tests/country/EconomyFixture.h"
#include "world/CentreOfTrade.h"
#include "world/City.h"
#include "world/GameNotices.h"
#include "world/Globals.h"
#include "world/Province.h"
#include "world/Scenario.h"

namespace {

struct Delivered {
    uint32_t type;
    ObjectId receiver;
    std::vector<uint8_t> bytes;
};
std::vector<Delivered> g_delivered;

// Records every message it takes. A country made with releases set creates
// the new country a "_COVEVT_CREATE_COUNTRY_" names, as the real handler
// does.
class RecordingCountry : public CCountry {
public:
    explicit RecordingCountry(uint32_t number, bool releases = false)
        : CCountry(number), m_releases(releases) {}
    int HandleMessage(COVEvent& event) override {
        const COVEventData& payload = event.Payload();
        g_delivered.push_back({event.GetType(),
                               event.GetReceiver(),
                               {payload.Bytes(), payload.Bytes() + payload.Size()}});
        if (m_releases && event.GetType() == EVT_CREATE_COUNTRY)
            AddCountry(
                std::make_unique<RecordingCountry>(payload.Get(COVCreateCountryEvent::kCountry)));
        return EVENT_CONSUMED;
    }

private:
    bool m_releases;
};

COVEventData PayloadOf(const Delivered& delivered) {
    return COVEventData(delivered.bytes.data(), delivered.bytes.size());
}

class RebelsTest : public test::EconomyTest {
protected:
    void SetUp() override {
        EconomyTest::SetUp();
        g_delivered.clear();
        g_scenarioInfo = std::make_unique<ScenarioInfo>();
        g_noRevolts = false;
        g_gameType = 0;
        g_globals.eventFlags.fill(false);
        g_globals.revoltDefs = std::make_unique<std::array<CCountryDefinition, kCountrySlots>>();
        g_revoltRiskOf = [](const CProvince&) { return s_risk; };
        s_risk = 0;
        AddCountry(std::make_unique<RecordingCountry>(kRebelCountry));
    }
    void TearDown() override {
        for (int32_t id : m_used)
            GetProvince(id)->ResetForGame();
        g_globals.revoltDefs.reset();
        g_globals.eventFlags.fill(false);
        g_revoltRiskOf = [](const CProvince& province) { return province.GetRevoltRisk(); };
        g_scenarioInfo.reset();
        g_gameType = 0;
        g_noRevolts = false;
        EconomyTest::TearDown();
    }

    RecordingCountry& Country(uint32_t number, bool releases = false) {
        auto made = std::make_unique<RecordingCountry>(number, releases);
        RecordingCountry& country = *made;
        AddCountry(std::move(made));
        return country;
    }

    // A province of the owner, held by the controller.
    CProvince& Province(int32_t id, uint32_t owner, uint32_t controller) {
        CProvince& province = *GetProvince(id);
        m_used.push_back(id);
        province.ResetForGame();
        province.SetOwner(CountryOfNumber(owner));
        province.SetControllerField(CountryOfNumber(controller));
        return province;
    }

    static std::vector<const COVEvent*> QueuedOfType(uint32_t type) {
        std::vector<const COVEvent*> events;
        g_scheduler.ForEachEvent([&](COVEvent* event) {
            if (event->GetType() == type)
                events.push_back(event);
        });
        return events;
    }
    static std::vector<Delivered> DeliveredOfType(uint32_t type) {
        std::vector<Delivered> found;
        for (const Delivered& delivered : g_delivered)
            if (delivered.type == type)
                found.push_back(delivered);
        return found;
    }

    static inline int32_t s_risk = 0;
    std::vector<int32_t> m_used;
};

// ---------------------------------------------------------------------------
// Civil war

TEST(CivilWarChanceTest, ByStabilityProvincesAndCountry) {
    struct Case {
        int32_t stability;
        int32_t provinces;
        uint32_t number;
        bool major;
        int32_t chance;
    };
    const Case cases[] = {
        {2, 90, 1, true, 0},   {3, 90, 1, true, 0},   {1, 90, 1, true, 11},  {0, 90, 1, true, 13},
        {-1, 90, 1, true, 16}, {-2, 90, 1, true, 24}, {-3, 90, 1, true, 28}, {-5, 90, 1, true, 28},
        {1, 9, 1, true, 2},    {-3, 90, 2, true, 56}, {-3, 90, 8, true, 14}, {-3, 90, 1, false, 2},
        {-3, 90, 2, false, 5}, {-2, 0, 1, true, 9},   {0, -4, 1, true, 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CCountry::GetCivilWarChance(c.stability, c.provinces, c.number, c.major),
                  c.chance)
            << "stability " << c.stability << " provinces " << c.provinces << " country "
            << c.number << (c.major ? " major" : " minor");
}

TEST_F(RebelsTest, RevoltPassRaisesWhereTheRollFallsBelowRiskAndBonus) {
    RecordingCountry& land = Country(1);
    for (int32_t id : {20, 21, 22})
        Province(id, 1, 1);
    land.SetStability(3);

    land.RevoltPass(1000);
    const auto armies = QueuedOfType(EVT_CREATE_ARMY);
    ASSERT_EQ(armies.size(), 3u);
    for (const COVEvent* army : armies)
        EXPECT_EQ(army->GetReceiver(), MakeCountryId(kRebelCountry));

    // A risk and bonus that no roll of 0..174 falls below raise nothing.
    g_scheduler.Clear();
    land.RevoltPass(0);
    EXPECT_TRUE(QueuedOfType(EVT_CREATE_ARMY).empty());
}

TEST_F(RebelsTest, RevoltPassLeavesAloneWhatItMayNotTouch) {
    RecordingCountry& single = Country(1);
    Province(20, 1, 1);
    single.RevoltPass(1000); // one province: no revolt
    RecordingCountry& rebels = *static_cast<RecordingCountry*>(CountryOfNumber(kRebelCountry));
    Province(30, kRebelCountry, kRebelCountry);
    Province(31, kRebelCountry, kRebelCountry);
    rebels.RevoltPass(1000); // the rebels never revolt
    EXPECT_TRUE(QueuedOfType(EVT_CREATE_ARMY).empty());

    RecordingCountry& land = Country(2);
    Province(40, 2, 2);
    Province(41, 2, 2);
    g_scenarioInfo->tutorial = true;
    land.RevoltPass(1000);
    EXPECT_TRUE(QueuedOfType(EVT_CREATE_ARMY).empty());
    g_scenarioInfo->tutorial = false;
    g_noRevolts = true;
    land.RevoltPass(1000);
    EXPECT_TRUE(QueuedOfType(EVT_CREATE_ARMY).empty());
}

TEST_F(RebelsTest, ACivilWarHandsAQuarterOfTheProvincesToTheRebels) {
    static std::vector<uint32_t> s_notices;
    s_notices.clear();
    const GameNoticeHooks savedNotices = g_gameNotices;
    g_gameNotices.post = [](const GameNotice& notice) {
        s_notices.push_back(static_cast<uint32_t>(notice.type) * 100 + notice.country);
    };
    RecordingCountry& land = Country(1);
    land.m_major = 1;
    land.SetStability(-3);
    const std::vector<int32_t> ids = {20, 21, 22, 23, 24, 25, 26, 27};
    for (int32_t id : ids)
        Province(id, 1, 1);
    const int32_t chance = CCountry::GetCivilWarChance(-3, 8, 1, true);
    // A seed whose civil-war roll, after one revolt roll per province,
    // falls below the chance.
    uint32_t seed = 0;
    for (;; ++seed) {
        GameSrand(seed);
        for (size_t i = 0; i < ids.size(); ++i)
            GameRand();
        if (GameRand() % 10000 < chance)
            break;
    }
    GameSrand(seed);
    land.RevoltPass(-1000);
    const auto changes = DeliveredOfType(EVT_PROVCHANGECONTROL);
    EXPECT_LT(changes.size(), ids.size());
    for (const Delivered& change : changes)
        EXPECT_EQ(change.receiver, MakeCountryId(kRebelCountry));
    EXPECT_EQ(s_notices, std::vector<uint32_t>{kNoticeCivilWarOther * 100u + 1u});

    // At war, or at stability 2, there is no civil war.
    g_delivered.clear();
    land.SetStability(2);
    GameSrand(seed);
    land.RevoltPass(-1000);
    EXPECT_TRUE(g_delivered.empty());
    g_gameNotices = savedNotices;
}

// ---------------------------------------------------------------------------
// A revolt's army

struct RevoltArmy {
    uint32_t infantry;
    uint32_t cavalry;
    uint32_t artillery;
};

RevoltArmy ArmyOf(const COVEvent& event) {
    return {event.Payload().Get(COVArmyEvent::kInfantry),
            event.Payload().Get(COVArmyEvent::kCavalry),
            event.Payload().Get(COVArmyEvent::kArtillery)};
}

TEST_F(RebelsTest, ARevoltRaisesNothingWhereRebelsHoldOrNothingIs) {
    RecordingCountry& land = Country(1);
    Province(20, 1, kRebelCountry);
    land.RaiseRevolt(20);
    land.RaiseRevolt(0);
    Province(21, 1, 1);
    g_noRevolts = true;
    land.RaiseRevolt(21);
    EXPECT_EQ(g_scheduler.GetCount(), 0u);
}

TEST_F(RebelsTest, ARevoltArmyHasAtLeastAHundredFoot) {
    RecordingCountry& land = Country(1);
    land.SetStability(3);
    CProvince& poor = Province(20, 1, 1); // no income, no city
    poor.continent = 1;
    // A seed whose roll of 0..9 does not outweigh the stability of 3.
    uint32_t seed = 0;
    while (GameSrand(seed), GameRand() % 10 > 3)
        ++seed;
    GameSrand(seed);
    land.RaiseRevolt(20);
    const auto armies = QueuedOfType(EVT_CREATE_ARMY);
    ASSERT_EQ(armies.size(), 1u);
    const COVEventData& payload = armies[0]->Payload();
    EXPECT_EQ(payload.Get(NewUnitHead::kProvince), 20u);
    EXPECT_EQ(payload.Get(NewUnitHead::kCountry), MakeCountryId(kRebelCountry));
    const RevoltArmy army = ArmyOf(*armies[0]);
    EXPECT_EQ(army.infantry, 100u);
    EXPECT_EQ(army.cavalry, 0u);
    EXPECT_EQ(army.artillery, 2u); // (1600 - 1550) / 25
}

TEST_F(RebelsTest, AProvinceGoingOverFirstStillLeavesAHundredFoot) {
    // A hamlet of 150 souls caps the army at 150, which the province going
    // over to the rebels halves.
    RecordingCountry& land = Country(1);
    CProvince& hamlet = Province(20, 1, 1);
    auto city = std::make_unique<CCity>();
    city->SetPopulation(150.0f);
    city->GetFortress().level = 0.0f;
    hamlet.SetCity(std::move(city));
    s_risk = 10; // 41 in 100
    bool wentOver = false;
    for (uint32_t seed = 0; seed < 200 && !wentOver; ++seed) {
        g_scheduler.Clear();
        GameSrand(seed);
        land.RaiseRevolt(20);
        wentOver = !QueuedOfType(EVT_PROVCHANGECONTROL).empty();
        const auto armies = QueuedOfType(EVT_CREATE_ARMY);
        ASSERT_EQ(armies.size(), 1u);
        EXPECT_GE(ArmyOf(*armies[0]).infantry, 100u);
        EXPECT_LE(ArmyOf(*armies[0]).infantry, 150u);
    }
    ASSERT_TRUE(wentOver);
    const auto change = QueuedOfType(EVT_PROVCHANGECONTROL);
    EXPECT_EQ(change[0]->GetReceiver(), MakeCountryId(kRebelCountry));
    EXPECT_EQ(ArmyOf(*QueuedOfType(EVT_CREATE_ARMY)[0]).infantry, 100u);
}

TEST_F(RebelsTest, ARevoltArmyGrowsWithTheCountryAndTheLand) {
    struct Case {
        uint32_t number;
        bool major;
        uint32_t religion;
        int32_t continent;
        int32_t region;
        double countryFactor;
        double landFactor;
        bool horse;
    };
    const Case cases[] = {
        {1, true, RELIGION_CATHOLIC, 2, 1, 1.0, 1.0, false},
        {2, false, RELIGION_CATHOLIC, 1, 1, 0.5, 0.75, false},
        {3, true, RELIGION_SUNNI, 2, 6, 1.4, 0.5, false},
        {6, true, RELIGION_CATHOLIC, 2, 12, 0.5, 1.1, false},
        {7, false, RELIGION_ORTHODOX, 1, 20, 1.4, 1.1, true},
        {13, true, RELIGION_CATHOLIC, 2, 24, 1.4, 1.1, true},
        {14, true, RELIGION_CATHOLIC, 2, 3, 1.0, 1.0, true},
    };
    int32_t id = 20;
    for (const Case& c : cases) {
        g_scheduler.Clear();
        RecordingCountry& land = Country(c.number);
        land.m_major = c.major ? 1 : 0;
        land.m_religion.stateReligion = c.religion;
        land.SetStability(-3);
        CProvince& province = Province(id, c.number, c.number);
        province.tax = 40;
        province.continent = c.continent;
        province.region = c.region;
        GameSrand(7);
        const int32_t roll = GameRand() % 10;
        const double size =
            (province.GetTotalIncome() + roll + 3) * c.countryFactor * c.landFactor * 500.0;
        GameSrand(7);
        land.RaiseRevolt(id);
        const auto armies = QueuedOfType(EVT_CREATE_ARMY);
        ASSERT_EQ(armies.size(), 1u) << "country " << c.number;
        const RevoltArmy army = ArmyOf(*armies[0]);
        const double infantry = c.horse ? 0.75 * size : size;
        EXPECT_NEAR(army.infantry, infantry, 1.0) << "country " << c.number;
        EXPECT_NEAR(army.cavalry, c.horse ? 0.25 * size : 0.0, 1.0) << "country " << c.number;
        ++id;
    }
}

TEST_F(RebelsTest, ALargeCityRaisesAnArmyOfItsSize) {
    RecordingCountry& land = Country(1);
    land.SetStability(3);
    CProvince& town = Province(20, 1, 1);
    auto city = std::make_unique<CCity>();
    city->SetPopulation(20000.0f);
    city->GetFortress().level = 2.0f;
    town.SetCity(std::move(city));
    land.RaiseRevolt(20);
    const auto armies = QueuedOfType(EVT_CREATE_ARMY);
    ASSERT_EQ(armies.size(), 1u);
    // 5000 x 2 + 2500, halved when the province goes over (1 in 100 here).
    const uint32_t infantry = ArmyOf(*armies[0]).infantry;
    EXPECT_TRUE(infantry >= 12500u ||
                (infantry >= 6250u && !QueuedOfType(EVT_PROVCHANGECONTROL).empty()))
        << infantry;
}

TEST_F(RebelsTest, TheDutchRiseInForceOnlyWhileHollandIsMissing) {
    RecordingCountry& land = Country(3);
    land.SetStability(3);
    Country(5); // Portugal is no stand-in for Holland
    g_globals.eventFlags[2] = true;
    s_risk = 20;
    for (const bool hollandExists : {false, true}) {
        if (hollandExists)
            Country(4);
        g_scheduler.Clear();
        CProvince& town = Province(338, 3, 3);
        auto city = std::make_unique<CCity>();
        city->SetPopulation(3000.0f);
        town.SetCity(std::move(city));
        land.RaiseRevolt(338);
        const auto armies = QueuedOfType(EVT_CREATE_ARMY);
        ASSERT_EQ(armies.size(), 1u) << hollandExists;
        const RevoltArmy army = ArmyOf(*armies[0]);
        if (hollandExists)
            EXPECT_EQ(army.cavalry, 0u);
        else
            EXPECT_NEAR(army.cavalry, army.infantry / 3.0, 1.0);
    }
}

// ---------------------------------------------------------------------------
// Released nations

class ReleaseTest : public RebelsTest {
protected:
    static constexpr uint32_t kNation = 73;

    void SetUp() override {
        RebelsTest::SetUp();
        owner = &Country(1, true);
        owner->m_religion.stateReligion = RELIGION_REFORMED;
        for (int32_t id : {20, 21}) // the least the nation rises with
            Province(id, 1, kRebelCountry).revoltCountry = kNation;
        Province(22, 1, kRebelCountry).revoltCountry = kNation; // claimed, held by rebels
        Province(23, 1, 1).revoltCountry = kNation;             // claimed, still ours
        Definition(kNation);
    }

    CCountryDefinition& Definition(uint32_t nation) {
        CCountryDefinition& definition = (*g_globals.revoltDefs)[nation];
        definition.minimum.RemoveAll();
        definition.extra.RemoveAll();
        definition.date = CDate(1, 0, 1550);
        definition.expiryDate = CDate(1, 0, 1700);
        definition.minimum.AddTail(20);
        definition.minimum.AddTail(21);
        definition.extra.AddTail(22);
        definition.extra.AddTail(23);
        return definition;
    }

    RecordingCountry* owner = nullptr;
};

TEST_F(ReleaseTest, TheNationRisesWithItsRebelHeldProvinces) {
    ASSERT_TRUE(owner->ReleasePass(true));
    const auto creates = DeliveredOfType(EVT_CREATE_COUNTRY);
    ASSERT_EQ(creates.size(), 1u);
    const COVEventData create = PayloadOf(creates[0]);
    EXPECT_EQ(creates[0].receiver, owner->GetId());
    EXPECT_EQ(create.Get(COVCreateCountryEvent::kCountry), kNation);
    EXPECT_EQ(create.Get(COVCreateCountryEvent::kReleaser), 1u);
    ASSERT_EQ(create.Get(COVCountedEvent::kCount), 3u);
    EXPECT_EQ(create.Get(COVCountedEvent::kEntries[0]), 20u);
    EXPECT_EQ(create.Get(COVCountedEvent::kEntries[1]), 21u);
    EXPECT_EQ(create.Get(COVCountedEvent::kEntries[2]), 22u);

    const auto changes = DeliveredOfType(EVT_PROVCHANGECONTROL);
    ASSERT_EQ(changes.size(), 3u);
    for (const Delivered& change : changes)
        EXPECT_EQ(change.receiver, MakeCountryId(kNation));
    // Quiet: no diplomat, no casus belli.
    EXPECT_TRUE(DeliveredOfType(EVT_GET_DIPLOMAT).empty());
    EXPECT_TRUE(DeliveredOfType(EVT_GIVECB).empty());
}

TEST_F(ReleaseTest, ALoudReleaseArmsTheNationAgainstItsFormerMaster) {
    bool released = false;
    for (uint32_t seed = 0; seed < 50 && !released; ++seed) {
        GameSrand(seed);
        released = owner->ReleasePass(false);
    }
    ASSERT_TRUE(released);
    const auto diplomats = DeliveredOfType(EVT_GET_DIPLOMAT);
    ASSERT_EQ(diplomats.size(), 1u);
    EXPECT_EQ(diplomats[0].receiver, MakeCountryId(kNation));
    const auto cbs = DeliveredOfType(EVT_GIVECB);
    ASSERT_EQ(cbs.size(), 1u);
    EXPECT_EQ(cbs[0].receiver, MakeCountryId(kNation));
    EXPECT_EQ(PayloadOf(cbs[0]).Get(CasusBelliPayload::kAgainst), owner->GetId());
    EXPECT_EQ(PayloadOf(cbs[0]).Get(CasusBelliPayload::kExpiry), CDate(10, 4, 1601));
}

TEST_F(ReleaseTest, OnlyAQualifyingClaimIsReleased) {
    struct Case {
        const char* what;
        std::function<void(CCountryDefinition&)> change;
    };
    const Case cases[] = {
        {"its date has not come", [](CCountryDefinition& d) { d.date = CDate(1, 0, 1650); }},
        {"it has expired", [](CCountryDefinition& d) { d.expiryDate = CDate(1, 0, 1599); }},
        {"a province of the least it needs is not held by rebels",
         [](CCountryDefinition& d) { d.minimum.AddTail(23); }},
        {"it needs nothing, so it would rise with nothing",
         [](CCountryDefinition& d) { d.minimum.RemoveAll(); }},
        {"country 1 is not reformed",
         [this](CCountryDefinition&) { owner->m_religion.stateReligion = RELIGION_CATHOLIC; }},
    };
    for (const Case& c : cases) {
        g_delivered.clear();
        owner->m_religion.stateReligion = RELIGION_REFORMED;
        c.change(Definition(kNation));
        EXPECT_FALSE(owner->ReleasePass(true)) << c.what;
        EXPECT_TRUE(g_delivered.empty()) << c.what;
    }
    // Without country 1, 73 needs nothing of its religion... but country 1
    // is the releaser here; the two specials that follow the history flags:
    for (uint32_t nation : {74u, 75u}) {
        for (int32_t id : {20, 21, 22, 23})
            GetProvince(id)->revoltCountry = static_cast<int32_t>(nation);
        Definition(nation);
        g_globals.eventFlags.fill(false);
        EXPECT_FALSE(owner->ReleasePass(true)) << nation;
        g_globals.eventFlags[nation == 74 ? 2 : 1] = true;
        EXPECT_TRUE(owner->ReleasePass(true)) << nation;
    }
}

TEST_F(ReleaseTest, AReleaseWhoseCountryIsNeverMadeDoesNotCount) {
    // A country whose handler makes no country: the pass must not claim a
    // release, or the break-up would release the same nation for ever.
    RecordingCountry& stubborn = Country(2);
    for (int32_t id : {30, 31})
        Province(id, 2, kRebelCountry).revoltCountry = 74;
    g_globals.eventFlags[2] = true;
    CCountryDefinition& definition = Definition(74);
    definition.minimum.RemoveAll();
    definition.minimum.AddTail(30);
    definition.minimum.AddTail(31);
    EXPECT_FALSE(stubborn.ReleasePass(true));
    EXPECT_EQ(DeliveredOfType(EVT_CREATE_COUNTRY).size(), 1u);

    g_delivered.clear();
    stubborn.Break();
    EXPECT_EQ(DeliveredOfType(EVT_CREATE_COUNTRY).size(), 1u);
    EXPECT_EQ(DeliveredOfType(EVT_COUNTRY_BROKEN).size(), 1u);
}

TEST_F(ReleaseTest, ABreakUpReleasesEveryNationThenTellsEveryone) {
    for (int32_t id : {30, 31})
        Province(id, 1, kRebelCountry).revoltCountry = 76;
    CCountryDefinition& second = Definition(76);
    second.minimum.RemoveAll();
    second.extra.RemoveAll();
    second.minimum.AddTail(30);
    second.minimum.AddTail(31);

    owner->Break();
    const auto creates = DeliveredOfType(EVT_CREATE_COUNTRY);
    ASSERT_EQ(creates.size(), 2u);
    EXPECT_NE(CountryOfNumber(kNation), nullptr);
    EXPECT_NE(CountryOfNumber(76), nullptr);
    ASSERT_EQ(DeliveredOfType(EVT_COUNTRY_BROKEN).size(), 1u);
    EXPECT_EQ(g_delivered.back().type, EVT_COUNTRY_BROKEN);
    EXPECT_EQ(g_delivered.back().receiver, owner->GetId());

    // A major country in a game of scenario missions does not break up.
    g_delivered.clear();
    RecordingCountry& major = Country(2, true);
    major.m_major = 1;
    g_gameType = 3;
    major.Break();
    EXPECT_TRUE(g_delivered.empty());
}

TEST_F(ReleaseTest, ACollapseFollowsWhenRebelsHoldMoreThanTheCities) {
    // Three provinces held by rebels, no city: the country breaks.
    owner->CheckCollapse();
    EXPECT_EQ(DeliveredOfType(EVT_COUNTRY_BROKEN).size(), 1u);

    // With more real cities under its control than provinces lost, it stands.
    g_delivered.clear();
    RecordingCountry& holding = Country(2);
    Province(40, 2, kRebelCountry);
    for (int32_t id : {41, 42}) {
        auto city = std::make_unique<CCity>();
        city->SetPopulation(3000.0f);
        CCity* made = city.get();
        Province(id, 2, 2).SetCity(std::move(city));
        holding.m_cities.AddTail(made);
    }
    holding.CheckCollapse();
    EXPECT_TRUE(DeliveredOfType(EVT_COUNTRY_BROKEN).empty());
}

// ---------------------------------------------------------------------------
// Mission progress

class MissionTest : public RebelsTest {
protected:
    void SetUp() override {
        RebelsTest::SetUp();
        g_gameType = 3;
        country = &Country(1);
        country->m_major = 1;
        Country(2);
        Province(20, 1, 1); // owned and controlled
        Province(21, 1, 2); // owned, held by 2
        Province(22, 2, 1); // of 2, held by us
        Province(23, 2, 2);
        for (int32_t id : {20, 21, 22, 23})
            country->m_missionArea.AddTail(id);
    }
    void TearDown() override {
        g_cotCalc.Clear();
        RebelsTest::TearDown();
    }
    RecordingCountry* country = nullptr;
};

TEST_F(MissionTest, ProgressByMissionType) {
    struct Case {
        int32_t type;
        int32_t missionProvince;
        float start;
        float expected;
    };
    const Case cases[] = {
        {0, 0, 1.0f, 1.0f + 20.1f / 48.0f * 1}, // owned and controlled: 20
        {1, 0, 0.0f, 10.1f / 48.0f * 2},        // controlled: 20, 22
        {2, 20, 0.0f, 101.0f / 4.0f},           // owned and the mission's province
        {2, 22, 0.0f, 0.0f},                    // the mission's province, not owned
        {3, 22, 5.0f, 5.0f + 101.0f / 4.0f},    // the subject among the goals
        {3, 99, 5.0f, 5.0f},
        {4, 0, 33.0f, 0.0f},  // set: no centre with more than 5 merchants
        {5, 21, 0.0f, 0.0f},  // no city
        {6, 20, 0.0f, 0.0f},  // no trading post
        {7, 0, 10.0f, 30.0f}, // every time
    };
    for (const Case& c : cases) {
        country->m_missionType = c.type;
        country->m_missionProvince = c.missionProvince;
        country->m_missionPercentage = c.start;
        country->UpdateMissionProgress(-1);
        EXPECT_NEAR(country->m_missionPercentage, c.expected, 1e-4) << "type " << c.type;
    }
}

TEST_F(MissionTest, SettlementsAndCentresCountForTheirTypes) {
    country->m_missionProvince = 20;
    auto city = std::make_unique<CCity>();
    city->SetPopulation(500.0f);
    GetProvince(20)->SetCity(std::move(city));
    country->m_missionType = 5;
    country->UpdateMissionProgress(5);
    EXPECT_FLOAT_EQ(country->m_missionPercentage, 10.0f);
    GetProvince(20)->GetCity()->SetPopulation(900.0f);
    country->UpdateMissionProgress(5);
    EXPECT_FLOAT_EQ(country->m_missionPercentage, 10.0f);

    country->m_missionProvince = 21;
    auto post = std::make_unique<CTradingPost>();
    post->level = 6.0f;
    GetProvince(21)->SetTradingPost(std::move(post));
    country->m_missionType = 6;
    country->UpdateMissionProgress(-1);
    EXPECT_FLOAT_EQ(country->m_missionPercentage, 15.0f);

    // Two centres, of which one has six of our merchants.
    for (int32_t seat : {22, 23}) {
        auto centre = CCotCalc::NewCentreOfTrade(seat);
        auto merchant = std::make_unique<CCotMerchant>();
        merchant->country = 1;
        merchant->level = seat == 22 ? 6.0f : 5.0f;
        centre->SetMerchant(std::move(merchant));
        ASSERT_TRUE(g_cotCalc.AddCentreOfTrade(std::move(centre)));
    }
    country->m_missionType = 4;
    country->UpdateMissionProgress(4);
    EXPECT_FLOAT_EQ(country->m_missionPercentage, 10.0f);
}

TEST_F(MissionTest, OnlyAMajorCountryOfAMissionGameForItsOwnType) {
    country->m_missionType = 7;
    country->UpdateMissionProgress(5); // another type's success
    EXPECT_FLOAT_EQ(country->m_missionPercentage, 0.0f);
    country->UpdateMissionProgress(7);
    EXPECT_FLOAT_EQ(country->m_missionPercentage, 20.0f);
    g_gameType = 1;
    country->UpdateMissionProgress(-1);
    EXPECT_FLOAT_EQ(country->m_missionPercentage, 20.0f);
    g_gameType = 3;
    country->m_major = 0;
    country->UpdateMissionProgress(-1);
    EXPECT_FLOAT_EQ(country->m_missionPercentage, 20.0f);

    // An empty goal list adds nothing (and divides by nothing).
    country->m_major = 1;
    country->m_missionArea.RemoveAll();
    for (int32_t type : {0, 1, 2, 3, 8}) {
        country->m_missionType = type;
        country->UpdateMissionProgress(-1);
        EXPECT_FLOAT_EQ(country->m_missionPercentage, 20.0f) << type;
    }
}

TEST(ScandalTextTest, KindsHaveTheirKeys) {
    EXPECT_STREQ(GetScandalTypeKey(0), "SCANDALTYPESEX");
    EXPECT_STREQ(GetScandalTypeKey(4), "SCANDALTYPEBETRAYAL");
    EXPECT_EQ(GetScandalTypeKey(5), nullptr);
    EXPECT_EQ(GetScandalTypeKey(-1), nullptr);
    EXPECT_EQ(GetScandalTypeText(9), "");
}

} // namespace
