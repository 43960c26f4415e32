// The country's small methods: distances between provinces and capitals,
// sprite cultures and colours, efficiencies, the manufactory limit, loans
// and modifiers, shared discoveries; the war bookkeeping (occupied
// provinces, a separate peace, alliance members) and the order in which a
// unit is deleted.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "country/Alliance.h"
#include "country/Country.h"
#include "country/CountryAI.h"
#include "country/CountryMilitary.h"
#include "country/War.h"
#include "engine/CheckedPtrArray.h"
#include "net/EventTypes.h"
#include "net/Scheduler.h"
#include "net/Senders.h"
#include "tests/country/EconomyFixture.h"
#include "world/Discovery.h"
#include "world/GameNotices.h"
#include "world/Globals.h"
#include "world/ProvinceDistance.h"

namespace {

constexpr int32_t kProvinces[] = {1, 2, 3, 4, 5, 10, 11, 12, 13};

// Records the casus belli messages it receives (receiver, against).
std::vector<std::pair<uint32_t, uint32_t>> g_casusBelli;

class CasusBelliCountry : public CCountry {
public:
    explicit CasusBelliCountry(uint32_t number) : CCountry(number) {}
    int OnGiveCB(COVEvent& event) override {
        const ObjectId against = event.Payload().Get(CasusBelliPayload::kAgainst);
        g_casusBelli.emplace_back(GetNumber(), against.number);
        return EVENT_CONSUMED;
    }
};

class CountryMethodsTest : public test::EconomyTest {
protected:
    void SetUp() override {
        EconomyTest::SetUp();
        m_military = g_countryMilitary;
        m_ai = g_countryAI;
        m_notices = g_gameNotices;
        g_casusBelli.clear();
        for (int32_t id : kProvinces)
            ResetProvince(id);
    }
    void TearDown() override {
        g_wars.clear();
        g_alliances.clear();
        for (int32_t id : kProvinces)
            ResetProvince(id);
        g_countryMilitary = m_military;
        g_countryAI = m_ai;
        g_gameNotices = m_notices;
        g_globals.emperor = CGlobals::kDefaultEmperor;
        EconomyTest::TearDown();
    }

    static void ResetProvince(int32_t id) {
        CProvince& province = *GetProvince(id);
        province.ResetForGame();
        province.box = {};
    }
    // Centres the province's box on (x, y).
    static void Place(int32_t id, int32_t x, int32_t y) {
        GetProvince(id)->box = {x - 10, y - 10, x + 10, y + 10};
    }
    static void OwnAndControl(int32_t id, CCountry& owner, CCountry& controller) {
        GetProvince(id)->SetOwner(&owner);
        GetProvince(id)->SetControllerField(&controller);
    }
    static CCountry& MakeRecording(uint32_t number) {
        auto country = std::make_unique<CasusBelliCountry>(number);
        CCountry* made = country.get();
        EXPECT_TRUE(AddCountry(std::move(country)));
        return *made;
    }
    void SetYear(int16_t year) { g_gameTimer->currentDate = CDate(1, 0, year); }

