#pragma once
// Wide sums held to what an int32_t takes.
#include <algorithm>
#include <cmath>
#include <cstdint>

inline int32_t SaturateToInt32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// A figure truncated towards 0 and held to the int32_t range; not a number
// counts as 0.
inline int32_t TruncateToInt32(double value) {
    if (std::isnan(value))
        return 0;
    return static_cast<int32_t>(
        std::clamp(std::trunc(value), double{INT32_MIN}, double{INT32_MAX}));
}
