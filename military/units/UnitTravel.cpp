#include <algorithm>

#include "engine/GameTimer.h"
#include "military/units/Unit.h"

float CUnit::GetTravelledFraction() const {
    const int64_t now = g_gameTimer ? int64_t{g_gameTimer->gameTicks.load()} : 0;
    const int64_t departure = moveStartDate.ToTicks();
    const int64_t arrival = nextStepDate.ToTicks();
    if (arrival <= departure)
        return now >= arrival ? 1.0f : 0.0f;
    const double fraction =
        static_cast<double>(now - departure) / static_cast<double>(arrival - departure);
    return static_cast<float>(std::clamp(fraction, 0.0, 1.0));
}
