// The scenario's start-up and shutdown run their steps in their fixed
// order; the requests of the main loop; the data checksum.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "data/Keywords.h"
#include "engine/CriticalError.h"
#include "engine/DisplayList.h"
#include "engine/GameTimer.h"
#include "net/Event.h"
#include "net/EventTypes.h"
#include "net/Scheduler.h"
#include "net/Session.h"
#include "tests/TestSupport.h"
#include "world/DataChecksum.h"
#include "world/Globals.h"
#include "world/Map.h"
#include "world/Province.h"
#include "world/Scenario.h"
#include "world/ScenarioSteps.h"

namespace {

std::vector<std::string> g_steps;

void Record(const std::string& step) {
    g_steps.push_back(step);
}

// Records every step of the layers above the world.
class ScenarioStartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        BuildKeywordIndex();
        m_saved = g_scenarioSteps;
        g_steps.clear();
        ScenarioStepHooks& s = g_scenarioSteps;
        s.loadingProgress = [](int32_t percent, const char* key) {
            Record("loading " + std::to_string(percent) + " " + key);
        };
        s.loadingDone = [] { Record("loading done"); };
        s.clearCountryTable = [] { Record("clear countries"); };
        s.createHostServers = [] { Record("create servers"); };
        s.deleteServersBeforeScheduler = [] { Record("delete servers 1"); };
        s.deleteServersAfterScheduler = [] { Record("delete servers 2"); };
        s.replaceMessageLog = [] { Record("message log"); };
        s.rebuildDiplomaticStatus = [] { Record("diplomatic status"); };
        s.createCountryIfMissing = [](uint32_t number) {
            Record("country " + std::to_string(number));
        };
        s.loadMapArrows = [] { Record("arrows"); };
        s.freeMapArrows = [] { Record("free arrows"); };
        s.resetEventDates = [] { Record("event dates"); };
        s.showBriefing = [](const char* key) { Record(std::string("briefing ") + key); };
        s.releaseCountries = [] { Record("release countries"); };
        s.clearAIListeners = [] { Record("ai listeners"); };
        s.tellPlayer = [](const std::string& text) { Record("told: " + text); };
        // The pictures the start-up reads come from the demo world.
        // So do the province tables.
        for (const char* file : {"gfx/dummy.bmp", "gfx/palette/palette.act", "db/province.csv",
                                 "db/goods.csv", "db/straits.csv"}) {
            std::filesystem::create_directories((m_dir.Path() / file).parent_path());
            std::filesystem::copy_file(test::DemoWorldDir() / file, m_dir.Path() / file);
        }
        g_gameTimer = std::make_unique<CGameTimer>(15);
        g_scheduler.Clear();
        g_gameType = 0;
        g_netSession = nullptr;
    }
    void TearDown() override {
        g_scenarioSteps = m_saved;
        g_scheduler.Clear();
        g_gameTimer.reset();
        g_gameType = 0;
        g_netSession = nullptr;
        g_globals.startDate = g_globals.endDate = CDate();
    }

    // A scenario file of the game-wide block only.
    void WriteScenario(const std::string& name = "scenario.ovg") {
        m_dir.WriteFile(name, "globaldata = {\n\tstartdate = { year = 1492 month = january day = 0 "
                              "}\n\tenddate = { year = 1600 month = june day = 14 }\n}\n");
    }

    // The due dates of the queued game-end messages.
    std::vector<CDate> QueuedGameEnds() const {
        std::vector<CDate> dates;
        g_scheduler.ForEachEvent([&dates](COVEvent* event) {
            if (event->GetType() == EVT_GAME_END)
                dates.push_back(event->GetDueDate());
        });
        return dates;
    }

    test::ScopedGameDir m_dir;
    test::BoxRecorder m_boxes;
    ScenarioStepHooks m_saved;
};

