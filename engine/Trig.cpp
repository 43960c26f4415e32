#include "engine/Trig.h"

#include <cmath>

float g_sineTable[kSineTableSize];

void InitTrigTables() {
    for (int i = 0; i < kSineTableSize; ++i)
        g_sineTable[i] = static_cast<float>(std::sin(i * 0.017453292519444445));
}

void RotatePoint(int16_t& outX, int16_t& outY, int16_t x, int16_t y, int angle, int16_t originX,
                 int16_t originY) {
    int a = angle % 360;
    if (a < 0)
        a += 360;
    float sine = g_sineTable[a];
    float cosine = g_sineTable[a + 90];
    float fx = static_cast<float>(x);
    float fy = static_cast<float>(y);
    outX = static_cast<int16_t>(static_cast<int>(fx * cosine - fy * sine + originX));
    outY = static_cast<int16_t>(static_cast<int>(fx * sine + fy * cosine + originY));
}
