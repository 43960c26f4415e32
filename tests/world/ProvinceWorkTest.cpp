#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "engine/Random.h"
#include "engine/TextDatabase.h"
#include "net/EventTypes.h"
#include "tests/world/SaveBlockFixture.h"
#include "world/City.h"
#include "world/Construction.h"
#include "world/Globals.h"
#include "world/Province.h"
#include "world/ProvinceEconomy.h"
#include "world/ProvinceWork.h"
#include "world/Settlement.h"
#include "world/TradingPost.h"

namespace {

// Stand-ins for the countries that own provinces: only their province lists.
struct FakeCountry {
    CIntList owned;
    CIntList controlled;
};
std::array<FakeCountry, kCountrySlots> g_fakes;

CCountry* FakeOf(int32_t number) {
    return reinterpret_cast<CCountry*>(&g_fakes[static_cast<size_t>(number)]);
}

// What the tests' countries answer.
struct CountryFigures {
    bool exists = false;
    int32_t stateReligion = RELIGION_CATHOLIC;
    float tolerance = 0.0f; // toward every religion
    int32_t stability = 0;
    int32_t capital = 0;
    std::vector<int32_t> national;
    CDate lastPeace;
    bool hasPeace = false;
    CDate lastBankruptcy;
    bool hasBankruptcy = false;
    float revoltModifier = 0.0f;
    int32_t warTaxMonths = 0;
};
std::array<CountryFigures, kCountrySlots> g_figures;
std::vector<int32_t> g_raids;

constexpr int32_t kOwner = 1;
constexpr int32_t kOther = 3;

class ProvinceWorkTest : public test::SaveBlockTest {
protected:
    void SetUp() override {
        SaveBlockTest::SetUp();
        m_countries = g_provinceCountries;
        m_economy = g_provinceEconomy;
        m_work = g_provinceWork;
        m_settlements = g_settlementCountries;
        m_globals = g_globals.eventFlags;
        m_dutch = g_globals.dutch;
        g_figures = {};
        g_raids.clear();
        g_provinceCountries = {};
        g_provinceCountries.numberOf = [](const CCountry& country) {
            return static_cast<int32_t>(reinterpret_cast<const FakeCountry*>(&country) -
                                        g_fakes.data());
        };
        g_provinceCountries.countryOfNumber = [](int32_t number) {
            return number >= 0 && number < static_cast<int32_t>(kCountrySlots) &&
                           g_figures[static_cast<size_t>(number)].exists
                       ? FakeOf(number)
                       : nullptr;
        };
        g_provinceCountries.provinceList = [](CCountry& country, bool controlled) {
            auto& fake = reinterpret_cast<FakeCountry&>(country);
            return controlled ? &fake.controlled : &fake.owned;
        };
        g_provinceCountries.forgetCity = [](CCountry&, CCity*) {};
        g_provinceCountries.forgetTradingPost = [](CCountry&, CTradingPost*) {};
        g_provinceEconomy = {};
        g_provinceEconomy.countryExists = [](int32_t n) { return Figures(n).exists; };
        g_provinceEconomy.stateReligionOf = [](int32_t n) { return Figures(n).stateReligion; };
        g_provinceEconomy.stabilityOf = [](int32_t n) { return Figures(n).stability; };
        g_provinceEconomy.warTaxMonthsOf = [](int32_t n) { return Figures(n).warTaxMonths; };
        g_provinceWork = {};
        g_provinceWork.toleranceOf = [](int32_t n, int32_t) { return Figures(n).tolerance; };
        g_provinceWork.capitalOf = [](int32_t n) { return Figures(n).capital; };
        g_provinceWork.isNationalProvince = [](int32_t n, int32_t province) {
            const auto& national = Figures(n).national;
            return std::find(national.begin(), national.end(), province) != national.end();
        };
        g_provinceWork.lastPeaceOf = [](int32_t n, CDate& out) {
            out = Figures(n).lastPeace;
            return Figures(n).hasPeace;
        };
        g_provinceWork.lastBankruptcyOf = [](int32_t n, CDate& out) {
            out = Figures(n).lastBankruptcy;
            return Figures(n).hasBankruptcy;
        };
        g_provinceWork.modifierOf = [](int32_t n, int32_t kind) {
            return kind == 3 ? Figures(n).revoltModifier : 0.0f;
        };
        g_provinceWork.nativesRaid = [](int32_t province) { g_raids.push_back(province); };
        g_settlementCountries = {};
        g_globals.eventFlags = {};
        g_globals.dutch = false;
        g_figures[kOwner].exists = true;
        g_figures[kOther].exists = true;
    }

