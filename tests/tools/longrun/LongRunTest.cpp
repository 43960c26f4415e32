// Whole games of the demo world with only computer players, played to the
// end in this process: the run passes its monthly checks, repeats itself for
// a seed, follows another seed elsewhere, agrees with a loopback client, and
// ends cleanly or with one clear error where the world lacks something.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "engine/Config.h"
#include "net/EventTypes.h"
#include "platform/Files.h"
#include "tests/TestSupport.h"
#include "tools/longrun/LongRun.h"

namespace {

constexpr const char* kSmallScenario = "scenarios\\amber_coast.ovg";

class LongRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::CopyDemoWorld(m_dir.Path());
        std::filesystem::create_directories(m_dir.Path() / "map");
        std::filesystem::copy_file(test::DemoWorldDir() / "map" / "adjacent.tbl",
                                   m_dir.Path() / "map" / "adjacent.tbl");
        platform::ForgetPathCache();
    }

    longrun::Result Run(const longrun::Options& options) {
        m_out.str("");
        m_err.str("");
        return longrun::RunLongGame(options, m_out, m_err);
    }

    static longrun::Options Small(int32_t years, uint32_t seed = 0) {
        longrun::Options options;
        options.scenario = kSmallScenario;
        options.years = years;
        options.seed = seed;
        options.reportStep = 1;
        return options;
    }

    std::string Scenario(const char* name) const {
        return m_dir.ReadFile(std::string("scenarios/") + name);
    }

    test::ScopedGameDir m_dir;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

TEST_F(LongRunTest, AFewYearsOfTheSmallScenarioPassEveryMonthsChecks) {
    longrun::Options options = Small(3);
    options.json = "figures.json";
    const longrun::Result result = Run(options);
    ASSERT_EQ(result.exitCode, longrun::kExitOk) << m_err.str() << m_out.str();
    EXPECT_EQ(result.summary.outcome, "ok");
    // The start and every month.
    EXPECT_EQ(result.monthlyHashes.size(), 37u);
    EXPECT_EQ(result.summary.months, 36u);
    EXPECT_EQ(result.summary.days, 3u * 360);
    EXPECT_NE(result.monthlyHashes.front(), result.monthlyHashes.back());
    // A period per year, each with its days and the world counted at its end.
    ASSERT_EQ(result.summary.periods.size(), 3u);
    for (const longrun::PeriodFigures& period : result.summary.periods) {
        EXPECT_EQ(period.days, 360u);
        EXPECT_EQ(period.months, 12u);
        EXPECT_GT(period.agents, 0u);
        EXPECT_GT(period.armies, 0u);
        EXPECT_GT(period.messagesSent, 0u);
        EXPECT_GT(period.monthSeconds[longrun::kMonthCountries], 0.0);
    }
    EXPECT_NE(m_out.str().find("outcome: ok"), std::string::npos) << m_out.str();
    const std::string json = m_dir.ReadFile("figures.json");
    EXPECT_NE(json.find("\"outcome\": \"ok\""), std::string::npos) << json;
    EXPECT_EQ(std::count(json.begin(), json.end(), '{'), std::count(json.begin(), json.end(), '}'));
    EXPECT_NE(json.find("\"_COVEVT_TIMER_DATE_\": {\"per_day\": 1.0000"), std::string::npos)
        << json;
}

TEST_F(LongRunTest, ASeedRepeatsItsMonthsAndAnotherSeedDoesNot) {
    const longrun::Result first = Run(Small(2, 0));
    ASSERT_EQ(first.exitCode, longrun::kExitOk) << m_err.str();
    const longrun::Result again = Run(Small(2, 0));
    ASSERT_EQ(again.exitCode, longrun::kExitOk) << m_err.str();
    EXPECT_EQ(first.monthlyHashes, again.monthlyHashes);
    const longrun::Result other = Run(Small(2, 1));
    ASSERT_EQ(other.exitCode, longrun::kExitOk) << m_err.str();
    ASSERT_EQ(other.monthlyHashes.size(), first.monthlyHashes.size());
    EXPECT_NE(other.monthlyHashes, first.monthlyHashes);
    EXPECT_NE(other.monthlyHashes.back(), first.monthlyHashes.back());
}

