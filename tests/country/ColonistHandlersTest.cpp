// Colonists, traders and merchants through the country's messages on the
// host: the stock, the journey, the colony or trading post founded or the
// colonist bounced, and merchants placed in a centre of trade or driving
// a rival's merchant out.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "country/Country.h"
#include "data/ScenarioHeader.h"
#include "engine/Random.h"
#include "net/EventTypes.h"
#include "net/Scheduler.h"
#include "net/Senders.h"
#include "tests/country/EconomyFixture.h"
#include "world/CentreOfTrade.h"
#include "world/City.h"
#include "world/Globals.h"
#include "world/Province.h"
#include "world/Territory.h"
#include "world/TradingPost.h"

namespace {

class ColonistHandlersTest : public test::EconomyTest {
protected:
    void SetUp() override {
        EconomyTest::SetUp();
        g_globals.establishments = Establishments{};
        g_scenarioInfo = std::make_unique<ScenarioInfo>();
    }
    void TearDown() override {
        FreeTerritories();
        for (int32_t id : m_used) {
            CProvince& province = *GetProvince(id);
            province.centreOfTrade = nullptr;
            province.ResetForGame();
            province.neighbours.clear();
        }
        m_centre.reset();
        g_scenarioInfo.reset();
        g_globals.establishments = Establishments{};
        EconomyTest::TearDown();
    }

    CProvince& Province(int32_t id) {
        CProvince& province = *GetProvince(id);
        m_used.push_back(id);
        province.ResetForGame();
        return province;
    }

    CCentreOfTrade& Centre(int32_t id) {
        m_centre = std::make_unique<CCentreOfTrade>();
        m_centre->SetProvinceId(id);
        Province(id).centreOfTrade = m_centre.get();
        return *m_centre;
    }
    static void Share(CCentreOfTrade& centre, uint32_t country, float level) {
        auto entry = std::make_unique<CCotMerchant>();
        entry->country = static_cast<int32_t>(country);
        entry->level = level;
        centre.SetMerchant(std::move(entry));
        centre.RecountTotal();
    }

    static int Journey(CCountry& country, uint32_t type, uint32_t province, uint32_t success = 1) {
        COVColonistEvent event(type, country.GetId(), country.GetNumber(), province, success, 0);
        CDate arrival = GetGameDate();
        arrival.AddMonths(3);
        event.Payload().Set(COVColonistEvent::kArrival, arrival);
        return country.HandleMessage(event);
    }
    static int Merchant(CCountry& country, uint32_t type, uint32_t province, int32_t count,
                        uint8_t success) {
        COVMerchantEvent event(type, country.GetId());
        event.Payload().Set(COVMerchantEvent::kProvince, ObjectId(kProvinceIdType, province));
        event.Payload().Set(COVMerchantEvent::kValue, static_cast<uint32_t>(count));
        event.Payload().Set(COVMerchantEvent::kSuccess, success);
        event.Payload().Set(COVMerchantEvent::kArrival, GetGameDate());
        return country.HandleMessage(event);
    }
    static std::vector<const COVEvent*> Queued(uint32_t type) {
        std::vector<const COVEvent*> events;
        g_scheduler.ForEachEvent([&](COVEvent* event) {
            if (event->GetType() == type)
                events.push_back(event);
        });
        return events;
    }