    void TearDown() override {
        for (CProvince* province : m_touched)
            Forget(*province);
        for (FakeCountry& fake : g_fakes) {
            fake.owned.RemoveAll();
            fake.controlled.RemoveAll();
        }
        g_provinceCountries = m_countries;
        g_provinceEconomy = m_economy;
        g_provinceWork = m_work;
        g_settlementCountries = m_settlements;
        g_globals.eventFlags = m_globals;
        g_globals.dutch = m_dutch;
        g_fantasyMode = 0;
        SaveBlockTest::TearDown();
    }

    static CountryFigures& Figures(int32_t n) {
        static CountryFigures none;
        none = {};
        return n >= 0 && n < static_cast<int32_t>(kCountrySlots) ? g_figures[static_cast<size_t>(n)]
                                                                 : none;
    }

    static void Forget(CProvince& province) {
        province.ResetForGame();
        province.ClearNeighbours();
        province.terrain = 0;
        province.continent = 0;
        province.climate = province.stormZone = province.iceZone = 0;
        province.natives = province.maxNatives = province.tolerance = 0;
        province.ferocity = 0.0f;
        province.looted = province.winter = province.storm = 0;
        province.lootEndDate = province.nationalismDate = CDate();
        province.religion = RELIGION_CATHOLIC;
        province.tax = province.manpower = 0;
        province.shade = 15;
        province.mapColour = 0;
        province.visible = 0;
        province.borderWeight = 0;
        province.symbolPosition = {};
    }

    // A land province, remembered for the clean-up.
    CProvince& Province(int id) {
        CProvince& province = *GetProvince(id);
        m_touched.push_back(&province);
        return province;
    }

    // A land province of the owner (also its controller) with a town of
    // 2000 people.
    CProvince& OwnedTown(int id, int32_t owner = kOwner) {
        CProvince& province = Province(id);
        province.SetOwner(FakeOf(owner));
        province.SetControllerField(FakeOf(owner));
        auto city = std::make_unique<CCity>();
        city->SetPopulation(2000.0f);
        province.SetCity(std::move(city));
        return province;
    }

    static int Send(CProvince& province, COVEvent& event) { return province.HandleMessage(event); }

