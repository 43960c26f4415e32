// The game clock as the game drives it: it resumes only in a running game
// that is neither waiting for its start nor paused, and pausing stops it.
#include <gtest/gtest.h>

#include <memory>

#include "dialogs/PauseControl.h"
#include "engine/GameTimer.h"
#include "world/Scenario.h"

namespace {

class GameClockTest : public ::testing::Test {
protected:
    void TearDown() override {
        g_gameTimer.reset();
        g_scenario.reset();
        g_gameStarted = 0;
        g_pauseControl = nullptr;
    }
};

TEST_F(GameClockTest, ResumeOnlyInARunningUnpausedGame) {
    struct Case {
        bool gameStarted, scenario, waiting, paused, runs;
    };
    const Case cases[] = {
        {true, true, false, false, true},   {true, false, false, false, true},
        {false, true, false, false, false}, {true, true, true, false, false},
        {true, true, false, true, false},
    };
    for (const Case& c : cases) {
        CGameTimer clock(15);
        g_gameStarted = c.gameStarted ? 1 : 0;
        g_scenario = c.scenario ? std::make_unique<CScenario>() : nullptr;
        if (g_scenario)
            g_scenario->waitingForStart = c.waiting ? 1 : 0;
        CPauseControl control;
        if (c.paused)
            control.Pause();
        g_pauseControl = &control;
        clock.Resume();
        EXPECT_EQ(clock.running, c.runs ? 1 : 0)
            << c.gameStarted << c.scenario << c.waiting << c.paused;
        g_pauseControl = nullptr;
    }
}

TEST_F(GameClockTest, PauseStopsTheClock) {
    g_gameTimer = std::make_unique<CGameTimer>(15);
    g_gameTimer->running = 1;
    CPauseControl control;
    control.Pause();
    EXPECT_TRUE(control.IsPaused());
    EXPECT_EQ(g_gameTimer->running, 0);
}

} // namespace
