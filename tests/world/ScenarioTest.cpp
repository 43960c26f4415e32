#include "world/Scenario.h"

#include <gtest/gtest.h>

#include "frontend/FrontEnd.h"

namespace {

TEST(ScenarioTest, GameRunsOnlyOutsideTheFrontEndOnceStarted) {
    struct Case {
        uint8_t inFrontEnd, gameStarted;
        bool running;
    };
    const Case cases[] = {{0, 0, false}, {0, 1, true}, {1, 0, false}, {1, 1, false}};
    for (const Case& c : cases) {
        g_inFrontEnd = c.inFrontEnd;
        g_gameStarted = c.gameStarted;
        EXPECT_EQ(IsGameRunning(), c.running) << int{c.inFrontEnd} << int{c.gameStarted};
    }
    g_inFrontEnd = 0;
    g_gameStarted = 0;
}

} // namespace
