#include "world/ProvinceDistance.h"

#include <cmath>
#include <cstdlib>

#include "world/MapView.h"
#include "world/Province.h"

float ProvinceDistance(int64_t a, int64_t b) {
    if (a == b)
        return 0.0f;
    MapPoint first;
    MapPoint second;
    GetProvinceCentre(first, a);
    GetProvinceCentre(second, b);
    // Within the map the squares are exact integers; the wide types keep a
    // box read from a bad table from overflowing.
    int64_t dx = std::llabs(int64_t{second.x} - first.x);
    if (dx > kMapWidth / 2)
        dx = kMapWidth - dx;
    const int64_t dy = int64_t{second.y} - first.y;
    const double squares = static_cast<double>(dx) * static_cast<double>(dx) +
                           static_cast<double>(dy) * static_cast<double>(dy);
    return static_cast<float>(std::sqrt(squares)) * 0.01f;
}
