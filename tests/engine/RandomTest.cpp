#include <gtest/gtest.h>

#include "engine/Random.h"

// The first values of the classic generator from seed 1 and seed 0.
TEST(GameRand, ClassicSequence) {
    GameSrand(1);
    EXPECT_EQ(GameRand(), 41);
    EXPECT_EQ(GameRand(), 18467);
    EXPECT_EQ(GameRand(), 6334);
    EXPECT_EQ(GameRand(), 26500);
    GameSrand(0);
    EXPECT_EQ(GameRand(), 38);
    EXPECT_EQ(GameRand(), 7719);
}

TEST(GameRand, StaysIn15Bits) {
    GameSrand(4711);
    for (int i = 0; i < 100000; ++i) {
        int r = GameRand();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, OV_RAND_MAX);
    }
}
