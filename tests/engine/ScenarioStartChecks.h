#pragma once
// Checks of dates and the game clock against the scenario's start date,
// however the test gives that date (the engine's tests through the hook,
// the world's through the running scenario).
#include <gtest/gtest.h>

#include <memory>

#include "engine/Date.h"
#include "engine/GameTimer.h"

namespace datetest {

// The start date the checks count from: the first day of 1500.
inline const CDate kScenarioStart{0, 0, 1500};

// With the scenario starting on kScenarioStart and no clock yet: ToTicks
// answers 0 without a clock and counts whole days of the clock's ticks from
// the start with one. Leaves a clock of 133 ticks a day in g_gameTimer.
inline void ExpectTicksCountFromTheStart() {
    EXPECT_EQ(CDate(5, 0, 1500).ToTicks(), 0); // no clock
    g_gameTimer = std::make_unique<CGameTimer>(15);
    g_gameTimer->ticksPerDay = 133;
    EXPECT_EQ(CDate(5, 0, 1500).ToTicks(), 5 * 133);
    EXPECT_EQ(CDate(0, 0, 1501).ToTicks(), 360 * 133);
    EXPECT_EQ(CDate(29, 11, 1499).ToTicks(), -133);
}

// With the scenario starting on kScenarioStart: SetDate sets the clock's
// ticks and its date. Leaves the clock in g_gameTimer.
inline void ExpectSetDateSetsTicksAndDate() {
    g_gameTimer = std::make_unique<CGameTimer>(15);
    g_gameTimer->ticksPerDay = g_gameSpeedTicksPerDay[2];
    g_gameTimer->SetDate(CDate(2, 1, 1500));
    EXPECT_EQ(g_gameTimer->gameTicks, 32u * 133u);
    EXPECT_TRUE(g_gameTimer->GetDate() == CDate(2, 1, 1500));
}

} // namespace datetest
