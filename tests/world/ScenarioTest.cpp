#include "world/Scenario.h"

#include <gtest/gtest.h>

#include "engine/GameState.h"

namespace {

// What the front end answers in the test; the front end itself lies above
// the world.
bool g_frontEndShown = false;

TEST(ScenarioTest, GameRunsOnlyOutsideTheFrontEndOnceStarted) {
    const auto frontEndAnswer = g_gameState.isInFrontEnd;
    g_gameState.isInFrontEnd = [] { return g_frontEndShown; };
    struct Case {
        bool inFrontEnd;
        uint8_t gameStarted;
        bool running;
    };
    const Case cases[] = {{false, 0, false}, {false, 1, true}, {true, 0, false}, {true, 1, false}};
    for (const Case& c : cases) {
        g_frontEndShown = c.inFrontEnd;
        g_gameStarted = c.gameStarted;
        EXPECT_EQ(IsGameRunning(), c.running) << c.inFrontEnd << int{c.gameStarted};
    }
    g_gameState.isInFrontEnd = frontEndAnswer;
    g_frontEndShown = false;
    g_gameStarted = 0;
}

} // namespace
