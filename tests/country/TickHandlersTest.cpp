// The country's tick, year, game-start and budget handlers, renaming,
// facilities and fortresses, and a country released from another, each
// driven through a message handed to the country on the host.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "country/CountryTick.h"
#include "country/Ledger.h"
#include "country/Loan.h"
#include "country/MonthlyUpdate.h"
#include "country/Relations.h"
#include "net/EventTypes.h"
#include "net/Senders.h"
#include "tests/country/EconomyFixture.h"
#include "world/City.h"
#include "world/Discovery.h"
#include "world/GameNotices.h"
#include "world/Globals.h"
#include "world/Province.h"
#include "world/Territory.h"

namespace {

constexpr int32_t kFirstProvince = 600;
constexpr int32_t kProvinces = 4;

std::vector<GameNotice> g_posted;

class TickHandlersTest : public test::EconomyTest {
protected:
    void SetUp() override {
        EconomyTest::SetUp();
        m_tick = g_countryTick;
        m_month = g_countryMonth;
        m_notices = g_gameNotices;
        g_countryTick = CountryTickHooks();
        g_countryMonth = CountryMonthHooks();
        g_gameNotices.post = [](const GameNotice& notice) { g_posted.push_back(notice); };
        g_posted.clear();
        ResetProvinces();
    }
    void TearDown() override {
        FreeTerritories();
        ResetProvinces();
        g_countryTick = m_tick;
        g_countryMonth = m_month;
        g_gameNotices = m_notices;
        EconomyTest::TearDown();
    }

    static void ResetProvinces() {
        for (int32_t id = kFirstProvince; id < kFirstProvince + kProvinces; ++id) {
            CProvince& province = *GetProvince(id);
            province.ResetForGame();
            province.name = "Province " + std::to_string(id);
            province.discoveredBy.fill(0);
        }
    }

    static CCity* PlaceCity(CCountry& country, int32_t id, float population) {
        CProvince& province = *GetProvince(id);
        province.SetOwner(&country);
        province.SetControllerField(&country);
        auto city = std::make_unique<CCity>();
        city->SetProvinceId(id);
        city->SetPopulation(population);
        CCity* placed = city.get();
        province.SetCity(std::move(city));
        country.m_cities.AddTail(placed);
        return placed;
    }

    static int Send(CCountry& country, COVEvent& event) { return country.HandleMessage(event); }

    static COVDataEvent Data(uint32_t type, const CCountry& country) {
        return COVDataEvent(type, country.GetId());
    }

    static std::vector<int32_t> PostedKinds() {
        std::vector<int32_t> kinds;
        for (const GameNotice& notice : g_posted)
            kinds.push_back(notice.type);
        return kinds;
    }