TEST_F(ScenarioStartupTest, StartAndShutdownRunTheirStepsInOrder) {
    WriteScenario();
    {
        CScenario scenario("scenario.ovg", 7);
        EXPECT_EQ(g_gameStarted, 1);
        EXPECT_EQ(scenario.waitingForStart, 1);
        EXPECT_EQ(scenario.seed, 7u);
        const std::vector<std::string> start = {"loading 22 INIT_PROVINCES",
                                                "clear countries",
                                                "clear countries",
                                                "create servers",
                                                "loading 44 INIT_SCENARIO",
                                                "message log",
                                                "diplomatic status",
                                                "arrows",
                                                "country 98",
                                                "country 96",
                                                "country 97",
                                                "loading 88 INIT_SCRIPT",
                                                "loading done",
                                                "event dates",
                                                "briefing STANDARDGAME"};
        EXPECT_EQ(g_steps, start);
        g_steps.clear();
    }
    const std::vector<std::string> end = {"free arrows", "release countries", "ai listeners",
                                          "delete servers 1", "delete servers 2"};
    EXPECT_EQ(g_steps, end);
    EXPECT_EQ(g_gameStarted, 0);
    EXPECT_TRUE(g_scheduler.IsEmpty());
    EXPECT_TRUE(m_boxes.texts.empty()) << m_boxes.texts.front();
}

TEST_F(ScenarioStartupTest, TheLocalPlayersDiscoveriesAreRevealedOnTheMap) {
    WriteScenario();
    // Country 3 is played here and, as its block read, knows province 5;
    // country 4 (another machine's) knows province 6.
    const SessionCountryHooks saved = g_sessionCountries;
    g_sessionCountries.mark = [](uint32_t number) -> uint32_t { return number == 3 ? 1 : 0; };
    g_scenarioSteps.rebuildDiplomaticStatus = [] {
        g_provinces[5].discoveredBy[3] = 1;
        g_provinces[6].discoveredBy[4] = 1;
    };
    g_provinces[7].knownToPlayer = 1; // from a game before
    {
        CScenario scenario("scenario.ovg", 7);
        EXPECT_EQ(g_provinces[5].knownToPlayer, 1);
        EXPECT_EQ(g_provinces[6].knownToPlayer, 0);
        EXPECT_EQ(g_provinces[7].knownToPlayer, 0);
    }
    g_sessionCountries = saved;
    for (int32_t id : {5, 6, 7})
        g_provinces[static_cast<size_t>(id)].knownToPlayer = 0;
}

TEST_F(ScenarioStartupTest, TheGameEndsInTheChosenYearOnlyInAStandardGame) {
    WriteScenario();
    struct Case {
        int32_t gameType;
        int16_t year;
        const char* briefing;
    };
    const Case cases[] = {{0, 1792, "briefing STANDARDGAME"},
                          {4, 1792, "briefing STANDARDGAME"},
                          {1, 1600, "briefing VICTORYGAME"},
                          {2, 1600, "briefing DEATHMATCH"},
                          {3, 1600, "briefing SCENARIOMISS"}};
    for (const Case& c : cases) {
        g_gameType = c.gameType;
        g_steps.clear();
        CScenario scenario("scenario.ovg", 0);
        const std::vector<CDate> ends = QueuedGameEnds();
        ASSERT_EQ(ends.size(), 1u) << c.gameType;
        EXPECT_EQ(ends[0].year, c.year) << c.gameType;
        EXPECT_EQ(ends[0].month, 5) << c.gameType;
        EXPECT_EQ(ends[0].day, 14) << c.gameType;
        EXPECT_EQ(g_steps.back(), c.briefing);
        scenario.Shutdown();
    }
}

TEST_F(ScenarioStartupTest, AClientOfAnOpenSessionSchedulesNoEnd) {
    WriteScenario();
    CNetSession session;
    session.m_active = 1;
    session.m_isHost = 0;
    g_netSession = &session;
    CScenario scenario("scenario.ovg", 0);
    EXPECT_TRUE(QueuedGameEnds().empty());
    scenario.Shutdown();
}

TEST_F(ScenarioStartupTest, TheMapViewIsInTheDisplayListWhileTheScenarioRuns) {
    // Without it the running game draws no map.
    WriteScenario();
    CDisplayList list;
    g_displayList = &list;
    g_map = new CMap;
    std::vector<std::pair<int32_t, int32_t>> entries;
    {
        CScenario scenario("scenario.ovg", 7);
        list.ForEach(
            [&entries](DisplayEntry entry) { entries.emplace_back(entry.layer, entry.param); });
    }
    const std::vector<std::pair<int32_t, int32_t>> layersAndPasses = {
        {100, 0}, {250, 2}, {500, 4}, {2150, 3}};
    EXPECT_EQ(entries, layersAndPasses);
    EXPECT_TRUE(list.IsEmpty());
    FreeMapData();
    delete g_map;
    g_map = nullptr;
    g_displayList = nullptr;
}