// The full world: the client, which follows the host's messages, holds the
// host's world at every month of a year.
TEST_F(LongRunTest, ALoopbackClientHoldsTheHostsWorldForAYear) {
    longrun::Options options;
    options.years = 1;
    options.loopback = true;
    const longrun::Result result = Run(options);
    EXPECT_EQ(result.exitCode, longrun::kExitOk) << m_err.str() << result.summary.report;
    EXPECT_EQ(result.monthlyHashes.size(), 13u);
    // The scenario's treaties run into the game's first years.
    ASSERT_FALSE(result.summary.periods.empty());
    EXPECT_GE(result.summary.periods.back().alliances, 3u);
    EXPECT_NE(m_out.str().find("the client held the host's world-state hash at all 13 checks"),
              std::string::npos)
        << m_out.str();
}

TEST_F(LongRunTest, TheFirstDifferenceNamesTheObjectAndItsLine) {
    const std::string host = "header = {\n    name = \"A\"\n    }\ncountry = {\n    tag = ENG\n"
                             "    landunit = {\n        name = \"Guard\"\n        location = 5\n"
                             "        }\n    }\n";
    std::string client = host;
    client.replace(client.find("location = 5"), 12, "location = 6");
    const std::string text = longrun::FirstDifference(host, client);
    EXPECT_NE(text.find("line 8"), std::string::npos) << text;
    EXPECT_NE(text.find("country = (tag = ENG) > landunit = (name = \"Guard\")"), std::string::npos)
        << text;
    EXPECT_NE(text.find("host:   location = 5"), std::string::npos) << text;
    EXPECT_NE(text.find("client: location = 6"), std::string::npos) << text;
    EXPECT_EQ(longrun::FirstDifference(host, host), "");
}

// The run does the frame's own work after each day, as the game's frame
// does: an alliance lapses the day after its expiry date, another stays
// (beside any the computer players make in the year).
TEST_F(LongRunTest, AnAllianceLapsesAfterItsExpiryDate) {
    std::string text = Scenario("amber_coast.ovg");
    const size_t globals = text.find("globaldata = {\n");
    ASSERT_NE(globals, std::string::npos);
    text.insert(globals + 15, "    alliance = {\n        type = militaryalliance\n"
                              "        participant = { ENG FRA }\n"
                              "        startdate = { year = 1555 month = may day = 1 }\n"
                              "        expirydate = { year = 1560 month = june day = 1 }\n"
                              "    }\n    alliance = {\n        type = militaryalliance\n"
                              "        participant = { FRA HAB }\n"
                              "        startdate = { year = 1555 month = may day = 1 }\n"
                              "        expirydate = { year = 1600 month = june day = 1 }\n"
                              "    }\n");
    m_dir.WriteFile("scenarios/amber_coast.ovg", text);
    longrun::Options options = Small(1);
    options.reportStep = 1;
    const longrun::Result result = Run(options);
    ASSERT_EQ(result.exitCode, longrun::kExitOk) << m_err.str() << result.summary.report;
    ASSERT_EQ(result.summary.periods.size(), 1u);
    const longrun::PeriodFigures& year = result.summary.periods.front();
    EXPECT_EQ(year.alliances, 1u + year.alliancesFormed);
    EXPECT_GT(year.messagesRun.count(23), 0u);
}

// The run plays with the settings of a fresh game (random events among
// them: each major country's first one falls due within four years).
TEST_F(LongRunTest, TheRunPlaysWithTheSettingsOfAFreshGame) {
    const longrun::Result result = Run(Small(4));
    ASSERT_EQ(result.exitCode, longrun::kExitOk) << m_err.str() << result.summary.report;
    uint64_t events = 0;
    for (const longrun::PeriodFigures& year : result.summary.periods)
        if (const auto found = year.messagesRun.find(EVT_EXECUTE_EVENT);
            found != year.messagesRun.end())
            events += found->second.count;
    EXPECT_GT(events, 0u);
    EXPECT_EQ(g_config, nullptr);
}

