// A country's province figures, its yearly allowances and pools, the prices
// and chances of its colonists, traders and merchants, and what the centres
// of trade ask of the countries.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "country/Country.h"
#include "engine/TextDatabase.h"
#include "net/EventTypes.h"
#include "tests/world/SaveBlockFixture.h"
#include "world/CentreOfTrade.h"
#include "world/City.h"
#include "world/Province.h"
#include "world/ScenarioSteps.h"
#include "world/TradingPost.h"

namespace {

struct Delivery {
    uint32_t type;
    uint8_t send;
    std::vector<uint8_t> bytes;
};
std::vector<Delivery> g_delivered;

class RecordingCountry : public CCountry {
public:
    explicit RecordingCountry(uint32_t number) : CCountry(number) {}
    int HandleMessage(COVEvent& event) override {
        const COVEventData& payload = event.Payload();
        g_delivered.push_back({event.GetType(),
                               event.GetSendFlag(),
                               {payload.Bytes(), payload.Bytes() + payload.Size()}});
        return EVENT_CONSUMED;
    }
};

std::array<int32_t, kCountrySlots> g_religion;
std::array<float, kProvinceSlots> g_income;

class ProvinceFiguresTest : public test::SaveBlockTest {
protected:
    static constexpr int32_t kProvinces[] = {1,  2,  3,  4,  5,  6,  7,   8,   9,  10,
                                             11, 12, 20, 21, 22, 30, 613, 614, 40, 41};

    void SetUp() override {
        SaveBlockTest::SetUp();
        m_steps = g_scenarioSteps;
        m_values = g_cotProvinceValues;
        m_inputs = g_countryEconomyInputs;
        g_religion.fill(-1);
        g_income.fill(0.0f);
        g_scenarioSteps.stateReligionOf = [](int32_t n) {
            return n >= 0 && n < static_cast<int32_t>(kCountrySlots)
                       ? g_religion[static_cast<size_t>(n)]
                       : -1;
        };
        g_cotProvinceValues.totalIncome = [](const CProvince& province) {
            return g_income[static_cast<size_t>(province.GetNumber())];
        };
        g_countryEconomyInputs = {};
        g_fantasyMode = 0;
        g_delivered.clear();
        g_cotCalc.Clear();
        for (int32_t id : kProvinces)
            ResetProvince(id);
    }
    void TearDown() override {
        g_cotCalc.Clear();
        for (int32_t id : kProvinces)
            ResetProvince(id);
        DeleteAllCountries();
        g_fantasyMode = 0;
        g_scenarioSteps = m_steps;
        g_cotProvinceValues = m_values;
        g_countryEconomyInputs = m_inputs;
        SaveBlockTest::TearDown();
    }

    static void ResetProvince(int32_t id) {
        CProvince& province = *GetProvince(id);
        province.ResetForGame();
        province.ClearNeighbours();
        province.terrain = 0;
        province.area = province.region = province.continent = 0;
        province.portSeaZone = 0;
        province.religion = RELIGION_PROTESTANT;
        province.natives = province.negotiation = 0;
        province.ferocity = 0.0f;
        province.box = {};
    }

    static CCountry* Make(uint32_t number) {
        auto country = std::make_unique<RecordingCountry>(number);
        CCountry* made = country.get();
        EXPECT_TRUE(AddCountry(std::move(country)));
        return made;
    }

    // A land province owned and controlled by the country, centred at x.
    static CProvince& Own(CCountry* country, int32_t id, int32_t x = 0) {
        CProvince& province = *GetProvince(id);
        province.terrain = 0;
        province.box = {x - 5, 95, x + 5, 105};
        province.SetOwner(country);
        province.SetControllerField(country);
        return province;
    }

    static CCity* City(int32_t id, float population) {
        auto city = std::make_unique<CCity>();
        city->SetProvinceId(id);
        city->SetPopulation(population);
        CCity* made = city.get();
        GetProvince(id)->SetCity(std::move(city));
        return made;
    }