    std::vector<int32_t> m_used;
    std::unique_ptr<CCentreOfTrade> m_centre;
};

TEST_F(ColonistHandlersTest, TheStockStaysWithinItsCaps) {
    CCountry& country = Make(40); // no trading nation: one merchant at most
    struct Case {
        uint32_t type;
        float CCountry::*stock;
        float before;
        float after;
    };
    const Case cases[] = {
        {EVT_USE_COLONIST, &CCountry::m_colonists, 3.0f, 2.0f},
        {EVT_USE_COLONIST, &CCountry::m_colonists, 0.5f, 0.0f},
        {EVT_USE_COLONIST, &CCountry::m_colonists, 9.0f, 6.0f},
        {EVT_USE_DIPLOMAT, &CCountry::m_diplomats, 0.0f, 0.0f},
        {EVT_USE_MERCHANT, &CCountry::m_merchants, 4.0f, 1.0f},
        {EVT_GET_COLONIST, &CCountry::m_colonists, 5.5f, 6.0f},
        {EVT_GET_DIPLOMAT, &CCountry::m_diplomats, 1.0f, 2.0f},
        {EVT_GET_MERCHANT, &CCountry::m_merchants, 0.0f, 1.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        country.*c.stock = c.before;
        COVSimpleEvent event(c.type, country.GetId());
        EXPECT_EQ(country.HandleMessage(event), EVENT_CONSUMED);
        EXPECT_FLOAT_EQ(country.*c.stock, c.after);
    }
}

TEST_F(ColonistHandlersTest, ASentColonistUsesOneAndArrivesOrFailsOnItsDate) {
    CCountry& country = Make(1);
    Province(200);
    Province(201);
    country.m_colonists = 3.0f;
    EXPECT_EQ(Journey(country, EVT_SEND_COLONIST, 200, 1), EVENT_CONSUMED);
    EXPECT_EQ(Journey(country, EVT_SEND_TRADER, 201, 0), EVENT_CONSUMED);
    EXPECT_FLOAT_EQ(country.m_colonists, 1.0f);
    CDate arrival = GetGameDate();
    arrival.AddMonths(3);
    const auto arrived = Queued(EVT_COLONIST_ARRIVED);
    ASSERT_EQ(arrived.size(), 1u);
    EXPECT_EQ(arrived[0]->Payload().Get(COVColonistEvent::kProvince), 200u);
    EXPECT_EQ(arrived[0]->GetDueDate().GetDayCount(), arrival.GetDayCount());
    ASSERT_EQ(Queued(EVT_ESTABLISH_TRADEPOST_FAILED).size(), 1u);
    EXPECT_TRUE(Queued(EVT_TRADER_ARRIVED).empty());
}

TEST_F(ColonistHandlersTest, AColonistFoundsAColonyOrBouncesFromAForeignProvince) {
    CCountry& country = Make(1);
    CCountry& other = Make(2);
    CProvince& free = Province(210);
    CProvince& foreign = Province(211);
    foreign.SetOwner(&other);
    country.m_colonists = 2.0f;

    EXPECT_EQ(Journey(country, EVT_COLONIST_ARRIVED, 210), EVENT_CONSUMED);
    EXPECT_EQ(free.GetOwner(), &country);
    ASSERT_NE(free.GetCity(), nullptr);
    EXPECT_FLOAT_EQ(free.GetCity()->GetPopulation(), 100.0f);
    EXPECT_EQ(country.m_colonialAttempts, 9999);

    EXPECT_EQ(Journey(country, EVT_COLONIST_ARRIVED, 211), EVENT_CONSUMED);
    EXPECT_EQ(foreign.GetOwner(), &other);
    EXPECT_EQ(foreign.GetCity(), nullptr);
    EXPECT_FLOAT_EQ(country.m_colonists, 3.0f); // it came home

    // A second colonist grows the colony.
    EXPECT_EQ(Journey(country, EVT_COLONIST_ARRIVED, 210), EVENT_CONSUMED);
    EXPECT_FLOAT_EQ(free.GetCity()->GetPopulation(), 200.0f);
}

// Nobody settles or owns a sea zone or lake: every colonist and trader
// message naming one is dropped before it costs, founds or takes anything.
TEST_F(ColonistHandlersTest, NoColonistOrTraderSettlesASeaZone) {
    CCountry& country = Make(1);
    CProvince& sea = Province(230);
    sea.terrain = 5;
    country.m_colonists = 2.0f;
    country.m_treasury = 500.0f;
    for (uint32_t type : {EVT_SEND_COLONIST, EVT_SEND_TRADER, EVT_COLONIST_ARRIVED,
                          EVT_TRADER_ARRIVED, EVT_COLONISE, EVT_ESTABLISH_TRADEPOST}) {
        SCOPED_TRACE(type);
        EXPECT_EQ(Journey(country, type, 230), EVENT_CONSUMED);
        EXPECT_EQ(sea.GetOwner(), nullptr);
        EXPECT_EQ(sea.GetCity(), nullptr);
        EXPECT_EQ(sea.GetTradingPost(), nullptr);
        EXPECT_EQ(sea.territory, nullptr);
        EXPECT_FLOAT_EQ(country.m_colonists, 2.0f);
        EXPECT_FLOAT_EQ(country.m_treasury, 500.0f);
    }
    EXPECT_TRUE(Queued(EVT_COLONISE).empty());
    EXPECT_TRUE(Queued(EVT_ESTABLISH_TRADEPOST).empty());
    sea.terrain = 0;
}

TEST_F(ColonistHandlersTest, TheDoublingFlagFoundsAndGrowsInOneMessage) {
    CCountry& country = Make(1);
    CProvince& province = Province(212);
    country.m_alternativeBanner = 1;
    Journey(country, EVT_COLONISE, 212);
    ASSERT_NE(province.GetCity(), nullptr);
    EXPECT_FLOAT_EQ(province.GetCity()->GetPopulation(), 200.0f);
}

TEST_F(ColonistHandlersTest, AFailedColonistCountsAnAttempt) {
    CCountry& country = Make(1);
    Province(213);
    country.m_colonialAttempts = 2;
    Journey(country, EVT_COLONISATION_FAILED, 213, 0);
    EXPECT_EQ(country.m_colonialAttempts, 3);
    EXPECT_EQ(GetProvince(213)->GetOwner(), nullptr);
}

TEST_F(ColonistHandlersTest, ATraderFoundsAndGrowsAPostButBouncesFromACity) {
    CCountry& country = Make(1);
    CProvince& province = Province(220);
    country.m_colonists = 0.0f;
    Journey(country, EVT_TRADER_ARRIVED, 220);
    ASSERT_NE(province.GetTradingPost(), nullptr);
    EXPECT_FLOAT_EQ(province.GetTradingPost()->level, 1.0f);
    for (int i = 0; i < 7; ++i)
        Journey(country, EVT_TRADER_ARRIVED, 220);
    EXPECT_FLOAT_EQ(province.GetTradingPost()->level, 6.0f);

    Province(221);
    Journey(country, EVT_COLONISE, 221);
    Journey(country, EVT_TRADER_ARRIVED, 221);
    EXPECT_EQ(GetProvince(221)->GetTradingPost(), nullptr);
    EXPECT_FLOAT_EQ(country.m_colonists, 1.0f);
}

TEST_F(ColonistHandlersTest, NeighboursOwnedByOthersTakeOffence) {
    CCountry& country = Make(1);
    CCountry& other = Make(2);
    CProvince& province = Province(230);
    Province(231).SetOwner(&other);
    province.neighbours.push_back({231, 0, 0});
    const float before = country.m_diplomacy.GetRelation(2)->GetValue();
    Journey(country, EVT_COLONISE, 230);
    EXPECT_FLOAT_EQ(country.m_diplomacy.GetRelation(2)->GetValue(), before - 1.0f);
    EXPECT_FLOAT_EQ(other.m_diplomacy.GetRelation(1)->GetValue(), before - 1.0f);
}

TEST_F(ColonistHandlersTest, ASentMerchantTravelsAndIsAskedForOnItsDate) {
    CCountry& country = Make(1);
    CCentreOfTrade& centre = Centre(300);
    country.m_merchants = 2.0f;
    EXPECT_EQ(Merchant(country, EVT_SEND_MERCHANT, 300, 1, 1), EVENT_CONSUMED);
    EXPECT_FLOAT_EQ(country.m_merchants, 1.0f);
    const CCotMerchant* entry = centre.GetMerchant(1);
    ASSERT_NE(entry, nullptr);
    EXPECT_FLOAT_EQ(entry->level, 0.0f);
    ASSERT_EQ(entry->extra.size(), 1u);
    EXPECT_EQ(entry->extra[0].location, 300);
    ASSERT_EQ(Queued(EVT_REQ_MERCHANT_SUCCESS).size(), 1u);
}

TEST_F(ColonistHandlersTest, AcceptedMerchantsRaiseTheShareOrComeHomeAtSix) {
    CCountry& country = Make(1);
    CCentreOfTrade& centre = Centre(301);
    Merchant(country, EVT_EXEC_MERCHANT_SUCCESS, 301, 1, 1);
    ASSERT_NE(centre.GetMerchant(1), nullptr);
    EXPECT_FLOAT_EQ(centre.GetMerchant(1)->level, 1.0f);
    EXPECT_EQ(centre.total, 1);
    Merchant(country, EVT_EXEC_MERCHANT_SUCCESS, 301, 2, 1);
    EXPECT_FLOAT_EQ(centre.GetMerchant(1)->level, 3.0f);

    centre.GetMerchant(1)->level = 6.0f;
    country.m_merchants = 0.0f;
    Merchant(country, EVT_EXEC_MERCHANT_SUCCESS, 301, 1, 1);
    EXPECT_FLOAT_EQ(centre.GetMerchant(1)->level, 6.0f);
    EXPECT_FLOAT_EQ(country.m_merchants, 1.0f);
}

TEST_F(ColonistHandlersTest, ARefusedMerchantWithoutRivalIsRepostedAsOneWithoutFlag) {
    CCountry& country = Make(1);
    CCentreOfTrade& centre = Centre(302);
    Merchant(country, EVT_EXEC_MERCHANT_SUCCESS, 302, 2, 0);
    EXPECT_TRUE(Queued(EVT_EXEC_MERCHANT_SUCCESS).empty()); // no flag: nothing again
    EXPECT_EQ(centre.GetMerchant(1), nullptr);

    // The country's own six fill the centre: each refused merchant comes
    // back once, as one, flag cleared.
    Share(centre, 1, 6.0f);
    centre.total = 7;
    Merchant(country, EVT_EXEC_MERCHANT_SUCCESS, 302, 2, 1);
    const auto again = Queued(EVT_EXEC_MERCHANT_SUCCESS);
    ASSERT_EQ(again.size(), 2u);
    for (const COVEvent* event : again) {
        EXPECT_EQ(static_cast<int32_t>(event->Payload().Get(COVMerchantEvent::kValue)), -1);
        EXPECT_EQ(event->Payload().Get(COVMerchantEvent::kSuccess), 0);
        EXPECT_EQ(event->GetReceiver(), country.GetId());
    }
    EXPECT_FLOAT_EQ(centre.GetMerchant(1)->level, 6.0f);
}

TEST_F(ColonistHandlersTest, ARefusedMerchantDrivesOutTheRivalAtSix) {
    CCountry& country = Make(1);
    CCountry& rival = Make(3);
    CCentreOfTrade& centre = Centre(303);
    Share(centre, 3, 6.0f);
    Share(centre, 1, 1.0f);
    centre.total = 20;
    g_scenarioInfo->tutorial = true; // the roll always wins
    const float before = country.m_diplomacy.GetRelation(3)->GetValue();
    Merchant(country, EVT_EXEC_MERCHANT_SUCCESS, 303, 1, 1);
    ASSERT_NE(centre.GetMerchant(3), nullptr);
    EXPECT_FLOAT_EQ(centre.GetMerchant(3)->level, 5.0f);
    EXPECT_FLOAT_EQ(centre.GetMerchant(1)->level, 1.0f);
    EXPECT_EQ(centre.total, 6);
    EXPECT_FLOAT_EQ(rival.m_diplomacy.GetRelation(1)->GetValue(), before - 5.0f);
}

TEST_F(ColonistHandlersTest, AFailedMerchantPicksTheSameRivalForTheSameSeed) {
    auto run = [this](unsigned seed) {
        Make(1);
        for (uint32_t n : {3u, 4u, 5u})
            Make(n);
        CCentreOfTrade& centre = Centre(304);
        Share(centre, 3, 2.0f);
        Share(centre, 4, 3.0f);
        Share(centre, 5, 1.0f);
        g_scenarioInfo->tutorial = true;
        GameSrand(seed);
        Merchant(*CountryOfNumber(1), EVT_EXEC_MERCHANT_SUCCESS, 304, 1, 0);
        std::vector<float> levels;
        for (uint32_t n : {3u, 4u, 5u})
            levels.push_back(centre.GetMerchant(n) ? centre.GetMerchant(n)->level : 0.0f);
        DeleteAllCountries();
        return levels;
    };
    const std::vector<float> first = run(11);
    EXPECT_EQ(run(11), first);
    float lost = 0.0f;
    for (size_t i = 0; i < first.size(); ++i)
        lost += std::vector<float>{2.0f, 3.0f, 1.0f}[i] - first[i];
    EXPECT_FLOAT_EQ(lost, 1.0f); // exactly one rival lost one merchant
}

TEST_F(ColonistHandlersTest, LosingAMerchantOutsideACentreOrWithBadNumbersDoesNothing) {
    CCountry& country = Make(1);
    Province(310);
    COVDataEvent lose(EVT_LOSE_TRADELEVEL, country.GetId());
    lose.Payload().Set(LoseTradeLevelPayload::kProvince, 310u);
    lose.Payload().Set(LoseTradeLevelPayload::kOther, 2u);
    EXPECT_EQ(country.HandleMessage(lose), EVENT_CONSUMED);

    CCentreOfTrade& centre = Centre(311);
    Share(centre, 1, 2.0f);
    lose.Payload().Set(LoseTradeLevelPayload::kProvince, 311u);
    lose.Payload().Set(LoseTradeLevelPayload::kOther, 500u);
    EXPECT_EQ(country.HandleMessage(lose), EVENT_CONSUMED);
    EXPECT_FLOAT_EQ(centre.GetMerchant(1)->level, 2.0f);

    EXPECT_EQ(Journey(country, EVT_COLONISE, 0), EVENT_CONSUMED);
    EXPECT_EQ(Journey(country, EVT_COLONISE, 99999), EVENT_CONSUMED);
    EXPECT_EQ(Merchant(country, EVT_EXEC_MERCHANT_SUCCESS, 311, 5000, 1), EVENT_CONSUMED);
    EXPECT_FLOAT_EQ(centre.GetMerchant(1)->level, 2.0f);
}

TEST_F(ColonistHandlersTest, AManufactoryStartsOnlyFromAWholeRequest) {
    CCountry& country = Make(1);
    Province(250);
    Journey(country, EVT_COLONISE, 250);
    country.m_treasury = 500.0f;
    COVFacilityEvent whole(EVT_EXEC_BUILD_FACILITY, country.GetId(), 250, 3, 120, 1);
    CDate end = GetGameDate();
    end.AddYears(2);
    whole.Payload().Set(COVFacilityEvent::kEndDate, end);
    EXPECT_EQ(country.HandleMessage(whole), EVENT_CONSUMED);
    EXPECT_EQ(GetProvince(250)->GetCity()->manufactoryBuilding, 3);
    EXPECT_FLOAT_EQ(country.m_treasury, 380.0f);
    ASSERT_EQ(Queued(EVT_BUILD_FACILITY).size(), 1u);

    // A peer's message of the type's 44 bytes lacks kind and cost.
    COVDataEvent shortOne(EVT_EXEC_BUILD_FACILITY, country.GetId());
    shortOne.Payload().Set(COVFacilityEvent::kProvince, 250u);
    EXPECT_EQ(country.HandleMessage(shortOne), EVENT_CONSUMED);
    EXPECT_FLOAT_EQ(country.m_treasury, 380.0f);
    EXPECT_EQ(Queued(EVT_BUILD_FACILITY).size(), 1u);
}

int g_demarcationCalls = 0;

TEST_F(ColonistHandlersTest, AColonyRaisesTheDemarcationOnlyWhileTheThreePowersAreCatholic) {
    g_raiseDemarcationEvent = [](int32_t) { ++g_demarcationCalls; };
    CCountry& settler = Make(1);
    for (uint32_t power : {8u, 5u, 46u})
        Make(power).m_religion.stateReligion = RELIGION_CATHOLIC;
    g_demarcationCalls = 0;
    Province(240).continent = 1;
    Journey(settler, EVT_COLONISE, 240);
    EXPECT_EQ(g_demarcationCalls, 1);

    Province(241).continent = 2; // Europe
    Journey(settler, EVT_COLONISE, 241);
    CountryOfNumber(46)->m_religion.stateReligion = RELIGION_PROTESTANT;
    Province(242).continent = 1;
    Journey(settler, EVT_COLONISE, 242);
    EXPECT_EQ(g_demarcationCalls, 1);

    // Spain itself settling raises nothing.
    CountryOfNumber(46)->m_religion.stateReligion = RELIGION_COUNTERREFORM;
    Province(243).continent = 1;
    Journey(*CountryOfNumber(8), EVT_COLONISE, 243);
    EXPECT_EQ(g_demarcationCalls, 1);
    Province(244).continent = 1;
    Journey(settler, EVT_COLONISE, 244);
    EXPECT_EQ(g_demarcationCalls, 2);
    g_raiseDemarcationEvent = nullptr;
}

} // namespace
