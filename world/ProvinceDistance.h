#pragma once
// The straight-line distance between two provinces, measured between the
// centres of their bounding boxes the short way around the world (the map
// wraps east-west), in hundreds of map pixels.
#include <cstdint>

// 0 for the same id. The horizontal difference of the two centres is taken
// as at most half the map's width; the result is sqrt(dx^2 + dy^2) x 0.01.
float ProvinceDistance(int64_t a, int64_t b);
