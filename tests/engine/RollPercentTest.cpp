#include "engine/Random.h"

#include <gtest/gtest.h>

namespace {

TEST(RollPercentTest, Bands) {
    struct Case {
        int chance, firstRoll, lastRoll, band;
    } cases[] = {
        {50, 0, 5, 3}, {50, 6, 50, 2}, {50, 51, 95, 1}, {50, 96, 99, 0},  {0, 0, 0, 3},
        {0, 1, 90, 1}, {0, 91, 99, 0}, {100, 0, 10, 3}, {100, 11, 99, 2}, {9, 0, 0, 3},
        {9, 1, 9, 2},  {9, 10, 90, 1}, {9, 91, 99, 0},
    };
    for (const auto& c : cases)
        for (int roll = c.firstRoll; roll <= c.lastRoll; ++roll)
            EXPECT_EQ(RollPercentBand(roll, c.chance), c.band)
                << "chance " << c.chance << " roll " << roll;
}

TEST(RollPercentTest, RollsOneGameRandomNumber) {
    for (int chance : {0, 25, 50, 100}) {
        GameSrand(1234);
        int roll = GameRand() % 100;
        uint32_t stateAfter = GameRandState();
        GameSrand(1234);
        EXPECT_EQ(RollPercent(chance), RollPercentBand(roll, chance));
        EXPECT_EQ(GameRandState(), stateAfter);
    }
}

} // namespace