    std::vector<CProvince*> m_touched;
    ProvinceCountryHooks m_countries;
    ProvinceEconomyHooks m_economy;
    ProvinceWorkHooks m_work;
    SettlementCountryHooks m_settlements;
    std::array<bool, CGlobals::kEventFlags> m_globals{};
    bool m_dutch = false;
};

// --- messages ---------------------------------------------------------------

TEST_F(ProvinceWorkTest, ProvinceChangesAnswerConsumedAndOthersPassOn) {
    CProvince& province = OwnedTown(40);
    struct Case {
        uint32_t type;
        float amount;  // for the float layouts
        int32_t value; // for the whole-number layouts
        int answer;
    };
    const Case cases[] = {
        {EVT_CHANGE_RELIGION_PROVINCE, 0.0f, RELIGION_SUNNI, EVENT_CONSUMED},
        {EVT_CHANGE_INCOME_PROVINCE, 7.9f, 0, EVENT_CONSUMED},
        {EVT_CREATE_PRODUCTION_FACILITY, 0.0f, CCity::MANUFACTORY_WEAPONS, EVENT_CONSUMED},
        {EVT_CITY_DAMAGE, 500.0f, 0, EVENT_NOT_HANDLED},
        {EVT_FORTRESS_DAMAGE, 2.5f, 0, EVENT_NOT_HANDLED},
        {EVT_SET_NATIVES, 0.0f, 0, EVENT_NOT_HANDLED},
        {EVT_WE_DECLARE_WAR, 0.0f, 0, EVENT_NOT_HANDLED},
    };
    for (const Case& c : cases) {
        COVDataEvent event(c.type, province.GetId());
        if (c.type == EVT_CHANGE_INCOME_PROVINCE || c.type == EVT_CITY_DAMAGE ||
            c.type == EVT_FORTRESS_DAMAGE)
            event.Payload().Set(ProvinceAmountPayload::kAmount, c.amount);
        else
            event.Payload().Set(ProvinceValuePayload::kValue, c.value);
        EXPECT_EQ(Send(province, event), c.answer) << c.type;
    }
    EXPECT_EQ(province.religion, RELIGION_SUNNI);
    EXPECT_EQ(province.tax, 7);
    EXPECT_EQ(province.GetManufactoryType(), CCity::MANUFACTORY_WEAPONS);
    EXPECT_FLOAT_EQ(province.GetPopulation(), 1500.0f);
    EXPECT_FLOAT_EQ(province.GetCity()->GetFortress().level, 3.5f);
}

TEST_F(ProvinceWorkTest, MessagesReachTheProvinceThroughItsId) {
    CProvince& province = OwnedTown(41);
    COVDataEvent event(EVT_CHANGE_RELIGION_PROVINCE, ObjectId(kProvinceIdType, 41));
    event.Payload().Set(ProvinceValuePayload::kValue, RELIGION_ORTHODOX);
    EXPECT_EQ(event.Execute(), EVENT_CONSUMED);
    EXPECT_EQ(province.religion, RELIGION_ORTHODOX);
}

TEST_F(ProvinceWorkTest, PeersValuesOutsideTheirRangeChangeNothing) {
    CProvince& province = OwnedTown(42);
    province.religion = RELIGION_CATHOLIC;
    for (int32_t bad : {-1, 8, 1000}) {
        COVDataEvent religion(EVT_CHANGE_RELIGION_PROVINCE, province.GetId());
        religion.Payload().Set(ProvinceValuePayload::kValue, bad);
        EXPECT_EQ(Send(province, religion), EVENT_CONSUMED);
        EXPECT_EQ(province.religion, RELIGION_CATHOLIC) << bad;
        COVDataEvent facility(EVT_CREATE_PRODUCTION_FACILITY, province.GetId());
        facility.Payload().Set(ProvinceValuePayload::kValue, bad);
        Send(province, facility);
        EXPECT_EQ(province.GetManufactoryType(), CCity::MANUFACTORY_NONE) << bad;
    }
    // The fortress stays within 0..6 whatever the damage says.
    for (const auto& [damage, level] : {std::pair{-20.0f, 6.0f}, std::pair{50.0f, 0.0f}}) {
        COVDataEvent event(EVT_FORTRESS_DAMAGE, province.GetId());
        event.Payload().Set(ProvinceAmountPayload::kAmount, damage);
        Send(province, event);
        EXPECT_FLOAT_EQ(province.GetCity()->GetFortress().level, level);
    }
    COVDataEvent income(EVT_CHANGE_INCOME_PROVINCE, province.GetId());
    income.Payload().Set(ProvinceAmountPayload::kAmount, 1.0e30f);
    Send(province, income);
    EXPECT_GT(province.tax, 0);
}

TEST_F(ProvinceWorkTest, CityStateGoesToTheCityAndWithoutOneIsNotTaken) {
    CProvince& province = OwnedTown(43);
    COVDataEvent event(EVT_UNNAMED_209, province.GetId());
    event.Payload().Set(CityStatePayload::kPopulation, 6000.0f);
    event.Payload().Set(CityStatePayload::kFortressLevel, 2.0f);
    EXPECT_EQ(Send(province, event), EVENT_CONSUMED);
    EXPECT_FLOAT_EQ(province.GetPopulation(), 6000.0f);
    province.SetCity(nullptr);
    EXPECT_EQ(Send(province, event), EVENT_NOT_HANDLED);
}

TEST_F(ProvinceWorkTest, ExpiredConstructionLeavesTheList) {
    CProvince& province = OwnedTown(44);
    CConstructionOrder* order = province.GetConstructions().AddOrder(3, 0, 0, 1, CDate(1, 1, 1601),
                                                                     province.GetNumber(), kOwner);
    const ObjectId id = order->GetId();
    g_scheduler.Clear();
    COVConstructionEvent event(EVT_EXPIRE_CONSTRUCTION, province.GetId(), id,
                               static_cast<uint32_t>(province.GetNumber()));
    EXPECT_EQ(Send(province, event), EVENT_CONSUMED);
    EXPECT_TRUE(province.GetConstructions().IsEmpty());
    // An order that is not there: still taken, nothing else changes.
    EXPECT_EQ(Send(province, event), EVENT_CONSUMED);
}

TEST_F(ProvinceWorkTest, LootIsScheduledToEndOnTheHostOnly) {
    CProvince& province = OwnedTown(45);
    COVSimpleEvent loot(EVT_LOOT_PROVINCE, province.GetId());
    EXPECT_EQ(Send(province, loot), EVENT_NOT_HANDLED);
    EXPECT_EQ(province.looted, 1);
    EXPECT_EQ(province.lootEndDate, CDate(10, 4, 1601));
    auto queued = Queued();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0]->GetType(), static_cast<uint32_t>(EVT_UNLOOT_PROVINCE));
    EXPECT_EQ(queued[0]->GetReceiver(), province.GetId());
    EXPECT_EQ(queued[0]->GetDueDate(), CDate(10, 4, 1601));
    EXPECT_EQ(queued[0]->GetSendFlag(), 1);

    COVSimpleEvent unloot(EVT_UNLOOT_PROVINCE, province.GetId());
    Send(province, unloot);
    EXPECT_EQ(province.looted, 0);

    g_scheduler.Clear();
    BecomeClient();
    Send(province, loot);
    EXPECT_EQ(province.looted, 1);
    EXPECT_TRUE(Queued().empty());
}

