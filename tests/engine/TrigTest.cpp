#include "engine/Trig.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(TrigTest, SineTableCoversWholeDegrees) {
    InitTrigTables();
    EXPECT_EQ(g_sineTable[0], 0.0f);
    EXPECT_EQ(g_sineTable[90], 1.0f);
    EXPECT_EQ(g_sineTable[30], static_cast<float>(std::sin(30 * 0.017453292519444445)));
    EXPECT_EQ(g_sineTable[449], static_cast<float>(std::sin(449 * 0.017453292519444445)));
    for (int a = 0; a < 360; ++a)
        EXPECT_NEAR(g_sineTable[a + 90], std::cos(a * M_PI / 180), 1e-6) << a;
}

TEST(TrigTest, RotatePoint) {
    InitTrigTables();
    struct Case {
        int16_t x, y;
        int angle;
        int16_t originX, originY;
        int16_t outX, outY;
    } cases[] = {
        {10, 0, 0, 0, 0, 10, 0},
        {10, 0, 90, 0, 0, 0, 10},
        {10, 0, 450, 0, 0, 0, 10}, // taken mod 360
        {10, 0, 720, 0, 0, 10, 0},
        {10, 0, -90, 0, 0, 0, -10}, // a negative angle counts backwards
        {10, 0, -450, 0, 0, 0, -10},
        {10, 0, 180, 0, 0, -10, 0},
        {10, 0, 45, 0, 0, 7, 7},   // 7.07 truncated
        {10, 0, 135, 0, 0, -7, 7}, // -7.07 truncated toward zero
        {3, 4, 90, 100, 200, 96, 203},
        {0, 0, 33, -5, 7, -5, 7},
    };
    for (const auto& c : cases) {
        int16_t outX = 0, outY = 0;
        RotatePoint(outX, outY, c.x, c.y, c.angle, c.originX, c.originY);
        EXPECT_EQ(outX, c.outX) << c.x << "," << c.y << " by " << c.angle;
        EXPECT_EQ(outY, c.outY) << c.x << "," << c.y << " by " << c.angle;
    }
}

} // namespace
