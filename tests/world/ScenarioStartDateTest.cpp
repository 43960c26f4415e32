// Dates count their ticks from the scenario's start date.
#include <gtest/gtest.h>

#include <memory>

#include "engine/Date.h"
#include "engine/GameTimer.h"
#include "world/Globals.h"

namespace {

TEST(ScenarioStartDateTest, ToTicksCountsFromTheScenarioStart) {
    g_globals.startDate = CDate(0, 0, 1500);
    EXPECT_EQ(CDate(5, 0, 1500).ToTicks(), 0); // no clock
    g_gameTimer = std::make_unique<CGameTimer>(15);
    g_gameTimer->ticksPerDay = 133;
    EXPECT_EQ(CDate(5, 0, 1500).ToTicks(), 5 * 133);
    EXPECT_EQ(CDate(0, 0, 1501).ToTicks(), 360 * 133);
    EXPECT_EQ(CDate(29, 11, 1499).ToTicks(), -133);
    g_gameTimer.reset();
    g_globals.startDate = CDate();
}

TEST(ScenarioStartDateTest, SetDateSetsTicksAndDate) {
    g_globals.startDate = CDate(0, 0, 1500);
    g_gameTimer = std::make_unique<CGameTimer>(15);
    g_gameTimer->ticksPerDay = g_gameSpeedTicksPerDay[2];
    g_gameTimer->SetDate(CDate(2, 1, 1500));
    EXPECT_EQ(g_gameTimer->gameTicks, 32u * 133u);
    EXPECT_TRUE(g_gameTimer->GetDate() == CDate(2, 1, 1500));
    g_gameTimer.reset();
    g_globals.startDate = CDate();
}

} // namespace
