#pragma once
// The sine table of whole degrees and the rotation of points with it.
#include <cstdint>

// Entry i is the sine of i degrees (0..449), so the cosine of a (0..359) is
// entry a + 90. Filled by InitTrigTables at start-up.
constexpr int kSineTableSize = 450;
extern float g_sineTable[kSineTableSize];

void InitTrigTables();

// Rotates (x, y) by angle degrees and moves it by the origin; the results are
// truncated toward zero. Any angle is taken mod 360, a negative one included
// (-90 is 270).
void RotatePoint(int16_t& outX, int16_t& outY, int16_t x, int16_t y, int angle, int16_t originX,
                 int16_t originY);