    CountryMilitaryHooks m_military;
    CountryAIHooks m_ai;
    GameNoticeHooks m_notices;
};

TEST_F(CountryMethodsTest, ProvinceDistanceTakesTheShortWayAroundTheWorld) {
    struct Case {
        int32_t ax, ay, bx, by;
        float distance;
    };
    const Case cases[] = {
        {100, 50, 18900, 50, 1.44f},  // across the seam: 144 pixels, not 18800
        {18900, 50, 100, 50, 1.44f},  // the same from the other side
        {100, 50, 400, 450, 5.0f},    // 300 by 400
        {0, 0, 9472, 0, 94.72f},      // half the map: not wrapped
        {0, 0, 9473, 0, 94.71f},      // one more: the other way is shorter
        {500, 7000, 500, 100, 69.0f}, // north to south never wraps
    };
    for (const Case& c : cases) {
        Place(1, c.ax, c.ay);
        Place(2, c.bx, c.by);
        EXPECT_NEAR(ProvinceDistance(1, 2), c.distance, 1e-4f) << c.ax << " to " << c.bx;
    }
    EXPECT_EQ(ProvinceDistance(2, 2), 0.0f);
    // An id outside the table counts as a centre at (0, 0).
    Place(2, 300, 400);
    EXPECT_NEAR(ProvinceDistance(2, 5000), 5.0f, 1e-4f);
}

TEST_F(CountryMethodsTest, CapitalDistancesKeepTheMarkWithoutACapital) {
    Place(1, 100, 50);
    Place(2, 18900, 50);
    CCountry& eng = Make(1);
    CCountry& fra = Make(2);
    CCountry& hab = Make(3);
    CCountry& hol = Make(4);
    eng.m_capital = 1;
    fra.m_capital = 2;
    hab.m_capital = 0; // none
    hol.m_capital = 1; // the same capital as ENG
    eng.m_capitalDistances.fill(5.0f);
    eng.UpdateCapitalDistances();
    EXPECT_EQ(eng.m_capitalDistances[1], 0.0f);
    EXPECT_NEAR(eng.m_capitalDistances[2], 1.44f, 1e-4f);
    EXPECT_EQ(eng.m_capitalDistances[3], CCountry::kNoDistance);
    EXPECT_EQ(eng.m_capitalDistances[4], 0.0f);
    EXPECT_EQ(eng.m_capitalDistances[5], CCountry::kNoDistance); // empty slot
    hab.UpdateCapitalDistances();
    for (float distance : hab.m_capitalDistances)
        EXPECT_EQ(distance, CCountry::kNoDistance);
    // A new country starts with the mark everywhere.
    for (float distance : Make(5).m_capitalDistances)
        EXPECT_EQ(distance, CCountry::kNoDistance);
}

TEST_F(CountryMethodsTest, SpriteCulturesMembershipAndEmperorByNumber) {
    const std::pair<uint32_t, int32_t> cultures[] = {
        {1, 0},   {11, 10}, {12, 11}, {14, 17}, {94, 17}, {33, 13}, {77, 13},
        {44, 15}, {55, 16}, {97, 16}, {62, 14}, {63, 14}, {65, 12}, {66, 12},
        {96, 18}, {98, 18}, {0, 11},  {13, 11}, {95, 11},
    };
    for (const auto& [number, culture] : cultures)
        EXPECT_EQ(CCountry(number).GetSpriteCulture(), culture) << number;

    int members = 0;
    for (uint32_t n = 0; n < kCountrySlots; ++n)
        members += CCountry(n).IsHREMember() ? 1 : 0;
    EXPECT_EQ(members, 17);
    EXPECT_TRUE(CCountry(3).IsHREMember());
    EXPECT_TRUE(CCountry(84).IsHREMember());
    EXPECT_FALSE(CCountry(2).IsHREMember());

    EXPECT_TRUE(CCountry(3).IsEmperor());
    g_globals.emperor = 19;
    EXPECT_FALSE(CCountry(3).IsEmperor());
    EXPECT_TRUE(CCountry(19).IsEmperor());
}

TEST_F(CountryMethodsTest, IndexedColoursPackRedLowest) {
    auto rgb = [](uint32_t r, uint32_t g, uint32_t b) { return r | g << 8 | b << 16; };
    const uint32_t other = rgb(255, 192, 96);
    EXPECT_EQ(GetIndexedColour(1), 0x0000FFu);
    EXPECT_EQ(GetIndexedColour(2), 0xFF0000u);
    EXPECT_EQ(GetIndexedColour(4), rgb(255, 160, 0));
    EXPECT_EQ(GetIndexedColour(9), rgb(96, 192, 255));
    EXPECT_EQ(GetIndexedColour(13), rgb(255, 128, 128));
    for (int32_t code : {0, 12, 14, 39, 70, -1})
        EXPECT_EQ(GetIndexedColour(code), other) << code;
    g_fantasyMode = 1;
    EXPECT_EQ(GetIndexedColour(39), rgb(160, 160, 160));
    EXPECT_EQ(GetIndexedColour(70), rgb(255, 0, 0));
    EXPECT_EQ(GetIndexedColour(72), rgb(255, 255, 0));
    EXPECT_EQ(GetIndexedColour(71), other);
    EXPECT_EQ(GetIndexedColour(3), rgb(255, 255, 255));
}

TEST_F(CountryMethodsTest, EfficienciesAddTheLevelRowTheBonusAndTheFaith) {
    std::vector<CTechRow> rows(3);
    rows[0].efficiency = 0.5f;
    rows[1].efficiency = 0.75f;
    g_infraTechTable.SetRows(rows);
    rows[1].efficiency = 0.25f;
    g_tradeTechTable.SetRows(rows);
    CCountry& country = Make(2);
    country.m_technology.infra.level = 1;
    country.m_technology.trade.level = 1;
    country.m_colonisationBonus = 10;
    country.m_tradeBonus = -5;
    EXPECT_FLOAT_EQ(country.GetProductionEfficiency(), 0.85f);
    EXPECT_FLOAT_EQ(country.GetTradeEfficiency(), 0.2f);
    s_religions[2] = RELIGION_PROTESTANT;
    EXPECT_FLOAT_EQ(country.GetProductionEfficiency(), 0.9f);
    EXPECT_FLOAT_EQ(country.GetTradeEfficiency(), 0.2f);
    s_religions[2] = RELIGION_REFORMED;
    EXPECT_FLOAT_EQ(country.GetProductionEfficiency(), 0.85f);
    EXPECT_FLOAT_EQ(country.GetTradeEfficiency(), 0.25f);
}

TEST_F(CountryMethodsTest, TheManufactoryLimitGrowsWithTheYears) {
    struct Case {
        uint32_t number;
        int16_t year;
        int32_t limit;
    };
    const Case cases[] = {
        {2, 1610, 4},   // FRA: 90 / 20 + trunc(90 x 0.5 / 60)
        {2, 1760, 14},  // 240 / 20 + 2
        {2, 1500, 2},   // before 1520: at least 2
        {2, 1539, 2},   // 19 years: 0 + 0
        {1, 1610, 5},   // ENG: factor 1
        {8, 1610, 4},   // SPA: 4 + trunc(-0.75)
        {10, 1760, 10}, // TUR: 12 - 2
        {7, 1690, 7},   // RUS before 180 years: 8 + trunc(-1.42)
        {7, 1700, 9},   // RUS from 180 years: factor 0
    };
    for (const Case& c : cases) {
        SetYear(c.year);
        EXPECT_EQ(CCountry(c.number).GetYearScaledLimit(), c.limit) << c.number << " " << c.year;
    }
}

TEST_F(CountryMethodsTest, LoansOfOneLenderGoAndTheOthersStay) {
    CCountry& country = Make(2);
    for (ObjectId lender : {g_bankId, MakeCountryId(5), MakeCountryId(6), MakeCountryId(5)}) {
        country.m_loans.push_back(std::make_unique<CLoan>(country.GetId()));
        country.m_loans.back()->lender = lender;
    }
    country.RemoveLoansFrom(5);
    ASSERT_EQ(country.m_loans.size(), 2u);
    EXPECT_EQ(country.m_loans[0]->lender, g_bankId);
    EXPECT_EQ(country.m_loans[1]->lender, MakeCountryId(6));
    country.RemoveLoansFrom(-1);
    country.RemoveLoansFrom(99);
    EXPECT_EQ(country.m_loans.size(), 2u);
}

TEST_F(CountryMethodsTest, ModifiersLastTheDurationsMonthsOnTheHostOnly) {
    CCountry& country = Make(2);
    const CDate fifteenMonths(0, 3, 1);
    country.AddModifier(2, 0.25f, &fifteenMonths);
    country.AddModifier(2, 0.5f, nullptr); // no duration: nothing
    ASSERT_EQ(country.m_modifiers.GetEntries().size(), 1u);
    EXPECT_EQ(country.m_modifiers.GetEntries()[0].monthsLeft, 15);
    EXPECT_FLOAT_EQ(country.GetCostModifier(), 0.25f);
    BecomeClient();
    country.AddModifier(2, 0.25f, &fifteenMonths);
    EXPECT_EQ(country.m_modifiers.GetEntries().size(), 1u);
}

TEST_F(CountryMethodsTest, TheMilitaryStateIsRefreshedCombatsFirstOnTheHostOnly) {
    static std::vector<std::string> calls;
    calls.clear();
    g_countryMilitary.checkCombats = [](CCountry& c) {
        calls.push_back("combats " + std::to_string(c.GetNumber()));
    };
    g_countryMilitary.updateSupply = [](CCountry&) { calls.push_back("supply"); };
    g_countryMilitary.updateTrespassFlags = [](CCountry&) { calls.push_back("trespass"); };
    CCountry& country = Make(2);
    country.RefreshMilitaryState();
    EXPECT_EQ(calls, (std::vector<std::string>{"combats 2", "supply", "trespass"}));
    calls.clear();
    BecomeClient();
    country.RefreshMilitaryState();
    EXPECT_EQ(calls, (std::vector<std::string>{"supply", "trespass"}));
}

TEST_F(CountryMethodsTest, RankScoreAnswersTheNewScore) {
    CCountry& country = Make(2);
    EXPECT_FLOAT_EQ(country.AddRankScore(2.5f), 2.5f);
    EXPECT_FLOAT_EQ(country.AddRankScore(-1.0f), 1.5f);
    EXPECT_FLOAT_EQ(country.AddRankScore(0.0f), 1.5f);
}

TEST_F(CountryMethodsTest, DiscoveriesAreSharedBothWays) {
    CCountry& eng = Make(1);
    Make(2);
    DiscoverProvince(1, 10);
    DiscoverProvince(2, 11);
    DiscoverProvince(1, 12);
    DiscoverProvince(2, 12);
    eng.ShareDiscoveriesWith(2);
    for (int32_t id : {10, 11, 12}) {
        EXPECT_TRUE(IsProvinceDiscovered(1, id)) << id;
        EXPECT_TRUE(IsProvinceDiscovered(2, id)) << id;
    }
    EXPECT_FALSE(IsProvinceDiscovered(1, 13));
    EXPECT_FALSE(IsProvinceDiscovered(2, 13));
}

TEST_F(CountryMethodsTest, OccupiedProvincesGoBackToTheirOwnerUnlessAnnexed) {
    CCountry& occupier = Make(1);
    CCountry& owner = Make(2);
    CCountry& third = Make(3);
    OwnAndControl(10, owner, occupier);
    OwnAndControl(11, third, occupier);
    OwnAndControl(12, owner, occupier);
    OwnAndControl(13, occupier, occupier);

    owner.m_annexed = true;
    ReturnOccupiedProvinces(occupier, owner);
    EXPECT_EQ(GetProvince(10)->GetControllerNumber(), 1);

    owner.m_annexed = false;
    ReturnOccupiedProvinces(occupier, owner);
    EXPECT_EQ(GetProvince(10)->GetControllerNumber(), 2);
    EXPECT_EQ(GetProvince(11)->GetControllerNumber(), 1);
    EXPECT_EQ(GetProvince(12)->GetControllerNumber(), 2);
    EXPECT_EQ(GetProvince(13)->GetControllerNumber(), 1);
    EXPECT_EQ(occupier.m_controlledProvinces.GetCount(), 2u);
    EXPECT_TRUE(owner.m_controlledProvinces.Contains(10));
    EXPECT_TRUE(owner.m_controlledProvinces.Contains(12));
}

// Countries 1 and 2 (1 leading) against 3 and 4; 1 holds a province of 3
// and 4 one of 1.
class SeparatePeaceTest : public CountryMethodsTest {
protected:
    void SetUp() override {
        CountryMethodsTest::SetUp();
        for (uint32_t n = 1; n <= 4; ++n)
            countries[n] = &MakeRecording(n);
        auto war = std::make_unique<CWar>();
        war->id = ObjectId(4712, 70);
        war->attackers = std::make_unique<CAlliance>();
        war->attackers->id = ObjectId(4712, 71);
        war->attackers->type = ALLIANCE_WAR_SIDE;
        war->attackers->participants = {1, 2};
        war->defenders = std::make_unique<CAlliance>();
        war->defenders->id = ObjectId(4712, 72);
        war->defenders->type = ALLIANCE_WAR_SIDE;
        war->defenders->participants = {3, 4};
        for (uint32_t a : {1u, 2u})
            for (uint32_t d : {3u, 4u}) {
                countries[a]->SetAtWarWith(d);
                countries[d]->SetAtWarWith(a);
                war->attackerScore.rows[a][d] = 5;
                war->defenderScore.rows[d][a] = 7;
            }
        this->war = war.get();
        g_wars.push_back(std::move(war));
        OwnAndControl(10, *countries[3], *countries[1]);
        OwnAndControl(11, *countries[1], *countries[4]);
        OwnAndControl(12, *countries[3], *countries[2]);
        g_notices.clear();
        g_countryAI.notifyListeners = [](uint32_t kind, uint32_t a, uint32_t b) {
            g_notices.push_back({kind, a, b});
        };
    }