TEST_F(ProvinceWorkTest, GameStartFillsTheMissingOwnerOrController) {
    CProvince& owned = Province(46);
    owned.SetOwner(FakeOf(kOwner));
    CProvince& held = Province(47);
    held.SetControllerField(FakeOf(kOther));
    for (CProvince* province : {&owned, &held}) {
        COVSimpleEvent started(EVT_GAME_STARTED, province->GetId());
        EXPECT_EQ(Send(*province, started), EVENT_NOT_HANDLED);
    }
    EXPECT_EQ(owned.GetControllerNumber(), kOwner);
    EXPECT_EQ(held.GetOwnerNumber(), kOther);
    EXPECT_TRUE(g_fakes[kOwner].controlled.Contains(46));
    EXPECT_TRUE(g_fakes[kOther].owned.Contains(47));
}

// --- weather ----------------------------------------------------------------

TEST_F(ProvinceWorkTest, WeatherDependsOnTheDateTheProvinceAndTheOldWinterOnly) {
    CProvince& province = Province(50);
    province.climate = 0;
    province.stormZone = 1;
    for (int month = 0; month < 12; ++month) {
        g_gameTimer->currentDate = CDate(3, month, 1605);
        struct Weather {
            uint8_t winter, storm;
            int32_t stormFrame, iceFrame;
            bool operator==(const Weather&) const = default;
        };
        std::vector<Weather> seen;
        for (uint32_t noise : {1u, 77u, 123456u}) {
            GameSrand(noise); // whatever the generator did before
            GameRand();
            province.winter = 1;
            province.UpdateWeather();
            seen.push_back(
                {province.winter, province.storm, province.stormFrame, province.iceFrame});
        }
        EXPECT_EQ(seen[0], seen[1]) << month;
        EXPECT_EQ(seen[0], seen[2]) << month;
        EXPECT_GE(seen[0].stormFrame, 0);
        EXPECT_LT(seen[0].stormFrame, 8);
        EXPECT_GE(seen[0].iceFrame, 0);
        EXPECT_LT(seen[0].iceFrame, 8);
    }
}

TEST_F(ProvinceWorkTest, WinterFollowsTheClimate) {
    struct Case {
        int32_t climate;
        int month;
        int winters; // of 100 provinces: -1 some but not all
    };
    const Case cases[] = {
        {0, 0, 100}, {0, 11, 100}, {0, 6, 0},  {0, 3, -1}, {3, 0, 0},  {7, 1, 100},
        {7, 2, -1},  {7, 5, 0},    {5, 0, -1}, {5, 6, 0},  {8, 6, -1}, {8, 0, 0},
    };
    for (const Case& c : cases) {
        g_gameTimer->currentDate = CDate(0, c.month, 1620);
        int winters = 0;
        for (int id = 100; id < 200; ++id) {
            CProvince& province = Province(id);
            province.climate = c.climate;
            province.winter = 0;
            province.UpdateWeather();
            winters += province.winter;
            EXPECT_EQ(province.storm, 0); // no storm zone
        }
        if (c.winters < 0) {
            EXPECT_GT(winters, 0) << c.climate << " " << c.month;
            EXPECT_LT(winters, 100) << c.climate << " " << c.month;
        } else {
            EXPECT_EQ(winters, c.winters) << c.climate << " " << c.month;
        }
    }
}

// --- natives' raids ---------------------------------------------------------

TEST_F(ProvinceWorkTest, RaidChanceFollowsToleranceFerocityAndSettlement) {
    struct Case {
        int32_t tolerance;
        float ferocity;
        bool post; // a trading post instead of the town
        int32_t owner;
        int32_t natives;
        int32_t chance;
    };
    const Case cases[] = {
        {4, 2.5f, false, kOwner, 100, 9}, // a = 2, halved 1, c = 3, squared
        {1, 3.0f, false, kOwner, 100, 4}, // a = -1 is not halved
        {4, 2.5f, false, 2, 100, 4},      // owner 2: c - 1 before squaring
        {10, 9.0f, true, kOwner, 100, 5}, // a trading post caps at 5
        {5, 2.0f, true, kOwner, 100, -6}, // a = 1 halved to 0, c = 2, squared 4, - 10
        {4, 2.5f, false, kOwner, 0, 0},   // no natives
        {4, 2.5f, false, -1, 100, 0},     // no owner
    };
    int id = 60;
    for (const Case& c : cases) {
        CProvince& province = Province(id++);
        if (c.owner >= 0)
            province.SetOwner(FakeOf(c.owner));
        if (c.post)
            province.SetTradingPost(std::make_unique<CTradingPost>());
        else
            province.SetCity(std::make_unique<CCity>());
        province.tolerance = c.tolerance;
        province.ferocity = c.ferocity;
        province.natives = c.natives;
        EXPECT_EQ(province.GetNativesRaidChance(), c.chance) << id - 1;
    }
}

