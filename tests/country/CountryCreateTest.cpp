// Making countries: the object by controller kind, what Create gives every
// new country, and the country's own operations on its money and missions.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "country/Country.h"
#include "country/CountryVariants.h"
#include "data/ScenarioHeader.h"
#include "engine/Config.h"
#include "net/Session.h"
#include "tests/TestSupport.h"

namespace {

// A country made by one of the upper layers' factories, named after it.
class MadeCountry : public CCountry {
public:
    MadeCountry(uint32_t number, std::string by) : CCountry(number), madeBy(std::move(by)) {}
    std::string madeBy;
};

std::string g_tutorialScript;

template <const char* Name> std::unique_ptr<CCountry> Make(uint32_t number) {
    return std::make_unique<MadeCountry>(number, Name);
}

constexpr char kComputer[] = "computer";
constexpr char kMainScreen[] = "main screen";
constexpr char kType4[] = "type 4";
constexpr char kType5[] = "type 5";
constexpr char kType6[] = "type 6";

std::unique_ptr<CCountry> MakeTutorial(uint32_t number, const std::string& script) {
    g_tutorialScript = script;
    return std::make_unique<MadeCountry>(number, "tutorial screen");
}

std::string MadeBy(const CCountry* country) {
    const auto* made = dynamic_cast<const MadeCountry*>(country);
    return made ? made->madeBy : "plain";
}

class CountryCreateTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedVariants = g_countryVariants;
        g_countryController.fill(0);
        g_scenarioInfo = std::make_unique<ScenarioInfo>();
        g_config = std::make_unique<CConfig>();
    }
    void TearDown() override {
        ClearCountryTable();
        g_countryVariants = m_savedVariants;
        g_countryController.fill(0);
        g_scenarioInfo.reset();
        g_config.reset();
        g_netSession = nullptr;
    }
    void FillVariants() {
        g_countryVariants.computer = &Make<kComputer>;
        g_countryVariants.mainScreen = &Make<kMainScreen>;
        g_countryVariants.tutorialScreen = &MakeTutorial;
        g_countryVariants.type4 = &Make<kType4>;
        g_countryVariants.type5 = &Make<kType5>;
        g_countryVariants.type6 = &Make<kType6>;
    }

    CountryVariantHooks m_savedVariants;
    CNetSession m_clientSession;
};

TEST_F(CountryCreateTest, EachControllerKindMakesItsObject) {
    struct Case {
        uint32_t kind;
        bool host;
        bool tutorial;
        const char* expected;
    };
    const Case cases[] = {
        {0, true, false, "computer"},    {0, false, false, "plain"},
        {1, true, false, "main screen"}, {1, false, true, "tutorial screen"},
        {2, true, false, "plain"},       {3, true, false, "plain"},
        {4, true, false, "type 4"},      {5, false, false, "type 5"},
        {6, true, false, "type 6"},      {7, true, false, "plain"},
        {250, true, false, "plain"},
    };
    FillVariants();
    m_clientSession.m_active = 1; // a session this machine does not host
    g_scenarioInfo->optionFile = "tutorial\\lesson1.txt";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        ClearCountryTable();
        g_netSession = c.host ? nullptr : &m_clientSession;
        g_scenarioInfo->tutorial = c.tutorial;
        g_countryController[5] = c.kind;
        CCountry* country = CCountry::Create(5);
        ASSERT_NE(country, nullptr);
        EXPECT_EQ(MadeBy(country), c.expected);
        EXPECT_EQ(g_countries[5], country);
        EXPECT_EQ(country->GetNumber(), 5u);
    }
    EXPECT_EQ(g_tutorialScript, "tutorial\\lesson1.txt");
}

TEST_F(CountryCreateTest, WithoutTheUpperLayersEveryKindIsAPlainCountry) {
    for (uint32_t kind = 0; kind <= 7; ++kind) {
        ClearCountryTable();
        g_countryController[9] = kind;
        EXPECT_EQ(MadeBy(CCountry::Create(9)), "plain") << kind;
    }
}

TEST_F(CountryCreateTest, ANewCountryGetsItsTagGroupAiFileAndTheListHead) {
    CCountry* england = CCountry::Create(1);
    CCountry* holland = CCountry::Create(4);
    CCountry* habsburg = CCountry::Create(3);
    CCountry* usa = CCountry::Create(67);
    CCountry* russia = CCountry::Create(7);
    CCountry* turkey = CCountry::Create(10);
    CCountry* china = CCountry::Create(62);
    ASSERT_TRUE(england && holland && habsburg && usa && russia && turkey && china);
    EXPECT_EQ(CCountry::Create(4), nullptr); // the slot is taken

    EXPECT_EQ(england->GetTag(), "ENG");
    EXPECT_EQ(england->GetId(), ObjectId(kCountryObjectType, 1));
    EXPECT_EQ(holland->m_aiFile, "holland.ai");
    EXPECT_EQ(holland->m_colonialNation, 1);
    EXPECT_EQ(habsburg->m_aiFile, "default.ai");
    EXPECT_EQ(habsburg->m_colonialNation, 0);
    EXPECT_EQ(usa->m_aiFile, "default.ai");
    EXPECT_EQ(usa->m_colonialNation, 1);
    EXPECT_EQ(england->m_technology.group, 0u);
    EXPECT_EQ(russia->m_technology.group, 1u);
    EXPECT_EQ(turkey->m_technology.group, 2u);
    EXPECT_EQ(china->m_technology.group, 3u);

    // The latest country heads the list.
    std::vector<uint32_t> order;
    g_countryList.ForEach([&order](CCountry* country) { order.push_back(country->GetNumber()); });
    EXPECT_EQ(order, (std::vector<uint32_t>{62, 10, 7, 67, 3, 4, 1}));

    // The initial values of a new country.
    EXPECT_FLOAT_EQ(england->m_manpower, 10.0f);
    EXPECT_FLOAT_EQ(england->m_bureaucracy, 1.0f);
    EXPECT_FLOAT_EQ(england->m_landMaintenance, 1.0f);
    EXPECT_FLOAT_EQ(england->m_navalShare + england->m_landShare + england->m_teShare +
                        england->m_peShare + england->m_stabilityShare + england->m_treasuryShare,
                    1.0f);
    EXPECT_EQ(england->m_capital, kNoCapitalProvince);

    ReleaseCountries();
    for (CCountry* slot : g_countries)
        EXPECT_EQ(slot, nullptr);
    EXPECT_TRUE(g_countryList.IsEmpty());
}