    struct Notice {
        uint32_t kind, a, b;
        bool operator==(const Notice&) const = default;
    };
    static inline std::vector<Notice> g_notices;
    std::array<CCountry*, 5> countries{};
    CWar* war = nullptr;
};

TEST_F(SeparatePeaceTest, TheLeaderMakesPeaceWithEveryEnemyAndLeavesItsSide) {
    g_gameTimer->currentDate = CDate(3, 7, 1610);
    countries[1]->MakeSeparatePeace(*war);

    for (uint32_t e : {3u, 4u}) {
        EXPECT_FALSE(countries[1]->m_diplomacy.IsAtWarWith(e)) << e;
        EXPECT_FALSE(countries[e]->m_diplomacy.IsAtWarWith(1)) << e;
        EXPECT_EQ(countries[1]->GetLastPeaceWith(e), CDate(3, 7, 1610));
        EXPECT_EQ(countries[e]->GetLastPeaceWith(1), CDate(3, 7, 1610));
        EXPECT_EQ(war->defenderScore.rows[e][1], 0) << e;
        // The ally fights on.
        EXPECT_TRUE(countries[2]->m_diplomacy.IsAtWarWith(e));
        EXPECT_EQ(war->defenderScore.rows[e][2], 7);
    }
    EXPECT_FALSE(countries[1]->IsAtWar());
    EXPECT_TRUE(countries[3]->IsAtWar());

    EXPECT_EQ(GetProvince(10)->GetControllerNumber(), 3);
    EXPECT_EQ(GetProvince(11)->GetControllerNumber(), 1);
    EXPECT_EQ(GetProvince(12)->GetControllerNumber(), 2); // the ally's hold stays

    const std::vector<Notice> expected = {{kAINoticeSeparatePeace, 1, 3},
                                          {kAINoticeSeparatePeace, 1, 4}};
    EXPECT_EQ(g_notices, expected);

    EXPECT_EQ(war->attackers->participants, std::vector<uint32_t>{2});
    EXPECT_EQ(war->attackers->GetLeader(), 2);
    const std::vector<std::pair<uint32_t, uint32_t>> grudges = {{2, 1}};
    EXPECT_EQ(g_casusBelli, grudges);
}

TEST_F(SeparatePeaceTest, AnAnnexedEnemyKeepsWhatIsHeldAndAnOutsiderChangesNothing) {
    countries[3]->m_annexed = true;
    countries[4]->MakeSeparatePeace(*war);
    // 4 held a province of 1: given back; 1 is not annexed.
    EXPECT_EQ(GetProvince(11)->GetControllerNumber(), 1);
    countries[3]->MakeSeparatePeace(*war);
    // 3 is annexed: 1 keeps the province of 3 it holds.
    EXPECT_EQ(GetProvince(10)->GetControllerNumber(), 1);
    EXPECT_TRUE(war->defenders->participants.empty());
    // Only the first peace left a member behind: 3 holds a grudge against 4.
    const std::vector<std::pair<uint32_t, uint32_t>> grudges = {{3, 4}};
    EXPECT_EQ(g_casusBelli, grudges);

    CCountry& outsider = MakeRecording(9);
    g_notices.clear();
    outsider.MakeSeparatePeace(*war);
    EXPECT_TRUE(g_notices.empty());
    EXPECT_EQ(war->attackers->participants.size(), 2u);
}

TEST_F(CountryMethodsTest, AllianceMembersJoinOnceAndLeave) {
    Make(1);
    Make(2);
    auto alliance = std::make_unique<CAlliance>();
    alliance->id = ObjectId(4712, 80);
    alliance->type = ALLIANCE_MILITARY;
    CAlliance* made = alliance.get();
    g_alliances.push_back(std::move(alliance));
    CCountry& first = *CountryOfNumber(1);
    first.AddAllianceMember(made->id, 1);
    first.AddAllianceMember(made->id, 2);
    first.AddAllianceMember(made->id, 2);  // already there
    first.AddAllianceMember(made->id, 50); // no such country
    EXPECT_EQ(made->participants, (std::vector<uint32_t>{1, 2}));
    EXPECT_TRUE(first.IsAlliedWith(2));

    first.RemoveAllianceMember(made->id, 1);
    EXPECT_EQ(made->participants, std::vector<uint32_t>{2});
    first.AddAllianceMember(ObjectId(4712, 81), 1); // no such alliance
    EXPECT_EQ(made->participants, std::vector<uint32_t>{2});

    // The side of a war is found as well.
    auto war = std::make_unique<CWar>();
    war->attackers = std::make_unique<CAlliance>();
    war->attackers->id = ObjectId(4712, 90);
    war->defenders = std::make_unique<CAlliance>();
    war->defenders->id = ObjectId(4712, 91);
    CWar* fought = war.get();
    g_wars.push_back(std::move(war));
    first.AddAllianceMember(ObjectId(4712, 91), 1);
    EXPECT_EQ(fought->defenders->participants, std::vector<uint32_t>{1});
}

TEST_F(CountryMethodsTest, DatedRecordsCarryTodaysDate) {
    const DatedId record = MakeDatedId(ObjectId(4712, 3));
    EXPECT_EQ(record.date, kToday);
    EXPECT_EQ(record.id, ObjectId(4712, 3));
    DatedId copy;
    CopyDatedId(copy, record);
    EXPECT_EQ(copy, record);
    CDatedIdList list;
    AppendDatedIdEntry(list, ObjectId(4712, 4));
    g_gameTimer->currentDate = CDate(1, 1, 1601);
    CCountry::AddDatedEntry(list, ObjectId(4712, 5));
    std::vector<DatedId> entries;
    list.ForEach([&entries](DatedId entry) { entries.push_back(entry); });
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], (DatedId{kToday, ObjectId(4712, 4)}));
    EXPECT_EQ(entries[1], (DatedId{CDate(1, 1, 1601), ObjectId(4712, 5)}));
}