// A damaged file's figures at the ends of the 32-bit range: they are read
// within bounds where the rules that shift and square them (the raid
// chance) stay in range (the build's sanitizer stops at an overflow).
TEST_F(ProvinceWorkTest, FiguresOfAFileAreHeldWhereTheRulesCanUseThem) {
    struct Case {
        const char* text;
        int32_t figure;  // tax, tolerance, negotiation, wilderness
        int32_t natives; // natives and their maximum
    };
    const Case cases[] = {
        {"-2147483648", -10000, -1000000},
        {"2147483647", 10000, 1000000},
        {"999999999999999999999", 10000, 1000000},
        {"-999999999999999999999", -10000, -1000000},
        {"12", 12, 12},
    };
    for (const Case& c : cases) {
        CProvince& province = OwnedTown(80);
        const std::string v = c.text;
        OpenBlock("province = { id = 80 tax = " + v + " tolerance = " + v + " negotiation = " + v +
                  " wilderness = " + v + " natives = " + v + " max = " + v + " ferocity = 3 }");
        ASSERT_EQ(reader.ReadField(), FIELD_READ);
        ASSERT_EQ(province.Read(reader), FIELD_BLOCK_END) << v;
        EXPECT_EQ(province.tax, c.figure) << v;
        EXPECT_EQ(province.tolerance, c.figure) << v;
        EXPECT_EQ(province.negotiation, c.figure) << v;
        EXPECT_EQ(province.wilderness, c.figure) << v;
        EXPECT_EQ(province.natives, c.natives) << v;
        EXPECT_EQ(province.maxNatives, c.natives) << v;
        province.natives = 100;
        // (tolerance - 2) / 2 + ferocity, squared.
        EXPECT_LE(province.GetNativesRaidChance(), 5002 * 5002) << v;
        reader.Close();
    }
}

TEST_F(ProvinceWorkTest, NativesRaidOnTheHostOnly) {
    g_figures[2].exists = true;
    CProvince& province = OwnedTown(70);
    province.natives = 100;
    province.tolerance = 100;
    province.ferocity = 100.0f; // a chance far above 1000
    province.MonthlyUpdate();
    EXPECT_EQ(g_raids, std::vector<int32_t>{70});
    g_raids.clear();
    BecomeClient();
    province.MonthlyUpdate();
    EXPECT_TRUE(g_raids.empty());
}

// --- border weight ----------------------------------------------------------

TEST_F(ProvinceWorkTest, BorderWeightCountsForeignFortresses) {
    CProvince& province = OwnedTown(80);
    CProvince& foreign = OwnedTown(81, kOther);
    foreign.GetCity()->GetFortress().level = 2.7f;
    CProvince& own = OwnedTown(82);
    CProvince& empty = Province(83);
    empty.SetControllerField(FakeOf(kOther));
    for (int n : {81, 82, 83, 84})
        province.AddNeighbour({n, 0, 0});
    province.UpdateBorderWeight();
    // 4 / 2, + 4 alone in no territory, + 6 with neighbours, + (2 x 2 + 1)
    // for 81, + 1 for 83.
    EXPECT_EQ(province.borderWeight, 2 + 4 + 6 + 5 + 1);
    (void)own;

    CProvince& sea = Province(85);
    sea.terrain = kFirstSeaProvinceType;
    sea.SetOwner(FakeOf(kOwner));
    sea.borderWeight = 9;
    sea.UpdateBorderWeight();
    EXPECT_EQ(sea.borderWeight, 0);
}

// --- revolt risk ------------------------------------------------------------