    CountryTickHooks m_tick;
    CountryMonthHooks m_month;
    GameNoticeHooks m_notices;
};

TEST_F(TickHandlersTest, TickWithoutLoansLeftBankruptsOnEveryMachine) {
    for (bool client : {false, true}) {
        SCOPED_TRACE(client ? "client" : "host");
        if (client)
            BecomeClient();
        CCountry& country = Make(client ? 2 : 1);
        for (int i = 0; i < 5; ++i)
            country.m_loans.push_back(std::make_unique<CLoan>(country.GetId()));
        for (auto& loan : country.m_loans)
            loan->lender = g_bankId;
        auto fromCountry = std::make_unique<CLoan>(country.GetId());
        fromCountry->lender = MakeCountryId(7);
        country.m_loans.push_back(std::move(fromCountry));
        const int32_t base = kFirstProvince + (client ? 2 : 0);
        CCity* town = PlaceCity(country, base, 750.0f);
        CCity* colony = PlaceCity(country, base + 1, 500.0f);
        country.m_treasury = -20.0f;
        country.m_extendedLoans = 2;
        country.m_inflation = 0.3f;
        country.SetStability(1);
        country.m_technology.land.value = 40;
        country.m_technology.trade.value = 12;

        COVTimerEvent tick(EVT_TIMER_TICK_LOOP, country.GetId(), kToday);
        Send(country, tick);

        EXPECT_FLOAT_EQ(town->GetPopulation(), 700.0f); // not 675
        EXPECT_FLOAT_EQ(colony->GetPopulation(), 500.0f);
        EXPECT_EQ(country.GetStability(), -2.0);
        EXPECT_EQ(country.m_technology.land.value, 0);
        EXPECT_EQ(country.m_technology.trade.value, 0);
        EXPECT_FLOAT_EQ(country.m_inflation, 0.15f);
        ASSERT_EQ(country.m_loans.size(), 1u); // only the country's loan is kept
        EXPECT_EQ(country.m_loans[0]->lender, MakeCountryId(7));
        EXPECT_FLOAT_EQ(country.m_treasury, 0.0f);
        EXPECT_EQ(country.m_extendedLoans, 0);
        EXPECT_EQ(country.m_lastBankruptcy, kToday);
        EXPECT_EQ(PostedKinds(), std::vector<int32_t>{37});
        g_posted.clear();
    }
}

TEST_F(TickHandlersTest, TickWithALoanLeftOrOutsideOrdinaryCountriesDoesNotBankrupt) {
    g_countryController[1] = 1; // the local human
    CCountry& country = Make(1);
    for (int i = 0; i < 4; ++i) {
        country.m_loans.push_back(std::make_unique<CLoan>(country.GetId()));
        country.m_loans.back()->lender = g_bankId;
    }
    country.m_treasury = -20.0f;
    country.SetStability(1);
    COVTimerEvent tick(EVT_TIMER_TICK_LOOP, country.GetId(), kToday);
    Send(country, tick);
    EXPECT_FLOAT_EQ(country.m_treasury, -20.0f);
    EXPECT_EQ(country.GetStability(), 1.0);
    EXPECT_TRUE(g_posted.empty());

    // The fifth loan: the local human is told of the bankruptcy.
    country.m_loans.push_back(std::make_unique<CLoan>(country.GetId()));
    country.m_loans.back()->lender = g_bankId;
    Send(country, tick);
    EXPECT_FLOAT_EQ(country.m_treasury, 0.0f);
    EXPECT_EQ(PostedKinds(), std::vector<int32_t>{11});

    // A treasury that is no number is not below 0.
    CCountry& broken = Make(3);
    broken.m_treasury = std::numeric_limits<float>::quiet_NaN();
    broken.SetStability(1);
    COVTimerEvent brokenTick(EVT_TIMER_TICK_LOOP, broken.GetId(), kToday);
    Send(broken, brokenTick);
    EXPECT_EQ(broken.GetStability(), 1.0);

    CCountry& rebels = Make(98);
    rebels.m_treasury = -5.0f;
    rebels.SetStability(1);
    COVTimerEvent rebelsTick(EVT_TIMER_TICK_LOOP, rebels.GetId(), kToday);
    Send(rebels, rebelsTick);
    EXPECT_FLOAT_EQ(rebels.m_treasury, -5.0f);
    EXPECT_EQ(rebels.GetStability(), 1.0);
}

TEST_F(TickHandlersTest, TickDatesPeaceOrWar) {
    CCountry& country = Make(1);
    Make(2);
    COVTimerEvent tick(EVT_TIMER_TICK_LOOP, country.GetId(), kToday);
    Send(country, tick);
    EXPECT_EQ(country.m_lastPeace, kToday);
    EXPECT_EQ(country.m_warDate, CDate());

    country.SetAtWarWith(2);
    g_gameTimer->currentDate = CDate(1, 6, 1601);
    Send(country, tick);
    EXPECT_EQ(country.m_warDate, CDate(1, 6, 1601));
    EXPECT_EQ(country.m_lastPeace, kToday);
}

TEST_F(TickHandlersTest, YearRaisesInflationByTheGoldShareAndKeepsItNotNegative) {
    struct Case {
        float tax, gold, inflation, want;
    };
    const Case cases[] = {
        {100.0f, 100.0f, 0.0f, 0.005f}, // share 0.5
        {300.0f, 100.0f, 0.1f, 0.1f},   // share 0.25 is not above 0.33
        {0.0f, 0.0f, -0.2f, 0.0f},      // no income: nothing; negative becomes 0
    };
    CCountry& country = Make(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tax);
        country.m_ledger = CLedger();
        country.m_ledger.thisYearIncome[INCOME_TAX] = c.tax;
        country.m_ledger.thisYearIncome[INCOME_GOLD] = c.gold;
        country.m_inflation = c.inflation;
        COVTimerEvent year(EVT_TIMER_YEAR, country.GetId(), kToday);
        EXPECT_EQ(Send(country, year), EVENT_NOT_HANDLED);
        EXPECT_NEAR(country.m_inflation, c.want, 1e-6f);
    }
}