TEST_F(CountryMethodsTest, ACheckedArrayAnswersTheFirstElementForABadIndex) {
    int a = 1, b = 2;
    CheckedPtrArray<int> array;
    EXPECT_EQ(array.At(0), nullptr);
    array.Add(&a);
    array.Add(&b);
    EXPECT_EQ(array.At(1), &b);
    EXPECT_EQ(array.At(2), &a);
    EXPECT_EQ(array.At(-1), &a);
}

TEST_F(CountryMethodsTest, StrengthRatingsStartAtOneAndGrowWithTheForces) {
    CCountry& country = Make(2);
    for (float rating : country.m_strengthRatings)
        EXPECT_EQ(rating, 1.0f);
    country.ComputeStrengthRatings();
    for (float rating : country.m_strengthRatings)
        EXPECT_GE(rating, 1.0f);
    const float before = country.m_strengthRatings[3];
    country.m_infantryTotal = 50000;
    country.ComputeStrengthRatings();
    EXPECT_GT(country.m_strengthRatings[3], before);
}

// A unit that is no CUnit: the country only passes its pointer to the hooks.
struct FakeUnit {
    ObjectId id;
    bool fleet = false;
    bool destroyed = false;
    float strength = 0.0f;
    int32_t province = 0;
    std::array<int32_t, 3> troops{};
    std::vector<FakeUnit*> cargo;
};