TEST_F(ScenarioStartupTest, ANewGameStartsWithoutThePreviousGamesReformation) {
    // The first game ends with progress made and flags raised; the next
    // scenario holds neither, so it starts with none of them (a machine that
    // played before joining would otherwise differ from the host).
    WriteScenario();
    {
        CScenario first("scenario.ovg", 7);
        g_globals.SetProgress(0, 12.5f);
        g_globals.SetProgress(4, 3.0f);
        g_globals.eventFlags[1] = g_globals.eventFlags[3] = true;
    }
    {
        CScenario second("scenario.ovg", 7);
        for (uint32_t i = 0; i < CGlobals::kProgressValues; ++i)
            EXPECT_EQ(g_globals.Progress(i), 0.0f) << i;
        for (uint32_t n = 0; n < CGlobals::kEventFlags; ++n)
            EXPECT_FALSE(g_globals.EventFlag(n)) << n;
    }

    // A scenario's own values are still read.
    m_dir.WriteFile("reformed.ovg",
                    "globaldata = {\n\tflags = { 2 }\n\tprogress = { 4 5 0 0 0 }\n}\n");
    CScenario third("reformed.ovg", 7);
    EXPECT_TRUE(g_globals.EventFlag(2));
    EXPECT_EQ(g_globals.Progress(1), 5.0f);
}

TEST_F(ScenarioStartupTest, SaveThenReloadInOnePass) {
    WriteScenario();
    CScenario scenario("scenario.ovg", 0);
    scenario.SetFileName("saved.ovg");
    scenario.saveRequested = 1;
    scenario.reloadRequested = 1;
    g_steps.clear();
    scenario.ProcessRequests();
    // The save was written before the game was read again from it.
    const std::string saved = m_dir.ReadFile("saved.ovg");
    EXPECT_NE(saved.find("globaldata"), std::string::npos);
    ASSERT_GE(g_steps.size(), 2u);
    EXPECT_EQ(g_steps.front(), "free arrows");
    EXPECT_EQ(g_steps.back(), "briefing STANDARDGAME");
    EXPECT_EQ(scenario.saveRequested, 0);
    EXPECT_EQ(scenario.reloadRequested, 0);
    EXPECT_EQ(g_gameStarted, 1);
}

TEST_F(ScenarioStartupTest, AFailedSaveIsToldAndKeepsTheOldFile) {
    WriteScenario();
    CScenario scenario("scenario.ovg", 0);
    m_dir.WriteFile("keep.ovg", "old");
    std::filesystem::create_directories(m_dir.Path() / "folder.ovg");
    g_steps.clear();
    EXPECT_FALSE(SaveGame(scenario, "folder.ovg"));
    ASSERT_EQ(g_steps.size(), 1u);
    EXPECT_NE(g_steps[0].find("could not be saved to folder.ovg"), std::string::npos);
    EXPECT_NE(m_dir.ReadFile("log.txt").find("could not be saved"), std::string::npos);
    EXPECT_EQ(m_dir.ReadFile("keep.ovg"), "old");
    EXPECT_EQ(g_gameStarted, 1);
}

TEST(DataChecksumTest, TheLastPartialWordIsZeroFilled) {
    const std::vector<uint8_t> five = {0x01, 0x02, 0x03, 0x04, 0x05};
    const uint32_t w1 = 0x04030201u;
    const uint32_t afterFirst = ((0u * 2u) | w1) + w1;
    const uint32_t expected = ((afterFirst * 2u) | 0x05u) + 0x05u;
    EXPECT_EQ(SumDataBytes(five), expected);
    EXPECT_EQ(SumDataBytes({}), 0u);
    test::ScopedGameDir dir;
    EXPECT_EQ(SumDataFile("db\\missing.csv"), 0u);
    dir.WriteFile("db/goods.csv", std::string(five.begin(), five.end()));
    EXPECT_EQ(SumDataFile("db\\goods.csv"), expected);
}

} // namespace