TEST_F(TickHandlersTest, GameStartFillsTheMonarchAndRequestsMissingMissionsOnTheHost) {
    static std::vector<std::string> calls;
    calls.clear();
    g_countryTick.createRandomMonarch = [](CCountry& c) {
        calls.push_back("monarch " + std::to_string(c.GetNumber()));
    };
    g_countryMonth.hasMission = [](const CCountry&, int32_t kind) { return kind != 4; };
    g_countryMonth.requestNewMission = [](CCountry&, int32_t kind) {
        calls.push_back("mission " + std::to_string(kind));
    };
    g_config->SetWord(ConfigOffset::kMissions, 1);
    CCountry& country = Make(1);
    country.m_major = 1;
    COVSimpleEvent start(EVT_GAME_STARTED, country.GetId());
    EXPECT_EQ(Send(country, start), EVENT_NOT_HANDLED);
    EXPECT_EQ(calls, (std::vector<std::string>{"monarch 1", "mission 4"}));

    // A client requests nothing.
    calls.clear();
    BecomeClient();
    Send(country, start);
    EXPECT_EQ(calls, (std::vector<std::string>{"monarch 1"}));
}

TEST_F(TickHandlersTest, BudgetSharesAreHeldWithinZeroAndOne) {
    CCountry& country = Make(1);
    COVDataEvent change = Data(EVT_INVESTMENT_CHANGE, country);
    const float shares[6] = {1.7f, -0.5f, 0.25f, 0.5f, 0.0f, 1.0f};
    for (size_t i = 0; i < 6; ++i)
        change.Payload().Set(InvestmentSharesPayload::kShares[i], shares[i]);
    EXPECT_EQ(Send(country, change), EVENT_CONSUMED);
    EXPECT_FLOAT_EQ(country.m_navalShare, 1.0f);
    EXPECT_FLOAT_EQ(country.m_landShare, 0.0f);
    EXPECT_FLOAT_EQ(country.m_teShare, 0.25f); // trade
    EXPECT_FLOAT_EQ(country.m_peShare, 0.5f);  // infrastructure
    EXPECT_FLOAT_EQ(country.m_stabilityShare, 0.0f);
    EXPECT_FLOAT_EQ(country.m_treasuryShare, 1.0f);
}

TEST_F(TickHandlersTest, BoostBooksTheAmountAndInvestsHalfInTheTrack) {
    for (CTechTable* table :
         {&g_landTechTable, &g_navalTechTable, &g_infraTechTable, &g_tradeTechTable})
        table->SetRows(RowsOfYears({1500, 1600, 1700}));
    const std::pair<uint32_t, uint32_t> cases[] = {{0, EXPENSE_PE},
                                                   {1, EXPENSE_PE},
                                                   {2, EXPENSE_STABILITY},
                                                   {3, EXPENSE_RESEARCH},
                                                   {4, EXPENSE_RESEARCH}};
    for (const auto& [track, expense] : cases) {
        SCOPED_TRACE(track);
        CCountry& country = Make(10 + track);
        country.m_treasury = 500.0f;
        country.SetStability(0);
        COVDataEvent boost = Data(EVT_EXEC_BOOST_INVESTMENT, country);
        boost.Payload().Set(BoostInvestmentPayload::kAmount, 101.0f);
        boost.Payload().Set(BoostInvestmentPayload::kKind, track);
        EXPECT_EQ(Send(country, boost), EVENT_CONSUMED);
        EXPECT_FLOAT_EQ(country.m_ledger.thisYearExpense[expense], 101.0f);
        EXPECT_FLOAT_EQ(country.m_treasury, 399.0f);
        const Technology* tracks[] = {&country.m_technology.trade, &country.m_technology.infra,
                                      &country.m_technology.stability, &country.m_technology.land,
                                      &country.m_technology.naval};
        EXPECT_EQ(tracks[track]->value, 50);
        EXPECT_EQ(tracks[track]->date, CDate(10, 4, 1601));
    }
    // Another track value is ignored.
    CCountry& country = Make(20);
    country.m_treasury = 500.0f;
    COVDataEvent boost = Data(EVT_EXEC_BOOST_INVESTMENT, country);
    boost.Payload().Set(BoostInvestmentPayload::kAmount, 100.0f);
    boost.Payload().Set(BoostInvestmentPayload::kKind, 5u);
    Send(country, boost);
    EXPECT_FLOAT_EQ(country.m_treasury, 500.0f);
    // Amounts that are no number or negative are dropped.
    boost.Payload().Set(BoostInvestmentPayload::kKind, 3u);
    for (float amount : {std::numeric_limits<float>::quiet_NaN(), -10.0f}) {
        boost.Payload().Set(BoostInvestmentPayload::kAmount, amount);
        Send(country, boost);
        EXPECT_FLOAT_EQ(country.m_treasury, 500.0f);
        EXPECT_EQ(country.m_technology.land.value, 0);
    }
}