    static void Sea(int32_t id, int32_t area) {
        CProvince& sea = *GetProvince(id);
        sea.terrain = kFirstSeaProvinceType;
        sea.area = area;
    }

    ScenarioStepHooks m_steps;
    CotProvinceValues m_values;
    CountryEconomyInputs m_inputs;
};

TEST_F(ProvinceFiguresTest, RecountTakesEveryFigureFromTheOwnedProvinces) {
    CCountry* eng = Make(1);
    CCountry* fra = Make(2);
    CCountry* hab = Make(3);
    g_religion[1] = RELIGION_PROTESTANT;
    Sea(10, kSeaArea);
    Sea(11, kLakeArea);
    // 1: on the open sea, catholic, a city with a shipyard and a
    // manufactory, the seat of a centre of trade.
    CProvince& first = Own(eng, 1);
    first.AddNeighbour({10});
    first.portSeaZone = 10;
    first.religion = RELIGION_CATHOLIC;
    CCity* city = City(1, 6500.0f);
    city->improvements[CCity::IMPROVEMENT_SHIPYARD] = 1;
    city->manufactory = CCity::MANUFACTORY_WEAPONS;
    // 2: its port on a lake, reformed, a colony building a manufactory.
    CProvince& second = Own(eng, 2);
    second.AddNeighbour({11});
    second.portSeaZone = 11;
    second.religion = RELIGION_REFORMED;
    City(2, 300.0f)->manufactoryBuilding = CCity::MANUFACTORY_LUXURY;
    // 3: inland, bordering France twice and the Habsburgs once.
    CProvince& third = Own(eng, 3);
    for (int32_t id : {4, 5, 6, 2})
        third.AddNeighbour({id});
    Own(fra, 4);
    Own(hab, 5);
    Own(fra, 6);
    Own(fra, 7).AddNeighbour({10});
    ASSERT_TRUE(g_cotCalc.AddCentreOfTrade(CCotCalc::NewCentreOfTrade(1)));
    for (int32_t id : {1, 2, 3, 7})
        eng->m_nationalProvinces.AddTail(id);
    g_income[1] = 2.7f;
    g_income[2] = 3.6f;
    g_income[3] = 1.9f;

    eng->RecountProvinces();
    const CProvinceFigures& f = eng->m_figures;
    EXPECT_EQ(f.totalIncome, 6); // truncated after each addition
    EXPECT_FLOAT_EQ(f.coastalShare, 1.0f / 3.0f);
    EXPECT_EQ(f.coastalOtherReligion, 1);
    EXPECT_EQ(f.coastalNational, 2);
    EXPECT_EQ(f.reformedCoastalNational, 1);
    EXPECT_EQ(f.protestantCoastalNational, 0);
    EXPECT_EQ(f.neighbour[2], 1);
    EXPECT_EQ(f.neighbour[3], 1);
    EXPECT_EQ(f.neighbour[1], 0);
    EXPECT_FLOAT_EQ(f.borderShare[2], 2.0f / 3.0f);
    EXPECT_FLOAT_EQ(f.borderShare[3], 1.0f / 3.0f);
    EXPECT_EQ(f.ownCentresOfTrade, 1);
    EXPECT_EQ(f.shipyards, 1);
    EXPECT_EQ(f.manufactories, 1);
    EXPECT_EQ(f.manufactoriesBuilding, 1);
    EXPECT_EQ(f.manufactoriesByType[CCity::MANUFACTORY_WEAPONS], 1);
    EXPECT_EQ(f.manufactoriesByType[CCity::MANUFACTORY_NONE], 1);
    EXPECT_EQ(f.colonies, 1);
    EXPECT_EQ(f.cities, 1);
    EXPECT_EQ(f.easternHoldings, 0);

    // Without foreign neighbours or provinces nothing is divided by 0; a
    // second recount starts from nothing.
    CCountry* pol = Make(13);
    pol->RecountProvinces();
    EXPECT_FLOAT_EQ(pol->m_figures.coastalShare, 0.0f);
    EXPECT_FLOAT_EQ(pol->m_figures.borderShare[1], 0.0f);
    eng->RecountProvinces();
    EXPECT_EQ(eng->m_figures.shipyards, 1);
}

TEST_F(ProvinceFiguresTest, OnlyRussiaHoldsTheEasternProvinces) {
    CCountry* rus = Make(7);
    CCountry* swe = Make(9);
    Own(rus, 613);
    City(613, 2000.0f);
    rus->RecountProvinces();
    EXPECT_EQ(rus->m_figures.easternHoldings, 0);
    Own(rus, 614);
    City(614, 2000.0f);
    rus->RecountProvinces();
    EXPECT_EQ(rus->m_figures.easternHoldings, 1);
    Own(swe, 614);
    swe->RecountProvinces();
    EXPECT_EQ(swe->m_figures.easternHoldings, 0);
}

TEST_F(ProvinceFiguresTest, YearlyColonists) {
    CCountry* country = Make(50);
    struct Case {
        const char* what;
        bool fantasy;
        float coast;
        int32_t base;
        bool major;
        int32_t religion;
        int32_t shipyards;
        float colonists;
    };
    const Case cases[] = {
        {"fantasy", true, 0.0f, 0, false, -1, 0, 6.0f},
        {"no coast", false, 0.0009f, 3, true, RELIGION_REFORMED, 2, 0.0f},
        {"a minor without a base", false, 0.5f, 0, false, RELIGION_REFORMED, 3, 0.01f},
        {"a major without a base", false, 0.5f, 0, true, RELIGION_PROTESTANT, 3, 2.0f},
        {"reformed with a base", false, 0.5f, 2, false, RELIGION_REFORMED, 0, 4.0f},
        {"catholic", false, 0.5f, 1, false, RELIGION_CATHOLIC, 1, 2.0f},
        {"pagan", false, 0.5f, 1, false, RELIGION_PAGAN, 0, 1.0f},
    };
    for (const Case& c : cases) {
        g_fantasyMode = c.fantasy ? 1 : 0;
        country->m_figures.coastalShare = c.coast;
        country->m_periodBase = c.base;
        country->m_major = c.major ? 1 : 0;
        country->m_figures.shipyards = c.shipyards;
        g_religion[50] = c.religion;
        EXPECT_FLOAT_EQ(country->GetYearlyColonists(), c.colonists) << c.what;
    }
    g_fantasyMode = 0;
    country->m_figures.coastalShare = 0.0f;
    EXPECT_EQ(country->GetYearlyColonistsText(), g_textDatabase.GetText("YEARLYCOL_NOCOAST"));
}

TEST_F(ProvinceFiguresTest, YearlyMerchantsAreCappedByTradingNationAndNeverNegative) {
    CCountry* minor = Make(50);
    CCountry* eng = Make(1);
    // The stability term alone: -3 + 1.
    minor->m_technology.stability.level = -3;
    eng->m_technology.stability.level = -3;
    EXPECT_FLOAT_EQ(minor->GetYearlyMerchants(), 0.0f);
    minor->m_technology.trade.level = 10;
    eng->m_technology.trade.level = 10;
    // Trade 2 + stability 1 + centres 2: a minor keeps one.
    minor->m_technology.stability.level = 0;
    eng->m_technology.stability.level = 0;
    minor->m_figures.ownCentresOfTrade = 2;
    EXPECT_FALSE(minor->IsTradingNation()); // no known religion
    EXPECT_FLOAT_EQ(minor->GetYearlyMerchants(), 1.0f);
    EXPECT_FLOAT_EQ(minor->GetMerchantCap(), 1.0f);

    // A trading nation: religion 3 (capped), trade 2, coastal 51 / 25 + 1,
    // centres 4, stability 3, monopoly 1 = 16, capped at 12.
    eng->m_technology.stability.level = 2;
    CProvinceFigures& f = eng->m_figures;
    f.reformedCoastalNational = 5;
    f.protestantCoastalNational = 4;
    f.coastalNational = 51;
    f.coastalShare = 0.4f;
    f.ownCentresOfTrade = 4;
    Own(eng, 20);
    Own(eng, 21);
    for (int32_t seat : {20, 21})
        ASSERT_TRUE(g_cotCalc.AddCentreOfTrade(CCotCalc::NewCentreOfTrade(seat)));
    for (auto [slot, value] : {std::pair{0, 5.5f}, {1, 5.0f}}) {
        auto entry = std::make_unique<CCotMerchant>();
        entry->country = 1;
        entry->value = value;
        g_cotCalc.GetSlot(slot)->SetMerchant(std::move(entry));
    }
    EXPECT_FLOAT_EQ(eng->GetYearlyMerchants(), 12.0f);
    const std::string text = eng->GetYearlyMerchantsText();
    EXPECT_NE(text.find(g_textDatabase.GetText("YEARLYMER_12")), std::string::npos);
    f.ownCentresOfTrade = 0;
    f.coastalNational = 0;
    // 3 + 2 + 1 + 3 + 1 (only the entry above 5.0 is a monopoly).
    EXPECT_FLOAT_EQ(eng->GetYearlyMerchants(), 10.0f);
}

TEST_F(ProvinceFiguresTest, YearlyDiplomatsKeepTheKingTermAtLeastOne) {
    CCountry* country = Make(50);
    // Without a monarch the DIP is 3: the king's term stays 1 (the
    // monarch's own DIP is tried with the monarchs).
    EXPECT_FLOAT_EQ(country->GetYearlyDiplomats(), 1.0f);
    country->m_diplomacy.atWarWithAny = 1;
    g_religion[50] = RELIGION_COUNTERREFORM;
    EXPECT_FLOAT_EQ(country->GetYearlyDiplomats(), 4.0f);
    g_religion[50] = RELIGION_REFORMED;
    EXPECT_FLOAT_EQ(country->GetYearlyDiplomats(), 3.0f);
}

TEST_F(ProvinceFiguresTest, PoolsStayWithinNoneAndTheirCaps) {
    CCountry* minor = Make(50);
    minor->AddMerchants(5.0f);
    EXPECT_FLOAT_EQ(minor->m_merchants, 1.0f);
    minor->AddMerchants(-3.0f);
    EXPECT_FLOAT_EQ(minor->m_merchants, 0.0f);
    minor->m_colonists = 6.0f;
    minor->AddColonists(1.0f);
    EXPECT_FLOAT_EQ(minor->m_colonists, 6.0f);
    minor->AddDiplomats(7.5f);
    EXPECT_FLOAT_EQ(minor->m_diplomats, 6.0f);
    CCountry* eng = Make(1);
    eng->AddMerchants(5.5f);
    EXPECT_FLOAT_EQ(eng->m_merchants, 5.5f);

    g_fantasyMode = 1;
    minor->m_colonists = 1.0f;
    minor->AccrueMonthlyColonists();
    EXPECT_FLOAT_EQ(minor->m_colonists, 1.5f);
}

TEST_F(ProvinceFiguresTest, TravelTimesAreAtLeastTwoMonths) {
    CCountry* country = Make(50);
    country->m_capital = 1;
    Own(country, 1, 1000);
    GetProvince(2)->box = {996, 95, 1006, 105}; // 1 away
    GetProvince(3)->box = {9995, 95, 10005, 105};
    EXPECT_EQ(country->GetColonistTravelTime(2), CDate(0, 2, 0));
    EXPECT_EQ(country->GetTraderTravelTime(2), CDate(0, 2, 0));
    // 9000 pixels are a distance of 90: at speed 2 (colonist) and 4
    // (trader) 1350 and 675 days.
    EXPECT_EQ(country->GetColonistTravelTime(3), CDate(0, 9, 3));
    EXPECT_EQ(country->GetTraderTravelTime(3), CDate(15, 10, 1));
    EXPECT_EQ(CCountry::GetTwoYearSpan(), CDate(0, 0, 2));
    EXPECT_EQ(country->GetCapitalDistanceSpan(3), CDate(0, 3, 0));
}

TEST_F(ProvinceFiguresTest, ColonisationAndTraderChancesStayWithinOneToNinetyFive) {
    static float maneuver = 0.0f;
    g_countryEconomyInputs.bestExplorerManeuver = [](const CCountry&, int32_t) { return maneuver; };
    struct Case {
        uint32_t country;
        int32_t natives;
        float ferocity;
        int32_t negotiation;
        int32_t terrain;
        float population; // 0: no city
        float explorer;
        int32_t colonisation;
        int32_t trader;
    };
    const Case cases[] = {
        {50, 99, 9.0f, 20, 4, 0.0f, 0.0f, 1, 1},  {8, 0, 0.0f, 0, 0, 6500.0f, 30.0f, 95, 70},
        {1, 0, 0.0f, 0, 0, 0.0f, 0.0f, 95, 80},   {50, 5, 2.0f, 6, 0, 0.0f, 0.0f, 52, 40},
        {2, 5, 2.0f, 6, 6, 300.0f, 1.5f, 70, 50}, {4, 0, 0.0f, 0, 0, 0.0f, 0.0f, 90, 95},
    };
    for (const Case& c : cases) {
        CCountry* country = Make(c.country);
        CProvince& province = *GetProvince(30);
        province.natives = c.natives;
        province.ferocity = c.ferocity;
        province.negotiation = c.negotiation;
        province.terrain = c.terrain;
        if (c.population > 0.0f)
            City(30, c.population);
        maneuver = c.explorer;
        EXPECT_EQ(country->GetColonisationChance(30), c.colonisation) << c.country;
        EXPECT_EQ(country->GetTraderChance(30), c.trader) << c.country;
        ResetProvince(30);
        DeleteAllCountries();
    }
}

TEST_F(ProvinceFiguresTest, PricesOfTradersMerchantsAndManufactories) {
    CCountry* eng = Make(1);
    CCountry* minor = Make(50);
    CProvince& target = *GetProvince(30);
    // A trader cost below 5 is 5 before the cost modifier (here all
    // inflation).
    g_countryEconomyInputs.bestExplorerManeuver = [](const CCountry&, int32_t) { return 50.0f; };
    eng->m_inflation = 1.0f;
    EXPECT_FLOAT_EQ(eng->GetTraderCost(30), 10.0f);
    g_countryEconomyInputs.bestExplorerManeuver = nullptr;
    eng->m_inflation = 0.0f;
    target.negotiation = 10;
    EXPECT_FLOAT_EQ(minor->GetTraderCost(30), (30.0f + 5.0f + 20.0f) * 0.2f * 1.25f);

    // A merchant to a centre on another continent and in another region.
    minor->m_capital = 1;
    Own(minor, 1);
    GetProvince(1)->continent = 2;
    GetProvince(1)->region = 4;
    target.terrain = 4;
    EXPECT_EQ(minor->GetMerchantCost(30), (25 + 30 + 5 + 10 + 7) / 3);
    // The centre the capital trades with costs a third.
    ASSERT_TRUE(g_cotCalc.AddCentreOfTrade(CCotCalc::NewCentreOfTrade(30)));
    GetProvince(1)->centreOfTrade = g_cotCalc.GetSlot(0);
    EXPECT_EQ(minor->GetMerchantCost(30), (60 / 3 + 1 + 7) / 3);
    // Owned: the terms alone.
    Own(minor, 30);
    target.continent = 2;
    target.region = 4;
    target.terrain = 0;
    EXPECT_EQ(minor->GetMerchantCost(30), 14 / 3);

    // Manufactories in 1600: the base term of a monarch-less country.
    EXPECT_EQ(minor->GetFacilityCost(30, 1), 17 * 50);
    EXPECT_EQ(minor->GetFacilityCost(30, 2), 14 * 50); // (19 x 15 + 20 + 400) x 0.02
    // From 1700 on, manufactories beyond the allowance cost 100 each in the
    // term: England in 1750 with 20 (+2) against an allowance of 14.
    g_gameTimer->currentDate = CDate(0, 0, 1750);
    eng->m_manufactoryCount = 20;
    EXPECT_EQ(eng->GetFacilityCost(30, 1), (33 + 22) * 50);
}

TEST_F(ProvinceFiguresTest, FoundingASettlementMakesTheCountryItsControllerAndAssignsIt) {
    CCountry* eng = Make(1);
    Own(eng, 40, 1000);
    City(40, 6500.0f);
    ASSERT_TRUE(g_cotCalc.AddCentreOfTrade(CCotCalc::NewCentreOfTrade(40)));
    CProvince& land = *GetProvince(41);
    land.box = {1095, 95, 1105, 105};
    land.SetOwner(eng);

    eng->FoundTradingPost(41);
    ASSERT_NE(land.GetTradingPost(), nullptr);
    EXPECT_EQ(land.GetController(), eng);
    EXPECT_TRUE(eng->m_tradingPosts.Contains(land.GetTradingPost()));
    EXPECT_EQ(land.centreOfTrade, g_cotCalc.GetSlot(0));
    EXPECT_EQ(eng->m_figures.ownCentresOfTrade, 1); // recounted

    eng->FoundColony(41);
    ASSERT_NE(land.GetCity(), nullptr);
    EXPECT_EQ(land.GetTradingPost(), nullptr);
    EXPECT_EQ(eng->m_tradingPosts.GetCount(), 0u);
    EXPECT_TRUE(eng->m_cities.Contains(land.GetCity()));
    EXPECT_FLOAT_EQ(land.GetCity()->GetPopulation(), 100.0f);
    EXPECT_EQ(eng->m_figures.colonies, 1);
}

// A new centre's owner gains a merchant and sends it there, both to every
// machine.
TEST_F(ProvinceFiguresTest, TheFoundingMerchantIsGainedAndSentToEveryMachine) {
    Make(4);
    ASSERT_NE(g_cotCountries.sendFoundingMerchant, nullptr);
    g_cotCountries.sendFoundingMerchant(4, 77);
    ASSERT_EQ(g_delivered.size(), 2u);
    EXPECT_EQ(g_delivered[0].type, static_cast<uint32_t>(EVT_GET_MERCHANT));
    EXPECT_EQ(g_delivered[1].type, static_cast<uint32_t>(EVT_SEND_MERCHANT));
    for (const Delivery& delivery : g_delivered)
        EXPECT_EQ(delivery.send, 1);
    COVMerchantEvent sent(EVT_SEND_MERCHANT, g_nullId);
    std::copy(g_delivered[1].bytes.begin(), g_delivered[1].bytes.end(), sent.Payload().Bytes());
    EXPECT_EQ(sent.Payload().Get(COVMerchantEvent::kProvince), ObjectId(kProvinceIdType, 77));
    EXPECT_EQ(sent.Payload().Get(COVMerchantEvent::kCountry), ObjectId(kCountryObjectType, 4));
    EXPECT_EQ(sent.Payload().Get(COVMerchantEvent::kValue), 1u);
    EXPECT_EQ(sent.Payload().Get(COVMerchantEvent::kSuccess), 1);
    // No country, nothing sent.
    g_cotCountries.sendFoundingMerchant(5, 77);
    EXPECT_EQ(g_delivered.size(), 2u);
}

} // namespace
