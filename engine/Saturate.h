#pragma once
// Wide sums held to what an int32_t takes.
#include <algorithm>
#include <cstdint>

inline int32_t SaturateToInt32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}
