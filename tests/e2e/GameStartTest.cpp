// The real program starts the demo scenario as the set-up screens would
// choose it, runs it, and shuts it down when the window closes.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/ProgramRun.h"

namespace {

using e2e::ProgramRun;

TEST(ProgramGameStart, TheDemoScenarioStartsRunsAndShutsDownClean) {
    ProgramRun run;
    ASSERT_EQ(run.Run({"3 play scenarios\\amber_coast 1 0", "12 close"}), 0) << run.Stderr();
    const std::vector<std::string> lines = run.Lines();
    auto at = [&lines](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) - lines.begin();
    };
    const auto n = static_cast<long>(lines.size());
    // The loading screen's stages, then the running game.
    EXPECT_LT(at("checkpoint INIT_PROVINCES"), at("checkpoint INIT_SCENARIO")) << run.Stderr();
    EXPECT_LT(at("checkpoint INIT_SCENARIO"), at("checkpoint INIT_SCRIPT")) << run.Stderr();
    const long started = at("scenario started scenarios\\amber_coast.ovg running");
    EXPECT_LT(at("checkpoint INIT_SCRIPT"), started) << run.Stderr();
    EXPECT_LT(started, n) << run.Stderr();
    // No finding in the scenario, no box.
    EXPECT_FALSE(run.Has("Critical error!")) << run.Stderr();
    // The close shuts the game down with nothing left behind.
    EXPECT_LT(at("scenario shut down, ids left 0, treaties 0"), at("shutdown done"))
        << run.Stderr();
}

} // namespace

namespace {

// The full-world scenario starts the same way, with a nation of it played by
// the human (Castile) and every other one by the computer.
TEST(ProgramGameStart, TheKnownWorldStartsAndShutsDownClean) {
    e2e::ProgramRun run;
    ASSERT_EQ(run.Run({"3 play scenarios\\world_1492 8 0", "12 close"}), 0) << run.Stderr();
    EXPECT_GE(run.IndexOf("scenario started scenarios\\world_1492.ovg running"), 0) << run.Stderr();
    EXPECT_FALSE(run.Has("Critical error!")) << run.Stderr();
    EXPECT_LT(run.IndexOf("scenario shut down, ids left 0, treaties 0"),
              run.IndexOf("shutdown done"))
        << run.Stderr();
    EXPECT_GE(run.IndexOf("scenario shut down, ids left 0, treaties 0"), 0) << run.Stderr();
}

} // namespace