TEST_F(ProvinceWorkTest, RevoltRiskTermsAddUpAndNeverFallBelowNationalism) {
    g_figures[kOwner].tolerance = 3.0f;
    g_figures[kOwner].stability = 1;
    g_figures[kOwner].stateReligion = RELIGION_CATHOLIC;
    // The base: same religion 6 - 3 = 3, stability -(1 + 2) = -3: 0.
    struct Case {
        const char* what;
        void (*arrange)(CProvince& p);
        int32_t risk;
    };
    const Case cases[] = {
        {"base", [](CProvince&) {}, 0},
        {"other faith", [](CProvince& p) { p.religion = RELIGION_SUNNI; }, 0}, // 1 - 3 - 3 < 0
        {"counter-reformed counts as catholic",
         [](CProvince& p) {
             p.religion = RELIGION_COUNTERREFORM;
             g_figures[kOwner].stability = -2;
         },
         3},
        {"shaky", [](CProvince&) { g_figures[kOwner].stability = -3; }, 4},
        {"occupied",
         [](CProvince& p) {
             g_figures[kOwner].stability = -2;
             p.SetControllerField(FakeOf(kOther));
             g_figures[kOther].stability = -2;
         },
         4},
        {"bailiff", [](CProvince& p) { p.GetCity()->improvements[CCity::IMPROVEMENT_BAILIFF] = 1; },
         3},
        {"capital with manufactory",
         [](CProvince& p) {
             g_figures[kOwner].stability = -4;
             g_figures[kOwner].capital = p.GetNumber();
             p.GetCity()->manufactory = CCity::MANUFACTORY_LUXURY;
         },
         2}, // 3 + 2 - 3
        {"rebels next door",
         [](CProvince& p) {
             CProvince& next = *GetProvince(p.GetNumber() + 1);
             g_figures[kRebelCountry].exists = true;
             next.SetControllerField(FakeOf(kRebelCountry));
             p.AddNeighbour({next.GetNumber(), 0, 0});
         },
         2},
        {"war-weary outside the nation",
         [](CProvince&) {
             g_figures[kOwner].hasPeace = true;
             g_figures[kOwner].lastPeace = CDate(0, 0, 1593); // 7 years: 3, doubled
         },
         6},
        {"war-weary at home, war taxes, bankrupt",
         [](CProvince& p) {
             g_figures[kOwner].national = {p.GetNumber()};
             g_figures[kOwner].hasPeace = true;
             g_figures[kOwner].lastPeace = CDate(0, 0, 1570); // capped at 5
             g_figures[kOwner].warTaxMonths = 2;
             g_figures[kOwner].hasBankruptcy = true;
             g_figures[kOwner].lastBankruptcy = CDate(11, 4, 1599); // a day short of a year
         },
         7},
        {"event modifier truncates the sum",
         [](CProvince&) { g_figures[kOwner].revoltModifier = 2.9f; }, 2},
        {"nationalism is the floor",
         [](CProvince& p) {
             p.continent = 2;
             p.nationalismDate = CDate(0, 0, 1595);
             g_figures[kOwner].stability = 3;
             g_figures[kOwner].revoltModifier = -10.0f;
         },
         3},
        {"nationalism adds",
         [](CProvince& p) {
             p.continent = 2;
             p.nationalismDate = CDate(0, 0, 1585); // 15 years: 2
             g_figures[kOwner].stability = -3;
         },
         6},
    };
    int id = 300;
    for (const Case& c : cases) {
        g_figures[kOwner].stability = 1;
        g_figures[kOwner].capital = 0;
        g_figures[kOwner].national.clear();
        g_figures[kOwner].hasPeace = g_figures[kOwner].hasBankruptcy = false;
        g_figures[kOwner].warTaxMonths = 0;
        g_figures[kOwner].revoltModifier = 0.0f;
        CProvince& province = OwnedTown(id);
        province.religion = RELIGION_CATHOLIC;
        c.arrange(province);
        EXPECT_EQ(province.GetRevoltRisk(), c.risk) << c.what;
        EXPECT_FALSE(province.DescribeRevoltRisk().empty()) << c.what;
        id += 2;
    }
}

TEST_F(ProvinceWorkTest, DescriptionNamesTheTermsThatApplyInOrder) {
    dir.WriteFile("config/text.csv", "RRISK_RELIGION;faith %d;;;;;;;;;;\r\n"
                                     "RRISK_RELIGION2;faith calms %d;;;;;;;;;;\r\n"
                                     "RRISK_STAB;stability %d;;;;;;;;;;\r\n"
                                     "RRISK_STABP;stability up %d;;;;;;;;;;\r\n"
                                     "RRISK_MANU;manufactory %d;;;;;;;;;;\r\n"
                                     "RRISK_CAP;capital %d;;;;;;;;;;\r\n"
                                     "RRISK_OCCU;occupied %d;;;;;;;;;;\r\n"
                                     "RRISK_TP_COL;no rule;;;;;;;;;;\r\n#EOF;\r\n");
    ASSERT_TRUE(g_textDatabase.Load(0));
    g_figures[kOwner].tolerance = 3.0f;
    g_figures[kOwner].stability = 1;
    CProvince& province = OwnedTown(410);
    province.religion = RELIGION_CATHOLIC;
    g_figures[kOwner].capital = 410;
    province.GetCity()->manufactory = CCity::MANUFACTORY_LUXURY;
    EXPECT_EQ(province.DescribeRevoltRisk(), "faith 3\nstability -3\nmanufactory -1\ncapital -2\n");
    province.SetControllerField(FakeOf(kOther));
    g_figures[kOther].stateReligion = RELIGION_SUNNI;
    g_figures[kOther].stability = -3;
    EXPECT_EQ(province.DescribeRevoltRisk(),
              "faith calms -2\nstability up 1\nmanufactory -1\ncapital -2\noccupied 1\n");
    province.GetCity()->SetPopulation(300.0f);
    EXPECT_EQ(province.DescribeRevoltRisk(), "no rule");
}