class UnitDeletionTest : public CountryMethodsTest {
protected:
    void SetUp() override {
        CountryMethodsTest::SetUp();
        g_calls.clear();
        g_units.clear();
        g_countryMilitary.findUnit = [](const ObjectId& id) -> CUnit* {
            for (FakeUnit* unit : g_units)
                if (unit->id == id)
                    return AsUnit(unit);
            return nullptr;
        };
        g_countryMilitary.describeUnit = [](const CUnit& unit, UnitFacts& facts) {
            const FakeUnit& fake = Fake(unit);
            facts.id = fake.id;
            facts.name = "unit " + std::to_string(fake.id.number);
            facts.fleet = fake.fleet;
            facts.destroyed = fake.destroyed;
            facts.strength = fake.strength;
            facts.province = fake.province;
            facts.troops = fake.troops;
            for (FakeUnit* army : fake.cargo)
                facts.cargo.push_back(AsUnit(army));
        };
        g_countryMilitary.releaseUnit = [](CUnit& unit) { Record("release", unit); };
        g_countryMilitary.leaveWreck = [](const CUnit& unit) { Record("wreck", unit); };
        g_countryMilitary.retireUnit = [](CUnit& unit) { Record("retire", unit); };
        g_countryMilitary.deleteUnits = [](const std::vector<CUnit*>&) {};
        g_countryAI.armyDeleted = [](CUnit& unit) { Record("ai army", unit); };
        g_countryAI.fleetDeleted = [](CUnit& unit) { Record("ai fleet", unit); };
        g_gameNotices.post = [](const GameNotice& notice) {
            g_calls.push_back("notice " + std::to_string(notice.type) + " " +
                              std::to_string(notice.country) + " " + notice.values[0].text + " " +
                              std::to_string(notice.linkProvince));
        };
        GetProvince(10)->name = "Kent";
    }
    void TearDown() override {
        GetProvince(10)->name.clear();
        CountryMethodsTest::TearDown();
    }