TEST_F(CountryCreateTest, IncomeWaitsForTheMonthAndSpendingTakesItWhenTheTreasuryLacks) {
    CCountry& country = *CCountry::Create(2);
    country.m_treasury = 100.0f;
    country.BookLedgerEntry(2, 40.0f);
    EXPECT_FLOAT_EQ(country.m_treasury, 100.0f);
    EXPECT_FLOAT_EQ(country.m_income, 40.0f);
    country.BookLedgerEntry(6, 25.0f);
    EXPECT_FLOAT_EQ(country.m_treasury, 125.0f);
    EXPECT_FLOAT_EQ(country.m_income, 40.0f);

    struct Case {
        uint32_t kind;
        float amount;
        float treasury;
        float income;
    };
    // Starting from a treasury of 100 and a month's income of 30.
    const Case cases[] = {
        {0, 150.0f, -20.0f, 0.0f},  // 30 from the income, 120 from the treasury
        {1, 110.0f, 0.0f, 20.0f},   // only what the treasury lacks
        {0, 80.0f, 20.0f, 30.0f},   // the treasury suffices
        {5, 150.0f, -50.0f, 30.0f}, // other kinds: all from the treasury
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        country.m_treasury = 100.0f;
        country.m_income = 30.0f;
        country.SpendMoney(c.kind, c.amount);
        EXPECT_FLOAT_EQ(country.m_treasury, c.treasury);
        EXPECT_FLOAT_EQ(country.m_income, c.income);
    }
}

TEST_F(CountryCreateTest, AtMostThreeActiveMissions) {
    CCountry& country = *CCountry::Create(2);
    const ObjectId ids[] = {{12, 1}, {12, 2}, {12, 3}, {12, 4}};
    for (const ObjectId& id : ids)
        country.AddActiveMission(id);
    EXPECT_EQ(country.m_activeMissionCount, 3u);
    EXPECT_EQ(country.m_activeMissionIds[2], ids[2]);

    country.RemoveActiveMission(ids[3]); // in no slot
    EXPECT_EQ(country.m_activeMissionCount, 3u);
    country.RemoveActiveMission(ids[1]);
    EXPECT_EQ(country.m_activeMissionCount, 2u);
    EXPECT_TRUE(country.m_activeMissionIds[1].IsNull());
    country.AddActiveMission(ids[3]); // takes the freed slot
    EXPECT_EQ(country.m_activeMissionIds[1], ids[3]);
}

TEST_F(CountryCreateTest, SmallQueriesOfTheCountry) {
    CCountry& country = *CCountry::Create(33);
    EXPECT_TRUE(country.IsNonWesternNation());
    EXPECT_FALSE(CCountry::Create(34)->IsNonWesternNation());

    EXPECT_FLOAT_EQ(country.GetLoanAmount(), 200.0f);
    country.m_bank = 1;
    EXPECT_FLOAT_EQ(country.GetLoanAmount(), 500.0f);
    country.m_stock = 1;
    EXPECT_FLOAT_EQ(country.GetLoanAmount(), 1000.0f);

    g_config->SetWord(ConfigOffset::kDifficulty, 4);
    for (uint32_t kind : {0u, 1u, 2u, 3u}) {
        g_countryController[33] = kind;
        EXPECT_EQ(country.GetDifficultyOffset(), kind == 1 || kind == 2 ? 2 : 0) << kind;
        EXPECT_EQ(country.IsLocalHuman(), kind == 1) << kind;
    }

    country.m_manpower = 5.0f;
    country.m_manpowerReference = 3.0f;
    country.AddToCappedReserve(2.0f); // 5 < 6
    EXPECT_FLOAT_EQ(country.m_manpower, 7.0f);
    country.AddToCappedReserve(2.0f); // 7 is not below 6
    EXPECT_FLOAT_EQ(country.m_manpower, 7.0f);

    EXPECT_EQ(FindCountryById(ObjectId(kCountryObjectType, 33)), &country);
    EXPECT_EQ(FindCountryById(ObjectId(4, 33)), nullptr);
    EXPECT_EQ(FindCountryById(ObjectId(kCountryObjectType, 500)), nullptr);
}

} // namespace