TEST_F(ProvinceWorkTest, NoRevoltRiskWithoutRule) {
    CProvince& none = Province(400);
    none.SetCity(std::make_unique<CCity>());
    EXPECT_EQ(none.GetRevoltRisk(), 0);
    g_figures[kOwner].stability = -3;
    CProvince& colony = OwnedTown(401);
    colony.GetCity()->SetPopulation(300.0f);
    EXPECT_EQ(colony.GetRevoltRisk(), 0);
    CProvince& post = Province(402);
    post.SetOwner(FakeOf(kOwner));
    post.SetTradingPost(std::make_unique<CTradingPost>());
    EXPECT_EQ(post.GetRevoltRisk(), 0);
}

TEST_F(ProvinceWorkTest, DutchRiskByTheOwnersFaith) {
    struct Case {
        int32_t ownerFaith;
        int32_t provinceReligion;
        bool reformedAllowed;
        int32_t risk; // tolerance 0: b + 20 - 10
    };
    const Case cases[] = {
        {RELIGION_PROTESTANT, RELIGION_SUNNI, true, 21},
        {RELIGION_REFORMED, RELIGION_SUNNI, true, 11},
        {RELIGION_SUNNI, RELIGION_SUNNI, true, 41},
        {RELIGION_PAGAN, RELIGION_SUNNI, true, 26},
        {RELIGION_CATHOLIC, RELIGION_CATHOLIC, true, 1},            // 6 - 15 + 10 = 1
        {RELIGION_CATHOLIC, RELIGION_REFORMED, true, 41},           // 31
        {RELIGION_CATHOLIC, RELIGION_REFORMED, false, 1},           // reads as catholic: 6 - 15
        {RELIGION_COUNTERREFORM, RELIGION_COUNTERREFORM, true, 21}, // 31 - 20 + 10
    };
    CProvince& province = OwnedTown(338);
    for (const Case& c : cases) {
        g_figures[kOwner].stateReligion = c.ownerFaith;
        province.religion = c.provinceReligion;
        g_globals.eventFlags[1] = true;
        g_globals.eventFlags[2] = c.reformedAllowed;
        EXPECT_EQ(province.GetDutchRevoltRisk(), c.risk)
            << c.ownerFaith << " " << c.provinceReligion;
    }
    g_fantasyMode = 1;
    EXPECT_EQ(province.GetDutchRevoltRisk(), 0);
}

TEST_F(ProvinceWorkTest, DutchTermOnlyWhileTheirRevoltIsDue) {
    g_figures[kOwner].stateReligion = RELIGION_SUNNI; // other faith than the province
    g_figures[kOwner].stability = 3;
    CProvince& province = OwnedTown(339);
    province.religion = RELIGION_CATHOLIC;
    const int32_t calm = province.GetRevoltRisk();
    g_globals.eventFlags[2] = true;
    EXPECT_GT(province.GetRevoltRisk(), calm);
    g_figures[4].exists = true; // the Dutch exist
    EXPECT_EQ(province.GetRevoltRisk(), calm);
    g_figures[4].exists = false;
    g_globals.dutch = true;
    EXPECT_EQ(province.GetRevoltRisk(), calm);
}

// --- queries ----------------------------------------------------------------

TEST_F(ProvinceWorkTest, FixedZonesOfProvinceIds) {
    struct Case {
        int id;
        bool dutch, intercept, spanish, portuguese;
    };
    const Case cases[] = {
        {337, true, false, false, false},  {380, true, false, false, false},
        {341, false, false, false, false}, {251, false, true, false, false},
        {732, false, true, false, false},  {216, false, false, true, false},
        {6, false, false, true, false},    {52, false, false, false, false},
        {195, false, false, false, true},  {804, false, false, false, true},
    };
    for (const Case& c : cases) {
        CProvince& province = Province(c.id);
        EXPECT_EQ(province.IsDutchProvince(), c.dutch) << c.id;
        EXPECT_EQ(province.HasInterceptBonus(), c.intercept) << c.id;
        EXPECT_EQ(province.IsInSpanishZone(), c.spanish) << c.id;
        EXPECT_EQ(province.IsInPortugueseZone(), c.portuguese) << c.id;
    }
    // A coastal province beside the zone belongs to it; an inland one not.
    CProvince& coast = Province(900);
    CProvince& sea = Province(1300);
    sea.terrain = kFirstSeaProvinceType;
    coast.AddNeighbour({1300, 0, 0});
    coast.AddNeighbour({216, 0, 0});
    EXPECT_TRUE(coast.coastal);
    EXPECT_TRUE(coast.IsInSpanishZone());
    CProvince& inland = Province(901);
    inland.AddNeighbour({216, 0, 0});
    EXPECT_FALSE(inland.IsInSpanishZone());
}