// A world of provinces only: nobody to play, and the years still pass.
TEST_F(LongRunTest, AScenarioWithoutComputerCountriesRunsToItsEnd) {
    std::string text = Scenario("amber_coast.ovg");
    const size_t countries = text.find("\ncountry = {");
    ASSERT_NE(countries, std::string::npos);
    text.erase(countries);
    m_dir.WriteFile("scenarios/empty_coast.ovg", text);
    longrun::Options options = Small(2);
    options.scenario = "scenarios\\empty_coast.ovg";
    const longrun::Result result = Run(options);
    ASSERT_EQ(result.exitCode, longrun::kExitOk) << m_err.str() << result.summary.report;
    EXPECT_EQ(result.summary.months, 24u);
    ASSERT_FALSE(result.summary.periods.empty());
    EXPECT_EQ(result.summary.periods.back().agents, 0u);
    EXPECT_EQ(result.summary.periods.back().armies, 0u);
}

TEST_F(LongRunTest, AMissingComputerPlayerFileIsOneClearError) {
    std::filesystem::remove(m_dir.Path() / "ai" / "default.ai");
    platform::ForgetPathCache();
    const longrun::Result result = Run(Small(1));
    EXPECT_EQ(result.exitCode, longrun::kExitError);
    EXPECT_EQ(result.summary.outcome, "error");
    const std::string err = m_err.str();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("\"ai\\default.ai\" is missing"), std::string::npos) << err;
    EXPECT_TRUE(result.monthlyHashes.empty());
}

// The battles' losses come from the combat tables: a run without them would
// fight battles that deal nothing and never end.
TEST_F(LongRunTest, MissingCombatTablesAreOneClearError) {
    std::filesystem::remove(m_dir.Path() / "db" / "Combat" / "CRT.csv");
    platform::ForgetPathCache();
    const longrun::Result result = Run(Small(1));
    EXPECT_EQ(result.exitCode, longrun::kExitError);
    EXPECT_EQ(result.summary.outcome, "error");
    EXPECT_NE(m_err.str().find("combat tables"), std::string::npos) << m_err.str();
    EXPECT_TRUE(result.monthlyHashes.empty());
}

TEST_F(LongRunTest, AMissingScenarioIsAnError) {
    longrun::Options options = Small(1);
    options.scenario = "scenarios\\nowhere.ovg";
    const longrun::Result result = Run(options);
    EXPECT_EQ(result.exitCode, longrun::kExitError);
    EXPECT_NE(m_err.str().find("nowhere.ovg"), std::string::npos) << m_err.str();
}

// A fleet set down in a town without walls breaks a rule at the first month:
// the run stops there, names the fleet and saves that moment.
TEST_F(LongRunTest, TheFirstFaultStopsTheRunWithAReportAndASavedGame) {
    std::string text = Scenario("amber_coast.ovg");
    std::smatch found;
    ASSERT_TRUE(
        std::regex_search(text, found, std::regex("name = \"Dunmere\"\\s+location = (\\d+)")));
    const std::string town = found[1].str();
    // The fleet and the army it carries.
    for (const char* name : {"Ambersea Squadron", "Marines of Avaris"}) {
        const std::regex unit(std::string("name = \"") + name + "\"\\s+location = (\\d+)");
        ASSERT_TRUE(std::regex_search(text, found, unit)) << name;
        text.replace(static_cast<size_t>(found.position(1)), static_cast<size_t>(found.length(1)),
                     town);
    }
    // The town's walls razed.
    const size_t walls = text.find("population = 3500");
    ASSERT_NE(walls, std::string::npos);
    text.insert(walls, "fortress = { level = 0 }\n        ");
    m_dir.WriteFile("scenarios/amber_coast.ovg", text);
    const longrun::Result result = Run(Small(2));
    EXPECT_EQ(result.exitCode, longrun::kExitFault);
    EXPECT_EQ(result.summary.outcome, "fault");
    EXPECT_EQ(result.summary.months, 1u);
    const std::string& report = result.summary.report;
    EXPECT_NE(report.find("rule 5: a fleet stands in a land province without a fortress"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("Ambersea Squadron"), std::string::npos) << report;
    EXPECT_NE(report.find("province " + town), std::string::npos) << report;
    EXPECT_TRUE(std::filesystem::exists(m_dir.Path() / "longrun_fault.ovg"));
    EXPECT_NE(m_err.str().find("Fault on"), std::string::npos) << m_err.str();
}

} // namespace
