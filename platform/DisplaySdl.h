#pragma once
// Inside the platform layer: the SDL back-end of the display and what the
// event pump asks of it.
#include <cstdint>
#include <memory>

#include "platform/Display.h"

namespace platform {

// Starts SDL's video (with the configured driver) and answers a display
// without a window yet; null when the video cannot start.
std::unique_ptr<Display> CreateSdlDisplay(const DisplayConfig& config);

// Puts the window's pointer on a point of the logical picture; nothing
// while no SDL window exists.
void WarpSdlPointer(int32_t x, int32_t y);

} // namespace platform
