// Dates count their ticks from the scenario's start date.
#include <gtest/gtest.h>

#include "engine/Date.h"
#include "engine/GameTimer.h"
#include "tests/engine/ScenarioStartChecks.h"
#include "world/Globals.h"

namespace {

TEST(ScenarioStartDateTest, ToTicksCountsFromTheScenarioStart) {
    g_globals.startDate = datetest::kScenarioStart;
    datetest::ExpectTicksCountFromTheStart();
    g_gameTimer.reset();
    g_globals.startDate = CDate();
}

TEST(ScenarioStartDateTest, SetDateSetsTicksAndDate) {
    g_globals.startDate = datetest::kScenarioStart;
    datetest::ExpectSetDateSetsTicksAndDate();
    g_gameTimer.reset();
    g_globals.startDate = CDate();
}

} // namespace
