#pragma once
// The checks of a country's handlers on the numbers a message carries.
#include <cmath>
#include <cstdint>

#include "engine/CriticalError.h"

// True for a finite amount; otherwise a trace line names the message and
// the country, and the handler drops the message.
inline bool IsFiniteAmount(float amount, const char* what, uint32_t country) {
    if (std::isfinite(amount))
        return true;
    DebugPrint("%s: amount that is no number for country %u dropped\n", what, country);
    return false;
}
