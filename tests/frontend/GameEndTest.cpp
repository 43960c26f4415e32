// The end of a game in the game frame: the movie of the winner or of the
// loser, the game's display mode again, and the running game deleted.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "country/Country.h"
#include "engine/Display.h"
#include "engine/Image.h"
#include "frontend/shell/Shell.h"
#include "platform/Display.h"
#include "tests/TestSupport.h"
#include "world/Scenario.h"

namespace {

constexpr uint32_t kPlayer = 4;
constexpr uint32_t kNoWinner = 0xFFFFFFFF; // -1: the game ended without one

// An 800 x 600 screen on the null display in the demo world, the human at
// this machine playing country 4, and no movie player (the movie itself is
// not played here).
class GameEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_displayConfig = {};
        g_displayConfig.backend = platform::DisplayBackend::Null;
        g_appActive = 1;
        g_windowed = 0;
        CGraphicsBase::InitDisplay(false);
        ASSERT_TRUE(g_directDrawReady);
        ASSERT_TRUE(SetDisplayMode(800, 600, 16, false));
        g_countryController.fill(0);
        g_countryController[kPlayer] = 1;
        g_shell = ShellState{};
    }
    void TearDown() override {
        g_scenario.reset();
        delete g_waitingPicture;
        g_waitingPicture = nullptr;
        g_countryController.fill(0);
        g_shell = ShellState{};
        ShutdownGraphics();
        g_appActive = 0;
        g_displayConfig = platform::DisplayConfigFromEnvironment();
    }

    test::InFolder world{test::DemoWorldDir()};
};

TEST_F(GameEndTest, TheMovieIsGoodOnlyWhenThePlayerWon) {
    struct Case {
        const char* what;
        bool scenario;
        uint32_t winner;
        bool player;
        const char* movie;
    };
    const Case cases[] = {
        {"the player won", true, kPlayer, true, "avi\\good.avi"},
        {"another country won", true, 7, true, "avi\\bad.avi"},
        {"nobody won", true, kNoWinner, true, "avi\\bad.avi"},
        {"no human at this machine", true, kPlayer, false, "avi\\bad.avi"},
        {"no game", false, kPlayer, true, "avi\\bad.avi"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_scenario.reset();
        if (c.scenario) {
            g_scenario = std::make_unique<CScenario>();
            g_scenario->winner = c.winner;
        }
        g_countryController.fill(0);
        if (c.player)
            g_countryController[kPlayer] = 1;
        EXPECT_EQ(LocalPlayerCountry(), c.player ? static_cast<int32_t>(kPlayer) : -1);
        EXPECT_EQ(GameEndMovie(), c.movie);
    }
}

TEST_F(GameEndTest, AFrameAfterTheWinnerIsNamedEndsTheGame) {
    g_scenario = std::make_unique<CScenario>();
    g_scenario->gameStarted = 1;
    RunGameFrame();
    ASSERT_NE(g_scenario, nullptr) << "an undecided game goes on";

    // Outside a network game the waiting picture goes with the game.
    g_waitingPicture = new CImage(8, 8, 16, kImageMemory);
    g_scenario->winner = kNoWinner;
    RunGameFrame();
    EXPECT_EQ(g_scenario, nullptr);
    EXPECT_EQ(g_waitingPicture, nullptr);
    ASSERT_NE(g_screen, nullptr);
    EXPECT_EQ(g_screen->width, 800);
    EXPECT_EQ(g_screen->height, 600);
    EXPECT_EQ(g_shell.inGameFrame, 0);
    // The frames that follow run without a game.
    RunGameFrame();
    EXPECT_EQ(g_scenario, nullptr);
}

} // namespace