TEST_F(TickHandlersTest, MoneyCheckShowsABoxOnlyOnAMismatch) {
    static std::vector<std::string> boxes;
    boxes.clear();
    g_countryTick.showMessageBox = [](const std::string& text) { boxes.push_back(text); };
    CCountry& country = Make(1);
    country.m_treasury = 120.7f;
    COVTimerDateEvent check(EVT_CHECK_ECO_DATA, country.GetId(), 120);
    EXPECT_EQ(Send(country, check), EVENT_CONSUMED);
    EXPECT_TRUE(boxes.empty());
    COVTimerDateEvent other(EVT_CHECK_ECO_DATA, country.GetId(), 121);
    Send(country, other);
    EXPECT_EQ(boxes, std::vector<std::string>{std::string(country.GetName()) +
                                              " has a potential money mismatch\n"});
}

TEST_F(TickHandlersTest, RenameNamesTheSettlementAndIgnoresAProvinceWithout) {
    CCountry& country = Make(1);
    CCity* city = PlaceCity(country, kFirstProvince, 2000.0f);
    city->SetName("Old");
    auto rename = [&country](uint32_t province, const std::string& name) {
        COVDataEvent event = Data(EVT_RENAME_OBJECT, country);
        event.Payload().Set(RenameObjectPayload::kObject, ObjectId(kProvinceIdType, province));
        event.Payload().Set(RenameObjectPayload::kName, name);
        return Send(country, event);
    };
    EXPECT_EQ(rename(kFirstProvince, "New Haven"), EVENT_CONSUMED);
    EXPECT_STREQ(city->GetName(), "New Haven");

    // A name longer than the field is cut at the field.
    rename(kFirstProvince, std::string(300, 'x'));
    EXPECT_EQ(std::string(city->GetName()), std::string(RenameObjectPayload::kName.size - 1, 'x'));

    // Provinces without a settlement and ids outside the table change
    // nothing (and do not crash).
    for (uint32_t province : {uint32_t(kFirstProvince + 1), 0u, 1473u, 70000u})
        EXPECT_EQ(rename(province, "Nowhere"), EVENT_CONSUMED);
    EXPECT_EQ(GetProvince(kFirstProvince + 1)->GetSettlement(), nullptr);
}

TEST_F(TickHandlersTest, FacilityAndFortressHandlersWorkOnTheProvincesCity) {
    CCountry& country = Make(1);
    CCity* city = PlaceCity(country, kFirstProvince, 2000.0f);
    city->StartManufactory(2);
    COVProvinceEvent facility(EVT_BUILD_FACILITY, country.GetId(), kFirstProvince);
    EXPECT_EQ(Send(country, facility), EVENT_CONSUMED);
    EXPECT_EQ(city->manufactory, 2);

    city->GetFortress().level = 4.0f;
    country.m_treasury = 1000.0f;
    COVFortressEvent start(EVT_EXEC_START_EXPANDING_FORTRESS, country.GetId(), kFirstProvince, 0, 0,
                           1);
    start.SetDueDate(CDate(1, 2, 1600));
    const float cost = static_cast<float>(country.GetFortressCost(kFirstProvince));
    EXPECT_EQ(Send(country, start), EVENT_CONSUMED);
    const CDate done(1, 2, 1601);
    EXPECT_EQ(city->GetFortress().increase, 1);
    EXPECT_EQ(city->GetFortress().date, done);
    EXPECT_FLOAT_EQ(country.m_ledger.thisYearExpense[EXPENSE_FORT], cost);
    const CConstructionList& orders = GetProvince(kFirstProvince)->GetConstructions();
    ASSERT_EQ(orders.GetCount(), 1u);
    EXPECT_EQ(orders.GetOrder(0).GetKind(), CONSTRUCTION_FORTRESS);
    std::vector<COVEvent*> expand;
    for (COVEvent* event : Queued())
        if (event->GetType() == EVT_EXPAND_FORTRESS)
            expand.push_back(event);
    ASSERT_EQ(expand.size(), 1u);
    EXPECT_EQ(expand[0]->GetDueDate(), done);

    COVFortressEvent raise(EVT_EXPAND_FORTRESS, country.GetId(), kFirstProvince, 0, 0, 1);
    for (float want : {5.0f, 6.0f, 6.0f}) {
        Send(country, raise);
        EXPECT_FLOAT_EQ(city->GetFortress().level, want);
        EXPECT_EQ(city->GetFortress().increase, 0);
    }
    // No city: nothing.
    COVProvinceEvent none(EVT_BUILD_FACILITY, country.GetId(), kFirstProvince + 1);
    EXPECT_EQ(Send(country, none), EVENT_CONSUMED);
}

