#include <gtest/gtest.h>

#include "engine/GameState.h"
#include "frontend/FrontEnd.h"
#include "world/Scenario.h"

namespace {

// The front end answers whether it is the active screen, and while it is
// a started game does not run.
TEST(FrontEndStateTest, ActiveFrontEndIsAnsweredAndStopsAStartedGame) {
    g_gameStarted = 1;
    for (uint8_t shown : {0, 1}) {
        g_inFrontEnd = shown;
        EXPECT_EQ(IsInFrontEnd(), shown == 1) << int{shown};
        EXPECT_EQ(IsGameRunning(), shown == 0) << int{shown};
    }
    g_inFrontEnd = 0;
    g_gameStarted = 0;
}

} // namespace