    static CUnit* AsUnit(FakeUnit* unit) { return reinterpret_cast<CUnit*>(unit); }
    static const FakeUnit& Fake(const CUnit& unit) {
        return *reinterpret_cast<const FakeUnit*>(&unit);
    }
    static void Record(const char* step, const CUnit& unit) {
        g_calls.push_back(std::string(step) + " " + std::to_string(Fake(unit).id.number));
    }
    // The kill messages waiting in the scheduler, by unit number.
    static std::vector<uint32_t> Kills() {
        std::vector<uint32_t> kills;
        g_scheduler.ForEachEvent([&kills](COVEvent* event) {
            const COVEventData& payload = event->Payload();
            if (payload.GetTypeId() == EVT_KILL) {
                EXPECT_EQ(payload.Get(KillPayload::kUnit), payload.GetReceiver());
                kills.push_back(payload.Get(KillPayload::kUnit).number);
            }
        });
        return kills;
    }

    static inline std::vector<std::string> g_calls;
    static inline std::vector<FakeUnit*> g_units;
};

TEST_F(UnitDeletionTest, AFleetTakesItsCargoDownInOrder) {
    CCountry& country = Make(2);
    FakeUnit army{ObjectId(4712, 1), false, false, 3000.0f, 10, {2500, 400, 100}, {}};
    FakeUnit fleet{ObjectId(4712, 2), true, false, 0.5f, 10, {}, {&army}};
    FakeUnit other{ObjectId(4712, 3), false, false, 10.0f, 10, {10, 0, 0}, {}};
    g_units = {&army, &fleet, &other};
    country.AddUnit(AsUnit(&army));
    country.AddUnit(AsUnit(&fleet));
    country.AddUnit(AsUnit(&other));
    g_countryController[2] = 1; // played at this machine
    g_localPlayerNumber = 2;

    country.DeleteUnit(fleet.id);
    const std::vector<std::string> expected = {
        "ai fleet 2", "ai army 1", "release 1", "wreck 1",
        "retire 1",   "release 2", "wreck 2",   "notice 124 2 Kent 10",
        "retire 2",
    };
    EXPECT_EQ(g_calls, expected);
    EXPECT_FLOAT_EQ(country.m_combatLosses.infantry, 2500.0f);
    EXPECT_FLOAT_EQ(country.m_combatLosses.cavalry, 400.0f);
    EXPECT_FLOAT_EQ(country.m_combatLosses.artillery, 100.0f);
    EXPECT_EQ(country.m_units.GetCount(), 1u);
    EXPECT_TRUE(country.m_units.Contains(AsUnit(&other)));
    EXPECT_EQ(Kills(), (std::vector<uint32_t>{1, 2}));
    g_localPlayerNumber = 0;
}