TEST_F(TickHandlersTest, ReleasedCountryTakesProvincesDiscoveriesAndLevels) {
    for (CTechTable* table :
         {&g_landTechTable, &g_navalTechTable, &g_infraTechTable, &g_tradeTechTable})
        table->SetRows(RowsOfYears({1500, 1600, 1700, 1800}));
    CCountry& releaser = Make(1);
    Make(2);
    for (int32_t id = kFirstProvince; id < kFirstProvince + 3; ++id)
        PlaceCity(releaser, id, 2000.0f);
    DiscoverProvince(1, kFirstProvince);
    DiscoverProvince(1, kFirstProvince + 3);
    releaser.m_technology.land.level = 2;
    releaser.m_technology.naval.level = 1;
    releaser.m_technology.infra.level = 3;
    releaser.m_technology.trade.level = 2;
    releaser.SetStability(-1);

    COVCreateCountryEvent create(releaser.GetId(),
                                 {uint32_t(kFirstProvince), uint32_t(kFirstProvince + 1)});
    create.Payload().Set(COVCreateCountryEvent::kCountry, 30u);
    create.Payload().Set(COVCreateCountryEvent::kReleaser, 1u);
    EXPECT_EQ(Send(releaser, create), EVENT_CONSUMED);

    CCountry* released = CountryOfNumber(30);
    ASSERT_NE(released, nullptr);
    EXPECT_EQ(GetProvince(kFirstProvince)->GetOwnerNumber(), 30);
    EXPECT_EQ(GetProvince(kFirstProvince + 1)->GetOwnerNumber(), 30);
    EXPECT_EQ(GetProvince(kFirstProvince + 2)->GetOwnerNumber(), 1);
    EXPECT_TRUE(IsProvinceDiscovered(30, kFirstProvince + 3));
    EXPECT_EQ(released->m_technology.land.level, 2);
    EXPECT_EQ(released->m_technology.naval.level, 1);
    EXPECT_EQ(released->m_technology.infra.level, 3);
    EXPECT_EQ(released->m_technology.trade.level, 2);
    EXPECT_EQ(released->GetStability(), 3.0); // a new country's, not the releaser's
    const CRelation* relation = CountryOfNumber(2)->m_diplomacy.GetRelation(30);
    EXPECT_EQ(relation->country, 30u);
    EXPECT_EQ(relation->owner, 2u);
    // The new country's notice (98); the releaser, knowing the provinces,
    // may also hear of the new owner's capital (145).
    const std::vector<int32_t> kinds = PostedKinds();
    EXPECT_NE(std::find(kinds.begin(), kinds.end(), 98), kinds.end());
    for (int32_t kind : kinds)
        EXPECT_TRUE(kind == 98 || kind == 145) << kind;
}

TEST_F(TickHandlersTest, CreatingACountryThatExistsOrWithBadProvincesIsRefused) {
    CCountry& releaser = Make(1);
    PlaceCity(releaser, kFirstProvince, 2000.0f);
    CCountry& existing = Make(30);
    existing.m_treasury = 77.0f;

    COVCreateCountryEvent again(releaser.GetId(), {uint32_t(kFirstProvince)});
    again.Payload().Set(COVCreateCountryEvent::kCountry, 30u);
    EXPECT_EQ(Send(releaser, again), EVENT_CONSUMED);
    EXPECT_EQ(CountryOfNumber(30), &existing);
    EXPECT_FLOAT_EQ(existing.m_treasury, 77.0f);
    EXPECT_EQ(GetProvince(kFirstProvince)->GetOwnerNumber(), 1);
    EXPECT_TRUE(g_posted.empty());

    // Bad numbers: no country is made.
    struct Case {
        uint32_t country;
        std::vector<uint32_t> provinces;
    };
    // More provinces than a message may list (98) are refused here too, as
    // every other machine refuses them when the message arrives.
    std::vector<uint32_t> tooMany(99, 600);
    tooMany[0] = uint32_t(kFirstProvince);
    const Case cases[] = {
        {31, {0}}, {31, {uint32_t(kFirstProvince), 1473}}, {99, {600}}, {31, tooMany}};
    for (const Case& c : cases) {
        COVCreateCountryEvent bad(releaser.GetId(), c.provinces);
        bad.Payload().Set(COVCreateCountryEvent::kCountry, c.country);
        Send(releaser, bad);
        EXPECT_EQ(CountryOfNumber(c.country), nullptr);
    }
    EXPECT_EQ(GetProvince(kFirstProvince)->GetOwnerNumber(), 1);
}

} // namespace
