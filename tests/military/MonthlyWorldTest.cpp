// The generated world runs a year of months: every country does its
// bookkeeping each month, nothing is reported, and every figure of money
// stays a number.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "country/Country.h"
#include "data/GameFile.h"
#include "data/Keywords.h"
#include "data/WorldStateHash.h"
#include "engine/GameTimer.h"
#include "net/EventTypes.h"
#include "net/Scheduler.h"
#include "tests/TestSupport.h"
#include "world/Globals.h"
#include "world/Scenario.h"

namespace {

class MonthlyWorldTest : public ::testing::Test {
protected:
    void SetUp() override {
        BuildKeywordIndex();
        test::CopyDemoWorld(m_dir.Path());
        SetCountryTagSource(FindCountryTagOfNumber);
        g_countryController.fill(0);
        g_gameType = 0;
        g_gameTimer = std::make_unique<CGameTimer>(15);
        g_scheduler.Clear();
        g_globals.Init();
    }

    void TearDown() override {
        m_scenario.reset();
        g_globals.Shutdown();
        g_scheduler.Clear();
        g_gameTimer.reset();
        g_countryController.fill(0);
        SetCountryTagSource(nullptr);
    }

    uintmax_t LogSize() const {
        std::error_code error;
        const auto size = std::filesystem::file_size(m_dir.Path() / "log.txt", error);
        return error ? 0 : size;
    }

    test::ScopedGameDir m_dir;
    test::BoxRecorder m_boxes;
    std::unique_ptr<CScenario> m_scenario;
};

bool Finite(float value) {
    return std::isfinite(value);
}

// The started world saved to a file is byte for byte what the writers print
// into memory: the file's write buffer, handed over many times for a game
// this size, loses, repeats and reorders nothing.
TEST_F(MonthlyWorldTest, TheStartedWorldSavesToAFileAsItPrintsInMemory) {
    m_scenario = std::make_unique<CScenario>("scenarios\\world_1492.ovg", 7);
    ASSERT_EQ(g_gameStarted, 1);
    ASSERT_EQ(SaveGameFile("whole.ovg"), FIELD_WRITTEN);
    std::string saved = m_dir.ReadFile("whole.ovg");
    // The header's "id" lines (where this machine's numbering goes on) are
    // the saved game's own: the world in memory leaves them out.
    const size_t headerEnd = saved.find("\n}");
    size_t at = saved.find("\n    id = { type = ");
    ASSERT_LT(at, headerEnd);
    while (at < saved.find("\n}")) {
        saved.erase(at + 1, saved.find('\n', at + 1) - at);
        at = saved.find("\n    id = { type = ");
    }
    std::string printed;
    ASSERT_EQ(WriteGameToMemory(printed), FIELD_WRITTEN);
    EXPECT_GT(saved.size(), 4u * 64 * 1024);
    EXPECT_EQ(saved.size(), printed.size());
    EXPECT_TRUE(saved == printed);
    EXPECT_TRUE(m_boxes.texts.empty()) << m_boxes.texts.front();
}

TEST_F(MonthlyWorldTest, AYearOfMonthsKeepsEveryCountrysBooksInOrder) {
    g_countryController[1] = 1;
    m_scenario = std::make_unique<CScenario>("scenarios\\world_1492.ovg", 7);
    ASSERT_EQ(g_gameStarted, 1);
    ASSERT_TRUE(m_boxes.texts.empty()) << m_boxes.texts.front();
    const uintmax_t logAtStart = LogSize();

    int32_t countries = 0;
    for (int month = 0; month < 12; ++month) {
        CDate today = g_gameTimer->GetDate();
        today.AddMonths(1);
        g_gameTimer->currentDate = today;
        for (CCountry* country : g_countries) {
            if (!country)
                continue;
            ++countries;
            COVTimerEvent event(EVT_TIMER_MONTH, country->GetId(), today);
            country->HandleMessage(event);
        }
        g_scheduler.RunDue();
    }
    for (CCountry* country : g_countries) {
        if (!country)
            continue;
        COVTimerEvent event(EVT_TIMER_YEAR, country->GetId(), g_gameTimer->GetDate());
        country->HandleMessage(event);
    }
    g_scheduler.RunDue();

    EXPECT_GE(countries, 12 * 40);
    EXPECT_TRUE(m_boxes.texts.empty()) << m_boxes.texts.front();
    EXPECT_EQ(LogSize(), logAtStart);
    for (CCountry* country : g_countries) {
        if (!country)
            continue;
        SCOPED_TRACE(country->GetTag());
        EXPECT_TRUE(Finite(country->m_treasury)) << country->m_treasury;
        EXPECT_TRUE(Finite(country->m_income));
        EXPECT_TRUE(Finite(country->m_inflation));
        EXPECT_TRUE(Finite(country->m_manpower));
        EXPECT_TRUE(Finite(country->m_monthlyTaxIncome));
        const CLedger& ledger = country->m_ledger;
        for (const auto* table : {&ledger.thisYearIncome, &ledger.lastMonthIncome})
            for (float value : *table)
                EXPECT_TRUE(Finite(value));
        for (const auto* table : {&ledger.thisYearExpense, &ledger.lastMonthExpense})
            for (float value : *table)
                EXPECT_TRUE(Finite(value));
        float shares = 0.0f;
        for (float share :
             {country->m_navalShare, country->m_landShare, country->m_teShare, country->m_peShare,
              country->m_stabilityShare, country->m_treasuryShare}) {
            EXPECT_GE(share, 0.0f);
            EXPECT_LE(share, 1.0f);
            shares += share;
        }
        EXPECT_LE(shares, 1.0001f);
    }
    // A country with cities has had a year of tax booked.
    const CCountry* player = CountryOfNumber(1);
    ASSERT_NE(player, nullptr);
    EXPECT_GT(player->m_ledger.thisYearIncome[INCOME_TAX], 0.0f);
}

} // namespace