TEST_F(UnitDeletionTest, NothingHappensForAnUnknownOrForeignUnitAndADestroyedOneLeavesNoMark) {
    CCountry& country = Make(2);
    CCountry& foreign = Make(3);
    FakeUnit mine{ObjectId(4712, 1), false, true, 0.0f, 10, {}, {}};
    FakeUnit theirs{ObjectId(4712, 2), false, false, 0.0f, 10, {}, {}};
    g_units = {&mine, &theirs};
    country.AddUnit(AsUnit(&mine));
    foreign.AddUnit(AsUnit(&theirs));

    country.DeleteUnit(ObjectId(4712, 9));
    country.DeleteUnit(theirs.id);
    EXPECT_TRUE(g_calls.empty());
    EXPECT_TRUE(Kills().empty());
    EXPECT_TRUE(foreign.m_units.Contains(AsUnit(&theirs)));

    // Already destroyed, not played here: no wreck, no notice.
    country.DeleteUnit(mine.id);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"ai army 1", "release 1", "retire 1"}));
    EXPECT_EQ(Kills(), std::vector<uint32_t>{1});
    foreign.RemoveUnit(AsUnit(&theirs));

    // Without the military nothing at all.
    g_countryMilitary.findUnit = nullptr;
    g_calls.clear();
    country.DeleteUnit(mine.id);
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(CountryMethodsTest, AUnitFinishMessageCarriesItsValues) {
    const auto event = MakeUnitFinishEvent(ObjectId(4712, 8), 300, 7, true);
    const COVEventData& payload = event->Payload();
    EXPECT_EQ(payload.GetTypeId(), EVT_UNIT_FINISH);
    EXPECT_EQ(payload.GetReceiver(), ObjectId(4712, 8));
    EXPECT_EQ(payload.Get(UnitFinishPayload::kFirst), 300);
    EXPECT_EQ(payload.Get(UnitFinishPayload::kSecond), 7);
    EXPECT_EQ(payload.Get(UnitFinishPayload::kFlag), 1);
}

} // namespace