TEST_F(ProvinceWorkTest, ZoneProvincesByOwnerFaithAndTreaty) {
    g_figures[2].exists = g_figures[4].exists = true;
    struct Case {
        int id;
        int32_t owner;
        int32_t faith;
        bool treatyEnded;
        bool zone;
    };
    const Case cases[] = {
        {302, kOwner, RELIGION_CATHOLIC, false, true},
        {302, kOwner, RELIGION_SUNNI, false, false},
        {302, 2, RELIGION_CATHOLIC, false, false},
        {338, kOwner, RELIGION_PROTESTANT, false, true},
        {338, 4, RELIGION_PROTESTANT, false, false},
        {401, kOwner, RELIGION_ORTHODOX, false, true},
        {401, kOwner, RELIGION_ORTHODOX, true, false},
        {303, kOwner, RELIGION_CATHOLIC, false, false},
    };
    for (const Case& c : cases) {
        CProvince& province = Province(c.id);
        province.SetOwner(FakeOf(c.owner));
        g_figures[static_cast<size_t>(c.owner)].stateReligion = c.faith;
        g_globals.eventFlags[4] = c.treatyEnded;
        EXPECT_EQ(province.IsZoneProvince(), c.zone) << c.id << " " << c.owner;
    }
}

TEST_F(ProvinceWorkTest, ReligionReadsAsCatholicUntilAllowed) {
    CProvince& province = Province(90);
    province.religion = RELIGION_PROTESTANT;
    EXPECT_EQ(province.GetReligion(), RELIGION_CATHOLIC);
    g_globals.eventFlags[1] = true;
    EXPECT_EQ(province.GetReligion(), RELIGION_PROTESTANT);
    province.religion = RELIGION_REFORMED;
    EXPECT_EQ(province.GetReligion(), RELIGION_CATHOLIC);
    g_globals.eventFlags[2] = true;
    EXPECT_EQ(province.GetReligion(), RELIGION_REFORMED);
}

TEST_F(ProvinceWorkTest, ManpowerAndWeights) {
    CProvince& province = OwnedTown(91);
    g_figures[kOwner].capital = 91;
    province.GetCity()->SetPopulation(150000.0f);
    ASSERT_EQ(province.GetCity()->GetSizeLevel(), 5);
    province.manpower = 4;
    EXPECT_FLOAT_EQ(province.GetManpower(), 2.0f);
    province.GetCity()->improvements[CCity::IMPROVEMENT_BARRACK] = 1;
    EXPECT_FLOAT_EQ(province.GetManpower(), 7.0f);
    // The capital on another continent: none.
    CProvince& capital = Province(92);
    capital.continent = 3;
    g_figures[kOwner].capital = 92;
    EXPECT_FLOAT_EQ(province.GetManpower(), 0.0f);

    province.GetCity()->SetPopulation(300.0f);
    EXPECT_EQ(province.GetLandWeight(), 0); // a colony
    EXPECT_EQ(province.GetNavalWeight(), 1);
}

TEST_F(ProvinceWorkTest, ShadeAndColourSetters) {
    CProvince& province = Province(93);
    province.SetShade(40);
    EXPECT_EQ(province.shade, 31);
    province.SetShade(3);
    province.AddShade(-5);
    EXPECT_EQ(province.shade, 0);
    province.SetColourVisible(0);
    province.SetMapColour(7);
    EXPECT_EQ(province.mapColour, 7 + 32);
    province.SetColourVisible(1);
    EXPECT_EQ(province.mapColour, 7);
    province.SetMapColour(7 + 64);
    EXPECT_EQ(province.mapColour, 7);
}

TEST_F(ProvinceWorkTest, NativesSymbolLevel) {
    g_settlementCountries.terrainRowOf = [](int32_t) { return 4; };
    CProvince& province = Province(94);
    province.maxNatives = 20;
    province.symbolPosition = {300, 200};
    province.SetMapSymbolLevel(50);
    EXPECT_EQ(province.natives, 20);
    EXPECT_EQ(province.nativesSprite.GetKey().kind, kSpriteKindArmy);
    EXPECT_EQ(province.nativesSprite.GetKey().action, 0);
    EXPECT_EQ(province.nativesSprite.GetKey().culture, 17);

    province.maxNatives = 500;
    COVDataEvent event(EVT_SET_NATIVES, province.GetId());
    event.Payload().Set(ProvinceValuePayload::kValue, 40);
    province.HandleMessage(event);
    EXPECT_EQ(province.natives, 40);
    EXPECT_EQ(province.nativesSprite.GetKey().kind, kSpriteKindCity);
    EXPECT_EQ(province.nativesSprite.GetKey().culture, 15); // 17 is capped for the town
    EXPECT_EQ(province.nativesSprite.GetPosition().x, 300);
    EXPECT_EQ(province.nativesSprite.GetPosition().y, 200);

    province.SetMapSymbolLevel(0);
    EXPECT_EQ(province.natives, 0);
    EXPECT_EQ(province.nativesSprite.GetPosition().x, -100);
    EXPECT_EQ(province.nativesSprite.GetPosition().y, -100);
}

} // namespace
